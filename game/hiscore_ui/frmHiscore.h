#pragma once

#include "HiscoreModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The name entry window: shows a HiscoreModel and forwards its events to it.
class frmHiscore : public QDialog {
    Q_OBJECT

public:
    frmHiscore(HiscoreGlobals& globals, VbLong score, std::function<void(VbInteger)> playSound,
               QWidget* parent = nullptr);
    ~frmHiscore() override;

    HiscoreModel& model() { return model_; }
    QLineEdit* nameBox() const { return text1_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void paintBand();
    void unload();

    HiscoreModel model_;
    QLabel* label3_;
    QLabel* label1_;
    QLabel* label2_;
    QLineEdit* text1_;
    QPushButton* command1_;
    QLabel* picture1_;
    bool unloaded_ = false;
};
