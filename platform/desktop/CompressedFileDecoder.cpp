#include "StreamDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/intreadwrite.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cstring>
#include <vector>

namespace music {

namespace {

// The containers this decoder is for. Anything else FFmpeg might take a file for (raw
// pictures, text, subtitles, play lists that name other files) is not music.
constexpr const char* kContainers = "mp3,mpeg,asf,asf_o,wav,au,aiff,iff,w64";

int ioRead(void* opaque, std::uint8_t* buf, int size) {
    const std::int64_t got =
        static_cast<MusicFileCursor*>(opaque)->read(buf, static_cast<std::size_t>(size));
    if (got < 0) {
        return AVERROR(EIO);
    }
    return got == 0 ? AVERROR_EOF : static_cast<int>(got);
}

std::int64_t ioSeek(void* opaque, std::int64_t offset, int whence) {
    auto* cursor = static_cast<MusicFileCursor*>(opaque);
    if (whence & AVSEEK_SIZE) {
        return cursor->size();
    }
    return cursor->seek(offset, whence & ~AVSEEK_FORCE);
}

float sampleAt(const AVFrame* frame, int channel, int index, int channels) {
    const auto format = static_cast<AVSampleFormat>(frame->format);
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    const int size = av_get_bytes_per_sample(format);
    const std::uint8_t* p =
        planar ? frame->extended_data[channel] + static_cast<std::size_t>(index) * size
               : frame->extended_data[0] +
                     (static_cast<std::size_t>(index) * channels + channel) * size;
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
        return (static_cast<float>(*p) - 128.0f) / 128.0f;
    case AV_SAMPLE_FMT_S16: {
        std::int16_t v;
        std::memcpy(&v, p, sizeof v);
        return static_cast<float>(v) / 32768.0f;
    }
    case AV_SAMPLE_FMT_S32: {
        std::int32_t v;
        std::memcpy(&v, p, sizeof v);
        return static_cast<float>(v / 2147483648.0);
    }
    case AV_SAMPLE_FMT_S64: {
        std::int64_t v;
        std::memcpy(&v, p, sizeof v);
        return static_cast<float>(static_cast<double>(v) / 9223372036854775808.0);
    }
    case AV_SAMPLE_FMT_FLT: {
        float v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    case AV_SAMPLE_FMT_DBL: {
        double v;
        std::memcpy(&v, p, sizeof v);
        return static_cast<float>(v);
    }
    default:
        return 0.0f;
    }
}

// One pass over the file: demuxer and decoder, from the first byte.
struct Pass {
    explicit Pass(std::shared_ptr<MusicFile> file) : cursor(std::move(file)) {}
    ~Pass() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
        if (io != nullptr) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    bool open(bool decode, std::string& error) {
        constexpr int kBuffer = 32768;
        auto* buffer = static_cast<unsigned char*>(av_malloc(kBuffer));
        if (buffer == nullptr) {
            error = "not enough memory";
            return false;
        }
        io = avio_alloc_context(buffer, kBuffer, 0, &cursor, ioRead, nullptr, ioSeek);
        if (io == nullptr) {
            av_free(buffer);
            error = "not enough memory";
            return false;
        }
        format = avformat_alloc_context();
        if (format == nullptr) {
            error = "not enough memory";
            return false;
        }
        format->pb = io;
        format->flags |= AVFMT_FLAG_CUSTOM_IO;
        format->probesize = 2L * 1024 * 1024;
        // Other containers are refused before they read a byte past the probe, and no
        // demuxer may open anything itself: every byte comes through the checked file.
        AVDictionary* options = nullptr;
        av_dict_set(&options, "format_whitelist", kContainers, 0);
        av_dict_set(&options, "protocol_whitelist", "none", 0);
        // The name is left out on purpose: the contents alone decide what the file is.
        const int opened = avformat_open_input(&format, "", nullptr, &options);
        av_dict_free(&options);
        if (opened < 0) {
            format = nullptr; // freed by FFmpeg
            error = "not a sound file FFmpeg knows";
            return false;
        }
        if (avformat_find_stream_info(format, nullptr) < 0) {
            error = "no streams to read";
            return false;
        }
        const AVCodec* decoder = nullptr;
        stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (stream < 0 || decoder == nullptr) {
            error = "no sound in it";
            return false;
        }
        const AVStream* st = format->streams[stream];
        rate = st->codecpar->sample_rate;
        if (rate <= 0 || rate > 768000) {
            error = "an unusable sound format";
            return false;
        }
        for (unsigned i = 0; i < format->nb_streams; ++i) {
            if (static_cast<int>(i) != stream) {
                format->streams[i]->discard = AVDISCARD_ALL;
            }
        }
        packet = av_packet_alloc();
        if (packet == nullptr) {
            error = "not enough memory";
            return false;
        }
        if (!decode) {
            return true;
        }
        codec = avcodec_alloc_context3(decoder);
        frame = av_frame_alloc();
        if (codec == nullptr || frame == nullptr ||
            avcodec_parameters_to_context(codec, st->codecpar) < 0) {
            error = "not enough memory";
            return false;
        }
        codec->pkt_timebase = st->time_base;
        if (avcodec_open2(codec, decoder, nullptr) < 0) {
            error = std::string("cannot decode its ") + decoder->name + " sound";
            return false;
        }
        return true;
    }

