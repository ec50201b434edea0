#include "HiscoreTable.h"

HiscoreTable defaultHiscores() {
    static const char* const names[10] = {"WHY",   "NOT",  "TRY?", "",     "HIT",
                                          "FIRE!", "....", "....", "....", "...."};
    HiscoreTable t;
    for (int p = 0; p < 10; ++p) {
        t[p] = HiscoreEntry{5000 - 100 * p, names[p], 1};
    }
    return t;
}

VbInteger placeForScore(const HiscoreTable& table, VbLong score) {
    for (VbInteger i = 0; i < static_cast<VbInteger>(table.size()); ++i) {
        if (table[i].Score <= score) {
            return i;
        }
    }
    return -1;
}

void insertHiscore(HiscoreTable& table, VbInteger place, const HiscoreEntry& entry) {
    if (place < 0 || place >= static_cast<VbInteger>(table.size())) {
        return;
    }
    for (std::size_t i = table.size() - 1; i > static_cast<std::size_t>(place); --i) {
        table[i] = table[i - 1];
    }
    table[place] = entry;
}
