#include "ColorFader.h"
#include "CommandLine.h"
#include "DialogService.h"
#include "GameShell.h"
#include "IgnoringFailures.h"
#include "InternetRequests.h"
#include "Numbers.h"
#include "Random.h"
#include "Settings.h"
#include "TextCase.h"
#include "VbError.h"

#include <algorithm>
#include <cctype>

namespace {

std::string setting(const char* section, const char* key, const std::string& def) {
    return GetSetting(GameTitle, section, key, def);
}

bool settingIsOne(const char* section, const char* key) {
    return num::leadingNumber(setting(section, key, "0")) == 1;
}

// A stored number for a variable of lo..hi; one that does not fit takes the default.
double storedNumber(const char* section, const char* key, double def, double lo, double hi) {
    return num::wholeOr(num::leadingNumber(setting(section, key, num::toText(def))), lo, hi, def);
}

VbInteger storedInteger(const char* section, const char* key, VbInteger def) {
    return static_cast<VbInteger>(storedNumber(section, key, def, -32768, 32767));
}

VbLong modeValue(const char* key, VbLong desktop) {
    return static_cast<VbLong>(storedNumber("DEVMODE", key, desktop, -2147483648.0, 2147483647.0));
}

void restoreOption(MenuItem& item, const char* section, const char* key) {
    const std::string v = setting(section, key, item.Checked ? "True" : "False");
    item.Checked = (v == "True");
}

} // namespace

GameShell::GameShell(GameForm& form, GameEngine& engine, ShellWindow& window, MusicControl& mus,
                     std::string commandLine)
    : f(form), e(engine), w(window), music(mus), cmd(std::move(commandLine)),
      switches_(cmdline::switchText(cmd)) {
    f.lbPause.Width = 160;
    f.lbPause.Height = 28;
    // Below the centred messages, above the shield line.
    f.lbPause.Top = 330;
    mnuNewGame.Enabled = true;
    f.mnuEndGame.Enabled = false;
    Help.Visible = false;

    f.UpdateGradient.onTick = [this] { UpdateGradient_Timer(); };
    f.FocusTimer.onTick = [this] { FocusTimer_Timer(); };
    f.CheckForgroundWindow.onTick = [this] { CheckForgroundWindow_Timer(); };
    f.AutoDump.onTick = [this] { AutoDump_Timer(); };
    e.SetPause = [this] { SetPause(); };
    dx8Keyboard1.KeyDown = [this](VbLong code) { dx8Keyboard1_KeyDown(code); };
    dx8Keyboard1.KeyUp = [this](VbLong code) { dx8Keyboard1_KeyUp(code); };
    dx8Joystick1.JoystickChange = [this](VbLong X, VbLong Y, VbLong Z, VbLong rX, VbLong rY,
                                         VbLong rZ, const dx8Joystick::SliderArray& s,
                                         const dx8Joystick::ButtonArray& b) {
        dx8Joystick1_JoystickChange(X, Y, Z, rX, rY, rZ, s, b);
    };
    f.LevelSet.CommandLine = cmd;
    f.LevelSet.seams.enableNewGame = [this] {
        mnuNewGame.Enabled = true;
        sync();
    };
    f.LevelSet.seams.internetMode = [this] { return f.mnuUseInternetHiscore.Checked; };
}

GameShell::~GameShell() {
    for (Timer* t : {&f.UpdateGradient, &f.FocusTimer, &f.CheckForgroundWindow, &f.AutoDump}) {
        t->onTick = nullptr;
        t->setEnabled(false);
    }
    e.SetPause = nullptr;
}

void GameShell::sync() {
    w.syncView();
}

