#include "DialogService.h"
#include "FullDisk.h"
#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string alreadyRunning = "Vantorix is already running!\r\n\r\nIf Vantorix already has "
                                   "been stoped, please wait a few seconds, and then try again!";

std::string cannotMake(const std::string& cause) {
    return "ERROR! Unable to make sure that Vantorix runs only once!\r\n\r\n" + cause;
}

// Whether a copy with the lock file at path may run, and the boxes it showed.
struct Start {
    bool runs = false;
    std::vector<std::string> boxes;
};

Start startCopy(SingleInstance& copy) {
    ScriptedDialogs dialogs;
    DialogService::install(&dialogs);
    Start s;
    s.runs = copy.acquire();
    for (const auto& c : dialogs.calls()) {
        EXPECT_EQ(c.style, mb::Exclamation);
        EXPECT_EQ(c.title, "Vantorix");
        s.boxes.push_back(c.prompt);
    }
    DialogService::install(nullptr);
    return s;
}

} // namespace

// Only a copy that holds the lock is "already running"; a lock file that cannot be made is
// reported with its cause, naming the file.
TEST(SingleInstance, OnlyARunningCopyIsCalledRunning) {
    QTemporaryDir dir;
    const QString path = dir.filePath("vantorix-game.lock");
    {
        SingleInstance first(path);
        SingleInstance second(path);
        EXPECT_TRUE(startCopy(first).runs);
        const Start s = startCopy(second);
        EXPECT_FALSE(s.runs);
        EXPECT_EQ(s.boxes, std::vector<std::string>{alreadyRunning});
    }
    SingleInstance afterwards(path);
    EXPECT_TRUE(startCopy(afterwards).runs) << "the first copy's end frees the lock";

    struct Case {
        const char* what;
        QString lockPath;
        std::string cause;
    };
    const std::string longName = dir.path().toStdString() + "/" + std::string(256, 'n');
    const std::string inMissing = dir.path().toStdString() + "/missing/vantorix-game.lock";
    const Case cases[] = {
        {"name too long", QString::fromStdString(longName),
         "Path/File access error: \"" + longName + "\" (File name too long)"},
        {"folder missing", QString::fromStdString(inMissing),
         "Path not found: \"" + inMissing + "\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SingleInstance copy(c.lockPath);
        const Start s = startCopy(copy);
        EXPECT_FALSE(s.runs);
        EXPECT_EQ(s.boxes, std::vector<std::string>{cannotMake(c.cause)});
    }
}

TEST(SingleInstance, AFullDiskIsNoRunningCopy) {
    if (FullDisk::ranInside()) {
        return;
    }
    QTemporaryDir dir;
    FullDisk disk;
    if (const std::string why = disk.mountOver(dir.path().toStdString()); !why.empty()) {
        GTEST_SKIP() << why;
    }
    disk.fill();
    const std::string path = dir.filePath("vantorix-game.lock").toStdString();
    SingleInstance copy(QString::fromStdString(path));
    const Start s = startCopy(copy);
    EXPECT_FALSE(s.runs);
    EXPECT_EQ(s.boxes, std::vector<std::string>{cannotMake("Disk full: \"" + path + "\"")});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}
