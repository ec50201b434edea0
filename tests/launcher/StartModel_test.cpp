#include "DialogService.h"
#include "GameShell.h"
#include "HttpTestServer.h"
#include "ProcessState.h"
#include "QFTModule.h"
#include "RealBoxes.h"
#include "Settings.h"
#include "StartModel.h"
#include "frmStart.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// A program folder of its own, scripted message boxes and the dialog's seams recorded.
class StartModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        setAppPathForTesting(folder.path().toStdString());
        DialogService::install(&dialogs);
        LevelFilePath = "stale";
        SkipIntroScreen = false;
        FirstUseFlag = false;
    }
    void TearDown() override { DialogService::install(nullptr); }

    void addLevelFile(const QString& name) {
        QDir(folder.path()).mkpath(QStringLiteral("custom_levels"));
        QFile f(folder.path() + QStringLiteral("/custom_levels/") + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    static void set(const std::string& section, const std::string& key, const std::string& v) {
        SaveSetting("Vantorix", section, key, v);
    }
    static std::string get(const std::string& section, const std::string& key) {
        return GetSetting("Vantorix", section, key, "<none>");
    }

    // A loaded dialog whose play and unload are counted.
    std::unique_ptr<StartModel> loaded(const std::string& commandLine = "") {
        auto d = std::make_unique<StartModel>(commandLine);
        d->showGame = [this] { ++gamesShown; };
        d->unload = [this, raw = d.get()] {
            ++unloads;
            raw->Form_Unload();
        };
        d->Form_Load();
        return d;
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    int gamesShown = 0;
    int unloads = 0;
};

} // namespace

TEST_F(StartModelTest, LoadReadsTheStartSettings) {
    set("Global", "FirstUse", "0");
    set("Global", "SkipAmiga", "1");
    set("Global", "SlowPC", "1");
    set("DEVMODE", "FullScreen", "1");
    auto d = loaded();
    EXPECT_EQ(d->Caption, "Vantorix v4.0.0");
    EXPECT_TRUE(d->Check1Visible);
    EXPECT_FALSE(FirstUseFlag);
    EXPECT_EQ(d->Check1, 1);
    EXPECT_EQ(d->Check2, 1);
    EXPECT_TRUE(SkipIntroScreen);
    EXPECT_EQ(d->DefaultButton, 1);
    EXPECT_TRUE(d->Command5Enabled);
}

TEST_F(StartModelTest, FirstRunHidesTheIntroOptionAndDefaultsToWindow) {
    set("Global", "SkipAmiga", "1");
    auto d = loaded("-nojoyinit");
    EXPECT_FALSE(d->Check1Visible);
    EXPECT_TRUE(FirstUseFlag);
    EXPECT_EQ(d->DefaultButton, 2);
    EXPECT_FALSE(d->Command5Enabled);
    EXPECT_EQ(d->Check2, 0);
}

// The flags are "the number equals 1"; a stored number of any size is read without
// converting it to a narrower type first (1e20 once went through an int).
TEST_F(StartModelTest, StoredFlagsAreOneOnlyWhenTheirNumberIsOne) {
    struct Case {
        const char* stored;
        bool one;
    };
    const Case cases[] = {{"1", true},    {"1.0", true},    {" 1", true},
                          {"1abc", true}, {"1e20", false},  {"4294967297", false},
                          {"-1", false},  {"1.5", false},   {"x", false},
                          {"", false},    {"1e400", false}, {"-4294967295", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        for (const char* key : {"FirstUse", "SkipAmiga", "SlowPC"}) {
            set("Global", key, c.stored);
        }
        set("DEVMODE", "FullScreen", c.stored);
        FirstUseFlag = false;
        auto d = loaded();
        EXPECT_EQ(FirstUseFlag, c.one);
        EXPECT_EQ(d->Check1Visible, !c.one);
        EXPECT_EQ(d->Check1, c.one ? 1 : 0);
        EXPECT_EQ(d->Check2, c.one ? 1 : 0);
        EXPECT_EQ(d->DefaultButton, c.one ? 1 : 2);
    }
}

TEST_F(StartModelTest, LevelListHoldsTheCustomSetsAndPreselectsTheLastWithoutCase) {
    {
        auto d = loaded();
        EXPECT_EQ(d->Combo1, std::vector<std::string>{"Original levels"});
        EXPECT_EQ(d->Combo1Index, 0);
    }
    addLevelFile(QStringLiteral("beta.dat"));
    addLevelFile(QStringLiteral("Alpha.DAT"));
    addLevelFile(QStringLiteral("notes.txt"));
    set("Global", "LastLevel", "BETA.dat");
    auto d = loaded();
    EXPECT_EQ(d->Combo1, (std::vector<std::string>{"Original levels", "Alpha.DAT", "beta.dat"}));
    EXPECT_EQ(d->Combo1Index, 2);
    EXPECT_TRUE(d->Combo1Enabled);

    set("Global", "LastLevel", "gone.dat");
    EXPECT_EQ(loaded()->Combo1Index, 0);
}

class StartModelUnderLocale : public StartModelTest {};

// In Turkish "I" is no capital "i"; the sets and the stored choice match all the same.
TEST_F(StartModelUnderLocale, LevelListFindsTheSetsAndTheLastChoiceWithoutRegardToCase) {
    addLevelFile(QStringLiteral("MINI.DAT"));
    addLevelFile(QStringLiteral("Invaders.Dat"));
    addLevelFile(QStringLiteral("LIST.TXT"));
    const std::pair<const char*, int> cases[] = {
        {"mini.dat", 2}, {"INVADERS.DAT", 1}, {"Mini.dat", 2}, {"mini", 0}};
    for (const auto& [last, index] : cases) {
        set("Global", "LastLevel", last);
        auto d = loaded();
        EXPECT_EQ(d->Combo1,
                  (std::vector<std::string>{"Original levels", "Invaders.Dat", "MINI.DAT"}));
        EXPECT_EQ(d->Combo1Index, index) << last;
    }
}

TEST_F(StartModelTest, ParameterFileReplacesTheList) {
    addLevelFile(QStringLiteral("beta.dat"));
    auto d = loaded("-loadlevels{/tmp/x.dat}");
    EXPECT_EQ(d->Combo1, std::vector<std::string>{"Parameter file"});
    EXPECT_EQ(d->Combo1Index, 0);
    EXPECT_FALSE(d->Combo1Enabled);
    d->Command2_Click();
    EXPECT_EQ(LevelFilePath, "");
    EXPECT_EQ(gamesShown, 1);
}

// The dialog reads the command line as the game does: a switch typed inside a value, even
// one whose braces do not pair, or inside a bare path (a line that names an existing file,
// "<F>" here the program folder), neither gives a parameter file nor turns the joystick off.
TEST_F(StartModelTest, SwitchesInsideValuesDoNotAct) {
    struct Case {
        const char* cmd;
        bool parameterFile;
        bool joystickSetup;
        bool bare = false; // the file the line names is made first
    };
    const Case cases[] = {
        {"-loadlevels{/t/a{b c.dat} -startfromlevel{3}", true, true},
        {"-musicfile{/m/a.xm} -loadlevels{/x/set.dat} -nojoyinit", true, false},
        {"-loadlevels{/x/set.dat -nojoyinit", true, true},
        {"-musicfile{/m/a.xm -loadlevels{/x/set.dat", false, true},
        {"-musicfile{/m/a.xm -loadlevels{/x/set.dat}", false, true},
        {"-loadlevels{/x/{a}/-nojoyinit.dat}", true, true},
        {"-musicfile{a}} -loadlevels{x}", true, true},
        {"-nojoyinit}", false, false},
        {"-loadlevels{}", true, true},
        {"<F>/-nojoyinit -loadlevels{x}.dat", false, true, true},
        {"\"<F>/my sets -nojoyinit.dat\"", false, true, true},
        {"<F>/-loadlevels{a -nojoyinit", false, true, true},
        // Nothing on disk: the words are switches.
        {"<F>/missing -nojoyinit -loadlevels{x}.dat", true, false},
    };
    const std::string root = folder.path().toStdString();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cmd);
        std::string cmd = c.cmd;
        if (const auto at = cmd.find("<F>"); at != std::string::npos) {
            cmd.replace(at, 3, root);
        }
        if (c.bare) {
            std::string file = cmd;
            std::erase(file, '"');
            std::ofstream(file) << "l:x\r\n";
        }
        set("Global", "LastLevel", "Original levels");
        auto d = loaded(cmd);
        EXPECT_EQ(d->Combo1 == std::vector<std::string>{"Parameter file"}, c.parameterFile);
        EXPECT_EQ(d->Command5Enabled, c.joystickSetup);
        // The list's choice is stored unless a parameter file stood in for it.
        d->Combo1Index = -1;
        d->Form_Unload();
        EXPECT_EQ(get("Global", "LastLevel"), c.parameterFile ? "Original levels" : "");
    }
}

