#pragma once

#include <string>

// Which process left the display-restore marker, and whether it still runs.
namespace display {

// "<pid> <start time>", telling a process apart from a later one with the same id; empty
// for a process that is gone (or only not yet reaped).
std::string processIdentity(long pid);

// The marker's owner, as processIdentity wrote it, is still running.
bool ownerStillRuns(const std::string& owner);

} // namespace display
