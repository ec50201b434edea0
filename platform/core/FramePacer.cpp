#include "FramePacer.h"

#include "Clock.h"
#include "Numbers.h"

#include <algorithm>
#include <utility>

FramePacer& FramePacer::instance() {
    // Never destroyed: surfaces that outlive main's scope still let go of it safely.
    static FramePacer* pacer = new FramePacer;
    return *pacer;
}

FramePacer::FramePacer() {
    overdue_.setSingleShot(true);
    overdue_.setTimerType(Qt::PreciseTimer);
    connect(&overdue_, &QTimer::timeout, this, &FramePacer::checkOverdue);
}

void FramePacer::frameEnded(int periodMs) {
    if (periodMs > SlowestFrameMs) {
        deliverHeld();
        return;
    }
    periodMs_ = std::max(periodMs, 1);
    lastFrame_ = GetTickCountMs();
    lastCheck_ = lastFrame_ - 1;
    overdue_.stop();
    deliverHeld();
}

int FramePacer::runningFramePeriod() const {
    if (!pacing()) {
        return 0;
    }
    const std::uint32_t since = num::tickDelta(GetTickCountMs(), lastFrame_);
    return since < 2u * static_cast<std::uint32_t>(periodMs_) ? periodMs_ : 0;
}

void FramePacer::checkOverdue() {
    // The game's clock decides, so that a game on a virtual clock paces the same whatever
    // the machine's speed; a clock that stood still since the last look runs no frames.
    const std::uint32_t now = GetTickCountMs();
    const std::uint32_t since = num::tickDelta(now, lastFrame_);
    const std::uint32_t limit = 2u * static_cast<std::uint32_t>(periodMs_);
    const bool clockMoved = now != lastCheck_;
    lastCheck_ = now;
    if (clockMoved && since < limit) {
        overdue_.start(static_cast<int>(limit - since));
        return;
    }
    periodMs_ = 0;
    deliverHeld();
}

void FramePacer::hold(HeldChanges& changes) {
    if (std::find(held_.begin(), held_.end(), &changes) == held_.end()) {
        held_.push_back(&changes);
    }
    if (pacing()) {
        if (!overdue_.isActive()) {
            overdue_.start(2 * periodMs_);
        }
    } else if (!turnQueued_) {
        turnQueued_ = true;
        // After the handler that draws: one delivery for all it drew.
        QMetaObject::invokeMethod(this, &FramePacer::deliverHeld, Qt::QueuedConnection);
    }
}

void FramePacer::drop(HeldChanges& changes) {
    held_.erase(std::remove(held_.begin(), held_.end(), &changes), held_.end());
}

void FramePacer::deliverHeld() {
    turnQueued_ = false;
    // A view's repaint may draw again; that is held for the next delivery.
    std::vector<HeldChanges*> now = std::exchange(held_, {});
    for (HeldChanges* c : now) {
        c->deliverChanges();
    }
}
