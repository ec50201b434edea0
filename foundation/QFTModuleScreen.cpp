// The screen grab of the shared helper module.
#include "QFTModule.h"
#include "ScreenCapture.h"
#include "Surface.h"

#include <exception>

void CaptureScreenArea(Surface& target, VbLong x, VbLong y, VbLong w, VbLong h, VbLong srcX,
                       VbLong srcY) {
    try {
        const QImage shot = grabScreenArea(srcX, srcY, w, h);
        if (!shot.isNull()) {
            // Opaque RGB32: copied as it is, clipped at the target's edges.
            target.PaintPicture(shot, x, y);
        }
    } catch (const std::exception&) {
        // A failed grab leaves the target as it was.
    }
}
