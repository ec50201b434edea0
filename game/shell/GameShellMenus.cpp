#include "CommandLine.h"
#include "DialogService.h"
#include "GameShell.h"
#include "Http.h"
#include "IgnoringFailures.h"
#include "Settings.h"

#include <cstdio>

namespace {

const char* flag(const MenuItem& item) {
    return item.Checked ? "True" : "False";
}

} // namespace

void GameShell::pauseShown() {
    f.Paused = true;
    f.PauseTimer.setEnabled(true);
    f.lbPause.Visible = true;
    sync();
}

void GameShell::SetPause() {
    if (!f.GameOverFlag) {
        pauseShown();
    }
}

void GameShell::mnuFile_Click() {
    Help.Visible = false;
    SetPause();
    sync();
}

void GameShell::mnuGameInfo_Click() {
    SetPause();
    Help.Visible = true;
    sync();
}

void GameShell::Help_Click() {
    Help.Visible = false;
    sync();
}

void GameShell::mnuNewGame_Click() {
    if (parts.EndDemo) {
        parts.EndDemo();
    }
    mnuNewGame.Enabled = false;
    e.ResetPlayerData();
    e.StartLevel(f.StartFromLevel);
    f.mnuEndGame.Enabled = true;
    sync();
}

void GameShell::mnuEndGame_Click() {
    const bool was = f.Paused;
    pauseShown();
    const int answer = MsgBox("Are you sure ?", mb::OKCancel + mb::Question, "END GAME");
    DoEvents();
    if (answer == mb::OK) {
        f.Paused = false;
        if (!f.GameOverFlag) {
            e.GameOver();
        }
    } else {
        f.Paused = was;
    }
    sync();
}

void GameShell::mnuExit_Click() {
    VbInteger cancel = 0;
    Form_QueryUnload(cancel, 0);
}

void GameShell::mnuShowProcessInfo_Click() {
    if (parts.mnuShowProcessInfo_Click) {
        parts.mnuShowProcessInfo_Click();
    }
}

void GameShell::mnuMusic_Click() {
    f.mnuMusic.Checked = !f.mnuMusic.Checked;
    if (!f.mnuMusic.Checked) {
        if (music.IsPlaying()) {
            music.StopFile();
        }
    } else {
        StartMusic();
    }
    sync();
}

void GameShell::mnuSound_Click() {
    f.mnuSound.Checked = !f.mnuSound.Checked;
    sync();
}

void GameShell::mnuShipShootSounds_Click() {
    f.mnuShipShootSounds.Checked = !f.mnuShipShootSounds.Checked;
    sync();
}

void GameShell::mnuAlienShootSounds_Click() {
    f.mnuAlienShootSounds.Checked = !f.mnuAlienShootSounds.Checked;
    sync();
}

void GameShell::mnuExplosionSounds_Click() {
    f.mnuExplosionSounds.Checked = !f.mnuExplosionSounds.Checked;
    sync();
}

void GameShell::mnuFastMessages_Click() {
    f.mnuFastMessages.Checked = !f.mnuFastMessages.Checked;
    sync();
}

void GameShell::mnuWaitForFire_Click() {
    f.mnuWaitForFire.Checked = !f.mnuWaitForFire.Checked;
    sync();
}

void GameShell::Form_QueryUnload(VbInteger& Cancel, VbInteger /*UnloadMode*/) {
    if (unloaded_ || unloading_) {
        return;
    }
    if (f.Loading) {
        Cancel = 1;
        return;
    }
    if (!f.GameOverFlag) {
        const bool was = f.Paused;
        pauseShown();
        const int answer =
            MsgBox("Are you sure you wanna quit now?", mb::OKCancel + mb::Question, GameTitle);
        if (answer != mb::OK) {
            f.Paused = was;
            Cancel = 1;
            sync();
            return;
        }
    }
    // Closing goes on whatever the music does.
    ignoringFailures([&] { music.StopFile(); });
    Form_Unload(Cancel);
}

