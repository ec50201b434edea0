#include "HttpUrl.h"

#include "TextCase.h"

#include <algorithm>
#include <curl/curl.h>
#include <memory>

namespace http {

namespace {

bool wireUnsafe(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c <= 0x20 || c >= 0x7F;
}

struct UrlDeleter {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};

// The transfer's own reading of the address, done here so that a bad one is refused
// before any connection and never confused with what a server sent; it gives the host
// that will be reached.
bool transferHost(const std::string& origin, std::string& host) {
    const std::unique_ptr<CURLU, UrlDeleter> u(curl_url());
    char* text = nullptr;
    if (!u || curl_url_set(u.get(), CURLUPART_URL, origin.c_str(), 0) != CURLUE_OK ||
        curl_url_get(u.get(), CURLUPART_HOST, &text, 0) != CURLUE_OK) {
        return false;
    }
    host = text;
    curl_free(text);
    return !host.empty();
}

} // namespace

bool splitUrl(const std::string& url, UrlParts& parts) {
    std::size_t schemeLen = 0;
    if (startsWithNoCase(url, "http://")) {
        schemeLen = 7;
    } else if (startsWithNoCase(url, "https://")) {
        schemeLen = 8;
    } else {
        return false;
    }
    const std::size_t end = url.find_first_of("/?#", schemeLen);
    std::string authority =
        url.substr(schemeLen, end == std::string::npos ? std::string::npos : end - schemeLen);
    if (authority.empty() || std::any_of(authority.begin(), authority.end(), wireUnsafe)) {
        return false;
    }
    const std::string scheme = url.substr(0, schemeLen - 3);
    std::string host;
    if (!transferHost(scheme + "://" + authority + "/", host)) {
        return false;
    }
    parts.host = std::move(host);
    parts.scheme = scheme;
    parts.authority = std::move(authority);
    parts.target = end == std::string::npos ? std::string("/") : url.substr(end);
    if (parts.target[0] != '/') {
        parts.target.insert(parts.target.begin(), '/');
    }
    return true;
}

std::string requestLineSafe(const std::string& target) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (const char ch : target) {
        if (wireUnsafe(ch)) {
            const auto c = static_cast<unsigned char>(ch);
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string hostAndPort(const std::string& authority) {
    // The transfer ends the user part at the first "@"; after it only an address in brackets
    // (its zone) may hold another. An address the transfer refuses loses all up to the last
    // "@", so that no part of a password shows.
    const auto first = authority.find('@');
    if (first == std::string::npos) {
        return authority;
    }
    const auto at = authority.compare(first + 1, 1, "[") == 0 ? first : authority.rfind('@');
    return authority.substr(at + 1);
}

std::string hostOf(const std::string& authority) {
    const std::string host = hostAndPort(authority);
    if (host.starts_with('[')) {
        const auto close = host.find(']');
        return host.substr(0, close == std::string::npos ? std::string::npos : close + 1);
    }
    return host.substr(0, host.find(':'));
}

} // namespace http
