#include "imaging/Img32_Transforms.h"

#include "framework/core/Numbers.h"
#include "imaging/Img32_blend.h"
#include "imaging/Img32_lowlevel.h"
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

using namespace Img32_blend;

namespace Img32_Transforms {

bool FullEdge = true;

namespace {

    // The common checks 1 and 2 of both transfers: an empty source is no error, a missing one is.
    bool CheckBitmaps(TBitmap32* dst, TBitmap32* src)
    {
        if (src && src->Empty())
            return false;
        if (!dst || dst->Empty())
            throw ETransformError("Destination bitmap is nil or empty");
        if (!src)
            throw ETransformError("Source bitmap is nil or empty");
        return true;
    }

    // The common checks 3 and 4: false when nothing is to be drawn.
    bool CheckCombine(TBitmap32* src, TDrawMode& op, const TPixelCombineEvent& callBack)
    {
        if (op == dmCustom && !callBack)
            op = dmOpaque;
        return !(op == dmBlend && src->MasterAlpha() == 0);
    }

    int64_t Width64(const TRect& r)
    {
        return int64_t(r.Right) - r.Left;
    }
    int64_t Height64(const TRect& r)
    {
        return int64_t(r.Bottom) - r.Top;
    }

    // Combines one row of source colours into a destination row by the draw mode.
    void CombineRow(
        const TColor32* s, TColor32* d, int n, TDrawMode op, uint32_t masterAlpha, const TPixelCombineEvent& callBack)
    {
        switch (op) {
        case dmOpaque:
            std::memmove(d, s, size_t(n) * sizeof(TColor32));
            break;
        case dmBlend:
            if (masterAlpha >= 255)
                BlendLine(s, d, n);
            else
                BlendLineEx(s, d, n, masterAlpha);
            break;
        case dmCustom:
            for (int i = 0; i < n; ++i)
                callBack(s[i], d[i], masterAlpha);
            break;
        }
    }

    // Drawing a bitmap onto itself reads pixels the same call writes; such a call works from a copy of the source.
    std::unique_ptr<TBitmap32> SelfCopy(TBitmap32*& src, TBitmap32* dst)
    {
        if (src != dst)
            return nullptr;
        auto copy = std::make_unique<TBitmap32>();
        copy->Assign(src);
        src = copy.get();
        return copy;
    }

    void BlockRows(TBitmap32* dst, const TRect& dstBlock, TBitmap32* src, int srcX, int srcY, TDrawMode op,
        const TPixelCombineEvent& callBack)
    {
        const int n = dstBlock.Right - dstBlock.Left;
        for (int y = dstBlock.Top; y < dstBlock.Bottom; ++y)
            CombineRow(src->PixelPtr(srcX, srcY + y - dstBlock.Top), dst->PixelPtr(dstBlock.Left, y), n, op,
                src->MasterAlpha(), callBack);
        EMMS();
    }

    // ---- Nearest neighbour
    // -------------------------------------------------------------------------------------------

    // The source column (or row) of every destination column of the clipped range.
    std::vector<int> NearestMap(int64_t dstLo, int64_t dstSize, int clipLo, int clipHi, int srcLo, int srcHi)
    {
        const int64_t srcSize = int64_t(srcHi) - srcLo;
        std::vector<int> map(size_t(clipHi - clipLo));
        for (int x = clipLo; x < clipHi; ++x) {
            const int64_t k = x - dstLo;
            int64_t column;
            if (dstSize > 1) {
                if (FullEdge) {
                    const float scale = float(double(srcSize) / double(dstSize));
                    column = Trunc(double(k) * double(scale) + srcLo);
                } else {
                    const float scale = float(double(srcSize - 1) / double(dstSize - 1));
                    column = Round(double(k) * double(scale) + srcLo);
                }
            } else {
                column = (int64_t(srcLo) + srcHi - 1) / 2;
            }
            // Float rounding could only push a column out of the source rectangle for sizes beyond 2^24.
            map[size_t(x - clipLo)] = int(std::clamp<int64_t>(column, srcLo, srcHi - 1));
        }
        return map;
    }

