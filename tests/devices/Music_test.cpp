#include "AudioSystem.h"
#include "MusicFixtures.h"
#include "PlayerFixture.h"
#include "Surface.h"
#include "SurfaceView.h"
#include "WavePlayer.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

void expectNeutral(const MPLAY& p) {
    EXPECT_EQ(p.SongTitle(), "");
    EXPECT_EQ(p.MasterVolume(), -1);
    EXPECT_EQ(p.GlobalVolume(0), -1);
    EXPECT_EQ(p.CurTime(), 0);
    EXPECT_FALSE(p.IsPlaying());
    EXPECT_FALSE(p.StreamIsPlaying());
    EXPECT_EQ(p.CurVu(0), 0.0f);
    EXPECT_EQ(p.StreamLength(), 0);
    EXPECT_FALSE(p.StreamIsPaused());
    EXPECT_EQ(p.StreamPosition(), 0);
    EXPECT_EQ(p.StreamTime(), 0);
    EXPECT_EQ(p.CurRow(), 0);
    EXPECT_EQ(p.CurPattern(), 0);
    EXPECT_EQ(p.NumberOfPatterns(), 0);
    EXPECT_EQ(p.CurType(), "");
    EXPECT_EQ(p.NumberOfSamples(), 0);
    EXPECT_EQ(p.sample(0), 0);
    EXPECT_EQ(p.NumberOfChannels(), -1);
}

