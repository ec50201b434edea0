#include "Clock.h"

#include "RealClock.h"
#include "Timer.h"

namespace {
Clock* installed = nullptr;
} // namespace

Clock& Clock::instance() {
    if (installed) {
        return *installed;
    }
    static RealClock real;
    return real;
}

void Clock::install(Clock* c) {
    installed = c;
}

void Clock::deliver(Timer& t) {
    t.fire();
}

std::uint32_t GetTickCountMs() {
    return Clock::instance().tickCount();
}
double TimeOfDay() {
    return Clock::instance().timeOfDay();
}
void DoEvents() {
    Clock::instance().pumpEvents();
}
