#include "ProcessState.h"

#include "FileRead.h"
#include "VbError.h"

#include <cerrno>
#include <csignal>
#include <string>
#include <sys/types.h>

namespace {

// An ended process that nobody has reaped yet (a detached one whose new parent does not
// reap) still answers to its id, though it runs no more.
bool isZombie(std::int64_t pid) {
    try {
        const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat", FileKind::Text);
        // "pid (name) state ...": the name may hold any character, ")" among them.
        const std::size_t nameEnd = stat.rfind(')');
        return nameEnd != std::string::npos && nameEnd + 2 < stat.size() &&
               (stat[nameEnd + 2] == 'Z' || stat[nameEnd + 2] == 'X');
    } catch (const VbError&) {
        return false;
    }
}

} // namespace

bool processRunning(std::int64_t pid) {
    // Zero and negative ids name process groups, not a process.
    if (pid <= 0 || static_cast<std::int64_t>(static_cast<pid_t>(pid)) != pid) {
        return false;
    }
    if (::kill(static_cast<pid_t>(pid), 0) == 0) {
        return !isZombie(pid);
    }
    // Another user's process answers "not permitted": it exists.
    return errno != ESRCH;
}
