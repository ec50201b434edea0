#include "AssetNames.h"
#include "DialogService.h"
#include "LevelsAndHiscores.h"
#include "QFTModule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace {

// The shipped set and the example set, read by the game's own readers from a program
// folder of their own (the readers also make hiscore files beside the set).
class ShippedLevels : public testing::Test {
protected:
    ShippedLevels() : game(globals) {
        const QString root = dir.path();
        QDir().mkpath(root + "/Original_levels");
        QDir().mkpath(root + "/custom_levels");
        QFile::copy(QString::fromStdString(binDir() + "/Original_levels/data.dat"),
                    root + "/Original_levels/data.dat");
        QFile::copy(QString::fromStdString(binDir() + "/custom_levels/Rookie.dat"),
                    root + "/custom_levels/Rookie.dat");
        setAppPathForTesting(root.toStdString() + "/");
    }
    ~ShippedLevels() override { setAppPathForTesting(""); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    HiscoreGlobals globals;
    LevelsAndHiscores game;
};

int frameWidth(int type) {
    return type >= 8 ? 32 : 24;
}
int frameHeight(int type) {
    return type >= 8 ? 24 : 18;
}

TEST_F(ShippedLevels, TheShippedSetLoadsWithTheBinaryReaderAndIsPlayable) {
    game.LoadOrgLevels();
    EXPECT_TRUE(dialogs.calls().empty()) << dialogs.calls().front().prompt;
    ASSERT_TRUE(game.BinaryLevels);
    ASSERT_GE(game.Levels.size(), 20u);

    std::set<int> types, drops;
    int previousSpeed = 0;
    for (const LevelRec& level : game.Levels) {
        EXPECT_FALSE(level.Name.empty());
        EXPECT_GE(level.Speed, previousSpeed) << level.Name << ": difficulty should rise";
        previousSpeed = level.Speed;
        int widest = 0, leftmost = 400;
        for (size_t i = 0; i < level.AlienType.size(); ++i) {
            const int t = level.AlienType[i], x = level.AlienX[i], y = level.AlienY[i];
            types.insert(t);
            drops.insert(level.AlienDrops[i]);
            EXPECT_GE(x, 0) << level.Name;
            EXPECT_GE(y, 0) << level.Name;
            // Inside the pane, and clear of the warning band above the shield line.
            EXPECT_LE(x + frameWidth(t), 400) << level.Name;
            EXPECT_LT(y + frameHeight(t), 375 - 100) << level.Name;
            EXPECT_EQ(level.AlienScore[i], (t + 1) * 100);
            EXPECT_GE(level.AlienHits[i], 1);
            widest = std::max(widest, x + frameWidth(t));
            leftmost = std::min(leftmost, x);
        }
        EXPECT_LE(widest - leftmost, 400 - 60) << level.Name << ": no room to march";
    }
    EXPECT_EQ(types, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int code = -1; code <= 9; ++code)
        EXPECT_TRUE(drops.count(code)) << "no alien drops pickup " << code;
}

TEST_F(ShippedLevels, TheExampleSetLoadsWithTheTextReader) {
    ASSERT_TRUE(game.LoadLevels(dir.path().toStdString() + "/custom_levels/Rookie.dat"));
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_FALSE(game.BinaryLevels);
    EXPECT_GE(game.Levels.size(), 2u);
}

} // namespace
