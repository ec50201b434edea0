#include "LevelFileFormat.h"
#include "LevelRecordBytes.h"
#include "VbError.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

const auto rec = fixture::record;

std::string recs(std::initializer_list<std::string> items) {
    std::string out;
    for (const auto& i : items) {
        out += rec(i);
    }
    return out;
}

EditAlienRec alien(VbInteger type, VbInteger x, VbInteger y, VbLong hits, VbLong drops,
                   VbInteger shoots, VbLong score) {
    EditAlienRec a;
    a.Type = type;
    a.X = x;
    a.Y = y;
    a.Hits = hits;
    a.Drops = drops;
    a.Shoots = shoots;
    a.Score = score;
    return a;
}

// Two levels: a name that must survive untrimmed, a stale stored Score, and an empty level.
std::vector<EditLevelRec> sampleLevels() {
    EditLevelRec a;
    a.Name = "  Boss, #1 ";
    a.Speed = 12;
    a.Aliens = {alien(3, 120, 40, 1, -1, 1, 999), alien(0, -5, 7, 9, 9, 0, 0)};
    EditLevelRec b = emptyEditLevel(2);
    b.Speed = 50;
    return {a, b};
}

const std::string sampleText = "l:  Boss, #1 \r\n"
                               "s:12\r\n"
                               "2\r\n"
                               "3,120,40,1,-1,1,400\r\n"
                               "0,-5,7,9,9,0,100\r\n"
                               "l:Level 2\r\n"
                               "s:50\r\n"
                               "1\r\n"
                               "-1,0,0,0,0,0,0\r\n";

const std::string sampleBinary =
    recs({"l:  Boss, #1 ", "s:12", "2",  "3", "120", "40", "1", "-1",  "1",
          "400",           "0",    "-5", "7", "9",   "9",  "0", "100", "l:Level 2",
          "s:50",          "1",    "-1", "0", "0",   "0",  "0", "0",   "0"});

constexpr ReaderKind allReaders[] = {ReaderKind::GameText, ReaderKind::GameBinary,
                                     ReaderKind::EditorText, ReaderKind::EditorBinary};

bool isText(ReaderKind k) {
    return k == ReaderKind::GameText || k == ReaderKind::EditorText;
}

} // namespace

TEST(LevelFileWriters, WriteBothEncodingsByteExact) {
    EXPECT_EQ(encodeLevelsText(sampleLevels()), sampleText);
    const std::string bin = encodeLevelsBinary(sampleLevels());
    EXPECT_EQ(bin.size(), 27u * 128u);
    EXPECT_EQ(bin, sampleBinary);
}

// Under a locale that writes a decimal comma and folds "I" its own way the files are the
// same bytes and read the same.
TEST(LevelFileFormatUnderLocale, WritesAndReadsAsEverywhere) {
    EXPECT_EQ(encodeLevelsText(sampleLevels()), sampleText);
    EXPECT_EQ(encodeLevelsBinary(sampleLevels()), sampleBinary);
    const std::string marked =
        "L:MINI\r\nS:7.5\r\n1\r\n0,10,10,1,-1,1,100\r\nEOF\r\nl:not read\r\n";
    for (const ReaderKind r : {ReaderKind::GameText, ReaderKind::EditorText}) {
        const LevelReadResult read = parseLevelFile(marked, r);
        ASSERT_TRUE(read.ok) << read.Failure.Description;
        ASSERT_EQ(read.Levels.size(), 1u);
        EXPECT_EQ(read.Levels[0].Name, "MINI");
        EXPECT_EQ(read.Levels[0].Speed, 8);
        EXPECT_EQ(read.Levels[0].Aliens.size(), 1u);
    }
}

TEST(LevelFileWriters, LevelWithoutRecordsIsWrittenAsPlaceholder) {
    EditLevelRec l;
    l.Name = "E";
    l.Speed = 3;
    EXPECT_EQ(encodeLevelsText({l}), "l:E\r\ns:3\r\n1\r\n-1,0,0,0,0,0,0\r\n");
}

TEST(LevelFileWriters, RefuseWhatWouldNotReadBack) {
    EditLevelRec l = emptyEditLevel(1);
    l.Name = "two\r\nlines";
    EXPECT_THROW(encodeLevelsText({l}), VbError);
    l.Name = std::string(124, 'n'); // "l:" + 124 = 126 characters: the largest record
    EXPECT_NO_THROW(encodeLevelsBinary({l}));
    l.Name += "n";
    try {
        encodeLevelsBinary({l});
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 59);
    }
}

