// The one road of every sound effect: gates, copies in turn, the fallback player.
#include "AudioSystem.h"
#include "EngineFixture.h"
#include "WaveBytes.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

std::string writeWav(const std::string& path) {
    return writeBytes(path, squareWaveWav(100));
}

class GameEngineSoundDispatch : public testing::Test, public EngineFixture {
protected:
    // The buffers as start-up loads them: nine copies of 102, one of 105, 108 and its
    // variants in elements 0..3.
    void loadBuffers() {
        ASSERT_TRUE(dir.isValid());
        const std::string wav = writeWav(dir.path().toStdString() + "/fx.wav");
        for (dx8Sound& s : f().Sound102) {
            s.LoadWaveFile(wav, nullptr);
        }
        f().Sound105[0].LoadWaveFile(wav, nullptr);
        for (int i = 0; i < 4; ++i) {
            f().Sound108[static_cast<std::size_t>(i)].LoadWaveFile(wav, nullptr);
        }
        DirectSoundReady = true;
    }
    std::vector<int> counts(const std::array<dx8Sound, 9>& copies) {
        std::vector<int> c;
        for (const dx8Sound& s : copies) {
            c.push_back(s.playCount());
        }
        return c;
    }
    void TearDown() override {
        DirectSoundReady = false;
        audio::close();
    }
    QTemporaryDir dir;
};

TEST_F(GameEngineSoundDispatch, FiftyMillisecondGatePerId) {
    loadBuffers();
    e().LocalPlaySound(102);
    const auto last = e().LastSoundTime[1];
    clock.advance(10);
    e().LocalPlaySound(102);
    EXPECT_EQ(counts(f().Sound102), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(e().LastSoundTime[1], last);
    EXPECT_EQ(e().SoundChannel[1], 1);
    // Another id is not held back.
    e().LocalPlaySound(105);
    EXPECT_EQ(f().Sound105[0].playCount(), 1);
    clock.advance(40); // 50 ms after the first start
    e().LocalPlaySound(102);
    EXPECT_EQ(f().Sound102[1].playCount(), 1);
}

TEST_F(GameEngineSoundDispatch, CopiesInTurnAndTheSingleBuffers) {
    loadBuffers();
    for (int i = 0; i < 11; ++i) {
        e().LocalPlaySound(102);
        e().LocalPlaySound(105);
        clock.advance(60);
    }
    EXPECT_EQ(counts(f().Sound102), (std::vector<int>{2, 2, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(f().Sound105[0].playCount(), 11);
    EXPECT_EQ(e().SoundChannel[1], 2);
    // 108: four sounding starts, five silent ones, then round again.
    for (int i = 0; i < 10; ++i) {
        e().LocalPlaySound(108);
        clock.advance(60);
    }
    EXPECT_EQ(counts(f().Sound108), (std::vector<int>{2, 1, 1, 1, 0, 0, 0, 0, 0}));
}

TEST_F(GameEngineSoundDispatch, FallbackPlayerTakesTheFilesAndThe108Cycle) {
    for (int i = 0; i < 10; ++i) {
        e().LocalPlaySound(108);
        clock.advance(60);
    }
    EXPECT_EQ(sounds, (std::vector<std::string>{"108", "108_1", "108_2", "108_1", "108"}));
    sounds.clear();
    e().LocalPlaySound(113);
    e().LocalPlaySound(101);
    EXPECT_EQ(sounds, (std::vector<std::string>{"113", "101"}));
}

TEST_F(GameEngineSoundDispatch, GatesThatChangeNothing) {
    f().mnuSound.Checked = false;
    e().LocalPlaySound(102);
    f().mnuSound.Checked = true;
    f().SoundAvailable = false;
    e().LocalPlaySound(102);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(e().SoundChannel[1], 0);
    EXPECT_FALSE(e().SoundStarted[1]);
    // Unknown ids play nothing, but the channel wrap still runs.
    f().SoundAvailable = true;
    e().SoundChannel[3] = 9;
    e().LocalPlaySound(100);
    e().LocalPlaySound(114);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(e().SoundChannel[3], 0);
}

class WrappingTicks : public testing::Test, public EngineFixture {
public:
    WrappingTicks() : EngineFixture(12 * 3600.0, 0xFFFFFFFFu - 20u) {}
};

TEST_F(WrappingTicks, GateHoldsAcrossTheCounterWrap) {
    e().LocalPlaySound(104);
    clock.advance(30); // the counter has wrapped: 30 ms later
    e().LocalPlaySound(104);
    EXPECT_EQ(played(104), 1);
    clock.advance(20);
    e().LocalPlaySound(104);
    EXPECT_EQ(played(104), 2);
}

} // namespace
