// Every kind of music file the player takes, written here through Debian's own libraries:
// what plays, how long, where it is, and what a damaged or hostile file does.
#include "AudioSystem.h"
#include "MusicFixtures.h"
#include "PlayerFixture.h"
#include "SoundFileWriters.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <sndfile.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string readBytes(const std::string& path, std::uintmax_t from = 0) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// One kind of file: its name and how the test writes it.
struct Kind {
    const char* name;
    double seconds;
    int rate;
    std::function<bool(const std::string& path, const fixtures::Tone&, std::string&)> write;
    double slackMs = 30; // how far the decoded length may be off the written one
};

fixtures::Tone toneOf(const Kind& k) {
    fixtures::Tone t;
    t.seconds = k.seconds;
    t.rate = k.rate;
    return t;
}

auto sampled(int format, int channels = 1) {
    return [format, channels](const std::string& path, fixtures::Tone tone, std::string& error) {
        tone.channels = channels;
        return fixtures::writeSampled(path, format, tone, error);
    };
}

auto compressed(const char* muxer, const char* encoder, int channels = 1,
                bool unindexedVbr = false) {
    return [=](const std::string& path, fixtures::Tone tone, std::string& error) {
        tone.channels = channels;
        return fixtures::writeCompressed(path, muxer, encoder, tone, error, 128000, unindexedVbr);
    };
}

// The stream kinds, at rates other than the mixer's among them. The first MP3 has a variable
// bit rate and no index of its frames, so its length is only known from the frames (another
// library took it for half a second); it also keeps the encoder's delay and padding, up to
// two frames, as sound. The second one's header says how much of them to drop.
std::vector<Kind> streamKinds() {
    return {
        {"tone.mp3", 3.58, 48000, compressed("mp3", "libmp3lame", 2, true), 50},
        {"gapless.mp3", 1.0, 44100, compressed("mp3", "libmp3lame")},
        {"tone.mp2", 0.8, 32000, compressed("mp2", "mp2")},
        {"tone.mpg", 0.8, 48000, compressed("mpeg", "mp2", 2)},
        {"tone.wma", 0.8, 44100, compressed("asf", "wmav2", 2)},
        {"tone.asf", 0.8, 22050, compressed("asf", "wmav1")},
        {"tone.iff", 0.8, 16000, sampled(SF_FORMAT_SVX | SF_FORMAT_PCM_16)},
        {"tone.aiff", 0.8, 44100, sampled(SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2)},
        {"tone.au", 0.8, 8000, sampled(SF_FORMAT_AU | SF_FORMAT_ULAW)},
        {"tone.wav", 0.8, 22050, sampled(SF_FORMAT_WAV | SF_FORMAT_PCM_16)},
    };
}

// The music moves by hand: what a test waits for comes as soon as it is rendered.
class MusicKindsTest : public PlayerFixture {
protected:
    explicit MusicKindsTest(Drive drive = Drive::ByHand) : PlayerFixture(drive) {}
    std::string write(const Kind& k) {
        std::string path = dir + "/" + k.name;
        std::string error;
        EXPECT_TRUE(k.write(path, toneOf(k), error)) << k.name << ": " << error;
        return path;
    }
    std::string writeMidi(const std::string& name, const std::string& bytes) {
        return fixtures::write(dir, name, bytes);
    }
    // Plays a wave stream to its end; the highest level the meter showed on the way.
    float loudestLevelOf(const std::string& path) {
        EXPECT_FALSE(player->PlayFile(path, 0, false));
        EXPECT_TRUE(player->StreamIsPlaying()) << player->LastError();
        float loudest = 0;
        EXPECT_TRUE(waitUntil([&] {
            loudest = std::max(loudest, player->CurVu(0));
            return !player->StreamIsPlaying();
        }));
        return loudest;
    }
};

