#pragma once

#include "VbTypes.h"

#include <cstdint>
#include <functional>
#include <memory>

// The four fields of a screen mode the tool works with.
struct DisplayModeRec {
    VbLong dmBitsPerPel = 0;
    VbLong dmPelsWidth = 0;
    VbLong dmPelsHeight = 0;
    VbLong dmDisplayFrequency = 0; // Hz; 0 = the device's default rate
};

// The screen mode in use, as the display class reports it.
struct CurrentModeRec {
    VbInteger width = 0;
    VbInteger height = 0;
    VbInteger bits = 0;
    VbInteger refreshRate = 0;
};

// What the tool needs of the screen. The program uses the real one; tests put in their own.
class ModeScreen {
public:
    virtual ~ModeScreen() = default;
    // Mode number n of the primary display; false past the last one.
    virtual bool enumDisplaySettings(VbLong n, DisplayModeRec& mode) = 0;
    virtual CurrentModeRec currentMode() = 0;
    // Switches to the mode to try it; a mode the screen refuses leaves it as it was.
    virtual void setDisplayMode(VbInteger width, VbInteger height, VbInteger refreshRate,
                                std::uint8_t bits) = 0;
    // Back to the mode from before the switch; raises VbError when that fails.
    virtual void restoreDisplayMode() = 0;
};

// The screen through the process's display-mode service. The mode list is read once, when
// first asked for, so that numbering stays the same through one listing.
std::unique_ptr<ModeScreen> makePlatformModeScreen();

// Status values in the bits field of GetDisplayMode's result.
inline constexpr VbLong modeListEnd = -1;
inline constexpr VbLong modeFilteredOut = -2;

// Mode number n when it lies within all the bounds (inclusive; a refresh rate of 0 passes
// the rate bounds); else a record whose bits field says modeFilteredOut, or modeListEnd past
// the last mode.
DisplayModeRec GetDisplayMode(ModeScreen& screen, VbLong minWidth, VbLong maxWidth,
                              VbLong minHeight, VbLong maxHeight, VbLong minFreq, VbLong maxFreq,
                              VbLong minBits, VbLong maxBits, VbLong n);
