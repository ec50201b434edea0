#include "BoxPlayer.h"
#include "DialogService.h"
#include "RealBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// A main window and a tool window of its own (as the game window and its debug window), the
// tool window the active one.
struct TwoWindows {
    TwoWindows() : main(activeWindowAt({60, 60, 640, 480})) {
        tool = new QWidget(main.get(), Qt::Tool);
        tool->setGeometry(720, 120, 280, 360);
        tool->show();
        tool->activateWindow();
        toolActive = becomesActive(tool);
    }

    std::unique_ptr<QWidget> main;
    QPointer<QWidget> tool;
    bool toolActive = false;
};

// Asks a question at a key, as the game's key handler does.
class AsksOnAKey : public QObject {
public:
    int answer = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            answer = MsgBox("Are you sure ?", mb::OKCancel + mb::Question);
        }
        return false;
    }
};

} // namespace

// Our boxes live on their callers' stacks, and Qt deletes a window's children with it: a
// window that goes while a box stands in it must not take the box along, and the box goes on
// asking; the player's answer is the box's answer. A window deleted later (one that deletes
// itself on close, as the debug window does when F12 closes it) waits until the box has
// closed. From a window deleted outright (a status window its owner deletes, a main window)
// the box moves on to the nearest window that stays, centred there and giving it the
// keyboard back, or else stands alone where it stood.
TEST(ModalBox, ABoxOutlivesTheWindowItStandsIn) {
    enum class Gone { ClosesDeletingItself, Deleted, WithItsMainWindow };
    const struct {
        const char* what;
        Gone gone;
    } cases[] = {
        {"the window closes and deletes itself", Gone::ClosesDeletingItself},
        {"the window is deleted", Gone::Deleted},
        {"the window goes with its main window", Gone::WithItsMainWindow},
    };
    for (const auto& c : cases) {
        for (const bool input : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (input ? ", input box" : ", message box"));
            TwoWindows windows;
            ASSERT_TRUE(windows.toolActive);
            QWidget* const tool = windows.tool;
            const auto answer = [input](QDialog& box) {
                if (input) {
                    BoxPlayer::type(box, "250");
                } else {
                    BoxPlayer::escape(box);
                }
            };
            bool shownWhenItWent = false;
            std::vector<BoxPlayer::Step> steps;
            if (c.gone == Gone::ClosesDeletingItself) {
                steps.emplace_back([&](QDialog& box) {
                    tool->setAttribute(Qt::WA_DeleteOnClose);
                    tool->close();
                    QTimer::singleShot(20, &box, [&box, &shownWhenItWent, &answer] {
                        shownWhenItWent = box.isVisible();
                        answer(box);
                    });
                });
            } else {
                steps.emplace_back([&](QDialog&) {
                    if (c.gone == Gone::Deleted) {
                        delete tool;
                    } else {
                        windows.main.reset();
                    }
                });
                steps.emplace_back([&](QDialog& box) {
                    shownWhenItWent = true;
                    answer(box);
                });
            }
            BoxPlayer player(std::move(steps));
            if (input) {
                EXPECT_EQ(InputBox("Enter interval in milliseconds (min 100) (max 10000):"), "250");
            } else {
                EXPECT_EQ(MsgBox("Are you sure ?", mb::OKCancel + mb::Question), mb::Cancel);
            }
            EXPECT_TRUE(shownWhenItWent);
            ASSERT_FALSE(player.shown().empty());
            const RealBoxes::Shown& first = player.shown().front();
            EXPECT_EQ(first.owner, tool);
            if (c.gone == Gone::ClosesDeletingItself) {
                EXPECT_EQ(player.shown().size(), 1u);
                ASSERT_FALSE(windows.tool.isNull()) << "deleted under the box";
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                EXPECT_TRUE(windows.tool.isNull()) << "not deleted once the box closed";
                EXPECT_TRUE(becomesActive(windows.main.get()));
                continue;
            }
            EXPECT_TRUE(windows.tool.isNull());
            ASSERT_EQ(player.shown().size(), 2u);
            const RealBoxes::Shown& again = player.shown()[1];
            if (windows.main) {
                EXPECT_EQ(again.owner, windows.main.get());
                EXPECT_EQ(again.frame, centredOn(*windows.main, again.frame.size()));
                EXPECT_TRUE(becomesActive(windows.main.get()));
            } else {
                EXPECT_EQ(again.owner, nullptr);
                EXPECT_EQ(again.frame, first.frame);
            }
        }
    }
}

