#pragma once

#include <cstdint>

// DirectInput key codes (the PC keyboard's set-1 scan codes, extended keys with bit 7 set)
// from the physical key, so every keyboard layout plays the same.
namespace keys {

inline constexpr int Escape = 1;
inline constexpr int P = 25;
inline constexpr int LeftAlt = 56;
inline constexpr int Space = 57;
inline constexpr int F1 = 59;
inline constexpr int F4 = 62;
inline constexpr int F5 = 63;
inline constexpr int F12 = 88;
// What Print Screen sends while Alt is held.
inline constexpr int AltPrintScreen = 84;
inline constexpr int RightAlt = 184;
inline constexpr int PrintScreen = 183;
inline constexpr int Pause = 197;
inline constexpr int Up = 200;
inline constexpr int Left = 203;
inline constexpr int Right = 205;
inline constexpr int Down = 208;

// The code of a Linux input event code (linux/input-event-codes.h); 0 when the key has
// none.
int dikFromLinuxInput(int code);
// From an X11 / XKB keycode, which is the Linux input code plus 8; 0 when unknown.
int dikFromX11Keycode(std::uint32_t keycode);
// Last resort for key events that carry no keycode: the key's position on a US layout,
// by Qt::Key value; 0 when unknown.
int dikFromQtKey(int qtKey);

} // namespace keys

// Windows virtual-key codes, as the dialogs' key handlers get them.
namespace vk {

inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18; // Alt
inline constexpr int Escape = 27;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Delete = 46;

} // namespace vk