void GameShell::Form_Load() {
    f.GfxPath = AppPath() + "gfx/hi_color/";
    // The same server the settings dialog shows, and tests, with no trailing "/".
    const ServerSettings server = readServerSettings();
    f.ServerAddress = withoutTrailingSlashes(server.Address);
    f.ServerPassword = server.Password;
    f.ServerPort = server.Port;
    dx8Keyboard1.Init();
    if (settingIsOne("DEVMODE", "JOYSTICK")) {
        dx8Joystick1.Init();
        if (!dx8Joystick1.JoystickConnected()) {
            MsgBox("Unable to find any connected Joysticks!\r\n\r\nJoystick mode has been disabled",
                   mb::Exclamation + mb::OKOnly);
            SaveSetting(GameTitle, "DEVMODE", "JOYSTICK", "0");
        }
        f.JoystickButton = storedInteger("DEVMODE", "JOYSTICKBUTTON", 0);
        f.JoystickTune = storedInteger("DEVMODE", "JOYTUNE", 500);
    }
    f.mnuUpdateInternetHiscoresNow.Visible = false;
    SaveSetting(GameTitle, "Global", "FirstUse", "0");
    f.SlowPCMode = settingIsOne("Global", "SlowPC");
    if (parts.drawCheatPanelTitle) {
        parts.drawCheatPanelTitle();
    }
    f.HiscoreFader.setStartColor(0x404040);
    f.HiscoreFader.setEndColor(0x0000FF);
    f.HiscoreFader.setSteps(30);
    f.HiscoreFader.setPingPong(VbTrue);

    f.Loading = true;
    f.mnuFile.Enabled = false;
    f.GameOverFlag = true;
    sync();

    if (settingIsOne("DEVMODE", "FullScreen") && settingIsOne("DEVMODE", "lERROR")) {
        MsgBox("Please run DISPLAY SETUP (" + AppPath() + "vantdisp) to correct display settings!",
               mb::Critical + mb::OKOnly, "DISPLAY PROBLEMS");
        unloaded_ = true;
        w.endProgram();
        return;
    }

    // An unreadable desktop mode leaves the zero defaults; full screen then fails and
    // records the display problem.
    ignoringFailures([&] {
        if (!f.Display) {
            f.Display = std::make_unique<DirectX7Display>();
        }
        f.DesktopBits = f.Display->GetDisplayBitDepth();
        f.DesktopHeight = f.Display->GetDisplayHeight();
        f.DesktopWidth = f.Display->GetDisplayWidth();
        f.DesktopFreq = f.Display->GetDisplayRefreshRate();
    });

    if (!cmdline::hasSwitch(switches_, "-window") && settingIsOne("DEVMODE", "FullScreen")) {
        f.ModeBits = storedInteger("DEVMODE", "lBits", f.DesktopBits);
        f.ModeHeight = modeValue("lHeight", f.DesktopHeight);
        f.ModeWidth = modeValue("lWidth", f.DesktopWidth);
        f.ModeFreq = modeValue("lFreq", f.DesktopFreq);
        f.c64Screen.setInterval(1500);
        bool on = true;
        SetFullscreenWindow(on);
        if (unloaded_) {
            return;
        }
    } else {
        SetMeSize();
        DoEvents();
        w.showWindow();
    }

    if ((!cmdline::hasSwitch(switches_, "-noamiga") && !SkipIntroScreen) || FirstUseFlag) {
        Flimmer.Visible = true;
        Form_Resize();
        sync();
        f.c64Screen.setEnabled(true);
        return;
    }
    f.FlimmerTimer.setEnabled(false);
    Flimmer.Visible = false;
    sync();
    DoEvents();
    InitGame();
}

void GameShell::SetMeSize() {
    w.setOuterSize(609, 474);
}

void GameShell::drawPaneGradient() {
    Surface& pane = *PaneGradient;
    pane.setSize(static_cast<int>(PaneSize.Width), static_cast<int>(PaneSize.Height));
    ColorFader fader;
    fader.setStartColor(0xFF0000);
    fader.setEndColor(0x0000FF);
    const VbLong rows = num::toLong(pane.ScaleHeight());
    fader.setSteps(rows);
    for (VbLong y = 0; y <= rows; ++y) {
        const VbLong c = fader.GetNextColor();
        if (c != -1) {
            pane.Line(0, y, pane.ScaleWidth(), y, c);
        }
    }
    pane.Refresh();
}

bool GameShell::chooseLevelSet() {
    LevelsAndHiscores& set = f.LevelSet;
    // The set asked for (none: the shipped one) is what plays; false once the shipped set
    // stands in for one that could not be read.
    bool asked = true;
    const auto loadNamed = [&](const std::string& file) {
        set.LoadLevels(file);
        // A set read only in part still plays, under its own name.
        if (!f.Levels.empty() && !f.InFullScreen) {
            w.setCaption(std::string(GameTitle) + " {" + file + "}");
        }
    };
    if (!cmdline::hasSwitch(switches_, "-loadlevels{")) {
        const std::string bare = cmdline::withoutQuotes(cmd);
        if (FileExists(bare)) {
            if (endsWithNoCase(bare, ".dat")) {
                loadNamed(bare);
            } else {
                MsgBox("Invalid levelfile format!", mb::Exclamation);
                set.LoadOrgLevels();
                asked = false;
            }
        } else if (LevelFilePath.empty()) {
            set.LoadOrgLevels();
        } else if (!FileExists(LevelFilePath) || !set.LoadLevels(LevelFilePath)) {
            set.LoadOrgLevels();
            asked = false;
        }
    } else {
        std::string key = "-loadlevels";
        loadNamed(GetFileFromCommandLine(switches_, key));
    }
    if (f.Levels.empty()) {
        // Nothing could be read: the shipped set, so that there is a level to play.
        set.LoadOrgLevels();
        asked = false;
    }
    if (f.Levels.empty()) {
        throw VbError(53, "InitGame", "No level file could be read");
    }
    // Start levels outside the set begin at its first or last level.
    const int last = static_cast<int>(f.Levels.size()) - 1;
    f.StartFromLevel = static_cast<VbInteger>(std::clamp<int>(f.StartFromLevel, 0, last));
    return asked;
}

