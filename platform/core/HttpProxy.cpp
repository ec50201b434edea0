#include "HttpProxy.h"

#include "TextCase.h"

#include <arpa/inet.h>
#include <array>
#include <cstdlib>
#include <optional>

namespace http {

namespace {

std::string environment(const char* name) {
    const char* v = std::getenv(name);
    return v == nullptr ? std::string() : std::string(v);
}

// The first of these variables that is set and not empty.
std::string firstSet(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (std::string v = environment(name); !v.empty()) {
            return v;
        }
    }
    return {};
}

std::string withoutBrackets(std::string host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    return host;
}

struct Address {
    int family = 0;
    std::array<unsigned char, 16> bytes{};
};

std::optional<Address> parseAddress(const std::string& text) {
    Address a;
    if (::inet_pton(AF_INET, text.c_str(), a.bytes.data()) == 1) {
        a.family = AF_INET;
        return a;
    }
    if (::inet_pton(AF_INET6, text.c_str(), a.bytes.data()) == 1) {
        a.family = AF_INET6;
        return a;
    }
    return std::nullopt;
}

bool inRange(const Address& host, const std::string& range) {
    const auto slash = range.find('/');
    const auto net = parseAddress(withoutBrackets(range.substr(0, slash)));
    if (!net || net->family != host.family) {
        return false;
    }
    const int width = host.family == AF_INET ? 32 : 128;
    int bits = width;
    if (slash != std::string::npos) {
        const std::string digits = range.substr(slash + 1);
        if (digits.empty() || digits.size() > 3 ||
            digits.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        bits = std::atoi(digits.c_str());
        if (bits > width) {
            return false;
        }
    }
    for (int i = 0; i < bits; ++i) {
        const int mask = 0x80 >> (i % 8);
        if ((host.bytes[i / 8] & mask) != (net->bytes[i / 8] & mask)) {
            return false;
        }
    }
    return true;
}

bool entryNames(const std::string& entry, const std::string& host,
                const std::optional<Address>& hostAddress) {
    if (entry == "*") {
        return true;
    }
    if (hostAddress) {
        return inRange(*hostAddress, entry);
    }
    std::string name = entry;
    if (!name.empty() && name.front() == '.') {
        name.erase(0, 1);
    }
    if (name.empty() || name.size() > host.size()) {
        return false;
    }
    if (host.size() == name.size()) {
        return host == name;
    }
    return host.compare(host.size() - name.size(), name.size(), name) == 0 &&
           host[host.size() - name.size() - 1] == '.';
}

} // namespace

bool proxyExcluded(const std::string& noProxyList, const std::string& host) {
    std::string h = lowerCase(withoutBrackets(host));
    while (!h.empty() && h.back() == '.') {
        h.pop_back();
    }
    const std::optional<Address> hostAddress = parseAddress(h);
    const std::string list = lowerCase(noProxyList);
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t end = list.find_first_of(", \t", at);
        const std::string entry =
            list.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!entry.empty() && entryNames(entry, h, hostAddress)) {
            return true;
        }
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
    return false;
}

std::string proxyForRequest(const std::string& scheme, const std::string& host) {
    // Loopback never goes through a proxy: a local server is a local server.
    if (proxyExcluded("localhost,127.0.0.0/8,::1", host)) {
        return {};
    }
    if (proxyExcluded(firstSet({"no_proxy", "NO_PROXY"}), host)) {
        return {};
    }
    const std::string s = lowerCase(scheme);
    // Only the lower-case http_proxy: the upper-case one can come from a web request's headers.
    std::string proxy = s == "http"    ? environment("http_proxy")
                        : s == "https" ? firstSet({"https_proxy", "HTTPS_PROXY"})
                                       : std::string();
    if (proxy.empty()) {
        proxy = firstSet({"all_proxy", "ALL_PROXY"});
    }
    return proxy;
}

bool isHttpProxy(const std::string& proxy) {
    const auto scheme = proxy.find("://");
    if (scheme == std::string::npos) {
        return true;
    }
    const std::string s = lowerCase(proxy.substr(0, scheme));
    return s == "http" || s == "https";
}

} // namespace http
