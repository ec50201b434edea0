#include "PixelArt.h"

#include "PixelFont.h"
#include "SourceText.h"

#include <map>

namespace {

using Palette = std::map<char, Argb>;

// A grid keeps its characters so that "like" can recolour it.
struct Grid {
    std::vector<std::string> rows;
    int scale = 1;
    Picture::Kind kind = Picture::Kind::Frame;
    Argb background = opaque(0x000000);
};

bool isHex(const std::string& s) {
    return s.size() == 6 && s.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

// Six hex digits (isHex) always fit the colour's 24 bits.
Argb hexColour(const std::string& s) {
    return opaque(static_cast<Argb>(std::stoul(s, nullptr, 16)));
}

void readPaletteLine(const SourceLine& line, Palette& palette) {
    if (line.words.size() < 2 || line.words[0].size() != 1)
        failAt(line, "a palette line is a character and a colour");
    char c = line.words[0][0];
    if (c == '.')
        failAt(line, "\".\" is always transparent");
    if (line.words[1] == "none")
        palette[c] = kTransparent;
    else if (isHex(line.words[1]))
        palette[c] = hexColour(line.words[1]);
    else
        failAt(line, "\"" + line.words[1] + "\" is not a colour (six hex digits)");
}

Palette loadPalette(const std::string& path) {
    Palette palette;
    for (const SourceLine& line : readSource(path)) {
        if (line.words[0] == "palette" || line.words[0] == "end")
            continue;
        readPaletteLine(line, palette);
    }
    return palette;
}

Argb colourWord(const SourceLine& line, const std::string& word, const Palette& palette) {
    if (isHex(word))
        return hexColour(word);
    if (word.size() == 1 && palette.count(word[0]))
        return palette.at(word[0]);
    failAt(line, "\"" + word + "\" is neither a colour nor a palette character");
}

Image paint(const Grid& grid, const Palette& palette, const SourceLine& at) {
    const int h = static_cast<int>(grid.rows.size());
    const int w = h ? static_cast<int>(grid.rows[0].size()) : 0;
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            char c = grid.rows[y][x];
            if (c == '.')
                continue;
            auto found = palette.find(c);
            if (found == palette.end())
                failAt(at, std::string("the palette has no colour '") + c + "'");
            image.set(x, y, found->second);
        }
    return scaled(image, grid.scale);
}

// Every grid read so far, for "like" and for the scenes' stamps.
std::map<std::string, Grid>& grids() {
    static std::map<std::string, Grid> all;
    return all;
}

} // namespace

bool paintedGrid(const std::string& name, const std::string& palettePath, Image& out) {
    auto found = grids().find(name);
    if (found == grids().end())
        return false;
    SourceLine at{palettePath, 0, name, {name}};
    out = paint(found->second, loadPalette(palettePath), at);
    return true;
}

Argb parseColour(const std::string& word, const std::string& palettePath) {
    static std::map<std::string, Palette> palettes;
    if (!palettes.count(palettePath))
        palettes[palettePath] = loadPalette(palettePath);
    SourceLine line{palettePath, 0, word, {word}};
    return colourWord(line, word, palettes[palettePath]);
}

void readPixelArt(const std::string& path, const std::string& palettePath,
                  const std::string& fontFolder, Catalog& catalog) {
    Palette palette = loadPalette(palettePath);
    std::vector<SourceLine> lines = readSource(path);
    std::string group = "Pictures";
    for (size_t i = 0; i < lines.size(); ++i) {
        const SourceLine& head = lines[i];
        const std::string& what = head.words[0];
        auto blockEnd = [&](size_t from) {
            size_t j = from;
            while (j < lines.size() && lines[j].words[0] != "end")
                ++j;
            if (j == lines.size())
                failAt(head, "\"" + what + "\" has no \"end\"");
            return j;
        };
        if (what == "palette") {
            size_t end = blockEnd(i + 1);
            for (size_t j = i + 1; j < end; ++j)
                readPaletteLine(lines[j], palette);
            i = end;
        } else if (what == "group") {
            if (head.words.size() < 2)
                failAt(head, "a group needs its heading");
            group = head.words[1];
        } else if (what == "frame" || what == "picture" || what == "template") {
            if (head.words.size() < 2)
                failAt(head, "a name is missing");
            const std::string name = head.words[1];
            Grid grid;
            size_t end = blockEnd(i + 1);
            std::string like = textOption(head, "like", "", 2);
            if (!like.empty()) {
                if (!grids().count(like))
                    failAt(head, "\"" + like + "\" is not drawn before it");
                grid = grids()[like];
                for (size_t j = i + 1; j < end; ++j) {
                    const SourceLine& change = lines[j];
                    if (change.words[0] == "flip") {
                        for (std::string& row : grid.rows)
                            row.assign(row.rbegin(), row.rend());
                    } else if (change.words[0] == "map") {
                        std::map<char, char> to;
                        for (size_t k = 1; k < change.words.size(); ++k) {
                            if (change.words[k].size() != 2)
                                failAt(change, "a map pair is two characters: from, to");
                            to[change.words[k][0]] = change.words[k][1];
                        }
                        for (std::string& row : grid.rows)
                            for (char& c : row)
                                if (to.count(c))
                                    c = to[c];
                    } else {
                        failAt(change, "only \"map\" and \"flip\" change a like-frame");
                    }
                }
            } else {
                for (size_t j = i + 1; j < end; ++j) {
                    if (lines[j].words.size() != 1)
                        failAt(lines[j], "a grid row has no blanks");
                    grid.rows.push_back(lines[j].words[0]);
                    if (grid.rows.back().size() != grid.rows[0].size())
                        failAt(lines[j], "every row of a grid is equally long");
                }
                if (grid.rows.empty())
                    failAt(head, "the grid is empty");
            }
            grid.scale = static_cast<int>(option(head, "scale", grid.scale, 2));
            grid.kind = what == "frame" ? Picture::Kind::Frame : Picture::Kind::Plain;
            std::string background = textOption(head, "background", "", 2);
            if (!background.empty())
                grid.background = colourWord(head, background, palette);
            grids()[name] = grid;
            if (what != "template")
                catalog.add({name, grid.kind, paint(grid, palette, head), grid.background, group});
            i = end;
        } else if (what == "text") {
            if (head.words.size() < 3)
                failAt(head, "text needs a name and its lettering");
            TextStyle style;
            style.scale = static_cast<int>(option(head, "scale", 1, 3));
            style.top = colourWord(head, textOption(head, "top", "ffffff", 3), palette);
            style.bottom = colourWord(
                head, textOption(head, "bottom", textOption(head, "top", "ffffff", 3), 3), palette);
            std::string outline = textOption(head, "outline", "", 3);
            if (!outline.empty())
                style.outline = colourWord(head, outline, palette);
            std::string shadow = textOption(head, "shadow", "", 3);
            if (!shadow.empty())
                style.shadow = colourWord(head, shadow, palette);
            const PixelFont& font = fontNamed(fontFolder, textOption(head, "font", "big", 3));
            catalog.add({head.words[1], Picture::Kind::Frame,
                         renderText(font, head.words[2], style), opaque(0), group});
        } else {
            failAt(head, "\"" + what + "\" is not a pixel-art statement");
        }
    }
}
