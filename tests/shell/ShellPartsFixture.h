#pragma once

#include "AttractDemo.h"
#include "BootIntro.h"
#include "CheatPanelModel.h"
#include "CreditsSequence.h"
#include "EngineFixture.h"

#include <memory>
#include <vector>

// The engine fixture with the shell's intro, demo, credits and cheat panel on its record,
// wired as the game window wires them. The seams count their calls.
class ShellPartsFixture : public EngineFixture {
public:
    explicit ShellPartsFixture(int levels = 3, int aliensPerLevel = 4);
    ~ShellPartsFixture();

    ControlView flimmerView{0, 0, 480, 420, true};
    ControlView diskView{0, 0, 200, 205, false};
    MenuItem mnuNewGame;
    int initGameCalls = 0;
    int resizeCalls = 0;
    int focusCalls = 0;
    int nameEntries = 0;

    std::unique_ptr<BootIntro> intro;
    std::unique_ptr<CreditsSequence> credits;
    std::unique_ptr<AttractDemo> demo;
    std::unique_ptr<CheatPanelModel> cheat;

    // A game in play on level 0, past its "Get ready" message.
    void startGame();
};
