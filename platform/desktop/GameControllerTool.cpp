#include "GameControllerTool.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace gamecontroller {
namespace {

struct Candidate {
    const char* program;
    const char* argument; // nullptr for none
};

constexpr Candidate candidates[] = {
    {"jstest-gtk", nullptr},
    {"kcmshell6", "kcm_gamecontroller"},
};

bool find(QString& program, QStringList& args) {
    for (const Candidate& c : candidates) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(c.program));
        if (!path.isEmpty()) {
            program = path;
            args.clear();
            if (c.argument) {
                args << QString::fromLatin1(c.argument);
            }
            return true;
        }
    }
    return false;
}

} // namespace

bool openTool() {
    QString program;
    QStringList args;
    return find(program, args) && QProcess::startDetached(program, args);
}

} // namespace gamecontroller
