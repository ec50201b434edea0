#include "MusicFile.h"

#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class MusicFileTest : public testing::Test {
protected:
    std::string make(const std::string& name, const std::string& bytes) {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    QTemporaryDir holder;
    std::string dir = holder.path().toStdString();
};

TEST_F(MusicFileTest, OnlyRegularFilesWithinTheCapOpen) {
    const std::string song = make("song.xm", "0123456789");
    fs::create_symlink(song, dir + "/link.xm");
    fs::create_directory(dir + "/folder.xm");
    ASSERT_EQ(mkfifo((dir + "/pipe.xm").c_str(), 0600), 0);
    fs::resize_file(make("big.xm", ""), 4096);
    struct Case {
        std::string path;
        std::int64_t cap;
        const char* error; // "" when it opens
    } cases[] = {
        {song, 10, ""},
        {dir + "/link.xm", 100, ""},
        {song, 9, "\" is larger than the 9 bytes a music file may have"},
        {dir + "/big.xm", 4095, "\" is larger than the 4095 bytes"},
        {dir + "/folder.xm", 100, "\" is a folder, not a file"},
        {dir + "/pipe.xm", 100, "\" is a named pipe, not a regular file"}, // and no waiting
        {"/dev/zero", 100, "\" is a device, not a regular file"},
        {dir + "/missing.xm", 100, "File not found: \""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string error;
        const auto file = music::MusicFile::open(c.path, c.cap, error);
        if (*c.error == '\0') {
            ASSERT_NE(file, nullptr) << error;
            EXPECT_EQ(file->size(), 10);
        } else {
            EXPECT_EQ(file, nullptr);
            EXPECT_NE(error.find(c.path), std::string::npos) << error;
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
}

TEST_F(MusicFileTest, ReadsStopAtTheSizeSeenOnOpen) {
    const std::string path = make("grows.wav", "abcdef");
    std::string error;
    const auto file = music::MusicFile::open(path, 100, error);
    ASSERT_NE(file, nullptr);
    std::ofstream(path, std::ios::app) << "ghijkl"; // grows after the check
    std::vector<char> all;
    ASSERT_TRUE(file->readAll(all, error));
    EXPECT_EQ(std::string(all.begin(), all.end()), "abcdef");
    char buffer[8] = {};
    EXPECT_EQ(file->readAt(4, buffer, sizeof buffer), 2);
    EXPECT_EQ(file->readAt(6, buffer, sizeof buffer), 0);
    EXPECT_EQ(file->readAt(-1, buffer, sizeof buffer), -1);

    // Two cursors over one file keep their own places.
    music::MusicFileCursor a(file), b(file);
    EXPECT_EQ(a.read(buffer, 3), 3);
    EXPECT_EQ(b.read(buffer, 1), 1);
    EXPECT_EQ(buffer[0], 'a');
    EXPECT_EQ(a.read(buffer, 1), 1);
    EXPECT_EQ(buffer[0], 'd');
    EXPECT_EQ(a.seek(-2, SEEK_END), 4);
    EXPECT_EQ(a.seek(-5, SEEK_CUR), -1);
    EXPECT_EQ(a.tell(), 4);
    EXPECT_EQ(a.seek(10, SEEK_SET), 10);
    EXPECT_EQ(a.read(buffer, 4), 0);
}

} // namespace
