// vantedit: the level editor. An argument names a level file to open.
#include "DialogService.h"
#include "QtDialogs.h"
#include "frmMainEdit.h"

#include <QApplication>
#include <string>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DialogService::setProgramBoxes(&qtDialogs());
    setProgramTitle("vantedit");
    QApplication::setApplicationName("vantedit");

    // The arguments as one command line, the way the path was given.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            commandLine += ' ';
        }
        commandLine += argv[i];
    }

    frmMainEdit window;
    if (!window.load(commandLine)) {
        return 1;
    }
    window.show();
    return app.exec();
}
