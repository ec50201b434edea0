#include "DialogService.h"
#include "FullDisk.h"
#include "KeyboardDevice.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A running game past its get-ready phase.
void playing(WindowFixture& w) {
    w.enableGameMenu();
    w.s().mnuNewGame_Click();
    w.f().LevelStarting = false;
    w.f().PlaceShipTimer.setEnabled(false);
}

void typeCode(GameShell& s) {
    // Key codes whose decimal texts join to the code.
    for (int code : {58, 27, 13, 90, 46, 25, 18, 0, 3, 4, 72, 96, 0, 51}) {
        s.dx8Keyboard1_KeyDown(code);
    }
}

// Scripted boxes that let a key go while the first input box is open, as a player's hand
// does.
class BoxesWhileKeysMove : public ScriptedDialogs {
public:
    std::function<void()> duringFirstInput;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        if (duringFirstInput) {
            const auto step = std::move(duringFirstInput);
            duringFirstInput = nullptr;
            step();
        }
        return ScriptedDialogs::inputBox(prompt, title, defaultText);
    }
};

// The message boxes shown, without the input boxes.
std::vector<std::string> messagesOf(const ScriptedDialogs& dialogs) {
    std::vector<std::string> messages;
    for (const auto& c : dialogs.calls()) {
        if (!c.input) {
            messages.push_back(c.prompt);
        }
    }
    return messages;
}

void touch(const std::string& path) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(GameShellKeyCommands, TableOfKeysInPlay) {
    struct Case {
        int code;
        const char* effect;
    };
    const Case cases[] = {{1, "pause"},  {25, "pause"},  {197, "pause"}, {200, "up"},
                          {203, "left"}, {205, "right"}, {208, "down"},  {57, "fire"},
                          {59, "help"},  {30, "nothing"}};
    for (const Case& c : cases) {
        WindowFixture w;
        w.start();
        playing(w);
        GameForm& f = w.f();
        w.s().dx8Keyboard1_KeyDown(c.code);
        const std::string e = c.effect;
        SCOPED_TRACE(c.code);
        EXPECT_EQ(f.Paused, e == "pause" || e == "help");
        EXPECT_EQ(f.lbPause.Visible, e == "pause" || e == "help");
        EXPECT_EQ(f.ShipSprite.UP != 0, e == "up");
        EXPECT_EQ(f.ShipSprite.Left != 0, e == "left");
        EXPECT_EQ(f.ShipSprite.Right != 0, e == "right");
        EXPECT_EQ(f.ShipSprite.Down != 0, e == "down");
        EXPECT_EQ(f.FireHeld, e == "fire");
        EXPECT_EQ(f.ShootTimer.Enabled(), e == "fire");
        EXPECT_EQ(w.s().Help.Visible, e == "help");
        w.s().dx8Keyboard1_KeyUp(c.code);
        EXPECT_EQ(f.ShipSprite.UP | f.ShipSprite.Left | f.ShipSprite.Right | f.ShipSprite.Down, 0);
        EXPECT_FALSE(f.FireHeld);
        EXPECT_FALSE(f.ShootTimer.Enabled());
    }
}

