#include "PerfSampler.h"

#include "Numbers.h"

VbLong PerfSampler::addSample(VbLong counter) {
    Samples += 1;
    Total += num::toLong(num::roundHalfEven(static_cast<double>(counter) / 100.0));
    Index = num::toLong(num::roundHalfEven(static_cast<double>(Total) / Samples));
    if (Index > MaxIndex) {
        MaxIndex = Index;
    }
    if (Total > 100000) {
        Total = 0;
        Samples = 0;
    }
    return Index;
}

std::string PerfSampler::label() const {
    return "Index: " + num::toText(static_cast<std::int64_t>(Index)) +
           "  Maxindex: " + num::toText(static_cast<std::int64_t>(MaxIndex));
}
