#include "DialogService.h"
#include "EditorLevelFiles.h"
#include "FileBytes.h"
#include "LevelsAndHiscores.h"

#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::string_literals;

// What the editor saves, the game and the editor read back alike, or the save refuses and
// says which level and which file, leaving the old file as it was.
namespace {

// Never written: a save writes (Type + 1) * 100.
constexpr VbLong staleScore = 12345;

// Two levels; the probes change the second, so a refusal must name "Level 2".
std::vector<EditLevelRec> baseSet() {
    EditLevelRec first;
    first.Name = "First";
    first.Speed = 5;
    first.Aliens = {EditAlienRec{
        .Type = 0, .X = 10, .Y = 20, .Score = staleScore, .Hits = 1, .Drops = -1, .Shoots = 1}};
    EditLevelRec second;
    second.Name = "Second";
    second.Speed = 7;
    second.Aliens = {
        EditAlienRec{
            .Type = 2, .X = 30, .Y = 40, .Score = staleScore, .Hits = 2, .Drops = 3, .Shoots = 0},
        EditAlienRec{
            .Type = 3, .X = 50, .Y = 60, .Score = staleScore, .Hits = 3, .Drops = 4, .Shoots = 1}};
    return {first, second};
}

std::string hexName(const std::string& name) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// One line per level, every field, the name's bytes in hex: the same text for the same set
// whatever read it.
std::string describedLevel(const std::string& name, int speed, const std::vector<long>& values) {
    std::string s = hexName(name);
    s += " s";
    s += std::to_string(speed);
    s += ':';
    for (std::size_t i = 0; i < values.size(); ++i) {
        s += i % 7 == 0 ? "; " : " ";
        s += std::to_string(values[i]);
    }
    return s;
}

std::vector<std::string> described(const std::vector<EditLevelRec>& levels) {
    std::vector<std::string> out;
    for (const auto& l : levels) {
        std::vector<long> values;
        for (const auto& a : l.Aliens) {
            values.insert(values.end(), {a.Type, a.X, a.Y, a.Hits, a.Drops, a.Shoots, a.Score});
        }
        out.push_back(describedLevel(l.Name, l.Speed, values));
    }
    return out;
}

std::vector<std::string> described(const std::vector<LevelRec>& levels) {
    std::vector<std::string> out;
    for (const auto& l : levels) {
        std::vector<long> values;
        for (std::size_t i = 0; i < l.AlienType.size(); ++i) {
            values.insert(values.end(), {l.AlienType[i], l.AlienX[i], l.AlienY[i], l.AlienHits[i],
                                         l.AlienDrops[i], l.AlienShoots[i], l.AlienScore[i]});
        }
        out.push_back(describedLevel(l.Name, l.Speed, values));
    }
    return out;
}

// The set as a save writes it: every Score follows from the type.
std::vector<EditLevelRec> asWritten(std::vector<EditLevelRec> levels) {
    for (auto& l : levels) {
        for (auto& a : l.Aliens) {
            a.Score = (a.Type + 1) * 100;
        }
    }
    return levels;
}

// A save either reads back (code 0) or is refused with this code and description (the
// description before the file's name).
struct Outcome {
    int code = 0;
    std::string why;
};
const Outcome readsBack{};
Outcome refused(std::string why, int code = 5) {
    return {code, std::move(why)};
}

struct Case {
    const char* what;
    std::function<void(std::vector<EditLevelRec>&)> probe;
    Outcome text;
    Outcome binary;
};

std::function<void(std::vector<EditLevelRec>&)> named(const std::string& name) {
    return [name](std::vector<EditLevelRec>& set) { set[1].Name = name; };
}

std::function<void(std::vector<EditLevelRec>&)> speed(int s) {
    return [s](std::vector<EditLevelRec>& set) { set[1].Speed = static_cast<VbInteger>(s); };
}

// Changes the second alien of the second level.
std::function<void(std::vector<EditLevelRec>&)>
secondAlien(const std::function<void(EditAlienRec&)>& f) {
    return [f](std::vector<EditLevelRec>& set) { f(set[1].Aliens[1]); };
}

// Fills the second level up to n aliens, copies of its first.
std::function<void(std::vector<EditLevelRec>&)> aliensInSecond(std::size_t n) {
    return [n](std::vector<EditLevelRec>& set) { set[1].Aliens.resize(n, set[1].Aliens[0]); };
}

std::string allBytes(unsigned from, unsigned to) {
    std::string out;
    for (unsigned c = from; c <= to; ++c) {
        out += static_cast<char>(c);
    }
    return out;
}

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        // Names.
        {"plain name", named("Boss"), readsBack, readsBack},
        {"empty name", named(""), readsBack, readsBack},
        {"blanks around the name", named("  Boss "), readsBack, readsBack},
        {"tabs around the name", named("\tBoss\t"), readsBack, readsBack},
        {"comma, quotes, hash", named("a,b \"c\" 'd' #e"), readsBack, readsBack},
        {"a name that reads like an end item", named("EOF"), readsBack, readsBack},
        {"a name that reads like a level item", named("l:x"), readsBack, readsBack},
        {"bytes 0x80 to 0x9F", named(allBytes(0x80, 0x9F)), readsBack, readsBack},
        {"bytes 0x7F, 0xA0 and 0xFF", named("\x7F\xA0\xFF"), readsBack, readsBack},
        {"other control characters",
         named(allBytes(0x01, 0x09) + allBytes(0x0B, 0x0C) + allBytes(0x0E, 0x1F)), readsBack,
         readsBack},
        {"NUL inside the name", named("ab\0cd"s), readsBack,
         refused("Level 2: the name holds a NUL character")},
        {"NUL first", named("\0cd"s), readsBack,
         refused("Level 2: the name holds a NUL character")},
        {"NUL between NULs, as the game's records hold values", named("\0l:x\0"s), readsBack,
         refused("Level 2: the name holds a NUL character")},
        {"CR alone", named("a\rb"), refused("Level 2: the name holds a line break"), readsBack},
        {"LF alone", named("a\nb"), refused("Level 2: the name holds a line break"), readsBack},
        {"CR LF at the end", named("ab\r\n"), refused("Level 2: the name holds a line break"),
         readsBack},
        {"name filling a record", named(std::string(124, 'n')), readsBack, readsBack},
        {"name one past a record", named(std::string(125, 'n')), readsBack,
         refused("Level 2: the name is longer than 124 characters", 59)},
        {"a name of 5000 characters", named(std::string(5000, 'n')), readsBack,
         refused("Level 2: the name is longer than 124 characters", 59)},
        // Speed.
        {"speed 1", speed(1), readsBack, readsBack},
        {"speed 50", speed(50), readsBack, readsBack},
        {"speed 0", speed(0), refused("Level 2: the speed 0 is outside 1 to 50"),
         refused("Level 2: the speed 0 is outside 1 to 50")},
        {"speed 51", speed(51), refused("Level 2: the speed 51 is outside 1 to 50"),
         refused("Level 2: the speed 51 is outside 1 to 50")},
        {"speed -1", speed(-1), refused("Level 2: the speed -1 is outside 1 to 50"),
         refused("Level 2: the speed -1 is outside 1 to 50")},
        {"speed 32767", speed(32767), refused("Level 2: the speed 32767 is outside 1 to 50"),
         refused("Level 2: the speed 32767 is outside 1 to 50")},
        // Coordinates: the editor holds them in 16 bits, as the game does.
        {"coordinates at their ends", secondAlien([](EditAlienRec& a) {
             a.X = -32768;
             a.Y = 32767;
         }),
         readsBack, readsBack},
        {"negative coordinates", secondAlien([](EditAlienRec& a) {
             a.X = -1;
             a.Y = -300;
         }),
         readsBack, readsBack},
        // Hits: 32 bits in the editor, 16 in the game.
        {"hits 9", secondAlien([](EditAlienRec& a) { a.Hits = 9; }), readsBack, readsBack},
        {"hits 0 and below", secondAlien([](EditAlienRec& a) { a.Hits = -5; }), readsBack,
         readsBack},
        {"hits 32767", secondAlien([](EditAlienRec& a) { a.Hits = 32767; }), readsBack, readsBack},
        {"hits -32768", secondAlien([](EditAlienRec& a) { a.Hits = -32768; }), readsBack,
         readsBack},
        {"hits 32768", secondAlien([](EditAlienRec& a) { a.Hits = 32768; }),
         refused("Level 2, alien 2: the hit count 32768 is outside -32768 to 32767", 6),
         refused("Level 2, alien 2: the hit count 32768 is outside -32768 to 32767", 6)},
        {"hits -32769", secondAlien([](EditAlienRec& a) { a.Hits = -32769; }),
         refused("Level 2, alien 2: the hit count -32769 is outside -32768 to 32767", 6),
         refused("Level 2, alien 2: the hit count -32769 is outside -32768 to 32767", 6)},
        // Types and pickups as every reader takes them.
        {"type 10 and pickup 25", secondAlien([](EditAlienRec& a) {
             a.Type = 10;
             a.Drops = 25;
         }),
         readsBack, readsBack},
        {"type 11", secondAlien([](EditAlienRec& a) { a.Type = 11; }),
         refused("Level 2, alien 2: the alien type 11 is outside -1 to 10"),
         refused("Level 2, alien 2: the alien type 11 is outside -1 to 10")},
        {"type -2", secondAlien([](EditAlienRec& a) { a.Type = -2; }),
         refused("Level 2, alien 2: the alien type -2 is outside -1 to 10"),
         refused("Level 2, alien 2: the alien type -2 is outside -1 to 10")},
        {"pickup -1 (none)", secondAlien([](EditAlienRec& a) { a.Drops = -1; }), readsBack,
         readsBack},
        {"pickup 26", secondAlien([](EditAlienRec& a) { a.Drops = 26; }),
         refused("Level 2, alien 2: the pickup code 26 is outside -1 to 25"),
         refused("Level 2, alien 2: the pickup code 26 is outside -1 to 25")},
        {"pickup -2", secondAlien([](EditAlienRec& a) { a.Drops = -2; }),
         refused("Level 2, alien 2: the pickup code -2 is outside -1 to 25"),
         refused("Level 2, alien 2: the pickup code -2 is outside -1 to 25")},
        {"shoots at the ends of 16 bits",
         [](std::vector<EditLevelRec>& set) {
             set[1].Aliens[0].Shoots = -32768;
             set[1].Aliens[1].Shoots = 32767;
         },
         readsBack, readsBack},
        // Placeholders: an empty level, and one the editor would not read.
        {"empty level", [](std::vector<EditLevelRec>& set) { set[1] = emptyEditLevel(2); },
         readsBack, readsBack},
        {"placeholder among real aliens",
         secondAlien([](EditAlienRec& a) { a = placeholderAlien(); }),
         refused("Level 2, alien 2: a placeholder stands among real aliens"),
         refused("Level 2, alien 2: a placeholder stands among real aliens")},
        // Counts the programs hold in 16 bits.
        {"32767 aliens", aliensInSecond(32767), readsBack, readsBack},
        {"32768 aliens", aliensInSecond(32768),
         refused("Level 2: a level holds at most 32767 aliens", 6),
         refused("Level 2: a level holds at most 32767 aliens", 6)},
        {"32768 levels", [](std::vector<EditLevelRec>& set) { set.resize(32768, set[0]); },
         refused("Level 32768: a set holds at most 32767 levels", 6),
         refused("Level 32768: a set holds at most 32767 levels", 6)},
    };
    return table;
}

