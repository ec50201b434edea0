#include "LevelFileFormat.h"

#include "Ansi.h"
#include "FileRead.h"
#include "FileWrite.h"
#include "Numbers.h"
#include "QFTModule.h"
#include "TextCase.h"
#include "VbError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr const char* errorSource = "Vantorix";
constexpr VbLong invalidValue = 5;     // "Invalid procedure call or argument"
constexpr VbLong badRecordLength = 59; // an item that does not fit its record
constexpr long integerMin = std::numeric_limits<VbInteger>::min();
constexpr long integerMax = std::numeric_limits<VbInteger>::max();

[[noreturn]] void fail(VbLong number, std::string description) {
    throw VbError(number, errorSource, std::move(description));
}

[[noreturn]] void failStandard(VbLong number) {
    fail(number, vberr::standardDescription(number));
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool isComment(std::string_view item) {
    const auto t = trimBlanks(item);
    return !t.empty() && t.front() == '#';
}

bool isEndItem(std::string_view item) {
    return equalsNoCase(trimBlanks(item), "EOF");
}

bool startsLevel(std::string_view item) {
    return startsWithNoCase(item, "l:");
}

// The whole text as a number: blanks around it, a sign, digits with an optional fraction and
// exponent; nothing else.
std::optional<double> strictNumber(std::string_view text) {
    auto t = trimBlanks(text);
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t.front() == '-') {
            return std::nullopt;
        }
    }
    if (t.empty()) {
        return std::nullopt;
    }
    double v = 0;
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ptr != t.data() + t.size()) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range || !std::isfinite(v)) {
        failStandard(vberr::Overflow);
    }
    if (ec != std::errc()) {
        return std::nullopt;
    }
    return v;
}

std::int32_t toWidth(double v, bool wide) {
    return wide ? num::toLong(v) : num::toInteger(v);
}

// Items of the text encoding: whole lines for the grammar, comma- or line-separated fields for
// the alien values. Lines end in CR LF, CR or LF.
class TextItems {
public:
    explicit TextItems(std::string_view bytes) : s_(bytes) {}

    bool next(std::string& out) {
        if (pos_ >= s_.size()) {
            return false;
        }
        std::size_t end = pos_;
        while (end < s_.size() && s_[end] != '\r' && s_[end] != '\n') {
            ++end;
        }
        out.assign(s_.substr(pos_, end - pos_));
        pos_ = end;
        skipLineEnd();
        return true;
    }

    // The next field: leading blanks and line ends are skipped; the field ends at a comma, a
    // line end or the end of input, and that one delimiter is consumed.
    bool field(std::string_view& out) {
        while (pos_ < s_.size() && (isBlank(s_[pos_]) || s_[pos_] == '\r' || s_[pos_] == '\n')) {
            ++pos_;
        }
        if (pos_ >= s_.size()) {
            return false;
        }
        std::size_t end = pos_;
        while (end < s_.size() && s_[end] != ',' && s_[end] != '\r' && s_[end] != '\n') {
            ++end;
        }
        out = s_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < s_.size() && s_[pos_] == ',') {
            ++pos_;
        } else {
            skipLineEnd();
        }
        return true;
    }

