// Every sound effect of the game: gates, copies that overlap, and the fallback player.
#include "GameEngine.h"
#include "Numbers.h"
#include "QFTModule.h"
#include "QFTModuleDesktop.h"

void GameEngine::LocalPlaySound(VbInteger id) {
    if (!f.SoundAvailable || !f.mnuSound.Checked) {
        return;
    }
    if (id >= 101 && id <= 113) {
        const std::size_t k = static_cast<std::size_t>(id - 101);
        const auto now = static_cast<std::uint32_t>(GetTicks());
        // Taken on the wrapping counter, so the gate holds across its wrap.
        if (!SoundStarted[k] || num::tickDelta(now, LastSoundTime[k]) >= 50) {
            if (DirectSoundReady) {
                dx8Sound* buffer = nullptr;
                if (auto* copies = f.soundArray(id)) {
                    const VbInteger ch = id == 105 ? VbInteger{0} : SoundChannel[k];
                    buffer = &(*copies)[static_cast<std::size_t>(ch)];
                } else if (id <= 112) {
                    buffer = &f.Sound110To112[static_cast<std::size_t>(id - 110)];
                } else {
                    buffer = &f.Sound113;
                }
                buffer->Play(VbFalse);
            } else {
                std::string name = num::toText(static_cast<int>(id));
                if (id == 108) {
                    static const char* const variants[] = {"108", "108_1", "108_2", "108_1"};
                    const VbInteger ch = SoundChannel[k];
                    name = ch >= 0 && ch < 4 ? variants[ch] : "";
                }
                if (!name.empty()) {
                    const std::string file = AppPath() + "sfx/" + name + ".wav";
                    if (fallbackSoundPlayer) {
                        fallbackSoundPlayer(file);
                    } else {
                        PlayWaveSound(0, "", file, VbFalse, VbFalse, VbFalse, VbFalse);
                    }
                }
            }
            LastSoundTime[k] = now;
            SoundStarted[k] = true;
            if (id <= 109) {
                SoundChannel[k] = static_cast<VbInteger>(SoundChannel[k] + 1);
            }
        }
    }
    const auto upper = static_cast<VbInteger>(f.Sound101.size() - 1);
    for (VbInteger& ch : SoundChannel) {
        if (ch > upper) {
            ch = 0;
        }
    }
}