TEST(GameShellKeyCommands, PauseResumeAndNewGame) {
    WindowFixture w;
    w.start();
    GameForm& f = w.f();
    w.s().dx8Keyboard1_KeyDown(57); // the Game menu is still closed: nothing
    EXPECT_TRUE(f.GameOverFlag);
    w.enableGameMenu();
    w.s().dx8Keyboard1_KeyDown(1); // no game: no pause
    EXPECT_FALSE(f.Paused);
    w.s().dx8Keyboard1_KeyDown(57); // new game
    EXPECT_FALSE(f.GameOverFlag);
    EXPECT_FALSE(w.s().mnuNewGame.Enabled);
    w.s().dx8Keyboard1_KeyUp(57);
    f.LevelStarting = false;
    f.PlaceShipTimer.setEnabled(false);

    w.s().dx8Keyboard1_KeyDown(25);
    EXPECT_TRUE(f.Paused);
    EXPECT_TRUE(f.PauseTimer.Enabled());
    w.s().dx8Keyboard1_KeyDown(25);
    EXPECT_FALSE(f.Paused);
    EXPECT_FALSE(f.PauseTimer.Enabled());

    // Fire while paused resumes, then fires at once.
    w.s().dx8Keyboard1_KeyDown(1);
    w.s().dx8Keyboard1_KeyDown(57);
    EXPECT_FALSE(f.Paused);
    EXPECT_FALSE(f.lbPause.Visible);
    EXPECT_TRUE(f.FireHeld);
    EXPECT_TRUE(f.ShootTimer.Enabled());
    w.s().dx8Keyboard1_KeyUp(57);

    // Waiting for fire: resumes and starts the autofire.
    f.Paused = true;
    f.WaitingForFire = true;
    w.s().dx8Keyboard1_KeyDown(57);
    EXPECT_FALSE(f.WaitingForFire);
    EXPECT_TRUE(f.ShootTimer.Enabled());

    // The help page swallows the key that closes it.
    w.s().dx8Keyboard1_KeyUp(57);
    w.s().Help.Visible = true;
    w.s().dx8Keyboard1_KeyDown(203);
    EXPECT_FALSE(w.s().Help.Visible);
    EXPECT_EQ(f.ShipSprite.Left, 0);
}

TEST(GameShellKeyCommands, OnlyTheActiveGameWindowTakesCommands) {
    WindowFixture w;
    w.start();
    playing(w);
    w.window.active = false;
    w.s().dx8Keyboard1_KeyDown(1);
    w.s().dx8Keyboard1_KeyDown(203);
    EXPECT_FALSE(w.f().Paused);
    EXPECT_EQ(w.f().ShipSprite.Left, 0);
}

TEST(GameShellKeyCommands, TypedCodeTogglesCheatMode) {
    WindowFixture w;
    w.start();
    GameShell& s = w.s();
    typeCode(s);
    EXPECT_TRUE(w.f().CheatMode);
    EXPECT_TRUE(w.f().mnuCheat.Visible);
    EXPECT_TRUE(w.f().cheatsplitter.Visible);
    // A wrong key in the middle restarts; the whole code afterwards still matches.
    s.dx8Keyboard1_KeyDown(58);
    s.dx8Keyboard1_KeyDown(27);
    s.dx8Keyboard1_KeyDown(30);
    typeCode(s);
    EXPECT_FALSE(w.f().CheatMode);
    EXPECT_FALSE(w.f().mnuCheat.Visible);
    // Not while another window is active.
    w.window.active = false;
    typeCode(s);
    EXPECT_FALSE(w.f().CheatMode);
    // Internet mode refuses it.
    w.window.active = true;
    w.f().mnuUseInternetHiscore.Checked = true;
    typeCode(s);
    EXPECT_FALSE(w.f().CheatMode);
    ASSERT_FALSE(w.dialogs.calls().empty());
    EXPECT_EQ(w.dialogs.calls().back().prompt,
              "Can't set cheatmode, please turn off INTERNET MODE first!");
    EXPECT_EQ(w.dialogs.calls().back().style, mb::Critical);
}

TEST(GameShellKeyCommands, JoystickDeadBand) {
    WindowFixture w;
    w.start();
    playing(w);
    GameForm& f = w.f();
    f.JoystickTune = 500;
    f.JoystickButton = 3;
    dx8Joystick::SliderArray sliders{};
    dx8Joystick::ButtonArray buttons{};
    w.s().dx8Joystick1_JoystickChange(4500, 5500, 0, 0, 0, 0, sliders, buttons);
    EXPECT_EQ(f.ShipSprite.Left | f.ShipSprite.Right | f.ShipSprite.UP | f.ShipSprite.Down, 0);
    w.s().dx8Joystick1_JoystickChange(4499, 5501, 0, 0, 0, 0, sliders, buttons);
    EXPECT_NE(f.ShipSprite.Left, 0);
    EXPECT_NE(f.ShipSprite.Down, 0);
    EXPECT_EQ(f.ShipSprite.Right | f.ShipSprite.UP, 0);
    buttons[3] = true;
    w.s().dx8Joystick1_JoystickChange(5000, 5000, 0, 0, 0, 0, sliders, buttons);
    EXPECT_EQ(f.ShipSprite.Left | f.ShipSprite.Down, 0);
    EXPECT_TRUE(f.FireHeld);
    f.JoystickButton = 40; // outside the device: never pressed
    f.JoystickTune = 32767;
    w.s().dx8Joystick1_JoystickChange(0, 10000, 0, 0, 0, 0, sliders, buttons);
    EXPECT_FALSE(f.FireHeld);
    EXPECT_EQ(f.ShipSprite.Left, 0);
}

