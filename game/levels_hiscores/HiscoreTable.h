#pragma once

#include "VbTypes.h"

#include <array>
#include <string>

struct HiscoreEntry {
    VbLong Score = 0;
    std::string Name;
    VbInteger Level = 0;

    bool operator==(const HiscoreEntry&) const = default;
};

// Index 0 is first place; always sorted by Score, highest first.
using HiscoreTable = std::array<HiscoreEntry, 10>;

// The default table: 5000 down to 4100 in steps of 100, all on level 1.
HiscoreTable defaultHiscores();

// The place a score takes: the first entry it equals or beats (so an equal score goes above),
// -1 when it beats none.
VbInteger placeForScore(const HiscoreTable& table, VbLong score);

// Moves the entries from place down by one (the last one drops out) and puts entry there.
void insertHiscore(HiscoreTable& table, VbInteger place, const HiscoreEntry& entry);