// A set given on the command line (the editor's test launch) is no choice of the player's:
// the level set they chose last is still preselected next time.
TEST_F(StartModelTest, ParameterFileKeepsTheStoredLevelChoice) {
    addLevelFile(QStringLiteral("mine.dat"));
    set("Global", "LastLevel", "mine.dat");
    for (const bool play : {true, false}) {
        SCOPED_TRACE(play ? "play" : "quit");
        auto d = loaded("-loadlevels{/tmp/x.dat}");
        if (play) {
            d->Command2_Click();
        } else {
            d->Command3_Click();
        }
        ASSERT_EQ(unloads, play ? 1 : 2);
        EXPECT_EQ(get("Global", "LastLevel"), "mine.dat");
    }
    EXPECT_EQ(loaded()->Combo1Index, 1);
}

TEST_F(StartModelTest, PlayInWindowSavesTheChoicesShowsTheGameAndUnloads) {
    addLevelFile(QStringLiteral("mine.dat"));
    set("DEVMODE", "FullScreen", "1");
    auto d = loaded();
    d->Combo1Index = 1;
    d->Check1 = 1;
    d->Check2 = 0;
    d->Command2_Click();
    EXPECT_EQ(LevelFilePath, AppPath() + "custom_levels/mine.dat");
    EXPECT_EQ(get("DEVMODE", "FullScreen"), "0");
    EXPECT_EQ(get("Global", "SkipAmiga"), "1");
    EXPECT_EQ(get("Global", "SlowPC"), "0");
    EXPECT_EQ(get("Global", "LastLevel"), "mine.dat");
    EXPECT_EQ(gamesShown, 1);
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(StartModelTest, LevelFileChecksStopPlay) {
    addLevelFile(QStringLiteral("gone.dat"));
    auto d = loaded();
    d->Combo1Index = 1;
    QFile::remove(folder.path() + QStringLiteral("/custom_levels/gone.dat"));
    d->Command2_Click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].title, "Unable to open selected levelfile");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Critical);
    EXPECT_NE(dialogs.calls()[0].prompt.find("It could have been deleted by another user"),
              std::string::npos);

    d->Combo1Index = -1;
    d->Command1_Click();
    ASSERT_EQ(dialogs.calls().size(), 2u);
    EXPECT_EQ(dialogs.calls()[1].prompt, "Please select levelfile!");
    EXPECT_EQ(dialogs.calls()[1].style, mb::Exclamation);
    EXPECT_EQ(gamesShown, 0);
    EXPECT_EQ(unloads, 0);
    EXPECT_EQ(get("DEVMODE", "FullScreen"), "<none>");
}

