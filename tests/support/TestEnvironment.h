#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

// Each test runs with its own empty XDG config and data folders, so settings never leak
// between tests or into the developer's home.
class TestEnvironment {
public:
    static void installListener();
    static std::string configHome();
    static std::string dataHome();
};
