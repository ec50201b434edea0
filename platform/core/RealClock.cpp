#include "RealClock.h"

#include "FramePacer.h"
#include "Timer.h"

#include <QCoreApplication>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <limits>
#include <utility>
#include <vector>

namespace {

std::int64_t steadyNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

constexpr std::int64_t NsPerMs = 1000000;

} // namespace

RealClock::~RealClock() {
    for (auto& [t, s] : timers_) {
        delete s.qtimer;
    }
}

std::uint32_t RealClock::tickCount() {
    return static_cast<std::uint32_t>(steadyNs() / NsPerMs);
}

double RealClock::timeOfDay() {
    // localtime_r keeps the zone it loaded; Qt's local time looks the zone file up on each
    // call, which the panel's pickups ask for every 30 ms.
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    if (localtime_r(&ts.tv_sec, &local) == nullptr) {
        return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    }
    const long seconds = local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec;
    const long millis = seconds * 1000L + ts.tv_nsec / 1000000L; // whole milliseconds
    return static_cast<double>(millis) / 1000.0;
}

void RealClock::pumpEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

RealClock::Slot& RealClock::slotFor(Timer& t) {
    auto it = timers_.find(&t);
    if (it != timers_.end()) {
        return it->second;
    }
    Slot& s = timers_[&t];
    s.qtimer = new QTimer;
    s.qtimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(s.qtimer, &QTimer::timeout, [this, &t] { due(t); });
    return s;
}

void RealClock::schedule(Timer& t, std::uint32_t intervalMs) {
    Slot& s = slotFor(t);
    s.intervalMs = intervalMs;
    s.rides = !t.pacesFrames();
    if (!s.rides) {
        s.qtimer->setSingleShot(false);
        s.qtimer->start(static_cast<int>(intervalMs));
        return;
    }
    s.dueNs = steadyNs() + static_cast<std::int64_t>(intervalMs) * NsPerMs;
    arm(s);
}

void RealClock::arm(Slot& s) {
    std::int64_t waitNs = std::max<std::int64_t>(s.dueNs - steadyNs(), 0);
    const int frameMs = FramePacer::instance().runningFramePeriod();
    if (frameMs > 0 && s.intervalMs >= static_cast<std::uint32_t>(frameMs)) {
        // The next frame runs it; this is for frames that stop before it comes.
        waitNs += (2 * static_cast<std::int64_t>(frameMs) + 1) * NsPerMs;
    }
    s.qtimer->setSingleShot(true);
    s.qtimer->start(static_cast<int>(
        std::min<std::int64_t>((waitNs + NsPerMs - 1) / NsPerMs, std::numeric_limits<int>::max())));
}

void RealClock::due(Timer& t) {
    auto it = timers_.find(&t);
    if (it == timers_.end()) {
        return;
    }
    Slot& s = it->second;
    if (s.rides == t.pacesFrames()) {
        // It began or stopped setting the pace since it was scheduled.
        schedule(t, s.intervalMs);
    } else if (s.rides) {
        // The next period is booked before the handler runs, from when this one was due,
        // so that running late or with a frame does not stretch it; periods missed whole
        // are dropped.
        const std::int64_t now = steadyNs();
        const std::int64_t period = static_cast<std::int64_t>(s.intervalMs) * NsPerMs;
        s.dueNs += period;
        if (s.dueNs <= now) {
            s.dueNs = now + period;
        }
        arm(s);
    } else if (s.intervalMs <= static_cast<std::uint32_t>(FramePacer::SlowestFrameMs) &&
               !t.inHandler()) {
        // A frame: what fell due since the last one runs first, as it would have between
        // the two. A handler there may stop or destroy the frame's timer.
        runRidersDue();
        if (timers_.find(&t) == timers_.end()) {
            return;
        }
    }
    deliver(t);
}

void RealClock::runRidersDue() {
    // Due within a millisecond counts: the frame would otherwise pass it to the next one.
    const std::int64_t limit = steadyNs() + NsPerMs;
    std::vector<std::pair<std::int64_t, Timer*>> ready;
    for (const auto& [t, s] : timers_) {
        if (s.rides && s.qtimer->isActive() && s.dueNs <= limit) {
            ready.emplace_back(s.dueNs, t);
        }
    }
    std::stable_sort(ready.begin(), ready.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [dueNs, t] : ready) {
        // An earlier handler may have stopped, restarted or destroyed it.
        auto it = timers_.find(t);
        if (it != timers_.end() && it->second.rides && it->second.qtimer->isActive() &&
            it->second.dueNs == dueNs) {
            due(*t);
        }
    }
}

void RealClock::cancel(Timer& t) {
    auto it = timers_.find(&t);
    if (it != timers_.end()) {
        it->second.qtimer->stop();
    }
}

void RealClock::forget(Timer& t) {
    auto it = timers_.find(&t);
    if (it != timers_.end()) {
        it->second.qtimer->stop();
        it->second.qtimer->deleteLater();
        timers_.erase(it);
    }
}
