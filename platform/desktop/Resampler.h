#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// Converts stereo float frames from one rate to another by cubic interpolation, and
// knows which source frame it is at, so that play time and position come from the
// source's own frames.
class Resampler {
public:
    // Reads up to n stereo frames into out and gives their count; 0 at the end. index is
    // set to the source frame number of the first frame given (it may start again at 0
    // after the source looped).
    using Pull = std::function<std::size_t(float* out, std::size_t n, std::int64_t& index)>;

    Resampler(int fromRate, int toRate);
    // Writes up to frames output frames; fewer only when the source has ended.
    std::size_t process(float* out, std::size_t frames, const Pull& pull);
    // The source frame (with fraction) of the next output frame.
    double position() const;
    bool ended() const { return ended_; }

private:
    bool shiftIn(const Pull& pull);

    double step_;
    double frac_ = 0;
    float x_[4][2] = {};
    std::int64_t index_[4] = {-1, -1, -1, -1};
    bool primed_ = false;
    bool sourceDone_ = false;
    int tail_ = 0; // silent frames shifted in after the source's end
    bool ended_ = false;
    // Pulled frames not shifted in yet.
    float buffer_[512][2] = {};
    std::int64_t bufferIndex_ = 0;
    std::size_t bufferFill_ = 0;
    std::size_t bufferAt_ = 0;
};
