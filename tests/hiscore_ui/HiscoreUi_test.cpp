#include "BoxPlayer.h"
#include "Clock.h"
#include "DialogService.h"
#include "GameEngine.h"
#include "GameForm.h"
#include "HiscoreUi.h"
#include "InfoModel.h"
#include "KeyCodes.h"
#include "KeyboardDevice.h"
#include "ManualClock.h"
#include "RealBoxes.h"
#include "frmHiscore.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

int litPixels(const Surface& s) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            n += s.Point(x, y) != 0 ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TEST(HiscoreUi, JoinsThePanelTheNameEntryAndTheModeToTheGameWindow) {
    ManualClock clock;
    Clock::install(&clock);
    ScriptedDialogs dialogs;
    {
        GameForm form;
        GameEngine engine(form);
        HiscoreUi ui(form, engine);
        form.LevelSet.ResetHiscore();

        // The panel is painted by its timer.
        EXPECT_EQ(litPixels(*form.hPic), 0);
        clock.advance(30);
        EXPECT_GT(litPixels(*form.hPic), 0);

        // A finished game's score: the modal name entry takes the typed name.
        programHiscoreGlobals().LastHiscoreName = "";
        QTimer::singleShot(0, [] {
            auto* w = qobject_cast<frmHiscore*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            for (const char* ch : {"a", "c", "e"}) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, ch);
                QApplication::sendEvent(w->nameBox(), &key);
            }
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
            QApplication::sendEvent(w->nameBox(), &enter);
        });
        form.Score = 4750;
        form.LevelSet.UpdateHiscore(4750, 1, 0, VbFalse);
        EXPECT_EQ(form.LevelSet.Hiscores[3], (HiscoreEntry{4750, "ACE", 2}));
        EXPECT_FALSE(programHiscoreGlobals().HiscoreDialogOpen);

        // The mode is the menu's check mark.
        form.mnuUseInternetHiscore.Checked = true;
        EXPECT_TRUE(form.LevelSet.seams.internetMode());
    }
    Clock::install(nullptr);
}

TEST(HiscoreUi, TheStatusWindowShowsALongServerNameWhole) {
    QWidget parent;
    const std::unique_ptr<InfoModel> info = makeInfoWindow(&parent);
    info->Show("Loading data from hiscores.a-rather-long-name.quillfen.example, please wait...");
    const QLabel* label = parent.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    QApplication::processEvents();
    EXPECT_GE(label->width(), label->sizeHint().width());
    info->Unload();
}

// The status window comes to the front while it waits, so a key there (Alt+Print) opens its
// box in it; the operation may end meanwhile (a timer ends a game whose score is sent), which
// unloads the window. The box goes on asking, and the window goes once the key is handled.
TEST(HiscoreUi, ABoxInTheStatusWindowGoesOnAskingWhenTheWindowIsUnloaded) {
    const auto gameWindow = activeWindowAt({40, 40, 640, 480});
    const std::unique_ptr<InfoModel> info = makeInfoWindow(gameWindow.get());
    info->Show("Sending data to hiscores.quillfen.example, please wait...");
    const QLabel* label = gameWindow->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    const QPointer<QWidget> status = label->window();
    status->activateWindow();
    ASSERT_TRUE(becomesActive(status));
    const QWidget* const statusWindow = status;
    int answer = -1;
    const int keys = KeyboardDevice::instance().subscribe([&] {
        if (KeyboardDevice::instance().keyDown(keys::AltPrintScreen)) {
            answer = MsgBox("Enter interval in milliseconds (min 100) (max 10000):",
                            mb::OKCancel + mb::Question);
        }
    });
    bool askingWithTheWindowUnloaded = false;
    BoxPlayer player({[&](QDialog& box) {
        info->Unload();
        QTimer::singleShot(20, &box, [&] {
            askingWithTheWindowUnloaded = box.isVisible() && !InfoWindowOpen;
            BoxPlayer::escape(box);
        });
    }});
    QTest::keyClick(status->windowHandle(), Qt::Key_Print, Qt::AltModifier);
    KeyboardDevice::instance().unsubscribe(keys);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(answer, mb::Cancel);
    EXPECT_TRUE(askingWithTheWindowUnloaded);
    EXPECT_TRUE(status.isNull());
    ASSERT_EQ(player.shown().size(), 1u);
    EXPECT_EQ(player.shown()[0].owner, statusWindow);
    EXPECT_TRUE(becomesActive(gameWindow.get()));
}

// Once the name is typed, the game window takes the keyboard back from the name entry:
// without a window manager nothing else gives it back, and Space started no new game.
TEST(HiscoreUi, TheGameWindowHasTheKeyboardAgainAfterTheNameEntry) {
    ManualClock clock;
    Clock::install(&clock);
    ScriptedDialogs dialogs;
    {
        const auto gameWindow = activeWindowAt({40, 40, 640, 480});
        GameForm form;
        GameEngine engine(form);
        HiscoreUi ui(form, engine, gameWindow.get());
        form.LevelSet.ResetHiscore();
        QTimer::singleShot(0, [] {
            auto* w = qobject_cast<frmHiscore*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
            QApplication::sendEvent(w->nameBox(), &enter);
        });
        form.Score = 4750;
        form.LevelSet.UpdateHiscore(4750, 1, 0, VbFalse);
        EXPECT_FALSE(programHiscoreGlobals().HiscoreDialogOpen);
        EXPECT_TRUE(becomesActive(gameWindow.get()));
    }
    Clock::install(nullptr);
}
