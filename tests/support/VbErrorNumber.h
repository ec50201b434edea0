#pragma once

#include "VbError.h"

#include <functional>

// The error number f raised, 0 when it raised none.
inline int vbErrorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const VbError& e) {
        return e.Number();
    }
    return 0;
}
