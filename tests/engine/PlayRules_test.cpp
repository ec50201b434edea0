// The rules of the frame tick, hits, pickups, the march and alien fire, case by case.
#include "EngineFixture.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

class PlayRules : public testing::Test, public EngineFixture {
protected:
    void SetUp() override {
        initGame();
        f().GameOverFlag = false;
        f().ShipSprite.active = VbTrue;
        f().ShipSprite.X = 100;
        f().ShipSprite.y = 410;
    }

    // An alien block of n aliens in play, all of type 0 unless told.
    void setAliens(const std::vector<AlienSpec>& specs) {
        f().Levels = {makeLevel(specs, 10, "Test")};
        VbInteger level = 0;
        e().InitLevel(level);
    }
};

// ---- the frame tick ----

struct GuardCase {
    bool placeShip, paused, gameOver;
    bool pumps, moves;
};

TEST_F(PlayRules, MainTickGuardsInOrder) {
    const GuardCase cases[] = {
        {true, true, false, false, false},  {true, false, false, false, false},
        {false, true, false, true, false},  {false, true, true, true, false},
        {false, false, true, false, false}, {false, false, false, false, true},
    };
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.placeShip << c.paused << c.gameOver);
        f().ShipSprite.X = 100;
        f().ShipSprite.Left = VbTrue;
        f().PlaceShipTimer.setEnabled(c.placeShip);
        f().Paused = c.paused;
        f().GameOverFlag = c.gameOver;
        const auto pumps = clock.pumps();
        e().MainLoop_Timer();
        EXPECT_EQ(clock.pumps() > pumps, c.pumps);
        EXPECT_EQ(f().ShipSprite.X != 100, c.moves);
    }
}

struct ShipCase {
    float x, y;
    bool left, right, up, down, mirror;
    int newX, newY;
};

TEST_F(PlayRules, ShipBoundsAreTestedBeforeTheStepAndLeftRightMirror) {
    // Pane 480 x 420, ship frame 20 x 10: right bound 460, bottom bound 410.
    const ShipCase cases[] = {
        {100, 300, true, false, false, false, false, 95, 300},
        {100, 300, true, true, false, false, false, 95, 300}, // left wins
        {100, 300, false, true, false, false, false, 105, 300},
        {0, 300, true, false, false, false, false, 0, 300},
        {2, 300, true, false, false, false, false, -3, 300}, // past the bound by the step
        {460, 300, false, true, false, false, false, 460, 300},
        {458, 300, false, true, false, false, false, 463, 300},
        {100, 300, true, false, false, false, true, 105, 300}, // mirrored
        {100, 300, true, true, false, false, true, 105, 300},
        {460, 300, true, false, false, false, true, 460, 300}, // bounded by the right edge
        {100, 300, false, true, false, false, true, 95, 300},
        {0, 300, false, true, false, false, true, 0, 300},
        {100, 200, false, false, true, false, false, 100, 195},
        {100, 200, false, false, true, true, true, 100, 195}, // up wins, never mirrored
        {100, 409, false, false, false, true, false, 100, 414},
        {100, 410, false, false, false, true, false, 100, 410},
        {100, 0, false, false, true, false, false, 100, 0},
        {100, 3, false, false, true, false, false, 100, -2}, // above the shield line too
    };
    Sprite& ship = f().ShipSprite;
    for (const ShipCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " L" << c.left << " R" << c.right
                                        << " U" << c.up << " D" << c.down << " M" << c.mirror);
        ship.X = c.x;
        ship.y = c.y;
        ship.Left = toVbBool(c.left);
        ship.Right = toVbBool(c.right);
        ship.UP = toVbBool(c.up);
        ship.Down = toVbBool(c.down);
        f().MirrorControls = c.mirror;
        e().MainLoop_Timer();
        EXPECT_EQ(f().ShipNewX, c.newX);
        EXPECT_EQ(f().ShipNewY, c.newY);
        EXPECT_EQ(ship.X, c.newX);
        EXPECT_EQ(ship.CurFrame, f().ShipState);
    }
}

