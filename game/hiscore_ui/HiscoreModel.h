#pragma once

#include "ColorFader.h"
#include "LevelsAndHiscores.h"
#include "Timer.h"
#include "VbTypes.h"

#include <functional>
#include <string>
#include <vector>

// The hiscore name entry (frmHiscore) without its widgets: the texts it shows, the name box
// with its rules, the pulsing background and the random bleeps. However it closes, the
// typed name (without surrounding blanks) becomes LastHiscoreName.
class HiscoreModel {
public:
    static constexpr int MaxLength = 8;

    HiscoreModel(HiscoreGlobals& globals, VbLong score, std::function<void(VbInteger id)> playSound,
                 Clock& clock = Clock::instance());
    ~HiscoreModel();

    // What the window does for the model.
    std::function<void()> closeWindow;                  // unloads the window
    std::function<void(VbLong color)> backColorChanged; // the window's background
    std::function<void()> focusName;                    // selection and focus are set

    std::string Label1 = "You got the %p place on the top 10.";
    std::string Label2 = "Please enter your name:";
    std::string Label3 = "SCORE : ";
    std::string Text1;
    bool Text1AllSelected = false;
    VbLong BackColor = 0;
    // Picture1's rows top to bottom; row 0 keeps the band's own colour (-1 here).
    std::vector<VbLong> Gradient;

    // bandHeight: Picture1's height in pixels.
    void Form_Load(int bandHeight);
    void Form_Unload();
    void Form_KeyDown(int keyCode);
    void Text1_KeyDown(int keyCode);
    // A typed character as the name box takes it: "a" to "z" become capitals.
    static char Text1_KeyPress(char key);
    void Command1_Click();

    // Typing into the name box: replaces a selection, refused beyond MaxLength.
    void typeChar(char key);

    void Timer1_Timer();
    void Timer2_Timer();
    void FocusTimer_Timer();

    Timer Timer1;
    Timer Timer2;
    Timer FocusTimer;

    bool loaded() const { return loaded_; }

private:
    void close();

    HiscoreGlobals& g;
    VbLong score_;
    std::function<void(VbInteger)> playSound_;
    ColorFader fader_;
    bool loaded_ = false;
};

// The window on screen, modal, until it is closed.
class QWidget;
void showHiscoreNameEntry(HiscoreGlobals& globals, VbLong score,
                          std::function<void(VbInteger id)> playSound, QWidget* parent = nullptr);
