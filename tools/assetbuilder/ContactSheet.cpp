#include "ContactSheet.h"

#include "PixelFont.h"
#include "SourceText.h"

#include <QImage>
#include <algorithm>

namespace {
constexpr int kSheetWidth = 1400;
constexpr int kGap = 10;
constexpr Argb kGround = opaque(0x14142a);

struct Placed {
    const Picture* picture;
    int x, y, scale;
};
} // namespace

void writeContactSheet(const Catalog& catalog, const std::string& fontFolder,
                       const std::string& path) {
    const PixelFont& small = fontNamed(fontFolder, "small");
    const PixelFont& big = fontNamed(fontFolder, "big");
    const int labelHeight = small.height() + 4;

    // Lay out first, then paint: the sheet's height depends on the layout.
    std::vector<Placed> placed;
    std::vector<std::pair<std::string, int>> headings;
    int x = kGap, y = kGap, rowHeight = 0;
    std::string group;
    for (const Picture& picture : catalog.all()) {
        if (picture.group != group) {
            group = picture.group;
            y += rowHeight + (placed.empty() ? 0 : 2 * kGap);
            headings.emplace_back(group, y);
            y += big.height() * 2 + kGap;
            x = kGap;
            rowHeight = 0;
        }
        int scale = std::max(picture.image.width, picture.image.height) <= 100 ? 2 : 1;
        int w = std::max(picture.image.width * scale, small.textWidth(picture.name));
        int h = picture.image.height * scale + labelHeight;
        if (x + w > kSheetWidth - kGap && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({&picture, x, y, scale});
        x += w + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    Image sheet(kSheetWidth, y + rowHeight + kGap, opaque(0x2a2a3a));
    TextStyle heading;
    heading.scale = 2;
    heading.top = opaque(0xffe03a);
    heading.bottom = opaque(0xff8c1a);
    for (const auto& [title, top] : headings)
        sheet.draw(renderText(big, title, heading), kGap, top);
    TextStyle label;
    label.top = opaque(0xd0d0e0);
    for (const Placed& p : placed) {
        const Image& art = p.picture->image;
        Image shown(art.width, art.height,
                    p.picture->kind == Picture::Kind::Frame ? kGround : p.picture->background);
        shown.draw(art, 0, 0);
        sheet.draw(scaled(shown, p.scale), p.x, p.y);
        sheet.draw(renderText(small, p.picture->name, label), p.x, p.y + art.height * p.scale + 2);
    }
    QImage out(sheet.width, sheet.height, QImage::Format_RGB32);
    for (int yy = 0; yy < sheet.height; ++yy)
        for (int xx = 0; xx < sheet.width; ++xx)
            out.setPixel(xx, yy, sheet.at(xx, yy));
    if (!out.save(QString::fromStdString(path), "PNG"))
        throw AssetError(path + ": cannot write the contact sheet");
}
