#include "ModalBox.h"

#include "WindowActivations.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>

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
    const QPointer<QWidget> owner = box.parentWidget() ? box.parentWidget()->window() : nullptr;
    const int result = box.exec();
    if (owner && owner->isVisible() && !owner->isMinimized()) {
        owner->activateWindow();
    }
    return result;
}
