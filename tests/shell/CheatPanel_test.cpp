#include "CheatPanel.h"
#include "ShellPartsFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using Call = ScriptedDialogs::Call;

TEST(CheatPanel, WithoutAGameButtonsChangeNothingAndAddOnsSnapBack) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    CheatPanelModel& c = *fx.cheat;
    ASSERT_TRUE(g.GameOverFlag);
    const VbInteger lives = g.LivesLeft;
    c.CheatBtnLife_Click(0);
    c.CheatBtnLife_Click(1);
    c.CheatBtnFreezeAliens_Click();
    EXPECT_EQ(g.LivesLeft, lives);
    EXPECT_FALSE(g.FrozenAliensTimer.Enabled());
    EXPECT_EQ(fx.played(106), 0);

    c.Command3_Click();
    ASSERT_EQ(fx.dialogs.calls().size(), 1u);
    EXPECT_EQ(fx.dialogs.calls()[0].prompt, "Why not start a game first?");
    EXPECT_EQ(fx.dialogs.calls()[0].style, mb::Critical);
    EXPECT_FALSE(fx.dialogs.calls()[0].input);

    for (CheatBox b : {CheatBox::DblCanons, CheatBox::MissileWaver, CheatBox::MissileSwirler}) {
        c.setChecked(b, true);
        EXPECT_FALSE(c.checked(b));
    }
    c.setWeaponOption(3);
    EXPECT_EQ(c.weaponOption(), 0);
    EXPECT_EQ(g.Weapon, 0);
    EXPECT_EQ(g.Cannons, 1);
    EXPECT_FALSE(g.MissileWaver);
    EXPECT_FALSE(g.MissileSwirler);
    // Mirror keeps its mark but stores nothing.
    c.setChecked(CheatBox::MirrorCtrls, true);
    EXPECT_TRUE(c.checked(CheatBox::MirrorCtrls));
    EXPECT_FALSE(g.MirrorControls);
}

TEST(CheatPanel, GivePointsAsksUntilItGetsANumberThatFits) {
    struct Case {
        std::vector<std::string> inputs;
        std::vector<std::string> messages;
        VbLong points;
    };
    const Case cases[] = {
        {{"1234567", "12a", "250"}, {"Too much!!", "Please enter a number!"}, 250},
        {{"-50"}, {}, -50},
        {{"999999"}, {}, 999999},
        {{" 12.5 "}, {}, 12}, // halves to even
        {{"1e20"}, {}, 0},    // numeric but past 32 bits: nothing, no message
        {{""}, {}, 0},        // cancelled
    };
    for (const Case& k : cases) {
        ShellPartsFixture fx;
        fx.startGame();
        fx.f().ScoreMultiplier = 1;
        const VbLong before = fx.f().Score;
        for (const std::string& in : k.inputs) {
            fx.dialogs.answerInput(in);
        }
        fx.dialogs.clear();
        fx.cheat->Command3_Click();
        SCOPED_TRACE(k.inputs.front());
        std::vector<std::string> messages;
        int asks = 0;
        for (const Call& call : fx.dialogs.calls()) {
            if (call.input) {
                ++asks;
                EXPECT_EQ(call.prompt, "How much?:");
                EXPECT_EQ(call.title, "Give Points");
                EXPECT_EQ(call.defaultText, "5000");
            } else {
                messages.push_back(call.prompt);
                EXPECT_EQ(call.style, mb::Critical);
            }
        }
        EXPECT_EQ(asks, static_cast<int>(k.inputs.size()));
        EXPECT_EQ(messages, k.messages);
        EXPECT_EQ(fx.f().Score - before, k.points);
    }
}

