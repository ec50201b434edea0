#pragma once

#include "VbTypes.h"

class Surface;

// The largest whole number not above Value: RoundDown(2.6) = 2, RoundDown(-0.3) = -1.
double RoundDown(double Value);

// Grid lines at every multiple of StepSize (none at 0) up to two pixels short of the far
// edges, across the whole target. A step below 1 draws nothing.
void DrawGrid(Surface& Target, VbInteger& StepSize, VbLong& Color);
