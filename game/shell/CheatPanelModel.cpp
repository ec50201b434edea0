#include "CheatPanelModel.h"

#include "Clock.h"
#include "DialogService.h"
#include "GameEngine.h"
#include "Numbers.h"
#include "Random.h"
#include "VbError.h"

#include <string>

namespace {

constexpr int LeftButton = 1;

} // namespace

CheatPanelModel::CheatPanelModel(GameForm& form, GameEngine& engine) : f(form), e(engine) {
    CheatPanel.Visible = false;
    e.UpdateCheatPane = [this] { UpdateCheatPane(); };
}

CheatPanelModel::~CheatPanelModel() {
    e.UpdateCheatPane = nullptr;
}

bool* CheatPanelModel::recordBox(CheatBox box) {
    switch (box) {
    case CheatBox::AlienCantDie:
        return &f.CheatCheckAlienCantDie;
    case CheatBox::ShakeOff:
        return &f.CheatCheckShakeOff;
    case CheatBox::NoReset:
        return &f.CheatCheckNoReset;
    case CheatBox::AliensDontShoot:
        return &f.CheatCheckAliensDontShoot;
    case CheatBox::NoPoints:
        return &f.CheatCheckNoPoints;
    case CheatBox::AliensDontMove:
        return &f.CheatCheckAliensDontMove;
    case CheatBox::Shield:
        return &f.CheatCheckShield;
    default:
        return nullptr;
    }
}

const bool* CheatPanelModel::recordBox(CheatBox box) const {
    return const_cast<CheatPanelModel*>(this)->recordBox(box);
}

bool CheatPanelModel::checked(CheatBox box) const {
    if (const bool* b = recordBox(box)) {
        return *b;
    }
    return own_[static_cast<std::size_t>(box)];
}

void CheatPanelModel::setChecked(CheatBox box, bool on) {
    if (checked(box) == on) {
        return;
    }
    if (bool* b = recordBox(box)) {
        *b = on;
    } else {
        own_[static_cast<std::size_t>(box)] = on;
    }
    click(box);
    if (changed) {
        changed();
    }
}

void CheatPanelModel::setWeaponOption(int index) {
    if (index < 0 || index > 3 || index == weaponOption_) {
        return;
    }
    weaponOption_ = index;
    CheatWeapon_Click(index);
    if (changed) {
        changed();
    }
}

void CheatPanelModel::focus() {
    if (focusPane) {
        focusPane();
    }
}

void CheatPanelModel::click(CheatBox box) {
    const bool on = checked(box);
    switch (box) {
    case CheatBox::LeftAlignGamePane:
        if (Form_Resize) {
            Form_Resize();
        }
        break;
    case CheatBox::AlienCantDie:
        break;
    case CheatBox::MirrorCtrls:
        focus();
        if (gameRuns()) {
            f.MirrorControls = on;
        }
        break;
    case CheatBox::DblCanons:
        focus();
        if (gameRuns()) {
            f.Cannons = static_cast<VbInteger>(on ? 2 : 1);
        } else {
            setChecked(CheatBox::DblCanons, false);
        }
        break;
    case CheatBox::MissileWaver:
        focus();
        if (gameRuns()) {
            f.MissileWaver = on;
            if (on) {
                setChecked(CheatBox::MissileSwirler, false);
            }
        } else {
            setChecked(CheatBox::MissileWaver, false);
        }
        break;
    case CheatBox::MissileSwirler:
        focus();
        if (gameRuns()) {
            f.MissileSwirler = on;
            if (on) {
                setChecked(CheatBox::MissileWaver, false);
            }
        } else {
            setChecked(CheatBox::MissileSwirler, false);
        }
        break;
    default:
        // The engine reads the box itself.
        focus();
        break;
    }
}

void CheatPanelModel::CheatWeapon_Click(int Index) {
    focus();
    if (gameRuns()) {
        f.Weapon = static_cast<VbInteger>(Index);
    } else {
        setWeaponOption(0);
    }
}

