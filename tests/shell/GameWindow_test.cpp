#include "BoxPlayer.h"
#include "DialogService.h"
#include "HttpTestServer.h"
#include "InfoModel.h"
#include "MPLAY.h"
#include "ManualClock.h"
#include "QFTModule.h"
#include "RealBoxes.h"
#include "Settings.h"
#include "SurfaceView.h"
#include "frmControl.h"
#include "frmMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// "caption [x]" for a checked item, "caption [ ]" for an unchecked one, "-" for a separator;
// submenus indented.
void listMenu(const QMenu* menu, const std::string& indent, std::vector<std::string>& out) {
    for (QAction* a : menu->actions()) {
        if (!a->isVisible()) {
            continue;
        }
        if (a->isSeparator()) {
            out.push_back(indent + "-");
            continue;
        }
        std::string line = indent + a->text().toStdString();
        if (a->isCheckable()) {
            line += a->isChecked() ? " [x]" : " [ ]";
        }
        out.push_back(line);
        if (a->menu()) {
            listMenu(a->menu(), indent + "  ", out);
        }
    }
}

// A program folder of its own with the built pictures, sounds and shipped levels.
class ProgramFolder {
public:
    ProgramFolder() {
        const QString bin = QStringLiteral(VANTORIX_BIN_DIR);
        QDir root(dir.path());
        QFile::link(bin + "/gfx", root.filePath("gfx"));
        QFile::link(bin + "/sfx", root.filePath("sfx"));
        root.mkpath("Original_levels");
        QFile::copy(bin + "/Original_levels/data.dat", root.filePath("Original_levels/data.dat"));
        setAppPathForTesting(path());
        DialogService::install(&dialogs);
    }
    ~ProgramFolder() {
        DialogService::install(nullptr);
        setAppPathForTesting("");
    }
    std::string path() const { return dir.path().toStdString() + "/"; }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
};

// Counts the paints of every surface view in a window.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& window) {
        for (SurfaceView* v : window.findChildren<SurfaceView*>()) {
            v->installEventFilter(this);
        }
    }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

// "Title music" off stops what plays, the shipped module as well as a stream from
// "-musicfile".
TEST(GameWindow, TitleMusicOffStopsModuleAndStream) {
    for (const char* music : {"", "sfx/101.wav"}) {
        SCOPED_TRACE(music);
        ProgramFolder folder;
        SaveSetting("Vantorix", "sfx", "music", "True"); // the last window's exit wrote False
        std::string cmd = "-noamiga -nosfx";
        if (*music) {
            cmd += " -musicfile{" + folder.path() + music + "}";
        }
        frmMain window(cmd);
        ASSERT_TRUE(window.load());
        MPLAY* player = window.findChild<MPLAY*>();
        ASSERT_NE(player, nullptr);
        ASSERT_TRUE(player->IsPlaying() || player->StreamIsPlaying());
        EXPECT_EQ(player->StreamIsPlaying(), *music != 0);
        window.shell().mnuMusic_Click();
        EXPECT_FALSE(window.form().mnuMusic.Checked);
        EXPECT_FALSE(player->IsPlaying());
        EXPECT_FALSE(player->StreamIsPlaying());
        window.close();
    }
}

TEST(GameWindow, ClosingWhileTheServersTableIsAwaitedEndsAtOnce) {
    // Switched on from the menu, and restored at start-up (with the sounds still to load).
    for (const bool atStartUp : {false, true}) {
        SCOPED_TRACE(atStartUp ? "at start-up" : "from the menu");
        ProgramFolder folder;
        LoopbackHttpServer server;
        server.hold();
        SaveSetting("Vantorix", "General", "Server", "http://127.0.0.1");
        SaveSetting("Vantorix", "General", "Port", std::to_string(server.port()));
        SaveSetting("Vantorix", "General", "InternetMode", atStartUp ? "True" : "False");
        DirectSoundReady = false;
        frmMain window(atStartUp ? "-noamiga" : "-noamiga -nosfx");
        // The window is closed once the table download waits (its deadline is 15 s).
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, &window, [&] {
            if (!server.requestLines().empty()) {
                closer.stop();
                window.close();
            }
        });
        closer.start(20);
        if (atStartUp) {
            EXPECT_FALSE(window.load());
            EXPECT_FALSE(DirectSoundReady); // nothing more was loaded after the close
        } else {
            ASSERT_TRUE(window.load());
            window.shell().parts.mnuUseInternetHiscore_Click();
        }
        EXPECT_TRUE(window.ended());
        EXPECT_TRUE(folder.dialogs.calls().empty());
        EXPECT_FALSE(InfoWindowOpen);
        EXPECT_EQ(server.requestLines(), std::vector<std::string>{"GET /idata.hsc HTTP/1.1"});
        EXPECT_EQ(GetSetting("Vantorix", "General", "InternetMode", ""), "True");
    }
}

