#include "dx8Joystick.h"

dx8Joystick::dx8Joystick(Clock& clock) : JsTimer(clock) {
    JsTimer.setInterval(50);
    JsTimer.onTick = [this] { DXCallback(); };
}

dx8Joystick::~dx8Joystick() = default;

void dx8Joystick::Init() {
    device_.reset();
    last_.reset();
    kind_ = joy::Kind::Joystick;
    if (joy::attachedCount(kind_) == 0) {
        kind_ = joy::Kind::Gamepad;
    }
    device_ = joy::Device::openFirst(kind_);
    if (!device_) {
        found_ = false;
        JsTimer.setEnabled(false);
        return;
    }
    found_ = true;
    device_->setDeadZone(joy::AxisX, 1000);
    device_->setDeadZone(joy::AxisY, 1000);
    device_->setSaturation(joy::AxisX, 9500);
    device_->setSaturation(joy::AxisY, 9500);
    device_->setRange(0, 10000);
    DXCallback();
    JsTimer.setEnabled(true);
}

bool dx8Joystick::JoystickConnected() const {
    return found_ && joy::attachedCount(kind_) >= 1;
}

VbInteger dx8Joystick::PollInterval() const {
    return static_cast<VbInteger>(JsTimer.Interval());
}

void dx8Joystick::setPollInterval(VbInteger ms) {
    JsTimer.setInterval(ms);
}

void dx8Joystick::DXCallback() {
    if (!device_) {
        return;
    }
    joy::State s;
    if (device_->read(s) != joy::ReadResult::Ok) {
        return;
    }
    if (!joy::programActive()) {
        // Another program has the focus: let go of the stick and the buttons once, so the
        // ship does not run on, and report nothing more until we are back.
        if (last_) {
            joy::State released = *last_;
            released.X = 5000;
            released.Y = 5000;
            released.pov.fill(-1);
            released.buttons.fill(0);
            if (released != *last_) {
                raise(released);
            }
        }
        return;
    }
    if (!last_ || s != *last_) {
        raise(s);
    }
}

void dx8Joystick::raise(const joy::State& s) {
    last_ = s;
    if (!JoystickChange) {
        return;
    }
    ButtonArray buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i] = s.buttons[i] != 0;
    }
    const SliderArray slider{s.slider[0], s.slider[1]};
    JoystickChange(s.X, s.Y, s.Z, s.rX, s.rY, s.rZ, slider, buttons);
}