    void StretchNearest(TBitmap32* dst, const TRect& dstRect, const TRect& clip, TBitmap32* src, const TRect& srcRect,
        TDrawMode op, const TPixelCombineEvent& callBack)
    {
        const std::vector<int> mapX
            = NearestMap(dstRect.Left, Width64(dstRect), clip.Left, clip.Right, srcRect.Left, srcRect.Right);
        const std::vector<int> mapY
            = NearestMap(dstRect.Top, Height64(dstRect), clip.Top, clip.Bottom, srcRect.Top, srcRect.Bottom);
        const int n = clip.Right - clip.Left;
        int previous = -1;
        if (op == dmOpaque) {
            for (int y = clip.Top; y < clip.Bottom; ++y) {
                const int sy = mapY[size_t(y - clip.Top)];
                TColor32* d = dst->PixelPtr(clip.Left, y);
                if (sy == previous) {
                    std::memcpy(d, d - dst->Width(), size_t(n) * sizeof(TColor32));
                } else {
                    const TColor32* s = src->ScanLine(sy);
                    for (int i = 0; i < n; ++i)
                        d[i] = s[mapX[size_t(i)]];
                }
                previous = sy;
            }
            return;
        }
        std::vector<TColor32> buffer(static_cast<size_t>(n));
        for (int y = clip.Top; y < clip.Bottom; ++y) {
            const int sy = mapY[size_t(y - clip.Top)];
            if (sy != previous) {
                const TColor32* s = src->ScanLine(sy);
                for (int i = 0; i < n; ++i)
                    buffer[size_t(i)] = s[mapX[size_t(i)]];
                previous = sy;
            }
            CombineRow(buffer.data(), dst->PixelPtr(clip.Left, y), n, op, src->MasterAlpha(), callBack);
        }
        EMMS();
    }

    // ---- Bilinear enlargement
    // ----------------------------------------------------------------------------------------

    struct TLinearPair {
        int Pos;
        int Weight;
    };

    std::vector<TLinearPair> LinearMap(
        int64_t dstLo, int64_t dstSize, int clipLo, int clipHi, int srcLo, int srcHi, int srcLimit)
    {
        const int64_t srcSize = int64_t(srcHi) - srcLo;
        const float scale
            = FullEdge ? float(double(srcSize) / double(dstSize)) : float(double(srcSize - 1) / double(dstSize - 1));
        std::vector<TLinearPair> map(size_t(clipHi - clipLo));
        for (int x = clipLo; x < clipHi; ++x) {
            const int64_t k = x - dstLo;
            float t = FullEdge ? float((double(k) + 0.5) * double(scale) + srcLo - 0.5)
                               : float(double(k) * double(scale) + srcLo);
            if (t < 0)
                t = 0;
            if (t > float(srcLimit - 1))
                t = float(srcLimit - 1);
            const int pos = int(std::floor(t));
            map[size_t(x - clipLo)] = { pos, 256 - int(Round(double(t - float(pos)) * 256)) };
        }
        if (!map.empty() && map.back().Pos == srcHi - 1)
            map.back() = { map.back().Pos - 1, 0 };
        return map;
    }

    // Weight w for a and 256 - w for b, per channel, truncated: two channels per multiply in 16-bit lanes.
    inline TColor32 MixColumn(TColor32 a, TColor32 b, uint32_t w)
    {
        const uint32_t v = 256 - w;
        const uint32_t rb = (((a & 0x00FF00FF) * w + (b & 0x00FF00FF) * v) >> 8) & 0x00FF00FF;
        const uint32_t ag = ((((a >> 8) & 0x00FF00FF) * w + ((b >> 8) & 0x00FF00FF) * v) >> 8) & 0x00FF00FF;
        return (ag << 8) | rb;
    }

    inline TColor32 MixRow(TColor32 a, TColor32 b, uint32_t w)
    {
        const uint32_t v = 256 - w;
        const uint32_t ag = (((a >> 8) & 0x00FF00FF) * w + ((b >> 8) & 0x00FF00FF) * v) & 0xFF00FF00;
        const uint32_t rb = (((a & 0x00FF00FF) * w + (b & 0x00FF00FF) * v) >> 8) & 0x00FF00FF;
        return ag | rb;
    }

