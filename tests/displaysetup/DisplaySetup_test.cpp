// The display-settings window: the mode list, the mode test, and what OK stores.
#include "DialogService.h"
#include "FakeScreen.h"
#include "ManualClock.h"
#include "RealBoxes.h"
#include "Settings.h"
#include "frmDisplaySettings.h"
#include "frmTest.h"
#include "modTest.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace {

DisplayModeRec rec(VbLong width, VbLong height, VbLong bits, VbLong rate) {
    return {bits, width, height, rate};
}

const std::string startErrorBox = "It is detected that Vantorix generated errors\r\nlast time you "
                                  "ran it.\r\nPlease check the display settings, and then try "
                                  "again.";
const std::string testFirstBox =
    "Please TEST the selected screen mode, to ensure that your monitor can display it, before "
    "you continue!\r\nAfter a successfull test, press [OK] to use these settings!\r\n\r\nOr "
    "disable FULL SCREEN.";

std::string stored(const char* key) {
    return GetSetting("Vantorix", "DEVMODE", key, "<none>");
}

void storeMode(const char* w, const char* h, const char* bits, const char* freq) {
    SaveSetting("Vantorix", "DEVMODE", "lWidth", w);
    SaveSetting("Vantorix", "DEVMODE", "lHeight", h);
    SaveSetting("Vantorix", "DEVMODE", "lBits", bits);
    SaveSetting("Vantorix", "DEVMODE", "lFreq", freq);
}

class DisplaySetupTest : public testing::Test {
protected:
    void SetUp() override {
        DialogService::install(&dialogs);
        Clock::install(&clock);
        setProgramTitle("Vantorix");
        TestPassed = false;
        screen.modes = {rec(640, 480, 32, 60), rec(640, 480, 32, 100), rec(800, 600, 32, 75),
                        rec(1024, 768, 32, 60), rec(1280, 1024, 32, 60)};
    }
    void TearDown() override {
        window.reset();
        DialogService::install(nullptr);
        Clock::install(nullptr);
    }

    DisplaySettingsModel& open(const std::string& commandLine = "") {
        window = std::make_unique<frmDisplaySettings>(screen, commandLine, [this] { runTest(); });
        return window->model;
    }
    // The modal test window, with the user's doing in `duringTest` (nothing: it times out).
    void runTest() {
        frmTest test(nullptr, clock);
        test.show();
        shownDuringTest = screen.shown;
        if (duringTest) {
            duringTest(test);
        }
        clock.advance(20000);
    }
    void pressOkInTest() {
        duringTest = [](frmTest& t) {
            t.model.Timer1_Timer();
            t.Command2->click();
        };
    }
    std::vector<std::string> prompts() const { return dialogs.prompts(); }

    ScriptedDialogs dialogs;
    ManualClock clock;
    FakeScreen screen;
    std::unique_ptr<frmDisplaySettings> window;
    std::function<void(frmTest&)> duringTest;
    std::string shownDuringTest;
};

TEST_F(DisplaySetupTest, WindowTextsAndCaptionWithTheVersion) {
    open();
    EXPECT_EQ(window->windowTitle().toStdString(), "Vantorix [DISPLAY SETTINGS] v4.0.0");
    EXPECT_EQ(window->Frame1->title(), "Select Display mode for Full Screen");
    EXPECT_EQ(window->Command1->text(), "Test mode");
    EXPECT_EQ(window->Command5->text(), "Find current mode");
    EXPECT_EQ(window->Command2->text(), "&OK");
    EXPECT_EQ(window->Command3->text(), "&Cancel");
    EXPECT_EQ(window->Label1->text(), "Recommended fullscreen mode  is : 640*480");
    EXPECT_EQ(window->Label2->text(),
              "Vantorix is written for 640x480 32 bit, and looks best in 100Hz");
    EXPECT_TRUE(QFontInfo(window->Combo1->font()).fixedPitch());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(DisplaySetupTest, ListsOnlyUsableModesWithTheirTexts) {
    screen.modes = {
        rec(640, 480, 32, 100),  rec(640, 480, 16, 60),   rec(640, 480, 15, 60),
        rec(640, 480, 8, 60),    rec(639, 480, 32, 60),   rec(640, 479, 32, 60),
        rec(3001, 2000, 32, 60), rec(2000, 3001, 32, 60), rec(800, 600, 32, 59),
        rec(800, 600, 32, 161),  rec(800, 600, 32, 0),    rec(3000, 3000, 32, 160),
        rec(1024, 768, 33, 60),  rec(12345, 768, 32, 60),
    };
    DisplaySettingsModel& m = open();
    const std::vector<std::string> want = {
        "(0640 X 0480) (32 bits) (100 hz)", "(0640 X 0480) (16 bits) (060 hz)",
        "(0800 X 0600) (32 bits) (Default hz)", "(3000 X 3000) (32 bits) (160 hz)"};
    EXPECT_EQ(m.Combo1, want);
    ASSERT_EQ(window->Combo1->count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window->Combo1->itemText(i).toStdString(), want[std::size_t(i)]);
    }
    ASSERT_EQ(m.DisplayModes.size(), 4u);
    EXPECT_EQ(m.DisplayModes[2].dmDisplayFrequency, 0);
}

