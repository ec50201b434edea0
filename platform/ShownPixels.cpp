#include "ShownPixels.h"

#include "DirtyRects.h"

#include <cstdint>
#include <cstring>

namespace {

const std::uint32_t* rowOf(const QImage& image, int y) {
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
}

} // namespace

QRegion ShownPixels::narrow(const QImage& image, const QRegion& dirty) {
    if (shown_.size() != image.size() || shown_.format() != image.format()) {
        shown_ = image.copy();
        return dirty;
    }
    DirtyRects differs;
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
    return differs.take();
}
