#include "DisplayModes.h"

#include "DisplayModesGuard.h"
#include "DisplayModesXRandR.h"
#include "IgnoringFailures.h"
#include "Numbers.h"
#include "ProcessIdentity.h"
#include "Settings.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <cstdlib>
#include <unistd.h>

namespace display {

struct DisplayModes::Saved {
    XScreenConfig config;    // as it was before the first switch
    std::string appliedText; // the primary CRTC as the last switch set it
};

namespace {

DisplayModes* service = nullptr; // kept to the end: users may still ask during exit
bool lastRecovery = false;
bool exitHookRegistered = false;

// Qt's own stand-ins for a screen: nothing there to switch.
bool offscreenQt() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return false;
    }
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

// --- the marker a switch leaves in the settings until it is undone ---

std::string marker(const char* key) {
    return GetSetting(markerApp, markerSection, key, "");
}

// "Applied" is empty while a switch is under way.
void writeMarker(const std::string& xDisplay, const XScreenConfig& saved) {
    SaveSetting(markerApp, markerSection, "Display", xDisplay);
    SaveSetting(markerApp, markerSection, "Owner", processIdentity(getpid()));
    SaveSetting(markerApp, markerSection, "Saved", serialize(saved));
    SaveSetting(markerApp, markerSection, "Applied", "");
    SaveSetting(markerApp, markerSection, "Pending", "1");
}

void markApplied(const std::string& applied) {
    SaveSetting(markerApp, markerSection, "Applied", applied);
}

void clearMarker() {
    DeleteSetting(markerApp, markerSection);
}

void restoreAtExit() {
    if (service) {
        // Nothing may leave an exit handler; the guard below still lets go of the screen.
        ignoringFailures([] { service->restore(); });
    }
    guard::shutdown();
}

void registerExitHook() {
    if (!exitHookRegistered) {
        exitHookRegistered = true;
        std::atexit(restoreAtExit);
    }
}

} // namespace

DisplayModes::DisplayModes(std::unique_ptr<XRandRScreen> x) : x_(std::move(x)) {}

DisplayModes::~DisplayModes() = default;

std::unique_ptr<DisplayModes> DisplayModes::create(const std::optional<std::string>& xDisplayName) {
    std::string target;
    if (xDisplayName) {
        target = *xDisplayName;
    } else if (!offscreenQt()) {
        const char* env = std::getenv("DISPLAY");
        target = env ? env : "";
    }
    return std::unique_ptr<DisplayModes>(new DisplayModes(XRandRScreen::open(target)));
}

DisplayModes& DisplayModes::instance() {
    if (!service) {
        service = create(std::nullopt).release();
        lastRecovery = service->recoverLeftover();
    }
    return *service;
}

void DisplayModes::reopen(const std::optional<std::string>& xDisplayName) {
    if (service) {
        service->restore();
        guard::shutdown();
        delete service;
        service = nullptr;
    }
    service = create(xDisplayName).release();
    lastRecovery = service->recoverLeftover();
}

DisplayMode DisplayModes::fixedMode() const {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QSize size = screen->geometry().size();
            const int depth = screen->depth();
            const int bits = depth == 24 || depth <= 0 ? 32 : depth;
            const int rate = static_cast<int>(num::roundHalfEven(screen->refreshRate()));
            if (size.width() > 0 && size.height() > 0) {
                return {size.width(), size.height(), bits, rate};
            }
        }
    }
    return {1920, 1080, 32, 60};
}

std::vector<DisplayMode> DisplayModes::modes() {
    if (x_) {
        return x_->modes();
    }
    return {fixedMode()};
}

std::optional<DisplayMode> DisplayModes::current() {
    if (x_) {
        return x_->current();
    }
    return fixedMode();
}

bool DisplayModes::setMode(int width, int height, int bitsPerPixel, int refreshRate) {
    const DisplayMode wanted{width, height, bitsPerPixel, refreshRate};
    if (!x_) {
        const DisplayMode desktop = fixedMode();
        return width == desktop.width && height == desktop.height &&
               acceptsDepth(bitsPerPixel, desktop.bitsPerPixel,
                            desktop.bitsPerPixel == 32 ? 24 : desktop.bitsPerPixel) &&
               (refreshRate == 0 || refreshRate == desktop.refreshRate);
    }

    const bool first = !saved_;
    std::optional<XScreenConfig> before = x_->capture();
    if (!before) {
        return false;
    }
    // Noted before the change: should the process die in the middle, the next start still
    // knows what to put back.
    const auto beforeChange = [&] {
        if (first) {
            saved_ = std::make_unique<Saved>(Saved{*before, {}});
            guard::arm(x_->name(), saved_->config);
            writeMarker(x_->name(), saved_->config);
            registerExitHook();
        } else {
            markApplied("");
        }
    };
    XCrtcConfig applied;
    const auto result = x_->setMode(wanted, beforeChange, applied);
    switch (result) {
    case XRandRScreen::SetResult::Switched:
        saved_->appliedText = serialize(applied);
        markApplied(saved_->appliedText);
        return true;
    case XRandRScreen::SetResult::Unchanged:
        return true;
    case XRandRScreen::SetResult::Unsupported:
        return false;
    case XRandRScreen::SetResult::Failed:
        break;
    }
    // A half-done change is taken back to what was there before this call.
    if (x_->apply(*before)) {
        if (first) {
            saved_.reset();
            guard::disarm();
            clearMarker();
        } else {
            markApplied(saved_->appliedText);
        }
    }
    return false;
}

bool DisplayModes::restore() {
    if (!saved_) {
        return true;
    }
    if (x_ && !x_->apply(saved_->config)) {
        return false;
    }
    saved_.reset();
    guard::disarm();
    clearMarker();
    return true;
}

bool DisplayModes::recoverLeftover() {
    if (marker("Pending") != "1" || saved_ || ownerStillRuns(marker("Owner"))) {
        return false;
    }
    // A marker from another X display waits until a program starts there.
    if (!x_ || displayWithoutScreen(marker("Display")) != x_->name()) {
        return false;
    }
    const auto config = parseScreenConfig(marker("Saved"));
    if (!config || !x_->knows(*config)) {
        clearMarker(); // another server by now, or a garbled marker: nothing of ours is left
        return false;
    }
    // Only a screen still as the dead process left it is put back; a mode set since by the
    // user stays.
    bool untouched = true;
    const std::string appliedText = marker("Applied");
    if (!appliedText.empty()) {
        const auto applied = parseCrtcConfig(appliedText);
        const auto now = applied ? x_->crtcState(applied->crtc) : std::nullopt;
        untouched = now && *now == *applied;
        for (const XCrtcConfig& c : config->crtcs) {
            if (now && c.crtc == now->crtc && c == *now) {
                untouched = true;
            }
        }
    }
    // One attempt: a configuration the server no longer takes is not forced on every start.
    const bool restored = untouched && x_->apply(*config);
    clearMarker();
    return restored;
}

bool restoreLeftoverSwitch() {
    if (!service) {
        DisplayModes::instance();
        return lastRecovery;
    }
    return service->recoverLeftover();
}

void waitForScreenToFollow(int maxMs) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    const std::optional<DisplayMode> mode = DisplayModes::instance().current();
    if (!mode) {
        return;
    }
    const QSize wanted(mode->width, mode->height);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QSize size =
                (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
            if (size == wanted) {
                return;
            }
        }
        if (waited.elapsed() >= maxMs) {
            return;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

} // namespace display