// Under a locale that writes a decimal comma the box still takes a decimal point.
TEST(CheatPanelUnderLocale, GivePointsTakesADecimalPoint) {
    ShellPartsFixture fx;
    fx.startGame();
    fx.f().ScoreMultiplier = 1;
    const VbLong before = fx.f().Score;
    fx.dialogs.answerInput("12,5");
    fx.dialogs.answerInput(" 12.5 ");
    fx.dialogs.clear();
    fx.cheat->Command3_Click();
    std::vector<std::string> messages;
    for (const Call& call : fx.dialogs.calls()) {
        if (!call.input) {
            messages.push_back(call.prompt);
        }
    }
    EXPECT_EQ(messages, std::vector<std::string>{"Please enter a number!"});
    EXPECT_EQ(fx.f().Score - before, 12);
}

TEST(CheatPanel, AddOnsAndWeaponsActOnTheRunningGameAndNeverBothAddOns) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    CheatPanelModel& c = *fx.cheat;
    fx.startGame();
    c.setWeaponOption(3);
    EXPECT_EQ(g.Weapon, 3);
    c.setChecked(CheatBox::DblCanons, true);
    EXPECT_EQ(g.Cannons, 2);
    c.setChecked(CheatBox::DblCanons, false);
    EXPECT_EQ(g.Cannons, 1);
    c.setChecked(CheatBox::MissileSwirler, true);
    EXPECT_TRUE(g.MissileSwirler);
    c.setChecked(CheatBox::MissileWaver, true);
    EXPECT_TRUE(c.checked(CheatBox::MissileWaver));
    EXPECT_FALSE(c.checked(CheatBox::MissileSwirler));
    EXPECT_TRUE(g.MissileWaver);
    EXPECT_FALSE(g.MissileSwirler);
    c.setChecked(CheatBox::MissileSwirler, true);
    EXPECT_FALSE(c.checked(CheatBox::MissileWaver));
    EXPECT_FALSE(g.MissileWaver);
    EXPECT_TRUE(g.MissileSwirler);
    c.setChecked(CheatBox::MirrorCtrls, true);
    EXPECT_TRUE(g.MirrorControls);

    const VbInteger lives = g.LivesLeft;
    c.CheatBtnLife_Click(0);
    EXPECT_EQ(g.LivesLeft, lives + 1);
    c.CheatBtnLife_Click(1);
    EXPECT_EQ(g.LivesLeft, lives);
}

TEST(CheatPanel, RecordBoxesAreWhatTheEngineReadsAndClicksGiveTheKeysBack) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    CheatPanelModel& c = *fx.cheat;
    struct Case {
        CheatBox box;
        bool GameForm::*field;
        int focus;
    };
    const Case cases[] = {
        {CheatBox::AlienCantDie, &GameForm::CheatCheckAlienCantDie, 0},
        {CheatBox::ShakeOff, &GameForm::CheatCheckShakeOff, 1},
        {CheatBox::NoReset, &GameForm::CheatCheckNoReset, 1},
        {CheatBox::AliensDontShoot, &GameForm::CheatCheckAliensDontShoot, 1},
        {CheatBox::NoPoints, &GameForm::CheatCheckNoPoints, 1},
        {CheatBox::AliensDontMove, &GameForm::CheatCheckAliensDontMove, 1},
        {CheatBox::Shield, &GameForm::CheatCheckShield, 1},
    };
    for (const Case& k : cases) {
        const int focus = fx.focusCalls;
        c.setChecked(k.box, true);
        EXPECT_TRUE(g.*(k.field));
        EXPECT_TRUE(c.checked(k.box));
        EXPECT_EQ(fx.focusCalls - focus, k.focus);
        c.setChecked(k.box, false);
        EXPECT_FALSE(g.*(k.field));
    }
    const int resizes = fx.resizeCalls;
    const int focus = fx.focusCalls;
    c.setChecked(CheatBox::LeftAlignGamePane, true);
    EXPECT_EQ(fx.resizeCalls, resizes + 1);
    EXPECT_EQ(fx.focusCalls, focus);
    c.Frame_Click();
    EXPECT_EQ(fx.focusCalls, focus + 1);
}

