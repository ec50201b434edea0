#include "Color.h"
#include "Sprite.h"
#include "SpriteCollision.h"
#include "VbError.h"
#include "VbErrorNumber.h"

#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

constexpr std::int32_t White = 0xFFFFFF;
constexpr std::int32_t Black = 0;

// A frame picture of w x (2h [+ extra rows]): the image is `colour` inside the shape and
// white elsewhere; the mask below is the shape in black on white. The shape is everything
// but the frame's corner pixels.
std::shared_ptr<Surface> framePicture(int w, int h, std::int32_t colour, int extraRows = 0) {
    auto pic = std::make_shared<Surface>(w, 2 * h + extraRows);
    pic->setBackColor(White);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool corner = (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
            if (!corner) {
                pic->PSet(x, y, colour);
                pic->PSet(x, h + y, Black);
            }
        }
    }
    return pic;
}

bool inShape(int x, int y, int left, int top, int w, int h) {
    const int u = x - left;
    const int v = y - top;
    if (u < 0 || v < 0 || u >= w || v >= h) {
        return false;
    }
    return !((u == 0 || u == w - 1) && (v == 0 || v == h - 1));
}

void fillPattern(Surface& s) {
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            s.PSet(x, y, (x * 53 + y * 197 + 11) & 0xFFFFFF);
        }
    }
}

struct Pane {
    Surface back{40, 30};
    Surface main{40, 30};
    Pane() {
        fillPattern(back);
        BitBlt(main, 0, 0, 40, 30, back, 0, 0, rop::SRCCOPY);
    }
};

} // namespace

TEST(Sprite, StartsEmptyWithSpeedOne) {
    const Sprite s;
    EXPECT_EQ(s.PictureCount(), -1);
    EXPECT_EQ(s.Speed, 1);
    EXPECT_EQ(s.CurFrame, 0);
    EXPECT_EQ(s.X, 0);
    EXPECT_EQ(s.active, VbFalse);
    EXPECT_EQ(s.TagName, "");
    EXPECT_EQ(s.Sinus, 0);
    EXPECT_EQ(vbErrorNumber([&] { s.Picture(0); }), 9);
}

TEST(Sprite, FrameMinusOneStepsThroughTheFramesAndHandsBackTheOneDrawn) {
    Pane pane;
    const std::int32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
    Sprite s;
    for (const std::int32_t c : colours) {
        s.AddPicture(framePicture(4, 3, c));
    }
    EXPECT_EQ(s.PictureCount(), 2);
    for (const VbInteger expected : std::initializer_list<VbInteger>{1, 2, 0, 1, 2}) {
        VbInteger frame = -1;
        s.DrawSprite(frame, 5, 6, pane.main, pane.back, VbFalse);
        EXPECT_EQ(frame, expected);
        EXPECT_EQ(s.CurFrame, expected);
        EXPECT_EQ(pane.main.Point(6, 7), colours[expected]);
    }
    EXPECT_EQ(s.X, 5);
    EXPECT_EQ(s.y, 6);

    VbInteger fixed = 0;
    s.DrawSprite(fixed, 5, 6, pane.main, pane.back, VbFalse);
    EXPECT_EQ(fixed, 0);
    EXPECT_EQ(s.CurFrame, 0);

    Sprite one;
    one.AddPicture(framePicture(2, 2, 0x00FF00));
    for (int i = 0; i < 3; ++i) {
        VbInteger frame = -1;
        one.DrawSprite(frame, 0, 0, pane.main, pane.back, VbFalse);
        EXPECT_EQ(frame, 0);
    }
}

