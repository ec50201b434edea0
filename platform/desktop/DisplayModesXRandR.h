#pragma once

#include "DisplayModes.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The XRandR side of the display-mode service, kept free of X headers for its users.
namespace display {

// What tells a mode apart when its id is looked up again by another process.
struct XModeKey {
    unsigned width = 0;
    unsigned height = 0;
    unsigned long dotClock = 0;
    unsigned hTotal = 0;
    unsigned vTotal = 0;
    bool operator==(const XModeKey&) const = default;
};

// One CRTC as it was set: mode 0 is a CRTC switched off.
struct XCrtcConfig {
    unsigned long crtc = 0;
    int x = 0;
    int y = 0;
    unsigned rotation = 1;
    unsigned long mode = 0;
    XModeKey key;
    std::vector<unsigned long> outputs;
    bool operator==(const XCrtcConfig&) const = default;
};

// The whole configuration that a mode switch may touch.
struct XScreenConfig {
    int width = 0;
    int height = 0;
    std::vector<XCrtcConfig> crtcs;
};

std::string serialize(const XScreenConfig& config);
std::string serialize(const XCrtcConfig& crtc);
std::optional<XScreenConfig> parseScreenConfig(const std::string& text);
std::optional<XCrtcConfig> parseCrtcConfig(const std::string& text);

// A wanted colour depth fits a screen of `bitsPerPixel` (and `depth` significant bits): a
// 32-bit true-colour screen also answers to 24.
bool acceptsDepth(int wanted, int bitsPerPixel, int depth);

// One connection to an X server with RandR 1.2 or later, driving its primary output.
class XRandRScreen {
public:
    // Nothing when the server cannot be reached or lacks RandR 1.2.
    static std::unique_ptr<XRandRScreen> open(const std::string& displayName);
    ~XRandRScreen();
    XRandRScreen(const XRandRScreen&) = delete;
    XRandRScreen& operator=(const XRandRScreen&) = delete;

    // The display as named to the server ("host:n", without the screen number).
    const std::string& name() const { return name_; }

    std::vector<DisplayMode> modes();
    std::optional<DisplayMode> current();
    std::optional<XScreenConfig> capture();

    enum class SetResult { Switched, Unchanged, Unsupported, Failed };
    // `beforeChange` runs once the mode is found and just before the server is touched. On
    // Switched, `applied` holds the primary output's CRTC as now set.
    SetResult setMode(const DisplayMode& wanted, const std::function<void()>& beforeChange,
                      XCrtcConfig& applied);

    // Sets every CRTC and the screen size back as captured.
    bool apply(const XScreenConfig& config);

    // The server still has every CRTC, output and mode the configuration names (by the same
    // id and timing), so it can be applied here.
    bool knows(const XScreenConfig& config);

    std::optional<XCrtcConfig> crtcState(unsigned long crtc);

private:
    struct Impl;
    explicit XRandRScreen(std::unique_ptr<Impl> impl, std::string name);
    std::unique_ptr<Impl> d_;
    std::string name_;
};

// "host:n.s" without ".s", so two spellings of one display compare equal.
std::string displayWithoutScreen(const std::string& name);

} // namespace display
