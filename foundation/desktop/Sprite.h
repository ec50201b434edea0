#pragma once

#include "Surface.h"
#include "VbTypes.h"

#include <memory>
#include <string>
#include <vector>

// One moving thing of the play pane: frame pictures plus plain game fields. A frame
// picture holds the image (on white) in its upper half and the mask (black shape on white)
// in its lower half; the frame is the picture's width by half its height. The pictures are
// shared with their owner and with other sprites.
//
// The fields are the sprite's properties: plain stores and loads with no checks.
class Sprite {
public:
    Sprite() = default;

    // Appends a frame picture.
    void AddPicture(std::shared_ptr<Surface> pic);
    // The frame picture at Index (0..PictureCount); VbError 9 outside.
    const std::shared_ptr<Surface>& Picture(VbInteger Index) const;
    // The index of the last frame (-1 when there is none), not the number of frames.
    VbInteger PictureCount() const { return count_; }
    // Removes one frame; an index outside 0..PictureCount does nothing.
    void RemovePicture(VbInteger Index);

    // Draws frame FrameNo with its mask at (atX, atY) on dest and stores that position in
    // X and y. FrameNo -1 steps to the next frame (after the last comes 0) and hands back
    // the frame drawn. With restoreBG the rectangle at the previous position is first
    // copied from bg.
    void DrawSprite(VbInteger& FrameNo, VbInteger atX, VbInteger atY, Surface& dest,
                    const Surface& bg, VbBool restoreBG);
    // Erases the sprite: copies the rectangle of frame FrameNo at (X, y) from bg to dest.
    void DrawSpriteBG(VbInteger FrameNo, Surface& dest, const Surface& bg);

    float X = 0;
    float y = 0;
    VbBool Left = VbFalse;
    VbBool Right = VbFalse;
    VbBool UP = VbFalse;
    VbBool Down = VbFalse;
    VbInteger Hits = 0;
    VbInteger extra = 0;
    VbInteger Extra2 = 0;
    VbInteger Extra3 = 0;
    float zX = 0;
    float ZY = 0;
    VbInteger sType = 0;
    VbInteger CurFrame = 0;
    VbInteger Speed = 1;
    VbBool active = VbFalse;
    VbBool PlaySound = VbFalse;
    VbInteger Score = 0;
    VbInteger Drops = 0;
    VbInteger Shoots = 0;
    VbBool InPlace = VbFalse;
    VbBool CanShoot = VbFalse;
    std::string TagName;
    double Sinus = 0;
    VbBool CloclWiseRotation = VbFalse;

private:
    std::vector<std::shared_ptr<Surface>> pictures_;
    VbInteger count_ = -1;
};
