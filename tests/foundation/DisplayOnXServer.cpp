// Display modes against a real X server: Xorg with the dummy driver, started for this binary.
#include "DirectX7Display.h"
#include "DirectX8Display.h"
#include "DisplayModes.h"
#include "Settings.h"
#include "XServerFixture.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

// Last: Xlib's macros (None, Bool, Status) clash with names in the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
// clang-format on

extern char** environ;

namespace {

using display::DisplayMode;
using display::DisplayModes;

// What the server itself says, over a connection of the test's own.
struct ServerState {
    int rootWidth = 0;
    int rootHeight = 0;
    int modeWidth = 0;
    int modeHeight = 0;
    int rate = 0;
    bool operator==(const ServerState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ServerState& s) {
    return out << "screen " << s.rootWidth << "x" << s.rootHeight << ", mode " << s.modeWidth << "x"
               << s.modeHeight << "@" << s.rate;
}

constexpr ServerState desktopState{1280, 1024, 1280, 1024, 60};
constexpr DisplayMode desktopMode{1280, 1024, 32, 60};

ServerState stateOf(int w, int h, int rate) {
    return {w, h, w, h, rate};
}

int rateOf(const XRRModeInfo& m) {
    return static_cast<int>(std::lround(double(m.dotClock) / (double(m.hTotal) * m.vTotal)));
}

// Runs `use` with the primary output's resources, output and CRTC.
template <typename Use> void withOutput(const std::string& name, Use use) {
    Display* dpy = XOpenDisplay(name.c_str());
    ASSERT_NE(dpy, nullptr);
    const Window root = DefaultRootWindow(dpy);
    XRRScreenResources* res = XRRGetScreenResources(dpy, root);
    RROutput out = XRRGetOutputPrimary(dpy, root);
    if (!out) {
        out = res->outputs[0];
    }
    XRROutputInfo* oi = XRRGetOutputInfo(dpy, res, out);
    use(dpy, root, res, oi);
    XRRFreeOutputInfo(oi);
    XRRFreeScreenResources(res);
    XCloseDisplay(dpy);
}

ServerState probe(const std::string& name) {
    ServerState s;
    withOutput(name, [&](Display* dpy, Window root, XRRScreenResources* res, XRROutputInfo* oi) {
        Window r;
        int x, y;
        unsigned w, h, b, d;
        XGetGeometry(dpy, root, &r, &x, &y, &w, &h, &b, &d);
        s.rootWidth = int(w);
        s.rootHeight = int(h);
        XRRCrtcInfo* ci = XRRGetCrtcInfo(dpy, res, oi->crtc);
        for (int i = 0; i < res->nmode; ++i) {
            if (res->modes[i].id == ci->mode) {
                s.modeWidth = int(res->modes[i].width);
                s.modeHeight = int(res->modes[i].height);
                s.rate = rateOf(res->modes[i]);
            }
        }
        XRRFreeCrtcInfo(ci);
    });
    return s;
}

// A mode change made by someone else (the user with a desktop tool).
void switchBehindOurBack(const std::string& name, int width, int height, int rate) {
    withOutput(name, [&](Display* dpy, Window root, XRRScreenResources* res, XRROutputInfo* oi) {
        RRMode mode = 0;
        for (int i = 0; i < oi->nmode; ++i) {
            for (int j = 0; j < res->nmode; ++j) {
                const XRRModeInfo& m = res->modes[j];
                if (m.id == oi->modes[i] && int(m.width) == width && int(m.height) == height &&
                    rateOf(m) == rate && !mode) {
                    mode = m.id;
                }
            }
        }
        ASSERT_NE(mode, 0u);
        XRRCrtcInfo* ci = XRRGetCrtcInfo(dpy, res, oi->crtc);
        XGrabServer(dpy);
        if (width > int(ci->width) || height > int(ci->height)) {
            XRRSetScreenSize(dpy, root, width, height, width / 4, height / 4);
        }
        XRRSetCrtcConfig(dpy, res, oi->crtc, CurrentTime, 0, 0, mode, ci->rotation, ci->outputs,
                         ci->noutput);
        XRRSetScreenSize(dpy, root, width, height, width / 4, height / 4);
        XUngrabServer(dpy);
        XSync(dpy, False);
        XRRFreeCrtcInfo(ci);
    });
}

bool markerPending() {
    return GetSetting(display::markerApp, display::markerSection, "Pending", "") == "1";
}

// The helper program, with its stdout on a pipe.
struct Child {
    pid_t pid = -1;
    int out = -1;

