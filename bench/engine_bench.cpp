// LIBS: vantorix_engine
// The frame tick on a full level: 60 aliens, every shot, alien-shot, pop-up and most pickup
// and explosion slots in use, with shots hitting the aliens so that the hit, the explosion
// and the pickup drop are part of it. The goal is well under 1% of the 20 ms tick (200
// microseconds).
#include "Color.h"
#include "GameEngine.h"
#include "GameForm.h"
#include "ManualClock.h"
#include "Random.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

QImage framePicture(int w, int h, std::int32_t colour) {
    QImage img(w, 2 * h, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            img.setPixel(x, y, color::toQRgb(colour));
            img.setPixel(x, h + y, qRgb(0, 0, 0));
        }
    }
    return img;
}

void setAll(SurfaceArray& a, int w, int h, std::int32_t colour) {
    for (auto& s : a) {
        s->setPicture(framePicture(w, h, colour));
    }
}

QGuiApplication& app() {
    static int argc = 1;
    static char name[] = "engine_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication a(argc, argv);
    return a;
}

constexpr int Columns = 12;
constexpr int Rows = 5;
constexpr int Pitch = 36;
constexpr int AlienWidth = 24;
constexpr int ShotWidth = 4;
// Slots kept busy; the rest are for what the tick's hits start.
constexpr std::size_t BusyExplosions = 8;
constexpr std::size_t BusyDrops = 8;

struct Tally {
    int hits = 0;
    int explosions = 0;
    int drops = 0;
};

// Frees the slots the last tick's hits took, counting them.
template <typename Set> int freeSpare(Set& set, std::size_t busy) {
    int taken = 0;
    for (std::size_t i = busy; i < set.size(); ++i) {
        taken += set[i].active ? 1 : 0;
        set[i].active = VbFalse;
    }
    return taken;
}

// Puts back into play whatever left it, so that the load stays the same from tick to tick.
void rearm(GameForm& g, Tally& tally) {
    for (std::size_t i = 0; i < g.Aliens.size(); ++i) {
        Sprite& a = g.Aliens[i];
        if (!a.active) {
            ++tally.hits;
            a.active = VbTrue;
            a.Hits = 1;
            a.Drops = static_cast<VbInteger>(i % 10);
        }
    }
    tally.explosions += freeSpare(g.ExpSprites, BusyExplosions) +
                        freeSpare(g.zExpSprites, BusyExplosions) +
                        freeSpare(g.ExpBigSprites, BusyExplosions);
    tally.drops += freeSpare(g.DropSprites, BusyDrops);
    for (int i = 0; i < static_cast<int>(g.Shots.size()); ++i) {
        Sprite& s = g.Shots[static_cast<std::size_t>(i)];
        if (!s.active) {
            // Under the middle of an alien column, as fired from the ship's line, in whole
            // pixels.
            const int column = i % Columns;
            const int row = i / Columns;
            const int centring = (AlienWidth - ShotWidth) / 2;
            s.active = VbTrue;
            s.X = static_cast<float>(10 + column * Pitch + centring);
            s.y = static_cast<float>(400 - row * 90);
        }
    }
    for (int i = 0; i < static_cast<int>(g.AlienShotSprites.size()); ++i) {
        Sprite& s = g.AlienShotSprites[static_cast<std::size_t>(i)];
        if (!s.active) {
            s.active = VbTrue;
            s.X = static_cast<float>(30 + i * 60);
            s.y = 200;
        }
    }
    for (int i = 0; i < static_cast<int>(BusyDrops); ++i) {
        Sprite& d = g.DropSprites[static_cast<std::size_t>(i)];
        if (!d.active) {
            d.active = VbTrue;
            d.sType = static_cast<VbInteger>(i);
            d.X = static_cast<float>(20 + i * 30);
            d.y = 200;
        }
    }
    for (int i = 0; i < static_cast<int>(g.BonusSprites.size()); ++i) {
        Sprite& b = g.BonusSprites[static_cast<std::size_t>(i)];
        if (!b.active) {
            b.active = VbTrue;
            b.X = b.zX = static_cast<float>(20 + i * 40);
            b.y = b.ZY = 300;
            b.CurFrame = static_cast<VbInteger>(i % 4);
        }
    }
    if (!g.EBonusSprite.active) {
        g.EBonusSprite.active = VbTrue;
        g.EBonusSprite.X = g.EBonusSprite.zX = 200;
        g.EBonusSprite.y = g.EBonusSprite.ZY = 250;
    }
}

