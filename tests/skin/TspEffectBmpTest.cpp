#include "skin/core/TspEffectBmp.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <vector>
#include <algorithm>

namespace {

// A bitmap whose pixel (x, y) has all three channels set to value(x, y).
std::unique_ptr<TspEffectBmp> Grey(int w, int h, const std::function<int(int, int)>& value)
{
    auto bmp = std::make_unique<TspEffectBmp>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = value(x, y);
            bmp->SetPixel(x, y, v | (v << 8) | (v << 16));
        }
    return bmp;
}

int Channel(const TspEffectBmp& bmp, int x, int y)
{
    return bmp.GetPixel(x, y) & 0xFF;
}

} // namespace

TEST(TspEffectBmp, LayoutIsTopDown24BitWithPaddedRows)
{
    TspEffectBmp bmp(5, 3);
    EXPECT_EQ(bmp.Stride(), 16);
    EXPECT_EQ(bmp.BitsSize, 48);
    EXPECT_EQ(bmp.DibHeader.biHeight, -3);
    EXPECT_EQ(bmp.DibHeader.biBitCount, 24);
    bmp.SetPixel(4, 2, 0x00332211);
    const uint8_t* p = bmp.GetLine(2) + 12;
    EXPECT_EQ(p[0], 0x11); // blue first
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x33);
    EXPECT_EQ(bmp.GetPixel(4, 2), 0x00332211);
}

TEST(TspEffectBmp, ZeroSizeIsEmptyAndEveryOperationIsHarmless)
{
    TspEffectBmp empty(0, 7);
    EXPECT_TRUE(empty.Empty());
    TspEffectBmp other(0, 7);
    empty.Morph(&other, 0.5);
    empty.MorphPush(&other, 0.5);
    empty.SplitBlur(1);
    empty.GrayScale();
    empty.Wave(2, 2, 3);
    empty.Mosaic(2);
    TspEffectBmp copy(&empty);
    EXPECT_TRUE(copy.Empty());
}

TEST(TspEffectBmp, MorphClampsTheFactorAndRoundsHalvesToEven)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        int own, other;
        double kf;
        int expected;
    };
    const Case kCases[] = {
        { 10, 200, 0, 10 }, { 10, 200, 1, 200 }, { 10, 200, -1, 10 }, { 10, 200, 2, 200 }, { 10, 200, nan, 10 },
        { 0, 1, 0.5, 0 }, // 0.5 rounds to 0
        { 1, 2, 0.5, 2 }, // 1.5 rounds to 2
        { 2, 3, 0.5, 2 }, // 2.5 rounds to 2
        { 0, 255, 0.25, 64 }, // 63.75
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.own << "->" << c.other << " kf " << c.kf);
        auto own = Grey(3, 2, [&](int, int) { return c.own; });
        auto other = Grey(3, 2, [&](int, int) { return c.other; });
        own->Morph(other.get(), c.kf);
        EXPECT_EQ(own->GetPixel(2, 1), c.expected | (c.expected << 8) | (c.expected << 16));
    }
}

TEST(TspEffectBmp, TransitionsIgnoreAPartnerOfAnotherSize)
{
    using Transition = void (TspEffectBmp::*)(const TspEffectBmp*, double);
    const Transition kTransitions[]
        = { &TspEffectBmp::Morph, &TspEffectBmp::MorphGrad, &TspEffectBmp::MorphLeftGrad, &TspEffectBmp::MorphRightGrad,
              &TspEffectBmp::MorphLeftSlide, &TspEffectBmp::MorphRightSlide, &TspEffectBmp::MorphPush };
    for (Transition transition : kTransitions) {
        auto own = Grey(6, 4, [](int x, int) { return x; });
        auto other = Grey(6, 5, [](int, int) { return 200; });
        (own.get()->*transition)(other.get(), 0.5);
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Channel(*own, x, 3), x);
    }
}

