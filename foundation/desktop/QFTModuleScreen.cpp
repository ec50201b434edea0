// The screen grab of the shared helper module.
#include "IgnoringFailures.h"
#include "QFTModuleDesktop.h"
#include "ScreenCapture.h"
#include "Surface.h"

void CaptureScreenArea(Surface& target, VbLong x, VbLong y, VbLong w, VbLong h, VbLong srcX,
                       VbLong srcY) {
    // A failed grab leaves the target as it was.
    ignoringFailures([&] {
        const QImage shot = grabScreenArea(srcX, srcY, w, h);
        if (!shot.isNull()) {
            // Opaque RGB32: copied as it is, clipped at the target's edges.
            target.PaintPicture(shot, x, y);
        }
    });
}
