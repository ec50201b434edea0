#include "SurfaceView.h"

#include "Surface.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

SurfaceView::SurfaceView(Surface* surface, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSurface(surface);
}

void SurfaceView::setSurface(Surface* surface) {
    for (const QMetaObject::Connection& c : connections_) {
        disconnect(c);
    }
    connections_.clear();
    surface_ = surface;
    if (surface_) {
        connections_.push_back(
            connect(surface_, &Surface::changed, this, &SurfaceView::surfaceChanged));
        connections_.push_back(
            connect(surface_, &Surface::resized, this, &SurfaceView::surfaceResized));
    }
    updateGeometry();
    update();
}

QSize SurfaceView::sizeHint() const {
    return surface_ && !surface_->image().isNull() ? surface_->image().size() : QSize(1, 1);
}

void SurfaceView::surfaceResized() {
    updateGeometry();
    update();
}

QRect SurfaceView::toWidget(const QRect& r) const {
    const QSize s = surface_->image().size();
    const double kx = static_cast<double>(width()) / s.width();
    const double ky = static_cast<double>(height()) / s.height();
    const int left = static_cast<int>(std::floor(r.left() * kx));
    const int top = static_cast<int>(std::floor(r.top() * ky));
    const int right = static_cast<int>(std::ceil((r.right() + 1) * kx));
    const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) * ky));
    return QRect(left, top, right - left, bottom - top);
}

void SurfaceView::surfaceChanged(const QRegion& area) {
    if (!surface_ || surface_->image().isNull() || !isVisible()) {
        return;
    }
    if (size() == surface_->image().size()) {
        update(area);
        return;
    }
    QRegion shown;
    for (const QRect& r : area) {
        shown += toWidget(r);
    }
    update(shown);
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (!surface_ || surface_->image().isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    // Nearest neighbour: pixels stay square and sharp at any scale.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QImage& image = surface_->image();
    if (event->region().boundingRect() == rect()) {
        p.drawImage(rect(), image);
        return;
    }
    const double kx = static_cast<double>(width()) / image.width();
    const double ky = static_cast<double>(height()) / image.height();
    for (const QRect& r : event->region()) {
        // Whole surface pixels that cover r, drawn where the whole picture would put them.
        const int left = std::max(0, static_cast<int>(std::floor(r.left() / kx)));
        const int top = std::max(0, static_cast<int>(std::floor(r.top() / ky)));
        const int right =
            std::min(image.width(), static_cast<int>(std::ceil((r.right() + 1) / kx)));
        const int bottom =
            std::min(image.height(), static_cast<int>(std::ceil((r.bottom() + 1) / ky)));
        if (right <= left || bottom <= top) {
            continue;
        }
        const QRect source(left, top, right - left, bottom - top);
        p.drawImage(QRectF(left * kx, top * ky, source.width() * kx, source.height() * ky), image,
                    QRectF(source));
    }
}
