#include "Settings.h"
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(Settings, MissingKeyGivesTheReadersDefault) {
    EXPECT_EQ(GetSetting("Vantorix", "Global", "FirstUse", "True"), "True");
    EXPECT_EQ(GetSetting("Vantorix", "Global", "FirstUse"), "");
}

TEST(Settings, NamesMatchWithoutRegardToCaseAndProgramsAreApart) {
    SaveSetting("Vantorix", "DEVMODE", "lERROR", "1");
    EXPECT_EQ(GetSetting("Vantorix", "devmode", "lError", "0"), "1");
    EXPECT_EQ(GetSetting("Other", "DEVMODE", "lError", "0"), "0");
    SaveSetting("Vantorix", "devMode", "LERROR", "0");
    EXPECT_EQ(GetSetting("Vantorix", "DEVMODE", "lError", "x"), "0");
}

TEST(Settings, SectionNamedGeneralAndOddTextsSurvive) {
    SaveSetting("Vantorix", "General", "Server", "http://example.invalid/hi.php?a=1&b=2");
    SaveSetting("Vantorix", "Global", "Server", "other");
    SaveSetting("Vantorix", "General", "Name", "Caf\xE9 = ; [x]");
    EXPECT_EQ(GetSetting("Vantorix", "General", "Server"), "http://example.invalid/hi.php?a=1&b=2");
    EXPECT_EQ(GetSetting("Vantorix", "Global", "Server"), "other");
    EXPECT_EQ(GetSetting("Vantorix", "GENERAL", "name"), "Caf\xE9 = ; [x]");
}

TEST(Settings, StoredUnderTheConfigHome) {
    SaveSetting("Vantorix", "sfx", "Music", "True");
    const std::string path = settingsFilePath("Vantorix");
    EXPECT_EQ(path, TestEnvironment::configHome() + "/Quillfen/Vantorix.ini");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
    DeleteSetting("Vantorix", "sfx", "Music");
    EXPECT_EQ(GetSetting("Vantorix", "sfx", "Music", "gone"), "gone");
}
