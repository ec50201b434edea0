#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A FastTracker 2 extended module (version 0x0104) held in memory, and its writer.

struct XmSample {
    std::string name;
    std::vector<int16_t> data;              // 16-bit samples
    uint32_t loopStart = 0, loopLength = 0; // in samples; length 0: no loop
    uint8_t volume = 64;                    // 0..64
    int8_t finetune = 0;                    // -128..127, 1/128 semitone
    int8_t relativeNote = 0;                // semitones; C-4 plays at 8363 Hz when 0
    uint8_t panning = 128;
};

struct XmInstrument {
    std::string name;
    XmSample sample;
    std::vector<std::pair<uint16_t, uint16_t>> volumeEnvelope; // (tick, 0..64), up to 12
    int sustainPoint = -1;                                     // -1: none
    uint16_t fadeout = 0;
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
};

struct XmCell {
    uint8_t note = 0;       // 0 none, 1..96 (1 is C-0), 97 note off
    uint8_t instrument = 0; // 0 none, else 1-based
    uint8_t volume = 0;     // volume column: 0 none, 0x10..0x50 set volume 0..64
    uint8_t effect = 0, param = 0;
};

struct XmPattern {
    int rows = 64;
    std::vector<XmCell> cells; // rows x channels, row by row
};

struct XmModule {
    std::string name;
    int channels = 8;
    int speed = 6, bpm = 125;
    std::vector<uint8_t> orders;
    int restart = 0;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

// The module as the bytes of an .xm file (linear frequency table, packed patterns,
// delta-encoded 16-bit samples).
std::string encodeXm(const XmModule& module);
