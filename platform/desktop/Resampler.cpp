#include "Resampler.h"

#include <algorithm>

Resampler::Resampler(int fromRate, int toRate)
    : step_(static_cast<double>(std::max(1, fromRate)) / std::max(1, toRate)) {}

bool Resampler::shiftIn(const Pull& pull) {
    if (bufferAt_ == bufferFill_ && !sourceDone_) {
        bufferFill_ = pull(&buffer_[0][0], std::size(buffer_), bufferIndex_);
        bufferAt_ = 0;
        if (bufferFill_ == 0) {
            sourceDone_ = true;
        }
    }
    for (int k = 0; k < 3; ++k) {
        x_[k][0] = x_[k + 1][0];
        x_[k][1] = x_[k + 1][1];
        index_[k] = index_[k + 1];
    }
    if (bufferAt_ < bufferFill_) {
        x_[3][0] = buffer_[bufferAt_][0];
        x_[3][1] = buffer_[bufferAt_][1];
        index_[3] = bufferIndex_ + static_cast<std::int64_t>(bufferAt_);
        ++bufferAt_;
        return true;
    }
    // After the end: silence, so that the last frames still interpolate to zero.
    x_[3][0] = x_[3][1] = 0;
    index_[3] = index_[2] + 1;
    ++tail_;
    return false;
}

std::size_t Resampler::process(float* out, std::size_t frames, const Pull& pull) {
    if (!primed_) {
        primed_ = true;
        // x1 is the first source frame; x0 a silent one before it.
        for (int k = 0; k < 3; ++k) {
            shiftIn(pull);
        }
        index_[0] = index_[1] - 1;
    }
    std::size_t done = 0;
    while (done < frames && !ended_) {
        // The source's last frame sits in x1 when two silent frames follow it.
        if (tail_ >= 3) {
            ended_ = true;
            break;
        }
        const float t = static_cast<float>(frac_);
        for (int c = 0; c < 2; ++c) {
            const float x0 = x_[0][c], x1 = x_[1][c], x2 = x_[2][c], x3 = x_[3][c];
            out[done * 2 + static_cast<std::size_t>(c)] =
                x1 + 0.5f * t *
                         (x2 - x0 +
                          t * (2.0f * x0 - 5.0f * x1 + 4.0f * x2 - x3 +
                               t * (3.0f * (x1 - x2) + x3 - x0)));
        }
        ++done;
        frac_ += step_;
        while (frac_ >= 1.0) {
            frac_ -= 1.0;
            shiftIn(pull);
        }
    }
    return done;
}

double Resampler::position() const {
    return static_cast<double>(index_[1]) + frac_;
}