TEST_F(StartModelTest, FullScreenNeedsADefinedModeWithoutALastError) {
    auto d = loaded();
    d->Command1_Click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt,
              "Full Screen mode has not yet been defined.\r\nYou must run [Display Setup] "
              "before you can select Full Screen");

    set("DEVMODE", "lWidth", "800");
    set("DEVMODE", "lERROR", "1");
    d->Command1_Click();
    ASSERT_EQ(dialogs.calls().size(), 2u);
    EXPECT_EQ(dialogs.calls()[1].prompt,
              "Last time Vantorix was started in Full Screen\r\nThere were errors.\r\n\r\n"
              "Please run Display Setup, to re-define the Full Screen mode.");
    EXPECT_EQ(gamesShown, 0);

    set("DEVMODE", "lERROR", "0");
    d->Command1_Click();
    EXPECT_EQ(dialogs.calls().size(), 2u);
    EXPECT_EQ(get("DEVMODE", "FullScreen"), "1");
    EXPECT_EQ(gamesShown, 1);
    EXPECT_EQ(unloads, 1);
}

TEST_F(StartModelTest, QuitAndEscapeUnloadWithoutPlaying) {
    addLevelFile(QStringLiteral("mine.dat"));
    auto d = loaded();
    d->Combo1Index = 1;
    d->Form_KeyDown(13, 0);
    EXPECT_EQ(unloads, 0);
    d->Form_KeyDown(27, 0);
    EXPECT_EQ(unloads, 1);
    d->Command3_Click();
    EXPECT_EQ(unloads, 2);
    EXPECT_EQ(gamesShown, 0);
    EXPECT_EQ(get("Global", "LastLevel"), "mine.dat");
    EXPECT_EQ(get("Global", "SkipAmiga"), "<none>");
}

