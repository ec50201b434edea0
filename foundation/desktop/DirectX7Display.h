#pragma once

#include "VbTypes.h"

#include <cstdint>

// Switches the whole screen to a display mode and back, and reports the mode in use. The
// screen is the process's one display-mode service; this object remembers whether it
// switched, and puts the desktop back when released after a switch.
class DirectX7Display {
public:
    DirectX7Display();
    ~DirectX7Display();
    DirectX7Display(const DirectX7Display&) = delete;
    DirectX7Display& operator=(const DirectX7Display&) = delete;

    // Refresh rate 0 takes the screen's preferred rate. A mode the screen does not offer
    // leaves it as it was, without a word: callers ask the user whether the picture shows.
    void SetDisplayMode(VbInteger Width, VbInteger Height, VbInteger RefreshRate,
                        std::uint8_t BitDepth);
    // Back to the mode from before the first change; raises VbError when that fails.
    void RestoreDisplayMode();

    // The mode in use, read afresh on each call; VbError when it cannot be read.
    VbInteger GetDisplayWidth() const;
    VbInteger GetDisplayHeight() const;
    VbInteger GetDisplayBitDepth() const;    // bits per pixel: 32 on a true-colour screen
    VbInteger GetDisplayRefreshRate() const; // Hz, 0 when the screen reports none

private:
    bool switched_ = false;
};
