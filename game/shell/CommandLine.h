#pragma once

#include <string>

// The game's command line is one text; every switch is a case-sensitive substring found
// anywhere in it outside the values, and a value is written key{value}.
namespace cmdline {

// The command line with the text of every {value} blanked out, so that a path holding a
// switch word (-loadlevels{/x/-resethi.dat}) is not taken for that switch.
std::string outsideValues(const std::string& commandLine);
// True when sw occurs in the command line outside every {value}.
bool hasSwitch(const std::string& commandLine, const std::string& sw);
// The command line with every double quote removed (a bare level-file path).
std::string withoutQuotes(const std::string& commandLine);
// The program's arguments joined by single blanks, as one text.
std::string join(int argc, char** argv);

} // namespace cmdline

// The value of key{value}: the text after the first "key{" outside the values up to the
// next "}"; empty when
// the key is absent or the brace is never closed. Key gains a trailing "{" in place when it
// lacks one. The first serves file values, the second numbers; both read the same way.
std::string GetFileFromCommandLine(const std::string& commandLine, std::string& Key);
std::string GetParameterFromCommandLine(const std::string& commandLine, std::string& Key);
