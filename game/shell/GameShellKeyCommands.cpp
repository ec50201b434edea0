#include "DialogService.h"
#include "FileRead.h"
#include "GameShell.h"
#include "IgnoringFailures.h"
#include "KeyCodes.h"
#include "Numbers.h"
#include "VbError.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// Asks until the answer is a whole-range number or empty; false for empty.
bool askNumber(const std::string& prompt, double lo, double hi, double& value) {
    for (;;) {
        const std::string answer = InputBox(prompt, GameTitle);
        if (answer.empty()) {
            return false;
        }
        if (!num::isNumber(answer)) {
            MsgBox("Please enter a number!", mb::Exclamation);
            continue;
        }
        const double v = num::leadingNumber(answer);
        if (v < lo || v > hi) {
            MsgBox("Invalid number!", mb::Exclamation);
            continue;
        }
        value = v;
        return true;
    }
}

void setFlag(VbBool& flag, bool on) {
    flag = on ? VbTrue : VbFalse;
}

} // namespace

bool GameShell::askDumpSeries() {
    double interval = 0;
    if (!askNumber("Enter interval in milliseconds (min 100) (max 10000):", 100, 10000, interval)) {
        return false;
    }
    f.AutoDump.setInterval(num::roundHalfEven(interval));
    double count = 0;
    if (!askNumber("Enter number of pictures to make (max 100 (100MB!)):", 1, 100, count)) {
        return false;
    }
    f.AutoDumpCount = num::toInteger(count);
    // A new series counts its pictures from the start, and tells its own failure.
    autoDumpPictures = 0;
    dumpFailureTold_ = false;
    f.AutoDump.setEnabled(true);
    return true;
}

std::string GameShell::nextScreenDumpFile() {
    for (int n = 0; n <= 32767; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%06d.bmp", n);
        std::string path = AppPath() + "screendumps/" + name;
        if (!FileExists(path)) {
            return path;
        }
    }
    return {};
}

void GameShell::takeScreenDump() {
    int x = 0, y = 0, width = 0, height = 0;
    w.outerRect(x, y, width, height);
    if (width <= 0 || height <= 0) {
        return;
    }
    Surface& dump = *picDump;
    dump.setSize(width, height);
    CaptureScreenArea(dump, 0, 0, width, height, x, y);
    dump.setPicture(dump.image().copy());
    const std::string folder = AppPath() + "screendumps";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return; // no folder, no dumps: the player has not asked for them
    }
    const std::string file = nextScreenDumpFile();
    if (file.empty()) {
        throw VbError(
            vberr::PathFileAccess, "Vantorix",
            fileErrorText("Every screen dump name from 000000.bmp to 032767.bmp is taken", folder));
    }
    dump.SavePicture(file);
}

void GameShell::dx8Keyboard1_KeyDown(VbLong KeyCode) {
    // A command that fails leaves the game as it was; the key is simply spent.
    if (anyWindowKeys(KeyCode) || !w.gameWindowActive()) {
        return;
    }
    followTypedCode(KeyCode);
    if (helpPageClosed() || windowCommandKeys(KeyCode) || !f.mnuFile.Enabled) {
        return;
    }
    pauseAndNewGameKeys(KeyCode);
    if (f.GameOverFlag || f.PlaceShipTimer.Enabled()) {
        return;
    }
    playKeys(KeyCode);
}

bool GameShell::anyWindowKeys(VbLong KeyCode) {
    if (KeyCode == keys::AltPrintScreen) {
        bool go = true;
        ignoringFailures([&] { go = askDumpSeries(); });
        // A series not set up spends the key.
        if (!go) {
            return true;
        }
    }
    if (KeyCode == keys::PrintScreen) {
        // A press of its own is told on its own; a series tells its first failure only.
        if (!dumpOfSeries_) {
            dumpFailureTold_ = false;
        }
        try {
            takeScreenDump();
        } catch (const std::exception& err) {
            if (!dumpFailureTold_) {
                // Set first: the series goes on ticking while the box is open.
                dumpFailureTold_ = true;
                // The description names the file.
                MsgBox(std::string("ERROR! Unable to save the screen dump!\r\n\r\n") + err.what(),
                       mb::Exclamation);
            }
        }
    }
    if (KeyCode == keys::F12) {
        ignoringFailures([&] { mnuShowProcessInfo_Click(); });
    }
    return false;
}

void GameShell::followTypedCode(VbLong KeyCode) {
    // The key's decimal text joins the buffer while it still matches.
    const std::string code = CheatCode;
    typedCode += num::toText(static_cast<int>(KeyCode));
    if (typedCode.size() > code.size() || code.compare(0, typedCode.size(), typedCode) != 0) {
        typedCode = num::toText(static_cast<int>(KeyCode));
    } else if (typedCode == code) {
        if (f.mnuUseInternetHiscore.Checked && !f.DeveloperMode) {
            MsgBox("Can't set cheatmode, please turn off INTERNET MODE first!", mb::Critical);
            f.CheatMode = false;
        } else {
            f.CheatMode = !f.CheatMode;
            f.mnuCheat.Visible = f.CheatMode;
            f.cheatsplitter.Visible = f.CheatMode;
        }
        sync();
    }
}