TEST_F(StartModelTest, ToolButtonsOpenTheirWindowsAndDisplaySetup) {
    auto d = loaded();
    std::vector<std::string> opened;
    d->showJoystickSetup = [&] { opened.push_back("joystick"); };
    d->showPerfTest = [&] { opened.push_back("perf"); };
    d->showReadMe = [&] { opened.push_back("readme"); };
    d->showInternetConfig = [&] { opened.push_back("internet"); };
    std::string program, dir;
    std::vector<std::string> args;
    d->startProgram = [&](const std::string& p, const std::vector<std::string>& a,
                          const std::string& w) {
        program = p;
        args = a;
        dir = w;
        return std::optional<std::int64_t>(0); // no process of that id
    };
    d->Command5_Click();
    d->Command6_Click();
    d->Command7_Click();
    d->Command9_Click();
    d->Command4_Click();
    EXPECT_EQ(opened, (std::vector<std::string>{"joystick", "perf", "readme", "internet"}));
    EXPECT_EQ(program, AppPath() + "vantdisp");
    EXPECT_EQ(args, std::vector<std::string>{"-noerror"});
    EXPECT_EQ(dir, AppPath());
    EXPECT_TRUE(dialogs.calls().empty());
}

// A double click on Display Setup starts one display tool: two would switch and restore the
// display over each other. Once it has ended the button starts it again.
TEST_F(StartModelTest, DisplaySetupStartsOnceWhileItRuns) {
    const QString starts = folder.path() + QStringLiteral("/starts");
    QFile tool(folder.path() + QStringLiteral("/vantdisp"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    // The tool runs until the test lets it go (or its folder is gone), however slowly the
    // machine runs it.
    const QString release = folder.path() + QStringLiteral("/release");
    tool.write("#!/bin/sh\ncd \"$(dirname \"$0\")\"\necho started >> starts\n"
               "while [ ! -e release ] && [ -e starts ]; do sleep 0.02; done\n");
    tool.close();
    tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
    const auto startsSoFar = [&](int atLeast) {
        int n = 0;
        for (int waited = 0; waited < 60000; waited += 20) {
            QFile f(starts);
            n = f.open(QIODevice::ReadOnly) ? static_cast<int>(f.readAll().count('\n')) : 0;
            if (n >= atLeast) {
                break;
            }
            QThread::msleep(20);
        }
        return n;
    };
    auto d = loaded();
    std::vector<std::int64_t> pids;
    d->startProgram = [&pids, start = d->startProgram](const std::string& p,
                                                       const std::vector<std::string>& a,
                                                       const std::string& in) {
        const auto pid = start(p, a, in);
        if (pid) {
            pids.push_back(*pid);
        }
        return pid;
    };
    d->Command4_Click();
    d->Command4_Click();
    ASSERT_EQ(pids.size(), 1u) << "a double click starts one";
    ASSERT_EQ(startsSoFar(1), 1);
    ASSERT_TRUE(QFile(release).open(QIODevice::WriteOnly));
    for (int waited = 0; waited < 60000 && processRunning(pids[0]); waited += 20) {
        QThread::msleep(20);
    }
    ASSERT_FALSE(processRunning(pids[0])) << "the first has ended";
    d->Command4_Click();
    EXPECT_EQ(pids.size(), 2u);
    EXPECT_EQ(startsSoFar(2), 2);
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(StartModelTest, DisplaySetupThatCannotStartIsReported) {
    auto d = loaded();
    d->Command4_Click(); // no vantdisp in the test's program folder
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt,
              "Unable to start Display Setup:\r\n" + AppPath() + "vantdisp");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
}

TEST_F(StartModelTest, DisplaySetupStartsWithNoErrorInTheProgramFolder) {
    const QString script = folder.path() + QStringLiteral("/vantdisp");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"$@\" > \"$(pwd)/started.txt\"\n");
    }
    QFile::setPermissions(script,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    auto d = loaded();
    d->Command4_Click();
    EXPECT_TRUE(dialogs.calls().empty());
    // The shell makes the file before the line is in it: wait for the line's end.
    QFile out(folder.path() + QStringLiteral("/started.txt"));
    QByteArray line;
    for (int waited = 0; waited < 60000 && !line.endsWith('\n'); waited += 20) {
        QThread::msleep(20);
        line = out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray();
        out.close();
    }
    EXPECT_EQ(line.trimmed(), QByteArray("-noerror"));
}

TEST_F(StartModelTest, UpdateCheckAsksTheProductAddressAndKeepsTheDialogDisabledMeanwhile) {
    auto d = loaded();
    std::string asked;
    bool enabledDuring = true;
    d->QFNUpdateChecker1.connected = [] { return true; };
    d->QFNUpdateChecker1.openUrl = [&](const std::string& url, int) {
        asked = url;
        enabledDuring = d->Enabled;
        return std::string("<$v>1.0.0</$v><$l>100</$l>");
    };
    d->Command8_Click();
    EXPECT_EQ(asked, "http://www.quillfen.example/pu_data/vantorix.dat");
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(d->Enabled);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "You version is the most recent!");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Information);
}

