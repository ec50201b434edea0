#include "GameLaunch.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

std::optional<std::int64_t> startDetachedProgram(const std::string& program,
                                                 const std::vector<std::string>& arguments) {
    QStringList args;
    for (const auto& a : arguments) {
        args << QFile::decodeName(QByteArray::fromStdString(a));
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(QFile::decodeName(QByteArray::fromStdString(program)), args,
                                 QString(), &pid)) {
        return std::nullopt;
    }
    return pid;
}
