#pragma once

#include "VbTypes.h"

#include <string>

// One page of the credits sequence.
struct CreditRec {
    std::string Text;       // "|" breaks the line
    VbInteger Duration = 0; // ms on screen before the fade-out
    VbLong Color = 0;       // game colour (0x00BBGGRR)
    VbLong FadeParam = 0;   // fade start colour handed to PrintMessage
    float FontSize = 10;    // points
};
