#include "TestModel.h"

#include "KeyCodes.h"
#include "Numbers.h"
#include "modTest.h"

TestModel::TestModel(Clock& clock) : Timer1(clock) {
    Timer1.onTick = [this] { Timer1_Timer(); };
    Timer1.setInterval(50);
    Timer1.setEnabled(true);
}

void TestModel::Timer1_Timer() {
    if (closed_) {
        return;
    }
    const double now = TimeOfDay();
    if (!startedAt_) {
        startedAt_ = now;
    }
    // Across midnight too: the countdown must end whatever the clock says.
    const double elapsed = num::secondsSince(*startedAt_, now);
    countdownText_ =
        "Returning in " + num::toText(num::roundHalfEven(countdownSeconds - elapsed)) + " seconds";
    if (onCountdownChanged) {
        onCountdownChanged();
    }
    if (num::roundHalfEven(elapsed) >= countdownSeconds) {
        close(false);
    }
}

void TestModel::Command2_Click() {
    close(true);
}

void TestModel::Command1_Click() {
    close(false);
}

void TestModel::Form_KeyDown(int KeyCode) {
    if (KeyCode == vk::Escape) {
        close(false);
    }
}

void TestModel::close(bool passed) {
    if (closed_) {
        return;
    }
    closed_ = true;
    TestPassed = passed;
    Timer1.setEnabled(false);
    if (onClosed) {
        onClosed();
    }
}
