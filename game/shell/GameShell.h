#pragma once

#include "GameEngine.h"
#include "GameForm.h"
#include "QFTModule.h"
#include "QFTModuleDesktop.h"
#include "Surface.h"
#include "VbTypes.h"
#include "dx8Joystick.h"
#include "dx8Keyboard.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The program title: settings tree, message boxes, window caption.
inline constexpr const char* GameTitle = "Vantorix";

// Program-wide values the start dialog hands to the game window.
inline std::string LevelFilePath; // "" = the original levels
inline bool SkipIntroScreen = false;
inline bool FirstUseFlag = false;

// What the game window's logic asks of the real window. The Qt window implements it; tests
// use a recording double.
class ShellWindow {
public:
    virtual ~ShellWindow() = default;

    virtual HWnd hwnd() = 0;
    virtual void showWindow() = 0;
    // Outer size of windowed play, in pixels.
    virtual void setOuterSize(int width, int height) = 0;
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // The client area the game pane is laid out in, in pane units.
    virtual int innerWidth() const = 0;
    virtual int innerHeight() const = 0;
    virtual bool minimized() const = 0;
    virtual void minimize() = 0;
    // The window's only top menu: hiding it hides the menu bar.
    virtual void setMenuBarVisible(bool visible) = 0;
    virtual void setStyleBits(std::uint32_t bits, bool setIt) = 0;
    // Covers the whole screen (width x height pixels) at the top left, or goes back to a
    // normal window.
    virtual void coverScreen(int width, int height) = 0;
    virtual void leaveCoverScreen() = 0;
    virtual void focusGame() = 0;
    // This program owns the foreground window (its own dialogs included).
    virtual bool programInForeground() const = 0;
    // The game window is the active window.
    virtual bool gameWindowActive() const = 0;
    // The window's outer rectangle on the screen, in pixels.
    virtual void outerRect(int& x, int& y, int& w, int& h) const = 0;
    // The model changed: show menus, labels and pictures as the record says.
    virtual void syncView() = 0;
    // The program ends (after the window's unload ran).
    virtual void endProgram() = 0;
};

// The music player as the window uses it.
class MusicControl {
public:
    virtual ~MusicControl() = default;
    virtual bool PlayFile(const std::string& file, VbLong loopAtTimePos, bool streamLoop) = 0;
    virtual bool StopFile() = 0;
    virtual bool IsPlaying() const = 0;
    virtual void CloseObject() = 0;
};

// The window's parts that live in their own components (intro, demo and credits, cheat
// panel, debug window, internet mode, hiscore name entry). An unset part does nothing.
struct ShellParts {
    std::function<void()> InitCredits;
    std::function<void()> StartDemo;
    std::function<void()> EndDemo;
    // Draws the cheat panel's title bar.
    std::function<void()> drawCheatPanelTitle;
    std::function<void()> mnuCheatPanel_Click;
    std::function<void(int Index)> mnuCheatItems_Click;
    // The cheat panel is visible with "Left-align game pane" checked.
    std::function<bool()> cheatPaneLeftAligned;
    // Opens or closes the debug window.
    std::function<void()> mnuShowProcessInfo_Click;
    std::function<void()> mnuUseInternetHiscore_Click;
    std::function<void()> mnuUpdateInternetHiscoresNow_Click;
    std::function<bool()> InfoWindowOpen;
};

// The logic of the game window frmMain: start-up, window and full screen, menus, options and
// shutdown, keyboard and joystick commands. It works on the window's record and engine and
// reaches the real window only through ShellWindow, so tests drive it without a screen.
class GameShell {
public:
    GameShell(GameForm& form, GameEngine& engine, ShellWindow& window, MusicControl& music,
              std::string commandLine);
    ~GameShell();
    GameShell(const GameShell&) = delete;
    GameShell& operator=(const GameShell&) = delete;

    GameForm& form() { return f; }
    GameEngine& engine() { return e; }
    const std::string& commandLine() const { return cmd; }

    ShellParts parts;

