#pragma once

#include <string>
#include <string_view>

// Byte texts compared without regard to case, as file names, tags and replies are.
std::string lowerCase(std::string s);
bool endsWithNoCase(std::string_view text, std::string_view suffix);
