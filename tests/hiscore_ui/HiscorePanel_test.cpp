#include "Clock.h"
#include "Color.h"
#include "GameForm.h"
#include "HiscorePanel.h"
#include "HiscoreText.h"
#include "ManualClock.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

constexpr std::int32_t Red = 255;
constexpr std::int32_t Yellow = 0x00FFFF;
constexpr std::int32_t PickupColour = 0x00C000;
constexpr std::int32_t WeaponColour = 0xC00000;

// A frame picture: a colour block over its mask (black shape on white).
std::shared_ptr<Surface> framePicture(int w, int h, std::int32_t colour) {
    auto s = std::make_shared<Surface>(w, 2 * h);
    s->FilledBox(0, 0, w - 1, h - 1, colour);
    s->FilledBox(0, h, w - 1, 2 * h - 1, 0);
    return s;
}

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    int count = 0;
};
Box boundsOf(const Surface& s, std::int32_t colour) {
    Box b;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            if (s.Point(x, y) == colour) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
                ++b.count;
            }
        }
    }
    return b;
}

class Panel : public testing::Test {
protected:
    Panel() {
        Clock::install(&clock);
        form = std::make_unique<GameForm>();
        f().HiscoreFader.setStartColor(0x404040);
        f().HiscoreFader.setEndColor(255);
        f().HiscoreFader.setSteps(30);
        f().HiscoreFader.setPingPong(VbTrue);
        f().LevelSet.ResetHiscore();
        for (int t = 0; t < 10; ++t) {
            f().RndDropsSprite.AddPicture(framePicture(16, 16, PickupColour + t));
        }
        for (int w = 0; w < 4; ++w) {
            f().WeaponIcon.AddPicture(framePicture(5, 10, WeaponColour));
        }
        panel = std::make_unique<HiscorePanel>(f());
    }
    ~Panel() override {
        panel.reset();
        form.reset();
        Clock::install(nullptr);
    }
    GameForm& f() { return *form; }
    const Surface& pic() { return *f().hPic; }

    ManualClock clock{1000, 12 * 3600.0};
    std::unique_ptr<GameForm> form;
    std::unique_ptr<HiscorePanel> panel;
};

} // namespace

TEST(HiscoreText, RowsOfThePanel) {
    EXPECT_EQ(groupedNineDigits(12345), "000,012,345");
    EXPECT_EQ(groupedNineDigits(0), "000,000,000");
    EXPECT_EQ(groupedNineDigits(2147483647), "2,147,483,647");
    EXPECT_EQ(groupedNineDigits(-5), "-000,000,005");
    EXPECT_EQ(hiscoreRow(1, 5000, 1, "LONGERNAME"), "01 000,005,000 01 LONGERNA");

    HiscoreTable t = defaultHiscores();
    const PanelRows idle = hiscorePanelRows(t, false, 3, 4750, 7);
    EXPECT_EQ(idle.Live, -1);
    EXPECT_EQ(idle.Text[3], "04 000,004,700 01 ");
    EXPECT_EQ(idle.Text[9], "10 000,004,100 01 ....");

    // A score between the 3rd and 4th entries: live at place 04, the rest one down.
    const PanelRows live = hiscorePanelRows(t, true, 3, 4750, 7);
    EXPECT_EQ(live.Live, 3);
    EXPECT_EQ(live.Text[2], "03 000,004,800 01 TRY?");
    EXPECT_EQ(live.Text[3], "04 000,004,750 07 ********");
    EXPECT_EQ(live.Text[4], "05 000,004,700 01 ");
    EXPECT_EQ(live.Text[9], "10 000,004,200 01 ....");
    EXPECT_EQ(hiscorePanelRows(t, true, -1, 10, 1).Text, idle.Text);
}

// The panel's pattern is its own: commas under every locale.
TEST(HiscoreTextUnderLocale, RowsGroupWithCommas) {
    EXPECT_EQ(groupedNineDigits(2147483647), "2,147,483,647");
    EXPECT_EQ(hiscoreRow(1, 5000, 1, "ISTANBUL"), "01 000,005,000 01 ISTANBUL");
}

TEST(HiscoreText, TheVersionLine) {
    EXPECT_EQ(HiscorePanel::versionText(), "VERSION 4.0.0");
}

