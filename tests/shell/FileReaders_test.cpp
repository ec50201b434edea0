// Every reader of the game and the editor against the files a user or an attacker may hand
// it: a named pipe, a device, a folder, a file over the cap of its kind, the largest
// legitimate file and a byte-order mark. Each gives a clear failure that names the file (or,
// for the legitimate ones, a load), never waits on the pipe, and leaves the file as it was.
#include "DialogService.h"
#include "EditorLevelFiles.h"
#include "FileRead.h"
#include "HiscoreFile.h"
#include "HostileFiles.h"
#include "LevelFileFormat.h"
#include "LevelsAndHiscores.h"
#include "QFTModule.h"
#include "Settings.h"
#include "Surface.h"
#include "VbError.h"
#include "WaveBytes.h"
#include "WavePlayer.h"
#include "dx8Sound.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const std::string byteOrderMark = "\xEF\xBB\xBF";

struct Outcome {
    bool loaded = false;
    std::vector<std::string> texts; // messages shown and errors raised
};

// The program folder of one case, with a good level set beside the files under test.
class Folder {
public:
    Folder() {
        setAppPathForTesting(path(""));
        QDir(dir_.path()).mkpath("Original_levels");
        DialogService::install(&dialogs);
    }
    ~Folder() {
        DialogService::install(nullptr);
        setAppPathForTesting("");
    }
    std::string path(const std::string& name) const {
        return dir_.path().toStdString() + "/" + name;
    }
    std::vector<std::string> prompts() const { return dialogs.prompts(); }

    ScriptedDialogs dialogs;

private:
    QTemporaryDir dir_;
};

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<EditLevelRec> manyLevels(int levels, int aliens) {
    std::vector<EditLevelRec> out;
    for (int l = 0; l < levels; ++l) {
        EditLevelRec level = emptyEditLevel(l + 1);
        level.Name = "Level " + std::to_string(l + 1);
        level.Speed = static_cast<VbInteger>(l % 50 + 1);
        for (int a = 0; a < aliens; ++a) {
            EditAlienRec alien;
            alien.Type = static_cast<VbInteger>(a % 11);
            alien.X = static_cast<VbInteger>(a * 9);
            alien.Y = static_cast<VbInteger>(l % 300);
            alien.Hits = 32000;
            alien.Drops = 25;
            alien.Shoots = 1;
            level.Aliens.push_back(alien);
        }
        out.push_back(level);
    }
    return out;
}

// The largest sets a player builds: 1000 levels of 40 aliens.
const std::string& largeTextSet() {
    static const std::string bytes = encodeLevelsText(manyLevels(1000, 40));
    return bytes;
}
const std::string& largeBinarySet() {
    static const std::string bytes = encodeLevelsBinary(manyLevels(1000, 40));
    return bytes;
}
const std::string smallTextSet = encodeLevelsText(manyLevels(2, 1));

HiscoreTable playedTable() {
    HiscoreTable t = defaultHiscores();
    t[0] = {987654, "ACE", 7};
    return t;
}

std::string bmp(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(0x336699);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes.toStdString();
}

std::string largeSettings() {
    std::string ini = "[xglobal]\nfirstuse=0\n";
    for (int s = 0; s < 100; ++s) {
        ini += "\n[xsection" + std::to_string(s) + "]\n";
        for (int k = 0; k < 50; ++k) {
            ini += "key" + std::to_string(k) + "=\"some value, with a comma\"\n";
        }
    }
    return ini;
}

struct Reader {
    const char* name;
    FileKind kind;
    // Where the file under test lies.
    std::function<std::string(const Folder&)> target;
    std::function<Outcome(Folder&)> read;
    std::string large;   // the largest legitimate content
    std::string marked;  // a legitimate content behind a byte-order mark
    bool markLoads;      // the mark is read past
    bool markIsRepaired; // the reader repairs the file, as a damaged hiscore table is
};

Outcome levelSet(Folder& f, bool binary) {
    LevelsAndHiscores game;
    game.CommandLine = "-loadlevels{x}";
    game.ResetHiscore();
    const bool ok =
        binary ? game.LoadLevelsBinary(f.path("set.dat")) : game.LoadLevels(f.path("set.dat"));
    return {ok && game.Levels.front().Name == "Level 1", f.prompts()};
}

Outcome editorSet(Folder& f, bool binary) {
    EditorLevelFiles files;
    const bool ok =
        binary ? files.LoadLevelsBinary(f.path("set.dat")) : files.LoadLevels(f.path("set.dat"));
    return {ok && files.EditLevels.front().Name == "Level 1", f.prompts()};
}

