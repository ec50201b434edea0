#pragma once

#include "VbTypes.h"

#include <string>
#include <vector>

struct ParsedLevel;

// One level of the game's level table: seven parallel per-alien arrays, all of the level's
// alien count (at least 1), then the speed and the name.
struct LevelRec {
    std::vector<VbInteger> AlienType;
    std::vector<VbInteger> AlienX;
    std::vector<VbInteger> AlienY;
    std::vector<VbInteger> AlienHits;
    std::vector<VbInteger> AlienDrops;
    std::vector<VbInteger> AlienShoots;
    std::vector<VbInteger> AlienScore;
    VbInteger Speed = 0;
    std::string Name;
};

// From a level read by one of the game's readers (all values already 16-bit).
LevelRec toLevelRec(const ParsedLevel& level);