TEST_F(DisplaySetupTest, PreselectsTheStoredModeOrTheCurrentOne) {
    struct Case {
        const char* what;
        std::vector<DisplayModeRec> modes;
        CurrentModeRec current;
        std::vector<const char*> storedMode; // w, h, bits, freq; none when empty
        int want;
    };
    const Case cases[] = {
        {"stored mode",
         {rec(640, 480, 32, 60), rec(640, 480, 32, 100), rec(800, 600, 32, 75)},
         {800, 600, 32, 75},
         {"640", "480", "32", "100"},
         1},
        {"stored mode wins over the current one",
         {rec(640, 480, 32, 100), rec(800, 600, 32, 75)},
         {800, 600, 32, 75},
         {"640", "480", "32", "100"},
         0},
        {"stored mode no longer offered",
         {rec(640, 480, 32, 60), rec(800, 600, 32, 75)},
         {800, 600, 32, 75},
         {"1024", "768", "32", "85"},
         -1},
        {"current mode with its rate",
         {rec(800, 600, 32, 60), rec(800, 600, 32, 75)},
         {800, 600, 32, 75},
         {},
         1},
        {"current rate 0: 60 Hz entry",
         {rec(1024, 768, 32, 60), rec(1024, 768, 32, 75)},
         {1024, 768, 32, 0},
         {},
         0},
        {"current rate 0: a default-rate entry after it wins",
         {rec(1024, 768, 32, 60), rec(1024, 768, 32, 0), rec(1024, 768, 32, 75)},
         {1024, 768, 32, 0},
         {},
         1},
        {"stored bits 0 count as none",
         {rec(800, 600, 32, 60), rec(800, 600, 32, 75)},
         {800, 600, 32, 60},
         {"800", "600", "0", "75"},
         0},
        {"nothing matches", {rec(640, 480, 32, 60)}, {1280, 1024, 32, 60}, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteSetting("Vantorix", "DEVMODE");
        if (!c.storedMode.empty()) {
            storeMode(c.storedMode[0], c.storedMode[1], c.storedMode[2], c.storedMode[3]);
        }
        screen.modes = c.modes;
        screen.current = c.current;
        DisplaySettingsModel& m = open();
        EXPECT_EQ(m.ListIndex, c.want);
        EXPECT_EQ(m.TestedModeIndex, c.want);
        EXPECT_EQ(window->Combo1->currentIndex(), c.want);
    }
}

TEST_F(DisplaySetupTest, StartErrorBoxUnlessNoerrorAndTheErrorAlwaysForcesATest) {
    struct Case {
        const char* lError;
        const char* commandLine;
        bool box;
        bool mustTest;
    };
    const Case cases[] = {
        {"1", "", true, true},
        {"1", "-noerror", false, true},
        {"1", "x -noerrorx y", false, true}, // found anywhere in the text
        {"1", "-NOERROR", true, true},       // but with its case
        {"1 ", "", true, true},
        {"0", "", false, false},
        {nullptr, "", false, false},
        {"2", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.lError ? c.lError : "missing") << " / " << c.commandLine);
        dialogs.clear();
        DeleteSetting("Vantorix", "DEVMODE");
        if (c.lError) {
            SaveSetting("Vantorix", "DEVMODE", "lERROR", c.lError);
        }
        DisplaySettingsModel& m = open(c.commandLine);
        EXPECT_EQ(m.ModeMustBeTested, c.mustTest);
        if (c.box) {
            ASSERT_EQ(dialogs.calls().size(), 1u);
            EXPECT_EQ(dialogs.calls()[0].prompt, startErrorBox);
            EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
            EXPECT_EQ(dialogs.calls()[0].title, "Vantorix");
        } else {
            EXPECT_TRUE(dialogs.calls().empty());
        }
    }
}

