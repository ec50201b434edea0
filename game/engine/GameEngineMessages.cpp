// The message overlay with its fades, the score and level displays, flash, shake and the
// blinking pause label.
#include "Ansi.h"
#include "EngineMath.h"
#include "GameEngine.h"
#include "Numbers.h"
#include "Random.h"

#include <QLocale>
#include <algorithm>
#include <cstdlib>
#include <string>

using engine::px;
using engine::rnd;

namespace {

std::string groupSeparator() {
    const std::string sep = ansi::fromQString(QLocale().groupSeparator());
    return sep.size() == 1 && sep != "?" ? sep : std::string(",");
}

} // namespace

// The pattern "###,###,000".
std::string FormatPoints(VbLong score) {
    std::string digits = num::toText(static_cast<std::int64_t>(std::llabs(score)));
    while (digits.size() < 3) {
        digits.insert(digits.begin(), '0');
    }
    const std::string sep = groupSeparator();
    std::string out;
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += sep;
        }
        out += digits[static_cast<std::size_t>(i)];
    }
    return score < 0 ? "-" + out : out;
}

void GameEngine::PrintMessage(const std::string& Text, VbInteger Duration, VbLong Color,
                              VbLong FadeFrom, float FontSize) {
    Surface& disp = *f.PicDisp;
    f.MessageFadeState = 0;
    f.MessageText = Text;
    disp.setFontSize(FontSize > 0 ? FontSize : 1);
    const int lines = 1 + static_cast<int>(std::count(Text.begin(), Text.end(), '|'));
    std::string broken;
    for (char c : Text) {
        if (c == '|') {
            broken += "\r\n";
        } else {
            broken += c;
        }
    }
    disp.setSize(disp.TextWidth(broken), lines * disp.TextHeight(Text));
    f.PicDispView.Width = disp.Width();
    f.PicDispView.Height = disp.Height();
    f.PicDispView.Top = f.pMain->ScaleHeight() / 2.0 - disp.Height() / 2.0;
    f.PicDispView.Left = f.pMain->Width() / 2.0 - disp.Width() / 2.0;
    f.PicDispView.Visible = true;
    if (Color < 0) {
        disp.setForeColor(0xFFFF);
        f.MessageColor = 0xFFFF;
    } else if (FadeFrom >= 0) {
        disp.setForeColor(FadeFrom);
        f.MessageFader.setEndColor(Color);
        f.MessageFader.setStartColor(FadeFrom);
        f.FadeTimer.setEnabled(true);
    } else {
        // Without a fade the text is painted in its own colour at once.
        disp.setForeColor(Color);
        f.MessageColor = Color;
    }
    f.PaintDisplayTimer.setEnabled(true);
    PaintDisplayTimer_Timer();
    if (Duration >= 0) {
        f.HideMessage.setEnabled(false);
        f.HideMessage.setInterval(0);
        f.HideMessage.setInterval(Duration);
        f.HideMessage.setEnabled(true);
    }
}

