#include "MidiSong.h"
#include "ModuleEngine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fluidsynth.h>

namespace music {

namespace {

constexpr int kChannels = 16;
// A stereo pair of dry outputs per channel.
constexpr std::size_t kDryOutputs = 2UL * kChannels;
constexpr std::size_t kBlock = 1024;
// FluidSynth's own gain is made for many voices at once; songs of a few voices are heard
// too softly at it.
constexpr double kSynthGain = 0.5;
constexpr double kShortestRound = 0.25; // seconds

// The General MIDI sound font: FluidSynth's own default, then the Debian packages' files.
std::string findSoundFont(fluid_settings_t* settings) {
    std::vector<std::string> candidates;
    char* preset = nullptr;
    if (fluid_settings_getstr_default(settings, "synth.default-soundfont", &preset) == FLUID_OK &&
        preset != nullptr) {
        candidates.emplace_back(preset);
    }
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
          "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/FluidR3Mono_GM.sf3",
          "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2",
          "/usr/share/soundfonts/FluidR3_GM.sf2"}) {
        candidates.emplace_back(path);
    }
    for (const std::string& path : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) {
            return path;
        }
    }
    return {};
}

// One synthesiser with the sound font loaded, kept for the program's life: loading a large
// font takes a while, and only the song in the music slot plays on it.
struct Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    int rate = 0;
    ~Synth() {
        if (synth != nullptr) {
            delete_fluid_synth(synth);
        }
        if (settings != nullptr) {
            delete_fluid_settings(settings);
        }
    }
};

std::shared_ptr<Synth> sharedSynth(int rate, std::string& error) {
    static std::shared_ptr<Synth> kept;
    static std::string keptError;
    if (kept && kept->rate == rate) {
        return kept;
    }
    if (!keptError.empty()) {
        error = keptError; // no sound font now means none later either
        return nullptr;
    }
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr); // its notes are not for the player
    }
    auto s = std::make_shared<Synth>();
    s->rate = rate;
    s->settings = new_fluid_settings();
    if (s->settings == nullptr) {
        error = "FluidSynth does not start";
        return nullptr;
    }
    const std::string font = findSoundFont(s->settings);
    if (font.empty()) {
        keptError = error = "no General MIDI sound font is installed";
        return nullptr;
    }
    fluid_settings_setnum(s->settings, "synth.sample-rate", rate);
    fluid_settings_setint(s->settings, "synth.audio-channels", kChannels);
    fluid_settings_setint(s->settings, "synth.audio-groups", kChannels);
    fluid_settings_setnum(s->settings, "synth.gain", kSynthGain);
    fluid_settings_setint(s->settings, "synth.threadsafe-api", 0); // the mixer lock guards it
    s->synth = new_fluid_synth(s->settings);
    if (s->synth == nullptr) {
        error = "FluidSynth does not start";
        return nullptr;
    }
    if (fluid_synth_sfload(s->synth, font.c_str(), 1) == FLUID_FAILED) {
        keptError = error = font + ": the sound font does not load";
        return nullptr;
    }
    kept = s;
    return kept;
}

class MidiModuleEngine : public ModuleEngine {
public:
    bool open(const std::vector<char>& data, int rate, std::string& error) {
        if (!readMidiSong(data.data(), data.size(), song_, error)) {
            return false;
        }
        synth_ = sharedSynth(rate, error);
        if (!synth_) {
            return false;
        }
        rate_ = rate;
        // A song of a moment would be started again on every block.
        lengthFrames_ = std::max(frameOf(song_.lengthSeconds), frameOf(kShortestRound));
        channelGain_.fill(1.0f);
        channelPeak_.fill(0.0f);
        for (auto& b : dry_) {
            b.resize(kBlock);
        }
        fxLeft_.resize(kBlock);
        fxRight_.resize(kBlock);
        return true;
    }

    void render(float* out, std::size_t frames, int rate) override {
        if (rate != rate_) {
            return; // the device changed under the song; it stays silent
        }
        fluid_synth_t* fs = synth_->synth;
        if (fresh_) {
            fluid_synth_system_reset(fs);
            fresh_ = false;
            next_ = 0;
            songFrame_ = 0;
        }
        channelPeak_.fill(0.0f);
        std::size_t done = 0;
        while (done < frames) {
            while (next_ < song_.events.size() &&
                   frameOf(song_.events[next_].seconds) <= songFrame_) {
                send(song_.events[next_++]);
            }
            if (songFrame_ >= lengthFrames_) {
                // Round again from the start, as a module does at its end.
                fluid_synth_system_reset(fs);
                next_ = 0;
                songFrame_ = 0;
                continue;
            }
            std::int64_t chunk = std::min<std::int64_t>({static_cast<std::int64_t>(frames - done),
                                                         static_cast<std::int64_t>(kBlock),
                                                         lengthFrames_ - songFrame_});
            if (next_ < song_.events.size()) {
                chunk = std::min(chunk, frameOf(song_.events[next_].seconds) - songFrame_);
            }
            synthesise(out + done * 2, static_cast<std::size_t>(chunk));
            done += static_cast<std::size_t>(chunk);
            songFrame_ += chunk;
        }
    }

