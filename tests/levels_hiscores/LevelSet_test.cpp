#include "LevelFixtures.h"

#include <filesystem>

using namespace fixture;
using Levels = LevelsTest;

TEST_F(Levels, TextSetFillsTheTableAndTheJumpMenu) {
    std::string aliens;
    for (int i = 0; i < 12; ++i) {
        aliens += std::to_string(i % 11) + "," + std::to_string(10 * i) + ",5,2,-1,1," +
                  std::to_string((i % 11 + 1) * 100) + "\r\n";
    }
    put(path("seven.dat"), level("Big", 9, aliens, 12) + textSet(6));
    ASSERT_TRUE(game.LoadLevels(path("seven.dat")));
    ASSERT_EQ(game.Levels.size(), 7u);
    const LevelRec& big = game.Levels[0];
    EXPECT_EQ(big.Name, "Big");
    EXPECT_EQ(big.Speed, 9);
    for (const auto* a : {&big.AlienType, &big.AlienX, &big.AlienY, &big.AlienHits, &big.AlienDrops,
                          &big.AlienShoots, &big.AlienScore}) {
        EXPECT_EQ(a->size(), 12u);
    }
    EXPECT_EQ(big.AlienX[11], 110);
    EXPECT_EQ(big.AlienType[11], 0);
    EXPECT_EQ(big.AlienScore[10], 1100);
    EXPECT_EQ(game.BinaryLevels, VbFalse);
    EXPECT_EQ(game.CurrentLevelFile, path("seven.dat"));
    EXPECT_EQ(game.JumpMenuCaptions,
              (std::vector<std::string>{"Level 01", "Level 02", "Level 03", "Level 04", "Level 05",
                                        "Level 06", "Level 07"}));
    EXPECT_EQ(repaints, 1);

    put(path("three.dat"), textSet(3));
    ASSERT_TRUE(game.LoadLevels(path("three.dat")));
    EXPECT_EQ(game.Levels.size(), 3u);
    EXPECT_EQ(game.JumpMenuCaptions,
              (std::vector<std::string>{"Level 01", "Level 02", "Level 03"}));
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(Levels, HundredLevelsGiveThreeDigitCaptions) {
    put(path("many.dat"), textSet(100));
    ASSERT_TRUE(game.LoadLevels(path("many.dat")));
    EXPECT_EQ(game.JumpMenuCaptions[8], "Level 09");
    EXPECT_EQ(game.JumpMenuCaptions[99], "Level 100");
}

TEST_F(Levels, FailedLoadShowsBothBoxesAndKeepsWhatWasRead) {
    put(path("good.dat"), textSet(4));
    ASSERT_TRUE(game.LoadLevels(path("good.dat")));
    put(path("bad.dat"), textSet(2) + level("X", 5, "0,40000,10,1,-1,1,100\r\n"));

    EXPECT_FALSE(game.LoadLevels(path("bad.dat")));
    ASSERT_EQ(dialogs.calls().size(), 2u);
    // The damage, and which file it is in: a set chosen in the start dialog is on no
    // command line.
    EXPECT_EQ(dialogs.calls()[0].prompt,
              "ERROR! Level file is corrupted!\r\nOverflow: \"" + path("bad.dat") + "\"");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Critical);
    EXPECT_EQ(dialogs.calls()[1].prompt, "Command:\r\n\r\n-loadlevels{x}");
    EXPECT_EQ(dialogs.calls()[1].style, mb::Information);
    // The two complete levels replace the table; the rest keeps its former value.
    EXPECT_EQ(game.Levels.size(), 2u);
    EXPECT_EQ(game.CurrentLevelFile, path("good.dat"));
    EXPECT_EQ(game.JumpMenuCaptions.size(), 4u);
}

TEST_F(Levels, ASetWithoutLevelsIsAFailedLoad) {
    put(path("good.dat"), textSet(2));
    ASSERT_TRUE(game.LoadLevels(path("good.dat")));
    put(path("empty.dat"), "");
    put(path("comments.dat"), "# nothing\r\n#here\r\n");
    put(path("binary.dat"), record("l:A") + record("s:5") + record("1") + record("0") +
                                record("1") + record("1") + record("1") + record("-1") +
                                record("1") + record("100"));
    for (const auto* name : {"empty.dat", "comments.dat", "binary.dat", "missing.dat"}) {
        SCOPED_TRACE(name);
        dialogs.clear();
        EXPECT_FALSE(game.LoadLevels(path(name)));
        EXPECT_EQ(dialogs.calls().size(), 2u);
        EXPECT_EQ(game.Levels.size(), 2u);
        EXPECT_EQ(game.CurrentLevelFile, path("good.dat"));
    }
    EXPECT_EQ(prompts()[0],
              "ERROR! Level file is corrupted!\r\nFile not found: \"" + path("missing.dat") + "\"");
}

TEST_F(Levels, ValuesThePlayCannotUseFailTheLoad) {
    for (const auto* aliens : {"11,1,1,1,-1,1,1\r\n", "-2,1,1,1,-1,1,1\r\n", "0,1,1,1,26,1,1\r\n",
                               "0,1,1,1,-2,1,1\r\n"}) {
        SCOPED_TRACE(aliens);
        put(path("v.dat"), level("A", 5, aliens));
        EXPECT_FALSE(game.LoadLevels(path("v.dat")));
    }
    for (const int speed : {0, 51, -1}) {
        put(path("v.dat"), level("A", speed, "0,1,1,1,-1,1,1\r\n"));
        EXPECT_FALSE(game.LoadLevels(path("v.dat")));
    }
    put(path("v.dat"), level("A", 50, "10,1,1,1,25,1,1\r\n-1,1,1,1,-1,1,1\r\n", 2));
    EXPECT_TRUE(game.LoadLevels(path("v.dat")));
}

TEST_F(Levels, BinarySetReadsWithNulDelimitedValues) {
    const std::string nul(1, '\0');
    std::filesystem::create_directories(path("Original_levels"));
    put(path("Original_levels/data.dat"), record("l:First") + record(nul + "s:7.5" + nul + "junk") +
                                              record("1") + record("10xyz") + record("12abc") +
                                              record(nul + "30" + nul) + record("abc") +
                                              record("-1") + record("1") + record("1100"));
    game.LoadOrgLevels();
    ASSERT_EQ(game.Levels.size(), 1u);
    EXPECT_EQ(game.BinaryLevels, VbTrue);
    EXPECT_EQ(game.Levels[0].Speed, 8);
    EXPECT_EQ(game.Levels[0].AlienType[0], 10);
    EXPECT_EQ(game.Levels[0].AlienX[0], 12);
    EXPECT_EQ(game.Levels[0].AlienY[0], 30);
    EXPECT_EQ(game.Levels[0].AlienHits[0], 0);
    EXPECT_EQ(game.CurrentLevelFile, path("Original_levels/data.dat"));
    // Its hiscores were written beside it, with the checksum record.
    EXPECT_EQ(readFileBytes(path("Original_levels/data.hsc")).size(), 31u * 128u);

    // A custom set afterwards turns the binary flag off; a failed binary load leaves it on.
    put(path("c.dat"), textSet(1));
    ASSERT_TRUE(game.LoadLevels(path("c.dat")));
    EXPECT_EQ(game.BinaryLevels, VbFalse);
    put(path("cut.dat"), record("l:A") + record("s:5") + record("2") + record("0"));
    EXPECT_FALSE(game.LoadLevelsBinary(path("cut.dat")));
    EXPECT_EQ(game.BinaryLevels, VbTrue);
    EXPECT_EQ(game.Levels.size(), 1u);
}
