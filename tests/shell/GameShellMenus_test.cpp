#include "CreditsSequence.h"
#include "LevelsAndHiscores.h"
#include "Settings.h"
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void newGame(WindowFixture& w) {
    w.enableGameMenu();
    w.s().mnuNewGame_Click();
    ASSERT_FALSE(w.f().GameOverFlag);
}

} // namespace

TEST(GameShellMenus, OptionsAreSavedAtEveryExitAsTrueOrFalse) {
    WindowFixture w;
    w.start();
    const QString table = QString::fromStdString(w.folder() + "Original_levels/data.hsc");
    QFile::remove(table);
    w.s().mnuShipShootSounds_Click();
    w.s().mnuFastMessages_Click();
    w.s().mnuWaitForFire_Click();
    w.s().mnuWaitForFire_Click();
    VbInteger cancel = 0;
    w.s().Form_QueryUnload(cancel, 0);
    EXPECT_EQ(cancel, 0);
    EXPECT_TRUE(w.window.ended);
    EXPECT_TRUE(w.dialogs.calls().empty()); // no game: nothing asked
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } expected[] = {{"sfx", "sfx", "False"}, // -nosfx
                    {"sfx", "music", "True"},
                    {"sfx", "shipshoot", "True"},
                    {"sfx", "alienshoot", "True"},
                    {"sfx", "explosions", "True"},
                    {"General", "InternetMode", "False"},
                    {"General", "WaitForFire", "False"},
                    {"General", "FastMessages", "False"}};
    for (const auto& e : expected) {
        EXPECT_EQ(w.setting(e.section, e.key), e.value) << e.key;
    }
    EXPECT_TRUE(w.music.closed);
    EXPECT_GE(w.music.stops, 1);
    EXPECT_TRUE(QFile::exists(table));
}

TEST(GameShellMenus, ClosingWhileTheScoreIsUploadedEntersItOnce) {
    WindowFixture w;
    w.start();
    CreditsSequence credits(w.f(), *w.engine);
    GameForm& f = w.f();
    f.mnuUseInternetHiscore.Checked = true;
    f.mnuFile.Enabled = true;
    f.GameOverFlag = true;
    f.HiscorePending = true;
    f.Score = 9000000;
    int entries = 0;
    int uploads = 0;
    f.LevelSet.seams.showHiscoreNameEntry = [&] {
        ++entries;
        programHiscoreGlobals().LastHiscoreName = "ME";
    };
    f.LevelSet.seams.sendHiscore = [&](VbLong, VbLong, const std::string&) {
        ++uploads;
        // The window is closed while the server is awaited.
        VbInteger cancel = 0;
        w.s().Form_QueryUnload(cancel, 0);
    };
    credits.CreditTimer_Timer();
    EXPECT_TRUE(w.window.ended);
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(uploads, 1);
    EXPECT_EQ(f.LevelSet.Hiscores[0].Score, 9000000);
    EXPECT_NE(f.LevelSet.Hiscores[1].Score, 9000000);
}

TEST(GameShellMenus, OptionsThatCannotBeSavedAreReportedOnceAndTheExitGoesOn) {
    WindowFixture w;
    w.start();
    // The settings file turned into a folder: no option can be written.
    const QString ini = QString::fromStdString(settingsFilePath("Vantorix"));
    QFile::remove(ini);
    ASSERT_TRUE(QDir().mkpath(ini));
    const QString table = QString::fromStdString(w.folder() + "Original_levels/data.hsc");
    QFile::remove(table);
    VbInteger cancel = 0;
    w.s().Form_QueryUnload(cancel, 0);
    EXPECT_TRUE(w.window.ended);
    ASSERT_EQ(w.dialogs.calls().size(), 1u);
    EXPECT_EQ(w.dialogs.calls()[0].prompt,
              "ERROR! Unable to save the options!\r\n\r\nPath/File access error: \"" +
                  ini.toStdString() + "\" is a folder, not a file");
    EXPECT_EQ(w.dialogs.calls()[0].style, mb::Exclamation);
    // The steps after it still ran.
    EXPECT_TRUE(QFile::exists(table));
}

TEST(GameShellMenus, ClosingWhileLoadingIsRefusedSilently) {
    WindowFixture w;
    w.start("-nosfx"); // the intro runs; InitGame has not begun
    VbInteger cancel = 0;
    w.s().Form_QueryUnload(cancel, 0);
    EXPECT_EQ(cancel, 1);
    EXPECT_FALSE(w.window.ended);
    EXPECT_TRUE(w.dialogs.calls().empty());
}

TEST(GameShellMenus, QuitDuringPlayAsksAndCancelGivesThePauseBack) {
    WindowFixture w;
    w.start();
    newGame(w);
    w.dialogs.answer(mb::Cancel);
    VbInteger cancel = 0;
    w.s().Form_QueryUnload(cancel, 0);
    ASSERT_EQ(w.dialogs.calls().size(), 1u);
    EXPECT_EQ(w.dialogs.calls()[0].prompt, "Are you sure you wanna quit now?");
    EXPECT_EQ(w.dialogs.calls()[0].title, "Vantorix");
    EXPECT_EQ(w.dialogs.calls()[0].style, mb::OKCancel + mb::Question);
    EXPECT_EQ(cancel, 1);
    EXPECT_FALSE(w.f().Paused);
    EXPECT_TRUE(w.f().PauseTimer.Enabled()); // its next tick hides the label
    EXPECT_FALSE(w.window.ended);

    w.dialogs.answer(mb::OK);
    cancel = 0;
    w.s().Form_QueryUnload(cancel, 0);
    EXPECT_EQ(cancel, 0);
    EXPECT_TRUE(w.window.ended);
    EXPECT_FALSE(w.f().MainLoop.Enabled());
}

