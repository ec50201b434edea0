#pragma once

#include "Clock.h"

#include <cstdint>
#include <map>

// A clock that moves only when told. advance() fires due timers in deadline order (ties in
// the order they were scheduled). The event pump runs what is due now; when nothing is,
// it moves on to the next deadline, so a loop that waits for a timer comes to its end.
class ManualClock : public Clock {
public:
    explicit ManualClock(std::uint32_t startTicks = 1000, double startTimeOfDay = 12 * 3600.0);

    std::uint32_t tickCount() override;
    double timeOfDay() override;
    void pumpEvents() override;

    // Moves time forward by ms, firing every timer that falls due on the way.
    void advance(std::uint64_t ms);
    // Virtual milliseconds since the clock was made.
    std::uint64_t elapsed() const { return now_; }
    // Number of event pumps so far (tests check that handlers pumped).
    std::uint64_t pumps() const { return pumps_; }

protected:
    void schedule(Timer& t, std::uint32_t intervalMs) override;
    void cancel(Timer& t) override;
    void forget(Timer& t) override;

private:
    struct Entry {
        std::uint64_t deadline;
        std::uint32_t interval;
        std::uint64_t order;
    };
    Timer* nextDue(std::uint64_t limit);
    void fireOne(Timer* t);

    std::uint32_t startTicks_;
    double startTimeOfDay_;
    std::uint64_t now_ = 0;
    std::uint64_t orderCounter_ = 0;
    std::uint64_t pumps_ = 0;
    std::map<Timer*, Entry> entries_;
};
