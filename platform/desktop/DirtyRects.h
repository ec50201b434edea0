#pragma once

#include <QRect>
#include <QRegion>
#include <cstddef>
#include <vector>

// The parts of a picture changed since it was last shown, kept as rectangles: changes that
// touch or lie close merge, so a frame of many small draws stays cheap to collect and to
// show. Past the cap a change folds into the rectangle it grows least.
class DirtyRects {
public:
    explicit DirtyRects(std::size_t maxRects) : maxRects_(maxRects) {}
    void add(const QRect& r);
    bool empty() const { return rects_.empty(); }
    // What was collected; the rectangles may overlap.
    const std::vector<QRect>& rects() const { return rects_; }
    void clear() { rects_.clear(); }
    // What was collected; empty afterwards.
    QRegion takeRegion();

private:
    std::size_t maxRects_;
    std::vector<QRect> rects_;
};
