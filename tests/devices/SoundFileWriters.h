#pragma once

#include <string>
#include <vector>

// Sound files of every kind the player streams, written here through libsndfile and
// FFmpeg's encoders and muxers: a sine tone at the given frequency and level.
namespace fixtures {

struct Tone {
    int rate = 44100;
    int channels = 1;
    double seconds = 1.0;
    double frequency = 440.0;
    double level = 0.5; // of full scale
};

// libsndfile: format is a full SF_FORMAT_... value (major format and coding).
bool writeSampled(const std::string& path, int format, const Tone& tone, std::string& error);
// FFmpeg: muxer and encoder by name ("mp3"/"libmp3lame", "asf"/"wmav2", ...). unindexedVbr:
// a variable bit rate without the frame index that tells a player the length.
bool writeCompressed(const std::string& path, const char* muxer, const char* encoder,
                     const Tone& tone, std::string& error, int bitRate = 128000,
                     bool unindexedVbr = false);

// A Standard MIDI File: one note (key, velocity) from the start, released after holdSeconds,
// the song ending at songSeconds, at 120 beats a minute; an optional program change and a
// track name first.
std::string midiFile(int key, double holdSeconds, double songSeconds, int program = 0,
                     const std::string& name = "");
// The same wrapped in a RIFF "RMID" file.
std::string rmidFile(const std::string& midi);

} // namespace fixtures
