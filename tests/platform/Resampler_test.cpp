#include "Resampler.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A sine of `frames` source frames; looping restarts its frame numbers at 0.
struct Sine {
    int rate;
    double hz;
    std::int64_t frames;
    bool loop = false;
    std::int64_t at = 0;
    std::size_t operator()(float* out, std::size_t n, std::int64_t& index) {
        if (at == frames) {
            if (!loop) {
                return 0;
            }
            at = 0;
        }
        index = at;
        std::size_t done = 0;
        for (; done < n && at < frames; ++done, ++at) {
            out[done * 2] = out[done * 2 + 1] =
                static_cast<float>(0.5 * std::sin(kTwoPi * hz * static_cast<double>(at) / rate));
        }
        return done;
    }
};

TEST(Resampler, KeepsPitchLengthAndPlace) {
    struct Case {
        int from, to;
    } cases[] = {{44100, 44100}, {48000, 44100}, {22050, 44100}, {8000, 44100}, {96000, 44100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " Hz to " + std::to_string(c.to));
        Sine sine{c.from, 440.0, c.from}; // one second
        Resampler r(c.from, c.to);
        std::vector<float> out;
        std::vector<float> block(2UL * 1000);
        while (!r.ended()) {
            const std::size_t n = r.process(block.data(), 1000, std::ref(sine));
            out.insert(out.end(), block.begin(), block.begin() + static_cast<long>(n * 2));
            const std::size_t framesOut = out.size() / 2;
            if (!r.ended()) {
                // The source frame of the next output frame.
                EXPECT_NEAR(r.position(), static_cast<double>(framesOut) * c.from / c.to, 1e-6)
                    << framesOut;
            }
        }
        const std::size_t framesOut = out.size() / 2;
        EXPECT_NEAR(static_cast<double>(framesOut), c.to, 3) << "one second";
        int rising = 0;
        float peak = 0;
        for (std::size_t i = 1; i < out.size() / 2; ++i) {
            rising += out[(i - 1) * 2] < 0 && out[i * 2] >= 0 ? 1 : 0;
            peak = std::max(peak, std::abs(out[i * 2]));
        }
        EXPECT_NEAR(rising, 440, 1);
        EXPECT_NEAR(peak, 0.5f, 0.01f);
    }
}

TEST(Resampler, SameRateIsExactAndLoopingStartsTheCountAgain) {
    Sine sine{44100, 1000.0, 100, true};
    Resampler r(44100, 44100);
    std::vector<float> out(2UL * 250);
    ASSERT_EQ(r.process(out.data(), 250, std::ref(sine)), 250u);
    for (int i = 0; i < 250; ++i) {
        EXPECT_FLOAT_EQ(out[static_cast<std::size_t>(i) * 2],
                        static_cast<float>(0.5 * std::sin(kTwoPi * 1000.0 * (i % 100) / 44100)))
            << i;
    }
    EXPECT_DOUBLE_EQ(r.position(), 50.0);
    EXPECT_FALSE(r.ended());
}

TEST(Resampler, NothingToReadEndsAtOnce) {
    Sine empty{44100, 440.0, 0};
    Resampler r(22050, 44100);
    float out[20];
    EXPECT_EQ(r.process(out, 10, std::ref(empty)), 0u);
    EXPECT_TRUE(r.ended());
}

} // namespace
