#include "HostileReplies.h"
#include "HttpTestServer.h"
#include "QFNUpdateChecker.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

struct Finished {
    std::string Version;
    VbLong VersionNumber = 0;
    std::string ReleaseDate, Message, FileURL, FileSize;
    bool Failed = false;
};

// A checker whose events are recorded; the connected-state query answers `online`.
struct Recorder {
    QFNUpdateChecker checker;
    int started = 0;
    std::vector<Finished> finished;
    bool online = true;
    Recorder() {
        checker.CheckStarted = [this] {
            EXPECT_TRUE(finished.empty());
            ++started;
        };
        checker.CheckFinished = [this](const std::string& v, VbLong n, const std::string& t,
                                       const std::string& d, const std::string& f,
                                       const std::string& s, bool failed) {
            finished.push_back({v, n, t, d, f, s, failed});
        };
        checker.connected = [this] { return online; };
    }
    const Finished& only() {
        EXPECT_EQ(started, 1);
        EXPECT_EQ(finished.size(), 1u);
        return finished.at(0);
    }
};

std::string fullReply() {
    return "junk before<$V>4.1.0</$v>\r\n<$l>401</$l><$t>2026-12-01</$T>"
           "<$d>Faster aliens</$d><$f>http://dl.example/v.zip</$f><$s>2 MB</$s> trailing";
}

} // namespace

