#pragma once

#include "QFTModuleDesktop.h"
#include "VbTypes.h"

#include <memory>
#include <string>

class SoundChunk;

// The source of the error LoadWaveFile raises when there is no sound device; every other
// failure is the wave file's (missing, unreadable, no wave), its description naming it.
inline constexpr const char* dx8SoundDeviceSource = "DirectSound";

// One sound effect preloaded once and played any number of times with almost no delay.
class dx8Sound {
public:
    dx8Sound();
    ~dx8Sound();
    dx8Sound(const dx8Sound&) = delete;
    dx8Sound& operator=(const dx8Sound&) = delete;

    // Raises VbError when there is no sound device or the file cannot be loaded; Loaded
    // then stays False.
    void LoadWaveFile(const std::string& FileName, HWnd hWnd);
    void Play(VbBool LoopIt);
    void StopPlay();
    void PausePlay();
    // Attenuation in hundredths of a decibel: 0 full volume, -10000 silent.
    void SetVolume(VbInteger Vol);
    // Pan's value, -10000 left .. 10000 right (a slider's Value).
    void SetPaning(double Pan);

    bool Loaded() const { return loaded_; }
    // Plays started on a loaded buffer so far (each Play call that reached the buffer).
    int playCount() const { return plays_; }

private:
    bool InitDirectSound(HWnd hWnd);

    std::unique_ptr<SoundChunk> buffer_;
    bool loaded_ = false;
    int plays_ = 0;
};