TEST_F(MusicKindsTest, EveryStreamKindPlaysAudiblyWithItsLengthAndPosition) {
    for (const Kind& k : streamKinds()) {
        SCOPED_TRACE(k.name);
        const std::string path = write(k);
        EXPECT_FALSE(player->PlayFile(path, 0, false)); // streams answer False
        EXPECT_EQ(player->LastError(), "");
        ASSERT_TRUE(player->StreamIsPlaying());
        EXPECT_EQ(player->NumberOfChannels(), 1);
        const double lengthMs = k.seconds * 1000;
        const VbLong bytes = player->StreamLength();
        EXPECT_EQ(bytes, static_cast<VbLong>(fs::file_size(path)));

        // The position is the share of the sound played, so it keeps step with the time.
        ASSERT_TRUE(waitUntil([&] { return player->StreamTime() >= lengthMs * 0.4; }));
        player->setStreamPause(true);
        const double time = player->StreamTime();
        const double share = static_cast<double>(player->StreamPosition()) / bytes;
        EXPECT_NEAR(share, time / lengthMs, 0.02) << "at " << time << " ms";
        pass(80);
        EXPECT_EQ(player->StreamTime(), time) << "paused";
        player->setStreamPause(false);

        float loudest = 0;
        ASSERT_TRUE(waitUntil([&] {
            loudest = std::max(loudest, player->CurVu(0));
            return !player->StreamIsPlaying();
        })) << "a stream played once comes to its end";
        EXPECT_GT(loudest, 0.25f) << "the tone is written at half of full scale";
        EXPECT_LT(loudest, 0.75f);
        EXPECT_GE(player->StreamTime(), lengthMs - k.slackMs) << "the whole sound";
        EXPECT_LE(player->StreamTime(), lengthMs + k.slackMs) << "and no more";
        EXPECT_EQ(player->StreamPosition(), bytes);
    }
}

