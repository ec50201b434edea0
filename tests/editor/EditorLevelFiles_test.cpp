#include "DialogService.h"
#include "EditorLevelFiles.h"
#include "FileBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class EditorFiles : public testing::Test {
protected:
    std::string path(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string get(const std::string& p) { return readFileBytes(p); }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir.path().toStdString())) {
            out.push_back(e.path().filename().string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    EditorLevelFiles files;
};

const std::string twoLevels = "l:One\r\ns:3\r\n1\r\n2,10,20,1,-1,1,300\r\n"
                              "l:Two\r\ns:4\r\n1\r\n-1,0,0,0,0,0,0\r\n";

} // namespace

TEST_F(EditorFiles, LoadReplacesTheSetAndSaveWritesItBack) {
    put(path("a.dat"), twoLevels);
    files.CurLevel = 0;
    files.Saved = VbFalse;
    ASSERT_TRUE(files.LoadLevels(path("a.dat")));
    EXPECT_EQ(files.EditLevels.size(), 2u);
    EXPECT_EQ(files.EditLevels[1].Name, "Two");
    EXPECT_EQ(files.CurAlien, -1);
    EXPECT_EQ(files.LevelFileName, path("a.dat"));
    EXPECT_EQ(files.Saved, VbTrue);

    ASSERT_TRUE(files.SaveLevels(path("b.dat")));
    EXPECT_EQ(get(path("b.dat")), twoLevels);
    EXPECT_EQ(files.LevelFileName, path("b.dat"));

    ASSERT_TRUE(files.SaveLevelsBinary(path("c.dat")));
    EditorLevelFiles again;
    ASSERT_TRUE(again.LoadLevelsBinary(path("c.dat")));
    EXPECT_EQ(again.EditLevels[0].Aliens[0].Y, 20);
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(EditorFiles, BinarySaveOverALongerFileLeavesOnlyTheNewRecords) {
    put(path("long.dat"), std::string(100000, 'x'));
    ASSERT_TRUE(files.SaveLevelsBinary(path("long.dat")));
    // "l:Level 1", "s:1", "1" and seven values.
    EXPECT_EQ(get(path("long.dat")).size(), 10u * 128u);
}

TEST_F(EditorFiles, FailedLoadReportsAndKeepsTheLevelsBeingEdited) {
    files.EditLevels[0].Name = "mine";
    files.LevelFileName = "/before.dat";
    files.Saved = VbFalse;
    put(path("bad.dat"), "l:A\r\ns:5\r\n1\r\n0,1,1,1,1,1\r\n");
    put(path("empty.dat"), "");
    struct Case {
        std::string path;
        bool binary;
        std::string why;
    };
    for (const Case& c :
         {Case{path("bad.dat"), false, "Input past end of file: \"" + path("bad.dat") + "\""},
          {path("missing.dat"), false, "File not found: \"" + path("missing.dat") + "\""},
          {path("empty.dat"), true, "The file holds no level: \"" + path("empty.dat") + "\""},
          {path("bad.dat"), true, "Bad record length: \"" + path("bad.dat") + "\""}}) {
        dialogs.clear();
        EXPECT_FALSE(c.binary ? files.LoadLevelsBinary(c.path) : files.LoadLevels(c.path));
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].prompt, "ERROR! Level file is corrupted!\r\n" + c.why);
        EXPECT_EQ(dialogs.calls()[0].style, mb::Critical);
        EXPECT_EQ(files.EditLevels[0].Name, "mine");
        EXPECT_EQ(files.LevelFileName, "/before.dat");
        EXPECT_EQ(files.Saved, VbFalse);
    }
}

TEST_F(EditorFiles, FailedSaveReportsTheCodeAndLosesNothing) {
    put(path("keep.dat"), twoLevels);
    files.LevelFileName = path("keep.dat");

    struct Case {
        const char* what;
        std::string target;
        std::function<void()> arrange;
        bool binary;
        std::string code;
        std::string why; // names the file
    };
    const std::vector<Case> cases = {
        {"missing folder", path("nowhere/x.dat"), [] {}, false, "76",
         "Path not found: \"" + path("nowhere/x.dat") + "\""},
        {"disk full while writing", path("keep.dat"), [] { failNextWriteAfterForTesting(10); },
         false, "61", "Disk full: \"" + path("keep.dat") + "\""},
        {"disk full, binary", path("keep.dat"), [] { failNextWriteAfterForTesting(0); }, true, "61",
         "Disk full: \"" + path("keep.dat") + "\""},
        {"read-only file", path("ro.dat"),
         [this] {
             put(path("ro.dat"), twoLevels);
             ::chmod(path("ro.dat").c_str(), 0444);
         },
         false, "70", "Permission denied: \"" + path("ro.dat") + "\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        dialogs.clear();
        files.Saved = VbTrue;
        EXPECT_FALSE(c.binary ? files.SaveLevelsBinary(c.target) : files.SaveLevels(c.target));
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].prompt,
                  "ERROR! Unable to save file.\r\nCode:" + c.code + "\r\n\r\n" + c.why);
        EXPECT_EQ(dialogs.calls()[0].style, mb::OKOnly);
        EXPECT_EQ(files.Saved, VbFalse);
        EXPECT_EQ(files.LevelFileName, path("keep.dat"));
    }
    EXPECT_EQ(get(path("keep.dat")), twoLevels);
    EXPECT_EQ(get(path("ro.dat")), twoLevels);
    // No temporary file is left behind.
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"keep.dat", "ro.dat"}));

    // The binary save replaces a read-only file, as it always cleared attributes first.
    EXPECT_TRUE(files.SaveLevelsBinary(path("ro.dat")));
    EXPECT_EQ(get(path("ro.dat")).size(), 10u * 128u);

    // A name too long for a record fails before any byte is written, and says which file.
    dialogs.clear();
    files.EditLevels[0].Name = std::string(130, 'n');
    EXPECT_FALSE(files.SaveLevelsBinary(path("ro.dat")));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt,
              "ERROR! Unable to save file.\r\nCode:59\r\n\r\nLevel 1: the name is longer than 124 "
              "characters: \"" +
                  path("ro.dat") + "\"");
    EXPECT_EQ(get(path("ro.dat")).size(), 10u * 128u);
}

TEST_F(EditorFiles, RewriteKeepsPermissionsAndFollowsALink) {
    put(path("real.dat"), "old");
    ::chmod(path("real.dat").c_str(), 0640);
    std::filesystem::create_symlink(path("real.dat"), path("link.dat"));
    ASSERT_TRUE(files.SaveLevels(path("link.dat")));
    EXPECT_TRUE(std::filesystem::is_symlink(path("link.dat")));
    EXPECT_EQ(get(path("real.dat")).substr(0, 11), "l:Level 1\r\n");
    struct stat st {};
    ::stat(path("real.dat").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
