#include "InternetMode.h"

#include "Clock.h"
#include "DialogService.h"
#include "FileWrite.h"
#include "GameForm.h"
#include "Http.h"
#include "InfoModel.h"
#include "InternetRequests.h"
#include "QFTModule.h"
#include "TextCase.h"
#include "VbError.h"

namespace {

std::string failureText(const VbError& e) {
    return e.Description() + "\r\nCode:" + std::to_string(e.Number());
}

} // namespace

InternetMode::InternetMode(GameForm& form, InfoModel& info)
    : openUrl([](const std::string& url) { return http::OpenURL(url); }), f(form), info_(info) {}

std::string InternetMode::downloadedTablePath() {
    return AppPath() + "Original_levels/~idata.hsc";
}

std::string InternetMode::displayName() const {
    return serverDisplayName(f.ServerAddress);
}

void InternetMode::readHiscores() {
    try {
        f.LevelSet.ReadHiscores();
    } catch (const VbError&) {
        // ReadHiscores has shown the failure and left the default table; play goes on.
    }
}

void InternetMode::switchOff() {
    f.mnuUseInternetHiscore.Checked = false;
    f.mnuUpdateInternetHiscoresNow.Visible = false;
    readHiscores();
}

void InternetMode::mnuUseInternetHiscore_Click() {
    if (f.CheatMode && !f.DeveloperMode) {
        f.mnuUseInternetHiscore.Checked = false;
        MsgBox("Please turn CheatMode off, before entering the INTERNET MODE!!", mb::Critical);
    } else if (!f.GameOverFlag) {
        MsgBox("You must end current game, before you can enable this feature!", mb::Exclamation);
        return;
    } else if (!f.LevelSet.BinaryLevels) {
        MsgBox("Internet mode is only allowed with the original levelfile.\r\nPlease start "
               "Vantorix without -loadlevels{levelfile} to be able to play Internet Mode.",
               mb::Exclamation);
        return;
    } else {
        f.mnuUseInternetHiscore.Checked = !f.mnuUseInternetHiscore.Checked;
    }
    if (f.mnuUseInternetHiscore.Checked) {
        // The local table is saved while the mode still counts as off.
        f.mnuUseInternetHiscore.Checked = false;
        f.mnuUpdateInternetHiscoresNow.Visible = true;
        f.LevelSet.WriteHiscores();
        f.mnuUseInternetHiscore.Checked = true;
        DownloadInternetHiscores();
    } else {
        f.mnuUpdateInternetHiscoresNow.Visible = false;
        readHiscores();
    }
}

void InternetMode::mnuUpdateInternetHiscoresNow_Click() {
    if (f.mnuUseInternetHiscore.Checked) {
        DownloadInternetHiscores();
    } else {
        MsgBox("ERROR! An error occured. This function requires an internet game!", mb::Critical);
    }
}

void InternetMode::DownloadInternetHiscores() {
    info_.Show("Loading data from " + displayName() + ", please wait...");
    std::string bytes;
    try {
        bytes = openUrl(tableDownloadUrl(f.ServerAddress, f.ServerPort));
    } catch (const VbError& e) {
        info_.Unload();
        if (e.Number() == http::err::Cancelled) {
            return; // the window closed meanwhile: nothing more to show or load
        }
        // One cause only: a server that sent what could not be read did answer, and a
        // malformed address never reached one.
        const bool silent =
            !http::serverAnswered(e.Number()) && e.Number() != http::err::MalformedUrl;
        MsgBox(failureText(e) + "\r\n\r\nInternet mode has been turned off!" +
                   (silent ? "\r\nThe server didn't answer, please try again later!" : ""),
               mb::Exclamation);
        switchOff();
        return;
    }
    std::string text = "<html";
    if (!bytes.empty()) {
        const std::string path = downloadedTablePath();
        try {
            writeFileAtomically(path, bytes, ExistingFile::Replace);
            text = ReadTextFile(path);
        } catch (const VbError& e) {
            // The server did answer; it is our folder that failed.
            info_.Unload();
            // The description names the file.
            MsgBox("ERROR! Unable to save the server's hiscores!\r\n\r\n" + e.Description() +
                       "\r\n\r\nInternet Mode has been turned off!",
                   mb::Critical, "ERROR!");
            switchOff();
            return;
        }
    }
    if (!containsNoCase(text, "<html")) {
        // A table that fails its check is reported there, and the mode stays on.
        readHiscores();
        info_.Unload();
        return;
    }
    info_.Unload();
    MsgBox("The server is busy or down, please try again later.\r\n\r\nInternet Mode has "
           "been turned off!",
           mb::Critical, "ERROR!");
    switchOff();
}

void InternetMode::SendHiscore(VbLong Score, VbLong Level, const std::string& Name) {
    for (;;) {
        info_.Show("Sending data to " + displayName() + ", please wait...");
        std::string prompt;
        try {
            const std::string reply = openUrl(scoreUploadUrl(f.ServerAddress, f.ServerPort,
                                                             f.ServerPassword, Score, Level, Name));
            if (lowerCase(reply) == "ok") {
                info_.setLabel("Downloading data from " + displayName() + ", please wait...");
                DownloadInternetHiscores();
                DoEvents();
                info_.Unload();
                return;
            }
            // A refused password is no busy server: trying again only helps after a change.
            prompt = passwordRefused(reply)
                         ? std::string(PasswordRefusedText) + "\r\nDo you want to try again ?"
                         : "Unable to contact server, the server meight be busy or down.\r\nDo "
                           "you want to try again ?";
        } catch (const VbError& e) {
            if (e.Number() == http::err::Cancelled) {
                info_.Unload();
                return; // the window closed meanwhile
            }
            prompt = failureText(e) + "\r\n\r\nDo you want to try again ?";
        }
        info_.Unload();
        if (MsgBox(prompt, mb::OKCancel + mb::Exclamation, "Unable to send hiscores!") != mb::OK) {
            MsgBox("Internet mode has been turned off!", mb::Information);
            // Off for certain, as the box says (the switch itself refuses during a game).
            switchOff();
            return;
        }
    }
}
