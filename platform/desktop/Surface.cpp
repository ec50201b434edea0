#include "Surface.h"

#include "Ansi.h"
#include "Color.h"
#include "FileRead.h"
#include "FileWrite.h"
#include "FramePacer.h"
#include "Numbers.h"
#include "RasterFont.h"
#include "VbError.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QImageWriter>
#include <QMetaMethod>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr std::int32_t InvalidPicture = 481;

// Pixel coordinate of a scale coordinate; far-off values clamp (nothing is drawn there).
int toPixel(double v) {
    const double r = num::roundHalfEven(v);
    if (!(r > -1e9)) {
        return -1000000000;
    }
    if (r > 1e9) {
        return 1000000000;
    }
    return static_cast<int>(r);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (true) {
        const auto lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? lf : lf - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        if (lf == std::string::npos) {
            return lines;
        }
        start = lf + 1;
    }
}

inline std::uint32_t* rowOf(QImage& img, int y) {
    return reinterpret_cast<std::uint32_t*>(img.bits() +
                                            static_cast<qsizetype>(y) * img.bytesPerLine());
}
inline const std::uint32_t* rowOf(const QImage& img, int y) {
    return reinterpret_cast<const std::uint32_t*>(img.constBits() +
                                                  static_cast<qsizetype>(y) * img.bytesPerLine());
}

// One raster operation over a block of rows; the inner loop vectorises.
template <typename Op>
void combineRows(uchar* out, qsizetype outStride, const uchar* in, qsizetype inStride, int w, int h,
                 Op op) {
    for (int row = 0; row < h; ++row, out += outStride, in += inStride) {
        auto* __restrict o = reinterpret_cast<std::uint32_t*>(out);
        const auto* __restrict i = reinterpret_cast<const std::uint32_t*>(in);
        for (int k = 0; k < w; ++k) {
            o[k] = op(o[k], i[k]);
        }
    }
}

} // namespace

Surface::Surface(int width, int height, QObject* parent) : QObject(parent) {
    image_ = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    image_.fill(color::toQRgb(backColor_));
}

Surface::~Surface() {
    if (held_) {
        FramePacer::instance().drop(*this);
    }
}

void Surface::setSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == image_.width() && height == image_.height()) {
        return;
    }
    QImage next(width, height, QImage::Format_RGB32);
    next.fill(color::toQRgb(backColor_));
    const int w = std::min(width, image_.width());
    const int h = std::min(height, image_.height());
    for (int y = 0; y < h; ++y) {
        std::memcpy(rowOf(next, y), rowOf(std::as_const(image_), y), sizeof(std::uint32_t) * w);
    }
    image_ = std::move(next);
    markAllChanged();
    emit resized();
}

namespace {

// A picture file's format from its own signature, among those allowed; none for any other.
const char* pictureFormat(std::string_view bytes, PictureFormats allowed) {
    const auto startsWith = [bytes](std::string_view signature) {
        return bytes.substr(0, signature.size()) == signature;
    };
    if (startsWith("BM")) {
        return "bmp";
    }
    if (startsWith("GIF87a") || startsWith("GIF89a")) {
        return "gif";
    }
    if (allowed == PictureFormats::UserPicked) {
        if (startsWith("\xFF\xD8\xFF")) {
            return "jpeg";
        }
        if (startsWith(std::string_view("\0\0\1\0", 4))) {
            return "ico";
        }
    }
    return nullptr;
}

} // namespace

QImage decodePicture(std::string_view bytes, PictureFormats allowed) {
    const char* format = pictureFormat(bytes, allowed);
    if (format == nullptr) {
        return {};
    }
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    // That format's decoder only: no other decoder is asked whether it knows the bytes.
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    // The reader keeps the data no longer than this call.
    return reader.read();
}

void Surface::LoadPicture(const std::string& path, PictureFormats allowed) {
    const std::string bytes = readFile(path, FileKind::Picture);
    QImage pic = decodePicture(bytes, allowed);
    if (pic.isNull()) {
        throw VbError(InvalidPicture, "Vantorix", fileErrorText("Invalid picture", path));
    }
    setPicture(pic);
}

