#include "AssetNames.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <libopenmpt/libopenmpt.h>
#include <string>
#include <vector>

namespace {

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
    std::vector<int16_t> frames(44100 * 2);
    double sum = 0;
    size_t count = 0;
    for (int second = 0; second < 20; ++second) {
        size_t got = openmpt_module_read_interleaved_stereo(mod, 44100, 44100, frames.data());
        for (size_t i = 0; i < got * 2; ++i)
            sum += static_cast<double>(frames[i]) * frames[i];
        count += got * 2;
    }
    ASSERT_GT(count, 0u);
    EXPECT_GT(std::sqrt(sum / count), 32767 * 0.01) << "the tune is nearly silent";
    openmpt_module_destroy(mod);
}

} // namespace
