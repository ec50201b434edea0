// LIBS: vantorix_foundation_desktop
#include "Sprite.h"
#include "SpriteCollision.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

std::shared_ptr<Surface> framePicture(int w, int h) {
    auto pic = std::make_shared<Surface>(w, 2 * h);
    pic->setBackColor(0xFFFFFF);
    pic->FilledBox(4, 4, w - 5, h - 5, 0x3366CC);
    pic->FilledBox(4, h + 4, w - 5, 2 * h - 5, 0);
    return pic;
}

void fillPattern(Surface& s) {
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            s.PSet(x, y, (x * 53 + y * 197) & 0xFFFFFF);
        }
    }
}

// One sprite's share of a main-loop tick: erase at the old place, draw at the new one.
void BM_DrawSpriteAndErase32x32(benchmark::State& state) {
    Surface back(640, 480), main(640, 480);
    fillPattern(back);
    BitBlt(main, 0, 0, 640, 480, back, 0, 0, rop::SRCCOPY);
    Sprite s;
    s.AddPicture(framePicture(32, 32));
    s.AddPicture(framePicture(32, 32));
    VbInteger x = 0;
    for (auto _ : state) {
        s.DrawSpriteBG(s.CurFrame, main, back);
        VbInteger frame = -1;
        x = static_cast<VbInteger>((x + 3) % 600);
        s.DrawSprite(frame, x, 200, main, back, VbFalse);
        benchmark::DoNotOptimize(main.image().constBits());
    }
}
BENCHMARK(BM_DrawSpriteAndErase32x32);

void BM_SpriteCollision(benchmark::State& state) {
    const auto pic = framePicture(32, 32);
    Sprite a, b;
    a.AddPicture(pic);
    b.AddPicture(pic);
    a.X = 100;
    a.y = 100;
    b.y = 110.5f;
    float x = 0;
    for (auto _ : state) {
        b.X = x;
        x = x < 200 ? x + 1.25f : 0;
        benchmark::DoNotOptimize(SpriteCollision(a, b));
    }
}
BENCHMARK(BM_SpriteCollision);

// The pane-sized copy the game makes at a level start and for the overlay.
void BM_BitBltFullPane(benchmark::State& state) {
    Surface back(640, 480), main(640, 480);
    fillPattern(back);
    for (auto _ : state) {
        BitBlt(main, 0, 0, 640, 480, back, 0, 0, static_cast<std::uint32_t>(state.range(0)));
        benchmark::DoNotOptimize(main.image().constBits());
    }
}
BENCHMARK(BM_BitBltFullPane)->Arg(rop::SRCCOPY)->Arg(rop::SRCPAINT)->Arg(rop::MERGEPAINT);

} // namespace
