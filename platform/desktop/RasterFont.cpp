#include "RasterFont.h"

#include "Ansi.h"

#include <QImage>
#include <QPainter>

namespace {

// Changing texts (a running score) must not grow the cache without end.
constexpr std::size_t MaxLines = 256;

} // namespace

RasterFont::RasterFont(const QFont& font) : font_(font), metrics_(font) {}

const RasterLine& RasterFont::line(const std::string& text, std::uint64_t& renders) {
    if (const auto it = lines_.find(text); it != lines_.end()) {
        return it->second;
    }
    if (lines_.size() >= MaxLines) {
        lines_.clear();
    }
    ++renders;
    RasterLine out;
    const QString s = ansi::toQString(text);
    out.advance = metrics_.horizontalAdvance(s);
    if (!s.isEmpty()) {
        // The cell with a wide margin: measuring the glyphs' own box would shape the text
        // once more.
        const int h = metrics_.height();
        const QRect box(-h, -h / 2, out.advance + 2 * h, 2 * h);
        QImage glyphs(box.size(), QImage::Format_ARGB32_Premultiplied);
        glyphs.fill(Qt::transparent);
        {
            QPainter p(&glyphs);
            p.setRenderHint(QPainter::TextAntialiasing, false);
            p.setFont(font_);
            p.setPen(Qt::white);
            p.drawText(QPoint(-box.left(), metrics_.ascent() - box.top()), s);
        }
        for (int y = 0; y < glyphs.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(glyphs.constScanLine(y));
            for (int x = 0; x < glyphs.width();) {
                if (qAlpha(row[x]) < 128) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < glyphs.width() && qAlpha(row[x]) >= 128) {
                    ++x;
                }
                out.runs.push_back({start + box.left(), y + box.top(), x - start});
            }
        }
    }
    return lines_.emplace(text, std::move(out)).first->second;
}
