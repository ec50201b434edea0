#include "HostileFiles.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace hostile {

void makePipe(const std::string& path) {
    if (::mkfifo(path.c_str(), 0600) != 0) {
        throw std::runtime_error("mkfifo failed: " + path);
    }
}

void makeSparse(const std::string& path, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        throw std::runtime_error("sparse file failed: " + path);
    }
    ::close(fd);
}

std::string fingerprint(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return "missing";
    }
    if (S_ISLNK(st.st_mode)) {
        char target[4096];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        return "link to " + std::string(target, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    if (S_ISFIFO(st.st_mode)) {
        return "pipe";
    }
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) {
        return "device";
    }
    if (S_ISDIR(st.st_mode)) {
        return "folder";
    }
    // Size and a hash of the bytes (sparse giants are all zero and read quickly).
    std::ifstream in(path, std::ios::binary);
    std::size_t h = 0;
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        h = h * 31 + std::hash<std::string_view>()(
                         std::string_view(buf, static_cast<std::size_t>(in.gcount())));
    }
    return "file " + std::to_string(st.st_size) + " " + std::to_string(h);
}

std::string fingerprintOf(std::string_view bytes) {
    std::size_t h = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 65536) {
        h = h * 31 + std::hash<std::string_view>()(bytes.substr(at, 65536));
    }
    return "file " + std::to_string(bytes.size()) + " " + std::to_string(h);
}

PipeWatch::PipeWatch(std::string path, int seconds) : path_(std::move(path)) {
    thread_ = std::thread([this, seconds] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done_ && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (done_) {
            return;
        }
        needed_ = true;
        // Whoever waits in open() or read() on the pipe gets a writer and then the end; again
        // and again, for a reader that opens the pipe more than once.
        while (!done_) {
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
}

PipeWatch::~PipeWatch() {
    done_ = true;
    thread_.join();
}

} // namespace hostile
