#include "EditorAreaView.h"

#include "Surface.h"

#include <QMouseEvent>
#include <QPainter>

EditorAreaView::EditorAreaView(Surface* surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
    connect(surface, &Surface::refreshed, this, [this] { update(); });
}

QSize EditorAreaView::sizeHint() const {
    return surface_ ? surface_->image().size() : QSize(1, 1);
}

void EditorAreaView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!surface_) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    p.drawImage(0, 0, surface_->image());
    if (overlay) {
        overlay(p);
    }
}

void EditorAreaView::mousePressEvent(QMouseEvent* event) {
    if (pressed) {
        pressed(event);
    }
}

void EditorAreaView::mouseMoveEvent(QMouseEvent* event) {
    if (moved) {
        moved(event);
    }
}

void EditorAreaView::mouseReleaseEvent(QMouseEvent* event) {
    if (released) {
        released(event);
    }
}
