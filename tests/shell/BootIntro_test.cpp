#include "ShellPartsFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t LightGrey = 0xC0C0C0;
constexpr std::int32_t White = 0xFFFFFF;

TEST(BootIntro, BootScreenStepsThenStripesThenInitGameOnce) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    BootIntro& intro = *fx.intro;
    EXPECT_EQ(intro.Flimmer->Point(5, 5), 0x808080);

    // Full-screen start: the first step waits 1500 ms, then every 500 ms.
    g.c64Screen.setInterval(1500);
    g.c64Screen.setEnabled(true);
    fx.clock.advance(1499);
    EXPECT_EQ(intro.BootStep, 0);
    fx.clock.advance(1);
    EXPECT_EQ(intro.BootStep, 1);
    EXPECT_EQ(g.c64Screen.Interval(), 500);

    struct Expect {
        int step;
        std::int32_t colour;
        bool disk;
    };
    const Expect table[] = {{2, 0x808080, false}, {3, LightGrey, false}, {4, LightGrey, false},
                            {5, White, false},    {7, White, false},     {8, White, true},
                            {11, White, true},    {12, White, false},    {13, White, false}};
    for (const Expect& x : table) {
        while (intro.BootStep < x.step) {
            fx.clock.advance(500);
        }
        SCOPED_TRACE(x.step);
        EXPECT_EQ(intro.BootStep, x.step);
        EXPECT_EQ(intro.Flimmer->Point(5, 5), x.colour);
        EXPECT_EQ(fx.diskView.Visible, x.disk);
        EXPECT_FALSE(g.FlimmerTimer.Enabled());
    }
    // Step 14 comes 1500 + 13 * 500 ms after the start.
    fx.clock.advance(500);
    EXPECT_EQ(fx.clock.elapsed(), 8000u);
    EXPECT_EQ(intro.BootStep, 14);
    EXPECT_FALSE(g.c64Screen.Enabled());
    EXPECT_TRUE(g.FlimmerTimer.Enabled());
    EXPECT_FALSE(fx.diskView.Visible);
    EXPECT_EQ(fx.initGameCalls, 0);

    ASSERT_TRUE(fx.runUntil([&] { return fx.initGameCalls > 0; }, 600000));
    EXPECT_EQ(intro.StripeTick, 181);
    EXPECT_FALSE(fx.flimmerView.Visible);
    EXPECT_FALSE(g.FlimmerTimer.Enabled());
    // A stray tick afterwards hands over nothing more.
    intro.FlimmerTimer_Timer();
    fx.clock.advance(5000);
    EXPECT_EQ(fx.initGameCalls, 1);
    EXPECT_EQ(intro.BootStep, 14);
}

TEST(BootIntro, StripeBoxesPerTickFollowTheBandHeightAndTheCurrentSize) {
    ShellPartsFixture fx;
    BootIntro& intro = *fx.intro;
    fx.flimmerView.Width = 10;
    fx.flimmerView.Height = 480;
    // One pump per box: y = 0, h, 2h, ... up to and including the height.
    auto boxes = [&] {
        const auto before = fx.clock.pumps();
        intro.FlimmerTimer_Timer();
        return static_cast<int>(fx.clock.pumps() - before);
    };
    EXPECT_EQ(boxes(), 481);
    // A resize counts from the next tick.
    fx.intro->layout(10, 100);
    EXPECT_EQ(boxes(), 101);
    EXPECT_EQ(intro.Flimmer->Height(), 100);
    while (intro.StripeTick < 50) {
        intro.FlimmerTimer_Timer();
    }
    EXPECT_EQ(boxes(), 11); // tick 51: bands of 10
    while (intro.StripeTick < 100) {
        intro.FlimmerTimer_Timer();
    }
    // Tick 101: phase 1, boxes from -9 in steps of 10 up to 110.
    EXPECT_EQ(boxes(), 12);
    EXPECT_EQ(intro.StripePhase, 1);
    EXPECT_EQ(intro.Flimmer->Point(0, 1), 0x00FFFF);  // second box yellow
    EXPECT_EQ(intro.Flimmer->Point(0, 11), 0xFF0000); // third blue
    // The phase runs 1 .. 10, 0, 1, ...
    std::vector<int> phases;
    for (int i = 0; i < 12; ++i) {
        intro.FlimmerTimer_Timer();
        phases.push_back(intro.StripePhase);
    }
    EXPECT_EQ(phases, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1, 2}));
    EXPECT_EQ(fx.initGameCalls, 0);
}

TEST(BootIntro, RandomStripeColoursComeFromTheConsolePalette) {
    ShellPartsFixture fx;
    fx.flimmerView.Width = 4;
    fx.flimmerView.Height = 4;
    // round(Rnd * 15): 0 -> black, 7.5 -> 8 (grey), 14.85 -> 15, 1.5 -> 2 (halves to even).
    Random::instance().queue(0.0f);
    Random::instance().queue(0.5f);
    Random::instance().queue(0.99f);
    Random::instance().queue(0.1f);
    Random::instance().queue(0.0f);
    fx.intro->FlimmerTimer_Timer();
    const Surface& s = *fx.intro->Flimmer;
    EXPECT_EQ(s.Point(1, 0), 0x000000);
    EXPECT_EQ(s.Point(1, 1), 0x808080);
    EXPECT_EQ(s.Point(1, 2), 0xFFFFFF);
    EXPECT_EQ(s.Point(1, 3), 0x008000);
    EXPECT_EQ(BootIntro::consoleColor(1), 0x800000);
    EXPECT_EQ(BootIntro::consoleColor(12), 0x0000FF);
}

TEST(BootIntro, LayoutCoversTheClientAreaAndCentresTheDiskWhileShown) {
    ShellPartsFixture fx;
    fx.intro->layout(600, 400);
    EXPECT_EQ(fx.flimmerView.Width, 600);
    EXPECT_EQ(fx.flimmerView.Height, 400);
    EXPECT_EQ(fx.intro->Flimmer->Width(), 600);
    EXPECT_EQ(fx.diskView.Left, 200);
    EXPECT_EQ(fx.diskView.Top, 97.5);
    fx.flimmerView.Visible = false;
    fx.intro->layout(800, 600);
    EXPECT_EQ(fx.flimmerView.Width, 600);
}

} // namespace
