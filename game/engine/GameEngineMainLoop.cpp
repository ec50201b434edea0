// The frame tick: erase, move and redraw every moving object, then settle collisions.
#include "Clock.h"
#include "EngineMath.h"
#include "GameEngine.h"

#include <cmath>

using engine::px;

void GameEngine::DrawShieldLine() {
    f.ShieldLineColor = f.AliensNearShield ? 255 : 65280;
    const double w = f.pMain->ScaleWidth();
    f.pBack->Line(0, f.ShieldLineY, w, f.ShieldLineY, f.ShieldLineColor);
    f.pMain->Line(0, f.ShieldLineY, w, f.ShieldLineY, f.ShieldLineColor);
}

namespace {

template <typename Set> void eraseActive(Set& set, Surface& dest, const Surface& bg) {
    for (Sprite& s : set) {
        if (s.active) {
            s.DrawSpriteBG(s.CurFrame, dest, bg);
        }
    }
}

template <typename Set> bool anyActive(const Set& set) {
    for (const Sprite& s : set) {
        if (s.active) {
            return true;
        }
    }
    return false;
}

// A score pop-up rises one pixel per tick until it is maxRise above where it started, or
// wholly above the pane wherever it started, and then retires.
void risePopup(Sprite& p, double maxRise, Surface& dest, const Surface& bg) {
    const double h = p.Picture(p.CurFrame)->Height();
    if (p.y < p.ZY - maxRise || p.y + h / 2 <= 0) {
        p.DrawSpriteBG(p.CurFrame, dest, bg);
        p.active = VbFalse;
    } else {
        VbInteger frame = p.CurFrame;
        p.DrawSprite(frame, px(p.zX), px(p.y - 1), dest, bg, VbTrue);
    }
}

} // namespace

void GameEngine::RestoreBackgrounds() {
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    eraseActive(f.Aliens, dest, bg);
    if (f.ShipSprite.active) {
        f.ShipSprite.DrawSpriteBG(f.ShipSprite.CurFrame, dest, bg);
    }
    eraseActive(f.Shots, dest, bg);
    eraseActive(f.AlienShotSprites, dest, bg);
    eraseActive(f.DropSprites, dest, bg);
    eraseActive(f.BonusSprites, dest, bg);
    if (f.EBonusSprite.active) {
        f.EBonusSprite.DrawSpriteBG(f.EBonusSprite.CurFrame, dest, bg);
    }
}

void GameEngine::RestoreFastBackgrounds() {
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    eraseActive(f.ExpSprites, dest, bg);
    eraseActive(f.zExpSprites, dest, bg);
    eraseActive(f.ExpBigSprites, dest, bg);
    eraseActive(f.sExpSprites, dest, bg);
    Sprite& se = f.ShipExplosion;
    if (se.active && se.CurFrame != se.PictureCount()) {
        se.DrawSpriteBG(se.CurFrame, dest, bg);
    }
}

bool GameEngine::AllAliensAreDead() const {
    return !anyActive(f.Aliens);
}

bool GameEngine::MovingObjects() const {
    return f.EBonusSprite.active || anyActive(f.BonusSprites) || anyActive(f.DropSprites) ||
           anyActive(f.Shots);
}

bool GameEngine::ActiveExplosions() const {
    return anyActive(f.ExpSprites) || anyActive(f.ExpBigSprites) || anyActive(f.sExpSprites);
}

