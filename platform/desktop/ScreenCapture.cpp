#include "ScreenCapture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

QImage grabScreenArea(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0 || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return {};
    }
    QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return {};
    }
    // grabWindow(0) takes coordinates relative to the screen.
    const QPoint origin = screen->geometry().topLeft();
    const QPixmap shot = screen->grabWindow(0, x - origin.x(), y - origin.y(), w, h);
    if (shot.isNull()) {
        return {};
    }
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}
