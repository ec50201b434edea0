#include "ManualMixer.h"

#include "AudioSystem.h"
#include "MusicMixer.h"

#include <algorithm>

ManualMixer::ManualMixer() {
    music::setDrivenByHand(true);
}

ManualMixer::~ManualMixer() {
    music::setDrivenByHand(false);
}

void ManualMixer::pull(std::size_t frames) {
    const std::size_t from = heard_.size();
    heard_.resize(from + frames * 2);
    music::renderByHand(reinterpret_cast<std::uint8_t*>(heard_.data() + from),
                        static_cast<int>(frames * 2 * sizeof(std::int16_t)));
}

void ManualMixer::advance(std::uint64_t ms) {
    const std::uint64_t end = framesRendered() + ms * audio::sampleRate / 1000;
    while (framesRendered() < end) {
        pull(std::min<std::uint64_t>(audio::blockFrames, end - framesRendered()));
    }
}

bool ManualMixer::runUntil(const std::function<bool()>& done, std::uint64_t ms) {
    const std::uint64_t end = framesRendered() + ms * audio::sampleRate / 1000;
    while (!done()) {
        if (framesRendered() >= end) {
            return false;
        }
        pull(audio::blockFrames);
    }
    return true;
}
