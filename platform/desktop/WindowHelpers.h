#pragma once

#include <cstdint>

class QWidget;

// Window-manager calls on top-level widgets.
namespace win {

// The frame style bits the programs switch.
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_CAPTION = WS_BORDER | WS_DLGFRAME;

// This program's active window while the program is the active one, else nullptr.
QWidget* foregroundWindow();
// This program's active window (also when another program has the focus).
QWidget* activeWindow();
// Raises and activates w; false without a window.
bool bringToFront(QWidget* w);
// Keeps w above other windows (or not), staying shown with its geometry.
void setTopMost(QWidget* w, bool onTop);
bool isTopMost(const QWidget* w);

// The frame style of w as these bits: a window starts with a caption, sizing border,
// system menu and both boxes unless its flags say otherwise.
std::uint32_t styleBits(const QWidget* w);
// Sets or clears bits and rebuilds the frame: no caption (WS_CAPTION incomplete) makes the
// window frameless; WS_SYSMENU, WS_MINIMIZEBOX and WS_MAXIMIZEBOX switch the title-bar
// buttons; WS_THICKFRAME is kept in the bits (the window manager's frame is either there
// or not). The window stays shown with its geometry.
void setStyleBits(QWidget* w, std::uint32_t bits, bool setIt);

} // namespace win
