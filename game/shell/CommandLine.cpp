#include "CommandLine.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

struct Span {
    std::size_t begin; // just after the "{"
    std::size_t end;   // at the "}" that ends the value, or the end of the line
};

std::vector<Span> valueSpans(const std::string& line) {
    std::vector<Span> spans;
    std::size_t open = line.find('{');
    while (open != std::string::npos) {
        const std::size_t begin = open + 1;
        const std::size_t close = line.find('}', begin);
        if (close == std::string::npos) {
            spans.push_back({begin, line.size()});
            break;
        }
        // Every "}" before the next "{" closes this value: the last one ends it.
        open = line.find('{', close + 1);
        const std::size_t end =
            open == std::string::npos ? line.rfind('}') : line.rfind('}', open - 1);
        spans.push_back({begin, end});
    }
    return spans;
}

} // namespace

namespace cmdline {

std::string outsideValues(const std::string& commandLine) {
    constexpr char Blank = '\x1F';
    std::string out = commandLine;
    for (const Span& s : valueSpans(commandLine)) {
        out.replace(s.begin, s.end - s.begin, s.end - s.begin, Blank);
    }
    return out;
}

bool hasSwitch(const std::string& commandLine, const std::string& sw) {
    return outsideValues(commandLine).find(sw) != std::string::npos;
}

std::string withoutQuotes(const std::string& commandLine) {
    std::string out;
    out.reserve(commandLine.size());
    for (char c : commandLine) {
        if (c != '"') {
            out += c;
        }
    }
    return out;
}

bool isBarePath(const std::string& commandLine) {
    const std::string path = withoutQuotes(commandLine);
    if (path.empty()) {
        return false;
    }
    // No FileExists here: asking it about a folder makes that folder the current one.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string switchText(const std::string& commandLine) {
    return isBarePath(commandLine) ? std::string() : commandLine;
}

std::string join(int argc, char** argv) {
    std::string out;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            out += ' ';
        }
        out += argv[i];
    }
    return out;
}

} // namespace cmdline

namespace {

std::string valueOf(const std::string& commandLine, std::string& key) {
    if (key.empty() || key.back() != '{') {
        key += '{';
    }
    const std::size_t p = cmdline::outsideValues(commandLine).find(key);
    if (p == std::string::npos) {
        return {};
    }
    // The key's "{" lies outside every value, so it opens one.
    const std::size_t begin = p + key.size();
    for (const Span& s : valueSpans(commandLine)) {
        if (s.begin == begin) {
            return commandLine.substr(begin, s.end - begin);
        }
    }
    return {};
}

} // namespace

std::string GetFileFromCommandLine(const std::string& commandLine, std::string& Key) {
    return valueOf(commandLine, Key);
}

std::string GetParameterFromCommandLine(const std::string& commandLine, std::string& Key) {
    return valueOf(commandLine, Key);
}
