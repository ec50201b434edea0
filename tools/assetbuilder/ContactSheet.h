#pragma once

#include "Catalog.h"

#include <string>

// One PNG for review: every picture under its group heading, with its file name; small
// frames twice as large as in the game, on a dark ground as they are seen in play.
void writeContactSheet(const Catalog& catalog, const std::string& fontFolder,
                       const std::string& path);
