#pragma once

#include "Catalog.h"

#include <string>

// Reads a pixel-art source (.pix) into the catalog. A source holds:
//   palette ... end           one "<char> <RRGGBB>" per line ("none" is transparent);
//                             "." is always transparent
//   group "heading"           the contact-sheet heading of the pictures that follow
//   frame NAME [scale N]      a sprite frame: grid rows, then "end"
//   picture NAME [scale N] [background RRGGBB]
//                             a plain picture (GIF keeps its transparency): grid, "end"
//   template NAME            a grid only for "like" (its characters need no colours)
//   frame NAME like OTHER     the grid of OTHER, changed by the lines up to "end":
//                             "map ab cd ..." (a becomes b, c becomes d), "flip"
//   text NAME "TEXT" [font F] [scale N] [top C] [bottom C] [outline C] [shadow C]
//                             a sprite frame of pixel-font lettering
// The palette of palettePath is read first; a file's own palette blocks add to it for
// that file only.
void readPixelArt(const std::string& path, const std::string& palettePath,
                  const std::string& fontFolder, Catalog& catalog);

// A colour word of a source: six hex digits, or one palette character of the default
// palette. Raises AssetError on anything else.
Argb parseColour(const std::string& word, const std::string& palettePath);

// The grid of a frame, picture or template read before, painted with the default
// palette; false when no grid has that name.
bool paintedGrid(const std::string& name, const std::string& palettePath, Image& out);
