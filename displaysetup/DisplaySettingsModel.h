#pragma once

#include "DisplayModeRec.h"

#include <functional>
#include <string>
#include <vector>

// The display-settings window without its widgets: the list of usable full-screen modes,
// the mode test, and the DEVMODE keys the game reads for full-screen play.
class DisplaySettingsModel {
public:
    // showTest shows the test window modally and returns once it has closed.
    DisplaySettingsModel(ModeScreen& screen, std::function<void()> showTest);

    static constexpr const char* appName = "Vantorix";
    static constexpr const char* section = "DEVMODE";

    // Texts of the window.
    static constexpr const char* frameCaption = "Select Display mode for Full Screen";
    static constexpr const char* testCaption = "Test mode";
    static constexpr const char* findCaption = "Find current mode";
    static constexpr const char* okCaption = "&OK";
    static constexpr const char* cancelCaption = "&Cancel";
    static constexpr const char* recommendedText = "Recommended fullscreen mode  is : 640*480";
    static constexpr const char* writtenForText =
        "Vantorix is written for 640x480 32 bit, and looks best in 100Hz";

    // The window's state.
    std::vector<DisplayModeRec> DisplayModes; // entry i of the list is mode i
    DisplayModeRec StoredMode;
    CurrentModeRec CurrentMode;
    VbInteger TestedModeIndex = -1;
    // Set at start when the game's last full-screen start failed; the stored mode then needs
    // a passed test of its own before it is saved again.
    bool ModeMustBeTested = false;
    // The entry whose test passed last, -1 after a failed test: besides the stored mode
    // preselected at start, the only entry OK saves.
    VbInteger PassedModeIndex = -1;

    // What the window shows.
    std::string caption;
    std::vector<std::string> Combo1; // the list entries
    int ListIndex = -1;              // the selected entry, -1 for none
    bool closed() const { return closed_; }

    // The view follows the selection and closes with the model.
    std::function<void()> onSelectionChanged;
    std::function<void()> onClosed;

    // version: major.minor.revision.
    void Form_Load(const std::string& commandLine, const std::string& version);
    void Command1_Click(); // Test mode
    void Command5_Click(); // Find current mode
    void Command2_Click(); // OK
    void Command3_Click(); // Cancel

    bool Test();
    void SaveS();

    // The list text of a mode.
    static std::string entryText(const DisplayModeRec& mode);

private:
    void select(int index);
    void close();

    ModeScreen& screen_;
    std::function<void()> showTest_;
    bool closed_ = false;
};