TEST_F(PlayRules, WholePixelsAreKeptOnlyWhereTheTickRoundsThem) {
    // An alien shot's wobble is lost below half a pixel; a pickup falls a whole pixel.
    Sprite& shot = f().AlienShotSprites[0];
    shot.active = VbTrue;
    shot.X = 50;
    shot.y = 100;
    e().MainLoop_Timer(); // sin(0.5) = 0.48: stays at 50
    EXPECT_EQ(shot.X, 50);
    EXPECT_EQ(shot.y, 104);
    e().MainLoop_Timer(); // sin(1.0) = 0.84: one pixel right
    EXPECT_EQ(shot.X, 51);
    EXPECT_EQ(shot.Sinus, 2);
    Sprite& drop = f().DropSprites[0];
    drop.active = VbTrue;
    drop.sType = 3;
    drop.X = 200.5f;
    drop.y = 419;
    e().MainLoop_Timer();
    EXPECT_EQ(drop.X, 200); // half to even
    EXPECT_EQ(drop.y, 420);
    EXPECT_TRUE(drop.active);
    e().MainLoop_Timer(); // its top has reached the bottom
    EXPECT_FALSE(drop.active);
}

TEST_F(PlayRules, ShotsTakeTheCurrentWeaponAndExplosionsSoundOnlyOnTheirFirstTick) {
    Sprite& shot = f().Shots[4];
    shot.active = VbTrue;
    shot.X = 300;
    shot.y = 300;
    e().MainLoop_Timer();
    EXPECT_EQ(shot.CurFrame, 0);
    f().Weapon = 3;
    e().MainLoop_Timer();
    EXPECT_EQ(shot.CurFrame, 3);
    EXPECT_EQ(shot.y, 284);

    Sprite& boom = f().ExpSprites[2];
    boom.active = VbTrue;
    boom.PlaySound = VbTrue;
    boom.extra = 101;
    f().mnuExplosionSounds.Checked = false;
    e().MainLoop_Timer();
    EXPECT_FALSE(boom.PlaySound);
    f().mnuExplosionSounds.Checked = true;
    clock.advance(60);
    e().MainLoop_Timer();
    EXPECT_EQ(played(101), 0); // silent for good

    boom.active = VbFalse;
    f().zExpSprites[0].active = VbTrue;
    f().ShipExplosion.active = VbTrue;
    EXPECT_FALSE(e().ActiveExplosions());
    f().sExpSprites[4].active = VbTrue;
    EXPECT_TRUE(e().ActiveExplosions());
}

// One sprite of each group the tick draws, and how far down the tick moves it.
struct DrawnGroup {
    const char* name;
    std::function<Sprite&(GameForm&)> sprite;
    std::function<int(const GameForm&)> fall;
};

TEST_F(PlayRules, WhereSpritesOverlapTheOneTheTickDrawsLaterShows) {
    setAliens({{0, 0, 0}});
    const auto still = [](const GameForm&) { return 0; };
    const std::vector<DrawnGroup> groups = {
        {"big pop-up", [](GameForm& g) -> Sprite& { return g.EBonusSprite; },
         [](const GameForm&) { return -1; }},
        {"ship explosion", [](GameForm& g) -> Sprite& { return g.ShipExplosion; }, still},
        {"alien", [](GameForm& g) -> Sprite& { return g.Aliens[0]; }, still},
        {"small pop-up", [](GameForm& g) -> Sprite& { return g.BonusSprites[3]; },
         [](const GameForm&) { return -1; }},
        {"ship", [](GameForm& g) -> Sprite& { return g.ShipSprite; }, still},
        {"pickup", [](GameForm& g) -> Sprite& { return g.DropSprites[2]; },
         [](const GameForm& g) { return static_cast<int>(g.DropSpeed); }},
        {"explosion", [](GameForm& g) -> Sprite& { return g.ExpSprites[1]; }, still},
        {"damage explosion", [](GameForm& g) -> Sprite& { return g.zExpSprites[1]; }, still},
        {"big explosion", [](GameForm& g) -> Sprite& { return g.ExpBigSprites[1]; }, still},
        {"small explosion", [](GameForm& g) -> Sprite& { return g.sExpSprites[1]; }, still},
        {"alien shot", [](GameForm& g) -> Sprite& { return g.AlienShotSprites[1]; },
         [](const GameForm& g) { return static_cast<int>(g.AlienShotSpeed); }},
        {"shot", [](GameForm& g) -> Sprite& { return g.Shots[5]; },
         [](const GameForm& g) { return -static_cast<int>(g.ShotSpeed); }},
    };
    // Pairs in the tick's drawing order. A pickup under the ship is caught and wiped in the
    // same tick, whichever came first, so that pair is taken through its neighbours.
    const std::pair<int, int> pairs[] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {3, 5},  {4, 6},
                                         {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 10}, {10, 11}};
    // Nothing collides: the overlaps are about drawing alone.
    f().CheatCheckAlienCantDie = true;
    f().CheatCheckShield = true;
    const int cx = 240, cy = 200;
    for (const auto& [earlier, later] : pairs) {
        SCOPED_TRACE(testing::Message() << groups[later].name << " over " << groups[earlier].name);
        f().pMain->Cls();
        for (const DrawnGroup& group : groups) {
            group.sprite(f()).active = VbFalse;
        }
        f().ShipExplosion.Extra2 = 0;
        for (const int k : {earlier, later}) {
            Sprite& s = groups[k].sprite(f());
            const Surface& pic = *s.Picture(s.CurFrame);
            s.active = VbTrue;
            s.PlaySound = VbFalse;
            // Whole pixels: the picture's centre, its upper (image) half's middle.
            const int left = cx - pic.Width() / 2;
            const int upper = cy - pic.Height() / 4 - groups[k].fall(f());
            s.X = s.zX = static_cast<float>(left);
            s.y = s.ZY = static_cast<float>(upper);
        }
        e().MainLoop_Timer();
        Sprite& top = groups[later].sprite(f());
        Sprite& below = groups[earlier].sprite(f());
        ASSERT_TRUE(top.active);
        ASSERT_TRUE(below.active);
        const auto centreColour = [](const Sprite& s) {
            const Surface& pic = *s.Picture(s.CurFrame);
            const int x = pic.Width() / 2;
            const int y = pic.Height() / 4;
            return pic.Point(x, y);
        };
        ASSERT_NE(centreColour(top), centreColour(below));
        EXPECT_EQ(f().pMain->Point(cx, cy), centreColour(top));
    }
}

