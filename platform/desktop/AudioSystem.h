#pragma once

#include <functional>
#include <string>

// The one sound output of a program: SDL's audio subsystem and the SDL2_mixer device
// (44100 Hz, stereo, 16-bit). Everything that plays sound opens it here; with no sound
// device open() fails and the program runs silent.
namespace audio {

// What open() asks the device for: the rate, and the frames of one callback.
constexpr int sampleRate = 44100;
constexpr int blockFrames = 1024;

// Idempotent. A failed attempt is remembered until close(), so that a machine without
// sound does not retry on every effect.
bool open();
bool isOpen();
// Number of wave output devices; 0 when there is none or audio cannot start. A driver
// that only offers its default device (SDL's "dummy" driver among them) counts as one
// device once the mixer is open, so the sound paths also run in headless tests.
int outputDeviceCount();
// SDL's name of the audio driver in use; "" while closed.
std::string driverName();
// Makes sure at least n mixer channels exist (never lowers the count).
void reserveChannels(int n);
// Mixer channels that exist now; 0 while closed.
int channelCount();
// Runs the close listeners, then Mix_CloseAudio and quits the audio subsystem.
void close();

// fn runs at the start of every close(), while the mixer is still open: the place to free
// chunks and unhook music. Returns an id for removeCloseListener.
int addCloseListener(std::function<void()> fn);
void removeCloseListener(int id);

} // namespace audio
