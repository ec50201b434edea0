#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

// What the tests' loopback server and proxy share: a listening socket on 127.0.0.1 and the
// reading of one request head.
namespace loopback {

// A socket listening on a free port of 127.0.0.1; `port` receives the port. Throws when there
// is none.
inline int listenOnFreePort(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

// Short polls, so that a thread notices its stop in time.
inline bool waitFor(int fd, short events) {
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, 50) > 0;
}

// The next connection and its request head (up to the blank line); -1 when none came.
template <class Over> int acceptWithHead(int listener, std::string& head, Over over) {
    head.clear();
    if (!waitFor(listener, POLLIN)) {
        return -1;
    }
    const int c = ::accept(listener, nullptr, nullptr);
    if (c < 0) {
        return -1;
    }
    while (!over() && head.find("\r\n\r\n") == std::string::npos) {
        if (!waitFor(c, POLLIN)) {
            continue;
        }
        char buf[4096];
        const ssize_t n = ::recv(c, buf, sizeof buf, 0);
        if (n <= 0) {
            break;
        }
        head.append(buf, static_cast<std::size_t>(n));
    }
    return c;
}

} // namespace loopback
