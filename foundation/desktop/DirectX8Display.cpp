#include "DirectX8Display.h"

#include "Numbers.h"
#include "VbError.h"

namespace {
constexpr std::int32_t displayFailure = static_cast<std::int32_t>(0x80004005u);
}

DirectX8Display::DirectX8Display() {
    display::DisplayModes::instance();
}

const display::DisplayMode& DirectX8Display::readMode() {
    auto mode = display::DisplayModes::instance().current();
    if (!mode) {
        throw VbError(displayFailure, "DirectX8Display", "The display mode cannot be read.");
    }
    lastMode_ = *mode;
    return lastMode_;
}

VbInteger DirectX8Display::GetDisplayRefreshRate() {
    return num::toInteger(readMode().refreshRate);
}

VbInteger DirectX8Display::GetDisplayWidth() {
    return num::toInteger(readMode().width);
}

VbInteger DirectX8Display::GetDisplayHeight() {
    return num::toInteger(readMode().height);
}

VbInteger DirectX8Display::GetDisplayColorDepth(const QPaintDevice& /*hdc*/) {
    return num::toInteger(readMode().bitsPerPixel);
}
