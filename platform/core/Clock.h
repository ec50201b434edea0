#pragma once

#include <cstdint>
#include <memory>

class Timer;

// The time source of a program: millisecond counter, time of day, the event pump and the
// scheduling of Timers. The real clock runs on Qt's event loop; ManualClock is stepped by
// hand so that whole games run deterministic and fast.
class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary start; wraps at 2^32 (subtract with num::tickDelta).
    virtual std::uint32_t tickCount() = 0;
    // Seconds since local midnight, with fractions.
    virtual double timeOfDay() = 0;
    // Lets pending events (and due timers) run once.
    virtual void pumpEvents() = 0;

    // The clock in force; a RealClock unless a test installed another.
    static Clock& instance();
    // Installs c (not owned) as the clock in force; nullptr goes back to the real clock.
    static void install(Clock* c);

protected:
    friend class Timer;
    // A fresh full period of intervalMs starts now.
    virtual void schedule(Timer& t, std::uint32_t intervalMs) = 0;
    virtual void cancel(Timer& t) = 0;
    // The timer is going away.
    virtual void forget(Timer& t) = 0;
    static void deliver(Timer& t);
};

// Free functions the game's code calls.
std::uint32_t GetTickCountMs();
double TimeOfDay();
void DoEvents();
