#include "DialogService.h"
#include "HiscoreFile.h"
#include "InternetConfigModel.h"
#include "InternetRequests.h"
#include "Settings.h"
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

constexpr const char* App = "Vantorix";

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every "<name>" in text replaced by its value.
std::string filledIn(std::string text, const std::vector<std::pair<std::string, std::string>>& v) {
    for (const auto& [name, value] : v) {
        for (auto p = text.find(name); p != std::string::npos; p = text.find(name, p)) {
            text.replace(p, name.size(), value);
            p += value.size();
        }
    }
    return text;
}

} // namespace

TEST(GameShellStartUp, TimingsFollowSlowPcModeAndSettingsTheirDefaults) {
    struct Case {
        const char* slowPc; // nullptr: not stored
        bool slow;
    };
    for (const Case c :
         {Case{nullptr, false}, Case{"1", true}, Case{"0", false}, Case{"2", false}}) {
        WindowFixture w;
        if (c.slowPc) {
            SaveSetting(App, "Global", "SlowPC", c.slowPc);
        }
        w.start();
        const GameForm& f = w.f();
        SCOPED_TRACE(c.slowPc ? c.slowPc : "missing");
        EXPECT_EQ(f.SlowPCMode, c.slow);
        EXPECT_EQ(f.MainLoop.Interval(), c.slow ? 30 : 20);
        EXPECT_EQ(f.FadeInterval, c.slow ? 40 : 30);
        for (const Timer* t : {&f.FadeTimer, &f.HideFade, &f.PaintDisplayTimer}) {
            EXPECT_EQ(t->Interval(), f.FadeInterval);
        }
        EXPECT_EQ(f.ShotSpeed, c.slow ? 12 : 8);
        EXPECT_EQ(f.AlienShotSpeed, c.slow ? 5 : 4);
        EXPECT_EQ(f.ShipSpeed, c.slow ? 7 : 5);
        EXPECT_EQ(f.DropSpeed, c.slow ? 2 : 1);
        EXPECT_EQ(f.MessageFader.Steps(), c.slow ? 10 : 20);
        EXPECT_EQ(f.StartLives, 4);
        EXPECT_EQ(f.ShieldLineY, 375);
        EXPECT_EQ(f.ServerPort, "4000");
        EXPECT_EQ(f.ServerPassword, "");
        EXPECT_FALSE(f.ServerAddress.empty());
        EXPECT_EQ(w.setting("Global", "FirstUse"), "0");
        EXPECT_FALSE(f.Loading);
        EXPECT_TRUE(f.GameOverFlag);
        EXPECT_FALSE(f.mnuFile.Enabled); // until the credits open it
        EXPECT_FALSE(f.Levels.empty());
        EXPECT_TRUE(w.window.shown);
        EXPECT_EQ(w.window.outerW, 609);
        EXPECT_EQ(w.window.outerH, 474);
        EXPECT_TRUE(f.UpdateGradient.Enabled());
    }
}

