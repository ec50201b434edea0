#pragma once

#include "VbTypes.h"

#include <functional>
#include <string>

struct GameForm;
class InfoModel;

// Internet hiscores: the mode switch, the refresh, the table download and the score upload,
// working on the game window's record. The mode is the check mark of mnuUseInternetHiscore.
class InternetMode {
public:
    InternetMode(GameForm& form, InfoModel& info);

    // The transfer: the reply's body, or VbError (number, description) when no reply came.
    std::function<std::string(const std::string& url)> openUrl;

    void mnuUseInternetHiscore_Click();
    void mnuUpdateInternetHiscoresNow_Click();
    void DownloadInternetHiscores();
    void SendHiscore(VbLong Score, VbLong Level, const std::string& Name);

    // Where the server's table is kept while the mode is on.
    static std::string downloadedTablePath();

private:
    void switchOff();
    void readHiscores();
    std::string displayName() const;

    GameForm& f;
    InfoModel& info_;
};
