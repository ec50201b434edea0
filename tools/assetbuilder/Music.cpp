#include "Music.h"

#include "SourceText.h"
#include "Synth.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2 * kPi;
// Samples are made for a playback rate of 8363 Hz x 4 at C-4 (relative note +24): one
// cycle of 128 samples then sounds at C-4, two cents low, which finetune +2 corrects.
constexpr int kSampleRate = 8363 * 4;
constexpr int kCycle = 128;

std::vector<int16_t> toPcm(const std::vector<double>& v, double amplitude) {
    double peak = 0;
    for (double x : v)
        peak = std::max(peak, std::abs(x));
    std::vector<int16_t> out(v.size());
    for (size_t i = 0; i < v.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(peak > 0 ? v[i] / peak * amplitude * 32767 : 0));
    return out;
}

// One band-limited cycle of a classic wave at phase x in [0, 1).
double additive(const std::string& shape, double x, int harmonics, double duty) {
    double v = 0;
    for (int k = 1; k <= harmonics; ++k) {
        if (shape == "saw" || (shape == "square" && k % 2))
            v += std::sin(kTwoPi * k * x) / k;
        else if (shape == "triangle" && k % 2)
            v += ((k / 2) % 2 ? -1.0 : 1.0) * std::sin(kTwoPi * k * x) /
                 (static_cast<double>(k) * k);
        else if (shape == "pulse")
            v += std::sin(kPi * k * duty) * std::cos(kTwoPi * k * (x - duty / 2)) / k;
        else if (shape == "sine" && k == 1)
            v += std::sin(kTwoPi * x);
    }
    return v;
}

XmSample waveSample(const SourceLine& line) {
    if (line.words.size() < 2)
        failAt(line, "a wave names its shape");
    std::string shape = line.words[1];
    const int harmonics = static_cast<int>(option(line, "harmonics", 24, 2));
    XmSample s;
    s.relativeNote = 24;
    s.finetune = 2;
    std::vector<double> v;
    if (shape == "chorus" || shape == "pwm") {
        // A long loop of 128 cycles: three voices 13 cents apart (chorus) or a pulse
        // whose width sweeps (pwm), so the sound moves while it is held.
        const int cycles = 128;
        v.resize(static_cast<size_t>(kCycle) * cycles);
        const std::string voice = textOption(line, "of", "saw", 2);
        const double depth = option(line, "depth", 0.3, 2);
        for (size_t n = 0; n < v.size(); ++n) {
            double x = static_cast<double>(n) / static_cast<double>(v.size());
            if (shape == "chorus") {
                for (int c : {cycles - 1, cycles, cycles + 1})
                    v[n] += additive(voice, std::fmod(x * c, 1.0), harmonics, 0.5);
            } else {
                double duty = 0.5 + depth * std::sin(kTwoPi * x);
                v[n] = additive("pulse", std::fmod(x * cycles, 1.0), harmonics, duty);
            }
        }
    } else if (shape == "saw" || shape == "square" || shape == "triangle" || shape == "sine" ||
               shape == "pulse") {
        const double duty = option(line, "duty", 0.25, 2);
        v.resize(kCycle);
        for (int n = 0; n < kCycle; ++n)
            v[n] = additive(shape, static_cast<double>(n) / kCycle, harmonics, duty);
    } else {
        failAt(line,
               "\"" + shape + "\" is not a wave (saw, square, triangle, sine, pulse, chorus, pwm)");
    }
    s.data = toPcm(v, 0.8);
    s.loopStart = 0;
    s.loopLength = static_cast<uint32_t>(s.data.size());
    return s;
}