void GameEngine::retireMovingSprites() {
    // With the timers stopped nothing would erase these, and they would hang in the pane
    // (and carry over into the next game). The aliens and the ship stay in the picture.
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    RestoreBackgrounds();
    RestoreFastBackgrounds();
    Sprite& se = f.ShipExplosion;
    if (se.active || se.Extra2 == 1) {
        se.DrawSpriteBG(se.CurFrame, dest, bg);
    }
    auto retire = [](auto& set) {
        for (Sprite& s : set) {
            s.active = VbFalse;
            s.CurFrame = 0;
            s.Sinus = 0;
            s.extra = 0;
        }
    };
    retire(f.Shots);
    retire(f.AlienShotSprites);
    for (Sprite& d : f.DropSprites) {
        d.active = VbFalse;
    }
    for (Sprite& b : f.BonusSprites) {
        b.active = VbFalse;
    }
    f.EBonusSprite.active = VbFalse;
    retire(f.ExpSprites);
    retire(f.zExpSprites);
    retire(f.ExpBigSprites);
    retire(f.sExpSprites);
    se.active = VbFalse;
    se.CurFrame = 0;
    se.Extra2 = 0;
    // The erasing above may have cut into the sprites that stay.
    drawAliens();
    Sprite& ship = f.ShipSprite;
    if (ship.active) {
        VbInteger frame = ship.CurFrame;
        ship.DrawSprite(frame, px(ship.X), px(ship.y), dest, bg, VbFalse);
    }
}

void GameEngine::MainLoop_Timer() {
    if (playIsOnHold()) {
        return;
    }
    DrawShieldLine();
    RestoreBackgrounds();
    riseBigScorePopup();
    drawShipExplosion();
    drawAliens();
    steerShip();
    riseScorePopups();
    drawShip();
    movePickups();
    drawExplosions();
    moveAlienShots();
    moveShots();
    CheckCollisions();
}

bool GameEngine::playIsOnHold() {
    if (f.PlaceShipTimer.Enabled()) {
        return true;
    }
    if (f.Paused) {
        // The one point of the tick where other handlers get their turn.
        DoEvents();
        return true;
    }
    return f.GameOverFlag || f.PlaceShipTimer.Enabled();
}

void GameEngine::soundExplosionOnce(Sprite& e) {
    // Cleared with the sound off as well: an explosion that started silent stays silent.
    if (e.PlaySound) {
        if (f.mnuExplosionSounds.Checked) {
            LocalPlaySound(e.extra);
        }
        e.PlaySound = VbFalse;
    }
}

void GameEngine::riseBigScorePopup() {
    if (f.EBonusSprite.active) {
        risePopup(f.EBonusSprite, 100, *f.pMain, *f.pBack);
    }
}

void GameEngine::drawShipExplosion() {
    Sprite& se = f.ShipExplosion;
    if (!se.active) {
        // The fast timer retires it without erasing its last picture; that is left to here.
        if (se.Extra2 == 1) {
            se.DrawSpriteBG(se.CurFrame, *f.pMain, *f.pBack);
        }
        return;
    }
    soundExplosionOnce(se);
    VbInteger frame = se.CurFrame;
    se.DrawSprite(frame, px(se.X), px(se.y), *f.pMain, *f.pBack, VbTrue);
}

void GameEngine::drawAliens() {
    // The march moves zX/ZY; this draw makes them the sprite's position.
    for (Sprite& a : f.Aliens) {
        if (a.active) {
            VbInteger frame = a.CurFrame;
            a.DrawSprite(frame, px(a.zX), px(a.ZY), *f.pMain, *f.pBack, VbFalse);
        }
    }
}

void GameEngine::steerShip() {
    // Left wins over Right and Up over Down. The bound is tested before the step, so the
    // ship may end up to ShipSpeed - 1 pixels past it.
    Sprite& ship = f.ShipSprite;
    f.ShipNewX = px(ship.X);
    f.ShipNewY = px(ship.y);
    const int paneW = f.pMain->ScaleWidth();
    const int paneH = f.pMain->ScaleHeight();
    const double w = ship.Picture(0)->Width();
    const double h = ship.Picture(0)->Height();
    const double x = ship.X;
    const double y = ship.y;
    if (ship.Left) {
        if (!f.MirrorControls && x > 0) {
            f.ShipNewX -= f.ShipSpeed;
        } else if (f.MirrorControls && x < paneW - w) {
            f.ShipNewX += f.ShipSpeed;
        }
    } else if (ship.Right) {
        if (!f.MirrorControls && x < paneW - w) {
            f.ShipNewX += f.ShipSpeed;
        } else if (f.MirrorControls && x > 0) {
            f.ShipNewX -= f.ShipSpeed;
        }
    }
    if (ship.UP) {
        if (y > 0) {
            f.ShipNewY -= f.ShipSpeed;
        }
    } else if (ship.Down) {
        if (y < paneH - h / 2) {
            f.ShipNewY += f.ShipSpeed;
        }
    }
}