void littleEndian(std::string& w, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        w += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

// A mono wave file: the coding (1 integer PCM, 3 floating point), bits per sample, samples.
std::string monoWave(int rate, int coding, int bits, const std::string& samples) {
    const auto size = static_cast<std::uint32_t>(samples.size());
    const auto bytesPerFrame = static_cast<std::uint32_t>(bits / 8);
    std::string w = "RIFF";
    littleEndian(w, 36 + size, 4);
    w += "WAVEfmt ";
    littleEndian(w, 16, 4);
    littleEndian(w, static_cast<std::uint32_t>(coding), 2);
    littleEndian(w, 1, 2);
    littleEndian(w, static_cast<std::uint32_t>(rate), 4);
    littleEndian(w, static_cast<std::uint32_t>(rate) * bytesPerFrame, 4);
    littleEndian(w, bytesPerFrame, 2);
    littleEndian(w, static_cast<std::uint32_t>(bits), 2);
    w += "data";
    littleEndian(w, size, 4);
    return w + samples;
}

// A square wave at full scale, 16-bit: resampled to the mixer's rate, it overshoots.
std::string fullScaleSquareWave(int rate, double seconds) {
    std::string samples;
    for (int i = 0; i < static_cast<int>(rate * seconds); ++i) {
        littleEndian(samples, (i / 8) % 2 ? 0x7FFF : 0x8001, 2);
    }
    return monoWave(rate, 1, 16, samples);
}

TEST_F(MusicKindsTest, TheLevelOfAStreamStaysWithinFullScale) {
    // What is heard clips at full scale, and so does the level that shows it.
    const std::string path = fixtures::write(dir, "square.wav", fullScaleSquareWave(8000, 0.5));
    const float loudest = loudestLevelOf(path);
    EXPECT_GT(loudest, 0.9f);
    EXPECT_LE(loudest, 1.0f);
}

TEST_F(MusicKindsTest, SamplesThatAreNoNumberAreSilence) {
    // A damaged floating-point wave: a tone at half of full scale with runs of infinities
    // and of values that are no number at all. Those play as silence, never as full-scale
    // clicks, and the rest plays as written.
    std::string samples;
    for (int i = 0; i < 4000; ++i) {
        float v = 0.5f * static_cast<float>(std::sin(i * 0.3));
        if (i >= 1000 && i < 1100) {
            v = i % 2 ? std::numeric_limits<float>::infinity()
                      : -std::numeric_limits<float>::infinity();
        } else if (i >= 2000 && i < 2100) {
            v = std::numeric_limits<float>::quiet_NaN();
        }
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        littleEndian(samples, bits, 4);
    }
    const std::string path = fixtures::write(dir, "damaged.wav", monoWave(8000, 3, 32, samples));
    const float loudest = loudestLevelOf(path);
    EXPECT_GT(loudest, 0.4f);
    EXPECT_LT(loudest, 0.6f);
    int heard = 0;
    for (const std::int16_t v : mixer->heard()) {
        heard = std::max(heard, std::abs(static_cast<int>(v)));
    }
    EXPECT_LT(heard, 0.6 * 32767);
}

TEST_F(MusicKindsTest, StreamVolumeStopAndLoopBehaveAlikeForEveryKind) {
    for (const Kind& k : streamKinds()) {
        SCOPED_TRACE(k.name);
        const std::string path = write(k);
        player->PlayFile(path, 0, true);
        ASSERT_TRUE(waitUntil([&] { return player->CurVu(0) > 0.2f; }));
        player->setGlobalVolume(0, 0);
        EXPECT_EQ(player->GlobalVolume(0), 0);
        // The level is the last block's: one played since the change.
        const VbLong turnedDown = player->StreamTime();
        ASSERT_TRUE(waitUntil([&] { return player->StreamTime() != turnedDown; }));
        EXPECT_EQ(player->CurVu(0), 0.0f) << "volume 0 is silence";
        player->setGlobalVolume(0, 255);
        // Looping: it goes round and its time starts again.
        ASSERT_TRUE(waitUntil([&] { return player->StreamTime() > k.seconds * 500; }));
        ASSERT_TRUE(waitUntil([&] { return player->StreamTime() < k.seconds * 400; }))
            << "no second round";
        EXPECT_TRUE(player->StreamIsPlaying());
        EXPECT_TRUE(player->StopFile());
        EXPECT_FALSE(player->StreamIsPlaying());
        EXPECT_EQ(player->CurVu(0), 0.0f);
    }
}

TEST_F(MusicKindsTest, MidiSongsPlayAsModules) {
    const std::string midi = fixtures::midiFile(69, 0.5, 1.0, 80, "Vantorix tune");
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"song.mid", midi}, {"song.MID", midi}, {"song.rmi", fixtures::rmidFile(midi)}}) {
        SCOPED_TRACE(name);
        const std::string path = writeMidi(name, bytes);
        ASSERT_TRUE(player->PlayFile(path, 0)) << player->LastError();
        EXPECT_TRUE(player->IsPlaying());
        EXPECT_EQ(player->CurType(), "5");
        EXPECT_EQ(player->SongTitle(), "Vantorix tune");
        EXPECT_EQ(player->NumberOfChannels(), 16);
        EXPECT_EQ(player->VuCount(), 16);
        float loudest = 0;
        ASSERT_TRUE(waitUntil([&] {
            loudest = std::max(loudest, player->CurVu(0));
            return player->CurTime() >= 400;
        }));
        EXPECT_GT(loudest, 0.02f) << "the note sounds on its channel";
        EXPECT_LT(loudest, 1.0f);
        EXPECT_EQ(player->CurVu(1), 0.0f) << "nothing plays on the second channel";
        // Its channel's volume turns it down.
        player->setGlobalVolume(0, 0);
        EXPECT_EQ(player->GlobalVolume(0), 0);
        const VbLong turnedDown = player->CurTime();
        ASSERT_TRUE(waitUntil([&] { return player->CurTime() > turnedDown; }));
        EXPECT_EQ(player->CurVu(0), 0.0f);
        player->setGlobalVolume(0, 255);
        // Pause holds the play time.
        player->setPauseModule(true);
        pass(60);
        const VbLong held = player->CurTime();
        pass(120);
        EXPECT_EQ(player->CurTime(), held);
        player->setPauseModule(false);
        EXPECT_TRUE(player->StopFile());
        EXPECT_FALSE(player->IsPlaying());
    }
}

TEST_F(MusicKindsTest, AutoLoopRestartsAMidiSongFromItsStart) {
    // A song longer than its loop time: the restart comes before its own end.
    const std::string path = writeMidi("long.mid", fixtures::midiFile(60, 3.0, 4.0));
    ASSERT_TRUE(player->PlayFile(path, 300)) << player->LastError();
    ASSERT_TRUE(waitUntil([&] { return player->CurTime() >= 300; }));
    clock.advance(1000);
    EXPECT_LT(player->CurTime(), 300);
    EXPECT_TRUE(player->IsPlaying());
}

