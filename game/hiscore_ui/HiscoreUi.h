#pragma once

#include "HiscorePanel.h"
#include "InternetMode.h"

#include <memory>

struct GameForm;
class GameEngine;
class InfoModel;
class QWidget;

// The hiscore parts of the game window put together: the panel on HiscorePrintTimer, the
// name entry, internet mode and its status window, joined to the level set's seams. The
// game window makes one after its engine.
class HiscoreUi {
public:
    HiscoreUi(GameForm& form, GameEngine& engine, QWidget* window = nullptr);
    ~HiscoreUi();

    HiscorePanel Panel;
    InternetMode& Internet() { return *internet_; }

private:
    GameForm& form_;
    std::unique_ptr<InfoModel> info_;
    std::unique_ptr<InternetMode> internet_;
};

// The status window on screen, raised above the game window every second.
std::unique_ptr<InfoModel> makeInfoWindow(QWidget* parent);
