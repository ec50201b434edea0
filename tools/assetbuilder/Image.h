#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// 0xAARRGGBB; alpha 0 is a transparent pixel, anything else counts as opaque when a
// picture becomes a sprite frame.
using Argb = uint32_t;

constexpr Argb kTransparent = 0x00000000;
constexpr Argb opaque(Argb rgb) {
    return 0xFF000000u | (rgb & 0xFFFFFFu);
}
constexpr int redOf(Argb c) {
    return (c >> 16) & 0xFF;
}
constexpr int greenOf(Argb c) {
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(Argb c) {
    return c & 0xFF;
}
constexpr int alphaOf(Argb c) {
    return (c >> 24) & 0xFF;
}
Argb makeArgb(int r, int g, int b, int a = 255);
// Straight mix of two colours, t = 0 gives a, 1 gives b.
Argb mix(Argb a, Argb b, double t);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Argb> pixels;

    Image() = default;
    Image(int w, int h, Argb fill = kTransparent);

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Argb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void set(int x, int y, Argb c) {
        if (inside(x, y))
            pixels[static_cast<size_t>(y) * width + x] = c;
    }
    // Paints c over the pixel with c's alpha as coverage.
    void blend(int x, int y, Argb c);
    void fillRect(int x, int y, int w, int h, Argb c);
    // Copies the opaque pixels of src with its top-left at (x, y).
    void draw(const Image& src, int x, int y);
};

Image scaled(const Image& src, int factor);
