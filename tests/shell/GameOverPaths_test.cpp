#include "AttractDemo.h"
#include "CheatPanelModel.h"
#include "CreditsSequence.h"
#include "KeyCodes.h"
#include "QFTModule.h"
#include "WindowFixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace {

constexpr VbLong FirstPlaceScore = 9000000;

// The game window with its credits, attract demo and cheat panel wired as the real window
// wires them, in cheat mode, on the shipped levels.
class GameOverWindow : public WindowFixture {
public:
    GameOverWindow() {
        open("-noamiga -nosfx -wobblefrumpy");
        credits = std::make_unique<CreditsSequence>(f(), *engine);
        demo = std::make_unique<AttractDemo>(f(), *engine, *credits);
        cheat = std::make_unique<CheatPanelModel>(f(), *engine);
        ShellParts& parts = s().parts;
        parts.InitCredits = [this] { credits->InitCredits(); };
        parts.StartDemo = [this] { demo->StartDemo(); };
        parts.EndDemo = [this] { demo->EndDemo(); };
        parts.mnuCheatPanel_Click = [this] { cheat->mnuCheatPanel_Click(); };
        cheat->EndDemo = [this] { demo->EndDemo(); };
        cheat->setNewGameEnabled = [this](bool on) { s().mnuNewGame.Enabled = on; };
        s().Form_Load();
        f().LevelSet.seams.showHiscoreNameEntry = [this] {
            ++nameEntries;
            programHiscoreGlobals().LastHiscoreName = "TESTER";
        };
        // The first credits page opens the Game menu.
        clock.advance(10);
    }
    ~GameOverWindow() {
        cheat.reset();
        demo.reset();
        credits.reset();
    }

    bool runUntil(const std::function<bool()>& pred, int maxMs) {
        for (int t = 0; t < maxMs; ++t) {
            if (pred()) {
                return true;
            }
            clock.advance(1);
        }
        return pred();
    }
    void key(VbLong code) {
        s().dx8Keyboard1_KeyDown(code);
        s().dx8Keyboard1_KeyUp(code);
    }
    // A new game by the fire key, still showing its "Get ready" message.
    void newGame() {
        key(keys::Space);
        ASSERT_FALSE(f().GameOverFlag);
        f().Score = FirstPlaceScore;
    }
    // A new game past its get-ready phase and the ship's glide.
    void playing() {
        newGame();
        ASSERT_TRUE(runUntil([this] { return !f().LevelStarting && !f().PlaceShipTimer.Enabled(); },
                             10000));
    }
    void takeEveryLife() {
        while (f().LivesLeft > 0 && !f().GameOverFlag) {
            cheat->CheatBtnLife_Click(1);
        }
    }
    // The last ship is hit: its explosion runs (from its first frame, or about to end).
    void lastShipExplodes(bool aboutToEnd) {
        GameForm& g = f();
        g.LivesLeft = 1;
        g.ShipSprite.active = VbFalse;
        g.ShipExplosion.active = VbTrue;
        g.ShipExplosion.CurFrame = aboutToEnd ? g.ShipExplosion.PictureCount() : 0;
    }
    void endGameFromTheMenu() {
        s().mnuFile_Click();
        dialogs.answer(mb::OK);
        s().mnuEndGame_Click();
    }

    std::unique_ptr<CreditsSequence> credits;
    std::unique_ptr<AttractDemo> demo;
    std::unique_ptr<CheatPanelModel> cheat;
    int nameEntries = 0;
};

// The overlay shows "GAME OVER" in its blue (the pane under it is ORed in).
bool gameOverPainted(GameForm& g) {
    const Surface& disp = *g.PicDisp;
    int blue = 0;
    for (int y = 0; y < disp.Height(); ++y) {
        for (int x = 0; x < disp.Width(); ++x) {
            const std::int32_t c = disp.Point(x, y);
            if (((c >> 16) & 0xFF) >= 230 && (c & 0xFF) < 120 && ((c >> 8) & 0xFF) < 120) {
                ++blue;
            }
        }
    }
    return blue > 200;
}

// What a game over shows a second after it began, and once the credits took over.
struct Outcome {
    bool gameOver = false;
    bool paused = true;
    bool pauseLabel = true;
    bool pauseTimer = true;
    bool waitingForFire = true;
    std::string message;
    bool painted = false;
    bool endGameEnabled = true;
    bool hiscorePending = false;
    bool creditsRunning = false;

    bool nameEntryCame = false;
    int nameEntries = 0;
    bool newGameEnabled = false;
    bool gameMenuEnabled = false;
    VbLong topScore = 0;
    std::string creditsPage;
    bool pausedAfter = true;

    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << "gameOver " << o.gameOver << " paused " << o.paused << " label " << o.pauseLabel
              << " pauseTimer " << o.pauseTimer << " waitingForFire " << o.waitingForFire
              << " message \"" << o.message << "\" painted " << o.painted << " endGame "
              << o.endGameEnabled << " pending " << o.hiscorePending << " credits "
              << o.creditsRunning << " | nameEntry " << o.nameEntryCame << " x" << o.nameEntries
              << " newGame " << o.newGameEnabled << " gameMenu " << o.gameMenuEnabled << " top "
              << o.topScore << " page \"" << o.creditsPage << "\" paused " << o.pausedAfter;
}

