#pragma once

#include "Catalog.h"

#include <string>

// A sprite frame as the game loads it: the image on white above, its mask (black where
// the sprite is, white elsewhere) below, so the picture is twice the frame's height.
// An opaque pure white pixel is written as 0xFEFEFE so that white means "not the sprite"
// in both halves.
Image stackedFrame(const Image& frame);

// Writes every picture of the catalog into folder: .bmp as 24-bit bitmaps (frames
// stacked), .gif with their transparency. Raises AssetError on failure.
void writePictures(const Catalog& catalog, const std::string& folder);
