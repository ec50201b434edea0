#pragma once

#include "VbTypes.h"

#include <array>
#include <functional>
#include <memory>

// The keyboard control: KeyDown and KeyUp on the press and release edges of every key,
// with DirectInput key codes. Silent until Init.
class dx8Keyboard {
public:
    dx8Keyboard();
    ~dx8Keyboard();
    dx8Keyboard(const dx8Keyboard&) = delete;
    dx8Keyboard& operator=(const dx8Keyboard&) = delete;

    // Opens the keyboard; keys already held now are reported as KeyDown at once.
    void Init();
    bool KeyboardConnected() const;

    std::function<void(VbLong KeyCode)> KeyDown;
    std::function<void(VbLong KeyCode)> KeyUp;

private:
    void DXCallback();

    bool found_ = false;
    int subscription_ = 0;
    std::array<bool, 256> held_{};
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
