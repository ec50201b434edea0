#pragma once

#include "VbTypes.h"

#include <vector>

class CreditsSequence;
class GameEngine;
struct GameForm;

// The attract demo: while no game runs, the first level's aliens fly into their formation
// one by one from the edges and then circle on small loops. Takes over the ticks of
// DemoTimer, DemoSpriteAnimation and DemoFrameTimer.
class AttractDemo {
public:
    AttractDemo(GameForm& form, GameEngine& engine, CreditsSequence& credits);
    ~AttractDemo();
    AttractDemo(const AttractDemo&) = delete;
    AttractDemo& operator=(const AttractDemo&) = delete;

    void StartDemo();
    void EndDemo();

    // Launches one alien per tick.
    void DemoTimer_Timer();
    // Moves the launched aliens towards their formation places.
    void DemoSpriteAnimation_Timer();
    // Flips the fly-in frame; once every alien is in place, runs the loops.
    void DemoFrameTimer_Timer();

    // Kept from one tick to the next (exposed for tests).
    std::vector<VbInteger> LaunchOrder;
    VbInteger NextLaunch = 0;
    bool OrderBuilt = false;
    VbInteger FrameFlipIndex = 0;

private:
    GameForm& f;
    GameEngine& e;
    CreditsSequence& credits;
    std::vector<VbInteger> work_;
};
