// LIBS: vantorix_launcher vantorix_fuzz_harness
#include "FuzzHarness.h"
#include "StartModel.h"
#include "TextCase.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Any reply to the update check, with a player who says yes to every offer: the dialog comes
// back usable, says something, and only a web address ever goes to the desktop.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedDialogs& dialogs = FuzzHarness::instance().dialogs;
    dialogs.clear();
    const std::string reply(reinterpret_cast<const char*>(data), size);
    StartModel dialog("");
    // NOLINTNEXTLINE(performance-no-automatic-move): each call returns its own copy
    dialog.QFNUpdateChecker1.openUrl = [&](const std::string&, int) { return reply; };
    dialog.QFNUpdateChecker1.connected = [] { return true; };
    std::vector<std::string> opened;
    dialog.openAddress = [&](const std::string& url) {
        opened.push_back(url);
        return true;
    };
    dialog.Command8_Click();

    require(dialog.Enabled);
    require(!dialogs.calls().empty());
    require(opened.size() <= 1);
    for (const auto& url : opened) {
        const std::string l = lowerCase(url);
        require(l.rfind("http://", 0) == 0 || l.rfind("https://", 0) == 0);
    }
    return 0;
}
