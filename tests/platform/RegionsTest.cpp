#include "platform/win/Rects.h"
#include "platform/win/Regions.h"

#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <thread>
#include <vector>

namespace {

// A brute-force pixel set to check the banded regions against.
struct TPixels {
    static constexpr int kSize = 40;
    bool At[kSize][kSize] = {};

    void Add(const RECT& r)
    {
        for (int y = std::max<int>(0, r.top); y < std::min<int>(kSize, r.bottom); ++y)
            for (int x = std::max<int>(0, r.left); x < std::min<int>(kSize, r.right); ++x)
                At[y][x] = true;
    }
};

void ExpectSame(const TRegion& region, const TPixels& pixels)
{
    for (int y = -2; y < TPixels::kSize + 2; ++y)
        for (int x = -2; x < TPixels::kSize + 2; ++x) {
            const bool expected = x >= 0 && y >= 0 && x < TPixels::kSize && y < TPixels::kSize && pixels.At[y][x];
            ASSERT_EQ(region.Contains(x, y), expected) << "at " << x << "," << y;
        }
}

TRegion Rects(std::initializer_list<RECT> rects)
{
    return TRegion::FromRects(std::vector<RECT>(rects));
}

} // namespace

TEST(TRegion, CombineModesMatchPixelSets)
{
    struct Case {
        const char* Name;
        std::vector<RECT> A;
        std::vector<RECT> B;
    };
    const Case kCases[] = {
        { "overlapping", { { 0, 0, 10, 10 } }, { { 5, 5, 15, 15 } } },
        { "disjoint", { { 0, 0, 5, 5 } }, { { 10, 10, 20, 20 } } },
        { "touching edges", { { 0, 0, 10, 10 } }, { { 10, 0, 20, 10 } } },
        { "b inside a", { { 0, 0, 30, 30 } }, { { 10, 10, 20, 20 } } },
        { "ring and plug", { { 0, 0, 30, 5 }, { 0, 25, 30, 30 }, { 0, 5, 5, 25 }, { 25, 5, 30, 25 } },
            { { 3, 3, 27, 27 } } },
        { "stairs", { { 0, 0, 10, 10 }, { 5, 10, 15, 20 }, { 10, 20, 20, 30 } }, { { 8, 0, 12, 40 } } },
        { "empty b", { { 2, 2, 9, 9 } }, {} },
        { "empty a", {}, { { 2, 2, 9, 9 } } },
        { "a ring apart from b", { { 0, 0, 9, 3 }, { 0, 3, 3, 9 } }, { { 20, 20, 30, 30 } } },
        { "equal", { { 1, 1, 9, 9 } }, { { 1, 1, 9, 9 } } },
        { "plug and ring", { { 3, 3, 27, 27 } },
            { { 0, 0, 30, 5 }, { 0, 25, 30, 30 }, { 0, 5, 5, 25 }, { 25, 5, 30, 25 } } },
        { "rect holding a ring", { { 0, 0, 40, 40 } }, { { 5, 5, 9, 7 }, { 20, 5, 30, 7 }, { 5, 7, 30, 12 } } },
    };
    struct Mode {
        TRegion::TCombineMode Mode;
        bool (*Op)(bool, bool);
    };
    const Mode kModes[] = {
        { TRegion::cmAnd, [](bool a, bool b) { return a && b; } },
        { TRegion::cmOr, [](bool a, bool b) { return a || b; } },
        { TRegion::cmDiff, [](bool a, bool b) { return a && !b; } },
        { TRegion::cmXor, [](bool a, bool b) { return a != b; } },
    };
    for (const Case& c : kCases) {
        TPixels a;
        TPixels b;
        for (const RECT& r : c.A)
            a.Add(r);
        for (const RECT& r : c.B)
            b.Add(r);
        for (const Mode& m : kModes) {
            SCOPED_TRACE(std::string(c.Name) + " mode " + std::to_string(int(m.Mode)));
            const TRegion result = TRegion::Combined(TRegion::FromRects(c.A), TRegion::FromRects(c.B), m.Mode);
            TPixels expected;
            for (int y = 0; y < TPixels::kSize; ++y)
                for (int x = 0; x < TPixels::kSize; ++x)
                    expected.At[y][x] = m.Op(a.At[y][x], b.At[y][x]);
            ExpectSame(result, expected);
            // Combining in place takes shortcuts for rectangles and far-apart regions; they give the same bands.
            TRegion inPlace = TRegion::FromRects(c.A);
            inPlace.Combine(TRegion::FromRects(c.B), m.Mode);
            EXPECT_EQ(inPlace, result);
            const RECT inPlaceBounds = inPlace.Bounds();
            const RECT resultBounds = result.Bounds();
            EXPECT_TRUE(EqualRect(&inPlaceBounds, &resultBounds));
            // The rectangles tile the result without overlap.
            int area = 0;
            result.ForEachRect([&](const RECT& r) { area += (r.right - r.left) * (r.bottom - r.top); });
            int count = 0;
            for (auto& row : expected.At)
                for (bool v : row)
                    count += v;
            EXPECT_EQ(area, count);
        }
    }
}

