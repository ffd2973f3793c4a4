#include "skin/core/SkinImages.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Regions.h"

#include <algorithm>
#include <cstring>

TFBitmap::TFBitmap(HBITMAP bitmap)
{
    BITMAP info {};
    if (bitmap && GetObject(bitmap, sizeof(info), &info)) {
        Width = std::max<int>(info.bmWidth, 0);
        Height = std::abs(info.bmHeight);
    }
    RowSize = 3 * Width + Width % 4;
    BITMAPINFO header {};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = Width;
    header.bmiHeader.biHeight = -Height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    Handle = CreateCompatibleDC(nullptr);
    if (Width < 1 || Height < 1) {
        Width = Height = 0;
        return;
    }
    void* bits = nullptr;
    FSection = CreateDIBSection(Handle, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FSection || !bits) {
        Width = Height = 0;
        return;
    }
    Bits = static_cast<uint8_t*>(bits);
    GetDIBits(Handle, bitmap, 0, Height, Bits, &header, DIB_RGB_COLORS);
    FOldBitmap = SelectObject(Handle, FSection);
    Pixels.resize(Height);
    for (int row = 0; row < Height; ++row)
        Pixels[row] = Bits + row * RowSize;
}

TFBitmap::~TFBitmap()
{
    if (FOldBitmap)
        SelectObject(Handle, FOldBitmap);
    if (Handle)
        DeleteDC(Handle);
    if (FSection)
        DeleteObject(FSection);
}

namespace SPUtils {

namespace {

    int W(const TRect& r)
    {
        return r.Right - r.Left;
    }
    int H(const TRect& r)
    {
        return r.Bottom - r.Top;
    }

    // A rectangle given relative to R, in the source picture's coordinates.
    TRect At(const TRect& relative, const TRect& R)
    {
        return Rect(relative.Left + R.Left, relative.Top + R.Top, relative.Right + R.Left, relative.Bottom + R.Top);
    }

    void Copy(TBitmap* target, const TRect& dest, TBitmap* source, const TRect& from)
    {
        target->Canvas()->CopyRect(dest, source->Canvas(), from);
    }

    // Lays `from` (absolute in the source) along `dest` from its left edge at a step of the source's width,
    // (dest width div step) + 1 times; the tile's height is dest's. With `clip` the last tile is shortened in source
    // and target alike by its overrun past dest's right edge, and tiles starting at or past it draw nothing. A
    // source without width would never advance, so nothing is drawn.
    void TileAcross(TBitmap* target, const TRect& dest, TBitmap* source, const TRect& from, bool clip = true)
    {
        const int step = W(from);
        if (step <= 0)
            return;
        const int count = W(dest) / step + 1;
        for (int i = 0; i < count; ++i) {
            const int x = dest.Left + i * step;
            int w = step;
            if (clip && x + w > dest.Right)
                w -= x + w - dest.Right;
            if (w <= 0)
                continue;
            Copy(target, Rect(x, dest.Top, x + w, dest.Bottom), source,
                Rect(from.Left, from.Top, from.Left + w, from.Bottom));
        }
    }

    // The same downwards, at a step of the source's height.
    void TileDown(TBitmap* target, const TRect& dest, TBitmap* source, const TRect& from, bool clip = true)
    {
        const int step = H(from);
        if (step <= 0)
            return;
        const int count = H(dest) / step + 1;
        for (int i = 0; i < count; ++i) {
            const int y = dest.Top + i * step;
            int h = step;
            if (clip && y + h > dest.Bottom)
                h -= y + h - dest.Bottom;
            if (h <= 0)
                continue;
            Copy(target, Rect(dest.Left, y, dest.Right, y + h), source,
                Rect(from.Left, from.Top, from.Right, from.Top + h));
        }
    }

