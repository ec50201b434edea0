// Paths, files and the text transformations of the shared helper module.
#include "QFTModule.h"

#include "FileRead.h"
#include "VbError.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string appPathOverride;

std::string withOneTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    if (folder != "/") {
        folder += '/';
    }
    return folder;
}

std::string programFolder() {
    if (QCoreApplication::instance()) {
        return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    }
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec).string() : exe.parent_path().string();
}

// Case-insensitive wildcard match ("*" any run, "?" one character), as the Windows file
// search does it: a pattern ending in ".*" also matches names without an extension.
bool wildcardMatch(const QString& name, const QString& pattern) {
    const auto n = name.toCaseFolded();
    const auto p = pattern.toCaseFolded();
    qsizetype ni = 0;
    qsizetype pi = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == QLatin1Char('?') || p[pi] == n[ni])) {
            ++ni;
            ++pi;
        } else if (pi < p.size() && p[pi] == QLatin1Char('*')) {
            starP = pi++;
            starN = ni;
        } else if (starP >= 0) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == QLatin1Char('*')) {
        ++pi;
    }
    return pi == p.size();
}

bool patternMatches(const QString& name, const QString& pattern) {
    if (wildcardMatch(name, pattern)) {
        return true;
    }
    return pattern.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.')) &&
           wildcardMatch(name, pattern.left(pattern.size() - 2));
}

} // namespace

std::string AppPath() {
    return withOneTrailingSlash(appPathOverride.empty() ? programFolder() : appPathOverride);
}

void setAppPathForTesting(const std::string& folder) {
    appPathOverride = folder;
}

VbBool DirExists(const std::string& path) {
    if (path.empty()) {
        return VbFalse;
    }
    std::error_code ec;
    fs::current_path(path, ec);
    return toVbBool(!ec);
}

VbBool FileExists(const std::string& path) {
    if (path.empty() || DirExists(path)) {
        return VbFalse;
    }
    std::error_code ec;
    return toVbBool(fs::exists(path, ec) && !ec);
}

std::vector<std::string> GetFileList(std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    const QString wanted = pattern.empty() ? QStringLiteral("*.*")
                                           : QFile::decodeName(QByteArray::fromStdString(pattern));
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return names;
    }
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            break;
        }
        const std::string name = it->path().filename().string();
        // Dot names are the hidden files here.
        if (name.empty() || name.front() == '.') {
            continue;
        }
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc) || fileEc) {
            continue;
        }
        if (patternMatches(QFile::decodeName(QByteArray::fromStdString(name)), wanted)) {
            names.push_back(name);
        }
    }
    // The directory yields its names in no useful order; list them as a Windows folder
    // does, alphabetically without regard to case.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int c =
            QString::compare(QFile::decodeName(QByteArray::fromStdString(a)),
                             QFile::decodeName(QByteArray::fromStdString(b)), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

std::string ReadTextFile(const std::string& path) {
    std::string text = readFile(path, FileKind::Text);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
        text.resize(text.size() - 2);
    }
    return text;
}

std::string NulDelimitedText(const std::string& s) {
    const auto first = s.find('\0');
    if (first == std::string::npos) {
        return s;
    }
    // With no closing NUL the text runs to the end.
    const auto next = s.find('\0', first + 1);
    return s.substr(first + 1, next == std::string::npos ? std::string::npos : next - first - 1);
}

std::string URLEncode(const std::string& s) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size() * 3);
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

namespace {

// Codes 32..255 rotate in a ring of 224; a lower code climbs to 255 first (upward), or
// drops straight to 255 on the first step (downward).
constexpr int ringStart = 32;
constexpr int ringSize = 224;

unsigned char shiftUp(unsigned char c, int steps) {
    if (c >= ringStart) {
        return static_cast<unsigned char>(ringStart + (c - ringStart + steps) % ringSize);
    }
    if (c + steps <= 255) {
        return static_cast<unsigned char>(c + steps);
    }
    return static_cast<unsigned char>(ringStart + (steps - (256 - c)) % ringSize);
}

unsigned char shiftDown(unsigned char c, int steps) {
    int from = c;
    if (c < ringStart) {
        from = 255;
        --steps;
    }
    const int pos = ((from - ringStart - steps) % ringSize + ringSize) % ringSize;
    return static_cast<unsigned char>(ringStart + pos);
}

std::string scramble(const std::string& text, VbInteger shift, bool up, const char* argName) {
    if (shift == 32767) {
        throw VbError(10, "Crypter",
                      std::string("'") + argName +
                          "' is an integer, and may not be greater than 32766!");
    }
    if (shift <= 0) {
        return text;
    }
    std::string out = text;
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        ch = static_cast<char>(up ? shiftUp(c, shift) : shiftDown(c, shift));
    }
    return out;
}

} // namespace

std::string EncryptText(const std::string& text, VbInteger shift) {
    return scramble(text, shift, true, "EncryptNumber");
}

std::string DecryptText(const std::string& text, VbInteger shift) {
    return scramble(text, shift, false, "DecryptNumber");
}
