#include "DirectX7Display.h"
#include "DisplayModes.h"

#include <gtest/gtest.h>

namespace {

// On the fixed desktop mode (no X server): the getters report it, nothing else can be set.
class DirectX7DisplayFixedTest : public testing::Test {
protected:
    void SetUp() override {
        display::DisplayModes::reopen("");
        desktop = *display::DisplayModes::instance().current();
    }
    display::DisplayMode desktop;

    void expectDesktop(const DirectX7Display& d) {
        EXPECT_EQ(d.GetDisplayWidth(), desktop.width);
        EXPECT_EQ(d.GetDisplayHeight(), desktop.height);
        EXPECT_EQ(d.GetDisplayBitDepth(), 32);
        EXPECT_EQ(d.GetDisplayRefreshRate(), desktop.refreshRate);
    }
};

TEST_F(DirectX7DisplayFixedTest, OtherModesAreSwallowedAndChangeNothing) {
    DirectX7Display d;
    expectDesktop(d);
    struct Case {
        VbInteger width, height, rate;
        std::uint8_t bits;
    };
    for (const Case c : {Case{640, 480, 100, 32}, Case{-1, -1, -1, 0}, Case{32767, 32767, 0, 255},
                         Case{static_cast<VbInteger>(desktop.width),
                              static_cast<VbInteger>(desktop.height), 0, 16}}) {
        EXPECT_NO_THROW(d.SetDisplayMode(c.width, c.height, c.rate, c.bits));
        expectDesktop(d);
    }
    // The desktop mode itself, rate given or default, is no change either.
    d.SetDisplayMode(static_cast<VbInteger>(desktop.width), static_cast<VbInteger>(desktop.height),
                     0, 32);
    expectDesktop(d);
    EXPECT_NO_THROW(d.RestoreDisplayMode());
    expectDesktop(d);
}

} // namespace
