#include "imaging/Img32_Transforms.h"

#include "imaging/Img32_blend.h"
#include "imaging/Img32_system.h"
#include "imaging/ResampleRows.h"
#include "imaging/TBitmap32.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace Img32_Transforms;

namespace {

// A row of opaque greys from the given levels.
void GreyRow(TBitmap32& b, std::initializer_list<int> levels, int height = 1)
{
    b.SetSize(int(levels.size()), height);
    for (int y = 0; y < height; ++y) {
        int x = 0;
        for (int v : levels)
            b.SetPixel(x++, y, 0xFF000000u | (TColor32(v) * 0x010101u));
    }
}

std::vector<int> BlueRow(const TBitmap32& b, int y = 0)
{
    std::vector<int> r;
    for (int x = 0; x < b.Width(); ++x)
        r.push_back(int(b.Pixel(x, y) & 0xFF));
    return r;
}

// Restores FullEdge after a test that changes it.
struct TFullEdgeScope {
    bool saved = FullEdge;
    ~TFullEdgeScope() { FullEdge = saved; }
};

std::vector<int> Columns(const TMappingTable& table)
{
    std::vector<int> r;
    for (const TCluster& c : table) {
        EXPECT_EQ(c.size(), 1u);
        r.push_back(c.empty() ? -1 : c[0].SrcIndex);
    }
    return r;
}

} // namespace

