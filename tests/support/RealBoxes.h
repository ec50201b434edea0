#pragma once

#include <QRect>
#include <QSize>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class DialogService;
class QWidget;

// The real Qt boxes in place of any scripted ones while it lives: each box that shows is
// noted (where it stood, the window it was modal over, its title) and then cancelled, as a
// player's Esc would. The boxes in place before come back afterwards.
class RealBoxes {
public:
    struct Shown {
        QRect frame;
        QWidget* owner = nullptr;
        std::string title;
    };

    RealBoxes();
    ~RealBoxes();

    const std::vector<Shown>& shown() const { return shown_; }

private:
    struct Watch;
    std::unique_ptr<Watch> watch_;
    std::vector<Shown> shown_;
    DialogService* before_;
};

// Asks one box of the service, a message box or an input box, and returns what showed (an
// invalid frame unless exactly one box showed).
RealBoxes::Shown askOneBox(bool input);

// Where a box of this outer size stands centred on owner's window, kept on its screen.
QRect centredOn(const QWidget& owner, QSize box);

// A window of its own at geometry, shown and made the active one.
std::unique_ptr<QWidget> activeWindowAt(QRect geometry, bool frameless = false);

// Waits (up to a few seconds) until w is this program's active window.
bool becomesActive(const QWidget* w);