TEST_F(DisplaySetupTest, TestModeTriesTheSelectedModeAndRestoresIt) {
    DisplaySettingsModel& m = open();
    window->Combo1->setCurrentIndex(2); // as the user picks it
    EXPECT_EQ(m.ListIndex, 2);

    pressOkInTest();
    window->Command1->click();
    EXPECT_EQ(shownDuringTest, "800x600@75/32");
    EXPECT_EQ(screen.calls, (std::vector<std::string>{"set 800x600@75/32", "restore"}));
    EXPECT_TRUE(TestPassed);
    EXPECT_TRUE(dialogs.calls().empty());

    // Nobody answers: the countdown ends it.
    duringTest = nullptr;
    window->Command1->click();
    EXPECT_EQ(screen.shown, "desktop");
    EXPECT_FALSE(TestPassed);
    EXPECT_EQ(prompts(), std::vector<std::string>{"The test failed."});
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);

    // Cancel and Esc fail it too.
    for (const auto& user :
         std::vector<std::function<void(frmTest&)>>{[](frmTest& t) { t.Command1->click(); },
                                                    [](frmTest& t) { t.model.Form_KeyDown(27); }}) {
        dialogs.clear();
        TestPassed = true;
        duringTest = user;
        window->Command1->click();
        EXPECT_FALSE(TestPassed);
        EXPECT_EQ(prompts(), std::vector<std::string>{"The test failed."});
    }
}

TEST_F(DisplaySetupTest, TestModeWithoutASelectionSwitchesNothing) {
    screen.current = {1920, 1080, 32, 60};
    open();
    window->Command1->click();
    EXPECT_TRUE(screen.calls.empty());
    EXPECT_EQ(prompts(), std::vector<std::string>{"Please select a display mode to test."});
}

TEST_F(DisplaySetupTest, AFailedRestoreIsReportedAndTheToolGoesOn) {
    DisplaySettingsModel& m = open();
    screen.restoreFails = true;
    pressOkInTest();
    m.Command1_Click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "The display mode cannot be restored.");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Critical);
    EXPECT_TRUE(TestPassed);
    EXPECT_FALSE(m.closed());
}

TEST_F(DisplaySetupTest, OkSavesExactlyTheModeKeysTheGameReads) {
    SaveSetting("Vantorix", "DEVMODE", "FullScreen", "1");
    SaveSetting("Vantorix", "DEVMODE", "JOYTUNE", "700");
    SaveSetting("Vantorix", "DEVMODE", "lERROR", "1");
    DisplaySettingsModel& m = open("-noerror");
    window->Combo1->setCurrentIndex(1);
    pressOkInTest();
    window->Command1->click();
    window->Command2->click();
    EXPECT_TRUE(m.closed());
    EXPECT_FALSE(window->isVisible());

    EXPECT_EQ(stored("lWidth"), "640");
    EXPECT_EQ(stored("lHeight"), "480");
    EXPECT_EQ(stored("lBits"), "32");
    EXPECT_EQ(stored("lFreq"), "100");
    EXPECT_EQ(stored("lError"), "0");
    EXPECT_EQ(stored("FullScreen"), "1");
    EXPECT_EQ(stored("JOYTUNE"), "700");
    // Nothing else: one value per key whatever the case it was written in.
    QSettings file(QString::fromStdString(settingsFilePath("Vantorix")), QSettings::IniFormat);
    QStringList keys;
    for (const QString& k : file.allKeys()) {
        if (!k.contains("displayrestore")) {
            keys << k;
        }
    }
    keys.sort();
    EXPECT_EQ(keys, QStringList({"xdevmode/fullscreen", "xdevmode/joytune", "xdevmode/lbits",
                                 "xdevmode/lerror", "xdevmode/lfreq", "xdevmode/lheight",
                                 "xdevmode/lwidth"}));
    EXPECT_EQ(m.StoredMode.dmPelsWidth, 640);
    EXPECT_EQ(m.StoredMode.dmDisplayFrequency, 100);
}

