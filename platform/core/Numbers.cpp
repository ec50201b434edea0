#include "Numbers.h"

#include "VbError.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace num {

namespace {

// Not isdigit: what counts as a digit is ours, not the locale's.
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

double roundHalfEven(double v) {
    if (!std::isfinite(v)) {
        return v;
    }
    const double floorV = std::floor(v);
    const double diff = v - floorV;
    if (diff > 0.5) {
        return floorV + 1.0;
    }
    if (diff < 0.5) {
        return floorV;
    }
    return std::fmod(floorV, 2.0) == 0.0 ? floorV : floorV + 1.0;
}

VbInteger toInteger(double v) {
    const double r = roundHalfEven(v);
    if (!(r >= std::numeric_limits<VbInteger>::min() &&
          r <= std::numeric_limits<VbInteger>::max())) {
        vberr::raise(vberr::Overflow);
    }
    return static_cast<VbInteger>(r);
}

VbLong toLong(double v) {
    const double r = roundHalfEven(v);
    if (!(r >= std::numeric_limits<VbLong>::min() && r <= std::numeric_limits<VbLong>::max())) {
        vberr::raise(vberr::Overflow);
    }
    return static_cast<VbLong>(r);
}

double wholeOr(double v, double lo, double hi, double fallback) {
    const double r = roundHalfEven(v);
    return r >= lo && r <= hi ? r : fallback;
}

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    std::string buf;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        buf += text[i++];
    }
    bool digits = false;
    while (i < text.size() && isDigit(text[i])) {
        buf += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        buf += text[i++];
        while (i < text.size() && isDigit(text[i])) {
            buf += text[i++];
            digits = true;
        }
    }
    if (!digits) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            exp += text[j++];
        }
        bool expDigits = false;
        while (j < text.size() && isDigit(text[j])) {
            exp += text[j++];
            expDigits = true;
        }
        if (expDigits) {
            buf += exp;
        }
    }
    double out = 0.0;
    std::from_chars(buf.data() + (buf[0] == '+' ? 1 : 0), buf.data() + buf.size(), out);
    return std::isfinite(out) ? out : 0.0;
}

bool isNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto blanks = [&] {
        while (i < n && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
    };
    auto digits = [&] {
        const std::size_t from = i;
        while (i < n && isDigit(text[i])) {
            ++i;
        }
        return i - from;
    };
    blanks();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t mantissa = digits();
    if (i < n && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) {
        return false;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (digits() == 0) {
            return false;
        }
    }
    blanks();
    return i == n;
}

std::string toText(std::int64_t v) {
    return std::to_string(v);
}

std::string toText(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) {
        return std::to_string(static_cast<std::int64_t>(v));
    }
    // printf's "%.15g" would write the locale's decimal comma.
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

double secondsSince(double earlierTimeOfDay, double nowTimeOfDay) {
    double d = nowTimeOfDay - earlierTimeOfDay;
    if (d < 0) {
        d += 86400.0;
    }
    return d;
}

} // namespace num
