#include "StartModel.h"

#include "CommandLine.h"
#include "DialogService.h"
#include "GameShell.h"
#include "KeyCodes.h"
#include "Numbers.h"
#include "ProcessState.h"
#include "QFTModule.h"
#include "QFTModuleDesktop.h"
#include "Settings.h"
#include "SettingsNotice.h"
#include "TextCase.h"

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cctype>

namespace {

std::string setting(const std::string& section, const std::string& key, const std::string& def) {
    return GetSetting(GameTitle, section, key, def);
}

// Compared as read: a stored number of any size is simply not 1.
bool settingIsOne(const std::string& section, const std::string& key, const std::string& def) {
    return num::leadingNumber(setting(section, key, def)) == 1;
}

bool isWebAddress(const std::string& url) {
    return startsWithNoCase(url, "http://") || startsWithNoCase(url, "https://");
}

} // namespace

StartModel::StartModel(const std::string& commandLine)
    : switches_(cmdline::switchText(commandLine)) {
    pumpEvents = [] {};
    startProgram = [](const std::string& program, const std::vector<std::string>& args,
                      const std::string& dir) {
        QStringList list;
        for (const auto& a : args) {
            list << QString::fromLocal8Bit(a.c_str());
        }
        qint64 pid = 0;
        if (!QProcess::startDetached(QString::fromLocal8Bit(program.c_str()), list,
                                     QString::fromLocal8Bit(dir.c_str()), &pid)) {
            return std::optional<std::int64_t>();
        }
        return std::optional<std::int64_t>(pid);
    };
    openAddress = [](const std::string& url) { return ShellRun(url, "", nullptr, "") > 32; };
    QFNUpdateChecker1.CheckStarted = [this] { QFNUpdateChecker1_CheckStarted(); };
    QFNUpdateChecker1.CheckFinished = [this](const std::string& v, VbLong n, const std::string& t,
                                             const std::string& d, const std::string& f,
                                             const std::string& s, bool failed) {
        QFNUpdateChecker1_CheckFinished(v, n, t, d, f, s, failed);
    };
}

VbLong StartModel::ownVersionNumber(int major, int minor, int revision) {
    const std::string joined =
        std::to_string(major) + std::to_string(minor) + std::to_string(revision);
    return num::toLong(num::leadingNumber(joined));
}

void StartModel::Form_Load() {
    if (settingIsOne("Global", "FirstUse", "1")) {
        Check1Visible = false;
        FirstUseFlag = true;
    }
    Check1 = settingIsOne("Global", "SkipAmiga", "0") ? 1 : 0;
    Check1_Click();
    Check2 = settingIsOne("Global", "SlowPC", "0") ? 1 : 0;
    SkipIntroScreen = (Check1 == 1);
    if (cmdline::hasSwitch(switches_, "-nojoyinit")) {
        Command5Enabled = false;
    }
    Caption = "Vantorix v" + std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) +
              "." + std::to_string(VersionRevision);
    DefaultButton = settingIsOne("DEVMODE", "FullScreen", "0") ? 1 : 2;

    Combo1.clear();
    if (cmdline::hasSwitch(switches_, "-loadlevels{")) {
        Combo1.push_back("Parameter file");
        Combo1Index = 0;
        Combo1Enabled = false;
        return;
    }
    Combo1Enabled = true;
    Combo1.push_back("Original levels");
    std::string folder = AppPath() + "custom_levels/";
    for (const auto& name : GetFileList(folder, "*.dat")) {
        Combo1.push_back(name);
    }
    const std::string last = setting("Global", "LastLevel", "");
    Combo1Index = 0;
    for (std::size_t i = 0; i < Combo1.size(); ++i) {
        if (equalsNoCase(Combo1[i], last)) {
            Combo1Index = static_cast<int>(i);
            break;
        }
    }
}

void StartModel::Form_Unload() {
    // The command line's set is no choice of the player's: the stored one stays.
    if (cmdline::hasSwitch(switches_, "-loadlevels{")) {
        return;
    }
    const bool selected = Combo1Index >= 0 && Combo1Index < static_cast<int>(Combo1.size());
    SaveSetting(GameTitle, "Global", "LastLevel", selected ? Combo1[Combo1Index] : "");
}

void StartModel::Form_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == vk::Escape && !playing_) {
        Command3_Click();
    }
}

void StartModel::Check1_Click() {
    if (playing_) {
        return; // the game window reads it while it loads
    }
    SkipIntroScreen = (Check1 == 1);
}

void StartModel::play(bool modeSaved) {
    playing_ = true;
    if (busyChanged) {
        busyChanged();
    }
    // The game window reads these choices back as it loads: lost ones are told, once.
    if (!SaveReqSettings() || !modeSaved) {
        tellSettingsNotSaved();
    }
    pumpEvents();
    if (showGame) {
        showGame();
    }
    if (unload) {
        unload();
    }
}

