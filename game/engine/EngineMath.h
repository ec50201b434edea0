#pragma once

#include "Numbers.h"
#include "VbTypes.h"

#include <algorithm>

namespace engine {

// A position rounded to a whole pixel, halves to even, kept in the 16-bit range.
inline VbInteger px(double v) {
    return static_cast<VbInteger>(std::clamp(num::roundHalfEven(v), -32768.0, 32767.0));
}

// round(v) for whole numbers of the game (steps, picks, intervals).
inline int rnd(double v) {
    return static_cast<int>(num::roundHalfEven(v));
}

} // namespace engine
