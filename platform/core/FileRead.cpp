#include "FileRead.h"

#include "VbError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t MB = 1024UL * 1024;

[[noreturn]] void fail(std::int32_t number, const std::string& path, const std::string& cause) {
    std::string text = fileErrorText(vberr::standardDescription(number), path);
    if (!cause.empty()) {
        text += " " + cause;
    }
    throw VbError(number, "Vantorix", text);
}

[[noreturn]] void failOpen(int err, const std::string& path) {
    switch (err) {
    case ENOENT: {
        // A missing file in a folder that exists, or a missing folder on the way.
        std::error_code ec;
        const std::filesystem::path parent = std::filesystem::path(path).parent_path();
        const bool folderThere = parent.empty() || std::filesystem::is_directory(parent, ec);
        fail(folderThere ? vberr::FileNotFound : vberr::PathNotFound, path, "");
    }
    case ENOTDIR:
        fail(vberr::PathNotFound, path, "");
    case EACCES:
    case EPERM:
        fail(vberr::PermissionDenied, path, "");
    case ENOMEM:
        fail(vberr::OutOfMemory, path, "");
    default:
        fail(vberr::PathFileAccess, path,
             std::string("cannot be opened (") + std::strerror(err) + ")");
    }
}

const char* kindName(FileKind kind) {
    switch (kind) {
    case FileKind::LevelText:
    case FileKind::LevelBinary:
        return "a level set";
    case FileKind::Hiscores:
        return "a hiscore table";
    case FileKind::Picture:
        return "a picture";
    case FileKind::Sound:
        return "a sound";
    case FileKind::Settings:
        return "a settings file";
    case FileKind::Text:
        return "a text";
    }
    return "a file";
}

std::string sizeText(std::uintmax_t bytes) {
    if (bytes % MB == 0) {
        return std::to_string(bytes / MB) + " MB";
    }
    return std::to_string(bytes) + " bytes";
}

[[noreturn]] void failTooLarge(const std::string& path, std::uintmax_t cap,
                               const std::string& what) {
    fail(vberr::PathFileAccess, path,
         "is larger than the " + sizeText(cap) + " " + what + " may have");
}

std::string notRegularCause(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "is a folder, not a file";
    }
    if (S_ISFIFO(mode)) {
        return "is a named pipe, not a regular file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "is a device, not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "is a socket, not a regular file";
    }
    return "is not a regular file";
}

class OpenFile {
public:
    OpenFile(const std::string& path, std::uintmax_t cap, const std::string& what) {
        if (path.empty()) {
            throw VbError(vberr::PathFileAccess, "Vantorix",
                          vberr::standardDescription(vberr::PathFileAccess) + ": no file name");
        }
        // Without O_NONBLOCK the open of a pipe waits for a writer, for ever.
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd_ < 0) {
            failOpen(errno, path);
        }
        try {
            if (::fstat(fd_, &st_) != 0) {
                const int err = errno;
                fail(vberr::PathFileAccess, path,
                     std::string("cannot be examined (") + std::strerror(err) + ")");
            }
            if (!S_ISREG(st_.st_mode)) {
                fail(vberr::PathFileAccess, path, notRegularCause(st_.st_mode));
            }
            if (st_.st_size < 0 || static_cast<std::uintmax_t>(st_.st_size) > cap) {
                failTooLarge(path, cap, what);
            }
        } catch (...) {
            // No destructor runs for a constructor that throws.
            ::close(fd_);
            throw;
        }
    }
    ~OpenFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int fd() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    std::size_t size() const { return static_cast<std::size_t>(st_.st_size); }

private:
    int fd_ = -1;
    struct stat st_ {};
};

} // namespace

std::size_t readCap(FileKind kind) {
    // Far above the largest file of each kind the programs make or ship: a set of 1000 levels
    // with 40 aliens each is 1 MB as text and 36 MB in records, a hiscore table 4 KB, the
    // largest picture 0.5 MB, a settings file a few KB.
    switch (kind) {
    case FileKind::LevelText:
        return 16 * MB;
    case FileKind::LevelBinary:
        return 128 * MB;
    case FileKind::Hiscores:
        return 1 * MB;
    case FileKind::Picture:
    case FileKind::Sound:
        return 64 * MB;
    case FileKind::Settings:
        return 1 * MB;
    case FileKind::Text:
        return 16 * MB;
    }
    return 1 * MB;
}

std::string fileErrorText(const std::string& description, const std::string& path) {
    return description + ": \"" + path + "\"";
}

int openCheckedFile(const std::string& path, std::uintmax_t cap, const std::string& what,
                    std::uintmax_t& size) {
    OpenFile file(path, cap, what);
    // Opened without blocking only to get past a pipe; the reads that follow may wait.
    const int flags = ::fcntl(file.fd(), F_GETFL);
    if (flags >= 0) {
        ::fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK);
    }
    size = file.size();
    return file.release();
}

std::string readFile(const std::string& path, FileKind kind) {
    const OpenFile file(path, readCap(kind), kindName(kind));
    const std::size_t cap = readCap(kind);
    std::string out;
    try {
        out.reserve(file.size());
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(file.fd(), buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                const int err = errno;
                fail(vberr::PathFileAccess, path,
                     std::string("cannot be read (") + std::strerror(err) + ")");
            }
            if (n == 0) {
                break;
            }
            // A file may grow while it is read, or claim no size at all.
            if (static_cast<std::size_t>(n) > cap - out.size()) {
                failTooLarge(path, cap, kindName(kind));
            }
            out.append(buffer, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        fail(vberr::OutOfMemory, path, "");
    }
    return out;
}
