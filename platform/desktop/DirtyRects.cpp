#include "DirtyRects.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace {

// Rectangles this close are shown as one: painting a few pixels more is cheaper than
// another pass.
constexpr int Near = 8;

// QRect's own test is not inlined, and a frame asks it a few thousand times.
bool overlap(const QRect& a, const QRect& b) {
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
           b.top() <= a.bottom();
}

std::int64_t area(const QRect& r) {
    return std::int64_t{r.width()} * r.height();
}

} // namespace

void DirtyRects::add(const QRect& changed) {
    if (changed.isEmpty()) {
        return;
    }
    // Draws come in runs at one place (a sprite's background, then the sprite).
    if (!rects_.empty() && rects_.back().contains(changed)) {
        return;
    }
    QRect r = changed;
    // A merge grows r, which may then reach rectangles it missed before.
    for (bool merged = true; merged;) {
        merged = false;
        const QRect reach = r.adjusted(-Near, -Near, Near, Near);
        for (std::size_t i = 0; i < rects_.size(); ++i) {
            if (overlap(rects_[i], reach)) {
                r |= rects_[i];
                rects_[i] = rects_.back();
                rects_.pop_back();
                merged = true;
                break;
            }
        }
    }
    if (rects_.size() < maxRects_) {
        rects_.push_back(r);
        return;
    }
    std::size_t best = 0;
    std::int64_t bestGrowth = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < rects_.size(); ++i) {
        const std::int64_t growth = area(rects_[i] | r) - area(rects_[i]);
        if (growth < bestGrowth) {
            bestGrowth = growth;
            best = i;
        }
    }
    rects_[best] |= r;
    std::swap(rects_[best], rects_.back());
}

QRegion DirtyRects::takeRegion() {
    QRegion region;
    for (const QRect& r : rects_) {
        region += r;
    }
    rects_.clear();
    return region;
}
