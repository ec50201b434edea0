#include "FileNames.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

TEST(FileNames, MatchesWithoutRegardToCaseAndBackslashes) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    std::ofstream(root + "/Ship00.BMP") << "x";
    EXPECT_EQ(resolveFileName(root + "/ship00.bmp"), root + "/Ship00.BMP");
    EXPECT_EQ(resolveFileName(root + "\\SHIP00.bmp"), root + "/Ship00.BMP");
    EXPECT_EQ(resolveFileName(root + "/Ship00.BMP"), root + "/Ship00.BMP");
    // Missing: the path as asked for, so the loader names it in its error.
    EXPECT_EQ(resolveFileName(root + "\\none.bmp"), root + "/none.bmp");
    EXPECT_EQ(resolveFileName(root + "/nofolder/a.bmp"), root + "/nofolder/a.bmp");
}

TEST(FileNamesUnderLocale, MatchesWithoutRegardToCase) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    std::ofstream(root + "/song.mid") << "x";
    std::ofstream(root + "/TITLE.XM") << "x";
    EXPECT_EQ(resolveFileName(root + "/SONG.MID"), root + "/song.mid");
    EXPECT_EQ(resolveFileName(root + "\\title.xm"), root + "/TITLE.XM");
}
