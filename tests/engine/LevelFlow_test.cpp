// Level set-up, ship placement and fire, lives, level end and game over.
#include "EngineFixture.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace {

class LevelFlow : public testing::Test, public EngineFixture {
protected:
    void SetUp() override { initGame(); }
    void play(const std::vector<LevelRec>& levels) {
        f().Levels = levels;
        VbInteger level = 0;
        e().StartLevel(level);
        ASSERT_TRUE(runUntil([&] { return !f().LevelStarting; }, 5000));
        ASSERT_TRUE(runUntil([&] { return !f().PlaceShipTimer.Enabled(); }, 3000));
    }
};

struct SpeedCase {
    VbInteger speed;
    int move, shoot, step;
};

TEST_F(LevelFlow, LevelSpeedGivesMarchFireAndStep) {
    const SpeedCase cases[] = {{0, 500, 1000, 4},
                               {10, 410, 850, 6},
                               {12, 392, 820, 6},
                               {13, 383, 805, 7},
                               {50, 50, 250, 14}};
    for (const SpeedCase& c : cases) {
        f().Levels = {makeLevel({{0, 10, 10}}, c.speed, "S")};
        VbInteger level = 0;
        e().InitLevel(level);
        EXPECT_EQ(f().AlienMoveInterval, c.move) << c.speed;
        EXPECT_EQ(f().MoveAliensTimer.Interval(), c.move);
        EXPECT_EQ(f().AlienShootTimer.Interval(), c.shoot);
        EXPECT_EQ(f().AlienStep, c.step);
        EXPECT_FALSE(f().MoveAliensTimer.Enabled()); // InitLevel starts nothing
    }
}

TEST_F(LevelFlow, AliensFromTheRecordWithTheRandomDropRule) {
    std::vector<AlienSpec> specs;
    for (VbInteger d : std::initializer_list<VbInteger>{-1, -1, -1, -1, 0, 9, 30}) {
        specs.push_back({3, 40, 50, 2, d, 1, 25});
    }
    specs.push_back({-1, 0, 0}); // the editor's empty alien: no pictures, not in play
    f().Levels = {makeLevel(specs, 10, "R")};
    // round(Rnd x 400) + 10, halves to even; pickup codes only below 26.
    for (float r : {0.0f, 0.01f, 0.0375f, 0.04f}) {
        Random::instance().queue(r);
    }
    VbInteger level = 0;
    e().InitLevel(level);
    ASSERT_EQ(f().Aliens.size(), 8u);
    const VbInteger drops[] = {10, 14, 25, -1, 0, 9, 30};
    for (std::size_t i = 0; i < 7; ++i) {
        const Sprite& a = f().Aliens[i];
        EXPECT_EQ(a.Drops, drops[i]) << i;
        EXPECT_EQ(a.sType, 3);
        EXPECT_EQ(a.Hits, 2);
        EXPECT_EQ(a.Score, 25);
        EXPECT_EQ(a.Shoots, 1);
        EXPECT_TRUE(a.active);
        EXPECT_TRUE(a.CanShoot);
        EXPECT_EQ(a.X, 40);
        EXPECT_EQ(a.ZY, 50);
        EXPECT_EQ(a.Picture(1), f().Monster0[7]);
    }
    EXPECT_FALSE(f().Aliens[7].active);
    EXPECT_EQ(f().Aliens[7].PictureCount(), -1);
    Random::instance().clearQueue();
}

TEST_F(LevelFlow, StartLevelWaitsForRunningExplosions) {
    f().Levels = {makeLevel({{0, 10, 10}}, 10, "S")};
    f().FastAnimationTimer.setEnabled(true);
    f().ExpSprites[0].active = VbTrue;
    const auto pumps = clock.pumps();
    VbInteger level = 0;
    e().StartLevel(level);
    EXPECT_GT(clock.pumps(), pumps);
    EXPECT_FALSE(f().ExpSprites[0].active);
    EXPECT_TRUE(f().LevelStarting);
}

TEST_F(LevelFlow, GlideIsFastFarOffThenOnePixelAndNeverUpwards) {
    Sprite& ship = f().ShipSprite;
    ship.X = 0;
    ship.y = 415; // below the start line
    e().PlaceShip(true);
    EXPECT_FALSE(f().MainLoop.Enabled());
    clock.advance(10);
    EXPECT_EQ(ship.X, 10);
    EXPECT_EQ(ship.y, 415);
    ASSERT_TRUE(runUntil([&] { return ship.X >= 141; }, 2000));
    EXPECT_EQ(ship.X, 141); // 10 pixels a tick up to 140, then one
    ASSERT_TRUE(runUntil([&] { return !f().PlaceShipTimer.Enabled(); }, 2000));
    EXPECT_EQ(ship.X, 230);
    EXPECT_EQ(ship.y, 415);
    // Already in place: the glide ends on its first tick.
    e().PlaceShip(true);
    clock.advance(10);
    EXPECT_FALSE(f().PlaceShipTimer.Enabled());
}

