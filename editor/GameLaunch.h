#pragma once

#include <functional>
#include <string>
#include <vector>

// Starts a program detached with the given arguments, each passed as it is (no shell
// splitting, so paths with blanks survive). True when the program started.
using GameLauncher =
    std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;

bool startDetachedProgram(const std::string& program, const std::vector<std::string>& arguments);
