#include "DisplayModesGuard.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace display::guard {

namespace {

constexpr int handledSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int watcherWaitMs = 3000;

int wakePipe[2] = {-1, -1};
int donePipe[2] = {-1, -1};
volatile sig_atomic_t watcherReady = 0;

std::mutex mutex;
std::optional<XScreenConfig> pending; // under mutex
std::thread* watcher = nullptr;       // never destroyed: a running thread must not end the process
std::string watcherDisplay;
bool handlersInstalled = false;

void onSignal(int sig) {
    const int savedErrno = errno;
    if (watcherReady) {
        const unsigned char wake = static_cast<unsigned char>(sig);
        if (write(wakePipe[1], &wake, 1) == 1) {
            pollfd done{donePipe[0], POLLIN, 0};
            if (poll(&done, 1, watcherWaitMs) > 0) {
                unsigned char ack;
                [[maybe_unused]] const ssize_t n = read(donePipe[0], &ack, 1);
            }
        }
    }
    // The signal is blocked while its handler runs; raised now, it ends the process the
    // ordinary way as soon as the handler returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(sig, &fallback, nullptr);
    raise(sig);
    errno = savedErrno;
}

void watch(XRandRScreen* screen) {
    for (;;) {
        unsigned char wake = 0;
        const ssize_t n = read(wakePipe[0], &wake, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || wake == 0) {
            break;
        }
        {
            std::lock_guard lock(mutex);
            if (pending) {
                screen->apply(*pending);
            }
        }
        const unsigned char ack = 1;
        [[maybe_unused]] const ssize_t w = write(donePipe[1], &ack, 1);
    }
    delete screen;
}

void stopWatcher() {
    if (!watcher) {
        return;
    }
    watcherReady = 0;
    const unsigned char quit = 0;
    [[maybe_unused]] const ssize_t w = write(wakePipe[1], &quit, 1);
    watcher->join();
    delete watcher;
    watcher = nullptr;
    watcherDisplay.clear();
}

void startWatcher(const std::string& xDisplayName) {
    if (wakePipe[0] < 0 && (pipe2(wakePipe, O_CLOEXEC) != 0 || pipe2(donePipe, O_CLOEXEC) != 0)) {
        return;
    }
    // Its own connection, opened now: in a signal handler nothing may be opened any more.
    auto screen = XRandRScreen::open(xDisplayName);
    if (!screen) {
        return;
    }
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    for (int sig : handledSignals) {
        sigaddset(&blocked, sig);
    }
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    watcher = new std::thread(watch, screen.release());
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    watcherDisplay = xDisplayName;
    watcherReady = 1;
}

void installHandlers() {
    if (handlersInstalled) {
        return;
    }
    handlersInstalled = true;
    struct sigaction ours {};
    ours.sa_handler = onSignal;
    ours.sa_flags = SA_RESTART;
    sigemptyset(&ours.sa_mask);
    for (int sig : handledSignals) {
        sigaddset(&ours.sa_mask, sig);
    }
    for (int sig : handledSignals) {
        struct sigaction before {};
        // A program that handles or ignores the signal itself keeps it that way.
        if (sigaction(sig, nullptr, &before) == 0 && !(before.sa_flags & SA_SIGINFO) &&
            before.sa_handler == SIG_DFL) {
            sigaction(sig, &ours, nullptr);
        }
    }
}

} // namespace

void arm(const std::string& xDisplayName, const XScreenConfig& saved) {
    if (!watcher || watcherDisplay != xDisplayName) {
        stopWatcher();
        startWatcher(xDisplayName);
    }
    {
        std::lock_guard lock(mutex);
        pending = saved;
    }
    installHandlers();
}

void disarm() {
    std::lock_guard lock(mutex);
    pending.reset();
}

void shutdown() {
    disarm();
    stopWatcher();
}

} // namespace display::guard