// Damaged files under the right ending: junk is refused and says so; a cut file plays what
// it holds, at its own level; nothing crashes or hangs, and a damaged stream ends.
TEST_F(MusicKindsTest, DamagedFilesOfEveryKindAreRefusedOrPlayWhatTheyHold) {
    enum Expect { Refused, MayPlay, NoCrash };
    struct Damage {
        const char* what;
        Expect expect;
        std::function<std::string(const std::string&)> make;
    } damages[] = {
        {"cut in half", MayPlay, [](const std::string& b) { return b.substr(0, b.size() / 2); }},
        {"cut to its first 40 bytes", MayPlay,
         [](const std::string& b) { return b.substr(0, 40); }},
        {"junk", Refused,
         [](const std::string&) {
             std::string junk(4096, '\0');
             std::uint32_t s = 12345;
             for (char& c : junk) {
                 s = s * 1664525u + 1013904223u;
                 c = static_cast<char>(s >> 24);
             }
             return junk;
         }},
        {"its header then junk", NoCrash,
         [](const std::string& b) {
             std::string d = b.substr(0, std::min<std::size_t>(b.size(), 64));
             for (std::size_t i = d.size(); i < 8192; ++i) {
                 d += static_cast<char>((i * 7919) & 0xFF);
             }
             return d;
         }},
    };
    std::vector<std::pair<std::string, std::string>> good;
    for (const Kind& k : streamKinds()) {
        good.emplace_back(k.name, readBytes(write(k)));
    }
    const std::string midi = fixtures::midiFile(69, 0.5, 1.0);
    good.emplace_back("song.mid", midi);
    good.emplace_back("song.rmi", fixtures::rmidFile(midi));
    for (const auto& [name, bytes] : good) {
        for (const Damage& d : damages) {
            SCOPED_TRACE(name + " " + d.what);
            const std::string path = fixtures::write(dir, "bad-" + name, d.make(bytes));
            const bool module = player->PlayFile(path, 0, false);
            const bool playing = module || player->StreamIsPlaying();
            if (d.expect == Refused) {
                EXPECT_FALSE(playing);
                EXPECT_EQ(player->NumberOfChannels(), -1);
            }
            if (!playing) {
                EXPECT_NE(player->LastError().find("bad-" + name), std::string::npos)
                    << player->LastError();
            }
            float loudest = 0;
            EXPECT_TRUE(waitUntil([&] {
                loudest = std::max(loudest, player->CurVu(0));
                return module ? player->CurTime() >= 300 : !player->StreamIsPlaying();
            })) << "a damaged stream comes to its end";
            if (d.expect == MayPlay) {
                EXPECT_LT(loudest, 0.75f) << "no louder than the file was";
            }
            player->StopFile();
        }
    }
}

