#include "X11AutoRepeat.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#if QT_CONFIG(xcb)
// After the Qt headers: X11's macros (KeyPress, None, Bool) would clash with them.
#include <X11/XKBlib.h>
#endif

void useDetectableAutoRepeat() {
#if QT_CONFIG(xcb)
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 != nullptr && x11->display() != nullptr) {
        Bool supported = False;
        XkbSetDetectableAutoRepeat(x11->display(), True, &supported);
    }
#endif
}
