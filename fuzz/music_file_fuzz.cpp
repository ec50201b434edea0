// LIBS: vantorix_devices vantorix_fuzz_harness
#include "FuzzHarness.h"
#include "MPLAY.h"
#include "ManualClock.h"
#include "ManualMixer.h"
#include "Require.h"
#include "SoundChunk.h"

#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace {

struct World {
    World() { FuzzHarness::instance(); }
    std::string path(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }

    ManualClock clock;
    QTemporaryDir dir;
};

World& world() {
    static World* w = new World;
    return *w;
}

std::string written(const World& w, const std::string& name, const std::uint8_t* data,
                    std::size_t size) {
    std::string path = w.path(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

// Long enough for every decoder to pass its start and refill its buffers a few times; more
// only slows the search.
constexpr std::uint64_t renderedMs = 400;
constexpr std::uint64_t midiRenderedMs = 50;

// The player's answers while something plays.
void consistent(const MPLAY& player) {
    require(player.StreamPosition() >= 0 && player.StreamPosition() <= player.StreamLength());
    require(player.StreamTime() >= 0 && player.CurTime() >= 0);
    for (int c = 0; c < player.NumberOfChannels(); ++c) {
        const float vu = player.CurVu(c);
        require(vu >= 0 && vu <= 1);
    }
}

} // namespace

// Any file as the music player opens it, once by a stream's name (sampled files through
// libsndfile, compressed ones through FFmpeg on our reads) and once by a module's (tracker
// modules, MIDI songs), with the start of each rendered by hand; and as a sound
// effect. What opens plays and answers in range; what does not says why.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World& w = world();
    std::optional<ManualMixer> mixer(std::in_place);
    {
        MPLAY player(nullptr, w.clock);
        const std::string stream = written(w, "tune.wav", data, size);
        require(!player.PlayFile(stream, 0, true));
        require(player.StreamIsPlaying() == player.LastError().empty());
        if (player.StreamIsPlaying()) {
            require(player.StreamLength() == static_cast<VbLong>(size));
            mixer->advance(renderedMs);
            consistent(player);
        }
        player.StopFile();

        const std::string module = written(w, "tune.mod", data, size);
        const bool playing = player.PlayFile(module, 0);
        require(playing == player.LastError().empty());
        if (playing) {
            // A MIDI song renders through the synthesiser, which costs more than all the rest;
            // its reader has a target of its own.
            mixer->advance(player.CurType() == "5" ? midiRenderedMs : renderedMs);
            consistent(player);
            require(player.CurTime() > 0);
        }
        player.StopFile();
        player.CloseObject();
    }
    mixer.reset();

    SoundChunk effect;
    std::string error;
    int number = 0;
    if (effect.load(written(w, "effect.wav", data, size), error, number)) {
        require(error.empty() && number == 0);
        effect.play(false);
        effect.stop();
    } else {
        require(!error.empty() && number != 0);
    }
    return 0;
}
