#pragma once

#include <QShowEvent>

class QDialog;
class QWidget;

// Where our modal boxes stand and who has the keyboard once they close. On a desktop without
// a window manager nobody else does either: Qt guesses a title bar that is not there, and
// the keyboard goes to no window when a box closes.

// The window a box belongs to: this program's active window; else its modal window; else
// the window that was active last and still shows; nullptr when none shows.
QWidget* boxOwner();

// Places box, about to show, centred on the window of its parent and on that window's
// screen. A box without a parent keeps its place.
void centreOnOwner(QWidget& box);

// Runs box modally; afterwards the window of its parent takes the keyboard back. No window
// takes the box with it while it runs: widgets deleted later (a window that deletes itself on
// close) wait until the last box has closed, and from a window deleted outright the box moves
// on to the nearest window that stays (or stands alone) and goes on asking there.
int execBox(QDialog& box);

// A box that stands centred on its parent's window each time it shows.
template <class Box> class CentredBox : public Box {
public:
    using Box::Box;

protected:
    void showEvent(QShowEvent* event) override {
        // The box has its final size only after its own show handling.
        Box::showEvent(event);
        if (!event->spontaneous()) {
            centreOnOwner(*this);
        }
    }
};
