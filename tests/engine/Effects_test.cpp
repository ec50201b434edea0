// The message overlay, displays, pop-ups, flash, shake, pause blink and the freeze bar.
#include "EngineFixture.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

class Effects : public testing::Test, public EngineFixture {
protected:
    void SetUp() override { initGame(); }
    int pixelsOf(const Surface& s, std::int32_t c) {
        int n = 0;
        for (int y = 0; y < s.Height(); ++y) {
            for (int x = 0; x < s.Width(); ++x) {
                n += s.Point(x, y) == c ? 1 : 0;
            }
        }
        return n;
    }
};

TEST_F(Effects, MessageLinesSizeAndPlace) {
    Surface& disp = *f().PicDisp;
    e().PrintMessage("AB", -1, -1, -1, 12);
    const int line = disp.TextHeight("AB");
    EXPECT_EQ(disp.Height(), line);
    e().PrintMessage("Wide line||B", -1, -1, -1, 12);
    EXPECT_EQ(disp.Height(), 3 * disp.TextHeight("x"));
    EXPECT_EQ(disp.Width(), disp.TextWidth("Wide line"));
    EXPECT_EQ(f().PicDispView.Left, 480 / 2.0 - disp.Width() / 2.0);
    EXPECT_EQ(f().PicDispView.Top, 420 / 2.0 - disp.Height() / 2.0);
    EXPECT_TRUE(f().PicDispView.Visible);
    // Font size 0 is taken as 1.
    e().PrintMessage("x", -1, -1, -1, 0);
    EXPECT_EQ(disp.FontSize(), 1);
}

TEST_F(Effects, MessageWithoutFadeIsPaintedInItsOwnColourOverThePane) {
    f().MessageColor = 0x123456; // left over from an earlier fade
    e().PrintMessage("GAME", -1, 0xFF0000, -1, 24);
    EXPECT_EQ(f().MessageColor, 0xFF0000);
    // Text pixels are the colour OR the pane below; the rest shows the pane.
    EXPECT_GT(pixelsOf(*f().PicDisp, 0xFF0000 | pics::Background), 0);
    EXPECT_EQ(pixelsOf(*f().PicDisp, 0x123456 | pics::Background), 0);
    EXPECT_GT(pixelsOf(*f().PicDisp, pics::Background), 0);
    e().PrintMessage("GAME", -1, -1, 0, 24); // colour -1: yellow at once
    EXPECT_EQ(f().MessageColor, 0xFFFF);
    EXPECT_FALSE(f().FadeTimer.Enabled());
}

TEST_F(Effects, FadeInThenTimedFadeOut) {
    e().PrintMessage("Hello", 1000, 0xFFFF, 0, 12);
    EXPECT_TRUE(f().FadeTimer.Enabled());
    std::vector<VbLong> colours;
    f().FadeTimer.onTick = [&] {
        e().FadeTimer_Timer();
        colours.push_back(f().MessageColor);
    };
    clock.advance(30UL * 22);
    ASSERT_EQ(colours.size(), 22u); // 21 colours, then the tick that ends the fade
    EXPECT_EQ(colours.front(), 0);
    EXPECT_EQ(colours[20], 0xFFFF);
    EXPECT_FALSE(f().FadeTimer.Enabled());
    // The display time ends: fade to black, hidden, nothing else follows.
    EXPECT_TRUE(runUntil([&] { return f().MessageFadeState == 1; }, 400));
    EXPECT_TRUE(runUntil([&] { return !f().PicDispView.Visible; }, 1000));
    EXPECT_EQ(f().MessageFadeState, 2);
    EXPECT_EQ(f().MessageColor, 0);
    EXPECT_TRUE(f().MessageText.empty());
    EXPECT_FALSE(f().PaintDisplayTimer.Enabled());
    EXPECT_FALSE(f().CreditTimer.Enabled());
}

TEST_F(Effects, NegativeDurationStaysUntilHidden) {
    e().PrintMessage("Stay", -1, -1, -1, 12);
    clock.advance(10000);
    EXPECT_TRUE(f().PicDispView.Visible);
    e().HideMessageNOW();
    EXPECT_FALSE(f().PicDispView.Visible);
    EXPECT_FALSE(f().PaintDisplayTimer.Enabled());
    EXPECT_EQ(f().HideMessage.Interval(), 0);
}

