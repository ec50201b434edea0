#pragma once

#include <QImage>

// A copy of the screen rectangle (x, y, w, h) in desktop pixels, as Format_RGB32; a null
// image when there is no screen or the grab fails. Without a display server the grab is
// blank.
QImage grabScreenArea(int x, int y, int w, int h);
