#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Starts a program detached with the given arguments, each passed as it is (no shell
// splitting, so paths with blanks survive). The started process's id, or nothing when it
// did not start.
using GameLauncher = std::function<std::optional<std::int64_t>(
    const std::string& program, const std::vector<std::string>& arguments)>;

std::optional<std::int64_t> startDetachedProgram(const std::string& program,
                                                 const std::vector<std::string>& arguments);
