#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Joysticks and gamepads through SDL's joystick subsystem (no SDL video), in the shape the
// game's joystick control reads them: one device opened from a list of attached devices,
// a state snapshot on demand with DirectInput's axis properties (range, dead zone,
// saturation), and a lost-device answer that tells the caller to try again later.
namespace joy {

enum class Kind { Joystick, Gamepad };

// The device state in DirectInput's DIJOYSTATE layout.
struct State {
    std::int32_t X = 0, Y = 0, Z = 0, rX = 0, rY = 0, rZ = 0;
    std::array<std::int32_t, 2> slider{};
    // Hundredths of a degree clockwise from north; -1 when centred.
    std::array<std::int32_t, 4> pov{-1, -1, -1, -1};
    std::array<std::uint8_t, 32> buttons{};
    bool operator==(const State&) const = default;
};

enum Axis { AxisX = 0, AxisY, AxisZ, AxisRX, AxisRY, AxisRZ, AxisSlider0, AxisSlider1, AxisCount };

enum class ReadResult { Ok, Lost };

// Starts SDL's joystick and game-controller subsystems once; false when they cannot run.
bool subsystemReady();
// Attached devices of one kind, counted afresh (a device plugged in since is seen).
int attachedCount(Kind kind);

// Whether the program is the active one: pad input counts only then.
bool programActive();
// Tests run without a focused window; nullopt goes back to asking Qt.
void setProgramActiveForTesting(std::optional<bool> active);

class Device {
public:
    // The first attached device of kind, or nullptr when there is none.
    static std::unique_ptr<Device> openFirst(Kind kind);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    Kind kind() const { return kind_; }
    std::string name() const;

    // Values in ten-thousandths of the axis' half range (DirectInput's units). The dead zone
    // and saturation apply to one axis; the range to every axis.
    void setDeadZone(Axis axis, int value);
    void setSaturation(Axis axis, int value);
    void setRange(std::int32_t minimum, std::int32_t maximum);

    // Takes in new data and fills state. Lost when the device has gone; it is sought again
    // (by its identity) on later reads.
    ReadResult read(State& state);

private:
    Device(Kind kind, int deviceIndex);
    bool reopen();
    void close();
    std::int32_t cook(int axis, int raw) const;

    struct Handles;
    std::unique_ptr<Handles> h_;
    Kind kind_;
    std::array<int, AxisCount> deadZone_{};
    std::array<int, AxisCount> saturation_{};
    std::int32_t min_ = 0;
    std::int32_t max_ = 65535;
};

// A virtual device for tests and trials without hardware.
class VirtualDevice {
public:
    // A Joystick has axes and buttons as given; a Gamepad is a standard game controller.
    VirtualDevice(Kind kind, int axes = 8, int buttons = 32, int hats = 1);
    ~VirtualDevice();
    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;

    bool attached() const;
    // Raw SDL values: axes -32768 to 32767.
    void setAxis(int axis, int value);
    void setButton(int button, bool down);
    // SDL hat bits: 1 up, 2 right, 4 down, 8 left.
    void setHat(int hat, int bits);

private:
    struct Handles;
    std::unique_ptr<Handles> h_;
};

} // namespace joy