Outcome hiscores(Folder& f, bool internet) {
    LevelsAndHiscores game;
    game.CommandLine = "-loadlevels{x}";
    Outcome out;
    if (internet) {
        game.seams.internetMode = [] { return true; };
        game.BinaryLevels = VbTrue;
        game.CurrentLevelFile = f.path("Original_levels/data.dat");
        try {
            game.ReadHiscores();
        } catch (const VbError& e) {
            out.texts.push_back(e.Description());
        }
    } else {
        put(f.path("set.dat"), smallTextSet);
        EXPECT_TRUE(game.LoadLevels(f.path("set.dat")));
    }
    for (const auto& p : f.prompts()) {
        out.texts.push_back(p);
    }
    out.loaded = out.texts.empty() && game.Hiscores == playedTable();
    return out;
}

template <typename Load> Outcome raising(Load load) {
    try {
        return {load(), {}};
    } catch (const VbError& e) {
        return {false, {e.Description()}};
    }
}

std::vector<Reader> readers() {
    const auto setFile = [](const Folder& f) { return f.path("set.dat"); };
    const auto plainFile = [](const Folder& f) { return f.path("file"); };
    return {
        {"game, text level set", FileKind::LevelText, setFile,
         [](Folder& f) { return levelSet(f, false); }, largeTextSet(), byteOrderMark + smallTextSet,
         true, false},
        {"game, binary level set", FileKind::LevelBinary, setFile,
         [](Folder& f) { return levelSet(f, true); }, largeBinarySet(),
         byteOrderMark + encodeLevelsBinary(manyLevels(2, 1)), false, false},
        {"editor, text level set", FileKind::LevelText, setFile,
         [](Folder& f) { return editorSet(f, false); }, largeTextSet(),
         byteOrderMark + smallTextSet, true, false},
        {"editor, binary level set", FileKind::LevelBinary, setFile,
         [](Folder& f) { return editorSet(f, true); }, largeBinarySet(),
         byteOrderMark + encodeLevelsBinary(manyLevels(2, 1)), false, false},
        {"hiscore file", FileKind::Hiscores, [](const Folder& f) { return f.path("set.hsc"); },
         [](Folder& f) { return hiscores(f, false); }, encodeHiscoreFile(playedTable(), false),
         byteOrderMark + encodeHiscoreFile(playedTable(), false), false, true},
        {"downloaded hiscore table", FileKind::Hiscores,
         [](const Folder& f) { return f.path("Original_levels/~idata.hsc"); },
         [](Folder& f) { return hiscores(f, true); }, encodeHiscoreFile(playedTable(), true),
         byteOrderMark + encodeHiscoreFile(playedTable(), true), false, false},
        {"picture", FileKind::Picture, plainFile,
         [](Folder& f) {
             return raising([&] {
                 Surface s;
                 s.LoadPicture(f.path("file"));
                 return s.Width() > 0;
             });
         },
         bmp(2000, 2000), byteOrderMark + bmp(4, 4), false, false},
        {"sound effect", FileKind::Sound, plainFile,
         [](Folder& f) {
             return raising([&] {
                 dx8Sound s;
                 s.LoadWaveFile(f.path("file"), nullptr);
                 return s.Loaded();
             });
         },
         squareWaveWav(60000), byteOrderMark + squareWaveWav(50), false, false},
        {"simple wave player", FileKind::Sound, plainFile,
         [](Folder& f) {
             const bool played = wave::playFile(f.path("file"), {});
             wave::stop();
             return Outcome{played, {}};
         },
         squareWaveWav(60000), byteOrderMark + squareWaveWav(50), false, false},
        {"settings", FileKind::Settings, [](const Folder&) { return settingsFilePath("Vantorix"); },
         [](Folder&) {
             const std::string v = GetSetting("Vantorix", "Global", "FirstUse", "<default>");
             if (v == "0") {
                 return Outcome{true, {}};
             }
             // What cannot be read is not written over either.
             EXPECT_FALSE(SaveSetting("Vantorix", "Global", "FirstUse", "0"));
             return Outcome{false, {lastSettingsError()}};
         },
         largeSettings(), byteOrderMark + "[xglobal]\nfirstuse=0\n", true, false},
        {"whole text", FileKind::Text, plainFile,
         [](Folder& f) { return raising([&] { return !ReadTextFile(f.path("file")).empty(); }); },
         std::string(10UL * 1024 * 1024, 't'), byteOrderMark + "text", true, false},
    };
}

enum class Make { Pipe, Device, Folder, OverCap, Large, Marked };

struct FileCase {
    const char* what;
    Make make;
    const char* cause; // in the failure's text after the quoted path; nullptr: a load
};

