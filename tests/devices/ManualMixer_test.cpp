// The seam the music tests move the mixer by: what it renders, and that it leaves the
// device alone and gives the slot back to it.
#include "AudioSystem.h"
#include "MPLAY.h"
#include "ManualMixer.h"
#include "MusicFixtures.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace {

int loudest(const std::vector<std::int16_t>& heard, std::size_t fromFrame, std::size_t toFrame) {
    int level = 0;
    for (std::size_t i = fromFrame * 2; i < toFrame * 2; ++i) {
        level = std::max(level, std::abs(static_cast<int>(heard[i])));
    }
    return level;
}

TEST(ManualMixer, MusicMovesAsFarAsItIsPulledAndNoFurther) {
    audio::close();
    QTemporaryDir dir;
    const std::string mod =
        fixtures::write(dir.path().toStdString(), "song.mod", fixtures::protrackerModule());
    std::optional<ManualMixer> mixer(std::in_place);
    {
        MPLAY player;
        ASSERT_TRUE(player.PlayFile(mod, 0));
        EXPECT_EQ(player.CurMixingFrequency(0), audio::sampleRate);
        EXPECT_EQ(player.CurTime(), 0);
        mixer->advance(1000);
        EXPECT_EQ(mixer->framesRendered(), 44100u);
        EXPECT_EQ(player.CurTime(), 1000);
        EXPECT_GT(loudest(mixer->heard(), 0, 44100), 1000) << "the square wave sounds";
        // Paused, the slot renders silence and its time stands.
        player.setPauseModule(true);
        mixer->pull(2048);
        EXPECT_EQ(player.CurTime(), 1000);
        EXPECT_EQ(loudest(mixer->heard(), 44100, 44100 + 2048), 0);
        player.setPauseModule(false);
        mixer->pull(4410);
        EXPECT_EQ(player.CurTime(), 1100);
        EXPECT_FALSE(audio::isOpen()) << "the device was never opened";
    }
    // Once the mixer goes, the device plays the music again, in real time.
    mixer.reset();
    MPLAY player;
    ASSERT_TRUE(player.PlayFile(mod, 0));
    EXPECT_TRUE(audio::isOpen());
    EXPECT_TRUE(fixtures::waitUntil([&] { return player.CurTime() > 0; }));
}

} // namespace