TEST_F(DisplaySetupTest, OkThatCannotStoreTheModeSaysSoOnce) {
    storeMode("800", "600", "32", "75");
    const std::string ini = settingsFilePath("Vantorix");
    ::chmod(ini.c_str(), 0444);
    DisplaySettingsModel& m = open("-noerror");
    window->Combo1->setCurrentIndex(1);
    pressOkInTest();
    window->Command1->click();
    window->Command2->click();
    ::chmod(ini.c_str(), 0644);
    EXPECT_TRUE(m.closed());
    EXPECT_EQ(prompts(), std::vector<std::string>{"ERROR! Unable to save the settings!\r\n\r\n"
                                                  "Permission denied: \"" +
                                                  ini + "\""});
    EXPECT_EQ(stored("lWidth"), "800");
}

TEST_F(DisplaySetupTest, WhenOkNeedsATest) {
    struct Tried {
        int entry;
        bool passes;
    };
    struct Case {
        const char* what;
        const char* lError;
        std::vector<Tried> tests; // in order, before OK
        int pick;                 // chosen after the tests; -1: keep the selection
        bool saves;
    };
    // The stored mode 800x600 at 75 Hz is entry 2, preselected.
    const Case cases[] = {
        {"preselected stored mode, no error: saved again", "0", {}, -1, true},
        {"another entry untested", "0", {}, 3, false},
        {"game reported an error", "1", {}, -1, false},
        {"game reported an error, stored mode passed", "1", {{2, true}}, -1, true},
        {"the entry that passed is saved", "0", {{4, true}}, -1, true},
        {"a passed test does not let another entry through", "0", {{2, true}}, 4, false},
        {"nor an entry tried before it", "0", {{3, true}, {4, true}}, 3, false},
        {"the tried entry failed", "0", {{4, false}}, -1, false},
        {"a later failed test voids the pass", "0", {{4, true}, {3, false}}, 4, false},
        {"no error: back to the stored mode after another passed", "0", {{4, true}}, 2, true},
        {"error: back to the stored mode after another passed", "1", {{4, true}}, 2, false},
        {"error: the stored mode passed before another failed",
         "1",
         {{2, true}, {3, false}},
         2,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestPassed = false;
        DeleteSetting("Vantorix", "DEVMODE");
        storeMode("800", "600", "32", "75");
        SaveSetting("Vantorix", "DEVMODE", "lERROR", c.lError);
        DisplaySettingsModel& m = open("-noerror");
        ASSERT_EQ(m.ListIndex, 2);
        for (const Tried& t : c.tests) {
            window->Combo1->setCurrentIndex(t.entry);
            if (t.passes) {
                pressOkInTest();
            } else {
                duringTest = nullptr; // the countdown runs out
            }
            window->Command1->click();
        }
        if (c.pick >= 0) {
            window->Combo1->setCurrentIndex(c.pick);
        }
        dialogs.clear();
        window->Command2->click();
        EXPECT_EQ(m.closed(), c.saves);
        const DisplayModeRec& want = m.DisplayModes[std::size_t(m.ListIndex)];
        if (c.saves) {
            EXPECT_TRUE(dialogs.calls().empty());
            EXPECT_EQ(stored("lWidth"), std::to_string(want.dmPelsWidth));
            EXPECT_EQ(stored("lFreq"), std::to_string(want.dmDisplayFrequency));
            EXPECT_EQ(stored("lERROR"), "0");
        } else {
            EXPECT_EQ(prompts(), std::vector<std::string>{testFirstBox});
            for (const auto& box : dialogs.calls()) {
                EXPECT_EQ(box.style, mb::Exclamation);
            }
            EXPECT_EQ(stored("lWidth"), "800");
            EXPECT_EQ(stored("lFreq"), "75");
            EXPECT_EQ(stored("lERROR"), c.lError);
            // The entry then tried and passed is saved.
            pressOkInTest();
            window->Command1->click();
            dialogs.clear();
            window->Command2->click();
            EXPECT_TRUE(m.closed());
            EXPECT_TRUE(dialogs.calls().empty());
            EXPECT_EQ(stored("lWidth"), std::to_string(want.dmPelsWidth));
            EXPECT_EQ(stored("lFreq"), std::to_string(want.dmDisplayFrequency));
            EXPECT_EQ(stored("lERROR"), "0");
        }
    }
}

TEST_F(DisplaySetupTest, OkWithNothingSelectedWritesNothing) {
    screen.current = {1920, 1080, 32, 60};
    DisplaySettingsModel& m = open();
    ASSERT_EQ(m.ListIndex, -1);
    window->Command2->click();
    EXPECT_TRUE(m.closed());
    EXPECT_EQ(stored("lWidth"), "<none>");
    EXPECT_EQ(stored("lERROR"), "<none>");
}

TEST_F(DisplaySetupTest, CancelAndTheCloseBoxWriteNothing) {
    for (const bool closeBox : {false, true}) {
        DeleteSetting("Vantorix", "DEVMODE");
        DisplaySettingsModel& m = open();
        window->show();
        window->Combo1->setCurrentIndex(0);
        if (closeBox) {
            window->close();
        } else {
            window->Command3->click();
        }
        EXPECT_TRUE(m.closed());
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(stored("lWidth"), "<none>");
    }
}

TEST_F(DisplaySetupTest, FindCurrentModeSelectsTheFirstExactMatch) {
    screen.modes = {rec(800, 600, 32, 60), rec(1024, 768, 32, 75), rec(1024, 768, 32, 75),
                    rec(1024, 768, 16, 75)};
    screen.current = {1024, 768, 32, 75};
    storeMode("800", "600", "32", "60");
    DisplaySettingsModel& m = open();
    ASSERT_EQ(m.ListIndex, 0);
    window->Command5->click();
    EXPECT_EQ(m.ListIndex, 1);
    EXPECT_EQ(window->Combo1->currentIndex(), 1);
    EXPECT_TRUE(dialogs.calls().empty());

    screen.current = {1024, 768, 32, 60}; // read at start only
    window->Command5->click();
    EXPECT_TRUE(dialogs.calls().empty());

    screen.current = {1920, 1080, 32, 60};
    open();
    window->Command5->click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "Unable to find current mode!");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Critical);
    EXPECT_EQ(window->model.ListIndex, 0); // the selection stays
}

