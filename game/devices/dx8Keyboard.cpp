#include "dx8Keyboard.h"

#include "KeyboardDevice.h"

dx8Keyboard::dx8Keyboard() = default;

dx8Keyboard::~dx8Keyboard() {
    *alive_ = false;
    if (subscription_ != 0) {
        KeyboardDevice::instance().unsubscribe(subscription_);
    }
}

void dx8Keyboard::Init() {
    held_.fill(false);
    if (!KeyboardDevice::available()) {
        return;
    }
    found_ = true;
    if (subscription_ == 0) {
        subscription_ = KeyboardDevice::instance().subscribe([this] { DXCallback(); });
    }
    DXCallback();
}

bool dx8Keyboard::KeyboardConnected() const {
    return found_ && KeyboardDevice::available();
}

void dx8Keyboard::DXCallback() {
    if (subscription_ == 0) {
        return;
    }
    const KeyboardDevice& device = KeyboardDevice::instance();
    // A handler may open a modal box (new key events arrive inside it, and with them nested
    // calls) or destroy this control: each code is read afresh and its held entry set
    // before the event, so no edge is reported twice.
    const std::shared_ptr<bool> alive = alive_;
    for (int code = 0; code < 256; ++code) {
        const auto i = static_cast<std::size_t>(code);
        const bool down = device.keyDown(code);
        if (!down && held_[i]) {
            held_[i] = false;
            if (KeyUp) {
                KeyUp(code);
            }
        } else if (down && !held_[i]) {
            held_[i] = true;
            if (KeyDown) {
                KeyDown(code);
            }
        }
        if (!*alive) {
            return;
        }
    }
}
