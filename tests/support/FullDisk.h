#pragma once

#include "OwnNamespaces.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

// A full disk for one test: the test runs itself again in namespaces of its own (user,
// mount), and that run lays a small file system over a folder and fills it, bytes and file
// entries, so every new file or folder there fails with ENOSPC. Nothing of the machine is
// touched.
//
//     if (FullDisk::ranInside()) return;
//     FullDisk disk;
//     if (const std::string why = disk.mountOver(folder); !why.empty()) GTEST_SKIP() << why;
//     ... make what must already stand there ...
//     disk.fill();
class FullDisk {
public:
    // The outer run runs the test in progress inside and reports; true there.
    static bool ranInside() {
        return ranInOwnNamespaces("VANTORIX_FULL_DISK", {"--user", "--map-root-user", "--mount"});
    }

    FullDisk() = default;
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    ~FullDisk() {
        if (!folder_.empty()) {
            ::umount2(folder_.c_str(), MNT_DETACH);
        }
    }

    // Empty when the small file system lies over folder (which must exist), else why not.
    std::string mountOver(const std::string& folder) {
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k,nr_inodes=64") != 0) {
            return std::string("no file system of its own: ") + std::strerror(errno);
        }
        folder_ = folder;
        return {};
    }

    // Takes every byte and every file entry that is left.
    void fill() const {
        const std::string bytes = folder_ + "/.fill";
        const int fd = ::open(bytes.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const char block[4096] = {};
        while (fd >= 0 && ::write(fd, block, sizeof block) > 0) {
        }
        if (fd >= 0) {
            ::close(fd);
        }
        for (int n = 0;; ++n) {
            const std::string entry = folder_ + "/.fill" + std::to_string(n);
            const int e = ::open(entry.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            if (e < 0) {
                break;
            }
            ::close(e);
        }
    }

private:
    std::string folder_;
};
