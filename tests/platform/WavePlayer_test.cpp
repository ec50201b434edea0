#include "AudioSystem.h"
#include "MemoryBudget.h"
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

TEST_F(WavePlayerTest, OnlyWaveFilesPlayAndDamagedLengthsCostNoMemory) {
    // A sound the mixer's loader knows but that is no wave (AIFF here; modules and compressed
    // music alike) does not play: it would be decoded whole into memory first.
    std::string aiff = "FORM";
    const auto be32 = [&](std::uint32_t v) {
        for (int i = 3; i >= 0; --i) {
            aiff += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    const std::uint32_t frames = 800;
    be32(4 + 8 + 18 + 8 + 8 + frames * 2);
    aiff += "AIFFCOMM";
    be32(18);
    aiff += std::string("\0\1", 2);                          // channels
    be32(frames);                                            // frames
    aiff += std::string("\0\x10", 2);                        // bits
    aiff += std::string("\x40\x0D\xAC\x44\0\0\0\0\0\0", 10); // 22050 Hz, 80-bit
    aiff += "SSND";
    be32(8 + frames * 2);
    be32(0);
    be32(0);
    for (std::uint32_t i = 0; i < frames; ++i) {
        aiff += (i / 25) % 2 ? std::string("\x20\x00", 2) : std::string("\xE0\x00", 2);
    }
    EXPECT_FALSE(wave::playMemory(aiff, {}));

    if (!runsWithinMemoryBudget()) {
        return; // the sanitizer's shadow memory needs the address space the budget limits
    }
    // A wave whose sound claims about 4 GB in a file of a few KB plays what it holds.
    std::string damaged = squareWaveWav(100);
    damaged.replace(40, 4, std::string("\0\0\0\xFF", 4));
    EXPECT_TRUE(answerWithinMemoryBudget(
        256u << 20, [&] { return wave::playMemory(damaged, {.wait = true}); }));
}
