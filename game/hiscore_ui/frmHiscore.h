#pragma once

#include "HiscoreNameEntry.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The name entry window: shows a HiscoreNameEntry and forwards its events to it.
class frmHiscore : public QDialog {
    Q_OBJECT

public:
    frmHiscore(HiscoreGlobals& globals, VbLong score, std::function<void(VbInteger)> playSound,
               QWidget* parent = nullptr);
    ~frmHiscore() override;

    HiscoreNameEntry& model() { return model_; }
    QLineEdit* nameBox() const { return text1_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void paintBand();
    void unload();

    HiscoreNameEntry model_;
    QLabel* label3_;
    QLabel* label1_;
    QLabel* label2_;
    QLineEdit* text1_;
    QPushButton* command1_;
    QLabel* picture1_;
    bool unloaded_ = false;
};
