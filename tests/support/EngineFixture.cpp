#include "EngineFixture.h"

#include "Color.h"

#include <algorithm>
#include <cmath>

namespace pics {

std::int32_t alienColor(int type, int frame) {
    return color::rgb(200, 10 * type + 5, frame == 0 ? 40 : 90);
}

std::int32_t shipColor(int frame) {
    return color::rgb(30, 200, 40 * frame + 20);
}

QImage frame(int w, int h, std::int32_t colour) {
    QImage img(w, 2 * h, QImage::Format_RGB32);
    img.fill(color::toQRgb(White));
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            img.setPixel(x, y, color::toQRgb(colour));
            img.setPixel(x, h + y, qRgb(0, 0, 0));
        }
    }
    return img;
}

} // namespace pics

LevelRec makeLevel(const std::vector<AlienSpec>& aliens, VbInteger speed, const std::string& name) {
    LevelRec r;
    for (const AlienSpec& a : aliens) {
        r.AlienType.push_back(a.type);
        r.AlienX.push_back(a.x);
        r.AlienY.push_back(a.y);
        r.AlienHits.push_back(a.hits);
        r.AlienDrops.push_back(a.drops);
        r.AlienShoots.push_back(a.shoots);
        r.AlienScore.push_back(a.score);
    }
    r.Speed = speed;
    r.Name = name;
    return r;
}

namespace {

void setAll(SurfaceArray& a, int w, int h, const std::function<std::int32_t(int)>& colour) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i]->setPicture(pics::frame(w, h, colour(static_cast<int>(i))));
    }
}

} // namespace

EngineFixture::EngineFixture(double startTimeOfDay, std::uint32_t startTicks)
    : clock(startTicks, startTimeOfDay) {
    Clock::install(&clock);
    Random::instance().clearQueue();
    Random::instance().seed(7);
    form = std::make_unique<GameForm>();
    GameForm& g = *form;
    // Every sound class on and full-length messages, whatever the menu's design state.
    g.mnuShipShootSounds.Checked = true;
    g.mnuFastMessages.Checked = false;
    QImage bg(480, 420, QImage::Format_RGB32);
    bg.fill(color::toQRgb(pics::Background));
    g.pMain->setPicture(bg);
    for (std::size_t i = 0; i < g.Monster0.size(); ++i) {
        g.Monster0[i]->setPicture(pics::frame(
            16, 12, pics::alienColor(static_cast<int>(i / 2), static_cast<int>(i % 2))));
    }
    setAll(g.Ship, 20, 10, pics::shipColor);
    setAll(g.Shot, 4, 8, [](int i) { return color::rgb(250, 250, 10 * i); });
    setAll(g.AlienShoots, 4, 6, [](int i) { return color::rgb(250, 0, 10 * i); });
    setAll(g.Drops, 10, 10, [](int i) { return color::rgb(0, 100, 10 * i); });
    setAll(g.RndDrops, 10, 10, [](int i) { return color::rgb(0, 150, 10 * i); });
    setAll(g.Bonus, 20, 8, [](int i) { return color::rgb(100, 0, 10 * i); });
    setAll(g.EBonus, 60, 20, [](int i) { return color::rgb(120, 0, 10 * i); });
    setAll(g.sExp, 16, 16, [](int i) { return color::rgb(10, 10, 10 * i + 1); });
    setAll(g.Exp, 16, 16, [](int i) { return color::rgb(20, 10, 10 * i + 1); });
    setAll(g.zExp, 16, 16, [](int i) { return color::rgb(30, 10, 10 * i + 1); });
    setAll(g.ExpBig, 16, 16, [](int i) { return color::rgb(40, 10, 10 * i + 1); });
    engine = std::make_unique<GameEngine>(g);
    engine->BuildSpriteSets();
    engine->fallbackSoundPlayer = [this](const std::string& file) {
        std::string name = file.substr(file.rfind('/') + 1);
        sounds.push_back(name.substr(0, name.size() - 4));
    };
    g.SoundAvailable = true;
    DirectSoundReady = false;
}

EngineFixture::~EngineFixture() {
    engine.reset();
    form.reset();
    Clock::install(nullptr);
    Random::instance().clearQueue();
}

void EngineFixture::initGame() {
    GameForm& g = *form;
    g.MainLoop.setInterval(20);
    g.FadeInterval = 30;
    g.FadeTimer.setInterval(30);
    g.HideFade.setInterval(30);
    g.PaintDisplayTimer.setInterval(30);
    g.MessageFader.setSteps(20);
    engine->ResetPlayerData();
    engine->ResetLevelStatus();
    VbInteger level = 0;
    engine->InitLevel(level);
}

bool EngineFixture::runUntil(const std::function<bool()>& pred, int maxMs) {
    for (int t = 0; t < maxMs; ++t) {
        if (pred()) {
            return true;
        }
        clock.advance(1);
    }
    return pred();
}

bool EngineFixture::steerTo(double x, int maxMs) {
    return steerTo([x] { return x; }, maxMs);
}

bool EngineFixture::steerTo(const std::function<double()>& x, int maxMs) {
    Sprite& ship = form->ShipSprite;
    const bool ok = runUntil(
        [&] {
            const double d = x() - ship.X;
            ship.Left = toVbBool(d <= -form->ShipSpeed);
            ship.Right = toVbBool(d >= form->ShipSpeed);
            return !ship.Left && !ship.Right;
        },
        maxMs);
    ship.Left = VbFalse;
    ship.Right = VbFalse;
    return ok;
}

int EngineFixture::played(int id) const {
    const std::string name = std::to_string(id);
    return static_cast<int>(std::count(sounds.begin(), sounds.end(), name));
}
