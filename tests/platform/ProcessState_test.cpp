#include "ProcessState.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(ProcessState, TellsARunningProcessFromAnEndedOne) {
    // A process that has ended and been reaped.
    QProcess child;
    child.start("true", {});
    ASSERT_TRUE(child.waitForStarted());
    const std::int64_t ended = child.processId();
    ASSERT_TRUE(child.waitForFinished());

    struct Case {
        const char* what;
        std::int64_t pid;
        bool running;
    };
    for (const Case& c : {
             Case{"this process", QCoreApplication::applicationPid(), true},
             // Owned by another user for all but root: asking is not permitted, yet it runs.
             Case{"init", 1, true},
             Case{"ended child", ended, false},
             Case{"no process id", 0, false},
             Case{"a process group", -QCoreApplication::applicationPid(), false},
             Case{"beyond any process id", std::int64_t{1} << 40, false},
         }) {
        EXPECT_EQ(processRunning(c.pid), c.running) << c.what;
    }
}

// A process that has ended but was not reaped yet (a detached one whose new parent does not
// reap) runs no more, though its id still answers.
TEST(ProcessState, AnEndedProcessNotYetReapedHasEnded) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(0);
    }
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
    EXPECT_FALSE(processRunning(child));
    ::waitpid(child, nullptr, 0);
}
