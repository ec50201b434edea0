#pragma once

#include "DisplaySettingsModel.h"

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The display-settings window: pick the full-screen mode, try it, store it. Loads when
// made; closing it ends the program.
class frmDisplaySettings : public QDialog {
public:
    // showTest: how a mode's test window is shown; by default an frmTest, modally.
    frmDisplaySettings(ModeScreen& screen, const std::string& commandLine,
                       std::function<void()> showTest = {}, QWidget* parent = nullptr);

    DisplaySettingsModel model;
    QGroupBox* Frame1;
    QComboBox* Combo1;
    QPushButton* Command1; // Test mode
    QPushButton* Command5; // Find current mode
    QPushButton* Command2; // OK
    QPushButton* Command3; // Cancel
    QLabel* Label1;
    QLabel* Label2;

    // major.minor.revision of this program.
    static std::string version();

protected:
    void reject() override;

private:
    void showTestWindow();
};
