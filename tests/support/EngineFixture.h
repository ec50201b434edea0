#pragma once

#include "Clock.h"
#include "DialogService.h"
#include "GameEngine.h"
#include "GameForm.h"
#include "ManualClock.h"
#include "Random.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Colours of the small frame pictures the engine tests play with (game colours).
namespace pics {
inline constexpr std::int32_t Background = 0x402010;
inline constexpr std::int32_t White = 0xFFFFFF;
// Each frame its own colour.
std::int32_t alienColor(int type, int frame);
std::int32_t shipColor(int frame);
// A frame picture: image (colour inside, white around) over its mask (black shape on
// white). The shape leaves a one-pixel white border, so the border shows what is below.
QImage frame(int w, int h, std::int32_t colour);
} // namespace pics

struct AlienSpec {
    VbInteger type = 0;
    VbInteger x = 0;
    VbInteger y = 0;
    VbInteger hits = 1;
    VbInteger drops = -2; // any negative but -1: no pickup
    VbInteger shoots = 0;
    VbInteger score = 10;
};
LevelRec makeLevel(const std::vector<AlienSpec>& aliens, VbInteger speed, const std::string& name);

// A game form on the test clock with small pictures made in code: pane 480 x 420 in the
// background colour, aliens 16 x 12, ship 20 x 10, shots 4 x 8, alien shots 4 x 6,
// pickups 10 x 10, small pop-ups 20 x 8, the big pop-up 60 x 20, explosions 16 x 16
// (16 frames each). Sound effects go to the fallback player, which records them.
class EngineFixture {
public:
    explicit EngineFixture(double startTimeOfDay = 12 * 3600.0, std::uint32_t startTicks = 1000);
    ~EngineFixture();

    // As the window's start-up does before the first game.
    void initGame();
    // Advances in 1 ms steps until pred holds; false when maxMs passed first.
    bool runUntil(const std::function<bool()>& pred, int maxMs);
    // Steers the ship with its direction flags until its X is within the ship speed of x.
    bool steerTo(double x, int maxMs = 5000);
    // The same towards a moving target.
    bool steerTo(const std::function<double()>& x, int maxMs = 5000);
    // Number of times the sound id was started (fallback player).
    int played(int id) const;

    ManualClock clock;
    ScriptedDialogs dialogs;
    std::unique_ptr<GameForm> form;
    std::unique_ptr<GameEngine> engine;
    std::vector<std::string> sounds; // file names without folder and ".wav"

    GameForm& f() { return *form; }
    GameEngine& e() { return *engine; }
};
