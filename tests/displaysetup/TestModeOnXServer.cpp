// A mode tried from the display-settings window on a real X server (Xorg's dummy driver).
#include "DialogService.h"
#include "DisplayModes.h"
#include "ManualClock.h"
#include "Settings.h"
#include "XServerFixture.h"
#include "frmDisplaySettings.h"
#include "frmTest.h"
#include "modTest.h"

#include <QPushButton>
#include <gtest/gtest.h>
#include <utility>

// clang-format off
#include <X11/Xlib.h>
// clang-format on

namespace {

// The root window's size, as the server itself tells it.
std::pair<unsigned, unsigned> rootSize(const std::string& name) {
    Display* dpy = XOpenDisplay(name.c_str());
    if (!dpy) {
        return {0, 0};
    }
    Window root;
    int x, y;
    unsigned w = 0, h = 0, border, depth;
    XGetGeometry(dpy, DefaultRootWindow(dpy), &root, &x, &y, &w, &h, &border, &depth);
    XCloseDisplay(dpy);
    return {w, h};
}

TEST(TestModeOnXServer, TheTriedModeIsShownAndTheDesktopComesBack) {
    std::string whyNot;
    auto server = XServerFixture::start(whyNot);
    if (!server) {
        if (XServerFixture::installed()) {
            FAIL() << whyNot;
        }
        GTEST_SKIP() << whyNot;
    }
    const std::string name = server->displayName();
    display::DisplayModes::reopen(name);
    ASSERT_TRUE(display::DisplayModes::instance().usesXRandR());
    ASSERT_EQ(rootSize(name), std::make_pair(1280u, 1024u));

    ScriptedDialogs dialogs;
    DialogService::install(&dialogs);
    ManualClock clock;
    Clock::install(&clock);
    {
        auto screen = makePlatformModeScreen();
        std::pair<unsigned, unsigned> duringTest;
        frmDisplaySettings window(*screen, "-noerror", [&] {
            frmTest test(nullptr, clock);
            test.show();
            duringTest = rootSize(name);
            clock.advance(1000);
            test.Command2->click();
        });
        DisplaySettingsModel& m = window.model;
        // The desktop mode is listed and preselected.
        ASSERT_GE(m.ListIndex, 0);
        EXPECT_EQ(m.Combo1[std::size_t(m.ListIndex)], "(1280 X 1024) (32 bits) (060 hz)");
        int tried = -1;
        for (std::size_t i = 0; i < m.Combo1.size(); ++i) {
            if (m.Combo1[i] == "(0800 X 0600) (32 bits) (075 hz)") {
                tried = int(i);
            }
        }
        ASSERT_GE(tried, 0);
        m.ListIndex = tried;
        m.Command1_Click();
        EXPECT_EQ(duringTest, std::make_pair(800u, 600u));
        EXPECT_EQ(rootSize(name), std::make_pair(1280u, 1024u));
        EXPECT_TRUE(TestPassed);
        EXPECT_TRUE(dialogs.calls().empty());
        EXPECT_FALSE(display::DisplayModes::instance().switched());

        m.Command2_Click();
        EXPECT_EQ(GetSetting("Vantorix", "DEVMODE", "lWidth"), "800");
        EXPECT_EQ(GetSetting("Vantorix", "DEVMODE", "lFreq"), "75");
    }
    Clock::install(nullptr);
    DialogService::install(nullptr);
    display::DisplayModes::reopen(""); // off the server before it goes
}

} // namespace
