#include "HiscoreFile.h"

#include "Numbers.h"
#include "QFTModule.h"
#include "TextCase.h"
#include "VbError.h"

#include <cctype>
#include <cmath>
#include <cstdint>

namespace {

std::string fitField(std::string text) {
    text.resize(hiscoreFieldSize, ' ');
    return text;
}

// A number with the sign blank; a ten-digit value goes without it so that it fits.
std::string numberField(std::int64_t v) {
    const std::string digits = std::to_string(v);
    if (v < 0 || digits.size() >= hiscoreFieldSize) {
        return fitField(digits);
    }
    return fitField(" " + digits);
}

// The checksum is a signed 32-bit sum; a negative one too long for the field is written as
// its unsigned twin, which the reader takes modulo 2^32.
std::string checksumField(std::uint32_t sum) {
    const std::int64_t asSigned = static_cast<std::int32_t>(sum);
    const std::int64_t unsignedTwin = sum;
    return numberField(std::to_string(asSigned).size() <= hiscoreFieldSize ? asSigned
                                                                           : unsignedTwin);
}

std::string trimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return std::string(s);
}

// Our writer and the server's put a decimal number in every number field; anything else
// (letters, nothing at all) means the records are damaged or shifted.
bool holdsNumber(std::string_view field) {
    while (!field.empty() && field.front() == ' ') {
        field.remove_prefix(1);
    }
    while (!field.empty() && field.back() == ' ') {
        field.remove_suffix(1);
    }
    if (!field.empty() && (field.front() == '-' || field.front() == '+')) {
        field.remove_prefix(1);
    }
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < field.size() && digit(field[i])) {
        ++i;
        ++digits;
    }
    if (i < field.size() && field[i] == '.') {
        ++i;
        while (i < field.size() && digit(field[i])) {
            ++i;
            ++digits;
        }
    }
    return digits > 0 && i == field.size();
}

struct FieldValues {
    VbLong score;
    VbInteger level;
    std::string name;
};

// What a reader takes from the three plain fields of one entry.
FieldValues readFields(const std::string& score, const std::string& level,
                       const std::string& name) {
    return {num::toLong(num::leadingNumber(score)), num::toInteger(num::leadingNumber(level)),
            trimSpaces(name)};
}

std::uint32_t checksumPart(const FieldValues& f) {
    return static_cast<std::uint32_t>(f.score) + static_cast<std::uint32_t>(f.level) +
           static_cast<std::uint32_t>(f.name.size());
}

void appendRecord(std::string& out, const std::string& plainField) {
    out += EncryptText(plainField, hiscoreShiftKey);
    out.append(hiscoreRecordSize - hiscoreFieldSize, '\0');
}

std::string plainField(std::string_view bytes, std::size_t record) {
    const std::size_t at = record * hiscoreRecordSize;
    if (bytes.size() < at + hiscoreFieldSize) {
        vberr::raise(vberr::InputPastEnd);
    }
    return DecryptText(std::string(bytes.substr(at, hiscoreFieldSize)), hiscoreShiftKey);
}

std::string numberText(std::string_view bytes, std::size_t record) {
    std::string text = plainField(bytes, record);
    if (!holdsNumber(text)) {
        throw VbError(vberr::TypeMismatch, "Vantorix",
                      vberr::standardDescription(vberr::TypeMismatch) + " (record " +
                          std::to_string(record + 1) + " holds no number)");
    }
    return text;
}

} // namespace

std::string hiscoreFileName(const std::string& levelFile) {
    const auto slash = levelFile.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t n = levelFile.size();
    if (n - nameStart >= 4) {
        if (endsWithNoCase(levelFile, ".dat")) {
            return levelFile.substr(0, n - 4) + ".hsc";
        }
    }
    return levelFile + ".hsc";
}

std::string encodeHiscoreFile(const HiscoreTable& table, bool withChecksum) {
    std::string out;
    out.reserve((hiscoreEntryRecords + 1) * hiscoreRecordSize);
    std::uint32_t sum = 0;
    for (const auto& e : table) {
        const std::string score = numberField(e.Score);
        const std::string level = numberField(e.Level);
        const std::string name = fitField(e.Name);
        appendRecord(out, score);
        appendRecord(out, level);
        appendRecord(out, name);
        // Summed from the fields as the reader will see them, so the two always agree.
        sum += checksumPart(readFields(score, level, name));
    }
    if (withChecksum) {
        appendRecord(out, checksumField(sum));
    }
    return out;
}

DecodedHiscores decodeHiscoreFile(std::string_view bytes, bool withChecksum) {
    DecodedHiscores d;
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < d.Table.size(); ++i) {
        // One record after the other, so a failure names the first damaged one.
        const std::string score = numberText(bytes, 3 * i);
        const std::string level = numberText(bytes, 3 * i + 1);
        const std::string name = plainField(bytes, 3 * i + 2);
        const FieldValues f = readFields(score, level, name);
        d.Table[i] = HiscoreEntry{f.score, f.name, f.level};
        sum += checksumPart(f);
    }
    if (withChecksum) {
        const double stored = num::leadingNumber(numberText(bytes, hiscoreEntryRecords));
        d.ChecksumOk = stored == std::floor(stored) && stored >= -2147483648.0 &&
                       stored < 4294967296.0 &&
                       static_cast<std::uint32_t>(static_cast<std::int64_t>(stored)) == sum;
    }
    return d;
}
