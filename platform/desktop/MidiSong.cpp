#include "MidiSong.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr double kLongestSong = 24 * 3600.0; // seconds; anything later is not played

std::uint32_t be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}
std::uint32_t le32(const std::uint8_t* p) {
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) |
           p[0];
}

// The MIDI data inside a RIFF "RMID" file: its "data" chunk.
bool unwrapRiff(const std::uint8_t*& p, std::size_t& n) {
    if (n < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "RMID", 4) != 0) {
        return false;
    }
    std::size_t at = 12;
    while (at + 8 <= n) {
        const std::size_t length = le32(p + at + 4);
        if (std::memcmp(p + at, "data", 4) == 0) {
            p += at + 8;
            n = std::min(length, n - at - 8); // a cut file keeps what it has
            return true;
        }
        if (length > n - at - 8) {
            return false;
        }
        at += 8 + length + (length & 1);
    }
    return false;
}

struct RawEvent {
    std::int64_t tick = 0;
    int track = 0;
    std::uint32_t order = 0;
    MidiEvent event;
    std::uint32_t tempo = 0; // microseconds a quarter note; 0 for other events
};

class TrackReader {
public:
    TrackReader(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
    bool done() const { return at_ >= n_; }
    bool byte(std::uint8_t& b) {
        if (at_ >= n_) {
            return false;
        }
        b = p_[at_++];
        return true;
    }
    bool peek(std::uint8_t& b) const {
        if (at_ >= n_) {
            return false;
        }
        b = p_[at_];
        return true;
    }
    bool varLength(std::uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = 0;
            if (!byte(b)) {
                return false;
            }
            v = (v << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) {
                return true;
            }
        }
        return false;
    }
    bool bytes(std::uint32_t length, const std::uint8_t*& out) {
        if (length > n_ - at_) {
            return false;
        }
        out = p_ + at_;
        at_ += length;
        return true;
    }

private:
    const std::uint8_t* p_;
    std::size_t n_;
    std::size_t at_ = 0;
};

// Reads one track's events into out, up to its end or the first damage. Returns the tick
// where the track ends.
std::int64_t readTrack(const std::uint8_t* p, std::size_t n, int track, std::vector<RawEvent>& out,
                       MidiSong& song) {
    TrackReader in(p, n);
    std::int64_t tick = 0;
    std::uint8_t running = 0;
    std::uint32_t order = 0;
    while (!in.done()) {
        std::uint32_t delta = 0;
        std::uint8_t status = 0;
        if (!in.varLength(delta) || !in.peek(status)) {
            break;
        }
        tick += delta;
        if (status & 0x80) {
            in.byte(status);
            if (status < 0xF0) {
                running = status;
            }
        } else if (running != 0) {
            status = running;
        } else {
            break; // a data byte with no status before it
        }
        RawEvent raw;
        raw.tick = tick;
        raw.track = track;
        raw.order = order++;
        if (status < 0xF0) {
            std::uint8_t d1 = 0, d2 = 0;
            const bool one = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0;
            if (!in.byte(d1) || (d1 & 0x80) || (!one && (!in.byte(d2) || (d2 & 0x80)))) {
                break;
            }
            raw.event.status = status;
            raw.event.data1 = d1;
            raw.event.data2 = d2;
            out.push_back(raw);
        } else if (status == 0xFF) {
            std::uint8_t type = 0;
            std::uint32_t length = 0;
            const std::uint8_t* data = nullptr;
            if (!in.byte(type) || !in.varLength(length) || !in.bytes(length, data)) {
                break;
            }
            if (type == 0x2F) {
                return tick;
            }
            if (type == 0x51 && length >= 3) {
                raw.tempo =
                    (std::uint32_t{data[0]} << 16) | (std::uint32_t{data[1]} << 8) | data[2];
                if (raw.tempo > 0) {
                    out.push_back(raw);
                }
            } else if (type == 0x03 && track == 0 && song.name.empty()) {
                song.name.assign(reinterpret_cast<const char*>(data), length);
            }
        } else if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length = 0;
            const std::uint8_t* data = nullptr;
            if (!in.varLength(length) || !in.bytes(length, data)) {
                break;
            }
            if (status == 0xF0) {
                std::uint32_t body = length;
                if (body > 0 && data[body - 1] == 0xF7) {
                    --body;
                }
                raw.event.status = 0xF0;
                raw.event.sysexAt = static_cast<std::uint32_t>(song.sysexData.size());
                raw.event.sysexLength = body;
                song.sysexData.insert(song.sysexData.end(), data, data + body);
                out.push_back(raw);
            }
        } else {
            break; // not an event a file may hold
        }
    }
    return tick;
}

} // namespace

