#include "AudioSystem.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <map>
#include <utility>

namespace audio {
namespace {

enum class State { Closed, Open, Failed };

State state = State::Closed;
bool subsystemUp = false;
int nextListenerId = 1;
std::map<int, std::function<void()>> closeListeners;

constexpr int defaultChannels = 16;

} // namespace

bool open() {
    if (state == State::Open) {
        return true;
    }
    if (state == State::Failed) {
        return false;
    }
    // SDL must not take over SIGINT/SIGTERM: the programs restore the display mode there.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        state = State::Failed;
        return false;
    }
    subsystemUp = true;
    if (Mix_OpenAudio(sampleRate, AUDIO_S16SYS, 2, blockFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemUp = false;
        state = State::Failed;
        return false;
    }
    if (Mix_AllocateChannels(-1) < defaultChannels) {
        Mix_AllocateChannels(defaultChannels);
    }
    state = State::Open;
    return true;
}

bool isOpen() {
    return state == State::Open;
}

int outputDeviceCount() {
    if (!open()) {
        return 0;
    }
    // -1 means the driver cannot list its devices; 0 can mean "only the default". Either
    // way a device opened, so there is one.
    const int n = SDL_GetNumAudioDevices(0);
    return n > 0 ? n : 1;
}

std::string driverName() {
    const char* name = isOpen() ? SDL_GetCurrentAudioDriver() : nullptr;
    return name != nullptr ? name : "";
}

void reserveChannels(int n) {
    if (!isOpen() || n <= 0) {
        return;
    }
    if (Mix_AllocateChannels(-1) < n) {
        Mix_AllocateChannels(n);
    }
}

int channelCount() {
    return isOpen() ? Mix_AllocateChannels(-1) : 0;
}

void close() {
    if (state == State::Open) {
        // Copy: a listener may remove itself.
        const auto listeners = closeListeners;
        for (const auto& [id, fn] : listeners) {
            if (fn) {
                fn();
            }
        }
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
    }
    if (subsystemUp) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemUp = false;
    }
    state = State::Closed;
}

int addCloseListener(std::function<void()> fn) {
    const int id = nextListenerId++;
    closeListeners.emplace(id, std::move(fn));
    return id;
}

void removeCloseListener(int id) {
    closeListeners.erase(id);
}

} // namespace audio
