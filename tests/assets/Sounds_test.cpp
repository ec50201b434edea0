#include "AssetNames.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <libopenmpt/libopenmpt.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Each sound's loudness as its source asks for it ("level DB" under "sound NAME").
std::map<std::string, double> levelsInTheSource() {
    std::ifstream in(std::string(VANTORIX_TEST_SOURCE_DIR) + "/../../assets/sfx/sounds.txt");
    std::map<std::string, double> levels;
    std::string line, sound;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "sound")
            words >> sound;
        else if (key == "level" && !sound.empty())
            words >> levels[sound + ".wav"];
    }
    return levels;
}

// A wave's samples in [-1, 1).
std::vector<double> samplesOf(const std::string& path) {
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    std::vector<double> samples;
    if (SDL_LoadWAV(path.c_str(), &spec, &buffer, &length) == nullptr)
        return samples;
    const Sint16* s = reinterpret_cast<const Sint16*>(buffer);
    for (Uint32 i = 0; i < length / 2; ++i)
        samples.push_back(s[i] / 32768.0);
    SDL_FreeWAV(buffer);
    return samples;
}

class MixerTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    }
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

TEST_F(MixerTest, EveryWaveIsShort16BitPcmThatTheMixerLoads) {
    for (const std::string& name : waveNames()) {
        const std::string path = binDir() + "/sfx/" + name;
        SDL_AudioSpec spec;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        ASSERT_NE(SDL_LoadWAV(path.c_str(), &spec, &buffer, &length), nullptr)
            << name << ": " << SDL_GetError();
        EXPECT_EQ(spec.format, AUDIO_S16LSB) << name;
        const double seconds = static_cast<double>(length) / (2.0 * spec.channels * spec.freq);
        EXPECT_GT(seconds, 0.02) << name;
        EXPECT_LT(seconds, 2.5) << name << " is too long for an effect";
        // Audible but never clipped.
        const Sint16* samples = reinterpret_cast<const Sint16*>(buffer);
        int peak = 0;
        for (Uint32 i = 0; i < length / 2; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        EXPECT_GT(peak, 32767 / 20) << name << " is nearly silent";
        EXPECT_LT(peak, 32767) << name << " clips";
        SDL_FreeWAV(buffer);

        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        EXPECT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        if (chunk)
            Mix_FreeChunk(chunk);
    }
}

// A wave off centre wastes headroom, thumps when it starts and stops, and fools the
// levelling: each one is centred on zero and as loud as its level says, measured without
// any offset.
TEST(Waves, EveryWaveIsCentredOnZeroAndAsLoudAsItsLevel) {
    const std::map<std::string, double> levels = levelsInTheSource();
    ASSERT_EQ(levels.size(), waveNames().size());
    for (const std::string& name : waveNames()) {
        SCOPED_TRACE(name);
        const std::vector<double> v = samplesOf(binDir() + "/sfx/" + name);
        ASSERT_FALSE(v.empty());
        double sum = 0, peak = 0;
        for (double x : v) {
            sum += x;
            peak = std::max(peak, std::abs(x));
        }
        EXPECT_LT(std::abs(sum / static_cast<double>(v.size())), 0.001) << "DC offset";
        // The loudest 50 ms, each window less its own mean.
        const size_t window = std::min<size_t>(v.size(), 44100 / 20);
        double loudest = 0;
        for (size_t at = 0; at + window <= v.size(); at += 64) {
            double s = 0, squares = 0;
            for (size_t i = at; i < at + window; ++i) {
                s += v[i];
                squares += v[i] * v[i];
            }
            const auto width = static_cast<double>(window);
            const double mean = s / width;
            loudest = std::max(loudest, squares / width - mean * mean);
        }
        const double db = 10 * std::log10(loudest);
        const double level = levels.at(name);
        if (20 * std::log10(peak) < -1.2)
            EXPECT_NEAR(db, level, 0.5);
        else
            EXPECT_LE(db, level + 0.5) << "held down by its peak";
    }
}

// The game restarts the tune at the first one-second check at or past 195 s; the tune must
// not have ended and started over by itself before that, so the restart always cuts into
// its closing chord, the last order.
TEST(Music, TheGamesRestartAlwaysLandsInTheClosingChord) {
    std::ifstream file(binDir() + "/sfx/bg.xm", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    int error = 0;
    openmpt_module* mod = openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr, &error, nullptr, nullptr);
    ASSERT_NE(mod, nullptr) << "libopenmpt error " << error;
    EXPECT_GE(openmpt_module_get_duration_seconds(mod), 196.5);
    const int last = openmpt_module_get_num_orders(mod) - 1;
    for (double seconds : {195.0, 195.5, 196.0, 196.5}) {
        openmpt_module_set_position_seconds(mod, seconds);
        EXPECT_EQ(openmpt_module_get_current_order(mod), last) << seconds << " s";
    }
    openmpt_module_destroy(mod);
}

TEST(Music, TheModuleLoadsInLibopenmptAndRunsAboutThreeMinutesFifteen) {
    std::ifstream file(binDir() + "/sfx/bg.xm", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);
    int error = 0;
    openmpt_module* mod = openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr, &error, nullptr, nullptr);
    ASSERT_NE(mod, nullptr) << "libopenmpt error " << error;
    auto metadata = [mod](const char* key) {
        const char* value = openmpt_module_get_metadata(mod, key);
        std::string text = value ? value : "";
        openmpt_free_string(value);
        return text;
    };
    EXPECT_EQ(metadata("type"), "xm");
    EXPECT_EQ(metadata("warnings"), "") << "libopenmpt has doubts about the file";
    const double seconds = openmpt_module_get_duration_seconds(mod);
    EXPECT_GE(seconds, 190.0);
    EXPECT_LE(seconds, 200.0);
    EXPECT_GE(openmpt_module_get_num_channels(mod), 4);
    EXPECT_GE(openmpt_module_get_num_instruments(mod), 4);
    // It makes sound: render twenty seconds from the start and look at the level.
    std::vector<int16_t> frames(44100UL * 2);
    double sum = 0;
    size_t count = 0;
    for (int second = 0; second < 20; ++second) {
        size_t got = openmpt_module_read_interleaved_stereo(mod, 44100, 44100, frames.data());
        for (size_t i = 0; i < got * 2; ++i)
            sum += static_cast<double>(frames[i]) * frames[i];
        count += got * 2;
    }
    ASSERT_GT(count, 0u);
    EXPECT_GT(std::sqrt(sum / static_cast<double>(count)), 32767 * 0.01)
        << "the tune is nearly silent";
    openmpt_module_destroy(mod);
}

} // namespace
