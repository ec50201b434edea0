#include "TextCase.h"

#include <algorithm>
#include <cctype>

std::string lowerCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           lowerCase(std::string(text.substr(text.size() - suffix.size()))) ==
               lowerCase(std::string(suffix));
}
