#include "DisplaySettingsModel.h"

#include "Clock.h"
#include "DialogService.h"
#include "Numbers.h"
#include "Settings.h"
#include "SettingsNotice.h"
#include "VbError.h"
#include "modTest.h"

#include <cstdio>

namespace {

std::string setting(const char* key, const char* defaultValue) {
    return GetSetting(DisplaySettingsModel::appName, DisplaySettingsModel::section, key,
                      defaultValue);
}

// A stored number; text that is no usable number counts as none.
VbLong storedNumber(const char* key) {
    try {
        return num::toLong(num::leadingNumber(setting(key, "0")));
    } catch (const VbError&) {
        return 0;
    }
}

std::string digits(VbLong v, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*ld", width, static_cast<long>(v));
    return text;
}

bool sameMode(const DisplayModeRec& r, const CurrentModeRec& c) {
    return r.dmPelsWidth == c.width && r.dmPelsHeight == c.height && r.dmBitsPerPel == c.bits &&
           r.dmDisplayFrequency == c.refreshRate;
}

} // namespace

DisplaySettingsModel::DisplaySettingsModel(ModeScreen& screen, std::function<void()> showTest)
    : screen_(screen), showTest_(std::move(showTest)) {}

std::string DisplaySettingsModel::entryText(const DisplayModeRec& mode) {
    std::string text = "(";
    text += digits(mode.dmPelsWidth, 4);
    text += " X ";
    text += digits(mode.dmPelsHeight, 4);
    text += ") (";
    text += digits(mode.dmBitsPerPel, 2);
    text += " bits) (";
    if (mode.dmDisplayFrequency >= 1) {
        text += digits(mode.dmDisplayFrequency, 3);
        text += " hz)";
    } else {
        text += "Default hz)";
    }
    return text;
}

void DisplaySettingsModel::Form_Load(const std::string& commandLine, const std::string& version) {
    caption = "Vantorix [DISPLAY SETTINGS] v" + version;

    const bool gameReportedError = num::leadingNumber(setting("lError", "0")) == 1;
    if (gameReportedError) {
        ModeMustBeTested = true;
    }
    if (commandLine.find("-noerror") == std::string::npos && gameReportedError) {
        MsgBox("It is detected that Vantorix generated errors\r\nlast time you ran it.\r\nPlease "
               "check the display settings, and then try again.",
               mb::Exclamation);
    }

    StoredMode.dmBitsPerPel = storedNumber("lBits");
    StoredMode.dmPelsWidth = storedNumber("lWidth");
    StoredMode.dmPelsHeight = storedNumber("lHeight");
    StoredMode.dmDisplayFrequency = storedNumber("lFreq");

    try {
        CurrentMode = screen_.currentMode();
    } catch (const VbError&) {
        CurrentMode = {}; // an unreadable screen preselects nothing from it
    }

    int preselected = -1;
    for (VbLong n = 0;; ++n) {
        const DisplayModeRec r = GetDisplayMode(screen_, 640, 3000, 480, 3000, 60, 160, 16, 32, n);
        if (r.dmBitsPerPel == modeListEnd) {
            break;
        }
        if (r.dmBitsPerPel == modeFilteredOut) {
            continue;
        }
        DisplayModes.push_back(r);
        const int k = static_cast<int>(DisplayModes.size()) - 1;
        const bool sizeAndBitsAsNow = r.dmPelsWidth == CurrentMode.width &&
                                      r.dmPelsHeight == CurrentMode.height &&
                                      r.dmBitsPerPel == CurrentMode.bits;
        if (StoredMode.dmBitsPerPel >= 1) {
            if (r.dmBitsPerPel == StoredMode.dmBitsPerPel &&
                r.dmPelsWidth == StoredMode.dmPelsWidth &&
                r.dmPelsHeight == StoredMode.dmPelsHeight &&
                r.dmDisplayFrequency == StoredMode.dmDisplayFrequency) {
                preselected = k;
            }
        } else if (CurrentMode.refreshRate >= 1) {
            if (sizeAndBitsAsNow && r.dmDisplayFrequency == CurrentMode.refreshRate) {
                preselected = k;
            }
        } else if (sizeAndBitsAsNow && (r.dmDisplayFrequency == 0 || r.dmDisplayFrequency == 60)) {
            preselected = k;
        }
    }

    for (const DisplayModeRec& mode : DisplayModes) {
        Combo1.push_back(entryText(mode));
    }
    TestedModeIndex = static_cast<VbInteger>(preselected);
    select(preselected);
}

