#pragma once

#include "VbTypes.h"

#include <string>

// The performance test's figures: each sample turns a 100 ms count of loop passes into the
// running average Index and the best MaxIndex.
class PerfSampler {
public:
    // One sample window's count of loop passes; returns the new Index.
    VbLong addSample(VbLong counter);

    VbLong Total = 0;
    VbLong Samples = 0;
    VbLong MaxIndex = 0;
    VbLong Index = 0;

    // An index of this fills the bar area's width.
    static constexpr double FullScale = 7500.0;

    // "Index: 12  Maxindex: 15"
    std::string label() const;
};