// A module and a wave in the folder; the music moves by hand unless the test is one of the
// few that play in real time on the device.
class MusicTest : public PlayerFixture {
protected:
    explicit MusicTest(Drive drive = Drive::ByHand) : PlayerFixture(drive) {}
    void SetUp() override {
        PlayerFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        player->resize(100, 100);
        mod = fixtures::write(dir, "song.xm", fixtures::protrackerModule());
        wav = fixtures::write(dir, "tone.wav", fixtures::waveFile(300));
    }
    std::string copy(const std::string& bytesOf, const std::string& name) {
        std::ifstream in(bytesOf, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        return fixtures::write(dir, name, bytes);
    }

    std::string mod, wav;
};

// The device's own part: its thread playing the music, and the device shared with the
// sound effects.
class MusicOnDevice : public MusicTest {
protected:
    MusicOnDevice() : MusicTest(Drive::OnTheDevice) {}
};

class MusicOnEitherDrive : public MusicTest, public testing::WithParamInterface<Drive> {
protected:
    MusicOnEitherDrive() : MusicTest(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Drives, MusicOnEitherDrive,
                         testing::Values(Drive::ByHand, Drive::OnTheDevice), driveName);

TEST_F(MusicTest, PlayFileByEnding) {
    struct Case {
        const char* name;
        const char* content; // "mod" or "wav"
        bool result;
        VbLong channels; // what is open afterwards: 4 a module, 1 a stream, -1 nothing
    } cases[] = {
        {"song.XM", "mod", true, 4},
        {"song.mod", "mod", true, 4},
        {"song.dat", "mod", true, 4},
        {"song.mid", "mod", true, 4},
        {"song.it", "mod", true, 4},
        {"song.xm2", "mod", false, -1},
        {"song.txt", "mod", false, -1},
        {"tone.WAV", "wav", false, 1},
        {"tone.au", "wav", false, 1},
        {"tone.xm", "wav", false, -1}, // not a module: nothing loads
        {"gone.xm", "", false, -1},
        {"gone.wav", "", false, -1},
    };
    for (const Case& c : cases) {
        std::string path = dir + "/" + c.name;
        if (std::string(c.content) == "mod") {
            path = copy(mod, c.name);
        } else if (std::string(c.content) == "wav") {
            path = copy(wav, c.name);
        }
        EXPECT_EQ(player->PlayFile(path, 0), c.result) << c.name;
        EXPECT_EQ(player->NumberOfChannels(), c.channels) << c.name;
        EXPECT_EQ(player->IsPlaying(), c.channels == 4) << c.name;
        EXPECT_EQ(player->StreamIsPlaying(), c.channels == 1) << c.name;
    }
}

// The endings fold the same in every locale: in Turkish "I" is no capital "i".
class MusicUnderLocale : public MusicTest {};

TEST_F(MusicUnderLocale, EndingsInCapitalsPlayAsTheirKind) {
    const std::pair<const char*, VbLong> cases[] = {
        {"SONG.MID", 4}, {"SONG.RMI", 4}, {"SONG.IT", 4}, {"SONG.XM", 4}, {"TONE.WAV", 1}};
    for (const auto& [name, channels] : cases) {
        const std::string path = copy(channels == 4 ? mod : wav, name);
        EXPECT_EQ(player->PlayFile(path, 0, true), channels == 4) << name;
        EXPECT_EQ(player->NumberOfChannels(), channels) << name;
    }
    // The asset names, matched on disk without regard to case.
    copy(mod, "INTRO.XM");
    EXPECT_TRUE(player->PlayFile(dir + "\\intro.xm", 0));
}

TEST_F(MusicTest, NothingOpenGivesNeutralValues) {
    expectNeutral(*player);
    EXPECT_FALSE(player->StopFile());
    player->SetVuVisual();
    EXPECT_EQ(player->VuCount(), 1);
    EXPECT_EQ(player->BarCount(), -1);
    EXPECT_EQ(player->CurMixingFrequency(0), 44100);
    player->setMasterVolume(10);
    player->setPauseModule(true);
    EXPECT_FALSE(player->Paused());
}

TEST_F(MusicTest, ModuleGettersComeFromTheModule) {
    ASSERT_TRUE(player->PlayFile(mod, 0));
    EXPECT_EQ(player->SongTitle(), "Vantorix test");
    EXPECT_EQ(player->CurType(), "1");
    EXPECT_EQ(player->NumberOfPatterns(), 2);
    EXPECT_EQ(player->NumberOfSamples(), 31);
    EXPECT_EQ(player->NumberOfChannels(), 4);
    EXPECT_NE(player->sample(0), 0);
    EXPECT_NE(player->sample(30), 0);
    EXPECT_EQ(player->sample(31), 0);
    EXPECT_EQ(player->MasterVolume(), 256);
    player->setMasterVolume(100);
    EXPECT_EQ(player->MasterVolume(), 100);
    EXPECT_EQ(player->GlobalVolume(1), 255);
    player->setGlobalVolume(1, 51);
    EXPECT_NEAR(player->GlobalVolume(1), 51, 2); // the module keeps 65 steps
    EXPECT_TRUE(player->IsPlaying());
    ASSERT_TRUE(waitUntil([&] { return player->CurTime() >= 200; }));
    EXPECT_EQ(player->CurPattern(), 1); // jumped after the first row
    EXPECT_TRUE(waitUntil([&] { return player->CurVu(0) > 0; }));
    EXPECT_EQ(player->CurVu(7), 0.0f);
    // Stream getters stay neutral during a module.
    EXPECT_EQ(player->StreamLength(), 0);
    EXPECT_FALSE(player->StreamIsPlaying());
}

TEST_P(MusicOnEitherDrive, PauseHoldsThePlayTime) {
    ASSERT_TRUE(player->PlayFile(mod, 0));
    ASSERT_TRUE(waitUntil([&] { return player->CurTime() > 50; }));
    player->setPauseModule(true);
    EXPECT_TRUE(player->Paused());
    pass(60); // a chunk in flight may still count
    const VbLong held = player->CurTime();
    pass(150);
    EXPECT_EQ(player->CurTime(), held);
    EXPECT_TRUE(player->IsPlaying());
    player->setPause(false);
    EXPECT_FALSE(player->Paused());
    EXPECT_TRUE(waitUntil([&] { return player->CurTime() > held; }));
    // A new PlayFile clears the flag.
    player->setPauseModule(true);
    ASSERT_TRUE(player->PlayFile(mod, 0));
    EXPECT_FALSE(player->Paused());
}

TEST_F(MusicTest, StopFileStopsAndFrees) {
    ASSERT_TRUE(player->PlayFile(mod, 0));
    player->setThrowEvents(true);
    EXPECT_TRUE(player->StopFile());
    EXPECT_FALSE(player->ThrowEvents());
    expectNeutral(*player);
    EXPECT_FALSE(player->StopFile());

    player->PlayFile(wav, 0);
    EXPECT_TRUE(player->StreamIsPlaying());
    EXPECT_TRUE(player->StopFile());
    expectNeutral(*player);

    // A new file replaces the one playing.
    const std::string other = copy(mod, "other.mod");
    ASSERT_TRUE(player->PlayFile(mod, 0));
    ASSERT_TRUE(player->PlayFile(wav, 0) == false);
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_TRUE(player->StreamIsPlaying());
    ASSERT_TRUE(player->PlayFile(other, 0));
    EXPECT_FALSE(player->StreamIsPlaying());
    EXPECT_TRUE(player->IsPlaying());
}

TEST_F(MusicTest, AutoLoopRestartsFromTheFirstOrderOncePastTheLoopTime) {
    ASSERT_TRUE(player->PlayFile(mod, 300));
    const VbLong early = player->CurTime();
    clock.advance(1000); // a tick before the loop time: no restart
    EXPECT_GE(player->CurTime(), early);
    ASSERT_TRUE(waitUntil([&] { return player->CurTime() >= 300; }));
    ASSERT_EQ(player->CurPattern(), 1);
    clock.advance(1000);
    EXPECT_LT(player->CurTime(), 300);
    EXPECT_EQ(player->CurPattern(), 0);
    EXPECT_TRUE(player->IsPlaying());

    // Loop time 0: never restarted by the control.
    ASSERT_TRUE(player->PlayFile(mod, 0));
    ASSERT_TRUE(waitUntil([&] { return player->CurTime() >= 300; }));
    clock.advance(5000);
    EXPECT_GE(player->CurTime(), 300);
}

TEST_P(MusicOnEitherDrive, StreamsHaveLengthPositionTimeAndPause) {
    EXPECT_FALSE(player->PlayFile(wav, 0, true));
    EXPECT_TRUE(player->StreamIsPlaying());
    EXPECT_EQ(player->NumberOfChannels(), 1);
    EXPECT_EQ(player->StreamLength(), 44 + 22050 * 300 / 1000 * 2);
    EXPECT_EQ(player->GlobalVolume(0), 255);
    EXPECT_EQ(player->MasterVolume(), -1);
    EXPECT_EQ(player->SongTitle(), "");
    ASSERT_TRUE(waitUntil([&] { return player->StreamTime() > 50; }));
    EXPECT_GT(player->StreamPosition(), 0);
    EXPECT_LE(player->StreamPosition(), player->StreamLength());
    player->setStreamPause(true);
    EXPECT_TRUE(player->StreamIsPaused());
    player->setStreamPause(false);
    EXPECT_FALSE(player->StreamIsPaused());
    // Looping: still playing after its length.
    pass(450);
    EXPECT_TRUE(player->StreamIsPlaying());

    // Played once: it ends.
    EXPECT_FALSE(player->PlayFile(wav, 0, false));
    EXPECT_TRUE(waitUntil([&] { return !player->StreamIsPlaying(); }));
}

TEST_F(MusicTest, StatusEventsFollowWhatIsOpen) {
    int stats = 0;
    int streamStats = 0;
    player->Stats = [&](bool playing, VbLong, VbLong, bool paused, VbLong, VbLong) {
        ++stats;
        EXPECT_TRUE(playing);
        EXPECT_FALSE(paused);
    };
    player->StreamStats = [&](VbLong, VbLong) { ++streamStats; };
    EXPECT_EQ(player->ThrowStatEventsInterval(), 25);
    ASSERT_TRUE(player->PlayFile(mod, 0));
    player->setThrowEvents(true);
    clock.advance(100);
    EXPECT_EQ(stats, 4);
    player->PlayFile(wav, 0, true);
    EXPECT_FALSE(player->ThrowEvents()) << "stopping the module ended the events";
    player->setThrowStatEventsInterval(50);
    player->setThrowEvents(true);
    clock.advance(100);
    EXPECT_EQ(streamStats, 2);
    EXPECT_EQ(stats, 4);
}

TEST_F(MusicTest, VuBarsRunFromYellowTowardsRed) {
    ASSERT_TRUE(player->PlayFile(mod, 0));
    ASSERT_EQ(player->VuCount(), 4);
    EXPECT_EQ(player->BarCount(), 4);
    const std::int32_t colours[] = {65535, 255 + 191 * 256, 255 + 128 * 256, 255 + 64 * 256};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(player->Vu(i).ForeColor(), colours[i]) << i;
        EXPECT_EQ(player->VuView(i).geometry(), QRect(i * 25, 0, 25, 100)) << i;
        EXPECT_FALSE(player->VuView(i).isVisibleTo(player.get()));
    }
    player->setVuMeter(true);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(player->VuView(i).isVisibleTo(player.get()));
    }
    // A stream has one bar, yellow, filling the control.
    player->PlayFile(wav, 0);
    ASSERT_EQ(player->VuCount(), 1);
    EXPECT_EQ(player->Vu(0).ForeColor(), 65535);
    EXPECT_EQ(player->VuView(0).geometry(), QRect(0, 0, 100, 100));
    EXPECT_TRUE(player->VuView(0).isVisibleTo(player.get()));
}

