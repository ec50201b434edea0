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
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
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
