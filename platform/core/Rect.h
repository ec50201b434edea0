#pragma once

#include <cstdint>

// A pixel rectangle with the right and bottom edges exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// out = the overlap of a and b; true when it is not empty. An empty overlap leaves out
// all zero, so rectangles that only touch along an edge do not intersect.
bool IntersectRect(Rect& out, const Rect& a, const Rect& b);