    // Both ways at the source's size, column by column, each tile clipped to dest.
    void TileOver(TBitmap* target, const TRect& dest, TBitmap* source, const TRect& from)
    {
        const int sw = W(from);
        const int sh = H(from);
        if (sw <= 0 || sh <= 0)
            return;
        const int columns = W(dest) / sw + 1;
        const int rows = H(dest) / sh + 1;
        for (int i = 0; i < columns; ++i) {
            const int x = dest.Left + i * sw;
            const int w = std::min(sw, dest.Right - x);
            if (w <= 0)
                continue;
            for (int j = 0; j < rows; ++j) {
                const int y = dest.Top + j * sh;
                const int h = std::min(sh, dest.Bottom - y);
                if (h <= 0)
                    continue;
                Copy(target, Rect(x, y, x + w, y + h), source, Rect(from.Left, from.Top, from.Left + w, from.Top + h));
            }
        }
    }

    // The client piece into `dest` by the stretch type: stretched whole, or as strips of its own width (height)
    // stretched to dest's height (width) and repeated.
    void DrawStretchedClient(
        TBitmap* target, const TRect& dest, TBitmap* source, const TRect& from, TspStretchType stretchType, bool clip)
    {
        if (W(dest) <= 0 || H(dest) <= 0)
            return;
        switch (stretchType) {
        case spstFull:
            Copy(target, dest, source, from);
            break;
        case spstHorz:
            TileAcross(target, dest, source, from, clip);
            break;
        case spstVert:
            TileDown(target, dest, source, from, clip);
            break;
        }
    }

    // An edge piece: stretched into its target or tiled along it.
    void DrawEdge(TBitmap* target, const TRect& dest, TBitmap* source, const TRect& from, bool stretch, bool horizontal)
    {
        if (stretch)
            Copy(target, dest, source, from);
        else if (horizontal)
            TileAcross(target, dest, source, from);
        else
            TileDown(target, dest, source, from);
    }