void Surface::setPicture(const QImage& picture) {
    if (picture.isNull()) {
        clearPicture();
        return;
    }
    picture_ = picture.convertToFormat(
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (autoSize_) {
        setSize(picture_.width(), picture_.height());
    }
    Cls();
}

void Surface::clearPicture() {
    picture_ = QImage();
    Cls();
}

void Surface::setAutoSize(bool on) {
    autoSize_ = on;
    if (on && hasPicture()) {
        setSize(picture_.width(), picture_.height());
    }
}

void Surface::SavePicture(const std::string& path) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (image_.isNull() || !writer.write(image_)) {
        throw VbError(vberr::PathFileAccess, "Vantorix",
                      fileErrorText(vberr::standardDescription(vberr::PathFileAccess), path) +
                          " cannot be made: " + writer.errorString().toStdString());
    }
    // Like every file the programs write: whole or not at all, and a file made read-only
    // stays as it is.
    writeFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void Surface::setBackColor(std::int32_t c) {
    backColor_ = c & 0xFFFFFF;
    Cls();
}

void Surface::Cls() {
    currentX_ = 0;
    currentY_ = 0;
    if (image_.isNull()) {
        return;
    }
    image_.fill(color::toQRgb(backColor_));
    markAllChanged();
    if (picture_.isNull()) {
        return;
    }
    if (picture_.format() == QImage::Format_RGB32) {
        const int w = std::min(picture_.width(), image_.width());
        const int h = std::min(picture_.height(), image_.height());
        for (int y = 0; y < h; ++y) {
            std::memcpy(rowOf(image_, y), rowOf(picture_, y), sizeof(std::uint32_t) * w);
        }
    } else {
        QPainter p(&image_);
        p.drawImage(0, 0, picture_);
    }
}

std::uint32_t Surface::penFor(std::int32_t color) const {
    return color::toQRgb(color == UseForeColor ? foreColor_ : color);
}

void Surface::plot(int x, int y, std::uint32_t pen) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
        return;
    }
    std::uint32_t& px = rowOf(image_, y)[x];
    px = drawMode_ == drawmode::MergeNotPen ? (px | ~pen | 0xFF000000u) : pen;
}

void Surface::markChanged(const QRect& r) {
    ++drawCount_;
    const QRect in = r & image_.rect();
    drawnPixels_ +=
        static_cast<std::uint64_t>(in.width()) * static_cast<std::uint64_t>(in.height());
    // Most surfaces are never shown (backgrounds, sprite frames): they collect nothing.
    static const QMetaMethod changedSignal = QMetaMethod::fromSignal(&Surface::changed);
    if (!isSignalConnected(changedSignal)) {
        shown_.forget();
        return;
    }
    dirty_.add(in);
    if (!held_ && !dirty_.empty()) {
        held_ = true;
        FramePacer::instance().hold(*this);
    }
}

void Surface::deliverChanges() {
    if (held_) {
        held_ = false;
        FramePacer::instance().drop(*this); // at Refresh it is still in the pacer's list
    }
    if (dirty_.empty()) {
        return;
    }
    const QRegion differs = shown_.narrow(image_, dirty_.rects());
    dirty_.clear();
    if (!differs.isEmpty()) {
        emit changed(differs);
    }
}

void Surface::fillRect(int x1, int y1, int x2, int y2, std::uint32_t pen) {
    // Inclusive corners, clipped.
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, image_.width() - 1);
    y2 = std::min(y2, image_.height() - 1);
    if (x1 > x2 || y1 > y2) {
        return; // wholly outside the surface
    }
    markChanged(QRect(QPoint(x1, y1), QPoint(x2, y2)));
    for (int y = y1; y <= y2; ++y) {
        std::uint32_t* row = rowOf(image_, y);
        if (drawMode_ == drawmode::MergeNotPen) {
            const std::uint32_t bits = ~pen | 0xFF000000u;
            for (int x = x1; x <= x2; ++x) {
                row[x] |= bits;
            }
        } else {
            std::fill(row + x1, row + x2 + 1, pen);
        }
    }
}