    std::string readLine(int timeoutMs = 20000) {
        std::string line;
        char c;
        pollfd p{out, POLLIN, 0};
        while (poll(&p, 1, timeoutMs) > 0 && read(out, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }
    // Its exit status; a child that does not end in time is killed, and counts as such.
    int wait() {
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (waitpid(pid, &status, WNOHANG) != pid) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            usleep(10000);
        }
        close(out);
        return status;
    }
};

Child spawnChild(const std::string& how, int width = 800, int height = 600, int rate = 0) {
    std::vector<std::string> args = {DISPLAY_SWITCH_CHILD,
                                     std::to_string(width),
                                     std::to_string(height),
                                     std::to_string(rate),
                                     "32",
                                     how};
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    // A test run in the background inherits SIGINT ignored; the child starts with the
    // defaults, as a program started from a desktop does.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults, none;
    sigemptyset(&defaults);
    sigemptyset(&none);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&defaults, sig);
    }
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    Child child;
    if (posix_spawn(&child.pid, DISPLAY_SWITCH_CHILD, &actions, &attr, argv.data(), environ) != 0) {
        child.pid = -1;
    }
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    child.out = fds[0];
    return child;
}

class XDisplayTest : public testing::Test {
protected:
    static void SetUpTestSuite() { server = XServerFixture::start(whyNot); }
    static void TearDownTestSuite() {
        // Off the server before it goes.
        DisplayModes::reopen("");
        server.reset();
    }

    void SetUp() override {
        if (!server) {
            if (XServerFixture::installed()) {
                FAIL() << whyNot;
            }
            GTEST_SKIP() << whyNot;
        }
        name = server->displayName();
        setenv("DISPLAY", name.c_str(), 1);
        DisplayModes::reopen(name);
        ASSERT_TRUE(DisplayModes::instance().usesXRandR());
        ASSERT_EQ(probe(name), desktopState);
    }

    void TearDown() override {
        if (!server) {
            return;
        }
        DisplayModes::instance().restore();
        if (!(probe(name) == desktopState)) {
            switchBehindOurBack(name, 1280, 1024, 60);
        }
    }

    static std::unique_ptr<XServerFixture> server;
    static std::string whyNot;
    std::string name;
};

std::unique_ptr<XServerFixture> XDisplayTest::server;
std::string XDisplayTest::whyNot;

TEST_F(XDisplayTest, ListsEveryModeOfThePrimaryOutputOnce) {
    const auto modes = DisplayModes::instance().modes();
    for (const DisplayMode m : {DisplayMode{640, 480, 32, 60}, DisplayMode{800, 600, 32, 60},
                                DisplayMode{800, 600, 32, 75}, DisplayMode{1024, 768, 32, 60},
                                DisplayMode{1280, 1024, 32, 60}}) {
        EXPECT_NE(std::find(modes.begin(), modes.end(), m), modes.end())
            << m.width << "x" << m.height << "@" << m.refreshRate;
    }
    for (std::size_t i = 1; i < modes.size(); ++i) {
        const auto& a = modes[i - 1];
        const auto& b = modes[i];
        EXPECT_LT(std::tie(a.bitsPerPixel, a.width, a.height, a.refreshRate),
                  std::tie(b.bitsPerPixel, b.width, b.height, b.refreshRate));
    }
    EXPECT_EQ(DisplayModes::instance().current(), desktopMode);
}

TEST_F(XDisplayTest, OffscreenQtLeavesTheXServerAlone) {
    // Tests run with DISPLAY set must never switch the screen of the person running them.
    DisplayModes::reopen();
    EXPECT_FALSE(DisplayModes::instance().usesXRandR());
}

TEST_F(XDisplayTest, SetDisplayModeSwitchesAndRestoreBringsTheDesktopBack) {
    struct Case {
        VbInteger width, height, rate;
        std::uint8_t bits;
        int wantRate;
    };
    // Rate 0: the size's rate nearest 60; 24 bits is the 32-bit true-colour screen.
    for (const Case c : {Case{800, 600, 0, 32, 60}, Case{800, 600, 75, 32, 75},
                         Case{640, 480, 60, 24, 60}, Case{1024, 768, 60, 32, 60}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "@" << c.rate);
        DirectX7Display d;
        d.SetDisplayMode(c.width, c.height, c.rate, c.bits);
        EXPECT_EQ(d.GetDisplayWidth(), c.width);
        EXPECT_EQ(d.GetDisplayHeight(), c.height);
        EXPECT_EQ(d.GetDisplayBitDepth(), 32);
        EXPECT_EQ(d.GetDisplayRefreshRate(), c.wantRate);
        EXPECT_EQ(probe(name), stateOf(c.width, c.height, c.wantRate));
        EXPECT_TRUE(markerPending());

        d.RestoreDisplayMode();
        EXPECT_EQ(d.GetDisplayWidth(), 1280);
        EXPECT_EQ(d.GetDisplayHeight(), 1024);
        EXPECT_EQ(d.GetDisplayBitDepth(), 32);
        EXPECT_EQ(d.GetDisplayRefreshRate(), 60);
        EXPECT_EQ(probe(name), desktopState);
        EXPECT_FALSE(markerPending());
    }
}

TEST_F(XDisplayTest, RestoreGoesBackToTheModeBeforeTheFirstOfSeveralSwitches) {
    DirectX7Display d;
    d.SetDisplayMode(800, 600, 75, 32);
    d.SetDisplayMode(1024, 768, 0, 32);
    d.SetDisplayMode(640, 480, 0, 32);
    EXPECT_EQ(probe(name), stateOf(640, 480, 60));
    d.RestoreDisplayMode();
    EXPECT_EQ(probe(name), desktopState);
    d.RestoreDisplayMode(); // nothing left to restore is no error
    EXPECT_EQ(probe(name), desktopState);
}

TEST_F(XDisplayTest, UnsupportedModesChangeNothing) {
    struct Case {
        VbInteger width, height, rate;
        std::uint8_t bits;
    };
    const Case unsupported[] = {{1234, 567, 0, 32},  {800, 600, 61, 32}, {800, 600, 60, 16},
                                {800, 600, 60, 8},   {0, 0, 0, 32},      {-800, 600, 0, 32},
                                {800, 600, -60, 32}, {4096, 3072, 0, 32}};
    DirectX7Display d;
    for (const Case c : unsupported) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << "@" << c.rate << "/" << int(c.bits));
        d.SetDisplayMode(c.width, c.height, c.rate, c.bits);
        EXPECT_EQ(probe(name), desktopState);
        EXPECT_FALSE(DisplayModes::instance().switched());
        EXPECT_FALSE(markerPending());
    }
    // Nor does one after a switch: the switched mode stays.
    d.SetDisplayMode(800, 600, 0, 32);
    for (const Case c : unsupported) {
        d.SetDisplayMode(c.width, c.height, c.rate, c.bits);
        EXPECT_EQ(probe(name), stateOf(800, 600, 60));
    }
    d.RestoreDisplayMode();
    EXPECT_EQ(probe(name), desktopState);
}