const FileCase fileCases[] = {
    {"named pipe", Make::Pipe, "\" is a named pipe, not a regular file"},
    {"device", Make::Device, "\" is a device, not a regular file"},
    {"folder", Make::Folder, "\" is a folder, not a file"},
    {"over the cap", Make::OverCap, "\" is larger than the "},
    {"largest legitimate", Make::Large, nullptr},
    {"byte-order mark", Make::Marked, nullptr},
};

bool mentions(const std::vector<std::string>& texts, const std::string& part) {
    for (const auto& t : texts) {
        if (t.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(FileReaders, EveryReaderHoldsAgainstHostileAndLargeFiles) {
    for (const Reader& r : readers()) {
        for (const FileCase& c : fileCases) {
            SCOPED_TRACE(std::string(r.name) + ", " + c.what);
            Folder f;
            const std::string target = r.target(f);
            std::filesystem::remove_all(target); // the settings file outlives a case
            QDir().mkpath(QString::fromStdString(std::filesystem::path(target).parent_path()));
            switch (c.make) {
            case Make::Pipe:
                hostile::makePipe(target);
                break;
            case Make::Device:
                std::filesystem::create_symlink(hostile::device, target);
                break;
            case Make::Folder:
                QDir().mkpath(QString::fromStdString(target));
                break;
            case Make::OverCap:
                hostile::makeSparse(target, readCap(r.kind) + 1);
                break;
            case Make::Large:
                put(target, r.large);
                break;
            case Make::Marked:
                put(target, r.marked);
                break;
            }
            const std::string before = hostile::fingerprint(target);
            Outcome out;
            {
                const hostile::PipeWatch watch(target);
                out = r.read(f);
                EXPECT_FALSE(watch.needed()) << "the reader waited on the pipe";
            }
            const bool markLoads = c.make == Make::Marked && r.markLoads;
            const bool shouldLoad = c.make == Make::Large || markLoads;
            EXPECT_EQ(out.loaded, shouldLoad);
            if (c.cause) {
                // The simple wave player says nothing by design: its sounds just stay silent.
                if (std::string(r.name) != "simple wave player") {
                    EXPECT_TRUE(mentions(out.texts, "\"" + target + c.cause))
                        << (out.texts.empty() ? "no message" : out.texts.front());
                }
            } else if (!shouldLoad && std::string(r.name) != "simple wave player") {
                EXPECT_FALSE(out.texts.empty()) << "a failure without a word";
            }
            if (c.make == Make::Marked && r.markIsRepaired) {
                // A damaged table is reset and written again, as every damaged table is.
                EXPECT_EQ(hostile::fingerprint(target),
                          hostile::fingerprintOf(encodeHiscoreFile(defaultHiscores(), false)));
            } else {
                EXPECT_EQ(hostile::fingerprint(target), before);
            }
        }
    }
}

// Each case in a process of its own, started afresh (no memory that earlier tests freed), with
// room for a few megabytes more than it holds, not for the file.
TEST(FileReadersDeathTest, UnderAMemoryLimitALargeFileFailsWithAMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves memory beyond any limit";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Folder f;
    put(f.path("set.dat"), largeBinarySet());
    put(f.path("big.txt"), std::string(12 << 20, 't'));
    const std::string corrupted =
        "ERROR! Level file is corrupted!\r\nOut of memory: \"" + f.path("set.dat") + "\"";
    const auto limitMemory = [] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t now = static_cast<rlim_t>(pages) * static_cast<rlim_t>(getpagesize());
        const rlimit limit{now + (4u << 20), now + (4u << 20)};
        ::setrlimit(RLIMIT_AS, &limit);
    };
    struct Case {
        const char* what;
        std::function<bool()> failsCleanly;
    };
    const Case cases[] = {
        {"game",
         [&] {
             LevelsAndHiscores game;
             return !game.LoadLevelsBinary(f.path("set.dat")) && !f.prompts().empty() &&
                    f.prompts()[0] == corrupted;
         }},
        {"editor",
         [&] {
             EditorLevelFiles files;
             return !files.LoadLevelsBinary(f.path("set.dat")) &&
                    f.prompts() == std::vector<std::string>{corrupted};
         }},
        {"whole text",
         [&] {
             try {
                 ReadTextFile(f.path("big.txt"));
             } catch (const VbError& e) {
                 return e.Number() == 7;
             }
             return false;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(
            {
                limitMemory();
                const bool clean = c.failsCleanly();
                // The process ends without its destructors: its folder goes here.
                std::error_code ec;
                std::filesystem::remove_all(f.path(""), ec);
                std::_Exit(clean ? 0 : 1);
            },
            testing::ExitedWithCode(0), "");
    }
#endif
}
