#include "DisplayModesXRandR.h"

#include "Numbers.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <tuple>

namespace display {

namespace {

// Xlib's error handler is one per process. Ours counts the errors of the call in progress on
// this thread and hands any other error to whoever handled them before.
thread_local Display* trappedDisplay = nullptr;
thread_local int trappedErrors = 0;
XErrorHandler previousHandler = nullptr;
bool handlerInstalled = false;

int onXError(Display* dpy, XErrorEvent* event) {
    if (dpy == trappedDisplay) {
        ++trappedErrors;
        return 0;
    }
    return previousHandler ? previousHandler(dpy, event) : 0;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* dpy)
        : dpy_(dpy), outer_(trappedDisplay), outerErrors_(trappedErrors) {
        trappedDisplay = dpy;
        trappedErrors = 0;
    }
    ~ErrorTrap() {
        XSync(dpy_, False);
        trappedDisplay = outer_;
        trappedErrors = outerErrors_;
    }
    bool failed() {
        XSync(dpy_, False);
        return trappedErrors != 0;
    }

private:
    Display* dpy_;
    Display* outer_;
    int outerErrors_;
};

struct ResourcesDeleter {
    void operator()(XRRScreenResources* r) const { XRRFreeScreenResources(r); }
};
struct OutputDeleter {
    void operator()(XRROutputInfo* o) const { XRRFreeOutputInfo(o); }
};
struct CrtcDeleter {
    void operator()(XRRCrtcInfo* c) const { XRRFreeCrtcInfo(c); }
};
using Resources = std::unique_ptr<XRRScreenResources, ResourcesDeleter>;
using OutputInfo = std::unique_ptr<XRROutputInfo, OutputDeleter>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, CrtcDeleter>;

const XRRModeInfo* findMode(const XRRScreenResources* res, RRMode id) {
    for (int i = 0; i < res->nmode; ++i) {
        if (res->modes[i].id == id) {
            return &res->modes[i];
        }
    }
    return nullptr;
}

int refreshOf(const XRRModeInfo& m) {
    if (m.hTotal == 0 || m.vTotal == 0) {
        return 0;
    }
    double rate = static_cast<double>(m.dotClock) / (static_cast<double>(m.hTotal) * m.vTotal);
    if (m.modeFlags & RR_Interlace) {
        rate *= 2;
    }
    if (m.modeFlags & RR_DoubleScan) {
        rate /= 2;
    }
    return static_cast<int>(num::roundHalfEven(rate));
}

XModeKey keyOf(const XRRModeInfo& m) {
    return {m.width, m.height, m.dotClock, m.hTotal, m.vTotal};
}

bool contains(const RRCrtc* list, int n, unsigned long id) {
    return std::find(list, list + n, id) != list + n;
}

bool rotatedSideways(unsigned rotation) {
    return rotation & (RR_Rotate_90 | RR_Rotate_270);
}

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

Size largest(Size a, Size b) {
    return {std::max(a.width, b.width), std::max(a.height, b.height)};
}

} // namespace

struct XRandRScreen::Impl {
    Display* dpy = nullptr;
    int screen = 0;
    Window root = 0;
    int bitsPerPixel = 32;
    int depth = 24;
    double dpiX = 96;
    double dpiY = 96;

    ~Impl() {
        if (dpy) {
            XCloseDisplay(dpy);
        }
    }

    Resources resources() { return Resources(XRRGetScreenResourcesCurrent(dpy, root)); }

    Size rootSize() {
        Window r;
        int x, y;
        unsigned w = 0, h = 0, border, d;
        XGetGeometry(dpy, root, &r, &x, &y, &w, &h, &border, &d);
        return {static_cast<int>(w), static_cast<int>(h)};
    }

