#include "AttractDemo.h"

#include "Clock.h"
#include "CreditsSequence.h"
#include "GameEngine.h"
#include "GameForm.h"
#include "Numbers.h"
#include "Random.h"

#include <cmath>

namespace {

int rnd(double v) {
    return static_cast<int>(num::roundHalfEven(v));
}

// An alien of a type without pictures has nothing to draw.
bool hasFrame(const Sprite& s, VbInteger frame) {
    return frame >= 0 && frame <= s.PictureCount();
}

void draw(Sprite& s, VbInteger frame, int x, int y, GameForm& f) {
    if (hasFrame(s, frame)) {
        s.DrawSprite(frame, static_cast<VbInteger>(x), static_cast<VbInteger>(y), *f.pMain,
                     *f.pBack, VbFalse);
    } else {
        s.X = static_cast<float>(x);
        s.y = static_cast<float>(y);
    }
}

// One axis of the fly-in: at the alien's speed, the last stretch one unit per tick.
float approach(float pos, float target, int step, bool& done) {
    const auto by = static_cast<float>(step);
    if (target < pos) {
        done = false;
        return pos - by >= target ? pos - by : pos - 1;
    }
    if (target > pos) {
        done = false;
        return pos + by <= target ? pos + by : pos + 1;
    }
    return pos;
}

} // namespace

AttractDemo::AttractDemo(GameForm& form, GameEngine& engine, CreditsSequence& c)
    : f(form), e(engine), credits(c) {
    f.DemoTimer.onTick = [this] { DemoTimer_Timer(); };
    f.DemoSpriteAnimation.onTick = [this] { DemoSpriteAnimation_Timer(); };
    f.DemoFrameTimer.onTick = [this] { DemoFrameTimer_Timer(); };
    // The demo's frames: the fly-in, then the circling.
    f.DemoSpriteAnimation.setPacesFrames(true);
    f.DemoFrameTimer.setPacesFrames(true);
}

AttractDemo::~AttractDemo() {
    f.DemoTimer.onTick = nullptr;
    f.DemoSpriteAnimation.onTick = nullptr;
    f.DemoFrameTimer.onTick = nullptr;
    f.DemoSpriteAnimation.setPacesFrames(false);
    f.DemoFrameTimer.setPacesFrames(false);
}

void AttractDemo::StartDemo() {
    f.DemoTimer.setEnabled(true);
    f.DemoSpriteAnimation.setEnabled(true);
    f.DemoFrameTimer.setEnabled(true);
    f.DemoState = 0;
    for (Sprite& a : f.Aliens) {
        a.Sinus = Rnd() * 5.0;
        a.CloclWiseRotation = toVbBool(rnd(Rnd()) == 1);
    }
    credits.StartCredits();
}

void AttractDemo::EndDemo() {
    f.DemoSpriteAnimation.setEnabled(false);
    f.DemoFrameTimer.setEnabled(false);
    f.DemoTimer.setEnabled(false);
    DoEvents();
    e.RestoreBackgrounds();
}

void AttractDemo::DemoTimer_Timer() {
    const int count = static_cast<int>(f.Aliens.size());
    if (!OrderBuilt) {
        NextLaunch = 0;
        work_.clear();
        for (int i = 0; i < count; ++i) {
            work_.push_back(static_cast<VbInteger>(i));
        }
        for (Sprite& a : f.Aliens) {
            a.Extra3 = 0;
        }
        LaunchOrder.assign(static_cast<std::size_t>(count), 0);
        for (int j = 0; j < count; ++j) {
            const int left = static_cast<int>(work_.size());
            const int k = rnd(Rnd() * static_cast<float>(left - 1)) + 1;
            LaunchOrder[static_cast<std::size_t>(j)] = work_[static_cast<std::size_t>(k - 1)];
            work_.erase(work_.begin() + (k - 1));
        }
        OrderBuilt = true;
    }
    // The alien block can only have changed under the demo if it was not ended first.
    if (NextLaunch >= static_cast<int>(LaunchOrder.size()) ||
        LaunchOrder[static_cast<std::size_t>(NextLaunch)] >= count) {
        OrderBuilt = false;
        f.DemoTimer.setEnabled(false);
        return;
    }
    Sprite& a =
        f.Aliens[static_cast<std::size_t>(LaunchOrder[static_cast<std::size_t>(NextLaunch)])];
    const int w = hasFrame(a, 0) ? a.Picture(0)->Width() : 0;
    const int h = hasFrame(a, 0) ? a.Picture(0)->Height() : 0;
    const int paneW = f.pMain->ScaleWidth();
    switch (rnd(2.0 * Rnd())) {
    case 0:
        a.X = static_cast<float>(paneW);
        break;
    case 1:
        a.X = static_cast<float>(-w);
        break;
    default:
        a.X = static_cast<float>(rnd(Rnd() * static_cast<float>(paneW)));
        break;
    }
    a.y = static_cast<float>(-h / 2.0);
    a.Extra3 = 1;
    a.Extra2 = static_cast<VbInteger>(rnd(Rnd() * 7.0) + 3);
    NextLaunch = static_cast<VbInteger>(NextLaunch + 1);
    if (NextLaunch > count - 1) {
        OrderBuilt = false;
        f.DemoTimer.setEnabled(false);
    }
}

void AttractDemo::DemoSpriteAnimation_Timer() {
    e.RestoreBackgrounds();
    bool done = true;
    int lastX = 0;
    int lastY = 0;
    for (Sprite& a : f.Aliens) {
        if (a.Extra3 != 1) {
            continue;
        }
        const float nx = approach(a.X, a.zX, a.Extra2, done);
        const float ny = approach(a.y, a.ZY, a.Extra2, done);
        lastX = rnd(nx);
        lastY = rnd(ny);
        draw(a, f.DemoState, lastX, lastY, f);
    }
    f.pMain->Refresh();
    if (done && lastX != 0 && lastY != 0) {
        f.DemoSpriteAnimation.setEnabled(false);
    }
}

void AttractDemo::DemoFrameTimer_Timer() {
    f.DemoState = static_cast<VbInteger>(f.DemoState == 0 ? 1 : 0);
    if (f.DemoSpriteAnimation.Enabled()) {
        return;
    }
    if (f.DemoFrameTimer.Interval() != 20) {
        f.DemoFrameTimer.setInterval(20);
    }
    for (Sprite& a : f.Aliens) {
        if (hasFrame(a, a.CurFrame)) {
            a.DrawSpriteBG(a.CurFrame, *f.pMain, *f.pBack);
        }
    }
    for (Sprite& a : f.Aliens) {
        a.Sinus += 0.2;
        if (!a.CloclWiseRotation) {
            a.X = static_cast<float>(a.X + 2 * std::sin(a.Sinus));
            a.y = static_cast<float>(a.y + 2 * std::cos(a.Sinus));
        } else {
            a.X = static_cast<float>(a.X + 2 * std::cos(a.Sinus));
            a.y = static_cast<float>(a.y + 2 * std::sin(a.Sinus));
        }
        draw(a, a.CurFrame, rnd(a.X), rnd(a.y), f);
    }
    if (!f.Aliens.empty()) {
        FrameFlipIndex = static_cast<VbInteger>(FrameFlipIndex + 1);
        if (FrameFlipIndex > static_cast<int>(f.Aliens.size()) - 1) {
            FrameFlipIndex = 0;
        }
        Sprite& a = f.Aliens[static_cast<std::size_t>(FrameFlipIndex)];
        a.CurFrame = static_cast<VbInteger>(a.CurFrame == 0 ? 1 : 0);
    }
    f.pMain->Refresh();
}
