#pragma once

#include <string>

// Reads the sound-effect source ("sound NAME" blocks, see Synth.h) and writes each as
// NAME.wav, 16-bit PCM mono at 44100 Hz, into folder. Returns the number written.
int writeSoundEffects(const std::string& sourcePath, const std::string& folder);

// Writes mono samples as a 16-bit PCM wave file. Raises AssetError on failure.
void writeWave(const std::string& path, const float* samples, size_t count, int rate);
