// The player's ship: placement and glide, lives, invulnerability and auto-fire.
#include "Clock.h"
#include "EngineMath.h"
#include "GameEngine.h"

#include <algorithm>

using engine::px;
using engine::rnd;

void GameEngine::PlaceShip(bool Animated) {
    if (Animated) {
        f.MainLoop.setEnabled(false);
        f.FastAnimationTimer.setEnabled(false);
        f.SpriteAnimation.setEnabled(false);
        f.MoveAliensTimer.setEnabled(false);
        f.PlaceShipTimer.setEnabled(true);
        return;
    }
    Sprite& ship = f.ShipSprite;
    Surface& dest = *f.pMain;
    ship.DrawSpriteBG(ship.CurFrame, dest, *f.pBack);
    const Surface& pic = *ship.Picture(0);
    VbInteger frame = ship.CurFrame;
    ship.DrawSprite(frame, px(dest.ScaleWidth() / 2.0 - pic.Width() / 2.0),
                    px(dest.ScaleHeight() - pic.Height() / 2.0), dest, *f.pBack, VbFalse);
    ship.active = VbTrue;
    f.CantDieTimer.setInterval(2000);
    f.CantDieTimer.setEnabled(true);
    f.ShipState = f.Cannons != 2 ? 1 : 3;
}

void GameEngine::PlaceShipTimer_Timer() {
    if (f.Paused) {
        DoEvents();
        return;
    }
    Sprite& ship = f.ShipSprite;
    Surface& dest = *f.pMain;
    const int step = 2 * f.ShipSpeed;
    const Surface& pic = *ship.Picture(ship.CurFrame);
    const int targetX = rnd(dest.ScaleWidth() / 2.0 - pic.Width() / 2.0);
    f.ShipStartY = static_cast<VbInteger>(rnd(dest.ScaleHeight() - pic.Height() / 2.0));
    bool moving = false;
    const double x = ship.X;
    double newX = x;
    if (x < targetX) {
        newX = targetX >= x + 100 ? x + step : x + 1;
        moving = true;
    } else if (x > targetX) {
        newX = targetX <= x - 100 ? x - step : x - 1;
        moving = true;
    }
    const double y = ship.y;
    double newY = y;
    if (y < f.ShipStartY) {
        newY = f.ShipStartY >= y + 100 ? y + step : y + 1;
        moving = true;
    }
    if (!moving) {
        f.PlaceShipTimer.setEnabled(false);
        return;
    }
    VbInteger frame = ship.CurFrame;
    ship.DrawSprite(frame, px(newX), px(newY), dest, *f.pBack, VbTrue);
    dest.Refresh();
}

void GameEngine::GiveNewShip(VbInteger Delta) {
    f.pMain->Refresh();
    f.LivesLeft = static_cast<VbInteger>(f.LivesLeft + Delta);
    if (f.LivesLeft == 0) {
        GameOver();
        return;
    }
    f.LivesVisible.fill(false);
    const int last = std::min<int>(f.LivesLeft - 2, static_cast<int>(f.LivesVisible.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        f.LivesVisible[static_cast<std::size_t>(i)] = true;
    }
    if (Delta < 0) {
        f.CantDieTimer.setEnabled(false);
        f.CantDieTimer.setInterval(0);
        f.CantDieTimer.setInterval(20);
        PlaceShip(false);
    }
}

void GameEngine::CantDieTimer_Timer() {
    if (f.Paused) {
        return;
    }
    f.CantDieTimer.setEnabled(false);
    f.ShipState = f.Cannons != 2 ? 0 : 2;
}

void GameEngine::ShootTimer_Timer() {
    Sprite& ship = f.ShipSprite;
    if (!ship.active || f.GameOverFlag || f.LevelStarting || f.Paused) {
        return;
    }
    if (f.mnuShipShootSounds.Checked) {
        LocalPlaySound(102);
    }
    const double ws = ship.Picture(ship.CurFrame)->Width();
    for (Sprite& s : f.Shots) {
        if (s.active) {
            continue;
        }
        s.active = VbTrue;
        const double wt = s.Picture(s.CurFrame)->Width();
        if (f.Cannons != 2) {
            s.X = static_cast<float>(ship.X + ws / 2 - wt / 2);
            s.y = ship.y - 10;
            return;
        }
        const float y = ship.y - (f.Weapon == 0 ? 10 : 20);
        if (CannonSide == 0) {
            CannonSide = 1;
            s.X = ship.X;
            s.y = y;
            return;
        }
        CannonSide = 0;
        s.X = static_cast<float>(ship.X + ws - wt);
        s.y = y;
    }
}
