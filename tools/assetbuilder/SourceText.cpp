#include "SourceText.h"

#include <cstdlib>
#include <fstream>

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        if (i >= text.size())
            break;
        std::string word;
        if (text[i] == '"') {
            ++i;
            while (i < text.size() && text[i] != '"')
                word += text[i++];
            ++i;
        } else {
            while (i < text.size() && text[i] != ' ' && text[i] != '\t')
                word += text[i++];
        }
        words.push_back(word);
    }
    return words;
}

static std::string stripComment(const std::string& line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == '#' && !quoted && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    }
    return line;
}

std::vector<SourceLine> readSource(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw AssetError(path + ": cannot read the file");
    std::vector<SourceLine> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        std::string raw = stripComment(text);
        while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t'))
            raw.pop_back();
        if (raw.find_first_not_of(" \t") == std::string::npos)
            continue;
        lines.push_back({path, number, raw, splitWords(raw)});
    }
    return lines;
}

void failAt(const SourceLine& line, const std::string& message) {
    throw AssetError(line.file + ":" + std::to_string(line.number) + ": " + message);
}

double numberAt(const SourceLine& line, size_t word) {
    if (word >= line.words.size())
        failAt(line, "a number is missing");
    const std::string& text = line.words[word];
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0')
        failAt(line, "\"" + text + "\" is not a number");
    return value;
}

int intAt(const SourceLine& line, size_t word) {
    double value = numberAt(line, word);
    if (value != static_cast<int>(value))
        failAt(line, "\"" + line.words[word] + "\" is not a whole number");
    return static_cast<int>(value);
}

double option(const SourceLine& line, const std::string& key, double fallback, size_t from) {
    for (size_t i = from; i + 1 < line.words.size(); ++i)
        if (line.words[i] == key)
            return numberAt(line, i + 1);
    return fallback;
}

std::string textOption(const SourceLine& line, const std::string& key, const std::string& fallback,
                       size_t from) {
    for (size_t i = from; i + 1 < line.words.size(); ++i)
        if (line.words[i] == key)
            return line.words[i + 1];
    return fallback;
}

bool hasWord(const SourceLine& line, const std::string& word, size_t from) {
    for (size_t i = from; i < line.words.size(); ++i)
        if (line.words[i] == word)
            return true;
    return false;
}
