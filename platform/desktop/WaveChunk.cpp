#include "WaveChunk.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdint>
#include <string>

namespace {

std::uint32_t readLe32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return v;
}

void writeLe32(std::string& bytes, std::size_t at, std::size_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

void cutChunksToFile(std::string& bytes) {
    if (readLe32(bytes, 4) > bytes.size() - 8) {
        writeLe32(bytes, 4, bytes.size() - 8);
    }
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::size_t room = bytes.size() - at - 8;
        const std::uint32_t length = readLe32(bytes, at + 4);
        if (length > room) {
            writeLe32(bytes, at + 4, room);
            return;
        }
        at += 8 + length + (length & 1);
    }
}

} // namespace

Mix_Chunk* loadWaveChunk(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        SDL_SetError("not a wave file");
        return nullptr;
    }
    if (bytes.size() > 0x7fffffff) {
        SDL_SetError("too large");
        return nullptr;
    }
    std::string wave(bytes);
    cutChunksToFile(wave);
    SDL_RWops* rw = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
    // The mixer copies the samples out; the bytes may go when the load returns.
    return rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
}
