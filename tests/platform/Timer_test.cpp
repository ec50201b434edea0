#include "Clock.h"
#include "ManualClock.h"
#include "Numbers.h"
#include "Timer.h"

#include <QEventLoop>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

struct ClockFixture : testing::Test {
    ManualClock clock;
    void SetUp() override { Clock::install(&clock); }
    void TearDown() override { Clock::install(nullptr); }
};

using TimerContract = ClockFixture;

TEST_F(TimerContract, FiresEveryIntervalOnlyWhileEnabledWithNonZeroInterval) {
    Timer t;
    int ticks = 0;
    t.onTick = [&] { ++ticks; };
    t.setInterval(20);
    clock.advance(100);
    EXPECT_EQ(ticks, 0) << "not enabled";
    t.setEnabled(true);
    clock.advance(100);
    EXPECT_EQ(ticks, 5);
    t.setInterval(0);
    clock.advance(100);
    EXPECT_EQ(ticks, 5) << "interval 0 stops it";
    EXPECT_TRUE(t.Enabled()) << "and leaves Enabled alone";
}

TEST_F(TimerContract, RestartIdiomGivesAFreshFullPeriod) {
    Timer t;
    std::vector<std::uint64_t> at;
    t.onTick = [&] { at.push_back(clock.elapsed()); };
    t.setInterval(100);
    t.setEnabled(true);
    clock.advance(70);
    // Enabling a running timer keeps its period...
    t.setEnabled(true);
    clock.advance(30);
    ASSERT_EQ(at, std::vector<std::uint64_t>{100});
    clock.advance(60);
    // ...the idiom starts a new one.
    t.setInterval(0);
    t.setInterval(100);
    t.setEnabled(true);
    clock.advance(99);
    EXPECT_EQ(at.size(), 1u);
    clock.advance(1);
    EXPECT_EQ(at, (std::vector<std::uint64_t>{100, 260}));
}

TEST_F(TimerContract, SettingIntervalOnARunningTimerRestartsItsPeriod) {
    Timer t;
    std::vector<std::uint64_t> at;
    t.onTick = [&] { at.push_back(clock.elapsed()); };
    t.setInterval(50);
    t.setEnabled(true);
    clock.advance(40);
    t.setInterval(50);
    clock.advance(60);
    EXPECT_EQ(at, std::vector<std::uint64_t>{90});
}

TEST_F(TimerContract, FractionalIntervalsRoundHalfToEven) {
    Timer t;
    t.setInterval(12.5);
    EXPECT_EQ(t.Interval(), 12);
    t.setInterval(13.5);
    EXPECT_EQ(t.Interval(), 14);
    t.setInterval(-3);
    EXPECT_EQ(t.Interval(), 0);
}

TEST_F(TimerContract, DueTimersFireInDeadlineOrder) {
    Timer a, b;
    std::vector<char> order;
    a.onTick = [&] { order.push_back('a'); };
    b.onTick = [&] { order.push_back('b'); };
    a.setInterval(30);
    b.setInterval(20);
    a.setEnabled(true);
    b.setEnabled(true);
    clock.advance(60);
    // At 60 both are due; a's period was booked first (at 30, b's at 40).
    EXPECT_EQ(order, (std::vector<char>{'b', 'a', 'b', 'a', 'b'}));
}

TEST_F(TimerContract, AHandlerThatPumpsIsNotReentered) {
    Timer self, other;
    int depth = 0, maxDepth = 0, selfTicks = 0, otherTicks = 0;
    self.onTick = [&] {
        ++selfTicks;
        maxDepth = std::max(maxDepth, ++depth);
        // A busy wait that pumps events until the other timer has run three times.
        const int target = otherTicks + 3;
        while (otherTicks < target) {
            DoEvents();
        }
        --depth;
    };
    other.onTick = [&] { ++otherTicks; };
    self.setInterval(10);
    other.setInterval(15);
    self.setEnabled(true);
    other.setEnabled(true);
    clock.advance(10);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(selfTicks, 1);
    EXPECT_GE(otherTicks, 3);
    EXPECT_GT(clock.pumps(), 0u);
}

