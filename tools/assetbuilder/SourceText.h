#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// The readable asset sources are plain line files: "#" at the start of a word starts a
// comment (outside quotes; "C#4" is a note),
// blank lines are skipped, words are separated by blanks and a "quoted text" is one word.
struct SourceLine {
    std::string file;
    int number = 0;
    std::string raw;                // the line without its comment, trailing blanks removed
    std::vector<std::string> words; // raw split into words, quotes removed
};

class AssetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises AssetError when the file cannot be read.
std::vector<SourceLine> readSource(const std::string& path);
std::vector<std::string> splitWords(const std::string& text);

[[noreturn]] void failAt(const SourceLine& line, const std::string& message);

// Numbers in sources; failAt on anything else.
double numberAt(const SourceLine& line, size_t word);
int intAt(const SourceLine& line, size_t word);
// "key value" pairs after the first `from` words: value of key, or fallback.
double option(const SourceLine& line, const std::string& key, double fallback, size_t from = 1);
std::string textOption(const SourceLine& line, const std::string& key, const std::string& fallback,
                       size_t from = 1);
bool hasWord(const SourceLine& line, const std::string& word, size_t from = 1);