private:
    void skipLineEnd() {
        if (pos_ < s_.size() && s_[pos_] == '\r') {
            ++pos_;
        }
        if (pos_ < s_.size() && s_[pos_] == '\n') {
            ++pos_;
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

// Items of the binary encoding: one per 128-byte record. The filler of the last record may be
// missing; a record whose length word or text is cut off, or whose length exceeds 126, is
// corrupt.
class RecordItems {
public:
    explicit RecordItems(std::string_view bytes) : s_(bytes) {}

    bool next(std::string& out) {
        if (pos_ >= s_.size()) {
            return false;
        }
        if (s_.size() - pos_ < 2) {
            failStandard(vberr::InputPastEnd);
        }
        const std::size_t n =
            static_cast<unsigned char>(s_[pos_]) |
            (static_cast<std::size_t>(static_cast<unsigned char>(s_[pos_ + 1])) << 8);
        if (n > levelRecordMaxText) {
            fail(badRecordLength, "Bad record length");
        }
        if (s_.size() - pos_ - 2 < n) {
            failStandard(vberr::InputPastEnd);
        }
        out.assign(s_.substr(pos_ + 2, n));
        pos_ += levelRecordSize;
        return true;
    }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

struct Profile {
    bool binary = false;
    bool nulTopLevel = false;
    bool nulInLevel = false;
    bool leadingNumberValues = false; // else strict
    bool wideHitsDropsScore = false;
    // The editor decides emptiness by the first record alone and cannot show a placeholder
    // among real aliens.
    bool placeholderOnlyFirst = false;
};

Profile profileFor(ReaderKind reader) {
    switch (reader) {
    case ReaderKind::GameText:
        return {false, false, false, false, false};
    case ReaderKind::GameBinary:
        return {true, true, true, true, false};
    case ReaderKind::EditorText:
        return {false, false, false, false, true, true};
    case ReaderKind::EditorBinary:
        return {true, false, true, false, true, true};
    }
    return {};
}

std::string levelPlace(std::size_t level) {
    return "Level " + std::to_string(level + 1);
}

std::string alienPlace(std::size_t level, std::size_t alien) {
    return levelPlace(level) + ", alien " + std::to_string(alien + 1);
}

// The limits every reader holds a set to, in one place for the readers and the writers.
void checkLevelCount(std::size_t levels) {
    // The programs count levels in 16 bits.
    if (levels > static_cast<std::size_t>(maxLevels)) {
        fail(vberr::Overflow, levelPlace(maxLevels) + ": a set holds at most " +
                                  std::to_string(maxLevels) + " levels.");
    }
}

void checkSpeed(long speed, std::size_t level) {
    if (speed < minLevelSpeed || speed > maxLevelSpeed) {
        fail(invalidValue,
             levelPlace(level) + ": the speed " + std::to_string(speed) + " is outside 1 to 50.");
    }
}

// The place of an alien is named only in a failure's message: building it for every alien
// would cost more than the checks themselves.
void checkAlien(long type, long drops, std::size_t level, std::size_t alien) {
    if (type < minAlienType || type > maxAlienType) {
        fail(invalidValue, alienPlace(level, alien) + ": the alien type " + std::to_string(type) +
                               " is outside -1 to 10.");
    }
    if (drops < minPickupCode || drops > maxPickupCode) {
        fail(invalidValue, alienPlace(level, alien) + ": the pickup code " + std::to_string(drops) +
                               " is outside -1 to 25.");
    }
}

// The editor decides emptiness by the first record alone and cannot show a placeholder among
// real aliens.
void checkPlaceholder(long firstType, long type, std::size_t level, std::size_t alien) {
    if (type == -1 && alien > 0 && firstType != -1) {
        fail(invalidValue, alienPlace(level, alien) + ": a placeholder stands among real aliens.");
    }
}

template <class Items> class Parser {
public:
    Parser(std::string_view bytes, Profile p) : items_(bytes), p_(p) {}

    void run(std::vector<ParsedLevel>& levels) {
        std::string item;
        while (items_.next(item)) {
            if (p_.nulTopLevel) {
                item = NulDelimitedText(item);
            }
            if (isComment(item)) {
                continue;
            }
            if (isEndItem(item)) {
                break;
            }
            if (!startsLevel(item)) {
                continue;
            }
            checkLevelCount(levels.size() + 1);
            ParsedLevel level;
            level.Name = item.substr(2);
            readLevelBody(level, levels.size());
            levels.push_back(std::move(level));
        }
        if (levels.empty()) {
            fail(invalidValue, "The file holds no level.");
        }
    }

private:
    std::string inLevelItem() {
        std::string item;
        if (!items_.next(item)) {
            failStandard(vberr::InputPastEnd);
        }
        return p_.nulInLevel ? NulDelimitedText(item) : item;
    }

    void readLevelBody(ParsedLevel& level, std::size_t index) {
        const std::string speedItem = inLevelItem();
        // The speed item's first two characters are dropped unread.
        const std::string_view speedText =
            speedItem.size() >= 2 ? std::string_view(speedItem).substr(2) : std::string_view();
        level.Speed = num::toInteger(num::leadingNumber(speedText));
        checkSpeed(level.Speed, index);
        const VbInteger count = num::toInteger(num::leadingNumber(inLevelItem()));
        if (count < 1) {
            fail(invalidValue,
                 levelPlace(index) + ": the alien count " + std::to_string(count) + " is below 1.");
        }
        level.Aliens.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), 1024));
        for (VbInteger i = 0; i < count; ++i) {
            ParsedAlien a;
            a.Type = value(false);
            a.X = value(false);
            a.Y = value(false);
            a.Hits = value(p_.wideHitsDropsScore);
            a.Drops = value(p_.wideHitsDropsScore);
            a.Shoots = value(false);
            a.Score = value(p_.wideHitsDropsScore);
            const auto alien = static_cast<std::size_t>(i);
            checkAlien(a.Type, a.Drops, index, alien);
            if (p_.placeholderOnlyFirst && i > 0) {
                checkPlaceholder(level.Aliens.front().Type, a.Type, index, alien);
            }
            level.Aliens.push_back(a);
        }
    }

    std::int32_t value(bool wide);

    Items items_;
    Profile p_;
};

