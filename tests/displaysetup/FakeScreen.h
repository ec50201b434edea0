#pragma once

#include "DisplayModeRec.h"
#include "VbError.h"

#include <functional>
#include <string>
#include <vector>

// A screen with a given mode list that records what the tool asks of it.
struct FakeScreen : ModeScreen {
    std::vector<DisplayModeRec> modes;
    CurrentModeRec current{1280, 1024, 32, 60};
    bool restoreFails = false;
    std::vector<std::string> calls;
    // The mode in effect: the one tried, until restored.
    std::string shown = "desktop";

    bool enumDisplaySettings(VbLong n, DisplayModeRec& mode) override {
        if (n < 0 || n >= VbLong(modes.size())) {
            return false;
        }
        mode = modes[std::size_t(n)];
        return true;
    }
    CurrentModeRec currentMode() override { return current; }
    void setDisplayMode(VbInteger w, VbInteger h, VbInteger rate, std::uint8_t bits) override {
        shown = std::to_string(w) + "x" + std::to_string(h) + "@" + std::to_string(rate) + "/" +
                std::to_string(bits);
        calls.push_back("set " + shown);
    }
    void restoreDisplayMode() override {
        calls.push_back("restore");
        if (restoreFails) {
            throw VbError(-2147467259, "DirectX7Display", "The display mode cannot be restored.");
        }
        shown = "desktop";
    }
};