TEST(LevelFileReaders, HandMadeFixturesReadInEveryReader) {
    for (const auto k : allReaders) {
        SCOPED_TRACE(static_cast<int>(k));
        const auto r = parseLevelFile(isText(k) ? sampleText : sampleBinary, k);
        ASSERT_TRUE(r.ok) << r.Failure.Description;
        ASSERT_EQ(r.Levels.size(), 2u);
        EXPECT_EQ(r.Levels[0].Name, "  Boss, #1 ");
        EXPECT_EQ(r.Levels[0].Speed, 12);
        ASSERT_EQ(r.Levels[0].Aliens.size(), 2u);
        const auto& a = r.Levels[0].Aliens[1];
        EXPECT_EQ(std::vector<int>({a.Type, a.X, a.Y, a.Hits, a.Drops, a.Shoots, a.Score}),
                  std::vector<int>({0, -5, 7, 9, 9, 0, 100}));
        EXPECT_EQ(r.Levels[1].Aliens[0].Type, -1);
    }
}

TEST(LevelFileReaders, SaveAndReloadGivesTheLevelsWithScoreFromType) {
    const auto levels = sampleLevels();
    for (const auto enc : {LevelEncoding::Text, LevelEncoding::Binary}) {
        const auto bytes =
            enc == LevelEncoding::Text ? encodeLevelsText(levels) : encodeLevelsBinary(levels);
        const auto r = parseLevelFile(bytes, enc == LevelEncoding::Text ? ReaderKind::EditorText
                                                                        : ReaderKind::EditorBinary);
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.Levels.size(), levels.size());
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const EditLevelRec back = toEditLevel(r.Levels[i]);
            EXPECT_EQ(back.Name, levels[i].Name);
            EXPECT_EQ(back.Speed, levels[i].Speed);
            ASSERT_EQ(back.Aliens.size(), levels[i].Aliens.size());
            for (std::size_t j = 0; j < back.Aliens.size(); ++j) {
                EXPECT_EQ(back.Aliens[j].X, levels[i].Aliens[j].X);
                EXPECT_EQ(back.Aliens[j].Score, (levels[i].Aliens[j].Type + 1) * 100);
            }
        }
    }
}

namespace {

struct TextCase {
    const char* what;
    std::string bytes;
    bool ok;
    std::vector<std::string> names; // levels read (also those read before a failure)
    int speed0;                     // speed of the first level, when ok
};

const std::string oneAlien = "1\r\n0,10,10,1,-1,1,100\r\n";

} // namespace

