#pragma once

#include <QFont>
#include <QFontMetrics>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// A line of text laid out and rasterised once: its advance and its glyph pixels as runs,
// relative to the pen position at the top of the line's cell.
struct RasterLine {
    struct Run {
        int x;
        int y;
        int length;
    };
    int advance = 0;
    std::vector<Run> runs;
};

// A font (hard pixels, no smoothing) with the lines already printed in it, so a text that
// does not change is not shaped again.
class RasterFont {
public:
    explicit RasterFont(const QFont& font);

    const QFont& font() const { return font_; }
    const QFontMetrics& metrics() const { return metrics_; }
    // The line (Windows-1252 bytes, no line break), laid out on first use; each layout adds
    // one to renders.
    const RasterLine& line(const std::string& text, std::uint64_t& renders);

private:
    QFont font_;
    QFontMetrics metrics_;
    std::unordered_map<std::string, RasterLine> lines_;
};
