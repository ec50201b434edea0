#pragma once

#include <string>

// The one version of all three programs, from the build.
inline constexpr int ProgramVersionMajor = VANTORIX_VERSION_MAJOR;
inline constexpr int ProgramVersionMinor = VANTORIX_VERSION_MINOR;
inline constexpr int ProgramVersionRevision = VANTORIX_VERSION_PATCH;

// "major.minor.revision".
inline std::string programVersionText() {
    return std::to_string(ProgramVersionMajor) + "." + std::to_string(ProgramVersionMinor) + "." +
           std::to_string(ProgramVersionRevision);
}