void Surface::Line(double x1, double y1, double x2, double y2, std::int32_t color) {
    const std::uint32_t pen = penFor(color);
    int x = toPixel(x1);
    int y = toPixel(y1);
    const int ex = toPixel(x2);
    const int ey = toPixel(y2);
    currentX_ = x2;
    currentY_ = y2;
    if (std::max(x, ex) < 0 || std::max(y, ey) < 0 || std::min(x, ex) >= image_.width() ||
        std::min(y, ey) >= image_.height()) {
        return;
    }
    // Horizontal and vertical lines are the common case (shield line, grid, gradients).
    if (y == ey && x != ex) {
        fillRect(std::min(x, ex + (ex < x ? 1 : 0)), y, std::max(x, ex - (ex > x ? 1 : 0)), y, pen);
        return;
    }
    if (x == ex && y != ey) {
        fillRect(x, std::min(y, ey + (ey < y ? 1 : 0)), x, std::max(y, ey - (ey > y ? 1 : 0)), pen);
        return;
    }
    const long dx = std::labs(static_cast<long>(ex) - x);
    const long dy = -std::labs(static_cast<long>(ey) - y);
    const int stepX = x < ex ? 1 : -1;
    const int stepY = y < ey ? 1 : -1;
    long err = dx + dy;
    markChanged(
        QRect(QPoint(std::min(x, ex), std::min(y, ey)), QPoint(std::max(x, ex), std::max(y, ey))));
    while (x != ex || y != ey) {
        plot(x, y, pen);
        const long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            y += stepY;
        }
    }
}

void Surface::Box(double x1, double y1, double x2, double y2, std::int32_t color) {
    const std::uint32_t pen = penFor(color);
    const int ax = toPixel(std::min(x1, x2));
    const int bx = toPixel(std::max(x1, x2));
    const int ay = toPixel(std::min(y1, y2));
    const int by = toPixel(std::max(y1, y2));
    currentX_ = x2;
    currentY_ = y2;
    fillRect(ax, ay, bx, ay, pen);
    if (by != ay) {
        fillRect(ax, by, bx, by, pen);
    }
    if (by - ay > 1) {
        fillRect(ax, ay + 1, ax, by - 1, pen);
        if (bx != ax) {
            fillRect(bx, ay + 1, bx, by - 1, pen);
        }
    }
}

void Surface::FilledBox(double x1, double y1, double x2, double y2, std::int32_t color) {
    currentX_ = x2;
    currentY_ = y2;
    fillRect(toPixel(std::min(x1, x2)), toPixel(std::min(y1, y2)), toPixel(std::max(x1, x2)),
             toPixel(std::max(y1, y2)), penFor(color));
}

void Surface::PSet(double x, double y, std::int32_t color) {
    currentX_ = x;
    currentY_ = y;
    const int px = toPixel(x);
    const int py = toPixel(y);
    plot(px, py, penFor(color));
    markChanged(QRect(px, py, 1, 1));
}

std::int32_t Surface::Point(double x, double y) const {
    const int px = toPixel(x);
    const int py = toPixel(y);
    if (px < 0 || py < 0 || px >= image_.width() || py >= image_.height()) {
        return -1;
    }
    return color::fromQRgb(rowOf(image_, py)[px]);
}

void Surface::PaintPicture(const QImage& image, int x, int y) {
    if (image.isNull() || image_.isNull()) {
        return;
    }
    // In 64 bits: a far-off position must not overflow.
    const std::int64_t x0 = std::max<std::int64_t>(x, 0);
    const std::int64_t y0 = std::max<std::int64_t>(y, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{x} + image.width(), image_.width());
    const std::int64_t y1 =
        std::min<std::int64_t>(std::int64_t{y} + image.height(), image_.height());
    if (x1 <= x0 || y1 <= y0) {
        return;
    }
    markChanged(QRect(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                      static_cast<int>(y1 - y0)));
    if (image.hasAlphaChannel()) {
        QPainter p(&image_);
        p.drawImage(x, y, image);
        return;
    }
    const QImage src = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    for (std::int64_t row = y0; row < y1; ++row) {
        std::memcpy(rowOf(image_, static_cast<int>(row)) + x0,
                    rowOf(src, static_cast<int>(row - y)) + (x0 - x),
                    sizeof(std::uint32_t) * static_cast<std::size_t>(x1 - x0));
    }
}

