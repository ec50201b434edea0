#pragma once

#include "Image.h"

#include <string>

// Writes an uncompressed 24-bit Windows bitmap; alpha is dropped (the caller has already
// flattened transparent pixels). Raises AssetError on failure.
void writeBmp(const std::string& path, const Image& image);
