#include "Color.h"
#include "Rect.h"
#include "Surface.h"
#include "VbError.h"
#include "VbErrorNumber.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

// Fills every pixel with a colour that depends on its place, so misplaced copies show.
void fillPattern(Surface& s, std::int32_t salt) {
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            s.PSet(x, y, (salt + x * 37 + y * 101) & 0xFFFFFF);
        }
    }
}

std::string tempPath(const QTemporaryDir& dir, const char* name) {
    return (dir.path() + "/" + name).toStdString();
}

// A GIF of 3 x 2 pixels, red green blue / blue transparent red.
const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x02, 0x00, 0x91,
                             0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff,
                             0xff, 0xff, 0xff, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x03, 0x00,
                             0x2c, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x02, 0x00, 0x00, 0x02,
                             0x04, 0x44, 0x24, 0x03, 0x05, 0x00, 0x3b};

} // namespace

TEST(Surface, RasterOperationsWorkBitwisePerChannel) {
    struct Case {
        std::uint32_t op;
        std::int32_t expected;
    };
    const std::int32_t src = 0x0F35C3;
    const std::int32_t dst = 0x3C5A99;
    for (const Case c : {Case{rop::SRCCOPY, src},
                         {rop::SRCAND, src & dst},
                         {rop::SRCPAINT, src | dst},
                         {rop::MERGEPAINT, (~src | dst) & 0xFFFFFF}}) {
        Surface a(2, 1), b(2, 1);
        a.PSet(0, 0, src);
        a.PSet(1, 0, src);
        b.PSet(0, 0, dst);
        b.PSet(1, 0, dst);
        EXPECT_TRUE(BitBlt(b, 1, 0, 1, 1, a, 0, 0, c.op));
        EXPECT_EQ(b.Point(1, 0), c.expected) << std::hex << c.op;
        EXPECT_EQ(b.Point(0, 0), dst) << "outside the rectangle";
        EXPECT_EQ(b.image().pixel(1, 0) >> 24, 0xFFu) << "stays opaque";
    }
    Surface a(2, 2), b(2, 2);
    fillPattern(b, 5);
    const QImage before = b.image().copy();
    EXPECT_FALSE(BitBlt(b, 0, 0, 2, 2, a, 0, 0, 0x00660046)); // SRCINVERT is not ours
    EXPECT_EQ(b.image(), before);
}

