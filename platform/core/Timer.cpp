#include "Timer.h"

#include "FramePacer.h"
#include "Numbers.h"

Timer::Timer(Clock& clock) : clock_(clock) {}

Timer::~Timer() {
    *alive_ = false;
    clock_.forget(*this);
}

void Timer::setEnabled(bool on) {
    if (on == enabled_) {
        return;
    }
    enabled_ = on;
    reschedule();
}

void Timer::setInterval(double ms) {
    const double r = num::roundHalfEven(ms);
    interval_ = r <= 0 ? 0 : (r >= 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(r));
    reschedule();
}

void Timer::reschedule() {
    if (running()) {
        clock_.schedule(*this, static_cast<std::uint32_t>(interval_));
    } else {
        clock_.cancel(*this);
    }
}

void Timer::fire() {
    if (inHandler_ || !running() || !onTick) {
        return;
    }
    // The handler may destroy this timer's owner.
    const std::shared_ptr<bool> alive = alive_;
    inHandler_ = true;
    const bool paces = pacesFrames_;
    const std::int32_t period = interval_;
    onTick();
    if (*alive) {
        inHandler_ = false;
    }
    if (paces) {
        FramePacer::instance().frameEnded(period);
    }
}
