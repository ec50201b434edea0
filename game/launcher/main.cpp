#include "CommandLine.h"
#include "DialogService.h"
#include "DisplayModes.h"
#include "FramePresentation.h"
#include "GameShell.h"
#include "QtDialogs.h"
#include "Random.h"
#include "SingleInstance.h"
#include "frmMain.h"
#include "frmStart.h"

#include <QApplication>
#include <memory>

int main(int argc, char** argv) {
    chooseFramePresentation();
    QApplication app(argc, argv);
    DialogService::setProgramBoxes(&qtDialogs());
    setProgramTitle(GameTitle);
    const std::string commandLine = cmdline::join(argc, argv);

    SingleInstance instance;
    if (!instance.acquire()) {
        return 0;
    }
    if (display::restoreLeftoverSwitch()) {
        display::waitForScreenToFollow(3000); // the start dialog centres itself on it
    }
    Random::instance().seedFromClock();

    // The start dialog comes first; its play buttons open the game window in this process.
    std::unique_ptr<frmMain> window;
    frmStart start(commandLine);
    start.showGame = [&] {
        if (window) {
            return; // one game window per run
        }
        window = std::make_unique<frmMain>(commandLine);
        window->load();
    };
    start.load();
    start.show();
    return app.exec();
}
