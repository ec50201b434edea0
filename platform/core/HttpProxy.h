#pragma once

#include <string>

// Which proxy a request goes through: the system's proxy settings, which on Linux are the
// environment's, read the way the command-line tools read them.
namespace http {

// The proxy for a request to scheme ("http" or "https", any case) and host: http_proxy for
// http; https_proxy or HTTPS_PROXY for https; otherwise all_proxy or ALL_PROXY. None (an
// empty text) when no_proxy or NO_PROXY names the host, and never for loopback.
std::string proxyForRequest(const std::string& scheme, const std::string& host);

// Whether a no_proxy list (names, addresses and address/prefix ranges, separated by commas
// or blanks; "*" for all) names host. A name also covers its subdomains; a leading "." on an
// entry changes nothing.
bool proxyExcluded(const std::string& noProxyList, const std::string& host);

// The proxy speaks HTTP to us (no scheme, http:// or https://), so a plain http request goes
// to it with the absolute address as request target; through a SOCKS proxy it does not.
bool isHttpProxy(const std::string& proxy);

} // namespace http
