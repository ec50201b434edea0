#pragma once

#include "Clock.h"

#include <cstdint>
#include <functional>
#include <memory>

// A periodic timer with the two properties of a form timer. Interval 0 means stopped;
// setting Interval on a running timer restarts its period; enabling a running timer does
// not. A tick never reaches the handler while that handler still runs (handlers pump
// events and open modal boxes); such a tick is dropped.
class Timer {
public:
    explicit Timer(Clock& clock = Clock::instance());
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    std::function<void()> onTick;

    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    // Milliseconds; fractions round half to even, negatives count as 0.
    std::int32_t Interval() const { return interval_; }
    void setInterval(double ms);

    bool running() const { return enabled_ && interval_ > 0; }
    bool inHandler() const { return inHandler_; }

    // The end of each tick is the end of a frame: what any timer drew shows then (see
    // FramePacer). On the real clock the other timers that fall due between two frames run
    // at the start of the next one (see RealClock).
    void setPacesFrames(bool on) { pacesFrames_ = on; }
    bool pacesFrames() const { return pacesFrames_; }

private:
    friend class Clock;
    void fire();
    void reschedule();

    Clock& clock_;
    bool enabled_ = false;
    std::int32_t interval_ = 0;
    bool inHandler_ = false;
    bool pacesFrames_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
