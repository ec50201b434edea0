#pragma once

#include "VbTypes.h"

// A fade in equal steps from StartColor to EndColor, one colour per GetNextColor: Steps + 1
// colours, start first and end last, then -1. With PingPong it turns round at each end
// (the turning colour comes twice) and runs until start and end are the same colour.
// Colours are 0x00BBGGRR; -1 means unset (settings) or no colour (results).
class ColorFader {
public:
    VbLong GetNextColor();
    // Starts the pass again from the current settings.
    void Reset() { recalculate(); }

    VbLong StartColor() const { return startColor_; }
    void setStartColor(VbLong c);
    VbLong EndColor() const { return endColor_; }
    void setEndColor(VbLong c);
    VbLong Steps() const { return steps_; }
    void setSteps(VbLong n);
    VbBool PingPong() const { return pingPong_; }
    void setPingPong(VbBool on) { pingPong_ = on; }

private:
    void recalculate();
    bool unset() const { return startColor_ == -1 || endColor_ == -1 || steps_ == -1; }

    VbLong startColor_ = -1;
    VbLong endColor_ = -1;
    VbLong steps_ = -1;
    VbBool pingPong_ = VbFalse;

    int startR_ = 0;
    int startG_ = 0;
    int startB_ = 0;
    double stepR_ = 0;
    double stepG_ = 0;
    float stepB_ = 0; // single precision: the blue channel's rounding depends on it
    VbLong counter_ = 0;
    VbLong previousEnd_ = -1;
};
