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
        // A key word inside another key's value is part of that value.
        {"-loadlevels{/x/-musicfile{a}.dat} -musicfile{b.xm}", "-musicfile", "b.xm"},
        {"-loadlevels{/x/-musicfile{a}.dat}", "-musicfile", ""},
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

// Switch words inside a {value} belong to the value: a level set in a folder named after a
// switch must not reset its hiscores or silence the game.
TEST(CommandLine, SwitchWordsInsideValuesAreNoSwitches) {
    struct Case {
        const char* cmd;
        const char* sw;
        bool found;
    };
    const Case cases[] = {
        {"-loadlevels{/x/a -resethi b.dat}", "-resethi", false},
        {"-loadlevels{/x/a -resethi b.dat}", "-loadlevels{", true},
        {"-loadlevels{/x/-nosfx/b.dat} -nomusic", "-nosfx", false},
        {"-loadlevels{/x/-nosfx/b.dat} -nomusic", "-nomusic", true},
        {"-musicfile{/m/-window.xm} -startfromlevel{2}", "-window", false},
        {"-musicfile{/m/-window.xm} -startfromlevel{2}", "-startfromlevel{", true},
        {"-loadlevels{/q/quintarflox.dat}", "quintarflox", false},
        {"-loadlevels{a}-resethi", "-resethi", true},       // right after the value
        {"-loadlevels{/x/-resethi", "-resethi", true},      // never closed: no value
        {"-loadlevels{/x/a{b}-resethi}", "-resethi", true}, // the value ends at "}"
        {"-startfromlevel{-loadlevels{x}} -loadlevels{y}", "-loadlevels{", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cmdline::hasSwitch(c.cmd, c.sw), c.found) << c.cmd << " / " << c.sw;
    }
}
