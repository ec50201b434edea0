#pragma once

#include <cstdint>

// True while a process with this id exists, whoever owns it. A process that cannot be
// asked about counts as running, so that nothing it may still use is taken away.
bool processRunning(std::int64_t pid);