TEST_F(StartModelTest, UpdateResultsCompareTheJoinedVersionNumber) {
    EXPECT_EQ(StartModel::ownVersionNumber(4, 0, 0), 400);
    EXPECT_EQ(StartModel::ownVersionNumber(4, 10, 0), 4100);
    auto d = loaded();
    std::vector<std::string> openedUrls;
    d->openAddress = [&](const std::string& url) {
        openedUrls.push_back(url);
        return true;
    };

    d->QFNUpdateChecker1_CheckFinished("", 0, "", "Unable to connect", "", "", true);
    d->QFNUpdateChecker1_CheckFinished("3.9.9", 399, "", "", "", "", false);
    d->QFNUpdateChecker1_CheckFinished("4.0.0", 400, "", "", "", "", false);
    ASSERT_EQ(dialogs.calls().size(), 3u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "Unable to connect");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
    EXPECT_EQ(dialogs.calls()[1].prompt, "You version is the most recent!");
    EXPECT_EQ(dialogs.calls()[2].prompt, "You version is the most recent!");

    dialogs.clear();
    dialogs.answer(mb::No);
    d->QFNUpdateChecker1_CheckFinished("4.0.1", 401, "today", "Fixes", "http://dl/x.zip", "1 MB",
                                       false);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "Version:4.0.1\r\nRelease date:today\r\nFilesize:1 MB\r\n"
                                         "Fixes\r\n\r\nDo you want to download it now?");
    EXPECT_EQ(dialogs.calls()[0].style, mb::YesNo + mb::Information);
    EXPECT_EQ(dialogs.calls()[0].title, "New version available!");
    EXPECT_TRUE(openedUrls.empty());

    dialogs.answer(mb::Yes);
    d->QFNUpdateChecker1_CheckFinished("4.0.1", 401, "", "", "HTTPS://dl/x.zip", "", false);
    EXPECT_EQ(openedUrls, std::vector<std::string>{"HTTPS://dl/x.zip"});
}

