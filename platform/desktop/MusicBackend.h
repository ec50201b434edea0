#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The music player's back end on the shared audio device (AudioSystem): tracker modules
// through libopenmpt, MIDI songs through FluidSynth and a General MIDI sound font, and
// sampled or compressed streams through libsndfile and FFmpeg, all rendered into the
// mixer's music hook (MusicMixer). There is one music slot: starting a module or a stream
// takes it from whatever had it. Sound effects on the mixer channels play on meanwhile.
// Without a sound device nothing loads, so callers fall back to their neutral answers.
namespace music {

// Opens the shared audio device; false when there is no sound.
bool startAudio();
// The mixer's output rate in Hz; 0 without sound.
int mixingFrequency();
// Share of the audio time spent rendering the music, in percent.
double cpuUsage();

// Module type numbers as the classic music library numbered them.
enum ModuleType { TypeNone = 0, TypeMod = 1, TypeS3m = 2, TypeXm = 3, TypeIt = 4, TypeMidi = 5 };

class ModuleEngine;

class Module {
public:
    // nullptr when there is no sound or the file is neither a module libopenmpt can read
    // nor a MIDI song; error (when given) then says why, naming the file.
    static std::unique_ptr<Module> load(const std::string& path, std::string* error = nullptr);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // Takes the music slot and plays from the start, looping at the song's end.
    bool play();
    // Gives the slot back; false when there is no sound.
    bool stop();
    bool isPlaying() const;
    void setPaused(bool paused);
    void setOrder(int order);

    std::string name() const;
    ModuleType type() const;
    // Milliseconds played since play() (not counting pauses).
    std::int64_t playTimeMs() const;
    int row() const;
    int pattern() const;
    int order() const;
    int numPatterns() const;
    int numSamples() const;
    int numChannels() const;
    // 0 to 1.
    double channelVu(int channel) const;
    // 0 to 256.
    int masterVolume() const;
    void setMasterVolume(int volume);
    // 0 to 255; -1 for a channel the module lacks.
    int channelVolume(int channel) const;
    void setChannelVolume(int channel, int volume);

private:
    explicit Module(std::unique_ptr<ModuleEngine> engine);
    std::unique_ptr<ModuleEngine> engine_;
    int masterVolume_ = 256;
};

class StreamSource;

class Stream {
public:
    // nullptr when there is no sound or the file is no sound file the decoders read; error
    // (when given) then says why, naming the file.
    static std::unique_ptr<Stream> open(const std::string& path, bool loop,
                                        std::string* error = nullptr);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Takes the music slot and plays from the start.
    bool play();
    void stop();
    // False once a stream played without looping has come to its end.
    bool isPlaying() const;
    bool isPaused() const;
    void setPaused(bool paused);
    // The file's length in bytes, and the position within it in the same unit, as the
    // share of the sound's frames played.
    std::int64_t length() const;
    std::int64_t position() const;
    // Where the play is within the sound, and the sound's length, from its frames.
    std::int64_t timeMs() const;
    std::int64_t durationMs() const;
    // 0 to 255.
    int volume() const;
    void setVolume(int volume);
    // Level of the stream's output, 0 to 1.
    double vu() const;

private:
    friend void releaseAll();
    Stream();
    std::unique_ptr<StreamSource> source_;
    int volume_ = 255;
};

// Empties the music slot and lets go of every open stream; the shared device stays open
// for the sound effects.
void releaseAll();

} // namespace music
