#include "AudioSystem.h"
#include "WavePlayer.h"

#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

// A RIFF image of ms milliseconds of a 16-bit mono square wave at 22050 Hz.
std::string tinyWav(int ms) {
    const std::uint32_t rate = 22050;
    const std::uint32_t samples = rate * static_cast<std::uint32_t>(ms) / 1000;
    std::string w;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            w += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    auto u16 = [&](std::uint16_t v) {
        w += static_cast<char>(v & 0xFF);
        w += static_cast<char>(v >> 8);
    };
    w += "RIFF";
    u32(36 + samples * 2);
    w += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2); // bytes per second
    u16(2);        // block align
    u16(16);       // bits
    w += "data";
    u32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) {
        u16((i / 25) % 2 ? 0x2000 : 0xE000);
    }
    return w;
}

class WavePlayerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(audio::open()); }
    void TearDown() override { audio::close(); }
};

} // namespace

TEST_F(WavePlayerTest, WaitReturnsAfterTheSoundEnded) {
    ASSERT_TRUE(wave::playMemory(tinyWav(60), {.wait = true}));
    EXPECT_FALSE(wave::isPlaying());
    // Looping while waiting would never return: it plays once.
    ASSERT_TRUE(wave::playMemory(tinyWav(40), {.wait = true, .loop = true}));
    EXPECT_FALSE(wave::isPlaying());
}

TEST_F(WavePlayerTest, FileFormPlaysAsynchronouslyAndLoops) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("short.wav").toStdString();
    std::ofstream(path, std::ios::binary) << tinyWav(30);
    ASSERT_TRUE(wave::playFile(path, {.loop = true}));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_TRUE(wave::isPlaying());
    wave::stop();
    EXPECT_FALSE(wave::isPlaying());
}

TEST_F(WavePlayerTest, NoStopLeavesThePlayingSoundAlone) {
    ASSERT_TRUE(wave::playMemory(tinyWav(3000), {}));
    EXPECT_FALSE(wave::playMemory(tinyWav(50), {.noStop = true}));
    EXPECT_TRUE(wave::isPlaying());
    // Without noStop the new sound replaces it.
    EXPECT_TRUE(wave::playMemory(tinyWav(50), {.wait = true}));
    EXPECT_FALSE(wave::isPlaying());
    // Nothing playing any more: noStop plays.
    EXPECT_TRUE(wave::playMemory(tinyWav(20), {.wait = true, .noStop = true}));
}

TEST_F(WavePlayerTest, UnplayableInputIsSilence) {
    EXPECT_FALSE(wave::playFile("/no/such/file.wav", {}));
    EXPECT_FALSE(wave::playFile("", {}));
    EXPECT_FALSE(wave::playMemory("RIFF garbage", {}));
    EXPECT_FALSE(wave::playMemory("", {}));
    std::string cut = tinyWav(50);
    cut.resize(30);
    EXPECT_FALSE(wave::playMemory(cut, {}));
}

TEST_F(WavePlayerTest, SurvivesTheDeviceClosingUnderIt) {
    ASSERT_TRUE(wave::playMemory(tinyWav(3000), {.loop = true}));
    audio::close();
    EXPECT_FALSE(wave::isPlaying());
    wave::stop();
    ASSERT_TRUE(audio::open());
    EXPECT_TRUE(wave::playMemory(tinyWav(20), {.wait = true}));
}
