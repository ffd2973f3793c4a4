// The skin image composition of the rendering unit: nine-part and three-part images, backgrounds, frame border
// strips, and masks turned into window regions.
#pragma once
#include "framework/graphics/Types.h"
#include "skin/core/SPUtils.h"

#include <cstdint>
#include <vector>

class TBitmap;

// A top-down 24-bit copy of a bitmap with a row table, for reading masks pixel by pixel: rows are 3 bytes a
// pixel (blue, green, red) padded to 4 bytes.
class TFBitmap final {
public:
    explicit TFBitmap(HBITMAP bitmap);
    ~TFBitmap();
    TFBitmap(const TFBitmap&) = delete;
    TFBitmap& operator=(const TFBitmap&) = delete;

    int Width = 0;
    int Height = 0;
    int RowSize = 0;
    uint8_t* Bits = nullptr;
    std::vector<uint8_t*> Pixels; // the start of every row
    HDC Handle = nullptr;

private:
    HBITMAP FSection = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
};

namespace SPUtils {

// Nine-part image. The source pieces are cut from R of SB by the points LT, RT, LB, RB and the client C (all
// relative to R); B becomes NW by NH with the pieces placed by nLT, nRT, nLB, nRB and nC. Corners are copied,
// edges and the client stretched or tiled. Nothing is drawn when RB.x = LT.x, RB.y = LT.y or SB is empty, and
// a tiled piece whose source has no extent along its tiling direction is skipped.
void CreateSkinImage(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB,
    TPoint nRB, TRect nC, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool drawClient, bool leftStretch,
    bool topStretch, bool rightStretch, bool bottomStretch, bool clientStretch, TspStretchType stretchType);
void CreateSkinImageBS(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB,
    TPoint nRB, TRect nC, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool drawClient, bool leftStretch,
    bool topStretch, bool rightStretch, bool bottomStretch, bool clientStretch, TspStretchType stretchType);
// The left-anchored variant: no right edge or right corners; the top, bottom and client run to NW.
void CreateSkinImage2(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB,
    TPoint nRB, TRect nC, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool drawClient, bool leftStretch,
    bool topStretch, bool rightStretch, bool bottomStretch, bool clientStretch, TspStretchType stretchType);
// R of SB stretched over B at B's present size, keeping the borders around C at their size.
void CreateStretchImage(TBitmap* B, TBitmap* SB, TRect R, TRect C, bool drawClient);

// Three-part strips: caps at their size, the middle stretched or tiled. The horizontal ones are NW by R's
// height (NH unused), the vertical one R's width by NH (NW unused).
void CreateHSkinImage(int leftWidth, int rightWidth, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool stretch);
void CreateHSkinImage2(int leftWidth, int rightWidth, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool stretch);
void CreateHSkinImage3(int leftWidth, int rightWidth, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool stretch);
void CreateVSkinImage(int topHeight, int bottomHeight, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool stretch);

// A background of NW by NH from the client piece C of R.
void CreateSkinBG(
    TRect C, TRect nC, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool stretch, TspStretchType stretchType);
// The four border strips of a frame of NW by NH. A strip whose size or source span is not positive is left as
// it was.
void CreateSkinBorderImages(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB,
    TPoint nRB, TRect nC, TBitmap* leftImage, TBitmap* topImage, TBitmap* rightImage, TBitmap* bottomImage, TBitmap* SB,
    TRect R, int NW, int NH, bool leftStretch, bool topStretch, bool rightStretch, bool bottomStretch);
// The four mask strips of a frame resized to NW wide (never stretched; NH unused).
void CreateSkinMask(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB, TPoint nRB,
    TRect nC, TBitmap* mask, TBitmap* topMask, TBitmap* leftMask, TBitmap* rightMask, TBitmap* bottomMask, int NW,
    int NH);

// Region data (a 32-byte RGNDATAHEADER and n RECTs) of the black pixels of `mask`, one rectangle per run of a
// row, shifted by (x, y). Returns the size in bytes; an empty mask gives 0 and clears `data`. There is no limit
// on the number of runs.
DWORD CreateRgnFromBmp(TBitmap* mask, int x, int y, std::vector<uint8_t>& data);
// The region of the mask's black pixels, or null for an empty mask. The caller deletes it.
void CreateSkinSimplyRegion(HRGN& region, TBitmap* mask);
// The window region of a frame resized to NW by NH: nC joined with the black pixels of the four mask strips.
// Null when the new points cross or nC is empty.
void CreateSkinRegion(HRGN& region, TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT,
    TPoint nLB, TPoint nRB, TRect nC, TBitmap* mask, int NW, int NH);

} // namespace SPUtils
