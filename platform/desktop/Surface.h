#pragma once

#include "DirtyRects.h"
#include "HeldChanges.h"
#include "ShownPixels.h"

#include <QImage>
#include <QObject>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class RasterFont;
struct RasterLine;

// Raster operations of BitBlt, bitwise per colour channel.
namespace rop {
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;    // dest = src
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;   // dest = src OR dest
inline constexpr std::uint32_t SRCAND = 0x008800C6;     // dest = src AND dest
inline constexpr std::uint32_t MERGEPAINT = 0x00BB0226; // dest = NOT src OR dest
} // namespace rop

// Pen modes for lines, boxes and points.
namespace drawmode {
inline constexpr int MergeNotPen = 12; // pixel = pixel OR NOT pen
inline constexpr int CopyPen = 13;     // pixel = pen
} // namespace drawmode

// The decoders a picture file may reach. The programs' own pictures are BMP or GIF; a picture
// the user picks to look at (the editor's guide picture) may also be a JPEG or an icon.
enum class PictureFormats { Own, UserPicked };

// A picture file's bytes as an image, read by the one decoder of the allowed format its
// signature names (whatever the file is called); a null image for any other bytes.
QImage decodePicture(std::string_view bytes, PictureFormats allowed = PictureFormats::Own);

// A picture box with its device context: a persistent RGB32 pixel buffer measured in
// pixels, with the picture it was given (what Cls brings back), the box's colours, its text
// cursor and font. Colours are game colours (0x00BBGGRR); texts are Windows-1252 bytes.
// Drawing is always kept in the buffer; Refresh tells the views to show it.
class Surface : public QObject, private HeldChanges {
    Q_OBJECT

public:
    // Use the fore colour for a line, box or point.
    static constexpr std::int32_t UseForeColor = -1;

    // Starts white with black text in 8 point Arial, transparent text, no picture.
    explicit Surface(int width = 0, int height = 0, QObject* parent = nullptr);
    ~Surface() override;

    // Size. The scale is pixels and there is no border, so ScaleWidth equals Width.
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    int ScaleWidth() const { return image_.width(); }
    int ScaleHeight() const { return image_.height(); }
    // Keeps what overlaps the old size at the top left; new area gets the back colour.
    void setSize(int width, int height);

