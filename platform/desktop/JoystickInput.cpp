#include "JoystickInput.h"

#include "Numbers.h"

#include <QGuiApplication>
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace joy {
namespace {

std::optional<bool> activeOverride;

bool isKind(int index, Kind kind) {
    const bool pad = SDL_IsGameController(index) == SDL_TRUE;
    return kind == Kind::Gamepad ? pad : !pad;
}

// Triggers rest at 0 and run to 32767; spread them over the full axis.
int triggerToAxis(int t) {
    return std::clamp(t * 2 - 32767, -32768, 32767);
}

} // namespace

bool subsystemReady() {
    static const bool ready = [] {
        // SDL must not take over SIGINT/SIGTERM: the programs restore the display mode there.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // Without SDL video there is no SDL window to have the focus; we judge that ourselves.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) {
            return false;
        }
        // Nobody drains SDL's event queue; states are read directly.
        SDL_JoystickEventState(SDL_IGNORE);
        SDL_GameControllerEventState(SDL_IGNORE);
        return true;
    }();
    return ready;
}

int attachedCount(Kind kind) {
    if (!subsystemReady()) {
        return 0;
    }
    SDL_JoystickUpdate();
    int n = 0;
    const int total = SDL_NumJoysticks();
    for (int i = 0; i < total; ++i) {
        if (isKind(i, kind)) {
            ++n;
        }
    }
    return n;
}

bool programActive() {
    if (activeOverride) {
        return *activeOverride;
    }
    return QGuiApplication::instance() != nullptr &&
           QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void setProgramActiveForTesting(std::optional<bool> active) {
    activeOverride = active;
}

struct Device::Handles {
    SDL_Joystick* joystick = nullptr;
    SDL_GameController* controller = nullptr;
    SDL_JoystickGUID guid{};
};

std::unique_ptr<Device> Device::openFirst(Kind kind) {
    if (!subsystemReady()) {
        return nullptr;
    }
    SDL_JoystickUpdate();
    const int total = SDL_NumJoysticks();
    for (int i = 0; i < total; ++i) {
        if (!isKind(i, kind)) {
            continue;
        }
        std::unique_ptr<Device> d(new Device(kind, i));
        if (d->h_->joystick != nullptr) {
            return d;
        }
    }
    return nullptr;
}

Device::Device(Kind kind, int deviceIndex) : h_(std::make_unique<Handles>()), kind_(kind) {
    h_->guid = SDL_JoystickGetDeviceGUID(deviceIndex);
    if (kind == Kind::Gamepad) {
        h_->controller = SDL_GameControllerOpen(deviceIndex);
        h_->joystick = h_->controller ? SDL_GameControllerGetJoystick(h_->controller) : nullptr;
    } else {
        h_->joystick = SDL_JoystickOpen(deviceIndex);
    }
}

Device::~Device() {
    close();
}

void Device::close() {
    if (h_->controller != nullptr) {
        SDL_GameControllerClose(h_->controller);
    } else if (h_->joystick != nullptr) {
        SDL_JoystickClose(h_->joystick);
    }
    h_->controller = nullptr;
    h_->joystick = nullptr;
}

bool Device::reopen() {
    close();
    const int total = SDL_NumJoysticks();
    for (int i = 0; i < total; ++i) {
        const SDL_JoystickGUID g = SDL_JoystickGetDeviceGUID(i);
        if (isKind(i, kind_) && std::memcmp(&g, &h_->guid, sizeof g) == 0) {
            if (kind_ == Kind::Gamepad) {
                h_->controller = SDL_GameControllerOpen(i);
                h_->joystick =
                    h_->controller ? SDL_GameControllerGetJoystick(h_->controller) : nullptr;
            } else {
                h_->joystick = SDL_JoystickOpen(i);
            }
            return h_->joystick != nullptr;
        }
    }
    return false;
}

std::string Device::name() const {
    const char* n = h_->joystick ? SDL_JoystickName(h_->joystick) : nullptr;
    return n ? n : "";
}

void Device::setDeadZone(Axis axis, int value) {
    deadZone_[static_cast<std::size_t>(axis)] = std::clamp(value, 0, 10000);
}

void Device::setSaturation(Axis axis, int value) {
    saturation_[static_cast<std::size_t>(axis)] = std::clamp(value, 0, 10000);
}

void Device::setRange(std::int32_t minimum, std::int32_t maximum) {
    min_ = minimum;
    max_ = maximum;
}

std::int32_t Device::cook(int axis, int raw) const {
    // -1 to 1 across SDL's range.
    double v = (static_cast<double>(raw) + 32768.0) / 65535.0 * 2.0 - 1.0;
    const double dz = deadZone_[static_cast<std::size_t>(axis)] / 10000.0;
    const int satValue = saturation_[static_cast<std::size_t>(axis)];
    const double sat = satValue == 0 ? 1.0 : satValue / 10000.0;
    const double a = std::fabs(v);
    if (a <= dz) {
        v = 0;
    } else if (a >= sat || sat <= dz) {
        v = v < 0 ? -1.0 : 1.0;
    } else {
        v = (v < 0 ? -1.0 : 1.0) * (a - dz) / (sat - dz);
    }
    const double span = static_cast<double>(max_) - static_cast<double>(min_);
    return static_cast<std::int32_t>(num::roundHalfEven(min_ + (v + 1.0) / 2.0 * span));
}

ReadResult Device::read(State& state) {
    SDL_JoystickUpdate();
    const bool attached = h_->joystick != nullptr && SDL_JoystickGetAttached(h_->joystick);
    if (!attached) {
        // Like input lost: try to get the device back, report nothing this time.
        reopen();
        return ReadResult::Lost;
    }
    State s;
    std::array<int, AxisCount> raw{};
    bool hasAxis[AxisCount] = {};
    int hat = SDL_HAT_CENTERED;
    if (kind_ == Kind::Gamepad) {
        SDL_GameController* c = h_->controller;
        raw[AxisX] = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
        raw[AxisY] = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
        raw[AxisZ] = triggerToAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
        raw[AxisRX] = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTX);
        raw[AxisRY] = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTY);
        raw[AxisRZ] = triggerToAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
        for (int a = AxisX; a <= AxisRZ; ++a) {
            hasAxis[a] = true;
        }
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX && b < 32; ++b) {
            s.buttons[static_cast<std::size_t>(b)] =
                SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b)) ? 0x80 : 0;
        }
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) {
            hat |= SDL_HAT_UP;
        }
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) {
            hat |= SDL_HAT_DOWN;
        }
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) {
            hat |= SDL_HAT_LEFT;
        }
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) {
            hat |= SDL_HAT_RIGHT;
        }
    } else {
        SDL_Joystick* j = h_->joystick;
        const int axes = std::min(SDL_JoystickNumAxes(j), static_cast<int>(AxisCount));
        for (int a = 0; a < axes; ++a) {
            raw[static_cast<std::size_t>(a)] = SDL_JoystickGetAxis(j, a);
            hasAxis[a] = true;
        }
        const int buttons = std::min(SDL_JoystickNumButtons(j), 32);
        for (int b = 0; b < buttons; ++b) {
            s.buttons[static_cast<std::size_t>(b)] = SDL_JoystickGetButton(j, b) ? 0x80 : 0;
        }
        if (SDL_JoystickNumHats(j) > 0) {
            hat = SDL_JoystickGetHat(j, 0);
        }
    }
    std::array<std::int32_t, AxisCount> cooked{};
    for (int a = 0; a < AxisCount; ++a) {
        // Axes the device lacks read 0, as in DirectInput's state record.
        cooked[static_cast<std::size_t>(a)] =
            hasAxis[a] ? cook(a, raw[static_cast<std::size_t>(a)]) : 0;
    }
    s.X = cooked[AxisX];
    s.Y = cooked[AxisY];
    s.Z = cooked[AxisZ];
    s.rX = cooked[AxisRX];
    s.rY = cooked[AxisRY];
    s.rZ = cooked[AxisRZ];
    s.slider = {cooked[AxisSlider0], cooked[AxisSlider1]};
    // The hat or d-pad steers like the stick: a player expects both to move the ship.
    static constexpr std::pair<int, std::int32_t> povOf[] = {
        {SDL_HAT_UP, 0},       {SDL_HAT_RIGHTUP, 4500},
        {SDL_HAT_RIGHT, 9000}, {SDL_HAT_RIGHTDOWN, 13500},
        {SDL_HAT_DOWN, 18000}, {SDL_HAT_LEFTDOWN, 22500},
        {SDL_HAT_LEFT, 27000}, {SDL_HAT_LEFTUP, 31500}};
    for (const auto& [bits, angle] : povOf) {
        if (hat == bits) {
            s.pov[0] = angle;
        }
    }
    if (hat & SDL_HAT_LEFT) {
        s.X = min_;
    } else if (hat & SDL_HAT_RIGHT) {
        s.X = max_;
    }
    if (hat & SDL_HAT_UP) {
        s.Y = min_;
    } else if (hat & SDL_HAT_DOWN) {
        s.Y = max_;
    }
    state = s;
    return ReadResult::Ok;
}

