#include "GameShell.h"
#include "IgnoringFailures.h"
#include "Settings.h"
#include "WindowHelpers.h"

namespace {

constexpr std::uint32_t CaptionAndBorder = 0x00C40000;

} // namespace

void GameShell::SetFullscreenWindow(bool& Enable) {
    try {
        if (!f.Display) {
            f.Display = std::make_unique<DirectX7Display>();
        }
        if (Enable) {
            f.mnuFile.Visible = false;
            w.setMenuBarVisible(false);
            f.Display->SetDisplayMode(
                static_cast<VbInteger>(f.ModeWidth), static_cast<VbInteger>(f.ModeHeight),
                static_cast<VbInteger>(f.ModeFreq), static_cast<std::uint8_t>(f.ModeBits));
            DoEvents();
            w.setStyleBits(CaptionAndBorder, false);
            DoEvents();
            w.coverScreen(f.Display->GetDisplayWidth(), f.Display->GetDisplayHeight());
            f.FocusTimer.setEnabled(true);
            f.InFullScreen = true;
            f.UpdateGradient.setEnabled(true);
        } else {
            f.mnuFile.Visible = true;
            w.setMenuBarVisible(true);
            f.Display->RestoreDisplayMode();
            w.leaveCoverScreen();
            w.setStyleBits(CaptionAndBorder, true);
            DoEvents();
            f.FocusTimer.setEnabled(true);
            f.InFullScreen = false;
        }
    } catch (const std::exception&) {
        SaveSetting(GameTitle, "DEVMODE", "lERROR", "1");
        if (f.Display) {
            // Our own switch does not outlive us: the desktop comes back on the way out.
            ignoringFailures([&] { f.Display->RestoreDisplayMode(); });
        }
        unloaded_ = true;
        w.endProgram();
    }
}

void GameShell::Form_Resize() {
    // A layout that cannot be computed now is computed again at the next resize.
    ignoringFailures([&] {
        const double iw = w.innerWidth();
        const double ih = w.innerHeight();
        if (Flimmer.Visible) {
            Flimmer.Left = 0;
            Flimmer.Top = 0;
            Flimmer.Width = iw;
            Flimmer.Height = ih;
            aDisk.Left = iw / 2 - aDisk.Width / 2;
            aDisk.Top = ih / 2 - aDisk.Height / 2;
        }
        if (f.FullScreenWanted) {
            if (!w.minimized() && !f.InFullScreen) {
                bool on = true;
                SetFullscreenWindow(on);
            }
            sync();
            return;
        }
        if (!w.minimized()) {
            f.Pane.Width = PaneSize.Width;
            f.Pane.Height = PaneSize.Height;
            const bool leftAligned = parts.cheatPaneLeftAligned && parts.cheatPaneLeftAligned();
            f.Pane.Left = leftAligned ? 0 : iw / 2 - PaneSize.Width / 2;
            f.Pane.Top = ih / 2 - PaneSize.Height / 2;
        } else if (!f.GameOverFlag) {
            f.Paused = true;
            f.PauseTimer.setEnabled(true);
        }
        sync();
    });
}

void GameShell::UpdateGradient_Timer() {
    f.UpdateGradient.setEnabled(false);
    Form_Resize();
}

void GameShell::FocusTimer_Timer() {
    DoEvents();
    // Another program may keep the focus; the game plays on regardless.
    ignoringFailures([&] { w.focusGame(); });
    f.FocusTimer.setEnabled(false);
}

void GameShell::CheckForgroundWindow_Timer() {
    if (w.programInForeground() || programHiscoreGlobals().HiscoreDialogOpen != VbFalse) {
        return;
    }
    if (!f.GameOverFlag && !f.Paused) {
        f.Paused = true;
        f.PauseTimer.setEnabled(true);
        f.lbPause.Visible = true;
    }
    if (f.InFullScreen) {
        f.FullScreenWanted = true;
        bool off = false;
        SetFullscreenWindow(off);
        DoEvents();
        w.minimize();
    }
    sync();
}
