#include "AudioSystem.h"
#include "DialogService.h"
#include "ManualClock.h"
#include "QFTModule.h"
#include "QFTModuleDesktop.h"
#include "Surface.h"
#include "VbError.h"
#include "WaveBytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::string bytesOf(const QString& s) {
    return QFile::encodeName(s).toStdString();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// The current folder comes back after a test that moves it.
class KeepCurrentFolder {
public:
    KeepCurrentFolder() : saved_(std::filesystem::current_path()) {}
    ~KeepCurrentFolder() { std::filesystem::current_path(saved_); }
    const std::filesystem::path& saved() const { return saved_; }

private:
    std::filesystem::path saved_;
};

VbError errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const VbError& e) {
        return e;
    }
    return VbError(0, "", "no error");
}

} // namespace

TEST(QFTModule, URLEncodeKeepsOnlyLettersAndDigits) {
    struct Case {
        std::string in, out;
    };
    for (const Case& c : {Case{"A b-9", "A%20b%2D9"},
                          {"", ""},
                          {"azAZ09", "azAZ09"},
                          {"+\n.", "%2B%0A%2E"},
                          {std::string("\0\x01", 2), "%00%01"},
                          {"\xE9\x80\xFF", "%E9%80%FF"}}) {
        EXPECT_EQ(URLEncode(c.in), c.out) << c.in;
    }
}

TEST(QFTModule, NulDelimitedTextTakesWhatLiesBetweenTheFirstTwoNuls) {
    using namespace std::string_literals;
    struct Case {
        std::string in, out;
    };
    for (const Case& c : {Case{"x\0abc\0y"s, "abc"},
                          {"abc", "abc"},
                          {"\0\0"s, ""},
                          {"\0a\0b\0"s, "a"},
                          {"", ""},
                          // One NUL: the rest of the text.
                          {"x\0abc"s, "abc"},
                          {"\0"s, ""}}) {
        EXPECT_EQ(NulDelimitedText(c.in), c.out);
    }
}

namespace {

// The scrambler stepped one code at a time, as it is defined.
std::string stepwise(const std::string& text, int shift, bool up) {
    std::string out = text;
    for (char& ch : out) {
        int c = static_cast<unsigned char>(ch);
        for (int i = 0; i < shift; ++i) {
            if (up) {
                if (++c > 255) {
                    c = 32;
                }
            } else if (--c < 32) {
                c = 255;
            }
        }
        ch = static_cast<char>(c);
    }
    return out;
}

} // namespace

TEST(QFTModule, ScramblerMatchesTheStepwiseRotationForEveryCode) {
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all += static_cast<char>(c);
    }
    for (const int shift : {0, 1, 2, 31, 32, 223, 224, 225, 255, 448, 1000, 32766}) {
        const auto s = static_cast<VbInteger>(shift);
        EXPECT_EQ(EncryptText(all, s), stepwise(all, shift, true)) << shift;
        EXPECT_EQ(DecryptText(all, s), stepwise(all, shift, false)) << shift;
        // Decrypt undoes encrypt for codes 32..255.
        const std::string ring = all.substr(32);
        EXPECT_EQ(DecryptText(EncryptText(ring, s), s), ring) << shift;
    }
    EXPECT_EQ(EncryptText("\xFF", 1), " ");
    EXPECT_EQ(DecryptText(" ", 1), "\xFF");
    EXPECT_EQ(EncryptText(all.substr(32), 448), all.substr(32));
    EXPECT_EQ(EncryptText("", 77), "");
}

TEST(QFTModule, ScramblerLeavesNegativeShiftsAloneAndRefuses32767) {
    for (const VbInteger s : {VbInteger(-1), VbInteger(-32768)}) {
        EXPECT_EQ(EncryptText("Abc \xFF", s), "Abc \xFF");
        EXPECT_EQ(DecryptText("Abc \xFF", s), "Abc \xFF");
    }
    const VbError enc = errorOf([] { EncryptText("abc", 32767); });
    EXPECT_EQ(enc.Number(), 10);
    EXPECT_EQ(enc.Source(), "Crypter");
    EXPECT_EQ(enc.Description(),
              "'EncryptNumber' is an integer, and may not be greater than 32766!");
    const VbError dec = errorOf([] { DecryptText("", 32767); });
    EXPECT_EQ(dec.Number(), 10);
    EXPECT_EQ(dec.Source(), "Crypter");
    EXPECT_EQ(dec.Description(),
              "'DecryptNumber' is an integer, and may not be greater than 32766!");
}

TEST(QFTModule, ReadTextFileDropsOneTrailingCrLf) {
    QTemporaryDir dir;
    const std::string path = bytesOf(dir.filePath("t.txt"));
    using namespace std::string_literals;
    struct Case {
        std::string content, text;
    };
    for (const Case& c : {Case{"ab\r\n\r\n", "ab\r\n"},
                          {"ab\r\n", "ab"},
                          {"\r\n", ""},
                          {"", ""},
                          {"ab\n", "ab\n"},
                          {"ab\r", "ab\r"},
                          {"a\r\nb", "a\r\nb"},
                          {"\0\xFF\r\n\0"s, "\0\xFF\r\n\0"s}}) {
        writeFile(path, c.content);
        EXPECT_EQ(ReadTextFile(path), c.text);
    }
    // Larger than one read.
    const std::string big(200000, 'x');
    writeFile(path, big + "\r\n");
    EXPECT_EQ(ReadTextFile(path), big);
}