TEST_F(LevelFlow, LivesIconsAndTheLastLife) {
    const std::pair<VbInteger, int> icons[] = {{4, 3}, {2, 1}, {1, 0}, {9, 7}};
    for (const auto& [lives, shown] : icons) {
        f().LivesLeft = lives;
        e().GiveNewShip(0);
        int n = 0;
        for (bool v : f().LivesVisible) {
            n += v ? 1 : 0;
        }
        EXPECT_EQ(n, shown) << lives;
    }
    f().GameOverFlag = false;
    f().LivesLeft = 1;
    f().ShipSprite.active = VbFalse;
    e().GiveNewShip(-1);
    EXPECT_TRUE(f().GameOverFlag);
    EXPECT_FALSE(f().ShipSprite.active); // no new ship
    EXPECT_EQ(f().MessageText, "GAME OVER");
}

TEST_F(LevelFlow, DoubleCannonsAlternateAndFillFreeSlots) {
    f().GameOverFlag = false;
    f().ShipSprite.active = VbTrue;
    f().ShipSprite.X = 100;
    f().ShipSprite.y = 410;
    f().Cannons = 2;
    e().CannonSide = 0;
    e().ShootTimer_Timer(); // left only
    EXPECT_TRUE(f().Shots[0].active);
    EXPECT_EQ(f().Shots[0].X, 100);
    EXPECT_EQ(f().Shots[0].y, 400);
    EXPECT_FALSE(f().Shots[1].active);
    f().Weapon = 1;
    e().ShootTimer_Timer(); // right, then left
    EXPECT_EQ(f().Shots[1].X, 100 + 20 - 4);
    EXPECT_EQ(f().Shots[1].y, 390);
    EXPECT_EQ(f().Shots[2].X, 100);
    EXPECT_EQ(e().CannonSide, 1);
    for (int i = 3; i < 19; ++i) {
        f().Shots[static_cast<std::size_t>(i)].active = VbTrue;
    }
    e().ShootTimer_Timer(); // one free slot: the right shot only
    EXPECT_EQ(f().Shots[19].X, 116);
    EXPECT_EQ(e().CannonSide, 0);
    // No slot free: only the sound.
    clock.advance(60);
    sounds.clear();
    e().ShootTimer_Timer();
    EXPECT_EQ(sounds, std::vector<std::string>{"102"});
    // Single cannon: centred under the ship.
    f().Cannons = 1;
    f().Shots[5].active = VbFalse;
    e().ShootTimer_Timer();
    EXPECT_EQ(f().Shots[5].X, 100 + 10 - 2);
}

TEST_F(LevelFlow, ClearedLevelWaitsForAFallingPickupAndOneLevelSetRestarts) {
    play({makeLevel({{0, 200, 100}}, 10, "Only")});
    f().Aliens[0].active = VbFalse;
    Sprite& drop = f().DropSprites[0];
    drop.active = VbTrue;
    drop.X = 400;
    drop.y = 100;
    ASSERT_TRUE(runUntil([&] { return f().LevelStarting; }, 600));
    clock.advance(2000);
    EXPECT_TRUE(drop.active);
    EXPECT_TRUE(f().MainLoop.Enabled()); // the level has not been restarted yet
    ASSERT_TRUE(runUntil([&] { return !drop.active; }, 10000));
    ASSERT_TRUE(runUntil([&] { return !f().MainLoop.Enabled(); }, 600));
    EXPECT_EQ(f().CurrentLevel, 0);
    EXPECT_EQ(f().MessageText, "Get ready for level 1|[Only]");
}

TEST_F(LevelFlow, ShipExplosionEndingInGameOverGivesNoShip) {
    play({makeLevel({{0, 200, 100}}, 10, "Only")});
    f().ShipSprite.active = VbFalse;
    f().ShipExplosion.active = VbTrue;
    f().ShipExplosion.CurFrame = 15;
    f().GameOverFlag = true;
    const VbInteger lives = f().LivesLeft;
    e().FastAnimationTimer_Timer();
    EXPECT_FALSE(f().ShipExplosion.active);
    EXPECT_EQ(f().ShipExplosion.Extra2, 1);
    EXPECT_EQ(f().LivesLeft, lives);
    EXPECT_FALSE(f().ShipSprite.active);
}