TEST(LevelFileReaders, TextGrammar) {
    const std::vector<TextCase> cases = {
        {"top-level comment skipped", "  # note\r\nl:A\r\ns:5\r\n" + oneAlien, true, {"A"}, 5},
        {"comment inside a block breaks it",
         "l:A\r\ns:5\r\n1\r\n# note\r\n0,1,1,1,1,1,1\r\n",
         false,
         {},
         0},
        {"eof between blanks ends the file",
         "l:A\r\ns:5\r\n" + oneAlien + "  eof \r\nl:B\r\ns:5\r\n" + oneAlien,
         true,
         {"A"},
         5},
        {"EOF inside a block is no end", "l:A\r\ns:5\r\n1\r\nEOF\r\n", false, {}, 0},
        {"L: starts a level", "L:Boss\r\ns:5\r\n" + oneAlien, true, {"Boss"}, 5},
        {"blank before l: is no level",
         " l:Boss\r\ns:5\r\n" + oneAlien + "l:B\r\ns:6\r\n" + oneAlien,
         true,
         {"B"},
         6},
        {"speed halves to even up", "l:A\r\ns:7.5\r\n" + oneAlien, true, {"A"}, 8},
        {"speed halves to even down", "l:A\r\ns:6.5\r\n" + oneAlien, true, {"A"}, 6},
        {"speed's first two characters dropped unread",
         "l:A\r\nx:12\r\n" + oneAlien,
         true,
         {"A"},
         12},
        {"speed item is not tested for comments", "l:A\r\n#:9\r\n" + oneAlien, true, {"A"}, 9},
        {"aliens over lines and sharing a line",
         "l:A\r\ns:5\r\n2\r\n3,120\r\n40,1,-1,\r\n1,400,0,1,2,1,1,0,100\r\n",
         true,
         {"A"},
         5},
        {"LF line ends", "l:A\ns:5\n1\n0,10,10,1,-1,1,100\n", true, {"A"}, 5},
        {"no final line end", "l:A\r\ns:5\r\n1\r\n0,10,10,1,-1,1,100", true, {"A"}, 5},
        {"stray items between levels ignored",
         "\r\n42\r\nl:A\r\ns:5\r\n" + oneAlien + "\r\n7\r\n",
         true,
         {"A"},
         5},
        {"input ends inside a level keeps earlier levels",
         "l:A\r\ns:5\r\n" + oneAlien + "l:B\r\ns:5\r\n2\r\n0,1,1,1,1,1,1\r\n",
         false,
         {"A"},
         0},
        {"speed item missing", "l:A\r\n", false, {}, 0},
        {"count 0", "l:A\r\ns:5\r\n0\r\n", false, {}, 0},
        {"not a number", "l:A\r\ns:5\r\n1\r\n0,ten,10,1,-1,1,100\r\n", false, {}, 0},
        {"empty field", "l:A\r\ns:5\r\n1\r\n0,,10,1,-1,1,100\r\n", false, {}, 0},
        {"16-bit overflow", "l:A\r\ns:5\r\n1\r\n0,40000,10,1,-1,1,100\r\n", false, {}, 0},
        {"empty file", "", false, {}, 0},
        {"only comments", "# a\r\n# b\r\n", false, {}, 0},
        {"binary file", sampleBinary, false, {}, 0},
        {"type 11", "l:A\r\ns:5\r\n1\r\n11,10,10,1,-1,1,100\r\n", false, {}, 0},
        {"type -2", "l:A\r\ns:5\r\n1\r\n-2,10,10,1,-1,1,100\r\n", false, {}, 0},
        {"pickup 26", "l:A\r\ns:5\r\n1\r\n0,10,10,1,26,1,100\r\n", false, {}, 0},
        {"pickup -2", "l:A\r\ns:5\r\n1\r\n0,10,10,1,-2,1,100\r\n", false, {}, 0},
        {"speed 0", "l:A\r\ns:0\r\n" + oneAlien, false, {}, 0},
        {"speed 51", "l:A\r\ns:51\r\n" + oneAlien, false, {}, 0},
        {"edges of the ranges",
         "l:A\r\ns:50\r\n2\r\n-1,1,1,1,-1,1,1\r\n10,1,1,1,25,1,1\r\n",
         true,
         {"A"},
         50},
    };
    for (const auto k : {ReaderKind::GameText, ReaderKind::EditorText}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) +
                         (k == ReaderKind::GameText ? " (game)" : " (editor)"));
            const auto r = parseLevelFile(c.bytes, k);
            EXPECT_EQ(r.ok, c.ok) << r.Failure.Description;
            std::vector<std::string> names;
            for (const auto& l : r.Levels) {
                names.push_back(l.Name);
            }
            EXPECT_EQ(names, c.names);
            if (c.ok && !r.Levels.empty()) {
                EXPECT_EQ(r.Levels[0].Speed, c.speed0);
            }
        }
    }
}

TEST(LevelFileReaders, TextFieldsSpreadOverLinesFillAliensInOrder) {
    const auto r = parseLevelFile(
        "l:A\r\ns:5\r\n2\r\n3,120\r\n40,1,-1,\r\n1,400,0,1,2,1,1,0,100\r\n", ReaderKind::GameText);
    ASSERT_TRUE(r.ok);
    const auto& a = r.Levels[0].Aliens;
    EXPECT_EQ(std::vector<int>({a[0].Type, a[0].X, a[0].Y, a[0].Hits, a[0].Drops, a[0].Shoots,
                                a[0].Score, a[1].Type, a[1].Score}),
              std::vector<int>({3, 120, 40, 1, -1, 1, 400, 0, 100}));
}

