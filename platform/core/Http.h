#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A blocking HTTP GET that keeps the program's event loop (the clock in force) running
// while it waits, in place of an open-URL transfer control.
namespace http {

// Failure numbers raised as VbError (source "Inet").
namespace err {
inline constexpr std::int32_t CannotOpen = 35750;      // any other transfer failure
inline constexpr std::int32_t MalformedUrl = 35752;    // not a usable http:// or https:// address
inline constexpr std::int32_t CannotConnect = 35754;   // host unknown, refused, unreachable
inline constexpr std::int32_t TimedOut = 35761;        // the deadline passed
inline constexpr std::int32_t ReplyTooLarge = 35762;   // the body passed the cap
inline constexpr std::int32_t Cancelled = 35763;       // cancelWaitingTransfers ended it
inline constexpr std::int32_t UnreadableReply = 35764; // an answer that is no HTTP reply
} // namespace err

// Whether a failure of that number came after the server answered (with a reply that could
// not be read or was too large): the server is there.
inline bool serverAnswered(std::int32_t failure) {
    return failure == err::UnreadableReply || failure == err::ReplyTooLarge;
}

inline constexpr int defaultTimeoutMs = 15000;
inline constexpr std::size_t defaultMaxReplyBytes = 1024UL * 1024;

struct Reply {
    long Status = 0;  // the HTTP status code
    std::string Body; // the body as received, whatever the status
};

// GETs url ("http://host[:port]/target" or https). The request target (everything from the
// first "/" or "?" after the host) goes out byte for byte as given: percent-escapes stay as
// they are; only bytes that cannot stand in a request line (controls, blank, bytes above
// 0x7E) are sent percent-escaped. Through an HTTP proxy (proxyForRequest) a plain http
// request names the whole address, "http://host[:port]" followed by the same target.
// Redirects are not followed. The whole transfer ends by timeoutMs; a body longer than
// maxReplyBytes is refused. Failures raise VbError with a number of http::err and a
// description.
Reply Get(const std::string& url, int timeoutMs = defaultTimeoutMs,
          std::size_t maxReplyBytes = defaultMaxReplyBytes);

// The body of Get.
std::string OpenURL(const std::string& url, int timeoutMs = defaultTimeoutMs,
                    std::size_t maxReplyBytes = defaultMaxReplyBytes);

// Ends every Get that waits now, at once, with err::Cancelled (for a window that closes
// while it waits); a Get begun afterwards runs as usual.
void cancelWaitingTransfers();

} // namespace http