QString Surface::standInFace(const std::string& faceName) {
    const QString name = ansi::toQString(faceName).trimmed().toLower();
    if (name.contains("courier")) {
        return "Liberation Mono";
    }
    if (name.contains("terminal") || name.contains("fixedsys") || name.contains("console") ||
        name.contains("consolas")) {
        return "DejaVu Sans Mono";
    }
    if (name.contains("times") || (name.contains("serif") && !name.contains("sans"))) {
        return "Liberation Serif";
    }
    return "Liberation Sans";
}

void Surface::setFontName(const std::string& name) {
    fontName_ = name;
    font_ = nullptr;
}

void Surface::setFontSize(double points) {
    fontSize_ = points;
    font_ = nullptr;
}

void Surface::setFontBold(bool bold) {
    fontBold_ = bold;
    font_ = nullptr;
}

RasterFont& Surface::font() const {
    if (font_) {
        return *font_;
    }
    QFont f(standInFace(fontName_));
    // Points at 96 dpi, as on the desktop the game was drawn for.
    const double px = num::roundHalfEven(std::max(fontSize_, 0.0) * 96.0 / 72.0);
    f.setPixelSize(static_cast<int>(std::clamp(px, 1.0, 2000.0)));
    f.setBold(fontBold_);
    for (const auto& known : fonts_) {
        if (known->font().family() == f.family() && known->font().pixelSize() == f.pixelSize() &&
            known->font().bold() == f.bold()) {
            font_ = known.get();
            return *font_;
        }
    }
    // Hard pixels: the text takes exactly the fore colour, which the fades and the overlay's
    // OR with the pane rely on, and suits the game's look.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    constexpr std::size_t MaxFonts = 16;
    if (fonts_.size() >= MaxFonts) {
        fonts_.erase(fonts_.begin());
    }
    fonts_.push_back(std::make_unique<RasterFont>(f));
    font_ = fonts_.back().get();
    return *font_;
}

void Surface::Print(const std::string& text, bool newLine) {
    RasterFont& rf = font();
    const int lineHeight = rf.metrics().height();
    const std::vector<std::string> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const RasterLine& line = rf.line(lines[i], textRenders_);
        const int x = toPixel(currentX_);
        const int y = toPixel(currentY_);
        if (!image_.isNull()) {
            if (!fontTransparent_ && line.advance > 0) {
                const int mode = std::exchange(drawMode_, drawmode::CopyPen);
                fillRect(x, y, x + line.advance - 1, y + lineHeight - 1, penFor(backColor_));
                drawMode_ = mode;
            }
            drawRuns(line, x, y);
        }
        if (i + 1 < lines.size() || newLine) {
            currentX_ = 0;
            currentY_ += lineHeight;
        } else {
            currentX_ += line.advance;
        }
    }
}

void Surface::drawRuns(const RasterLine& line, int x, int y) {
    if (line.runs.empty()) {
        return;
    }
    const std::uint32_t pen = penFor(foreColor_);
    // In 64 bits: a far-off cursor must not overflow.
    const std::int64_t w = image_.width();
    const std::int64_t h = image_.height();
    std::int64_t left = w, top = h, right = -1, bottom = -1;
    for (const RasterLine::Run& run : line.runs) {
        const std::int64_t ry = std::int64_t{y} + run.y;
        const std::int64_t x0 = std::max<std::int64_t>(std::int64_t{x} + run.x, 0);
        const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{x} + run.x + run.length, w);
        if (ry < 0 || ry >= h || x1 <= x0) {
            continue;
        }
        std::uint32_t* row = rowOf(image_, static_cast<int>(ry));
        std::fill(row + x0, row + x1, pen);
        left = std::min(left, x0);
        right = std::max(right, x1 - 1);
        top = std::min(top, ry);
        bottom = std::max(bottom, ry);
    }
    if (right >= left) {
        markChanged(QRect(QPoint(static_cast<int>(left), static_cast<int>(top)),
                          QPoint(static_cast<int>(right), static_cast<int>(bottom))));
    }
}