TEST_F(PlayRules, NewExplosionsSoundInTheTicksDrawingOrder) {
    const std::pair<Sprite*, VbInteger> starts[] = {
        {&f().sExpSprites[0], 104}, {&f().ExpBigSprites[0], 103}, {&f().zExpSprites[0], 102},
        {&f().ExpSprites[3], 106},  {&f().ExpSprites[0], 101},    {&f().ShipExplosion, 109},
    };
    for (const auto& [s, id] : starts) {
        s->active = VbTrue;
        s->X = 300;
        s->y = 100;
        s->extra = id;
        s->PlaySound = VbTrue;
    }
    e().MainLoop_Timer();
    EXPECT_EQ(sounds, (std::vector<std::string>{"109", "101", "106", "102", "103", "104"}));
}

// ---- hits ----

struct HitCase {
    VbInteger weapon, shotFrame, type, hits, score;
    VbInteger hitsAfter;
    bool alive;
    VbLong points;
    char set; // E Exp, Z zExp, B ExpBig, S sExp
    VbInteger sound;
    bool shotFlies;
};

TEST_F(PlayRules, HitsWeaponsMultipliersAndExplosionSets) {
    const HitCase cases[] = {
        {0, 0, 0, 1, 10, 0, false, 10, 'E', 101, false},
        {0, 0, 0, 3, 10, 2, true, 10, 'Z', 101, false},
        {1, 1, 0, 3, 10, 1, true, 10, 'Z', 101, false},  // Mega: 2 halved
        {1, 1, 0, 4, 10, 2, true, 10, 'Z', 101, false},  // 3 / 2 = 1.5 -> 2
        {1, 1, 0, 5, 10, 2, true, 10, 'Z', 101, false},  // 4 / 2
        {1, 1, 0, 6, 10, 2, true, 10, 'Z', 101, false},  // 5 / 2 = 2.5 -> 2
        {1, 1, 0, 2, 10, 0, false, 10, 'E', 101, false}, // 1 / 2 = 0.5 -> 0
        {3, 3, 0, 3, 10, 0, false, 30, 'S', 109, false}, // Bomb: hits left + 1
        {2, 2, 0, 3, 10, 0, false, 30, 'E', 101, true},  // Heavy flies on
        {2, 2, 9, 2, 10, 0, false, 20, 'S', 109, true},
        {0, 0, 8, 1, 50, 0, false, 50, 'S', 109, false},
        {0, 0, 8, 3, 50, 2, true, 50, 'B', 101, false},
        // The current weapon decides whether a shot flies on; its frame decides the rest.
        {2, 0, 0, 3, 10, 2, true, 10, 'Z', 101, true},
        // Points are formed in 32 bits.
        {3, 3, 0, 3, 20000, 0, false, 60000, 'S', 109, false},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "weapon " << c.weapon << " frame " << c.shotFrame
                                        << " type " << c.type << " hits " << c.hits);
        setAliens({{c.type, 100, 100, c.hits, -2, 0, c.score}});
        for (auto* set : {&f().ExpSprites, &f().zExpSprites, &f().ExpBigSprites}) {
            for (Sprite& s : *set) {
                s.active = VbFalse;
            }
        }
        for (Sprite& s : f().sExpSprites) {
            s.active = VbFalse;
        }
        f().Score = 0;
        f().Weapon = c.weapon;
        Sprite& shot = f().Shots[0];
        shot.active = VbTrue;
        shot.CurFrame = c.shotFrame;
        shot.X = 104;
        shot.y = 100;
        e().CheckCollisions();
        const Sprite& alien = f().Aliens[0];
        EXPECT_EQ(alien.Hits, c.hitsAfter);
        EXPECT_EQ(alien.active != 0, c.alive);
        EXPECT_EQ(f().Score, c.points);
        EXPECT_EQ(shot.active != 0, c.shotFlies);
        const Sprite* started = nullptr;
        switch (c.set) {
        case 'E':
            started = &f().ExpSprites[0];
            break;
        case 'Z':
            started = &f().zExpSprites[0];
            break;
        case 'B':
            started = &f().ExpBigSprites[0];
            break;
        default:
            started = &f().sExpSprites[0];
        }
        EXPECT_TRUE(started->active);
        EXPECT_TRUE(started->PlaySound);
        EXPECT_EQ(started->extra, c.sound);
        EXPECT_EQ(started->X, 100);
        shot.active = VbFalse;
    }
}