TEST(GameShellStartUp, TheHiscoreServerIsTheOneTheSettingsDialogShows) {
    struct Case {
        const char* stored; // nullptr: not stored
        std::string address;
        std::string download;
    };
    const std::vector<Case> cases = {
        {nullptr, DefaultServerAddress, std::string(DefaultServerAddress) + ":4000/idata.hsc"},
        {"http://my.host", "http://my.host", "http://my.host:4000/idata.hsc"},
        {"http://my.host//", "http://my.host", "http://my.host:4000/idata.hsc"},
        {"http://my.host/scores/", "http://my.host/scores", "http://my.host:4000/scores/idata.hsc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "missing");
        WindowFixture w;
        if (c.stored) {
            SaveSetting(App, "General", "Server", c.stored);
        }
        w.start();
        EXPECT_EQ(w.f().ServerAddress, c.address);
        EXPECT_EQ(tableDownloadUrl(w.f().ServerAddress, w.f().ServerPort), c.download);
        InternetConfigModel dialog;
        dialog.Form_Load();
        dialog.Command1_Click(); // OK saves what it shows, without the slashes
        EXPECT_EQ(dialog.Text1, c.address);
    }
    EXPECT_EQ(std::string(DefaultServerAddress), "http://hiscores.quillfen.example");
}

TEST(GameShellStartUp, StartLevelSwitchIsOneBasedRoundedAndBounded) {
    struct Case {
        const char* cmd;
        int level;
    };
    const Case cases[] = {{"-startfromlevel{3}", 2},   {"-startfromlevel{2.5}", 2},
                          {"-startfromlevel{3.5}", 2}, {"-startfromlevel{0}", 0},
                          {"-startfromlevel{}", 0},    {"-startfromlevel{9999}", -1}};
    for (const Case& c : cases) {
        WindowFixture w;
        w.start(std::string("-noamiga -nosfx ") + c.cmd);
        const int last = static_cast<int>(w.f().Levels.size()) - 1;
        EXPECT_EQ(w.f().StartFromLevel, c.level < 0 ? last : c.level) << c.cmd;
    }
}

// Stored numbers are edited by hand as often as by the dialogs: one that does not fit its
// variable takes the default instead of stopping the game.
TEST(GameShellStartUp, StoredJoystickNumbersOutOfRangeTakeTheirDefaults) {
    struct Case {
        const char* button; // DEVMODE\JOYSTICKBUTTON
        const char* tune;   // DEVMODE\JOYTUNE
        int wantButton;
        int wantTune;
    };
    const Case cases[] = {
        {"3", "4500", 3, 4500},    {"32768", "32768", 0, 500},         {"-32769", "-40000", 0, 500},
        {"1e20", "1e300", 0, 500}, {"32767", "-32768", 32767, -32768}, {"2.5", "7.5", 2, 8},
        {"x", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " / " + c.tune);
        WindowFixture w;
        SaveSetting(App, "DEVMODE", "JOYSTICK", "1");
        SaveSetting(App, "DEVMODE", "JOYSTICKBUTTON", c.button);
        SaveSetting(App, "DEVMODE", "JOYTUNE", c.tune);
        ASSERT_NO_THROW(w.start());
        EXPECT_EQ(w.f().JoystickButton, c.wantButton);
        EXPECT_EQ(w.f().JoystickTune, c.wantTune);
        EXPECT_FALSE(w.window.ended);
        EXPECT_FALSE(w.f().Levels.empty());
    }
}

TEST(GameShellStartUp, MenuOptionsComeBackFromSettingsWithTheDesignStateAsDefault) {
    WindowFixture w;
    SaveSetting(App, "sfx", "explosions", "False");
    SaveSetting(App, "General", "WaitForFire", "True");
    SaveSetting(App, "sfx", "music", "yes"); // not "True": off
    w.start();
    const GameForm& f = w.f();
    EXPECT_FALSE(f.mnuExplosionSounds.Checked);
    EXPECT_TRUE(f.mnuWaitForFire.Checked);
    EXPECT_FALSE(f.mnuMusic.Checked);
    EXPECT_TRUE(f.mnuFastMessages.Checked);     // design: checked
    EXPECT_FALSE(f.mnuShipShootSounds.Checked); // design: unchecked
    EXPECT_TRUE(f.mnuAlienShootSounds.Checked); // design: checked
    EXPECT_FALSE(f.mnuSound.Checked);           // -nosfx
    EXPECT_TRUE(w.music.plays.empty());         // music off
}

TEST(GameShellStartUp, SoundSwitchesAndSoundBuffers) {
    {
        WindowFixture w;
        w.start("-noamiga -nosfx -disablesfx");
        EXPECT_FALSE(w.f().mnuSound.Checked);
        EXPECT_FALSE(w.f().mnuSound.Enabled); // -disablesfx is tested first
        EXPECT_TRUE(DirectSoundReady);
        EXPECT_FALSE(w.f().Sound101[0].Loaded());
    }
    {
        WindowFixture w;
        w.start("-noamiga -nosfx");
        EXPECT_TRUE(w.f().mnuSound.Enabled);
        EXPECT_TRUE(DirectSoundReady);
    }
    {
        WindowFixture w;
        w.start("-noamiga");
        EXPECT_TRUE(DirectSoundReady);
        EXPECT_TRUE(w.f().mnuSound.Checked);
        for (int ch = 0; ch < 9; ++ch) {
            EXPECT_TRUE(w.f().Sound109[static_cast<std::size_t>(ch)].Loaded());
        }
        EXPECT_TRUE(w.f().Sound105[0].Loaded());
        EXPECT_FALSE(w.f().Sound105[1].Loaded());
        EXPECT_TRUE(w.f().Sound108[3].Loaded());
        EXPECT_TRUE(w.f().Sound113.Loaded());
        EXPECT_TRUE(w.dialogs.calls().empty());
    }
}

TEST(GameShellStartUp, AFailingSoundBufferFallsBackToTheSimplePlayerNamingTheFile) {
    const std::string fallback = "\r\n\r\nSound fx will play trough Windows Standard API.!\r\n\r\n"
                                 "Sounds may be very poor, and only one sound can be played at "
                                 "a time.";
    struct Case {
        const char* what;
        const char* junk101; // the bytes of sfx/101.wav; nullptr: the file is missing
        const char* prompt;  // after "Fatal error!\r\n"; % the folder, * any text
    };
    const Case cases[] = {
        {"missing wave", nullptr, "File not found: \"%sfx/101.wav\"\r\ncode:53"},
        // The sound library's own words stand in the brackets.
        {"not a wave", "no riff here", "Unable to load the sound: \"%sfx/101.wav\" (*)\r\ncode:5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WindowFixture w;
        const QString sfx = QString::fromStdString(w.folder() + "sfx");
        QFile::remove(sfx);
        QDir().mkpath(sfx); // no wave files
        if (c.junk101) {
            QFile f(sfx + "/101.wav");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.junk101);
        }
        w.start("-noamiga");
        EXPECT_FALSE(DirectSoundReady);
        ASSERT_EQ(w.dialogs.calls().size(), 1u);
        std::string expected = "Fatal error!\r\n" + std::string(c.prompt) + fallback;
        expected.replace(expected.find('%'), 1, w.folder());
        const std::string& prompt = w.dialogs.calls()[0].prompt;
        const auto star = expected.find('*');
        if (star == std::string::npos) {
            EXPECT_EQ(prompt, expected);
        } else {
            EXPECT_EQ(prompt.substr(0, star), expected.substr(0, star)) << prompt;
            const std::string tail = expected.substr(star + 1);
            EXPECT_EQ(prompt.substr(prompt.size() - std::min(prompt.size(), tail.size())), tail)
                << prompt;
        }
        EXPECT_EQ(w.dialogs.calls()[0].style, mb::Critical);
        EXPECT_FALSE(w.window.ended); // the game goes on
        EXPECT_FALSE(w.f().Levels.empty());
    }
}

TEST(GameShellStartUp, MusicChoice) {
    {
        WindowFixture w;
        w.start();
        ASSERT_EQ(w.music.plays.size(), 1u);
        EXPECT_EQ(w.music.plays[0], w.folder() + "sfx/bg.xm|195000|F");
    }
    {
        WindowFixture w;
        const std::string song = w.folder() + "sfx/101.wav";
        w.start("-noamiga -nosfx -musicfile{" + song + "}");
        ASSERT_EQ(w.music.plays.size(), 1u);
        EXPECT_EQ(w.music.plays[0], song + "|0|T");
    }
    {
        WindowFixture w;
        w.start("-noamiga -nosfx -musicfile{/no/such.xm}");
        ASSERT_EQ(w.music.plays.size(), 1u);
        EXPECT_EQ(w.music.plays[0], w.folder() + "sfx/bg.xm|195000|F");
    }
    {
        WindowFixture w;
        w.start("-noamiga -nosfx -disablemusic");
        EXPECT_TRUE(w.music.plays.empty());
        EXPECT_FALSE(w.f().mnuMusic.Enabled);
    }
    {
        WindowFixture w;
        w.start("-noamiga -nosfx -nomusic");
        EXPECT_TRUE(w.music.plays.empty());
        EXPECT_TRUE(w.f().mnuMusic.Enabled);
        w.s().mnuMusic_Click(); // on again: plays
        EXPECT_EQ(w.music.plays.size(), 1u);
        w.s().mnuMusic_Click();
        EXPECT_EQ(w.music.stops, 1);
    }
}

TEST(GameShellStartUp, IntroChoice) {
    {
        WindowFixture w;
        w.start("-nosfx");
        EXPECT_TRUE(w.f().c64Screen.Enabled());
        EXPECT_TRUE(w.f().Loading); // the intro calls InitGame
        EXPECT_TRUE(w.s().Flimmer.Visible);
    }
    {
        WindowFixture w;
        FirstUseFlag = true;
        w.start("-noamiga -nosfx");
        EXPECT_TRUE(w.f().c64Screen.Enabled());
    }
    {
        WindowFixture w;
        SkipIntroScreen = true;
        w.start("-nosfx");
        EXPECT_FALSE(w.f().c64Screen.Enabled());
        EXPECT_FALSE(w.f().Loading);
        EXPECT_FALSE(w.s().Flimmer.Visible);
    }
}

TEST(GameShellStartUp, LevelSetChoice) {
    {
        WindowFixture w;
        SkipIntroScreen = true;
        const std::string file = w.folder() + "Original_levels/my set.DAT";
        QFile::copy(QStringLiteral(VANTORIX_BIN_DIR "/custom_levels/Rookie.dat"),
                    QString::fromStdString(file));
        w.start("\"" + file + "\"");
        EXPECT_EQ(w.f().LevelSet.CurrentLevelFile, file);
        EXPECT_EQ(w.window.title, "Vantorix {" + file + "}");
    }
    {
        WindowFixture w;
        SkipIntroScreen = true;
        const std::string file = w.folder() + "sfx/101.wav";
        w.start(file);
        ASSERT_FALSE(w.dialogs.calls().empty());
        EXPECT_EQ(w.dialogs.calls()[0].prompt, "Invalid levelfile format!");
        EXPECT_EQ(w.dialogs.calls()[0].style, mb::Exclamation);
        EXPECT_FALSE(w.f().Levels.empty());
    }
}

// The ending of a level set named on the command line folds the same in every locale.
TEST(GameShellStartUpUnderLocale, LevelSetEndingInCapitals) {
    for (const char* name : {"MINI.DAT", "levels.Dat"}) {
        WindowFixture w;
        SkipIntroScreen = true;
        const std::string file = w.folder() + "Original_levels/" + name;
        QFile::copy(QStringLiteral(VANTORIX_BIN_DIR "/custom_levels/Rookie.dat"),
                    QString::fromStdString(file));
        w.start("\"" + file + "\"");
        EXPECT_EQ(w.f().LevelSet.CurrentLevelFile, file);
        EXPECT_TRUE(w.dialogs.calls().empty()) << name;
    }
}

// A level set whose path holds a switch word loads, and the word does not act.
TEST(GameShellStartUp, SwitchWordsInTheLevelPathDoNotAct) {
    WindowFixture w;
    const std::string folder = w.folder() + "my -resethi -nomusic sets/";
    QDir().mkpath(QString::fromStdString(folder));
    const std::string file = folder + "a -wobblefrumpy b.dat";
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTORIX_BIN_DIR "/custom_levels/Rookie.dat"),
                            QString::fromStdString(file)));
    const std::string cmd = "-noamiga -nosfx -loadlevels{" + file + "}";
    w.start(cmd);
    ASSERT_EQ(w.f().LevelSet.CurrentLevelFile, file);
    w.f().LevelSet.Hiscores[0] = HiscoreEntry{7654321, "KEEP", 3};
    ASSERT_TRUE(w.f().LevelSet.WriteHiscores());
    // The next start reads the table back untouched.
    w.shell.reset();
    w.engine.reset();
    w.form.reset();
    w.music.plays.clear();
    w.open(cmd).Form_Load();
    EXPECT_EQ(w.f().LevelSet.CurrentLevelFile, file);
    EXPECT_EQ(w.f().LevelSet.Hiscores[0].Name, "KEEP") << "the table was reset";
    EXPECT_TRUE(w.f().mnuMusic.Checked);
    EXPECT_FALSE(w.f().CheatMode);
    EXPECT_EQ(w.music.plays.size(), 1u);
}