TEST(LevelFileReaders, WidthsDifferBetweenGameAndEditor) {
    // Hits, Drops and Score are 32-bit in the editor, 16-bit in the game.
    const std::string bigScore = "l:A\r\ns:5\r\n1\r\n0,1,1,1,1,1,40000\r\n";
    EXPECT_FALSE(parseLevelFile(bigScore, ReaderKind::GameText).ok);
    EXPECT_EQ(parseLevelFile(bigScore, ReaderKind::GameText).Failure.Description, "Overflow");
    EXPECT_TRUE(parseLevelFile(bigScore, ReaderKind::EditorText).ok);
    EXPECT_FALSE(
        parseLevelFile("l:A\r\ns:5\r\n1\r\n0,1,40000,1,1,1,1\r\n", ReaderKind::EditorText).ok);
}

TEST(LevelFileReaders, EditorRefusesAPlaceholderAmongRealAliens) {
    // The editor cannot show it; the game leaves such an alien to the play.
    const std::string mixed = "l:A\r\ns:5\r\n2\r\n0,1,1,1,1,1,1\r\n-1,0,0,0,0,0,0\r\n";
    EXPECT_FALSE(parseLevelFile(mixed, ReaderKind::EditorText).ok);
    EXPECT_TRUE(parseLevelFile(mixed, ReaderKind::GameText).ok);
    // A placeholder first marks an empty level, whatever follows.
    EXPECT_TRUE(parseLevelFile("l:A\r\ns:5\r\n2\r\n-1,0,0,0,0,0,0\r\n0,1,1,1,1,1,1\r\n",
                               ReaderKind::EditorText)
                    .ok);
}

TEST(LevelFileReaders, BinaryGrammar) {
    const std::string nul = "\0"s;
    struct Case {
        const char* what;
        std::string bytes;
        bool gameOk;
        bool editorOk;
    };
    const auto level = [](std::initializer_list<std::string> values) {
        std::string out = recs({"l:A", "s:5", "1"});
        for (const auto& v : values) {
            out += rec(v);
        }
        return out;
    };
    const std::vector<Case> cases = {
        {"plain", level({"0", "1", "2", "1", "-1", "1", "100"}), true, true},
        {"values between NULs", level({nul + "3" + nul + "zz", "1", "2", "1", "-1", "1", "100"}),
         true, true},
        {"leading number in the game", level({"2abc", "1", "2", "1", "-1", "1", "100"}), true,
         false},
        {"blanks and halves allowed in the editor", level({" 2 ", "1.5", "2", "1", "-1", "1", "1"}),
         true, true},
        {"16-bit overflow", level({"0", "40000", "2", "1", "-1", "1", "100"}), false, false},
        {"input ends inside a level", level({"0", "1", "2"}), false, false},
        {"top-level comment and end item",
         rec(" # c") + level({"0", "1", "2", "1", "-1", "1", "100"}) + rec("EOF") + rec("junk"),
         true, true},
        {"record longer than 126", level({"0", "1", "2", "1", "-1", "1", "100"}) + "\x7F\x00"s,
         false, false},
        {"a text file", sampleText, false, false},
        {"no records", "", false, false},
        {"pickup code 26", level({"0", "1", "2", "1", "26", "1", "100"}), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parseLevelFile(c.bytes, ReaderKind::GameBinary).ok, c.gameOk);
        EXPECT_EQ(parseLevelFile(c.bytes, ReaderKind::EditorBinary).ok, c.editorOk);
    }

    // "12abc" gives 12, "abc" 0 in the game.
    const auto r =
        parseLevelFile(level({"abc", "12abc", "2", "1", "-1", "1", "100"}), ReaderKind::GameBinary);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.Levels[0].Aliens[0].Type, 0);
    EXPECT_EQ(r.Levels[0].Aliens[0].X, 12);

    // The game delimits the level record too; the editor takes it as stored.
    const std::string wrapped =
        rec(nul + "l:N" + nul) + recs({"s:5", "1", "0", "1", "2", "1", "-1", "1", "100"});
    const auto g = parseLevelFile(wrapped, ReaderKind::GameBinary);
    ASSERT_TRUE(g.ok);
    EXPECT_EQ(g.Levels[0].Name, "N");
    EXPECT_FALSE(parseLevelFile(wrapped, ReaderKind::EditorBinary).ok);

    // The filler of the last record may be missing; its text may not.
    std::string shortTail = level({"0", "1", "2", "1", "-1", "1", "100"});
    shortTail.resize(shortTail.size() - 123);
    EXPECT_TRUE(parseLevelFile(shortTail, ReaderKind::GameBinary).ok);
    shortTail.resize(shortTail.size() - 2);
    EXPECT_FALSE(parseLevelFile(shortTail, ReaderKind::GameBinary).ok);
}

