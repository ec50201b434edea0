#pragma once

#include "CheatPanelModel.h"

#include <QFrame>
#include <map>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QRadioButton;

// The cheat panel as a frame inside the game window: shows the model's boxes, forwards
// clicks to it, and is dragged by its background. The window creates it as a child and
// keeps its place and visibility in step with the model (sync does both).
class CheatPanel : public QFrame {
    Q_OBJECT

public:
    CheatPanel(CheatPanelModel& model, QWidget* gameWindow);
    ~CheatPanel() override;

    // Shows the model: marks, selected weapon, place and visibility.
    void sync();

    QCheckBox* box(CheatBox b) const { return boxes_.at(b); }
    QRadioButton* weapon(int index) const { return weapons_[index]; }
    QAbstractButton* button(const char* name) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* addBox(CheatBox b, const char* name, const char* caption, QWidget* parent);
    QGroupBox* addFrame(const char* name, const char* caption, QWidget* parent);

    CheatPanelModel& model_;
    std::map<CheatBox, QCheckBox*> boxes_;
    QRadioButton* weapons_[4] = {};
    bool syncing_ = false;
};