TEST_F(TimerContract, PumpWithNothingDueLetsTimePass) {
    const auto before = clock.elapsed();
    DoEvents();
    EXPECT_EQ(clock.elapsed(), before + 1);
    Timer t;
    int ticks = 0;
    t.onTick = [&] { ++ticks; };
    t.setInterval(500);
    t.setEnabled(true);
    DoEvents();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(clock.elapsed(), before + 501);
}

TEST_F(TimerContract, AHandlerMayStopOrDestroyItsTimer) {
    auto t = std::make_unique<Timer>();
    int ticks = 0;
    t->onTick = [&] {
        ++ticks;
        t.reset();
    };
    t->setInterval(5);
    t->setEnabled(true);
    clock.advance(50);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerContract, TicksAndTimeOfDayFollowTheClockAndWrap) {
    ManualClock nearWrap(0xFFFFFFF0u, 86399.5);
    Clock::install(&nearWrap);
    EXPECT_EQ(GetTickCountMs(), 0xFFFFFFF0u);
    nearWrap.advance(1000);
    EXPECT_EQ(GetTickCountMs(), 0x3D8u);
    EXPECT_NEAR(TimeOfDay(), 0.5, 1e-9);
}

} // namespace

TEST(RealClockTimer, FiresOnTheEventLoopAndIsNotReentered) {
    Timer t;
    int ticks = 0, depth = 0, maxDepth = 0;
    t.onTick = [&] {
        ++ticks;
        maxDepth = std::max(maxDepth, ++depth);
        if (ticks == 1) {
            // Pump long enough for several periods to pass inside the handler.
            const auto start = GetTickCountMs();
            while (num::tickDelta(GetTickCountMs(), start) < 30) {
                DoEvents();
            }
        }
        --depth;
    };
    t.setInterval(5);
    t.setEnabled(true);
    const auto start = GetTickCountMs();
    while (ticks < 3 && num::tickDelta(GetTickCountMs(), start) < 5000) {
        DoEvents();
    }
    t.setEnabled(false);
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(maxDepth, 1);
}

TEST(RealClockTimer, TimeOfDayIsTheLocalClockTime) {
    const char* before = std::getenv("TZ");
    const std::optional<std::string> saved =
        before != nullptr ? std::optional<std::string>(before) : std::nullopt;
    for (const char* zone : {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "NPT-5:45"}) {
        setenv("TZ", zone, 1);
        tzset();
        const double desktop = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
        const double ours = TimeOfDay();
        const double apart = std::fabs(ours - desktop);
        EXPECT_LT(std::min(apart, 86400.0 - apart), 1.0) << zone;
        EXPECT_GE(ours, 0.0);
        EXPECT_LT(ours, 86400.0 + 1.0);
    }
    if (saved) {
        setenv("TZ", saved->c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

// While frames run, a timer that falls due between two of them runs at the start of the
// next one, straight before its tick, and keeps its own average period; once frames stop it
// runs on its own again.
TEST(RealClockTimer, TimersDueBetweenFramesRunWithTheNextFrame) {
    using Steady = std::chrono::steady_clock;
    std::vector<std::pair<char, Steady::time_point>> events;
    const auto runFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    Timer frames;
    frames.setPacesFrames(true);
    frames.onTick = [&] { events.emplace_back('F', Steady::now()); };
    Timer other;
    other.onTick = [&] { events.emplace_back('R', Steady::now()); };
    other.setInterval(30);
    other.setEnabled(true);
    runFor(5); // out of step with the frames: on its own it would run 5 or 15 ms from one
    frames.setInterval(20);
    frames.setEnabled(true);
    runFor(600);

    int ticks = 0;
    int withFrame = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].first != 'R') {
            continue;
        }
        ++ticks;
        if (i + 1 < events.size() && events[i + 1].first == 'F' &&
            events[i + 1].second - events[i].second < std::chrono::milliseconds(2)) {
            ++withFrame;
        }
    }
    EXPECT_GE(ticks, 15);
    EXPECT_LE(ticks, 21);
    EXPECT_GE(withFrame * 5, ticks * 4) << withFrame << " of " << ticks << " with a frame";

    frames.setEnabled(false);
    events.clear();
    runFor(300);
    EXPECT_GE(
        std::count_if(events.begin(), events.end(), [](const auto& e) { return e.first == 'R'; }),
        7);
}