TEST_F(PlayRules, AlienGodModeLetsShotsThrough) {
    setAliens({{0, 100, 100, 1, -2, 0, 10}});
    f().CheatCheckAlienCantDie = true;
    Sprite& shot = f().Shots[0];
    shot.active = VbTrue;
    shot.X = 104;
    shot.y = 100;
    e().CheckCollisions();
    EXPECT_TRUE(f().Aliens[0].active);
    EXPECT_TRUE(shot.active);
    EXPECT_EQ(f().Score, 0);
}

TEST_F(PlayRules, AKilledAlienDropsItsPickupOnceAndLosesItWhenNoSlotIsFree) {
    setAliens({{0, 100, 100, 1, 7, 0, 10}, {0, 200, 100, 1, 3, 0, 10}});
    Sprite& shot = f().Shots[0];
    shot.active = VbTrue;
    shot.X = 104;
    shot.y = 100;
    e().CheckCollisions();
    const Sprite& drop = f().DropSprites[0];
    ASSERT_TRUE(drop.active);
    EXPECT_EQ(drop.sType, 7);
    EXPECT_EQ(drop.X, 100 + 8 - 5);
    EXPECT_EQ(drop.y, 100);
    EXPECT_EQ(f().Aliens[0].Drops, -1);
    for (Sprite& d : f().DropSprites) {
        d.active = VbTrue;
    }
    Sprite& shot2 = f().Shots[1];
    shot2.active = VbTrue;
    shot2.X = 204;
    shot2.y = 100;
    e().CheckCollisions();
    EXPECT_FALSE(f().Aliens[1].active);
    EXPECT_EQ(f().Aliens[1].Drops, -1); // lost for good
}

TEST_F(PlayRules, InvulnerableShipLetsAlienShotsThroughButNotAliens) {
    setAliens({{0, 300, 100, 1, -2, 0, 10}});
    Sprite& ship = f().ShipSprite;
    Sprite& shot = f().AlienShotSprites[0];
    shot.active = VbTrue;
    shot.X = 105;
    shot.y = 412;
    f().ShipState = 1;
    e().CheckCollisions();
    EXPECT_TRUE(ship.active);
    EXPECT_TRUE(shot.active);
    // An alien body destroys it all the same.
    f().Aliens[0].X = 100;
    f().Aliens[0].y = 405;
    e().CheckCollisions();
    EXPECT_FALSE(ship.active);
    EXPECT_TRUE(f().ShipExplosion.active);
    EXPECT_EQ(f().ShipExplosion.extra, 109);
    EXPECT_TRUE(f().Aliens[0].active);
    EXPECT_EQ(f().Score, 0);
}

