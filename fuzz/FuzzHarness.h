#pragma once

#include "DialogService.h"
#include "Require.h"

#include <QApplication>
#include <memory>

// What a fuzz target of a window's model stands on: a Qt application on the offscreen platform,
// no sound device, and scripted boxes in place of the real ones. libFuzzer runs the target again
// and again in one process, so the harness is made on the first call and never goes.
class FuzzHarness {
public:
    static FuzzHarness& instance();

    ScriptedDialogs dialogs;

private:
    FuzzHarness();

    int argc_ = 1;
    char name_[8] = "fuzz";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};
