#include "SoundFileWriters.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sndfile.h>

namespace fixtures {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double toneAt(const Tone& tone, std::int64_t frame) {
    return tone.level * std::sin(kTwoPi * tone.frequency * static_cast<double>(frame) / tone.rate);
}

void be32(std::string& s, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        s += static_cast<char>((v >> shift) & 0xFF);
    }
}
void le32(std::string& s, std::uint32_t v) {
    for (int shift = 0; shift <= 24; shift += 8) {
        s += static_cast<char>((v >> shift) & 0xFF);
    }
}
void varLength(std::string& s, std::uint32_t v) {
    std::string bytes(1, static_cast<char>(v & 0x7F));
    while ((v >>= 7) != 0) {
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    }
    s += bytes;
}

void putSample(AVFrame* frame, AVSampleFormat format, int channel, int index, int channels,
               double v) {
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    const int size = av_get_bytes_per_sample(format);
    std::uint8_t* p =
        planar ? frame->data[channel] + static_cast<std::size_t>(index) * size
               : frame->data[0] + (static_cast<std::size_t>(index) * channels + channel) * size;
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_S16: {
        const auto x = static_cast<std::int16_t>(std::lround(v * 32767));
        std::memcpy(p, &x, sizeof x);
        break;
    }
    case AV_SAMPLE_FMT_S32: {
        const auto x = static_cast<std::int32_t>(std::llround(v * 2147483647.0));
        std::memcpy(p, &x, sizeof x);
        break;
    }
    case AV_SAMPLE_FMT_FLT: {
        const auto x = static_cast<float>(v);
        std::memcpy(p, &x, sizeof x);
        break;
    }
    default:
        break;
    }
}

} // namespace

bool writeSampled(const std::string& path, int format, const Tone& tone, std::string& error) {
    SF_INFO info{};
    info.samplerate = tone.rate;
    info.channels = tone.channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = std::string("libsndfile: ") + sf_strerror(nullptr);
        return false;
    }
    const auto frames = static_cast<std::int64_t>(std::llround(tone.seconds * tone.rate));
    std::vector<double> samples(static_cast<std::size_t>(frames * tone.channels));
    for (std::int64_t f = 0; f < frames; ++f) {
        for (int c = 0; c < tone.channels; ++c) {
            samples[static_cast<std::size_t>(f * tone.channels + c)] = toneAt(tone, f);
        }
    }
    const sf_count_t written = sf_writef_double(file, samples.data(), frames);
    sf_close(file);
    if (written != frames) {
        error = "libsndfile wrote too little";
        return false;
    }
    return true;
}

bool writeCompressed(const std::string& path, const char* muxer, const char* encoder,
                     const Tone& tone, std::string& error, int bitRate, bool unindexedVbr) {
    const AVCodec* codec = avcodec_find_encoder_by_name(encoder);
    if (codec == nullptr) {
        error = std::string("FFmpeg has no encoder ") + encoder;
        return false;
    }
    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, muxer, path.c_str()) < 0) {
        error = std::string("FFmpeg has no muxer ") + muxer;
        return false;
    }
    AVCodecContext* c = avcodec_alloc_context3(codec);
    AVStream* stream = avformat_new_stream(out, nullptr);
    c->sample_rate = tone.rate;
    av_channel_layout_default(&c->ch_layout, tone.channels);
    c->sample_fmt = codec->sample_fmts != nullptr ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->bit_rate = bitRate;
    if (unindexedVbr) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = FF_QP2LAMBDA * 4;
    }
    c->time_base = AVRational{1, tone.rate};
    if (out->oformat->flags & AVFMT_GLOBALHEADER) {
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    bool ok = avcodec_open2(c, codec, nullptr) >= 0 &&
              avcodec_parameters_from_context(stream->codecpar, c) >= 0;
    stream->time_base = c->time_base;
    ok = ok && avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
    AVDictionary* options = nullptr;
    if (unindexedVbr) {
        av_dict_set(&options, "write_xing", "0", 0);
    }
    ok = ok && avformat_write_header(out, &options) >= 0;
    av_dict_free(&options);
    AVPacket* packet = av_packet_alloc();
    auto drain = [&] {
        while (avcodec_receive_packet(c, packet) == 0) {
            av_packet_rescale_ts(packet, c->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(out, packet) < 0) {
                ok = false;
            }
        }
    };
    const auto frames = static_cast<std::int64_t>(std::llround(tone.seconds * tone.rate));
    const int perFrame = c->frame_size > 0 ? c->frame_size : 1024;
    AVFrame* frame = av_frame_alloc();
    for (std::int64_t at = 0; ok && at < frames; at += perFrame) {
        const int n = static_cast<int>(std::min<std::int64_t>(perFrame, frames - at));
        av_frame_unref(frame);
        frame->nb_samples =
            c->frame_size > 0 && !(codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)
                ? perFrame // the last frame padded with silence
                : n;
        frame->format = c->sample_fmt;
        av_channel_layout_copy(&frame->ch_layout, &c->ch_layout);
        frame->sample_rate = tone.rate;
        if (av_frame_get_buffer(frame, 0) < 0) {
            ok = false;
            break;
        }
        for (int i = 0; i < frame->nb_samples; ++i) {
            const double v = i < n ? toneAt(tone, at + i) : 0.0;
            for (int ch = 0; ch < tone.channels; ++ch) {
                putSample(frame, c->sample_fmt, ch, i, tone.channels, v);
            }
        }
        frame->pts = at;
        ok = avcodec_send_frame(c, frame) >= 0;
        drain();
    }
    avcodec_send_frame(c, nullptr);
    drain();
    ok = ok && av_write_trailer(out) >= 0;
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&c);
    avio_closep(&out->pb);
    avformat_free_context(out);
    if (!ok) {
        error = std::string("FFmpeg could not write ") + path;
    }
    return ok;
}

std::string midiFile(int key, double holdSeconds, double songSeconds, int program,
                     const std::string& name) {
    constexpr int kDivision = 480; // ticks a quarter note, 0.5 s at 120 beats a minute
    auto ticks = [](double seconds) {
        return static_cast<std::uint32_t>(std::lround(seconds * 2 * kDivision));
    };
    std::string track;
    if (!name.empty()) {
        track += '\0';
        track += "\xFF\x03";
        varLength(track, static_cast<std::uint32_t>(name.size()));
        track += name;
    }
    track += '\0';
    track += "\xFF\x51\x03\x07\xA1\x20"; // 500000 microseconds a quarter note
    track += '\0';
    track += '\xC0';
    track += static_cast<char>(program);
    track += '\0';
    track += '\x90';
    track += static_cast<char>(key);
    track += '\x64';
    varLength(track, ticks(holdSeconds));
    track += '\x80';
    track += static_cast<char>(key);
    track += '\0';
    varLength(track, ticks(songSeconds) - ticks(holdSeconds));
    track += "\xFF\x2F";
    track += '\0';
    std::string m = "MThd";
    be32(m, 6);
    m += std::string("\0\0\0\1", 4);
    m += static_cast<char>(kDivision >> 8);
    m += static_cast<char>(kDivision & 0xFF);
    m += "MTrk";
    be32(m, static_cast<std::uint32_t>(track.size()));
    return m + track;
}

std::string rmidFile(const std::string& midi) {
    std::string body = "RMID";
    body += "data";
    le32(body, static_cast<std::uint32_t>(midi.size()));
    body += midi;
    if (midi.size() % 2 != 0) {
        body += '\0';
    }
    std::string r = "RIFF";
    le32(r, static_cast<std::uint32_t>(body.size()));
    return r + body;
}

} // namespace fixtures
