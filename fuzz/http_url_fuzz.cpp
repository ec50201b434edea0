// LIBS: vantorix_platform_core
#include "HttpUrl.h"
#include "Require.h"
#include "TextCase.h"

#include <arpa/inet.h>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <curl/curl.h>
#include <memory>
#include <string>

namespace {

bool wireSafe(unsigned char c) {
    return c > 0x20 && c < 0x7F;
}

struct UrlDeleter {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};

// A part of the address as the transfer reads it; empty when it has none.
std::string transferPart(const std::string& origin, CURLUPart part) {
    const std::unique_ptr<CURLU, UrlDeleter> u(curl_url());
    require(u && curl_url_set(u.get(), CURLUPART_URL, origin.c_str(), 0) == CURLUE_OK);
    char* text = nullptr;
    if (curl_url_get(u.get(), part, &text, 0) != CURLUE_OK) {
        return {};
    }
    std::string out(text);
    curl_free(text);
    return out;
}

// The transfer reads escapes in a host name as the bytes they stand for.
std::string percentDecoded(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() &&
            std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The bytes of a numeric host in any form the transfer takes ("127.1", "[::0]"); empty for a
// name.
std::string addressOf(std::string host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        unsigned char v6[16];
        host = host.substr(1, host.size() - 2);
        return ::inet_pton(AF_INET6, host.c_str(), v6) == 1
                   ? std::string(reinterpret_cast<const char*>(v6), sizeof v6)
                   : std::string();
    }
    in_addr v4{};
    return ::inet_aton(host.c_str(), &v4) != 0
               ? std::string(reinterpret_cast<const char*>(&v4), sizeof v4)
               : std::string();
}

} // namespace

// Any address: one that is taken apart gives a target fit for a request line, comes back
// whole from its parts, and chooses the proxy for the host and port the transfer reaches.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string url(reinterpret_cast<const char*>(data), size);
    http::UrlParts parts;
    if (!http::splitUrl(url, parts)) {
        return 0;
    }
    const std::string scheme = lowerCase(parts.scheme);
    require(scheme == "http" || scheme == "https");
    require(!parts.authority.empty());
    for (const char ch : parts.authority) {
        require(wireSafe(static_cast<unsigned char>(ch)) && ch != '/' && ch != '?' && ch != '#');
    }
    require(!parts.target.empty() && parts.target[0] == '/');

    // Nothing lost or added but the "/" in front of a bare query or fragment.
    const std::string head = parts.scheme + "://" + parts.authority;
    const std::string rest = url.substr(head.size());
    require(url.compare(0, head.size(), head) == 0);
    require(parts.target == rest ||
            (parts.target == "/" + rest && (rest.empty() || rest[0] == '?' || rest[0] == '#')));
    http::UrlParts again;
    require(http::splitUrl(head + parts.target, again));
    require(again.scheme == parts.scheme && again.authority == parts.authority &&
            again.target == parts.target && again.host == parts.host);

    // The wire form: printable bytes only, each other byte as its escape.
    const std::string wire = http::requestLineSafe(parts.target);
    static const char hex[] = "0123456789ABCDEF";
    std::size_t at = 0;
    for (const char ch : parts.target) {
        const auto c = static_cast<unsigned char>(ch);
        if (wireSafe(c)) {
            require(at < wire.size() && wire[at] == ch);
            at += 1;
        } else {
            require(wire.compare(at, 3, std::string{'%', hex[c >> 4], hex[c & 15]}) == 0);
            at += 3;
        }
    }
    require(at == wire.size());
    for (const char ch : wire) {
        require(wireSafe(static_cast<unsigned char>(ch)));
    }

    // The host the proxy is chosen for is the one the transfer reaches; the authority names
    // it too, escaped, as the same address written another way or with a zone at most, and
    // with the transfer's port.
    const std::string origin = head + "/";
    const std::string host = lowerCase(parts.host);
    require(host == lowerCase(transferPart(origin, CURLUPART_HOST)));
    const std::string named = http::hostOf(parts.authority);
    std::string unzoned = lowerCase(named);
    if (const auto zone = unzoned.find('%');
        unzoned.starts_with('[') && zone != std::string::npos) {
        unzoned = unzoned.substr(0, zone) + "]";
    }
    const std::string address = addressOf(host);
    require(unzoned == host || lowerCase(percentDecoded(named)) == host ||
            (!address.empty() && addressOf(unzoned) == address));
    const std::string portPart = http::hostAndPort(parts.authority).substr(named.size());
    const std::string port = transferPart(origin, CURLUPART_PORT);
    if (port.empty()) {
        require(portPart.empty() || portPart == ":");
    } else {
        require(portPart.size() > 1 && portPart[0] == ':' &&
                std::stol(portPart.substr(1)) == std::stol(port));
    }
    return 0;
}