TEST_F(StartModelTest, TheProgramIsVersion400AgainstWhatAServerOffers) {
    struct Case {
        const char* reply;
        bool offered;
    };
    const std::vector<Case> cases = {
        {"<$v>3.9.9</$v><$l>399</$l>", false},
        {"<$v>4.0.0</$v><$l>400</$l>", false},
        {"<$v>4.0.1</$v><$l>401</$l><$t>soon</$t><$s>2 MB</$s><$d>New</$d>", true},
    };
    auto d = loaded();
    d->QFNUpdateChecker1.connected = [] { return true; };
    LoopbackHttpServer server;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        server.reply(200, c.reply);
        dialogs.clear();
        dialogs.answer(mb::No);
        d->QFNUpdateChecker1.CheckUpdate(server.base() + "/pu_data/vantorix.dat");
        ASSERT_EQ(dialogs.calls().size(), 1u);
        if (c.offered) {
            EXPECT_EQ(dialogs.calls()[0].title, "New version available!");
            EXPECT_EQ(dialogs.calls()[0].prompt,
                      "Version:4.0.1\r\nRelease date:soon\r\nFilesize:2 "
                      "MB\r\nNew\r\n\r\nDo you want to download it now?");
        } else {
            EXPECT_EQ(dialogs.calls()[0].prompt, "You version is the most recent!");
        }
    }
}

TEST_F(StartModelTest, OfferedAddressThatIsNoWebAddressIsNeverOpened) {
    auto d = loaded();
    bool opened = false;
    d->openAddress = [&](const std::string&) { return opened = true; };
    for (const char* url : {"file:///bin/sh", "/usr/bin/xterm", ""}) {
        dialogs.clear();
        dialogs.answer(mb::Yes);
        d->QFNUpdateChecker1_CheckFinished("5", 500, "", "", url, "", false);
        ASSERT_EQ(dialogs.calls().size(), 2u) << url;
        EXPECT_EQ(dialogs.calls()[1].prompt,
                  std::string("The offered download address is not a web address:\r\n") + url);
    }
    EXPECT_FALSE(opened);
}

TEST_F(StartModelTest, WindowShowsTheControlsAndCarriesThemToTheChoice) {
    addLevelFile(QStringLiteral("mine.dat"));
    set("Global", "FirstUse", "0");
    set("Global", "LastLevel", "mine.dat");
    frmStart w("");
    int shown = 0;
    w.showGame = [&] { ++shown; };
    w.load();
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vantorix v4.0.0"));
    EXPECT_EQ(w.Combo1->count(), 2);
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("mine.dat"));
    EXPECT_EQ(w.Command[8]->text(), QStringLiteral("Check product update online..."));
    EXPECT_TRUE(w.Command[2]->isDefault());
    EXPECT_TRUE(w.Check1->isVisibleTo(&w));
    w.Check2->click();
    w.Check1->click();
    EXPECT_TRUE(SkipIntroScreen);
    w.Command[2]->click();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(get("Global", "SlowPC"), "1");
    EXPECT_EQ(get("Global", "SkipAmiga"), "1");
    EXPECT_EQ(LevelFilePath, AppPath() + "custom_levels/mine.dat");
}

TEST_F(StartModelTest, WindowEscapeQuitsAndSavesTheLevelChoice) {
    frmStart w("");
    w.load();
    w.show();
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(get("Global", "LastLevel"), "Original levels");
}

TEST_F(StartModelTest, WindowStaysDisabledAndOpenWhileTheUpdateCheckRuns) {
    frmStart w("");
    w.load();
    w.show();
    bool enabledDuring = true;
    bool visibleAfterClose = false;
    w.model().QFNUpdateChecker1.connected = [] { return true; };
    w.model().QFNUpdateChecker1.openUrl = [&](const std::string&, int) {
        enabledDuring = w.isEnabled();
        w.close();
        visibleAfterClose = w.isVisible();
        return std::string();
    };
    w.Command[8]->click();
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "Unable to connect to server, please try again later.");
}

