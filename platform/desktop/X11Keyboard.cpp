#include "X11Keyboard.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#if QT_CONFIG(xcb)
// After the Qt headers: X11's macros (KeyPress, None, Bool) would clash with them.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

namespace {

#if QT_CONFIG(xcb)
Display* display() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}
#endif

} // namespace

void useDetectableAutoRepeat() {
#if QT_CONFIG(xcb)
    if (Display* d = display()) {
        Bool supported = False;
        XkbSetDetectableAutoRepeat(d, True, &supported);
    }
#endif
}

std::vector<std::uint32_t> heldX11Keycodes() {
    std::vector<std::uint32_t> held;
#if QT_CONFIG(xcb)
    if (Display* d = display()) {
        char keys[32] = {};
        XQueryKeymap(d, keys);
        for (std::uint32_t code = 0; code < 256; ++code) {
            if ((static_cast<unsigned char>(keys[code / 8]) >> (code % 8)) & 1) {
                held.push_back(code);
            }
        }
    }
#endif
    return held;
}
