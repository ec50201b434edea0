#include "XServerFixture.h"

#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const xorgConf = R"(Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "mon"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1280x1024" 108.00 1280 1328 1440 1688 1024 1025 1028 1066
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806
  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628
  Modeline "800x600_75" 49.50 800 816 896 1056 600 601 604 625
  Modeline "640x480" 25.18 640 656 752 800 480 490 492 525
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "mon"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1280x1024" "1024x768" "800x600" "800x600_75" "640x480"
  EndSubSection
EndSection
)";

std::string findXorg() {
    for (const char* p : {"/usr/bin/Xorg", "/usr/lib/xorg/Xorg"}) {
        if (access(p, X_OK) == 0) {
            return p;
        }
    }
    return {};
}

bool displayInUse(int n) {
    return fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) ||
           fs::exists("/tmp/.X" + std::to_string(n) + "-lock");
}

bool answers(const std::string& name) {
    Display* dpy = XOpenDisplay(name.c_str());
    if (!dpy) {
        return false;
    }
    XCloseDisplay(dpy);
    return true;
}

pid_t spawnXorg(const std::string& xorg, const std::string& name, const std::string& dir) {
    const std::string conf = dir + "/xorg.conf", confDir = dir + "/conf.d", log = dir + "/Xorg.log",
                      out = dir + "/Xorg.out";
    std::vector<std::string> args = {xorg,         name,       "-config",  conf,
                                     "-configdir", confDir,    "-noreset", "-nolisten",
                                     "tcp",        "-logfile", log,        "-novtswitch"};
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, xorg.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

} // namespace

bool XServerFixture::installed() {
    return !findXorg().empty() && fs::exists("/usr/lib/xorg/modules/drivers/dummy_drv.so");
}

std::unique_ptr<XServerFixture> XServerFixture::start(std::string& whyNot) {
    const std::string xorg = findXorg();
    if (!installed()) {
        whyNot = "Xorg with the dummy video driver is not installed";
        return nullptr;
    }
    char pattern[] = "/tmp/vantorix-xserver-XXXXXX";
    if (!mkdtemp(pattern)) {
        whyNot = "no temporary folder";
        return nullptr;
    }
    const std::string dir = pattern;
    fs::create_directories(dir + "/conf.d");
    std::ofstream(dir + "/xorg.conf") << xorgConf;

    // Spread parallel test runs over the range; a display taken between the look and the
    // start makes that server quit, and the next number is tried.
    const int first = 140 + static_cast<int>(getpid() % 50);
    for (int n = first, tries = 0; tries < 60; ++n, ++tries) {
        if (n > 299) {
            n = 140;
        }
        if (displayInUse(n)) {
            continue;
        }
        std::string name = ":";
        name += std::to_string(n);
        const pid_t pid = spawnXorg(xorg, name, dir);
        if (pid < 0) {
            break;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                break; // gone: most likely the display was taken meanwhile
            }
            if (answers(name)) {
                return std::unique_ptr<XServerFixture>(new XServerFixture(pid, name, dir));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        if (kill(pid, 0) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            whyNot = "Xorg did not answer on " + name + " (see " + dir + "/Xorg.log)";
            return nullptr;
        }
    }
    whyNot = "Xorg would not start (see " + dir + "/Xorg.log)";
    return nullptr;
}

XServerFixture::XServerFixture(pid_t pid, std::string name, std::string dir)
    : pid_(pid), name_(std::move(name)), dir_(std::move(dir)) {}

XServerFixture::~XServerFixture() {
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) != pid_) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}
