#include "SurfaceView.h"

#include "Surface.h"

#include <QPainter>

SurfaceView::SurfaceView(Surface* surface, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSurface(surface);
}

void SurfaceView::setSurface(Surface* surface) {
    disconnect(connection_);
    surface_ = surface;
    if (surface_) {
        connection_ = connect(surface_, &Surface::refreshed, this, &SurfaceView::surfaceRefreshed);
        shownSize_ = surface_->image().size();
    }
    updateGeometry();
    update();
}

QSize SurfaceView::sizeHint() const {
    return surface_ && !surface_->image().isNull() ? surface_->image().size() : QSize(1, 1);
}

void SurfaceView::surfaceRefreshed() {
    if (surface_ && surface_->image().size() != shownSize_) {
        shownSize_ = surface_->image().size();
        updateGeometry();
    }
    update();
}

void SurfaceView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!surface_ || surface_->image().isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    // Nearest neighbour: pixels stay square and sharp at any scale.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(rect(), surface_->image());
}
