#pragma once

#include "EditLevelRec.h"
#include "VbTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The level file: one level set in either of two encodings, line-oriented text or 128-byte
// records. Nothing in a file tells which, so the caller picks the reader. The game and the
// editor each have a reader for both encodings; they share one grammar and differ only in
// their tolerance (see ReaderKind).

enum class LevelEncoding { Text, Binary };

enum class ReaderKind {
    GameText,     // alien values all 16-bit
    GameBinary,   // every record NUL-delimited; values are the leading number ("12abc" is 12)
    EditorText,   // Hits, Drops, Score 32-bit
    EditorBinary, // top-level records taken as stored; values converted strictly
};

inline constexpr std::size_t levelRecordSize = 128;
inline constexpr std::size_t levelRecordMaxText = 126;

// Ranges the programs can play or edit; a file outside them is a failed load.
inline constexpr int minAlienType = -1;
inline constexpr int maxAlienType = 10;
inline constexpr int minPickupCode = -1;
inline constexpr int maxPickupCode = 25;
inline constexpr int minLevelSpeed = 1;
inline constexpr int maxLevelSpeed = 50;
inline constexpr int maxLevels = 32767;

// Alien values widened to 32 bits; each reader has checked them against its own widths.
struct ParsedAlien {
    std::int32_t Type = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Hits = 0;
    std::int32_t Drops = 0;
    std::int32_t Shoots = 0;
    std::int32_t Score = 0;
};

struct ParsedLevel {
    std::string Name;
    VbInteger Speed = 0;
    std::vector<ParsedAlien> Aliens; // never empty
};

struct LevelFileFailure {
    VbLong Number = 0;
    std::string Description;
};

struct LevelReadResult {
    bool ok = false;
    // Complete levels in file order; after a failure, those read before it.
    std::vector<ParsedLevel> Levels;
    LevelFileFailure Failure;
};

// Applies the grammar to a whole file's bytes. Never throws for any input.
LevelReadResult parseLevelFile(std::string_view bytes, ReaderKind reader);

// Reads the file at path and parses it; an unreadable file is a failed read.
LevelReadResult readLevelFile(const std::string& path, ReaderKind reader);

// The writers. Score is never taken from a record: it is always (Type + 1) * 100. A level
// without records is written as one placeholder. They write only what the game's reader of
// the encoding and the editor's read back as the same set, and throw VbError naming the
// level for anything else: a name with a line break (text), a name with a NUL or too long
// for its record (binary), a value outside what a reader takes (a speed outside 1 to 50, a
// type or pickup code outside its range, hits beyond 16 bits, a placeholder among real
// aliens, more than 32767 aliens or levels).
std::string encodeLevelsText(const std::vector<EditLevelRec>& levels);
std::string encodeLevelsBinary(const std::vector<EditLevelRec>& levels);

// Writes the encoding to path through a temporary file, so the old file survives any failure.
// Throws VbError (number and description of the failure).
void writeLevelFile(const std::string& path, const std::vector<EditLevelRec>& levels,
                    LevelEncoding encoding);

EditLevelRec toEditLevel(const ParsedLevel& level);
