#include "EditorDrawing.h"

#include "Surface.h"

#include <cmath>

double RoundDown(double Value) {
    return std::floor(Value);
}

void DrawGrid(Surface& Target, VbInteger& StepSize, VbLong& Color) {
    if (StepSize < 1) {
        return;
    }
    const int w = Target.ScaleWidth();
    const int h = Target.ScaleHeight();
    for (int x = StepSize; x <= w - 2; x += StepSize) {
        Target.Line(x, 0, x, h, Color);
    }
    for (int y = StepSize; y <= h - 2; y += StepSize) {
        Target.Line(0, y, w, y, Color);
    }
}