TEST(GameWindow, MenuTreeWithCheckMarks) {
    ProgramFolder folder;
    {
        frmMain window("-noamiga -nosfx -wobblefrumpy");
        ASSERT_TRUE(window.load());
        EXPECT_TRUE(window.isVisible());
        const QList<QAction*> top = window.menuBar()->actions();
        ASSERT_EQ(top.size(), 1);
        EXPECT_EQ(top[0]->text(), "Game");
        std::vector<std::string> items;
        listMenu(top[0]->menu(), "", items);
        const std::vector<std::string> expected = {
            "New Game",
            "End Game",
            "-",
            "Internet Mode [ ]",
            "-",
            "Options",
            "  Sound Effects",
            "    Sound effects [ ]", // -nosfx
            "    -",
            "    Ship shoot sounds [ ]",
            "    Alien shoot sounds [x]",
            "    Explosion sounds [x]",
            "  Music",
            "    Title music [x]",
            "  -",
            "  Auto Pause [ ]",
            "  Fast messages [x]",
            "-",
            "Show Debug Window (F12)",
            "-",
            "Cheats",
            "  Show Cheat Panel (F4)",
            "  Jump to level",
        };
        ASSERT_GE(items.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(items.begin(), items.begin() + expected.size()),
                  expected);
        EXPECT_EQ(items.back(), "Exit");
        // The jump menu has one item per level.
        const std::string first = "    Level 01";
        EXPECT_NE(std::find(items.begin(), items.end(), first), items.end());

        window.shell().mnuExplosionSounds_Click();
        window.syncView();
        items.clear();
        listMenu(top[0]->menu(), "", items);
        EXPECT_NE(std::find(items.begin(), items.end(), "    Explosion sounds [ ]"), items.end());
        window.close();
        EXPECT_TRUE(window.ended());
    }
}

// The window shows what the game draws and moves, and nothing more: while the game stands
// still no view repaints, and a shown pause label or a moved overlay is laid out at the next
// turn of the event loop, with no timer of the window's own.
TEST(GameWindow, RepaintsAndLaysOutOnlyWhatChanged) {
    ProgramFolder folder;
    ManualClock clock{1000, 12 * 3600.0}; // the game's timers stand still
    Clock::install(&clock);
    {
        frmMain window("-noamiga -nosfx -nomusic");
        ASSERT_TRUE(window.load());
        PaintCounter counter(window);
        const auto runFor = [](int ms) {
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < ms) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            }
        };
        runFor(400); // the window manager's frame is known a moment after the first show
        counter.paints = 0;
        runFor(150);
        EXPECT_EQ(counter.paints, 0);

        GameForm& f = window.form();
        QLabel* pause = nullptr;
        for (QLabel* l : window.findChildren<QLabel*>()) {
            pause = l->text() == "GAME PAUSED" ? l : pause;
        }
        ASSERT_NE(pause, nullptr);
        ASSERT_FALSE(pause->isVisible());
        f.lbPause.Visible = true;
        QCoreApplication::processEvents();
        EXPECT_TRUE(pause->isVisible());

        SurfaceView* overlay = nullptr;
        for (SurfaceView* v : window.findChildren<SurfaceView*>()) {
            overlay = v->surface() == f.PicDisp.get() ? v : overlay;
        }
        ASSERT_NE(overlay, nullptr);
        f.PicDispView.Left = 10;
        f.PicDispView.Top = 20;
        f.PicDispView.Visible = true;
        QCoreApplication::processEvents();
        const int k = window.viewScale();
        EXPECT_TRUE(overlay->isVisible());
        EXPECT_EQ(overlay->geometry().topLeft(), QPoint(10 * k, 20 * k));
        window.close();
    }
    Clock::install(nullptr);
}

