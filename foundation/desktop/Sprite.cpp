#include "Sprite.h"

#include "Numbers.h"
#include "VbError.h"

namespace {

// Height of the frame in a picture of the given height: half, halves to even.
int frameHeight(const Surface& pic) {
    return static_cast<int>(num::roundHalfEven(pic.Height() / 2.0));
}

} // namespace

void Sprite::AddPicture(std::shared_ptr<Surface> pic) {
    if (!pic) {
        throw VbError(91, "Vantorix", "Object variable or With block variable not set");
    }
    // Persistent drawing, sized to its bitmap, measured in pixels.
    pic->setAutoRedraw(true);
    pic->setAutoSize(true);
    pictures_.push_back(std::move(pic));
    ++count_;
}

const std::shared_ptr<Surface>& Sprite::Picture(VbInteger Index) const {
    if (Index < 0 || Index > count_) {
        vberr::raise(vberr::SubscriptOutOfRange);
    }
    return pictures_[static_cast<std::size_t>(Index)];
}

void Sprite::RemovePicture(VbInteger Index) {
    if (Index < 0 || Index > count_) {
        return;
    }
    pictures_.erase(pictures_.begin() + Index);
    --count_;
}

void Sprite::DrawSprite(VbInteger& FrameNo, VbInteger atX, VbInteger atY, Surface& dest,
                        const Surface& bg, VbBool restoreBG) {
    if (FrameNo == -1) {
        CurFrame = CurFrame < count_ ? static_cast<VbInteger>(CurFrame + 1) : VbInteger{0};
        FrameNo = CurFrame;
    } else {
        CurFrame = FrameNo;
    }
    const Surface& pic = *Picture(FrameNo);
    const int w = pic.Width();
    const int h = frameHeight(pic);
    if (restoreBG) {
        const VbLong oldX = num::toLong(X);
        const VbLong oldY = num::toLong(y);
        BitBlt(dest, oldX, oldY, w, h, bg, oldX, oldY, rop::SRCCOPY);
    }
    // The mask whitens the sprite's shape; the image, on white, then shows in it.
    BitBlt(dest, atX, atY, w, h, pic, 0, h, rop::MERGEPAINT);
    BitBlt(dest, atX, atY, w, h, pic, 0, 0, rop::SRCAND);
    X = atX;
    y = atY;
}

void Sprite::DrawSpriteBG(VbInteger FrameNo, Surface& dest, const Surface& bg) {
    const Surface& pic = *Picture(FrameNo);
    const VbLong atX = num::toLong(X);
    const VbLong atY = num::toLong(y);
    BitBlt(dest, atX, atY, pic.Width(), frameHeight(pic), bg, atX, atY, rop::SRCCOPY);
}
