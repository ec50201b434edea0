#pragma once

#include "VbTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// One placed alien of the editor. Type -1 is the placeholder that marks an empty level.
struct EditAlienRec {
    VbInteger Type = 0;
    VbInteger X = 0;
    VbInteger Y = 0;
    VbLong Score = 0;
    VbLong Hits = 0;
    VbLong Drops = 0;
    VbInteger Shoots = 0;
};

// One level of the editor: never without a record (an empty level holds the placeholder).
struct EditLevelRec {
    std::vector<EditAlienRec> Aliens;
    VbInteger Speed = 1;
    std::string Name;
};

inline EditAlienRec placeholderAlien() {
    EditAlienRec a;
    a.Type = -1;
    return a;
}

// "Level n" with one placeholder alien and speed 1: a fresh level.
inline EditLevelRec emptyEditLevel(int number) {
    EditLevelRec l;
    l.Aliens.push_back(placeholderAlien());
    l.Speed = 1;
    l.Name = "Level " + std::to_string(number);
    return l;
}
