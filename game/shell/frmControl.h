#pragma once

#include "GameForm.h"
#include "Timer.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class Surface;

// Program-wide: the debug window is open.
inline bool DebugPanelOpen = false;

// One line of the debug window's timer list.
struct DebugLine {
    std::string text;
    bool bold = false;      // a high-resolution timer
    std::int32_t color = 0; // game colour: green on, red off
};

// The game window's timers in the window's order, each as "name : True(20)", then the
// message overlay's visibility.
std::vector<DebugLine> debugLines(GameForm& form);

// The debug window: an always-on-top list of the game window's timers, refreshed every
// 50 ms, and two switches for the automatic repaint of the play pictures. Deletes itself
// when closed. Make it a child of the game window, which owns the record it watches.
class frmControl : public QWidget {
    Q_OBJECT

public:
    frmControl(GameForm& form, QWidget* gameWindow);
    ~frmControl() override;

    // Opens the window (as the F12 key and the menu item do), or closes it when open.
    static void toggle(GameForm& form, QWidget* gameWindow);
    // The open window, or nullptr.
    static frmControl* instance();

    void Check1_Click();
    void Check2_Click();
    void Tmr1_Timer();

    QCheckBox* Check1 = nullptr; // "Disable page-flip ..."
    QCheckBox* Check2 = nullptr; // "Disable back-buffer RBB-RESET"
    Timer Tmr1;
    Surface& text() { return *text_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();

    GameForm& f;
    std::unique_ptr<Surface> text_;
    bool unloaded_ = false;
    static QPointer<frmControl> open_;
};
