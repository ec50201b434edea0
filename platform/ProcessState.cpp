#include "ProcessState.h"

#include <cerrno>
#include <csignal>
#include <sys/types.h>

bool processRunning(std::int64_t pid) {
    // Zero and negative ids name process groups, not a process.
    if (pid <= 0 || static_cast<std::int64_t>(static_cast<pid_t>(pid)) != pid) {
        return false;
    }
    if (::kill(static_cast<pid_t>(pid), 0) == 0) {
        return true;
    }
    // Another user's process answers "not permitted": it exists.
    return errno != ESRCH;
}
