// The property popup's commands: each applies to every targeted alien.
#include "MainEditModel.h"

void MainEditModel::mnuSetType_Click(int Index) {
    if (Index < 0 || Index >= editorui::alienKinds) {
        return;
    }
    EditLevelRec& level = EditLevels[CurLevel];
    for (int i = 0; i < static_cast<int>(Mz.size()); ++i) {
        if (targeted(i)) {
            level.Aliens[i].Type = static_cast<VbInteger>(Index);
            showPicture(Mz[i], Index);
        }
    }
    Saved = VbFalse;
}

void MainEditModel::mnuSetHits_Click(int Index) {
    if (Index < 0 || Index >= editorui::hitsItems) {
        return;
    }
    mnuSetHitsChecked.fill(false);
    mnuSetHitsChecked[Index] = true;
    EditLevelRec& level = EditLevels[CurLevel];
    for (int i = 0; i < static_cast<int>(Mz.size()); ++i) {
        if (targeted(i)) {
            level.Aliens[i].Hits = Index + 1;
        }
    }
    Saved = VbFalse;
}

void MainEditModel::mnuSetDrops_Click(int Index) {
    if (Index < 0 || Index >= editorui::dropsItems) {
        return;
    }
    mnuSetDropsChecked.fill(false);
    mnuSetDropsChecked[Index] = true;
    EditLevelRec& level = EditLevels[CurLevel];
    for (int i = 0; i < static_cast<int>(Mz.size()); ++i) {
        if (targeted(i)) {
            level.Aliens[i].Drops = Index == 0 ? -1 : Index - 1;
        }
    }
    Saved = VbFalse;
}

void MainEditModel::mnuShoots_Click() {
    EditLevelRec& level = EditLevels[CurLevel];
    if (CurAlien < 0 || CurAlien > LastAlien) {
        return;
    }
    const VbInteger v = level.Aliens[CurAlien].Shoots != 1 ? 1 : 0;
    for (int i = 0; i < static_cast<int>(Mz.size()); ++i) {
        if (targeted(i)) {
            level.Aliens[i].Shoots = v;
        }
    }
    mnuShootsChecked = level.Aliens[CurAlien].Shoots == 1;
    Saved = VbFalse;
}
