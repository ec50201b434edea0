#include "ShellPartsFixture.h"

ShellPartsFixture::ShellPartsFixture(int levels, int aliensPerLevel) {
    GameForm& g = f();
    for (int l = 0; l < levels; ++l) {
        std::vector<AlienSpec> aliens;
        for (int i = 0; i < aliensPerLevel; ++i) {
            aliens.push_back(
                AlienSpec{static_cast<VbInteger>(i % 4), static_cast<VbInteger>(60 + 40 * i), 40});
        }
        g.Levels.push_back(makeLevel(aliens, 10, "Level " + std::to_string(l + 1)));
    }
    g.LevelSet.ResetHiscore();
    g.LevelSet.seams.showHiscoreNameEntry = [this] {
        ++nameEntries;
        programHiscoreGlobals().LastHiscoreName = "TESTER";
    };
    initGame();

    intro = std::make_unique<BootIntro>(g, flimmerView, diskView);
    intro->InitGame = [this] { ++initGameCalls; };
    credits = std::make_unique<CreditsSequence>(g, e());
    credits->InitCredits();
    demo = std::make_unique<AttractDemo>(g, e(), *credits);
    cheat = std::make_unique<CheatPanelModel>(g, e());
    cheat->Form_Resize = [this] { ++resizeCalls; };
    cheat->focusPane = [this] { ++focusCalls; };
    cheat->EndDemo = [this] { demo->EndDemo(); };
    cheat->setNewGameEnabled = [this](bool on) { mnuNewGame.Enabled = on; };
}

ShellPartsFixture::~ShellPartsFixture() {
    cheat.reset();
    demo.reset();
    credits.reset();
    intro.reset();
}

void ShellPartsFixture::startGame() {
    e().ResetPlayerData();
    VbInteger level = 0;
    e().StartLevel(level);
    runUntil([this] { return !f().LevelStarting; }, 10000);
}
