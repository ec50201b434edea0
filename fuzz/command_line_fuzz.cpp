// LIBS: vantorix_shell
#include "CommandLine.h"
#include "Require.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Every text the game and its start dialog look for on the command line.
constexpr std::array<std::string_view, 13> switches = {
    "-loadlevels{", "-startfromlevel{", "-musicfile{", "-window",       "-noamiga",
    "quintarflox",  "-wobblefrumpy",    "-resethi",    "-disablemusic", "-nomusic",
    "-disablesfx",  "-nosfx",           "-nojoyinit"};
constexpr std::array<std::string_view, 3> keys = {"-loadlevels", "-startfromlevel", "-musicfile"};

// Both parsers, with and without the key's "{", give one value.
std::string valueOf(const std::string& line, std::string_view key) {
    const std::string withBrace = std::string(key) + "{";
    std::string k(key);
    std::string v = GetFileFromCommandLine(line, k);
    require(k == withBrace);
    require(GetFileFromCommandLine(line, k) == v && k == withBrace);
    k = key;
    require(GetParameterFromCommandLine(line, k) == v);
    return v;
}

std::array<bool, switches.size()> found(const std::string& line) {
    std::array<bool, switches.size()> out{};
    for (std::size_t i = 0; i < switches.size(); ++i) {
        out[i] = cmdline::hasSwitch(line, std::string(switches[i]));
    }
    return out;
}

// A line holding only key{text} (closed or not, with a second switch after it or none):
// text comes back whole and no switch inside it counts.
void textIsOnlyAValue(std::string_view key, const std::string& text) {
    const std::string open = std::string(key) + "{";
    for (const std::string& line : {open + text + "}", open + text}) {
        require(valueOf(line, key) == text);
        for (const std::string_view sw : switches) {
            require(cmdline::hasSwitch(line, std::string(sw)) == (sw == open));
        }
    }
    const std::string launch = open + text + "} -startfromlevel{7}";
    if (key != "-startfromlevel") {
        require(valueOf(launch, key) == text);
        require(valueOf(launch, "-startfromlevel") == "7");
    }
}

} // namespace

// Whatever the command line: the parsers never crash, a value's text never acts as a
// switch, and the reading is stable (blanking the values again, putting other text in a
// value's place, or a switch in front, changes nothing else).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string outside = cmdline::outsideValues(line);
    require(outside.size() == line.size());
    require(cmdline::outsideValues(outside) == outside);

    const auto switchesFound = found(line);
    std::array<std::string, keys.size()> values;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        values[i] = valueOf(line, keys[i]);
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string open = std::string(keys[i]) + "{";
        const std::size_t p = outside.find(open);
        if (p == std::string::npos) {
            require(values[i].empty());
            continue;
        }
        const std::string& v = values[i];
        const std::size_t begin = p + open.size();
        require(line.compare(begin, v.size(), v) == 0);
        // The same value written alone reads back the same.
        require(valueOf(open + v + "}", keys[i]) == v);
        // Other text in its place: every switch and every other value as before.
        std::string other = line;
        other.replace(begin, v.size(), std::string(v.size(), 'x'));
        require(found(other) == switchesFound);
        for (std::size_t j = 0; j < keys.size(); ++j) {
            require(valueOf(other, keys[j]) == (j == i ? std::string(v.size(), 'x') : values[j]));
        }
    }

    const std::string inFront = "-nosfx " + line;
    auto expected = switchesFound;
    for (std::size_t i = 0; i < switches.size(); ++i) {
        expected[i] = expected[i] || switches[i] == "-nosfx";
    }
    require(found(inFront) == expected);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        require(valueOf(inFront, keys[i]) == values[i]);
    }

    std::string text;
    for (const char c : line) {
        if (c != '}') {
            text += c;
        }
    }
    for (const std::string_view key : keys) {
        textIsOnlyAValue(key, text);
    }
    return 0;
}
