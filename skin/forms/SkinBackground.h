// The client background of skinned forms and frames: one piece of a skin picture stretched or tiled over a
// client area.
#pragma once
#include "framework/graphics/Types.h"
#include "platform/gdi/GdiTypes.h"
#include "skin/core/SkinImages.h"

class TBitmap;

// Fills `client` on `dc` from rectangle `tile` of `picture`: with `stretch`, stretched over layoutWidth x
// layoutHeight (spstFull), or stretched to one dimension and repeated along the other; otherwise repeated from
// the top-left corner. Without a picture or with an empty tile the area gets the plain face colour, so that no
// skin value can make the tiling divide by zero or never end.
void PaintSkinTiled(HDC dc, TBitmap* picture, const TRect& tile, const TRect& client, int layoutWidth,
    int layoutHeight, bool stretch, TspStretchType stretchType);