    // Frames of the whole stream from its packets, less what the decoder drops at either
    // end; 0 when the packets do not tell.
    std::int64_t countFrames() {
        const AVStream* st = format->streams[stream];
        std::int64_t total = 0;
        bool known = true;
        while (av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == stream) {
                if (packet->duration <= 0) {
                    known = false;
                }
                total += av_rescale_q(packet->duration, st->time_base, AVRational{1, rate});
                std::size_t size = 0;
                const std::uint8_t* skip =
                    av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &size);
                if (skip != nullptr && size >= 10) {
                    total -= static_cast<std::int64_t>(AV_RL32(skip)) + AV_RL32(skip + 4);
                }
            }
            av_packet_unref(packet);
        }
        if (known && total > 0) {
            return total;
        }
        if (st->duration > 0 && st->duration != AV_NOPTS_VALUE) {
            return av_rescale_q(st->duration, st->time_base, AVRational{1, rate});
        }
        if (format->duration > 0 && format->duration != AV_NOPTS_VALUE) {
            return av_rescale(format->duration, rate, AV_TIME_BASE);
        }
        return 0;
    }

    // The next decoded frame into `frame`; false at the end.
    bool nextFrame() {
        // Each turn either takes a frame, feeds a packet or ends: a damaged file that
        // makes the decoder fail again and again still comes to its end.
        int failures = 0;
        while (!ended) {
            const int got = avcodec_receive_frame(codec, frame);
            if (got == 0) {
                if (frame->nb_samples > 0) {
                    return true;
                }
                continue;
            }
            if (got == AVERROR_EOF) {
                ended = true;
                break;
            }
            if (got != AVERROR(EAGAIN) && ++failures > 64) {
                ended = true;
                break;
            }
            if (flushed) {
                ended = true; // a drained decoder that says neither EOF nor a frame
                break;
            }
            if (av_read_frame(format, packet) < 0) {
                avcodec_send_packet(codec, nullptr);
                flushed = true;
                continue;
            }
            if (packet->stream_index == stream) {
                avcodec_send_packet(codec, packet); // a damaged packet is skipped
            }
            av_packet_unref(packet);
        }
        return false;
    }

    MusicFileCursor cursor;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    int rate = 0;
    bool flushed = false;
    bool ended = false;
};

class CompressedFileDecoder : public StreamDecoder {
public:
    explicit CompressedFileDecoder(std::shared_ptr<MusicFile> file) : file_(std::move(file)) {}

    bool open(std::string& error) {
        {
            Pass scan(file_);
            if (!scan.open(false, error)) {
                return false;
            }
            frames_ = scan.countFrames();
        }
        pass_ = std::make_unique<Pass>(file_);
        if (!pass_->open(true, error)) {
            return false;
        }
        rate_ = pass_->rate;
        return true;
    }

    int rate() const override { return rate_; }
    std::int64_t frames() const override { return frames_; }

    std::size_t read(float* out, std::size_t n) override {
        std::size_t done = 0;
        while (done < n) {
            if (at_ == pending_.size() / 2) {
                pending_.clear();
                at_ = 0;
                if (!pass_ || !pass_->nextFrame()) {
                    break;
                }
                const AVFrame* frame = pass_->frame;
                const int channels = frame->ch_layout.nb_channels;
                if (channels <= 0) {
                    continue;
                }
                pending_.resize(static_cast<std::size_t>(frame->nb_samples) * 2);
                for (int i = 0; i < frame->nb_samples; ++i) {
                    const float left = sampleAt(frame, 0, i, channels);
                    pending_[static_cast<std::size_t>(i) * 2] = left;
                    pending_[static_cast<std::size_t>(i) * 2 + 1] =
                        channels > 1 ? sampleAt(frame, 1, i, channels) : left;
                }
                continue;
            }
            const std::size_t take = std::min(n - done, pending_.size() / 2 - at_);
            std::copy_n(&pending_[at_ * 2], take * 2, out + done * 2);
            at_ += take;
            done += take;
        }
        return done;
    }

    bool rewind() override {
        // A fresh demuxer and decoder: the same frames as the first time, gaps and all.
        pending_.clear();
        at_ = 0;
        pass_ = std::make_unique<Pass>(file_);
        std::string error;
        if (!pass_->open(true, error)) {
            pass_.reset();
            return false;
        }
        return true;
    }

private:
    std::shared_ptr<MusicFile> file_;
    std::unique_ptr<Pass> pass_;
    int rate_ = 0;
    std::int64_t frames_ = 0;
    std::vector<float> pending_;
    std::size_t at_ = 0;
};

} // namespace

std::unique_ptr<StreamDecoder> openCompressedFile(std::shared_ptr<MusicFile> file,
                                                  std::string& error) {
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_QUIET); // its notes are not for the player
        return true;
    }();
    (void)quiet;
    auto decoder = std::make_unique<CompressedFileDecoder>(std::move(file));
    if (!decoder->open(error)) {
        return nullptr;
    }
    return decoder;
}

} // namespace music
