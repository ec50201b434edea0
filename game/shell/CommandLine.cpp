#include "CommandLine.h"

namespace cmdline {

bool hasSwitch(const std::string& commandLine, const std::string& sw) {
    return commandLine.find(sw) != std::string::npos;
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
    const std::size_t p = commandLine.find(key);
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
