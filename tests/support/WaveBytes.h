#pragma once

#include <cstdint>
#include <fstream>
#include <string>

// A RIFF image of ms milliseconds of a 16-bit mono square wave at 22050 Hz: the smallest
// sound every loader accepts.
inline std::string squareWaveWav(int ms) {
    const std::uint32_t rate = 22050;
    const std::uint32_t samples = rate * static_cast<std::uint32_t>(ms) / 1000;
    std::string w;
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            w += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    auto u16 = [&](std::uint16_t v) {
        w += static_cast<char>(v & 0xFF);
        w += static_cast<char>(v >> 8);
    };
    w += "RIFF";
    u32(36 + samples * 2);
    w += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2); // bytes per second
    u16(2);        // block align
    u16(16);       // bits
    w += "data";
    u32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) {
        u16((i / 25) % 2 ? 0x2000 : 0xE000);
    }
    return w;
}

// Writes bytes to path and hands the path back.
inline std::string writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}
