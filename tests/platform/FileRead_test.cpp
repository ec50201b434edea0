#include "FileRead.h"
#include "HostileFiles.h"
#include "VbError.h"

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

constexpr FileKind allKinds[] = {FileKind::LevelText, FileKind::LevelBinary, FileKind::Hiscores,
                                 FileKind::Picture,   FileKind::Sound,       FileKind::Settings,
                                 FileKind::Text};

struct Failure {
    int number = 0;
    std::string description;
};

Failure failureOf(const std::string& path, FileKind kind) {
    try {
        readFile(path, kind);
    } catch (const VbError& e) {
        return {e.Number(), e.Description()};
    }
    return {};
}

class FileRead : public testing::Test {
protected:
    std::string path(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(FileRead, RefusesWhatIsNoRegularFileNamingItAndTheCause) {
    hostile::makePipe(path("pipe.dat"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("folder.dat"));
    std::ofstream(path("plain")) << "x";
    struct Case {
        std::string path;
        int number;
        std::string cause; // "" when the standard text says it all
    };
    const Case cases[] = {
        {path("pipe.dat"), 75, " is a named pipe, not a regular file"},
        {hostile::device, 75, " is a device, not a regular file"},
        {path("folder.dat"), 75, " is a folder, not a file"},
        {path("missing.dat"), 53, ""},
        {path("no folder/missing.dat"), 76, ""},
        {path("plain/below.dat"), 76, ""},
    };
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator{});
    };
    const auto openBefore = openFiles();
    for (const FileKind kind : allKinds) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.path);
            const hostile::PipeWatch watch(path("pipe.dat"));
            const Failure f = failureOf(c.path, kind);
            EXPECT_FALSE(watch.needed()) << "the read waited on the pipe";
            EXPECT_EQ(f.number, c.number);
            EXPECT_EQ(f.description,
                      vberr::standardDescription(c.number) + ": \"" + c.path + "\"" + c.cause);
        }
    }
    EXPECT_EQ(hostile::fingerprint(path("pipe.dat")), "pipe");
    EXPECT_EQ(openFiles(), openBefore) << "a refused file stayed open";
}

TEST_F(FileRead, EachKindReadsUpToItsCapAndRefusesOneByteMore) {
    for (const FileKind kind : allKinds) {
        const std::size_t cap = readCap(kind);
        SCOPED_TRACE(cap);
        hostile::makeSparse(path("at.cap"), cap);
        EXPECT_EQ(readFile(path("at.cap"), kind).size(), cap);

        hostile::makeSparse(path("over.cap"), cap + 1);
        const Failure f = failureOf(path("over.cap"), kind);
        EXPECT_EQ(f.number, 75);
        const std::string named = path("over.cap") + "\" is larger than the ";
        EXPECT_NE(f.description.find(named), std::string::npos) << f.description;
        const std::string size = std::to_string(cap + 1);
        EXPECT_EQ(hostile::fingerprint(path("over.cap")).rfind("file " + size + " ", 0), 0u);
    }
    // A sparse giant as the hostile level file of the report: refused without reading it.
    hostile::makeSparse(path("giant.dat"), std::size_t{3} << 30);
    EXPECT_EQ(failureOf(path("giant.dat"), FileKind::LevelBinary).number, 75);
}

TEST_F(FileRead, CapsLeaveRoomForTheLargestLegitimateFiles) {
    // 1000 levels of 40 aliens: 3 + 7 x 40 records of 128 bytes each; as text under 30 bytes
    // an alien line.
    EXPECT_GE(readCap(FileKind::LevelBinary), 1000u * (3 + 7 * 40) * 128 * 3);
    EXPECT_GE(readCap(FileKind::LevelText), 1000u * (40 * 30 + 30) * 10);
    EXPECT_GE(readCap(FileKind::Hiscores), 31u * 128 * 100);
}

TEST_F(FileRead, ReadsBytesExactlyAndFilesThatClaimNoSize) {
    using namespace std::string_literals;
    const std::string bytes = "\0\xFF\r\n\xEF\xBB\xBFz"s + std::string(200000, 'q');
    std::ofstream(path("b"), std::ios::binary) << bytes;
    EXPECT_EQ(readFile(path("b"), FileKind::Text), bytes);
    std::ofstream(path("empty"), std::ios::binary).close();
    EXPECT_EQ(readFile(path("empty"), FileKind::Hiscores), "");
    // The kernel's files say size 0 and still hold text.
    EXPECT_NE(readFile("/proc/self/status", FileKind::Text).find("Name:"), std::string::npos);
    const Failure f = failureOf("", FileKind::Text);
    EXPECT_EQ(f.number, 75);
    EXPECT_EQ(f.description, "Path/File access error: no file name");
}

TEST_F(FileRead, UnreadableFileIsPermissionDenied) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads anything";
    }
    std::ofstream(path("locked")) << "x";
    ::chmod(path("locked").c_str(), 0);
    const Failure f = failureOf(path("locked"), FileKind::Text);
    EXPECT_EQ(f.number, 70);
    EXPECT_EQ(f.description, "Permission denied: \"" + path("locked") + "\"");
}