TEST(GameShellKeyCommands, ScreenDumpNames) {
    WindowFixture w;
    w.start();
    const std::string dir = w.folder() + "screendumps/";
    EXPECT_EQ(GameShell::nextScreenDumpFile(), dir + "000000.bmp");
    touch(dir + "000000.bmp");
    touch(dir + "000002.bmp");
    EXPECT_EQ(GameShell::nextScreenDumpFile(), dir + "000001.bmp");
    w.s().dx8Keyboard1_KeyDown(183);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir + "000001.bmp")));
    EXPECT_GT(QFile(QString::fromStdString(dir + "000001.bmp")).size(), 54);
    // Taken whatever window is active; no folder, no file and no message.
    w.window.active = false;
    w.s().dx8Keyboard1_KeyDown(183);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir + "000003.bmp")));
    QDir(QString::fromStdString(dir)).removeRecursively();
    w.s().dx8Keyboard1_KeyDown(183);
    EXPECT_FALSE(QDir(QString::fromStdString(dir)).exists());
    EXPECT_TRUE(w.dialogs.calls().empty());
}

TEST(GameShellKeyCommands, DumpSeriesAsksForIntervalAndCount) {
    WindowFixture w;
    w.start();
    for (const char* a : {"99", "10001", "abc", "250", "0", "101", "3"}) {
        w.dialogs.answerInput(a);
    }
    w.s().dx8Keyboard1_KeyDown(84);
    const std::vector<std::string> messages = messagesOf(w.dialogs);
    const std::vector<std::string> expected = {"Invalid number!", "Invalid number!",
                                               "Please enter a number!", "Invalid number!",
                                               "Invalid number!"};
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(w.f().AutoDump.Interval(), 250);
    EXPECT_EQ(w.f().AutoDumpCount, 3);
    ASSERT_TRUE(w.f().AutoDump.Enabled());
    w.clock.advance(1000);
    EXPECT_FALSE(w.f().AutoDump.Enabled());
    const QDir dumps(QString::fromStdString(w.folder() + "screendumps"));
    EXPECT_EQ(dumps.entryList(QDir::Files).size(), 3);
    // An empty answer ends the set-up: the count stays.
    w.dialogs.answerInput("500");
    w.dialogs.answerInput("");
    w.s().dx8Keyboard1_KeyDown(84);
    EXPECT_EQ(w.f().AutoDump.Interval(), 500);
    EXPECT_FALSE(w.f().AutoDump.Enabled());
}

// Under a locale that writes a decimal comma the boxes still take a decimal point.
TEST(GameShellKeyCommandsUnderLocale, DumpSeriesTakesADecimalPoint) {
    WindowFixture w;
    w.start();
    for (const char* a : {"150,5", "150.5", "2,5", "2.5"}) {
        w.dialogs.answerInput(a);
    }
    w.s().dx8Keyboard1_KeyDown(84);
    const std::vector<std::string> messages = messagesOf(w.dialogs);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"Please enter a number!", "Please enter a number!"}));
    EXPECT_EQ(w.f().AutoDump.Interval(), 150); // halves to even
    EXPECT_EQ(w.f().AutoDumpCount, 2);
}