TEST_F(DisplaySetupTest, UnusableStoredTextsCountAsNoStoredMode) {
    storeMode("8e40", "abc", "-1e30", "");
    screen.current = {800, 600, 32, 75};
    DisplaySettingsModel& m = open();
    EXPECT_EQ(m.StoredMode.dmPelsWidth, 0);
    EXPECT_EQ(m.StoredMode.dmBitsPerPel, 0);
    EXPECT_EQ(m.ListIndex, 2);
}

} // namespace

// Once the real test window has closed, the settings window has the keyboard again: without
// a window manager nothing else gives it back.
TEST_F(DisplaySetupTest, TheSettingsWindowHasTheKeyboardAgainAfterTheTest) {
    window = std::make_unique<frmDisplaySettings>(screen, "");
    window->show();
    window->activateWindow();
    ASSERT_TRUE(becomesActive(window.get()));
    window->Combo1->setCurrentIndex(2);
    bool tested = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* test = dynamic_cast<frmTest*>(QApplication::activeModalWidget())) {
            poll.stop();
            tested = true;
            test->model.Timer1_Timer();
            test->Command2->click(); // OK: the mode passed, no box follows
        }
    });
    poll.start(5);
    window->Command1->click();
    ASSERT_TRUE(tested);
    EXPECT_TRUE(TestPassed);
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_TRUE(becomesActive(window.get()));
}