// Clipping by a rectangle has its own paths (in place, from another region, a rectangle holding a complex region);
// random shapes and rectangles check them against the pixel sets and the general sweep.
TEST(TRegion, RectangleClipsMatchTheSweep)
{
    std::mt19937 random(11);
    // Inside the pixel set's 40x40, empty ones included.
    auto rect = [&] {
        const int x = int(random() % 28);
        const int y = int(random() % 28);
        return RECT { x, y, x + int(random() % 13), y + int(random() % 13) };
    };
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE(trial);
        std::vector<RECT> parts(1 + random() % 5);
        for (RECT& r : parts)
            r = rect();
        const TRegion shape = TRegion::FromRects(parts);
        const RECT clip = rect();
        const TRegion expected = TRegion::Combined(shape, TRegion::FromRects(&clip, 1), TRegion::cmAnd);
        TPixels pixels;
        for (int y = 0; y < TPixels::kSize; ++y)
            for (int x = 0; x < TPixels::kSize; ++x)
                pixels.At[y][x] = shape.Contains(x, y) && x >= clip.left && x < clip.right && y >= clip.top
                    && y < clip.bottom;
        ExpectSame(expected, pixels);
        TRegion inPlace = shape;
        inPlace.Intersect(clip);
        EXPECT_EQ(inPlace, expected);
        TRegion assigned(RECT { 1, 2, 3, 4 });
        assigned.AssignIntersection(shape, clip);
        EXPECT_EQ(assigned, expected);
        // A cut that leaves one rectangle keeps it in the plain form, as the general sweep does.
        EXPECT_EQ(assigned.RectCount(), expected.RectCount());
        EXPECT_EQ(assigned.IsRectangle(), expected.IsRectangle());
        TRegion fromRect(clip);
        fromRect.Intersect(shape);
        EXPECT_EQ(fromRect, expected);
        const RECT a = expected.Bounds();
        const RECT b = assigned.Bounds();
        EXPECT_TRUE(EqualRect(&a, &b));
        EXPECT_EQ(expected.IsRectangle(), expected.RectCount() <= 1);
    }
}

TEST(TRegion, EqualPixelSetsCompareEqualWhateverTheirHistory)
{
    // The same L shape built three ways.
    const TRegion a = Rects({ { 0, 0, 10, 5 }, { 0, 5, 5, 10 } });
    TRegion b(RECT { 0, 0, 10, 10 });
    b.Subtract(RECT { 5, 5, 10, 10 });
    TRegion c(RECT { 0, 0, 5, 10 });
    c.Union(RECT { 5, 0, 10, 5 });
    EXPECT_EQ(a, b);
    EXPECT_EQ(b, c);
    EXPECT_EQ(a.RectCount(), 2u);
    EXPECT_NE(a, TRegion(RECT { 0, 0, 10, 10 }));
}

TEST(TRegion, BoundsOffsetAndRectangleTests)
{
    TRegion r = Rects({ { 10, 10, 20, 20 }, { 30, 40, 35, 45 } });
    EXPECT_EQ(r.Bounds().left, 10);
    EXPECT_EQ(r.Bounds().bottom, 45);
    EXPECT_FALSE(r.IsRectangle());
    r.Offset(-10, 5);
    EXPECT_TRUE(r.Contains(0, 15));
    EXPECT_FALSE(r.Contains(10, 15)); // right edge is outside
    EXPECT_FALSE(r.Contains(0, 25)); // bottom edge is outside
    EXPECT_TRUE(r.Intersects(RECT { 9, 24, 30, 60 }));
    EXPECT_FALSE(r.Intersects(RECT { 10, 15, 20, 45 })); // the gap between the two parts
    EXPECT_TRUE(TRegion().IsEmpty());
    EXPECT_TRUE(TRegion(RECT { 5, 5, 5, 9 }).IsEmpty());
}

