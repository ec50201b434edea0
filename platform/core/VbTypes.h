#pragma once

#include <cstdint>

// The widths the game's data was designed around: Integer 16 bits, Long 32 bits,
// flags stored as -1/0.
using VbInteger = std::int16_t;
using VbLong = std::int32_t;
using VbBool = std::int16_t;

inline constexpr VbBool VbTrue = -1;
inline constexpr VbBool VbFalse = 0;

constexpr VbBool toVbBool(bool b) {
    return b ? VbTrue : VbFalse;
}
