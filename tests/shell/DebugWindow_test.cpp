#include "ShellPartsFixture.h"
#include "frmControl.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

constexpr std::int32_t Green = 0x00FF00;
constexpr std::int32_t Red = 0x0000FF;

TEST(DebugWindow, ListsEveryTimerWithStateIntervalAndKindThenTheOverlay) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    g.MainLoop.setInterval(20);
    g.MainLoop.setEnabled(true);
    g.MoveAliensTimer.setInterval(1000);
    g.PicDispView.Visible = true;
    const std::vector<DebugLine> lines = debugLines(g);
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[0].text, "MainLoop : True(20)");
    EXPECT_TRUE(lines[0].bold);
    EXPECT_EQ(lines[0].color, Green);
    EXPECT_EQ(lines[1].text, "MoveAliensTimer : False(1000)");
    EXPECT_EQ(lines[1].color, Red);
    EXPECT_EQ(lines[24].text, "CheckForgroundWindow : True(500)");
    EXPECT_FALSE(lines[24].bold);
    EXPECT_EQ(lines[25].text, "c64Screen : False(500)");
    EXPECT_FALSE(lines[25].bold);
    EXPECT_EQ(lines[29].text, "PicDisp:True");
    EXPECT_EQ(lines[29].color, Green);
    g.PicDispView.Visible = false;
    EXPECT_EQ(debugLines(g).back().text, "PicDisp:False");
    EXPECT_EQ(debugLines(g).back().color, Red);
}

TEST(DebugWindow, OpensAndClosesByToggleAndByItsOwnCloseBox) {
    ShellPartsFixture fx;
    GameForm& g = fx.f();
    ASSERT_FALSE(DebugPanelOpen);
    frmControl::toggle(g, nullptr);
    ASSERT_TRUE(DebugPanelOpen);
    frmControl* w = frmControl::instance();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Threads (timer objects)");
    EXPECT_TRUE(w->Tmr1.Enabled());
    EXPECT_EQ(w->Tmr1.Interval(), 50);

    // The list is painted every 50 ms: an enabled timer's line shows green.
    fx.clock.advance(50);
    bool green = false;
    for (int y = 0; y < 14 * 25 && !green; ++y) {
        for (int x = 0; x < 200 && !green; ++x) {
            green = w->text().Point(x, y) == Green;
        }
    }
    EXPECT_TRUE(green);

    w->Check1->click();
    EXPECT_FALSE(g.pMain->AutoRedraw());
    w->Check2->click();
    EXPECT_FALSE(g.pBack->AutoRedraw());
    w->Check1->click();
    EXPECT_TRUE(g.pMain->AutoRedraw());

    // Its own close box.
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(DebugPanelOpen);
    EXPECT_EQ(frmControl::instance(), nullptr);
    // The next F12 opens it again, and the one after closes it.
    frmControl::toggle(g, nullptr);
    EXPECT_TRUE(DebugPanelOpen);
    frmControl::toggle(g, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(DebugPanelOpen);
}

} // namespace
