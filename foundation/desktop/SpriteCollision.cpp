#include "SpriteCollision.h"

#include "Numbers.h"
#include "Rect.h"
#include "Sprite.h"

namespace {

// The frame's rectangle, each edge formed in single precision like the position fields and
// then rounded halves to even.
Rect frameRect(const Sprite& s) {
    const Surface& pic = *s.Picture(s.CurFrame);
    const float right = s.X + static_cast<float>(pic.Width());
    const float bottom = s.y + static_cast<float>(pic.Height()) / 2.0f;
    return Rect{num::toLong(s.X), num::toLong(s.y), num::toLong(right), num::toLong(bottom)};
}

// Rounding moves an edge by half a pixel at most: frames more than a pixel apart cannot
// meet, and most pairs a tick tests are far apart.
bool farApart(const Sprite& A, const Sprite& B) {
    const Surface& a = *A.Picture(A.CurFrame);
    const Surface& b = *B.Picture(B.CurFrame);
    const float aRight = A.X + static_cast<float>(a.Width());
    const float bRight = B.X + static_cast<float>(b.Width());
    const float aBottom = A.y + static_cast<float>(a.Height()) / 2.0f;
    const float bBottom = B.y + static_cast<float>(b.Height()) / 2.0f;
    // Far-off positions take the exact test, which reports their overflow.
    constexpr float Far = 1e9f;
    for (const float v : {A.X, A.y, B.X, B.y, aRight, bRight, aBottom, bBottom}) {
        if (!(v > -Far && v < Far)) {
            return false;
        }
    }
    return aRight + 1 < B.X || bRight + 1 < A.X || aBottom + 1 < B.y || bBottom + 1 < A.y;
}

} // namespace

VbBool SpriteCollision(const Sprite& A, const Sprite& B) {
    if (farApart(A, B)) {
        return VbFalse;
    }
    Rect overlap;
    return toVbBool(IntersectRect(overlap, frameRect(A), frameRect(B)));
}
