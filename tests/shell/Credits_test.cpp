#include "ShellPartsFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr VbLong W = 0xFFFFFF;
constexpr VbLong R = 0x0000FF;
constexpr VbLong G = 0x00FF00;
constexpr VbLong Y = 0x00FFFF;

TEST(Credits, ScriptHasItsThirtySevenPagesWithTheirTimesColoursAndSizes) {
    ShellPartsFixture fx;
    const std::vector<CreditRec>& c = fx.credits->Credits;
    const std::vector<int> durations{3000, 2000, 5000, 2000, 2000, 2000, 2000, 2000, 2000, 2000,
                                     2000, 3000, 2000, 3000, 2000, 5000, 2000, 2000, 2000, 3000,
                                     3000, 3000, 3000, 2000, 3000, 2000, 2000, 2000, 2000, 2000,
                                     2000, 2000, 2000, 3000, 3000, 4000, 6000};
    const std::vector<VbLong> colours{Y, W, R, W, W, W, W, W, W, W, W, W, W, W, W, W, W, W, W,
                                      W, W, W, W, G, G, W, W, W, W, W, W, W, R, Y, R, W, Y};
    ASSERT_EQ(c.size(), 37u);
    for (std::size_t i = 0; i < c.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c[i].Duration, durations[i]);
        EXPECT_EQ(c[i].Color, colours[i]);
        EXPECT_EQ(c[i].FadeParam, 0);
        EXPECT_EQ(c[i].FontSize, i == 0 ? 35.0f : i == 2 ? 24.0f : 10.0f);
    }
    EXPECT_EQ(c[0].Text, "Vantorix");
    EXPECT_EQ(c[1].Text, "A game by");
    EXPECT_EQ(c[2].Text, "Quillfen");
    EXPECT_EQ(c[3].Text, "Credits");
    EXPECT_EQ(c[18].Text, "Test & Support");
    EXPECT_EQ(c[23].Text, "And now some...");
    EXPECT_EQ(c[24].Text, "GREETINGS");
    EXPECT_EQ(c[31].Text, "");
    EXPECT_EQ(c[32].Text, "What the future will bring?");
}

TEST(Credits, PagesFollowOneAnotherAfterEachFadeOutAndWrapAfterTheLast) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    g.mnuFile.Enabled = false;
    fx.credits->StartCredits();
    fx.clock.advance(5);
    EXPECT_TRUE(g.mnuFile.Enabled);
    EXPECT_EQ(g.MessageText, "Vantorix");
    EXPECT_FALSE(g.CreditTimer.Enabled());
    EXPECT_EQ(g.HideMessage.Interval(), 3000);
    EXPECT_EQ(g.CreditIndex, 1);
    ASSERT_TRUE(fx.runUntil([&] { return g.MessageText == "A game by"; }, 10000));
    ASSERT_TRUE(fx.runUntil([&] { return g.MessageText == "Quillfen"; }, 10000));

    g.CreditIndex = 36;
    g.CreditTimer.setEnabled(true);
    fx.clock.advance(5);
    EXPECT_EQ(g.CreditIndex, 0);
    EXPECT_EQ(g.HideMessage.Interval(), 6000);
}

TEST(Credits, FastMessagesShortenEveryPageByOneSecond) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    g.mnuFastMessages.Checked = true;
    for (auto [index, ms] : {std::pair{1, 1000}, std::pair{36, 5000}, std::pair{0, 2000}}) {
        g.CreditIndex = static_cast<VbInteger>(index);
        fx.credits->CreditTimer_Timer();
        EXPECT_EQ(g.HideMessage.Interval(), ms) << index;
    }
}

TEST(Credits, PauseHoldsTheSequenceUntilItEnds) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    g.mnuFile.Enabled = false;
    g.Paused = true;
    fx.credits->StartCredits();
    fx.clock.advance(100);
    EXPECT_TRUE(g.mnuFile.Enabled);
    EXPECT_TRUE(g.MessageText.empty());
    EXPECT_TRUE(g.CreditTimer.Enabled());
    EXPECT_EQ(g.CreditIndex, 0);
    g.Paused = false;
    fx.clock.advance(5);
    EXPECT_EQ(g.MessageText, "Vantorix");
}

TEST(Credits, StopClearsTheRunAndNoFurtherPageFollows) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    fx.credits->StartCredits();
    fx.clock.advance(5);
    fx.credits->StopCredits();
    EXPECT_FALSE(g.CreditsRunning);
    EXPECT_FALSE(g.CreditTimer.Enabled());
    fx.clock.advance(10000);
    EXPECT_FALSE(g.CreditTimer.Enabled());
    EXPECT_EQ(g.CreditIndex, 1);
}

TEST(Credits, HiscoreOfTheEndedGameIsEnteredAtTheFirstPageAfterGameOver) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    fx.demo->StartDemo();
    fx.clock.advance(5);
    fx.demo->EndDemo();
    fx.startGame();
    EXPECT_FALSE(g.CreditsRunning);
    // No page comes while the level plays.
    fx.clock.advance(8000);
    EXPECT_EQ(g.MessageText.find("Vantorix"), std::string::npos);

    g.Score = 5000000;
    fx.e().GameOver();
    EXPECT_TRUE(g.HiscorePending);
    EXPECT_EQ(g.MessageText, "GAME OVER");
    // The name entry waits for the game-over message to fade out.
    ASSERT_TRUE(fx.runUntil([&] { return g.MessageText != "GAME OVER"; }, 10000));
    EXPECT_EQ(fx.nameEntries, 0);
    ASSERT_TRUE(fx.runUntil([&] { return fx.nameEntries > 0; }, 100));
    EXPECT_FALSE(g.HiscorePending);
    EXPECT_EQ(g.MessageText, "Vantorix");
    EXPECT_EQ(g.LevelSet.Hiscores[0].Score, 5000000);
    EXPECT_EQ(g.LevelSet.Hiscores[0].Name, "TESTER");
    // Once only.
    fx.clock.advance(20000);
    EXPECT_EQ(fx.nameEntries, 1);
}

// The name entry is modal and ticks go on meanwhile: the score it enters is taken before
// it opens, so neither a credits tick nor the window's unload can enter or upload it again.
TEST(Credits, AScoreIsEnteredAndUploadedOnceWhateverRunsDuringTheNameEntry) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    int uploads = 0;
    g.LevelSet.seams.internetMode = [] { return true; };
    g.LevelSet.seams.sendHiscore = [&](VbLong, VbLong, const std::string&) { ++uploads; };
    bool pendingDuringEntry = true;
    bool timerDuringEntry = true;
    g.LevelSet.seams.showHiscoreNameEntry = [&] {
        ++fx.nameEntries;
        pendingDuringEntry = g.HiscorePending;
        timerDuringEntry = g.CreditTimer.Enabled();
        // A tick that comes while the box is open.
        if (fx.nameEntries == 1) {
            fx.credits->CreditTimer_Timer();
        }
        programHiscoreGlobals().LastHiscoreName = "TESTER";
    };
    g.Score = 5000000;
    g.HiscorePending = true;
    g.CreditTimer.setEnabled(true);
    fx.credits->CreditTimer_Timer();
    EXPECT_EQ(fx.nameEntries, 1);
    EXPECT_EQ(uploads, 1);
    EXPECT_FALSE(pendingDuringEntry);
    EXPECT_FALSE(timerDuringEntry);
    EXPECT_FALSE(g.HiscorePending);
    fx.clock.advance(20000);
    EXPECT_EQ(fx.nameEntries, 1);
    EXPECT_EQ(uploads, 1);
}

} // namespace
