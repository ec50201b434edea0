#include "Color.h"
#include "FramePacer.h"
#include "ManualClock.h"
#include "Surface.h"
#include "SurfaceView.h"
#include "Timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

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
            // Each surface pixel covers 3 by 3 of the view's.
            const int surfaceX = x / 3;
            const int surfaceY = y / 3;
            EXPECT_EQ(color::fromQRgb(shot.pixel(x, y)), s.Point(surfaceX, surfaceY))
                << x << "," << y;
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

namespace {

// Records the area each paint was asked to cover.
class RecordingView : public SurfaceView {
public:
    using SurfaceView::SurfaceView;
    std::vector<QRegion> paints;

protected:
    void paintEvent(QPaintEvent* event) override {
        paints.push_back(event->region());
        SurfaceView::paintEvent(event);
    }
};

void runEventLoop() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

// Shown, first paint done, nothing recorded yet.
void showSettled(RecordingView& view, QSize size) {
    view.resize(size);
    view.show();
    runEventLoop();
    view.paints.clear();
}

} // namespace

// A surface drawn into shows on its views at the next turn of the event loop, without being
// told, in one paint of what changed (scaled), and a surface left alone costs no paint.
TEST(SurfaceView, RepaintsOnceWhatTheSurfaceDrew) {
    Surface stamp(3, 3);
    stamp.FilledBox(0, 0, 2, 2, 0x00FF00);
    const QImage translucent = [] {
        QImage img(2, 2, QImage::Format_ARGB32);
        img.fill(qRgba(0, 0, 255, 255));
        return img;
    }();
    struct Case {
        const char* name;
        std::function<void(Surface&)> draw;
    };
    const std::vector<Case> cases = {
        {"point", [](Surface& s) { s.PSet(3, 2, 255); }},
        {"diagonal line", [](Surface& s) { s.Line(2, 20, 12, 3, 255); }},
        {"box", [](Surface& s) { s.Box(30, 2, 36, 9, 255); }},
        {"filled box over the edge", [](Surface& s) { s.FilledBox(35, 25, 45, 35, 255); }},
        {"text",
         [](Surface& s) {
             s.setCurrentX(1);
             s.setCurrentY(8);
             s.Print("Wg");
         }},
        {"bit block", [&](Surface& s) { BitBlt(s, 20, 10, 3, 3, stamp, 0, 0, rop::SRCCOPY); }},
        {"picture", [&](Surface& s) { s.PaintPicture(translucent, -1, 28); }},
        {"two far apart",
         [](Surface& s) {
             s.PSet(0, 0, 255);
             s.PSet(39, 29, 255);
         }},
        {"clear", [](Surface& s) { s.setBackColor(0x123456); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface s(40, 30);
        RecordingView view(&s);
        showSettled(view, QSize(80, 60));
        runEventLoop();
        EXPECT_TRUE(view.paints.empty()) << "nothing drawn, nothing painted";

        const QImage before = s.image().copy();
        QImage shown = view.grab().toImage();
        view.paints.clear();
        c.draw(s);
        runEventLoop();
        ASSERT_EQ(view.paints.size(), 1u);
        const QRegion painted = view.paints[0];
        int changed = 0;
        for (int y = 0; y < s.Height(); ++y) {
            for (int x = 0; x < s.Width(); ++x) {
                if (before.pixel(x, y) != s.image().pixel(x, y)) {
                    ++changed;
                    EXPECT_TRUE(painted.contains(QRect(2 * x, 2 * y, 2, 2))) << x << "," << y;
                }
            }
        }
        EXPECT_GT(changed, 0);
        // Painting just that area over what was shown gives the whole new picture.
        view.render(&shown, painted.boundingRect().topLeft(), painted);
        EXPECT_EQ(shown, view.grab().toImage());
        view.paints.clear();
        runEventLoop();
        EXPECT_TRUE(view.paints.empty());
    }
}

// Small sprites far apart are painted as themselves, not as the box around them all.
TEST(SurfaceView, FarApartChangesStaySeparate) {
    Surface s(200, 100);
    RecordingView view(&s);
    showSettled(view, QSize(400, 200));
    s.FilledBox(2, 2, 5, 5, 255);
    s.FilledBox(190, 90, 193, 93, 255);
    s.FilledBox(100, 4, 101, 5, 255);
    runEventLoop();
    ASSERT_EQ(view.paints.size(), 1u);
    const QRegion expected = QRegion(4, 4, 8, 8) + QRegion(380, 180, 8, 8) + QRegion(200, 8, 4, 4);
    EXPECT_EQ(view.paints[0], expected);
}

// While a frame timer runs, changes (a Refresh too) wait for the end of its next tick; when
// its ticks stop, what was held still shows and changes go out at the next turn again.
TEST(SurfaceView, ChangesWaitForTheFrameAndStillShowWhenFramesStop) {
    ManualClock clock;
    Clock::install(&clock);
    {
        Surface s(20, 10);
        RecordingView view(&s);
        showSettled(view, QSize(20, 10));
        Timer frames;
        frames.onTick = [] {};
        frames.setPacesFrames(true);
        frames.setInterval(20);
        frames.setEnabled(true);
        clock.advance(20);
        ASSERT_TRUE(FramePacer::instance().pacing());

        s.FilledBox(0, 0, 1, 1, 255);
        s.Refresh();
        runEventLoop();
        EXPECT_TRUE(view.paints.empty());
        clock.advance(20);
        runEventLoop();
        ASSERT_EQ(view.paints.size(), 1u);
        EXPECT_EQ(view.paints[0], QRegion(0, 0, 2, 2));

        frames.setEnabled(false);
        s.FilledBox(5, 5, 6, 6, 255);
        runEventLoop();
        EXPECT_EQ(view.paints.size(), 1u);
        clock.advance(50);
        QElapsedTimer waited;
        waited.start();
        while (view.paints.size() < 2 && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        ASSERT_EQ(view.paints.size(), 2u);
        EXPECT_EQ(view.paints[1], QRegion(5, 5, 2, 2));
        EXPECT_FALSE(FramePacer::instance().pacing());

        s.FilledBox(10, 5, 11, 6, 255);
        runEventLoop();
        ASSERT_EQ(view.paints.size(), 3u);
        EXPECT_EQ(view.paints[2], QRegion(10, 5, 2, 2));
    }
    Clock::install(nullptr);
}