TEST(GameShellMenus, AStartLevelGameNeverWritesTheHiscoreFile) {
    WindowFixture w;
    w.start("-noamiga -nosfx -startfromlevel{2}");
    const QString table = QString::fromStdString(w.folder() + "Original_levels/data.hsc");
    QFile::remove(table); // made when the set was read
    newGame(w);
    EXPECT_EQ(w.f().CurrentLevel, 1);
    w.s().mnuExit_Click(); // OK: the game ends
    EXPECT_TRUE(w.window.ended);
    EXPECT_FALSE(QFile::exists(table));
}

TEST(GameShellMenus, EndGameAsksFirst) {
    WindowFixture w;
    w.start();
    newGame(w);
    EXPECT_FALSE(w.s().mnuNewGame.Enabled);
    EXPECT_TRUE(w.f().mnuEndGame.Enabled);
    w.dialogs.answer(mb::Cancel);
    w.s().mnuEndGame_Click();
    ASSERT_EQ(w.dialogs.calls().size(), 1u);
    EXPECT_EQ(w.dialogs.calls()[0].prompt, "Are you sure ?");
    EXPECT_EQ(w.dialogs.calls()[0].title, "END GAME");
    EXPECT_FALSE(w.f().GameOverFlag);
    EXPECT_FALSE(w.f().Paused);
    w.dialogs.answer(mb::OK);
    w.s().mnuEndGame_Click();
    EXPECT_TRUE(w.f().GameOverFlag);
    EXPECT_FALSE(w.f().Paused);
}

TEST(GameShellMenus, PauseOnlyWhileAGameRuns) {
    WindowFixture w;
    w.start();
    w.s().SetPause();
    EXPECT_FALSE(w.f().Paused);
    w.s().mnuGameInfo_Click();
    EXPECT_TRUE(w.s().Help.Visible);
    EXPECT_FALSE(w.f().Paused);
    w.s().mnuFile_Click();
    EXPECT_FALSE(w.s().Help.Visible);
    newGame(w);
    w.s().mnuFile_Click();
    EXPECT_TRUE(w.f().Paused);
    EXPECT_TRUE(w.f().lbPause.Visible);
    EXPECT_TRUE(w.f().PauseTimer.Enabled());
}

// Boxes that note what the shutdown has done by the time each one is shown.
class BoxesThatLook : public ScriptedDialogs {
public:
    std::function<std::string()> look;
    std::vector<std::string> seen;
    int messageBox(const std::string& prompt, int style, const std::string& title) override {
        seen.push_back(prompt.substr(0, prompt.find('\r')) + " |" + look());
        return ScriptedDialogs::messageBox(prompt, style, title);
    }
};

// The shutdown's steps each leave their mark: the music, the timers and the menu stop before
// the score is entered; the options, then the table, are reported as they fail, both still
// in full screen; full screen is left and the downloaded table removed after them.
TEST(GameShellMenus, ShutdownStepsComeInTheirOrder) {
    BoxesThatLook boxes; // outlives the window
    WindowFixture w;
    DialogService::install(&boxes);
    w.start();
    GameForm& f = w.f();
    bool on = true;
    w.s().SetFullscreenWindow(on);
    ASSERT_TRUE(f.InFullScreen);
    f.mnuFile.Enabled = true;
    f.GameOverFlag = true;
    f.HiscorePending = true;
    f.Score = 9000000;
    f.UpdateGradient.setEnabled(true);
    const std::string levels = w.folder() + "Original_levels/";
    QFile::remove(QString::fromStdString(levels + "data.hsc"));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(levels + "data.hsc")));
    const QString ini = QString::fromStdString(settingsFilePath("Vantorix"));
    QFile::remove(ini);
    ASSERT_TRUE(QDir().mkpath(ini));
    const QString download = QString::fromStdString(levels + "~idata.hsc");
    {
        QFile file(download);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const auto look = [&] {
        return std::string(w.music.closed ? " music closed" : " music open") +
               (f.UpdateGradient.Enabled() ? " ticking" : " stopped") +
               (f.mnuFile.Enabled ? " menu" : " no menu") +
               (f.InFullScreen ? " full screen" : " windowed") +
               (QFile::exists(download) ? " download" : " no download");
    };
    boxes.look = look;
    std::string atEntry;
    f.LevelSet.seams.showHiscoreNameEntry = [&] {
        atEntry = look() + " boxes " + std::to_string(boxes.seen.size());
        programHiscoreGlobals().LastHiscoreName = "ME";
    };
    VbInteger cancel = 0;
    w.s().Form_Unload(cancel);
    const std::string stopped = " music closed stopped no menu";
    EXPECT_EQ(atEntry, stopped + " full screen download boxes 0");
    EXPECT_EQ(boxes.seen,
              (std::vector<std::string>{
                  "ERROR! Unable to save the options! |" + stopped + " full screen download",
                  "ERROR! Unable to save the hiscores! |" + stopped + " full screen download"}));
    EXPECT_EQ(look(), stopped + " windowed no download");
    EXPECT_TRUE(w.window.ended);
}
