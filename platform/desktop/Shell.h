#pragma once

#include <string>

// Opening things with the desktop, as a file manager's double click does.
namespace shell {

// Result codes; success is above 32.
inline constexpr int Started = 42;
inline constexpr int NotFound = 0;
// Nothing on this desktop can open it (no handler, the program would not start, or a verb
// other than the default "open").
inline constexpr int NoAssociation = 31;

// file: a document, folder, program (an executable file) or an http, https, ftp or mailto
// address. A program starts detached, with params split as a shell would and dir as its
// working folder; everything else goes to the desktop's handler (dir and params unused).
// A relative file is looked for in dir, then in the current folder, a program also on
// PATH. verb: nullptr, "" or "open" (and "explore" for folders) is the default action.
int open(const std::string& file, const std::string& dir, const std::string& params,
         const char* verb);

// The same without the desktop, for tests: what open() would do with file.
enum class Kind { Missing, Address, Program, Document };
Kind classify(const std::string& file, const std::string& dir, std::string* resolved = nullptr);

} // namespace shell