// Alt + Print Screen sets up a series and takes no picture itself: the key reaches the
// window twice (the shortcut check, then the press, both stamped with the press's time) and
// the keys are let go inside the first box, which must not turn the second copy into a
// Print Screen of its own.
TEST(GameShellKeyCommands, AltPrintScreenTakesExactlyTheSeriesCount) {
    constexpr unsigned xLeftAlt = 64, xPrint = 107; // X11 keycodes of a PC keyboard
    struct Case {
        std::vector<const char*> answers;
        int pictures;
    };
    const Case cases[] = {{{""}, 0}, {{"100", ""}, 0}, {{"100", "1"}, 1}, {{"100", "3"}, 3}};
    // What the hand lets go while the first box is open: Alt alone, or both keys of a quick
    // press.
    for (const bool quickPress : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.pictures) + (quickPress ? " quick" : " held"));
            KeyboardDevice::instance().releaseAll();
            WindowFixture w;
            BoxesWhileKeysMove boxes;
            DialogService::install(&boxes);
            for (const char* a : c.answers) {
                boxes.answerInput(a);
            }
            w.start();
            QWidget window;
            window.show();
            const auto send = [&](QEvent::Type type, unsigned keycode, unsigned long time) {
                QKeyEvent ev(type, 0, Qt::NoModifier, keycode, 0, 0);
                ev.setTimestamp(time);
                QApplication::sendEvent(window.windowHandle(), &ev);
            };
            boxes.duringFirstInput = [&] {
                if (quickPress) {
                    send(QEvent::KeyRelease, xPrint, 1030);
                }
                send(QEvent::KeyRelease, xLeftAlt, 1040);
            };
            send(QEvent::KeyPress, xLeftAlt, 1000);
            send(QEvent::ShortcutOverride, xPrint, 1020);
            send(QEvent::KeyPress, xPrint, 1020);
            if (!quickPress) {
                send(QEvent::KeyRelease, xPrint, 1050);
            }
            w.clock.advance(1000);
            const QDir dumps(QString::fromStdString(w.folder() + "screendumps"));
            EXPECT_EQ(dumps.entryList(QDir::Files).size(), c.pictures);
            EXPECT_FALSE(w.f().AutoDump.Enabled());
            DialogService::install(&w.dialogs);
            KeyboardDevice::instance().releaseAll();
        }
    }
}

