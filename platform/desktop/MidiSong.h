#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A Standard MIDI File (or one wrapped in a RIFF "RMID" file) read into one timed list of
// channel and system-exclusive events. A damaged track is read up to the damage.
struct MidiEvent {
    double seconds = 0;
    std::uint8_t status = 0; // 0xF0 for system exclusive
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint32_t sysexAt = 0; // system exclusive: its bytes in sysexData (without F0)
    std::uint32_t sysexLength = 0;
};

struct MidiSong {
    std::vector<MidiEvent> events; // in play order
    std::vector<std::uint8_t> sysexData;
    // Where the song ends: its last event or the end of its longest track.
    double lengthSeconds = 0;
    // The first track's name, as written.
    std::string name;
};

// True when the bytes start like a MIDI file (plain or RIFF-wrapped).
bool looksLikeMidi(const char* data, std::size_t size);
// False (error set) when the data is not a MIDI song or holds no note.
bool readMidiSong(const char* data, std::size_t size, MidiSong& song, std::string& error);
