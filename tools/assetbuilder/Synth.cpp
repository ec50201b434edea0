#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kTwoPi = 6.283185307179586;

Layer readLayer(const SourceLine& line) {
    Layer layer;
    if (line.words.size() < 2)
        failAt(line, "a layer names its wave");
    const std::string& wave = line.words[1];
    if (wave == "sine")
        layer.wave = Layer::Wave::Sine;
    else if (wave == "square")
        layer.wave = Layer::Wave::Square;
    else if (wave == "saw")
        layer.wave = Layer::Wave::Saw;
    else if (wave == "triangle")
        layer.wave = Layer::Wave::Triangle;
    else if (wave == "noise")
        layer.wave = Layer::Wave::Noise;
    else
        failAt(line, "\"" + wave + "\" is not a wave (sine, square, saw, triangle, noise)");
    for (size_t i = 2; i < line.words.size(); ++i) {
        const std::string& key = line.words[i];
        auto next = [&]() { return numberAt(line, ++i); };
        if (key == "freq") {
            layer.freqFrom = next();
            layer.freqTo = (i + 1 < line.words.size() &&
                            std::isdigit(static_cast<unsigned char>(line.words[i + 1][0])))
                               ? next()
                               : layer.freqFrom;
        } else if (key == "lowpass") {
            layer.lowpassFrom = next();
            layer.lowpassTo = (i + 1 < line.words.size() &&
                               std::isdigit(static_cast<unsigned char>(line.words[i + 1][0])))
                                  ? next()
                                  : layer.lowpassFrom;
        } else if (key == "arp") {
            while (i + 1 < line.words.size() &&
                   (std::isdigit(static_cast<unsigned char>(line.words[i + 1][0])) ||
                    line.words[i + 1][0] == '-'))
                layer.arpeggio.push_back(next());
        } else if (key == "vibrato") {
            layer.vibratoRate = next();
            layer.vibratoDepth = next();
        } else if (key == "duty") {
            layer.duty = next();
        } else if (key == "start") {
            layer.start = next();
        } else if (key == "length") {
            layer.length = next();
        } else if (key == "attack") {
            layer.attack = next();
        } else if (key == "hold") {
            layer.hold = next();
        } else if (key == "decay") {
            layer.decay = next();
        } else if (key == "curve") {
            layer.curve = next();
        } else if (key == "gain") {
            layer.gain = next();
        } else if (key == "step") {
            layer.arpeggioStep = next();
        } else if (key == "highpass") {
            layer.highpass = next();
        } else {
            failAt(line, "\"" + key + "\" is not a layer setting");
        }
    }
    return layer;
}

// White noise that is the same on every machine.
class NoiseSource {
public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    uint32_t state_ = 22222u;
};

double envelope(const Layer& layer, double t, double length) {
    if (t < layer.attack)
        return layer.attack > 0 ? t / layer.attack : 1.0;
    t -= layer.attack;
    if (t < layer.hold)
        return 1.0;
    t -= layer.hold;
    double decay =
        layer.decay > 0 ? layer.decay : std::max(1e-3, length - layer.attack - layer.hold);
    if (t >= decay)
        return 0.0;
    return std::pow(1.0 - t / decay, layer.curve);
}

void renderLayer(const Layer& layer, double soundLength, int rate, std::vector<double>& out) {
    const double length = layer.length > 0 ? layer.length : soundLength - layer.start;
    const size_t first = static_cast<size_t>(layer.start * rate);
    const size_t count = static_cast<size_t>(length * rate);
    NoiseSource noise;
    double phase = 0, held = 0, low1 = 0, low2 = 0, highIn = 0, highOut = 0;
    for (size_t n = 0; n < count && first + n < out.size(); ++n) {
        const double t = static_cast<double>(n) / rate;
        const double along = length > 0 ? t / length : 0;
        double freq = layer.freqFrom * std::pow(layer.freqTo / layer.freqFrom, along);
        double semis = 0;
        if (!layer.arpeggio.empty())
            semis +=
                layer.arpeggio[static_cast<size_t>(t / layer.arpeggioStep) % layer.arpeggio.size()];
        if (layer.vibratoRate > 0)
            semis += layer.vibratoDepth * std::sin(kTwoPi * layer.vibratoRate * t);
        freq *= std::pow(2.0, semis / 12.0);
        const double before = phase;
        phase += freq / rate;
        phase -= std::floor(phase);
        double v = 0;
        switch (layer.wave) {
        case Layer::Wave::Sine:
            v = std::sin(kTwoPi * phase);
            break;
        case Layer::Wave::Square:
            // Centred on zero: a narrow pulse of +1/-1 would carry a large DC offset.
            v = (phase < layer.duty ? 1.0 : -1.0) - (2.0 * layer.duty - 1.0);
            break;
        case Layer::Wave::Saw:
            v = 2.0 * phase - 1.0;
            break;
        case Layer::Wave::Triangle:
            v = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
            break;
        case Layer::Wave::Noise:
            // A new random level each cycle of freq: the gritty noise of old sound chips.
            if (phase < before || n == 0)
                held = noise.next();
            v = held;
            break;
        }
        if (layer.lowpassFrom > 0) {
            double cutoff =
                layer.lowpassFrom * std::pow(layer.lowpassTo / layer.lowpassFrom, along);
            double a = 1.0 - std::exp(-kTwoPi * std::min(cutoff, rate * 0.45) / rate);
            low1 += a * (v - low1);
            low2 += a * (low1 - low2);
            v = low2;
        }
        if (layer.highpass > 0) {
            double a = std::exp(-kTwoPi * layer.highpass / rate);
            highOut = a * (highOut + v - highIn);
            highIn = v;
            v = highOut;
        }
        out[first + n] += v * layer.gain * envelope(layer, t, length);
    }
}

