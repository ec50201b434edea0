#pragma once

#include "Image.h"

#include <map>
#include <string>
#include <vector>

// Every picture the builder makes, in the order made, by file name.
struct Picture {
    enum class Kind {
        Frame, // a sprite frame: written stacked, image on white above, mask below
        Plain, // a picture shown as it is; transparent pixels take the background colour
    };
    std::string name; // file name under gfx/hi_color/, e.g. "monster00.bmp"
    Kind kind = Kind::Frame;
    Image image; // transparent where the sprite is not
    Argb background = opaque(0x000000);
    std::string group; // heading on the contact sheet
};

class Catalog {
public:
    // Raises AssetError on a second picture of the same name.
    void add(Picture picture);
    const Picture* find(const std::string& name) const;
    const std::vector<Picture>& all() const { return pictures_; }

private:
    std::vector<Picture> pictures_;
    std::map<std::string, size_t> index_;
};
