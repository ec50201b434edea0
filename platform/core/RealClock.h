#pragma once

#include "Clock.h"

#include <cstdint>
#include <map>

class QTimer;

// Wall time and Qt's event loop; each Timer is a precise QTimer. While frames run (see
// FramePacer), a timer that falls due between two frames waits for the next one and runs
// at its start, in the same wakeup: what it draws shows at that frame's end either way, and
// the program wakes once per frame instead of once per timer. Its own QTimer then only
// catches frames that stopped. Each timer keeps its average period.
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
    struct Slot {
        QTimer* qtimer = nullptr;
        std::uint32_t intervalMs = 0;
        // When the current period ends (steady clock, ns); the frame timers keep Qt's own.
        std::int64_t dueNs = 0;
        bool rides = false;
    };
    Slot& slotFor(Timer& t);
    void arm(Slot& s);
    void due(Timer& t);
    void runRidersDue();

    std::map<Timer*, Slot> timers_;
};
