// What touched what at the end of a frame: hits, kills, ship losses and pickups.
#include "Clock.h"
#include "EngineMath.h"
#include "GameEngine.h"
#include "Random.h"
#include "SpriteCollision.h"

#include <algorithm>
#include <cstdint>
#include <limits>

using engine::px;
using engine::rnd;

namespace {

// The weapons besides the normal shot (0).
constexpr VbInteger MegaMissile = 1;
constexpr VbInteger HeavyMissile = 2;
constexpr VbInteger Bomb = 3;

} // namespace

void GameEngine::updateCheatPane() {
    if (UpdateCheatPane) {
        UpdateCheatPane();
    }
}

void GameEngine::GivePoints(VbLong points) {
    if (f.CheatMode && f.CheatCheckNoPoints) {
        return;
    }
    const std::int64_t add =
        points <= 10000 ? static_cast<std::int64_t>(f.ScoreMultiplier) * points : points;
    // A score at the top of the Long range stays there.
    const std::int64_t sum = std::clamp<std::int64_t>(static_cast<std::int64_t>(f.Score) + add,
                                                      std::numeric_limits<VbLong>::min(),
                                                      std::numeric_limits<VbLong>::max());
    f.Score = static_cast<VbLong>(sum);
    UpdatePointsDisplay();
}

void GameEngine::AddBonus(VbInteger kind, VbInteger x, VbInteger y, bool big) {
    if (!big) {
        for (Sprite& b : f.BonusSprites) {
            if (!b.active) {
                b.X = x;
                b.zX = x;
                b.y = y;
                b.ZY = y;
                b.CurFrame = static_cast<VbInteger>(kind - 1);
                b.active = VbTrue;
                return;
            }
        }
        return;
    }
    Sprite& eb = f.EBonusSprite;
    if (eb.active) {
        eb.active = VbFalse;
        eb.DrawSpriteBG(eb.CurFrame, *f.pMain, *f.pBack);
    }
    const Surface& pic = *eb.Picture(eb.CurFrame);
    eb.X = static_cast<float>(f.pMain->ScaleWidth() / 2.0 - pic.Width() / 2.0);
    eb.y = static_cast<float>(f.pMain->ScaleHeight() / 2.0 - pic.Height() / 4.0);
    eb.zX = eb.X;
    eb.ZY = eb.y + 30;
    eb.CurFrame = 0;
    eb.active = VbTrue;
}

void GameEngine::startExplosion(Sprite* set, int n, const Sprite& at, VbInteger sound,
                                bool& started) {
    started = false;
    for (int i = 0; i < n; ++i) {
        Sprite& e = set[i];
        if (!e.active) {
            e.active = VbTrue;
            e.X = at.X;
            e.y = at.y;
            e.extra = sound;
            e.PlaySound = VbTrue;
            started = true;
            return;
        }
    }
}

void GameEngine::startShipExplosion() {
    Sprite& ship = f.ShipSprite;
    Sprite& se = f.ShipExplosion;
    se.active = VbTrue;
    se.PlaySound = VbTrue;
    se.extra = 109;
    ShakeNow(15);
    const Surface& shipPic = *ship.Picture(ship.CurFrame);
    const Surface& expPic = *se.Picture(se.CurFrame);
    se.X = static_cast<float>(ship.X + shipPic.Width() / 2.0 - expPic.Width() / 2.0);
    se.y = static_cast<float>(ship.y + shipPic.Height() / 4.0 - expPic.Height() / 4.0);
}

void GameEngine::shotsAgainstAliens() {
    if (f.CheatCheckAlienCantDie) {
        return;
    }
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    for (Sprite& alien : f.Aliens) {
        if (!alien.active) {
            continue;
        }
        for (Sprite& shot : f.Shots) {
            if (!shot.active || !SpriteCollision(shot, alien)) {
                continue;
            }
            shot.DrawSpriteBG(shot.CurFrame, dest, bg);
            alien.DrawSpriteBG(alien.CurFrame, dest, bg);
            if (f.Weapon != HeavyMissile) {
                shot.active = VbFalse;
            }
            const VbInteger kind = shot.CurFrame;
            VbInteger hits = static_cast<VbInteger>(alien.Hits - 1);
            if (kind == MegaMissile && hits > 0) {
                hits = static_cast<VbInteger>(rnd(hits / 2.0));
            }
            alien.Hits = hits;
            if (alien.Hits < 1) {
                alien.Hits = 0;
                alien.active = VbFalse;
            }
            std::int32_t m = 1;
            bool started = false;
            if (kind == Bomb) {
                m = alien.Hits + 1;
                alien.Hits = 0;
                alien.active = VbFalse;
                startExplosion(f.sExpSprites.data(), static_cast<int>(f.sExpSprites.size()), alien,
                               109, started);
                if (started) {
                    RndShake(15);
                }
            } else {
                if (kind == HeavyMissile) {
                    m = alien.Hits + 1;
                    alien.Hits = 0;
                    alien.active = VbFalse;
                }
                const VbInteger t = alien.sType;
                if (t == 8 || t == 9 || t == 10) {
                    if (alien.Hits < 1) {
                        startExplosion(f.sExpSprites.data(), static_cast<int>(f.sExpSprites.size()),
                                       alien, 109, started);
                        if (started) {
                            RndShake(15);
                        }
                    } else {
                        startExplosion(f.ExpBigSprites.data(),
                                       static_cast<int>(f.ExpBigSprites.size()), alien, 101,
                                       started);
                    }
                } else if (!alien.active) {
                    startExplosion(f.ExpSprites.data(), static_cast<int>(f.ExpSprites.size()),
                                   alien, 101, started);
                } else {
                    startExplosion(f.zExpSprites.data(), static_cast<int>(f.zExpSprites.size()),
                                   alien, 101, started);
                }
            }
            // Formed in 32 bits: a high-scoring alien hit by a multiplier keeps its points.
            GivePoints(static_cast<std::int32_t>(alien.Score) * m);
            if (alien.Hits == 0 && alien.Drops >= 0) {
                const VbInteger type = alien.Drops;
                // A code without a pickup picture (a hand-edited level) drops nothing.
                Sprite* slot = nullptr;
                if (type <= f.DropSprites[0].PictureCount()) {
                    for (Sprite& d : f.DropSprites) {
                        if (!d.active) {
                            slot = &d;
                            break;
                        }
                    }
                }
                if (slot) {
                    const double aw = alien.Picture(alien.CurFrame)->Width();
                    const double dw = slot->Picture(type)->Width();
                    slot->X = static_cast<float>(alien.X + aw / 2 - dw / 2);
                    slot->y = alien.y;
                    slot->sType = type;
                    slot->active = VbTrue;
                }
                alien.Drops = -1;
            }
        }
    }
}