// ---- pickups ----

struct ComboCase {
    double before; // seconds between the two catches
    bool combo;
};

class Pickups : public PlayRules {
protected:
    void drop(int slot, VbInteger type) {
        Sprite& d = f().DropSprites[static_cast<std::size_t>(slot)];
        d.active = VbTrue;
        d.sType = type;
        d.X = 105;
        d.y = 405;
    }
    int bonusesActive() {
        int n = 0;
        for (const Sprite& b : f().BonusSprites) {
            n += b.active ? 1 : 0;
        }
        return n;
    }
};

TEST_F(Pickups, ComboWindowIsFiveSecondsInclusive) {
    const ComboCase cases[] = {{4.9, true}, {5.0, true}, {5.001, false}, {30, false}};
    for (const ComboCase& c : cases) {
        SCOPED_TRACE(c.before);
        const double now = clock.timeOfDay();
        f().RecentPickups = {};
        f().RecentPickups[3] = PickupRec{4, now - c.before};
        f().Score = 0;
        f().EBonusSprite.active = VbFalse;
        drop(0, 4);
        e().CheckCollisions();
        EXPECT_EQ(f().Score, c.combo ? 1000000 : 1500);
        EXPECT_EQ(f().EBonusSprite.active != 0, c.combo);
        EXPECT_EQ(f().RecentPickups[3].PickupType, c.combo ? -1 : 4);
        EXPECT_EQ(f().Weapon, 1);
        clock.advance(60);
    }
    EXPECT_EQ(played(113), 2);
    EXPECT_EQ(played(110), 4);
}

TEST_F(Pickups, ComboFlagLastsTheTickAndRingRecordsEveryCatch) {
    const double now = clock.timeOfDay();
    f().RecentPickups = {};
    f().RecentPickups[0] = PickupRec{4, now - 1};
    f().RecentPickups[1] = PickupRec{4, now - 2};
    e().PickupRingIndex = 5;
    drop(0, 4);
    drop(1, 5);
    e().CheckCollisions();
    // Both old entries match and are used up; the second pickup gives no pop-up or points
    // but still works and sounds.
    EXPECT_EQ(f().Score, 2000000);
    EXPECT_EQ(f().RecentPickups[5].PickupType, 4); // the ring wraps after 5
    EXPECT_EQ(f().RecentPickups[0].PickupType, 5);
    EXPECT_EQ(f().RecentPickups[1].PickupType, -1);
    EXPECT_EQ(e().PickupRingIndex, 1);
    EXPECT_EQ(bonusesActive(), 0);
    EXPECT_TRUE(f().MissileWaver);
    // Within the same tick the 50 ms gate lets one start of each sound through.
    EXPECT_EQ(played(110), 1);
    EXPECT_EQ(played(113), 1);
}

class MidnightPickups : public testing::Test, public EngineFixture {
public:
    MidnightPickups() : EngineFixture(86400.0 - 2.0) {}
};

TEST_F(MidnightPickups, ComboWindowSpansMidnight) {
    initGame();
    f().GameOverFlag = false;
    f().ShipSprite.active = VbTrue;
    f().ShipSprite.X = 100;
    f().ShipSprite.y = 410;
    f().RecentPickups[2] = PickupRec{6, clock.timeOfDay()};
    clock.advance(4000); // 00:00:02
    ASSERT_LT(clock.timeOfDay(), 3.0);
    Sprite& d = f().DropSprites[0];
    d.active = VbTrue;
    d.sType = 6;
    d.X = 105;
    d.y = 405;
    e().CheckCollisions();
    EXPECT_EQ(f().Score, 1000000);
    EXPECT_EQ(f().Cannons, 2);
}

// A fresh ring holds no pickups: right after midnight its untouched entries must not read
// as pickups of type 0 caught at 00:00:00.
TEST_F(MidnightPickups, UntouchedRingEntriesNeverMakeACombo) {
    initGame();
    f().GameOverFlag = false;
    f().ShipSprite.active = VbTrue;
    f().ShipSprite.X = 100;
    f().ShipSprite.y = 410;
    clock.advance(3000); // 00:00:01
    ASSERT_LT(clock.timeOfDay(), 5.0);
    Sprite& d = f().DropSprites[0];
    d.active = VbTrue;
    d.sType = 0;
    d.X = 105;
    d.y = 405;
    f().Score = 0;
    e().CheckCollisions();
    EXPECT_EQ(f().Score, 4000);
    EXPECT_FALSE(f().EBonusSprite.active);
}

