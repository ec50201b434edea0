#pragma once

#include <memory>
#include <string>

// One wave file preloaded into the mixer, played on a free mixer channel. It behaves like a
// single sound buffer: one play position, so playing it while it plays keeps it playing,
// pause keeps the position and stop rewinds.
class SoundChunk {
public:
    SoundChunk();
    ~SoundChunk();
    SoundChunk(const SoundChunk&) = delete;
    SoundChunk& operator=(const SoundChunk&) = delete;

    // Opens the sound output if needed and loads the file. On failure returns false with a
    // description naming the file in error, and the file error's number (53 when the file
    // does not exist, see readFile) or 5 for no sound device or no wave in the file.
    bool load(const std::string& path, std::string& error, int& errorNumber);
    bool loaded() const;

    // Starts (or resumes after pause) on a free channel; looping repeats until stopped.
    void play(bool looping);
    // Halts and rewinds.
    void stop();
    // Halts and keeps the position; the next play resumes.
    void pause();
    // Attenuation in hundredths of a decibel: 0 full, -10000 silent.
    void setVolume(int attenuation);
    // -10000 left .. 10000 right, in hundredths of a decibel of the other side's attenuation.
    void setPan(int pan);

    bool playing() const;
    bool paused() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
