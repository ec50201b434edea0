#pragma once

#include "DisplayModes.h"
#include "VbTypes.h"

class QPaintDevice;

// The read-only view of the screen's mode; each getter reads the mode afresh and keeps it.
class DirectX8Display {
public:
    DirectX8Display();

    VbInteger GetDisplayRefreshRate();
    VbInteger GetDisplayWidth();
    VbInteger GetDisplayHeight();
    // Bits per pixel of the screen that shows the window or surface (32 on a true-colour
    // screen; one X display has one pixel format for every window and off-screen surface).
    VbInteger GetDisplayColorDepth(const QPaintDevice& hdc);

private:
    const display::DisplayMode& readMode();
    display::DisplayMode lastMode_;
};
