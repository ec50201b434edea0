#include "SoundEffects.h"

#include "SourceText.h"
#include "Synth.h"

#include <sndfile.h>
#include <vector>

void writeWave(const std::string& path, const float* samples, size_t count, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw AssetError(path + ": cannot create the wave file (" + sf_strerror(nullptr) + ")");
    // Full scale without wrapping: libsndfile clips floats when told to.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    sf_count_t written = sf_write_float(file, samples, static_cast<sf_count_t>(count));
    sf_close(file);
    if (written != static_cast<sf_count_t>(count))
        throw AssetError(path + ": cannot write the wave file");
}

int writeSoundEffects(const std::string& sourcePath, const std::string& folder) {
    constexpr int kRate = 44100;
    std::vector<SourceLine> lines = readSource(sourcePath);
    int written = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const SourceLine& head = lines[i];
        if (head.words[0] != "sound" || head.words.size() < 2)
            failAt(head, "expected \"sound NAME\"");
        SoundSpec spec;
        spec.name = head.words[1];
        i = readSoundBody(lines, i + 1, spec);
        std::vector<float> samples = renderSound(spec, kRate);
        writeWave(folder + "/" + spec.name + ".wav", samples.data(), samples.size(), kRate);
        ++written;
    }
    return written;
}
