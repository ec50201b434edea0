#include "Random.h"

#include <chrono>

Random& Random::instance() {
    static Random r;
    return r;
}

void Random::seed(std::uint32_t s) {
    gen_.seed(s);
    queued_.clear();
}

void Random::seedFromClock() {
    seed(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

float Random::next() {
    if (!queued_.empty()) {
        const float v = queued_.front();
        queued_.pop_front();
        return v;
    }
    // 24 random bits fill a float's mantissa exactly, so 1.0 never comes out.
    return static_cast<float>(gen_() >> 8) * (1.0f / 16777216.0f);
}
