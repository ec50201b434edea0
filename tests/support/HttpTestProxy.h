#pragma once

#include "LoopbackSocket.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// A forward proxy on 127.0.0.1 for the tests, on its own thread. It records each request
// line exactly as received; a request in absolute form ("GET http://host:port/path HTTP/1.1")
// goes on in origin form to the upstream port on 127.0.0.1 whatever the host (every name
// leads there) and the reply comes back unchanged. Any other request gets 400, as from a
// real proxy.
class LoopbackForwardProxy {
public:
    explicit LoopbackForwardProxy(int upstreamPort) : upstream_(upstreamPort) {
        fd_ = loopback::listenOnFreePort(port_);
        thread_ = std::thread([this] { run(); });
    }
    ~LoopbackForwardProxy() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }

    std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }

    std::vector<std::string> requestLines() const {
        std::lock_guard<std::mutex> l(m_);
        return lines_;
    }

private:
    static void sendAll(int fd, const std::string& bytes) {
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    // "http://host[:port]/path" -> "/path"; nothing for a target in any other form.
    static std::optional<std::string> originForm(const std::string& target) {
        if (target.rfind("http://", 0) != 0) {
            return std::nullopt;
        }
        const auto path = target.find_first_of("/?", 7);
        if (path == std::string::npos) {
            return std::string("/");
        }
        return target[path] == '/' ? target.substr(path) : "/" + target.substr(path);
    }
    // Everything here ends by itself: at stop, or after 30 s at the latest.
    void run() {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        const auto over = [&] { return stop_ || std::chrono::steady_clock::now() > limit; };
        std::string head;
        while (!over()) {
            const int c = loopback::acceptWithHead(fd_, head, over);
            if (c < 0) {
                continue;
            }
            const std::string line = head.substr(0, head.find("\r\n"));
            {
                std::lock_guard<std::mutex> l(m_);
                lines_.push_back(line);
            }
            const auto sp1 = line.find(' ');
            const auto sp2 = line.rfind(' ');
            const auto path = sp1 != std::string::npos && sp2 > sp1
                                  ? originForm(line.substr(sp1 + 1, sp2 - sp1 - 1))
                                  : std::nullopt;
            if (!path) {
                sendAll(c, "HTTP/1.1 400 Bad Request\r\nContent-Length: 11\r\nConnection: "
                           "close\r\n\r\nbad request");
                ::close(c);
                continue;
            }
            relay(c, line.substr(0, sp1 + 1) + *path + line.substr(sp2) + head.substr(line.size()),
                  over);
            ::close(c);
        }
    }
    template <class Over> void relay(int client, const std::string& request, Over over) {
        const int u = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<std::uint16_t>(upstream_));
        if (::connect(u, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            sendAll(u, request);
            while (!over()) {
                if (!loopback::waitFor(u, POLLIN)) {
                    continue;
                }
                char buf[4096];
                const ssize_t n = ::recv(u, buf, sizeof buf, 0);
                if (n <= 0) {
                    break;
                }
                sendAll(client, std::string(buf, static_cast<std::size_t>(n)));
            }
        }
        ::close(u);
    }

    int upstream_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex m_;
    std::vector<std::string> lines_;
};

// Sets (or, with nullptr, removes) environment variables for one test and puts the old
// values back after it.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first.c_str());
            }
        }
    }
    void set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            ::setenv(name.c_str(), value, 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
    // No proxy variable of the machine's own: only what the test sets.
    ScopedEnvironment& withoutProxies() {
        for (const char* n : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                              "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
            set(n, nullptr);
        }
        return *this;
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
