#include "TestEnvironment.h"

#include <QDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<QTemporaryDir> currentDir;

class FreshXdgListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        currentDir = std::make_unique<QTemporaryDir>();
        QDir root(currentDir->path());
        root.mkpath("config");
        root.mkpath("data");
        setenv("XDG_CONFIG_HOME", (currentDir->path() + "/config").toLocal8Bit().constData(), 1);
        setenv("XDG_DATA_HOME", (currentDir->path() + "/data").toLocal8Bit().constData(), 1);
    }
    void OnTestEnd(const testing::TestInfo&) override { currentDir.reset(); }
};

} // namespace

void TestEnvironment::installListener() {
    testing::UnitTest::GetInstance()->listeners().Append(new FreshXdgListener);
}

std::string TestEnvironment::configHome() {
    const char* v = std::getenv("XDG_CONFIG_HOME");
    return v ? v : "";
}

std::string TestEnvironment::dataHome() {
    const char* v = std::getenv("XDG_DATA_HOME");
    return v ? v : "";
}
