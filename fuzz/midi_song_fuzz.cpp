// LIBS: vantorix_platform_desktop
#include "MidiSong.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// Whatever the bytes, the reader gives a song whose events are in play order within its
// length and whose system-exclusive bodies lie within their store, or no song at all.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MidiSong song;
    std::string error;
    if (!readMidiSong(reinterpret_cast<const char*>(data), size, song, error)) {
        if (error.empty() || !song.events.empty()) {
            std::abort();
        }
        return 0;
    }
    double last = 0;
    for (const MidiEvent& e : song.events) {
        if (e.seconds < last || e.seconds > song.lengthSeconds + 1e-6) {
            std::abort();
        }
        last = e.seconds;
        if (static_cast<std::size_t>(e.sysexAt) + e.sysexLength > song.sysexData.size()) {
            std::abort();
        }
    }
    return 0;
}