TEST(Sprite, MaskedDrawLeavesEverythingOutsideTheShape) {
    struct Case {
        VbInteger x, y;
    };
    // Inside, across the left/top edges and across the right/bottom edges.
    for (const Case c : {Case{10, 8}, {-3, -2}, {37, 27}}) {
        Pane pane;
        Sprite s;
        s.AddPicture(framePicture(6, 5, 0x3366CC));
        VbInteger frame = 0;
        s.DrawSprite(frame, c.x, c.y, pane.main, pane.back, VbFalse);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                const std::int32_t want =
                    inShape(x, y, c.x, c.y, 6, 5) ? 0x3366CC : pane.back.Point(x, y);
                ASSERT_EQ(pane.main.Point(x, y), want)
                    << c.x << "," << c.y << " at " << x << "," << y;
            }
        }
    }
}

TEST(Sprite, ErasingCopiesBackExactlyTheOldRectangle) {
    Pane pane;
    Sprite s;
    s.AddPicture(framePicture(6, 5, 0x3366CC));
    s.AddPicture(framePicture(3, 2, 0x00FF00));
    VbInteger frame = 0;
    s.DrawSprite(frame, 7, 9, pane.main, pane.back, VbFalse);
    // Something drawn beside the sprite must survive its erasing.
    pane.main.PSet(13, 9, 0x0000FF);
    s.DrawSpriteBG(0, pane.main, pane.back);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const std::int32_t want = (x == 13 && y == 9) ? 0x0000FF : pane.back.Point(x, y);
            ASSERT_EQ(pane.main.Point(x, y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(s.X, 7) << "erasing moves nothing";

    // RestoreBG: the old place with the size of the frame drawn now (3 x 2 of the 6 x 5).
    s.DrawSprite(frame, 7, 9, pane.main, pane.back, VbFalse);
    frame = 1;
    s.DrawSprite(frame, 20, 20, pane.main, pane.back, VbTrue);
    EXPECT_EQ(pane.main.Point(8, 10), pane.back.Point(8, 10));
    EXPECT_EQ(pane.main.Point(9, 10), pane.back.Point(9, 10));
    EXPECT_EQ(pane.main.Point(10, 10), 0x3366CC) << "outside the new frame's size";
    EXPECT_EQ(pane.main.Point(8, 11), 0x3366CC);
    EXPECT_EQ(pane.main.Point(21, 20), 0x00FF00);
    EXPECT_EQ(s.X, 20);

    // Without RestoreBG the old image stays.
    Sprite t;
    t.AddPicture(framePicture(4, 4, 0xABCDEF));
    frame = 0;
    t.DrawSprite(frame, 30, 2, pane.main, pane.back, VbFalse);
    t.DrawSprite(frame, 33, 2, pane.main, pane.back, VbFalse);
    EXPECT_EQ(pane.main.Point(31, 3), 0xABCDEF);
}

TEST(Sprite, FrameIsHalfThePictureHeightRoundedToEven) {
    Pane pane;
    Sprite s;
    s.AddPicture(framePicture(32, 16, 0x0000FF, 1)); // 32 x 33
    VbInteger frame = 0;
    s.DrawSprite(frame, 0, 0, pane.main, pane.back, VbFalse);
    EXPECT_EQ(pane.main.Point(5, 15), 0x0000FF);
    EXPECT_EQ(pane.main.Point(5, 16), pane.back.Point(5, 16));
    s.DrawSpriteBG(0, pane.main, pane.back);
    EXPECT_EQ(pane.main.Point(5, 15), pane.back.Point(5, 15));
}

TEST(Sprite, IndicesOutsideTheFramesAreSubscriptErrors) {
    Pane pane;
    const QImage before = pane.main.image().copy();
    Sprite s;
    for (int i = 0; i < 3; ++i) {
        s.AddPicture(framePicture(4, 4, 0x0000FF));
    }
    VbInteger frame = 5;
    EXPECT_EQ(vbErrorNumber([&] { s.DrawSprite(frame, 1, 1, pane.main, pane.back, VbTrue); }), 9);
    EXPECT_EQ(s.CurFrame, 5) << "set before the frame is used";
    EXPECT_EQ(pane.main.image(), before) << "nothing is drawn";
    EXPECT_EQ(vbErrorNumber([&] { s.DrawSpriteBG(3, pane.main, pane.back); }), 9);
    EXPECT_EQ(vbErrorNumber([&] { s.Picture(-1); }), 9);
    EXPECT_EQ(vbErrorNumber([&] { s.Picture(3); }), 9);

    Sprite empty;
    frame = -1;
    EXPECT_EQ(vbErrorNumber([&] { empty.DrawSprite(frame, 1, 1, pane.main, pane.back, VbFalse); }),
              9);
    EXPECT_EQ(empty.CurFrame, 0);
    EXPECT_EQ(vbErrorNumber([&] { empty.AddPicture(nullptr); }), 91);
    EXPECT_EQ(empty.PictureCount(), -1);
}

TEST(Sprite, RemovePictureKeepsTheOrderOfTheRest) {
    const auto a = framePicture(1, 1, 1);
    const auto b = framePicture(1, 1, 2);
    const auto c = framePicture(1, 1, 3);
    struct Case {
        VbInteger index;
        std::vector<std::shared_ptr<Surface>> left;
    };
    for (const Case& k : {Case{1, {a, c}}, Case{0, {b, c}}, Case{2, {a, b}}, Case{3, {a, b, c}},
                          Case{-1, {a, b, c}}}) {
        Sprite s;
        s.AddPicture(a);
        s.AddPicture(b);
        s.AddPicture(c);
        s.RemovePicture(k.index);
        ASSERT_EQ(s.PictureCount(), static_cast<VbInteger>(k.left.size()) - 1) << k.index;
        for (std::size_t i = 0; i < k.left.size(); ++i) {
            EXPECT_EQ(s.Picture(static_cast<VbInteger>(i)), k.left[i]) << k.index;
        }
    }
    Sprite one;
    one.AddPicture(a);
    one.RemovePicture(0);
    EXPECT_EQ(one.PictureCount(), -1);
    one.RemovePicture(0);
    EXPECT_EQ(one.PictureCount(), -1);
    one.AddPicture(b);
    EXPECT_EQ(one.Picture(0), b);
    EXPECT_TRUE(a->AutoRedraw()) << "frame pictures keep their drawing";
}

TEST(Sprite, CollisionComparesRoundedFrameRectangles) {
    const auto pic = framePicture(10, 10, 0xFF); // 10 x 20: a 10 x 10 frame
    Sprite a, b;
    a.AddPicture(pic);
    b.AddPicture(pic);
    struct Case {
        float bx, by;
        bool hit;
    };
    for (const Case c : {Case{10, 0, false},
                         {9.4f, 0, true},
                         {9.5f, 0, false},
                         {0, 9.4f, true},
                         {0, 10, false},
                         {-9.4f, -9.4f, true},
                         {-10.5f, 0, false},
                         {-9.5f, 0, false} /* right 0.5 rounds to 0 */}) {
        b.X = c.bx;
        b.y = c.by;
        EXPECT_EQ(SpriteCollision(a, b), c.hit ? VbTrue : VbFalse) << c.bx << "," << c.by;
        EXPECT_EQ(SpriteCollision(b, a), c.hit ? VbTrue : VbFalse) << c.bx << "," << c.by;
    }
    b.X = 50;
    b.zX = 0; // the kept position plays no part
    EXPECT_EQ(SpriteCollision(a, b), VbFalse);

    // A 32 x 33 picture: y + 16.5 rounds to even, so the frame's bottom depends on y.
    Sprite tall, below;
    tall.AddPicture(framePicture(32, 16, 0xFF, 1));
    below.AddPicture(pic);
    below.y = 16;
    EXPECT_EQ(SpriteCollision(tall, below), VbFalse) << "bottom 16.5 -> 16";
    tall.y = 1;
    below.y = 17;
    EXPECT_EQ(SpriteCollision(tall, below), VbTrue) << "bottom 17.5 -> 18";

    a.CurFrame = 1;
    EXPECT_EQ(vbErrorNumber([&] { SpriteCollision(a, b); }), 9);
}