// Envelopes that change within a cycle leave a small offset even from centred waves:
// take it away under a smooth bump, which starts and ends at zero, so nothing clicks.
void removeOffset(std::vector<double>& v) {
    if (v.size() < 2)
        return;
    double mean = 0;
    for (double x : v)
        mean += x;
    mean /= static_cast<double>(v.size());
    std::vector<double> bump(v.size());
    double bumpMean = 0;
    for (size_t n = 0; n < v.size(); ++n) {
        const double s =
            std::sin(kTwoPi / 2 * static_cast<double>(n) / static_cast<double>(v.size() - 1));
        bump[n] = s * s;
        bumpMean += bump[n];
    }
    bumpMean /= static_cast<double>(v.size());
    for (size_t n = 0; n < v.size(); ++n)
        v[n] -= mean * bump[n] / bumpMean;
}

// The RMS of the loudest window, each window without its own mean: an offset is no
// loudness.
double loudestRms(const std::vector<double>& v, size_t window) {
    window = std::min(window, v.size());
    if (window == 0)
        return 0;
    double sum = 0, squares = 0, loudest = 0;
    for (size_t n = 0; n < v.size(); ++n) {
        sum += v[n];
        squares += v[n] * v[n];
        if (n >= window) {
            sum -= v[n - window];
            squares -= v[n - window] * v[n - window];
        }
        if (n + 1 >= window) {
            const auto width = static_cast<double>(window);
            const double mean = sum / width;
            loudest = std::max(loudest, squares / width - mean * mean);
        }
    }
    return std::sqrt(std::max(0.0, loudest));
}

} // namespace

size_t readSoundBody(const std::vector<SourceLine>& lines, size_t from, SoundSpec& spec) {
    size_t i = from;
    for (; i < lines.size() && lines[i].words[0] != "end"; ++i) {
        const SourceLine& line = lines[i];
        const std::string& key = line.words[0];
        if (key == "length")
            spec.length = numberAt(line, 1);
        else if (key == "level")
            spec.levelDb = numberAt(line, 1);
        else if (key == "echo") {
            spec.echoDelay = numberAt(line, 1);
            spec.echoFeedback = numberAt(line, 2);
        } else if (key == "layer")
            spec.layers.push_back(readLayer(line));
        else
            failAt(line, "\"" + key + "\" is not a sound setting (length, level, echo, layer)");
    }
    if (i == lines.size())
        throw AssetError(lines[from - 1].file + ":" + std::to_string(lines[from - 1].number) +
                         ": the sound has no \"end\"");
    if (spec.layers.empty())
        failAt(lines[from - 1], "a sound needs at least one layer");
    return i;
}

std::vector<float> renderSound(const SoundSpec& spec, int rate) {
    // Square and saw edges alias badly at the output rate: render four times finer and
    // average each group of four back down.
    constexpr int kOversample = 4;
    std::vector<double> fine(static_cast<size_t>(spec.length * rate) * kOversample, 0.0);
    for (const Layer& layer : spec.layers)
        renderLayer(layer, spec.length, rate * kOversample, fine);
    std::vector<double> mixed(fine.size() / kOversample, 0.0);
    for (size_t n = 0; n < mixed.size(); ++n) {
        for (int k = 0; k < kOversample; ++k)
            mixed[n] += fine[n * kOversample + k];
        mixed[n] /= kOversample;
    }
    if (spec.echoDelay > 0) {
        const size_t delay = static_cast<size_t>(spec.echoDelay * rate);
        for (size_t n = delay; n < mixed.size(); ++n)
            mixed[n] += mixed[n - delay] * spec.echoFeedback;
    }
    const size_t fade = std::min(mixed.size(), static_cast<size_t>(0.004 * rate));
    for (size_t n = 0; n < fade; ++n)
        mixed[mixed.size() - 1 - n] *= static_cast<double>(n) / static_cast<double>(fade);
    removeOffset(mixed);
    double peak = 0;
    for (double v : mixed)
        peak = std::max(peak, std::abs(v));
    const double rms = loudestRms(mixed, std::max<size_t>(1, static_cast<size_t>(0.05 * rate)));
    double gain = rms > 0 ? std::pow(10.0, spec.levelDb / 20.0) / rms : 0.0;
    const double ceiling = std::pow(10.0, -1.0 / 20.0);
    if (peak * gain > ceiling)
        gain = ceiling / peak;
    std::vector<float> out(mixed.size());
    for (size_t n = 0; n < mixed.size(); ++n)
        out[n] = static_cast<float>(mixed[n] * gain);
    return out;
}
