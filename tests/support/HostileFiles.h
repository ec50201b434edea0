#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <thread>

// Files a reader must refuse or survive: named pipes, sparse giants, and a watch that frees a
// reader stuck on a pipe so a test fails instead of hanging.
namespace hostile {

// A named pipe at path (nobody writes to it).
void makePipe(const std::string& path);
// A file of size bytes that takes no disk space (all zero).
void makeSparse(const std::string& path, std::size_t size);
// A device every machine has.
inline const char* const device = "/dev/zero";

// What a test compares before and after: the kind of the entry and, for files, size and a
// hash of the bytes.
std::string fingerprint(const std::string& path);
// The fingerprint of a file holding bytes.
std::string fingerprintOf(std::string_view bytes);

// While it lives, a reader blocked on the pipe at path (in open or read) is freed after
// seconds and from then on: the pipe is opened for writing and closed again, which ends the
// reader's wait. needed() tells whether that happened, that is whether the reader blocked.
class PipeWatch {
public:
    explicit PipeWatch(std::string path, int seconds = 20);
    ~PipeWatch();
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;
    bool needed() const { return needed_; }

private:
    std::string path_;
    std::atomic<bool> done_{false};
    std::atomic<bool> needed_{false};
    std::thread thread_;
};

} // namespace hostile
