#include "SingleInstance.h"

#include "DialogService.h"
#include "FileWrite.h"
#include "GameShell.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

QString defaultLockPath() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(runtime.isEmpty() ? QDir::tempPath() : runtime)
        .filePath(QStringLiteral("vantorix-game.lock"));
}

} // namespace

SingleInstance::SingleInstance() : SingleInstance(defaultLockPath()) {}

SingleInstance::SingleInstance(const QString& lockPath) : path_(lockPath), lock_(lockPath) {
    lock_.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    if (lock_.tryLock(0)) {
        return true;
    }
    if (lock_.error() == QLockFile::LockFailedError) {
        MsgBox("Vantorix is already running!\r\n\r\nIf Vantorix already has been stoped, please "
               "wait a few seconds, and then try again!",
               mb::Exclamation, GameTitle);
        return false;
    }
    // No copy holds it: the file cannot be made, and Qt keeps the cause to itself.
    const std::string path = QFile::encodeName(path_).toStdString();
    MsgBox("ERROR! Unable to make sure that Vantorix runs only once!\r\n\r\n" +
               newFileFailureText(path),
           mb::Exclamation, GameTitle);
    return false;
}
