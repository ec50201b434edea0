#pragma once

#include <QPointer>
#include <QWidget>

class Surface;

// Shows a surface, stretched to the widget without smoothing, and repaints when the
// surface is refreshed. The surface is not owned; a view outliving it shows black.
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
    void surfaceRefreshed();

    QPointer<Surface> surface_;
    QMetaObject::Connection connection_;
    QSize shownSize_;
};