// Own pixels are 10 + x, the other image's 100 + x, so each column shows where it came from.
TEST(TspEffectBmp, TransitionColumns)
{
    using Transition = void (TspEffectBmp::*)(const TspEffectBmp*, double);
    struct Case {
        const char* name;
        Transition transition;
        double kf;
        std::vector<int> row;
    };
    const Case kCases[] = {
        // Even kf 0 pushes the own image one column right and shows the other's last column.
        { "push 0", &TspEffectBmp::MorphPush, 0, { 109, 10, 11, 12, 13, 14, 15, 16, 17, 18 } },
        { "push 0.3", &TspEffectBmp::MorphPush, 0.3, { 106, 107, 108, 109, 10, 11, 12, 13, 14, 15 } },
        { "push 1", &TspEffectBmp::MorphPush, 1, { 100, 101, 102, 103, 104, 105, 106, 107, 108, 109 } },
        { "left slide 0", &TspEffectBmp::MorphLeftSlide, 0, { 109, 11, 12, 13, 14, 15, 16, 17, 18, 19 } },
        { "left slide 0.3", &TspEffectBmp::MorphLeftSlide, 0.3, { 107, 108, 109, 13, 14, 15, 16, 17, 18, 19 } },
        { "right slide 0.3", &TspEffectBmp::MorphRightSlide, 0.3, { 10, 11, 12, 13, 14, 15, 16, 100, 101, 102 } },
        { "right slide 1", &TspEffectBmp::MorphRightSlide, 1, { 10, 100, 101, 102, 103, 104, 105, 106, 107, 108 } },
        // Column 0 shows the other image, column n the own one: h runs 0, 0.25, 0.5, 0.75, 1 over n = 4 (78.5 -> 78).
        { "left grad 0.4", &TspEffectBmp::MorphLeftGrad, 0.4, { 100, 78, 57, 36, 14, 15, 16, 17, 18, 19 } },
        // kf 1 still keeps the last column own (n is at most W - 1).
        { "left grad 1", &TspEffectBmp::MorphLeftGrad, 1, { 100, 91, 82, 73, 64, 55, 46, 37, 28, 19 } },
        // m = 7: columns 9, 8, 7 with own weight 0, 1/3, 2/3.
        { "right grad 0.3", &TspEffectBmp::MorphRightGrad, 0.3, { 10, 11, 12, 13, 14, 15, 16, 47, 78, 109 } },
        // a = 0: the centre column W div 2 is already the other's.
        { "hgrad 0", &TspEffectBmp::MorphHGrad, 0, { 10, 29, 48, 67, 86, 105, 88, 71, 54, 37 } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        auto own = Grey(10, 2, [](int x, int) { return 10 + x; });
        auto other = Grey(10, 2, [](int x, int) { return 100 + x; });
        (own.get()->*c.transition)(other.get(), c.kf);
        std::vector<int> row;
        for (int x = 0; x < 10; ++x)
            row.push_back(Channel(*own, x, 1));
        EXPECT_EQ(row, c.row);
    }
}

TEST(TspEffectBmp, VerticalGradientIsChosenForTallImages)
{
    auto own = Grey(2, 5, [](int, int) { return 0; });
    auto other = Grey(2, 5, [](int, int) { return 200; });
    own->MorphGrad(other.get(), 0);
    // a = 0, b = 2, step 1/2: rows 2 (band), 1 and 3 (other weight 1/2), 0 and 4 (own).
    const int expected[] = { 0, 100, 200, 100, 0 };
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(Channel(*own, 1, y), expected[y]) << "row " << y;
}

TEST(TspEffectBmp, ColourFilters)
{
    struct Case {
        const char* name;
        std::function<void(TspEffectBmp&)> apply;
        int before, after;
    };
    const Case kCases[] = {
        { "brightness 0.5", [](TspEffectBmp& b) { b.ChangeBrightness(0.5); }, 100, 178 }, // 177.5 -> 178
        { "brightness 3", [](TspEffectBmp& b) { b.ChangeBrightness(3); }, 100, 255 },
        { "darkness 0.3", [](TspEffectBmp& b) { b.ChangeDarkness(0.3); }, 100, 70 },
        { "darkness 0.5", [](TspEffectBmp& b) { b.ChangeDarkness(0.5); }, 5, 2 }, // 2.5 -> 2
        { "invert", [](TspEffectBmp& b) { b.Invert(); }, 100, 155 },
        { "grey", [](TspEffectBmp& b) { b.GrayScale(); }, 100, 100 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        auto bmp = Grey(3, 3, [&](int, int) { return c.before; });
        c.apply(*bmp);
        EXPECT_EQ(bmp->GetPixel(1, 1), c.after | (c.after << 8) | (c.after << 16));
    }
    TspEffectBmp colour(1, 1);
    colour.SetPixel(0, 0, 0x000000FF); // pure blue
    colour.GrayScale();
    EXPECT_EQ(colour.GetPixel(0, 0), 0x1C1C1C); // 0.11 * 255 = 28.05
}

TEST(TspEffectBmp, SplitBlurUsesTheOddLowerRowRuleAndStaysInsideThinImages)
{
    // Last row of a 4-row image with amount 1: the lower row is H - y = 1.
    auto bmp = Grey(1, 4, [](int, int y) { return y * 40; });
    bmp->SplitBlur(1);
    EXPECT_EQ(Channel(*bmp, 0, 0), 20); // rows 0 and 1, already-blurred pixels read as they are
    // Rows 1 and 2 became 50 and 85; row 3 reads u = row 2 and d = row H - y = 1: (85 + 50) * 2 >> 2.
    EXPECT_EQ(Channel(*bmp, 0, 3), 67);

    // One-pixel strips read their neighbours inside the image.
    for (const auto& [w, h] : { std::pair { 1, 1 }, std::pair { 1, 9 }, std::pair { 9, 1 } }) {
        auto strip = Grey(w, h, [](int, int) { return 77; });
        strip->SplitBlur(1);
        strip->SplitBlur(3);
        EXPECT_EQ(Channel(*strip, w - 1, h - 1), 77);
    }
}

TEST(TspEffectBmp, MaskAntialiasingTouchesOnlyTheShapesEdge)
{
    // A 5x5 shape (mask black) in a 7x7 bitmap with a white border; the image grows as x squared.
    auto mask = Grey(7, 7, [](int x, int y) { return x >= 1 && x <= 5 && y >= 1 && y <= 5 ? 0 : 255; });
    auto bmp = Grey(7, 7, [](int x, int) { return x * x * 10; });
    auto before = std::make_unique<TspEffectBmp>(bmp.get());
    bmp->MaskAntialiasing(mask.get(), 1);
    EXPECT_EQ(bmp->GetPixel(3, 3), before->GetPixel(3, 3)); // interior: all diagonals inside
    EXPECT_EQ(bmp->GetPixel(0, 0), before->GetPixel(0, 0)); // outside the shape
    EXPECT_NE(bmp->GetPixel(1, 3), before->GetPixel(1, 3)); // on the edge: averaged
    EXPECT_EQ(Channel(*bmp, 1, 3), (0 + 0 + 40 + 40) >> 2);

    auto onePixel = Grey(1, 1, [](int, int) { return 9; });
    auto onePixelMask = Grey(1, 1, [](int, int) { return 0; });
    onePixel->MaskAntialiasing(onePixelMask.get(), 1);
    EXPECT_EQ(Channel(*onePixel, 0, 0), 9);
}

TEST(TspEffectBmp, MaskFillColorBlendsInsideTheShape)
{
    auto mask = Grey(2, 1, [](int x, int) { return x == 0 ? 0 : 255; });
    auto bmp = Grey(2, 1, [](int, int) { return 100; });
    bmp->MaskFillColor(mask.get(), 0x0000FF /* red */, 0.5);
    EXPECT_EQ(bmp->GetPixel(0, 0), (178 << 16) | (50 << 8) | 50);
    EXPECT_EQ(Channel(*bmp, 1, 0), 100);
}

TEST(TspEffectBmp, RotationsAndFlip)
{
    auto bmp = Grey(3, 2, [](int x, int y) { return 10 * y + x; });
    TspEffectBmp left(2, 3), right(2, 3), flipped(3, 2), wrong(3, 3);
    bmp->Rotate90_1(&left);
    bmp->Rotate90_2(&right);
    bmp->FlipVert(&flipped);
    bmp->Rotate90_1(&wrong); // wrong size: left alone, no write outside
    EXPECT_EQ(Channel(left, 0, 2), 0); // (0,0) -> (0, W-1)
    EXPECT_EQ(Channel(left, 1, 0), 12); // (2,1) -> (1, 0)
    EXPECT_EQ(Channel(right, 1, 0), 0); // (0,0) -> (H-1, 0)
    EXPECT_EQ(Channel(right, 0, 2), 12); // (2,1) -> (0, 2)
    EXPECT_EQ(Channel(flipped, 2, 0), 12);
}

TEST(TspEffectBmp, MosaicResizeAndPartialCopiesStayInBounds)
{
    auto bmp = Grey(5, 5, [](int x, int y) { return 10 * y + x; });
    bmp->Mosaic(2);
    EXPECT_EQ(Channel(*bmp, 1, 1), 0);
    EXPECT_EQ(Channel(*bmp, 3, 4), 42);
    bmp->Mosaic(0);
    EXPECT_EQ(Channel(*bmp, 3, 4), 42);

    auto small = Grey(2, 2, [](int x, int y) { return 10 * y + x; });
    TspEffectBmp big(5, 5);
    small->Resize(&big); // blocks of 3 at 0 and 2; the last ones are cut at 5
    EXPECT_EQ(Channel(big, 0, 0), 0);
    EXPECT_EQ(Channel(big, 4, 4), 11);
    EXPECT_EQ(Channel(big, 1, 3), 10);

    auto other = Grey(3, 3, [](int, int) { return 250; });
    small->MorphRect(other.get(), 1, TRect { 0, 0, 9, 9 }, 2, 0); // clipped to both bitmaps
    EXPECT_EQ(Channel(*small, 0, 0), 250);
    EXPECT_EQ(Channel(*small, 1, 0), 1);
    small->CopyRect(other.get(), TRect { 1, 1, 5, 5 }, 0, 0);
    EXPECT_EQ(Channel(*small, 1, 1), 250);
}

TEST(TspEffectBmp, WaveAndNoiseKeepTheImageInBounds)
{
    auto bmp = Grey(8, 8, [](int x, int y) { return 20 * y + x; });
    bmp->Wave(0, 3, 2);
    EXPECT_EQ(Channel(*bmp, 7, 7), 147);
    bmp->Wave(2, 3, 50);
    bmp->AddMonoNoise(50);
    bmp->AddColorNoise(50);
    auto flat = Grey(4, 4, [](int, int) { return 250; });
    flat->AddMonoNoise(0);
    EXPECT_EQ(Channel(*flat, 0, 0), 250);
}

TEST(TspEffectBmp, RoundTripsThroughAFrameworkBitmap)
{
    // TColor is 0x00BBGGRR; the effect bitmap's pixel value has blue in the low byte.
    TBitmap source;
    source.SetSize(3, 2);
    source.Canvas()->SetPixels(0, 0, static_cast<TColor>(0x00102030)); // red 0x30, green 0x20, blue 0x10
    source.Canvas()->SetPixels(2, 1, static_cast<TColor>(0x00C0B0A0));
    TspEffectBmp bmp(source.Handle());
    ASSERT_EQ(bmp.PixelWidth, 3);
    ASSERT_EQ(bmp.PixelHeight, 2);
    EXPECT_EQ(bmp.GetPixel(0, 0), 0x302010);
    EXPECT_EQ(bmp.GetPixel(2, 1), 0xA0B0C0);

    bmp.Invert();
    TBitmap target;
    target.SetSize(5, 4);
    bmp.Draw(target.Canvas()->Handle(), 1, 1);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), static_cast<TColor>(0x00EFDFCF));
    EXPECT_EQ(target.Canvas()->Pixels(3, 2), static_cast<TColor>(0x003F4F5F));

    TBitmap stretched;
    stretched.SetSize(6, 4);
    bmp.Stretch(stretched.Canvas()->Handle(), 0, 0, 6, 4);
    EXPECT_EQ(stretched.Canvas()->Pixels(5, 3), static_cast<TColor>(0x003F4F5F));
    EXPECT_EQ(stretched.Canvas()->Pixels(0, 0), static_cast<TColor>(0x00EFDFCF));
}

