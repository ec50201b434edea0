#pragma once

#include <QLockFile>
#include <QString>

// The one running copy of the game: a lock file that this process holds for its life.
class SingleInstance {
public:
    // The lock file in the user's runtime folder (the temporary folder when there is none).
    SingleInstance();
    explicit SingleInstance(const QString& lockPath);

    // True when this copy may run. Otherwise a box has said why not: another copy runs, or
    // the lock file cannot be made (with the cause and the file).
    bool acquire();

private:
    QString path_;
    QLockFile lock_;
};
