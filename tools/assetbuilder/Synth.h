#pragma once

#include "SourceText.h"

#include <string>
#include <vector>

// One voice of a synthesised sound. Frequencies glide exponentially from the first to
// the second value over the layer's length; the envelope rises linearly over attack,
// holds, then falls as (1 - t)^curve over decay.
struct Layer {
    enum class Wave { Sine, Square, Saw, Triangle, Noise };
    Wave wave = Wave::Sine;
    double freqFrom = 440, freqTo = 440;
    double duty = 0.5;             // square waves
    double start = 0, length = -1; // seconds; length -1: to the end of the sound
    double attack = 0.002, hold = 0, decay = -1, curve = 1.5; // decay -1: to the end
    double gain = 1.0;
    double vibratoRate = 0, vibratoDepth = 0; // Hz, semitones
    std::vector<double> arpeggio;             // semitone steps, cycled
    double arpeggioStep = 0.05;               // seconds per step
    double lowpassFrom = 0, lowpassTo = 0;    // Hz; 0 is no filter
    double highpass = 0;                      // Hz; 0 is no filter
};

struct SoundSpec {
    std::string name;
    double length = 0.5; // seconds
    // Loudness: the RMS of the loudest 50 ms (without its DC offset), in dB below full
    // scale. Levelling by it rather than by the peak makes a click and a rumble sound
    // equally loud.
    double levelDb = -16;
    double echoDelay = 0, echoFeedback = 0;
    std::vector<Layer> layers;
};

// Reads "length", "level", "echo DELAY FEEDBACK" and "layer ..." lines from lines[from]
// up to the first "end"; returns the index of that "end".
size_t readSoundBody(const std::vector<SourceLine>& lines, size_t from, SoundSpec& spec);

// Mono samples in [-1, 1] at the given rate with a mean of zero, levelled to spec.levelDb
// (the gain is lowered where the peak would pass -1 dB), with a short fade at the end so
// that nothing clicks.
std::vector<float> renderSound(const SoundSpec& spec, int rate);