TEST(QFTModule, ReadTextFileRaisesTheRuntimeErrorNumbers) {
    QTemporaryDir dir;
    const std::string d = bytesOf(dir.path());
    struct Case {
        std::string path;
        int number;
        std::string description;
    };
    writeFile(d + "/plain", "x");
    // Each description names the file and what is wrong with it.
    for (const Case& c :
         {Case{d + "/missing.txt", 53, "File not found: \"" + d + "/missing.txt\""},
          {d + "/no folder/missing.txt", 76, "Path not found: \"" + d + "/no folder/missing.txt\""},
          {d + "/plain/below.txt", 76, "Path not found: \"" + d + "/plain/below.txt\""},
          {d, 75, "Path/File access error: \"" + d + "\" is a folder, not a file"},
          {"", 75, "Path/File access error: no file name"}}) {
        const VbError e = errorOf([&] { ReadTextFile(c.path); });
        EXPECT_EQ(e.Number(), c.number) << c.path;
        EXPECT_EQ(e.Description(), c.description) << c.path;
    }
    if (geteuid() != 0) { // root reads anything
        const std::string locked = d + "/locked.txt";
        writeFile(locked, "secret");
        QFile::setPermissions(QString::fromStdString(locked), QFileDevice::Permissions());
        EXPECT_EQ(errorOf([&] { ReadTextFile(locked); }).Number(), 70);
    }
}

TEST(QFTModule, GetFileListMatchesPatternsWithoutRegardToCase) {
    QTemporaryDir dir;
    const std::string d = bytesOf(dir.path());
    for (const char* name : {"a.dat", "B.DAT", "b.txt", "noext", ".hidden.dat"}) {
        writeFile(d + "/" + name, "x");
    }
    QDir(dir.path()).mkdir("sub.dat");
    struct Case {
        std::string pattern;
        std::vector<std::string> names;
    };
    for (const Case& c : {Case{"", {"a.dat", "B.DAT", "b.txt", "noext"}},
                          {"*.*", {"a.dat", "B.DAT", "b.txt", "noext"}},
                          {"*.dat", {"a.dat", "B.DAT"}},
                          {"*.Dat", {"a.dat", "B.DAT"}},
                          {"b*.*", {"B.DAT", "b.txt"}},
                          {"?.TXT", {"b.txt"}},
                          {"noext.*", {"noext"}},
                          {"*.wav", {}}}) {
        std::string folder = d;
        EXPECT_EQ(GetFileList(folder, c.pattern), c.names) << c.pattern;
        EXPECT_EQ(folder, d + "/");
    }
    std::string withSlash = d + "/";
    EXPECT_EQ(GetFileList(withSlash, "*.dat").size(), 2u);
    EXPECT_EQ(withSlash, d + "/");
    std::string missing = d + "/nowhere";
    EXPECT_TRUE(GetFileList(missing, "").empty());
}

TEST(QFTModule, FileExistsIsFalseForFoldersAndMakesThemCurrent) {
    KeepCurrentFolder keep;
    QTemporaryDir dir;
    const std::string d = bytesOf(dir.path());
    writeFile(d + "/f.txt", "x");
    writeFile(d + "/.hidden", "x");
    writeFile(d + "/ro.txt", "x");
    QFile::setPermissions(QString::fromStdString(d + "/ro.txt"), QFileDevice::ReadOwner);

    EXPECT_EQ(FileExists(""), VbFalse);
    EXPECT_EQ(FileExists(d + "/f.txt"), VbTrue);
    EXPECT_EQ(FileExists(d + "/.hidden"), VbTrue);
    EXPECT_EQ(FileExists(d + "/ro.txt"), VbTrue);
    EXPECT_EQ(FileExists(d + "/nope.txt"), VbFalse);
    EXPECT_EQ(std::filesystem::current_path(), keep.saved());

    QDir(dir.path()).mkdir("sub");
    EXPECT_EQ(FileExists(d + "/sub"), VbFalse);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(d + "/sub"));
    EXPECT_EQ(DirExists(d), VbTrue);
    EXPECT_EQ(DirExists(d + "/f.txt"), VbFalse);
    EXPECT_EQ(DirExists(d + "/nowhere"), VbFalse);
    EXPECT_EQ(DirExists(""), VbFalse);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(d));
}

TEST(QFTModule, AppPathEndsInExactlyOneSlash) {
    struct Case {
        std::string folder, path;
    };
    for (const Case& c : {Case{"/opt/vantorix", "/opt/vantorix/"},
                          {"/opt/vantorix/", "/opt/vantorix/"},
                          {"/opt/vantorix//", "/opt/vantorix/"},
                          {"/", "/"}}) {
        setAppPathForTesting(c.folder);
        EXPECT_EQ(AppPath(), c.path);
    }
    setAppPathForTesting("");
    EXPECT_EQ(AppPath(), bytesOf(QCoreApplication::applicationDirPath()) + "/");
}