TEST(LevelFileReaders, ByteOrderMarksOfTextEditors) {
    struct Case {
        const char* what;
        std::string bytes;
        bool ok;
        std::vector<std::string> names; // when ok; else the failure's description
    };
    const std::string levelBody = "s:5\r\n1\r\n0,1,1,1,-1,1,100\r\n"; // speed, one alien
    const Case cases[] = {
        {"UTF-8 mark: the first level stays",
         "\xEF\xBB\xBFl:First\r\n" + levelBody + "l:Second\r\n" + levelBody,
         true,
         {"First", "Second"}},
        {"UTF-8 mark: names become the programs' texts",
         "\xEF\xBB\xBFl:Caf\xC3\xA9 \xE2\x82\xAC\r\n" + levelBody,
         true,
         {"Caf\xE9 \x80"}},
        {"no mark: bytes as they are", "l:Caf\xE9\r\n" + levelBody, true, {"Caf\xE9"}},
        {"a mark inside a name is a name",
         "l:\xEF\xBB\xBFX\r\n" + levelBody,
         true,
         {"\xEF\xBB\xBFX"}},
        {"UTF-16, little end first",
         "\xFF\xFEl\0:\0"s,
         false,
         {"The file is saved as UTF-16 text; save it as ANSI or UTF-8 text."}},
        {"UTF-16, big end first",
         "\xFE\xFF\0l\0:"s,
         false,
         {"The file is saved as UTF-16 text; save it as ANSI or UTF-8 text."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const ReaderKind reader : {ReaderKind::GameText, ReaderKind::EditorText}) {
            const LevelReadResult r = parseLevelFile(c.bytes, reader);
            ASSERT_EQ(r.ok, c.ok) << r.Failure.Description;
            if (!c.ok) {
                EXPECT_EQ(r.Failure.Description, c.names[0]);
                continue;
            }
            std::vector<std::string> names;
            for (const auto& l : r.Levels) {
                names.push_back(l.Name);
            }
            EXPECT_EQ(names, c.names);
        }
    }
    // The record encoding has no marks: one there is a damaged first record.
    for (const ReaderKind reader : {ReaderKind::GameBinary, ReaderKind::EditorBinary}) {
        const LevelReadResult r = parseLevelFile(
            "\xEF\xBB\xBF" + recs({"l:A", "s:5", "1", "0", "1", "1", "1", "-1", "1", "100"}),
            reader);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.Failure.Description, "Bad record length");
    }
}

TEST(LevelFileReaders, ASetHoldsAtMost32767Levels) {
    const std::string oneLevel = "l:\r\ns:1\r\n1\r\n0,0,0,0,0,0,0\r\n";
    std::string most;
    most.reserve(oneLevel.size() * 32768);
    for (int i = 0; i < 32767; ++i) {
        most += oneLevel;
    }
    for (const ReaderKind reader : {ReaderKind::GameText, ReaderKind::EditorText}) {
        const LevelReadResult r = parseLevelFile(most, reader);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.Levels.size(), 32767u);
        const LevelReadResult over = parseLevelFile(most + oneLevel, reader);
        EXPECT_FALSE(over.ok);
        EXPECT_EQ(over.Failure.Number, 6);
        EXPECT_EQ(over.Failure.Description, "Level 32768: a set holds at most 32767 levels.");
        EXPECT_EQ(over.Levels.size(), 32767u);
    }
    std::string records;
    const std::string oneRecorded = recs({"l:", "s:1", "1", "0", "0", "0", "0", "0", "0", "0"});
    for (int i = 0; i < 32768; ++i) {
        records += oneRecorded;
    }
    for (const ReaderKind reader : {ReaderKind::GameBinary, ReaderKind::EditorBinary}) {
        const LevelReadResult over = parseLevelFile(records, reader);
        EXPECT_FALSE(over.ok);
        EXPECT_EQ(over.Failure.Number, 6);
    }
}