    bool Prepare(TBitmap* B, TBitmap* SB, int NW, int NH, TPoint LT, TPoint RB)
    {
        B->SetSize(std::max(NW, 0), std::max(NH, 0));
        return !(RB.X == LT.X || RB.Y == LT.Y || !SB || SB->Empty() || B->Empty());
    }

} // namespace

void CreateSkinImage(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB,
    TPoint nRB, TRect nC, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool drawClient, bool leftStretch,
    bool topStretch, bool rightStretch, bool bottomStretch, bool clientStretch, TspStretchType stretchType)
{
    if (!Prepare(B, SB, NW, NH, LT, RB))
        return;
    const int w = W(R);
    const int h = H(R);
    // The edges.
    DrawEdge(B, Rect(nLT.X, 0, nRT.X, nC.Top), SB, At(Rect(LT.X, 0, RT.X, C.Top), R), topStretch, true);
    DrawEdge(B, Rect(nLB.X, nC.Bottom, nRB.X, NH), SB, At(Rect(LB.X, C.Bottom, RB.X, h), R), bottomStretch, true);
    // NOTE: a tiled left edge takes its tiles as wide as the target edge, not as the source's.
    DrawEdge(B, Rect(0, nLT.Y, nC.Left, nLB.Y), SB, At(Rect(0, LT.Y, leftStretch ? C.Left : nC.Left, LB.Y), R),
        leftStretch, false);
    DrawEdge(B, Rect(nC.Right, nRT.Y, NW, nRB.Y), SB, At(Rect(C.Right, RT.Y, w, RB.Y), R), rightStretch, false);
    // The corners, in a fixed order since they may overlap.
    const struct {
        TRect from, dest;
    } corners[] = {
        { Rect(0, 0, LT.X, C.Top), Rect(0, 0, nLT.X, nC.Top) },
        { Rect(0, C.Top, C.Left, LT.Y), Rect(0, nC.Top, nC.Left, nLT.Y) },
        { Rect(RT.X, 0, w, C.Top), Rect(nRT.X, 0, NW, nC.Top) },
        { Rect(C.Right, C.Top, w, RT.Y), Rect(nC.Right, nC.Top, NW, nRT.Y) },
        { Rect(0, LB.Y, C.Left, h), Rect(0, nLB.Y, nC.Left, NH) },
        { Rect(C.Left, C.Bottom, LB.X, h), Rect(nC.Left, nC.Bottom, nLB.X, NH) },
        { Rect(RB.X, C.Bottom, w, h), Rect(nRB.X, nC.Bottom, NW, NH) },
        { Rect(C.Right, RB.Y, w, C.Bottom), Rect(nC.Right, nRB.Y, NW, nC.Bottom) },
    };
    for (const auto& corner : corners)
        Copy(B, corner.dest, SB, At(corner.from, R));
    if (!drawClient)
        return;
    if (clientStretch)
        DrawStretchedClient(B, nC, SB, At(C, R), stretchType, true);
    else
        TileOver(B, nC, SB, At(C, R));
}

void CreateSkinImageBS(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB,
    TPoint nRB, TRect nC, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool drawClient, bool leftStretch,
    bool topStretch, bool rightStretch, bool bottomStretch, bool clientStretch, TspStretchType stretchType)
{
    CreateSkinImage(LT, RT, LB, RB, C, nLT, nRT, nLB, nRB, nC, B, SB, R, NW, NH, drawClient, leftStretch, topStretch,
        rightStretch, bottomStretch, clientStretch, stretchType);
}

void CreateSkinImage2(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint, TPoint nLB, TPoint,
    TRect nC, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool drawClient, bool leftStretch, bool topStretch,
    bool, bool bottomStretch, bool clientStretch, TspStretchType stretchType)
{
    if (!Prepare(B, SB, NW, NH, LT, RB))
        return;
    const int h = H(R);
    DrawEdge(B, Rect(nLT.X, 0, NW, nC.Top), SB, At(Rect(LT.X, 0, RT.X, C.Top), R), topStretch, true);
    DrawEdge(B, Rect(nLB.X, nC.Bottom, NW, NH), SB, At(Rect(LB.X, C.Bottom, RB.X, h), R), bottomStretch, true);
    DrawEdge(B, Rect(0, nLT.Y, nC.Left, nLB.Y), SB, At(Rect(0, LT.Y, leftStretch ? C.Left : nC.Left, LB.Y), R),
        leftStretch, false);
    Copy(B, Rect(0, 0, nLT.X, nC.Top), SB, At(Rect(0, 0, LT.X, C.Top), R));
    Copy(B, Rect(0, nC.Top, nC.Left, nLT.Y), SB, At(Rect(0, C.Top, C.Left, LT.Y), R));
    Copy(B, Rect(0, nLB.Y, nC.Left, NH), SB, At(Rect(0, LB.Y, C.Left, h), R));
    Copy(B, Rect(nC.Left, nC.Bottom, nLB.X, NH), SB, At(Rect(C.Left, C.Bottom, LB.X, h), R));
    if (!drawClient)
        return;
    const TRect client = Rect(nC.Left, nC.Top, NW, nC.Bottom);
    if (clientStretch)
        DrawStretchedClient(B, client, SB, At(C, R), stretchType, true);
    else
        TileOver(B, client, SB, At(C, R));
}

void CreateStretchImage(TBitmap* B, TBitmap* SB, TRect R, TRect C, bool drawClient)
{
    const int nw = B->Width();
    const int nh = B->Height();
    const TRect nC = Rect(C.Left, C.Top, nw - (W(R) - C.Right), nh - (H(R) - C.Bottom));
    CreateSkinImage(TPoint { C.Left, C.Top }, TPoint { C.Right, C.Top }, TPoint { C.Left, C.Bottom },
        TPoint { C.Right, C.Bottom }, C, TPoint { nC.Left, nC.Top }, TPoint { nC.Right, nC.Top },
        TPoint { nC.Left, nC.Bottom }, TPoint { nC.Right, nC.Bottom }, nC, B, SB, R, nw, nh, drawClient, true, true,
        true, true, true, spstFull);
}

namespace {

