#include "Color.h"
#include "Surface.h"
#include "SurfaceView.h"

#include <gtest/gtest.h>
#include <memory>

TEST(SurfaceView, ScalesWithoutSmoothing) {
    Surface s(2, 2);
    s.PSet(0, 0, 255);
    s.PSet(1, 0, 0x00FF00);
    s.PSet(0, 1, 0xFF0000);
    s.PSet(1, 1, 0xFFFFFF);
    SurfaceView view(&s);
    EXPECT_EQ(view.sizeHint(), QSize(2, 2));
    view.resize(6, 6);
    const QImage shot = view.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(6, 6));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(color::fromQRgb(shot.pixel(x, y)), s.Point(x / 3, y / 3)) << x << "," << y;
        }
    }
}

TEST(SurfaceView, FollowsTheSurfaceSizeAndOutlivesIt) {
    auto s = std::make_unique<Surface>(4, 3);
    SurfaceView view(s.get());
    s->setSize(8, 5);
    s->Refresh();
    EXPECT_EQ(view.sizeHint(), QSize(8, 5));
    s.reset();
    EXPECT_EQ(view.surface(), nullptr);
    view.resize(3, 3);
    EXPECT_EQ(view.grab().toImage().pixel(1, 1), qRgb(0, 0, 0));
}
