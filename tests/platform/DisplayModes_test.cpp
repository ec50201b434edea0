#include "DisplayModes.h"
#include "DisplayModesXRandR.h"
#include "Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using display::DisplayMode;
using display::DisplayModes;

// Without an X server the desktop mode is fixed: that of the (offscreen) primary screen.
class FixedDisplayModesTest : public testing::Test {
protected:
    void SetUp() override {
        if (const char* d = std::getenv("DISPLAY")) {
            savedDisplay = d;
        }
        unsetenv("DISPLAY");
        DisplayModes::reopen();
        const QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_NE(screen, nullptr);
        desktop = {screen->geometry().width(), screen->geometry().height(), 32,
                   static_cast<int>(std::lround(screen->refreshRate()))};
    }
    void TearDown() override {
        if (savedDisplay) {
            setenv("DISPLAY", savedDisplay->c_str(), 1);
        }
        DisplayModes::reopen("");
    }

    std::optional<std::string> savedDisplay;
    DisplayMode desktop;
};

TEST_F(FixedDisplayModesTest, TheDesktopModeIsTheOnlyOneListed) {
    auto& modes = DisplayModes::instance();
    EXPECT_FALSE(modes.usesXRandR());
    EXPECT_EQ(modes.current(), desktop);
    EXPECT_EQ(modes.modes(), std::vector<DisplayMode>{desktop});
}

TEST_F(FixedDisplayModesTest, AnUnreachableServerGivesTheFixedMode) {
    DisplayModes::reopen("unix:987");
    EXPECT_FALSE(DisplayModes::instance().usesXRandR());
    EXPECT_EQ(DisplayModes::instance().current(), desktop);
}

TEST_F(FixedDisplayModesTest, OnlyTheDesktopModeItselfCanBeSet) {
    struct Case {
        int width, height, bits, rate;
        bool accepted;
    };
    const int w = desktop.width, h = desktop.height, r = desktop.refreshRate;
    const Case cases[] = {{w, h, 32, 0, true},      {w, h, 32, r, true},
                          {w, h, 24, 0, true},      {w, h, 16, 0, false},
                          {w, h, 32, r + 1, false}, {640, 480, 32, 0, w == 640 && h == 480},
                          {w + 1, h, 32, 0, false}, {0, 0, 32, 0, false}};
    auto& modes = DisplayModes::instance();
    for (const Case c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << "x" << c.bits << "@" << c.rate);
        EXPECT_EQ(modes.setMode(c.width, c.height, c.bits, c.rate), c.accepted);
        EXPECT_EQ(modes.current(), desktop);
        EXPECT_FALSE(modes.switched());
        EXPECT_TRUE(modes.restore());
    }
    EXPECT_EQ(GetSetting(display::markerApp, display::markerSection, "Pending", ""), "");
}

TEST_F(FixedDisplayModesTest, ALeftoverMarkerWaitsForItsXServer) {
    SaveSetting(display::markerApp, display::markerSection, "Display", ":0");
    SaveSetting(display::markerApp, display::markerSection, "Saved", "1280 1024 0");
    SaveSetting(display::markerApp, display::markerSection, "Pending", "1");
    DisplayModes::reopen("");
    EXPECT_FALSE(display::restoreLeftoverSwitch());
    EXPECT_EQ(GetSetting(display::markerApp, display::markerSection, "Pending", ""), "1");
}

TEST(XRandRConfigText, RoundTripsAndRejectsGarbledText) {
    display::XScreenConfig config;
    config.width = 1920;
    config.height = 1200;
    config.crtcs.push_back({63, 0, 0, 1, 70, {1920, 1200, 154000, 2080, 1235}, {66}});
    config.crtcs.push_back({64, 1920, 0, 2, 0, {}, {}});
    const auto back = display::parseScreenConfig(display::serialize(config));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 1920);
    EXPECT_EQ(back->height, 1200);
    EXPECT_EQ(back->crtcs, config.crtcs);
    EXPECT_EQ(display::parseCrtcConfig(display::serialize(config.crtcs[0])), config.crtcs[0]);

    const std::string text = display::serialize(config);
    for (const std::string& bad :
         {std::string(), std::string("1920 1200"), text + " 5", text.substr(0, text.size() - 3),
          std::string("0 0 0"), std::string("1920 1200 99999999")}) {
        EXPECT_FALSE(display::parseScreenConfig(bad)) << bad;
    }
    EXPECT_FALSE(display::parseCrtcConfig("63 0 0 1 70"));
}

TEST(DisplayNames, TheScreenNumberDoesNotMatter) {
    EXPECT_EQ(display::displayWithoutScreen(":0.0"), ":0");
    EXPECT_EQ(display::displayWithoutScreen(":0"), ":0");
    EXPECT_EQ(display::displayWithoutScreen("host.example:10.1"), "host.example:10");
}

} // namespace
