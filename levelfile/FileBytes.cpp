#include "FileBytes.h"

#include "VbError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int diskFull = 61;
constexpr const char* errorSource = "Vantorix";

std::optional<std::size_t> injectedFault;

[[noreturn]] void raiseFileError(int number) {
    throw VbError(number, errorSource, fileErrorDescription(number));
}

int readErrorNumber(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return vberr::FileNotFound;
    case EACCES:
    case EPERM:
        return vberr::PermissionDenied;
    default:
        return vberr::PathFileAccess;
    }
}

int writeErrorNumber(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return vberr::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return vberr::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return diskFull;
    default:
        return vberr::PathFileAccess;
    }
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        const int f = fd_;
        fd_ = -1;
        return f;
    }

private:
    int fd_;
};

// The temporary file goes away unless it was renamed into place.
class TempFile {
public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    std::string path_;
};

mode_t defaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file a write lands in: the target of a symbolic link, the path itself otherwise.
std::string resolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char buf[PATH_MAX];
        if (::realpath(path.c_str(), buf) != nullptr) {
            return buf;
        }
    }
    return path;
}

} // namespace

std::string fileErrorDescription(int number) {
    if (number == diskFull) {
        return "Disk full";
    }
    return vberr::standardDescription(number);
}

void failNextWriteAfterForTesting(std::size_t bytes) {
    injectedFault = bytes;
}

std::string readFileBytes(const std::string& path) {
    if (path.empty()) {
        raiseFileError(vberr::BadFileName);
    }
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        raiseFileError(readErrorNumber(errno));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        raiseFileError(S_ISDIR(st.st_mode) ? vberr::PathFileAccess : readErrorNumber(errno));
    }
    std::string out;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            raiseFileError(readErrorNumber(errno));
        }
        if (n == 0) {
            break;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

void writeFileAtomically(const std::string& path, std::string_view bytes, ExistingFile existing) {
    if (path.empty()) {
        raiseFileError(vberr::BadFileName);
    }
    const std::string target = resolveTarget(path);
    const auto slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) {
        raiseFileError(vberr::BadFileName);
    }

    struct stat dirSt {};
    if (::stat(dir.c_str(), &dirSt) != 0 || !S_ISDIR(dirSt.st_mode)) {
        raiseFileError(vberr::PathNotFound);
    }

    mode_t mode = defaultFileMode();
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) {
            raiseFileError(vberr::PathFileAccess);
        }
        if (existing == ExistingFile::Respect) {
            // Root may write anything; the owner's write bit still says what the user wants.
            if (::access(target.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0) {
                raiseFileError(vberr::PermissionDenied);
            }
            mode = old.st_mode & 07777;
        }
    }

    std::string tmpl = (slash == std::string::npos ? std::string() : dir) + "." + name + ".XXXXXX";
    Fd fd(::mkostemp(tmpl.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        raiseFileError(writeErrorNumber(errno));
    }
    TempFile temp(tmpl);

    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t chunk = bytes.size() - done;
        if (injectedFault) {
            if (done >= *injectedFault) {
                injectedFault.reset();
                raiseFileError(diskFull);
            }
            chunk = std::min(chunk, *injectedFault - done);
        }
        const ssize_t n = ::write(fd.get(), bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            raiseFileError(writeErrorNumber(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    if (injectedFault && done >= *injectedFault) {
        injectedFault.reset();
        raiseFileError(diskFull);
    }
    if (::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0) {
        raiseFileError(writeErrorNumber(errno));
    }
    if (::close(fd.release()) != 0) {
        raiseFileError(writeErrorNumber(errno));
    }
    if (::rename(temp.path().c_str(), target.c_str()) != 0) {
        raiseFileError(writeErrorNumber(errno));
    }
    temp.keep();

    // Make the rename itself durable; a failure here cannot undo the write.
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0) {
        ::fsync(dirFd.get());
    }
}