class SavedSet : public testing::Test {
protected:
    std::string path(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }

    void check(const std::vector<EditLevelRec>& set, bool binary, const Outcome& expected);

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
};

} // namespace

// One save of the set and what follows it; returns early on the first broken step.
void SavedSet::check(const std::vector<EditLevelRec>& set, bool binary, const Outcome& expected) {
    // The file each save replaces; a refused save leaves it byte for byte.
    const std::string old = binary ? encodeLevelsBinary({emptyEditLevel(1)})
                                   : "l:Old\r\ns:3\r\n1\r\n1,2,3,1,-1,0,200\r\n";
    const std::string file = path(binary ? "set.bin.dat" : "set.dat");
    put(file, old);
    dialogs.clear();
    const auto firstBox = [this] {
        return dialogs.prompts().empty() ? std::string() : dialogs.prompts()[0];
    };

    EditorLevelFiles editor;
    editor.EditLevels = set;
    editor.LevelFileName = path("before.dat");
    const bool saved = binary ? editor.SaveLevelsBinary(file) : editor.SaveLevels(file);

    if (expected.code != 0) {
        EXPECT_FALSE(saved);
        EXPECT_EQ(dialogs.prompts(),
                  std::vector<std::string>{
                      "ERROR! Unable to save file.\r\nCode:" + std::to_string(expected.code) +
                      "\r\n\r\n" + expected.why + ": \"" + file + "\""});
        EXPECT_TRUE(readFileBytes(file) == old) << "the old file is untouched";
        EXPECT_EQ(editor.Saved, VbFalse);
        EXPECT_EQ(editor.LevelFileName, path("before.dat"));
        return;
    }
    ASSERT_TRUE(saved) << firstBox();
    EXPECT_TRUE(dialogs.calls().empty());

    LevelsAndHiscores game;
    game.CommandLine = file;
    game.ResetHiscore();
    ASSERT_TRUE(binary ? game.LoadLevelsBinary(file) : game.LoadLevels(file)) << firstBox();
    EXPECT_EQ(described(game.Levels), described(asWritten(set))) << "the game's read";

    EditorLevelFiles reopened;
    ASSERT_TRUE(binary ? reopened.LoadLevelsBinary(file) : reopened.LoadLevels(file)) << firstBox();
    EXPECT_EQ(described(reopened.EditLevels), described(asWritten(set))) << "the editor's read";
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(SavedSet, GameAndEditorReadBackWhatTheEditorSavedOrTheSaveRefuses) {
    for (const Case& c : cases()) {
        std::vector<EditLevelRec> set = baseSet();
        c.probe(set);
        for (const bool binary : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (binary ? ", binary save" : ", text save"));
            check(set, binary, binary ? c.binary : c.text);
        }
    }
}