struct EffectCase {
    VbInteger type;
    int kind; // pop-up frame + 1
    VbLong points;
    const char* sound;
    std::function<bool(const GameForm&)> effect;
};

TEST_F(Pickups, EveryTypeHasItsEffectPopupPointsAndSound) {
    const EffectCase cases[] = {
        {0, 4, 4000, "110", [](const GameForm& g) { return g.Weapon == 2; }},
        {1, 1, 2500, "104", [](const GameForm& g) { return g.MirrorControls; }},
        {2, 4, 3500, "110", [](const GameForm& g) { return g.MissileSwirler && !g.MissileWaver; }},
        {3, 4, 4000, "110", [](const GameForm& g) { return g.Weapon == 3; }},
        {4, 1, 1500, "110", [](const GameForm& g) { return g.Weapon == 1; }},
        {5, 1, 1500, "110", [](const GameForm& g) { return g.MissileWaver && !g.MissileSwirler; }},
        {6, 1, 1500, "110", [](const GameForm& g) { return g.Cannons == 2 && g.ShipState == 2; }},
        {7, 1, 1500, "104",
         [](const GameForm& g) {
             return g.ShipState == 3 && g.CantDieTimer.Enabled() &&
                    g.CantDieTimer.Interval() >= 1000 && g.CantDieTimer.Interval() <= 6000;
         }},
        {8, 1, 1500, "106",
         [](const GameForm& g) {
             return g.FrozenAliensTimer.Enabled() && g.FrozenAliensTimer.Interval() >= 4000 &&
                    g.FrozenAliensTimer.Interval() <= 20000 && g.FrozenAliensCounter.Enabled() &&
                    g.TimeScalaView.Visible && g.TimeScala->Point(0, 0) == 255;
         }},
        {9, 4, 4000, "104", [](const GameForm& g) { return g.LivesLeft == 5; }},
        {17, 1, 2500, "104", [](const GameForm& g) { return g.Weapon == 1; }},
    };
    for (const EffectCase& c : cases) {
        SCOPED_TRACE(c.type);
        for (Sprite& b : f().BonusSprites) {
            b.active = VbFalse;
        }
        f().Score = 0;
        sounds.clear();
        clock.advance(6000); // outside every combo window, invulnerability over
        drop(0, c.type);
        e().CheckCollisions();
        EXPECT_EQ(f().Score, c.points);
        EXPECT_TRUE(f().BonusSprites[0].active);
        EXPECT_EQ(f().BonusSprites[0].CurFrame, c.kind - 1);
        EXPECT_EQ(f().BonusSprites[0].X, 105);
        ASSERT_EQ(sounds.size(), 1u);
        EXPECT_EQ(sounds[0], c.sound);
        EXPECT_TRUE(c.effect(f()));
    }
}

// ---- the march ----

struct StepCase {
    float x;
    VbInteger direction, alienStep;
    float zxAfter, zyAfter;
    VbInteger directionAfter;
};

TEST_F(PlayRules, MarchStepClosesUpToTheEdgeThenTurnsAndDrops) {
    // Pane 480, alien frame 16 wide: the right edge is at 464.
    const StepCase cases[] = {
        {200, 0, 6, 194, 100, 0}, {4, 0, 6, 0, 100, 0},     {4, 1, 6, 10, 100, 1},
        {460, 1, 6, 464, 100, 1}, {464, 1, 6, 464, 108, 0}, {0, 0, 6, 0, 108, 1},
        {0, 1, 6, 6, 100, 1},     {200, 1, 0, 201, 100, 1}, {464, 0, 6, 458, 100, 0},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.x << " dir " << c.direction << " step " << c.alienStep);
        setAliens({{0, 0, 100}});
        Sprite& a = f().Aliens[0];
        a.X = a.zX = c.x;
        e().MarchDirection = c.direction;
        f().AlienStep = c.alienStep;
        e().MoveAliensTimer_Timer();
        EXPECT_EQ(a.zX, c.zxAfter);
        EXPECT_EQ(a.ZY, c.zyAfter);
        EXPECT_EQ(e().MarchDirection, c.directionAfter);
    }
}

