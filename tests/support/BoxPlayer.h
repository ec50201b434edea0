#pragma once

#include "RealBoxes.h"

#include <QObject>
#include <functional>
#include <vector>

class DialogService;
class QDialog;

// Plays the player's part at the real Qt boxes while it lives: each time a box shows, it is
// noted and the next step acts on it, a moment later, from the box's own loop (a step may
// leave the box open, open another one, or close windows around it). A box shown again is
// a new showing. Once the steps are spent a box is cancelled, as Esc would. The boxes in
// place before come back afterwards.
class BoxPlayer : public QObject {
public:
    using Step = std::function<void(QDialog& box)>;

    explicit BoxPlayer(std::vector<Step> steps);
    ~BoxPlayer() override;

    const std::vector<RealBoxes::Shown>& shown() const { return shown_; }

    // Answers an input box with text, as typed and confirmed.
    static void type(QDialog& box, const char* text);
    // Esc on a box.
    static void escape(QDialog& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::vector<RealBoxes::Shown> shown_;
    DialogService* before_;
};
