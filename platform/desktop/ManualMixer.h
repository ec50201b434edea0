#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// The music slot moved by hand, as ManualClock moves the timers: while one exists the sound
// device stays closed and the slot renders only when pulled, on the caller's thread,
// through the device callback's own mixing. What it rendered is kept as the device would
// have played it: 16-bit stereo at audio::sampleRate.
class ManualMixer {
public:
    ManualMixer();
    ~ManualMixer();
    ManualMixer(const ManualMixer&) = delete;
    ManualMixer& operator=(const ManualMixer&) = delete;

    // One callback of `frames` frames.
    void pull(std::size_t frames);
    // ms of output, in the device's blocks.
    void advance(std::uint64_t ms);
    // Pulls block by block until done(); false when it is still not true after ms of
    // output.
    bool runUntil(const std::function<bool()>& done, std::uint64_t ms);

    // Everything rendered so far, interleaved left and right.
    const std::vector<std::int16_t>& heard() const { return heard_; }
    std::uint64_t framesRendered() const { return heard_.size() / 2; }

private:
    std::vector<std::int16_t> heard_;
};