void GameShell::Form_Unload(VbInteger& /*Cancel*/) {
    if (unloaded_ || unloading_) {
        return;
    }
    unloading_ = true;
    // A request that waits for the server ends now, not at its deadline.
    http::cancelWaitingTransfers();
    // Nothing may keep the window from closing; each step below is on its own.
    ignoringFailures([&] { music.CloseObject(); });
    DoEvents();
    stopEveryTimer();
    f.mnuFile.Enabled = false;
    enterUnfinishedScore();
    saveOptions();
    writeHiscoreFile();
    leaveFullScreenForExit();
    removeDownloadedTable();
    DoEvents();
    unloaded_ = true;
    w.endProgram();
}

void GameShell::stopEveryTimer() {
    // Every control disabled: no timer ticks from here on.
    for (Timer* t : {&f.MainLoop,
                     &f.MoveAliensTimer,
                     &f.AlienShootTimer,
                     &f.ShootTimer,
                     &f.PlaceShipTimer,
                     &f.SpriteAnimation,
                     &f.FastAnimationTimer,
                     &f.EndExplosion,
                     &f.CantDieTimer,
                     &f.FrozenAliensTimer,
                     &f.FrozenAliensCounter,
                     &f.PaintDisplayTimer,
                     &f.HideMessage,
                     &f.HideFade,
                     &f.FadeTimer,
                     &f.FlashTimer,
                     &f.ShakeTimer,
                     &f.PauseTimer,
                     &f.HiscorePrintTimer,
                     &f.CreditTimer,
                     &f.UpdateGradient,
                     &f.FocusTimer,
                     &f.FlimmerTimer,
                     &f.DemoSpriteAnimation,
                     &f.CheckForgroundWindow,
                     &f.c64Screen,
                     &f.DemoTimer,
                     &f.DemoFrameTimer,
                     &f.AutoDump}) {
        t->setEnabled(false);
    }
}

void GameShell::enterUnfinishedScore() {
    if (!f.GameOverFlag || f.HiscorePending) {
        // The hiscore part reports its own failures.
        ignoringFailures([&] {
            f.LevelSet.UpdateHiscore(f.Score, f.CurrentLevel, f.StartFromLevel,
                                     toVbBool(f.CheatMode));
        });
        f.HiscorePending = false;
    }
}

void GameShell::saveOptions() {
    if (optionsRestored_) {
        // A lost option must not stop the shutdown.
        ignoringFailures([&] {
            const std::pair<const char*, const char*> keys[] = {{"sfx", "sfx"},
                                                                {"sfx", "music"},
                                                                {"sfx", "shipshoot"},
                                                                {"sfx", "alienshoot"},
                                                                {"sfx", "explosions"},
                                                                {"General", "InternetMode"},
                                                                {"General", "WaitForFire"},
                                                                {"General", "FastMessages"}};
            const MenuItem* items[] = {&f.mnuSound,           &f.mnuMusic,
                                       &f.mnuShipShootSounds, &f.mnuAlienShootSounds,
                                       &f.mnuExplosionSounds, &f.mnuUseInternetHiscore,
                                       &f.mnuWaitForFire,     &f.mnuFastMessages};
            bool saved = true;
            for (std::size_t i = 0; i < std::size(keys); ++i) {
                saved =
                    SaveSetting(GameTitle, keys[i].first, keys[i].second, flag(*items[i])) && saved;
            }
            // Once, not once per option: they all go to the same file.
            if (!saved) {
                MsgBox("ERROR! Unable to save the options!\r\n\r\n" + lastSettingsError(),
                       mb::Exclamation);
            }
        });
    }
}

void GameShell::writeHiscoreFile() {
    // A set that never loaded has no table of its own to write.
    if (!cmdline::hasSwitch(switches_, "-startfromlevel{") &&
        !f.LevelSet.CurrentLevelFile.empty()) {
        // WriteHiscores tells the user itself when the file cannot be written.
        ignoringFailures([&] { f.LevelSet.WriteHiscores(); });
    }
}

void GameShell::leaveFullScreenForExit() {
    if (f.InFullScreen) {
        // The display guard restores the desktop on the way out in any case.
        ignoringFailures([&] {
            bool off = false;
            SetFullscreenWindow(off);
        });
        DoEvents();
    }
}

void GameShell::removeDownloadedTable() {
    // A stale download file is harmless; the next download replaces it.
    ignoringFailures([] {
        const std::string temp = AppPath() + "Original_levels/~idata.hsc";
        if (FileExists(temp)) {
            std::remove(temp.c_str());
        }
    });
}
