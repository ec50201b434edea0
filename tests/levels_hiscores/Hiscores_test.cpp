#include "LevelFixtures.h"

#include <filesystem>

using namespace fixture;

namespace {

std::string field(const std::string& text) {
    std::string f = text;
    f.resize(10, ' ');
    return f;
}

// A table typed out field by field, scrambled by hand; with the checksum when shipped.
struct HandTable {
    std::vector<std::array<std::string, 3>> plain = {
        {" 123456", " 3", "ACE"}, {" 99999", " 2", "  BOB"}, {" 50000", " 1", ""},
        {" 4000", " 1", "X"},     {" 3000", " 1", "X"},      {" 2000", " 1", "X"},
        {" 1000", " 1", "X"},     {" 500", " 1", "X"},       {" 100", " 1", "X"},
        {" 0", " 1", "X"}};
    std::string checksum = " 284081"; // scores + levels + lengths of the trimmed names

    std::string bytes(bool shipped) const {
        std::string out;
        for (const auto& e : plain) {
            for (const auto& f : e) {
                out += hiscoreRecord(field(f));
            }
        }
        if (shipped) {
            out += hiscoreRecord(field(checksum));
        }
        return out;
    }

    static HiscoreTable table(const std::string& bobName) {
        HiscoreTable t;
        t[0] = {123456, "ACE", 3};
        t[1] = {99999, bobName, 2};
        t[2] = {50000, "", 1};
        const VbLong rest[] = {4000, 3000, 2000, 1000, 500, 100, 0};
        for (int i = 0; i < 7; ++i) {
            t[3 + i] = {rest[i], "X", 1};
        }
        return t;
    }
};

class Hiscores : public LevelsTest {
protected:
    // A level set of one level, text or binary, beside a hiscore file holding bytes.
    void setWithHiscores(const std::string& name, bool shipped, const std::string& hsc) {
        if (shipped) {
            put(path(name + ".dat"), record("l:A") + record("s:5") + record("1") + record("0") +
                                         record("1") + record("1") + record("1") + record("-1") +
                                         record("1") + record("100"));
        } else {
            put(path(name + ".dat"), textSet(1));
        }
        put(path(name + ".hsc"), hsc);
    }
    bool load(const std::string& name, bool shipped) {
        return shipped ? game.LoadLevelsBinary(path(name + ".dat"))
                       : game.LoadLevels(path(name + ".dat"));
    }
};

} // namespace

TEST(HiscoreFileName, OnlyTheFinalDatOfTheNameIsReplaced) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/g/Sets/Mine.DAT", "/g/Sets/Mine.hsc"},
        {"/g/Old.data/Levels.Dat", "/g/Old.data/Levels.hsc"},
        {"/g/x.dat.dat", "/g/x.dat.hsc"},
        {"/g/set", "/g/set.hsc"},
        {"/g/x.dat.bak", "/g/x.dat.bak.hsc"},
        {"/g/x.hsc", "/g/x.hsc.hsc"},
        {"/g/.dat/dat", "/g/.dat/dat.hsc"},
        {"rel.dat", "rel.hsc"},
    };
    for (const auto& [level, hsc] : cases) {
        EXPECT_EQ(hiscoreFileName(level), hsc);
        EXPECT_NE(hiscoreFileName(level), level);
    }
}

// Under a locale that writes a decimal comma and folds "I" its own way the file is found,
// written and read as everywhere.
TEST(HiscoreFileUnderLocale, NameAndNumbersAsEverywhere) {
    EXPECT_EQ(hiscoreFileName("/g/Sets/MINI.DAT"), "/g/Sets/MINI.hsc");
    HiscoreTable t = defaultHiscores();
    t[0] = {1234567, "ISTANBUL", 12};
    t[9] = {-5, "I", -1};
    const std::string bytes = encodeHiscoreFile(t, true);
    EXPECT_EQ(bytes.substr(0, 128), hiscoreRecord(" 1234567  "));
    const DecodedHiscores back = decodeHiscoreFile(bytes, true);
    EXPECT_TRUE(back.ChecksumOk);
    EXPECT_EQ(back.Table, t);
}