TEST(Img32_Transforms, TransferErrorsAndNoOps)
{
    TBitmap32 src, dst, empty;
    src.SetSize(5, 5);
    src.Clear(0xFF102030);
    dst.SetSize(5, 5);
    dst.Clear(0);
    const TRect all { 0, 0, 5, 5 };

    struct Case {
        const char* name;
        TBitmap32* dst;
        TBitmap32* src;
        TRect srcRect;
        const char* message; // nullptr: no error
    };
    const Case kCases[] = {
        { "empty source", &dst, &empty, all, nullptr },
        { "nil destination", nullptr, &src, all, "Destination bitmap is nil or empty" },
        { "empty destination", &empty, &src, all, "Destination bitmap is nil or empty" },
        { "nil source", &dst, nullptr, all, "Source bitmap is nil or empty" },
        { "empty source rectangle", &dst, &src, TRect { 2, 2, 2, 4 }, nullptr },
        { "source rectangle outside", &dst, &src, TRect { -1, 0, 5, 5 }, "Source rectangle is invalid" },
        { "source rectangle too large", &dst, &src, TRect { 0, 0, 5, 6 }, "Source rectangle is invalid" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        try {
            StretchTransfer(c.dst, TRect { 0, 0, 3, 3 }, all, c.src, c.srcRect, sfLinear, dmOpaque, nullptr);
            EXPECT_EQ(c.message, nullptr);
        } catch (const ETransformError& error) {
            ASSERT_NE(c.message, nullptr) << error.Message();
            EXPECT_EQ(error.Message(), c.message);
        }
        EXPECT_EQ(dst.Pixel(1, 1), 0u);
    }
    EXPECT_THROW(BlockTransfer(nullptr, 0, 0, all, &src, all, dmOpaque, nullptr), ETransformError);
    EXPECT_THROW(BlockTransfer(&dst, 0, 0, all, nullptr, all, dmOpaque, nullptr), ETransformError);
    // The block transfer clips a source rectangle reaching outside instead of failing.
    BlockTransfer(&dst, 1, 1, all, &src, TRect { -1, 0, 5, 5 }, dmOpaque, nullptr);
    EXPECT_EQ(dst.Pixel(1, 1), 0u);
    EXPECT_EQ(dst.Pixel(2, 1), 0xFF102030u);
    EXPECT_EQ(dst.Pixel(4, 4), 0xFF102030u);
    // Far-off positions neither wrap nor draw.
    dst.Clear(0);
    BlockTransfer(&dst, INT32_MAX, INT32_MIN, all, &src, TRect { INT32_MIN, 0, INT32_MAX, 5 }, dmOpaque, nullptr);
    EXPECT_EQ(dst.Pixel(0, 0), 0u);
}

TEST(Img32_Transforms, MasterAlphaZeroLeavesEveryPathUntouched)
{
    TBitmap32 src;
    src.SetSize(4, 4);
    src.Clear(0xFFFFFFFF);
    src.SetMasterAlpha(0);
    const TRect sizes[] = { { 0, 0, 4, 4 }, { 0, 0, 8, 8 }, { 0, 0, 2, 2 }, { 0, 0, 8, 3 } };
    for (TStretchFilter filter : { sfNearest, sfLinear, sfSpline, sfLanczos, sfMitchell }) {
        for (const TRect& r : sizes) {
            SCOPED_TRACE(testing::Message() << int(filter) << " " << r.Right << "x" << r.Bottom);
            TBitmap32 dst;
            dst.SetSize(8, 8);
            dst.Clear(0xFF000000);
            StretchTransfer(&dst, r, dst.BoundsRect(), &src, src.BoundsRect(), filter, dmBlend, nullptr);
            EXPECT_EQ(dst.Pixel(0, 0), 0xFF000000u);
        }
    }
}

TEST(Img32_Transforms, SameSizeTransferCopiesExactly)
{
    TBitmap32 src;
    src.SetSize(6, 4);
    std::mt19937 random(3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            src.SetPixel(x, y, random());
    TBitmap32 dst;
    dst.SetSize(10, 10);
    dst.Clear(0);
    // Source (1, 1, 5, 4) into (3, 2, 7, 5), clipped on the left at 4.
    StretchTransfer(
        &dst, TRect { 3, 2, 7, 5 }, TRect { 4, 0, 10, 10 }, &src, TRect { 1, 1, 5, 4 }, sfMitchell, dmOpaque, nullptr);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 4 && x < 7 && y >= 2 && y < 5;
            ASSERT_EQ(dst.Pixel(x, y), inside ? src.Pixel(x - 2, y - 1) : 0u) << x << "," << y;
        }
}

TEST(Img32_Transforms, NearestNeighbourMaps)
{
    TFullEdgeScope scope;
    struct Case {
        bool fullEdge;
        int dstWidth;
        std::vector<int> expected;
    };
    const Case kCases[] = {
        { true, 4, { 10, 10, 20, 20 } },
        { false, 4, { 10, 10, 20, 20 } },
        { false, 3, { 10, 10, 20 } },
        { true, 1, { 10 } }, // (Left + Right - 1) div 2
        { true, 3, { 10, 10, 20 } },
    };
    TBitmap32 src;
    GreyRow(src, { 10, 20 });
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "full edge " << c.fullEdge << " to " << c.dstWidth);
        FullEdge = c.fullEdge;
        TBitmap32 dst;
        dst.SetSize(c.dstWidth, 2);
        StretchTransfer(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), sfNearest, dmOpaque, nullptr);
        EXPECT_EQ(BlueRow(dst), c.expected);
        EXPECT_EQ(BlueRow(dst, 1), c.expected);
    }
    // Blended rows go through the row blend; a clip keeps the mapping of the whole rectangle.
    FullEdge = true;
    TBitmap32 dst;
    dst.SetSize(4, 1);
    dst.Clear(0xFF000000);
    src.SetDrawMode(dmBlend);
    StretchTransfer(
        &dst, TRect { 0, 0, 4, 1 }, TRect { 2, 0, 4, 1 }, &src, src.BoundsRect(), sfNearest, dmBlend, nullptr);
    EXPECT_EQ(BlueRow(dst), (std::vector<int> { 0, 0, 20, 20 }));
}

TEST(Img32_Transforms, BilinearEnlargement)
{
    TBitmap32 src;
    GreyRow(src, { 0, 255 });
    TBitmap32 dst;
    dst.SetSize(4, 2);
    StretchTransfer(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), sfLinear, dmOpaque, nullptr);
    // t = 0.5k - 0.25 gives weights 256, 192, 64 for column 0 and the last pair (0, 0): 0, 63, 191, 255.
    EXPECT_EQ(BlueRow(dst), (std::vector<int> { 0, 63, 191, 255 }));
    EXPECT_EQ(BlueRow(dst, 1), BlueRow(dst));
    EXPECT_EQ(dst.Pixel(1, 0) >> 24, 255u);

    // A one-pixel source: the zero-weight neighbour at -1 is never read (checked under the sanitizer).
    TBitmap32 dot;
    dot.SetSize(1, 1);
    dot.SetPixel(0, 0, 0x80402010);
    TBitmap32 big;
    big.SetSize(5, 3);
    StretchTransfer(&big, big.BoundsRect(), big.BoundsRect(), &dot, dot.BoundsRect(), sfLinear, dmOpaque, nullptr);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(big.Pixel(x, y), 0x80402010u);
}