    // The output the desktop calls primary, else the first lit one; it must have a CRTC.
    RROutput primaryOutput(const XRRScreenResources* res, OutputInfo& info) {
        const RROutput primary = XRRGetOutputPrimary(dpy, root);
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < res->noutput; ++i) {
                const RROutput id = res->outputs[i];
                if (pass == 0 && id != primary) {
                    continue;
                }
                OutputInfo o(XRRGetOutputInfo(dpy, const_cast<XRRScreenResources*>(res), id));
                if (o && o->connection == RR_Connected && o->crtc != 0) {
                    info = std::move(o);
                    return id;
                }
            }
        }
        return 0;
    }

    CrtcInfo crtcInfo(XRRScreenResources* res, RRCrtc crtc) {
        ErrorTrap trap(dpy);
        CrtcInfo ci(XRRGetCrtcInfo(dpy, res, crtc));
        if (trap.failed()) {
            return nullptr;
        }
        return ci;
    }

    bool setScreenSize(Size s) {
        const int mmW = std::max(1, static_cast<int>(num::roundHalfEven(s.width * 25.4 / dpiX)));
        const int mmH = std::max(1, static_cast<int>(num::roundHalfEven(s.height * 25.4 / dpiY)));
        ErrorTrap trap(dpy);
        XRRSetScreenSize(dpy, root, s.width, s.height, mmW, mmH);
        return !trap.failed();
    }

    bool setCrtc(XRRScreenResources* res, const XCrtcConfig& c) {
        ErrorTrap trap(dpy);
        std::vector<RROutput> outputs(c.outputs.begin(), c.outputs.end());
        const Status s = XRRSetCrtcConfig(
            dpy, res, c.crtc, CurrentTime, c.x, c.y, c.mode, static_cast<Rotation>(c.rotation),
            outputs.empty() ? nullptr : outputs.data(), static_cast<int>(outputs.size()));
        return !trap.failed() && s == RRSetConfigSuccess;
    }

    std::optional<XCrtcConfig> stateOf(XRRScreenResources* res, RRCrtc crtc) {
        CrtcInfo ci = crtcInfo(res, crtc);
        if (!ci) {
            return std::nullopt;
        }
        XCrtcConfig c;
        c.crtc = crtc;
        c.x = ci->x;
        c.y = ci->y;
        c.rotation = ci->rotation;
        c.mode = ci->mode;
        if (const XRRModeInfo* m = findMode(res, ci->mode)) {
            c.key = keyOf(*m);
        }
        c.outputs.assign(ci->outputs, ci->outputs + ci->noutput);
        return c;
    }

    // The part of the screen a CRTC covers once set to `mode`.
    static Size extentOf(const XCrtcConfig& c, const XRRModeInfo* mode) {
        if (c.mode == 0 || !mode) {
            return {};
        }
        const bool sideways = rotatedSideways(c.rotation);
        const int w = static_cast<int>(sideways ? mode->height : mode->width);
        const int h = static_cast<int>(sideways ? mode->width : mode->height);
        return {c.x + w, c.y + h};
    }
};

XRandRScreen::XRandRScreen(std::unique_ptr<Impl> impl, std::string name)
    : d_(std::move(impl)), name_(std::move(name)) {}

XRandRScreen::~XRandRScreen() = default;

std::unique_ptr<XRandRScreen> XRandRScreen::open(const std::string& displayName) {
    if (displayName.empty()) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->dpy = XOpenDisplay(displayName.c_str());
    if (!impl->dpy) {
        return nullptr;
    }
    if (!handlerInstalled) {
        previousHandler = XSetErrorHandler(onXError);
        handlerInstalled = true;
    }
    int eventBase, errorBase, major = 0, minor = 0;
    if (!XRRQueryExtension(impl->dpy, &eventBase, &errorBase) ||
        !XRRQueryVersion(impl->dpy, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
        return nullptr;
    }
    impl->screen = DefaultScreen(impl->dpy);
    impl->root = RootWindow(impl->dpy, impl->screen);
    impl->depth = DefaultDepth(impl->dpy, impl->screen);
    impl->bitsPerPixel = impl->depth;
    int count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(impl->dpy, &count)) {
        for (int i = 0; i < count; ++i) {
            if (formats[i].depth == impl->depth) {
                impl->bitsPerPixel = formats[i].bits_per_pixel;
            }
        }
        XFree(formats);
    }
    const int mmW = DisplayWidthMM(impl->dpy, impl->screen);
    const int mmH = DisplayHeightMM(impl->dpy, impl->screen);
    if (mmW > 0 && mmH > 0) {
        impl->dpiX = DisplayWidth(impl->dpy, impl->screen) * 25.4 / mmW;
        impl->dpiY = DisplayHeight(impl->dpy, impl->screen) * 25.4 / mmH;
    }
    std::string name = displayWithoutScreen(DisplayString(impl->dpy));
    return std::unique_ptr<XRandRScreen>(new XRandRScreen(std::move(impl), std::move(name)));
}

