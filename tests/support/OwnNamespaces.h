#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStringList>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

// Runs the test in progress once more in namespaces of its own (unshare(1) with the given
// flags), with marker set in its environment, so that what the test does there (mounts, a
// private network) touches nothing of the machine. Empty when it passed there; "skip: ..."
// when this machine cannot make the namespaces or the inner run skipped; else its output.
inline std::string rerunInOwnNamespaces(const char* marker, const QStringList& unshareFlags) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(marker, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    // An earlier test may have left the current folder removed (DirExists moves it).
    child.setWorkingDirectory(QDir::tempPath());
    child.start("unshare", QStringList(unshareFlags)
                               << QCoreApplication::applicationFilePath()
                               << QString::fromStdString("--gtest_filter=" + name));
    if (!child.waitForStarted(5000)) {
        return "skip: unshare(1) is not there";
    }
    child.waitForFinished(120000);
    std::string out = child.readAll().toStdString();
    if (out.find("unshare failed") != std::string::npos || out.starts_with("unshare: ") ||
        out.find("[  SKIPPED ] 1 test") != std::string::npos) {
        return "skip: not in namespaces of its own here: " + out;
    }
    if (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
        out.find("[  PASSED  ] 1 test") != std::string::npos) {
        return {};
    }
    return out;
}

// For a test that must run in namespaces of its own: in the outer run, runs it inside,
// reports what happened there and returns true (the test body then ends); inside, false.
inline bool ranInOwnNamespaces(const char* marker, const QStringList& unshareFlags) {
    if (std::getenv(marker) != nullptr) {
        return false;
    }
    const std::string failure = rerunInOwnNamespaces(marker, unshareFlags);
    if (failure.starts_with("skip: ")) {
        [&] { GTEST_SKIP() << failure; }();
    } else {
        EXPECT_EQ(failure, "");
    }
    return true;
}
