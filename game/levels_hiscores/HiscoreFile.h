#pragma once

#include "HiscoreTable.h"
#include "VbTypes.h"

#include <string>
#include <string_view>

// The hiscore file: 128-byte records, each holding one scrambled 10-character field in its
// first 10 bytes. Records 3i, 3i + 1, 3i + 2 are entry i's Score, Level and Name; a table of a
// binary (shipped) level set adds a checksum as record 30.

// The scrambler's shift, shared by the writer, the reader and the hiscore server's table.
inline constexpr VbInteger hiscoreShiftKey = 2653;

inline constexpr std::size_t hiscoreRecordSize = 128;
inline constexpr std::size_t hiscoreFieldSize = 10;
inline constexpr std::size_t hiscoreEntryRecords = 30;

// The hiscore file beside a level file: the name's final ".dat" (any letter case) becomes
// ".hsc"; a name without it gets ".hsc" appended. Never the level file itself.
std::string hiscoreFileName(const std::string& levelFile);

// The whole file. Every table reads back with the same scores, levels and checksum (names
// come back without leading and trailing blanks, cut to 10 characters).
std::string encodeHiscoreFile(const HiscoreTable& table, bool withChecksum);

struct DecodedHiscores {
    HiscoreTable Table;
    bool ChecksumOk = true;
};

// Throws VbError: 62 Input past end of file for a short file, 6 Overflow for a value too
// large for its field, 13 Type mismatch for a number field that holds no number.
DecodedHiscores decodeHiscoreFile(std::string_view bytes, bool withChecksum);
