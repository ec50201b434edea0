#include "MusicBackend.h"

#include "AudioSystem.h"
#include "FileNames.h"
#include "Numbers.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>
#include <mutex>
#include <set>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace music {

struct ModuleState {
    std::unique_ptr<openmpt::module_ext> mod;
    openmpt::ext::interactive* interactive = nullptr;
    std::int64_t framesPlayed = 0;
    int rate = 44100;
    bool paused = false;
    int masterVolume = 256;
};

namespace {

// Guards every libopenmpt call and the hooked module: the mixer's thread renders while the
// program's thread asks. Never held while calling into SDL2_mixer (it takes the audio
// lock, which the mixer's thread holds around the hook).
std::mutex moduleMutex;
ModuleState* hooked = nullptr;

struct Output {
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
};
Output output;

std::atomic<double> cpuShare{0};
std::atomic<float> mixPeak{0};
std::atomic<int> mixFormat{0};
bool postEffectOn = false;
bool listening = false;

std::set<Stream*> streams; // open streams, released when the device closes
Stream* playingStream = nullptr;

void SDLCALL renderModule(void*, Uint8* stream, int len) {
    const auto started = std::chrono::steady_clock::now();
    // The hook bypasses the mixer's music volume: apply it here, with the module's own.
    const double musicVolume = Mix_VolumeMusic(-1) / static_cast<double>(MIX_MAX_VOLUME);
    thread_local std::vector<float> buffer;
    Output out;
    std::size_t frames = 0;
    int bytesPerSample = 0;
    double gain = 0;
    {
        std::lock_guard<std::mutex> lock(moduleMutex);
        out = output;
        ModuleState* m = hooked;
        bytesPerSample = SDL_AUDIO_BITSIZE(out.format) / 8;
        if (m == nullptr || m->paused || out.channels <= 0 || bytesPerSample <= 0) {
            return; // the mixer has laid silence already
        }
        frames = static_cast<std::size_t>(len / (bytesPerSample * out.channels));
        buffer.assign(frames * 2, 0.0f);
        std::size_t done = 0;
        try {
            done = m->mod->read_interleaved_stereo(m->rate, frames, buffer.data());
        } catch (...) {
            done = 0;
        }
        m->framesPlayed += static_cast<std::int64_t>(done);
        gain = m->masterVolume / 256.0 * musicVolume;
    }
    for (std::size_t f = 0; f < frames; ++f) {
        for (int c = 0; c < out.channels; ++c) {
            const float v =
                c < 2 ? static_cast<float>(buffer[f * 2 + static_cast<std::size_t>(c)] * gain)
                      : 0.0f;
            const std::size_t at =
                (f * static_cast<std::size_t>(out.channels) + static_cast<std::size_t>(c)) *
                static_cast<std::size_t>(bytesPerSample);
            if (SDL_AUDIO_ISFLOAT(out.format)) {
                const float x = std::clamp(v, -1.0f, 1.0f);
                std::memcpy(stream + at, &x, sizeof x);
            } else if (bytesPerSample == 2) {
                const auto x =
                    static_cast<Sint16>(num::roundHalfEven(std::clamp(v, -1.0f, 1.0f) * 32767.0));
                std::memcpy(stream + at, &x, sizeof x);
            }
        }
    }
    const double spent =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double span = static_cast<double>(frames) / std::max(1, out.rate);
    if (span > 0) {
        cpuShare = spent / span * 100.0;
    }
}

void SDLCALL measureMix(int, void* stream, int len, void*) {
    if (mixFormat != AUDIO_S16SYS) {
        return;
    }
    const auto* s = static_cast<const Sint16*>(stream);
    int peak = 0;
    for (int i = 0; i < len / 2; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    }
    mixPeak = static_cast<float>(peak) / 32768.0f;
}

void unhookModule() {
    bool wasHooked = false;
    {
        std::lock_guard<std::mutex> lock(moduleMutex);
        wasHooked = hooked != nullptr;
        hooked = nullptr;
    }
    if (wasHooked && audio::isOpen()) {
        Mix_HookMusic(nullptr, nullptr);
    }
}

} // namespace

bool startAudio() {
    if (!audio::open()) {
        return false;
    }
    if (!listening) {
        listening = true;
        audio::addCloseListener([] { releaseAll(); });
    }
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(moduleMutex);
        output = {rate, format, channels};
    }
    mixFormat = format;
    return true;
}

int mixingFrequency() {
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    return audio::isOpen() && Mix_QuerySpec(&rate, &format, &channels) != 0 ? rate : 0;
}

double cpuUsage() {
    std::lock_guard<std::mutex> lock(moduleMutex);
    return hooked != nullptr && !hooked->paused ? cpuShare.load() : 0.0;
}

// ---- modules

Module::Module() : impl_(std::make_shared<ModuleState>()) {}

