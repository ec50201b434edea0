#pragma once

#include "dx8Joystick.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;

// The joystick settings: joystick play on or off, the fire button, the stick's dead band
// and a live test. OK writes DEVMODE\JOYSTICK, JOYSTICKBUTTON and JOYTUNE (only when a
// device is present); Cancel writes nothing. Loads its settings when made; shown modally.
class FrmJoystickSetup : public QDialog {
public:
    explicit FrmJoystickSetup(QWidget* parent = nullptr);
    ~FrmJoystickSetup() override;

    QCheckBox* Check1;
    QGroupBox* Frame1;
    QComboBox* Combo1;
    QLabel* Label3;
    QGroupBox* Frame3;
    QScrollBar* VScroll1;
    QLabel* Label2;
    QLabel* Label5;
    std::array<QLabel*, 4> TEST{};
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QGroupBox* Frame2;
    dx8Joystick dx8Joystick1;

    bool joystickPresent() const { return joystickPresent_; }
    VbInteger selectedFireButton() const { return fireButton_; }

    void dx8Joystick1_JoystickChange(VbLong X, VbLong Y, VbLong Z, VbLong rX, VbLong rY, VbLong rZ,
                                     const dx8Joystick::SliderArray& Slider,
                                     const dx8Joystick::ButtonArray& Buttons);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

protected:
    void done(int result) override;

private:
    void Form_Load();
    void Form_Unload();
    void Combo1_Click();
    void Check1_Click();
    void VScroll1_Change();

    bool joystickPresent_ = false;
    VbInteger fireButton_ = 0;
};
