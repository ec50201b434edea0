// vantdisp: chooses and tries the screen mode for the game's full-screen play.
#include "DialogService.h"
#include "DisplayModes.h"
#include "QtDialogs.h"
#include "frmDisplaySettings.h"

#include <QApplication>
#include <string>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DialogService::setProgramBoxes(&qtDialogs());
    // A tried mode that a crashed run left on the screen goes before anything else.
    display::restoreLeftoverSwitch();
    setProgramTitle("Vantorix");

    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            commandLine += ' ';
        }
        commandLine += argv[i];
    }

    auto screen = makePlatformModeScreen();
    frmDisplaySettings window(*screen, commandLine);
    window.show();
    return app.exec();
}
