#pragma once

#include "Catalog.h"

#include <string>

// Reads the scene source: the larger pictures (pane and panel backgrounds, help page,
// title) drawn from a few readable statements instead of a grid:
//   scene NAME W H [frame]            starts a picture (a sprite frame with "frame")
//   gradient TOP BOTTOM [x y w h]     vertical colour run
//   fill C [x y w h]
//   stars COUNT SEED [colour C] [twinkle C]
//   nebula COUNT SEED C [radius R] [strength S]   soft clouds of colour
//   planet X Y R LIGHT DARK [ring C]
//   box X Y W H C                     a one-pixel frame
//   bevel X Y W H LIGHT DARK          a raised two-tone frame
//   hline Y C [x0 x1]
//   text X Y "TEXT" [font F] [scale N] [top C] [bottom C] [outline C] [shadow C]
//                                     X may be "centre"; then the text is centred
//   stamp NAME X Y [scale N]          a picture made before, transparent parts left out
//   end
// Colours are six hex digits or characters of the default palette.
void readScenes(const std::string& path, const std::string& palettePath,
                const std::string& fontFolder, Catalog& catalog);