TEST(Surface, BitBltClipsAtBothSurfacesWithNegativePositions) {
    Surface src(8, 6);
    fillPattern(src, 1000);
    struct Case {
        int x, y, w, h, sx, sy;
    };
    for (const Case c : {Case{-3, -2, 6, 5, 1, 0},
                         {5, 4, 10, 10, 0, 0},
                         {1, 1, 5, 4, -2, -1},
                         {2, 0, 9, 9, 4, 3},
                         {-20, 0, 5, 5, 0, 0},
                         {0, 0, 0, 5, 0, 0},
                         {0, 0, -4, 5, 0, 0},
                         {3, 3, 4, 4, 7, 5},
                         {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, 0},
                         {-2, 0, INT32_MAX, 3, INT32_MIN, 0},
                         {-2, -1, INT32_MAX, INT32_MAX, 1, 0}}) {
        Surface dest(7, 5);
        fillPattern(dest, 77);
        const QImage before = dest.image().copy();
        EXPECT_TRUE(BitBlt(dest, c.x, c.y, c.w, c.h, src, c.sx, c.sy, rop::SRCCOPY));
        // Each destination pixel is copied exactly when it and its source lie inside.
        for (int y = 0; y < dest.Height(); ++y) {
            for (int x = 0; x < dest.Width(); ++x) {
                const std::int64_t u = std::int64_t{x} - c.x;
                const std::int64_t v = std::int64_t{y} - c.y;
                const std::int64_t sx = c.sx + u;
                const std::int64_t sy = c.sy + v;
                const bool copied = u >= 0 && v >= 0 && u < c.w && v < c.h && sx >= 0 && sy >= 0 &&
                                    sx < src.Width() && sy < src.Height();
                const std::int32_t want =
                    copied ? src.Point(static_cast<double>(sx), static_cast<double>(sy))
                           : color::fromQRgb(before.pixel(x, y));
                ASSERT_EQ(dest.Point(x, y), want)
                    << "case " << c.x << "," << c.y << " " << c.w << "x" << c.h << " from " << c.sx
                    << "," << c.sy << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(Surface, BitBltWithinOneSurfaceActsAsThroughABuffer) {
    struct Case {
        int dx, dy;
    };
    for (const Case c : {Case{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {2, 3}, {-3, -2}}) {
        for (const std::uint32_t op : {rop::SRCCOPY, rop::SRCPAINT}) {
            Surface s(9, 7);
            fillPattern(s, 3);
            Surface copy(9, 7);
            BitBlt(copy, 0, 0, 9, 7, s, 0, 0, rop::SRCCOPY);
            Surface expected(9, 7);
            BitBlt(expected, 0, 0, 9, 7, s, 0, 0, rop::SRCCOPY);
            BitBlt(expected, 2 + c.dx, 2 + c.dy, 5, 4, copy, 2, 2, op);
            BitBlt(s, 2 + c.dx, 2 + c.dy, 5, 4, s, 2, 2, op);
            EXPECT_EQ(s.image(), expected.image()) << c.dx << "," << c.dy << " op " << op;
        }
    }
}

TEST(Surface, IntersectRectExcludesRightAndBottomEdges) {
    Rect out{1, 2, 3, 4};
    EXPECT_TRUE(IntersectRect(out, {0, 0, 10, 10}, {5, 6, 20, 8}));
    EXPECT_EQ(out, (Rect{5, 6, 10, 8}));
    EXPECT_FALSE(IntersectRect(out, {0, 0, 10, 10}, {10, 0, 20, 10})); // touching edge
    EXPECT_EQ(out, Rect{});
    EXPECT_FALSE(IntersectRect(out, {0, 0, 10, 10}, {0, 10, 10, 20}));
    EXPECT_TRUE(IntersectRect(out, {0, 0, 10, 10}, {9, 9, 11, 11}));
    EXPECT_EQ(out, (Rect{9, 9, 10, 10}));
    EXPECT_FALSE(IntersectRect(out, {3, 3, 3, 8}, {0, 0, 10, 10})); // empty input
    EXPECT_TRUE(IntersectRect(out, {-5, -5, 1, 1}, {-2, -3, 4, 4}));
    EXPECT_EQ(out, (Rect{-2, -3, 1, 1}));
}

TEST(Surface, ClsBringsBackThePictureOrTheBackColour) {
    Surface s(4, 3);
    s.setBackColor(0x123456);
    s.PSet(1, 1, 255);
    s.setCurrentX(7);
    s.Cls();
    EXPECT_EQ(s.Point(1, 1), 0x123456);
    EXPECT_EQ(s.CurrentX(), 0);

    QImage pic(2, 2, QImage::Format_RGB32);
    pic.fill(qRgb(0, 0, 255)); // game colour 0xFF0000
    s.setAutoSize(false);
    s.setPicture(pic);
    EXPECT_EQ(s.Width(), 4) << "no AutoSize keeps the size";
    s.FilledBox(0, 0, 3, 2, 0x00FF00);
    s.Cls();
    EXPECT_EQ(s.Point(1, 1), 0xFF0000);
    EXPECT_EQ(s.Point(3, 2), 0x123456) << "outside the picture";

    s.PSet(0, 0, 0);
    s.setBackColor(0xFFFFFF); // a new back colour clears the drawing too
    EXPECT_EQ(s.Point(0, 0), 0xFF0000);
    EXPECT_EQ(s.Point(3, 0), 0xFFFFFF);
    s.clearPicture();
    EXPECT_EQ(s.Point(0, 0), 0xFFFFFF);

    s.setAutoSize(true);
    s.setPicture(pic);
    EXPECT_EQ(s.Width(), 2);
    EXPECT_EQ(s.ScaleHeight(), 2);
}

TEST(Surface, ResizeKeepsTheTopLeftAndFillsTheRest) {
    Surface s(3, 3);
    s.setBackColor(0x0000AA);
    s.PSet(2, 2, 0x00FF00);
    s.setSize(5, 4);
    EXPECT_EQ(s.Point(2, 2), 0x00FF00);
    EXPECT_EQ(s.Point(4, 3), 0x0000AA);
    s.setSize(2, 2);
    EXPECT_EQ(s.Width(), 2);
    EXPECT_EQ(s.Point(2, 2), -1) << "outside";
}

TEST(Surface, LinesLeaveOutTheEndPointAndBoxesCoverBothCorners) {
    Surface s(10, 10);
    s.setBackColor(0);
    s.Line(0, 5, 10, 5, 0x00FF00);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(s.Point(x, 5), 0x00FF00) << x;
    }
    s.Cls();
    s.Line(6, 1, 2, 1, 255);
    EXPECT_EQ(s.Point(2, 1), 0);
    EXPECT_EQ(s.Point(3, 1), 255);
    EXPECT_EQ(s.Point(6, 1), 255);
    EXPECT_EQ(s.CurrentX(), 2);
    EXPECT_EQ(s.CurrentY(), 1);
    s.Cls();
    s.Line(0, 0, 4, 4, 255);
    int lit = 0;
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            lit += s.Point(i, j) == 255;
        }
    }
    EXPECT_EQ(lit, 4);
    EXPECT_EQ(s.Point(3, 3), 255);
    EXPECT_EQ(s.Point(4, 4), 0);
    s.Line(-1e12, -5, 1e12, -7, 255); // far off the surface: nothing, and at once
    s.Line(-1e12, 3, 1e12, 3, 0xFF00);
    EXPECT_EQ(s.Point(9, 3), 0xFF00);

    s.Cls();
    s.Box(2, 2, 5, 4, 0xFFFF);
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) {
            const bool edge =
                x >= 2 && x <= 5 && y >= 2 && y <= 4 && (x == 2 || x == 5 || y == 2 || y == 4);
            EXPECT_EQ(s.Point(x, y), edge ? 0xFFFF : 0) << x << "," << y;
        }
    }
    s.Cls();
    s.setForeColor(0xABCDEF);
    s.FilledBox(7, 8, 8, 6); // corners in any order, fore colour by default
    EXPECT_EQ(s.Point(7, 6), 0xABCDEF);
    EXPECT_EQ(s.Point(8, 8), 0xABCDEF);
    EXPECT_EQ(s.Point(6, 7), 0);
    EXPECT_EQ(s.Point(9, 7), 0);
    s.FilledBox(-5, -5, 100, 100, 0x010203); // clipped
    EXPECT_EQ(s.Point(9, 9), 0x010203);
}

