// The faces of column-header sections cut from a skin's button record: what the skinned header control and the
// skinned list view's column header copy from the record, and the section images built from it.
#pragma once
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Types.h"
#include "skin/core/SPUtils.h"

#include <string>

class TBitmap;
class TspSkinData;
class TspSkinImageCache;

// The values of a button record ("button" or "menubutton") a header paints from.
struct TspHeaderFace {
    TBitmap* Picture = nullptr;
    TRect SkinRect, ActiveSkinRect, DownSkinRect, ClientRect;
    TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
    bool StretchEffect = false;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    TspStretchType StretchType = spstFull;
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = clBlack, ActiveFontColor = clBlack, DownFontColor = clBlack;

    // A record without a bottom-left point does not stretch vertically: its sections are three-part strips.
    bool NinePart() const { return LeftBottomPoint.X != 0 || LeftBottomPoint.Y != 0; }
};

namespace SkinHeaderFaces {

// Copies the button record `index` of `skin` into `face`, with an empty active rectangle replaced by the normal
// one and an empty pressed rectangle by the active one. False (and `face` untouched) for no skin, an empty skin,
// -1, a record of another kind, or a record that names no picture.
bool ReadHeaderFace(const TspSkinData* skin, int index, TspHeaderFace& face);

// The nine-part image of `source` at `width` by `height` into `dest` (sized by the call): the right corner
// points, the bottom corner points and the client rectangle move with the size. `leftAnchored` builds the
// variant without a right edge, for the free space after the last section.
void NinePartFace(TBitmap* dest, const TspHeaderFace& face, const TRect& source, int width, int height,
    TspStretchType stretchType, bool leftAnchored);

// The same nine-part image kept in `cache` (the skin's) between paints: a header repaints all its sections on
// every scroll, and stretching the pieces is most of that paint. The key holds everything the image is made of.
// Without a cache the image is built into `scratch`, which is returned. The image is only to be copied from.
TBitmap* CachedNinePartFace(TspSkinImageCache* cache, const TspHeaderFace& face, const TRect& source, int width,
    int height, TspStretchType stretchType, bool leftAnchored, TBitmap& scratch);

// The three-part strip of `source` at `width` (as tall as `source`): the left cap "lefttoppoint" x wide, the right
// cap from "righttoppoint" x to the end, the middle stretched by "stretcheffect" or tiled. `leftAnchored`
// leaves out the right cap.
void ThreePartFace(TBitmap* dest, const TspHeaderFace& face, const TRect& source, int width, bool leftAnchored);

// The default look of a section: a one-pixel frame and fill for the pressed, hot or normal state.
void DefaultSectionFace(TCanvas* canvas, const TRect& rect, bool pressed, bool hot);

} // namespace SkinHeaderFaces
