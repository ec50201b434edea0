#pragma once

#include <string>
#include <string_view>

// Byte texts compared without regard to case, as file names, tags, keys and replies are.
// Only A to Z fold, the same on every locale: the C library's folding follows the user's
// locale (in Turkish "I" is no capital "i"), and the other bytes are Windows-1252 text that
// no fold of ours may touch.
char lowerCase(char c);
std::string lowerCase(std::string s);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
bool endsWithNoCase(std::string_view text, std::string_view suffix);
