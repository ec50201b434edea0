#include "DirtyRects.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<QRect> spriteGrid() {
    std::vector<QRect> sprites;
    for (int i = 0; i < 40; ++i) {
        sprites.emplace_back(5 + (i % 8) * 48, 5 + (i / 8) * 40, 16, 12);
    }
    return sprites;
}

} // namespace

// A frame collects a draw or two per sprite at one place (its background, then the sprite):
// scattered sprites stay apart, draws a few pixels apart merge, and past the cap every change
// is still covered.
TEST(DirtyRects, KeepsScatteredChangesApartAndCoversEveryChange) {
    const std::vector<QRect> sprites = spriteGrid();
    DirtyRects frame(64);
    for (const QRect& r : sprites) {
        frame.add(r);
        frame.add(r.adjusted(2, 2, -2, -2));
    }
    ASSERT_EQ(frame.rects().size(), sprites.size());
    for (const QRect& r : frame.rects()) {
        EXPECT_EQ(r.size(), QSize(16, 12));
    }

    frame.clear();
    frame.add(QRect(0, 0, 10, 10));
    frame.add(QRect(15, 3, 10, 10));
    ASSERT_EQ(frame.rects().size(), 1u);
    EXPECT_EQ(frame.rects()[0], QRect(0, 0, 25, 13));
    EXPECT_EQ(frame.takeRegion(), QRegion(0, 0, 25, 13));
    EXPECT_TRUE(frame.empty());

    DirtyRects capped(4);
    for (const QRect& r : sprites) {
        capped.add(r);
    }
    EXPECT_LE(capped.rects().size(), 4u);
    const QRegion covered = capped.takeRegion();
    for (const QRect& r : sprites) {
        EXPECT_TRUE(covered.contains(r)) << r.x() << "," << r.y();
    }
}