    void HStrip(int leftWidth, int rightWidth, TBitmap* B, TBitmap* SB, TRect R, int NW, bool stretch, bool leftCap,
        bool rightCap)
    {
        const int h = H(R);
        B->SetSize(std::max(NW, 0), std::max(h, 0));
        if (!SB || SB->Empty() || B->Empty())
            return;
        if (leftCap && leftWidth != 0)
            Copy(B, Rect(0, 0, leftWidth, h), SB, Rect(R.Left, R.Top, R.Left + leftWidth, R.Bottom));
        if (rightCap && rightWidth != 0)
            Copy(B, Rect(NW - rightWidth, 0, NW, h), SB, Rect(R.Right - rightWidth, R.Top, R.Right, R.Bottom));
        const TRect middle = Rect(R.Left + leftWidth, R.Top, R.Right - rightWidth, R.Bottom);
        const TRect dest = Rect(leftCap ? leftWidth : 0, 0, rightCap ? NW - rightWidth : NW, h);
        DrawEdge(B, dest, SB, middle, stretch, true);
    }

} // namespace

void CreateHSkinImage(int leftWidth, int rightWidth, TBitmap* B, TBitmap* SB, TRect R, int NW, int, bool stretch)
{
    HStrip(leftWidth, rightWidth, B, SB, R, NW, stretch, true, true);
}

void CreateHSkinImage2(int leftWidth, int rightWidth, TBitmap* B, TBitmap* SB, TRect R, int NW, int, bool stretch)
{
    HStrip(leftWidth, rightWidth, B, SB, R, NW, stretch, true, false);
}

void CreateHSkinImage3(int leftWidth, int rightWidth, TBitmap* B, TBitmap* SB, TRect R, int NW, int, bool stretch)
{
    HStrip(leftWidth, rightWidth, B, SB, R, NW, stretch, false, false);
}

void CreateVSkinImage(int topHeight, int bottomHeight, TBitmap* B, TBitmap* SB, TRect R, int, int NH, bool stretch)
{
    const int w = W(R);
    B->SetSize(std::max(w, 0), std::max(NH, 0));
    if (!SB || SB->Empty() || B->Empty())
        return;
    if (topHeight != 0)
        Copy(B, Rect(0, 0, w, topHeight), SB, Rect(R.Left, R.Top, R.Right, R.Top + topHeight));
    if (bottomHeight != 0)
        Copy(B, Rect(0, NH - bottomHeight, w, NH), SB, Rect(R.Left, R.Bottom - bottomHeight, R.Right, R.Bottom));
    DrawEdge(B, Rect(0, topHeight, w, NH - bottomHeight), SB,
        Rect(R.Left, R.Top + topHeight, R.Right, R.Bottom - bottomHeight), stretch, false);
}

void CreateSkinBG(
    TRect C, TRect nC, TBitmap* B, TBitmap* SB, TRect R, int NW, int NH, bool stretch, TspStretchType stretchType)
{
    B->SetSize(std::max(NW, 0), std::max(NH, 0));
    if (W(nC) <= 0 || H(nC) <= 0 || !SB || SB->Empty() || B->Empty())
        return;
    if (!stretch)
        TileOver(B, Rect(0, 0, W(nC), H(nC)), SB, At(C, R));
    else
        DrawStretchedClient(B, nC, SB, At(C, R), stretchType, false);
}

void CreateSkinBorderImages(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB,
    TPoint nRB, TRect nC, TBitmap* leftImage, TBitmap* topImage, TBitmap* rightImage, TBitmap* bottomImage, TBitmap* SB,
    TRect R, int NW, int NH, bool leftStretch, bool topStretch, bool rightStretch, bool bottomStretch)
{
    if (!SB || SB->Empty())
        return;
    const int w = W(R);
    const int h = H(R);
    // Top strip.
    if (NW > 0 && nC.Top > 0 && RT.X - LT.X > 0) {
        const int sh = nC.Top;
        topImage->SetSize(NW, sh);
        const TRect middle = At(Rect(LT.X, 0, RT.X, sh), R);
        if (topStretch)
            Copy(topImage, Rect(nLT.X, 0, nRT.X, sh), SB, middle);
        else
            TileAcross(topImage, Rect(0, 0, NW, sh), SB, middle);
        Copy(topImage, Rect(0, 0, nLT.X, sh), SB, At(Rect(0, 0, LT.X, sh), R));
        Copy(topImage, Rect(nRT.X, 0, NW, sh), SB, At(Rect(RT.X, 0, w, sh), R));
    }
    // Bottom strip, from the same number of R's bottom rows.
    const int bottomHeight = NH - nC.Bottom;
    if (NW > 0 && bottomHeight > 0 && RB.X - LB.X > 0) {
        bottomImage->SetSize(NW, bottomHeight);
        const int top = h - bottomHeight;
        const TRect middle = At(Rect(LB.X, top, RB.X, h), R);
        if (bottomStretch)
            Copy(bottomImage, Rect(nLB.X, 0, nRB.X, bottomHeight), SB, middle);
        else
            TileAcross(bottomImage, Rect(0, 0, NW, bottomHeight), SB, middle);
        Copy(bottomImage, Rect(0, 0, nLB.X, bottomHeight), SB, At(Rect(0, top, LB.X, h), R));
        Copy(bottomImage, Rect(nRB.X, 0, NW, bottomHeight), SB, At(Rect(RB.X, top, w, h), R));
    }
    // The side strips fill the height the top and bottom strips leave.
    const int sideHeight = NH - topImage->Height() - bottomImage->Height();
    const auto side
        = [&](TBitmap* image, int width, int sourceLeft, int sourceRight, int topY, int bottomY, bool stretch) {
              if (width <= 0 || sideHeight <= 0 || bottomY - topY <= 0)
                  return;
              image->SetSize(width, sideHeight);
              const TRect middle = At(Rect(sourceLeft, topY, sourceRight, bottomY), R);
              if (stretch)
                  Copy(image, Rect(0, topY - C.Top, width, sideHeight - (C.Bottom - bottomY)), SB, middle);
              else
                  TileDown(image, Rect(0, 0, width, sideHeight), SB, middle);
              if (topY > C.Top)
                  Copy(image, Rect(0, 0, width, topY - C.Top), SB, At(Rect(sourceLeft, C.Top, sourceRight, topY), R));
              if (C.Bottom > bottomY)
                  Copy(image, Rect(0, sideHeight - (C.Bottom - bottomY), width, sideHeight), SB,
                      At(Rect(sourceLeft, bottomY, sourceRight, C.Bottom), R));
          };
    side(leftImage, nC.Left, 0, nC.Left, LT.Y, LB.Y, leftStretch);
    side(rightImage, NW - nC.Right, C.Right, w, RT.Y, RB.Y, rightStretch);
}

void CreateSkinMask(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT, TPoint nLB, TPoint nRB,
    TRect nC, TBitmap* mask, TBitmap* topMask, TBitmap* leftMask, TBitmap* rightMask, TBitmap* bottomMask, int NW, int)
{
    if (!mask || mask->Empty())
        return;
    const int mw = mask->Width();
    const int mh = mask->Height();
    const int sideHeight = H(nC);
    const auto side = [&](TBitmap* target, int left, int right, int topY, int bottomY) {
        const int width = right - left;
        if (width <= 0 || sideHeight <= 0)
            return;
        target->SetSize(width, sideHeight);
        if (bottomY != topY)
            TileDown(target, Rect(0, 0, width, sideHeight), mask, Rect(left, topY, right, bottomY));
        if (topY > C.Top)
            Copy(target, Rect(0, 0, width, topY - C.Top), mask, Rect(left, C.Top, right, topY));
        if (C.Bottom > bottomY)
            Copy(target, Rect(0, sideHeight - (C.Bottom - bottomY), width, sideHeight), mask,
                Rect(left, bottomY, right, C.Bottom));
    };
    side(leftMask, 0, C.Left, LT.Y, LB.Y);
    side(rightMask, C.Right, mw, RT.Y, RB.Y);
    const auto band = [&](TBitmap* target, int top, int bottom, int leftX, int rightX, int nLeftX, int nRightX) {
        const int height = bottom - top;
        if (NW <= 0 || height <= 0)
            return;
        target->SetSize(NW, height);
        if (rightX != leftX)
            TileAcross(target, Rect(nLeftX, 0, nRightX, height), mask, Rect(leftX, top, rightX, bottom));
        Copy(target, Rect(0, 0, leftX, height), mask, Rect(0, top, leftX, bottom));
        Copy(target, Rect(nRightX, 0, NW, height), mask, Rect(rightX, top, mw, bottom));
    };
    band(topMask, 0, C.Top, LT.X, RT.X, nLT.X, nRT.X);
    band(bottomMask, C.Bottom, mh, LB.X, RB.X, nLB.X, nRB.X);
}

namespace {

