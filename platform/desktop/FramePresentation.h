#pragma once

// How the window's pixels reach the X server; called before the QApplication exists.
// The game changes a few small rectangles every frame. Qt's shared-memory path then waits
// for the server on each paint that touches what the frame before put there (a round trip
// per frame, and a wakeup of Qt's event thread); plain image requests carry those few pixels
// without waiting. The user's own setting of the variable is kept.
void chooseFramePresentation();
