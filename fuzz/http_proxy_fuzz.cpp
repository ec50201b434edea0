// LIBS: vantorix_platform_core
#include "HttpProxy.h"
#include "Require.h"

#include <arpa/inet.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string upperCase(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return s;
}

// The input's lines, without NUL bytes (the environment cannot hold them).
std::vector<std::string> lines(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            out.emplace_back();
        } else if (data[i] != 0) {
            out.back() += static_cast<char>(data[i]);
        }
    }
    return out;
}

std::vector<std::string> entries(const std::string& list) {
    std::vector<std::string> out;
    std::string entry;
    for (const char c : list + ",") {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!entry.empty()) {
                out.push_back(entry);
            }
            entry.clear();
        } else {
            entry += c;
        }
    }
    return out;
}

bool isAddress(std::string host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    unsigned char bytes[16];
    return ::inet_pton(AF_INET, host.c_str(), bytes) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), bytes) == 1;
}

void setEnvironment(const char* name, const std::string& value) {
    if (value.empty()) {
        ::unsetenv(name);
    } else {
        ::setenv(name, value.c_str(), 1);
    }
}

} // namespace

// Lines: a no_proxy list, a host, then http_proxy, https_proxy and all_proxy. Whatever they
// hold: the list names a host whatever the letter case, as one of its entries does, with or
// without a closing "."; an address in a range is in every wider range around it; and a
// request goes through a proxy from the environment, or none when the host is excluded or
// loopback.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> in = lines(data, size);
    in.resize(5);
    const std::string& list = in[0];
    const std::string& host = in[1];

    const bool excluded = http::proxyExcluded(list, host);
    const bool address = isAddress(host);
    require(http::proxyExcluded(upperCase(list), upperCase(host)) == excluded);
    bool byEntry = false;
    for (const std::string& entry : entries(list)) {
        const bool one = http::proxyExcluded(entry, host);
        byEntry = byEntry || one;
        if (const auto slash = entry.find('/'); one && address && slash != std::string::npos) {
            const std::string digits = entry.substr(slash + 1);
            if (!digits.empty() && digits.size() <= 3 &&
                digits.find_first_not_of("0123456789") == std::string::npos) {
                for (int bits = std::atoi(digits.c_str()); bits-- > 0;) {
                    require(http::proxyExcluded(entry.substr(0, slash + 1) + std::to_string(bits),
                                                host));
                }
            }
        }
    }
    require(byEntry == excluded);
    if (!host.empty() && host.front() != '[' && host.back() != '.') {
        require(http::proxyExcluded(list, host + ".") == excluded);
    }
    require(http::proxyExcluded(list + ",*", host));

    for (const char* name : {"NO_PROXY", "HTTPS_PROXY", "ALL_PROXY", "HTTP_PROXY"}) {
        ::unsetenv(name);
    }
    setEnvironment("no_proxy", list);
    setEnvironment("http_proxy", in[2]);
    setEnvironment("https_proxy", in[3]);
    setEnvironment("all_proxy", in[4]);
    const bool loopback = http::proxyExcluded("localhost,127.0.0.0/8,::1", host);
    for (const char* scheme : {"http", "HTTPS"}) {
        const std::string proxy = http::proxyForRequest(scheme, host);
        const std::string& own = scheme[0] == 'h' ? in[2] : in[3];
        if (excluded || loopback) {
            require(proxy.empty());
        } else {
            require(proxy == (own.empty() ? in[4] : own));
        }
        require(http::isHttpProxy(proxy) == http::isHttpProxy(upperCase(proxy)));
    }
    return 0;
}
