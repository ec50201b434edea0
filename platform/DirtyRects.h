#pragma once

#include <QRect>
#include <QRegion>
#include <vector>

// The parts of a picture changed since it was last shown, kept as a few rectangles: changes
// that touch or lie close merge, so a frame of many small draws stays cheap to collect and
// to show.
class DirtyRects {
public:
    void add(const QRect& r);
    bool empty() const { return rects_.empty(); }
    // What was collected; empty afterwards.
    QRegion take();

private:
    std::vector<QRect> rects_;
};