// Where in the handler a key stops: the dump and debug keys work in any window, the help
// page takes the key that closes it, F5 and F4 work with the Game menu closed, and the play
// keys wait for the ship's glide while the pause keys do not.
TEST(GameShellKeyCommands, EachKeyStopsAtItsGate) {
    struct Case {
        const char* what;
        int code;
        std::function<void(WindowFixture&)> setUp;
        const char* effects;
    };
    const auto inPlay = [](WindowFixture& w) { playing(w); };
    const Case cases[] = {
        {"F12 in another window", 88, [](WindowFixture& w) { w.window.active = false; }, "debug"},
        {"F1 in another window", 59, [](WindowFixture& w) { w.window.active = false; }, ""},
        {"F1 in play", 59, inPlay, "pause help"},
        {"Escape closing the help page", 1,
         [](WindowFixture& w) {
             playing(w);
             w.s().Help.Visible = true;
         },
         ""},
        {"F5 in internet mode, Game menu closed", 63,
         [](WindowFixture& w) { w.f().mnuUseInternetHiscore.Checked = true; }, "refresh"},
        {"F5 with the info window open", 63,
         [](WindowFixture& w) {
             w.f().mnuUseInternetHiscore.Checked = true;
             w.s().parts.InfoWindowOpen = [] { return true; };
         },
         ""},
        {"F4 in cheat mode", 62,
         [](WindowFixture& w) {
             playing(w);
             w.f().CheatMode = true;
         },
         "panel pause"},
        {"F4 without cheat mode", 62, inPlay, ""},
        {"Escape, Game menu closed", 1,
         [](WindowFixture& w) {
             playing(w);
             w.f().mnuFile.Enabled = false;
         },
         ""},
        {"Escape while the ship glides in", 1,
         [](WindowFixture& w) {
             playing(w);
             w.f().PlaceShipTimer.setEnabled(true);
         },
         "pause"},
        {"Left while the ship glides in", 203,
         [](WindowFixture& w) {
             playing(w);
             w.f().PlaceShipTimer.setEnabled(true);
         },
         ""},
        {"fire during the announcement", 57,
         [](WindowFixture& w) {
             playing(w);
             w.f().LevelStarting = true;
         },
         "fire"},
        {"fire in play", 57, inPlay, "fire autofire"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WindowFixture w;
        w.start();
        int debug = 0, refresh = 0, panel = 0;
        w.s().parts.mnuShowProcessInfo_Click = [&] { ++debug; };
        w.s().parts.mnuUpdateInternetHiscoresNow_Click = [&] { ++refresh; };
        w.s().parts.mnuCheatPanel_Click = [&] { ++panel; };
        c.setUp(w);
        w.s().dx8Keyboard1_KeyDown(c.code);
        const GameForm& f = w.f();
        std::string effects;
        const auto mark = [&](bool on, const char* name) {
            if (on) {
                effects += effects.empty() ? name : std::string(" ") + name;
            }
        };
        mark(debug == 1, "debug");
        mark(refresh == 1, "refresh");
        mark(panel == 1, "panel");
        mark(f.Paused, "pause");
        mark(w.s().Help.Visible, "help");
        mark(f.ShipSprite.Left != 0, "left");
        mark(f.FireHeld, "fire");
        mark(f.ShootTimer.Enabled(), "autofire");
        EXPECT_EQ(effects, c.effects);
    }
}

namespace {

// The message boxes shown so far (input boxes left out).
std::vector<ScriptedDialogs::Call> messageBoxes(const ScriptedDialogs& dialogs) {
    std::vector<ScriptedDialogs::Call> boxes;
    for (const auto& c : dialogs.calls()) {
        if (!c.input) {
            boxes.push_back(c);
        }
    }
    return boxes;
}

// A press tells its own failure; a series of three tells its first one only, and the next
// series again.
void expectToldOncePerPressAndSeries(WindowFixture& w, const std::string& cause) {
    const std::string told = "ERROR! Unable to save the screen dump!\r\n\r\n" + cause;
    w.s().dx8Keyboard1_KeyDown(183);
    w.s().dx8Keyboard1_KeyDown(183);
    for (int series = 0; series < 2; ++series) {
        w.dialogs.answerInput("100");
        w.dialogs.answerInput("3");
        w.s().dx8Keyboard1_KeyDown(84);
        w.clock.advance(1000);
        EXPECT_FALSE(w.f().AutoDump.Enabled());
    }
    const auto boxes = messageBoxes(w.dialogs);
    ASSERT_EQ(boxes.size(), 4u);
    for (const auto& b : boxes) {
        EXPECT_EQ(b.prompt, told);
        EXPECT_EQ(b.style, mb::Exclamation);
    }
}

} // namespace

TEST(GameShellKeyCommands, AScreenDumpThatCannotBeSavedIsTold) {
    struct Case {
        const char* what;
        std::function<void(const std::string& dir)> arrange;
        std::string cause; // after the folder
    };
    const Case cases[] = {
        {"a folder in the first free name's way",
         [](const std::string& dir) { QDir().mkpath(QString::fromStdString(dir + "000000.bmp")); },
         "000000.bmp\" is not a regular file"},
        {"every name taken",
         [](const std::string& dir) {
             for (int n = 0; n <= 32767; ++n) {
                 char name[16];
                 std::snprintf(name, sizeof name, "%06d.bmp", n);
                 std::ofstream(dir + name);
             }
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WindowFixture w;
        w.start();
        const std::string dir = w.folder() + "screendumps/";
        c.arrange(dir);
        const std::string cause =
            !c.cause.empty() ? "Path/File access error: \"" + dir + c.cause
                             : "Every screen dump name from 000000.bmp to 032767.bmp is taken: \"" +
                                   w.folder() + "screendumps\"";
        expectToldOncePerPressAndSeries(w, cause);
    }
}

TEST(GameShellKeyCommands, AScreenDumpOnAFullDiskIsToldAndLeavesNoFile) {
    if (FullDisk::ranInside()) {
        return;
    }
    WindowFixture w;
    w.start();
    const std::string dir = w.folder() + "screendumps";
    FullDisk disk;
    if (const std::string why = disk.mountOver(dir); !why.empty()) {
        GTEST_SKIP() << why;
    }
    disk.fill();
    expectToldOncePerPressAndSeries(w, "Disk full: \"" + dir + "/000000.bmp\"");
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        EXPECT_TRUE(entry.path().filename().string().starts_with(".fill")) << entry.path();
    }
}