TEST(Surface, BoxesWhollyBesideTheSurfaceDrawNothing) {
    // Beside, not above or below: the rows are on the surface, the columns are not.
    for (const int mode : {drawmode::CopyPen, drawmode::MergeNotPen}) {
        Surface s(10, 10);
        s.setBackColor(0);
        s.setDrawMode(mode);
        s.FilledBox(20, 2, 30, 5, 0xFFFFFF);
        s.FilledBox(-30, 2, -20, 5, 0xFFFFFF);
        s.Box(20, 2, 30, 5, 0xFFFFFF);
        s.Box(-30, 2, -20, 5, 0xFFFFFF);
        s.Line(3, 20, 3, 30, 0xFFFFFF);
        for (int x = 0; x < 10; ++x) {
            for (int y = 0; y < 10; ++y) {
                ASSERT_EQ(s.Point(x, y), 0) << mode << ": " << x << "," << y;
            }
        }
    }
}

TEST(Surface, PicturesPaintedFarOffLeaveTheSurfaceAlone) {
    Surface s(4, 4);
    s.setBackColor(0);
    QImage pic(3, 3, QImage::Format_RGB32);
    pic.fill(Qt::white);
    const int far = std::numeric_limits<int>::max() - 1;
    for (const auto& [x, y] : {std::pair{far, 0}, {0, far}, {-far, 0}, {0, -far}}) {
        s.PaintPicture(pic, x, y);
    }
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y) {
            ASSERT_EQ(s.Point(x, y), 0) << x << "," << y;
        }
    }
    s.PaintPicture(pic, 2, -1);
    EXPECT_EQ(s.Point(3, 1), 0xFFFFFF);
    EXPECT_EQ(s.Point(1, 1), 0);
    EXPECT_EQ(s.Point(3, 2), 0);
}