// While the game runs, what its other timers draw between two ticks of the game loop (here
// the pulse of the live place in the hiscore panel, every 30 ms) shows with the next tick:
// the views paint only right after a tick, not once more for every timer that drew.
TEST(GameWindow, PaintsOnlyWithTheFramesOfTheGameLoop) {
    ProgramFolder folder;
    ManualClock clock{1000, 12 * 3600.0};
    Clock::install(&clock);
    {
        frmMain window("-noamiga -nosfx -nomusic");
        ASSERT_TRUE(window.load());
        PaintCounter counter(window);
        GameForm& f = window.form();
        int ticks = 0;
        const std::function<void()> tick = f.MainLoop.onTick;
        f.MainLoop.onTick = [&] {
            tick();
            ++ticks;
        };
        const auto step = [&] {
            clock.advance(1);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        };
        window.shell().mnuNewGame_Click();
        for (int ms = 0; ms < 6000; ++ms) { // past the level's start
            step();
        }
        ASSERT_TRUE(f.MainLoop.running());
        f.Score = 900000000; // a live place at the top of the table

        int passes = 0;
        int offFrame = 0;
        for (int ms = 0; ms < 2000; ++ms) {
            const int paintsBefore = counter.paints;
            const int ticksBefore = ticks;
            step();
            if (counter.paints > paintsBefore) {
                ++passes;
                offFrame += ticks == ticksBefore ? 1 : 0;
            }
        }
        EXPECT_GT(passes, 40); // the pulse really showed
        EXPECT_EQ(offFrame, 0);
        f.MainLoop.onTick = tick;
        f.Score = 0; // no name entry at the close
        window.close();
    }
    Clock::install(nullptr);
}

namespace {

// The game window in the attract demo with its Game menu open for play, the active window.
class DemoWindow {
public:
    DemoWindow() : window("-noamiga -nosfx -nomusic") {
        Clock::install(&clock);
        loaded = window.load();
        window.form().mnuFile.Enabled = true; // as the credits do at their first tick
        window.syncView();
        window.activateWindow();
        active = becomesActive(&window);
    }
    ~DemoWindow() {
        DialogService::install(&folder.dialogs);
        window.form().Score = 0; // no name entry at the close
        window.close();
        Clock::install(nullptr);
    }

    QMenuBar* bar() { return window.menuBar(); }
    QMenu* gameMenu() { return bar()->actions().front()->menu(); }
    void openGameMenu() {
        QTest::mouseClick(bar(), Qt::LeftButton, {},
                          bar()->actionGeometry(bar()->actions().front()).center());
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window.windowHandle(), key, modifiers);
        QCoreApplication::processEvents();
    }

    ProgramFolder folder;
    ManualClock clock{1000, 12 * 3600.0}; // the game's timers stand still
    frmMain window;
    bool loaded = false;
    bool active = false;
};

} // namespace

// The game reads every key itself: once the Game menu has closed, by a key or a click, the
// menu bar keeps no keyboard of its own, so the Space that follows starts a game and does
// not open the menu again (which would pause the new game under it). Alt alone on the
// window gives the menu bar no keyboard either.
TEST(GameWindow, OnceTheMenuClosesSpaceOnlyStartsAGame) {
    enum class Close { Escape, Alt, ClickAway, ClickOnTitle, NoMenuAltAlone };
    const std::pair<Close, const char*> cases[] = {
        {Close::Escape, "Esc"},
        {Close::Alt, "Alt"},
        {Close::ClickAway, "a click away"},
        {Close::ClickOnTitle, "a click on the title"},
        {Close::NoMenuAltAlone, "Alt alone, no menu open"},
    };
    for (const auto& [close, what] : cases) {
        SCOPED_TRACE(what);
        DemoWindow demo;
        ASSERT_TRUE(demo.loaded);
        ASSERT_TRUE(demo.active);
        QMenu* menu = demo.gameMenu();
        int opened = 0;
        QObject::connect(menu, &QMenu::aboutToShow, [&] { ++opened; });
        if (close == Close::NoMenuAltAlone) {
            demo.press(Qt::Key_Alt, Qt::AltModifier);
        } else {
            demo.openGameMenu();
            ASSERT_EQ(QApplication::activePopupWidget(), menu);
            const QPoint away = menu->mapFromGlobal(demo.window.mapToGlobal(
                QPoint(demo.window.width() - 20, demo.window.height() - 20)));
            switch (close) {
            case Close::Escape:
                QTest::keyClick(menu, Qt::Key_Escape);
                break;
            case Close::Alt:
                QTest::keyClick(menu, Qt::Key_Alt, Qt::AltModifier);
                break;
            case Close::ClickAway:
                QTest::mouseClick(menu, Qt::LeftButton, {}, away);
                break;
            default:
                demo.openGameMenu();
                break;
            }
            ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
        }
        const int openedBefore = opened;
        demo.press(Qt::Key_Space);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_EQ(opened, openedBefore);
        EXPECT_FALSE(demo.window.form().GameOverFlag) << "a game started";
        EXPECT_FALSE(demo.window.form().Paused);
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }
}

