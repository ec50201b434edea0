#include "Ansi.h"
#include "FileRead.h"
#include "FileWrite.h"
#include "FullDisk.h"
#include "HostileFiles.h"
#include "HttpTestProxy.h"
#include "Settings.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

std::string iniPath() {
    return settingsFilePath("Vantorix");
}

QSettings qtSettings() {
    return QSettings(QString::fromStdString(iniPath()), QSettings::IniFormat);
}

// Values that need quotes, escapes or UTF-8 in the file.
const std::vector<std::string>& oddValues() {
    static const std::vector<std::string> values = {
        "a,b", "x;y", "k=v", " lead", "trail ", "@at", "@@two", "quote\"s", "back\\slash",
        "tab\there", "line\r\nend",
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): split to end the \x01 escape
        "\x01"
        "ctrl",
        "\x01"
        "1f digit",
        "Caf\xE9", "\x80 euro", "", "\\x41", "#hash", "[x]", "%41"};
    return values;
}

} // namespace

TEST(Settings, FileReadsTheSameForQtsIniSettingsBothWays) {
    for (std::size_t i = 0; i < oddValues().size(); ++i) {
        const std::string& v = oddValues()[i];
        SCOPED_TRACE(v);
        const std::string key = "Key" + std::to_string(i);
        ASSERT_TRUE(SaveSetting("Vantorix", "Odd", key, v));
        EXPECT_EQ(
            qtSettings().value(QString::fromStdString("xodd/key" + std::to_string(i))).toString(),
            ansi::toQString(v));
        {
            QSettings q = qtSettings();
            q.setValue(QString::fromStdString("xqt/key" + std::to_string(i)), ansi::toQString(v));
        }
        EXPECT_EQ(GetSetting("Vantorix", "Qt", key, "<none>"), v);
    }
    // Every value of both sections is still there after the last write.
    for (std::size_t i = 0; i < oddValues().size(); ++i) {
        EXPECT_EQ(GetSetting("Vantorix", "Odd", "key" + std::to_string(i)), oddValues()[i]);
    }
}

TEST(Settings, FileSavedWithAByteOrderMarkReads) {
    QDir().mkpath(QString::fromStdString(TestEnvironment::configHome() + "/Quillfen"));
    std::ofstream(iniPath(), std::ios::binary) << "\xEF\xBB\xBF[xglobal]\nfirstuse=0\n";
    EXPECT_EQ(GetSetting("Vantorix", "Global", "FirstUse", "1"), "0");
}

TEST(Settings, AFailedWriteIsReportedNamingTheFileAndLosesNothing) {
    const std::string folder = TestEnvironment::configHome() + "/Quillfen";
    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::string error;  // lastSettingsError
        bool oldValueReads; // else the file cannot be read at all: the default
    };
    const auto writeOld = [&] { ASSERT_TRUE(SaveSetting("Vantorix", "sfx", "music", "True")); };
    const Case cases[] = {
        {"read-only file",
         [&] {
             writeOld();
             ::chmod(iniPath().c_str(), 0444);
         },
         "Permission denied: \"" + iniPath() + "\"", true},
        {"full disk",
         [&] {
             writeOld();
             failNextWriteAfterForTesting(5);
         },
         "Disk full: \"" + iniPath() + "\"", true},
        {"a folder", [&] { QDir().mkpath(QString::fromStdString(iniPath())); },
         "Path/File access error: \"" + iniPath() + "\" is a folder, not a file", false},
        {"a named pipe",
         [&] {
             QDir().mkpath(QString::fromStdString(folder));
             hostile::makePipe(iniPath());
         },
         "Path/File access error: \"" + iniPath() + "\" is a named pipe, not a regular file",
         false},
        {"too large",
         [&] {
             QDir().mkpath(QString::fromStdString(folder));
             hostile::makeSparse(iniPath(), readCap(FileKind::Settings) + 1);
         },
         "Path/File access error: \"" + iniPath() +
             "\" is larger than the 1 MB a settings file may have",
         false},
        {"the folder is a file", [&] { std::ofstream(folder) << "not a folder"; },
         "Path not found: \"" + folder + "\"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder);
        c.arrange();
        const std::string before = hostile::fingerprint(iniPath());
        {
            const hostile::PipeWatch watch(iniPath());
            EXPECT_FALSE(SaveSetting("Vantorix", "sfx", "music", "False"));
            EXPECT_EQ(GetSetting("Vantorix", "sfx", "music", "default"),
                      c.oldValueReads ? "True" : "default");
            EXPECT_FALSE(watch.needed()) << "waited on the pipe";
        }
        EXPECT_EQ(lastSettingsError(), c.error);
        EXPECT_EQ(hostile::fingerprint(iniPath()), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(
                                    std::filesystem::path(folder).parent_path()),
                                std::filesystem::directory_iterator{}),
                  1)
            << "no temporary file left";
        std::filesystem::remove_all(folder);
    }
}

