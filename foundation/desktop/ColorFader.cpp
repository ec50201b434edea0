#include "ColorFader.h"

#include "Numbers.h"

#include <cmath>
#include <cstdlib>

namespace {

int redOf(VbLong c) {
    return c & 255;
}
int greenOf(VbLong c) {
    return static_cast<int>(std::floor(c / 256.0)) & 255;
}
int blueOf(VbLong c) {
    return static_cast<int>(std::floor(c / 65536.0)) & 255;
}

} // namespace

void ColorFader::setStartColor(VbLong c) {
    startColor_ = c;
    recalculate();
}

void ColorFader::setEndColor(VbLong c) {
    endColor_ = c;
    recalculate();
}

void ColorFader::setSteps(VbLong n) {
    steps_ = n;
    recalculate();
}

void ColorFader::recalculate() {
    if (unset()) {
        return;
    }
    counter_ = 0;
    startR_ = redOf(startColor_);
    startG_ = greenOf(startColor_);
    startB_ = blueOf(startColor_);
    const int endR = redOf(endColor_);
    const int endG = greenOf(endColor_);
    const int endB = blueOf(endColor_);
    // With no steps there is nothing to divide by: the old steps stay. A pass then has
    // only its start colour, so they are never used.
    if (steps_ != 0) {
        stepR_ = std::abs(endR - startR_) / static_cast<double>(steps_);
        stepG_ = std::abs(endG - startG_) / static_cast<double>(steps_);
        stepB_ = static_cast<float>(std::abs(endB - startB_) / static_cast<double>(steps_));
    }
    if (endR < startR_) {
        stepR_ = -stepR_;
    }
    if (endG < startG_) {
        stepG_ = -stepG_;
    }
    if (endB < startB_) {
        stepB_ = -stepB_;
    }
}

VbLong ColorFader::GetNextColor() {
    if (counter_ > steps_) {
        if (!pingPong_ || previousEnd_ == endColor_) {
            return -1;
        }
        previousEnd_ = endColor_;
        const VbLong oldStart = startColor_;
        startColor_ = endColor_;
        endColor_ = oldStart;
        recalculate();
        counter_ = 0;
    }
    if (unset()) {
        return -1;
    }
    const double r = num::roundHalfEven(startR_ + counter_ * stepR_);
    const double g = num::roundHalfEven(startG_ + counter_ * stepG_);
    const double b = num::roundHalfEven(startB_ + counter_ * static_cast<double>(stepB_));
    ++counter_;
    return static_cast<VbLong>(r + 256.0 * g + 65536.0 * b);
}
