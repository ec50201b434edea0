#pragma once

#include "Image.h"
#include "SourceText.h"

#include <map>
#include <string>
#include <vector>

// A bitmap font read from a readable source: one glyph per line, the character (or
// "space"), then its rows of "X" (ink) and "." (paper), all rows of a glyph equally wide.
class PixelFont {
public:
    static PixelFont load(const std::string& path);

    int height() const { return height_; }
    int textWidth(const std::string& text) const;
    // Ink pixels of text, one bool per pixel, 1 pixel between glyphs.
    std::vector<std::vector<bool>> render(const std::string& text) const;

private:
    struct Glyph {
        int width = 0;
        std::vector<std::string> rows;
    };
    const Glyph& glyph(char c) const;
    int height_ = 0;
    std::map<char, Glyph> glyphs_;
};

struct TextStyle {
    int scale = 1;
    Argb top = opaque(0xFFFFFF);    // fill colour at the top of the letters
    Argb bottom = opaque(0xFFFFFF); // and at their bottom (a vertical gradient)
    Argb outline = kTransparent;    // a one-pixel ring around the letters when opaque
    Argb shadow = kTransparent;     // a drop shadow one pixel down and right when opaque
};

// The text as a picture on transparent ground, with room for outline and shadow.
Image renderText(const PixelFont& font, const std::string& text, const TextStyle& style);
// Fonts by name ("small", "big"), loaded once from assets/gfx/fonts.
const PixelFont& fontNamed(const std::string& fontFolder, const std::string& name);