    // The picture. With AutoSize on (the default) the surface takes the picture's size.
    // Setting or clearing the picture clears the drawing (as Cls does).
    // BMP or GIF (see PictureFormats); VbError 53 and the other file errors of readFile, or
    // 481 Invalid picture, each naming the file.
    void LoadPicture(const std::string& path, PictureFormats allowed = PictureFormats::Own);
    void setPicture(const QImage& picture);
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }
    const QImage& Picture() const { return picture_; }
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    // Kept for the callers that switch it; the buffer is persistent either way.
    bool AutoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool on) { autoRedraw_ = on; }
    // Writes what the surface shows as a 24-bit BMP, whole or not at all; the VbError of
    // writeFileAtomically when it cannot (naming the file), 75 when there is no picture.
    void SavePicture(const std::string& path) const;

    // Setting the back colour clears the drawing, as on a picture box.
    std::int32_t BackColor() const { return backColor_; }
    void setBackColor(std::int32_t c);
    std::int32_t ForeColor() const { return foreColor_; }
    void setForeColor(std::int32_t c) { foreColor_ = c; }
    int DrawMode() const { return drawMode_; }
    void setDrawMode(int mode) { drawMode_ = mode; }

    // Fills with the back colour, shows the picture at the top left, cursor to (0, 0).
    void Cls();
    // From (x1, y1) to (x2, y2) without the end point; the cursor moves to the end point.
    void Line(double x1, double y1, double x2, double y2, std::int32_t color = UseForeColor);
    // Box outline / filled box covering both corners.
    void Box(double x1, double y1, double x2, double y2, std::int32_t color = UseForeColor);
    void FilledBox(double x1, double y1, double x2, double y2, std::int32_t color = UseForeColor);
    void PSet(double x, double y, std::int32_t color = UseForeColor);
    // The pixel's colour, -1 outside the surface.
    std::int32_t Point(double x, double y) const;
    // Copies image (any format; alpha is blended over what is there) with its top left at
    // (x, y), clipped.
    void PaintPicture(const QImage& image, int x, int y);

    // Text cursor, in pixels.
    double CurrentX() const { return currentX_; }
    void setCurrentX(double x) { currentX_ = x; }
    double CurrentY() const { return currentY_; }
    void setCurrentY(double y) { currentY_ = y; }

    // Font: a desktop face name ("Courier New", "Arial", "Fixedsys", ...) drawn with an
    // installed stand-in; size in points at 96 dpi.
    const std::string& FontName() const { return fontName_; }
    void setFontName(const std::string& name);
    double FontSize() const { return fontSize_; }
    void setFontSize(double points);
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool bold);
    // Transparent (the default) leaves the pixels around the glyphs; opaque fills each
    // printed line's cell with the back colour first.
    void setFontTransparent(bool on) { fontTransparent_ = on; }

    // Prints text at the cursor in the fore colour. With newLine the cursor then goes to
    // the start of the next line (CurrentX 0, CurrentY + line height); without it, it stays
    // on the line after the text. Line breaks (CR LF or LF) in text start new lines at x 0.
    void Print(const std::string& text, bool newLine = true);
    // Widest line / lines x line height of text in the current font, in pixels.
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    // Drawing operations so far: a drawer that finds the count where it left it knows the
    // pixels are still its own.
    std::uint64_t drawCount() const { return drawCount_; }
    // Pixels those operations covered (each one's bounds), a measure of what drawing cost.
    std::uint64_t drawnPixels() const { return drawnPixels_; }
    // Lines laid out afresh so far; a line printed or measured again in the same font is not.
    std::uint64_t textRenders() const { return textRenders_; }

    // Tells the views to show the current pixels now rather than once the event loop runs;
    // while frames run (see FramePacer), with the next frame.
    void Refresh();

    // The pixel buffer (Format_RGB32). Only the drawing operations write it, so that every
    // change reaches the views.
    const QImage& image() const { return image_; }

    // The installed face used for a desktop face name.
    static QString standInFace(const std::string& faceName);

signals:
    // Refresh was called.
    void refreshed();
    // The pixels that differ from the last time, once per frame or turn of the event loop
    // (see FramePacer) or at Refresh outside frames; only while something listens.
    void changed(const QRegion& area);
    void resized();

private:
    friend bool BitBlt(Surface&, int, int, int, int, const Surface&, int, int, std::uint32_t);
    void markChanged(const QRect& r);
    void drawRuns(const RasterLine& line, int x, int y);
    void markAllChanged() { markChanged(image_.rect()); }
    void deliverChanges() override;

    RasterFont& font() const;
    void plot(int x, int y, std::uint32_t pen);
    void fillRect(int x1, int y1, int x2, int y2, std::uint32_t pen);
    std::uint32_t penFor(std::int32_t color) const;

    QImage image_;
    QImage picture_;
    bool autoSize_ = true;
    bool autoRedraw_ = false;
    std::int32_t backColor_ = 0xFFFFFF;
    std::int32_t foreColor_ = 0;
    int drawMode_ = drawmode::CopyPen;
    double currentX_ = 0;
    double currentY_ = 0;
    std::string fontName_ = "Arial";
    double fontSize_ = 8;
    bool fontBold_ = false;
    bool fontTransparent_ = true;
    // Built when text is first measured or printed (most surfaces never show any), one per
    // face, size and weight used, so switching between fonts keeps what each has laid out.
    mutable std::vector<std::unique_ptr<RasterFont>> fonts_;
    mutable RasterFont* font_ = nullptr;
    mutable std::uint64_t textRenders_ = 0;
    std::uint64_t drawCount_ = 0;
    std::uint64_t drawnPixels_ = 0;
    // A frame redraws every sprite in place: folded into a few boxes, the gaps between them
    // would be compared too.
    DirtyRects dirty_{64};
    ShownPixels shown_;
    bool held_ = false;
};

// Copies the w x h rectangle at (sx, sy) of src to (x, y) of dest with a raster operation,
// clipped at the edges of both surfaces; positions may be negative and src may be dest
// (overlapping rectangles copy as if through a buffer). False for an unknown operation.
bool BitBlt(Surface& dest, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            std::uint32_t rasterOp);
