#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

// The one music slot on the shared audio device: whatever holds it (a module, a MIDI song
// or a stream) renders into the mixer's music hook on the mixer's thread, and everything
// of it (volume, pause, level, play time) is handled the same way for every kind.
namespace music {

// A source of stereo float frames for the slot. Every member is guarded by mixerLock().
class MixSource {
public:
    virtual ~MixSource() = default;
    // Writes `frames` stereo frames (interleaved, zeroed already) at `rate` Hz; what it
    // leaves alone stays silent.
    virtual void render(float* out, std::size_t frames, int rate) = 0;
    // The slot went to another source or was emptied.
    virtual void released() {}

    bool paused = false;
    double gain = 1.0;
    // Peak of the last block the source rendered, after its gain, at most full scale.
    float peak = 0;
    // Frames rendered since the source took the slot, pauses not counted.
    std::int64_t framesPlayed = 0;
};

// Guards the slot and every source. Never held while calling into SDL2_mixer: the mixer's
// thread holds the audio lock around the hook and then takes this one.
std::mutex& mixerLock();

// Opens the shared audio device; false when there is no sound.
bool startMixer();
// True while the slot has an output: the device is open, or the slot is driven by hand.
bool mixerOpen();
// The output rate in Hz; 0 without sound.
int mixerRate();
// Gives the slot to source (which must outlive its hold on it), from the start.
bool hookSource(MixSource* source);
// Empties the slot when source holds it.
void unhookSource(MixSource* source);
// Empties the slot whoever holds it.
void emptySlot();
// Call with mixerLock() held.
bool isHooked(const MixSource* source);
// Share of the audio time spent rendering the slot, in percent.
double renderLoad();

// For ManualMixer: while driven by hand the device is neither opened nor hooked, and the
// slot renders only in renderByHand(), as the device's callback would, into 16-bit stereo
// at the device's rate. Turning it off empties the slot.
void setDrivenByHand(bool on);
void renderByHand(std::uint8_t* stream, int len);

} // namespace music