XmInstrument readInstrument(const std::vector<SourceLine>& lines, size_t& i) {
    const SourceLine& head = lines[i];
    if (head.words.size() < 3)
        failAt(head, "expected \"instrument NUMBER NAME\"");
    XmInstrument ins;
    ins.name = head.words[2];
    std::vector<SourceLine> drum;
    bool haveSample = false;
    for (++i; i < lines.size() && lines[i].words[0] != "end"; ++i) {
        const SourceLine& line = lines[i];
        const std::string& key = line.words[0];
        if (key == "wave") {
            ins.sample = waveSample(line);
            haveSample = true;
        } else if (key == "length" || key == "level" || key == "layer" || key == "echo") {
            drum.push_back(line);
        } else if (key == "volume") {
            ins.sample.volume = static_cast<uint8_t>(std::clamp(intAt(line, 1), 0, 64));
        } else if (key == "pan") {
            ins.sample.panning = static_cast<uint8_t>(std::clamp(intAt(line, 1), 0, 255));
        } else if (key == "envelope") {
            if (line.words.size() % 2 == 0 || line.words.size() > 25)
                failAt(line, "an envelope is 1 to 12 pairs of tick and level");
            for (size_t k = 1; k + 1 < line.words.size(); k += 2)
                ins.volumeEnvelope.emplace_back(intAt(line, k), intAt(line, k + 1));
        } else if (key == "sustain") {
            ins.sustainPoint = intAt(line, 1);
        } else if (key == "fadeout") {
            ins.fadeout = static_cast<uint16_t>(intAt(line, 1));
        } else if (key == "vibrato") {
            ins.vibratoType = static_cast<uint8_t>(intAt(line, 1));
            ins.vibratoSweep = static_cast<uint8_t>(intAt(line, 2));
            ins.vibratoDepth = static_cast<uint8_t>(intAt(line, 3));
            ins.vibratoRate = static_cast<uint8_t>(intAt(line, 4));
        } else {
            failAt(line, "\"" + key + "\" is not an instrument setting");
        }
    }
    if (i == lines.size())
        failAt(head, "the instrument has no \"end\"");
    if (!drum.empty()) {
        SoundSpec spec;
        spec.levelDb = -3;
        drum.push_back(lines[i]); // its "end"
        readSoundBody(drum, 0, spec);
        std::vector<float> pcm = renderSound(spec, kSampleRate);
        std::vector<double> v(pcm.begin(), pcm.end());
        ins.sample.data = toPcm(v, 0.9);
        ins.sample.relativeNote = 24;
        haveSample = true;
    }
    if (!haveSample)
        failAt(head, "an instrument needs a wave or drum layers");
    ins.sample.name = ins.name;
    return ins;
}

// One row of a phrase as written.
struct Step {
    int note = 0; // semitone number, C-0 = 0; -1 none; -2 note off
    int instrument = 0;
    int volume = -1;
};

int parseNote(const std::string& t) {
    static const std::map<char, int> base{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                          {'G', 7}, {'A', 9}, {'B', 11}};
    if (t.size() != 3 || !base.count(t[0]) || (t[1] != '-' && t[1] != '#') || !std::isdigit(t[2]))
        return -1;
    return base.at(t[0]) + (t[1] == '#' ? 1 : 0) + 12 * (t[2] - '0');
}

// Tokens: "." (nothing), NOTE like C-4 or G#5, "off" (note off), "vNN" (volume only),
// each optionally followed by "@I" (instrument), ":V" (volume 0..64) and "/N" (the token
// takes N rows; the rows after the first are empty).
void parseToken(const SourceLine& line, const std::string& token, int instrument,
                std::vector<Step>& out) {
    std::string head = token, rest;
    size_t cut = token.find_first_of("@:/");
    if (cut != std::string::npos) {
        head = token.substr(0, cut);
        rest = token.substr(cut);
    }
    Step step;
    step.note = -1;
    step.instrument = instrument;
    int rows = 1;
    if (head == ".") {
        step.instrument = 0;
    } else if (head == "off") {
        step.note = -2;
        step.instrument = 0;
    } else if (head.size() > 1 && head[0] == 'v' &&
               std::isdigit(static_cast<unsigned char>(head[1]))) {
        step.volume = std::stoi(head.substr(1));
        step.instrument = 0;
    } else {
        step.note = parseNote(head);
        if (step.note < 0)
            failAt(line, "\"" + token + "\" is not a note, \".\", \"off\" or a volume");
    }
    for (size_t i = 0; i < rest.size();) {
        char kind = rest[i++];
        size_t digits = i;
        while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits])))
            ++digits;
        if (digits == i)
            failAt(line, "\"" + token + "\": a number must follow " + kind);
        int value = std::stoi(rest.substr(i, digits - i));
        i = digits;
        if (kind == '@')
            step.instrument = value;
        else if (kind == ':')
            step.volume = std::min(value, 64);
        else
            rows = value;
    }
    if (rows < 1)
        failAt(line, "\"" + token + "\" takes no rows");
    out.push_back(step);
    for (int r = 1; r < rows; ++r)
        out.push_back(Step{-1, 0, -1});
}

struct PhraseUse {
    std::string name;
    int transpose = 0;
    int times = 1;
};

PhraseUse parseUse(const SourceLine& line, const std::string& word) {
    PhraseUse use;
    size_t star = word.find('*');
    std::string body = word.substr(0, star);
    if (star != std::string::npos)
        use.times = std::atoi(word.c_str() + star + 1);
    size_t sign = body.find_first_of("+-", 1);
    use.name = body.substr(0, sign);
    if (sign != std::string::npos)
        use.transpose = std::atoi(body.c_str() + sign);
    if (use.times < 1)
        failAt(line, "\"" + word + "\": a phrase is used at least once");
    return use;
}

} // namespace

