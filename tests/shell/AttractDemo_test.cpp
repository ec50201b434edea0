#include "ShellPartsFixture.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

void queue(std::initializer_list<float> values) {
    for (float v : values) {
        Random::instance().queue(v);
    }
}

TEST(AttractDemo, StartPicksPhasesAndDirectionsAndStartsTheCredits) {
    ShellPartsFixture fx(1, 2);
    GameForm& g = fx.f();
    // Per alien: phase Rnd * 5, then clockwise when round(Rnd) = 1 (0.5 rounds to 0).
    queue({0.2f, 0.5f, 0.1f, 0.51f});
    fx.demo->StartDemo();
    EXPECT_NEAR(g.Aliens[0].Sinus, 1.0, 1e-6);
    EXPECT_FALSE(g.Aliens[0].CloclWiseRotation);
    EXPECT_NEAR(g.Aliens[1].Sinus, 0.5, 1e-6);
    EXPECT_TRUE(g.Aliens[1].CloclWiseRotation);
    EXPECT_TRUE(g.DemoTimer.Enabled());
    EXPECT_TRUE(g.DemoSpriteAnimation.Enabled());
    EXPECT_TRUE(g.DemoFrameTimer.Enabled());
    EXPECT_EQ(g.DemoState, 0);
    EXPECT_TRUE(g.CreditsRunning);
    EXPECT_TRUE(g.CreditTimer.Enabled());
    EXPECT_EQ(g.CreditIndex, 0);
}

TEST(AttractDemo, LaunchOrderIsThePermutationThePicksSpellAndEachLaunchHasItsSide) {
    ShellPartsFixture fx(1, 5);
    GameForm& g = fx.f();
    AttractDemo& d = *fx.demo;
    // k = round(Rnd * (left - 1)) + 1 from [0 1 2 3 4]: 3rd, 1st, 3rd, 1st, 1st.
    queue({0.5f, 0.0f, 0.99f, 0.2f, 0.7f});
    // First launch: side round(2 * 0.1) = 0 (right edge), speed round(0.99 * 7) + 3 = 10.
    queue({0.1f, 0.99f});
    g.DemoTimer.setEnabled(true);
    d.DemoTimer_Timer();
    EXPECT_EQ(d.LaunchOrder, (std::vector<VbInteger>{2, 0, 4, 1, 3}));
    const Sprite& a2 = g.Aliens[2];
    EXPECT_EQ(a2.X, 480);
    EXPECT_EQ(a2.y, -12); // one image height (pictures hold image and mask) above the top
    EXPECT_EQ(a2.Extra3, 1);
    EXPECT_EQ(a2.Extra2, 10);
    for (int i : {0, 1, 3, 4}) {
        EXPECT_EQ(g.Aliens[static_cast<std::size_t>(i)].Extra3, 0);
    }
    // Second: round(2 * 0.5) = 1, left edge; speed round(0) + 3.
    queue({0.5f, 0.0f});
    d.DemoTimer_Timer();
    EXPECT_EQ(g.Aliens[0].X, -16);
    EXPECT_EQ(g.Aliens[0].Extra2, 3);
    // Third: round(1.8) = 2, anywhere along the top at round(0.5 * 480); speed round(3.5) + 3.
    queue({0.9f, 0.5f, 0.5f});
    d.DemoTimer_Timer();
    EXPECT_EQ(g.Aliens[4].X, 240);
    EXPECT_EQ(g.Aliens[4].Extra2, 7);
    EXPECT_TRUE(g.DemoTimer.Enabled());
    d.DemoTimer_Timer();
    d.DemoTimer_Timer();
    EXPECT_FALSE(g.DemoTimer.Enabled());
    for (const Sprite& a : g.Aliens) {
        EXPECT_EQ(a.Extra3, 1);
        EXPECT_GE(a.Extra2, 3);
        EXPECT_LE(a.Extra2, 10);
    }
}

TEST(AttractDemo, SingleAlienIsLaunchedOnceAndTheLauncherStops) {
    ShellPartsFixture fx(1, 1);
    GameForm& g = fx.f();
    fx.demo->StartDemo();
    fx.clock.advance(50);
    EXPECT_EQ(fx.demo->LaunchOrder, (std::vector<VbInteger>{0}));
    EXPECT_EQ(g.Aliens[0].Extra3, 1);
    EXPECT_FALSE(g.DemoTimer.Enabled());
}