TEST_F(Panel, TheLivePlaceIsABoxedPulsingRow) {
    panel->PrintHiscores();
    EXPECT_EQ(boundsOf(pic(), Red).count, 0);
    EXPECT_GT(boundsOf(pic(), Yellow).count, 0);

    f().GameOverFlag = false;
    f().Score = 4750; // between the 3rd and the 4th
    panel->PrintHiscores();
    const Box box = boundsOf(pic(), Red);
    ASSERT_GT(box.count, 0);
    EXPECT_LE(box.left, 2);
    EXPECT_GE(box.right, pic().Width() - 3);
    // The live row's text is in the fader's first colour, inside the box.
    const Box text = boundsOf(pic(), 0x404040);
    ASSERT_GT(text.count, 0);
    EXPECT_GT(text.top, box.top);
    EXPECT_LT(text.bottom, box.bottom);
    EXPECT_GT(text.left, box.left);
    // Three rows above it, six below.
    const Box yellow = boundsOf(pic(), Yellow);
    EXPECT_LT(yellow.top, box.top);
    EXPECT_GT(yellow.bottom, box.bottom);
    // It pulses: the next repaint takes the fader's next colour.
    panel->PrintHiscores();
    EXPECT_EQ(boundsOf(pic(), 0x404040).count, 0);
    EXPECT_EQ(boundsOf(pic(), Red).top, box.top);

    // A score below the table: no live row.
    f().Score = 100;
    panel->PrintHiscores();
    EXPECT_EQ(boundsOf(pic(), Red).count, 0);
}

// The panel is repainted every tick, yet a row, caption or number that did not change is
// not laid out again; the live place still pulses and the globe still blinks.
TEST_F(Panel, RepaintsWithoutLayingOutUnchangedText) {
    f().GameOverFlag = false;
    f().Score = 4750;
    f().MissileWaver = true;
    f().mnuUseInternetHiscore.Checked = true;
    panel->HiscorePrintTimer_Timer();
    const std::uint64_t renders = pic().textRenders();
    EXPECT_GT(renders, 0u);
    std::vector<bool> globe;
    QImage last = pic().image().copy();
    int pulses = 0;
    for (int tick = 0; tick < 45; ++tick) {
        panel->HiscorePrintTimer_Timer();
        pulses += pic().image() != last ? 1 : 0;
        last = pic().image().copy();
        globe.push_back(f().InternetModePic.Visible);
    }
    EXPECT_EQ(pic().textRenders(), renders);
    EXPECT_EQ(pulses, 45) << "the live row and the missile name take the fader's next colour";
    EXPECT_NE(std::count(globe.begin(), globe.end(), true), 0);
    EXPECT_NE(std::count(globe.begin(), globe.end(), false), 0);

    // A new score is a new row: laid out once, then kept.
    f().Score = 4760;
    panel->HiscorePrintTimer_Timer();
    const std::uint64_t afterScore = pic().textRenders();
    EXPECT_GT(afterScore, renders);
    panel->HiscorePrintTimer_Timer();
    EXPECT_EQ(pic().textRenders(), afterScore);
}

// The panel is drawn whole every tick, but its view is asked to repaint only what differs:
// the pulsing live row, and nothing at all once the game is over and the panel is still.
TEST_F(Panel, AsksItsViewToRepaintOnlyThePixelsThatChanged) {
    std::vector<QRegion> asked;
    QObject::connect(f().hPic.get(), &Surface::changed,
                     [&](const QRegion& area) { asked.push_back(area); });
    f().GameOverFlag = false;
    f().Score = 4750;
    panel->HiscorePrintTimer_Timer();
    asked.clear();
    for (int tick = 0; tick < 10; ++tick) {
        panel->HiscorePrintTimer_Timer();
    }
    ASSERT_EQ(asked.size(), 10u) << "the live row pulses every tick";
    for (const QRegion& area : asked) {
        EXPECT_LE(area.boundingRect().height(), 20) << "one row, not the panel";
        EXPECT_GE(area.boundingRect().top(), 100) << "the captions above stay as they were";
    }

    f().GameOverFlag = true;
    panel->HiscorePrintTimer_Timer();
    asked.clear();
    panel->HiscorePrintTimer_Timer();
    panel->HiscorePrintTimer_Timer();
    EXPECT_TRUE(asked.empty());
}