void CheatPanelModel::mnuCheatPanel_Click() {
    CheatPanel.Visible = !CheatPanel.Visible;
    UpdateCheatPane();
    if (Form_Resize) {
        Form_Resize();
    }
    if (changed) {
        changed();
    }
}

void CheatPanelModel::UpdateCheatPane() {
    if (!CheatPanel.Visible) {
        return;
    }
    setWeaponOption(f.Weapon);
    setChecked(CheatBox::MissileWaver, f.MissileWaver);
    setChecked(CheatBox::MissileSwirler, f.MissileSwirler);
    setChecked(CheatBox::DblCanons, f.Cannons == 2);
    setChecked(CheatBox::MirrorCtrls, f.MirrorControls);
}

void CheatPanelModel::mnuCheatItems_Click(VbInteger Index) {
    if (EndDemo) {
        EndDemo();
    }
    f.Paused = false;
    if (setNewGameEnabled) {
        setNewGameEnabled(false);
    }
    f.mnuEndGame.Enabled = true;
    if (f.GameOverFlag) {
        e.ResetPlayerData();
    }
    VbInteger level = Index;
    e.StartLevel(level);
}

void CheatPanelModel::Command3_Click() {
    if (!gameRuns()) {
        MsgBox("Why not start a game first?", mb::OKOnly + mb::Critical);
        return;
    }
    for (;;) {
        const std::string text = InputBox("How much?:", "Give Points", "5000");
        if (text.empty()) {
            return;
        }
        if (text.size() > 6) {
            MsgBox("Too much!!", mb::Critical);
            continue;
        }
        if (!num::isNumber(text)) {
            MsgBox("Please enter a number!", mb::Critical);
            continue;
        }
        VbLong points = 0;
        try {
            points = num::toLong(num::leadingNumber(text));
        } catch (const VbError&) {
            return; // beyond 32 bits (exponent form): nothing to give
        }
        // The game may have ended while the box was open; its score is final then.
        if (gameRuns()) {
            e.GivePoints(points);
        }
        return;
    }
}

void CheatPanelModel::CheatBtnLife_Click(int Index) {
    focus();
    if (gameRuns()) {
        e.GiveNewShip(static_cast<VbInteger>(Index == 0 ? 1 : -1));
    }
}

void CheatPanelModel::CheatBtnFreezeAliens_Click() {
    focus();
    if (!gameRuns()) {
        return;
    }
    const int duration = static_cast<int>(num::roundHalfEven(Rnd() * 8000.0)) + 2000;
    f.FrozenAliensTimer.setInterval(duration);
    f.FrozenAliensTimer.setEnabled(true);
    f.FreezeStartTime = TimeOfDay();
    f.FrozenAliensCounter.setEnabled(true);
    Surface& bar = *f.TimeScala;
    bar.FilledBox(0, 0, bar.ScaleWidth(), bar.ScaleHeight(), 0xFF);
    bar.Refresh();
    f.TimeScalaView.Visible = true;
    e.LocalPlaySound(106);
}

void CheatPanelModel::Command1_Click() {
    focus();
    e.ShakeNow(20);
}

void CheatPanelModel::Command2_Click() {
    focus();
    e.FlashNow(10);
}

void CheatPanelModel::Frame_Click() {
    focus();
}

void CheatPanelModel::CheatPanel_MouseDown(int Button, int, double X, double Y) {
    if (Button != LeftButton) {
        return;
    }
    f.CheatPanelDrag = true;
    f.CheatPanelDragX = num::toInteger(X);
    f.CheatPanelDragY = num::toInteger(Y);
}

void CheatPanelModel::CheatPanel_MouseMove(int Button, int, double X, double Y) {
    if (Button != LeftButton || !f.CheatPanelDrag) {
        return;
    }
    CheatPanel.Left = CheatPanel.Left + X - f.CheatPanelDragX;
    CheatPanel.Top = CheatPanel.Top + Y - f.CheatPanelDragY;
    if (changed) {
        changed();
    }
}

void CheatPanelModel::CheatPanel_MouseUp(int Button, int, double, double) {
    if (Button == LeftButton) {
        f.CheatPanelDrag = false;
    }
}
