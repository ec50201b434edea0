#include "Image.h"

#include <algorithm>
#include <cmath>

Argb makeArgb(int r, int g, int b, int a) {
    auto clamp = [](int v) { return static_cast<Argb>(std::clamp(v, 0, 255)); };
    return clamp(a) << 24 | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

Argb mix(Argb a, Argb b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return makeArgb(lerp(redOf(a), redOf(b)), lerp(greenOf(a), greenOf(b)),
                    lerp(blueOf(a), blueOf(b)), lerp(alphaOf(a), alphaOf(b)));
}

Image::Image(int w, int h, Argb fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

void Image::blend(int x, int y, Argb c) {
    if (!inside(x, y) || alphaOf(c) == 0)
        return;
    Argb old = at(x, y);
    // Over a transparent pixel a partly covering colour still makes the pixel opaque.
    if (alphaOf(c) == 255 || alphaOf(old) == 0)
        set(x, y, opaque(c));
    else
        set(x, y, opaque(mix(old, c, alphaOf(c) / 255.0)));
}

void Image::fillRect(int x, int y, int w, int h, Argb c) {
    for (int yy = std::max(0, y); yy < std::min(height, y + h); ++yy)
        for (int xx = std::max(0, x); xx < std::min(width, x + w); ++xx)
            blend(xx, yy, c);
}

void Image::draw(const Image& src, int x, int y) {
    for (int yy = 0; yy < src.height; ++yy)
        for (int xx = 0; xx < src.width; ++xx)
            blend(x + xx, y + yy, src.at(xx, yy));
}

Image scaled(const Image& src, int factor) {
    if (factor <= 1)
        return src;
    Image out(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.set(x, y, src.at(x / factor, y / factor));
    return out;
}
