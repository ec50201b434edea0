#pragma once

#include "DialogService.h"
#include "GameEngine.h"
#include "GameForm.h"
#include "GameShell.h"
#include "ManualClock.h"

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

// The real window's part of the game window, recorded.
class FakeWindow : public ShellWindow {
public:
    HWnd hwnd() override { return nullptr; }
    void showWindow() override { shown = true; }
    void setOuterSize(int width, int height) override {
        outerW = width;
        outerH = height;
    }
    std::string caption() const override { return title; }
    void setCaption(const std::string& c) override { title = c; }
    int innerWidth() const override { return innerW; }
    int innerHeight() const override { return innerH; }
    bool minimized() const override { return isMinimized; }
    void minimize() override { isMinimized = true; }
    void setMenuBarVisible(bool visible) override { menuBar = visible; }
    void setStyleBits(std::uint32_t bits, bool setIt) override {
        log.push_back(std::string(setIt ? "set " : "clear ") + std::to_string(bits));
    }
    void coverScreen(int width, int height) override {
        log.push_back("cover " + std::to_string(width) + "x" + std::to_string(height));
    }
    void leaveCoverScreen() override { log.push_back("uncover"); }
    void focusGame() override { log.push_back("focus"); }
    bool programInForeground() const override { return foreground; }
    bool gameWindowActive() const override { return active; }
    void outerRect(int& x, int& y, int& w, int& h) const override {
        x = 10;
        y = 20;
        w = 64;
        h = 48;
    }
    void syncView() override {}
    void endProgram() override { ended = true; }

    bool shown = false;
    int outerW = 0, outerH = 0;
    std::string title = "Vantorix";
    int innerW = 609, innerH = 440;
    bool isMinimized = false;
    bool menuBar = true;
    bool foreground = true;
    bool active = true;
    bool ended = false;
    std::vector<std::string> log;
};

class FakeMusic : public MusicControl {
public:
    bool PlayFile(const std::string& file, VbLong loop, bool streamLoop) override {
        plays.push_back(file + "|" + std::to_string(loop) + "|" + (streamLoop ? "T" : "F"));
        playing = true;
        return true;
    }
    bool StopFile() override {
        ++stops;
        playing = false;
        return true;
    }
    bool IsPlaying() const override { return playing; }
    void CloseObject() override { closed = true; }

    std::vector<std::string> plays;
    int stops = 0;
    bool playing = false;
    bool closed = false;
};

// A game window on the test clock over a program folder of its own: the built pictures,
// sounds and music, and a copy of the shipped level set (hiscores are written beside it).
class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();

    // Makes the window with this command line (the shell keeps it).
    GameShell& open(const std::string& commandLine);
    // Form_Load; InitGame runs within it unless the intro runs.
    GameShell& start(const std::string& commandLine = "-noamiga -nosfx");
    // Opens the Game menu for play (the credits do it at their first tick).
    void enableGameMenu();
    std::string setting(const std::string& section, const std::string& key);
    std::string folder() const;

    QTemporaryDir dir;
    ManualClock clock;
    ScriptedDialogs dialogs;
    FakeWindow window;
    FakeMusic music;
    std::unique_ptr<GameForm> form;
    std::unique_ptr<GameEngine> engine;
    std::unique_ptr<GameShell> shell;

    GameForm& f() { return *form; }
    GameShell& s() { return *shell; }
};
