#pragma once

#include "Image.h"

#include <string>

// Writes a single-frame GIF89a with transparent pixels as the transparent colour index.
// The picture may hold at most 255 opaque colours. Raises AssetError on failure.
void writeGif(const std::string& path, const Image& image);
