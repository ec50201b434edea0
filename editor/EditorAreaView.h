#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class QPainter;
class Surface;

// One of the editor's two drawing areas: shows its surface at one pixel per pixel, then
// the pictures that lie on it (drawn by overlay), and hands its mouse events on.
class EditorAreaView : public QWidget {
    Q_OBJECT

public:
    explicit EditorAreaView(Surface* surface, QWidget* parent = nullptr);

    std::function<void(QPainter&)> overlay;
    std::function<void(QMouseEvent*)> pressed;
    std::function<void(QMouseEvent*)> moved;
    std::function<void(QMouseEvent*)> released;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointer<Surface> surface_;
};
