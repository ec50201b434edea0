// A program that switches the screen through DirectX7Display and then ends as told, for the
// tests of what happens to a switch when its process goes:
//   display_switch_child WIDTH HEIGHT RATE BITS exit|quit|kill|wait
// exit: std::exit while switched; quit: _exit, so nothing restores; kill: SIGKILL;
// wait: until a signal comes. It prints "switched" or "unchanged" once the switch is done.
#include "DirectX7Display.h"
#include "DisplayModes.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// Reachable to the leak checker at exit, as a program's display object is.
DirectX7Display* screen = nullptr;

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT RATE BITS exit|quit|kill|wait\n", argv[0]);
        return 2;
    }
    QCoreApplication app(argc, argv);
    screen = new DirectX7Display;
    screen->SetDisplayMode(
        static_cast<VbInteger>(std::atoi(argv[1])), static_cast<VbInteger>(std::atoi(argv[2])),
        static_cast<VbInteger>(std::atoi(argv[3])), static_cast<std::uint8_t>(std::atoi(argv[4])));
    std::printf("%s\n", display::DisplayModes::instance().switched() ? "switched" : "unchanged");
    std::fflush(stdout);
    const std::string how = argv[5];
    if (how == "exit") {
        std::exit(0);
    }
    if (how == "quit") {
        _exit(0);
    }
    if (how == "kill") {
        raise(SIGKILL);
    }
    for (;;) {
        pause();
    }
}
