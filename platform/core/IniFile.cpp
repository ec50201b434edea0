#include "IniFile.h"

#include "Ansi.h"
#include "TextCase.h"

#include <QString>
#include <algorithm>

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

bool isHex(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c - 'A' + 10;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// Section and key names: letters, digits, "_", "-" and "." as they are, "/" as "\", the rest
// "%XX" (or "%UXXXX" beyond Latin-1).
std::string escapedName(const std::string& name) {
    const QString q = ansi::toQString(name);
    std::string out;
    for (const QChar qc : q) {
        const char16_t c = qc.unicode();
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '_' || c == '-' || c == '.') {
            out += static_cast<char>(c);
        } else if (c == '/') {
            out += '\\';
        } else if (c <= 0xFF) {
            out += '%';
            out += hexDigits[c >> 4];
            out += hexDigits[c & 0xF];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4) {
                out += hexDigits[(c >> shift) & 0xF];
            }
        }
    }
    return out;
}

std::string unescapedName(std::string_view raw) {
    QString out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\') {
            out += QLatin1Char('/');
        } else if (c == '%' && i + 5 < raw.size() && raw[i + 1] == 'U' && isHex(raw[i + 2]) &&
                   isHex(raw[i + 3]) && isHex(raw[i + 4]) && isHex(raw[i + 5])) {
            int v = 0;
            for (std::size_t k = 2; k < 6; ++k) {
                v = v * 16 + hexValue(raw[i + k]);
            }
            out += QChar(static_cast<char16_t>(v));
            i += 5;
        } else if (c == '%' && i + 2 < raw.size() && isHex(raw[i + 1]) && isHex(raw[i + 2])) {
            out += QChar(static_cast<char16_t>(hexValue(raw[i + 1]) * 16 + hexValue(raw[i + 2])));
            i += 2;
        } else {
            out += QString::fromUtf8(&raw[i], 1);
        }
    }
    return ansi::fromQString(out);
}

std::string escapedValue(const std::string& value) {
    const QString q = ansi::toQString(value);
    std::string out;
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    if (q.startsWith(QLatin1Char('@'))) {
        out += '@';
    }
    for (const QChar qc : q) {
        const char16_t c = qc.unicode();
        if (c == ';' || c == ',' || c == '=') {
            needsQuotes = true;
        }
        // A reader takes every hex digit after "\x" or "\0", so the next one is escaped too.
        if (escapeNextIfHex && isHex(c)) {
            out += "\\x";
            out += hexDigits[c >> 4];
            out += hexDigits[c & 0xF];
            continue;
        }
        escapeNextIfHex = false;
        switch (c) {
        case 0:
            out += "\\0";
            escapeNextIfHex = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += static_cast<char>(c);
            break;
        default:
            if (c <= 0x1F) {
                out += "\\x";
                out += hexDigits[c >> 4];
                out += hexDigits[c & 0xF];
                escapeNextIfHex = true;
            } else {
                out += QString(qc).toUtf8().toStdString();
            }
        }
    }
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) {
        out = '"' + out + '"';
    }
    return out;
}

