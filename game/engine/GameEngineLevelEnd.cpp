// Explosion frames, the next ship, level end, game over and the shield-line explosion.
#include "Clock.h"
#include "EngineMath.h"
#include "GameEngine.h"
#include "Random.h"

using engine::px;
using engine::rnd;

void GameEngine::FastAnimationTimer_Timer() {
    if (f.Paused) {
        return;
    }
    RestoreFastBackgrounds();
    Surface& dest = *f.pMain;
    const Surface& bg = *f.pBack;
    auto step = [&](auto& set) {
        for (Sprite& e : set) {
            if (!e.active) {
                continue;
            }
            if (e.CurFrame == e.PictureCount()) {
                e.active = VbFalse;
                e.CurFrame = 0;
            } else {
                VbInteger frame = -1;
                e.DrawSprite(frame, px(e.X), px(e.y), dest, bg, VbFalse);
            }
        }
    };
    step(f.ExpSprites);
    step(f.zExpSprites);
    step(f.ExpBigSprites);
    step(f.sExpSprites);

    bool shipExplosionEnded = false;
    Sprite& se = f.ShipExplosion;
    if (se.active) {
        if (se.CurFrame == se.PictureCount()) {
            se.CurFrame = 0;
            se.active = VbFalse;
            se.Extra2 = 1;
            shipExplosionEnded = true;
        } else {
            VbInteger frame = -1;
            se.DrawSprite(frame, px(se.X), px(se.y), dest, bg, VbFalse);
            se.Extra2 = 0;
        }
    }
    if (shipExplosionEnded && !f.GameOverFlag && !f.ShipSprite.active) {
        GiveNewShip(-1);
    }
    Sprite& eb = f.EBonusSprite;
    if (eb.active) {
        eb.CurFrame = eb.CurFrame < eb.PictureCount() ? static_cast<VbInteger>(eb.CurFrame + 1)
                                                      : VbInteger{0};
    }
}

void GameEngine::SpriteAnimation_Timer() {
    if (f.GameOverFlag || f.Paused) {
        return;
    }
    const bool allDead = AllAliensAreDead();
    if (allDead) {
        f.LevelStarting = true;
    }
    if (allDead && !MovingObjects()) {
        f.ShootTimer.setEnabled(false);
        f.LevelStarting = true;
        const int last = static_cast<int>(f.Levels.size()) - 1;
        f.CurrentLevel =
            f.CurrentLevel < last ? static_cast<VbInteger>(f.CurrentLevel + 1) : VbInteger{0};
        StartLevel(f.CurrentLevel);
    }
}

void GameEngine::GameOver() {
    // The game may end while paused (the cheat panel's life button, a menu): the pause ends
    // with it, or the message, its fade and the credits would wait for a resume that the
    // pause keys no longer give once the game is over.
    f.Paused = false;
    f.PauseTimer.setEnabled(false);
    f.lbPause.Visible = false;
    f.WaitingForFire = false;
    f.HideFade.setEnabled(false);
    f.HideMessage.setEnabled(false);
    f.GameOverFlag = true;
    f.LevelStarting = false;
    f.MainLoop.setEnabled(false);
    f.FastAnimationTimer.setEnabled(false);
    f.MoveAliensTimer.setEnabled(false);
    f.AlienShootTimer.setEnabled(false);
    retireMovingSprites();
    f.SpriteAnimation.setEnabled(false);
    if (f.mnuExplosionSounds.Checked) {
        LocalPlaySound(107);
    }
    f.EndExplosion.setEnabled(true);
    // A running shake finishes first.
    while (f.ShakeTimer.Enabled()) {
        DoEvents();
    }
    f.ShakeStrength = 35;
    f.ShakeTimer.setEnabled(true);
    f.HiscorePending = true;
    PrintMessage("GAME OVER", 3000, 0xFF0000, 0, 36);
    f.CreditsRunning = true;
    f.CreditIndex = 0;
    f.mnuEndGame.Enabled = false;
}

void GameEngine::EndExplosion_Timer() {
    EndExplosionFrame = static_cast<VbInteger>(EndExplosionFrame + 1);
    Sprite& se = f.ShipExplosion;
    if (EndExplosionFrame < 16) {
        const double paneW = f.pMain->ScaleWidth();
        const double w = se.Picture(0)->Width();
        for (int k = 0; k < 16; ++k) {
            VbInteger frame = EndExplosionFrame;
            const int x = rnd(Rnd() * (paneW - w));
            if (frame <= se.PictureCount()) {
                se.DrawSprite(frame, px(x), f.ShieldLineY, *f.pMain, *f.pBack, VbFalse);
            }
            f.pMain->Refresh();
            DoEvents();
        }
        return;
    }
    EndExplosionFrame = 0;
    se.CurFrame = 0;
    f.EndExplosion.setEnabled(false);
}