void GameShell::InitGame() {
    try {
        f.Loading = false;
        Random::instance().seedFromClock();
        applyStartSwitches();
        layOutWindow();
        setPlayConstants();
        loadPicturesAndLevels();
        showGameWindow();
        if (parts.InitCredits) {
            parts.InitCredits();
        }
        restoreOptions();
        startAttractMode();
        if (!resumeInternetMode()) {
            return;
        }
        optionsRestored_ = true;
        sync();
    } catch (const VbError& err) {
        fatalStartError(err, err.Number());
        return;
    } catch (const std::exception& err) {
        fatalStartError(err, 5);
        return;
    }
    // Outside the fatal handler: the game goes on without its sound buffers.
    prepareSoundEffects();
}

void GameShell::applyStartSwitches() {
    f.DeveloperMode = cmdline::hasSwitch(switches_, "quintarflox");
    f.CheatMode = cmdline::hasSwitch(switches_, "-wobblefrumpy");
    f.mnuCheat.Visible = f.CheatMode;
    f.cheatsplitter.Visible = f.CheatMode;
    if (cmdline::hasSwitch(switches_, "-startfromlevel{")) {
        std::string key = "-startfromlevel";
        const double n = num::leadingNumber(GetParameterFromCommandLine(switches_, key));
        f.StartFromLevel = num::toInteger(std::clamp(n - 1, -32768.0, 32767.0));
    }
}

void GameShell::layOutWindow() {
    Help.Left = 0;
    Help.Top = 0;
    Form_Resize();
    drawPaneGradient();
    f.mnuEndGame.Enabled = false;
    f.mnuFile.Enabled = false;
    f.lbPause.Left = f.pMain->ScaleWidth() / 2.0 - f.lbPause.Width / 2.0;
}

void GameShell::setPlayConstants() {
    f.StartLives = 4;
    f.AlienStepBase = 4;
    f.AlienDropStep = 8;
    f.ShotSpeed = f.SlowPCMode ? 12 : 8;
    f.AlienShotSpeed = f.SlowPCMode ? 5 : 4;
    f.ShipSpeed = f.SlowPCMode ? 7 : 5;
    f.DropSpeed = f.SlowPCMode ? 2 : 1;
    f.ShieldLineY = 375;
    f.ShakeStrength = 20;
    f.MessageFader.setSteps(f.SlowPCMode ? 10 : 20);
    f.FadeInterval = f.SlowPCMode ? 40 : 30;
    f.FadeTimer.setInterval(f.FadeInterval);
    f.HideFade.setInterval(f.FadeInterval);
    f.PaintDisplayTimer.setInterval(f.FadeInterval);
    f.MainLoop.setInterval(f.SlowPCMode ? 30 : 20);
    f.PicDisp->setBackColor(0);
    f.SoundAvailable = SoundDeviceAvailable() != VbFalse;
}

void GameShell::loadPicturesAndLevels() {
    e.LoadBitmaps();
    f.LevelSet.ResetHiscore();
    // The table of a set that stands in for the one asked for is none of the player's.
    if (chooseLevelSet() && cmdline::hasSwitch(switches_, "-resethi")) {
        f.LevelSet.ResetHiscore();
        f.LevelSet.WriteHiscores();
    }
    e.BuildSpriteSets();
}

void GameShell::showGameWindow() {
    sync();
    DoEvents();
    w.showWindow();
    DoEvents();
}

void GameShell::restoreOptions() {
    restoreOption(f.mnuWaitForFire, "General", "WaitForFire");
    restoreOption(f.mnuFastMessages, "General", "FastMessages");
    restoreOption(f.mnuSound, "sfx", "sfx");
    restoreOption(f.mnuMusic, "sfx", "music");
    restoreOption(f.mnuShipShootSounds, "sfx", "shipshoot");
    restoreOption(f.mnuAlienShootSounds, "sfx", "alienshoot");
    restoreOption(f.mnuExplosionSounds, "sfx", "explosions");
    std::string key = "-musicfile";
    f.MusicFile = GetFileFromCommandLine(switches_, key);
    // The switches win over the stored music option.
    if (cmdline::hasSwitch(switches_, "-disablemusic")) {
        f.mnuMusic.Checked = false;
        f.mnuMusic.Enabled = false;
    } else if (cmdline::hasSwitch(switches_, "-nomusic")) {
        f.mnuMusic.Checked = false;
    }
}

