#pragma once

#include "MusicBackend.h"
#include "MusicMixer.h"

#include <memory>
#include <string>
#include <vector>

namespace music {

// What plays a module: a tracker module through libopenmpt, a MIDI song through
// FluidSynth. Every call is made with mixerLock() held.
class ModuleEngine : public MixSource {
public:
    virtual std::string name() const = 0;
    virtual ModuleType type() const = 0;
    // From the start, as when first played.
    virtual void restart() = 0;
    virtual void setOrder(int order) = 0;
    virtual int row() const { return 0; }
    virtual int pattern() const { return 0; }
    virtual int order() const { return 0; }
    virtual int numPatterns() const { return 0; }
    virtual int numSamples() const { return 0; }
    virtual int numChannels() const = 0;
    // 0 to 1.
    virtual double channelVu(int channel) const = 0;
    // 0 to 255; -1 for a channel the module lacks.
    virtual int channelVolume(int channel) const = 0;
    virtual void setChannelVolume(int channel, int volume) = 0;
};

// nullptr (error set) when libopenmpt cannot read the data.
std::unique_ptr<ModuleEngine> openTrackerModule(const std::vector<char>& data, std::string& error);
// nullptr (error set) for data that is no MIDI song with notes, or when no General MIDI
// sound font is installed.
std::unique_ptr<ModuleEngine> openMidiSong(const std::vector<char>& data, int rate,
                                           std::string& error);

} // namespace music
