#include "InternetConfigModel.h"

#include "DialogService.h"
#include "Http.h"
#include "InternetRequests.h"
#include "Settings.h"
#include "SettingsNotice.h"
#include "TextCase.h"
#include "VbError.h"

InternetConfigModel::InternetConfigModel()
    : openUrl([](const std::string& url) { return http::OpenURL(url); }) {}

void InternetConfigModel::Form_Load() {
    const ServerSettings s = readServerSettings();
    Text1 = s.Address;
    Text2 = s.Password;
    Text3 = s.Port;
}

void InternetConfigModel::Command1_Click() {
    Text1 = withoutTrailingSlashes(Text1);
    const bool saved = SaveSetting("Vantorix", "General", "Server", Text1) &&
                       SaveSetting("Vantorix", "General", "Password", Text2) &&
                       SaveSetting("Vantorix", "General", "Port", Text3);
    if (!saved) {
        tellSettingsNotSaved();
    }
}

void InternetConfigModel::Command4_Click() {
    Text1 = withoutTrailingSlashes(Text1);
    std::string reply;
    // A reply that could not be read still came from a server.
    bool answered = false;
    try {
        reply = openUrl(connectionTestUrl(Text1, Text3, Text2));
    } catch (const VbError& e) {
        if (e.Number() == http::err::Cancelled) {
            return; // the dialog closed meanwhile
        }
        answered = http::serverAnswered(e.Number());
        reply.clear();
    }
    if (lowerCase(reply) == "pong") {
        MsgBox("The server answered " + reply, mb::Information, "Server response ok!");
    } else if (reply.empty() && !answered) {
        MsgBox("Unable to find server!", mb::Critical, "ERROR!");
    } else if (passwordRefused(reply)) {
        MsgBox(std::string(PasswordRefusedText) + "\r\nGaming with these settings meight not work!",
               mb::Critical, "ERROR!");
    } else {
        MsgBox("A server was found, but it didn't pong!..\r\nRemoving the password meight be "
               "the solution!\r\n\r\nGaming with these settings meight not work!",
               mb::Critical, "ERROR!");
    }
}
