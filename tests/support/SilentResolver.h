#pragma once

#include "OwnNamespaces.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <net/if.h>
#include <netinet/in.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

// A name server that takes every question and never answers, for one test run in namespaces
// of its own (user, mount, network), so that nothing of the machine is touched: the test
// runs itself again under unshare(1) with VANTORIX_SILENT_RESOLVER set, and that run points
// /etc/resolv.conf at a loopback socket that only listens.
class SilentResolver {
public:
    // The outer run runs the test in progress inside the namespaces and reports; true there.
    static bool ranInside() {
        return ranInOwnNamespaces("VANTORIX_SILENT_RESOLVER",
                                  {"--user", "--map-root-user", "--mount", "--net"});
    }

    // The inner run: empty when the silent server is in place, else why not (the test is
    // then skipped).
    std::string start() {
        const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
        ifreq lo{};
        std::strcpy(lo.ifr_name, "lo");
        if (::ioctl(s, SIOCGIFFLAGS, &lo) != 0 ||
            (lo.ifr_flags |= IFF_UP, ::ioctl(s, SIOCSIFFLAGS, &lo)) != 0) {
            ::close(s);
            return "loopback stays down";
        }
        ::close(s);
        fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(53);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            return "port 53 taken";
        }
        const std::string conf = dir_.filePath("resolv.conf").toStdString();
        // One try that lasts far longer than any test may: only an abandoned lookup ends early.
        std::ofstream(conf) << "nameserver 127.0.0.1\noptions timeout:30 attempts:1\n";
        if (::mount(conf.c_str(), "/etc/resolv.conf", nullptr, MS_BIND, nullptr) != 0) {
            return "resolv.conf not replaced";
        }
        return {};
    }
    ~SilentResolver() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

private:
    QTemporaryDir dir_;
    int fd_ = -1;
};
