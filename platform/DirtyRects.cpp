#include "DirtyRects.h"

#include <cstdint>
#include <limits>

namespace {

// Rectangles this close are shown as one: painting a few pixels more is cheaper than
// another pass.
constexpr int Near = 8;
constexpr std::size_t MaxRects = 8;

std::int64_t area(const QRect& r) {
    return std::int64_t{r.width()} * r.height();
}

} // namespace

void DirtyRects::add(const QRect& changed) {
    if (changed.isEmpty()) {
        return;
    }
    QRect r = changed;
    // A merge grows r, which may then reach rectangles it missed before.
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < rects_.size(); ++i) {
            if (rects_[i].intersects(r.adjusted(-Near, -Near, Near, Near))) {
                r |= rects_[i];
                rects_[i] = rects_.back();
                rects_.pop_back();
                merged = true;
                break;
            }
        }
    }
    if (rects_.size() < MaxRects) {
        rects_.push_back(r);
        return;
    }
    // Full: fold it into the rectangle that grows least.
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
}

QRegion DirtyRects::take() {
    QRegion region;
    for (const QRect& r : rects_) {
        region += r;
    }
    rects_.clear();
    return region;
}