void GameEngine::PaintDisplayTimer_Timer() {
    if (f.Paused) {
        return;
    }
    Surface& disp = *f.PicDisp;
    disp.Cls();
    disp.setCurrentY(0);
    std::string line;
    auto printLine = [&] {
        disp.setForeColor(f.MessageColor);
        disp.setCurrentX(disp.ScaleWidth() / 2.0 - disp.TextWidth(line) / 2.0);
        disp.Print(line);
        line.clear();
    };
    for (char c : f.MessageText) {
        if (c == '|') {
            printLine();
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        printLine();
    }
    if (f.PicDispView.Visible) {
        // The running game shows through the overlay.
        BitBlt(disp, 0, 0, disp.Width(), disp.Height(), *f.pMain, px(f.PicDispView.Left),
               px(f.PicDispView.Top), rop::SRCPAINT);
    }
    disp.Refresh();
}

void GameEngine::FadeTimer_Timer() {
    if (f.Paused) {
        return;
    }
    const VbLong c = f.MessageFader.GetNextColor();
    if (c != -1) {
        f.MessageColor = c;
    } else {
        f.FadeTimer.setEnabled(false);
    }
}

void GameEngine::HideMessage_Timer() {
    if (f.Paused) {
        return;
    }
    f.HideMessage.setEnabled(false);
    f.PaintDisplayTimer.setEnabled(true);
    f.MessageFader.setStartColor(f.PicDisp->ForeColor());
    f.MessageFader.setEndColor(0);
    f.MessageFadeState = 1;
    f.HideFade.setEnabled(true);
}

void GameEngine::HideFade_Timer() {
    if (f.Paused) {
        return;
    }
    const VbLong c = f.MessageFader.GetNextColor();
    if (c != -1) {
        f.MessageColor = c;
        return;
    }
    if (f.MessageFadeState != 1) {
        f.MessageFadeState = 0;
        return;
    }
    f.MessageFadeState = 2;
    if (f.LevelStarting) {
        StartGame();
        if (f.mnuWaitForFire.Checked) {
            f.WaitingForFire = true;
            f.PlaceShipTimer.setEnabled(false);
            MainLoop_Timer();
            if (SetPause) {
                SetPause();
            }
        }
    }
    f.HideFade.setEnabled(false);
    f.PicDispView.Visible = false;
    f.MessageText.clear();
    f.PaintDisplayTimer.setEnabled(false);
    f.CreditTimer.setEnabled(f.CreditsRunning);
}

void GameEngine::HideMessageNOW() {
    // Gone at once: a fade still running would otherwise end in its follow-up (the game
    // start, the next credits page).
    f.FadeTimer.setEnabled(false);
    f.HideFade.setEnabled(false);
    f.MessageFadeState = 2;
    f.PicDispView.Visible = false;
    f.MessageText.clear();
    f.HideMessage.setEnabled(false);
    f.HideMessage.setInterval(0);
    f.PaintDisplayTimer.setEnabled(false);
    f.CreditTimer.setEnabled(false);
}

void GameEngine::printDisplay(Surface& s, const std::string& text) {
    s.Cls();
    const double cy = num::roundHalfEven(s.ScaleHeight() / 2.0 - s.TextHeight(text) / 2.0);
    s.setForeColor(0);
    s.setCurrentX(0);
    s.setCurrentY(cy);
    s.Print(text);
    s.setForeColor(0xFFFF);
    s.setCurrentX(1);
    s.setCurrentY(cy + 1);
    s.Print(text);
}

void GameEngine::UpdatePointsDisplay() {
    printDisplay(*f.ScoreBG, "POINTS:" + FormatPoints(f.Score));
}

void GameEngine::UpdateLevelDisplay() {
    printDisplay(*f.LevelBG, "LEVEL: " + num::toText(static_cast<int>(f.CurrentLevel) + 1));
}

void GameEngine::FlashNow(VbInteger Interval) {
    f.FlashTimer.setInterval(Interval);
    f.FlashTimer.setEnabled(true);
}

void GameEngine::FlashTimer_Timer() {
    Surface& pane = *f.pMain;
    if (!FlashOn) {
        pane.FilledBox(0, 0, pane.ScaleWidth(), pane.ScaleHeight(), 0xFFFFFF);
        FlashOn = true;
    } else {
        FlashOn = false;
        pane.Cls();
        f.FlashTimer.setEnabled(false);
    }
}

void GameEngine::ShakeNow(VbInteger Strength) {
    if (f.CheatMode && f.CheatCheckShakeOff) {
        return;
    }
    f.ShakeStrength = Strength;
    f.ShakeTimer.setEnabled(true);
}

void GameEngine::RndShake(VbInteger Strength) {
    if (f.CheatMode && f.CheatCheckShakeOff) {
        return;
    }
    const int r = rnd(Rnd() * 100.0);
    if (r < 4) {
        f.ShakeStrength = Strength;
        f.ShakeTimer.setEnabled(true);
    }
}

void GameEngine::ShakeTimer_Timer() {
    ControlView& pane = f.Pane;
    if (ShakeCounter == 0) {
        ShakeHomeLeft = px(pane.Left);
        ShakeHomeTop = px(pane.Top);
        ShakeCounter = f.ShakeStrength;
    }
    if (!ShakeReturning) {
        ShakeCounter = static_cast<VbInteger>(ShakeCounter - 1);
        if (ShakeCounter < 2) {
            ShakeReturning = true;
            return;
        }
        const int dx = rnd(Rnd() * ShakeCounter);
        const int dy = rnd(Rnd() * ShakeCounter);
        pane.Left += rnd(Rnd()) == 1 ? dx : -dx;
        pane.Top += rnd(Rnd()) == 1 ? dy : -dy;
        return;
    }
    bool bigStep = false;
    auto glide = [&bigStep](ViewField<double>& v, double home) {
        if (v > home) {
            if (v - home >= 4) {
                v -= 4;
                bigStep = true;
            } else {
                v -= 1;
            }
        } else if (v < home) {
            if (home - v >= 4) {
                v += 4;
                bigStep = true;
            } else {
                v += 1;
            }
        }
    };
    glide(pane.Left, ShakeHomeLeft);
    glide(pane.Top, ShakeHomeTop);
    if (!bigStep) {
        f.ShakeTimer.setEnabled(false);
        ShakeCounter = 0;
        pane.Left = ShakeHomeLeft;
        pane.Top = ShakeHomeTop;
        ShakeReturning = false;
    }
}

void GameEngine::PauseTimer_Timer() {
    if (!f.Paused) {
        f.PauseTimer.setEnabled(false);
        f.lbPause.Visible = false;
    } else {
        f.lbPause.Visible = !f.lbPause.Visible;
    }
}
