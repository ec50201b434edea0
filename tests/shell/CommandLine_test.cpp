#include "CommandLine.h"

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
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
        {"-musicfile{}", "-musicfile", ""},
        {"-MUSICFILE{a}", "-musicfile", ""},    // case-sensitive
        {"-loadlevels {a}", "-loadlevels", ""}, // the brace must follow the key
        {"-a{1} -a{2}", "-a", "1"},             // the first occurrence
        {"", "-loadlevels", ""},
        // A key word inside another key's value is part of that value.
        {"-loadlevels{/x/-musicfile{a}.dat} -musicfile{b.xm}", "-musicfile", "b.xm"},
        {"-loadlevels{/x/-musicfile{a}.dat}", "-musicfile", ""},
        // The editor's test launch: a "{" inside a path is part of it.
        {"-loadlevels{/t/a{b c.dat} -startfromlevel{3}", "-loadlevels", "/t/a{b c.dat"},
        {"-loadlevels{/t/a{b c.dat} -startfromlevel{3}", "-startfromlevel", "3"},
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
        {"-loadlevels{a}-resethi", "-resethi", true}, // right after the value
        {"-startfromlevel{-loadlevels{x}} -loadlevels{y}", "-loadlevels{", true},
        {"-resethi}", "-resethi", true}, // a "}" with no "{" is text
        {"}-resethi{}", "-resethi", true},
        {"-loadlevels{a}} -resethi", "-resethi", true},
        {"-loadlevels{} -resethi", "-resethi", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cmdline::hasSwitch(c.cmd, c.sw), c.found) << c.cmd << " / " << c.sw;
    }
}

// A brace left open or a "}" that closes nothing makes the line malformed. The value then
// takes every doubtful part (to the end of the line, or up to that "}"), so that no switch
// typed inside it acts: the level set named is not read, and its text shows in the box.
TEST(CommandLine, AMalformedValueTakesTheDoubtfulText) {
    struct Case {
        const char* cmd;
        const char* key;
        const char* value;
        const char* notASwitch;
    };
    const Case cases[] = {
        {"-loadlevels{/tmp/x/set.dat -resethi", "-loadlevels", "/tmp/x/set.dat -resethi",
         "-resethi"},
        {"-musicfile{/m/a b.xm -nosfx", "-musicfile", "/m/a b.xm -nosfx", "-nosfx"},
        {"-startfromlevel{3 -resethi", "-startfromlevel", "3 -resethi", "-resethi"},
        {"-musicfile{/m/a.xm -loadlevels{/x/set.dat", "-musicfile",
         "/m/a.xm -loadlevels{/x/set.dat", "-loadlevels{"},
        {"-loadlevels{/x/{a}/-resethi.dat}", "-loadlevels", "/x/{a}/-resethi.dat", "-resethi"},
        {"-loadlevels{/x/{a}/-resethi.dat} -musicfile{m}", "-loadlevels", "/x/{a}/-resethi.dat",
         "-resethi"},
        {"-loadlevels{/x/a{b}-resethi}", "-loadlevels", "/x/a{b}-resethi", "-resethi"},
        {"-loadlevels{a} -resethi x} -nosfx", "-loadlevels", "a} -resethi x", "-resethi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cmd);
        std::string key = c.key;
        EXPECT_EQ(GetFileFromCommandLine(c.cmd, key), c.value);
        key = c.key;
        EXPECT_EQ(GetParameterFromCommandLine(c.cmd, key), c.value);
        EXPECT_FALSE(cmdline::hasSwitch(c.cmd, c.notASwitch));
        EXPECT_TRUE(cmdline::hasSwitch(c.cmd, std::string(c.key) + "{"));
    }
    EXPECT_TRUE(cmdline::hasSwitch("-loadlevels{a} -resethi x} -nosfx", "-nosfx"));
    std::string key = "-musicfile";
    EXPECT_EQ(GetFileFromCommandLine("-loadlevels{/x/{a}/b.dat} -musicfile{m}", key), "m");
    EXPECT_EQ(GetFileFromCommandLine("-resethi -musicfile{", key), "");
    EXPECT_TRUE(cmdline::hasSwitch("-resethi -musicfile{", "-resethi"));
}

// A line that, quotes removed, names an existing file is that file's name (a level set given
// without a switch): no switch word and no key{value} in it is read. A line naming a folder
// or nothing on disk is read for switches as before, and asking leaves the current folder.
TEST(CommandLine, ABarePathHoldsNoSwitches) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string root = dir.path().toStdString() + "/";
    QDir(dir.path()).mkpath(QStringLiteral("-nosfx folder"));
    for (const char* name : {"-resethi.dat", "my -window sets.dat", "-loadlevels{a}.dat",
                             "-startfromlevel{3} quintarflox.txt", "-musicfile{m} -nosfx"}) {
        std::ofstream(root + name) << "l:x\r\n";
    }
    struct Case {
        std::string line;
        bool bare;
    };
    const Case cases[] = {
        {root + "-resethi.dat", true},
        {"\"" + root + "my -window sets.dat\"", true},
        {root + "-loadlevels{a}.dat", true},
        {root + "-startfromlevel{3} quintarflox.txt", true},
        {root + "\"-musicfile{m}\" -nosfx", true},
        {root + "-nosfx folder", false},
        {root + "-resethi.dat -window", false},
        {root + "missing -resethi.dat", false},
        {"-loadlevels{" + root + "-resethi.dat} -startfromlevel{2}", false},
        {"", false},
        {"\"\"", false},
    };
    const QString before = QDir::currentPath();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(cmdline::isBarePath(c.line), c.bare);
        const std::string text = cmdline::switchText(c.line);
        EXPECT_EQ(text, c.bare ? std::string() : c.line);
        for (const char* sw : {"-resethi", "-window", "-nosfx", "quintarflox", "-loadlevels{",
                               "-startfromlevel{", "-musicfile{"}) {
            EXPECT_EQ(cmdline::hasSwitch(text, sw), !c.bare && cmdline::hasSwitch(c.line, sw))
                << sw;
        }
        for (const char* key : {"-loadlevels", "-startfromlevel", "-musicfile"}) {
            std::string k = key;
            const std::string value = GetFileFromCommandLine(text, k);
            k = key;
            EXPECT_EQ(value, c.bare ? std::string() : GetFileFromCommandLine(c.line, k)) << key;
        }
    }
    EXPECT_EQ(QDir::currentPath(), before);
    // hasSwitch reads the text it is given: the line's readers ask it about switchText.
    EXPECT_TRUE(cmdline::hasSwitch(root + "-resethi.dat", "-resethi"));
}
