#pragma once

#include "DialogService.h"
#include "FileBytes.h"
#include "HiscoreFile.h"
#include "LevelRecordBytes.h"
#include "LevelsAndHiscores.h"
#include "QFTModule.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

// Hand-made file bytes for the level and hiscore tests, built without our writers.
namespace fixture {

// The scrambler's rotation within codes 32..255, written out independently.
inline std::string scramble(const std::string& plain) {
    std::string out = plain;
    for (auto& c : out) {
        const int code = static_cast<unsigned char>(c);
        c = static_cast<char>((code - 32 + hiscoreShiftKey) % 224 + 32);
    }
    return out;
}

// One hiscore record: the 10-character field as typed here, scrambled, then filler.
inline std::string hiscoreRecord(const std::string& plain10) {
    EXPECT_EQ(plain10.size(), 10u);
    std::string r = scramble(plain10);
    r.resize(128, '\0');
    return r;
}

inline void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string level(const std::string& name, int speed, const std::string& alienLines,
                         int count = 1) {
    return "l:" + name + "\r\ns:" + std::to_string(speed) + "\r\n" + std::to_string(count) +
           "\r\n" + alienLines;
}

inline std::string textSet(int levels) {
    std::string out;
    for (int i = 1; i <= levels; ++i) {
        out += level("Level " + std::to_string(i), (i - 1) % 50 + 1, "0,10,10,1,-1,1,100\r\n");
    }
    return out;
}

class LevelsTest : public testing::Test {
protected:
    LevelsTest() : game(globals) {
        setAppPathForTesting(dir.path().toStdString() + "/");
        game.CommandLine = "-loadlevels{x}";
        game.seams.repaintHiscores = [this] { ++repaints; };
        game.ResetHiscore();
    }
    ~LevelsTest() override { setAppPathForTesting(""); }

    std::string path(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }
    std::vector<std::string> prompts() const { return dialogs.prompts(); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    HiscoreGlobals globals;
    LevelsAndHiscores game;
    int repaints = 0;
};

} // namespace fixture
