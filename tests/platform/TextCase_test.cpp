#include "TextCase.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A to Z fold and nothing else, whatever the locale: the Turkish capital I among them, and
// the Windows-1252 letters (here as the bytes the texts hold) left as they are.
void expectAsciiFold() {
    struct Case {
        std::string in, lower;
    };
    const Case cases[] = {
        {"SONG.MID", "song.mid"},
        {"IiIi", "iiii"},
        {"AZaz@[`{09", "azaz@[`{09"},
        {"\xC4rger \xC9T\xC9 \x8A", "\xC4rger \xC9t\xC9 \x8A"},
        {std::string("N\0UL", 4), std::string("n\0ul", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(lowerCase(c.in), c.lower);
        EXPECT_TRUE(equalsNoCase(c.in, c.lower));
        EXPECT_TRUE(startsWithNoCase(c.in, c.lower.substr(0, 2)));
        EXPECT_TRUE(endsWithNoCase(c.in, c.lower.substr(1)));
    }
    EXPECT_FALSE(equalsNoCase("\xC4", "\xE4"));
    EXPECT_FALSE(equalsNoCase("MID", "mi"));
    EXPECT_FALSE(startsWithNoCase("HT", "http://"));
    EXPECT_FALSE(endsWithNoCase("DAT", ".dat"));
    EXPECT_TRUE(endsWithNoCase("x", ""));
}

} // namespace

TEST(TextCase, FoldsAToZOnly) {
    expectAsciiFold();
}

TEST(TextCaseUnderLocale, FoldsAToZOnly) {
    expectAsciiFold();
}