// Each command line, and what it does to the files it names: the hiscore files of a custom
// set and of the shipped one, the level set read and the music played. A switch typed inside
// a value (a brace left open, a "}" that closes nothing) never acts, and a set that stood in
// for one that could not be read keeps its hiscores. A bare path is a file name: the switch
// words in it never act.
TEST(GameShellStartUp, SwitchesThatReachFiles) {
    struct Case {
        const char* tail;      // after "-noamiga -nosfx "
        const char* dialogSet; // the start dialog's choice
        bool customSet;        // the custom set is read, else the shipped one
        bool customReset, shippedReset;
        bool song; // the music file given plays, else the shipped tune
        VbInteger startLevel;
        const char* box;                   // in the first message box; "" for none
        const char* setName = "a set.dat"; // the custom set's file in "my sets/"
        bool bare = false;                 // the tail is the whole line
    };
    const Case cases[] = {
        {"-loadlevels{<S>} -resethi", "", true, true, false, false, 0, ""},
        {"-loadlevels{<S>} -startfromlevel{2} -musicfile{<M>}", "", true, false, false, true, 1,
         ""},
        {"-resethi", "", false, false, true, false, 0, ""},
        {"-resethi}", "", false, false, true, false, 0, ""},
        {"-loadlevels{<S> -resethi", "", false, false, false, false, 0,
         "File not found: \"<S> -resethi\""},
        {"-loadlevels{<S>} -musicfile{<M> -resethi", "", true, false, false, false, 0, ""},
        {"-musicfile{<M>} -startfromlevel{2 -resethi", "", false, false, false, true, 1, ""},
        {"-musicfile{<M> -loadlevels{<S>}", "", false, false, false, false, 0, ""},
        {"-loadlevels{<F>x/{a}/-resethi.dat}", "", false, false, false, false, 0,
         "\"<F>x/{a}/-resethi.dat\""},
        {"-loadlevels{<S>}} -resethi", "", false, false, false, false, 0, "\"<S>}\""},
        {"-loadlevels{} -resethi", "", false, false, false, false, 0,
         "ERROR! Level file is corrupted!\r\nPath/File access error: no file name"},
        {"-loadlevels{<F>none.dat} -resethi", "", false, false, false, false, 0, "\"<F>none.dat\""},
        {"-resethi", "<F>bad.dat", false, false, false, false, 0, "\"<F>bad.dat\""},
        {"<S>", "", true, false, false, false, 0, "", "-resethi.dat", true},
        {"\"<S>\"", "", true, false, false, false, 0, "", "a -resethi b.dat", true},
        {"<S>", "<F>bad.dat", true, false, false, false, 0, "", "-loadlevels{x} -resethi.dat",
         true},
        {"<S>", "", true, false, false, false, 0, "", "-startfromlevel{2} -musicfile{m}.dat", true},
        {"<S>", "", false, false, false, false, 0, "Invalid levelfile format!", "-resethi.txt",
         true},
        // Not a file: the words are switches again.
        {"<S> -resethi", "", false, false, true, false, 0, "", "x.dat", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tail) + " (" + c.setName + ")");
        WindowFixture w;
        const std::string folder = w.folder() + "my sets/";
        const std::string custom = folder + c.setName;
        const std::string shipped = w.folder() + "Original_levels/data.dat";
        QDir().mkpath(QString::fromStdString(folder));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VANTORIX_BIN_DIR "/custom_levels/Rookie.dat"),
                                QString::fromStdString(custom)));
        writeBytes(folder + "bad.dat", "l:x\r\n40000\r\n");
        HiscoreTable keep = defaultHiscores();
        keep[0] = HiscoreEntry{7654321, "KEEP", 3};
        const std::string customKept = encodeHiscoreFile(keep, false);
        const std::string shippedKept = encodeHiscoreFile(keep, true);
        writeBytes(hiscoreFileName(custom), customKept);
        writeBytes(hiscoreFileName(shipped), shippedKept);
        const std::vector<std::pair<std::string, std::string>> names = {
            {"<S>", custom}, {"<M>", w.folder() + "sfx/101.wav"}, {"<F>", folder}};
        LevelFilePath = filledIn(c.dialogSet, names);
        SkipIntroScreen = true;

        w.start(filledIn(std::string(c.bare ? "" : "-noamiga -nosfx ") + c.tail, names));

        const std::string set = c.customSet ? custom : shipped;
        EXPECT_EQ(w.f().LevelSet.CurrentLevelFile, set);
        EXPECT_EQ(w.window.title, c.customSet ? "Vantorix {" + custom + "}" : "Vantorix");
        const auto state = [](const std::string& path, bool binary, const std::string& kept) {
            const std::string bytes = bytesOf(path);
            return bytes == kept                                           ? "kept"
                   : bytes == encodeHiscoreFile(defaultHiscores(), binary) ? "reset"
                                                                           : "changed";
        };
        EXPECT_STREQ(state(hiscoreFileName(custom), false, customKept),
                     c.customReset ? "reset" : "kept");
        EXPECT_STREQ(state(hiscoreFileName(shipped), true, shippedKept),
                     c.shippedReset ? "reset" : "kept");
        EXPECT_EQ(w.music.plays,
                  std::vector<std::string>{c.song ? w.folder() + "sfx/101.wav|0|T"
                                                  : w.folder() + "sfx/bg.xm|195000|F"});
        EXPECT_EQ(w.f().StartFromLevel, c.startLevel);
        const std::string box = filledIn(c.box, names);
        const std::vector<std::string> prompts = w.dialogs.prompts();
        if (box.empty()) {
            EXPECT_TRUE(prompts.empty()) << prompts[0];
        } else if (prompts.empty()) {
            ADD_FAILURE() << "no box";
        } else {
            EXPECT_NE(prompts[0].find(box), std::string::npos) << prompts[0];
        }
        EXPECT_FALSE(w.window.ended);
    }
}

