#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The music player's back end on the shared audio device (AudioSystem): tracker modules
// rendered by libopenmpt inside the mixer's music hook, and compressed or wave streams
// through SDL2_mixer music. There is one music slot: starting a module or a stream takes it
// from whatever had it. Sound effects on the mixer channels play on meanwhile. Without a
// sound device nothing loads, so callers fall back to their neutral answers.
namespace music {

// Opens the shared audio device; false when there is no sound.
bool startAudio();
// The mixer's output rate in Hz; 0 without sound.
int mixingFrequency();
// Share of the audio time spent rendering the module, in percent.
double cpuUsage();

// Module type numbers as the classic music library numbered them.
enum ModuleType { TypeNone = 0, TypeMod = 1, TypeS3m = 2, TypeXm = 3, TypeIt = 4, TypeMidi = 5 };

struct ModuleState;

class Module {
public:
    // nullptr when there is no sound or the file is not a module libopenmpt can read.
    static std::unique_ptr<Module> load(const std::string& path);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // Takes the music slot and plays from the start, looping at the song's end.
    bool play();
    // Gives the slot back; false when the module was not playing.
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
    Module();
    std::shared_ptr<ModuleState> impl_;
};

class Stream {
public:
    // nullptr when there is no sound or SDL2_mixer cannot read the file.
    static std::unique_ptr<Stream> open(const std::string& path, bool loop);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Takes the music slot.
    bool play();
    void stop();
    bool isPlaying() const;
    bool isPaused() const;
    void setPaused(bool paused);
    // The file's length in bytes, and the position within it in the same unit.
    std::int64_t length() const;
    std::int64_t position() const;
    std::int64_t timeMs() const;
    // 0 to 255.
    int volume() const;
    void setVolume(int volume);
    // Level of the mixed output, 0 to 1.
    double vu() const;

private:
    friend void releaseAll();
    Stream();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Gives the music slot back and releases the mixer resources of every open stream; the
// shared device stays open for the sound effects.
void releaseAll();

} // namespace music