    // One rectangle for every run of black pixels along each row; `row(r)` gives row r's pixels, top row first, as
    // three bytes each.
    template <class RowOf> std::vector<RECT> BlackRuns(int width, int height, int x, int y, RowOf row)
    {
        // A growing list rather than a fixed buffer: a detailed mask can have any number of runs.
        std::vector<RECT> runs;
        for (int r = 0; r < height; ++r) {
            const uint8_t* line = row(r);
            int column = 0;
            while (column < width) {
                const auto black
                    = [&](int c) { return line[3 * c] == 0 && line[3 * c + 1] == 0 && line[3 * c + 2] == 0; };
                if (!black(column)) {
                    ++column;
                    continue;
                }
                const int start = column;
                while (column < width && black(column))
                    ++column;
                runs.push_back(RECT { start + x, r + y, column + x, r + y + 1 });
            }
        }
        return runs;
    }

} // namespace

DWORD CreateRgnFromBmp(TBitmap* mask, int x, int y, std::vector<uint8_t>& data)
{
    data.clear();
    if (!mask || mask->Empty())
        return 0;
    int width = 0;
    int height = 0;
    std::vector<RECT> runs;
    if (mask->PixelFormat() == pf24bit) {
        // A mask read from a 24-bit file (a window's face mask) is scanned where it lies instead of copied first.
        width = mask->Width();
        height = mask->Height();
        runs = BlackRuns(width, height, x, y, [&](int r) { return static_cast<const uint8_t*>(mask->ScanLine(r)); });
    } else {
        TFBitmap pixels(mask->Handle());
        width = pixels.Width;
        height = pixels.Height;
        runs = BlackRuns(width, height, x, y, [&](int r) { return pixels.Pixels[r]; });
    }
    const size_t size = sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT);
    data.assign(size, 0);
    RGNDATAHEADER header {};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = 1;
    header.nCount = static_cast<DWORD>(runs.size());
    header.nRgnSize = 0;
    header.rcBound = RECT { x, y, x + width, y + height };
    std::memcpy(data.data(), &header, sizeof(header));
    if (!runs.empty())
        std::memcpy(data.data() + sizeof(header), runs.data(), runs.size() * sizeof(RECT));
    return static_cast<DWORD>(size);
}

