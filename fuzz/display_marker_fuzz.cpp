// LIBS: vantorix_platform_desktop
#include "DisplayModesXRandR.h"
#include "ProcessIdentity.h"
#include "Require.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

bool same(const display::XScreenConfig& a, const display::XScreenConfig& b) {
    return a.width == b.width && a.height == b.height && a.crtcs == b.crtcs;
}

void withinLimits(const display::XCrtcConfig& c) {
    require(c.outputs.size() <= 64);
}

} // namespace

// Any text as one value of the display-restore marker that every start reads (the saved
// screen, the CRTC the last switch set, the owner process): what parses is within the
// limits and writes back to text that parses to the same; an owner runs only when it names
// a live process exactly as that process is known.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool selfRuns = display::ownerStillRuns(display::processIdentity(getpid()));
    require(selfRuns);
    const std::string text(reinterpret_cast<const char*>(data), size);

    if (const auto screen = display::parseScreenConfig(text)) {
        require(screen->width > 0 && screen->height > 0 && screen->crtcs.size() <= 64);
        for (const auto& c : screen->crtcs) {
            withinLimits(c);
        }
        const std::string written = display::serialize(*screen);
        const auto again = display::parseScreenConfig(written);
        require(again && same(*again, *screen));
        require(display::serialize(*again) == written);
    }

    if (const auto crtc = display::parseCrtcConfig(text)) {
        withinLimits(*crtc);
        const std::string written = display::serialize(*crtc);
        const auto again = display::parseCrtcConfig(written);
        require(again && *again == *crtc);
        require(display::serialize(*again) == written);
    }

    if (display::ownerStillRuns(text)) {
        const long pid = std::strtol(text.c_str(), nullptr, 10);
        require(pid > 0 && display::processIdentity(pid) == text);
    }
    return 0;
}
