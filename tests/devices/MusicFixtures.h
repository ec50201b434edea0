#pragma once

#include <functional>
#include <string>

// Small music files the tests write themselves.
namespace fixtures {

// A 4-channel ProTracker module "Vantorix test": 31 sample slots (one square wave), two
// patterns; order 0 plays one row of pattern 0 and jumps to order 1, which plays pattern 1
// (64 rows, about 7.7 s).
std::string protrackerModule();
// A 16-bit mono 22050 Hz sine wave of the given length.
std::string waveFile(int milliseconds);
// Writes bytes to folder/name and returns the path.
std::string write(const std::string& folder, const std::string& name, const std::string& bytes);

// Only against a hang: on a loaded machine the audio thread may run far behind real time.
constexpr int kPatienceMs = 60000;
// Polls `done` every 5 ms; false when it is still not true after `ms`.
bool waitUntil(const std::function<bool()>& done, int ms = kPatienceMs);

} // namespace fixtures