template <> std::int32_t Parser<TextItems>::value(bool wide) {
    std::string_view field;
    if (!items_.field(field)) {
        failStandard(vberr::InputPastEnd);
    }
    const auto v = strictNumber(field);
    if (!v) {
        failStandard(vberr::TypeMismatch);
    }
    return toWidth(*v, wide);
}

template <> std::int32_t Parser<RecordItems>::value(bool wide) {
    const std::string item = inLevelItem();
    if (p_.leadingNumberValues) {
        return toWidth(num::leadingNumber(item), wide);
    }
    const auto v = strictNumber(item);
    if (!v) {
        failStandard(vberr::TypeMismatch);
    }
    return toWidth(*v, wide);
}

void appendRecord(std::string& out, const std::string& text) {
    if (text.size() > levelRecordMaxText) {
        fail(badRecordLength, "Bad record length");
    }
    out.push_back(static_cast<char>(text.size() & 0xFF));
    out.push_back(static_cast<char>(text.size() >> 8));
    out += text;
    out.append(levelRecordSize - 2 - text.size(), '\0');
}

// The records the writers write for one alien: Score always follows from the type.
std::array<std::int32_t, 7> alienValues(const EditAlienRec& a) {
    return {a.Type, a.X, a.Y, a.Hits, a.Drops, a.Shoots, (a.Type + 1) * 100};
}

const std::vector<EditAlienRec>& aliensToWrite(const EditLevelRec& level,
                                               std::vector<EditAlienRec>& placeholder) {
    if (!level.Aliens.empty()) {
        return level.Aliens;
    }
    placeholder.assign(1, placeholderAlien());
    return placeholder;
}

// A save writes only what the game's reader of its encoding and the editor's read back as the
// same set; everything else is refused here, naming the level, before a byte is written.
void checkWritable(const std::vector<EditLevelRec>& levels, LevelEncoding encoding) {
    if (levels.empty()) {
        fail(invalidValue, "The set holds no level.");
    }
    checkLevelCount(levels.size());
    for (std::size_t l = 0; l < levels.size(); ++l) {
        const EditLevelRec& level = levels[l];
        if (encoding == LevelEncoding::Text) {
            if (level.Name.find_first_of("\r\n") != std::string::npos) {
                fail(invalidValue, levelPlace(l) + ": the name holds a line break.");
            }
        } else {
            // The game's binary reader keeps only what stands between a record's NULs.
            if (level.Name.find('\0') != std::string::npos) {
                fail(invalidValue, levelPlace(l) + ": the name holds a NUL character.");
            }
            if (level.Name.size() + 2 > levelRecordMaxText) {
                fail(badRecordLength, levelPlace(l) + ": the name is longer than " +
                                          std::to_string(levelRecordMaxText - 2) + " characters.");
            }
        }
        checkSpeed(level.Speed, l);
        // The count is read in 16 bits.
        if (level.Aliens.size() > static_cast<std::size_t>(integerMax)) {
            fail(vberr::Overflow, levelPlace(l) + ": a level holds at most " +
                                      std::to_string(integerMax) + " aliens.");
        }
        for (std::size_t i = 0; i < level.Aliens.size(); ++i) {
            const EditAlienRec& a = level.Aliens[i];
            checkAlien(a.Type, a.Drops, l, i);
            // The editor counts hits in 32 bits, the game in 16.
            if (a.Hits < integerMin || a.Hits > integerMax) {
                fail(vberr::Overflow, alienPlace(l, i) + ": the hit count " +
                                          std::to_string(a.Hits) + " is outside " +
                                          std::to_string(integerMin) + " to " +
                                          std::to_string(integerMax) + ".");
            }
            checkPlaceholder(level.Aliens.front().Type, a.Type, l, i);
        }
    }
}

// What went wrong and the file it is in, in the form of every file error.
std::string namingFile(std::string description, const std::string& path) {
    if (!description.empty() && description.back() == '.') {
        description.pop_back();
    }
    return fileErrorText(description, path);
}

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// Text editors often save with a byte-order mark. A UTF-8 one is dropped and the text turned
// into the programs' single-byte texts, so the first level and the names survive; a UTF-16
// file cannot be read as text at all and says so.
std::string_view plainText(std::string_view bytes, std::string& converted) {
    if (startsWith(bytes, utf8Mark)) {
        bytes.remove_prefix(utf8Mark.size());
        converted = ansi::fromQString(
            QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
        return converted;
    }
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        fail(invalidValue, "The file is saved as UTF-16 text; save it as ANSI or UTF-8 text.");
    }
    return bytes;
}

} // namespace