// Hidden at once in whatever state the overlay was: a fade already under way neither
// goes on nor ends in its follow-up (the game start, the next credits page).
TEST_F(Effects, HiddenNowMidFadeHasNoFollowUp) {
    struct Case {
        const char* state;
        int ms; // how long the message shows before it is hidden
    };
    for (const Case c : {Case{"fading in", 60}, Case{"shown", 800}, Case{"fading out", 1200}}) {
        SCOPED_TRACE(c.state);
        initGame();
        f().CreditsRunning = true;
        f().LevelStarting = true;
        f().MainLoop.setEnabled(false);
        e().PrintMessage("GET READY", 1000, 0xFFFF, 0, 12);
        clock.advance(c.ms);
        ASSERT_TRUE(f().PicDispView.Visible);
        e().HideMessageNOW();
        EXPECT_FALSE(f().FadeTimer.Enabled());
        EXPECT_FALSE(f().HideFade.Enabled());
        clock.advance(5000);
        EXPECT_FALSE(f().PicDispView.Visible);
        EXPECT_FALSE(f().CreditTimer.Enabled()) << "no credits page follows";
        EXPECT_FALSE(f().MainLoop.Enabled()) << "no game start follows";
        EXPECT_TRUE(f().LevelStarting);
    }
}

TEST_F(Effects, AutoPauseStartsEveryLevelPausedAfterItsAnnouncement) {
    f().Levels = {makeLevel({{0, 200, 100}}, 10, "One")};
    f().mnuWaitForFire.Checked = true;
    int pauses = 0;
    e().SetPause = [&] {
        ++pauses;
        f().Paused = true;
    };
    VbInteger level = 0;
    e().StartLevel(level);
    ASSERT_TRUE(runUntil([&] { return !f().LevelStarting; }, 5000));
    EXPECT_EQ(pauses, 1);
    EXPECT_TRUE(f().WaitingForFire);
    EXPECT_FALSE(f().PlaceShipTimer.Enabled());
    EXPECT_TRUE(f().Paused);
}

TEST_F(Effects, ScoreAndLevelTexts) {
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    const std::pair<VbLong, const char*> cases[] = {
        {0, "000"}, {7, "007"}, {1500, "1,500"}, {999999, "999,999"}, {1234567, "1,234,567"}};
    for (const auto& [score, text] : cases) {
        EXPECT_EQ(FormatPoints(score), text);
    }
    // The display draws the text in black, then in yellow one pixel down and right.
    f().Score = 1500;
    e().UpdatePointsDisplay();
    EXPECT_GT(pixelsOf(*f().ScoreBG, 0xFFFF), 0);
    EXPECT_GT(pixelsOf(*f().ScoreBG, 0), 0);
    QLocale::setDefault(saved);
}

// The score display is the one number the player's locale groups: both test locales
// group thousands with a point.
TEST(EffectsUnderLocale, ScoreGroupsThousandsAsTheLocaleDoes) {
    EXPECT_EQ(FormatPoints(7), "007");
    EXPECT_EQ(FormatPoints(1500), "1.500");
    EXPECT_EQ(FormatPoints(1234567), "1.234.567");
}

TEST_F(Effects, PopupsRiseAndRetireIncludingOneStartedNearTheTop) {
    f().GameOverFlag = false;
    Sprite& small = f().BonusSprites[0];
    e().AddBonus(1, 100, 200, false);
    Sprite& big = f().EBonusSprite;
    e().AddBonus(0, 0, 0, true);
    EXPECT_EQ(big.X, 240 - 30);
    EXPECT_EQ(big.y, 210 - 10);
    EXPECT_EQ(big.ZY, big.y + 30);
    int ticks = 0;
    while (small.active && ticks < 100) {
        e().MainLoop_Timer();
        ++ticks;
    }
    EXPECT_EQ(ticks, 52); // 51 pixels up, then erased
    EXPECT_EQ(f().pMain->Point(110, 152), pics::Background);
    // A big pop-up that starts close to the top leaves once it is wholly above the pane.
    big.y = 5;
    big.ZY = 35;
    ticks = 0;
    while (big.active && ticks < 200) {
        e().MainLoop_Timer();
        ++ticks;
    }
    EXPECT_FALSE(big.active);
    EXPECT_EQ(ticks, 26);
    EXPECT_FALSE(e().MovingObjects());
}

TEST_F(Effects, FlashLastsOneInterval) {
    e().FlashNow(40);
    clock.advance(40);
    EXPECT_EQ(f().pMain->Point(10, 10), 0xFFFFFF);
    clock.advance(40);
    EXPECT_EQ(f().pMain->Point(10, 10), pics::Background);
    EXPECT_FALSE(f().FlashTimer.Enabled());
}

