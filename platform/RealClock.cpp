#include "RealClock.h"

#include "Timer.h"

#include <QCoreApplication>
#include <QTime>
#include <QTimer>
#include <ctime>

RealClock::~RealClock() {
    for (auto& [t, q] : timers_) {
        delete q;
    }
}

std::uint32_t RealClock::tickCount() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
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
    return static_cast<double>(seconds * 1000L + ts.tv_nsec / 1000000L) / 1000.0;
}

void RealClock::pumpEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QTimer* RealClock::qtimerFor(Timer& t) {
    auto it = timers_.find(&t);
    if (it != timers_.end()) {
        return it->second;
    }
    auto* q = new QTimer;
    q->setTimerType(Qt::PreciseTimer);
    QObject::connect(q, &QTimer::timeout, [&t] { deliver(t); });
    timers_[&t] = q;
    return q;
}

void RealClock::schedule(Timer& t, std::uint32_t intervalMs) {
    qtimerFor(t)->start(static_cast<int>(intervalMs));
}

void RealClock::cancel(Timer& t) {
    auto it = timers_.find(&t);
    if (it != timers_.end()) {
        it->second->stop();
    }
}

void RealClock::forget(Timer& t) {
    auto it = timers_.find(&t);
    if (it != timers_.end()) {
        it->second->stop();
        it->second->deleteLater();
        timers_.erase(it);
    }
}
