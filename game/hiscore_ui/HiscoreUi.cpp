#include "HiscoreUi.h"

#include "GameEngine.h"
#include "GameForm.h"
#include "HiscoreModel.h"
#include "InfoModel.h"

HiscoreUi::HiscoreUi(GameForm& form, GameEngine& engine, QWidget* window)
    : Panel(form), form_(form), info_(makeInfoWindow(window)),
      internet_(std::make_unique<InternetMode>(form, *info_)) {
    form.HiscorePrintTimer.onTick = [this] { Panel.HiscorePrintTimer_Timer(); };
    LevelsHiscoresSeams& s = form.LevelSet.seams;
    s.repaintHiscores = [this] { Panel.HiscorePrintTimer_Timer(); };
    s.internetMode = [&form] { return form.mnuUseInternetHiscore.Checked; };
    s.sendHiscore = [this](VbLong score, VbLong level, const std::string& name) {
        internet_->SendHiscore(score, level, name);
    };
    s.showHiscoreNameEntry = [&form, &engine, window] {
        showHiscoreNameEntry(
            programHiscoreGlobals(), form.Score,
            [&engine](VbInteger id) { engine.LocalPlaySound(id); }, window);
    };
}

HiscoreUi::~HiscoreUi() {
    form_.HiscorePrintTimer.onTick = nullptr;
    LevelsHiscoresSeams& s = form_.LevelSet.seams;
    s.repaintHiscores = nullptr;
    s.sendHiscore = nullptr;
    s.showHiscoreNameEntry = nullptr;
}