TEST(AttractDemo, FlyInApproachesAtSpeedThenByOnesAndEndsInPlace) {
    ShellPartsFixture fx(1, 2);
    GameForm& g = fx.f();
    AttractDemo& d = *fx.demo;
    Sprite& a = g.Aliens[0];
    // Already in place along x: only y moves.
    a.zX = 100;
    a.X = 100;
    a.ZY = 25;
    a.y = 0;
    a.Extra2 = 10;
    a.Extra3 = 1;
    g.Aliens[1].Extra3 = 0; // not launched: skipped, does not hold the fly-in open
    g.DemoSpriteAnimation.setEnabled(true);
    std::vector<float> ys;
    for (int i = 0; i < 7; ++i) {
        d.DemoSpriteAnimation_Timer();
        ys.push_back(a.y);
        EXPECT_EQ(a.X, 100);
    }
    EXPECT_EQ(ys, (std::vector<float>{10, 20, 21, 22, 23, 24, 25}));
    EXPECT_TRUE(g.DemoSpriteAnimation.Enabled());
    d.DemoSpriteAnimation_Timer();
    EXPECT_FALSE(g.DemoSpriteAnimation.Enabled());
    // Drawn at its place with the fly-in frame.
    EXPECT_EQ(g.pMain->Point(108, 31), pics::alienColor(0, 0));
}

TEST(AttractDemo, WholeDemoFliesEveryAlienIntoFormationThenCircles) {
    ShellPartsFixture fx(1, 6);
    GameForm& g = fx.f();
    fx.demo->StartDemo();
    ASSERT_TRUE(fx.runUntil([&] { return !g.DemoSpriteAnimation.Enabled(); }, 20000));
    for (const Sprite& a : g.Aliens) {
        EXPECT_EQ(a.Extra3, 1);
        EXPECT_EQ(a.X, a.zX);
        EXPECT_EQ(a.y, a.ZY);
    }
    fx.clock.advance(250);
    EXPECT_EQ(g.DemoFrameTimer.Interval(), 20);
    // Circling stays within a small loop around the formation place.
    double far = 0;
    for (int t = 0; t < 2000; t += 20) {
        fx.clock.advance(20);
        for (const Sprite& a : g.Aliens) {
            far = std::max({far, std::abs(double(a.X - a.zX)), std::abs(double(a.y - a.ZY))});
        }
    }
    EXPECT_GT(far, 2);
    EXPECT_LT(far, 30);
}

TEST(AttractDemo, CirclingStepFollowsTheDirectionAndRoundsEachStep) {
    struct Case {
        bool clockwise;
        float x;
        float y;
    };
    // Sinus 1.0 + 0.2: sin 1.2 = 0.932, cos 1.2 = 0.362, times 2.
    for (const Case& c : {Case{false, 102, 51}, Case{true, 101, 52}}) {
        ShellPartsFixture fx(1, 3);
        GameForm& g = fx.f();
        for (Sprite& a : g.Aliens) {
            a.X = 100;
            a.y = 50;
            a.Sinus = 1.0;
            a.CloclWiseRotation = toVbBool(c.clockwise);
        }
        g.DemoSpriteAnimation.setEnabled(false);
        fx.demo->DemoFrameTimer_Timer();
        SCOPED_TRACE(c.clockwise);
        EXPECT_EQ(g.Aliens[0].X, c.x);
        EXPECT_EQ(g.Aliens[0].y, c.y);
        EXPECT_NEAR(g.Aliens[0].Sinus, 1.2, 1e-9);
        EXPECT_EQ(g.DemoState, 1);
    }
}

TEST(AttractDemo, FrameTimerOnlyFlipsTheStateDuringTheFlyInAndFlipsFramesRoundRobin) {
    ShellPartsFixture fx(1, 3);
    GameForm& g = fx.f();
    AttractDemo& d = *fx.demo;
    g.DemoSpriteAnimation.setEnabled(true);
    const float x0 = g.Aliens[0].X;
    d.DemoFrameTimer_Timer();
    EXPECT_EQ(g.DemoState, 1);
    EXPECT_EQ(g.Aliens[0].X, x0);
    EXPECT_EQ(g.DemoFrameTimer.Interval(), 250);
    g.DemoSpriteAnimation.setEnabled(false);
    std::vector<int> frames;
    for (int i = 0; i < 4; ++i) {
        d.DemoFrameTimer_Timer();
        for (const Sprite& a : g.Aliens) {
            frames.push_back(a.CurFrame);
        }
    }
    // Aliens 1, 2, 0, 1 flip in turn.
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 0, 0, 1, 1, 1, 1, 1, 1, 0, 1}));
}

TEST(AttractDemo, EndDemoStopsItsTimersAndErasesTheAliens) {
    ShellPartsFixture fx(1, 2);
    GameForm& g = fx.f();
    fx.demo->StartDemo();
    ASSERT_TRUE(fx.runUntil([&] { return !g.DemoSpriteAnimation.Enabled(); }, 20000));
    const Sprite& a = g.Aliens[0];
    const int cx = static_cast<int>(a.X) + 8;
    const int cy = static_cast<int>(a.y) + 6;
    ASSERT_NE(g.pMain->Point(cx, cy), pics::Background);
    fx.demo->EndDemo();
    EXPECT_FALSE(g.DemoTimer.Enabled());
    EXPECT_FALSE(g.DemoSpriteAnimation.Enabled());
    EXPECT_FALSE(g.DemoFrameTimer.Enabled());
    EXPECT_EQ(g.pMain->Point(cx, cy), pics::Background);
}

} // namespace
