// The alien block: march, edge turns and drops, speed-up, fire and the freeze.
#include "Clock.h"
#include "EngineMath.h"
#include "GameEngine.h"
#include "Numbers.h"
#include "Random.h"

using engine::px;
using engine::rnd;

void GameEngine::MoveAliensTimer_Timer() {
    if (f.Paused || f.FrozenAliensTimer.Enabled()) {
        return;
    }
    const double paneW = f.pMain->ScaleWidth();
    bool reverse = false;
    bool near = false;
    for (Sprite& a : f.Aliens) {
        if (!a.active) {
            continue;
        }
        const Surface& pic = *a.Picture(a.CurFrame);
        const double w = pic.Width();
        const double h = pic.Height();
        if (a.X >= paneW - w) {
            if (MarchDirection != 0) {
                MarchDirection = 0;
                reverse = true;
            }
        } else if (a.X <= 0) {
            if (MarchDirection != 1) {
                MarchDirection = 1;
                reverse = true;
            }
        }
        if (a.y + h / 2 >= f.ShieldLineY) {
            GameOver();
            return;
        }
        if (!near && a.y + h / 2 > f.ShieldLineY - 100) {
            near = true;
        }
    }
    if (near) {
        LocalPlaySound(105);
    }
    f.AliensNearShield = near;

    // Close up exactly to the edge instead of overshooting it; the next tick turns.
    int step = f.AlienStep;
    if (!reverse) {
        int limit = -1;
        for (Sprite& a : f.Aliens) {
            if (!a.active) {
                continue;
            }
            const double x = a.X;
            const double w = a.Picture(a.CurFrame)->Width();
            if (MarchDirection == 0) {
                if (x - f.AlienStep < 0 && (limit == -1 || limit > x)) {
                    limit = rnd(x);
                }
            } else if (x + w + f.AlienStep > paneW && (limit == -1 || paneW - (x + w) < limit)) {
                limit = rnd(paneW - x - w);
            }
        }
        if (limit == -1 || limit == 0) {
            step = f.AlienStep == 0 ? 1 : f.AlienStep;
        } else {
            step = limit;
        }
    }

    const bool dropDown = !(f.CheatMode && f.CheatCheckAliensDontMove);
    int dead = 0;
    for (Sprite& a : f.Aliens) {
        if (!a.active) {
            ++dead;
        }
        if (!reverse) {
            const auto by = static_cast<float>(step);
            a.zX = MarchDirection == 0 ? a.zX - by : a.zX + by;
            if (a.active) {
                VbInteger frame = -1;
                a.DrawSprite(frame, px(a.X), px(a.y), *f.pMain, *f.pBack, VbFalse);
            }
        } else if (dropDown && a.active) {
            a.ZY = static_cast<float>(a.ZY + f.AlienDropStep);
        }
    }

    const int n = static_cast<int>(f.Aliens.size()) - 1;
    const double base = f.AlienMoveInterval;
    f.MoveAliensTimer.setInterval(base - dead * (base / (n + 6)));
    f.AliensAlive = static_cast<VbInteger>(n - dead);
}

void GameEngine::AlienShootTimer_Timer() {
    if (f.Paused || f.FrozenAliensTimer.Enabled() || f.GameOverFlag ||
        (f.CheatMode && f.CheatCheckAliensDontShoot)) {
        return;
    }
    const int n = static_cast<int>(f.Aliens.size()) - 1;
    int first = rnd(Rnd() * (n / 2.0));
    // A block of one alien fires as a whole block.
    double interval = 1000;
    if (n > 0) {
        interval = 1000 - (400.0 / 100.0) * (100 - f.AliensAlive * (100.0 / n));
    }
    if (interval < 10) {
        interval = 10;
    }
    if (interval > 1000) {
        interval = 1000;
    }
    f.AlienShootTimer.setInterval(static_cast<float>(interval));
    if (n - f.AliensAlive > (n / 100.0) * 90) {
        first = 0;
    }
    for (int i = first; i <= n; ++i) {
        Sprite& a = f.Aliens[static_cast<std::size_t>(i)];
        if (!a.active || a.Shoots != 1 || !a.CanShoot) {
            continue;
        }
        const int r = rnd(Rnd() * 1000.0);
        if (r <= (f.AliensAlive - n + 99) * 10) {
            continue;
        }
        for (Sprite& s : f.AlienShotSprites) {
            if (s.active) {
                continue;
            }
            const Surface& alienPic = *a.Picture(0);
            s.active = VbTrue;
            s.X = static_cast<float>(a.X + alienPic.Width() / 2.0 - s.Picture(0)->Width() / 2.0);
            s.y = static_cast<float>(a.y - alienPic.Height() / 2.0);
            if (f.mnuAlienShootSounds.Checked) {
                LocalPlaySound(103);
            }
            break;
        }
        if (first > 0) {
            return;
        }
    }
}

void GameEngine::FrozenAliensTimer_Timer() {
    if (!f.Paused) {
        f.FrozenAliensTimer.setEnabled(false);
    }
}

void GameEngine::FrozenAliensCounter_Timer() {
    if (f.Paused) {
        return;
    }
    const int elapsed = rnd(num::secondsSince(f.FreezeStartTime, TimeOfDay()));
    int total = rnd(f.FrozenAliensTimer.Interval() / 1000.0);
    if (total < 1) {
        total = 1; // a freeze shorter than half a second still shows a bar
    }
    Surface& bar = *f.TimeScala;
    const int tw = bar.ScaleWidth();
    bar.Cls();
    bar.FilledBox(0, 0, tw - rnd(static_cast<double>(tw) / total) * elapsed, bar.ScaleHeight(),
                  255);
    if (elapsed > total) {
        f.FrozenAliensCounter.setEnabled(false);
        f.TimeScalaView.Visible = false;
    }
}
