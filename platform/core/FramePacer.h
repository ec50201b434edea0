#pragma once

#include "HeldChanges.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <vector>

// Hands the changes of all shown surfaces to their views together. While a frame timer
// runs, that is at the end of each of its ticks, so that drawing done by the other timers
// rides on the next frame instead of costing a paint pass of its own. Without frames (a
// dialog, the tools, a game loop that stopped) changes go out at the next turn of the
// event loop.
class FramePacer : public QObject {
public:
    static FramePacer& instance();

    // A frame ended: every held change goes to the views now, and the next frame is expected
    // within periodMs (at most 50 ms; a slower timer delivers but does not pace). Should it
    // not come within two periods of the game's clock, held changes go out anyway
    // and pacing ends until the next frame.
    void frameEnded(int periodMs);
    bool pacing() const { return periodMs_ > 0; }
    // Slower than this is no frame rate to wait for (a timer between phases of its own).
    static constexpr int SlowestFrameMs = 50;
    // The period of the frames that run now: the last one ended less than two periods ago
    // on the game's clock; 0 without frames.
    int runningFramePeriod() const;

    // Holds changes until the next delivery; what holds them drops out before it goes.
    void hold(HeldChanges& changes);
    void drop(HeldChanges& changes);

private:
    FramePacer();
    void deliverHeld();
    void checkOverdue();

    std::vector<HeldChanges*> held_;
    bool turnQueued_ = false;
    int periodMs_ = 0;
    std::uint32_t lastFrame_ = 0;
    std::uint32_t lastCheck_ = 0;
    QTimer overdue_;
};
