#include "GameLaunch.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

bool startDetachedProgram(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList args;
    for (const auto& a : arguments) {
        args << QFile::decodeName(QByteArray::fromStdString(a));
    }
    return QProcess::startDetached(QFile::decodeName(QByteArray::fromStdString(program)), args);
}
