#include "KeyboardDevice.h"

#include "KeyCodes.h"
#include "X11Keyboard.h"

#include <QApplicationStateChangeEvent>
#include <QGuiApplication>
#include <QKeyEvent>

KeyboardDevice& KeyboardDevice::instance() {
    static KeyboardDevice* device = new KeyboardDevice; // lives as long as the application
    return *device;
}

bool KeyboardDevice::available() {
    return QGuiApplication::instance() != nullptr;
}

KeyboardDevice::KeyboardDevice() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        setParent(app);
        app->installEventFilter(this);
        useDetectableAutoRepeat();
        // Keys already held when the program starts watching count as down.
        for (std::uint32_t keycode : heldX11Keycodes()) {
            const int code = keys::dikFromX11Keycode(keycode);
            if (code != 0) {
                state_[static_cast<std::size_t>(code)] = 0x80;
            }
        }
    }
}

int KeyboardDevice::subscribe(std::function<void()> fn) {
    const int id = nextId_++;
    subscribers_.emplace(id, std::move(fn));
    return id;
}

void KeyboardDevice::unsubscribe(int id) {
    subscribers_.erase(id);
}

void KeyboardDevice::applyChanges(const std::vector<std::pair<int, bool>>& changes) {
    bool changed = false;
    for (const auto& [code, down] : changes) {
        if (code <= 0 || code > 255) {
            continue;
        }
        const std::uint8_t v = down ? 0x80 : 0;
        if (state_[static_cast<std::size_t>(code)] != v) {
            state_[static_cast<std::size_t>(code)] = v;
            changed = true;
        }
    }
    if (changed) {
        notify();
    }
}

void KeyboardDevice::releaseAll() {
    std::vector<std::pair<int, bool>> changes;
    for (int code = 1; code < 256; ++code) {
        if (state_[static_cast<std::size_t>(code)] != 0) {
            changes.emplace_back(code, false);
        }
    }
    applyChanges(changes);
}

void KeyboardDevice::notify() {
    // Copy: a subscriber may go away while the others run.
    const auto subscribers = subscribers_;
    for (const auto& [id, fn] : subscribers) {
        if (subscribers_.count(id) != 0 && fn) {
            fn();
        }
    }
}

bool KeyboardDevice::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    // A press comes to the window first as a shortcut check; a key that a shortcut then
    // takes brings no KeyPress, yet it is down all the same.
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Every key event reaches its window first and is then passed on to widgets (and
        // their parents, perhaps after a handler ran a nested loop): only the window's
        // copy counts.
        if (!watched->isWindowType() || key->isAutoRepeat()) {
            break;
        }
        // A handler run by the shortcut check may open a box and the key may be let go
        // inside it: the press that then follows is the same one and no press of its own.
        const std::uint32_t native = key->nativeScanCode();
        if (event->type() == QEvent::ShortcutOverride) {
            pressesToCome_[native] = key->timestamp();
        } else if (event->type() == QEvent::KeyPress) {
            const auto seen = pressesToCome_.find(native);
            if (seen != pressesToCome_.end()) {
                const bool samePress = seen->second == key->timestamp();
                pressesToCome_.erase(seen);
                if (samePress) {
                    break;
                }
            }
        }
        const bool down = event->type() != QEvent::KeyRelease;
        int code = keys::dikFromX11Keycode(key->nativeScanCode());
        if (code == 0 && key->nativeScanCode() == 0) {
            code = keys::dikFromQtKey(key->key());
        }
        if (code == keys::PrintScreen) {
            // Alt + Print Screen is a key of its own on PC keyboards.
            const bool alt = state_[keys::LeftAlt] != 0 || state_[keys::RightAlt] != 0;
            if (down) {
                // One press reaches the window twice (the shortcut check, then the press), and
                // Alt may be let go in between, inside a box the first copy opened: while
                // either code is down the second copy is that same press.
                if (state_[keys::AltPrintScreen] != 0 || state_[keys::PrintScreen] != 0) {
                    break;
                }
                code = alt ? keys::AltPrintScreen : keys::PrintScreen;
            } else {
                // Release whichever of the two went down.
                applyChanges({{keys::AltPrintScreen, false}, {keys::PrintScreen, false}});
                break;
            }
        }
        applyChanges({{code, down}});
        break;
    }
    case QEvent::ApplicationDeactivate:
        releaseAll();
        break;
    case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
            Qt::ApplicationActive) {
            releaseAll();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
