#include "CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, KeyValueTable) {
    struct Case {
        const char* cmd;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"-startfromlevel{3}", "-startfromlevel", "3"},
        {"x -loadlevels{/a b/c.dat} -startfromlevel{2}", "-loadlevels", "/a b/c.dat"},
        {"-loadlevels{/a/c.dat} -startfromlevel{2}", "-startfromlevel{", "2"},
        {"-musicfile{song.xm", "-musicfile", ""}, // never closed
        {"-musicfile{}", "-musicfile", ""},
        {"-MUSICFILE{a}", "-musicfile", ""},    // case-sensitive
        {"-loadlevels {a}", "-loadlevels", ""}, // the brace must follow the key
        {"-a{1} -a{2}", "-a", "1"},             // the first occurrence
        {"", "-loadlevels", ""},
    };
    for (const Case& c : cases) {
        std::string key = c.key;
        EXPECT_EQ(GetFileFromCommandLine(c.cmd, key), c.value) << c.cmd;
        EXPECT_EQ(key.back(), '{');
        key = c.key;
        EXPECT_EQ(GetParameterFromCommandLine(c.cmd, key), c.value) << c.cmd;
    }
}

TEST(CommandLine, SwitchesAreCaseSensitiveSubstrings) {
    EXPECT_TRUE(cmdline::hasSwitch("foo-nosfxbar", "-nosfx"));
    EXPECT_FALSE(cmdline::hasSwitch("-NOSFX", "-nosfx"));
    EXPECT_TRUE(cmdline::hasSwitch("-window -noamiga", "-noamiga"));
    EXPECT_EQ(cmdline::withoutQuotes("\"/tmp/my levels.DAT\""), "/tmp/my levels.DAT");
    char a0[] = "vantor", a1[] = "-window", a2[] = "/tmp/x y.dat";
    char* argv[] = {a0, a1, a2};
    EXPECT_EQ(cmdline::join(3, argv), "-window /tmp/x y.dat");
}
