#include "DialogService.h"
#include "QtDialogs.h"

#include <gtest/gtest.h>

// The test main's boxes come back after each test, whatever it did to them.
class ProgramBoxes : public testing::Test {
protected:
    void TearDown() override { DialogService::setProgramBoxes(&qtDialogs()); }
};

TEST_F(ProgramBoxes, ScriptedBoxesGiveWayToTheProgramsOwn) {
    {
        ScriptedDialogs dialogs;
        EXPECT_EQ(&DialogService::instance(), &dialogs);
    }
    EXPECT_EQ(&DialogService::instance(), &qtDialogs());
}

TEST_F(ProgramBoxes, WithoutThemABoxIsWrittenOutAndClosesOnItsFirstButton) {
    DialogService::setProgramBoxes(nullptr);
    const struct {
        int style;
        int first;
    } cases[] = {
        {mb::OKOnly, mb::OK},
        {mb::OKCancel + mb::Question, mb::OK},
        {mb::AbortRetryIgnore, mb::Abort},
        {mb::YesNoCancel + mb::DefaultButton2, mb::Yes},
        {mb::YesNo + mb::Exclamation, mb::Yes},
        {mb::RetryCancel + mb::Critical, mb::Retry},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(MsgBox("ERROR! Unable to save the hiscores!", c.style, "Vantorix"), c.first)
            << "style " << c.style;
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Vantorix: ERROR! Unable to save the hiscores!\n");
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(InputBox("Name?", "Vantorix", "ACE"), "ACE");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Vantorix: Name?\n");
}
