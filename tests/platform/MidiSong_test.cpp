#include "MidiSong.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) {
        s += static_cast<char>(b);
    }
    return s;
}

std::string track(const std::string& events) {
    return "MTrk" + be32(static_cast<std::uint32_t>(events.size())) + events;
}

std::string header(int format, int tracks, int division) {
    return "MThd" + be32(6) +
           bytes({0, format, 0, tracks, (division >> 8) & 0xFF, division & 0xFF});
}

const std::string kTempo = bytes({0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20}); // 120 a minute
const std::string kEnd = bytes({0, 0xFF, 0x2F, 0});

struct Expected {
    std::uint8_t status;
    std::uint8_t data1;
    double seconds;
};

struct Case {
    const char* what;
    std::string file;
    std::vector<Expected> events;
    double length;
    const char* name;
};

// A quarter note is 480 ticks, 0.5 s at the default tempo.
std::vector<Case> songs() {
    const std::string noteAndEnd =
        bytes({0, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x83, 0x60, 0xFF, 0x2F, 0});
    return {
        {"format 0 at the default tempo",
         header(0, 1, 480) + track(noteAndEnd),
         {{0x90, 60, 0.0}, {0x80, 60, 0.5}},
         1.0,
         ""},
        {"running status",
         header(0, 1, 480) +
             track(bytes({0, 0x90, 60, 100, 0x83, 0x60, 62, 100, 0x83, 0x60, 60, 0}) + kEnd),
         {{0x90, 60, 0.0}, {0x90, 62, 0.5}, {0x90, 60, 1.0}},
         1.0,
         ""},
        {"a tempo change in the first track times the second track's notes",
         header(1, 2, 480) +
             track(kTempo + bytes({0x83, 0x60, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40}) + kEnd) +
             track(bytes({0, 0x90, 60, 100, 0x87, 0x40, 0x80, 60, 0}) + kEnd),
         {{0x90, 60, 0.0}, {0x80, 60, 1.5}},
         1.5,
         ""}, // 480 ticks at 0.5 s, 480 at 1 s
        {"time code division: 25 frames of 40 ticks a second",
         header(0, 1, 0xE728) + track(bytes({0, 0x90, 60, 100, 0x87, 0x68, 0x80, 60, 0}) + kEnd),
         {{0x90, 60, 0.0}, {0x80, 60, 1.0}},
         1.0,
         ""},
        {"a RIFF RMID file",
         "RIFF" + le32(4 + 8 + 14 + 8 + 14) + "RMID" + "data" + le32(36) + header(0, 1, 480) +
             track(noteAndEnd),
         {{0x90, 60, 0.0}, {0x80, 60, 0.5}},
         1.0,
         ""},
        {"the first track's name",
         header(0, 1, 480) + track(bytes({0, 0xFF, 0x03, 5}) + "Title" + noteAndEnd),
         {{0x90, 60, 0.0}, {0x80, 60, 0.5}},
         1.0,
         "Title"},
        {"system exclusive without its end byte",
         header(0, 1, 480) +
             track(bytes({0, 0xF0, 5, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0, 0x90, 60, 100}) + kEnd),
         {{0xF0, 0, 0.0}, {0x90, 60, 0.0}},
         0.0,
         ""},
        {"an unknown chunk is passed over",
         header(0, 1, 480) + "XTRA" + be32(3) + "abc" + track(noteAndEnd),
         {{0x90, 60, 0.0}, {0x80, 60, 0.5}},
         1.0,
         ""},
        {"a track cut short keeps what it has",
         header(0, 1, 480) + "MTrk" + be32(100) + bytes({0, 0x90, 60, 100, 0x83, 0x60, 0x80}),
         {{0x90, 60, 0.0}},
         0.5,
         ""},
        {"a data byte without a status ends the track",
         header(1, 2, 480) + track(bytes({0, 0x90, 60, 100})) +
             track(bytes({0, 61, 100, 0, 0x90, 62, 100})),
         {{0x90, 60, 0.0}},
         0.0,
         ""},
        {"events past a day are not played",
         header(0, 1, 1) +
             track(bytes({0, 0x90, 60, 100, 0xFF, 0xFF, 0xFF, 0x7F, 0x80, 60, 0}) + kEnd),
         {{0x90, 60, 0.0}},
         24 * 3600.0,
         ""},
    };
}

TEST(MidiSong, EventsComeInPlayOrderAtTheirTimes) {
    for (const Case& c : songs()) {
        SCOPED_TRACE(c.what);
        MidiSong song;
        std::string error;
        EXPECT_TRUE(looksLikeMidi(c.file.data(), c.file.size()));
        ASSERT_TRUE(readMidiSong(c.file.data(), c.file.size(), song, error)) << error;
        ASSERT_EQ(song.events.size(), c.events.size());
        for (std::size_t i = 0; i < c.events.size(); ++i) {
            EXPECT_EQ(song.events[i].status, c.events[i].status) << i;
            if (c.events[i].status != 0xF0) {
                EXPECT_EQ(song.events[i].data1, c.events[i].data1) << i;
            }
            EXPECT_NEAR(song.events[i].seconds, c.events[i].seconds, 1e-9) << i;
        }
        EXPECT_NEAR(song.lengthSeconds, c.length, 1e-9);
        EXPECT_EQ(song.name, c.name);
    }
}

TEST(MidiSong, SystemExclusiveKeepsItsBody) {
    const std::string file =
        header(0, 1, 480) +
        track(bytes({0, 0xF0, 5, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0, 0x90, 60, 100}) + kEnd);
    MidiSong song;
    std::string error;
    ASSERT_TRUE(readMidiSong(file.data(), file.size(), song, error));
    const MidiEvent& e = song.events.front();
    ASSERT_EQ(e.sysexLength, 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(song.sysexData.begin() + e.sysexAt,
                                        song.sysexData.begin() + e.sysexAt + e.sysexLength),
              (std::vector<std::uint8_t>{0x7E, 0x7F, 0x09, 0x01}));
}

TEST(MidiSong, NotASongIsRefused) {
    struct Bad {
        const char* what;
        std::string file;
    } cases[] = {
        {"empty", ""},
        {"text", "this is not a song at all"},
        {"a header cut short", header(0, 1, 480).substr(0, 10)},
        {"division 0", header(0, 1, 0) + track(bytes({0, 0x90, 60, 100}) + kEnd)},
        {"format 3", header(3, 1, 480) + track(bytes({0, 0x90, 60, 100}) + kEnd)},
        {"no note", header(0, 1, 480) + track(kTempo + kEnd)},
        {"only silent notes", header(0, 1, 480) + track(bytes({0, 0x90, 60, 0}) + kEnd)},
        {"a RIFF file of another kind", "RIFF" + le32(4) + "WAVE"},
        {"a RIFF RMID file without data", "RIFF" + le32(12) + "RMID" + "LIST" + le32(0)},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.what);
        MidiSong song;
        std::string error;
        EXPECT_FALSE(readMidiSong(c.file.data(), c.file.size(), song, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(song.events.empty());
    }
}

} // namespace
