// From a level record to a level in play: player and ship resets, the alien block, the
// announcement and the release of play.
#include "Clock.h"
#include "EngineMath.h"
#include "GameEngine.h"
#include "Numbers.h"
#include "Random.h"

#include <cstddef>

using engine::rnd;

namespace {

// A short array in a damaged record reads as 0.
template <typename Array> VbInteger at(const Array& a, std::size_t i) {
    return i < a.size() ? static_cast<VbInteger>(a[i]) : VbInteger{0};
}

} // namespace

void GameEngine::ResetPlayerData() {
    f.LivesLeft = f.StartLives;
    f.Score = 0;
    ClearPickups();
    updateCheatPane();
}

void GameEngine::ClearPickups() {
    if (f.CheatMode && f.CheatCheckNoReset) {
        return;
    }
    f.MissileWaver = false;
    f.Cannons = 1;
    f.Weapon = 0;
    f.ScoreMultiplier = 1;
    f.MirrorControls = false;
    f.MissileSwirler = false;
}

void GameEngine::ResetLevelStatus() {
    f.ShipState = f.Cannons != 2 ? 1 : 3;
    f.CantDieTimer.setInterval(0);
    f.CantDieTimer.setInterval(2000);
    f.CantDieTimer.setEnabled(true);
    updateCheatPane();
}

void GameEngine::ResetShipData() {
    ClearPickups();
    ResetLevelStatus();
}

void GameEngine::InitLevel(VbInteger& Level) {
    f.Aliens.clear();
    if (f.Levels.empty()) {
        // Nothing to play: one alien that is not in play.
        f.Aliens.resize(1);
        return;
    }
    if (Level < 0 || Level >= static_cast<int>(f.Levels.size())) {
        Level = static_cast<VbInteger>(Level < 0 ? 0 : f.Levels.size() - 1);
    }
    const LevelRec& rec = f.Levels[static_cast<std::size_t>(Level)];
    const std::size_t n = rec.AlienDrops.empty() ? 1 : rec.AlienDrops.size();
    f.Aliens.resize(n);
    const int lastMonster = static_cast<int>(f.Monster0.size()) - 1;
    for (std::size_t i = 0; i < n; ++i) {
        Sprite& a = f.Aliens[i];
        const VbInteger type = at(rec.AlienType, i);
        const int first = 2 * type;
        // A type without pictures (the editor's empty level) is not put in play.
        const bool drawable = type >= 0 && first + 1 <= lastMonster;
        if (drawable) {
            a.AddPicture(f.Monster0[first]);
            a.AddPicture(f.Monster0[first + 1]);
        }
        a.sType = type;
        a.Hits = at(rec.AlienHits, i);
        a.Score = at(rec.AlienScore, i);
        VbInteger drops = at(rec.AlienDrops, i);
        if (drops == -1) {
            const int r = rnd(Rnd() * 400.0) + 10;
            drops = static_cast<VbInteger>(r < 26 ? r : -1);
        }
        a.Drops = drops;
        a.Shoots = at(rec.AlienShoots, i);
        a.active = toVbBool(drawable);
        a.CanShoot = VbTrue;
        const float x = at(rec.AlienX, i);
        const float y = at(rec.AlienY, i);
        a.zX = x;
        a.ZY = y;
        a.X = x;
        a.y = y;
    }

    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    auto clear = [&](auto& set) {
        for (Sprite& s : set) {
            if (s.active) {
                s.active = VbFalse;
                s.DrawSpriteBG(s.CurFrame, dest, bg);
            }
        }
    };
    clear(f.Shots);
    clear(f.DropSprites);
    clear(f.AlienShotSprites);

    const VbInteger speed = rec.Speed;
    f.AlienMoveInterval = static_cast<VbInteger>(500 - 9 * speed);
    f.AlienShootTimer.setInterval(static_cast<VbInteger>(1000 - 15 * speed));
    f.AlienStep = static_cast<VbInteger>(rnd(0.2 * speed + f.AlienStepBase));
    f.AliensNearShield = false;
    f.MoveAliensTimer.setInterval(f.AlienMoveInterval);
}

void GameEngine::StartLevel(VbInteger& Level) {
    // Explosions of the previous level finish first. Only the animation timer ends them,
    // so there is nothing to wait for while it is off.
    while (ActiveExplosions() && f.FastAnimationTimer.Enabled()) {
        DoEvents();
    }
    f.ScoreMultiplier = 1;
    f.CurrentLevel = Level;
    f.MainLoop.setEnabled(true);
    HideMessageNOW();
    f.CreditsRunning = false;
    f.LevelStarting = true;
    f.pMain->Cls();
    DrawShieldLine();
    f.GameOverFlag = false;
    f.ShipSprite.active = VbTrue;
    GiveNewShip(0);
    UpdatePointsDisplay();
    UpdateLevelDisplay();
    for (Sprite& s : f.AlienShotSprites) {
        s.active = VbFalse;
    }
    f.ShipExplosion.active = VbFalse;
    f.ShipExplosion.CurFrame = 0;
    f.AlienShootTimer.setEnabled(false);
    f.MoveAliensTimer.setEnabled(false);
    f.SpriteAnimation.setEnabled(false);
    PlaceShip(true);
    DrawShieldLine();
    std::string name;
    if (Level >= 0 && Level < static_cast<int>(f.Levels.size())) {
        name = f.Levels[static_cast<std::size_t>(Level)].Name;
    }
    const std::string text =
        "Get ready for level " + num::toText(static_cast<int>(Level) + 1) + "|[" + name + "]";
    PrintMessage(text, f.mnuFastMessages.Checked ? 1000 : 2000, 0xFFFF, 0, 12);
}

void GameEngine::StartGame() {
    InitLevel(f.CurrentLevel);
    PlaceShip(true);
    f.LevelStarting = false;
    ResetLevelStatus();
    f.MoveAliensTimer.setEnabled(true);
    f.MainLoop.setEnabled(true);
    f.SpriteAnimation.setEnabled(true);
    f.FastAnimationTimer.setEnabled(true);
    f.AlienShootTimer.setEnabled(true);
    f.CantDieTimer.setInterval(2000);
    f.CantDieTimer.setEnabled(true);
    if (f.FireHeld) {
        f.ShootTimer.setEnabled(true);
    }
    f.ShipState = f.Cannons != 2 ? 1 : 3;
    f.ShipSprite.active = VbTrue;
}