void GameEngine::riseScorePopups() {
    for (Sprite& b : f.BonusSprites) {
        if (b.active) {
            risePopup(b, 50, *f.pMain, *f.pBack);
        }
    }
}

void GameEngine::drawShip() {
    Sprite& ship = f.ShipSprite;
    if (ship.active) {
        // Passing the state as the frame makes it the sprite's CurFrame.
        VbInteger frame = f.ShipState;
        ship.DrawSprite(frame, f.ShipNewX, f.ShipNewY, *f.pMain, *f.pBack, VbFalse);
    }
}

void GameEngine::movePickups() {
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    const int paneH = dest.ScaleHeight();
    for (Sprite& d : f.DropSprites) {
        if (!d.active) {
            continue;
        }
        // Gone once its top reaches the bottom, not when it touches it.
        if (d.y >= static_cast<float>(paneH)) {
            d.DrawSpriteBG(d.CurFrame, dest, bg);
            d.active = VbFalse;
        } else {
            VbInteger frame = d.sType;
            d.DrawSprite(frame, px(d.X), px(d.y + f.DropSpeed), dest, bg, VbFalse);
        }
    }
}

void GameEngine::drawExplosions() {
    auto drawSet = [&](auto& set) {
        for (Sprite& e : set) {
            if (!e.active) {
                continue;
            }
            VbInteger frame = e.CurFrame;
            e.DrawSprite(frame, px(e.X), px(e.y), *f.pMain, *f.pBack, VbFalse);
            soundExplosionOnce(e);
        }
    };
    drawSet(f.ExpSprites);
    drawSet(f.zExpSprites);
    drawSet(f.ExpBigSprites);
    drawSet(f.sExpSprites);
}

void GameEngine::moveAlienShots() {
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    const int paneH = dest.ScaleHeight();
    for (Sprite& s : f.AlienShotSprites) {
        if (!s.active) {
            s.Sinus = 0;
            continue;
        }
        // The draw stores the rounded position, so the wobble shows only where the sine
        // passes one half.
        s.Sinus = s.Sinus + 1;
        s.X = static_cast<float>(s.X + std::sin(s.Sinus * 0.5));
        if (s.y < static_cast<float>(paneH)) {
            VbInteger frame = -1;
            s.DrawSprite(frame, px(s.X), px(s.y + f.AlienShotSpeed), dest, bg, VbFalse);
        } else {
            s.DrawSpriteBG(s.CurFrame, dest, bg);
            s.active = VbFalse;
        }
    }
}

void GameEngine::moveShots() {
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    for (int i = 0; i < static_cast<int>(f.Shots.size()); ++i) {
        Sprite& s = f.Shots[i];
        if (!s.active) {
            continue;
        }
        if (s.y < 0) {
            s.DrawSpriteBG(s.CurFrame, dest, bg);
            s.extra = 0;
            s.active = VbFalse;
            s.Sinus = 0;
            continue;
        }
        const double x = s.X;
        double newX = x;
        const bool even = i % 2 == 0;
        if (f.MissileWaver || f.MissileSwirler) {
            s.Sinus = s.Sinus + 1;
        }
        const double k = s.Sinus;
        if (f.MissileWaver && f.Cannons == 2) {
            newX = even ? x - 2 * std::sin(0.2 * k) : x + 2 * std::sin(0.2 * k);
        } else if (f.MissileWaver) {
            newX = x + 2 * std::sin(0.3 * k);
        } else if (f.MissileSwirler) {
            // The swing grows with the slot number; slot 0 flies straight.
            newX = even ? x + i * std::sin(0.1 * k) : x - i * std::sin(0.1 * k);
        }
        // Every shot in flight takes the current weapon's picture.
        VbInteger frame = f.Weapon;
        s.DrawSprite(frame, px(newX), px(s.y - f.ShotSpeed), dest, bg, VbFalse);
    }
}