XmModule composeModule(const std::string& scorePath) {
    std::vector<SourceLine> lines = readSource(scorePath);
    XmModule m;
    std::map<std::string, std::vector<Step>> phrases;
    std::map<std::string, int> patternIndex;
    std::map<int, XmInstrument> instruments;
    for (size_t i = 0; i < lines.size(); ++i) {
        const SourceLine& line = lines[i];
        const std::string& key = line.words[0];
        if (key == "title") {
            m.name = line.words.size() > 1 ? line.words[1] : "";
        } else if (key == "speed") {
            m.speed = intAt(line, 1);
        } else if (key == "bpm") {
            m.bpm = intAt(line, 1);
        } else if (key == "channels") {
            m.channels = intAt(line, 1);
        } else if (key == "instrument") {
            int number = intAt(line, 1);
            if (number < 1 || number > 128 || instruments.count(number))
                failAt(line, "instruments are numbered 1..128, each once");
            instruments[number] = readInstrument(lines, i);
        } else if (key == "phrase") {
            if (line.words.size() < 2)
                failAt(line, "a phrase needs a name");
            const int instrument = static_cast<int>(option(line, "inst", 0, 2));
            std::vector<Step>& steps = phrases[line.words[1]];
            steps.clear();
            size_t j = i + 1;
            for (; j < lines.size() && lines[j].words[0] != "end"; ++j)
                for (const std::string& token : lines[j].words)
                    parseToken(lines[j], token, instrument, steps);
            if (j == lines.size())
                failAt(line, "the phrase has no \"end\"");
            i = j;
        } else if (key == "pattern") {
            if (line.words.size() < 2)
                failAt(line, "a pattern needs a name");
            XmPattern pattern;
            pattern.rows = static_cast<int>(option(line, "rows", 64, 2));
            pattern.cells.assign(static_cast<size_t>(pattern.rows) * m.channels, XmCell{});
            size_t j = i + 1;
            for (; j < lines.size() && lines[j].words[0] != "end"; ++j) {
                const SourceLine& track = lines[j];
                const int channel = intAt(track, 0);
                if (channel < 1 || channel > m.channels)
                    failAt(track, "no such channel");
                int row = 0;
                for (size_t w = 1; w < track.words.size(); ++w) {
                    PhraseUse use = parseUse(track, track.words[w]);
                    if (!phrases.count(use.name))
                        failAt(track, "\"" + use.name + "\" is not a phrase written before");
                    for (int t = 0; t < use.times; ++t)
                        for (const Step& s : phrases[use.name]) {
                            if (row >= pattern.rows)
                                failAt(track, "the channel runs past the end of the pattern");
                            XmCell& cell =
                                pattern.cells[static_cast<size_t>(row) * m.channels + channel - 1];
                            if (s.note == -2) {
                                cell.note = 97;
                            } else if (s.note >= 0) {
                                int n = s.note + use.transpose;
                                if (n < 0 || n > 95)
                                    failAt(track, "a transposed note leaves the keyboard");
                                cell.note = static_cast<uint8_t>(n + 1);
                                cell.instrument = static_cast<uint8_t>(s.instrument);
                                if (!instruments.count(s.instrument))
                                    failAt(track,
                                           "a note of \"" + use.name + "\" has no instrument");
                            }
                            if (s.volume >= 0)
                                cell.volume = static_cast<uint8_t>(0x10 + s.volume);
                            ++row;
                        }
                }
            }
            if (j == lines.size())
                failAt(line, "the pattern has no \"end\"");
            if (patternIndex.count(line.words[1]))
                failAt(line, "a second pattern of that name");
            patternIndex[line.words[1]] = static_cast<int>(m.patterns.size());
            m.patterns.push_back(std::move(pattern));
            i = j;
        } else if (key == "order") {
            for (size_t w = 1; w < line.words.size(); ++w) {
                if (!patternIndex.count(line.words[w]))
                    failAt(line, "\"" + line.words[w] + "\" is not a pattern written before");
                m.orders.push_back(static_cast<uint8_t>(patternIndex[line.words[w]]));
            }
        } else {
            failAt(line, "\"" + key + "\" is not a score statement");
        }
    }
    // Instruments are numbered without gaps from 1.
    int expected = 1;
    for (auto& [number, ins] : instruments) {
        if (number != expected++)
            throw AssetError(scorePath + ": instrument " + std::to_string(expected - 1) +
                             " is missing");
        m.instruments.push_back(std::move(ins));
    }
    return m;
}

double moduleSeconds(const XmModule& module) {
    double rows = 0;
    for (uint8_t order : module.orders)
        rows += module.patterns[order].rows;
    return rows * module.speed * 2.5 / module.bpm;
}
