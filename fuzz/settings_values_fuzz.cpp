// LIBS: vantorix_launcher vantorix_displaysetup vantorix_fuzz_harness
#include "DialogService.h"
#include "DisplayModes.h"
#include "DisplaySettingsModel.h"
#include "FrmJoystickSetup.h"
#include "FuzzHarness.h"
#include "GameEngine.h"
#include "GameForm.h"
#include "GameShell.h"
#include "IniFile.h"
#include "InternetRequests.h"
#include "ManualClock.h"
#include "QFTModule.h"
#include "Require.h"
#include "ScratchFolder.h"
#include "StartModel.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The game window's screen side, doing nothing.
class QuietWindow : public ShellWindow {
public:
    HWnd hwnd() override { return nullptr; }
    void showWindow() override {}
    void setOuterSize(int, int) override {}
    std::string caption() const override { return "Vantorix"; }
    void setCaption(const std::string&) override {}
    int innerWidth() const override { return 609; }
    int innerHeight() const override { return 440; }
    bool minimized() const override { return false; }
    void minimize() override {}
    void setMenuBarVisible(bool) override {}
    void setStyleBits(std::uint32_t, bool) override {}
    void coverScreen(int, int) override {}
    void leaveCoverScreen() override {}
    void focusGame() override {}
    bool programInForeground() const override { return true; }
    bool gameWindowActive() const override { return true; }
    void outerRect(int& x, int& y, int& w, int& h) const override { x = y = w = h = 0; }
    void syncView() override {}
    void endProgram() override {}
};

class SilentMusic : public MusicControl {
public:
    bool PlayFile(const std::string&, VbLong, bool) override { return false; }
    bool StopFile() override { return true; }
    bool IsPlaying() const override { return false; }
    void CloseObject() override {}
};

// Two modes and the desktop's, for the display tool's list.
class TwoModes : public ModeScreen {
public:
    bool enumDisplaySettings(VbLong n, DisplayModeRec& mode) override {
        if (n < 0 || n > 1) {
            return false;
        }
        mode = {};
        mode.dmPelsWidth = n == 0 ? 800 : 1280;
        mode.dmPelsHeight = n == 0 ? 600 : 1024;
        mode.dmBitsPerPel = 32;
        mode.dmDisplayFrequency = 60;
        return true;
    }
    CurrentModeRec currentMode() override { return {1280, 1024, 32, 60}; }
    void setDisplayMode(VbInteger, VbInteger, VbInteger, std::uint8_t) override {}
    void restoreDisplayMode() override {}
};

struct World {
    World() {
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit() + "/config");
        Clock::install(&clock);
        setAppPathForTesting(dir.path().toStdString() + "/");
        QDir root(dir.path());
        root.mkpath("config/Quillfen");
        root.mkpath("custom_levels");
        root.mkpath("Original_levels");
        for (const char* set : {"/custom_levels/Rookie.dat", "/Original_levels/data.dat"}) {
            std::ofstream(dir.path().toStdString() + set) << "l:Rookie\r\n";
        }
    }
    std::string settingsFile() const {
        return dir.path().toStdString() + "/config/Quillfen/Vantorix.ini";
    }

    QTemporaryDir dir{scratchFolder("settings_fuzz")};
    ScriptedDialogs& dialogs = FuzzHarness::instance().dialogs;
    ManualClock clock;
};

World& world() {
    static World* w = new World;
    return *w;
}

// As the settings store names them: the section behind an "x", both in lower case.
std::string stored(const IniFile& ini, const std::string& section, const std::string& key,
                   const std::string& fallback) {
    return ini.value("x" + section, key).value_or(fallback);
}

} // namespace

// Qt's fonts come through fontconfig, which keeps its caches to the end of the process.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the sanitizer's own name for the hook
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

// Any settings file, read as the programs read it at start: the hiscore server, the start
// dialog, the display tool, the joystick dialog, the game window's start and the display
// marker. Every program reads the values the file holds; none of them breaks on any.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World& w = world();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(w.settingsFile(), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const IniFile ini = IniFile::parse(bytes);
    w.dialogs.clear();

    const ServerSettings server = readServerSettings();
    require(server.Address == stored(ini, "general", "server", DefaultServerAddress));
    require(server.Password == stored(ini, "general", "password", ""));
    require(server.Port == stored(ini, "general", "port", DefaultServerPort));

    display::restoreLeftoverSwitch();

    {
        StartModel start("");
        start.Form_Load();
        require(start.Check1 == 0 || start.Check1 == 1);
        require(start.Check2 == 0 || start.Check2 == 1);
        require(start.DefaultButton == 1 || start.DefaultButton == 2);
        require(start.Combo1Index >= 0 &&
                start.Combo1Index < static_cast<int>(start.Combo1.size()));
        start.pumpEvents = [] {};
        start.Command1_Click();
    }

    {
        TwoModes screen;
        DisplaySettingsModel tool(screen, [] {});
        tool.Form_Load("", "4.0.0");
    }

    { FrmJoystickSetup joystick; }

    {
        SkipIntroScreen = false;
        FirstUseFlag = false;
        GameForm form;
        GameEngine engine(form);
        QuietWindow window;
        SilentMusic music;
        GameShell shell(form, engine, window, music, "");
        shell.Form_Load();
        require(form.ServerPassword == server.Password);
        require(form.ServerPort == server.Port);
        require(form.ServerAddress == withoutTrailingSlashes(server.Address));
    }
    return 0;
}