std::string unescapedValue(std::string_view raw) {
    raw = trimmed(raw);
    QString out;
    std::string plain; // UTF-8 bytes not yet added
    const auto flush = [&] {
        out += QString::fromUtf8(plain.data(), static_cast<qsizetype>(plain.size()));
        plain.clear();
    };
    const auto addCode = [&](unsigned code) {
        flush();
        out += QChar(static_cast<char16_t>(code & 0xFFFF));
    };
    bool quoted = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            break; // a comment
        } else if (c == '\\' && i + 1 < raw.size()) {
            const char e = raw[++i];
            switch (e) {
            case 'a':
                addCode('\a');
                break;
            case 'b':
                addCode('\b');
                break;
            case 'f':
                addCode('\f');
                break;
            case 'n':
                addCode('\n');
                break;
            case 'r':
                addCode('\r');
                break;
            case 't':
                addCode('\t');
                break;
            case 'v':
                addCode('\v');
                break;
            case 'x': {
                unsigned code = 0;
                int digits = 0;
                while (i + 1 < raw.size() && isHex(raw[i + 1]) && digits < 4) {
                    code = code * 16 + static_cast<unsigned>(hexValue(raw[++i]));
                    ++digits;
                }
                addCode(code);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    unsigned code = static_cast<unsigned>(e - '0');
                    int digits = 1;
                    while (i + 1 < raw.size() && raw[i + 1] >= '0' && raw[i + 1] <= '7' &&
                           digits < 3) {
                        code = code * 8 + static_cast<unsigned>(raw[++i] - '0');
                        ++digits;
                    }
                    addCode(code);
                } else {
                    plain += e; // \" \\ \; \, and the like: the character itself
                }
            }
        } else {
            plain += c;
        }
    }
    flush();
    if (out.startsWith(QLatin1String("@@"))) {
        out.remove(0, 1);
    }
    return ansi::fromQString(out);
}

} // namespace

IniFile IniFile::parse(std::string_view bytes) {
    // A text editor may have saved it with a byte-order mark.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    IniFile ini;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = trimmed(bytes.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                current = nullptr;
                continue;
            }
            const std::string name = unescapedName(line.substr(1, close - 1));
            current = ini.find(name);
            if (!current) {
                ini.sections_.push_back(Section{name, {}});
                current = &ini.sections_.back();
            }
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || trimmed(line.substr(0, eq)).empty()) {
            continue;
        }
        if (!current) {
            // Keys before any section belong to the general group.
            current = ini.find("General");
            if (!current) {
                ini.sections_.push_back(Section{"General", {}});
                current = &ini.sections_.back();
            }
        }
        current->entries.emplace_back(unescapedName(trimmed(line.substr(0, eq))),
                                      unescapedValue(line.substr(eq + 1)));
    }
    return ini;
}

std::string IniFile::text() const {
    std::string out;
    for (const Section& s : sections_) {
        if (s.entries.empty()) {
            continue;
        }
        if (!out.empty()) {
            out += '\n';
        }
        out += '[' + escapedName(s.name) + "]\n";
        for (const auto& [key, value] : s.entries) {
            out += escapedName(key) + '=' + escapedValue(value) + '\n';
        }
    }
    return out;
}

IniFile::Section* IniFile::find(const std::string& name) {
    for (Section& s : sections_) {
        if (equalsNoCase(s.name, name)) {
            return &s;
        }
    }
    return nullptr;
}

const IniFile::Section* IniFile::find(const std::string& name) const {
    return const_cast<IniFile*>(this)->find(name);
}

std::optional<std::string> IniFile::value(const std::string& section,
                                          const std::string& key) const {
    const Section* s = find(section);
    if (!s) {
        return std::nullopt;
    }
    // A key written twice: the later line counts.
    for (auto it = s->entries.rbegin(); it != s->entries.rend(); ++it) {
        if (equalsNoCase(it->first, key)) {
            return it->second;
        }
    }
    return std::nullopt;
}

void IniFile::setValue(const std::string& section, const std::string& key,
                       const std::string& value) {
    Section* s = find(section);
    if (!s) {
        sections_.push_back(Section{section, {}});
        s = &sections_.back();
    }
    bool set = false;
    auto& entries = s->entries;
    for (auto it = entries.begin(); it != entries.end();) {
        if (!equalsNoCase(it->first, key)) {
            ++it;
        } else if (!set) {
            it->first = key;
            it->second = value;
            set = true;
            ++it;
        } else {
            it = entries.erase(it);
        }
    }
    if (!set) {
        entries.emplace_back(key, value);
    }
}

void IniFile::remove(const std::string& section, const std::optional<std::string>& key) {
    Section* s = find(section);
    if (!s) {
        return;
    }
    if (!key) {
        sections_.erase(sections_.begin() + (s - sections_.data()));
        return;
    }
    auto& entries = s->entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const auto& e) { return equalsNoCase(e.first, *key); }),
                  entries.end());
}