// Play is taken once: a second activation that arrives while the game window loads (a
// double click, two Enter presses) finds every button doing nothing until the dialog goes.
TEST_F(StartModelTest, ASecondActivationWhileTheGameLoadsDoesNothing) {
    set("DEVMODE", "lWidth", "800");
    struct Case {
        const char* first;
        const char* second;
    };
    const Case cases[] = {{"full", "full"},   {"window", "window"}, {"full", "window"},
                          {"window", "quit"}, {"window", "escape"}, {"full", "joystick"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " then " + c.second);
        gamesShown = 0;
        unloads = 0;
        auto d = loaded();
        int tools = 0;
        d->showJoystickSetup = [&] { ++tools; };
        const auto activate = [&](const std::string& which) {
            if (which == "full") {
                d->Command1_Click();
            } else if (which == "window") {
                d->Command2_Click();
            } else if (which == "quit") {
                d->Command3_Click();
            } else if (which == "escape") {
                d->Form_KeyDown(27, 0);
            } else {
                d->Command5_Click();
            }
        };
        bool again = true;
        // The second activation arrives in the pumps of the game window's load.
        d->pumpEvents = [&] {
            if (again) {
                again = false;
                activate(c.second);
            }
        };
        const auto show = d->showGame;
        d->showGame = [&, show] {
            d->pumpEvents();
            show();
        };
        activate(c.first);
        EXPECT_EQ(gamesShown, 1);
        EXPECT_EQ(unloads, 1);
        EXPECT_EQ(tools, 0);
        EXPECT_TRUE(dialogs.calls().empty());
    }
}

// The same on screen: a double click on either Play button, the second click queued while
// the first is still opening the game.
TEST_F(StartModelTest, WindowDoubleClickOnPlayOpensOneGame) {
    set("DEVMODE", "lWidth", "800");
    for (int button : {1, 2}) {
        SCOPED_TRACE(button);
        frmStart w("");
        int shown = 0;
        bool enabledWhileLoading = true;
        w.showGame = [&] {
            ++shown;
            enabledWhileLoading = w.isEnabled();
            QCoreApplication::processEvents(); // the game window's load pumps events
        };
        w.load();
        w.show();
        QMetaObject::invokeMethod(w.Command[button], "click", Qt::QueuedConnection);
        w.Command[button]->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(shown, 1);
        EXPECT_FALSE(enabledWhileLoading);
        EXPECT_FALSE(w.isVisible());
    }
}

// The start dialog has the keyboard again once a tool window it opened has closed: without a
// window manager nothing else gives it back (its Alt keys and Esc did nothing until it was
// clicked).
TEST_F(StartModelTest, WindowHasTheKeyboardAgainAfterEachToolWindow) {
    const std::pair<int, const char*> tools[] = {
        {5, "joystick setup"}, {6, "performance test"}, {7, "read-me"}, {9, "internet setup"}};
    for (const auto& [button, what] : tools) {
        SCOPED_TRACE(what);
        frmStart w("");
        w.load();
        w.show();
        w.activateWindow();
        ASSERT_TRUE(becomesActive(&w));
        RealBoxes windows; // each closed with Esc
        w.Command[button]->click();
        ASSERT_FALSE(windows.shown().empty());
        EXPECT_EQ(windows.shown().front().owner, &w);
        EXPECT_TRUE(becomesActive(&w));
    }
}

// The game reads the play mode and the options back as it loads: when they cannot be stored
// the player hears of it once, and the game still starts.
TEST_F(StartModelTest, ChoicesThatCannotBeStoredAreToldOnceAndPlayGoesOn) {
    set("DEVMODE", "lWidth", "800");
    const std::string ini = settingsFilePath("Vantorix");
    ASSERT_EQ(::chmod(ini.c_str(), 0444), 0); // the user's own word: do not write
    for (const bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "window");
        dialogs.clear();
        gamesShown = 0;
        auto d = loaded();
        d->Check1 = 1;
        if (fullScreen) {
            d->Command1_Click();
        } else {
            d->Command2_Click();
        }
        EXPECT_EQ(dialogs.prompts(),
                  std::vector<std::string>{"ERROR! Unable to save the settings!\r\n\r\n"
                                           "Permission denied: \"" +
                                           ini + "\""});
        EXPECT_EQ(gamesShown, 1);
    }
}