TEST_F(Panel, PickupsShowForFiveSeconds) {
    f().GameOverFlag = false;
    const double now = clock.timeOfDay();
    f().RecentPickups[0] = {2, now - 4.9};
    f().RecentPickups[1] = {5, now - 5.0};
    f().RecentPickups[2] = {7, now - 1.0};
    f().RecentPickups[3] = {-1, now};
    f().RecentPickups[4] = {3, now - 100};
    f().RecentPickups[5] = {3, now - 100};
    panel->PrintHiscores();
    const Box two = boundsOf(pic(), PickupColour + 2);
    const Box seven = boundsOf(pic(), PickupColour + 7);
    EXPECT_EQ(two.count, 16 * 16);
    EXPECT_EQ(seven.count, 16 * 16);
    EXPECT_EQ(boundsOf(pic(), PickupColour + 5).count, 0);
    // One row, centred, about y = 305.
    EXPECT_EQ(two.top, 297);
    EXPECT_EQ(seven.top, 297);
    EXPECT_EQ(two.left, pic().Width() - 1 - seven.right);
    EXPECT_LT(two.right, seven.left);
    // The weapon below, twice with double cannons; none while no game is in play.
    EXPECT_EQ(boundsOf(pic(), WeaponColour).count, 5 * 10);
    EXPECT_GT(boundsOf(pic(), WeaponColour).top, two.bottom);
    f().Cannons = 2;
    panel->PrintHiscores();
    EXPECT_EQ(boundsOf(pic(), WeaponColour).count, 2 * 5 * 10);
    f().GameOverFlag = true;
    panel->PrintHiscores();
    EXPECT_EQ(boundsOf(pic(), WeaponColour).count, 0);
    EXPECT_EQ(boundsOf(pic(), PickupColour + 2).count, 0);
}

// The five seconds run on the time of day, which starts again at midnight: a pickup caught
// just before it goes five seconds later, as at noon, and not a day later.
TEST_F(Panel, PickupsShowForFiveSecondsAcrossMidnight) {
    struct Case {
        double caught; // time of day, seconds
        double now;
        bool shown;
    };
    const Case cases[] = {
        {43200.0, 43204.9, true},
        {43200.0, 43205.0, false},
        {43200.0, 43260.0, false},
        {86398.0, 86399.9, true},
        {86398.0, 2.9, true},
        {86398.0, 3.0, false},
        {86398.0, 58.0, false},
        {86399.5, 0.0, true},
        {0.0, 4.9, true},
        {0.0, 5.0, false},
        {86397.0, 86402.0 - 86400.0, false},
    };
    f().GameOverFlag = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.caught) + " -> " + std::to_string(c.now));
        ManualClock at(1000, c.now);
        Clock::install(&at);
        f().RecentPickups[0] = {2, c.caught};
        panel->PrintHiscores();
        EXPECT_EQ(boundsOf(pic(), PickupColour + 2).count, c.shown ? 16 * 16 : 0);
        Clock::install(&clock);
    }
}

