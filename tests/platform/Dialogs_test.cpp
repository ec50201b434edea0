#include "Dialogs.h"

#include <gtest/gtest.h>

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