TEST(Img32_Transforms, KernelResampling)
{
    TBitmap32 src;
    GreyRow(src, { 0, 0, 255, 255 });
    TBitmap32 dst;
    dst.SetSize(2, 1);
    StretchTransfer(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), sfLinear, dmOpaque, nullptr);
    // Weights (32, 96, 96, 32): 255 x 32 / 256 = 31.9 and 255 x 224 / 256 = 223.1, truncated by the mask.
    EXPECT_EQ(BlueRow(dst), (std::vector<int> { 31, 223 }));
    EXPECT_EQ(dst.Pixel(0, 0) >> 24, 255u);

    // Negative lobes over a step are limited to 0..255, not wrapped.
    TBitmap32 step;
    GreyRow(step, { 0, 0, 0, 255, 255, 255 }, 2);
    for (TStretchFilter filter : { sfLanczos, sfMitchell }) {
        SCOPED_TRACE(int(filter));
        TBitmap32 wide;
        wide.SetSize(15, 3);
        StretchTransfer(
            &wide, wide.BoundsRect(), wide.BoundsRect(), &step, step.BoundsRect(), filter, dmOpaque, nullptr);
        const std::vector<int> row = BlueRow(wide, 1);
        EXPECT_EQ(row.front(), 0);
        EXPECT_EQ(row.back(), 255);
        for (size_t i = 1; i < row.size(); ++i)
            EXPECT_GE(row[i] + 8, row[i - 1]) << i; // no wrap-around: at most small ripples, never a jump down
    }
}

TEST(Img32_Transforms, WeightTables)
{
    TFullEdgeScope scope;
    for (bool fullEdge : { true, false }) {
        FullEdge = fullEdge;
        for (TStretchFilter filter : { sfLinear, sfSpline, sfLanczos, sfMitchell }) {
            for (int srcSize : { 2, 3, 7, 64, 1920 }) {
                for (int dstSize : { 1, 2, 5, 64, 640, 2000 }) {
                    SCOPED_TRACE(
                        testing::Message() << fullEdge << " " << int(filter) << " " << srcSize << "->" << dstSize);
                    const TMappingTable table = BuildWeightTable(0, dstSize, 0, dstSize, 10, 10 + srcSize, filter);
                    ASSERT_EQ(table.size(), size_t(dstSize));
                    for (const TCluster& cluster : table) {
                        int sum = 0;
                        for (const TClusterEntry& e : cluster) {
                            sum += e.Weight;
                            ASSERT_GE(e.SrcIndex, 10);
                            ASSERT_LT(e.SrcIndex, 10 + srcSize);
                        }
                        ASSERT_EQ(sum, 256);
                    }
                }
            }
        }
    }
    FullEdge = true;
    // A one-pixel source maps every destination column to it.
    const TMappingTable single = BuildWeightTable(0, 6, 1, 4, 5, 6, sfSpline);
    EXPECT_EQ(Columns(single), (std::vector<int> { 5, 5, 5 }));
    // A strong shrink rounds every weight to 0; each cluster then takes its nearest source pixel whole.
    const TMappingTable shrunk = BuildWeightTable(0, 3, 0, 3, 0, 1920, sfLinear);
    EXPECT_EQ(Columns(shrunk), (std::vector<int> { 319, 959, 1599 }));
    EXPECT_TRUE(BuildWeightTable(0, 4, 2, 2, 0, 4, sfLinear).empty());
    EXPECT_TRUE(BuildWeightTable(0, 4, 0, 4, 3, 3, sfLinear).empty());
    // The linear shrink by two: centres 0.5 and 2.5, taps 1/8, 3/8, 3/8, 1/8.
    const TMappingTable half = BuildWeightTable(0, 2, 0, 2, 0, 4, sfLinear);
    const TCluster first = { { 0, 32 }, { 0, 96 }, { 1, 96 }, { 2, 32 } };
    const TCluster second = { { 1, 32 }, { 2, 96 }, { 3, 96 }, { 3, 32 } };
    EXPECT_EQ(half[0], first);
    EXPECT_EQ(half[1], second);
    // Shrinking a whole frame draws from every column without reading outside.
    TBitmap32 frame, small;
    frame.SetSize(1920, 4);
    frame.Clear(0xFF336699);
    small.SetSize(3, 1);
    StretchTransfer(
        &small, small.BoundsRect(), small.BoundsRect(), &frame, frame.BoundsRect(), sfLinear, dmOpaque, nullptr);
    EXPECT_EQ(small.Pixel(1, 0), 0xFF336699u);
}

