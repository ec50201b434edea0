#include "HeldKeyRepeats.h"

#include <QCoreApplication>
#include <algorithm>
#include <xcb/xcb.h>

HeldKeyRepeats& HeldKeyRepeats::instance() {
    static HeldKeyRepeats* filter = [] {
        auto* f = new HeldKeyRepeats; // lives as long as the application
        if (QCoreApplication* app = QCoreApplication::instance()) {
            app->installNativeEventFilter(f);
        }
        return f;
    }();
    return *filter;
}

void HeldKeyRepeats::dropIn(QWidget* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), nullptr), windows_.end());
    windows_.emplace_back(window);
}

bool HeldKeyRepeats::chosen(WId window) const {
    return std::any_of(windows_.begin(), windows_.end(), [&](const QPointer<QWidget>& w) {
        return w && w->internalWinId() == window;
    });
}

bool HeldKeyRepeats::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
    case XCB_KEY_PRESS: {
        const auto* key = static_cast<const xcb_key_press_event_t*>(message);
        if (down_[key->detail]) {
            return chosen(key->event);
        }
        down_[key->detail] = true;
        return false;
    }
    case XCB_KEY_RELEASE:
        down_[static_cast<const xcb_key_release_event_t*>(message)->detail] = false;
        return false;
    case XCB_FOCUS_OUT:
        // Releases now go elsewhere: the next press of any key is a press again.
        down_.reset();
        return false;
    default:
        return false;
    }
}
