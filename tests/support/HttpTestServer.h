#pragma once

#include "LoopbackSocket.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A tiny HTTP server on 127.0.0.1 for the tests, on its own thread: it records each
// request head exactly as received and answers from a script, one answer per connection.
class LoopbackHttpServer {
public:
    enum class Kind { Normal, Hold, Trickle, RawThenHold };
    struct Answer {
        Kind kind = Kind::Normal;
        std::string raw; // the whole reply for Normal and RawThenHold
    };

    LoopbackHttpServer() {
        fd_ = loopback::listenOnFreePort(port_);
        thread_ = std::thread([this] { run(); });
    }
    ~LoopbackHttpServer() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }

    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

    // A reply with this status and body.
    void reply(int status, const std::string& body) {
        replyRaw("HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " +
                 std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    }
    void replyRaw(const std::string& raw) { push({Kind::Normal, raw}); }
    // Sends these bytes and keeps the connection open, as a server that waits for the
    // client's next message (a TLS server after its hello).
    void replyRawThenHold(const std::string& raw) { push({Kind::RawThenHold, raw}); }
    // Reads the request and never answers.
    void hold() { push({Kind::Hold, {}}); }
    // Answers a long body one byte every 50 ms.
    void trickle() { push({Kind::Trickle, {}}); }

    std::vector<std::string> heads() const {
        std::lock_guard<std::mutex> l(m_);
        return heads_;
    }
    std::vector<std::string> requestLines() const {
        std::vector<std::string> out;
        for (const auto& h : heads()) {
            out.push_back(h.substr(0, h.find("\r\n")));
        }
        return out;
    }

    // A loopback port where nothing listens.
    static int closedPort() {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(s);
            throw std::runtime_error("cannot bind on 127.0.0.1");
        }
        socklen_t len = sizeof a;
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
        ::close(s);
        return ntohs(a.sin_port);
    }

private:
    void push(Answer a) {
        std::lock_guard<std::mutex> l(m_);
        answers_.push_back(std::move(a));
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
            Answer a{Kind::Normal, "HTTP/1.1 404 X\r\nContent-Length: 0\r\n\r\n"};
            {
                std::lock_guard<std::mutex> l(m_);
                heads_.push_back(head);
                if (!answers_.empty()) {
                    a = answers_.front();
                    answers_.pop_front();
                }
            }
            if (a.kind == Kind::Normal || a.kind == Kind::RawThenHold) {
                ::send(c, a.raw.data(), a.raw.size(), MSG_NOSIGNAL);
            }
            if (a.kind == Kind::Hold || a.kind == Kind::RawThenHold) {
                while (!over()) {
                    char buf[64];
                    if (loopback::waitFor(c, POLLIN) && ::recv(c, buf, sizeof buf, 0) <= 0) {
                        break;
                    }
                }
            } else if (a.kind == Kind::Trickle) {
                const std::string h = "HTTP/1.1 200 X\r\nContent-Length: 100000\r\n\r\n";
                bool ok = ::send(c, h.data(), h.size(), MSG_NOSIGNAL) > 0;
                while (ok && !over()) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    ok = ::send(c, "x", 1, MSG_NOSIGNAL) > 0;
                }
            }
            ::close(c);
        }
    }

    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex m_;
    std::deque<Answer> answers_;
    std::vector<std::string> heads_;
};