void GameShell::startAttractMode() {
    // The first level stands ready behind the demo.
    e.ResetPlayerData();
    e.ResetLevelStatus();
    VbInteger first = 0;
    e.InitLevel(first);
    StartMusic();
    if (parts.StartDemo) {
        parts.StartDemo();
    }
    f.UpdateGradient.setEnabled(true);
}

bool GameShell::resumeInternetMode() {
    const bool internetStored =
        setting("General", "InternetMode", f.mnuUseInternetHiscore.Checked ? "True" : "False") ==
        "True";
    if (internetStored && f.LevelSet.BinaryLevels != VbFalse && parts.mnuUseInternetHiscore_Click) {
        parts.mnuUseInternetHiscore_Click();
        // The window may have been closed while the server's table was awaited.
        return !(unloaded_ || unloading_);
    }
    return true;
}

void GameShell::prepareSoundEffects() {
    if (cmdline::hasSwitch(switches_, "-disablesfx")) {
        f.mnuSound.Checked = false;
        f.mnuSound.Enabled = false;
        DirectSoundReady = true;
        sync();
        return;
    }
    if (cmdline::hasSwitch(switches_, "-nosfx")) {
        f.mnuSound.Checked = false;
        DirectSoundReady = true;
        sync();
        return;
    }
    loadSoundBuffers();
}

void GameShell::fatalStartError(const std::exception& err, std::int32_t number) {
    MsgBox("Fatal error!\r\n\r\n" + std::string(err.what()) + "\r\ncode:" + num::toText(number),
           mb::Critical);
    SaveSetting(GameTitle, "DEVMODE", "lERROR", "1");
    StopMciDevice("", VbTrue);
    f.Loading = false;
    f.GameOverFlag = true;
    f.HiscorePending = false;
    VbInteger cancel = 0;
    Form_Unload(cancel);
}

void GameShell::loadSoundBuffers() {
    try {
        const std::string sfx = AppPath() + "sfx/";
        HWnd h = w.hwnd();
        const int channels = static_cast<int>(f.Sound101.size());
        for (int ch = 0; ch < channels; ++ch) {
            for (int id : {101, 102, 103, 104, 106, 107, 109}) {
                (*f.soundArray(id))[static_cast<std::size_t>(ch)].LoadWaveFile(
                    sfx + num::toText(id) + ".wav", h);
            }
        }
        f.Sound105[0].LoadWaveFile(sfx + "105.wav", h);
        const char* names108[] = {"108.wav", "108_1.wav", "108_2.wav", "108_1.wav"};
        for (std::size_t i = 0; i < 4; ++i) {
            f.Sound108[i].LoadWaveFile(sfx + names108[i], h);
        }
        f.Sound110To112[0].LoadWaveFile(sfx + "110.wav", h);
        f.Sound110To112[1].LoadWaveFile(sfx + "111.wav", h);
        f.Sound110To112[2].LoadWaveFile(sfx + "112.wav", h);
        f.Sound113.LoadWaveFile(sfx + "113.wav", h);
        DirectSoundReady = true;
    } catch (const std::exception& err) {
        DirectSoundReady = false;
        const auto* fileError = dynamic_cast<const VbError*>(&err);
        const std::string fallback = "Sound fx will play trough Windows Standard API.!\r\n\r\n"
                                     "Sounds may be very poor, and only one sound can be played "
                                     "at a time.";
        if (fileError && fileError->Source() != dx8SoundDeviceSource) {
            // A missing or broken wave is the file's fault, not the sound system's.
            MsgBox("Fatal error!\r\n" + fileError->Description() +
                       "\r\ncode:" + num::toText(fileError->Number()) + "\r\n\r\n" + fallback,
                   mb::Critical);
        } else {
            MsgBox("Fatal error!\r\nDirectX can't create object!\r\n\r\nThis game requires "
                   "DirectX 8 or later!\r\n\r\n" +
                       fallback,
                   mb::Critical);
        }
    }
}

void GameShell::StartMusic() {
    if (!f.mnuMusic.Checked) {
        return;
    }
    if (!f.MusicFile.empty() && FileExists(f.MusicFile)) {
        music.PlayFile(f.MusicFile, 0, true);
    } else {
        music.PlayFile(AppPath() + "sfx/bg.xm", 195000, false);
    }
}