TEST(Img32_Transforms, VectorPassesEqualTheScalarPasses)
{
    using namespace ResampleRows;
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        const int width = 1 + int(random() % 40);
        const int count = 1 + int(random() % 9);
        std::vector<std::vector<TColor32>> data(
            static_cast<size_t>(count), std::vector<TColor32>(static_cast<size_t>(width)));
        std::vector<const TColor32*> rows;
        std::vector<int32_t> weights;
        for (auto& row : data) {
            for (TColor32& p : row)
                p = random() % 4 == 0 ? (random() % 2 ? 0xFFFFFFFF : 0) : random();
            rows.push_back(row.data());
            weights.push_back(int32_t(random() % 1200) - 400);
        }
        std::vector<int32_t> reference(size_t(width) * 4), sums(size_t(width) * 4, 12345);
        VerticalPassScalar(rows.data(), weights.data(), count, width, reference.data());
        VerticalPassSSE2(rows.data(), weights.data(), count, width, sums.data());
        ASSERT_EQ(sums, reference);
        if (Img32_system::HasAVX2()) {
            std::fill(sums.begin(), sums.end(), 12345);
            VerticalPassAVX2(rows.data(), weights.data(), count, width, sums.data());
            ASSERT_EQ(sums, reference);
        }
        VerticalPass(rows.data(), weights.data(), count, width, sums.data());
        ASSERT_EQ(sums, reference);

        // The horizontal pass over those sums, with and without limiting.
        const int columns = 1 + int(random() % 20);
        const int perColumn = 1 + int(random() % 8);
        std::vector<int32_t> index(size_t(columns) * size_t(perColumn)), weight(index.size());
        for (size_t i = 0; i < index.size(); ++i) {
            index[i] = int32_t(random() % uint32_t(width)) * 4;
            weight[i] = int32_t(random() % 700) - 200;
        }
        const TTapTable taps { perColumn, columns, index.data(), weight.data() };
        for (bool clamp : { false, true }) {
            std::vector<TColor32> expected(static_cast<size_t>(columns)), colors(static_cast<size_t>(columns));
            HorizontalPassScalar(reference.data(), taps, clamp, expected.data());
            HorizontalPass(reference.data(), taps, clamp, colors.data());
            ASSERT_EQ(colors, expected);
            if (Img32_system::HasSSE41()) {
                HorizontalPassSSE41(reference.data(), taps, clamp, colors.data());
                ASSERT_EQ(colors, expected);
            }
        }
    }
}

