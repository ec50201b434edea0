#include "dx8Sound.h"

#include "AudioSystem.h"
#include "DialogService.h"
#include "Numbers.h"
#include "SoundChunk.h"
#include "VbError.h"

dx8Sound::dx8Sound() = default;
dx8Sound::~dx8Sound() = default;

bool dx8Sound::InitDirectSound(HWnd) {
    if (!audio::open()) {
        MsgBox("Unable to start DirectSound. Check to see that your sound card is properly "
               "installed and that MS Dirext 8 or later is installed.",
               mb::OKOnly);
        return false;
    }
    return true;
}

void dx8Sound::LoadWaveFile(const std::string& FileName, HWnd hWnd) {
    loaded_ = false;
    if (!InitDirectSound(hWnd)) {
        throw VbError(5, dx8SoundDeviceSource, "Unable to start DirectSound");
    }
    auto chunk = std::make_unique<SoundChunk>();
    std::string error;
    int number = 0;
    if (!chunk->load(FileName, error, number)) {
        buffer_.reset();
        throw VbError(number, "dx8Sound", error);
    }
    buffer_ = std::move(chunk);
    loaded_ = true;
}

void dx8Sound::Play(VbBool LoopIt) {
    if (!loaded_ || !buffer_) {
        return;
    }
    ++plays_;
    buffer_->play(LoopIt != VbFalse);
}

void dx8Sound::StopPlay() {
    if (buffer_) {
        buffer_->stop();
    }
}

void dx8Sound::PausePlay() {
    if (buffer_) {
        buffer_->pause();
    }
}

void dx8Sound::SetVolume(VbInteger Vol) {
    if (buffer_) {
        buffer_->setVolume(Vol);
    }
}

void dx8Sound::SetPaning(double Pan) {
    if (buffer_) {
        buffer_->setPan(num::toLong(Pan));
    }
}
