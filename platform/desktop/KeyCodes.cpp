#include "KeyCodes.h"

#include <Qt>
#include <array>
#include <utility>

namespace keys {
namespace {

// Linux codes 1 to 88 are the set-1 scan codes themselves; the rest need the table.
constexpr std::pair<int, int> linuxToDik[] = {
    {85, 0x94},  // Zenkaku/Hankaku -> Kanji
    {89, 0x73},  // Ro
    {90, 0x70},  // Katakana -> Kana
    {91, 0x70},  // Hiragana -> Kana
    {92, 0x79},  // Henkan -> Convert
    {93, 0x70},  // Katakana/Hiragana -> Kana
    {94, 0x7B},  // Muhenkan -> No convert
    {95, 0xB3},  // keypad JP comma
    {96, 0x9C},  // keypad Enter
    {97, 0x9D},  // right Ctrl
    {98, 0xB5},  // keypad /
    {99, 0xB7},  // Print Screen / SysRq
    {100, 0xB8}, // right Alt
    {102, 0xC7}, // Home
    {103, 0xC8}, // Up
    {104, 0xC9}, // Page Up
    {105, 0xCB}, // Left
    {106, 0xCD}, // Right
    {107, 0xCF}, // End
    {108, 0xD0}, // Down
    {109, 0xD1}, // Page Down
    {110, 0xD2}, // Insert
    {111, 0xD3}, // Delete
    {113, 0xA0}, // Mute
    {114, 0xAE}, // Volume down
    {115, 0xB0}, // Volume up
    {116, 0xDE}, // Power
    {117, 0x8D}, // keypad =
    {119, 0xC5}, // Pause
    {121, 0xB3}, // keypad comma
    {124, 0x7D}, // Yen
    {125, 0xDB}, // left Windows
    {126, 0xDC}, // right Windows
    {127, 0xDD}, // Menu
    {128, 0xE8}, // Stop (web)
    {140, 0xA1}, // Calculator
    {142, 0xDF}, // Sleep
    {143, 0xE3}, // Wake
    {155, 0xEC}, // Mail
    {156, 0xE6}, // Favourites
    {157, 0xEB}, // My computer
    {158, 0xEA}, // Back
    {159, 0xE9}, // Forward
    {163, 0x99}, // Next track
    {164, 0xA2}, // Play/Pause
    {165, 0x90}, // Previous track
    {166, 0xA4}, // Stop (media)
    {172, 0xB2}, // Home page
    {173, 0xE7}, // Refresh
    {183, 0x64}, // F13
    {184, 0x65}, // F14
    {185, 0x66}, // F15
    {217, 0xE5}, // Search
    {226, 0xED}, // Media select
};

constexpr std::pair<int, int> qtToDik[] = {
    {Qt::Key_Escape, 1},        {Qt::Key_Minus, 12},      {Qt::Key_Equal, 13},
    {Qt::Key_Backspace, 14},    {Qt::Key_Tab, 15},        {Qt::Key_BracketLeft, 26},
    {Qt::Key_BracketRight, 27}, {Qt::Key_Return, 28},     {Qt::Key_Control, 29},
    {Qt::Key_Semicolon, 39},    {Qt::Key_Apostrophe, 40}, {Qt::Key_QuoteLeft, 41},
    {Qt::Key_Shift, 42},        {Qt::Key_Backslash, 43},  {Qt::Key_Comma, 51},
    {Qt::Key_Period, 52},       {Qt::Key_Slash, 53},      {Qt::Key_Asterisk, 55},
    {Qt::Key_Alt, 56},          {Qt::Key_Space, 57},      {Qt::Key_CapsLock, 58},
    {Qt::Key_NumLock, 69},      {Qt::Key_ScrollLock, 70}, {Qt::Key_F11, 87},
    {Qt::Key_F12, 88},          {Qt::Key_Enter, 0x9C},    {Qt::Key_Print, 0xB7},
    {Qt::Key_SysReq, 0xB7},     {Qt::Key_AltGr, 0xB8},    {Qt::Key_Pause, 0xC5},
    {Qt::Key_Home, 0xC7},       {Qt::Key_Up, 0xC8},       {Qt::Key_PageUp, 0xC9},
    {Qt::Key_Left, 0xCB},       {Qt::Key_Right, 0xCD},    {Qt::Key_End, 0xCF},
    {Qt::Key_Down, 0xD0},       {Qt::Key_PageDown, 0xD1}, {Qt::Key_Insert, 0xD2},
    {Qt::Key_Delete, 0xD3},     {Qt::Key_Meta, 0xDB},     {Qt::Key_Menu, 0xDD},
};

// Letters by their place on a US layout.
constexpr const char* qwertyRows = "QWERTYUIOP\0ASDFGHJKL\0ZXCVBNM";

} // namespace

int dikFromLinuxInput(int code) {
    if (code >= 1 && code <= 88 && code != 84 && code != 85) {
        return code;
    }
    for (const auto& [input, dik] : linuxToDik) {
        if (input == code) {
            return dik;
        }
    }
    return 0;
}

int dikFromX11Keycode(std::uint32_t keycode) {
    if (keycode < 8 || keycode > 8 + 255) {
        return 0;
    }
    return dikFromLinuxInput(static_cast<int>(keycode) - 8);
}

int dikFromQtKey(int qtKey) {
    if (qtKey >= Qt::Key_1 && qtKey <= Qt::Key_9) {
        return 2 + (qtKey - Qt::Key_1);
    }
    if (qtKey == Qt::Key_0) {
        return 11;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F10) {
        return 59 + (qtKey - Qt::Key_F1);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        // Rows start at Q (16), A (30) and Z (44).
        static constexpr std::array<int, 3> rowStart = {16, 30, 44};
        int row = 0;
        int col = 0;
        for (int i = 0; i < 29; ++i) {
            if (qwertyRows[i] == '\0') {
                ++row;
                col = 0;
                continue;
            }
            if (qwertyRows[i] == static_cast<char>('A' + (qtKey - Qt::Key_A))) {
                return rowStart[static_cast<std::size_t>(row)] + col;
            }
            ++col;
        }
        return 0;
    }
    for (const auto& [key, dik] : qtToDik) {
        if (key == qtKey) {
            return dik;
        }
    }
    return 0;
}

} // namespace keys
