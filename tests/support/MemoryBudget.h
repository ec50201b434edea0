#pragma once

#include <cstddef>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process that may take only `budget` bytes of address space beyond
// what the process holds now; its answer, or false when it did not finish. The sanitizers'
// shadow memory needs the address space this limits: ask runsWithinMemoryBudget() first.
inline bool runsWithinMemoryBudget() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#endif
#endif
    return true;
}

inline bool answerWithinMemoryBudget(std::size_t budget, const std::function<bool()>& work) {
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        std::ifstream statm("/proc/self/statm");
        std::size_t pages = 0;
        statm >> pages;
        const rlimit limit{pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + budget,
                           RLIM_INFINITY};
        setrlimit(RLIMIT_AS, &limit);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