// A level set given as a bare path, its folders and its name holding every switch word the
// game knows (braces too): the set is read and written back at exit, and no word acts.
TEST(GameShellStartUp, ABarePathIsOnlyAFileName) {
    const std::string words = "-window -noamiga quintarflox -wobblefrumpy -startfromlevel{3} "
                              "-loadlevels{x} -musicfile{y} -resethi -disablemusic -nomusic "
                              "-disablesfx -nosfx -nojoyinit";
    struct Case {
        const char* folder; // under the program folder
        std::string name;
        bool quoted;
    };
    const Case cases[] = {
        {"sets/", words + ".dat", false},
        {"my -resethi -window sets/", "a set " + words + ".DAT", true},
        {"{-nosfx/", "-startfromlevel{2 -resethi}} -wobblefrumpy{.dat", false},
    };
    // The set in the fixture's program folder, with a table of its own; returns the line.
    const auto placeSet = [](WindowFixture& w, const Case& c, std::string& set) {
        const std::string folder = w.folder() + c.folder;
        set = folder + c.name;
        QDir().mkpath(QString::fromStdString(folder));
        EXPECT_TRUE(QFile::copy(QStringLiteral(VANTORIX_BIN_DIR "/custom_levels/Rookie.dat"),
                                QString::fromStdString(set)));
        HiscoreTable kept = defaultHiscores();
        kept[0] = HiscoreEntry{7654321, "KEEP", 3};
        writeBytes(hiscoreFileName(set), encodeHiscoreFile(kept, false));
        return c.quoted ? "\"" + set + "\"" : set;
    };
    SaveSetting(App, "DEVMODE", "FullScreen", "1");
    SaveSetting(App, "DEVMODE", "lWidth", "800");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + c.name);
        std::string set;
        {
            WindowFixture w;
            w.start(placeSet(w, c, set));
            EXPECT_TRUE(w.f().c64Screen.Enabled()) << "the intro was skipped";
        }
        WindowFixture w;
        SkipIntroScreen = true;
        w.start(placeSet(w, c, set));
        const GameForm& f = w.f();
        EXPECT_EQ(f.LevelSet.CurrentLevelFile, set);
        EXPECT_EQ(f.LevelSet.Hiscores[0].Name, "KEEP");
        EXPECT_TRUE(f.InFullScreen);
        EXPECT_FALSE(f.DeveloperMode);
        EXPECT_FALSE(f.CheatMode);
        EXPECT_FALSE(f.mnuCheat.Visible);
        EXPECT_EQ(f.StartFromLevel, 0);
        EXPECT_EQ(f.MusicFile, "");
        EXPECT_TRUE(f.mnuMusic.Checked && f.mnuMusic.Enabled);
        EXPECT_EQ(w.music.plays, std::vector<std::string>{w.folder() + "sfx/bg.xm|195000|F"});
        EXPECT_TRUE(f.mnuSound.Checked && f.mnuSound.Enabled);
        EXPECT_TRUE(f.Sound113.Loaded());
        EXPECT_TRUE(w.dialogs.calls().empty());
        // The exit writes the set's table back, as for any set the player chose.
        w.f().LevelSet.Hiscores[1] = HiscoreEntry{6543210, "NEW", 2};
        const std::string written = encodeHiscoreFile(w.f().LevelSet.Hiscores, false);
        w.s().mnuExit_Click();
        ASSERT_TRUE(w.window.ended);
        EXPECT_TRUE(bytesOf(hiscoreFileName(set)) == written) << "the table was not written";
    }
}