    void StretchBilinear(TBitmap32* dst, const TRect& dstRect, const TRect& clip, TBitmap32* src, const TRect& srcRect,
        TDrawMode op, const TPixelCombineEvent& callBack)
    {
        const std::vector<TLinearPair> mapX = LinearMap(
            dstRect.Left, Width64(dstRect), clip.Left, clip.Right, srcRect.Left, srcRect.Right, src->Width());
        const std::vector<TLinearPair> mapY = LinearMap(
            dstRect.Top, Height64(dstRect), clip.Top, clip.Bottom, srcRect.Top, srcRect.Bottom, src->Height());
        const int n = clip.Right - clip.Left;
        const int lastX = src->Width() - 1;
        const int lastY = src->Height() - 1;
        const uint32_t masterAlpha = src->MasterAlpha();
        // A sample with weight 0 adds nothing; its index is kept inside the source so it is never read from beyond
        // the bitmap (a one-pixel source puts its zero-weight neighbour at -1).
        auto inside = [](int i, int last) { return i < 0 ? 0 : (i > last ? last : i); };
        for (int y = clip.Top; y < clip.Bottom; ++y) {
            const TLinearPair py = mapY[size_t(y - clip.Top)];
            const TColor32* row0 = src->ScanLine(inside(py.Pos, lastY));
            const TColor32* row1 = src->ScanLine(inside(py.Pos + 1, lastY));
            const uint32_t wy = uint32_t(py.Weight);
            TColor32* d = dst->PixelPtr(clip.Left, y);
            int cachedPos = INT32_MIN;
            TColor32 c0 = 0, c1 = 0;
            for (int i = 0; i < n; ++i) {
                const TLinearPair px = mapX[size_t(i)];
                if (px.Pos != cachedPos) {
                    const int x0 = inside(px.Pos, lastX);
                    const int x1 = inside(px.Pos + 1, lastX);
                    c0 = MixColumn(row0[x0], row1[x0], wy);
                    c1 = MixColumn(row0[x1], row1[x1], wy);
                    cachedPos = px.Pos;
                }
                const TColor32 color = MixRow(c0, c1, uint32_t(px.Weight));
                switch (op) {
                case dmOpaque:
                    d[i] = color;
                    break;
                case dmBlend:
                    BlendMemEx(color, d[i], masterAlpha);
                    break;
                case dmCustom:
                    callBack(color, d[i], masterAlpha);
                    break;
                }
            }
        }
        EMMS();
    }

} // namespace

// ---- Transfers ---------------------------------------------------------------------------------------------------

void BlockTransfer(TBitmap32* dst, int dstX, int dstY, const TRect& dstClip, TBitmap32* src, const TRect& srcRect,
    TDrawMode combineOp, const TPixelCombineEvent& combineCallBack)
{
    if (!CheckBitmaps(dst, src) || !CheckCombine(src, combineOp, combineCallBack))
        return;
    const auto copy = SelfCopy(src, dst);
    TRect clip;
    Img32::IntersectRect(clip, dstClip, dst->BoundsRect());
    TRect from;
    if (!Img32::IntersectRect(from, srcRect, src->BoundsRect()))
        return;
    // The offset is taken from the rectangle as given, before clipping; 64-bit so far-off positions cannot wrap.
    const int64_t ox = int64_t(dstX) - srcRect.Left;
    const int64_t oy = int64_t(dstY) - srcRect.Top;
    const int64_t left = std::max<int64_t>(from.Left + ox, clip.Left);
    const int64_t top = std::max<int64_t>(from.Top + oy, clip.Top);
    const int64_t right = std::min<int64_t>(from.Right + ox, clip.Right);
    const int64_t bottom = std::min<int64_t>(from.Bottom + oy, clip.Bottom);
    if (left >= right || top >= bottom)
        return;
    const TRect block { int(left), int(top), int(right), int(bottom) };
    BlockRows(dst, block, src, int(left - ox), int(top - oy), combineOp, combineCallBack);
}

void StretchTransfer(TBitmap32* dst, const TRect& dstRect, const TRect& dstClip, TBitmap32* src, const TRect& srcRect,
    TStretchFilter stretchFilter, TDrawMode combineOp, const TPixelCombineEvent& combineCallBack)
{
    if (!CheckBitmaps(dst, src))
        return;
    if (Img32::IsRectEmpty(srcRect))
        return;
    if (srcRect.Left < 0 || srcRect.Top < 0 || srcRect.Right > src->Width() || srcRect.Bottom > src->Height())
        throw ETransformError("Source rectangle is invalid");
    TRect clip;
    Img32::IntersectRect(clip, dstClip, dst->BoundsRect());
    Img32::IntersectRect(clip, clip, dstRect);
    if (Img32::IsRectEmpty(clip))
        return;
    if (!CheckCombine(src, combineOp, combineCallBack))
        return;

    if (Width64(dstRect) == Width64(srcRect) && Height64(dstRect) == Height64(srcRect)) {
        const int sx = srcRect.Left + (clip.Left - dstRect.Left);
        const int sy = srcRect.Top + (clip.Top - dstRect.Top);
        BlockTransfer(dst, clip.Left, clip.Top, clip, src,
            TRect { sx, sy, sx + (clip.Right - clip.Left), sy + (clip.Bottom - clip.Top) }, combineOp, combineCallBack);
        return;
    }
    const auto copy = SelfCopy(src, dst);
    if (stretchFilter == sfNearest)
        StretchNearest(dst, dstRect, clip, src, srcRect, combineOp, combineCallBack);
    else if (stretchFilter == sfLinear && Width64(dstRect) > Width64(srcRect) && Height64(dstRect) > Height64(srcRect))
        StretchBilinear(dst, dstRect, clip, src, srcRect, combineOp, combineCallBack);
    else
        ResampleByKernel(dst, dstRect, clip, src, srcRect, stretchFilter, combineOp, combineCallBack);
}

// ---- Kernels and weight tables -------------------------------------------------------------------------------

float FilterRadius(TStretchFilter filter)
{
    switch (filter) {
    case sfNearest:
        return 0;
    case sfLinear:
        return 1;
    case sfSpline:
    case sfMitchell:
        return 2;
    case sfLanczos:
        return 3;
    }
    return 0;
}

float FilterKernel(TStretchFilter filter, float x)
{
    const double a = std::fabs(double(x));
    const double x2 = double(x) * double(x);
    switch (filter) {
    case sfNearest:
        return a < 0.5 ? 1.0f : 0.0f;
    case sfLinear:
        return a < 1 ? float(1 - a) : 0.0f;
    case sfSpline:
        if (a < 1)
            return float(a * a * a / 2 - x2 + 2.0 / 3);
        if (a < 2)
            return float((2 - a) * (2 - a) * (2 - a) / 6);
        return 0;
    case sfLanczos: {
        if (a >= 3)
            return 0;
        auto sinc = [](double t) {
            if (t == 0)
                return 1.0;
            const double pt = std::numbers::pi * t;
            return std::sin(pt) / pt;
        };
        return float(sinc(a) * sinc(a / 3));
    }
    case sfMitchell:
        if (a < 1)
            return float((7 * a * a * a - 12 * x2 + 16.0 / 3) / 6);
        if (a < 2)
            return float((-7.0 / 3 * a * a * a + 12 * x2 - 20 * a + 32.0 / 3) / 6);
        return 0;
    }
    return 0;
}

TMappingTable BuildWeightTable(
    int dstLo, int dstHi, int clipLo, int clipHi, int srcLo, int srcHi, TStretchFilter filter)
{
    const int64_t srcSize = int64_t(srcHi) - srcLo;
    const int64_t dstSize = int64_t(dstHi) - dstLo;
    const int64_t clipSize = int64_t(clipHi) - clipLo;
    if (srcSize <= 0)
        return {};
    if (srcSize == 1)
        return TMappingTable(size_t(std::max<int64_t>(clipSize, 0)), TCluster { { srcLo, 256 } });
    if (clipSize <= 0)
        return {};
    const float scale
        = FullEdge ? float(double(dstSize) / double(srcSize)) : float(double(dstSize - 1) / double(srcSize - 1));
    if (scale <= 0)
        return TMappingTable(size_t(clipSize), TCluster { { int((int64_t(srcLo) + srcHi) / 2), 256 } });
    const double radius = FilterRadius(filter);
    TMappingTable table(static_cast<size_t>(clipSize));
    for (int64_t i = 0; i < clipSize; ++i) {
        const int64_t d = i + clipLo - dstLo;
        const float c = FullEdge ? float((double(d) + 0.5) / double(scale) + srcLo - 0.5)
                                 : float(double(d) / double(scale) + srcLo);
        TCluster& cluster = table[size_t(i)];
        auto add = [&](int64_t j, int64_t w) {
            if (w != 0)
                cluster.push_back({ int(std::clamp<int64_t>(j, srcLo, srcHi - 1)), int(w) });
        };
        if (scale >= 1) {
            for (int64_t j = Floor(double(c) - radius), last = Ceil(double(c) + radius); j <= last; ++j)
                add(j, Round(double(FilterKernel(filter, float(double(c) - double(j)))) * 256));
        } else {
            const double reach = radius / double(scale);
            for (int64_t j = Floor(double(c) - reach), last = Ceil(double(c) + reach); j <= last; ++j)
                add(j,
                    Round(double(FilterKernel(filter, float((double(c) - double(j)) * double(scale)))) * 256
                        * double(scale)));
        }
        // An empty cluster (a very strong shrink) takes its nearest source pixel whole; it is filled before the
        // sum is corrected, since the correction needs an entry to correct.
        if (cluster.empty())
            cluster.push_back({ int(std::clamp<int64_t>(Floor(double(c)), srcLo, srcHi - 1)), 256 });
        int sum = 0;
        for (const TClusterEntry& e : cluster)
            sum += e.Weight;
        if (sum != 256)
            cluster[(cluster.size() - 1) / 2].Weight -= sum - 256;
    }
    return table;
}

} // namespace Img32_Transforms
