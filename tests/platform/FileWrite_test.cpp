#include "FileRead.h"
#include "FileWrite.h"
#include "HostileFiles.h"
#include "IgnoringFailures.h"
#include "VbError.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class FileWrite : public testing::Test {
protected:
    ~FileWrite() override { beforeSaveRenameForTesting(nullptr); }

    std::string path(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir.path().toStdString())) {
            out.push_back(e.path().filename().string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    // A save of bytes to name in a child process that is killed once its temporary file is
    // complete, as a kill -9 in the middle of a save does.
    void killedSave(const std::string& name, const std::string& bytes) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            beforeSaveRenameForTesting([] { ::raise(SIGKILL); });
            // The kill is what the test waits for; a save that fails first ends the child too.
            ignoringFailures([&] { writeFileAtomically(path(name), bytes); });
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
    }

    QTemporaryDir dir;
};

bool isSaveTempOf(const std::string& entry, const std::string& name) {
    const std::string prefix = "." + name + ".saving-";
    return entry.size() == prefix.size() + 6 && entry.rfind(prefix, 0) == 0;
}

} // namespace

TEST_F(FileWrite, TheTemporaryFileHasARecognisableNameAndGoesWithTheSave) {
    std::vector<std::string> during;
    beforeSaveRenameForTesting([&] { during = names(); });
    writeFileAtomically(path("set.dat"), "new");
    ASSERT_EQ(during.size(), 1u);
    EXPECT_TRUE(isSaveTempOf(during[0], "set.dat")) << during[0];
    EXPECT_EQ(names(), std::vector<std::string>{"set.dat"});
    EXPECT_EQ(readFile(path("set.dat"), FileKind::Text), "new");
}

TEST_F(FileWrite, AKilledSaveLeavesTheOldFileAndItsLeftoverGoesAtTheNextSave) {
    std::ofstream(path("set.dat")) << "old";
    for (int kill = 0; kill < 3; ++kill) {
        killedSave("set.dat", "half");
    }
    EXPECT_EQ(readFile(path("set.dat"), FileKind::Text), "old");
    // Each save swept what the killed one before it left: one leftover, not three.
    EXPECT_EQ(abandonedSaveFiles(path("set.dat")).size(), 1u);
    // A leftover of another file is that file's business.
    killedSave("other.dat", "x");

    writeFileAtomically(path("set.dat"), "new");
    EXPECT_EQ(readFile(path("set.dat"), FileKind::Text), "new");
    EXPECT_TRUE(abandonedSaveFiles(path("set.dat")).empty());
    const auto left = names();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_TRUE(isSaveTempOf(left[0], "other.dat")) << left[0];
    EXPECT_EQ(left[1], "set.dat");
}

TEST_F(FileWrite, ASaveInProgressKeepsItsTemporaryFile) {
    // A temporary file some other save holds its lock on.
    const std::string busy = path(".set.dat.saving-Ab12Cd");
    std::ofstream(busy) << "partial";
    const int fd = ::open(busy.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    writeFileAtomically(path("set.dat"), "mine");
    EXPECT_TRUE(std::filesystem::exists(busy));
    EXPECT_TRUE(abandonedSaveFiles(path("set.dat")).empty());
    ::close(fd);
    EXPECT_EQ(abandonedSaveFiles(path("set.dat")), std::vector<std::string>{busy});
}

TEST_F(FileWrite, FailuresNameTheFileAndLeaveEverythingAsItWas) {
    hostile::makePipe(path("pipe.dat"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("folder.dat"));
    std::ofstream(path("keep.dat")) << "kept";
    struct Case {
        std::string path;
        int number;
        std::string description;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {path("pipe.dat"), 75,
         "Path/File access error: \"" + path("pipe.dat") + "\" is not a regular file", nullptr},
        {path("folder.dat"), 75,
         "Path/File access error: \"" + path("folder.dat") + "\" is not a regular file", nullptr},
        {path("none/x.dat"), 76, "Path not found: \"" + path("none/x.dat") + "\"", nullptr},
        {path("keep.dat"), 61, "Disk full: \"" + path("keep.dat") + "\"",
         [] { failNextWriteAfterForTesting(2); }},
    };
    const auto before = names();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.arrange) {
            c.arrange();
        }
        const hostile::PipeWatch watch(path("pipe.dat"));
        try {
            writeFileAtomically(c.path, "new bytes");
            ADD_FAILURE() << "no error";
        } catch (const VbError& e) {
            EXPECT_EQ(e.Number(), c.number);
            EXPECT_EQ(e.Description(), c.description);
        }
        EXPECT_FALSE(watch.needed());
    }
    EXPECT_EQ(names(), before);
    EXPECT_EQ(hostile::fingerprint(path("pipe.dat")), "pipe");
    EXPECT_EQ(hostile::fingerprint(path("keep.dat")), hostile::fingerprintOf("kept"));
}