void DisplaySettingsModel::Command1_Click() {
    if (ListIndex < 0 || ListIndex >= static_cast<int>(DisplayModes.size())) {
        MsgBox("Please select a display mode to test.", mb::Exclamation);
        return;
    }
    const VbInteger tried = static_cast<VbInteger>(ListIndex);
    const DisplayModeRec& mode = DisplayModes[static_cast<std::size_t>(ListIndex)];
    TestPassed = false;
    PassedModeIndex = -1;
    screen_.setDisplayMode(num::toInteger(mode.dmPelsWidth), num::toInteger(mode.dmPelsHeight),
                           num::toInteger(mode.dmDisplayFrequency),
                           static_cast<std::uint8_t>(mode.dmBitsPerPel));
    if (showTest_) {
        showTest_();
    }
    try {
        screen_.restoreDisplayMode();
    } catch (const VbError& e) {
        MsgBox(e.Description(), mb::Critical);
    }
    // Lets the windows learn the screen's size back before a box is placed on it.
    DoEvents();
    if (!TestPassed) {
        MsgBox("The test failed.", mb::Exclamation);
    } else {
        PassedModeIndex = tried;
        if (tried == TestedModeIndex) {
            ModeMustBeTested = false;
        }
    }
}

void DisplaySettingsModel::Command5_Click() {
    for (std::size_t i = 0; i < DisplayModes.size(); ++i) {
        if (sameMode(DisplayModes[i], CurrentMode)) {
            select(static_cast<int>(i));
            return;
        }
    }
    MsgBox("Unable to find current mode!", mb::Critical);
}

void DisplaySettingsModel::Command2_Click() {
    if (Test()) {
        SaveS();
        close();
    }
}

void DisplaySettingsModel::Command3_Click() {
    close();
}

// OK takes the entry that has just passed its test, or the stored mode preselected at start
// unless the game reported an error with it; any other entry must be tried first.
bool DisplaySettingsModel::Test() {
    if (TestPassed && PassedModeIndex >= 0 && ListIndex == PassedModeIndex) {
        return true;
    }
    if (ListIndex != TestedModeIndex || ModeMustBeTested) {
        MsgBox("Please TEST the selected screen mode, to ensure that your monitor can display it, "
               "before you continue!\r\nAfter a successfull test, press [OK] to use these "
               "settings!\r\n\r\nOr disable FULL SCREEN.",
               mb::Exclamation);
        return false;
    }
    return true;
}

void DisplaySettingsModel::SaveS() {
    if (ListIndex < 0 || ListIndex >= static_cast<int>(DisplayModes.size())) {
        return;
    }
    StoredMode = DisplayModes[static_cast<std::size_t>(ListIndex)];
    const bool saved = SaveSetting(appName, section, "lWidth",
                                   num::toText(std::int64_t{StoredMode.dmPelsWidth})) &&
                       SaveSetting(appName, section, "lHeight",
                                   num::toText(std::int64_t{StoredMode.dmPelsHeight})) &&
                       SaveSetting(appName, section, "lBits",
                                   num::toText(std::int64_t{StoredMode.dmBitsPerPel})) &&
                       SaveSetting(appName, section, "lFreq",
                                   num::toText(std::int64_t{StoredMode.dmDisplayFrequency})) &&
                       SaveSetting(appName, section, "lERROR", "0");
    if (!saved) {
        tellSettingsNotSaved();
    }
}

void DisplaySettingsModel::select(int index) {
    ListIndex = index;
    if (onSelectionChanged) {
        onSelectionChanged();
    }
}

void DisplaySettingsModel::close() {
    if (closed_) {
        return;
    }
    closed_ = true;
    if (onClosed) {
        onClosed();
    }
}