TEST(Surface, MergeNotPenOrsTheInversePen) {
    Surface s(3, 3);
    s.setBackColor(0x102030);
    s.setDrawMode(drawmode::MergeNotPen);
    s.Box(0, 0, 2, 2, 0x00FFFF);
    EXPECT_EQ(s.Point(0, 0), 0x102030 | 0xFF0000);
    EXPECT_EQ(s.Point(1, 1), 0x102030);
    s.setDrawMode(drawmode::CopyPen);
    s.PSet(1, 1, 0x00FFFF);
    EXPECT_EQ(s.Point(1, 1), 0x00FFFF);
    EXPECT_EQ(s.Point(-1, 0), -1);
    EXPECT_EQ(s.Point(0, 3), -1);
}

TEST(Surface, TextIsMeasuredAndPrintedAtTheCursor) {
    Surface s(300, 120);
    s.setBackColor(0);
    s.setForeColor(0x00FFFF);
    s.setFontName("Courier New");
    s.setFontSize(8);
    const int w = s.TextWidth("W");
    EXPECT_GT(w, 3);
    EXPECT_EQ(s.TextWidth("WWWW"), 4 * w) << "Courier New is fixed pitch";
    EXPECT_EQ(s.TextWidth("iiii"), 4 * w);
    EXPECT_EQ(s.TextWidth(""), 0);
    const int h = s.TextHeight("W");
    EXPECT_GE(h, 11);
    EXPECT_LE(h, 16);
    EXPECT_EQ(s.TextHeight(""), h);
    EXPECT_EQ(s.TextHeight("A\r\nB\r\nC"), 3 * h);
    EXPECT_EQ(s.TextWidth("AB\r\nABCD\r\nA"), 4 * w) << "the widest line";

    s.setFontName("Arial");
    const int arial = s.TextWidth("iiii");
    EXPECT_LT(arial, s.TextWidth("WWWW")) << "Arial is proportional";
    const int regular = s.TextWidth("nnnnnnnn");
    s.setFontBold(true);
    EXPECT_GT(s.TextWidth("nnnnnnnn"), regular);
    s.setFontSize(36);
    EXPECT_GT(s.TextHeight("X"), 3 * h) << "36 points is 48 pixels";

    s.setFontName("courier new");
    s.setFontBold(false);
    s.setFontSize(8);
    s.setCurrentX(10);
    s.setCurrentY(20);
    s.Print("HI");
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_EQ(s.CurrentY(), 20 + h);
    // Hard pixels only, all inside the printed cell.
    std::set<std::int32_t> colours;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            const std::int32_t c = s.Point(x, y);
            colours.insert(c);
            if (c != 0) {
                EXPECT_GE(x, 10);
                EXPECT_LT(x, 10 + 2 * w);
                EXPECT_GE(y, 20);
                EXPECT_LT(y, 20 + h);
            }
        }
    }
    EXPECT_EQ(colours, (std::set<std::int32_t>{0, 0x00FFFF}));

    s.setCurrentX(5);
    s.Print("AB", false);
    EXPECT_EQ(s.CurrentX(), 5 + 2 * w);
    EXPECT_EQ(s.CurrentY(), 20 + h);
    s.Print("C\r\nD");
    EXPECT_EQ(s.CurrentY(), 20 + 3 * h);
}

TEST(Surface, FontPixelSizesRoundHalvesToEven) {
    // 7.875 points are 10.5 pixels at 96 dpi, 10.875 points 14.5: halves go to the even size.
    const auto width = [](double points) {
        Surface s(1, 1);
        s.setFontName("Courier New");
        s.setFontSize(points);
        return s.TextWidth("MMMMMMMMMMMMMMMMMMMM");
    };
    ASSERT_NE(width(7.5), width(8.25)) << "10 and 11 pixels must measure apart";
    EXPECT_EQ(width(7.875), width(7.5));
    ASSERT_NE(width(10.5), width(11.25));
    EXPECT_EQ(width(10.875), width(10.5));
}

TEST(Surface, OpaqueTextFillsItsCellWithTheBackColour) {
    Surface s(60, 30);
    s.setBackColor(0x404040);
    s.FilledBox(0, 0, 59, 29, 0x0000FF);
    s.setForeColor(0xFFFFFF);
    s.setFontName("Fixedsys");
    s.setCurrentX(2);
    s.setCurrentY(1);
    s.Print(" ");
    EXPECT_EQ(s.Point(3, 3), 0x0000FF) << "transparent by default";
    s.setFontTransparent(false);
    s.setCurrentX(2);
    s.setCurrentY(1);
    s.Print(" ");
    EXPECT_EQ(s.Point(3, 3), 0x404040);
    EXPECT_EQ(s.Point(1, 3), 0x0000FF);
}

