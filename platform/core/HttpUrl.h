#pragma once

#include <string>

// How a request's address is taken apart before anything goes on the wire.
namespace http {

struct UrlParts {
    std::string scheme;    // "http" or "https" as written
    std::string authority; // "[user@]host[:port]"
    std::string target;    // from the first "/", "?" or "#" on, always starting with "/"
    // The host as the transfer reads it and connects to: a short numeric address in its
    // full form ("127.1" gives "127.0.0.1"), an IPv6 address in brackets without its zone.
    std::string host;
};

// Splits an "http://" or "https://" address (scheme in any case) into its parts; false when
// the address is malformed: another scheme, no host, a blank or control byte before the
// target, or an authority that the transfer could not use (a bad port, an open "[").
bool splitUrl(const std::string& url, UrlParts& parts);

// The target as it can stand in a request line: blanks, controls and bytes above 0x7E
// percent-escaped, every other byte (escapes included) as given.
std::string requestLineSafe(const std::string& target);

// An authority without its "user@" part: "host[:port]".
std::string hostAndPort(const std::string& authority);

// The host of an authority ("user@host:port" gives "host", "[::1]:80" gives "[::1]").
std::string hostOf(const std::string& authority);

} // namespace http