TEST(GameShellStartUp, DisplayProblemsStopTheStart) {
    WindowFixture w;
    SaveSetting(App, "DEVMODE", "FullScreen", "1");
    SaveSetting(App, "DEVMODE", "lERROR", "1");
    w.start();
    ASSERT_EQ(w.dialogs.calls().size(), 1u);
    EXPECT_EQ(w.dialogs.calls()[0].title, "DISPLAY PROBLEMS");
    EXPECT_EQ(w.dialogs.calls()[0].style, mb::Critical);
    EXPECT_TRUE(w.window.ended);
    EXPECT_FALSE(w.window.shown);
}

// A start that fails before the options were read leaves the stored ones as they were;
// the exit must not write the menu's design state over them.
TEST(GameShellStartUp, AFailedStartKeepsTheStoredOptions) {
    const struct {
        const char* section;
        const char* key;
        const char* value; // each the opposite of the design state
    } stored[] = {{"sfx", "sfx", "False"},
                  {"sfx", "music", "False"},
                  {"sfx", "shipshoot", "True"},
                  {"sfx", "alienshoot", "False"},
                  {"sfx", "explosions", "False"},
                  {"General", "InternetMode", "True"},
                  {"General", "WaitForFire", "True"},
                  {"General", "FastMessages", "False"}};
    WindowFixture w;
    for (const auto& o : stored) {
        SaveSetting(App, o.section, o.key, o.value);
    }
    QFile::remove(QString::fromStdString(w.folder() + "gfx")); // the pictures are gone
    w.start("-noamiga");
    ASSERT_TRUE(w.window.ended);
    ASSERT_EQ(w.setting("DEVMODE", "lERROR"), "1");
    for (const auto& o : stored) {
        EXPECT_EQ(w.setting(o.section, o.key), o.value) << o.section << "\\" << o.key;
    }
}

