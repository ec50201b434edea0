#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// How the music back end reaches a file: one check on open (never blocks, only regular
// files, at most a given size) and reads that never pass the size seen then. Several
// readers may share one open file; each keeps its own position.
namespace music {

inline constexpr std::int64_t kMiB = 1024L * 1024;
// The largest tracker modules in the wild hold tens of MiB of samples.
inline constexpr std::int64_t moduleSizeCap = 128 * kMiB;
// MIDI songs are rarely above a few MiB.
inline constexpr std::int64_t midiSizeCap = 32 * kMiB;
// Streams are read a piece at a time; a long uncompressed wave stays well under this.
inline constexpr std::int64_t streamSizeCap = 256 * kMiB;

class MusicFile {
public:
    // nullptr with error set (naming the file and the cause) when the path is not a
    // readable regular file of at most cap bytes: the checks of every file the programs
    // read. A named pipe or a device does not block the caller.
    static std::shared_ptr<MusicFile> open(const std::string& path, std::int64_t cap,
                                           std::string& error);
    ~MusicFile();
    MusicFile(const MusicFile&) = delete;
    MusicFile& operator=(const MusicFile&) = delete;

    const std::string& path() const { return path_; }
    std::int64_t size() const { return size_; }
    // Up to n bytes at offset; fewer at the end, -1 on a read error.
    std::int64_t readAt(std::int64_t offset, void* buffer, std::size_t n) const;
    // The whole file.
    bool readAll(std::vector<char>& bytes, std::string& error) const;

private:
    MusicFile(int fd, std::int64_t size, std::string path);
    int fd_;
    std::int64_t size_;
    std::string path_;
};

// A reading position in a shared file, for libraries that read like a stream.
class MusicFileCursor {
public:
    explicit MusicFileCursor(std::shared_ptr<MusicFile> file) : file_(std::move(file)) {}
    std::int64_t read(void* buffer, std::size_t n);
    // whence as in lseek; -1 for a position before the start. Past the end reads nothing.
    std::int64_t seek(std::int64_t offset, int whence);
    std::int64_t tell() const { return pos_; }
    std::int64_t size() const { return file_->size(); }

private:
    std::shared_ptr<MusicFile> file_;
    std::int64_t pos_ = 0;
};

} // namespace music
