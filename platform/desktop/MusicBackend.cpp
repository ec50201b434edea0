#include "MusicBackend.h"

#include "AudioSystem.h"
#include "FileNames.h"
#include "MidiSong.h"
#include "ModuleEngine.h"
#include "MusicFile.h"
#include "MusicMixer.h"
#include "Resampler.h"
#include "StreamDecoder.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <set>
#include <vector>

namespace music {

namespace {

bool listening = false;
std::set<Stream*> streams; // open streams, let go of when the device closes

void report(std::string* to, const std::string& text) {
    if (to != nullptr) {
        *to = text;
    }
}

} // namespace

bool startAudio() {
    if (!startMixer()) {
        return false;
    }
    if (!listening) {
        listening = true;
        audio::addCloseListener([] { releaseAll(); });
    }
    return true;
}

int mixingFrequency() {
    return mixerRate();
}

double cpuUsage() {
    return renderLoad();
}

// ---- modules

Module::Module(std::unique_ptr<ModuleEngine> engine) : engine_(std::move(engine)) {}

Module::~Module() {
    unhookSource(engine_.get());
}

std::unique_ptr<Module> Module::load(const std::string& path, std::string* error) {
    if (!startAudio()) {
        report(error, path + ": there is no sound device");
        return nullptr;
    }
    const std::string file = resolveFileName(path);
    std::string why;
    try {
        const auto opened = MusicFile::open(file, moduleSizeCap, why);
        std::vector<char> data;
        if (!opened || !opened->readAll(data, why)) {
            report(error, why);
            return nullptr;
        }
        if (data.empty()) {
            report(error, file + ": empty");
            return nullptr;
        }
        std::unique_ptr<ModuleEngine> engine;
        if (looksLikeMidi(data.data(), data.size())) {
            if (static_cast<std::int64_t>(data.size()) > midiSizeCap) {
                report(error, file + ": a MIDI file larger than " +
                                  std::to_string(midiSizeCap / kMiB) + " MiB");
                return nullptr;
            }
            engine = openMidiSong(data, mixerRate(), why);
        } else {
            engine = openTrackerModule(data, why);
        }
        if (!engine) {
            report(error, file + ": " + why);
            return nullptr;
        }
        return std::unique_ptr<Module>(new Module(std::move(engine)));
    } catch (const std::bad_alloc&) {
        report(error, file + ": not enough memory to read it");
        return nullptr;
    }
}

bool Module::play() {
    if (!mixerOpen()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mixerLock());
        engine_->restart();
        engine_->gain = masterVolume_ / 256.0;
    }
    return hookSource(engine_.get());
}

bool Module::stop() {
    if (!mixerOpen()) {
        return false;
    }
    unhookSource(engine_.get());
    return true;
}

bool Module::isPlaying() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return isHooked(engine_.get());
}

void Module::setPaused(bool paused) {
    std::lock_guard<std::mutex> lock(mixerLock());
    engine_->paused = paused;
}

void Module::setOrder(int order) {
    std::lock_guard<std::mutex> lock(mixerLock());
    engine_->setOrder(order);
}

std::string Module::name() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->name();
}

ModuleType Module::type() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->type();
}

std::int64_t Module::playTimeMs() const {
    const int rate = mixerRate();
    std::lock_guard<std::mutex> lock(mixerLock());
    return rate > 0 ? engine_->framesPlayed * 1000 / rate : 0;
}

int Module::row() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->row();
}

int Module::pattern() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->pattern();
}

int Module::order() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->order();
}

int Module::numPatterns() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->numPatterns();
}

int Module::numSamples() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->numSamples();
}

int Module::numChannels() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->numChannels();
}

double Module::channelVu(int channel) const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->channelVu(channel);
}

int Module::masterVolume() const {
    return masterVolume_;
}

void Module::setMasterVolume(int volume) {
    masterVolume_ = std::clamp(volume, 0, 256);
    std::lock_guard<std::mutex> lock(mixerLock());
    engine_->gain = masterVolume_ / 256.0;
}

int Module::channelVolume(int channel) const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return engine_->channelVolume(channel);
}

void Module::setChannelVolume(int channel, int volume) {
    std::lock_guard<std::mutex> lock(mixerLock());
    engine_->setChannelVolume(channel, volume);
}

// ---- streams

// A decoder in the music slot: resampled to the output rate, looping or played once.
class StreamSource : public MixSource {
public:
    StreamSource(std::unique_ptr<StreamDecoder> decoder, bool loop, std::int64_t bytes)
        : decoder_(std::move(decoder)), loop_(loop), bytes_(bytes), frames_(decoder_->frames()) {}

    // From the first frame again.
    void reset() {
        if (passFrame_ > 0 || finished_) {
            if (!decoder_->rewind()) {
                broken_ = true;
            }
        }
        passFrame_ = 0;
        resampler_.reset();
        finished_ = broken_;
        position_ = 0;
        started_ = true;
    }

