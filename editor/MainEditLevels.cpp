// The level list: the shown level's pictures, the Levels menu, navigation, speed and name.
#include "DialogService.h"
#include "MainEditModel.h"

void MainEditModel::showPicture(PlacedPicture& pic, int kind) {
    if (kind >= 0 && kind < static_cast<int>(CurMonster.size())) {
        pic.Kind = kind;
        pic.Width = CurMonster[kind].Width();
        pic.Height = CurMonster[kind].Height();
    } else {
        // No palette picture for such a kind (only a hand-made file holds one).
        pic.Kind = -1;
        pic.Width = 0;
        pic.Height = 0;
    }
}

void MainEditModel::ReloadPane() {
    Mz.resize(1);
    Mz[0].Visible = false;
    const EditLevelRec& level = EditLevels[CurLevel];
    if (!level.Aliens.empty() && level.Aliens[0].Type > -1) {
        Mz.resize(level.Aliens.size());
        for (std::size_t i = 0; i < level.Aliens.size(); ++i) {
            const EditAlienRec& a = level.Aliens[i];
            showPicture(Mz[i], a.Type);
            Mz[i].Left = a.X;
            Mz[i].Top = a.Y;
            Mz[i].Visible = true;
        }
        LastAlien = static_cast<VbInteger>(level.Aliens.size() - 1);
    } else {
        LastAlien = -1;
    }
    // Written as a user's edit would be: the handlers run when the value changes.
    const int speedIndex =
        level.Speed >= 1 && level.Speed <= editorui::speedItems ? level.Speed - 1 : -1;
    if (speedIndex != SpeedIndex) {
        SpeedIndex = speedIndex;
        Speed_Click();
    }
    if (level.Name != Text1) {
        Text1 = level.Name;
        Text1_Change();
    }
}

void MainEditModel::mnuAddLevel_Click() {
    if (LastAlien == -1) {
        MsgBox("Please add one or more creatures!", mb::Exclamation);
        return;
    }
    EditLevelRec level = emptyEditLevel(static_cast<int>(EditLevels.size()) + 1);
    level.Speed = EditLevels.back().Speed;
    EditLevels.push_back(std::move(level));
    LastAlien = -1;
    CurAlien = -1;
    CurLevel = static_cast<VbInteger>(EditLevels.size() - 1);
    Saved = VbFalse;
    ReloadPane();
}

void MainEditModel::mnuClearLevel_Click() {
    if (MsgBox("Are you sure ?", mb::OKCancel + mb::Exclamation) == mb::Cancel) {
        return;
    }
    EditLevels[CurLevel] = emptyEditLevel(CurLevel + 1);
    CurAlien = -1;
    LastAlien = -1;
    Saved = VbFalse;
    ReloadPane();
}

void MainEditModel::mnuDeleteLevel_Click() {
    if (EditLevels.size() == 1) {
        MsgBox("You can't remove level 1\r\n\r\nUse Clear level, to clear it!", mb::Information);
        return;
    }
    if (MsgBox("Are you sure ?", mb::OKCancel + mb::Exclamation, "DELETE?") == mb::Cancel) {
        return;
    }
    EditLevels.erase(EditLevels.begin() + CurLevel);
    CurAlien = -1;
    if (CurLevel > static_cast<int>(EditLevels.size()) - 1) {
        --CurLevel;
    }
    Saved = VbFalse;
    ReloadPane();
}

void MainEditModel::Command1_Click(int Index) {
    const int last = static_cast<int>(EditLevels.size()) - 1;
    if (Index == 0 && CurLevel < last) {
        ++CurLevel;
    } else if (Index == 1 && CurLevel >= 1) {
        --CurLevel;
    } else {
        return;
    }
    CurAlien = -1;
    Reloading = VbTrue;
    ReloadPane();
    Reloading = VbFalse;
}

void MainEditModel::Command2_Click() {
    ReloadPane();
}

void MainEditModel::Speed_Click() {
    if (SpeedIndex >= 0 && SpeedIndex < editorui::speedItems) {
        EditLevels[CurLevel].Speed = static_cast<VbInteger>(SpeedIndex + 1);
    }
    if (!Reloading) {
        Saved = VbFalse;
    }
}

void MainEditModel::Text1_Change() {
    EditLevels[CurLevel].Name = Text1;
    if (!Reloading) {
        Saved = VbFalse;
    }
}

void MainEditModel::Timer1_Timer() {
    Picture1.Cls();
    Picture1.Print("CURRENT LEVEL : " + std::to_string(CurLevel + 1) + " / " +
                   std::to_string(EditLevels.size()));
    Picture1.Refresh();
}
