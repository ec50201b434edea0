#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The screen's display modes: list, query, switch and restore.
//
// On an X server the primary output is switched through XRandR. Such a change outlives the
// process, so the whole configuration is saved before the first switch and put back on every
// way out: restore(), the release of the last user, exit(), SIGINT/SIGTERM/SIGHUP, and, when a
// process died without any of these, at the next start through a marker in the settings.
//
// Without a reachable X server (no DISPLAY, Wayland without XWayland, Qt's offscreen platform)
// the desktop mode is fixed: the primary screen's size, or 1920x1080, 32 bits, 60 Hz without a
// screen. It is the only mode listed, and asking for any other one changes nothing.
//
// Colour depth is given as bits per pixel: 32 for the usual 24-bit true-colour X screen.
namespace display {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int refreshRate = 0; // Hz; 0 when the screen reports none
    bool operator==(const DisplayMode&) const = default;
};

class XRandRScreen;

class DisplayModes {
public:
    // The process-wide service. Its first use also undoes a switch that an earlier process
    // left behind (see restoreLeftoverSwitch).
    static DisplayModes& instance();

    // Replaces the process-wide service, after restoring what the old one switched: on the
    // named X server, or the automatic choice when no name is given, or the fixed desktop mode
    // for an empty name. For tools and tests that run off-screen but drive a given server.
    static void reopen(const std::optional<std::string>& xDisplayName = std::nullopt);

    ~DisplayModes();
    DisplayModes(const DisplayModes&) = delete;
    DisplayModes& operator=(const DisplayModes&) = delete;

    bool usesXRandR() const { return x_ != nullptr; }

    // Every mode the screen offers, by bits, width, height and refresh rate, each once.
    std::vector<DisplayMode> modes();

    // The mode in use now, read afresh; nothing when the screen cannot be read.
    std::optional<DisplayMode> current();

    // Switches to the mode; refreshRate 0 takes the screen's preferred rate for that size.
    // A mode the screen does not offer changes nothing and gives false.
    bool setMode(int width, int height, int bitsPerPixel, int refreshRate);

    // Puts back the configuration from before the first switch. True when nothing is left
    // switched (also when nothing was).
    bool restore();

    // A switch is in effect that restore() would undo.
    bool switched() const { return saved_ != nullptr; }

private:
    struct Saved;
    explicit DisplayModes(std::unique_ptr<XRandRScreen> x);
    static std::unique_ptr<DisplayModes> create(const std::optional<std::string>& xDisplayName);
    DisplayMode fixedMode() const;
    bool recoverLeftover();
    friend bool restoreLeftoverSwitch();

    std::unique_ptr<XRandRScreen> x_;
    std::unique_ptr<Saved> saved_;
};

// Undoes the switch that a process which died without restoring left on this X display, as
// told by the marker in the settings. Does nothing while that process still runs, and leaves
// the screen alone when its configuration was changed since. Runs by itself on the service's
// first use; programs call it at start. True when it put a configuration back.
bool restoreLeftoverSwitch();

// After a restore at start: the window system tells the toolkit of the new screen size a
// moment later, and a window placed before that is centred on the old size. Lets events
// run until the primary screen shows the mode in use, for at most maxMs.
void waitForScreenToFollow(int maxMs);

// The settings place of that marker: program title "Vantorix", this section.
inline constexpr const char* markerApp = "Vantorix";
inline constexpr const char* markerSection = "DisplayRestore";

} // namespace display
