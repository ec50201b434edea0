#include "PictureWriter.h"

#include "BmpWriter.h"
#include "GifWriter.h"
#include "SourceText.h"

Image stackedFrame(const Image& frame) {
    Image out(frame.width, frame.height * 2, opaque(0xFFFFFF));
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            Argb c = frame.at(x, y);
            if (alphaOf(c) == 0)
                continue;
            out.set(x, y, (c & 0xFFFFFF) == 0xFFFFFF ? opaque(0xFEFEFE) : opaque(c));
            out.set(x, frame.height + y, opaque(0x000000));
        }
    return out;
}

static Image flattened(const Picture& picture) {
    Image out(picture.image.width, picture.image.height, picture.background);
    out.draw(picture.image, 0, 0);
    return out;
}

static bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void writePictures(const Catalog& catalog, const std::string& folder) {
    for (const Picture& picture : catalog.all()) {
        const std::string path = folder + "/" + picture.name;
        if (endsWith(picture.name, ".gif")) {
            writeGif(path, picture.image);
        } else if (endsWith(picture.name, ".bmp")) {
            writeBmp(path, picture.kind == Picture::Kind::Frame ? stackedFrame(picture.image)
                                                                : flattened(picture));
        } else {
            throw AssetError(picture.name + ": a picture is a .bmp or a .gif");
        }
    }
}
