#include "ModalBox.h"

#include "WindowActivations.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace {

// Keeps a running box out of the windows it stands in: Qt deletes a widget's children with
// it, and our boxes live on their callers' stacks. A window emits destroyed before it
// deletes its children, so the box leaves it then. Leaving hides the box, which ends its
// run; moved says to run it again.
class BoxShelter : public QObject {
public:
    explicit BoxShelter(QDialog& box) : box_(box) { watchOwners(); }

    bool moved = false;

private:
    void watchOwners() {
        for (const auto& c : watching_) {
            disconnect(c);
        }
        watching_.clear();
        for (QWidget* w = box_.parentWidget(); w; w = w->parentWidget()) {
            watching_.push_back(
                connect(w, &QObject::destroyed, this, [this](QObject* gone) { leave(gone); }));
        }
    }

    void leave(const QObject* gone) {
        bool inside = false;
        for (const QWidget* w = box_.parentWidget(); w && !inside; w = w->parentWidget()) {
            inside = w == gone;
        }
        if (inside) {
            const QObject* above = gone->parent();
            QWidget* next = above && above->isWidgetType()
                                ? static_cast<const QWidget*>(above)->window()
                                : nullptr;
            box_.setParent(next, box_.windowFlags());
            moved = true;
        }
        watchOwners();
    }

    QDialog& box_;
    std::vector<QMetaObject::Connection> watching_;
};

// While boxes run, widgets put off their deferred deletion until the last box has closed. A
// window may ask to go from inside a box (a key closes a window that deletes itself on
// close) while the handler that opened the box, perhaps for an event to that very window,
// is still on the stack below; Qt would delete it inside the box's own loop. Tooltips and
// popups come and go on their own: Qt counts on an old tooltip being gone.
class DeletionsWait : public QObject {
public:
    // One box runs while it lives.
    class WhileBoxRuns {
    public:
        WhileBoxRuns() {
            if (QCoreApplication::instance()) {
                wait_ = instance();
                wait_->boxOpens();
            }
        }
        ~WhileBoxRuns() {
            if (wait_) {
                wait_->boxCloses();
            }
        }
        WhileBoxRuns(const WhileBoxRuns&) = delete;
        WhileBoxRuns& operator=(const WhileBoxRuns&) = delete;

    private:
        QPointer<DeletionsWait> wait_;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DeferredDelete && watched->isWidgetType() &&
            !passing(*static_cast<const QWidget*>(watched))) {
            held_.emplace_back(watched);
            return true;
        }
        return false;
    }

private:
    DeletionsWait() : QObject(QCoreApplication::instance()) {}

    static bool passing(const QWidget& w) {
        const Qt::WindowType type = w.window()->windowType();
        return type == Qt::ToolTip || type == Qt::Popup;
    }

    static DeletionsWait* instance() {
        static QPointer<DeletionsWait> wait;
        if (!wait) {
            wait = new DeletionsWait;
        }
        return wait;
    }

    void boxOpens() {
        if (boxes_++ == 0) {
            QCoreApplication::instance()->installEventFilter(this);
        }
    }

    void boxCloses() {
        if (--boxes_ > 0) {
            return;
        }
        QCoreApplication::instance()->removeEventFilter(this);
        // Asked for again from here: they go once the handler below has returned too.
        const std::vector<QPointer<QObject>> held = std::move(held_);
        held_.clear();
        for (const QPointer<QObject>& w : held) {
            if (w) {
                w->deleteLater();
            }
        }
    }

    int boxes_ = 0;
    std::vector<QPointer<QObject>> held_;
};

} // namespace

QWidget* boxOwner() {
    if (QWidget* w = QApplication::activeWindow()) {
        return w;
    }
    if (QWidget* w = QApplication::activeModalWidget()) {
        return w;
    }
    return lastActiveWindowShown();
}

void centreOnOwner(QWidget& box) {
    const QWidget* parent = box.parentWidget();
    if (!parent || !parent->window()->isVisible()) {
        return;
    }
    const QWidget& owner = *parent->window();
    const QRect ownerFrame = owner.frameGeometry();
    // A window manager frames the box only once it shows: count on a frame like the owner's.
    const auto margins = [](const QWidget& w) {
        const QRect inner = w.geometry();
        const QRect outer = w.frameGeometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    };
    QMargins frame = margins(box);
    if (frame.isNull()) {
        frame = margins(owner);
    }
    QRect outer(QPoint(0, 0), box.size().grownBy(frame));
    outer.moveCenter(ownerFrame.center());
    if (const QScreen* screen = owner.screen()) {
        const QRect area = screen->availableGeometry();
        outer.moveLeft(
            std::max(area.left(), std::min(outer.left(), area.right() + 1 - outer.width())));
        outer.moveTop(
            std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - outer.height())));
    }
    box.move(outer.topLeft());
}

int execBox(QDialog& box) {
    const DeletionsWait::WhileBoxRuns waiting;
    bool answered = false;
    BoxShelter shelter(box);
    QObject::connect(&box, &QDialog::finished, &shelter, [&answered] { answered = true; });
    int result = QDialog::Rejected;
    do {
        shelter.moved = false;
        result = box.exec();
    } while (shelter.moved && !answered);
    QWidget* owner = box.parentWidget() ? box.parentWidget()->window() : nullptr;
    if (owner && owner->isVisible() && !owner->isMinimized()) {
        owner->activateWindow();
    }
    return result;
}