TEST(UpdateChecker, ParseTagTakesTheFirstOpeningAndTheNextClosingWithoutRegardToCase) {
    struct Case {
        const char* data;
        const char* tag;
        const char* want;
    };
    const Case cases[] = {
        {"<$v>4.1</$v>", "$v", "4.1"},
        {"<$V>4.1</$v>", "$v", "4.1"},
        {"<$v>Mixed Case</$V>", "$V", "Mixed Case"},
        {"<$v>open only", "$v", ""},
        {"no tags at all", "$v", ""},
        {"</$v>close first<$v>x</$v>", "$v", "x"},
        {"<$v>first</$v><$v>second</$v>", "$v", "first"},
        {"<$v>a<$v>b</$v>c</$v>", "$v", "a<$v>b"},
        {"<$v></$v>", "$v", ""},
        {"<$v>  4 1  </$v>", "$v", "  4 1  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QFNUpdateChecker::ParseTag(c.data, c.tag), c.want) << c.data;
    }
}

TEST(UpdateCheckerUnderLocale, TagsMatchWithoutRegardToCase) {
    EXPECT_EQ(QFNUpdateChecker::ParseTag("<$I>In</$i>", "$i"), "In");
    EXPECT_EQ(QFNUpdateChecker::ParseTag("<$info>Fixes</$INFO>", "$Info"), "Fixes");
    EXPECT_EQ(QFNUpdateChecker::ParseTag(fullReply(), "$V"), "4.1.0");
}

TEST(UpdateChecker, FetchesTheAddressAsGivenAndReportsEveryField) {
    LoopbackHttpServer server;
    server.reply(200, fullReply());
    Recorder r;
    r.checker.CheckUpdate(server.base() + "/pu_data/vantorix.dat");

    ASSERT_EQ(server.requestLines().size(), 1u);
    EXPECT_EQ(server.requestLines()[0], "GET /pu_data/vantorix.dat HTTP/1.1");
    const Finished& f = r.only();
    EXPECT_EQ(f.Version, "4.1.0");
    EXPECT_EQ(f.VersionNumber, 401);
    EXPECT_EQ(f.ReleaseDate, "2026-12-01");
    EXPECT_EQ(f.Message, "Faster aliens");
    EXPECT_EQ(f.FileURL, "http://dl.example/v.zip");
    EXPECT_EQ(f.FileSize, "2 MB");
    EXPECT_FALSE(f.Failed);
}

TEST(UpdateChecker, MissingOrBlankVersionFailsAccordingToTheReply) {
    struct Case {
        int status;
        std::string body;
        const char* message;
    };
    const char* const noData = "Server connected, but data was not found!";
    const char* const noServer = "Unable to connect to server, please try again later.";
    const Case cases[] = {
        {404, "<html>Not found</html>", noData},
        {200, "<$l>401</$l><$v>4.1", noData},
        {200, "<$v>   </$v><$l>401</$l>", noData},
        {200, "", noServer},
        {200, "     ", noServer},
    };
    for (const auto& c : cases) {
        LoopbackHttpServer server;
        server.reply(c.status, c.body);
        Recorder r;
        r.checker.CheckUpdate(server.base() + "/u.dat");
        const Finished& f = r.only();
        EXPECT_EQ(f.Message, c.message) << c.body;
        EXPECT_TRUE(f.Failed);
        EXPECT_EQ(f.Version, "");
        EXPECT_EQ(f.VersionNumber, 0);
        EXPECT_EQ(f.FileURL, "");
    }
}

TEST(UpdateChecker, VersionNumberIsTheLeadingWholeNumberOrZero) {
    const std::pair<const char*, VbLong> cases[] = {
        {"401", 401},   {" 402 ", 402}, {"403abc", 403},       {"abc", 0},
        {"", 0},        {"-5", -5},     {"99999999999999", 0}, {"2147483647", 2147483647},
        {"400.5", 400},
    };
    for (const auto& [text, want] : cases) {
        Recorder r;
        // clang 14 cannot capture a structured binding.
        r.checker.openUrl = [versionText = text](const std::string&, int) {
            return std::string("<$v>x</$v><$l>") + versionText + "</$l>";
        };
        r.checker.CheckUpdate("http://unused/");
        EXPECT_EQ(r.only().VersionNumber, want) << text;
    }
}

TEST(UpdateChecker, NoReplyInTimeOrNoServerEndsAsUnableToConnect) {
    {
        LoopbackHttpServer server;
        server.hold();
        Recorder r;
        r.checker.setTimeOut(1);
        r.checker.CheckUpdate(server.base() + "/u.dat");
        EXPECT_EQ(r.only().Message, "Unable to connect to server, please try again later.");
        EXPECT_TRUE(r.only().Failed);
    }
    {
        Recorder r;
        r.checker.CheckUpdate(
            "http://127.0.0.1:" + std::to_string(LoopbackHttpServer::closedPort()) + "/u.dat");
        EXPECT_EQ(r.only().Message, "Unable to connect to server, please try again later.");
    }
}

// Reached, but with nothing we could take as the note: the server was there all the same.
TEST(UpdateChecker, AReplyThatCannotBeReadIsNoMissingServer) {
    LoopbackHttpServer server;
    for (const HostileReply& h : hostileReplies()) {
        h.queueAt(server);
    }
    server.reply(200, std::string(64 * 1024 + 1, 'v')); // past the note's cap
    for (std::size_t i = 0; i <= hostileReplies().size(); ++i) {
        SCOPED_TRACE(i < hostileReplies().size() ? hostileReplies()[i].what : "too long");
        Recorder r;
        r.checker.CheckUpdate(server.base() + "/u.dat");
        EXPECT_EQ(r.only().Message, "Server connected, but data was not found!");
        EXPECT_TRUE(r.only().Failed);
        EXPECT_EQ(r.only().Version, "");
    }
}

TEST(UpdateChecker, OfflineQueryMarksDataFailedButStillReportsIt) {
    Recorder r;
    r.online = false;
    std::string asked;
    int timeoutMs = 0;
    r.checker.openUrl = [&](const std::string& url, int ms) {
        asked = url;
        timeoutMs = ms;
        return fullReply();
    };
    r.checker.CheckUpdate("http://host/x");
    EXPECT_EQ(asked, "http://host/x");
    EXPECT_EQ(timeoutMs, 60000);
    const Finished& f = r.only();
    EXPECT_TRUE(f.Failed);
    EXPECT_EQ(f.Version, "4.1.0");
    EXPECT_EQ(f.Message, "Faster aliens");
}

TEST(UpdateChecker, PropertiesKeepTheirDefaults) {
    QFNUpdateChecker c;
    EXPECT_EQ(c.TimeOut(), 60);
    EXPECT_TRUE(c.ConnectionPrompt());
    EXPECT_EQ(c.AccessType(), 0);
}
