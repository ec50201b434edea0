#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

class Surface;

// Shows a surface, stretched to the widget without smoothing. It repaints what the surface
// reports as drawn, once per turn of the event loop, and nothing while the surface stays
// the same. The surface is not owned; a view outliving it shows black.
class SurfaceView : public QWidget {
    Q_OBJECT

public:
    explicit SurfaceView(Surface* surface = nullptr, QWidget* parent = nullptr);

    Surface* surface() const { return surface_; }
    void setSurface(Surface* surface);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void surfaceChanged(const QRegion& area);
    void surfaceResized();
    // The widget's pixels that show the surface's rectangle r.
    QRect toWidget(const QRect& r) const;

    QPointer<Surface> surface_;
    std::vector<QMetaObject::Connection> connections_;
};
