#pragma once

#include <functional>
#include <string>

// The server settings dialog "Vantorix - Internet server configuration" (frmInternetConfig):
// its fields and buttons, without the widgets.
class InternetConfigModel {
public:
    InternetConfigModel();

    // The transfer used by the connection test (VbError when no reply came).
    std::function<std::string(const std::string& url)> openUrl;

    std::string Text1; // Host address:
    std::string Text2; // Password:
    std::string Text3; // Port:

    // Fields from the stored settings.
    void Form_Load();
    // OK: the address loses its trailing "/" characters; all three are stored.
    void Command1_Click();
    // Test Connection with the fields as they stand; saves nothing.
    void Command4_Click();
};
