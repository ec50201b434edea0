#pragma once

#include <QColor>
#include <QRgb>
#include <cstdint>

// The game's colours are 0x00BBGGRR (red in the low byte). These are the only crossings
// to Qt's 0xAARRGGBB; never hand a game colour to QColor(QRgb) directly.
namespace color {

constexpr std::int32_t rgb(int r, int g, int b) {
    return (r & 255) | ((g & 255) << 8) | ((b & 255) << 16);
}
constexpr int red(std::int32_t c) {
    return c & 255;
}
constexpr int green(std::int32_t c) {
    return (c >> 8) & 255;
}
constexpr int blue(std::int32_t c) {
    return (c >> 16) & 255;
}

constexpr QRgb toQRgb(std::int32_t c) {
    return qRgb(red(c), green(c), blue(c));
}
inline QColor toQColor(std::int32_t c) {
    return QColor(red(c), green(c), blue(c));
}
constexpr std::int32_t fromQRgb(QRgb q) {
    return rgb(qRed(q), qGreen(q), qBlue(q));
}

} // namespace color
