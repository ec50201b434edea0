#include "AudioSystem.h"
#include "WaveBytes.h"
#include "WavePlayer.h"

#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

class WavePlayerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(audio::open()); }
    void TearDown() override { audio::close(); }
};

} // namespace

TEST_F(WavePlayerTest, WaitReturnsAfterTheSoundEnded) {
    ASSERT_TRUE(wave::playMemory(squareWaveWav(60), {.wait = true}));
    EXPECT_FALSE(wave::isPlaying());
    // Looping while waiting would never return: it plays once.
    ASSERT_TRUE(wave::playMemory(squareWaveWav(40), {.wait = true, .loop = true}));
    EXPECT_FALSE(wave::isPlaying());
}

TEST_F(WavePlayerTest, FileFormPlaysAsynchronouslyAndLoops) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("short.wav").toStdString();
    std::ofstream(path, std::ios::binary) << squareWaveWav(30);
    ASSERT_TRUE(wave::playFile(path, {.loop = true}));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_TRUE(wave::isPlaying());
    wave::stop();
    EXPECT_FALSE(wave::isPlaying());
}

TEST_F(WavePlayerTest, NoStopLeavesThePlayingSoundAlone) {
    ASSERT_TRUE(wave::playMemory(squareWaveWav(3000), {}));
    EXPECT_FALSE(wave::playMemory(squareWaveWav(50), {.noStop = true}));
    EXPECT_TRUE(wave::isPlaying());
    // Without noStop the new sound replaces it.
    EXPECT_TRUE(wave::playMemory(squareWaveWav(50), {.wait = true}));
    EXPECT_FALSE(wave::isPlaying());
    // Nothing playing any more: noStop plays.
    EXPECT_TRUE(wave::playMemory(squareWaveWav(20), {.wait = true, .noStop = true}));
}

TEST_F(WavePlayerTest, UnplayableInputIsSilence) {
    EXPECT_FALSE(wave::playFile("/no/such/file.wav", {}));
    EXPECT_FALSE(wave::playFile("", {}));
    EXPECT_FALSE(wave::playMemory("RIFF garbage", {}));
    EXPECT_FALSE(wave::playMemory("", {}));
    std::string cut = squareWaveWav(50);
    cut.resize(30);
    EXPECT_FALSE(wave::playMemory(cut, {}));
}

TEST_F(WavePlayerTest, SurvivesTheDeviceClosingUnderIt) {
    ASSERT_TRUE(wave::playMemory(squareWaveWav(3000), {.loop = true}));
    audio::close();
    EXPECT_FALSE(wave::isPlaying());
    wave::stop();
    ASSERT_TRUE(audio::open());
    EXPECT_TRUE(wave::playMemory(squareWaveWav(20), {.wait = true}));
}
