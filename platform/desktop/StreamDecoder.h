#pragma once

#include "MusicFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace music {

// Decodes one sampled or compressed audio file to stereo float frames at its own rate.
class StreamDecoder {
public:
    virtual ~StreamDecoder() = default;
    virtual int rate() const = 0;
    // Frames in the file as far as known before decoding it all; 0 when unknown.
    virtual std::int64_t frames() const = 0;
    // Up to n frames (left and right interleaved) into out; 0 at the end of the file.
    virtual std::size_t read(float* out, std::size_t n) = 0;
    // Back to the first frame; false when that fails.
    virtual bool rewind() = 0;
};

// Waves, AU, AIFF and IFF (8SVX) and the other sampled formats of libsndfile; nullptr
// (error set) for anything else, MPEG audio included.
std::unique_ptr<StreamDecoder> openSampledFile(std::shared_ptr<MusicFile> file, std::string& error);
// MPEG audio (layers 1 to 3, also inside MPEG system streams), WMA in ASF, and waves in a
// compressed coding, through FFmpeg.
std::unique_ptr<StreamDecoder> openCompressedFile(std::shared_ptr<MusicFile> file,
                                                  std::string& error);

} // namespace music
