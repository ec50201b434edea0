#pragma once

#include "HttpTestServer.h"

#include <string>
#include <vector>

// Answers from servers that are reached but send no HTTP reply we can read, and the failure
// description each must give.
struct HostileReply {
    const char* what;
    std::string bytes;
    bool holdsOn; // the connection stays open after the bytes
    const char* description;

    void queueAt(LoopbackHttpServer& server) const {
        if (holdsOn) {
            server.replyRawThenHold(bytes);
        } else {
            server.replyRaw(bytes);
        }
    }
};

// What a TLS 1.3 server sends first: its hello in a handshake record.
inline std::string tlsServerHello() {
    std::string body("\x03\x03", 2);                    // legacy version
    body += std::string(32, '\x5A');                    // random
    body += '\x20' + std::string(32, '\x11');           // session id
    body += std::string("\x13\x01\x00\x00\x2E", 5);     // cipher, compression, extensions
    body += std::string("\x00\x2B\x00\x02\x03\x04", 6); // supported version
    body += std::string("\x00\x33\x00\x24\x00\x1D\x00\x20", 8) + std::string(32, '\x22');
    // Content behind its length in `bytes` big-endian bytes.
    const auto sized = [](std::size_t bytes, const std::string& content) {
        std::string out;
        for (std::size_t i = bytes; i-- > 0;) {
            out += static_cast<char>((content.size() >> (8 * i)) & 0xFF);
        }
        return out + content;
    };
    const std::string handshake = '\x02' + sized(3, body);
    return std::string("\x16\x03\x03", 3) + sized(2, handshake);
}

inline const std::vector<HostileReply>& hostileReplies() {
    static const std::vector<HostileReply> replies = {
        {"an HTTP/0.9 body", "pong", false, "Unable to read the server's reply: it is not HTTP"},
        {"an HTTP/0.9 page", "<html><body>hiscores</body></html>\r\n", false,
         "Unable to read the server's reply: it is not HTTP"},
        {"a TLS alert", std::string("\x15\x03\x01\x00\x02\x02\x46", 7), false,
         "Unable to read the server's reply: it is not HTTP"},
        {"a TLS ServerHello", tlsServerHello(), true,
         "Unable to read the server's reply: it is not HTTP"},
        {"status 2OO", "HTTP/1.1 2OO OK\r\nContent-Length: 2\r\n\r\nok", false,
         "Unable to read the server's reply: it is not HTTP"},
        {"a 2 MiB header line",
         "HTTP/1.1 200 OK\r\nX-Filler: " + std::string(2 << 20, 'a') +
             "\r\nContent-Length: 2\r\n\r\nok",
         false, "Unable to read the server's reply: a header is too large"},
    };
    return replies;
}
