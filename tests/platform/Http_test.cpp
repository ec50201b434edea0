#include "Http.h"
#include "HttpTestServer.h"
#include "Timer.h"
#include "VbError.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

// The failure number Get raises, 0 when it returns.
std::int32_t failureOf(const std::string& url, int timeoutMs = 2000, std::size_t cap = 1000) {
    try {
        http::Get(url, timeoutMs, cap);
    } catch (const VbError& e) {
        EXPECT_EQ(e.Source(), "Inet");
        EXPECT_FALSE(e.Description().empty());
        return e.Number();
    }
    return 0;
}

} // namespace

TEST(Http, RequestTargetGoesOutAsBuilt) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/?updatescore&SCORE=12345&LEVEL=3&NAME=A%20B%2D",
         "/?updatescore&SCORE=12345&LEVEL=3&NAME=A%20B%2D"},
        {"/?pw&ping", "/?pw&ping"},
        {"/idata.hsc", "/idata.hsc"},
        {"/a%2db/%7E/../x", "/a%2db/%7E/../x"},
        {"?ping", "/?ping"},
        {"", "/"},
        // Bytes a request line cannot hold are the only ones escaped.
        {"/?pa ss\r\nX: y&ping", "/?pa%20ss%0D%0AX:%20y&ping"},
        {"/?\xE9", "/?%E9"},
    };
    LoopbackHttpServer server;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        server.reply(200, "ok");
    }
    for (const auto& [tail, target] : cases) {
        SCOPED_TRACE(target);
        EXPECT_EQ(http::OpenURL(server.base() + tail, 5000), "ok");
    }
    const auto lines = server.requestLines();
    ASSERT_EQ(lines.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(lines[i], "GET " + cases[i].second + " HTTP/1.1");
    }
    const std::string head = server.heads()[0];
    EXPECT_NE(head.find("\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"),
              std::string::npos)
        << head;
    EXPECT_EQ(head.find("X: y"), std::string::npos);
}

TEST(Http, BodyComesBackWhateverTheStatus) {
    LoopbackHttpServer server;
    server.reply(404, "<HTML>not here</HTML>");
    server.reply(500, "PASSWORD ERROR!");
    server.reply(200, "");
    server.reply(302, "moved"); // not followed
    server.replyRaw("HTTP/1.0 200 X\r\n\r\nno length, up to the close");
    const http::Reply a = http::Get(server.base() + "/a", 5000);
    EXPECT_EQ(a.Status, 404);
    EXPECT_EQ(a.Body, "<HTML>not here</HTML>");
    const http::Reply b = http::Get(server.base() + "/b", 5000);
    EXPECT_EQ(b.Status, 500);
    EXPECT_EQ(b.Body, "PASSWORD ERROR!");
    EXPECT_EQ(http::Get(server.base() + "/c", 5000).Body, "");
    const http::Reply d = http::Get(server.base() + "/d", 5000);
    EXPECT_EQ(d.Status, 302);
    EXPECT_EQ(d.Body, "moved");
    EXPECT_EQ(http::OpenURL(server.base() + "/e", 5000), "no length, up to the close");
    EXPECT_EQ(server.requestLines().size(), 5u);
}

TEST(Http, TheDeadlineEndsASilentOrTricklingServer) {
    LoopbackHttpServer server;
    server.hold();
    server.trickle();
    for (const char* tail : {"/held", "/trickled"}) {
        SCOPED_TRACE(tail);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(failureOf(server.base() + tail, 300, 1 << 20), http::err::TimedOut);
        // Well before the server would give up by itself.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
}

TEST(Http, ReplyCap) {
    LoopbackHttpServer server;
    server.reply(200, std::string(1000, 'a'));
    server.reply(200, std::string(1001, 'b'));                          // announced too long
    server.replyRaw("HTTP/1.0 200 X\r\n\r\n" + std::string(5000, 'c')); // found too long
    EXPECT_EQ(http::OpenURL(server.base() + "/", 5000, 1000), std::string(1000, 'a'));
    EXPECT_EQ(failureOf(server.base() + "/"), http::err::ReplyTooLarge);
    EXPECT_EQ(failureOf(server.base() + "/"), http::err::ReplyTooLarge);
}

TEST(Http, FailuresToReachAServer) {
    EXPECT_EQ(failureOf("http://127.0.0.1:" + std::to_string(LoopbackHttpServer::closedPort()) +
                        "/?ping"),
              http::err::CannotConnect);
    for (const char* url : {"ftp://127.0.0.1/x", "127.0.0.1/x", "", "http:///x", "http://a b/"}) {
        SCOPED_TRACE(url);
        EXPECT_EQ(failureOf(url), http::err::MalformedUrl);
    }
}

TEST(Http, TheProgramsTimersRunWhileItWaits) {
    LoopbackHttpServer server;
    server.hold();
    Timer t;
    int ticks = 0;
    t.onTick = [&] { ++ticks; };
    t.setInterval(10);
    t.setEnabled(true);
    EXPECT_EQ(failureOf(server.base() + "/", 300), http::err::TimedOut);
    EXPECT_GT(ticks, 3);
}