TEST_F(PlayRules, TurningWithoutDroppingWhenTheCheatSaysSo) {
    setAliens({{0, 0, 100}});
    f().CheatMode = true;
    f().CheatCheckAliensDontMove = true;
    e().MarchDirection = 0;
    e().MoveAliensTimer_Timer();
    EXPECT_EQ(e().MarchDirection, 1);
    EXPECT_EQ(f().Aliens[0].ZY, 100);
}

TEST_F(PlayRules, MarchSpeedsUpAsAliensDie) {
    std::vector<AlienSpec> block;
    for (int i = 0; i < 10; ++i) {
        block.push_back({0, static_cast<VbInteger>(100 + 20 * i), 100});
    }
    const std::pair<int, int> cases[] = {{0, 410}, {5, 273}, {9, 164}};
    for (const auto& [dead, interval] : cases) {
        setAliens(block);
        for (int i = 0; i < dead; ++i) {
            f().Aliens[static_cast<std::size_t>(i)].active = VbFalse;
        }
        e().MarchDirection = 0;
        e().MoveAliensTimer_Timer();
        EXPECT_EQ(f().MoveAliensTimer.Interval(), interval) << dead;
        EXPECT_EQ(f().AliensAlive, 9 - dead);
    }
}

TEST_F(PlayRules, ShieldLineWarningIsStrictAndReachingItEndsTheGame) {
    const std::pair<float, bool> warn[] = {{263, false}, {264, true}};
    for (const auto& [y, near] : warn) {
        setAliens({{0, 200, static_cast<VbInteger>(y)}});
        sounds.clear();
        e().MoveAliensTimer_Timer();
        EXPECT_EQ(f().AliensNearShield, near) << y;
        EXPECT_EQ(played(105), near ? 1 : 0);
        EXPECT_FALSE(f().GameOverFlag);
        clock.advance(60);
    }
    setAliens({{0, 200, 363}});
    sounds.clear();
    e().MoveAliensTimer_Timer();
    EXPECT_TRUE(f().GameOverFlag);
    EXPECT_EQ(played(105), 0);
    EXPECT_EQ(f().Aliens[0].zX, 200); // nothing else of the tick happened
}

// ---- alien fire ----

struct FireCase {
    int aliens;
    VbInteger aliensAlive;
    int interval;
    float pick; // Rnd for the one eligible alien
    bool fires;
};

TEST_F(PlayRules, AlienFireIntervalAndChance) {
    const FireCase cases[] = {
        {10, 9, 1000, 0.991f, true}, {10, 9, 1000, 0.9905f, false}, // r > 990, 990.5 -> 990
        {10, 0, 600, 0.901f, true},  {10, 0, 600, 0.9f, false},     // 9 dead: r > 900
        {10, 4, 778, 0.941f, true},  {10, 4, 778, 0.94f, false},    // 5 dead: r > 940
        {1, 0, 1000, 0.991f, true},                                 // one alien: a whole block
    };
    for (const FireCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.aliens << " alive " << c.aliensAlive);
        std::vector<AlienSpec> block;
        for (int i = 0; i < c.aliens; ++i) {
            block.push_back({0, static_cast<VbInteger>(100 + 20 * i), 100, 1, -2, 0});
        }
        block[0].shoots = 1;
        setAliens(block);
        for (Sprite& s : f().AlienShotSprites) {
            s.active = VbFalse;
        }
        f().AliensAlive = c.aliensAlive;
        Random::instance().queue(0.0f); // first alien 0
        Random::instance().queue(c.pick);
        e().AlienShootTimer_Timer();
        EXPECT_EQ(f().AlienShootTimer.Interval(), c.interval);
        EXPECT_EQ(f().AlienShotSprites[0].active != 0, c.fires);
        Random::instance().clearQueue();
    }
}

TEST_F(PlayRules, AlienFireNeverUsesMoreThanSixSlots) {
    std::vector<AlienSpec> block;
    for (int i = 0; i < 10; ++i) {
        block.push_back({0, static_cast<VbInteger>(100 + 20 * i), 100, 1, -2, 1});
    }
    setAliens(block);
    f().AliensAlive = 0; // 9 dead: every eligible alien fires, the loop runs from 0
    for (int i = 0; i < 12; ++i) {
        Random::instance().queue(i == 0 ? 0.0f : 0.999f);
    }
    e().AlienShootTimer_Timer();
    for (const Sprite& s : f().AlienShotSprites) {
        EXPECT_TRUE(s.active);
    }
    EXPECT_EQ(played(103), 1); // the 50 ms gate lets one through
    Random::instance().clearQueue();
}

} // namespace
