#include "MusicMixer.h"

#include "AudioSystem.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

namespace music {

namespace {

std::mutex slotMutex;
MixSource* hooked = nullptr;
bool hookInstalled = false; // touched only on the program's thread
bool byHand = false;        // likewise

struct Output {
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
};
Output output; // guarded by slotMutex

std::atomic<double> load{0};

void SDLCALL renderSlot(void*, Uint8* stream, int len) {
    const auto started = std::chrono::steady_clock::now();
    // The hook bypasses the mixer's music volume: apply it here.
    const double musicVolume = Mix_VolumeMusic(-1) / static_cast<double>(MIX_MAX_VOLUME);
    thread_local std::vector<float> buffer;
    Output out;
    std::size_t frames = 0;
    int bytesPerSample = 0;
    double gain = 0;
    {
        std::lock_guard<std::mutex> lock(slotMutex);
        out = output;
        MixSource* s = hooked;
        bytesPerSample = SDL_AUDIO_BITSIZE(out.format) / 8;
        if (s == nullptr || s->paused || out.channels <= 0 || bytesPerSample <= 0) {
            return; // the mixer has laid silence already
        }
        frames = static_cast<std::size_t>(len / (bytesPerSample * out.channels));
        buffer.assign(frames * 2, 0.0f);
        try {
            s->render(buffer.data(), frames, out.rate);
        } catch (...) {
            std::fill(buffer.begin(), buffer.end(), 0.0f);
        }
        s->framesPlayed += static_cast<std::int64_t>(frames);
        gain = s->gain * musicVolume;
        float peak = 0;
        for (float& v : buffer) {
            // A damaged file's samples that are no number, or infinite, are silence: they
            // have no value to play, and no sample of 16 bits to turn into.
            v = std::isfinite(v) ? static_cast<float>(v * gain) : 0.0f;
            // The output clips at full scale, and so does its level.
            peak = std::max(peak, std::min(std::abs(v), 1.0f));
        }
        s->peak = peak;
    }
    for (std::size_t f = 0; f < frames; ++f) {
        for (int c = 0; c < out.channels; ++c) {
            const float v = c < 2 ? buffer[f * 2 + static_cast<std::size_t>(c)] : 0.0f;
            const std::size_t at =
                (f * static_cast<std::size_t>(out.channels) + static_cast<std::size_t>(c)) *
                static_cast<std::size_t>(bytesPerSample);
            if (SDL_AUDIO_ISFLOAT(out.format)) {
                const float x = std::clamp(v, -1.0f, 1.0f);
                std::memcpy(stream + at, &x, sizeof x);
            } else if (bytesPerSample == 2) {
                const auto x =
                    static_cast<Sint16>(std::nearbyint(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
                std::memcpy(stream + at, &x, sizeof x);
            }
        }
    }
    const double spent =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double span = static_cast<double>(frames) / std::max(1, out.rate);
    if (span > 0) {
        load = spent / span * 100.0;
    }
}

} // namespace

std::mutex& mixerLock() {
    return slotMutex;
}

bool startMixer() {
    if (byHand) {
        return true;
    }
    if (!audio::open()) {
        return false;
    }
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) {
        return false;
    }
    std::lock_guard<std::mutex> lock(slotMutex);
    output = {rate, format, channels};
    return true;
}

bool mixerOpen() {
    return byHand || audio::isOpen();
}

int mixerRate() {
    if (byHand) {
        return audio::sampleRate;
    }
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    return audio::isOpen() && Mix_QuerySpec(&rate, &format, &channels) != 0 ? rate : 0;
}

bool hookSource(MixSource* source) {
    if (!mixerOpen()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(slotMutex);
        if (hooked != nullptr && hooked != source) {
            hooked->released();
        }
        hooked = source;
        source->framesPlayed = 0;
        source->paused = false;
        source->peak = 0;
    }
    if (!hookInstalled && !byHand) {
        Mix_HookMusic(renderSlot, nullptr);
        hookInstalled = true;
    }
    return true;
}

void unhookSource(MixSource* source) {
    {
        std::lock_guard<std::mutex> lock(slotMutex);
        if (hooked != source || source == nullptr) {
            return;
        }
        hooked->released();
        hooked = nullptr;
    }
    // The hook stays installed; it renders silence while the slot is empty.
}

void emptySlot() {
    {
        std::lock_guard<std::mutex> lock(slotMutex);
        if (hooked != nullptr) {
            hooked->released();
            hooked = nullptr;
        }
    }
    if (hookInstalled) {
        if (audio::isOpen()) {
            Mix_HookMusic(nullptr, nullptr);
        }
        hookInstalled = false;
    }
}

bool isHooked(const MixSource* source) {
    return source != nullptr && hooked == source;
}

double renderLoad() {
    std::lock_guard<std::mutex> lock(slotMutex);
    return hooked != nullptr && !hooked->paused ? load.load() : 0.0;
}

void setDrivenByHand(bool on) {
    if (on == byHand) {
        return;
    }
    if (on) {
        // The device's thread must not render the slot behind the hand's back.
        if (hookInstalled && audio::isOpen()) {
            Mix_HookMusic(nullptr, nullptr);
        }
        hookInstalled = false;
        byHand = true;
        std::lock_guard<std::mutex> lock(slotMutex);
        output = {audio::sampleRate, AUDIO_S16SYS, 2};
        return;
    }
    emptySlot();
    byHand = false;
    if (audio::isOpen()) {
        startMixer(); // back to the device's output
    }
}

void renderByHand(std::uint8_t* stream, int len) {
    std::memset(stream, 0, static_cast<std::size_t>(len)); // the silence the mixer lays
    renderSlot(nullptr, stream, len);
}

} // namespace music
