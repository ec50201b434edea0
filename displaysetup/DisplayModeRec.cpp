#include "DisplayModeRec.h"

#include "DirectX7Display.h"
#include "DisplayModes.h"
#include "IgnoringFailures.h"

#include <optional>
#include <vector>

namespace {

class PlatformModeScreen : public ModeScreen {
public:
    bool enumDisplaySettings(VbLong n, DisplayModeRec& mode) override {
        if (!modes_) {
            modes_ = display::DisplayModes::instance().modes();
        }
        if (n < 0 || static_cast<std::size_t>(n) >= modes_->size()) {
            return false;
        }
        const display::DisplayMode& m = (*modes_)[static_cast<std::size_t>(n)];
        mode = {m.bitsPerPixel, m.width, m.height, m.refreshRate};
        return true;
    }

    CurrentModeRec currentMode() override {
        DirectX7Display d;
        return {d.GetDisplayWidth(), d.GetDisplayHeight(), d.GetDisplayBitDepth(),
                d.GetDisplayRefreshRate()};
    }

    void setDisplayMode(VbInteger width, VbInteger height, VbInteger refreshRate,
                        std::uint8_t bits) override {
        display_ = std::make_unique<DirectX7Display>();
        display_->SetDisplayMode(width, height, refreshRate, bits);
    }

    void restoreDisplayMode() override {
        if (!display_) {
            display_ = std::make_unique<DirectX7Display>();
        }
        display_->RestoreDisplayMode();
    }

private:
    std::optional<std::vector<display::DisplayMode>> modes_;
    std::unique_ptr<DirectX7Display> display_;
};

bool within(VbLong v, VbLong lo, VbLong hi) {
    return v >= lo && v <= hi;
}

} // namespace

std::unique_ptr<ModeScreen> makePlatformModeScreen() {
    return std::make_unique<PlatformModeScreen>();
}

DisplayModeRec GetDisplayMode(ModeScreen& screen, VbLong minWidth, VbLong maxWidth,
                              VbLong minHeight, VbLong maxHeight, VbLong minFreq, VbLong maxFreq,
                              VbLong minBits, VbLong maxBits, VbLong n) {
    DisplayModeRec mode;
    bool found = false;
    // A screen that cannot be asked ends the list.
    ignoringFailures([&] { found = screen.enumDisplaySettings(n, mode); });
    if (!found) {
        return {modeListEnd, 0, 0, 0};
    }
    const bool rateOk =
        mode.dmDisplayFrequency == 0 || within(mode.dmDisplayFrequency, minFreq, maxFreq);
    if (!within(mode.dmPelsWidth, minWidth, maxWidth) ||
        !within(mode.dmPelsHeight, minHeight, maxHeight) || !rateOk ||
        !within(mode.dmBitsPerPel, minBits, maxBits)) {
        mode.dmBitsPerPel = modeFilteredOut;
    }
    return mode;
}
