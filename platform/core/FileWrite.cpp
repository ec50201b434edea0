#include "FileWrite.h"

#include "FileRead.h"
#include "VbError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int diskFull = 61;
constexpr const char* errorSource = "Vantorix";
// What marks a save's temporary file: ".<name>" + this + six random characters.
constexpr std::string_view tempMark = ".saving-";
constexpr std::size_t tempRandomChars = 6;

std::optional<std::size_t> injectedFault;
std::function<void()> renameHook;

[[noreturn]] void raiseFileError(int number, const std::string& path) {
    throw VbError(number, errorSource, fileErrorText(fileErrorDescription(number), path));
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
    TempFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    ~TempFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }
    int fd() const { return fd_.get(); }
    int releaseFd() { return fd_.release(); }
    void keep() { path_.clear(); }

private:
    std::string path_;
    Fd fd_;
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

struct Place {
    std::string dir;  // "" for the current folder, else ending in "/"
    std::string name; // the file's own name
};

Place placeOf(const std::string& target) {
    const auto slash = target.rfind('/');
    if (slash == std::string::npos) {
        return {"", target};
    }
    return {target.substr(0, slash + 1), target.substr(slash + 1)};
}

bool isTempOf(std::string_view entry, const std::string& name) {
    const std::size_t prefix = 1 + name.size() + tempMark.size();
    if (entry.size() != prefix + tempRandomChars || entry.front() != '.' ||
        entry.substr(1, name.size()) != name ||
        entry.substr(1 + name.size(), tempMark.size()) != tempMark) {
        return false;
    }
    return std::all_of(
        entry.begin() + static_cast<std::ptrdiff_t>(prefix), entry.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        });
}

// A save holds a lock on its temporary file while it writes; a file nobody locks was left by
// a save that died. With remove, such files are deleted (under the lock, so a save that just
// created one is never hit).
std::vector<std::string> sweepTemps(const Place& place, bool remove) {
    std::vector<std::string> found;
    const std::string dirPath = place.dir.empty() ? "." : place.dir;
    DIR* d = ::opendir(dirPath.c_str());
    if (!d) {
        return found;
    }
    while (const dirent* e = ::readdir(d)) {
        if (!isTempOf(e->d_name, place.name)) {
            continue;
        }
        const std::string path = place.dir + e->d_name;
        const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        struct stat st {};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            continue;
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            continue; // a save in progress
        }
        found.push_back(path);
        if (remove) {
            ::unlink(path.c_str());
        }
    }
    ::closedir(d);
    return found;
}

// A fresh temporary file beside the target, created and locked by this save.
int createTemp(const Place& place, std::string& tempPath) {
    for (int attempt = 0;; ++attempt) {
        std::string tmpl = place.dir + "." + place.name + std::string(tempMark) +
                           std::string(tempRandomChars, 'X');
        const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        // A sweeper of another save may have taken the brand-new file for abandoned and
        // removed it before this lock: then try a new name.
        struct stat mine {};
        struct stat there {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &mine) == 0 &&
            ::stat(tmpl.c_str(), &there) == 0 && mine.st_ino == there.st_ino &&
            mine.st_dev == there.st_dev) {
            tempPath = tmpl;
            return fd;
        }
        ::close(fd);
        if (attempt >= 10) {
            errno = EEXIST;
            return -1;
        }
    }
}

} // namespace

std::string fileErrorDescription(int number) {
    if (number == diskFull) {
        return "Disk full";
    }
    return vberr::standardDescription(number);
}

std::string fileWriteErrorText(int err, const std::string& path) {
    const int number = writeErrorNumber(err);
    std::string text = fileErrorText(fileErrorDescription(number), path);
    if (number == vberr::PathFileAccess) {
        text += std::string(" (") + std::strerror(err) + ")";
    }
    return text;
}

std::string newFileFailureText(const std::string& path) {
    const std::string unknown =
        fileErrorText(fileErrorDescription(vberr::PathFileAccess), path) + " cannot be made";
    const Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        return errno == EEXIST ? unknown : fileWriteErrorText(errno, path);
    }
    // About what a lock or settings file holds: enough to need a block of its own.
    const char bytes[256] = {};
    int err = 0;
    errno = 0;
    if (::write(fd.get(), bytes, sizeof bytes) != static_cast<ssize_t>(sizeof bytes) ||
        ::fsync(fd.get()) != 0) {
        err = errno != 0 ? errno : ENOSPC; // a short write: the disk filled up
    }
    ::unlink(path.c_str());
    return err != 0 ? fileWriteErrorText(err, path) : unknown;
}

void failNextWriteAfterForTesting(std::size_t bytes) {
    injectedFault = bytes;
}

void beforeSaveRenameForTesting(std::function<void()> hook) {
    renameHook = std::move(hook);
}

std::vector<std::string> abandonedSaveFiles(const std::string& path) {
    return sweepTemps(placeOf(resolveTarget(path)), false);
}

void writeFileAtomically(const std::string& path, std::string_view bytes, ExistingFile existing) {
    if (path.empty()) {
        throw VbError(vberr::BadFileName, errorSource,
                      fileErrorDescription(vberr::BadFileName) + ": no file name");
    }
    const std::string target = resolveTarget(path);
    const Place place = placeOf(target);
    if (place.name.empty()) {
        raiseFileError(vberr::BadFileName, path);
    }

    struct stat dirSt {};
    if (::stat(place.dir.empty() ? "." : place.dir.c_str(), &dirSt) != 0 ||
        !S_ISDIR(dirSt.st_mode)) {
        raiseFileError(vberr::PathNotFound, path);
    }

    mode_t mode = defaultFileMode();
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) {
            // Never replace a folder, a pipe or a device with a file.
            throw VbError(vberr::PathFileAccess, errorSource,
                          fileErrorText(fileErrorDescription(vberr::PathFileAccess), path) +
                              " is not a regular file");
        }
        if (existing == ExistingFile::Respect) {
            // Root may write anything; the owner's write bit still says what the user wants.
            if (::access(target.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0) {
                raiseFileError(vberr::PermissionDenied, path);
            }
            mode = old.st_mode & 07777;
        }
    }

    sweepTemps(place, true);
    std::string tempPath;
    const int tempFd = createTemp(place, tempPath);
    if (tempFd < 0) {
        raiseFileError(writeErrorNumber(errno), path);
    }
    TempFile temp(tempPath, tempFd);

    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t chunk = bytes.size() - done;
        if (injectedFault) {
            if (done >= *injectedFault) {
                injectedFault.reset();
                raiseFileError(diskFull, path);
            }
            chunk = std::min(chunk, *injectedFault - done);
        }
        const ssize_t n = ::write(temp.fd(), bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            raiseFileError(writeErrorNumber(errno), path);
        }
        done += static_cast<std::size_t>(n);
    }
    if (injectedFault && done >= *injectedFault) {
        injectedFault.reset();
        raiseFileError(diskFull, path);
    }
    if (::fchmod(temp.fd(), mode) != 0 || ::fsync(temp.fd()) != 0) {
        raiseFileError(writeErrorNumber(errno), path);
    }
    if (renameHook) {
        renameHook();
    }
    if (::rename(temp.path().c_str(), target.c_str()) != 0) {
        raiseFileError(writeErrorNumber(errno), path);
    }
    temp.keep();
    // The data is on disk already (fsync); closing only drops the lock.
    ::close(temp.releaseFd());

    // Make the rename itself durable; a failure here cannot undo the write.
    const Fd dirFd(
        ::open(place.dir.empty() ? "." : place.dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0) {
        ::fsync(dirFd.get());
    }
}