bool GameShell::helpPageClosed() {
    if (!Help.Visible) {
        return false;
    }
    Help.Visible = false;
    sync();
    return true;
}

bool GameShell::windowCommandKeys(VbLong KeyCode) {
    if (KeyCode == keys::F1) {
        ignoringFailures([&] { mnuGameInfo_Click(); });
    }
    if (KeyCode == keys::F5 && f.mnuUseInternetHiscore.Checked &&
        !(parts.InfoWindowOpen && parts.InfoWindowOpen())) {
        ignoringFailures([&] {
            if (parts.mnuUpdateInternetHiscoresNow_Click) {
                parts.mnuUpdateInternetHiscoresNow_Click();
            }
        });
        return true;
    }
    if (KeyCode == keys::F4 && f.CheatMode) {
        ignoringFailures([&] {
            SetPause();
            if (parts.mnuCheatPanel_Click) {
                parts.mnuCheatPanel_Click();
            }
        });
        return true;
    }
    return false;
}

void GameShell::pauseAndNewGameKeys(VbLong KeyCode) {
    if ((KeyCode == keys::Escape || KeyCode == keys::P || KeyCode == keys::Pause) &&
        !f.GameOverFlag) {
        f.Paused = !f.Paused;
        f.PauseTimer.setEnabled(f.Paused);
        f.lbPause.Visible = f.Paused;
        sync();
    }
    if (KeyCode == keys::Space) {
        if (!f.Paused) {
            if (mnuNewGame.Enabled) {
                ignoringFailures([&] { mnuNewGame_Click(); });
            }
        } else {
            f.Paused = false;
            f.PauseTimer.setEnabled(false);
            f.lbPause.Visible = false;
            if (f.WaitingForFire) {
                f.WaitingForFire = false;
                f.ShootTimer.setEnabled(true);
            }
            sync();
        }
    }
}

void GameShell::playKeys(VbLong KeyCode) {
    switch (KeyCode) {
    case keys::Space:
        f.FireHeld = true;
        // The first shot leaves at once; the timer repeats it while the key is held.
        if (!f.LevelStarting && !f.ShootTimer.Enabled()) {
            ignoringFailures([&] { e.ShootTimer_Timer(); });
            f.ShootTimer.setEnabled(true);
        }
        break;
    case keys::Up:
        setFlag(f.ShipSprite.UP, true);
        break;
    case keys::Left:
        setFlag(f.ShipSprite.Left, true);
        break;
    case keys::Right:
        setFlag(f.ShipSprite.Right, true);
        break;
    case keys::Down:
        setFlag(f.ShipSprite.Down, true);
        break;
    default:
        break;
    }
}

void GameShell::dx8Keyboard1_KeyUp(VbLong KeyCode) {
    switch (KeyCode) {
    case keys::Space:
        f.ShootTimer.setEnabled(false);
        f.FireHeld = false;
        break;
    case keys::Up:
        setFlag(f.ShipSprite.UP, false);
        break;
    case keys::Left:
        setFlag(f.ShipSprite.Left, false);
        break;
    case keys::Right:
        setFlag(f.ShipSprite.Right, false);
        break;
    case keys::Down:
        setFlag(f.ShipSprite.Down, false);
        break;
    default:
        break;
    }
}

void GameShell::dx8Joystick1_JoystickChange(VbLong X, VbLong Y, VbLong, VbLong, VbLong, VbLong,
                                            const dx8Joystick::SliderArray&,
                                            const dx8Joystick::ButtonArray& Buttons) {
    // Wide arithmetic: a stored tune of any size cannot overflow the comparisons.
    const std::int64_t t = f.JoystickTune;
    const std::int64_t x = X, y = Y;
    if (x < 5000 - t) {
        dx8Keyboard1_KeyDown(keys::Left);
    } else {
        dx8Keyboard1_KeyUp(keys::Left);
    }
    if (x > 5000 + t) {
        dx8Keyboard1_KeyDown(keys::Right);
    } else {
        dx8Keyboard1_KeyUp(keys::Right);
    }
    if (y < 5000 - t) {
        dx8Keyboard1_KeyDown(keys::Up);
    } else {
        dx8Keyboard1_KeyUp(keys::Up);
    }
    if (y > 5000 + t) {
        dx8Keyboard1_KeyDown(keys::Down);
    } else {
        dx8Keyboard1_KeyUp(keys::Down);
    }
    // A button outside the device's range is never pressed.
    const bool pressed = f.JoystickButton >= 0 &&
                         f.JoystickButton < static_cast<int>(Buttons.size()) &&
                         Buttons[static_cast<std::size_t>(f.JoystickButton)];
    if (pressed) {
        dx8Keyboard1_KeyDown(keys::Space);
    } else {
        dx8Keyboard1_KeyUp(keys::Space);
    }
}

void GameShell::AutoDump_Timer() {
    dumpOfSeries_ = true;
    dx8Keyboard1_KeyDown(keys::PrintScreen);
    dumpOfSeries_ = false;
    DoEvents();
    ++autoDumpPictures;
    if (autoDumpPictures >= f.AutoDumpCount) {
        autoDumpPictures = 0;
        f.AutoDump.setEnabled(false);
    }
}
