#include "WindowHelpers.h"

#include <QApplication>
#include <QGuiApplication>
#include <QVariant>
#include <QWidget>

namespace win {
namespace {

constexpr const char* styleProperty = "vantorixStyleBits";

// Changing window flags hides a top-level window; show it again where it was.
void rebuildFlags(QWidget* w, Qt::WindowFlags flags) {
    if (w->windowFlags() == flags) {
        return;
    }
    const bool visible = w->isVisible();
    const QRect geometry = w->geometry();
    const Qt::WindowStates state = w->windowState();
    w->setWindowFlags(flags);
    if (visible) {
        w->setWindowState(state);
        if (!(state & (Qt::WindowFullScreen | Qt::WindowMaximized))) {
            w->setGeometry(geometry);
        }
        w->show();
    }
}

std::uint32_t bitsFromFlags(Qt::WindowFlags f) {
    if (f.testFlag(Qt::FramelessWindowHint)) {
        return 0;
    }
    std::uint32_t bits = WS_CAPTION | WS_THICKFRAME;
    // Without CustomizeWindowHint the window manager shows its usual buttons.
    if (!f.testFlag(Qt::CustomizeWindowHint) || f.testFlag(Qt::WindowSystemMenuHint)) {
        bits |= WS_SYSMENU;
    }
    if (!f.testFlag(Qt::CustomizeWindowHint) || f.testFlag(Qt::WindowMinimizeButtonHint)) {
        bits |= WS_MINIMIZEBOX;
    }
    if (!f.testFlag(Qt::CustomizeWindowHint) || f.testFlag(Qt::WindowMaximizeButtonHint)) {
        bits |= WS_MAXIMIZEBOX;
    }
    return bits;
}

} // namespace

QWidget* foregroundWindow() {
    if (QGuiApplication::applicationState() != Qt::ApplicationActive) {
        return nullptr;
    }
    return QApplication::activeWindow();
}

QWidget* activeWindow() {
    return QApplication::activeWindow();
}

bool bringToFront(QWidget* w) {
    if (!w) {
        return false;
    }
    QWidget* top = w->window();
    if (top->isMinimized()) {
        top->showNormal();
    }
    top->raise();
    top->activateWindow();
    return true;
}

void setTopMost(QWidget* w, bool onTop) {
    if (!w) {
        return;
    }
    QWidget* top = w->window();
    Qt::WindowFlags flags = top->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (onTop) {
        flags.setFlag(Qt::WindowStaysOnBottomHint, false);
    }
    rebuildFlags(top, flags);
}

bool isTopMost(const QWidget* w) {
    return w && w->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

std::uint32_t styleBits(const QWidget* w) {
    if (!w) {
        return 0;
    }
    const QWidget* top = w->window();
    const QVariant stored = top->property(styleProperty);
    if (stored.isValid()) {
        return stored.toUInt();
    }
    return bitsFromFlags(top->windowFlags());
}

void setStyleBits(QWidget* w, std::uint32_t bits, bool setIt) {
    if (!w) {
        return;
    }
    QWidget* top = w->window();
    std::uint32_t style = styleBits(top);
    style = setIt ? (style | bits) : (style & ~bits);
    top->setProperty(styleProperty, QVariant::fromValue(style));

    Qt::WindowFlags flags = top->windowFlags();
    const bool frameless = (style & WS_CAPTION) != WS_CAPTION;
    flags.setFlag(Qt::FramelessWindowHint, frameless);
    if (frameless) {
        // Qt drops the frameless hint while title-bar buttons are asked for.
        flags &= ~(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    } else {
        flags.setFlag(Qt::CustomizeWindowHint, true);
        flags.setFlag(Qt::WindowTitleHint, true);
        flags.setFlag(Qt::WindowSystemMenuHint, (style & WS_SYSMENU) != 0);
        flags.setFlag(Qt::WindowMinimizeButtonHint, (style & WS_MINIMIZEBOX) != 0);
        flags.setFlag(Qt::WindowMaximizeButtonHint, (style & WS_MAXIMIZEBOX) != 0);
        flags.setFlag(Qt::WindowCloseButtonHint, (style & WS_SYSMENU) != 0);
    }
    rebuildFlags(top, flags);
}

} // namespace win
