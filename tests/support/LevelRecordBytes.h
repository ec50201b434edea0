#pragma once

#include <string>

namespace fixture {

// A binary level record made by hand: little-endian length, the text, zero filler to 128
// bytes.
inline std::string record(const std::string& text) {
    std::string r;
    r.push_back(static_cast<char>(text.size() & 0xFF));
    r.push_back(static_cast<char>(text.size() >> 8));
    r += text;
    r.resize(128, '\0');
    return r;
}

} // namespace fixture
