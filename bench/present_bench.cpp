// LIBS: vantorix_platform
// Showing the play pane (400 x 420) in its view: the whole pane, as after a level start or a
// flash, at the window's scales. The goal at 2x is at most 1 ms.
#include "Surface.h"
#include "SurfaceView.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
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

} // namespace

BENCHMARK(BM_PresentPlayPane)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
