#include "DirectX7Display.h"

#include "DisplayModes.h"
#include "IgnoringFailures.h"
#include "Numbers.h"
#include "VbError.h"

namespace {

// The general failure code a display call reports.
constexpr std::int32_t displayFailure = static_cast<std::int32_t>(0x80004005u);

display::DisplayMode currentMode() {
    if (auto mode = display::DisplayModes::instance().current()) {
        return *mode;
    }
    throw VbError(displayFailure, "DirectX7Display", "The display mode cannot be read.");
}

} // namespace

DirectX7Display::DirectX7Display() {
    display::DisplayModes::instance();
}

DirectX7Display::~DirectX7Display() {
    if (switched_) {
        // The display guard restores at exit should this fail.
        ignoringFailures([] { display::DisplayModes::instance().restore(); });
    }
}

void DirectX7Display::SetDisplayMode(VbInteger Width, VbInteger Height, VbInteger RefreshRate,
                                     std::uint8_t BitDepth) {
    // A mode the screen refuses leaves the desktop as it is; the caller reads the mode back.
    ignoringFailures([&] {
        // The service takes the depth before the rate.
        auto& modes = display::DisplayModes::instance();
        if (modes.setMode(Width, Height, BitDepth, RefreshRate)) {
            switched_ = switched_ || modes.switched();
        }
    });
}

void DirectX7Display::RestoreDisplayMode() {
    if (!display::DisplayModes::instance().restore()) {
        throw VbError(displayFailure, "DirectX7Display", "The display mode cannot be restored.");
    }
    switched_ = false;
}

VbInteger DirectX7Display::GetDisplayWidth() const {
    return num::toInteger(currentMode().width);
}

VbInteger DirectX7Display::GetDisplayHeight() const {
    return num::toInteger(currentMode().height);
}

VbInteger DirectX7Display::GetDisplayBitDepth() const {
    return num::toInteger(currentMode().bitsPerPixel);
}

VbInteger DirectX7Display::GetDisplayRefreshRate() const {
    return num::toInteger(currentMode().refreshRate);
}
