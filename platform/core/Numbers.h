#pragma once

#include "VbTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

// Number conversions with the game's rules: halves round to even, narrowing overflows
// raise error 6, and text gives its leading number. Texts always take a decimal point,
// whatever the user's locale says.
namespace num {

// Nearest whole value, halves to even (independent of the FPU rounding mode).
double roundHalfEven(double v);

// To Integer / Long: rounded halves to even; out of range raises error 6.
VbInteger toInteger(double v);
VbLong toLong(double v);

// A number read from a setting or the command line for a variable holding lo..hi: v
// rounded halves to even, or fallback when that lies outside (never raises).
double wholeOr(double v, double lo, double hi, double fallback);

// The leading number of a text: optional blanks, sign, digits, fraction, exponent;
// 0 when there is none.
double leadingNumber(std::string_view text);

// Whether the whole text is a number as an input box may hold it: blanks, a sign, digits
// with one decimal point, an exponent, blanks.
bool isNumber(std::string_view text);

// Decimal text without a leading blank; whole values have no fraction part.
std::string toText(double v);
std::string toText(std::int64_t v);
inline std::string toText(int v) {
    return toText(static_cast<std::int64_t>(v));
}

// a - b for millisecond counters that wrap at 2^32.
constexpr std::uint32_t tickDelta(std::uint32_t later, std::uint32_t earlier) {
    return later - earlier;
}

// Seconds from one time of day to a later one, taken across midnight.
double secondsSince(double earlierTimeOfDay, double nowTimeOfDay);

} // namespace num
