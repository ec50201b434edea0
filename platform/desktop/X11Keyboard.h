#pragma once

#include <cstdint>
#include <vector>

// The X11 side of the keyboard. Both do nothing (or return nothing) on other platforms.

// Under X11 a held key repeats as release/press pairs, which Qt does not always recognise.
// With XKB's detectable auto-repeat the server sends the repeated presses only, so a key
// held down never looks released.
void useDetectableAutoRepeat();
// The X11 keycodes of the keys held down right now.
std::vector<std::uint32_t> heldX11Keycodes();