TEST_F(LevelFlow, GameOverWaitsForARunningShakeThenShakesHarder) {
    play({makeLevel({{0, 200, 100}}, 10, "Only")});
    e().ShakeNow(15);
    clock.advance(30);
    ASSERT_TRUE(f().ShakeTimer.Enabled());
    const auto before = clock.elapsed();
    e().GameOver();
    EXPECT_GT(clock.elapsed(), before + 300); // the first shake ran to its end
    EXPECT_EQ(f().ShakeStrength, 35);
    EXPECT_TRUE(f().ShakeTimer.Enabled());
    EXPECT_TRUE(f().EndExplosion.Enabled());
    EXPECT_EQ(f().MessageText, "GAME OVER");
    // The shield line blows up along its length, frames 1 to 15, then stops.
    ASSERT_TRUE(runUntil([&] { return !f().EndExplosion.Enabled(); }, 5000));
    EXPECT_EQ(e().EndExplosionFrame, 0);
    EXPECT_EQ(f().ShipExplosion.CurFrame, 0);
}

// Pixels of the pane that differ from its clean background, outside the rows skipped
// and the 16 x 12 alien kept.
int strayPixels(const GameForm& g, int skipTop, int skipBottom, const Sprite& keep) {
    const int kx = static_cast<int>(keep.X);
    const int ky = static_cast<int>(keep.y);
    int n = 0;
    for (int y = 0; y < g.pMain->Height(); ++y) {
        if (y >= skipTop && y < skipBottom) {
            continue;
        }
        for (int x = 0; x < g.pMain->Width(); ++x) {
            const bool inKeep = x >= kx && x < kx + 16 && y >= ky && y < ky + 12;
            if (!inKeep && g.pMain->Point(x, y) != g.pBack->Point(x, y)) {
                ++n;
            }
        }
    }
    return n;
}

TEST_F(LevelFlow, GameOverLeavesNothingInFlightDrawnButTheShieldLineRuins) {
    play({makeLevel({{0, 200, 100}}, 10, "Only")});
    GameForm& g = f();
    const Sprite& alien = g.Aliens[0];
    // What play may have under way when it stops: shots both ways, a falling pickup,
    // both pop-ups, an explosion of every set (one over the alien) and the ship's own.
    auto launch = [](Sprite& s, float x, float y) {
        s.X = x;
        s.y = y;
        s.active = VbTrue;
    };
    launch(g.Shots[0], 100, 300);
    launch(g.AlienShotSprites[0], 350, 120);
    launch(g.DropSprites[0], 60, 200);
    e().AddBonus(1, 400, 250, false);
    e().AddBonus(1, 0, 0, true);
    launch(g.ExpSprites[0], alien.X + 6, alien.y);
    launch(g.zExpSprites[0], 30, 60);
    launch(g.ExpBigSprites[0], 420, 60);
    launch(g.sExpSprites[0], 300, 330);
    g.ShipSprite.active = VbFalse; // blown up, as a hit does it
    g.ShipSprite.DrawSpriteBG(g.ShipSprite.CurFrame, *g.pMain, *g.pBack);
    launch(g.ShipExplosion, 230, 400);
    clock.advance(100); // everything drawn, no explosion at its end yet
    ASSERT_TRUE(g.ShipExplosion.active);
    ASSERT_GT(strayPixels(g, 0, 0, alien), 0);
    e().GameOver();
    ASSERT_TRUE(runUntil([&] { return !g.EndExplosion.Enabled(); }, 5000));
    clock.advance(3000);
    // The blown-up shield line stays; nothing else hangs in the pane.
    EXPECT_EQ(strayPixels(g, g.ShieldLineY, g.ShieldLineY + 16, alien), 0);
    EXPECT_GT(strayPixels(g, 0, g.ShieldLineY, alien), 0);
    // The alien the explosion covered is whole.
    int alienPixels = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            alienPixels +=
                g.pMain->Point(static_cast<int>(alien.X) + x, static_cast<int>(alien.y) + y) ==
                pics::alienColor(0, alien.CurFrame);
        }
    }
    EXPECT_EQ(alienPixels, 14 * 10);
    // Nothing of this game carries on into the next.
    EXPECT_FALSE(e().MovingObjects());
    EXPECT_FALSE(e().ActiveExplosions());
    for (const Sprite& s : g.zExpSprites) {
        EXPECT_FALSE(s.active);
    }
    EXPECT_FALSE(g.ShipExplosion.active);
    EXPECT_FALSE(g.AlienShotSprites[0].active);
}

} // namespace
