#pragma once

#include "StartModel.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The start dialog on screen, shown not modal. play is what Play shows (the game window).
class frmStart : public QDialog {
public:
    explicit frmStart(const std::string& commandLine, QWidget* parent = nullptr);
    ~frmStart() override;

    StartModel& model() { return model_; }
    // Fills the controls from the settings (the load handler).
    void load();
    // Shows the game window; set by the program before the dialog is shown.
    std::function<void()> showGame;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command[10] = {}; // Command1 .. Command9
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QLabel* Picture1 = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void reject() override;

private:
    void refresh();
    void takeControls();
    void busyChanged();

    StartModel model_;
    bool unloaded_ = false;
    bool busy_ = false;
    bool unloadAsked_ = false;
};
