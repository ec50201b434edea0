#include "Rect.h"

#include <algorithm>

bool IntersectRect(Rect& out, const Rect& a, const Rect& b) {
    const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    if (a.empty() || b.empty() || r.empty()) {
        out = Rect{};
        return false;
    }
    out = r;
    return true;
}