TEST(GameShellStartUp, FatalErrorNamesThePictureEndsTheProgramAndMarksTheDisplay) {
    WindowFixture w;
    w.open("-noamiga -nosfx");
    w.s().Form_Load();
    ASSERT_TRUE(w.window.ended == false);
    // Later starts with pictures gone or broken.
    struct Case {
        const char* what;
        const char* picture;     // the one picture taken away or replaced; nullptr: all
        const char* replacement; // its bytes; nullptr: taken away
        const char* prompt;      // % for the program folder
    };
    const Case cases[] = {
        {"no picture folder", nullptr, nullptr,
         "Path not found: \"%gfx/hi_color/monster00.bmp\"\r\ncode:76"},
        {"one picture missing", "drop03.bmp", nullptr,
         "File not found: \"%gfx/hi_color/drop03.bmp\"\r\ncode:53"},
        {"one picture broken", "drop03.bmp", "BM but no picture",
         "Invalid picture: \"%gfx/hi_color/drop03.bmp\"\r\ncode:481"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WindowFixture v;
        const QString gfx = QString::fromStdString(v.folder() + "gfx");
        QFile::remove(gfx);
        if (c.picture) {
            // Every built picture linked on its own, so that one can go.
            const QDir built(QStringLiteral(VANTORIX_BIN_DIR) + "/gfx/hi_color");
            QDir().mkpath(gfx + "/hi_color");
            for (const QString& name : built.entryList(QDir::Files)) {
                if (name != QLatin1String(c.picture)) {
                    QFile::link(built.filePath(name), gfx + "/hi_color/" + name);
                }
            }
            if (c.replacement) {
                QFile f(gfx + "/hi_color/" + c.picture);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(c.replacement);
            }
        }
        v.start();
        ASSERT_FALSE(v.dialogs.calls().empty());
        const auto& call = v.dialogs.calls().back();
        std::string expected = std::string("Fatal error!\r\n\r\n") + c.prompt;
        expected.replace(expected.find('%'), 1, v.folder());
        EXPECT_EQ(call.prompt, expected);
        EXPECT_EQ(call.style, mb::Critical);
        EXPECT_EQ(v.setting("DEVMODE", "lERROR"), "1");
        EXPECT_TRUE(v.window.ended);
        if (c.picture) {
            // The pictures before the broken one are loaded.
            EXPECT_TRUE(v.f().Monster0[21]->hasPicture());
            EXPECT_TRUE(v.f().AlienShoots[1]->hasPicture());
        }
    }
}

// What each of the start's outside calls finds done: credits come after the pictures, the
// sprite sets and the window; the demo after the options, the first level and the music;
// internet mode after the gradient, and before the sound effects.
TEST(GameShellStartUp, StartStepsComeInTheirOrder) {
    WindowFixture w;
    SaveSetting(App, "General", "WaitForFire", "True");
    SaveSetting(App, "General", "InternetMode", "True");
    w.open("-noamiga -nosfx");
    GameForm& f = w.f();
    const auto state = [&] {
        return std::string(w.window.shown ? "shown" : "hidden") + " pictures " +
               (f.Monster0[0]->hasPicture() ? "1" : "0") + " speed " + std::to_string(f.ShotSpeed) +
               " aliens " + std::to_string(f.Aliens.size()) + " options " +
               (f.mnuWaitForFire.Checked ? "1" : "0") + " music " +
               std::to_string(w.music.plays.size()) + " gradient " +
               (f.UpdateGradient.Enabled() ? "1" : "0") + " sfx " +
               (f.mnuSound.Checked ? "1" : "0") + (DirectSoundReady ? " ready" : " not ready");
    };
    std::vector<std::string> calls;
    w.s().parts.InitCredits = [&] { calls.push_back("credits: " + state()); };
    w.s().parts.StartDemo = [&] { calls.push_back("demo: " + state()); };
    w.s().parts.mnuUseInternetHiscore_Click = [&] { calls.push_back("internet: " + state()); };
    w.s().Form_Load();
    const std::string aliens = std::to_string(f.Levels.at(0).AlienType.size());
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "credits: shown pictures 1 speed 8 aliens 1 options 0 music 0 "
                         "gradient 0 sfx 1 not ready",
                         "demo: shown pictures 1 speed 8 aliens " + aliens +
                             " options 1 music 1 gradient 0 sfx 1 not ready",
                         "internet: shown pictures 1 speed 8 aliens " + aliens +
                             " options 1 music 1 gradient 1 sfx 1 not ready",
                     }));
    EXPECT_FALSE(f.mnuSound.Checked);
    EXPECT_TRUE(DirectSoundReady);

    // A full-screen start (the window is first shown by InitGame) without its pictures: the
    // constants are set, then the pictures fail, and the window is never shown.
    WindowFixture v;
    SaveSetting(App, "DEVMODE", "FullScreen", "1");
    SaveSetting(App, "Global", "SlowPC", "1");
    QFile::remove(QString::fromStdString(v.folder() + "gfx"));
    v.open("-noamiga -nosfx");
    bool credits = false;
    v.s().parts.InitCredits = [&] { credits = true; };
    v.s().Form_Load();
    EXPECT_TRUE(v.window.ended);
    EXPECT_EQ(v.f().ShotSpeed, 12);
    EXPECT_FALSE(v.window.shown);
    EXPECT_FALSE(credits);
}