namespace {

    HRGN RegionFromMask(TBitmap* mask, int x, int y)
    {
        std::vector<uint8_t> data;
        const DWORD size = CreateRgnFromBmp(mask, x, y, data);
        if (size == 0)
            return nullptr;
        return ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(data.data()));
    }

} // namespace

void CreateSkinSimplyRegion(HRGN& region, TBitmap* mask)
{
    region = RegionFromMask(mask, 0, 0);
}

void CreateSkinRegion(HRGN& region, TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect C, TPoint nLT, TPoint nRT,
    TPoint nLB, TPoint nRB, TRect nC, TBitmap* mask, int NW, int NH)
{
    region = nullptr;
    if (nRT.X < nLT.X || nLB.Y < nLT.Y)
        return;
    TBitmap topMask, leftMask, rightMask, bottomMask;
    CreateSkinMask(
        LT, RT, LB, RB, C, nLT, nRT, nLB, nRB, nC, mask, &topMask, &leftMask, &rightMask, &bottomMask, NW, NH);
    if (W(nC) <= 0 || H(nC) <= 0)
        return;
    region = CreateRectRgn(nC.Left, nC.Top, nC.Right, nC.Bottom);
    const struct {
        TBitmap* strip;
        int x, y;
    } strips[] = {
        { &topMask, 0, 0 },
        { &bottomMask, 0, nC.Bottom },
        { &leftMask, 0, nC.Top },
        { &rightMask, nC.Right, nC.Top },
    };
    for (const auto& part : strips) {
        if (part.strip->Width() <= 0 || part.strip->Height() <= 0)
            continue;
        HRGN stripRegion = RegionFromMask(part.strip, part.x, part.y);
        if (stripRegion) {
            CombineRgn(region, region, stripRegion, RGN_OR);
            DeleteObject(stripRegion);
        }
    }
}

} // namespace SPUtils
