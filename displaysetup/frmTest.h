#pragma once

#include "TestModel.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The countdown window shown while a mode is tried. It keeps itself centred on the screen
// and above other windows, since the screen changes size under it.
class frmTest : public QDialog {
public:
    explicit frmTest(QWidget* parent = nullptr, Clock& clock = Clock::instance());

    TestModel model;
    QLabel* Label1;
    QLabel* Label2; // the countdown
    QPushButton* Command2;
    QPushButton* Command1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void centre();
};