namespace {

// The blend as every pixel was once computed one by one: extended precision, rounded half to even.
uint8_t BlendReference(long double k, int own, int other)
{
    const long double value = (1 - k) * own + k * other;
    return static_cast<uint8_t>(std::clamp<long double>(std::rintl(value), 0, 255));
}

// A 256 x 256 bitmap whose pixel (x, y) holds x (own) or y (other) in every channel: all channel pairs at once.
std::unique_ptr<TspEffectBmp> PairPicture(bool own)
{
    auto bmp = std::make_unique<TspEffectBmp>(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const int v = own ? x : y;
            bmp->SetPixel(x, y, v | (v << 8) | (v << 16));
        }
    return bmp;
}

// The factors blends are made with: every opacity of a blended control, the morph timer's steps, and the edges.
std::vector<double> BlendFactors()
{
    std::vector<double> factors;
    for (int value = 0; value <= 255; ++value)
        factors.push_back(1.0 - value / 255.0);
    for (int step = 0; step <= 100; ++step)
        factors.push_back(step / 100.0);
    for (double kf : { 1.0 / 3, 2.0 / 3, 0.125, 0.375 })
        factors.push_back(kf);
    return factors;
}

} // namespace

TEST(TspEffectBmp, BlendsMatchTheOnePixelAtATimeFormulaForEveryChannelPairAndFactor)
{
    const auto other = PairPicture(false);
    int mismatches = 0;
    for (double kf : BlendFactors()) {
        const long double k = kf;
        auto whole = PairPicture(true);
        whole->Morph(other.get(), kf);
        auto part = PairPicture(true);
        part->MorphRect(other.get(), kf, TRect { 0, 0, 256, 256 }, 0, 0);
        for (int y = 0; y < 256; ++y) {
            const uint8_t* wholeRow = whole->GetLine(y);
            const uint8_t* partRow = part->GetLine(y);
            for (int x = 0; x < 256; ++x) {
                const uint8_t expected = BlendReference(k, x, y);
                for (int c = 0; c < 3; ++c) {
                    if (wholeRow[3 * x + c] != expected || partRow[3 * x + c] != expected) {
                        if (++mismatches < 5)
                            ADD_FAILURE() << "kf " << kf << " own " << x << " other " << y;
                    }
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(TspEffectBmp, GradientBlendsMatchTheExtendedPrecisionFormulaForEveryChannelPair)
{
    // The left gradient blends column x with the weight min(x * step, 1) of the own picture, step = 1 / n; the
    // right one column w - 1 - x the same way from the other edge. Own values run down the rows and the other
    // picture's across, so every pair meets every weight.
    int mismatches = 0;
    for (bool fromLeft : { true, false }) {
        for (int step = 1; step <= 10; ++step) {
            const double kf = step / 10.0;
            auto own = PairPicture(false);
            auto theirs = PairPicture(true);
            (own.get()->*(fromLeft ? &TspEffectBmp::MorphLeftGrad : &TspEffectBmp::MorphRightGrad))(theirs.get(), kf);
            int n = static_cast<int>(std::rintl(static_cast<long double>(256) * kf));
            n = fromLeft ? std::min(std::max(n, 1), 255) : 256 - std::min(std::max(256 - n, 0), 255);
            const long double stepWeight = 1.0L / n;
            long double h = 0;
            for (int i = 0; i < (fromLeft ? n + 1 : n); ++i) {
                const int x = fromLeft ? i : 255 - i;
                for (int y = 0; y < 256; ++y) {
                    const long double value = h * y + (1 - h) * x;
                    const auto expected = static_cast<uint8_t>(std::clamp<long double>(std::rintl(value), 0, 255));
                    if (own->GetLine(y)[3 * x] != expected && ++mismatches < 5)
                        ADD_FAILURE() << (fromLeft ? "left" : "right") << " kf " << kf << " column " << x << " own " << y;
                }
                h = std::min(h + stepWeight, 1.0L);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}