TEST_F(MusicTest, VuBarHeights) {
    player->SetVuVisual(); // one bar over the whole 100 x 100 control
    Surface& bar = player->Vu(0);
    bar.setForeColor(255);
    ASSERT_EQ(bar.ScaleHeight(), 100);
    auto top = [&] { // first coloured row, 100 when none
        for (int y = 0; y < 100; ++y) {
            if (bar.Point(10, y) == 255) {
                return y;
            }
        }
        return 100;
    };
    struct Case {
        double level;
        float offsetAdd;
        int height;
    } cases[] = {
        {102.0 / 255, 0.5f, 40}, // exactly 40 %: not lengthened
        {101.0 / 255, 0.5f, 40}, // 39.6 % is drawn 40 high: not lengthened either
        {100.0 / 255, 0.5f, 58}, // 39 + 19.5, halves to even
        {51.0 / 255, 0.5f, 30},  // 20 % lengthened by half
        {51.0 / 255, 0.0f, 20},  {1.0, 0.5f, 100}, {0.0, 0.5f, 0},
    };
    for (const Case& c : cases) {
        player->setVuOffsetAdd(c.offsetAdd);
        player->DrawVu(0, c.level);
        EXPECT_EQ(100 - top(), c.height) << c.level;
        if (c.height < 100) {
            EXPECT_EQ(bar.Point(10, 99 - c.height), 0) << "above the bar is the back colour";
        }
    }
}

