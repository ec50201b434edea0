#pragma once

// Under X11 a held key repeats as release/press pairs, which Qt does not always recognise.
// With XKB's detectable auto-repeat the server sends the repeated presses only, so a key
// held down never looks released. Does nothing on other platforms.
void useDetectableAutoRepeat();