TEST(QFTModule, ShellRunOfAMissingFileIsZero) {
    QTemporaryDir dir;
    EXPECT_EQ(ShellRun(bytesOf(dir.filePath("missing.exe")), "", nullptr, "", nullptr), 0);
    EXPECT_EQ(ShellRun("missing.txt", bytesOf(dir.path()), nullptr, "-x", nullptr), 0);
}

TEST(QFTModule, GetTicksIsTheClockInForceWrapping) {
    ManualClock clock(0xFFFFFFF0u);
    Clock::install(&clock);
    EXPECT_EQ(GetTicks(), -16);
    clock.advance(20);
    EXPECT_EQ(GetTicks(), 4);
    Clock::install(nullptr);
}

TEST(QFTModule, ConnectedStateFillsFlagsAndName) {
    VbLong flags = 12345;
    std::string name = "stale";
    const VbBool connected = GetInternetConnectedState(flags, name);
    EXPECT_TRUE(connected == VbTrue || connected == VbFalse);
    EXPECT_EQ(connected == VbTrue, !name.empty());
    EXPECT_EQ(connected == VbTrue, flags != 0);
    StopMciDevice("anything", VbTrue); // nothing to stop; must not fail
}

TEST(QFTModule, PlayWaveSoundWithoutADeviceSaysSo) {
    const char* v = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = v ? v : "";
    audio::close();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ScriptedDialogs dialogs;
    setProgramTitle("vantedit");

    EXPECT_EQ(SoundDeviceAvailable(), VbFalse);
    PlayWaveSound(0, "", "/any/file.wav", VbFalse, VbFalse, VbTrue, VbFalse);

    audio::close();
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    setProgramTitle("Vantorix");
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "Unable to init SOUND-DECVICE");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
    EXPECT_EQ(dialogs.calls()[0].title, "vantedit");
}

TEST(QFTModule, PlayWaveSoundPlaysOnTheDummyDevice) {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const std::string path = bytesOf(dir.filePath("101.wav"));
    writeFile(path, squareWaveWav(40));
    ASSERT_EQ(SoundDeviceAvailable(), VbTrue);
    PlayWaveSound(0, "", path, VbTrue, VbFalse, VbFalse, VbFalse);
    PlayWaveSound(0, "", path, VbFalse, VbTrue, VbFalse, VbFalse);
    PlayWaveSound(0, "", path, VbFalse, VbFalse, VbTrue, VbFalse);
    PlayWaveSound(0, "", bytesOf(dir.filePath("missing.wav")), VbFalse, VbFalse, VbFalse, VbTrue);
    // The resource form finds no such resource: silence.
    PlayWaveSound(101, "WAVE", "", VbFalse, VbFalse, VbFalse, VbFalse);
    PlayWaveSound(0, "WAVE", "", VbFalse, VbFalse, VbFalse, VbFalse);
    EXPECT_TRUE(dialogs.calls().empty());
    audio::close();
}

TEST(QFTModule, CaptureScreenAreaCopiesOnlyIntoItsRectangle) {
    Surface target(40, 30);
    target.setBackColor(0x00FFFFFF);
    CaptureScreenArea(target, 5, 6, 10, 8, 0, 0);
    CaptureScreenArea(target, 35, 25, 20, 20, 100, 100); // runs off the target's edge
    CaptureScreenArea(target, 0, 0, 0, 0, 0, 0);
    CaptureScreenArea(target, 0, 0, -5, 10, 0, 0);
    EXPECT_EQ(target.Width(), 40);
    EXPECT_EQ(target.Height(), 30);
    for (const auto& [px, py] : {std::pair{0, 0}, {4, 6}, {15, 6}, {5, 14}, {34, 29}, {39, 24}}) {
        EXPECT_EQ(target.Point(px, py), 0x00FFFFFF) << px << "," << py;
    }
}

TEST(QFTModule, CaptureScreenAreaTakesTheDesktopRectangle) {
    QWidget red;
    red.setWindowFlag(Qt::FramelessWindowHint);
    QPalette pal = red.palette();
    pal.setColor(QPalette::Window, QColor(255, 0, 0));
    red.setPalette(pal);
    red.setAutoFillBackground(true);
    red.setGeometry(100, 120, 60, 50);
    red.show();
    red.repaint();
    QCoreApplication::processEvents();

    Surface target(20, 20);
    target.setBackColor(0x00FFFFFF);
    CaptureScreenArea(target, 2, 3, 10, 10, 110, 130);
    EXPECT_EQ(target.Point(2, 3), 0x000000FF); // red, as a game colour
    EXPECT_EQ(target.Point(11, 12), 0x000000FF);
    EXPECT_EQ(target.Point(12, 13), 0x00FFFFFF);
}
