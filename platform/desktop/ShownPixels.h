#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <vector>

// What a surface's views were last told to show. A drawing often puts back the pixels that
// were there (a panel redrawn whole, a sprite erased and drawn in place): narrowing a change
// to the pixels that really differ spares the views those repaints.
class ShownPixels {
public:
    // The part of dirty where image differs from what was shown; what is shown becomes image.
    QRegion narrow(const QImage& image, const std::vector<QRect>& dirty);
    // Changes went unseen: the next narrow reports all of dirty.
    void forget() {
        if (!shown_.isNull()) {
            shown_ = QImage();
        }
    }

private:
    QImage shown_;
};