    // ---- view state the window shows (beyond the record's own) ----
    MenuItem mnuNewGame;
    ControlView Help{0, 0, 400, 420, false}; // the game information page
    ControlView Flimmer{0, 0, 0, 0, true};   // the intro screen
    ControlView aDisk{0, 0, 200, 205, false};
    ControlView PaneSize{0, 0, 599, 426, true}; // the pane's own size
    std::shared_ptr<Surface> picDump = std::make_shared<Surface>(1, 1);
    std::shared_ptr<Surface> PaneGradient = std::make_shared<Surface>(599, 426);

    dx8Keyboard dx8Keyboard1;
    dx8Joystick dx8Joystick1;

    // ---- start-up ----
    void Form_Load();
    void InitGame();
    void SetMeSize();
    void StartMusic();

    // ---- window, full screen and focus ----
    void SetFullscreenWindow(bool& Enable);
    void Form_Resize();
    void UpdateGradient_Timer();
    void FocusTimer_Timer();
    void CheckForgroundWindow_Timer();

    // ---- menus, options and shutdown ----
    void SetPause();
    void mnuFile_Click();
    void mnuGameInfo_Click();
    void Help_Click();
    void mnuNewGame_Click();
    void mnuEndGame_Click();
    void mnuExit_Click();
    void mnuShowProcessInfo_Click();
    void mnuMusic_Click();
    void mnuSound_Click();
    void mnuShipShootSounds_Click();
    void mnuAlienShootSounds_Click();
    void mnuExplosionSounds_Click();
    void mnuFastMessages_Click();
    void mnuWaitForFire_Click();
    // Cancel becomes 1 when the window must stay.
    void Form_QueryUnload(VbInteger& Cancel, VbInteger UnloadMode);
    void Form_Unload(VbInteger& Cancel);

    // ---- keyboard and joystick commands ----
    void dx8Keyboard1_KeyDown(VbLong KeyCode);
    void dx8Keyboard1_KeyUp(VbLong KeyCode);
    void dx8Joystick1_JoystickChange(VbLong X, VbLong Y, VbLong Z, VbLong rX, VbLong rY, VbLong rZ,
                                     const dx8Joystick::SliderArray& Slider,
                                     const dx8Joystick::ButtonArray& Buttons);
    void AutoDump_Timer();
    // The free dump name, "" when every number is taken.
    static std::string nextScreenDumpFile();

    // Kept between calls for the whole run.
    std::string typedCode;
    VbInteger autoDumpPictures = 0;
    static constexpr const char* CheatCode = "582713904625180347296051";

private:
    // InitGame's steps, in its order. resumeInternetMode is false when the window closed
    // meanwhile.
    void applyStartSwitches();
    void layOutWindow();
    void setPlayConstants();
    void loadPicturesAndLevels();
    void showGameWindow();
    void restoreOptions();
    void startAttractMode();
    bool resumeInternetMode();
    void prepareSoundEffects();
    void drawPaneGradient();
    // Loads the level set; false when the shipped set stands in for the one asked for.
    bool chooseLevelSet();
    void loadSoundBuffers();
    void fatalStartError(const std::exception& err, std::int32_t number);
    void pauseShown();
    // Form_Unload's steps, in its order.
    void stopEveryTimer();
    void enterUnfinishedScore();
    void saveOptions();
    void writeHiscoreFile();
    void leaveFullScreenForExit();
    void removeDownloadedTable();
    // dx8Keyboard1_KeyDown's steps, in its order; a true result spends the key.
    bool anyWindowKeys(VbLong KeyCode);
    void followTypedCode(VbLong KeyCode);
    bool helpPageClosed();
    bool windowCommandKeys(VbLong KeyCode);
    void pauseAndNewGameKeys(VbLong KeyCode);
    void playKeys(VbLong KeyCode);
    void takeScreenDump();
    bool askDumpSeries();
    void sync();

    GameForm& f;
    GameEngine& e;
    ShellWindow& w;
    MusicControl& music;
    std::string cmd;
    // What the switches are read from: empty when cmd is a bare path, a file name whose
    // switch words must not act.
    std::string switches_;
    bool unloaded_ = false;
    bool unloading_ = false;
    // The stored options were read into the menu: only then does the exit write them back
    // (a start that failed earlier would write the design state over them).
    bool optionsRestored_ = false;
    // The picture being taken is one of a series; that series (or the single picture) has
    // told its failure to save already.
    bool dumpOfSeries_ = false;
    bool dumpFailureTold_ = false;
};