LevelReadResult parseLevelFile(std::string_view bytes, ReaderKind reader) {
    LevelReadResult result;
    const Profile p = profileFor(reader);
    try {
        if (p.binary) {
            Parser<RecordItems>(bytes, p).run(result.Levels);
        } else {
            std::string converted;
            Parser<TextItems>(plainText(bytes, converted), p).run(result.Levels);
        }
        result.ok = true;
    } catch (const VbError& e) {
        result.ok = false;
        result.Failure = {e.Number(), e.Description()};
    } catch (const std::bad_alloc&) {
        result.ok = false;
        result.Failure = {vberr::OutOfMemory, vberr::standardDescription(vberr::OutOfMemory)};
    }
    return result;
}

LevelReadResult readLevelFile(const std::string& path, ReaderKind reader) {
    std::string bytes;
    try {
        const bool binary = profileFor(reader).binary;
        bytes = readFile(path, binary ? FileKind::LevelBinary : FileKind::LevelText);
    } catch (const VbError& e) {
        LevelReadResult r;
        r.Failure = {e.Number(), e.Description()};
        return r;
    }
    LevelReadResult r = parseLevelFile(bytes, reader);
    if (!r.ok) {
        r.Failure.Description = namingFile(r.Failure.Description, path);
    }
    return r;
}

std::string encodeLevelsText(const std::vector<EditLevelRec>& levels) {
    checkWritable(levels, LevelEncoding::Text);
    std::string out;
    std::vector<EditAlienRec> placeholder;
    for (const auto& level : levels) {
        const auto& aliens = aliensToWrite(level, placeholder);
        out += "l:" + level.Name + "\r\n";
        out += "s:" + std::to_string(level.Speed) + "\r\n";
        out += std::to_string(aliens.size()) + "\r\n";
        for (const auto& a : aliens) {
            const auto v = alienValues(a);
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (i > 0) {
                    out += ',';
                }
                out += std::to_string(v[i]);
            }
            out += "\r\n";
        }
    }
    return out;
}

std::string encodeLevelsBinary(const std::vector<EditLevelRec>& levels) {
    checkWritable(levels, LevelEncoding::Binary);
    std::size_t records = 0;
    for (const auto& level : levels) {
        records += 3 + 7 * std::max<std::size_t>(level.Aliens.size(), 1);
    }
    std::string out;
    out.reserve(records * levelRecordSize);
    std::vector<EditAlienRec> placeholder;
    for (const auto& level : levels) {
        const auto& aliens = aliensToWrite(level, placeholder);
        appendRecord(out, "l:" + level.Name);
        appendRecord(out, "s:" + std::to_string(level.Speed));
        appendRecord(out, std::to_string(aliens.size()));
        for (const auto& a : aliens) {
            for (const auto v : alienValues(a)) {
                appendRecord(out, std::to_string(v));
            }
        }
    }
    return out;
}

void writeLevelFile(const std::string& path, const std::vector<EditLevelRec>& levels,
                    LevelEncoding encoding) {
    std::string bytes;
    try {
        bytes =
            encoding == LevelEncoding::Text ? encodeLevelsText(levels) : encodeLevelsBinary(levels);
    } catch (const VbError& e) {
        throw VbError(e.Number(), e.Source(), namingFile(e.Description(), path));
    }
    // The binary save replaces the old file whatever its attributes.
    writeFileAtomically(path, bytes,
                        encoding == LevelEncoding::Text ? ExistingFile::Respect
                                                        : ExistingFile::Replace);
}

EditLevelRec toEditLevel(const ParsedLevel& level) {
    EditLevelRec out;
    out.Name = level.Name;
    out.Speed = level.Speed;
    out.Aliens.reserve(level.Aliens.size());
    for (const auto& a : level.Aliens) {
        EditAlienRec e;
        e.Type = static_cast<VbInteger>(a.Type);
        e.X = static_cast<VbInteger>(a.X);
        e.Y = static_cast<VbInteger>(a.Y);
        e.Score = a.Score;
        e.Hits = a.Hits;
        e.Drops = a.Drops;
        e.Shoots = static_cast<VbInteger>(a.Shoots);
        out.Aliens.push_back(e);
    }
    return out;
}