TEST(TRegion, TenThousandRunsBuildOneRegion)
{
    // A 100x100 checkerboard of single pixels, the worst case of a mask turned into runs.
    std::vector<RECT> runs;
    for (int y = 0; y < 200; y += 2)
        for (int x = 0; x < 200; x += 2)
            runs.push_back(RECT { x, y, x + 1, y + 1 });
    ASSERT_EQ(runs.size(), 10000u);
    std::shuffle(runs.begin(), runs.end(), std::mt19937(7));
    const TRegion region = TRegion::FromRects(runs);
    EXPECT_EQ(region.RectCount(), 10000u);
    EXPECT_TRUE(region.Contains(198, 198));
    EXPECT_FALSE(region.Contains(199, 198));
    // Filling the gaps by union gives one rectangle.
    std::vector<RECT> gaps;
    for (int y = 0; y < 200; ++y)
        for (int x = (y % 2 == 0) ? 1 : 0; x < 200; x += (y % 2 == 0) ? 2 : 1)
            gaps.push_back(RECT { x, y, x + 1, y + 1 });
    TRegion whole = region;
    whole.Union(TRegion::FromRects(gaps));
    EXPECT_TRUE(whole.IsRectangle());
    EXPECT_EQ(whole, TRegion(RECT { 0, 0, 200, 200 }));
}

TEST(Regions, HandleCallsCombineAndReport)
{
    const size_t before = GdiObjectCount();
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(20, 0, 30, 10);
    HRGN dest = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        int Mode;
        int Expected;
        bool In5;
        bool In25;
    };
    const Case kCases[] = {
        { RGN_OR, COMPLEXREGION, true, true }, { RGN_AND, NULLREGION, false, false },
        { RGN_DIFF, SIMPLEREGION, true, false }, { RGN_XOR, COMPLEXREGION, true, true },
        { RGN_COPY, SIMPLEREGION, true, false },
        { 99, ERROR, true, false }, // a bad mode leaves dest as it was (the copy)
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Mode);
        EXPECT_EQ(CombineRgn(dest, a, b, c.Mode), c.Expected);
        EXPECT_EQ(PtInRegion(dest, 5, 5) != 0, c.In5);
        EXPECT_EQ(PtInRegion(dest, 25, 5) != 0, c.In25);
    }
    // dest may also be a source.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
    RECT box;
    EXPECT_EQ(GetRgnBox(a, &box), COMPLEXREGION);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(OffsetRgn(a, 5, 5), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(a, 5, 5));
    EXPECT_FALSE(PtInRegion(a, 4, 5));
    const RECT gap { 15, 5, 25, 6 };
    EXPECT_FALSE(RectInRegion(a, &gap));
    const RECT probe { 14, 5, 25, 6 };
    EXPECT_TRUE(RectInRegion(a, &probe));
    HRGN same = CreateRectRgnIndirect(&box);
    EXPECT_FALSE(EqualRgn(a, same));
    SetRectRgn(same, 35, 15, 5, 5); // corners in either order
    EXPECT_EQ(GetRgnBox(same, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 35);

    for (HRGN r : { a, b, dest, same })
        EXPECT_TRUE(DeleteObject(r));
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(Regions, StaleAndForeignHandlesAreRejected)
{
    HRGN r = CreateRectRgn(0, 0, 5, 5);
    EXPECT_EQ(GetObjectType(r), OBJ_REGION);
    ASSERT_TRUE(DeleteObject(r));
    EXPECT_FALSE(DeleteObject(r));
    EXPECT_EQ(GetObjectType(r), 0u);
    EXPECT_FALSE(PtInRegion(r, 1, 1));
    // The slot is reused with a new generation, so the old handle stays dead.
    HRGN next = CreateRectRgn(0, 0, 5, 5);
    EXPECT_NE(next, r);
    EXPECT_EQ(CombineRgn(next, r, r, RGN_OR), ERROR);
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(uintptr_t(0x12345))));
    EXPECT_FALSE(DeleteObject(nullptr));
    DeleteObject(next);
}

