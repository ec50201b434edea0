#include "SoundChunk.h"

#include "AudioSystem.h"
#include "FileRead.h"
#include "VbError.h"
#include "WaveChunk.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cmath>

namespace {

// Every loaded chunk may sound at once, so the mixer keeps a channel for each.
int loadedChunks = 0;

int toMixVolume(int attenuation) {
    const int a = std::clamp(attenuation, -10000, 0);
    return static_cast<int>(std::nearbyint(MIX_MAX_VOLUME * std::pow(10.0, a / 2000.0)));
}

Uint8 toPanLevel(int attenuation) {
    const int a = std::clamp(attenuation, 0, 10000);
    return static_cast<Uint8>(std::nearbyint(255.0 * std::pow(10.0, -a / 2000.0)));
}

} // namespace

struct SoundChunk::Impl {
    Mix_Chunk* chunk = nullptr;
    int channel = -1;
    int volume = MIX_MAX_VOLUME;
    int pan = 0;
    int closeListener = 0;

    // The channel still belongs to this chunk (the mixer reuses finished channels).
    bool ownsChannel() const {
        return chunk && channel >= 0 && audio::isOpen() && Mix_GetChunk(channel) == chunk &&
               Mix_Playing(channel);
    }

    void release() {
        if (!chunk) {
            return;
        }
        if (audio::isOpen()) {
            if (ownsChannel()) {
                Mix_HaltChannel(channel);
            }
            Mix_FreeChunk(chunk);
        }
        chunk = nullptr;
        channel = -1;
        --loadedChunks;
    }

    void applyPan() const {
        const Uint8 left = toPanLevel(pan);
        const Uint8 right = toPanLevel(-pan);
        Mix_SetPanning(channel, left, right);
    }
};

SoundChunk::SoundChunk() : impl_(std::make_unique<Impl>()) {
    Impl* impl = impl_.get();
    impl_->closeListener = audio::addCloseListener([impl] { impl->release(); });
}

SoundChunk::~SoundChunk() {
    audio::removeCloseListener(impl_->closeListener);
    impl_->release();
}

bool SoundChunk::load(const std::string& path, std::string& error, int& errorNumber) {
    impl_->release();
    errorNumber = 0;
    if (!audio::open()) {
        error = "No sound device";
        errorNumber = 5;
        return false;
    }
    std::string bytes;
    try {
        bytes = readFile(path, FileKind::Sound);
    } catch (const VbError& e) {
        error = e.Description();
        errorNumber = e.Number();
        return false;
    }
    Mix_Chunk* c = loadWaveChunk(bytes);
    if (!c) {
        error = fileErrorText("Unable to load the sound", path) + " (" + Mix_GetError() + ")";
        errorNumber = 5;
        return false;
    }
    impl_->chunk = c;
    ++loadedChunks;
    audio::reserveChannels(loadedChunks);
    Mix_VolumeChunk(c, impl_->volume);
    return true;
}

bool SoundChunk::loaded() const {
    return impl_->chunk != nullptr;
}

void SoundChunk::play(bool looping) {
    if (!impl_->chunk || !audio::isOpen()) {
        return;
    }
    if (impl_->ownsChannel()) {
        if (Mix_Paused(impl_->channel)) {
            Mix_Resume(impl_->channel);
        }
        return;
    }
    const int ch = Mix_PlayChannel(-1, impl_->chunk, looping ? -1 : 0);
    impl_->channel = ch;
    if (ch >= 0) {
        impl_->applyPan();
    }
}

void SoundChunk::stop() {
    if (impl_->ownsChannel()) {
        Mix_HaltChannel(impl_->channel);
    }
    impl_->channel = -1;
}

void SoundChunk::pause() {
    if (impl_->ownsChannel()) {
        Mix_Pause(impl_->channel);
    }
}

void SoundChunk::setVolume(int attenuation) {
    impl_->volume = toMixVolume(attenuation);
    if (impl_->chunk && audio::isOpen()) {
        Mix_VolumeChunk(impl_->chunk, impl_->volume);
    }
}

void SoundChunk::setPan(int pan) {
    impl_->pan = std::clamp(pan, -10000, 10000);
    if (impl_->ownsChannel()) {
        impl_->applyPan();
    }
}

bool SoundChunk::playing() const {
    return impl_->ownsChannel() && !Mix_Paused(impl_->channel);
}

bool SoundChunk::paused() const {
    return impl_->ownsChannel() && Mix_Paused(impl_->channel);
}
