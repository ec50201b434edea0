#include "PixelFont.h"

#include <cctype>
#include <memory>

PixelFont PixelFont::load(const std::string& path) {
    PixelFont font;
    for (const SourceLine& line : readSource(path)) {
        if (line.words.size() < 2)
            failAt(line, "a glyph needs its character and its rows");
        std::string key = line.words[0];
        char c = key == "space" ? ' ' : key == "hash" ? '#' : key == "quote" ? '"' : key[0];
        if (key.size() != 1 && c == key[0])
            failAt(line, "a glyph is named by one character, \"space\", \"hash\" or \"quote\"");
        Glyph g;
        g.rows.assign(line.words.begin() + 1, line.words.end());
        g.width = static_cast<int>(g.rows[0].size());
        for (const std::string& row : g.rows)
            if (static_cast<int>(row.size()) != g.width ||
                row.find_first_not_of("X.") != std::string::npos)
                failAt(line, "glyph rows must be equally wide and hold only X and .");
        if (font.height_ == 0)
            font.height_ = static_cast<int>(g.rows.size());
        if (static_cast<int>(g.rows.size()) != font.height_)
            failAt(line, "every glyph of a font has the same number of rows");
        font.glyphs_[c] = g;
    }
    if (font.glyphs_.empty())
        throw AssetError(path + ": the font has no glyphs");
    return font;
}

const PixelFont::Glyph& PixelFont::glyph(char c) const {
    auto found = glyphs_.find(c);
    if (found == glyphs_.end())
        found = glyphs_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    if (found == glyphs_.end())
        throw AssetError(std::string("the font has no glyph for '") + c + "'");
    return found->second;
}

int PixelFont::textWidth(const std::string& text) const {
    int width = 0;
    for (char c : text)
        width += glyph(c).width + 1;
    return width > 0 ? width - 1 : 0;
}

std::vector<std::vector<bool>> PixelFont::render(const std::string& text) const {
    std::vector<std::vector<bool>> ink(height_, std::vector<bool>(textWidth(text), false));
    int x = 0;
    for (char c : text) {
        const Glyph& g = glyph(c);
        for (int y = 0; y < height_; ++y)
            for (int gx = 0; gx < g.width; ++gx)
                if (g.rows[y][gx] == 'X')
                    ink[y][x + gx] = true;
        x += g.width + 1;
    }
    return ink;
}

Image renderText(const PixelFont& font, const std::string& text, const TextStyle& style) {
    auto ink = font.render(text);
    const int s = style.scale;
    const int border = alphaOf(style.outline) ? s : 0;
    const int drop = alphaOf(style.shadow) ? s : 0;
    const int w = font.textWidth(text) * s, h = font.height() * s;
    Image out(w + 2 * border + drop, h + 2 * border + drop);
    auto inkAt = [&](int x, int y) {
        x = x - border;
        y = y - border;
        if (x < 0 || y < 0 || x >= w || y >= h)
            return false;
        return static_cast<bool>(ink[y / s][x / s]);
    };
    auto near = [&](int x, int y, int dx, int dy) {
        for (int yy = -dy; yy <= dy; ++yy)
            for (int xx = -dx; xx <= dx; ++xx)
                if (inkAt(x + xx, y + yy))
                    return true;
        return false;
    };
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            if (inkAt(x, y)) {
                double t = h > 1 ? static_cast<double>(y - border) / (h - 1) : 0.0;
                out.set(x, y, opaque(mix(style.top, style.bottom, t)));
            } else if (border && near(x, y, border, border)) {
                out.set(x, y, opaque(style.outline));
            } else if (drop && (inkAt(x - drop, y - drop) ||
                                (border && near(x - drop, y - drop, border, border)))) {
                out.set(x, y, opaque(style.shadow));
            }
        }
    return out;
}

const PixelFont& fontNamed(const std::string& fontFolder, const std::string& name) {
    static std::map<std::string, std::unique_ptr<PixelFont>> fonts;
    auto& slot = fonts[fontFolder + "/" + name];
    if (!slot)
        slot = std::make_unique<PixelFont>(PixelFont::load(fontFolder + "/" + name + ".font"));
    return *slot;
}