TEST(Surface, StandInFacesForTheDesktopFaces) {
    EXPECT_EQ(Surface::standInFace("Courier New"), "Liberation Mono");
    EXPECT_EQ(Surface::standInFace("courier new"), "Liberation Mono");
    EXPECT_EQ(Surface::standInFace("Arial"), "Liberation Sans");
    EXPECT_EQ(Surface::standInFace("Tahoma"), "Liberation Sans");
    EXPECT_EQ(Surface::standInFace("Fixedsys"), "DejaVu Sans Mono");
    EXPECT_EQ(Surface::standInFace("Terminal"), "DejaVu Sans Mono");
    EXPECT_EQ(Surface::standInFace("Times New Roman"), "Liberation Serif");
}

TEST(Surface, BmpRoundTripAndLoadErrors) {
    QTemporaryDir dir;
    Surface s(13, 7); // odd width: BMP rows are padded
    fillPattern(s, 0x405060);
    const std::string file = tempPath(dir, "dump.bmp");
    s.SavePicture(file);
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(30);
    EXPECT_EQ(head.left(2), "BM");
    EXPECT_EQ(head[28], 24) << "24 bits per pixel";

    Surface back;
    back.LoadPicture(file);
    EXPECT_EQ(back.Width(), 13);
    EXPECT_EQ(back.Height(), 7);
    EXPECT_EQ(back.image(), s.image());
    back.PSet(0, 0, 0);
    back.Cls();
    EXPECT_EQ(back.Point(0, 0), s.Point(0, 0)) << "the loaded picture comes back";

    EXPECT_EQ(vbErrorNumber([&] { back.LoadPicture(tempPath(dir, "missing.bmp")); }), 53);
    QFile junk(dir.path() + "/junk.bmp");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture at all");
    junk.close();
    EXPECT_EQ(vbErrorNumber([&] { back.LoadPicture(tempPath(dir, "junk.bmp")); }), 481);
    EXPECT_EQ(back.Width(), 13) << "a failed load changes nothing";
    // A save that fails says which file and why, and leaves no part-written picture.
    const std::string nowhere = tempPath(dir, "no/such/folder.bmp");
    try {
        s.SavePicture(nowhere);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 76);
        EXPECT_EQ(e.Description(), "Path not found: \"" + nowhere + "\"");
    }
    QFile::setPermissions(QString::fromStdString(file), QFileDevice::ReadOwner);
    EXPECT_EQ(vbErrorNumber([&] { back.SavePicture(file); }), 70);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no leftover";
}

TEST(Surface, GifLoadsWithItsTransparentColourShowingTheBackColour) {
    QTemporaryDir dir;
    const std::string file = tempPath(dir, "ship_live.gif");
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(gif), sizeof gif);
    f.close();

    Surface s;
    s.setBackColor(0x00FF00 | 0x80);
    s.LoadPicture(file);
    EXPECT_EQ(s.Width(), 3);
    EXPECT_EQ(s.Height(), 2);
    EXPECT_EQ(s.Point(0, 0), 0x0000FF);
    EXPECT_EQ(s.Point(1, 0), 0x00FF00);
    EXPECT_EQ(s.Point(2, 0), 0xFF0000);
    EXPECT_EQ(s.Point(0, 1), 0xFF0000);
    EXPECT_EQ(s.Point(1, 1), 0x00FF80);
    EXPECT_EQ(s.Point(2, 1), 0x0000FF);
}

