#pragma once

#include "GameForm.h"
#include "VbTypes.h"

#include <array>
#include <functional>

class GameEngine;

// The check boxes of the cheat panel. The engine reads seven of them straight from the
// record (GameForm::CheatCheck...); the panel keeps the others.
enum class CheatBox {
    LeftAlignGamePane, // "Left-align game pane when this window is open"
    AlienCantDie,      // "ALIEN GOD MODE"
    ShakeOff,          // "Disable shakes"
    NoReset,           // "Don't reset options upon die"
    AliensDontShoot,   // "Aliens don't shoot"
    NoPoints,          // "Don't give points"
    AliensDontMove,    // "Aliens don't move down"
    MirrorCtrls,       // "Mirror Controls"
    Shield,            // "SHIP GOD MODE"
    DblCanons,         // "Double-canons"
    MissileWaver,      // "Missile Waver"
    MissileSwirler,    // "Missile Swirler"
};

// What the cheat panel does to the running game. Setting a box or option from code runs
// its click action just as a user's click does (on a change of state only), so the widget
// and the engine's UpdateCheatPane hook go through the same setters. Nothing is saved:
// every box starts unchecked. Installs the engine's UpdateCheatPane hook.
class CheatPanelModel {
public:
    CheatPanelModel(GameForm& form, GameEngine& engine);
    ~CheatPanelModel();
    CheatPanelModel(const CheatPanelModel&) = delete;
    CheatPanelModel& operator=(const CheatPanelModel&) = delete;

    // Position (in the window) and visibility of the panel; hidden at start.
    ControlView CheatPanel;

    // Seams into the rest of the window; unset ones do nothing.
    std::function<void()> Form_Resize; // re-layout of the game window
    std::function<void()> focusPane;   // keyboard focus to the game pane
    std::function<void()> EndDemo;     // the attract demo
    // "New Game" menu item; called where "End Game" is enabled in the record too.
    std::function<void(bool)> setNewGameEnabled;
    // Tells the view to show the boxes anew (after any change of state).
    std::function<void()> changed;

    bool checked(CheatBox box) const;
    void setChecked(CheatBox box, bool on);
    // The selected "Type" option: 0 Normal, 1 Mega Missile, 2 Heavy Missile, 3 Bomb.
    int weaponOption() const { return weaponOption_; }
    void setWeaponOption(int index);

    // The window's layout places the game pane at the left edge.
    bool leftAlignsGamePane() const {
        return CheatPanel.Visible && checked(CheatBox::LeftAlignGamePane);
    }

    void mnuCheatPanel_Click();
    void UpdateCheatPane();
    void mnuCheatItems_Click(VbInteger Index);

    void CheatBtnCloseCheatPanel_Click() { mnuCheatPanel_Click(); }
    void Command3_Click();
    void CheatBtnLife_Click(int Index);
    void CheatBtnFreezeAliens_Click();
    void Command1_Click();
    void Command2_Click();
    // Frame1 .. Frame5: a click on a frame's background.
    void Frame_Click();

    // Dragging by the panel's background; X, Y inside the panel.
    void CheatPanel_MouseDown(int Button, int Shift, double X, double Y);
    void CheatPanel_MouseMove(int Button, int Shift, double X, double Y);
    void CheatPanel_MouseUp(int Button, int Shift, double X, double Y);

private:
    bool* recordBox(CheatBox box);
    const bool* recordBox(CheatBox box) const;
    void click(CheatBox box);
    void CheatWeapon_Click(int Index);
    void focus();
    bool gameRuns() const { return !f.GameOverFlag; }

    GameForm& f;
    GameEngine& e;
    std::array<bool, 12> own_{};
    int weaponOption_ = 0;
};