bool looksLikeMidi(const char* data, std::size_t size) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(data);
    std::size_t n = size;
    unwrapRiff(p, n);
    return n >= 4 && std::memcmp(p, "MThd", 4) == 0;
}

bool readMidiSong(const char* data, std::size_t size, MidiSong& song, std::string& error) {
    song = MidiSong{};
    const auto* p = reinterpret_cast<const std::uint8_t*>(data);
    std::size_t n = size;
    if (n >= 4 && std::memcmp(p, "RIFF", 4) == 0 && !unwrapRiff(p, n)) {
        error = "a RIFF file without MIDI data";
        return false;
    }
    if (n < 14 || std::memcmp(p, "MThd", 4) != 0 || be32(p + 4) < 6) {
        error = "not a MIDI file";
        return false;
    }
    const std::uint32_t headerLength = be32(p + 4);
    const unsigned format = (p[8] << 8) | p[9];
    const std::uint16_t division = static_cast<std::uint16_t>((p[12] << 8) | p[13]);
    if (format > 2 || division == 0 || headerLength > n - 8) {
        error = "a damaged MIDI header";
        return false;
    }
    // Ticks per second for time-code division; per quarter note otherwise.
    double ticksPerSecond = 0;
    if (division & 0x8000) {
        const int fps = -static_cast<std::int8_t>(division >> 8);
        const int perFrame = division & 0xFF;
        if (fps <= 0 || perFrame == 0) {
            error = "a damaged MIDI header";
            return false;
        }
        ticksPerSecond = (fps == 29 ? 29.97 : fps) * perFrame;
    }
    std::vector<RawEvent> raw;
    std::int64_t endTick = 0;
    std::size_t at = 8 + headerLength;
    int track = 0;
    while (at + 8 <= n) {
        const std::size_t length = std::min<std::size_t>(be32(p + at + 4), n - at - 8);
        if (std::memcmp(p + at, "MTrk", 4) == 0) {
            endTick = std::max(endTick, readTrack(p + at + 8, length, track++, raw, song));
        }
        at += 8 + length;
    }
    std::stable_sort(raw.begin(), raw.end(), [](const RawEvent& a, const RawEvent& b) {
        return a.tick < b.tick || (a.tick == b.tick && a.track < b.track);
    });
    // Ticks to seconds through the tempo changes, which may come from any track.
    double seconds = 0;
    std::int64_t lastTick = 0;
    double tempo = 500000; // 120 beats a minute
    auto secondsPerTick = [&] {
        return ticksPerSecond > 0 ? 1.0 / ticksPerSecond : tempo / 1e6 / division;
    };
    bool notes = false;
    for (const RawEvent& r : raw) {
        seconds += static_cast<double>(r.tick - lastTick) * secondsPerTick();
        lastTick = r.tick;
        if (seconds > kLongestSong) {
            break;
        }
        if (r.tempo != 0) {
            tempo = r.tempo;
            continue;
        }
        MidiEvent e = r.event;
        e.seconds = seconds;
        notes = notes || ((e.status & 0xF0) == 0x90 && e.data2 > 0);
        song.events.push_back(e);
    }
    if (endTick > lastTick) {
        seconds += static_cast<double>(endTick - lastTick) * secondsPerTick();
    }
    song.lengthSeconds = std::min(seconds, kLongestSong);
    if (!notes) {
        error = "a MIDI file without notes";
        song.events.clear();
        return false;
    }
    return true;
}
