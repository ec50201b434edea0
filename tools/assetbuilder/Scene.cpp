#include "Scene.h"

#include "PixelArt.h"
#include "PixelFont.h"
#include "SourceText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A small deterministic generator: the pictures must be the same on every machine.
class Dice {
public:
    explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double unit() { return (next() & 0xFFFFFF) / static_cast<double>(0x1000000); }
    int below(int n) { return static_cast<int>(unit() * n); }

private:
    uint32_t state_;
};

struct Context {
    const SourceLine* line;
    const std::string& palettePath;
    Argb colour(size_t word) const {
        if (word >= line->words.size())
            failAt(*line, "a colour is missing");
        try {
            return parseColour(line->words[word], palettePath);
        } catch (const AssetError& e) {
            failAt(*line, e.what());
        }
    }
    Argb colourOption(const std::string& key, Argb fallback) const {
        std::string word = textOption(*line, key, "", 1);
        if (word.empty())
            return fallback;
        try {
            return parseColour(word, palettePath);
        } catch (const AssetError& e) {
            failAt(*line, e.what());
        }
    }
};

void glow(Image& image, double cx, double cy, double radius, Argb colour, double strength) {
    for (int y = static_cast<int>(cy - radius); y <= cy + radius; ++y)
        for (int x = static_cast<int>(cx - radius); x <= cx + radius; ++x) {
            double d = std::hypot(x - cx, y - cy) / radius;
            if (d >= 1.0 || !image.inside(x, y))
                continue;
            double a = strength * (1.0 - d) * (1.0 - d);
            image.blend(x, y, (colour & 0xFFFFFF) | static_cast<Argb>(a * 255) << 24);
        }
}

void planet(Image& image, double cx, double cy, double r, Argb light, Argb dark, Argb ring) {
    auto ringAt = [&](int x, int y, bool front) {
        // A tilted ellipse around the planet; the front half is drawn over it.
        double dx = (x - cx) / (r * 1.9), dy = (y - cy) / (r * 0.45);
        double d = std::hypot(dx, dy);
        return d > 0.82 && d < 1.0 && ((y >= cy) == front);
    };
    for (int y = static_cast<int>(cy - 2 * r); y <= cy + 2 * r; ++y)
        for (int x = static_cast<int>(cx - 2 * r); x <= cx + 2 * r; ++x) {
            if (alphaOf(ring) && ringAt(x, y, false))
                image.set(x, y, mix(ring, opaque(0), 0.35));
            double dx = x - cx, dy = y - cy;
            double d = std::hypot(dx, dy);
            if (d <= r) {
                // Light from the upper left, in four bands for a pixel-art look.
                double lit = (-(dx + dy) / (1.6 * r) + 1.0) / 2.0 - (d / r) * 0.25;
                double band = std::clamp(std::floor(lit * 4.0) / 3.0, 0.0, 1.0);
                image.set(x, y, mix(dark, light, band));
            }
            if (alphaOf(ring) && ringAt(x, y, true))
                image.set(x, y, ring);
        }
}

} // namespace

