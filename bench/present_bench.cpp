// LIBS: vantorix_platform_desktop
// Showing the play pane (400 x 420) in its view: the whole pane, as after a level start or a
// flash, at the window's scales. The goal at 2x is at most 1 ms. And what a frame of play
// tells the views: every alien redrawn in place, three shots moved.
#include "Surface.h"
#include "SurfaceView.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>

namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "present_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication a(argc, argv);
    return a;
}

void BM_PresentPlayPane(benchmark::State& state) {
    app();
    const int scale = static_cast<int>(state.range(0));
    Surface pane(400, 420);
    for (int y = 0; y < pane.Height(); y += 7) {
        pane.Line(0, y, pane.Width(), y, (y * 2654435761u) & 0xFFFFFF);
    }
    SurfaceView view(&pane);
    view.resize(pane.Width() * scale, pane.Height() * scale);
    // The window's backing store on a 24-bit X display.
    QImage screen(view.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}

void BM_FrameChanges(benchmark::State& state) {
    app();
    Surface pane(400, 420);
    pane.setBackColor(0);
    pane.Cls();
    std::int64_t rects = 0;
    QObject::connect(&pane, &Surface::changed,
                     [&](const QRegion& area) { rects += area.rectCount(); });
    pane.Refresh();
    int shotY[3] = {400, 310, 220};
    for (auto _ : state) {
        for (int i = 0; i < 40; ++i) {
            const int x = 20 + (i % 10) * 36;
            const int y = 40 + (i / 10) * 30;
            pane.FilledBox(x, y, x + 15, y + 11, 0);
            pane.FilledBox(x + 2, y + 2, x + 13, y + 9, 0x00FF00);
        }
        for (int s = 0; s < 3; ++s) {
            const int x = 60 + s * 120;
            pane.FilledBox(x, shotY[s], x + 1, shotY[s] + 7, 0);
            shotY[s] = shotY[s] <= 170 ? 400 : shotY[s] - 6;
            pane.FilledBox(x, shotY[s], x + 1, shotY[s] + 7, 0xFFFFFF);
        }
        pane.Refresh();
    }
    state.counters["rects"] =
        benchmark::Counter(static_cast<double>(rects), benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_PresentPlayPane)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameChanges)->Unit(benchmark::kMicrosecond);
