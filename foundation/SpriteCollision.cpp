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

} // namespace

VbBool SpriteCollision(const Sprite& A, const Sprite& B) {
    Rect overlap;
    return toVbBool(IntersectRect(overlap, frameRect(A), frameRect(B)));
}