void readScenes(const std::string& path, const std::string& palettePath,
                const std::string& fontFolder, Catalog& catalog) {
    std::vector<SourceLine> lines = readSource(path);
    std::string group = "Pictures";
    for (size_t i = 0; i < lines.size(); ++i) {
        const SourceLine& head = lines[i];
        if (head.words[0] == "group") {
            if (head.words.size() < 2)
                failAt(head, "a group needs its heading");
            group = head.words[1];
            continue;
        }
        if (head.words[0] != "scene" || head.words.size() < 4)
            failAt(head, "expected \"scene NAME WIDTH HEIGHT\"");
        Picture picture;
        picture.name = head.words[1];
        picture.group = group;
        picture.kind = hasWord(head, "frame", 4) ? Picture::Kind::Frame : Picture::Kind::Plain;
        picture.image =
            Image(intAt(head, 2), intAt(head, 3),
                  picture.kind == Picture::Kind::Frame ? kTransparent : opaque(0x000000));
        Image& image = picture.image;
        for (++i; i < lines.size() && lines[i].words[0] != "end"; ++i) {
            const SourceLine& line = lines[i];
            Context ctx{&line, palettePath};
            const std::string& what = line.words[0];
            auto rect = [&](size_t from, int& x, int& y, int& w, int& h) {
                x = 0, y = 0, w = image.width, h = image.height;
                if (line.words.size() >= from + 4) {
                    x = intAt(line, from), y = intAt(line, from + 1);
                    w = intAt(line, from + 2), h = intAt(line, from + 3);
                }
            };
            if (what == "gradient") {
                Argb top = ctx.colour(1), bottom = ctx.colour(2);
                int x, y, w, h;
                rect(3, x, y, w, h);
                for (int yy = 0; yy < h; ++yy)
                    image.fillRect(x, y + yy, w, 1, mix(top, bottom, h > 1 ? yy / (h - 1.0) : 0));
            } else if (what == "fill") {
                Argb c = ctx.colour(1);
                int x, y, w, h;
                rect(2, x, y, w, h);
                image.fillRect(x, y, w, h, c);
            } else if (what == "stars") {
                Dice dice(static_cast<uint32_t>(intAt(line, 2)));
                Argb bright = ctx.colourOption("colour", opaque(0xFFFFFF));
                Argb twinkle = ctx.colourOption("twinkle", opaque(0x9fc8ff));
                for (int n = intAt(line, 1); n > 0; --n) {
                    int x = dice.below(image.width), y = dice.below(image.height);
                    double kind = dice.unit();
                    if (kind < 0.70) { // faint dust
                        image.blend(x, y, (twinkle & 0xFFFFFF) | (60 + dice.below(90)) << 24);
                    } else if (kind < 0.94) {
                        image.blend(x, y, (bright & 0xFFFFFF) | (150 + dice.below(105)) << 24);
                    } else { // a bright star with a small cross
                        image.set(x, y, bright);
                        Argb halo = (twinkle & 0xFFFFFF) | 150u << 24;
                        image.blend(x - 1, y, halo);
                        image.blend(x + 1, y, halo);
                        image.blend(x, y - 1, halo);
                        image.blend(x, y + 1, halo);
                    }
                }
            } else if (what == "nebula") {
                Dice dice(static_cast<uint32_t>(intAt(line, 2)));
                Argb c = ctx.colour(3);
                double radius = option(line, "radius", 60, 4);
                double strength = option(line, "strength", 0.25, 4);
                for (int n = intAt(line, 1); n > 0; --n)
                    glow(image, dice.unit() * image.width, dice.unit() * image.height,
                         radius * (0.5 + dice.unit()), c, strength * (0.5 + 0.5 * dice.unit()));
            } else if (what == "planet") {
                planet(image, numberAt(line, 1), numberAt(line, 2), numberAt(line, 3),
                       ctx.colour(4), ctx.colour(5), ctx.colourOption("ring", kTransparent));
            } else if (what == "box") {
                int x = intAt(line, 1), y = intAt(line, 2), w = intAt(line, 3), h = intAt(line, 4);
                Argb c = ctx.colour(5);
                image.fillRect(x, y, w, 1, c);
                image.fillRect(x, y + h - 1, w, 1, c);
                image.fillRect(x, y, 1, h, c);
                image.fillRect(x + w - 1, y, 1, h, c);
            } else if (what == "bevel") {
                int x = intAt(line, 1), y = intAt(line, 2), w = intAt(line, 3), h = intAt(line, 4);
                Argb light = ctx.colour(5), dark = ctx.colour(6);
                image.fillRect(x, y, w, 1, light);
                image.fillRect(x, y, 1, h, light);
                image.fillRect(x, y + h - 1, w, 1, dark);
                image.fillRect(x + w - 1, y, 1, h, dark);
            } else if (what == "hline") {
                int y = intAt(line, 1);
                Argb c = ctx.colour(2);
                int x0 = line.words.size() > 4 ? intAt(line, 3) : 0;
                int x1 = line.words.size() > 4 ? intAt(line, 4) : image.width - 1;
                image.fillRect(x0, y, x1 - x0 + 1, 1, c);
            } else if (what == "text") {
                if (line.words.size() < 4)
                    failAt(line, "expected \"text X Y TEXT\"");
                TextStyle style;
                style.scale = static_cast<int>(option(line, "scale", 1, 4));
                style.top = ctx.colourOption("top", opaque(0xFFFFFF));
                style.bottom = ctx.colourOption("bottom", style.top);
                style.outline = ctx.colourOption("outline", kTransparent);
                style.shadow = ctx.colourOption("shadow", kTransparent);
                const PixelFont& font = fontNamed(fontFolder, textOption(line, "font", "small", 4));
                Image text = renderText(font, line.words[3], style);
                int x = line.words[1] == "centre" ? (image.width - text.width) / 2 : intAt(line, 1);
                image.draw(text, x, intAt(line, 2));
            } else if (what == "stamp") {
                if (line.words.size() < 4)
                    failAt(line, "expected \"stamp NAME X Y\"");
                Image art;
                if (const Picture* made = catalog.find(line.words[1]))
                    art = made->image;
                else if (!paintedGrid(line.words[1], palettePath, art))
                    failAt(line, "stamp needs the name of a picture or template made before");
                art = scaled(art, static_cast<int>(option(line, "scale", 1, 4)));
                int x = line.words[2] == "centre" ? (image.width - art.width) / 2 : intAt(line, 2);
                image.draw(art, x, intAt(line, 3));
            } else {
                failAt(line, "\"" + what + "\" is not a scene statement");
            }
        }
        if (i == lines.size())
            failAt(head, "the scene has no \"end\"");
        catalog.add(std::move(picture));
    }
}
