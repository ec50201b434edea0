#include "LevelsAndHiscores.h"
#include "Settings.h"
#include "WindowFixture.h"

#include <gtest/gtest.h>

TEST(GameShellWindowLayout, PaneIsCentredAndMinimisingPausesAGame) {
    WindowFixture w;
    w.start();
    w.window.innerW = 800;
    w.window.innerH = 600;
    w.s().Form_Resize();
    EXPECT_DOUBLE_EQ(w.f().Pane.Left, 400 - w.s().PaneSize.Width / 2);
    EXPECT_DOUBLE_EQ(w.f().Pane.Top, 300 - w.s().PaneSize.Height / 2);
    w.window.isMinimized = true;
    w.s().Form_Resize();
    EXPECT_FALSE(w.f().Paused); // no game
    w.enableGameMenu();
    w.s().mnuNewGame_Click();
    w.s().Form_Resize();
    EXPECT_TRUE(w.f().Paused);
    EXPECT_TRUE(w.f().PauseTimer.Enabled());
    w.window.isMinimized = false;
    w.s().Form_Resize();
    EXPECT_TRUE(w.f().Paused); // the player resumes
}

TEST(GameShellWindowLayout, CheatPanelLeftAlignsThePane) {
    WindowFixture w;
    w.start();
    bool left = true;
    w.s().parts.cheatPaneLeftAligned = [&] { return left; };
    w.s().Form_Resize();
    EXPECT_DOUBLE_EQ(w.f().Pane.Left, 0);
    left = false;
    w.s().Form_Resize();
    EXPECT_GT(w.f().Pane.Left, 0);
}

TEST(GameShellWindowLayout, AnotherProgramInFront) {
    {
        // No game: leaves full screen and minimises, nothing paused.
        WindowFixture w;
        w.start();
        bool on = true;
        w.s().SetFullscreenWindow(on);
        ASSERT_TRUE(w.f().InFullScreen);
        EXPECT_FALSE(w.window.menuBar);
        w.window.foreground = false;
        w.clock.advance(500);
        EXPECT_FALSE(w.f().InFullScreen);
        EXPECT_TRUE(w.f().FullScreenWanted);
        EXPECT_TRUE(w.window.isMinimized);
        EXPECT_TRUE(w.window.menuBar);
        EXPECT_FALSE(w.f().Paused);
        // Restoring the window goes back to full screen.
        w.window.isMinimized = false;
        w.s().Form_Resize();
        EXPECT_TRUE(w.f().InFullScreen);
    }
    {
        WindowFixture w;
        w.start();
        w.enableGameMenu();
        w.s().mnuNewGame_Click();
        programHiscoreGlobals().HiscoreDialogOpen = VbTrue;
        w.window.foreground = false;
        w.clock.advance(500);
        EXPECT_FALSE(w.f().Paused);
        programHiscoreGlobals().HiscoreDialogOpen = VbFalse;
        w.clock.advance(500);
        EXPECT_TRUE(w.f().Paused);
        EXPECT_TRUE(w.f().lbPause.Visible);
    }
}

TEST(GameShellWindowLayout, FullScreenStartReadsTheStoredModeUnlessWindowed) {
    {
        WindowFixture w;
        SaveSetting("Vantorix", "DEVMODE", "FullScreen", "1");
        SaveSetting("Vantorix", "DEVMODE", "lWidth", "800.5");
        w.start();
        EXPECT_EQ(w.f().ModeWidth, 800); // rounded, halves to even
        EXPECT_EQ(w.f().ModeHeight, w.f().DesktopHeight);
        EXPECT_TRUE(w.f().InFullScreen);
        EXPECT_EQ(w.f().c64Screen.Interval(), 1500);
        w.s().mnuExit_Click();
        EXPECT_FALSE(w.f().InFullScreen); // shutdown leaves full screen
    }
    {
        WindowFixture w;
        SaveSetting("Vantorix", "DEVMODE", "FullScreen", "1");
        SaveSetting("Vantorix", "DEVMODE", "lWidth", "800");
        w.start("-window -noamiga -nosfx");
        EXPECT_EQ(w.f().ModeWidth, 0);
        EXPECT_FALSE(w.f().InFullScreen);
        EXPECT_EQ(w.window.outerW, 609);
    }
}
