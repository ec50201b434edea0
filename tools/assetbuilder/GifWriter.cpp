#include "GifWriter.h"

#include "SourceText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gif_lib.h>
#include <map>
#include <unistd.h>
#include <vector>

void writeGif(const std::string& path, const Image& image) {
    // Index 0 is kept for the transparent pixels.
    std::map<Argb, int> indexOf;
    std::vector<GifColorType> colours(1, GifColorType{0, 0, 0});
    std::vector<GifByteType> raster(image.pixels.size());
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        Argb c = image.pixels[i];
        if (alphaOf(c) == 0) {
            raster[i] = 0;
            continue;
        }
        Argb rgb = c & 0xFFFFFF;
        auto found = indexOf.find(rgb);
        if (found == indexOf.end()) {
            if (colours.size() == 256)
                throw AssetError(path + ": more than 255 colours for a GIF");
            found = indexOf.emplace(rgb, static_cast<int>(colours.size())).first;
            colours.push_back(GifColorType{static_cast<GifByteType>(redOf(c)),
                                           static_cast<GifByteType>(greenOf(c)),
                                           static_cast<GifByteType>(blueOf(c))});
        }
        raster[i] = static_cast<GifByteType>(found->second);
    }
    int bits = 1;
    while ((1u << bits) < colours.size())
        ++bits;
    colours.resize(1u << bits, GifColorType{0, 0, 0});

    // Created here rather than by giflib, which makes files that only their owner may read;
    // an old file goes first, as opening it would keep its mode.
    unlink(path.c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throw AssetError(path + ": cannot create the GIF (" + std::strerror(errno) + ")");
    int error = 0;
    GifFileType* gif = EGifOpenFileHandle(fd, &error);
    if (!gif) {
        close(fd);
        throw AssetError(path + ": cannot create the GIF (" + GifErrorString(error) + ")");
    }
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    EGifSetGifVersion(gif, true);
    bool ok = map && EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map) == GIF_OK;
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.TransparentColor = 0;
    GifByteType extension[4];
    size_t extensionLength = EGifGCBToExtension(&control, extension);
    ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extensionLength),
                                extension) == GIF_OK;
    ok = ok && EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height; ++y)
        ok = EGifPutLine(gif, raster.data() + static_cast<size_t>(y) * image.width, image.width) ==
             GIF_OK;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    if (!ok)
        throw AssetError(path + ": cannot write the GIF");
}
