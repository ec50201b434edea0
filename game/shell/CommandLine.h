#pragma once

#include <string>

// The game's command line is one text; every switch is a case-sensitive substring found
// anywhere in it outside the values, and a value is written key{value}. A line that is a
// bare path (isBarePath) holds no switches at all.
//
// A value runs from its "{" to the next "}"; a "{" inside it is part of it. A line whose
// braces do not pair is malformed, and its value takes the doubtful text, so that no switch
// typed inside the value acts: a "{" never closed opens a value that runs to the end of the
// line, and a "}" that closes nothing belongs to the value before it, which then runs up to
// it. A "}" with no "{" before it is plain text.
namespace cmdline {

// The command line with the text of every {value} blanked out, so that a path holding a
// switch word (-loadlevels{/x/-resethi.dat}) is not taken for that switch.
std::string outsideValues(const std::string& commandLine);
// True when sw occurs in the command line outside every {value}.
bool hasSwitch(const std::string& commandLine, const std::string& sw);
// The command line with every double quote removed (a bare level-file path).
std::string withoutQuotes(const std::string& commandLine);
// True when the whole line, quotes removed, names an existing file that is no folder: then
// it is a bare level-file path, and the switch words in it are part of a file name.
bool isBarePath(const std::string& commandLine);
// What the switches and values are read from: the line, or nothing for a bare path.
std::string switchText(const std::string& commandLine);
// The program's arguments joined by single blanks, as one text.
std::string join(int argc, char** argv);

} // namespace cmdline

// The value of key{value}: the text after the first "key{" outside the values, to the end of
// that value; empty when the key is absent. Key gains a trailing "{" in place when it lacks
// one. The first serves file values, the second numbers; both read the same way.
std::string GetFileFromCommandLine(const std::string& commandLine, std::string& Key);
std::string GetParameterFromCommandLine(const std::string& commandLine, std::string& Key);