// The window an event went to opens a box while handling it (a key on the debug window asks
// for the screen-dump series) and closes itself from inside the box: the window must last
// until its event is handled, not go inside the box's loop.
TEST(ModalBox, AWindowClosedUnderABoxWaitsForTheEventThatOpenedIt) {
    TwoWindows windows;
    ASSERT_TRUE(windows.toolActive);
    AsksOnAKey asker;
    windows.tool->installEventFilter(&asker);
    BoxPlayer player({[&](QDialog& box) {
        windows.tool->setAttribute(Qt::WA_DeleteOnClose);
        windows.tool->close();
        QTimer::singleShot(20, &box, [&box] { BoxPlayer::escape(box); });
    }});
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(windows.tool->windowHandle(), &key);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(asker.answer, mb::Cancel);
    EXPECT_EQ(player.shown().size(), 1u);
    EXPECT_TRUE(windows.tool.isNull());
}

// Tooltips and popups that go while a box is open go at once, as Qt counts on: a new tooltip
// takes the place of the old one only once that is gone.
TEST(ModalBox, TooltipsAndPopupsDoNotWaitForTheBoxes) {
    for (const Qt::WindowType type : {Qt::ToolTip, Qt::Popup}) {
        SCOPED_TRACE(type == Qt::ToolTip ? "tooltip" : "popup");
        const auto window = activeWindowAt({80, 80, 400, 300});
        QPointer<QWidget> passing;
        bool goneWhileAsking = false;
        BoxPlayer player({[&](QDialog& box) {
            passing = new QWidget(&box, type);
            passing->show();
            passing->close();
            passing->deleteLater();
            QTimer::singleShot(20, &box, [&] {
                goneWhileAsking = passing.isNull();
                BoxPlayer::escape(box);
            });
        }});
        EXPECT_EQ(MsgBox("Are you sure ?", mb::OKCancel + mb::Question), mb::Cancel);
        EXPECT_TRUE(goneWhileAsking);
    }
}

// A box over a box (a second question asked from inside the first box): when the window under
// both is deleted, the lower box moves on and the upper one stays over it; both go on asking.
TEST(ModalBox, ABoxOverABoxStaysOverItWhenTheWindowUnderBothGoes) {
    TwoWindows windows;
    ASSERT_TRUE(windows.toolActive);
    QDialog* lower = nullptr;
    std::string upperAnswer = "none";
    BoxPlayer player({
        [&](QDialog& box) {
            lower = &box;
            upperAnswer = InputBox("Enter number of pictures to make (max 100 (100MB!)):");
        },
        [&](QDialog& box) {
            delete windows.tool;
            QTimer::singleShot(20, &box, [&box] { BoxPlayer::type(box, "7"); });
        },
        [&](QDialog& box) { BoxPlayer::type(box, "250"); },
    });
    EXPECT_EQ(InputBox("Enter interval in milliseconds (min 100) (max 10000):"), "250");
    EXPECT_EQ(upperAnswer, "7");
    EXPECT_TRUE(windows.tool.isNull());
    ASSERT_EQ(player.shown().size(), 3u);
    EXPECT_EQ(player.shown()[1].owner, lower);
    EXPECT_EQ(player.shown()[2].owner, windows.main.get());
    EXPECT_TRUE(becomesActive(windows.main.get()));
}

// The program quits while a box is open, as when its last window closes or it ends itself:
// the box ends as cancelled, whole, and the caller goes on with that answer.
TEST(ModalBox, ABoxOpenWhenTheProgramQuitsEndsAsCancelled) {
    for (const bool lastWindowCloses : {false, true}) {
        for (const bool input : {false, true}) {
            SCOPED_TRACE(std::string(lastWindowCloses ? "its last window closes" : "it quits") +
                         (input ? ", input box" : ", message box"));
            const auto window = activeWindowAt({80, 80, 400, 300});
            BoxPlayer player({[&](QDialog&) {
                if (lastWindowCloses) {
                    window->close();
                } else {
                    QCoreApplication::quit();
                }
            }});
            int answer = -1;
            std::string typed = "none";
            QTimer::singleShot(0, [&] {
                if (input) {
                    typed = InputBox("Name?", "", "ACE");
                } else {
                    answer = MsgBox("Save changes before quitting?", mb::YesNoCancel);
                }
            });
            QApplication::exec();
            EXPECT_EQ(player.shown().size(), 1u);
            if (input) {
                EXPECT_EQ(typed, "");
            } else {
                EXPECT_EQ(answer, mb::Cancel);
            }
        }
    }
}
