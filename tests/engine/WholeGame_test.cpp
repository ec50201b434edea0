// One whole game on the test clock: two levels, kills, pickups and a combo, a lost ship,
// the wrap after the last level and game over at the shield line.
#include "EngineFixture.h"

#include <gtest/gtest.h>

namespace {

class WholeGame : public testing::Test, public EngineFixture {
protected:
    void SetUp() override {
        f().Levels = {
            makeLevel({{0, 100, 300, 1, 4, 0, 10},
                       {1, 140, 300, 3, 4, 0, 20},
                       {8, 180, 300, 1, -2, 0, 50}},
                      10, "First"),
            makeLevel({{2, 300, 60, 1, -2, 1, 100}}, 50, "Second"),
        };
        initGame();
    }

    // Fires one shot with the auto-fire timer, as holding the fire key for one period does.
    void fireOnce() {
        f().FireHeld = true;
        f().ShootTimer.setEnabled(true);
        const int before = activeShots();
        ASSERT_TRUE(runUntil([&] { return activeShots() > before; }, 200));
        f().ShootTimer.setEnabled(false);
        f().FireHeld = false;
    }
    int activeShots() {
        int n = 0;
        for (const Sprite& s : f().Shots) {
            n += s.active ? 1 : 0;
        }
        return n;
    }
    // Waits for the announcement to fade and play to begin.
    void waitForPlay() {
        ASSERT_TRUE(runUntil([&] { return !f().LevelStarting; }, 5000));
        ASSERT_TRUE(runUntil([&] { return !f().PlaceShipTimer.Enabled(); }, 3000));
        clock.advance(20);
    }
};

TEST_F(WholeGame, PlaysTwoLevelsWrapsAndEndsAtTheShieldLine) {
    GameForm& g = f();
    ASSERT_TRUE(g.GameOverFlag);

    // New game: the announcement, the glide.
    e().ResetPlayerData();
    e().StartLevel(g.StartFromLevel);
    EXPECT_TRUE(g.LevelStarting);
    EXPECT_FALSE(g.GameOverFlag);
    EXPECT_EQ(g.MessageText, "Get ready for level 1|[First]");
    EXPECT_TRUE(g.PicDispView.Visible);
    EXPECT_TRUE(g.PlaceShipTimer.Enabled());
    EXPECT_FALSE(g.MainLoop.Enabled());
    EXPECT_FALSE(g.MoveAliensTimer.Enabled());
    EXPECT_EQ(g.HideMessage.Interval(), 2000);
    EXPECT_EQ(g.LivesLeft, 4);
    EXPECT_EQ(g.LivesVisible, (std::array<bool, 7>{true, true, true, false, false, false, false}));
    EXPECT_EQ(g.pMain->Point(5, 375), 65280);
    EXPECT_EQ(g.pBack->Point(5, 375), 65280);
    // The text fades in from black to yellow.
    clock.advance(700);
    EXPECT_EQ(g.MessageColor, 0xFFFF);
    EXPECT_FALSE(g.FadeTimer.Enabled());
    // The ship has glided to the bottom centre.
    ASSERT_TRUE(runUntil([&] { return !g.PlaceShipTimer.Enabled(); }, 2000));
    EXPECT_EQ(g.ShipSprite.X, 230);
    EXPECT_EQ(g.ShipSprite.y, 410);

    // The message fades out and StartGame releases play.
    waitForPlay();
    EXPECT_FALSE(g.PicDispView.Visible);
    EXPECT_TRUE(g.MessageText.empty());
    EXPECT_TRUE(g.MoveAliensTimer.Enabled());
    EXPECT_TRUE(g.MainLoop.Enabled());
    EXPECT_TRUE(g.SpriteAnimation.Enabled());
    EXPECT_TRUE(g.FastAnimationTimer.Enabled());
    EXPECT_TRUE(g.AlienShootTimer.Enabled());
    EXPECT_EQ(g.MoveAliensTimer.Interval(), 410);
    EXPECT_EQ(g.AlienStep, 6);
    ASSERT_EQ(g.Aliens.size(), 3u);
    EXPECT_EQ(g.ShipState, 1);
    // Masked aliens over the background: shape in the alien's colour, border left alone.
    const Sprite& a0 = g.Aliens[0];
    const int ax = static_cast<int>(a0.X);
    EXPECT_EQ(g.pMain->Point(ax + 5, 305), pics::alienColor(0, a0.CurFrame));
    EXPECT_EQ(g.pMain->Point(ax, 300), pics::Background);
    EXPECT_EQ(g.pMain->Point(235, 415), pics::shipColor(1));

    // The block marches left; the step also flips the animation frame.
    const float zx0 = a0.zX;
    const VbInteger frame0 = a0.CurFrame;
    ASSERT_TRUE(runUntil([&] { return a0.zX != zx0; }, 500));
    EXPECT_EQ(a0.zX, zx0 - 6);
    EXPECT_NE(a0.CurFrame, frame0);
    EXPECT_TRUE(g.AliensNearShield);
    clock.advance(20);
    // The old place is erased from pBack; the shield line has turned red.
    EXPECT_EQ(g.pMain->Point(zx0 + 12, 305), pics::Background);
    EXPECT_EQ(g.pMain->Point(5, 375), 255);
    EXPECT_GE(played(105), 1);

    // The invulnerability ends.
    ASSERT_TRUE(runUntil([&] { return g.ShipState == 0; }, 2500));

    // Kill alien 0: 10 points, a normal explosion with its sound, a pickup of type 4.
    ASSERT_TRUE(steerTo([&] { return a0.X - 2; }));
    fireOnce();
    ASSERT_TRUE(runUntil([&] { return !a0.active; }, 1000));
    EXPECT_EQ(g.Score, 10);
    EXPECT_TRUE(g.ExpSprites[0].active);
    EXPECT_EQ(g.ExpSprites[0].extra, 101);
    ASSERT_TRUE(g.DropSprites[0].active);
    EXPECT_EQ(g.DropSprites[0].sType, 4);
    clock.advance(20);
    EXPECT_EQ(played(101), 1);
    EXPECT_FALSE(g.ExpSprites[0].PlaySound);

    // Catch it under the ship: Mega Missile, its pop-up and 1500 points.
    ASSERT_TRUE(steerTo(g.DropSprites[0].X - 5));
    ASSERT_TRUE(runUntil([&] { return !g.DropSprites[0].active; }, 3000));
    EXPECT_EQ(g.Weapon, 1);
    EXPECT_EQ(g.Score, 1510);
    EXPECT_TRUE(g.BonusSprites[0].active);
    EXPECT_EQ(g.BonusSprites[0].CurFrame, 0);
    EXPECT_EQ(played(110), 1);

    // Alien 1 (3 hits) under a Mega Missile: 3 - 1 halved keeps 1; a second one kills.
    Sprite& a1 = g.Aliens[1];
    ASSERT_TRUE(steerTo([&] { return a1.X - 2; }));
    fireOnce();
    ASSERT_TRUE(runUntil([&] { return a1.Hits == 1; }, 1000));
    EXPECT_TRUE(a1.active);
    EXPECT_TRUE(g.zExpSprites[0].active);
    EXPECT_EQ(g.Score, 1530);
    ASSERT_TRUE(steerTo([&] { return a1.X - 2; }));
    fireOnce();
    ASSERT_TRUE(runUntil([&] { return !a1.active; }, 1000));
    EXPECT_EQ(g.Score, 1550);

    // The same pickup type again within 5 s: the combo.
    ASSERT_TRUE(g.DropSprites[0].active);
    ASSERT_TRUE(steerTo(g.DropSprites[0].X - 5));
    std::size_t freeSlot = 0;
    while (g.BonusSprites[freeSlot].active) {
        ++freeSlot;
    }
    ASSERT_TRUE(runUntil([&] { return !g.DropSprites[0].active; }, 3000));
    EXPECT_EQ(g.Score, 1001550);
    EXPECT_TRUE(g.EBonusSprite.active);
    EXPECT_EQ(played(113), 1);
    EXPECT_EQ(played(110), 2);
    EXPECT_EQ(g.Weapon, 1);
    EXPECT_FALSE(g.BonusSprites[freeSlot].active); // no small pop-up, no 1500 points
    EXPECT_EQ(g.RecentPickups[0].PickupType, -1);  // used up by the combo

    // The special alien: a small explosion with sound 109; then the level is cleared.
    Sprite& a2 = g.Aliens[2];
    ASSERT_TRUE(steerTo([&] { return a2.X - 2; }));
    fireOnce();
    ASSERT_TRUE(runUntil([&] { return !a2.active; }, 1000));
    EXPECT_EQ(g.Score, 1001600);
    EXPECT_TRUE(g.sExpSprites[0].active);
    EXPECT_EQ(g.sExpSprites[0].extra, 109);
    EXPECT_TRUE(e().AllAliensAreDead());
    ASSERT_TRUE(runUntil([&] { return g.LevelStarting; }, 600));
    // The next level waits for the pop-ups to leave.
    ASSERT_TRUE(runUntil([&] { return g.CurrentLevel == 1; }, 5000));
    EXPECT_EQ(g.MessageText, "Get ready for level 2|[Second]");
    EXPECT_FALSE(e().MovingObjects());
    waitForPlay();
    ASSERT_EQ(g.Aliens.size(), 1u);
    EXPECT_EQ(g.AlienStep, 14);

    // A single alien fires as a whole block: interval 1000 ms, the shot under it.
    clock.advance(60); // one march tick sets AliensAlive
    ASSERT_TRUE(runUntil([&] { return g.ShipState == 0; }, 2500));
    Sprite& solo = g.Aliens[0];
    Random::instance().queue(0.3f);   // first
    Random::instance().queue(0.999f); // the chance: 999 > 990
    e().AlienShootTimer_Timer();
    EXPECT_EQ(g.AlienShootTimer.Interval(), 1000);
    ASSERT_TRUE(g.AlienShotSprites[0].active);
    EXPECT_EQ(g.AlienShotSprites[0].X, solo.X + 8 - 2);
    EXPECT_EQ(g.AlienShotSprites[0].y, solo.y - 12);
    EXPECT_EQ(played(103), 1);
    solo.Shoots = 0;

    // The ship waits under the shot: lost, with its explosion; then a new one.
    ASSERT_TRUE(steerTo(g.AlienShotSprites[0].X - 8));
    ASSERT_TRUE(runUntil([&] { return !g.ShipSprite.active; }, 3000));
    EXPECT_TRUE(g.ShipExplosion.active);
    EXPECT_EQ(g.Weapon, 0); // the ship's options are lost
    EXPECT_EQ(g.ShipState, 1);
    ASSERT_TRUE(runUntil([&] { return g.ShipSprite.active; }, 1000));
    EXPECT_EQ(g.LivesLeft, 3);
    EXPECT_EQ(g.LivesVisible, (std::array<bool, 7>{true, true, false, false, false, false, false}));
    EXPECT_EQ(g.ShipSprite.X, 230);
    EXPECT_EQ(g.ShipSprite.y, 410);
    EXPECT_TRUE(g.CantDieTimer.Enabled());
    EXPECT_EQ(g.CantDieTimer.Interval(), 2000);
    EXPECT_GE(played(109), 1);

    // Auto-fire as a column until the alien crosses it; the last level wraps to the first.
    g.FireHeld = true;
    g.ShootTimer.setEnabled(true);
    ASSERT_TRUE(runUntil([&] { return !solo.active; }, 60000));
    EXPECT_EQ(g.Score, 1001700);
    g.FireHeld = false;
    ASSERT_TRUE(runUntil([&] { return g.LevelStarting && !g.MainLoop.Enabled(); }, 5000));
    EXPECT_EQ(g.CurrentLevel, 0);
    EXPECT_EQ(g.MessageText, "Get ready for level 1|[First]");
    EXPECT_FALSE(g.ShootTimer.Enabled());
    waitForPlay();
    EXPECT_EQ(g.Aliens.size(), 3u);

    // The block marches and steps down at the edges until it reaches the shield line.
    const float startY = g.Aliens[0].ZY;
    const VbInteger direction = e().MarchDirection;
    ASSERT_TRUE(runUntil([&] { return g.Aliens[0].ZY > startY; }, 60000));
    EXPECT_EQ(g.Aliens[0].ZY, startY + 8);
    EXPECT_NE(e().MarchDirection, direction); // turned at the edge
    ASSERT_TRUE(runUntil([&] { return g.GameOverFlag; }, 400000));
    EXPECT_GE(g.Aliens[0].y + 12, 375);
    EXPECT_TRUE(g.HiscorePending);
    EXPECT_TRUE(g.CreditsRunning);
    EXPECT_FALSE(g.mnuEndGame.Enabled);
    EXPECT_FALSE(g.MainLoop.Enabled());
    EXPECT_FALSE(g.MoveAliensTimer.Enabled());
    EXPECT_EQ(g.MessageText, "GAME OVER");
    EXPECT_EQ(g.ShakeStrength, 35);
    EXPECT_TRUE(g.ShakeTimer.Enabled());
    EXPECT_EQ(played(107), 1);
    EXPECT_EQ(g.Score, 1001700);
}

} // namespace