// End Game, then Cancel: the box stood centred on the game window, and the window takes the
// keyboard back from it, so P pauses at once (without a window manager nobody else hands
// the keyboard back, and P did nothing until the window was clicked).
TEST(GameWindow, AfterTheEndGameQuestionTheGameHasTheKeyboard) {
    DemoWindow demo;
    ASSERT_TRUE(demo.loaded);
    ASSERT_TRUE(demo.active);
    GameForm& f = demo.window.form();
    demo.press(Qt::Key_Space);
    ASSERT_FALSE(f.GameOverFlag);
    ASSERT_FALSE(f.Paused);
    QAction* endGame = nullptr;
    for (QAction* a : demo.gameMenu()->actions()) {
        endGame = a->text() == "End Game" ? a : endGame;
    }
    ASSERT_NE(endGame, nullptr);
    {
        RealBoxes boxes;
        endGame->trigger(); // Cancel
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].title, "END GAME");
        EXPECT_EQ(boxes.shown()[0].owner, &demo.window);
        EXPECT_EQ(boxes.shown()[0].frame, centredOn(demo.window, boxes.shown()[0].frame.size()));
    }
    EXPECT_FALSE(f.GameOverFlag);
    EXPECT_FALSE(f.Paused);
    EXPECT_TRUE(becomesActive(&demo.window));
    demo.press(Qt::Key_P);
    EXPECT_TRUE(f.Paused);
}

// Alt+Print on the debug window asks for the screen-dump series in a box that stands in the
// debug window; F12 there closes the debug window, which deletes itself, while the key's
// handler still waits for the box. The box goes on asking, the window goes once the key is
// handled, and the series is set up as the player answered.
TEST(GameWindow, F12UnderTheDumpSeriesBoxClosesTheDebugWindowAndTheBoxGoesOn) {
    DemoWindow demo;
    ASSERT_TRUE(demo.loaded);
    ASSERT_TRUE(demo.active);
    GameForm& f = demo.window.form();
    demo.press(Qt::Key_F12);
    const QPointer<frmControl> debug = frmControl::instance();
    ASSERT_NE(debug, nullptr);
    debug->activateWindow();
    ASSERT_TRUE(becomesActive(debug));
    const QWidget* const debugWindow = debug;
    bool askingWithTheWindowClosed = false;
    BoxPlayer player({
        [&](QDialog& box) {
            QTest::keyClick(box.windowHandle(), Qt::Key_F12);
            QTimer::singleShot(20, &box, [&] {
                askingWithTheWindowClosed = box.isVisible() && !DebugPanelOpen;
                BoxPlayer::type(box, "100");
            });
        },
        [](QDialog& box) { BoxPlayer::type(box, "3"); },
    });
    QTest::keyClick(debug->windowHandle(), Qt::Key_Print, Qt::AltModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(askingWithTheWindowClosed);
    EXPECT_TRUE(debug.isNull());
    EXPECT_FALSE(DebugPanelOpen);
    ASSERT_EQ(player.shown().size(), 2u);
    EXPECT_EQ(player.shown()[0].owner, debugWindow);
    EXPECT_EQ(player.shown()[1].owner, &demo.window);
    EXPECT_EQ(player.shown()[1].frame, centredOn(demo.window, player.shown()[1].frame.size()));
    EXPECT_TRUE(f.AutoDump.Enabled());
    EXPECT_EQ(f.AutoDump.Interval(), 100);
    EXPECT_EQ(f.AutoDumpCount, 3);
    EXPECT_TRUE(becomesActive(&demo.window));
}