    void released() override { fluid_synth_all_sounds_off(synth_->synth, -1); }

    std::string name() const override { return song_.name; }
    ModuleType type() const override { return TypeMidi; }
    void restart() override { fresh_ = true; }
    void setOrder(int order) override {
        if (order == 0) {
            fresh_ = true; // a song has one order: its start
        }
    }
    int numChannels() const override { return kChannels; }

    double channelVu(int channel) const override {
        return channel >= 0 && channel < kChannels
                   ? std::clamp(
                         static_cast<double>(channelPeak_[static_cast<std::size_t>(channel)]), 0.0,
                         1.0)
                   : 0.0;
    }
    int channelVolume(int channel) const override {
        return channel >= 0 && channel < kChannels
                   ? static_cast<int>(
                         std::nearbyint(channelGain_[static_cast<std::size_t>(channel)] * 255.0f))
                   : -1;
    }
    void setChannelVolume(int channel, int volume) override {
        if (channel >= 0 && channel < kChannels) {
            channelGain_[static_cast<std::size_t>(channel)] =
                static_cast<float>(std::clamp(volume, 0, 255)) / 255.0f;
        }
    }

private:
    std::int64_t frameOf(double seconds) const {
        return static_cast<std::int64_t>(std::llround(seconds * rate_));
    }

    void send(const MidiEvent& e) {
        fluid_synth_t* fs = synth_->synth;
        const int channel = e.status & 0x0F;
        switch (e.status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(fs, channel, e.data1);
            break;
        case 0x90:
            if (e.data2 == 0) {
                fluid_synth_noteoff(fs, channel, e.data1);
            } else {
                fluid_synth_noteon(fs, channel, e.data1, e.data2);
            }
            break;
        case 0xA0:
            fluid_synth_key_pressure(fs, channel, e.data1, e.data2);
            break;
        case 0xB0:
            fluid_synth_cc(fs, channel, e.data1, e.data2);
            break;
        case 0xC0:
            fluid_synth_program_change(fs, channel, e.data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(fs, channel, e.data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(fs, channel, e.data1 | (e.data2 << 7));
            break;
        case 0xF0:
            if (e.status == 0xF0 && e.sysexLength > 0) {
                fluid_synth_sysex(fs, reinterpret_cast<const char*>(&song_.sysexData[e.sysexAt]),
                                  static_cast<int>(e.sysexLength), nullptr, nullptr, nullptr, 0);
            }
            break;
        default:
            break;
        }
    }

    // Each MIDI channel on its own output, so that each has its own level and volume.
    void synthesise(float* out, std::size_t n) {
        std::array<float*, kDryOutputs> dry{};
        for (std::size_t c = 0; c < dry.size(); ++c) {
            std::fill_n(dry_[c].begin(), n, 0.0f);
            dry[c] = dry_[c].data();
        }
        std::fill_n(fxLeft_.begin(), n, 0.0f);
        std::fill_n(fxRight_.begin(), n, 0.0f);
        // Reverb and chorus of every channel, mixed into one pair.
        std::array<float*, 4> fx{fxLeft_.data(), fxRight_.data(), fxLeft_.data(), fxRight_.data()};
        if (fluid_synth_process(synth_->synth, static_cast<int>(n), 4, fx.data(),
                                static_cast<int>(dry.size()), dry.data()) != FLUID_OK) {
            return;
        }
        for (std::size_t c = 0; c < static_cast<std::size_t>(kChannels); ++c) {
            const float g = channelGain_[c];
            float channelPeak = channelPeak_[c];
            const float* l = dry[c * 2];
            const float* r = dry[c * 2 + 1];
            for (std::size_t i = 0; i < n; ++i) {
                const float left = l[i] * g;
                const float right = r[i] * g;
                channelPeak = std::max({channelPeak, std::abs(left), std::abs(right)});
                out[i * 2] += left;
                out[i * 2 + 1] += right;
            }
            channelPeak_[c] = channelPeak;
        }
        for (std::size_t i = 0; i < n; ++i) {
            out[i * 2] += fxLeft_[i];
            out[i * 2 + 1] += fxRight_[i];
        }
    }

    MidiSong song_;
    std::shared_ptr<Synth> synth_;
    int rate_ = 0;
    std::int64_t lengthFrames_ = 1;
    std::int64_t songFrame_ = 0;
    std::size_t next_ = 0;
    bool fresh_ = true;
    std::array<float, kChannels> channelGain_{};
    std::array<float, kChannels> channelPeak_{};
    std::array<std::vector<float>, kDryOutputs> dry_;
    std::vector<float> fxLeft_, fxRight_;
};

} // namespace

std::unique_ptr<ModuleEngine> openMidiSong(const std::vector<char>& data, int rate,
                                           std::string& error) {
    auto engine = std::make_unique<MidiModuleEngine>();
    if (!engine->open(data, rate, error)) {
        return nullptr;
    }
    return engine;
}

} // namespace music
