#pragma once

#include "LevelFileFormat.h"
#include "LevelRec.h"
#include "VbError.h"

#include <cstdlib>
#include <string_view>

// What every successful read must give, whatever the input: levels the programs can use, and
// (for the editor's readers) a set that each save either refuses or writes so that the game's
// reader and the editor's read it back equal.
namespace fuzzcheck {

inline void require(bool ok) {
    if (!ok) {
        std::abort();
    }
}

inline void usableLevels(const LevelReadResult& r) {
    require(!r.Levels.empty());
    for (const auto& l : r.Levels) {
        require(!l.Aliens.empty());
        require(l.Speed >= minLevelSpeed && l.Speed <= maxLevelSpeed);
        for (const auto& a : l.Aliens) {
            require(a.Type >= minAlienType && a.Type <= maxAlienType);
            require(a.Drops >= minPickupCode && a.Drops <= maxPickupCode);
        }
    }
}

inline void gameReader(std::string_view bytes, ReaderKind kind) {
    const LevelReadResult r = parseLevelFile(bytes, kind);
    if (!r.ok) {
        require(!r.Failure.Description.empty());
        return;
    }
    usableLevels(r);
    for (const auto& l : r.Levels) {
        const LevelRec rec = toLevelRec(l);
        const auto n = rec.AlienDrops.size();
        require(n == l.Aliens.size() && rec.AlienType.size() == n && rec.AlienX.size() == n &&
                rec.AlienY.size() == n && rec.AlienHits.size() == n &&
                rec.AlienShoots.size() == n && rec.AlienScore.size() == n);
    }
}

inline bool sameLevels(const std::vector<EditLevelRec>& a, const LevelReadResult& b) {
    if (!b.ok || a.size() != b.Levels.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const EditLevelRec back = toEditLevel(b.Levels[i]);
        if (back.Name != a[i].Name || back.Speed != a[i].Speed ||
            back.Aliens.size() != a[i].Aliens.size()) {
            return false;
        }
        for (std::size_t j = 0; j < back.Aliens.size(); ++j) {
            const auto &x = back.Aliens[j], &y = a[i].Aliens[j];
            if (x.Type != y.Type || x.X != y.X || x.Y != y.Y || x.Hits != y.Hits ||
                x.Drops != y.Drops || x.Shoots != y.Shoots || x.Score != (y.Type + 1) * 100) {
                return false;
            }
        }
    }
    return true;
}

// A save of a set the editor read: the game's reader of the encoding and the editor's read it
// back as the set, or the save refuses, naming the level, and only where it may.
inline void savedAlike(const std::vector<EditLevelRec>& levels, LevelEncoding encoding,
                       bool mayRefuse) {
    const bool text = encoding == LevelEncoding::Text;
    std::string bytes;
    try {
        bytes = text ? encodeLevelsText(levels) : encodeLevelsBinary(levels);
    } catch (const VbError& e) {
        require(mayRefuse && e.Description().rfind("Level ", 0) == 0);
        return;
    }
    require(sameLevels(
        levels, parseLevelFile(bytes, text ? ReaderKind::EditorText : ReaderKind::EditorBinary)));
    require(sameLevels(
        levels, parseLevelFile(bytes, text ? ReaderKind::GameText : ReaderKind::GameBinary)));
}

inline void editorReader(std::string_view bytes, ReaderKind kind) {
    const LevelReadResult r = parseLevelFile(bytes, kind);
    if (!r.ok) {
        require(!r.Failure.Description.empty());
        return;
    }
    usableLevels(r);
    std::vector<EditLevelRec> levels;
    // What the saves refuse, as they should: what the game would read otherwise.
    bool lineBreakInName = false;
    bool nameUnfitForARecord = false; // a NUL, or too long
    bool hitsPast16Bits = false;
    for (const auto& l : r.Levels) {
        levels.push_back(toEditLevel(l));
        lineBreakInName |= l.Name.find_first_of("\r\n") != std::string::npos;
        nameUnfitForARecord |=
            l.Name.find('\0') != std::string::npos || l.Name.size() + 2 > levelRecordMaxText;
        for (const auto& a : l.Aliens) {
            hitsPast16Bits |= a.Hits < -32768 || a.Hits > 32767;
        }
    }
    savedAlike(levels, LevelEncoding::Binary, nameUnfitForARecord || hitsPast16Bits);
    savedAlike(levels, LevelEncoding::Text, lineBreakInName || hitsPast16Bits);
}

} // namespace fuzzcheck
