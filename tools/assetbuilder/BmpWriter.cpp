#include "BmpWriter.h"

#include "SourceText.h"

#include <fstream>

namespace {
void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
} // namespace

void writeBmp(const std::string& path, const Image& image) {
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * image.height;
    std::string out;
    out.reserve(54 + dataBytes);
    out += "BM";
    put32(out, 54 + dataBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40); // BITMAPINFOHEADER
    put32(out, image.width);
    put32(out, image.height); // positive: rows stored bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, dataBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < image.width; ++x) {
            Argb c = image.at(x, y);
            out += static_cast<char>(blueOf(c));
            out += static_cast<char>(greenOf(c));
            out += static_cast<char>(redOf(c));
        }
        out.append(rowBytes - (out.size() - start), '\0');
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file)
        throw AssetError(path + ": cannot write the bitmap");
}
