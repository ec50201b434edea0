#pragma once

#include "DisplayModesXRandR.h"

#include <string>

// Puts a switched X configuration back when the process is ended by SIGINT, SIGTERM or SIGHUP.
// The handler only wakes a watcher thread, which restores over its own X connection while the
// handler waits (a few seconds at most), and then lets the signal end the process as before.
namespace display::guard {

// From now until disarm(), those signals restore `saved` on the named display.
void arm(const std::string& xDisplayName, const XScreenConfig& saved);
void disarm();

// Stops the watcher thread; at exit.
void shutdown();

} // namespace display::guard