TEST_F(Panel, SpecialMissilesWobbleTheWeaponAndShowTheirName) {
    f().GameOverFlag = false;
    f().Cannons = 2;
    f().MissileSwirler = true;
    panel->PrintHiscores();
    EXPECT_DOUBLE_EQ(panel->WobbleA, 0.2);
    const Box first = boundsOf(pic(), WeaponColour);
    // The second icon moves against the first: the pair stays centred on the panel.
    EXPECT_EQ(first.left + first.right, pic().Width() - 1);
    EXPECT_GT(boundsOf(pic(), 0x404040).count + boundsOf(pic(), Red).count, 0);
    // The missile text is bold, below the weapon, in the fader's colour.
    int textPixelsLow = 0;
    for (int y = 395; y < pic().Height(); ++y) {
        for (int x = 0; x < pic().Width(); ++x) {
            textPixelsLow += pic().Point(x, y) != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(textPixelsLow, 0);
    f().MissileSwirler = false;
    panel->PrintHiscores();
    EXPECT_DOUBLE_EQ(panel->WobbleA, 0.2); // only while a special missile is on
}

// The missile's name belongs to the game in play: after game over the flags are still set
// until the next game resets them, yet the panel shows no name.
TEST_F(Panel, MissileNameOnlyWhileAGameIsInPlay) {
    struct Case {
        bool inPlay;
        bool waver;
        bool swirler;
        bool named;
    };
    const Case cases[] = {{true, true, false, true},
                          {true, false, true, true},
                          {true, false, false, false},
                          {false, true, false, false},
                          {false, false, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.inPlay) + std::to_string(c.waver) +
                     std::to_string(c.swirler));
        f().GameOverFlag = !c.inPlay;
        f().MissileWaver = c.waver;
        f().MissileSwirler = c.swirler;
        panel->PrintHiscores();
        int textPixelsLow = 0;
        for (int y = 395; y < pic().Height(); ++y) {
            for (int x = 0; x < pic().Width(); ++x) {
                textPixelsLow += pic().Point(x, y) != 0 ? 1 : 0;
            }
        }
        EXPECT_EQ(textPixelsLow > 0, c.named);
    }
}

TEST_F(Panel, TheGlobeBlinksOnlyInInternetMode) {
    f().mnuUseInternetHiscore.Checked = true;
    std::vector<int> toggles;
    bool was = f().InternetModePic.Visible;
    for (int tick = 1; tick <= 63; ++tick) {
        panel->HiscorePrintTimer_Timer();
        if (f().InternetModePic.Visible != was) {
            toggles.push_back(tick);
            was = f().InternetModePic.Visible;
        }
    }
    EXPECT_EQ(toggles, (std::vector<int>{21, 42, 63}));
    ASSERT_TRUE(f().InternetModePic.Visible);
    f().mnuUseInternetHiscore.Checked = false;
    panel->HiscorePrintTimer_Timer();
    EXPECT_FALSE(f().InternetModePic.Visible);
}

// A tick that changes nothing but the pulse and the wobble draws the live row and the
// weapon's band alone (and nothing without either), and the panel then looks exactly as a
// whole new print of it would. A weapon icon so tall that its wobble reaches the pickups
// leaves no band to itself: the panel then prints whole.
TEST_F(Panel, ATickThatChangesNothingButThePulseDrawsOnlyWhatMoves) {
    const double now = clock.timeOfDay();
    f().WeaponIcon.AddPicture(framePicture(5, 60, WeaponColour));
    const VbInteger tallIcon = f().WeaponIcon.PictureCount();
    struct Case {
        bool inPlay;
        VbLong score;
        VbInteger cannons;
        bool waver = false;
        bool swirler = false;
        bool tall = false;
    };
    for (const Case& c : {Case{false, 0, 1}, Case{true, 10, 1}, Case{true, 4750, 2},
                          Case{true, 10, 1, true}, Case{true, 4750, 2, false, true},
                          Case{false, 4750, 2, true}, Case{true, 4750, 1, true, false, true}}) {
        SCOPED_TRACE(std::to_string(c.inPlay) + " " + std::to_string(c.score) + " " +
                     std::to_string(c.waver) + std::to_string(c.swirler) + std::to_string(c.tall));
        f().Weapon = c.tall ? tallIcon : 0;
        f().GameOverFlag = !c.inPlay;
        f().Score = c.score;
        f().Cannons = c.cannons;
        f().MissileWaver = c.waver;
        f().MissileSwirler = c.swirler;
        f().RecentPickups[0] = {2, now - 1.0};
        panel->HiscorePrintTimer_Timer();
        f().hPic->PSet(0, 0, 0x123456); // the panel's pixels are no longer its own
        const std::uint64_t before = pic().drawnPixels();
        panel->HiscorePrintTimer_Timer();
        const std::uint64_t fullPrint = pic().drawnPixels() - before;
        ASSERT_GT(fullPrint, 0u);

        const ColorFader fader = f().HiscoreFader;
        const std::uint64_t quiet = pic().drawnPixels();
        panel->HiscorePrintTimer_Timer();
        const std::uint64_t pulse = pic().drawnPixels() - quiet;
        const bool wobbles = c.inPlay && (c.waver || c.swirler);
        const bool moves = (c.inPlay && c.score > 4100) || wobbles;
        EXPECT_EQ(pulse == 0, !moves);
        const QImage quick = pic().image().copy();

        // The same tick again, printed whole.
        f().HiscoreFader = fader;
        panel->WobbleA -= wobbles ? 0.2 : 0;
        panel->WobbleB -= wobbles ? 0.2 : 0;
        f().hPic->PSet(0, 0, 0x123456);
        panel->HiscorePrintTimer_Timer();
        EXPECT_EQ(pic().image(), quick);
        if (c.tall) {
            EXPECT_GE(pulse * 3, fullPrint) << "drew a band the pickups reach into";
        } else {
            EXPECT_LT(pulse * 3, fullPrint) << "the whole panel printed again";
        }
    }
}