TEST(Img32_Transforms, ResamplerMatchesADirectEvaluationOfItsWeights)
{
    // The separable passes in any instruction set give exactly the double sum over both weight tables.
    std::mt19937 random(8);
    TBitmap32 src;
    src.SetSize(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            src.SetPixel(x, y, random());
    for (TStretchFilter filter : { sfLinear, sfSpline, sfLanczos, sfMitchell }) {
        for (const TRect& r : { TRect { 0, 0, 11, 9 }, TRect { -3, 2, 70, 41 }, TRect { 5, 5, 18, 60 } }) {
            SCOPED_TRACE(testing::Message() << int(filter) << " " << r.Right << "x" << r.Bottom);
            TBitmap32 dst;
            dst.SetSize(64, 48);
            dst.Clear(0);
            const TRect clip { std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, 64), std::min(r.Bottom, 48) };
            ResampleByKernel(&dst, r, clip, &src, src.BoundsRect(), filter, dmOpaque, nullptr);
            const TMappingTable mapX = BuildWeightTable(r.Left, r.Right, clip.Left, clip.Right, 0, 37, filter);
            const TMappingTable mapY = BuildWeightTable(r.Top, r.Bottom, clip.Top, clip.Bottom, 0, 23, filter);
            const bool clamp = filter == sfLanczos || filter == sfMitchell;
            for (size_t j = 0; j < mapY.size(); ++j)
                for (size_t i = 0; i < mapX.size(); ++i) {
                    TColor32 expected = 0;
                    for (int c = 0; c < 4; ++c) {
                        int64_t sum = 0;
                        for (const TClusterEntry& ey : mapY[j])
                            for (const TClusterEntry& ex : mapX[i])
                                sum += int64_t((src.Pixel(ex.SrcIndex, ey.SrcIndex) >> (8 * c)) & 0xFF) * ex.Weight
                                    * ey.Weight;
                        if (clamp)
                            sum = std::clamp<int64_t>(sum, 0, 0xFF0000);
                        expected |= TColor32((sum >> 16) & 0xFF) << (8 * c);
                    }
                    ASSERT_EQ(dst.Pixel(clip.Left + int(i), clip.Top + int(j)), expected) << i << "," << j;
                }
        }
    }
}

TEST(Img32_Transforms, Matrices)
{
    TFloatMatrix zero {};
    Invert(zero);
    EXPECT_EQ(zero, IdentityMatrix);
    TFloatMatrix id = IdentityMatrix;
    Invert(id);
    EXPECT_EQ(id, IdentityMatrix);
    EXPECT_FLOAT_EQ(Determinant(TFloatMatrix { { { 2, 0, 0 }, { 0, 3, 0 }, { 1, 1, 1 } } }), 6);

    TFloatMatrix m { { { 2, 1, 0 }, { 1, 3, 0 }, { 4, 5, 1 } } };
    TFloatMatrix inv = m;
    Invert(inv);
    const TFloatMatrix product = Mult(m, inv);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(product[i][j], i == j ? 1 : 0, 1e-6) << i << j;

    TAffineTransformation t;
    t.Rotate(0, 0, 90);
    const float x = 1 * t.Matrix[0][0] + 0 * t.Matrix[1][0] + t.Matrix[2][0];
    const float y = 1 * t.Matrix[0][1] + 0 * t.Matrix[1][1] + t.Matrix[2][1];
    EXPECT_NEAR(x, 0, 1e-6);
    EXPECT_NEAR(y, -1, 1e-6);
    // Steps compose in order: scale, then translate.
    TAffineTransformation s;
    s.Scale(2, 3);
    s.Translate(1, 1);
    EXPECT_FLOAT_EQ(s.Matrix[0][0], 2);
    EXPECT_FLOAT_EQ(s.Matrix[2][0], 1);
    EXPECT_FLOAT_EQ(s.Matrix[1][1], 3);
}

TEST(Img32_Transforms, AffineTransformDraw)
{
    TBitmap32 src;
    src.SetSize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            src.SetPixel(x, y, 0xFF000000u | TColor32(y * 4 + x + 1));
    TBitmap32 dst;
    dst.SetSize(8, 8);
    dst.Clear(0);
    int changes = 0;
    dst.OnChange = [&](TObject*) { ++changes; };
    TAffineTransformation t;
    t.SetSrcRect(TFloatRect { 0, 0, 4, 4 });
    t.Translate(2, 1);
    EXPECT_FALSE(t.TransformValid);
    EXPECT_EQ(t.GetTransformedBounds(), (TRect { 2, 0, 6, 6 }));
    Transform(&dst, &src, &t);
    EXPECT_TRUE(t.TransformValid);
    EXPECT_EQ(changes, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 1 && y < 5;
            ASSERT_EQ(dst.Pixel(x, y), inside ? src.Pixel(x - 2, y - 1) : 0u) << x << "," << y;
        }
    int sx = 0, sy = 0;
    t.Transform256(3, 2, sx, sy);
    EXPECT_EQ(sx, 256);
    EXPECT_EQ(sy, 256);

    // Bilinear at whole-pixel positions reproduces the inside pixels.
    src.SetStretchFilter(sfLinear);
    dst.Clear(0);
    Transform(&dst, &src, &t);
    EXPECT_EQ(dst.Pixel(3, 2), src.Pixel(1, 1));

    // Nothing to read, or a source rectangle away from the source: nothing drawn, no error.
    TBitmap32 empty;
    Transform(&dst, &empty, &t);
    Transform(&empty, &src, &t);
    TAffineTransformation away;
    away.SetSrcRect(TFloatRect { 50, 50, 60, 60 });
    dst.Clear(0);
    src.SetStretchFilter(sfNearest);
    Transform(&dst, &src, &away);
    EXPECT_EQ(dst.Pixel(0, 0), 0u);
}

