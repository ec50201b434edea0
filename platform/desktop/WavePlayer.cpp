#include "WavePlayer.h"

#include "AudioSystem.h"
#include "FileRead.h"
#include "VbError.h"
#include "WaveChunk.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace wave {
namespace {

Mix_Chunk* current = nullptr;
int channel = -1;
bool listening = false;

void release() {
    if (current) {
        // Frees the chunk and halts whatever channel still plays it.
        Mix_FreeChunk(current);
        current = nullptr;
    }
    channel = -1;
}

bool playing() {
    return current && channel >= 0 && Mix_Playing(channel) && Mix_GetChunk(channel) == current;
}

// Upper bound for a synchronous play, so that a stalled device cannot hang the caller.
Uint32 durationMs(const Mix_Chunk* chunk) {
    int freq = 0;
    int channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&freq, &format, &channels) || freq <= 0 || channels <= 0) {
        return 0;
    }
    const Uint32 bytesPerFrame = static_cast<Uint32>(SDL_AUDIO_BITSIZE(format) / 8 * channels);
    if (bytesPerFrame == 0) {
        return 0;
    }
    return static_cast<Uint32>(static_cast<Uint64>(chunk->alen) / bytesPerFrame * 1000 /
                               static_cast<Uint64>(freq));
}

bool start(Mix_Chunk* chunk, const PlayOptions& options) {
    if (!chunk) {
        return false;
    }
    if (options.noStop && playing()) {
        Mix_FreeChunk(chunk);
        return false;
    }
    release();
    // Looping forever while the caller waits would never return.
    const int loops = options.loop && !options.wait ? -1 : 0;
    int ch = Mix_PlayChannel(-1, chunk, loops);
    if (ch < 0) {
        // Every channel busy with other sounds: add one for this player.
        audio::reserveChannels(audio::channelCount() + 1);
        ch = Mix_PlayChannel(-1, chunk, loops);
    }
    if (ch < 0) {
        Mix_FreeChunk(chunk);
        return false;
    }
    current = chunk;
    channel = ch;
    if (options.wait) {
        const Uint32 limit = durationMs(chunk) + 1000;
        const Uint32 begin = SDL_GetTicks();
        while (playing() && SDL_GetTicks() - begin < limit) {
            SDL_Delay(5);
        }
        if (playing()) {
            Mix_HaltChannel(channel);
        }
    }
    return true;
}

bool ready() {
    if (!audio::open()) {
        return false;
    }
    if (!listening) {
        audio::addCloseListener([] { release(); });
        listening = true;
    }
    return true;
}

} // namespace

bool playFile(const std::string& path, const PlayOptions& options) {
    if (path.empty() || !ready()) {
        return false;
    }
    std::string bytes;
    try {
        bytes = readFile(path, FileKind::Sound);
    } catch (const VbError&) {
        return false;
    }
    return playMemory(bytes, options);
}

bool playMemory(std::string_view bytes, const PlayOptions& options) {
    if (bytes.empty() || !ready()) {
        return false;
    }
    return start(loadWaveChunk(bytes), options);
}

bool isPlaying() {
    return playing();
}

void stop() {
    if (audio::isOpen()) {
        release();
    }
}

} // namespace wave