TEST(HiscoreFile, ChecksumIsWrittenAsASigned32BitNumber) {
    struct Case {
        const char* what;
        std::vector<VbLong> scores; // the first places; the rest score 0
        std::string field;
    };
    const Case cases[] = {
        {"small", {100, 20}, " 120"},
        {"wraps to just below zero", {2147483647, 2147483640}, "-9"},
        {"the largest", {2147483647}, "2147483647"},
        // -1474836480 has no room for its sign: the unsigned twin, which reads back the same.
        {"wraps far below zero", std::vector<VbLong>(10, 2000000000), "2820130816"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HiscoreTable t;
        for (std::size_t i = 0; i < t.size(); ++i) {
            t[i] = {i < c.scores.size() ? c.scores[i] : 0, "", 0};
        }
        const std::string bytes = encodeHiscoreFile(t, true);
        std::string field = c.field;
        field.resize(10, ' ');
        EXPECT_EQ(bytes.substr(30UL * 128), hiscoreRecord(field));
        EXPECT_TRUE(decodeHiscoreFile(bytes, true).ChecksumOk);
    }
}

TEST_F(Hiscores, ANumberFieldWithoutANumberIsADamagedTable) {
    struct Case {
        const char* what;
        std::string bytes;
        int record;
    };
    std::string letters = HandTable().bytes(false);
    letters.replace(3UL * 128, 10, scramble(" 4000x    "));
    std::string blank = HandTable().bytes(false);
    blank.replace(128, 10, scramble("          "));
    const Case cases[] = {
        {"letters after the score", letters, 4},
        {"no level at all", blank, 2},
        {"shifted by a byte-order mark", "\xEF\xBB\xBF" + HandTable().bytes(false), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LevelsAndHiscores fresh(globals); // a damaged file costs one retry per run
        fresh.CommandLine = game.CommandLine;
        dialogs.clear();
        setWithHiscores("damaged", false, c.bytes);
        ASSERT_TRUE(fresh.LoadLevels(path("damaged.dat")));
        EXPECT_EQ(prompts(), (std::vector<std::string>{
                                 "Type mismatch (record " + std::to_string(c.record) +
                                     " holds no number): \"" + path("damaged.hsc") + "\"",
                                 "\"Hiscores.dat\" is corrupted!\r\nHiscores has been reset!"}));
        EXPECT_EQ(fresh.Hiscores, defaultHiscores());
        // Repaired as any damaged table: the defaults are written.
        EXPECT_EQ(readFileBytes(path("damaged.hsc")), encodeHiscoreFile(defaultHiscores(), false));
    }
}

TEST_F(Hiscores, HandMadeFileReadsToTheTable) {
    for (const bool shipped : {false, true}) {
        SCOPED_TRACE(shipped);
        setWithHiscores("hand", shipped, HandTable().bytes(shipped));
        ASSERT_TRUE(load("hand", shipped));
        EXPECT_EQ(game.Hiscores, HandTable::table("BOB")); // leading blanks trimmed
        EXPECT_TRUE(dialogs.calls().empty()) << prompts()[0];
    }
    EXPECT_EQ(repaints, 2);
}

TEST_F(Hiscores, WriterProducesTheHandMadeBytes) {
    for (const bool shipped : {false, true}) {
        const std::string bytes = encodeHiscoreFile(HandTable::table("  BOB"), shipped);
        EXPECT_EQ(bytes.size(), (shipped ? 31u : 30u) * 128u);
        EXPECT_EQ(bytes, HandTable().bytes(shipped));
    }
}

TEST_F(Hiscores, ChangedDigitFailsTheChecksumOfTheShippedSetOnly) {
    std::string bytes = HandTable().bytes(true);
    bytes[1] = scramble("2")[0]; // " 123456" becomes " 223456"
    setWithHiscores("ship", true, bytes);
    ASSERT_TRUE(load("ship", true));
    EXPECT_EQ(prompts(),
              std::vector<std::string>{"Checksum Error!\r\nThe hiscore file's checksum "
                                       "is invalid.\r\n\r\nThe hiscores has been reset!"});
    EXPECT_EQ(dialogs.calls()[0].style, mb::Critical);
    EXPECT_EQ(game.Hiscores, defaultHiscores());
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(decodeHiscoreFile(readFileBytes(path("ship.hsc")), true).Table, defaultHiscores());

    dialogs.clear();
    setWithHiscores("custom", false, bytes.substr(0, 30UL * 128));
    ASSERT_TRUE(load("custom", false));
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(game.Hiscores[0].Score, 223456);
}

TEST_F(Hiscores, CorruptFileCostsOneRetryPerRun) {
    setWithHiscores("short", false, HandTable().bytes(false).substr(0, 100));
    ASSERT_TRUE(load("short", false));
    EXPECT_EQ(prompts(), (std::vector<std::string>{
                             "Input past end of file: \"" + path("short.hsc") + "\"",
                             "\"Hiscores.dat\" is corrupted!\r\nHiscores has been reset!"}));
    EXPECT_EQ(dialogs.calls()[0].style, mb::OKOnly);
    EXPECT_EQ(dialogs.calls()[1].style, mb::Critical);
    EXPECT_EQ(dialogs.calls()[1].title, "ERROR!");
    EXPECT_EQ(game.Hiscores, defaultHiscores());
    EXPECT_EQ(readFileBytes(path("short.hsc")).size(), 30u * 128u);
    EXPECT_EQ(repaints, 1);

    // The second corrupt file of the run is passed on: the level set fails to load.
    dialogs.clear();
    std::string big = HandTable().bytes(false);
    big.replace(0, 10, scramble("9999999999"));
    setWithHiscores("overflow", false, big);
    game.Hiscores[0].Score = 1;
    EXPECT_FALSE(load("overflow", false));
    const std::string overflow = "Overflow: \"" + path("overflow.hsc") + "\"";
    EXPECT_EQ(prompts(),
              (std::vector<std::string>{overflow, "ERROR! Level file is corrupted!\r\n" + overflow,
                                        "Command:\r\n\r\n-loadlevels{x}"}));
    EXPECT_EQ(game.Hiscores, defaultHiscores());
}

TEST_F(Hiscores, MissingFileGivesTheDefaultsAndWritesThem) {
    put(path("new.dat"), textSet(1));
    ASSERT_TRUE(game.LoadLevels(path("new.dat")));
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(game.Hiscores, defaultHiscores());
    EXPECT_EQ(decodeHiscoreFile(readFileBytes(path("new.hsc")), false).Table, defaultHiscores());
    EXPECT_EQ(repaints, 1);
}

TEST_F(Hiscores, PlaceRuleEqualScoreGoesAbove) {
    struct Case {
        VbLong score;
        VbInteger start;
        VbBool cheat;
        VbInteger place;
    };
    for (const auto& c : std::vector<Case>{{5000, 0, VbFalse, 0},
                                           {6000, 0, VbFalse, 0},
                                           {4550, 0, VbFalse, 5},
                                           {4100, 0, VbFalse, 9},
                                           {4099, 0, VbFalse, -1},
                                           {9000, 2, VbFalse, -1},
                                           {9000, 2, VbTrue, 0}}) {
        EXPECT_EQ(game.GetScorePlace(c.score, c.start, c.cheat), c.place) << c.score;
    }
}

TEST_F(Hiscores, UpdateHiscoreEntersTheScoreWithTheTypedName) {
    int newGameEnabled = 0;
    int dialogsShown = 0;
    game.seams.enableNewGame = [&] { ++newGameEnabled; };
    game.seams.showHiscoreNameEntry = [&] {
        ++dialogsShown;
        // While the name is typed the panel shows "????" at the new place.
        EXPECT_EQ(game.Hiscores[globals.HiscorePlace - 1].Name, "????");
        globals.LastHiscoreName = "ZED";
    };

    game.UpdateHiscore(4100, 4, 0, VbFalse);
    EXPECT_EQ(globals.HiscorePlace, 10);
    EXPECT_EQ(game.Hiscores[9], (HiscoreEntry{4100, "ZED", 5}));
    EXPECT_EQ(game.Hiscores[8], (HiscoreEntry{4200, "....", 1}));

    game.UpdateHiscore(4800, 0, 0, VbFalse);
    EXPECT_EQ(game.Hiscores[2], (HiscoreEntry{4800, "ZED", 1}));
    EXPECT_EQ(game.Hiscores[3], (HiscoreEntry{4800, "TRY?", 1}));
    EXPECT_EQ(game.Hiscores[9], (HiscoreEntry{4200, "....", 1}));

    const HiscoreTable before = game.Hiscores;
    game.UpdateHiscore(100, 0, 0, VbFalse);  // beats nothing
    game.UpdateHiscore(9999, 0, 2, VbFalse); // started past level 1 without cheats
    EXPECT_EQ(game.Hiscores, before);
    EXPECT_EQ(dialogsShown, 2);
    game.UpdateHiscore(9999, 0, 2, VbTrue);
    EXPECT_EQ(game.Hiscores[0].Score, 9999);
    EXPECT_EQ(newGameEnabled, 5);

    // In internet mode the score goes to the server; the server's table replaces ours.
    std::vector<std::tuple<VbLong, VbLong, std::string>> sent;
    game.seams.internetMode = [] { return true; };
    game.seams.sendHiscore = [&](VbLong s, VbLong l, const std::string& n) {
        sent.emplace_back(s, l, n);
    };
    game.UpdateHiscore(20000, 2, 0, VbFalse);
    EXPECT_EQ(sent, (std::vector<std::tuple<VbLong, VbLong, std::string>>{{20000, 3, "ZED"}}));
    EXPECT_EQ(game.Hiscores[0].Name, "????");
}

TEST_F(Hiscores, EveryWrittenTableReadsBackEqual) {
    put(path("big.dat"), record("l:A") + record("s:5") + record("1") + record("0") + record("1") +
                             record("1") + record("1") + record("-1") + record("1") +
                             record("100"));
    ASSERT_TRUE(game.LoadLevelsBinary(path("big.dat")));
    HiscoreTable huge;
    const VbLong scores[] = {2147483647, 2000000000, 1999999999, 1000000000, 999999999,
                             123,        12,         1,          0,          0};
    for (int i = 0; i < 10; ++i) {
        huge[i] = {scores[i], i == 0 ? "AB" : "EIGHTCHR", static_cast<VbInteger>(32767 - i)};
    }
    HiscoreTable wrapsNegative; // the sum passes 2^31 and lands far below zero
    for (auto& e : wrapsNegative) {
        e = {2000000000, "N", 1};
    }
    for (const auto& t : {huge, wrapsNegative, defaultHiscores()}) {
        game.Hiscores = t;
        ASSERT_TRUE(game.WriteHiscores());
        game.ResetHiscore();
        game.ReadHiscores();
        EXPECT_EQ(game.Hiscores, t);
    }
    EXPECT_TRUE(dialogs.calls().empty()) << prompts()[0];
    // Ten digits are written without the sign blank.
    game.Hiscores = huge;
    ASSERT_TRUE(game.WriteHiscores());
    EXPECT_EQ(readFileBytes(path("big.hsc")).substr(9UL * 128, 128), hiscoreRecord("1000000000"));

    // Blanks around a name read back trimmed, and the checksum still holds.
    game.Hiscores = defaultHiscores();
    game.Hiscores[0].Name = "  SP ";
    ASSERT_TRUE(game.WriteHiscores());
    game.ReadHiscores();
    EXPECT_EQ(game.Hiscores[0].Name, "SP");
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(Hiscores, FailedWriteIsReportedAndNeverFailsTheLevelSet) {
    setWithHiscores("keep", false, HandTable().bytes(false));
    ASSERT_TRUE(load("keep", false));
    game.Hiscores[0].Score = 777777;
    failNextWriteAfterForTesting(200);
    EXPECT_FALSE(game.WriteHiscores());
    const std::string report =
        "ERROR! Unable to save the hiscores!\r\n\r\nDisk full: \"" + path("keep.hsc") + "\"";
    EXPECT_EQ(prompts(), std::vector<std::string>{report});
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
    EXPECT_EQ(readFileBytes(path("keep.hsc")), HandTable().bytes(false));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()),
                            std::filesystem::directory_iterator{}),
              2); // keep.dat and keep.hsc, no temporary file

    // A set whose defaults cannot be written still loads, with the defaults in memory.
    dialogs.clear();
    put(path("nowrite.dat"), textSet(2));
    failNextWriteAfterForTesting(0);
    EXPECT_TRUE(game.LoadLevels(path("nowrite.dat")));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt.rfind("ERROR! Unable to save the hiscores", 0), 0u);
    EXPECT_EQ(game.Hiscores, defaultHiscores());
    EXPECT_EQ(game.Levels.size(), 2u);
}

TEST_F(Hiscores, InternetModeReadsTheDownloadedTableAndWritesNothing) {
    std::filesystem::create_directories(path("Original_levels"));
    put(path("Original_levels/~idata.hsc"), HandTable().bytes(true));
    put(path("net.dat"), textSet(1));
    ASSERT_TRUE(game.LoadLevels(path("net.dat"))); // writes net.hsc with the defaults
    game.BinaryLevels = VbTrue;
    game.seams.internetMode = [] { return true; };
    game.ReadHiscores();
    EXPECT_EQ(game.Hiscores, HandTable::table("BOB"));
    std::filesystem::remove(path("net.hsc"));
    EXPECT_TRUE(game.WriteHiscores());
    EXPECT_FALSE(std::filesystem::exists(path("net.hsc")));
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(Hiscores, WithoutALevelSetThereIsNoFileToReadOrWrite) {
    game.Hiscores[0].Score = 1;
    game.ReadHiscores();
    EXPECT_EQ(game.Hiscores, defaultHiscores());
    EXPECT_TRUE(game.WriteHiscores());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path().toStdString()));
    EXPECT_TRUE(dialogs.calls().empty());
}