// Handles past the first few thousand resolve to their own objects, and lookups on one thread stay right while
// another thread adds and deletes objects (the table serves any thread, a conversion job's preview hook among
// them).
TEST(Regions, HandlesResolveToTheirOwnObjectsWhileAnotherThreadAddsAndDeletes)
{
    const size_t before = GdiObjectCount();
    auto boxOf = [](HRGN r) {
        RECT box {};
        return GetRgnBox(r, &box) == ERROR ? -1 : int(box.right);
    };
    std::vector<HRGN> kept;
    for (int i = 0; i < 9000; ++i)
        kept.push_back(CreateRectRgn(0, 0, i + 1, 1));
    std::vector<HRGN> stale;
    for (int i = 0; i < 100; ++i) {
        stale.push_back(CreateRectRgn(0, 0, 1, 1));
        DeleteObject(stale.back());
    }
    std::atomic<bool> stop { false };
    std::thread churn([&] {
        // Reuses the freed slots with new generations and grows the table into new blocks.
        for (int round = 0; round < 200 && !stop; ++round) {
            std::vector<HRGN> made;
            for (int i = 0; i < 100; ++i)
                made.push_back(CreateRectRgn(0, 0, 100000 + i, 1));
            for (HRGN r : made)
                DeleteObject(r);
        }
    });
    int wrong = 0;
    for (int pass = 0; pass < 20; ++pass) {
        for (size_t i = 0; i < kept.size(); ++i)
            wrong += boxOf(kept[i]) != int(i + 1);
        for (HRGN r : stale)
            wrong += GetObjectType(r) != 0;
    }
    stop = true;
    churn.join();
    EXPECT_EQ(wrong, 0);
    for (HRGN r : kept)
        EXPECT_TRUE(DeleteObject(r));
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(Regions, RegionDataRoundTripsLongRectangleLists)
{
    std::vector<RECT> rects;
    for (int i = 0; i < 12000; ++i)
        rects.push_back(RECT { (i % 120) * 3, (i / 120) * 2, (i % 120) * 3 + 2, (i / 120) * 2 + 1 });
    std::vector<unsigned char> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header { sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(rects.size()), 0, {} };
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    HRGN region = ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(PtInRegion(region, 3, 2));
    EXPECT_FALSE(PtInRegion(region, 2, 2));

    const DWORD needed = GetRegionData(region, 0, nullptr);
    ASSERT_EQ(needed, sizeof(RGNDATAHEADER) + 12000 * sizeof(RECT));
    std::vector<unsigned char> out(needed);
    EXPECT_EQ(GetRegionData(region, needed - 1, reinterpret_cast<RGNDATA*>(out.data())), needed);
    ASSERT_EQ(GetRegionData(region, needed, reinterpret_cast<RGNDATA*>(out.data())), needed);
    HRGN copy = ExtCreateRegion(nullptr, needed, reinterpret_cast<const RGNDATA*>(out.data()));
    EXPECT_TRUE(EqualRgn(region, copy));
    DeleteObject(region);
    DeleteObject(copy);
}

TEST(Regions, MalformedRegionDataIsRefused)
{
    struct Case {
        const char* Name;
        DWORD HeaderSize;
        DWORD Type;
        DWORD Count;
        DWORD BlockSize; // bytes passed, the buffer always holds the header and two rectangles
        bool Accepted;
    };
    const DWORD full = sizeof(RGNDATAHEADER) + 2 * sizeof(RECT);
    const Case kCases[] = {
        { "valid", 32, RDH_RECTANGLES, 2, full, true },
        { "count past the end", 32, RDH_RECTANGLES, 3, full, false },
        { "huge count", 32, RDH_RECTANGLES, 0xFFFFFFFF, full, false },
        { "wrong type", 32, 2, 2, full, false },
        { "short header", 16, RDH_RECTANGLES, 2, full, false },
        { "header beyond the block", 64, RDH_RECTANGLES, 0, 40, false },
        { "block shorter than a header", 32, RDH_RECTANGLES, 0, 20, false },
        { "no rectangles", 32, RDH_RECTANGLES, 0, 32, true },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        std::vector<unsigned char> block(full + 64, 0);
        RGNDATAHEADER header { c.HeaderSize, c.Type, c.Count, 0, {} };
        std::memcpy(block.data(), &header, sizeof header);
        const RECT rects[2] = { { 0, 0, 4, 4 }, { 10, 10, 5, 5 } }; // the second is empty and ignored
        std::memcpy(block.data() + 32, rects, sizeof rects);
        HRGN r = ExtCreateRegion(nullptr, c.BlockSize, reinterpret_cast<const RGNDATA*>(block.data()));
        EXPECT_EQ(r != nullptr, c.Accepted);
        if (r) {
            RECT box;
            GetRgnBox(r, &box);
            EXPECT_LE(box.right, 4);
            DeleteObject(r);
        }
    }
    int transform = 0;
    std::vector<unsigned char> empty(32, 0);
    RGNDATAHEADER header { 32, RDH_RECTANGLES, 0, 0, {} };
    std::memcpy(empty.data(), &header, sizeof header);
    EXPECT_EQ(ExtCreateRegion(&transform, 32, reinterpret_cast<const RGNDATA*>(empty.data())), nullptr);
}