TEST(Surface, PicturesAreReadAsBmpOrGifOnlyWhateverTheirName) {
    const auto encoded = [](const char* format) {
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, format)) << format;
        return bytes;
    };
    struct Case {
        const char* what;
        QByteArray bytes;
        bool own;        // the programs' pictures
        bool userPicked; // the editor's guide picture
    };
    const QByteArray png = encoded("PNG");
    const Case cases[] = {
        {"BMP", encoded("BMP"), true, true},
        {"GIF", QByteArray(reinterpret_cast<const char*>(gif), sizeof gif), true, true},
        {"PNG", png, false, false},
        {"JPEG", encoded("JPEG"), false, true},
        {"icon", encoded("ICO"), false, true},
        {"PPM", encoded("PPM"), false, false},
        {"PGM", encoded("PGM"), false, false},
        {"XPM", encoded("XPM"), false, false},
        {"XBM", encoded("XBM"), false, false},
        {"a BMP signature before a PNG", "BM" + png, false, false},
        {"a GIF signature before a PNG", "GIF89a" + png, false, false},
        {"a JPEG cut short", encoded("JPEG").left(40), false, false},
    };
    QTemporaryDir dir;
    const std::string file = tempPath(dir, "monster00.bmp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile f(QString::fromStdString(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        for (const PictureFormats allowed : {PictureFormats::Own, PictureFormats::UserPicked}) {
            const bool loads = allowed == PictureFormats::Own ? c.own : c.userPicked;
            Surface s(1, 1);
            try {
                s.LoadPicture(file, allowed);
                EXPECT_TRUE(loads) << "read";
                EXPECT_EQ(s.Width(), 3);
                EXPECT_EQ(s.Height(), 2);
            } catch (const VbError& e) {
                EXPECT_FALSE(loads) << e.Description();
                // The same error as for any bad picture.
                EXPECT_EQ(e.Number(), 481);
                EXPECT_EQ(e.Description(), "Invalid picture: \"" + file + "\"");
                EXPECT_EQ(s.Width(), 1);
            }
        }
        EXPECT_EQ(decodePicture(std::string_view(c.bytes.constData(),
                                                 static_cast<std::size_t>(c.bytes.size())))
                      .isNull(),
                  !c.own);
    }
}

TEST(Surface, RefreshTellsTheViews) {
    Surface s(2, 2);
    int seen = 0;
    QObject::connect(&s, &Surface::refreshed, [&] { ++seen; });
    s.PSet(0, 0, 1);
    EXPECT_EQ(seen, 0);
    s.Refresh();
    s.Refresh();
    EXPECT_EQ(seen, 2);
}

// A redraw that puts back the pixels the views show asks them for nothing; one that changes
// a few pixels asks for those. Changes drawn while nobody listened are not forgotten.
TEST(Surface, TellsTheViewsOnlyThePixelsThatDiffer) {
    Surface s(100, 60);
    s.setBackColor(0);
    std::vector<QRegion> told;
    auto listen = [&] {
        return QObject::connect(&s, &Surface::changed,
                                [&](const QRegion& area) { told.push_back(area); });
    };
    QMetaObject::Connection c = listen();
    s.FilledBox(10, 10, 20, 20, 255);
    s.Refresh();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], QRegion(10, 10, 11, 11));

    told.clear();
    s.Cls();
    s.FilledBox(10, 10, 20, 20, 255);
    s.Refresh();
    EXPECT_TRUE(told.empty()) << "the same picture, drawn again";

    s.Cls();
    s.FilledBox(10, 10, 20, 20, 255);
    s.PSet(70, 40, 65280);
    s.Refresh();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], QRegion(70, 40, 1, 1));

    // Unseen: the box goes while nobody listens, then comes back.
    QObject::disconnect(c);
    s.Cls();
    s.Refresh();
    c = listen();
    told.clear();
    s.FilledBox(10, 10, 20, 20, 255);
    s.Refresh();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].contains(QRect(10, 10, 11, 11)));
}

// A frame's sprites lie scattered over the field: the views are told of each on its own, not
// of the boxes that span them.
TEST(Surface, ScatteredChangesAreToldApart) {
    Surface s(400, 420);
    s.setBackColor(0);
    QRegion told;
    QObject::connect(&s, &Surface::changed, [&](const QRegion& area) { told += area; });
    s.Cls();
    s.Refresh();
    told = QRegion();
    QRegion drawn;
    for (int i = 0; i < 30; ++i) {
        const int x = 10 + (i % 6) * 64;
        const int y = 10 + (i / 6) * 80;
        s.FilledBox(x, y, x + 5, y + 5, 0xFF00FF);
        drawn += QRect(x, y, 6, 6);
    }
    s.Refresh();
    auto area = [](const QRegion& r) {
        int sum = 0;
        for (const QRect& part : r) {
            sum += part.width() * part.height();
        }
        return sum;
    };
    EXPECT_TRUE(told == drawn) << "told of " << area(told) << " pixels for " << area(drawn);
}
