#include "ColorFader.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<VbLong> take(ColorFader& f, int n) {
    std::vector<VbLong> out;
    for (int i = 0; i < n; ++i) {
        out.push_back(f.GetNextColor());
    }
    return out;
}

ColorFader fader(VbLong start, VbLong end, VbLong steps, bool pingPong = false) {
    ColorFader f;
    f.setPingPong(pingPong ? VbTrue : VbFalse);
    f.setStartColor(start);
    f.setEndColor(end);
    f.setSteps(steps);
    return f;
}

using Seq = std::vector<VbLong>;

} // namespace

TEST(ColorFader, PassesRunInEqualStepsFromStartToEnd) {
    struct Case {
        VbLong start, end, steps;
        bool pingPong;
        Seq expected;
    };
    const Case cases[] = {
        {0, 255, 5, false, {0, 51, 102, 153, 204, 255, -1, -1}},
        {255, 0, 2, false, {255, 128, 0, -1}}, // 127.5 rounds to even
        {0x00FF00, 0, 2, false, {0x00FF00, 0x008000, 0, -1}},
        {0x0000FF, 0xFF0000, 1, false, {0x0000FF, 0xFF0000, -1}},
        {0x123456, 0x654321, 0, false, {0x123456, -1, -1}}, // Steps 0: the start once
        {0, 255, 1, true, {0, 255, 255, 0, 0, 255, 255, 0, 0}},
        {0x0000FF, 0x0000FF, 1, true, {0xFF, 0xFF, 0xFF, 0xFF, -1, -1}},
        {0, 255, 0, true, {0, 255, 0, 255, 0}},
        {0x0000FF, 0, 3, true, {255, 170, 85, 0, 0, 85, 170, 255, 255}},
    };
    for (const Case& c : cases) {
        ColorFader f = fader(c.start, c.end, c.steps, c.pingPong);
        EXPECT_EQ(take(f, static_cast<int>(c.expected.size())), c.expected)
            << c.start << " -> " << c.end << " in " << c.steps << (c.pingPong ? " ping-pong" : "");
    }
}

TEST(ColorFader, BlueStepsInSinglePrecision) {
    // 1/6 in single precision is a little above the double: three steps make 0.50000001
    // (blue 1) where red and green, in double precision, make exactly 0.5 (0, to even).
    ColorFader up = fader(0, 0x010101, 6);
    EXPECT_EQ(take(up, 8), (Seq{0, 0, 0, 0x010000, 0x010101, 0x010101, 0x010101, -1}));
    // 7/6 in single precision is a little below: 3.4999998 gives blue 3, doubles give 4.
    ColorFader more = fader(0, 0x070707, 6);
    std::vector<VbLong> got = take(more, 4);
    EXPECT_EQ(got[3], 0x030404);
}

TEST(ColorFader, NothingUntilAllThreeSettingsAreWritten) {
    ColorFader f;
    EXPECT_EQ(f.GetNextColor(), -1);
    f.setStartColor(0);
    f.setEndColor(255);
    EXPECT_EQ(f.GetNextColor(), -1);
    EXPECT_EQ(f.StartColor(), 0);
    EXPECT_EQ(f.Steps(), -1);
    f.setSteps(1);
    EXPECT_EQ(take(f, 3), (Seq{0, 255, -1}));
    f.setPingPong(VbTrue);
    EXPECT_EQ(f.PingPong(), VbTrue);
    f.setEndColor(-1); // unset again: no colour, whatever the counter
    EXPECT_EQ(take(f, 2), (Seq{-1, -1}));
}

TEST(ColorFader, WritingASettingOrResetStartsThePassAgain) {
    ColorFader f = fader(0, 250, 5);
    EXPECT_EQ(take(f, 3), (Seq{0, 50, 100}));
    f.setStartColor(200); // mid-pass: restarts at the new start
    EXPECT_EQ(take(f, 7), (Seq{200, 210, 220, 230, 240, 250, -1}));
    f.Reset();
    EXPECT_EQ(take(f, 2), (Seq{200, 210}));

    // A ping-pong swap stays in place; Reset does not undo it.
    ColorFader p = fader(0, 255, 1, true);
    EXPECT_EQ(take(p, 3), (Seq{0, 255, 255}));
    EXPECT_EQ(p.StartColor(), 255);
    EXPECT_EQ(p.EndColor(), 0);
    p.Reset();
    EXPECT_EQ(take(p, 2), (Seq{255, 0}));

    // Steps 0 then a real step count: the steps are worked out afresh.
    ColorFader z = fader(0, 100, 0);
    z.setSteps(4);
    EXPECT_EQ(take(z, 6), (Seq{0, 25, 50, 75, 100, -1}));
}
