#include "CommandLine.h"
#include "Dialogs.h"
#include "DisplayModes.h"
#include "FramePresentation.h"
#include "GameShell.h"
#include "QtDialogs.h"
#include "Random.h"
#include "frmMain.h"
#include "frmStart.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

int main(int argc, char** argv) {
    chooseFramePresentation();
    QApplication app(argc, argv);
    DialogService::setProgramBoxes(&qtDialogs());
    setProgramTitle(GameTitle);
    const std::string commandLine = cmdline::join(argc, argv);

    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QLockFile lock(QDir(runtime.isEmpty() ? QDir::tempPath() : runtime)
                       .filePath(QStringLiteral("vantorix-game.lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        MsgBox("Vantorix is already running!\r\n\r\nIf Vantorix already has been stoped, please "
               "wait a few seconds, and then try again!",
               mb::Exclamation, GameTitle);
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
