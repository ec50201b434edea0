#pragma once

#include "Clock.h"

#include <map>

class QTimer;

// Wall time and Qt's event loop; each Timer is a precise QTimer.
class RealClock : public Clock {
public:
    ~RealClock() override;
    std::uint32_t tickCount() override;
    double timeOfDay() override;
    void pumpEvents() override;

protected:
    void schedule(Timer& t, std::uint32_t intervalMs) override;
    void cancel(Timer& t) override;
    void forget(Timer& t) override;

private:
    QTimer* qtimerFor(Timer& t);
    std::map<Timer*, QTimer*> timers_;
};