int Surface::TextWidth(const std::string& text) const {
    int widest = 0;
    for (const std::string& line : splitLines(text)) {
        widest = std::max(widest, font().line(line, textRenders_).advance);
    }
    return widest;
}

int Surface::TextHeight(const std::string& text) const {
    return static_cast<int>(splitLines(text).size()) * font().metrics().height();
}

void Surface::Refresh() {
    // While frames run the next one is at most a frame away; showing it now would cost a
    // paint pass of its own.
    if (!FramePacer::instance().pacing()) {
        deliverChanges();
    }
    emit refreshed();
}

bool BitBlt(Surface& dest, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            std::uint32_t rasterOp) {
    if (rasterOp != rop::SRCCOPY && rasterOp != rop::SRCPAINT && rasterOp != rop::SRCAND &&
        rasterOp != rop::MERGEPAINT) {
        return false;
    }
    // Clip against both surfaces, moving the other rectangle along (in 64 bits, so no
    // position can overflow).
    std::int64_t cx = x, cy = y, cw = w, ch = h, csx = sx, csy = sy;
    const auto clipStart = [](std::int64_t& a, std::int64_t& b, std::int64_t& len) {
        const std::int64_t shift = std::max<std::int64_t>({0, -a, -b});
        a += shift;
        b += shift;
        len -= shift;
    };
    clipStart(cx, csx, cw);
    clipStart(cy, csy, ch);
    cw = std::min<std::int64_t>({cw, dest.Width() - cx, src.Width() - csx});
    ch = std::min<std::int64_t>({ch, dest.Height() - cy, src.Height() - csy});
    if (cw <= 0 || ch <= 0) {
        return true;
    }
    x = static_cast<int>(cx);
    y = static_cast<int>(cy);
    w = static_cast<int>(cw);
    h = static_cast<int>(ch);
    dest.markChanged(QRect(x, y, w, h));
    sx = static_cast<int>(csx);
    sy = static_cast<int>(csy);

    QImage& d = dest.image_;
    const QImage* s = &src.image();
    int srcX = sx;
    int srcY = sy;
    QImage scratch;
    if (&dest == &src && x < sx + w && sx < x + w && y < sy + h && sy < y + h) {
        scratch = s->copy(sx, sy, w, h);
        s = &scratch;
        srcX = 0;
        srcY = 0;
    }

    uchar* out = d.bits() + static_cast<qsizetype>(y) * d.bytesPerLine() + 4 * qsizetype(x);
    const uchar* in =
        s->constBits() + static_cast<qsizetype>(srcY) * s->bytesPerLine() + 4 * qsizetype(srcX);
    const qsizetype outStride = d.bytesPerLine();
    const qsizetype inStride = s->bytesPerLine();
    switch (rasterOp) {
    case rop::SRCCOPY:
        for (int row = 0; row < h; ++row, out += outStride, in += inStride) {
            std::memcpy(out, in, sizeof(std::uint32_t) * w);
        }
        break;
    case rop::SRCPAINT:
        combineRows(
            out, outStride, in, inStride, w, h,
            [](std::uint32_t destPixel, std::uint32_t srcPixel) { return destPixel | srcPixel; });
        break;
    case rop::SRCAND:
        combineRows(
            out, outStride, in, inStride, w, h,
            [](std::uint32_t destPixel, std::uint32_t srcPixel) { return destPixel & srcPixel; });
        break;
    default: // MERGEPAINT; the alpha byte stays 0xFF since the destination's is.
        combineRows(
            out, outStride, in, inStride, w, h,
            [](std::uint32_t destPixel, std::uint32_t srcPixel) { return destPixel | ~srcPixel; });
        break;
    }
    return true;
}
