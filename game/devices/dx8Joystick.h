#pragma once

#include "JoystickInput.h"
#include "Timer.h"
#include "VbTypes.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

// The joystick control: the first attached joystick (or, failing that, gamepad), polled
// every PollInterval ms; JoystickChange carries the whole state whenever it changed. Axes
// run from 0 to 10000 with the centre at 5000. Silent until Init.
class dx8Joystick {
public:
    using SliderArray = std::array<VbLong, 2>;
    using ButtonArray = std::array<bool, 32>;

    explicit dx8Joystick(Clock& clock = Clock::instance());
    ~dx8Joystick();
    dx8Joystick(const dx8Joystick&) = delete;
    dx8Joystick& operator=(const dx8Joystick&) = delete;

    // Opens the device and reports its state once; a device plugged in since the last
    // Init is found.
    void Init();
    bool JoystickConnected() const;

    VbInteger PollInterval() const;
    // 0 stops the polling.
    void setPollInterval(VbInteger ms);

    std::function<void(VbLong X, VbLong Y, VbLong Z, VbLong rX, VbLong rY, VbLong rZ,
                       const SliderArray& Slider, const ButtonArray& Buttons)>
        JoystickChange;

private:
    void DXCallback();
    void raise(const joy::State& s);

    Timer JsTimer;
    std::unique_ptr<joy::Device> device_;
    joy::Kind kind_ = joy::Kind::Joystick;
    bool found_ = false;
    // The state last reported: a still stick sends nothing.
    std::optional<joy::State> last_;
};