struct VirtualDevice::Handles {
    SDL_Joystick* joystick = nullptr;
};

VirtualDevice::VirtualDevice(Kind kind, int axes, int buttons, int hats)
    : h_(std::make_unique<Handles>()) {
    if (!subsystemReady()) {
        return;
    }
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    if (kind == Kind::Gamepad) {
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.nhats = 0;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "Vantorix virtual gamepad";
    } else {
        desc.type = SDL_JOYSTICK_TYPE_FLIGHT_STICK;
        desc.naxes = static_cast<Uint16>(axes);
        desc.nbuttons = static_cast<Uint16>(buttons);
        desc.nhats = static_cast<Uint16>(hats);
        desc.name = "Vantorix virtual joystick";
    }
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) {
        return;
    }
    h_->joystick = SDL_JoystickOpen(index);
    if (kind == Kind::Joystick) {
        // Rest in the middle, as a real stick does.
        for (int a = 0; a < axes; ++a) {
            SDL_JoystickSetVirtualAxis(h_->joystick, a, 0);
        }
    }
}

VirtualDevice::~VirtualDevice() {
    if (h_->joystick == nullptr) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(h_->joystick);
    SDL_JoystickClose(h_->joystick);
    const int total = SDL_NumJoysticks();
    for (int i = 0; i < total; ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
}

bool VirtualDevice::attached() const {
    return h_->joystick != nullptr;
}

void VirtualDevice::setAxis(int axis, int value) {
    if (h_->joystick) {
        SDL_JoystickSetVirtualAxis(h_->joystick, axis,
                                   static_cast<Sint16>(std::clamp(value, -32768, 32767)));
    }
}

void VirtualDevice::setButton(int button, bool down) {
    if (h_->joystick) {
        SDL_JoystickSetVirtualButton(h_->joystick, button, down ? 1 : 0);
    }
}

void VirtualDevice::setHat(int hat, int bits) {
    if (h_->joystick) {
        SDL_JoystickSetVirtualHat(h_->joystick, hat, static_cast<Uint8>(bits));
    }
}

} // namespace joy