// A lock file that cannot be made is no other program's lock: the box says what failed.
TEST(Settings, ALockFileThatCannotBeMadeIsReportedWithItsCause) {
    // The settings file's name just fits the file system, its lock file's does not.
    const std::string app(255 - std::string(".ini").size(), 'L');
    EXPECT_FALSE(SaveSetting(app, "sfx", "music", "False"));
    EXPECT_EQ(lastSettingsError(), "Path/File access error: \"" + settingsFilePath(app) +
                                       ".lock\" (File name too long)");
}

TEST(Settings, AFullDiskIsReportedAsSuch) {
    if (FullDisk::ranInside()) {
        return;
    }
    const std::string folder = TestEnvironment::configHome() + "/Quillfen";
    FullDisk disk;
    if (const std::string why = disk.mountOver(TestEnvironment::configHome()); !why.empty()) {
        GTEST_SKIP() << why;
    }
    ASSERT_TRUE(SaveSetting("Vantorix", "sfx", "music", "True"));
    disk.fill();
    const std::string before = hostile::fingerprint(iniPath());

    EXPECT_FALSE(SaveSetting("Vantorix", "sfx", "music", "False"));
    EXPECT_EQ(lastSettingsError(), "Disk full: \"" + iniPath() + ".lock\"");
    EXPECT_EQ(GetSetting("Vantorix", "sfx", "music"), "True");
    EXPECT_EQ(hostile::fingerprint(iniPath()), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator{}),
              1)
        << "no lock or temporary file left";

    // With no settings folder yet, the folder is what cannot be made.
    std::filesystem::rename(folder, folder + "-gone");
    EXPECT_FALSE(SaveSetting("Vantorix", "sfx", "music", "False"));
    EXPECT_EQ(lastSettingsError(), "Disk full: \"" + folder + "\"");
}

// The file lies where a user finds it, whatever of the environment is missing.
TEST(Settings, StoredInAFolderTheUserCanFind) {
    passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const std::string listed = std::string(user->pw_dir) + "/.config/Quillfen/Vantorix.ini";
    struct Case {
        const char* xdgConfigHome; // nullptr: unset
        const char* home;
        std::string file;
    };
    const Case cases[] = {
        {"/srv/cfg", "/home/ann", "/srv/cfg/Quillfen/Vantorix.ini"},
        {"", "/home/ann", "/home/ann/.config/Quillfen/Vantorix.ini"},
        {nullptr, "/home/ann/", "/home/ann/.config/Quillfen/Vantorix.ini"},
        {"cfg", "/home/ann", "/home/ann/.config/Quillfen/Vantorix.ini"},
        {nullptr, "/", "/.config/Quillfen/Vantorix.ini"},
        {nullptr, nullptr, listed},
        {"", "", listed},
        {"cfg", "home", listed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.xdgConfigHome ? c.xdgConfigHome : "(unset)") + " " +
                     (c.home ? c.home : "(unset)"));
        ScopedEnvironment env;
        env.set("XDG_CONFIG_HOME", c.xdgConfigHome);
        env.set("HOME", c.home);
        EXPECT_EQ(settingsFilePath("Vantorix"), c.file);
    }
}

// A config folder whose name is not ASCII holds the settings under that very name.
TEST(Settings, AConfigFolderWithAnAccentedName) {
    const std::string folder = TestEnvironment::configHome() + "/J\xC3\xBCrgen's";
    ScopedEnvironment env;
    env.set("XDG_CONFIG_HOME", folder.c_str());
    ASSERT_TRUE(SaveSetting("Vantorix", "sfx", "music", "False"));
    EXPECT_EQ(settingsFilePath("Vantorix"), folder + "/Quillfen/Vantorix.ini");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/Quillfen/Vantorix.ini"));
    EXPECT_EQ(GetSetting("Vantorix", "sfx", "music"), "False");
}

// The joystick dialog, the game window and a hand (or a program under another locale)
// spell the same keys differently: each spelling is the one key.
TEST(SettingsUnderLocale, KeysSpeltInAnyCaseAreOneKey) {
    ASSERT_TRUE(SaveSetting("Vantorix", "DEVMODE", "JOYSTICK", "1"));
    EXPECT_EQ(GetSetting("Vantorix", "DevMode", "Joystick", "0"), "1");
    ASSERT_TRUE(SaveSetting("Vantorix", "devmode", "joystick", "0"));
    EXPECT_EQ(GetSetting("Vantorix", "DEVMODE", "JOYSTICK", "x"), "0");

    std::ofstream(iniPath(), std::ios::binary) << "[xDEVMODE]\nJOYTUNE=250\nLIMIT=3\n";
    EXPECT_EQ(GetSetting("Vantorix", "DevMode", "JoyTune", "500"), "250");
    ASSERT_TRUE(SaveSetting("Vantorix", "DEVMODE", "Limit", "4"));
    EXPECT_EQ(GetSetting("Vantorix", "devmode", "LIMIT", ""), "4");
    EXPECT_EQ(GetSetting("Vantorix", "devmode", "joytune", ""), "250");
    const QString text = QString::fromStdString(readFile(iniPath(), FileKind::Settings));
    EXPECT_EQ(text.count(QStringLiteral("[x"), Qt::CaseInsensitive), 1) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("limit="), Qt::CaseInsensitive), 1) << text.toStdString();
}