TEST_F(MusicOnDevice, SoundEffectsPlayOnWhileTheMusicChanges) {
    wave::PlayOptions loop;
    loop.loop = true;
    ASSERT_TRUE(wave::playFile(wav, loop));
    ASSERT_TRUE(player->PlayFile(mod, 195000));
    EXPECT_TRUE(wave::isPlaying());
    EXPECT_TRUE(player->StopFile());
    EXPECT_TRUE(wave::isPlaying());
    player->PlayFile(copy(wav, "music.wav"), 0, true);
    EXPECT_TRUE(wave::isPlaying());
    ASSERT_TRUE(player->PlayFile(mod, 0));
    player->CloseObject();
    EXPECT_TRUE(wave::isPlaying());
    expectNeutral(*player);
    EXPECT_TRUE(audio::isOpen());
    // After CloseObject the next PlayFile sets things up again.
    EXPECT_TRUE(player->PlayFile(mod, 0));
    wave::stop();
}

TEST_F(MusicTest, AssetNamesMatchWithoutRegardToCase) {
    copy(mod, "Bg.XM");
    EXPECT_TRUE(player->PlayFile(dir + "\\bg.xm", 195000));
    EXPECT_EQ(player->SongTitle(), "Vantorix test");
}

TEST_F(MusicOnDevice, TheSharedDeviceClosingUnderThePlayerLeavesNothingDangling) {
    ASSERT_TRUE(player->PlayFile(mod, 0));
    audio::close();
    EXPECT_FALSE(player->IsPlaying());
    player->PlayFile(wav, 0, true);
    ASSERT_TRUE(audio::open());
    EXPECT_FALSE(player->PlayFile(wav, 0, true));
    audio::close();
    EXPECT_FALSE(player->StreamIsPlaying());
    EXPECT_EQ(player->StreamTime(), 0);
    EXPECT_TRUE(player->StopFile());
    player.reset();
    ASSERT_TRUE(audio::open());
}

TEST(MusicWithoutSound, EveryCallAnswersNeutral) {
    if (audio::open()) {
        GTEST_SKIP() << "this machine has sound; the silent run sets SDL_AUDIODRIVER";
    }
    QTemporaryDir dir;
    const std::string mod =
        fixtures::write(dir.path().toStdString(), "bg.xm", fixtures::protrackerModule());
    const std::string wav =
        fixtures::write(dir.path().toStdString(), "tone.wav", fixtures::waveFile(100));
    MPLAY player;
    EXPECT_FALSE(player.PlayFile(mod, 195000));
    expectNeutral(player);
    EXPECT_FALSE(player.PlayFile(wav, 0, true));
    expectNeutral(player);
    EXPECT_FALSE(player.StopFile());
    EXPECT_EQ(player.CurMixingFrequency(0), 0);
    EXPECT_EQ(player.CurCPUUsage(), 0);
    player.SetVuVisual();
    player.UpdateStat_Timer();
    player.AutoLoop_Timer();
    player.CloseObject();
}

} // namespace
