#pragma once

#include <exception>
#include <utility>

// Runs a step whose failure must not stop the caller: the step's error is dropped and the
// caller carries on. Each use says why that is right there.
template <typename Step> void ignoringFailures(Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (const std::exception&) {
    }
}
