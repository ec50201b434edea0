// A seeded game played on the test clock by a fixed steering rule, compared with a recorded
// run: the pane after every frame, the sounds in the order they started and the score,
// folded into one digest. Whatever changes what a tick draws, sounds or scores, or the
// order in which it does so where sprites overlap, changes the digest.
#include "EngineFixture.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class Digest {
public:
    void add(std::uint64_t v) {
        h_ ^= v;
        h_ *= 0x100000001B3ULL;
        h_ ^= h_ >> 29;
    }
    void add(const std::string& s) {
        for (const char c : s) {
            add(static_cast<std::uint64_t>(static_cast<unsigned char>(c)));
        }
        add(0xFFu);
    }
    void add(const QImage& img) {
        const uchar* bits = img.constBits();
        const auto n = static_cast<std::size_t>(img.sizeInBytes());
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, bits + i, 8);
            add(w);
        }
    }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0xCBF29CE484222325ULL;
};

struct RunTally {
    int frames = 0;
    int shipsLost = 0;
    int pickupsCaught = 0;
    bool mirrored = false;
    bool waver = false;
    bool swirler = false;
    bool twoCannons = false;
};

class RecordedRun : public testing::Test, public EngineFixture {
protected:
    void SetUp() override {
        std::vector<AlienSpec> block;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 8; ++c) {
                const int i = r * 8 + c;
                AlienSpec a;
                a.type = static_cast<VbInteger>(c == 7 ? 8 : c);
                a.x = static_cast<VbInteger>(60 + c * 40);
                a.y = static_cast<VbInteger>(80 + r * 30);
                a.hits = static_cast<VbInteger>(1 + (i % 3));
                a.drops = static_cast<VbInteger>(i % 2 == 0 ? (i / 2) % 10 : -2);
                a.shoots = static_cast<VbInteger>(r == 2 ? 1 : 0);
                a.score = static_cast<VbInteger>(10 * (c + 1));
                block.push_back(a);
            }
        }
        f().Levels = {makeLevel(block, 20, "Recorded")};
        initGame();
    }

    // Sweeps the ship between the pane's sides with the fire held, and digests every frame.
    std::uint64_t play(int frames, RunTally& tally) {
        GameForm& g = f();
        e().ResetPlayerData();
        e().StartLevel(g.StartFromLevel);
        g.FireHeld = true;
        g.ShootTimer.setEnabled(true);
        Digest d;
        bool goLeft = true;
        bool shipWasActive = g.ShipSprite.active;
        std::size_t soundsSeen = 0;
        for (int n = 0; n < frames; ++n) {
            Sprite& ship = g.ShipSprite;
            if (ship.X < 40) {
                goLeft = false;
            } else if (ship.X > 420) {
                goLeft = true;
            }
            const bool left = goLeft != static_cast<bool>(g.MirrorControls);
            ship.Left = toVbBool(left);
            ship.Right = toVbBool(!left);
            ship.UP = toVbBool(n % 150 > 140);
            ship.Down = toVbBool(n % 150 <= 10);
            const VbLong scoreBefore = g.Score;
            clock.advance(20);

            d.add(g.pMain->image());
            for (; soundsSeen < sounds.size(); ++soundsSeen) {
                d.add(sounds[soundsSeen]);
            }
            d.add(static_cast<std::uint64_t>(g.Score));
            d.add(static_cast<std::uint64_t>(g.LivesLeft));

            ++tally.frames;
            tally.shipsLost += shipWasActive && !ship.active ? 1 : 0;
            shipWasActive = ship.active;
            tally.pickupsCaught += g.Score - scoreBefore >= 1500 ? 1 : 0;
            tally.mirrored |= static_cast<bool>(g.MirrorControls);
            tally.waver |= g.MissileWaver;
            tally.swirler |= g.MissileSwirler;
            tally.twoCannons |= g.Cannons == 2;
        }
        return d.value();
    }
};

TEST_F(RecordedRun, SeededGameDrawsSoundsAndScoresAsRecorded) {
    RunTally tally;
    const std::uint64_t digest = play(6000, tally);
    // The run reaches what the digest is meant to guard.
    EXPECT_GE(tally.shipsLost, 1);
    EXPECT_GE(tally.pickupsCaught, 3);
    EXPECT_GE(played(101), 10);
    EXPECT_GE(played(109), 1);
    EXPECT_GT(f().Score, 0);
    EXPECT_TRUE(tally.mirrored);
    EXPECT_TRUE(tally.waver);
    EXPECT_TRUE(tally.swirler);
    EXPECT_TRUE(tally.twoCannons);
    EXPECT_EQ(digest, 0x18EB14D222AA1F33ULL);
}

} // namespace