std::vector<DisplayMode> XRandRScreen::modes() {
    std::vector<DisplayMode> list;
    Resources res = d_->resources();
    OutputInfo out;
    if (res && d_->primaryOutput(res.get(), out)) {
        for (int i = 0; i < out->nmode; ++i) {
            if (const XRRModeInfo* m = findMode(res.get(), out->modes[i])) {
                list.push_back({static_cast<int>(m->width), static_cast<int>(m->height),
                                d_->bitsPerPixel, refreshOf(*m)});
            }
        }
    }
    if (list.empty()) {
        if (auto now = current()) {
            list.push_back(*now);
        }
    }
    const auto order = [](const DisplayMode& a, const DisplayMode& b) {
        return std::tie(a.bitsPerPixel, a.width, a.height, a.refreshRate) <
               std::tie(b.bitsPerPixel, b.width, b.height, b.refreshRate);
    };
    std::sort(list.begin(), list.end(), order);
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

std::optional<DisplayMode> XRandRScreen::current() {
    Resources res = d_->resources();
    OutputInfo out;
    if (res && d_->primaryOutput(res.get(), out)) {
        if (CrtcInfo ci = d_->crtcInfo(res.get(), out->crtc)) {
            if (const XRRModeInfo* m = findMode(res.get(), ci->mode)) {
                return DisplayMode{static_cast<int>(m->width), static_cast<int>(m->height),
                                   d_->bitsPerPixel, refreshOf(*m)};
            }
        }
    }
    // A server without a lit output still has a screen.
    const Size s = d_->rootSize();
    if (s.width <= 0 || s.height <= 0) {
        return std::nullopt;
    }
    return DisplayMode{s.width, s.height, d_->bitsPerPixel, 0};
}

std::optional<XScreenConfig> XRandRScreen::capture() {
    Resources res = d_->resources();
    if (!res) {
        return std::nullopt;
    }
    XScreenConfig config;
    const Size s = d_->rootSize();
    config.width = s.width;
    config.height = s.height;
    for (int i = 0; i < res->ncrtc; ++i) {
        auto c = d_->stateOf(res.get(), res->crtcs[i]);
        if (!c) {
            return std::nullopt;
        }
        config.crtcs.push_back(std::move(*c));
    }
    return config;
}

XRandRScreen::SetResult XRandRScreen::setMode(const DisplayMode& wanted,
                                              const std::function<void()>& beforeChange,
                                              XCrtcConfig& applied) {
    if (!acceptsDepth(wanted.bitsPerPixel, d_->bitsPerPixel, d_->depth) || wanted.width <= 0 ||
        wanted.height <= 0 || wanted.refreshRate < 0) {
        return SetResult::Unsupported;
    }
    Resources res = d_->resources();
    OutputInfo out;
    if (!res || !d_->primaryOutput(res.get(), out)) {
        return SetResult::Unsupported;
    }
    auto target = d_->stateOf(res.get(), out->crtc);
    if (!target) {
        return SetResult::Failed;
    }

    // The mode of that size: at the asked rate; for rate 0 the preferred mode when it has the
    // size, else the one nearest 60 Hz, which every monitor shows.
    const XRRModeInfo* chosen = nullptr;
    for (int i = 0; i < out->nmode; ++i) {
        const XRRModeInfo* m = findMode(res.get(), out->modes[i]);
        if (!m || static_cast<int>(m->width) != wanted.width ||
            static_cast<int>(m->height) != wanted.height) {
            continue;
        }
        const int rate = refreshOf(*m);
        if (wanted.refreshRate != 0) {
            if (rate == wanted.refreshRate) {
                chosen = m;
                break;
            }
        } else if (i < out->npreferred) {
            chosen = m;
            break;
        } else if (!chosen || std::abs(rate - 60) < std::abs(refreshOf(*chosen) - 60)) {
            chosen = m;
        }
    }
    if (!chosen) {
        return SetResult::Unsupported;
    }
    if (chosen->id == target->mode) {
        return SetResult::Unchanged;
    }

    XCrtcConfig next = *target;
    next.mode = chosen->id;
    next.key = keyOf(*chosen);

    // The screen must hold every lit CRTC at every step: grow it first, shrink it last.
    Size box;
    for (int i = 0; i < res->ncrtc; ++i) {
        if (res->crtcs[i] == next.crtc) {
            box = largest(box, Impl::extentOf(next, chosen));
        } else if (auto other = d_->stateOf(res.get(), res->crtcs[i])) {
            box = largest(box, Impl::extentOf(*other, findMode(res.get(), other->mode)));
        }
    }
    int minW, minH, maxW, maxH;
    if (!XRRGetScreenSizeRange(d_->dpy, d_->root, &minW, &minH, &maxW, &maxH) || box.width > maxW ||
        box.height > maxH) {
        return SetResult::Unsupported;
    }
    box = largest(box, {minW, minH});
    const Size now = d_->rootSize();
    const Size interim = largest(now, box);

    beforeChange();
    XGrabServer(d_->dpy);
    bool ok = interim == now || d_->setScreenSize(interim);
    ok = ok && d_->setCrtc(res.get(), next);
    ok = ok && (box == interim || d_->setScreenSize(box));
    XUngrabServer(d_->dpy);
    XSync(d_->dpy, False);
    if (!ok) {
        return SetResult::Failed;
    }
    applied = next;
    return SetResult::Switched;
}

bool XRandRScreen::apply(const XScreenConfig& config) {
    Resources res = d_->resources();
    if (!res) {
        return false;
    }
    std::vector<const XCrtcConfig*> changed;
    for (const XCrtcConfig& want : config.crtcs) {
        auto now = d_->stateOf(res.get(), want.crtc);
        if (!now || now->mode != want.mode || now->x != want.x || now->y != want.y ||
            now->rotation != want.rotation || now->outputs != want.outputs) {
            changed.push_back(&want);
        }
    }
    const Size target{config.width, config.height};
    const Size now = d_->rootSize();
    if (changed.empty() && now == target) {
        return true;
    }
    const Size interim = largest(now, target);

    XGrabServer(d_->dpy);
    bool ok = interim == now || d_->setScreenSize(interim);
    // As much as the server takes; a CRTC it refuses stays lit as it is.
    for (const XCrtcConfig* c : changed) {
        ok = d_->setCrtc(res.get(), *c) && ok;
    }
    ok = ok && (interim == target || d_->setScreenSize(target));
    XUngrabServer(d_->dpy);
    XSync(d_->dpy, False);
    return ok;
}

bool XRandRScreen::knows(const XScreenConfig& config) {
    Resources res = d_->resources();
    if (!res) {
        return false;
    }
    for (const XCrtcConfig& c : config.crtcs) {
        if (!contains(res->crtcs, res->ncrtc, c.crtc)) {
            return false;
        }
        if (c.mode != 0) {
            const XRRModeInfo* m = findMode(res.get(), c.mode);
            if (!m || !(keyOf(*m) == c.key)) {
                return false;
            }
        }
        for (unsigned long o : c.outputs) {
            if (!contains(res->outputs, res->noutput, o)) {
                return false;
            }
        }
    }
    return true;
}

std::optional<XCrtcConfig> XRandRScreen::crtcState(unsigned long crtc) {
    Resources res = d_->resources();
    if (!res || !contains(res->crtcs, res->ncrtc, crtc)) {
        return std::nullopt;
    }
    return d_->stateOf(res.get(), crtc);
}

bool acceptsDepth(int wanted, int bitsPerPixel, int depth) {
    return wanted == bitsPerPixel || (wanted == depth && depth == 24 && bitsPerPixel == 32);
}

std::string displayWithoutScreen(const std::string& name) {
    const auto colon = name.rfind(':');
    if (colon == std::string::npos) {
        return name;
    }
    const auto dot = name.find('.', colon);
    return dot == std::string::npos ? name : name.substr(0, dot);
}

namespace {

void writeCrtc(std::ostream& out, const XCrtcConfig& c) {
    out << c.crtc << ' ' << c.x << ' ' << c.y << ' ' << c.rotation << ' ' << c.mode << ' '
        << c.key.width << ' ' << c.key.height << ' ' << c.key.dotClock << ' ' << c.key.hTotal << ' '
        << c.key.vTotal << ' ' << c.outputs.size();
    for (unsigned long o : c.outputs) {
        out << ' ' << o;
    }
}

bool readCrtc(std::istream& in, XCrtcConfig& c) {
    std::size_t n = 0;
    if (!(in >> c.crtc >> c.x >> c.y >> c.rotation >> c.mode >> c.key.width >> c.key.height >>
          c.key.dotClock >> c.key.hTotal >> c.key.vTotal >> n) ||
        n > 64) {
        return false;
    }
    c.outputs.resize(n);
    for (auto& o : c.outputs) {
        if (!(in >> o)) {
            return false;
        }
    }
    return true;
}

bool atEnd(std::istream& in) {
    in >> std::ws;
    return in.eof();
}

} // namespace

std::string serialize(const XScreenConfig& config) {
    std::ostringstream out;
    out << config.width << ' ' << config.height << ' ' << config.crtcs.size();
    for (const XCrtcConfig& c : config.crtcs) {
        out << ' ';
        writeCrtc(out, c);
    }
    return out.str();
}

std::string serialize(const XCrtcConfig& crtc) {
    std::ostringstream out;
    writeCrtc(out, crtc);
    return out.str();
}

std::optional<XScreenConfig> parseScreenConfig(const std::string& text) {
    std::istringstream in(text);
    XScreenConfig config;
    std::size_t n = 0;
    if (!(in >> config.width >> config.height >> n) || config.width <= 0 || config.height <= 0 ||
        n > 64) {
        return std::nullopt;
    }
    config.crtcs.resize(n);
    for (auto& c : config.crtcs) {
        if (!readCrtc(in, c)) {
            return std::nullopt;
        }
    }
    if (!atEnd(in)) {
        return std::nullopt;
    }
    return config;
}

std::optional<XCrtcConfig> parseCrtcConfig(const std::string& text) {
    std::istringstream in(text);
    XCrtcConfig c;
    if (!readCrtc(in, c) || !atEnd(in)) {
        return std::nullopt;
    }
    return c;
}

} // namespace display