Module::~Module() {
    std::unique_lock<std::mutex> lock(moduleMutex);
    if (hooked == impl_.get()) {
        lock.unlock();
        unhookModule();
    }
}

std::unique_ptr<Module> Module::load(const std::string& path) {
    if (!startAudio()) {
        return nullptr;
    }
    std::ifstream in(resolveFileName(path), std::ios::binary);
    if (!in) {
        return nullptr;
    }
    const std::vector<char> data((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    if (data.empty()) {
        return nullptr;
    }
    std::unique_ptr<Module> m(new Module);
    try {
        std::ostringstream log; // libopenmpt's notes are not for the player
        m->impl_->mod = std::make_unique<openmpt::module_ext>(data.data(), data.size(), log);
        m->impl_->interactive = static_cast<openmpt::ext::interactive*>(
            m->impl_->mod->get_interface(openmpt::ext::interactive_id));
        // Songs loop at their end, as the classic players did.
        m->impl_->mod->set_repeat_count(-1);
    } catch (...) {
        return nullptr;
    }
    m->impl_->rate = output.rate > 0 ? output.rate : 44100;
    return m;
}

bool Module::play() {
    if (!audio::isOpen()) {
        return false;
    }
    if (playingStream != nullptr) {
        playingStream->stop();
    }
    {
        std::lock_guard<std::mutex> lock(moduleMutex);
        try {
            impl_->mod->set_position_order_row(0, 0);
        } catch (...) {
        }
        impl_->framesPlayed = 0;
        impl_->paused = false;
        impl_->rate = output.rate > 0 ? output.rate : 44100;
        hooked = impl_.get();
    }
    Mix_HookMusic(renderModule, nullptr);
    return true;
}

bool Module::stop() {
    if (!audio::isOpen()) {
        return false;
    }
    std::unique_lock<std::mutex> lock(moduleMutex);
    if (hooked == impl_.get()) {
        lock.unlock();
        unhookModule();
    }
    return true;
}

bool Module::isPlaying() const {
    std::lock_guard<std::mutex> lock(moduleMutex);
    return hooked == impl_.get();
}

void Module::setPaused(bool paused) {
    std::lock_guard<std::mutex> lock(moduleMutex);
    impl_->paused = paused;
}

void Module::setOrder(int order) {
    std::lock_guard<std::mutex> lock(moduleMutex);
    try {
        impl_->mod->set_position_order_row(order, 0);
    } catch (...) {
    }
}

namespace {
// One libopenmpt question under the lock; its failure gives the fallback.
template <typename F, typename T> T ask(F f, T fallback) {
    std::lock_guard<std::mutex> lock(moduleMutex);
    try {
        return f();
    } catch (...) {
        return fallback;
    }
}
} // namespace

std::string Module::name() const {
    return ask([&] { return impl_->mod->get_metadata("title"); }, std::string());
}

ModuleType Module::type() const {
    const std::string t = ask([&] { return impl_->mod->get_metadata("type"); }, std::string());
    if (t == "mod") {
        return TypeMod;
    }
    if (t == "s3m") {
        return TypeS3m;
    }
    if (t == "xm") {
        return TypeXm;
    }
    if (t == "it" || t == "mptm") {
        return TypeIt;
    }
    if (t == "mid") {
        return TypeMidi;
    }
    return TypeNone;
}

std::int64_t Module::playTimeMs() const {
    std::lock_guard<std::mutex> lock(moduleMutex);
    return impl_->framesPlayed * 1000 / std::max(1, impl_->rate);
}

int Module::row() const {
    return ask([&] { return static_cast<int>(impl_->mod->get_current_row()); }, 0);
}

int Module::pattern() const {
    return ask([&] { return static_cast<int>(impl_->mod->get_current_pattern()); }, 0);
}

int Module::order() const {
    return ask([&] { return static_cast<int>(impl_->mod->get_current_order()); }, 0);
}

int Module::numPatterns() const {
    return ask([&] { return static_cast<int>(impl_->mod->get_num_patterns()); }, 0);
}

int Module::numSamples() const {
    return ask([&] { return static_cast<int>(impl_->mod->get_num_samples()); }, 0);
}

int Module::numChannels() const {
    return ask([&] { return static_cast<int>(impl_->mod->get_num_channels()); }, 0);
}

double Module::channelVu(int channel) const {
    return ask(
        [&] {
            if (channel < 0 || channel >= impl_->mod->get_num_channels()) {
                return 0.0;
            }
            return std::clamp(static_cast<double>(impl_->mod->get_current_channel_vu_mono(channel)),
                              0.0, 1.0);
        },
        0.0);
}

int Module::masterVolume() const {
    std::lock_guard<std::mutex> lock(moduleMutex);
    return impl_->masterVolume;
}

void Module::setMasterVolume(int volume) {
    std::lock_guard<std::mutex> lock(moduleMutex);
    impl_->masterVolume = std::clamp(volume, 0, 256);
}

int Module::channelVolume(int channel) const {
    return ask(
        [&] {
            if (!impl_->interactive || channel < 0 || channel >= impl_->mod->get_num_channels()) {
                return -1;
            }
            return static_cast<int>(
                num::roundHalfEven(impl_->interactive->get_channel_volume(channel) * 255.0));
        },
        -1);
}

void Module::setChannelVolume(int channel, int volume) {
    ask(
        [&] {
            if (impl_->interactive && channel >= 0 && channel < impl_->mod->get_num_channels()) {
                impl_->interactive->set_channel_volume(channel, std::clamp(volume, 0, 255) / 255.0);
            }
            return 0;
        },
        0);
}

// ---- streams

struct Stream::Impl {
    Mix_Music* mus = nullptr;
    bool loop = false;
    std::int64_t bytes = 0;
    int volume = 255;
};

Stream::Stream() : impl_(std::make_unique<Impl>()) {}

Stream::~Stream() {
    stop();
    if (impl_->mus != nullptr && audio::isOpen()) {
        Mix_FreeMusic(impl_->mus);
    }
    streams.erase(this);
}

std::unique_ptr<Stream> Stream::open(const std::string& path, bool loop) {
    if (!startAudio()) {
        return nullptr;
    }
    const std::string file = resolveFileName(path);
    Mix_Music* mus = Mix_LoadMUS(file.c_str());
    if (mus == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Stream> s(new Stream);
    s->impl_->mus = mus;
    s->impl_->loop = loop;
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    s->impl_->bytes = ec ? 0 : static_cast<std::int64_t>(size);
    streams.insert(s.get());
    return s;
}

bool Stream::play() {
    if (impl_->mus == nullptr || !audio::isOpen()) {
        return false;
    }
    unhookModule();
    if (!postEffectOn) {
        postEffectOn = Mix_RegisterEffect(MIX_CHANNEL_POST, measureMix, nullptr, nullptr) != 0;
    }
    Mix_VolumeMusic(impl_->volume * MIX_MAX_VOLUME / 255);
    if (Mix_PlayMusic(impl_->mus, impl_->loop ? -1 : 1) != 0) {
        return false;
    }
    playingStream = this;
    return true;
}

void Stream::stop() {
    if (playingStream == this) {
        playingStream = nullptr;
        if (audio::isOpen()) {
            Mix_HaltMusic();
        }
    }
}

bool Stream::isPlaying() const {
    return playingStream == this && audio::isOpen() && Mix_PlayingMusic() != 0;
}

bool Stream::isPaused() const {
    return playingStream == this && audio::isOpen() && Mix_PausedMusic() != 0;
}

void Stream::setPaused(bool paused) {
    if (playingStream != this || !audio::isOpen()) {
        return;
    }
    if (paused) {
        Mix_PauseMusic();
    } else {
        Mix_ResumeMusic();
    }
}

std::int64_t Stream::length() const {
    return impl_->mus != nullptr ? impl_->bytes : 0;
}

std::int64_t Stream::timeMs() const {
    if (impl_->mus == nullptr || playingStream != this) {
        return 0;
    }
    const double t = Mix_GetMusicPosition(impl_->mus);
    return t > 0 ? static_cast<std::int64_t>(num::roundHalfEven(t * 1000.0)) : 0;
}

std::int64_t Stream::position() const {
    if (impl_->mus == nullptr) {
        return 0;
    }
    const double d = Mix_MusicDuration(impl_->mus);
    if (d <= 0) {
        return 0;
    }
    const double share = std::clamp(timeMs() / 1000.0 / d, 0.0, 1.0);
    return static_cast<std::int64_t>(num::roundHalfEven(share * static_cast<double>(impl_->bytes)));
}

int Stream::volume() const {
    return impl_->volume;
}

void Stream::setVolume(int volume) {
    impl_->volume = std::clamp(volume, 0, 255);
    if (playingStream == this && audio::isOpen()) {
        Mix_VolumeMusic(impl_->volume * MIX_MAX_VOLUME / 255);
    }
}

double Stream::vu() const {
    return isPlaying() && !isPaused() ? static_cast<double>(mixPeak.load()) : 0.0;
}

void releaseAll() {
    unhookModule();
    if (playingStream != nullptr) {
        playingStream = nullptr;
        if (audio::isOpen()) {
            Mix_HaltMusic();
        }
    }
    if (audio::isOpen()) {
        for (Stream* s : streams) {
            if (s->impl_->mus != nullptr) {
                Mix_FreeMusic(s->impl_->mus);
                s->impl_->mus = nullptr;
            }
        }
        if (postEffectOn) {
            Mix_UnregisterEffect(MIX_CHANNEL_POST, measureMix);
        }
    }
    postEffectOn = false;
}

} // namespace music