// Files no player should read: a named pipe without a writer, a device, a folder, files
// too large to be music, and a play list under a music ending that names a pipe beside it.
// PlayFile returns at once with False and says why.
TEST_F(MusicKindsTest, HostileFilesAreRefusedWithoutBlocking) {
    const std::string pipeModule = dir + "/p.dat";
    const std::string pipeStream = dir + "/p.mp3";
    const std::string pipeListed = dir + "/listed";
    ASSERT_EQ(mkfifo(pipeModule.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(pipeStream.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(pipeListed.c_str(), 0600), 0);
    // A list's relative names are taken from the current folder.
    struct KeepFolder {
        fs::path saved = fs::current_path();
        ~KeepFolder() { fs::current_path(saved); }
    } keepFolder;
    fs::current_path(dir);
    const std::string list = "ffconcat version 1.0\nfile listed\n";
    fs::create_directory(dir + "/x.xm");
    fs::create_symlink("/dev/zero", dir + "/zero.xm");
    fs::create_symlink("/dev/zero", dir + "/zero.wav");
    auto sparse = [&](const std::string& name, std::int64_t bytes, const std::string& head) {
        std::string path = fixtures::write(dir, name, head);
        fs::resize_file(path, static_cast<std::uintmax_t>(bytes));
        return path;
    };
    struct Case {
        std::string path;
        const char* why;
    } cases[] = {
        {pipeModule, "\" is a named pipe, not a regular file"},
        {pipeStream, "\" is a named pipe, not a regular file"},
        {dir + "/x.xm", "\" is a folder, not a file"},
        {dir + "/zero.xm", "\" is a device, not a regular file"},
        {dir + "/zero.wav", "\" is a device, not a regular file"},
        {sparse("huge.xm", 129L * 1024 * 1024, "Extended Module: "), "larger than the 128 MB"},
        {sparse("huge.mid", 33L * 1024 * 1024, fixtures::midiFile(60, 1, 2)), "larger than 32 MiB"},
        {sparse("huge.wav", 257L * 1024 * 1024, fixtures::waveFile(100)), "larger than the 256 MB"},
        {dir + "/missing.xm", "File not found: \""},
        {fixtures::write(dir, "list.mp3", list), "not a sound file"},
        {fixtures::write(dir, "list.wma", list), "not a sound file"},
    };
    // Should PlayFile wait for a writer, this one comes after a few seconds so that the
    // test ends; it must not be needed.
    std::atomic<bool> done{false};
    std::atomic<bool> rescued{false};
    std::thread rescuer([&] {
        for (int i = 0; i < 300 && !done; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        while (!done) {
            for (const std::string& p : {pipeModule, pipeStream, pipeListed}) {
                const int fd = ::open(p.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    rescued = true;
                    ::close(fd);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        bool result = true;
        EXPECT_NO_THROW(result = player->PlayFile(c.path, 0, true));
        EXPECT_FALSE(result);
        EXPECT_FALSE(player->StreamIsPlaying());
        EXPECT_EQ(player->NumberOfChannels(), -1);
        EXPECT_NE(player->LastError().find(c.path), std::string::npos) << player->LastError();
        EXPECT_NE(player->LastError().find(c.why), std::string::npos) << player->LastError();
    }
    done = true;
    rescuer.join();
    EXPECT_FALSE(rescued) << "PlayFile waited for a writer on a named pipe";
}

// Left channel of 16-bit stereo frames.
std::vector<int> leftOf(const std::int16_t* frames, std::size_t count) {
    std::vector<int> left(count);
    for (std::size_t i = 0; i < count; ++i) {
        left[i] = frames[i * 2];
    }
    return left;
}

int levelOf(const std::vector<int>& heard) {
    int level = 0;
    for (int v : heard) {
        level = std::max(level, std::abs(v));
    }
    return level;
}

// The tone of kind k in what was heard: audible, unclipped, for its length, at its pitch.
void expectTheToneOf(const Kind& k, const std::vector<int>& heard) {
    // The sound is where the output is above a tenth of its level.
    std::size_t first = heard.size(), last = 0;
    int peak = 0;
    for (std::size_t i = 0; i < heard.size(); ++i) {
        peak = std::max(peak, std::abs(heard[i]));
        if (std::abs(heard[i]) > 1600) {
            first = std::min(first, i);
            last = i;
        }
    }
    ASSERT_LT(first, last) << "nothing was heard";
    EXPECT_GT(peak, 14000) << "audible: written at half of full scale";
    EXPECT_LT(peak, 19000) << "and not louder, nor clipped";
    const double seconds = static_cast<double>(last - first) / 44100;
    EXPECT_NEAR(seconds, k.seconds, 0.03) << "the whole sound, at its own rate";
    // The pitch from the rising zero crossings of the middle half.
    std::vector<double> rising;
    for (std::size_t i = first + (last - first) / 4 + 1; i <= last - (last - first) / 4; ++i) {
        if (heard[i - 1] < 0 && heard[i] >= 0) {
            rising.push_back(static_cast<double>(i - 1) +
                             heard[i - 1] / static_cast<double>(heard[i - 1] - heard[i]));
        }
    }
    ASSERT_GE(rising.size(), 2u);
    const double hz =
        static_cast<double>(rising.size() - 1) * 44100.0 / (rising.back() - rising.front());
    EXPECT_NEAR(hz, 440.0, 2.0) << "its pitch";
}

// What the mixer wrote, as a player hears it: everything the slot rendered by hand.
class MusicHeard : public MusicKindsTest {
protected:
    std::size_t now() const { return mixer->heard().size() / 2; }
    std::vector<int> heardSince(std::size_t frame) const {
        return leftOf(mixer->heard().data() + frame * 2, now() - frame);
    }
};

TEST_F(MusicHeard, EveryStreamKindSoundsAtItsPitchForItsLength) {
    for (const Kind& k : streamKinds()) {
        SCOPED_TRACE(k.name);
        const std::string path = write(k);
        const std::size_t from = now();
        player->PlayFile(path, 0, false);
        ASSERT_TRUE(waitUntil([&] { return !player->StreamIsPlaying(); }));
        expectTheToneOf(k, heardSince(from));
    }
}

TEST_F(MusicHeard, AMidiSongSoundsAndGoesRoundAtItsLength) {
    // A note of 0.3 s in a song of 1.2 s: the notes start 1.2 s apart.
    const std::string path = writeMidi("round.mid", fixtures::midiFile(72, 0.3, 1.2, 0));
    const std::size_t from = now();
    ASSERT_TRUE(player->PlayFile(path, 0)) << player->LastError();
    ASSERT_TRUE(waitUntil([&] { return player->CurTime() >= 4000; }));
    player->StopFile();
    const std::vector<int> heard = heardSince(from);
    const int peak = levelOf(heard);
    EXPECT_GT(peak, 1000) << "audible: one piano note";
    EXPECT_LT(peak, 32767) << "not clipped";
    // Onsets: the first sample above a quarter of the peak in a sound that rose after 50 ms
    // below an eighth of it. Taken to the sample, since where the song starts in the output
    // depends on when it was started; fixed windows could cut an attack in two and miss it.
    constexpr std::size_t kQuiet = 2205;
    std::vector<double> onsets;
    std::size_t quiet = kQuiet;
    bool rising = false;
    for (std::size_t i = 0; i < heard.size(); ++i) {
        const int level = std::abs(heard[i]);
        if (level > peak / 8) {
            rising = rising || quiet >= kQuiet;
            quiet = 0;
        } else {
            ++quiet;
        }
        if (rising && level > peak / 4) {
            onsets.push_back(static_cast<double>(i) / 44100);
            rising = false;
        }
    }
    ASSERT_GE(onsets.size(), 3u);
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        EXPECT_NEAR(onsets[i] - onsets[i - 1], 1.2, 0.03) << "round " << i;
    }
}

// The same through the device in real time: with SDL's disk audio driver the program's
// whole output lands in a file, so what reaches the device can be measured there.
class MusicOnDisk : public MusicKindsTest {
protected:
    MusicOnDisk() : MusicKindsTest(Drive::OnTheDevice) {}
    void SetUp() override {
        // A file of the test's own: tests run side by side.
        output = dirHolder.path().toStdString() + "/heard.raw";
        audio::close();
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        ASSERT_TRUE(audio::open());
        if (audio::driverName() != "disk") {
            GTEST_SKIP() << "needs SDL's disk audio driver (SDL_AUDIODRIVER=disk)";
        }
        MusicKindsTest::SetUp();
    }
    std::uintmax_t outputSize() const {
        std::error_code ec;
        const auto n = fs::file_size(output, ec);
        return ec ? 0 : n;
    }
    // Left channel of the 16-bit stereo output from byte `from` on.
    std::vector<int> heardSince(std::uintmax_t from) const {
        const std::string bytes = readBytes(output, from - from % 4);
        std::vector<std::int16_t> frames(bytes.size() / 4 * 2);
        if (!frames.empty()) {
            std::memcpy(frames.data(), bytes.data(), frames.size() * 2);
        }
        return leftOf(frames.data(), frames.size() / 2);
    }

    // Waits until the output has been silent for a while, so that nothing of a sound played
    // before comes after the point it returns.
    std::uintmax_t silentPoint() {
        std::uintmax_t at = 0;
        EXPECT_TRUE(waitUntil([&] {
            at = outputSize();
            const std::vector<int> tail = heardSince(at > kSettle ? at - kSettle : 0);
            return tail.size() >= kSettle / 4 && levelOf(tail) <= 30;
        })) << "the output never fell silent";
        return at;
    }
    // Waits until the driver has written past everything rendered so far. It writes at
    // whatever pace the machine allows, so no fixed sleep can know when that is.
    void waitForTheDriver() {
        const std::uintmax_t now = outputSize();
        ASSERT_TRUE(waitUntil([&] { return outputSize() >= now + kSettle; }))
            << "the driver stopped writing";
    }
    static constexpr std::uintmax_t kSettle = 17640; // 100 ms of output, several buffers

    std::string output;
};

TEST_F(MusicOnDisk, AStreamSoundsAtItsPitchForItsLength) {
    const Kind k = streamKinds().back(); // a wave at half the output rate
    const std::string path = write(k);
    const std::uintmax_t from = silentPoint();
    player->PlayFile(path, 0, false);
    ASSERT_TRUE(waitUntil([&] { return !player->StreamIsPlaying(); }));
    waitForTheDriver();
    expectTheToneOf(k, heardSince(from));
}

} // namespace
