#include "StreamDecoder.h"

#include <cstdio>
#include <sndfile.h>
#include <vector>

namespace music {

namespace {

sf_count_t vioLength(void* user) {
    return static_cast<MusicFileCursor*>(user)->size();
}
sf_count_t vioSeek(sf_count_t offset, int whence, void* user) {
    return static_cast<MusicFileCursor*>(user)->seek(offset, whence);
}
sf_count_t vioRead(void* ptr, sf_count_t count, void* user) {
    if (count <= 0) {
        return 0;
    }
    const std::int64_t got =
        static_cast<MusicFileCursor*>(user)->read(ptr, static_cast<std::size_t>(count));
    return got < 0 ? 0 : got;
}
sf_count_t vioWrite(const void*, sf_count_t, void*) {
    return 0;
}
sf_count_t vioTell(void* user) {
    return static_cast<MusicFileCursor*>(user)->tell();
}

class SampledFileDecoder : public StreamDecoder {
public:
    SampledFileDecoder(std::shared_ptr<MusicFile> file) : cursor_(std::move(file)) {}
    ~SampledFileDecoder() override {
        if (sf_ != nullptr) {
            sf_close(sf_);
        }
    }

    bool open(std::string& error) {
        // MPEG audio goes to FFmpeg, for its exact frame count; libsndfile's MPEG decoder
        // would also talk on the terminal about every damaged frame.
        unsigned char head[3] = {};
        if (cursor_.read(head, sizeof head) == 3 &&
            ((head[0] == 'I' && head[1] == 'D' && head[2] == '3') ||
             (head[0] == 0xFF && (head[1] & 0xE0) == 0xE0))) {
            error = "MPEG audio";
            return false;
        }
        cursor_.seek(0, SEEK_SET);
        static SF_VIRTUAL_IO io{vioLength, vioSeek, vioRead, vioWrite, vioTell};
        sf_ = sf_open_virtual(&io, SFM_READ, &info_, &cursor_);
        if (sf_ == nullptr) {
            error = std::string("not a sampled sound file (") + sf_strerror(nullptr) + ")";
            return false;
        }
        if ((info_.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG) {
            error = "MPEG audio";
            return false;
        }
        if (info_.channels <= 0 || info_.channels > 64 || info_.samplerate <= 0 ||
            info_.samplerate > 768000) {
            error = "an unusable sound format";
            return false;
        }
        return true;
    }

    int rate() const override { return info_.samplerate; }
    std::int64_t frames() const override { return info_.frames > 0 ? info_.frames : 0; }

    std::size_t read(float* out, std::size_t n) override {
        const auto channels = static_cast<std::size_t>(info_.channels);
        buffer_.resize(n * channels);
        const sf_count_t got = sf_readf_float(sf_, buffer_.data(), static_cast<sf_count_t>(n));
        if (got <= 0) {
            return 0;
        }
        for (std::size_t f = 0; f < static_cast<std::size_t>(got); ++f) {
            const float* in = &buffer_[f * channels];
            out[f * 2] = in[0];
            out[f * 2 + 1] = channels > 1 ? in[1] : in[0];
        }
        return static_cast<std::size_t>(got);
    }

    bool rewind() override { return sf_seek(sf_, 0, SEEK_SET) == 0; }

private:
    MusicFileCursor cursor_;
    SF_INFO info_{};
    SNDFILE* sf_ = nullptr;
    std::vector<float> buffer_;
};

} // namespace

std::unique_ptr<StreamDecoder> openSampledFile(std::shared_ptr<MusicFile> file,
                                               std::string& error) {
    auto decoder = std::make_unique<SampledFileDecoder>(std::move(file));
    if (!decoder->open(error)) {
        return nullptr;
    }
    return decoder;
}

} // namespace music