void GameEngine::alienShotsAgainstShip() {
    Sprite& ship = f.ShipSprite;
    if (!ship.active || f.CheatCheckShield || f.ShipState == 1 || f.ShipState == 3) {
        return;
    }
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    for (Sprite& s : f.AlienShotSprites) {
        if (!s.active || !SpriteCollision(s, ship)) {
            continue;
        }
        s.DrawSpriteBG(s.CurFrame, dest, bg);
        s.active = VbFalse;
        ship.DrawSpriteBG(f.ShipState, dest, bg);
        ResetShipData();
        ship.active = VbFalse;
        ship.DrawSpriteBG(f.ShipState, dest, bg);
        startShipExplosion();
    }
}

void GameEngine::aliensAgainstShip() {
    Sprite& ship = f.ShipSprite;
    if (!ship.active || f.CheatCheckShield) {
        return;
    }
    for (Sprite& a : f.Aliens) {
        if (!a.active || !SpriteCollision(a, ship)) {
            continue;
        }
        ResetShipData();
        ship.active = VbFalse;
        ship.DrawSpriteBG(f.ShipState, *f.pMain, *f.pBack);
        startShipExplosion();
        return;
    }
}

void GameEngine::shipAgainstPickups() {
    Sprite& ship = f.ShipSprite;
    if (!ship.active) {
        return;
    }
    bool combo = false;
    for (Sprite& d : f.DropSprites) {
        if (!d.active || !SpriteCollision(d, ship)) {
            continue;
        }
        const VbInteger t = d.sType;
        const double now = TimeOfDay();
        const VbInteger atX = px(d.X);
        const VbInteger atY = px(d.y);
        d.active = VbFalse;
        d.DrawSpriteBG(d.CurFrame, *f.pMain, *f.pBack);

        for (PickupRec& r : f.RecentPickups) {
            if (r.PickupType == t && num::secondsSince(r.PickupTime, now) <= 5.0) {
                AddBonus(0, atX, atY, VbTrue);
                GivePoints(1000000);
                LocalPlaySound(113);
                combo = true;
                r.PickupType = -1;
            }
        }
        f.RecentPickups[PickupRingIndex] = PickupRec{t, now};
        PickupRingIndex = static_cast<VbInteger>(PickupRingIndex + 1);
        if (PickupRingIndex > 5) {
            PickupRingIndex = 0;
        }

        VbInteger kind = 1;
        VbLong points = 2500;
        VbInteger sound = 104;
        switch (t) {
        case 0:
            f.Weapon = HeavyMissile;
            kind = 4, points = 4000, sound = 110;
            break;
        case 1:
            f.MirrorControls = !f.MirrorControls;
            kind = 1, points = 2500, sound = 104;
            break;
        case 2:
            f.MissileSwirler = true;
            f.MissileWaver = false;
            kind = 4, points = 3500, sound = 110;
            break;
        case 3:
            f.Weapon = Bomb;
            kind = 4, points = 4000, sound = 110;
            break;
        case 4:
            f.Weapon = MegaMissile;
            kind = 1, points = 1500, sound = 110;
            break;
        case 5:
            f.MissileWaver = true;
            f.MissileSwirler = false;
            kind = 1, points = 1500, sound = 110;
            break;
        case 6:
            f.Cannons = 2;
            f.ShipState = f.CantDieTimer.Enabled() ? 3 : 2;
            kind = 1, points = 1500, sound = 110;
            break;
        case 7:
            f.ShipState = f.Cannons == 2 ? 3 : 1;
            f.CantDieTimer.setEnabled(false);
            f.CantDieTimer.setInterval(rnd(Rnd() * 5000.0) + 1000);
            f.CantDieTimer.setEnabled(true);
            kind = 1, points = 1500, sound = 104;
            break;
        case 8:
            f.FrozenAliensTimer.setInterval(rnd(Rnd() * 16000.0) + 4000);
            f.FrozenAliensTimer.setEnabled(true);
            f.FreezeStartTime = now;
            f.FrozenAliensCounter.setEnabled(true);
            f.TimeScala->Line(0, 0, f.TimeScala->ScaleWidth(), f.TimeScala->ScaleHeight(), 255);
            f.TimeScalaView.Visible = true;
            kind = 1, points = 1500, sound = 106;
            break;
        case 9:
            GiveNewShip(1);
            kind = 4, points = 4000, sound = 104;
            break;
        default:
            break;
        }
        if (!combo) {
            AddBonus(kind, atX, atY, VbFalse);
            GivePoints(points);
        }
        LocalPlaySound(sound);
        updateCheatPane();
    }
}

void GameEngine::CheckCollisions() {
    shotsAgainstAliens();
    alienShotsAgainstShip();
    aliensAgainstShip();
    shipAgainstPickups();
}