TEST_F(Effects, ShakeJoltsThenGlidesBackToWhereThePaneWas) {
    f().Pane.Left = -50; // displaced before the shake
    f().Pane.Top = 12;
    e().ShakeNow(15);
    int jolts = 0;
    f().ShakeTimer.onTick = [&] {
        const bool returning = e().ShakeReturning;
        e().ShakeTimer_Timer();
        if (!returning && !e().ShakeReturning) {
            ++jolts;
        }
    };
    clock.advance(30UL * 5);
    e().ShakeNow(30); // only the strength changes
    EXPECT_EQ(e().ShakeCounter, 10);
    ASSERT_TRUE(runUntil([&] { return !f().ShakeTimer.Enabled(); }, 10000));
    EXPECT_EQ(jolts, 13);
    EXPECT_EQ(f().Pane.Left, -50);
    EXPECT_EQ(f().Pane.Top, 12);
    EXPECT_EQ(e().ShakeCounter, 0);
    EXPECT_FALSE(e().ShakeReturning);
    // The cheat box keeps the pane still.
    f().CheatMode = true;
    f().CheatCheckShakeOff = true;
    e().ShakeNow(15);
    EXPECT_FALSE(f().ShakeTimer.Enabled());
}

TEST_F(Effects, PauseLabelBlinksWhilePaused) {
    f().Paused = true;
    f().PauseTimer.setEnabled(true);
    clock.advance(500);
    EXPECT_TRUE(f().lbPause.Visible);
    clock.advance(500);
    EXPECT_FALSE(f().lbPause.Visible);
    clock.advance(500);
    f().Paused = false;
    clock.advance(500);
    EXPECT_FALSE(f().lbPause.Visible);
    EXPECT_FALSE(f().PauseTimer.Enabled());
}

class MidnightFreeze : public testing::Test, public EngineFixture {
public:
    MidnightFreeze() : EngineFixture(86400.0 - 0.5) {}
};

TEST_F(MidnightFreeze, FreezeBarShrinksPerSecondAcrossMidnight) {
    initGame();
    f().Levels = {makeLevel({{0, 200, 100}}, 10, "One")};
    VbInteger level = 0;
    e().InitLevel(level);
    f().FreezeStartTime = clock.timeOfDay();
    f().FrozenAliensTimer.setInterval(4000);
    f().FrozenAliensTimer.setEnabled(true);
    f().FrozenAliensCounter.setEnabled(true);
    f().TimeScalaView.Visible = true;
    // The march and alien fire wait while frozen.
    e().MoveAliensTimer_Timer();
    EXPECT_EQ(f().Aliens[0].zX, 200);
    clock.advance(1000); // 00:00:00.5, one second in
    const Surface& bar = *f().TimeScala;
    EXPECT_EQ(bar.Point(74, 4), 255);
    EXPECT_NE(bar.Point(76, 4), 255);
    clock.advance(3000);
    EXPECT_FALSE(f().FrozenAliensTimer.Enabled()); // the freeze is over
    EXPECT_TRUE(f().TimeScalaView.Visible);        // the bar hides half a second later
    ASSERT_TRUE(runUntil([&] { return !f().TimeScalaView.Visible; }, 1000));
    EXPECT_FALSE(f().FrozenAliensCounter.Enabled());
}

} // namespace

namespace {

TEST_F(Effects, WhilePausedOnlyTheScreenEffectsRun) {
    f().Levels = {makeLevel({{0, 200, 100, 1, -2, 1}}, 10, "One")};
    VbInteger level = 0;
    e().StartLevel(level);
    ASSERT_TRUE(runUntil([&] { return !f().LevelStarting; }, 5000));
    ASSERT_TRUE(runUntil([&] { return !f().PlaceShipTimer.Enabled(); }, 3000));
    Sprite& shot = f().Shots[0];
    shot.active = VbTrue;
    shot.X = 10;
    shot.y = 300;
    f().FrozenAliensTimer.setInterval(4000);
    f().FrozenAliensTimer.setEnabled(true);
    f().Paused = true;
    const float zx = f().Aliens[0].zX;
    const auto pumps = clock.pumps();
    e().ShakeNow(15);
    e().FlashNow(40);
    clock.advance(10000);
    EXPECT_EQ(f().Aliens[0].zX, zx);
    EXPECT_EQ(shot.y, 300);
    EXPECT_TRUE(f().FrozenAliensTimer.Enabled()); // the freeze waits too
    EXPECT_TRUE(f().CantDieTimer.Enabled());      // and so does the invulnerability
    EXPECT_EQ(f().ShipState, 1);
    EXPECT_FALSE(f().ShakeTimer.Enabled()); // ran to its end
    EXPECT_FALSE(f().FlashTimer.Enabled());
    EXPECT_GT(clock.pumps(), pumps); // the main tick let events run
    f().Paused = false;
    ASSERT_TRUE(runUntil([&] { return shot.y < 300; }, 100));
}

} // namespace
