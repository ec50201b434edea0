#include "JoystickInput.h"
#include "ManualClock.h"
#include "dx8Joystick.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct Event {
    VbLong X, Y, Z, rX, rY, rZ;
    dx8Joystick::SliderArray slider;
    dx8Joystick::ButtonArray buttons;
};

class JoystickTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(joy::subsystemReady());
        ASSERT_EQ(joy::attachedCount(joy::Kind::Joystick) + joy::attachedCount(joy::Kind::Gamepad),
                  0)
            << "the tests expect a machine without joysticks";
        Clock::install(&clock);
        joy::setProgramActiveForTesting(true);
    }
    void TearDown() override {
        stick.reset();
        joy::setProgramActiveForTesting(std::nullopt);
        Clock::install(nullptr);
    }

    // Made after the clock is installed, so its timer runs on the test clock.
    dx8Joystick& control() {
        if (!stick) {
            stick = std::make_unique<dx8Joystick>();
            stick->JoystickChange = [this](VbLong X, VbLong Y, VbLong Z, VbLong rX, VbLong rY,
                                           VbLong rZ, const dx8Joystick::SliderArray& s,
                                           const dx8Joystick::ButtonArray& b) {
                events.push_back({X, Y, Z, rX, rY, rZ, s, b});
            };
        }
        return *stick;
    }

    ManualClock clock;
    std::unique_ptr<dx8Joystick> stick;
    std::vector<Event> events;
};

TEST_F(JoystickTest, NoDeviceMeansNoEventsAndNotConnected) {
    dx8Joystick& j = control();
    j.Init();
    EXPECT_FALSE(j.JoystickConnected());
    clock.advance(500);
    EXPECT_TRUE(events.empty());
}

TEST_F(JoystickTest, InitReportsTheCentredStateOnceAndAStillStickSendsNothing) {
    joy::VirtualDevice dev(joy::Kind::Joystick);
    ASSERT_TRUE(dev.attached());
    dx8Joystick& j = control();
    EXPECT_EQ(j.PollInterval(), 50);
    j.Init();
    EXPECT_TRUE(j.JoystickConnected());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].X, 5000);
    EXPECT_EQ(events[0].Y, 5000);
    EXPECT_EQ(events[0].Z, 5000);
    EXPECT_EQ(events[0].slider[1], 5000);
    for (bool b : events[0].buttons) {
        EXPECT_FALSE(b);
    }
    clock.advance(1000);
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(JoystickTest, AxesRunFrom0To10000WithDeadZoneAndSaturationOnXAndY) {
    joy::VirtualDevice dev(joy::Kind::Joystick);
    dx8Joystick& j = control();
    j.Init();
    struct Case {
        int raw;
        VbLong stick; // X and Y: 10 % dead zone, 95 % saturation
        VbLong plain; // Z: straight range
    } cases[] = {
        {-32768, 0, 0},       {32767, 10000, 10000}, {3000, 5000, 5458},  {-3000, 5000, 4542},
        {31200, 10000, 9761}, {-31200, 0, 239},      {17202, 7500, 7625}, {-17203, 2500, 2375},
    };
    for (const Case& c : cases) {
        events.clear();
        dev.setAxis(0, c.raw);
        dev.setAxis(1, c.raw);
        dev.setAxis(2, c.raw);
        clock.advance(50);
        ASSERT_EQ(events.size(), 1u) << "raw " << c.raw;
        EXPECT_EQ(events[0].X, c.stick) << "raw " << c.raw;
        EXPECT_EQ(events[0].Y, c.stick) << "raw " << c.raw;
        EXPECT_EQ(events[0].Z, c.plain) << "raw " << c.raw;
    }
    // Moving inside the dead zone leaves X and Y as they were: no event.
    dev.setAxis(0, 0);
    dev.setAxis(1, 0);
    dev.setAxis(2, 0);
    clock.advance(50);
    events.clear();
    dev.setAxis(0, 1500);
    clock.advance(200);
    EXPECT_TRUE(events.empty());
}

TEST_F(JoystickTest, ButtonsAndHat) {
    joy::VirtualDevice dev(joy::Kind::Joystick);
    dx8Joystick& j = control();
    j.Init();
    events.clear();
    dev.setButton(4, true);
    dev.setButton(31, true);
    clock.advance(50);
    ASSERT_EQ(events.size(), 1u);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(events[0].buttons[static_cast<std::size_t>(i)], i == 4 || i == 31) << i;
    }
    dev.setButton(4, false);
    dev.setButton(31, false);
    dev.setHat(0, 8 | 1); // left and up
    clock.advance(50);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_FALSE(events[1].buttons[4]);
    EXPECT_EQ(events[1].X, 0);
    EXPECT_EQ(events[1].Y, 0);
}

TEST_F(JoystickTest, GamepadIsTheFallbackAndAJoystickComesFirst) {
    auto pad = std::make_unique<joy::VirtualDevice>(joy::Kind::Gamepad);
    ASSERT_TRUE(pad->attached());
    ASSERT_EQ(joy::attachedCount(joy::Kind::Gamepad), 1);
    dx8Joystick& j = control();
    j.Init();
    EXPECT_TRUE(j.JoystickConnected());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].X, 5000);
    EXPECT_EQ(events[0].Z, 0); // a trigger at rest
    pad->setButton(0, true);   // A
    pad->setAxis(0, 32767);    // left stick right
    clock.advance(50);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[1].buttons[0]);
    EXPECT_EQ(events[1].X, 10000);

    joy::VirtualDevice stickDev(joy::Kind::Joystick);
    j.Init();
    events.clear();
    pad->setButton(1, true);
    clock.advance(100);
    EXPECT_TRUE(events.empty()) << "the gamepad is no longer read";
    stickDev.setButton(2, true);
    clock.advance(50);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(events[0].buttons[2]);
}

TEST_F(JoystickTest, PollIntervalZeroStopsPolling) {
    joy::VirtualDevice dev(joy::Kind::Joystick);
    dx8Joystick& j = control();
    j.Init();
    j.setPollInterval(0);
    EXPECT_EQ(j.PollInterval(), 0);
    events.clear();
    dev.setButton(0, true);
    clock.advance(1000);
    EXPECT_TRUE(events.empty());
    j.setPollInterval(120);
    EXPECT_EQ(j.PollInterval(), 120);
    clock.advance(119);
    EXPECT_TRUE(events.empty());
    clock.advance(1);
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(JoystickTest, UnpluggedDeviceGoesQuietAndALaterDeviceIsFoundByInit) {
    auto dev = std::make_unique<joy::VirtualDevice>(joy::Kind::Joystick);
    dx8Joystick& j = control();
    j.Init();
    events.clear();
    dev.reset();
    clock.advance(200);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(j.JoystickConnected());

    joy::VirtualDevice later(joy::Kind::Joystick);
    j.Init();
    EXPECT_TRUE(j.JoystickConnected());
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(JoystickTest, AnotherActiveProgramReleasesTheStickOnce) {
    joy::VirtualDevice dev(joy::Kind::Joystick);
    dx8Joystick& j = control();
    j.Init();
    dev.setAxis(0, -32768);
    dev.setButton(0, true);
    clock.advance(50);
    ASSERT_EQ(events.size(), 2u);
    joy::setProgramActiveForTesting(false);
    clock.advance(500);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].X, 5000);
    EXPECT_FALSE(events[2].buttons[0]);
    joy::setProgramActiveForTesting(true);
    clock.advance(50);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[3].X, 0);
    EXPECT_TRUE(events[3].buttons[0]);
}

} // namespace
