#pragma once

#include <cstdint>
#include <deque>
#include <random>

// The one random generator of a program, seeded once at start-up. Tests seed it or
// queue exact values to force a pick.
class Random {
public:
    static Random& instance();

    void seed(std::uint32_t s);
    void seedFromClock();
    // Values handed out before the generator is asked again (each in [0, 1)).
    void queue(float value) { queued_.push_back(value); }
    void clearQueue() { queued_.clear(); }

    // Uniform in [0, 1), single precision like the original generator.
    float next();

private:
    std::mt19937 gen_{12345u};
    std::deque<float> queued_;
};

// Rnd: uniform in [0, 1).
inline float Rnd() {
    return Random::instance().next();
}
