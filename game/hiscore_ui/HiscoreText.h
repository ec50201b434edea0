#pragma once

#include "HiscoreTable.h"
#include "VbTypes.h"

#include <array>
#include <string>

// value as at least nine digits in groups of three ("000,012,345"); a minus sign before a
// negative value.
std::string groupedNineDigits(VbLong value);
// value as at least two digits ("03").
std::string twoDigits(VbLong value);

// One row of the hiscore panel: place, score, level and the first 8 characters of the name.
std::string hiscoreRow(VbLong place, VbLong score, VbLong level, const std::string& name);

struct PanelRows {
    std::array<std::string, 10> Text;
    int Live = -1; // the row of the player's running score, -1 for none
};
// The ten rows the panel shows. With a running game whose score takes place (0-based, from
// GetScorePlace) the live row stands there with "********" and the entries below move down
// one place; the last entry is then not shown.
PanelRows hiscorePanelRows(const HiscoreTable& table, bool gameInPlay, int place, VbLong score,
                           VbLong level);
