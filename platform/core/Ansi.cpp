#include "Ansi.h"

#include <array>
#include <cstdint>

namespace {

// 0x80..0x9F; 0 marks the five unassigned codes, which map to the C1 controls.
constexpr std::array<char16_t, 32> highTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

namespace ansi {

QString toQString(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        if (b >= 0x80 && b <= 0x9F && highTable[b - 0x80] != 0) {
            out.append(QChar(highTable[b - 0x80]));
        } else {
            out.append(QChar(static_cast<char16_t>(b)));
        }
    }
    return out;
}

std::string fromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += static_cast<char>(u);
            continue;
        }
        char mapped = '?';
        for (std::size_t i = 0; i < highTable.size(); ++i) {
            if (highTable[i] == u || (highTable[i] == 0 && u == 0x80 + i)) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        out += mapped;
    }
    return out;
}

} // namespace ansi
