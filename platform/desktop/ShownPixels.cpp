#include "ShownPixels.h"

#include "DirtyRects.h"

#include <cstdint>
#include <cstring>

namespace {

// The views paint each rectangle on its own; a few more keep a frame's scattered changes
// (shots, hits, the ship) from being shown as the boxes that span them.
constexpr std::size_t ShownRects = 32;

const std::uint32_t* rowOf(const QImage& image, int y) {
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
}

} // namespace

QRegion ShownPixels::narrow(const QImage& image, const std::vector<QRect>& dirty) {
    DirtyRects differs(ShownRects);
    if (shown_.size() != image.size() || shown_.format() != image.format()) {
        shown_ = image.copy();
        for (const QRect& r : dirty) {
            differs.add(r & image.rect());
        }
        return differs.takeRegion();
    }
    for (const QRect& dirtyRect : dirty) {
        const QRect r = dirtyRect & image.rect();
        if (r.isEmpty()) {
            continue;
        }
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const std::uint32_t* now = rowOf(image, y) + r.left();
            auto* was = reinterpret_cast<std::uint32_t*>(shown_.scanLine(y)) + r.left();
            const std::size_t bytes = static_cast<std::size_t>(r.width()) * sizeof(std::uint32_t);
            if (std::memcmp(now, was, bytes) == 0) {
                continue;
            }
            int first = 0;
            while (now[first] == was[first]) {
                ++first;
            }
            int last = r.width() - 1;
            while (now[last] == was[last]) {
                --last;
            }
            differs.add(QRect(r.left() + first, y, last - first + 1, 1));
            std::memcpy(was + first, now + first,
                        static_cast<std::size_t>(last - first + 1) * sizeof(std::uint32_t));
        }
    }
    return differs.takeRegion();
}
