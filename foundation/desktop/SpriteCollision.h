#pragma once

#include "VbTypes.h"

class Sprite;

// True (-1) when the current frames of the two sprites overlap; frames that only touch
// along an edge do not. VbError 9 when a CurFrame names no frame.
VbBool SpriteCollision(const Sprite& A, const Sprite& B);