void BM_MainLoopTickFullLevel(benchmark::State& state) {
    app();
    ManualClock clock;
    Clock::install(&clock);
    Random::instance().seed(1);
    {
        GameForm g;
        QImage bg(480, 420, QImage::Format_RGB32);
        bg.fill(qRgb(16, 32, 64));
        g.pMain->setPicture(bg);
        setAll(g.Monster0, 24, 16, 0x3050C0);
        setAll(g.Ship, 28, 14, 0x30C030);
        setAll(g.Shot, 4, 10, 0x30F0F0);
        setAll(g.AlienShoots, 4, 8, 0x3030F0);
        setAll(g.Drops, 14, 14, 0x10A010);
        setAll(g.RndDrops, 14, 14, 0x10A0A0);
        setAll(g.Bonus, 24, 10, 0x808080);
        setAll(g.EBonus, 80, 24, 0x8080F0);
        setAll(g.sExp, 24, 24, 0x1010F0);
        setAll(g.Exp, 32, 32, 0x1080F0);
        setAll(g.zExp, 24, 24, 0x10F0F0);
        setAll(g.ExpBig, 48, 48, 0x10F010);
        GameEngine e(g);
        e.BuildSpriteSets();

        LevelRec level;
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Columns; ++c) {
                level.AlienType.push_back(static_cast<VbInteger>(r % 8));
                level.AlienX.push_back(static_cast<VbInteger>(10 + c * Pitch));
                level.AlienY.push_back(static_cast<VbInteger>(30 + r * 28));
                level.AlienHits.push_back(1);
                level.AlienDrops.push_back(-2);
                level.AlienShoots.push_back(1);
                level.AlienScore.push_back(10);
            }
        }
        level.Speed = 10;
        level.Name = "Bench";
        g.Levels = {level};
        VbInteger index = 0;
        e.InitLevel(index);
        g.GameOverFlag = false;
        g.ShipSprite.active = VbTrue;
        g.ShipSprite.X = 440;
        // Above the block, clear of the falling pickups: it moves but catches nothing.
        g.ShipSprite.y = 5;
        g.ShipSprite.Left = VbTrue;
        g.ShipState = 3;
        auto light = [](auto& set, std::size_t n) {
            for (int i = 0; i < static_cast<int>(n); ++i) {
                Sprite& s = set[static_cast<std::size_t>(i)];
                s.active = VbTrue;
                s.X = static_cast<float>(20 + i * 45);
                s.y = 330;
                s.CurFrame = static_cast<VbInteger>(i % 16);
            }
        };
        light(g.ExpSprites, BusyExplosions);
        light(g.zExpSprites, BusyExplosions);
        light(g.ExpBigSprites, BusyExplosions);
        light(g.sExpSprites, 5);
        g.ShipExplosion.active = VbTrue;
        g.ShipExplosion.X = 100;
        g.ShipExplosion.y = 360;
        Tally tally;
        rearm(g, tally);
        tally = {};
        for (auto _ : state) {
            rearm(g, tally);
            // Keep the ship inside the pane.
            if (g.ShipSprite.X < 10) {
                g.ShipSprite.Left = VbFalse;
                g.ShipSprite.Right = VbTrue;
            } else if (g.ShipSprite.X > 440) {
                g.ShipSprite.Right = VbFalse;
                g.ShipSprite.Left = VbTrue;
            }
            e.MainLoop_Timer();
            benchmark::DoNotOptimize(g.ShipNewX);
        }
        state.counters["hits"] = benchmark::Counter(tally.hits, benchmark::Counter::kAvgIterations);
        state.counters["explosions"] =
            benchmark::Counter(tally.explosions, benchmark::Counter::kAvgIterations);
        state.counters["drops"] =
            benchmark::Counter(tally.drops, benchmark::Counter::kAvgIterations);
    }
    Clock::install(nullptr);
}

} // namespace

BENCHMARK(BM_MainLoopTickFullLevel)->Unit(benchmark::kMicrosecond);