Outcome settle(GameOverWindow& w) {
    GameForm& g = w.f();
    Outcome o;
    // Whatever a path leaves undone by itself is left to the clock, never to a key.
    w.runUntil([&] { return g.GameOverFlag; }, 3000);
    w.clock.advance(1000);
    o.gameOver = g.GameOverFlag;
    o.paused = g.Paused;
    o.pauseLabel = g.lbPause.Visible;
    o.pauseTimer = g.PauseTimer.Enabled();
    o.waitingForFire = g.WaitingForFire;
    o.message = g.MessageText;
    o.painted = gameOverPainted(g);
    o.endGameEnabled = g.mnuEndGame.Enabled;
    o.hiscorePending = g.HiscorePending;
    o.creditsRunning = g.CreditsRunning;

    o.nameEntryCame = w.runUntil([&] { return w.nameEntries > 0; }, 10000);
    w.clock.advance(100);
    o.nameEntries = w.nameEntries;
    o.newGameEnabled = w.s().mnuNewGame.Enabled;
    o.gameMenuEnabled = g.mnuFile.Enabled;
    o.topScore = g.LevelSet.Hiscores[0].Score;
    o.creditsPage = g.MessageText;
    // No game: the pause keys pause nothing.
    w.key(keys::P);
    w.key(keys::Escape);
    o.pausedAfter = g.Paused || g.lbPause.Visible;
    return o;
}

// A score that earns a place asks for the name at the first credits page; nothing of the
// pause or of the last message is left.
const Outcome Normal{.gameOver = true,
                     .paused = false,
                     .pauseLabel = false,
                     .pauseTimer = false,
                     .waitingForFire = false,
                     .message = "GAME OVER",
                     .painted = true,
                     .endGameEnabled = false,
                     .hiscorePending = true,
                     .creditsRunning = true,
                     .nameEntryCame = true,
                     .nameEntries = 1,
                     .newGameEnabled = true,
                     .gameMenuEnabled = true,
                     .topScore = FirstPlaceScore,
                     .creditsPage = "Vantorix",
                     .pausedAfter = false};

TEST(GameOverPaths, EveryWayAGameEndsReachesTheSameGameOver) {
    struct Case {
        const char* path;
        std::function<void(GameOverWindow&)> end;
    };
    const Case cases[] = {
        {"the last ship lost in play",
         [](GameOverWindow& w) {
             w.playing();
             w.lastShipExplodes(true);
         }},
        {"cheat panel opened at Get ready, every life taken, panel closed, P",
         [](GameOverWindow& w) {
             w.newGame();
             w.key(keys::F4);
             ASSERT_TRUE(w.f().Paused);
             w.takeEveryLife();
             w.cheat->CheatBtnCloseCheatPanel_Click();
             w.key(keys::P);
         }},
        {"cheat panel opened in play, every life taken",
         [](GameOverWindow& w) {
             w.playing();
             w.key(keys::F4);
             w.takeEveryLife();
         }},
        {"every life taken while the level waits for fire",
         [](GameOverWindow& w) {
             w.f().mnuWaitForFire.Checked = true;
             w.newGame();
             ASSERT_TRUE(w.runUntil([&] { return w.f().WaitingForFire; }, 10000));
             w.key(keys::F4);
             w.takeEveryLife();
         }},
        {"End Game from the menu while paused",
         [](GameOverWindow& w) {
             w.playing();
             w.key(keys::P);
             w.endGameFromTheMenu();
         }},
        {"End Game while the cheat panel is open",
         [](GameOverWindow& w) {
             w.playing();
             w.key(keys::F4);
             w.endGameFromTheMenu();
         }},
        {"the last ship lost while the points box is open",
         [](GameOverWindow& w) {
             w.playing();
             w.key(keys::F4);
             w.key(keys::P); // play on with the panel open
             w.lastShipExplodes(true);
             struct BoxWhilePlayGoesOn : ScriptedDialogs {
                 GameOverWindow* w = nullptr;
                 std::string inputBox(const std::string&, const std::string&,
                                      const std::string&) override {
                     w->clock.advance(200);
                     return "";
                 }
             } box;
             box.w = &w;
             DialogService::install(&box);
             w.cheat->Command3_Click();
             DialogService::install(&w.dialogs);
             EXPECT_TRUE(w.f().GameOverFlag);
         }},
        {"the last ship's explosion held by a pause, then resumed",
         [](GameOverWindow& w) {
             w.playing();
             w.lastShipExplodes(false);
             w.key(keys::P);
             w.clock.advance(2000);
             EXPECT_FALSE(w.f().GameOverFlag);
             w.key(keys::P);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        GameOverWindow w;
        c.end(w);
        EXPECT_EQ(settle(w), Normal);
        // And the next game starts from the key that names it.
        w.key(keys::Space);
        EXPECT_FALSE(w.f().GameOverFlag);
        EXPECT_EQ(w.f().MessageText.rfind("Get ready for level 1", 0), 0u) << w.f().MessageText;
    }
}

} // namespace
