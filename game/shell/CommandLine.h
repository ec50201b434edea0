#pragma once

#include <string>

// The game's command line is one text; every switch is a case-sensitive substring found
// anywhere in it, and a value is written key{value}.
namespace cmdline {

// True when sw occurs anywhere in the command line.
bool hasSwitch(const std::string& commandLine, const std::string& sw);
// The command line with every double quote removed (a bare level-file path).
std::string withoutQuotes(const std::string& commandLine);
// The program's arguments joined by single blanks, as one text.
std::string join(int argc, char** argv);

} // namespace cmdline

// The value of key{value}: the text after the first "key{" up to the next "}"; empty when
// the key is absent or the brace is never closed. Key gains a trailing "{" in place when it
// lacks one. The first serves file values, the second numbers; both read the same way.
std::string GetFileFromCommandLine(const std::string& commandLine, std::string& Key);
std::string GetParameterFromCommandLine(const std::string& commandLine, std::string& Key);
