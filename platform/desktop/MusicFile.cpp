#include "MusicFile.h"

#include "FileRead.h"
#include "VbError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>

namespace music {

std::shared_ptr<MusicFile> MusicFile::open(const std::string& path, std::int64_t cap,
                                           std::string& error) {
    std::uintmax_t size = 0;
    int fd = -1;
    try {
        fd = openCheckedFile(path, static_cast<std::uintmax_t>(std::max<std::int64_t>(cap, 0)),
                             "a music file", size);
    } catch (const VbError& e) {
        error = e.Description(); // names the file and the cause
        return nullptr;
    }
    return std::shared_ptr<MusicFile>(new MusicFile(fd, static_cast<std::int64_t>(size), path));
}

MusicFile::MusicFile(int fd, std::int64_t size, std::string path)
    : fd_(fd), size_(size), path_(std::move(path)) {}

MusicFile::~MusicFile() {
    ::close(fd_);
}

std::int64_t MusicFile::readAt(std::int64_t offset, void* buffer, std::size_t n) const {
    if (offset < 0) {
        return -1;
    }
    // The file may grow after the check; what lies past the size seen then is not read.
    const std::int64_t left = size_ - offset;
    if (left <= 0 || n == 0) {
        return 0;
    }
    std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(left, n));
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < want) {
        const ssize_t got = ::pread(fd_, out + done, want - done, offset + done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return done > 0 ? static_cast<std::int64_t>(done) : -1;
        }
        if (got == 0) {
            break; // the file shrank
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool MusicFile::readAll(std::vector<char>& bytes, std::string& error) const {
    try {
        bytes.resize(static_cast<std::size_t>(size_));
    } catch (const std::bad_alloc&) {
        error = path_ + ": not enough memory to read it";
        return false;
    }
    const std::int64_t got = readAt(0, bytes.data(), bytes.size());
    if (got < 0) {
        error = path_ + ": " + std::strerror(errno);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

std::int64_t MusicFileCursor::read(void* buffer, std::size_t n) {
    const std::int64_t got = file_->readAt(pos_, buffer, n);
    if (got > 0) {
        pos_ += got;
    }
    return got;
}

std::int64_t MusicFileCursor::seek(std::int64_t offset, int whence) {
    std::int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = pos_;
    } else if (whence == SEEK_END) {
        base = file_->size();
    } else if (whence != SEEK_SET) {
        return -1;
    }
    const std::int64_t to = base + offset;
    if (to < 0) {
        return -1;
    }
    pos_ = to;
    return pos_;
}

} // namespace music