    void render(float* out, std::size_t frames, int rate) override {
        if (finished_ || !alive_) {
            return;
        }
        if (!resampler_ || resamplerRate_ != rate) {
            resampler_ = std::make_unique<Resampler>(decoder_->rate(), rate);
            resamplerRate_ = rate;
        }
        resampler_->process(out, frames, [this](float* buf, std::size_t n, std::int64_t& index) {
            return pull(buf, n, index);
        });
        position_ = std::max(0.0, resampler_->position());
        if (resampler_->ended()) {
            finished_ = true;
            position_ = static_cast<double>(frames_);
        }
    }

    bool playing() const { return alive_ && started_ && isHooked(this) && !finished_; }
    bool alive() const { return alive_; }
    void kill() {
        alive_ = false;
        finished_ = true;
    }
    std::int64_t bytes() const { return alive_ ? bytes_ : 0; }

    double seconds() const {
        if (!alive_ || decoder_->rate() <= 0) {
            return 0;
        }
        double frame = position_;
        if (frames_ > 0) {
            frame = std::min(frame, static_cast<double>(frames_));
        }
        return frame / decoder_->rate();
    }
    double share() const {
        return alive_ && frames_ > 0
                   ? std::clamp(position_ / static_cast<double>(frames_), 0.0, 1.0)
                   : 0.0;
    }
    double lengthSeconds() const {
        return alive_ && decoder_->rate() > 0 ? static_cast<double>(frames_) / decoder_->rate()
                                              : 0.0;
    }

private:
    std::size_t pull(float* buf, std::size_t n, std::int64_t& index) {
        std::size_t got = decoder_->read(buf, n);
        if (got == 0) {
            // The end of the file: now its exact length is known.
            if (passFrame_ > 0) {
                frames_ = passFrame_;
            }
            if (!loop_ || passFrame_ == 0 || !decoder_->rewind()) {
                return 0; // a file that gives nothing does not go round again
            }
            passFrame_ = 0;
            got = decoder_->read(buf, n);
            if (got == 0) {
                return 0;
            }
        }
        index = passFrame_;
        passFrame_ += static_cast<std::int64_t>(got);
        return got;
    }

    std::unique_ptr<StreamDecoder> decoder_;
    bool loop_;
    std::int64_t bytes_;
    std::int64_t frames_; // the sound's length, exact once decoded to its end
    std::unique_ptr<Resampler> resampler_;
    int resamplerRate_ = 0;
    std::int64_t passFrame_ = 0;
    double position_ = 0;
    bool finished_ = false;
    bool broken_ = false;
    bool started_ = false;
    bool alive_ = true;
};

Stream::Stream() = default;

Stream::~Stream() {
    if (source_) {
        unhookSource(source_.get());
    }
    streams.erase(this);
}

std::unique_ptr<Stream> Stream::open(const std::string& path, bool loop, std::string* error) {
    if (!startAudio()) {
        report(error, path + ": there is no sound device");
        return nullptr;
    }
    const std::string file = resolveFileName(path);
    std::string why;
    try {
        const auto opened = MusicFile::open(file, streamSizeCap, why);
        if (!opened) {
            report(error, why);
            return nullptr;
        }
        if (opened->size() == 0) {
            report(error, file + ": empty");
            return nullptr;
        }
        std::string sampledWhy;
        std::unique_ptr<StreamDecoder> decoder = openSampledFile(opened, sampledWhy);
        if (!decoder) {
            decoder = openCompressedFile(opened, why);
        }
        if (!decoder) {
            report(error, file + ": " + why);
            return nullptr;
        }
        std::unique_ptr<Stream> s(new Stream);
        s->source_ = std::make_unique<StreamSource>(std::move(decoder), loop, opened->size());
        streams.insert(s.get());
        return s;
    } catch (const std::bad_alloc&) {
        report(error, file + ": not enough memory to read it");
        return nullptr;
    }
}

bool Stream::play() {
    if (!mixerOpen()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mixerLock());
        if (!source_->alive()) {
            return false;
        }
        source_->reset();
        source_->gain = volume_ / 255.0;
    }
    return hookSource(source_.get());
}

void Stream::stop() {
    unhookSource(source_.get());
}

bool Stream::isPlaying() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return source_->playing();
}

bool Stream::isPaused() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return source_->playing() && source_->paused;
}

void Stream::setPaused(bool paused) {
    std::lock_guard<std::mutex> lock(mixerLock());
    if (isHooked(source_.get())) {
        source_->paused = paused;
    }
}

std::int64_t Stream::length() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return source_->bytes();
}

std::int64_t Stream::position() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return std::llround(source_->share() * static_cast<double>(source_->bytes()));
}

std::int64_t Stream::timeMs() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return std::llround(source_->seconds() * 1000.0);
}

std::int64_t Stream::durationMs() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return std::llround(source_->lengthSeconds() * 1000.0);
}

int Stream::volume() const {
    return volume_;
}

void Stream::setVolume(int volume) {
    volume_ = std::clamp(volume, 0, 255);
    std::lock_guard<std::mutex> lock(mixerLock());
    source_->gain = volume_ / 255.0;
}

double Stream::vu() const {
    std::lock_guard<std::mutex> lock(mixerLock());
    return source_->playing() && !source_->paused ? static_cast<double>(source_->peak) : 0.0;
}

void releaseAll() {
    emptySlot();
    std::lock_guard<std::mutex> lock(mixerLock());
    for (Stream* s : streams) {
        s->source_->kill();
    }
}

} // namespace music