void StartModel::Command1_Click() {
    if (playing_) {
        return;
    }
    if (!LevelFileExist()) {
        return;
    }
    if (setting("DEVMODE", "lWidth", "").empty()) {
        MsgBox("Full Screen mode has not yet been defined.\r\nYou must run [Display Setup] before "
               "you can select Full Screen",
               mb::Exclamation);
        return;
    }
    if (settingIsOne("DEVMODE", "lERROR", "0")) {
        MsgBox("Last time Vantorix was started in Full Screen\r\nThere were errors.\r\n\r\nPlease "
               "run Display Setup, to re-define the Full Screen mode.",
               mb::Exclamation);
        return;
    }
    play(SaveSetting(GameTitle, "DEVMODE", "FullScreen", "1"));
}

void StartModel::Command2_Click() {
    if (playing_) {
        return;
    }
    if (!LevelFileExist()) {
        return;
    }
    play(SaveSetting(GameTitle, "DEVMODE", "FullScreen", "0"));
}

void StartModel::Command3_Click() {
    if (playing_) {
        return;
    }
    if (unload) {
        unload();
    }
}

void StartModel::Command4_Click() {
    if (playing_) {
        return;
    }
    if (displaySetup_ && processRunning(*displaySetup_)) {
        return; // a double click, or the tool is still open
    }
    const std::string program = AppPath() + "vantdisp";
    displaySetup_ = startProgram(program, {"-noerror"}, AppPath());
    if (!displaySetup_) {
        MsgBox("Unable to start Display Setup:\r\n" + program, mb::Exclamation);
    }
}

void StartModel::Command5_Click() {
    if (playing_) {
        return;
    }
    if (showJoystickSetup) {
        showJoystickSetup();
    }
}

void StartModel::Command6_Click() {
    if (playing_) {
        return;
    }
    if (showPerfTest) {
        showPerfTest();
    }
}

void StartModel::Command7_Click() {
    if (playing_) {
        return;
    }
    if (showReadMe) {
        showReadMe();
    }
}

void StartModel::Command8_Click() {
    if (playing_) {
        return;
    }
    QFNUpdateChecker1.CheckUpdate(UpdateURL);
}

void StartModel::Command9_Click() {
    if (playing_) {
        return;
    }
    if (showInternetConfig) {
        showInternetConfig();
    }
}

bool StartModel::SaveReqSettings() {
    const bool skipSaved = SaveSetting(GameTitle, "Global", "SkipAmiga", std::to_string(Check1));
    return SaveSetting(GameTitle, "Global", "SlowPC", std::to_string(Check2)) && skipSaved;
}

bool StartModel::LevelFileExist() {
    if (Combo1Index < 0 || Combo1Index >= static_cast<int>(Combo1.size())) {
        MsgBox("Please select levelfile!", mb::Exclamation);
        return false;
    }
    if (Combo1Index == 0) {
        LevelFilePath.clear();
        return true;
    }
    const std::string path = AppPath() + "custom_levels/" + Combo1[Combo1Index];
    if (FileExists(path)) {
        LevelFilePath = path;
        return true;
    }
    MsgBox("The selected levelfile cannot be loaded. Please check that it still exists. It could "
           "have been deleted by another user, after you started Vantorix. Or it's just not "
           "accessable for some reason?",
           mb::Critical, "Unable to open selected levelfile");
    return false;
}

void StartModel::QFNUpdateChecker1_CheckStarted() {
    Enabled = false;
    if (busyChanged) {
        busyChanged();
    }
}

void StartModel::QFNUpdateChecker1_CheckFinished(const std::string& Version, VbLong VersionNumber,
                                                 const std::string& ReleaseDate,
                                                 const std::string& Message,
                                                 const std::string& FileURL,
                                                 const std::string& FileSize, bool Failed) {
    Enabled = true;
    if (busyChanged) {
        busyChanged();
    }
    if (Failed) {
        MsgBox(Message, mb::Exclamation);
        return;
    }
    if (ownVersionNumber(VersionMajor, VersionMinor, VersionRevision) >= VersionNumber) {
        MsgBox("You version is the most recent!", mb::Information);
        return;
    }
    const int answer = MsgBox("Version:" + Version + "\r\nRelease date:" + ReleaseDate +
                                  "\r\nFilesize:" + FileSize + "\r\n" + Message +
                                  "\r\n\r\nDo you want to download it now?",
                              mb::YesNo + mb::Information, "New version available!");
    if (answer != mb::Yes) {
        return;
    }
    // The address comes from the network: only a web address goes to the desktop, never a
    // local file or program.
    if (!isWebAddress(FileURL)) {
        MsgBox("The offered download address is not a web address:\r\n" + FileURL, mb::Exclamation);
        return;
    }
    if (!openAddress(FileURL)) {
        MsgBox("Unable to open the download address:\r\n" + FileURL, mb::Exclamation);
    }
}
