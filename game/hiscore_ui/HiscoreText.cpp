#include "HiscoreText.h"

#include <cstdint>

std::string groupedNineDigits(VbLong value) {
    const std::int64_t v = value;
    std::string digits = std::to_string(v < 0 ? -v : v);
    if (digits.size() < 9) {
        digits.insert(0, 9 - digits.size(), '0');
    }
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return v < 0 ? "-" + out : out;
}

std::string twoDigits(VbLong value) {
    const std::int64_t v = value;
    std::string digits = std::to_string(v < 0 ? -v : v);
    if (digits.size() < 2) {
        digits.insert(0, 1, '0');
    }
    return v < 0 ? "-" + digits : digits;
}

std::string hiscoreRow(VbLong place, VbLong score, VbLong level, const std::string& name) {
    return twoDigits(place) + " " + groupedNineDigits(score) + " " + twoDigits(level) + " " +
           name.substr(0, 8);
}

PanelRows hiscorePanelRows(const HiscoreTable& table, bool gameInPlay, int place, VbLong score,
                           VbLong level) {
    PanelRows rows;
    const int live = gameInPlay && place >= 0 && place < 10 ? place : -1;
    rows.Live = live;
    for (int r = 0; r < 10; ++r) {
        if (r == live) {
            rows.Text[r] = hiscoreRow(r + 1, score, level, "********");
            continue;
        }
        const HiscoreEntry& e = table[live >= 0 && r > live ? r - 1 : r];
        rows.Text[r] = hiscoreRow(r + 1, e.Score, e.Level, e.Name);
    }
    return rows;
}