TEST(CheatPanel, FreezeAliensForARandomTimeWithBarAndSound) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    fx.startGame();
    Random::instance().queue(0.5f); // round(4000) + 2000
    fx.cheat->CheatBtnFreezeAliens_Click();
    EXPECT_EQ(g.FrozenAliensTimer.Interval(), 6000);
    EXPECT_TRUE(g.FrozenAliensTimer.Enabled());
    EXPECT_TRUE(g.FrozenAliensCounter.Enabled());
    EXPECT_DOUBLE_EQ(g.FreezeStartTime, fx.clock.timeOfDay());
    EXPECT_TRUE(g.TimeScalaView.Visible);
    EXPECT_EQ(g.TimeScala->Point(g.TimeScala->Width() - 1, 0), 0xFF);
    EXPECT_EQ(fx.played(106), 1);
    fx.clock.advance(6000);
    EXPECT_FALSE(g.FrozenAliensTimer.Enabled());
}

TEST(CheatPanel, UpdateCheatPaneShowsTheWeaponStateOnlyWhileVisible) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    CheatPanelModel& c = *fx.cheat;
    fx.startGame();
    g.Weapon = 2;
    g.Cannons = 2;
    g.MissileSwirler = true;
    g.MirrorControls = true;
    fx.e().UpdateCheatPane();
    EXPECT_EQ(c.weaponOption(), 0);
    EXPECT_FALSE(c.checked(CheatBox::DblCanons));

    const int resizes = fx.resizeCalls;
    c.mnuCheatPanel_Click();
    EXPECT_TRUE(c.CheatPanel.Visible);
    EXPECT_EQ(fx.resizeCalls, resizes + 1);
    EXPECT_EQ(c.weaponOption(), 2);
    EXPECT_TRUE(c.checked(CheatBox::DblCanons));
    EXPECT_TRUE(c.checked(CheatBox::MissileSwirler));
    EXPECT_FALSE(c.checked(CheatBox::MissileWaver));
    EXPECT_TRUE(c.checked(CheatBox::MirrorCtrls));
    EXPECT_EQ(g.Weapon, 2);
    // The engine's resets reach the panel through its hook.
    fx.e().ResetPlayerData();
    EXPECT_EQ(c.weaponOption(), 0);
    EXPECT_FALSE(c.checked(CheatBox::DblCanons));
    EXPECT_FALSE(c.checked(CheatBox::MissileSwirler));
    c.CheatBtnCloseCheatPanel_Click();
    EXPECT_FALSE(c.CheatPanel.Visible);
}

TEST(CheatPanel, JumpToTheThirdLevelAfterAGameOverStartsAFreshGameThere) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    fx.demo->StartDemo();
    fx.clock.advance(200);
    g.Score = 1234;
    g.LivesLeft = 0;
    g.Paused = true;
    g.mnuEndGame.Enabled = false;
    fx.cheat->mnuCheatItems_Click(2);
    EXPECT_FALSE(g.DemoTimer.Enabled());
    EXPECT_FALSE(g.DemoFrameTimer.Enabled());
    EXPECT_FALSE(g.Paused);
    EXPECT_FALSE(fx.mnuNewGame.Enabled);
    EXPECT_TRUE(g.mnuEndGame.Enabled);
    EXPECT_FALSE(g.GameOverFlag);
    EXPECT_EQ(g.CurrentLevel, 2);
    EXPECT_EQ(g.Score, 0);
    EXPECT_EQ(g.LivesLeft, g.StartLives);
    EXPECT_EQ(g.MessageText, "Get ready for level 3|[Level 3]");

    // During a game the level is replaced and the score stays.
    ASSERT_TRUE(fx.runUntil([&] { return !g.LevelStarting; }, 10000));
    g.Score = 777;
    fx.cheat->mnuCheatItems_Click(0);
    EXPECT_EQ(g.CurrentLevel, 0);
    EXPECT_EQ(g.Score, 777);
}

