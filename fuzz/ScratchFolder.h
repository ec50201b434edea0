#pragma once

#include <QDir>
#include <QString>

// Where a fuzz target keeps the files it saves: in memory where the system offers it, so
// that flushing a save to disk costs nothing and the saves do not set the pace.
inline QString scratchFolder(const char* name) {
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + "/" + QString::fromLatin1(name) + "-XXXXXX";
}
