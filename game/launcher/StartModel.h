#pragma once

#include "ProgramVersion.h"
#include "QFNUpdateChecker.h"
#include "VbTypes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The program's version, shown in the start dialog and compared by the update check.
inline constexpr int VersionMajor = ProgramVersionMajor;
inline constexpr int VersionMinor = ProgramVersionMinor;
inline constexpr int VersionRevision = ProgramVersionRevision;

// Where the update check asks for the newest version.
inline constexpr const char* UpdateURL = "http://www.quillfen.example/pu_data/vantorix.dat";

// The start dialog "Vantorix v4.0.0" without its widgets: the level-set list, the play
// buttons, the two options, the tool buttons and the update check. The window (or a test)
// supplies what the buttons open.
class StartModel {
public:
    explicit StartModel(const std::string& commandLine);

    // Controls.
    std::string Caption;
    std::vector<std::string> Combo1; // the level sets
    int Combo1Index = -1;            // -1 = none selected
    bool Combo1Enabled = true;
    int Check1 = 0; // skip the boot intro
    bool Check1Visible = true;
    int Check2 = 0; // frame skip (slow PC)
    bool Command5Enabled = true;
    int DefaultButton = 2; // 1 = full screen, 2 = window
    bool Enabled = true;   // false while the update check runs
    QFNUpdateChecker QFNUpdateChecker1;

    // What the dialog opens and how it goes away.
    std::function<void()> showGame;   // the game window, not modal
    std::function<void()> unload;     // closes the dialog (which then runs Form_Unload)
    std::function<void()> pumpEvents; // lets pending events run once
    std::function<void()> showJoystickSetup;
    std::function<void()> showPerfTest;
    std::function<void()> showReadMe;
    std::function<void()> showInternetConfig;
    // Starts a program detached: its process id, or nothing when it could not be started.
    std::function<std::optional<std::int64_t>(
        const std::string& program, const std::vector<std::string>& args, const std::string& dir)>
        startProgram;
    // Opens an address with the desktop; false when nothing could open it.
    std::function<bool(const std::string& url)> openAddress;
    // The dialog's enabled state and busy pointer changed (update check or Play).
    std::function<void()> busyChanged;

    void Form_Load();
    void Form_Unload();
    void Form_KeyDown(int keyCode, int shift);
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void QFNUpdateChecker1_CheckStarted();
    void QFNUpdateChecker1_CheckFinished(const std::string& Version, VbLong VersionNumber,
                                         const std::string& ReleaseDate, const std::string& Message,
                                         const std::string& FileURL, const std::string& FileSize,
                                         bool Failed);

    // False when either could not be stored.
    bool SaveReqSettings();
    bool LevelFileExist();

    // From the first Play until the game window has loaded (the dialog then goes): every
    // button does nothing, so a double click cannot start a second game window.
    bool Playing() const { return playing_; }

    // The version's numbers joined without separators, as a number (4.0.0 gives 400).
    static VbLong ownVersionNumber(int major, int minor, int revision);

private:
    // modeSaved: whether the play mode just chosen was stored.
    void play(bool modeSaved);
    // The command line as its switches are read: empty when it is a bare path, as in the game.
    std::string switches_;
    bool playing_ = false;
    // The display tool this dialog started: one at a time, since each switches the display
    // and puts it back.
    std::optional<std::int64_t> displaySetup_;
};