TEST_F(XDisplayTest, ReleasingTheObjectThatSwitchedRestores) {
    {
        DirectX7Display d;
        d.SetDisplayMode(800, 600, 0, 32);
        EXPECT_EQ(probe(name), stateOf(800, 600, 60));
    }
    EXPECT_EQ(probe(name), desktopState);

    // An object that only looked leaves the other's switch in place.
    DirectX7Display owner;
    owner.SetDisplayMode(1024, 768, 0, 32);
    { DirectX7Display reader; }
    EXPECT_EQ(probe(name), stateOf(1024, 768, 60));
}

TEST_F(XDisplayTest, DirectX8DisplayReadsTheModeInUse) {
    DirectX7Display switcher;
    switcher.SetDisplayMode(800, 600, 75, 32);
    DirectX8Display d;
    EXPECT_EQ(d.GetDisplayWidth(), 800);
    EXPECT_EQ(d.GetDisplayHeight(), 600);
    EXPECT_EQ(d.GetDisplayRefreshRate(), 75);
    QImage surface(16, 16, QImage::Format_RGB32);
    EXPECT_EQ(d.GetDisplayColorDepth(surface), 32);
}

TEST_F(XDisplayTest, NextStartRestoresWhatADeadProcessLeftSwitched) {
    for (const char* how : {"quit", "kill"}) {
        SCOPED_TRACE(how);
        Child child = spawnChild(how);
        ASSERT_GT(child.pid, 0);
        EXPECT_EQ(child.readLine(), "switched");
        child.wait();
        // The switch outlives its process...
        EXPECT_EQ(probe(name), stateOf(800, 600, 60));
        EXPECT_TRUE(markerPending());
        // ...until the next start.
        EXPECT_TRUE(display::restoreLeftoverSwitch());
        EXPECT_EQ(probe(name), desktopState);
        EXPECT_FALSE(markerPending());
        EXPECT_FALSE(display::restoreLeftoverSwitch());
    }
}

TEST_F(XDisplayTest, NextStartLeavesAModeTheUserSetSinceAlone) {
    Child child = spawnChild("quit");
    ASSERT_EQ(child.readLine(), "switched");
    child.wait();
    switchBehindOurBack(name, 1024, 768, 60);
    EXPECT_FALSE(display::restoreLeftoverSwitch());
    EXPECT_EQ(probe(name), stateOf(1024, 768, 60));
    EXPECT_FALSE(markerPending());
}

TEST_F(XDisplayTest, ExitRestores) {
    Child child = spawnChild("exit", 640, 480, 60);
    ASSERT_EQ(child.readLine(), "switched");
    const int status = child.wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(probe(name), desktopState);
    EXPECT_FALSE(markerPending());
}

TEST_F(XDisplayTest, TerminationSignalsRestoreAndStillEndTheProcess) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(sig));
        Child child = spawnChild("wait", 1024, 768, 0);
        ASSERT_EQ(child.readLine(), "switched");
        EXPECT_EQ(probe(name), stateOf(1024, 768, 60));
        // A start meanwhile leaves the running program's switch alone.
        EXPECT_FALSE(display::restoreLeftoverSwitch());
        EXPECT_EQ(probe(name), stateOf(1024, 768, 60));

        kill(child.pid, sig);
        const int status = child.wait();
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_EQ(probe(name), desktopState);
        // The marker the handler could not clear goes at the next start, changing nothing.
        display::restoreLeftoverSwitch();
        EXPECT_FALSE(markerPending());
        EXPECT_EQ(probe(name), desktopState);
    }
}

} // namespace
