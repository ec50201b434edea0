#include "ManualClock.h"

#include "Timer.h"

#include <cmath>

ManualClock::ManualClock(std::uint32_t startTicks, double startTimeOfDay)
    : startTicks_(startTicks), startTimeOfDay_(startTimeOfDay) {}

std::uint32_t ManualClock::tickCount() {
    return startTicks_ + static_cast<std::uint32_t>(now_);
}

double ManualClock::timeOfDay() {
    return std::fmod(startTimeOfDay_ + static_cast<double>(now_) / 1000.0, 86400.0);
}

Timer* ManualClock::nextDue(std::uint64_t limit) {
    Timer* best = nullptr;
    const Entry* bestEntry = nullptr;
    for (auto& [t, e] : entries_) {
        if (e.deadline > limit) {
            continue;
        }
        if (!bestEntry || e.deadline < bestEntry->deadline ||
            (e.deadline == bestEntry->deadline && e.order < bestEntry->order)) {
            best = t;
            bestEntry = &e;
        }
    }
    return best;
}

void ManualClock::fireOne(Timer* t) {
    Entry& e = entries_.at(t);
    if (e.deadline > now_) {
        now_ = e.deadline;
    }
    // The next period is booked before the handler runs, as a periodic timer does; a
    // handler that restarts or stops the timer overrides it.
    std::uint64_t next = e.deadline + e.interval;
    if (next <= now_) {
        next = now_ + e.interval;
    }
    e.deadline = next;
    e.order = orderCounter_++;
    deliver(*t);
}

void ManualClock::advance(std::uint64_t ms) {
    const std::uint64_t target = now_ + ms;
    while (Timer* t = nextDue(target)) {
        fireOne(t);
    }
    if (now_ < target) {
        now_ = target;
    }
}

void ManualClock::pumpEvents() {
    ++pumps_;
    bool ranAny = false;
    // Only what is due now. A timer whose handler is the one pumping loses that tick.
    for (;;) {
        Timer* t = nullptr;
        for (auto& [cand, e] : entries_) {
            if (e.deadline > now_) {
                continue;
            }
            if (cand->inHandler()) {
                e.deadline = now_ + e.interval;
                continue;
            }
            if (!t || e.order < entries_.at(t).order) {
                t = cand;
            }
        }
        if (!t) {
            break;
        }
        fireOne(t);
        ranAny = true;
    }
    if (ranAny) {
        return;
    }
    // Nothing was due: let time pass to the next deadline, or one millisecond.
    Timer* nextTimer = nextDue(UINT64_MAX);
    if (!nextTimer) {
        ++now_;
        return;
    }
    now_ = entries_.at(nextTimer).deadline;
    if (nextTimer->inHandler()) {
        Entry& e = entries_.at(nextTimer);
        e.deadline = now_ + e.interval;
        return;
    }
    fireOne(nextTimer);
}

void ManualClock::schedule(Timer& t, std::uint32_t intervalMs) {
    entries_[&t] = Entry{now_ + intervalMs, intervalMs, orderCounter_++};
}

void ManualClock::cancel(Timer& t) {
    entries_.erase(&t);
}

void ManualClock::forget(Timer& t) {
    entries_.erase(&t);
}
