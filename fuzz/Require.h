#pragma once

#include <cstdlib>

// Stops the run (libFuzzer reports the input) when a property of the target does not hold.
inline void require(bool ok) {
    if (!ok) {
        std::abort();
    }
}