TEST(CheatPanel, DraggingMovesThePanelOnlyWithTheLeftButton) {
    ShellPartsFixture fx;
    CheatPanelModel& c = *fx.cheat;
    c.CheatPanel.Left = 100;
    c.CheatPanel.Top = 50;
    c.CheatPanel_MouseDown(2, 0, 10, 10);
    c.CheatPanel_MouseMove(2, 0, 30, 40);
    EXPECT_EQ(c.CheatPanel.Left, 100);
    EXPECT_FALSE(fx.f().CheatPanelDrag);

    c.CheatPanel_MouseDown(1, 0, 10.5, 9.6); // grab point rounds to 10, 10
    EXPECT_TRUE(fx.f().CheatPanelDrag);
    c.CheatPanel_MouseMove(1, 0, 30, 40);
    EXPECT_EQ(c.CheatPanel.Left, 120);
    EXPECT_EQ(c.CheatPanel.Top, 80);
    c.CheatPanel_MouseMove(3, 0, 50, 50); // not exactly the left button
    EXPECT_EQ(c.CheatPanel.Left, 120);
    c.CheatPanel_MouseUp(1, 0, 30, 40);
    EXPECT_FALSE(fx.f().CheatPanelDrag);
    c.CheatPanel_MouseMove(1, 0, 300, 400);
    EXPECT_EQ(c.CheatPanel.Left, 120);
    // No bounds: the panel may leave the window.
    c.CheatPanel_MouseDown(1, 0, 0, 0);
    c.CheatPanel_MouseMove(1, 0, -500, -500);
    EXPECT_EQ(c.CheatPanel.Left, -380);
}

TEST(CheatPanel, WidgetShowsTheModelAndForwardsClicks) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    CheatPanelModel& c = *fx.cheat;
    CheatPanel w(c, nullptr);
    EXPECT_FALSE(w.isVisible());
    fx.startGame();
    c.mnuCheatPanel_Click();
    EXPECT_FALSE(w.isHidden());

    w.box(CheatBox::NoPoints)->click();
    EXPECT_TRUE(g.CheatCheckNoPoints);
    w.box(CheatBox::MissileSwirler)->click();
    w.box(CheatBox::MissileWaver)->click();
    EXPECT_TRUE(w.box(CheatBox::MissileWaver)->isChecked());
    EXPECT_FALSE(w.box(CheatBox::MissileSwirler)->isChecked());
    w.weapon(1)->click();
    EXPECT_EQ(g.Weapon, 1);

    // A change from the engine shows at once.
    g.Weapon = 0;
    fx.e().ResetLevelStatus();
    EXPECT_TRUE(w.weapon(0)->isChecked());

    // Without a game the add-on box does not keep its mark.
    g.GameOverFlag = true;
    w.box(CheatBox::DblCanons)->click();
    EXPECT_FALSE(w.box(CheatBox::DblCanons)->isChecked());
    // A press on a frame's background gives the keys back and starts no drag; one on the
    // panel's own background does.
    auto press = [](QWidget* target, Qt::MouseButton b) {
        QMouseEvent ev(QEvent::MouseButtonPress, QPointF(3, 3), target->mapToGlobal(QPointF(3, 3)),
                       b, b, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &ev);
    };
    const int focus = fx.focusCalls;
    press(w.findChild<QWidget*>("Frame1"), Qt::LeftButton);
    EXPECT_EQ(fx.focusCalls, focus + 1);
    EXPECT_FALSE(g.CheatPanelDrag);
    press(&w, Qt::RightButton);
    EXPECT_FALSE(g.CheatPanelDrag);
    press(&w, Qt::LeftButton);
    EXPECT_TRUE(g.CheatPanelDrag);
    EXPECT_EQ(g.CheatPanelDragX, 3);

    w.button("CheatBtnCloseCheatPanel")->click();
    EXPECT_FALSE(c.CheatPanel.Visible);
    EXPECT_TRUE(w.isHidden());
}

} // namespace
