// The kernel resampler of the scaled transfer: vertical pass into per-column sums, then the horizontal pass.
#include "imaging/Img32_blend.h"
#include "imaging/Img32_Transforms.h"
#include "imaging/ResampleRows.h"
#include "imaging/TBitmap32.h"

#include <algorithm>
#include <vector>

using namespace Img32_blend;

namespace Img32_Transforms {

void ResampleByKernel(TBitmap32* dst, const TRect& dstRect, const TRect& dstClip, TBitmap32* src, const TRect& srcRect,
    TStretchFilter filter, TDrawMode combineOp, const TPixelCombineEvent& combineCallBack)
{
    if (combineOp == dmCustom && !combineCallBack)
        combineOp = dmOpaque;
    if (combineOp == dmBlend && src->MasterAlpha() == 0)
        return;
    const TMappingTable mapX = BuildWeightTable(
        dstRect.Left, dstRect.Right, dstClip.Left, dstClip.Right, srcRect.Left, srcRect.Right, filter);
    const TMappingTable mapY = BuildWeightTable(
        dstRect.Top, dstRect.Bottom, dstClip.Top, dstClip.Bottom, srcRect.Top, srcRect.Bottom, filter);
    if (mapX.empty() || mapY.empty())
        return;
    const bool clamp = filter == sfLanczos || filter == sfMitchell;

    // The source columns in use: every column some cluster reads.
    int minX = INT32_MAX;
    int maxX = INT32_MIN;
    size_t perColumn = 0;
    for (const TCluster& cluster : mapX) {
        perColumn = std::max(perColumn, cluster.size());
        for (const TClusterEntry& e : cluster) {
            minX = std::min(minX, e.SrcIndex);
            maxX = std::max(maxX, e.SrcIndex);
        }
    }
    // The column clusters as one table of equal rows, padded with zero weights, so the horizontal pass runs
    // without branches.
    const int n = dstClip.Right - dstClip.Left;
    std::vector<int32_t> tapIndex(size_t(n) * perColumn);
    std::vector<int32_t> tapWeight(size_t(n) * perColumn, 0);
    for (size_t i = 0; i < size_t(n); ++i) {
        const TCluster& cluster = mapX[i];
        for (size_t k = 0; k < perColumn; ++k) {
            const TClusterEntry& e = cluster[std::min(k, cluster.size() - 1)];
            tapIndex[i * perColumn + k] = (e.SrcIndex - minX) * 4;
            if (k < cluster.size())
                tapWeight[i * perColumn + k] = e.Weight;
        }
    }
    const ResampleRows::TTapTable taps { int(perColumn), n, tapIndex.data(), tapWeight.data() };

    const int used = maxX - minX + 1;
    std::vector<int32_t> sums(size_t(used) * 4);
    std::vector<TColor32> colors(static_cast<size_t>(n));
    std::vector<const TColor32*> rows;
    std::vector<int32_t> weights;
    const uint32_t masterAlpha = src->MasterAlpha();
    for (int y = dstClip.Top; y < dstClip.Bottom; ++y) {
        rows.clear();
        weights.clear();
        for (const TClusterEntry& e : mapY[size_t(y - dstClip.Top)]) {
            rows.push_back(src->ScanLine(e.SrcIndex) + minX);
            weights.push_back(e.Weight);
        }
        ResampleRows::VerticalPass(rows.data(), weights.data(), int(rows.size()), used, sums.data());
        ResampleRows::HorizontalPass(sums.data(), taps, clamp, colors.data());
        TColor32* d = dst->PixelPtr(dstClip.Left, y);
        switch (combineOp) {
        case dmOpaque:
            std::copy(colors.begin(), colors.end(), d);
            break;
        case dmBlend:
            for (int i = 0; i < n; ++i)
                BlendMemEx(colors[size_t(i)], d[i], masterAlpha);
            break;
        case dmCustom:
            for (int i = 0; i < n; ++i)
                combineCallBack(colors[size_t(i)], d[i], masterAlpha);
            break;
        }
    }
    EMMS();
}

} // namespace Img32_Transforms
