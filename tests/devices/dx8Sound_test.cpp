#include "AudioSystem.h"
#include "DialogService.h"
#include "MemoryBudget.h"
#include "MusicFixtures.h"
#include "SoundChunk.h"
#include "VbError.h"
#include "WaveBytes.h"
#include "dx8Sound.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string writeWav(const QTemporaryDir& dir, const std::string& name, int ms) {
    return writeBytes(dir.path().toStdString() + "/" + name, squareWaveWav(ms));
}

class dx8SoundTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { audio::close(); }
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(dx8SoundTest, UnloadedBufferIgnoresEveryCall) {
    dx8Sound s;
    EXPECT_FALSE(s.Loaded());
    s.Play(VbFalse);
    s.StopPlay();
    s.PausePlay();
    s.SetVolume(-500);
    s.SetPaning(2000);
    EXPECT_EQ(s.playCount(), 0);
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(dx8SoundTest, MissingOrBadFileRaisesAndStaysUnloaded) {
    dx8Sound s;
    try {
        s.LoadWaveFile(dir.path().toStdString() + "/nope.wav", nullptr);
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), vberr::FileNotFound);
    }
    EXPECT_FALSE(s.Loaded());
    const std::string junk = dir.path().toStdString() + "/junk.wav";
    std::ofstream(junk) << "not a wave";
    EXPECT_THROW(s.LoadWaveFile(junk, nullptr), VbError);
    EXPECT_FALSE(s.Loaded());
    s.Play(VbFalse);
    EXPECT_EQ(s.playCount(), 0);
}

TEST_F(dx8SoundTest, NoSoundDeviceShowsTheMessageAndFails) {
    audio::close();
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string keep = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    dx8Sound s;
    EXPECT_THROW(s.LoadWaveFile(writeWav(dir, "a.wav", 50), nullptr), VbError);
    audio::close();
    setenv("SDL_AUDIODRIVER", keep.c_str(), 1);
    EXPECT_FALSE(s.Loaded());
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt,
              "Unable to start DirectSound. Check to see that your sound card is properly "
              "installed and that MS Dirext 8 or later is installed.");
    EXPECT_EQ(dialogs.calls()[0].style, mb::OKOnly);
}

TEST_F(dx8SoundTest, OneBufferOnePlayPosition) {
    SoundChunk c;
    std::string error;
    int number = 0;
    ASSERT_TRUE(c.load(writeWav(dir, "long.wav", 3000), error, number)) << error;
    c.play(false);
    EXPECT_TRUE(c.playing());
    // Playing again while it plays keeps the one sound going.
    c.play(false);
    EXPECT_TRUE(c.playing());
    c.pause();
    EXPECT_TRUE(c.paused());
    EXPECT_FALSE(c.playing());
    c.play(false); // resumes where it was
    EXPECT_TRUE(c.playing());
    c.stop();
    EXPECT_FALSE(c.playing());
    EXPECT_FALSE(c.paused());
    c.setVolume(-10000);
    c.setPan(-10000);
    c.play(true);
    EXPECT_TRUE(c.playing());
    // Closing the sound output frees the chunk; the object stays safe to use.
    audio::close();
    EXPECT_FALSE(c.loaded());
    c.play(false);
    EXPECT_FALSE(c.playing());
}

TEST_F(dx8SoundTest, LoadedBufferPlays) {
    dx8Sound s;
    s.LoadWaveFile(writeWav(dir, "b.wav", 500), nullptr);
    ASSERT_TRUE(s.Loaded());
    s.Play(VbFalse);
    s.Play(VbFalse);
    EXPECT_EQ(s.playCount(), 2);
    s.StopPlay();
    s.SetVolume(0);
    s.SetPaning(10000);
    s.Play(VbTrue);
    EXPECT_EQ(s.playCount(), 3);
}

TEST_F(dx8SoundTest, DamagedChunkLengthsCostNoMoreMemoryThanTheFile) {
    if (!runsWithinMemoryBudget()) {
        GTEST_SKIP() << "the sanitizer's shadow memory needs the address space this limits";
    }
    // Each wave claims about 4 GB in its sound or in the whole of it, in a file of a few KB:
    // it loads what it holds, within a small budget of memory.
    const std::string wave = squareWaveWav(100);
    struct Case {
        const char* name;
        std::size_t lengthAt;
    };
    for (const Case c : {Case{"data", 40}, Case{"riff", 4}}) {
        SCOPED_TRACE(c.name);
        std::string damaged = wave;
        for (std::size_t i = 0; i < 4; ++i) {
            damaged[c.lengthAt + i] = static_cast<char>(i == 3 ? 0xFF : 0x00);
        }
        const std::string path =
            writeBytes(dir.path().toStdString() + "/" + c.name + ".wav", damaged);
        ASSERT_TRUE(audio::open());
        EXPECT_TRUE(answerWithinMemoryBudget(256u << 20, [&] {
            SoundChunk chunk;
            std::string error;
            int number = 0;
            return chunk.load(path, error, number);
        })) << "the sound did not load";
    }
}

TEST_F(dx8SoundTest, OnlyWaveFilesLoad) {
    // The mixer's loader would take music of other kinds too, and decode all of it into
    // memory: a module that plays for hours took gigabytes.
    const std::string path =
        writeBytes(dir.path().toStdString() + "/song.wav", fixtures::protrackerModule());
    SoundChunk chunk;
    std::string error;
    int number = 0;
    EXPECT_FALSE(chunk.load(path, error, number));
    EXPECT_EQ(number, 5);
    EXPECT_NE(error.find("Unable to load the sound"), std::string::npos) << error;
    EXPECT_FALSE(chunk.loaded());
}
