#pragma once

#include "CreditRec.h"

#include <functional>
#include <vector>

class GameEngine;
struct GameForm;

// The credits: one message page after another over the play pane while no game runs. The
// end of a page's fade-out re-enables CreditTimer while CreditsRunning is set, so each tick
// shows one page. Takes over CreditTimer's tick.
class CreditsSequence {
public:
    CreditsSequence(GameForm& form, GameEngine& engine);
    ~CreditsSequence();
    CreditsSequence(const CreditsSequence&) = delete;
    CreditsSequence& operator=(const CreditsSequence&) = delete;

    // The game menu was enabled again (the window shows it).
    std::function<void()> menuChanged;

    // The script, filled by InitCredits.
    std::vector<CreditRec> Credits;

    void InitCredits();
    void StartCredits();
    void StopCredits();
    void CreditTimer_Timer();

private:
    GameForm& f;
    GameEngine& e;
};
