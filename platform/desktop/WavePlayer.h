#pragma once

#include <string>
#include <string_view>

// The simple wave player: one sound at a time, played on a mixer channel of the shared
// audio device. A new sound replaces the one this player is playing.
namespace wave {

struct PlayOptions {
    bool wait = false;   // return when the sound has ended
    bool loop = false;   // repeat until replaced or stopped (ignored with wait)
    bool noStop = false; // leave a sound of this player that is still playing alone
};

// False when nothing was started: no sound device, an unreadable wave, or noStop with a
// sound still playing.
bool playFile(const std::string& path, const PlayOptions& options);
// The same over a wave file's bytes (RIFF image in memory).
bool playMemory(std::string_view bytes, const PlayOptions& options);
bool isPlaying();
void stop();

} // namespace wave
