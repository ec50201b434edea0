#include "CommandLine.h"

namespace cmdline {

std::string outsideValues(const std::string& commandLine) {
    // A value runs from a "{" to the next "}"; an unclosed brace opens no value (its key
    // reads empty), so the text after it still counts.
    constexpr char Blank = '\x1F';
    std::string out = commandLine;
    std::size_t open = out.find('{');
    while (open != std::string::npos) {
        const std::size_t close = out.find('}', open + 1);
        if (close == std::string::npos) {
            break;
        }
        for (std::size_t i = open + 1; i < close; ++i) {
            out[i] = Blank;
        }
        open = out.find('{', close + 1);
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
    const std::size_t start = p + key.size();
    const std::size_t close = commandLine.find('}', start);
    if (close == std::string::npos) {
        return {};
    }
    return commandLine.substr(start, close - start);
}

} // namespace

std::string GetFileFromCommandLine(const std::string& commandLine, std::string& Key) {
    return valueOf(commandLine, Key);
}

std::string GetParameterFromCommandLine(const std::string& commandLine, std::string& Key) {
    return valueOf(commandLine, Key);
}
