#pragma once

#include "Timer.h"

#include <functional>
#include <optional>
#include <string>

// The window shown while a mode is tried: it counts down 15 seconds and, unless OK is
// pressed in time, closes as cancelled. Closing sets TestPassed. Its timer runs from the
// moment it is made.
class TestModel {
public:
    explicit TestModel(Clock& clock = Clock::instance());

    static constexpr const char* caption = "TEST DISPLAY MODE";
    static constexpr const char* prompt = "Press OK within the 15 seconds count down.";
    static constexpr int countdownSeconds = 15;

    Timer Timer1;
    // The countdown label.
    const std::string& countdownText() const { return countdownText_; }
    bool closed() const { return closed_; }

    // The view follows the label and closes with the model.
    std::function<void()> onCountdownChanged;
    std::function<void()> onClosed;

    void Timer1_Timer();
    void Command2_Click(); // OK
    void Command1_Click(); // Cancel
    void Form_KeyDown(int KeyCode);

private:
    void close(bool passed);

    std::optional<double> startedAt_;
    std::string countdownText_;
    bool closed_ = false;
};