TEST(Img32_Transforms, ProjectiveTransformation)
{
    TProjectiveTransformation p;
    p.SetSrcRect(TFloatRect { 0, 0, 4, 4 });
    p.SetX1(4);
    p.SetX2(4);
    p.SetY2(4);
    p.SetY3(4);
    EXPECT_EQ(p.GetTransformedBounds(), (TRect { 0, 0, 4, 4 }));
    int sx = -1, sy = -1;
    EXPECT_FALSE(p.Transform(3, 2, sx, sy)); // not prepared yet: the zero matrix has no source points
    p.PrepareTransform();
    p.Transform(3, 2, sx, sy);
    EXPECT_EQ(sx, 3);
    EXPECT_EQ(sy, 2);
    p.Transform256(1, 1, sx, sy);
    EXPECT_EQ(sx, 256);

    // A true quadrilateral maps its corners back onto the source corners.
    TProjectiveTransformation q;
    q.SetSrcRect(TFloatRect { 0, 0, 10, 10 });
    q.SetX0(1);
    q.SetY0(1);
    q.SetX1(20);
    q.SetY1(0);
    q.SetX2(18);
    q.SetY2(15);
    q.SetX3(0);
    q.SetY3(12);
    q.PrepareTransform();
    q.Transform(18, 15, sx, sy);
    EXPECT_EQ(sx, 10);
    EXPECT_EQ(sy, 10);

    // Where the denominator is 0 there is no source point: the pixel is skipped.
    q.Matrix = TFloatMatrix {};
    EXPECT_FALSE(q.Transform(2, 2, sx, sy));
    TBitmap32 src, dst;
    src.SetSize(10, 10);
    src.Clear(0xFFFFFFFF);
    dst.SetSize(20, 20);
    dst.Clear(0);
    Transform(&dst, &src, &q);
    EXPECT_EQ(dst.Pixel(5, 5), 0u);
}

TEST(Img32_Transforms, SetBorderTransparentClearsTheOutlineAlpha)
{
    TBitmap32 b;
    b.SetSize(10, 10);
    b.Clear(0xFF123456);
    SetBorderTransparent(&b, TRect { 5, 5, 2, 2 });
    int cleared = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            if (b.Pixel(x, y) == 0x00123456u)
                ++cleared;
            else
                ASSERT_EQ(b.Pixel(x, y), 0xFF123456u);
    EXPECT_EQ(cleared, 12);
    EXPECT_EQ(b.Pixel(2, 2), 0x00123456u);
    EXPECT_EQ(b.Pixel(3, 3), 0xFF123456u);
    SetBorderTransparent(&b, TRect { 20, 0, 30, 5 });
    SetBorderTransparent(nullptr, TRect { 0, 0, 1, 1 });
}

TEST(Img32_Transforms, DrawingOntoItselfWorksFromACopy)
{
    TBitmap32 b;
    GreyRow(b, { 1, 2, 3, 4, 5, 6 }, 2);
    BlockTransfer(&b, 1, 0, b.BoundsRect(), &b, TRect { 0, 0, 5, 2 }, dmOpaque, nullptr);
    EXPECT_EQ(BlueRow(b), (std::vector<int> { 1, 1, 2, 3, 4, 5 }));
    GreyRow(b, { 1, 2, 3, 4, 5, 6 }, 2);
    StretchTransfer(&b, TRect { 0, 0, 6, 2 }, b.BoundsRect(), &b, TRect { 0, 0, 3, 1 }, sfNearest, dmOpaque, nullptr);
    EXPECT_EQ(BlueRow(b, 1), (std::vector<int> { 1, 1, 2, 2, 3, 3 }));
}
