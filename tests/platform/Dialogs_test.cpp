#include "DialogService.h"
#include "RealBoxes.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

TEST(Dialogs, ScriptedBoxesRecordCallsAndUseTheProgramTitle) {
    ScriptedDialogs dialogs;
    setProgramTitle("Vantorix");
    dialogs.answer(mb::Cancel);
    EXPECT_EQ(MsgBox("Are you sure ?", mb::OKCancel + mb::Question, "END GAME"), mb::Cancel);
    EXPECT_EQ(MsgBox("Plain"), mb::OK);
    EXPECT_EQ(MsgBox("Ask", mb::YesNo), mb::Yes) << "unscripted: first button";
    dialogs.answerInput("ACE");
    EXPECT_EQ(InputBox("Name?", "", "X"), "ACE");
    EXPECT_EQ(InputBox("Name?", "", "X"), "X");

    ASSERT_EQ(dialogs.calls().size(), 5u);
    EXPECT_EQ(dialogs.calls()[0].title, "END GAME");
    EXPECT_EQ(dialogs.calls()[0].style, mb::OKCancel + mb::Question);
    EXPECT_EQ(dialogs.calls()[1].title, "Vantorix");
    EXPECT_TRUE(dialogs.calls()[3].input);
    EXPECT_EQ(dialogs.calls()[3].title, "Vantorix");
}

// Every box stands centred on the window it belongs to: the active window, or when none of
// ours is active (a box has just closed on a desktop without a window manager, another
// program is in front), the one that was active last and still shows.
TEST(Dialogs, BoxesStandCentredOnTheWindowTheyBelongTo) {
    enum class Then { Stays, NoneActive, LastHides };
    struct Case {
        const char* what;
        QRect geometry;
        bool frameless;
        Then then;
    };
    const Case cases[] = {
        {"the active window", {120, 90, 400, 300}, false, Then::Stays},
        {"a frameless window (full screen)", {50, 40, 500, 400}, true, Then::Stays},
        {"no window active: the one active last", {60, 300, 420, 320}, false, Then::NoneActive},
        {"the window active last has gone: the one before",
         {300, 60, 360, 280},
         false,
         Then::LastHides},
        {"at the screen's corner the box stays on the screen", {0, 0, 120, 40}, true, Then::Stays},
    };
    for (const Case& c : cases) {
        for (const bool input : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (input ? ", input box" : ", message box"));
            auto owner = activeWindowAt(c.geometry, c.frameless);
            std::unique_ptr<QWidget> other;
            if (c.then == Then::LastHides) {
                other = activeWindowAt({10, 10, 200, 150});
                other->hide();
            }
            if (c.then == Then::NoneActive) {
                QApplication::setActiveWindow(nullptr);
                ASSERT_EQ(QApplication::activeWindow(), nullptr);
            }
            const RealBoxes::Shown shown = askOneBox(input);
            ASSERT_TRUE(shown.frame.isValid());
            EXPECT_EQ(shown.owner, owner.get());
            EXPECT_EQ(shown.frame, centredOn(*owner, shown.frame.size()));
        }
    }
}

// After a box closes, the window it belongs to takes the keyboard back: without a window
// manager nothing else gives it back.
TEST(Dialogs, TheWindowABoxBelongsToTakesTheKeyboardBack) {
    for (const bool input : {false, true}) {
        for (const bool secondActive : {false, true}) {
            SCOPED_TRACE(std::string(input ? "input box" : "message box") +
                         (secondActive ? ", from the second window" : ""));
            auto first = activeWindowAt({40, 40, 300, 200});
            std::unique_ptr<QWidget> second;
            if (secondActive) {
                second = activeWindowAt({400, 300, 300, 200});
            }
            ASSERT_TRUE(askOneBox(input).frame.isValid());
            const QWidget* owner = secondActive ? second.get() : first.get();
            EXPECT_TRUE(becomesActive(owner)) << "active: " << QApplication::activeWindow();
        }
    }
}
