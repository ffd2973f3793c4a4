#include "platform/gdi/GlyphRun.h"

#include "platform/gdi/TextPaint.h"
#include "platform/win/Rects.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <unordered_map>

namespace {

// Beyond this many pixels (a very long line), or this many pixels covered twice (glyphs squeezed onto each
// other), the glyphs are blended one by one.
constexpr int64_t kMaxArea = 1 << 18;
constexpr size_t kMaxTwice = 256;

// A glyph row is a few bytes: copied in line by two overlapping words, not through a library call each.
void CopyRow(uint8_t* to, const uint8_t* from, int n)
{
    if (n >= 8 && n <= 16) {
        uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else if (n < 4) {
        for (int i = 0; i < n; ++i)
            to[i] = from[i];
    } else {
        std::memcpy(to, from, size_t(n));
    }
}

} // namespace

bool TGlyphRun::Compose(const std::vector<TPlacedGlyph>& run)
{
    FBox = RECT {};
    FCoverage.clear();
    FTwice.clear();
    if (run.empty())
        return false;
    const int x0 = run.front().X;
    const int y0 = run.front().Y;
    RECT box { 0, 0, 0, 0 };
    for (const TPlacedGlyph& g : run) {
        const int x = g.X - x0;
        const int y = g.Y - y0;
        box = RECT { std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + g.Glyph->Width),
            std::max(box.bottom, y + g.Glyph->Height) };
    }
    const int64_t area = int64_t(box.right - box.left) * (box.bottom - box.top);
    if (area > kMaxArea)
        return false;
    FBox = box;
    FStride = box.right - box.left;
    FCoverage.assign(size_t(area), 0);
    // Boxes of neighbours often overlap, mostly by a fringe of empty pixels. A pixel that a later glyph covers
    // again is blended once more afterwards, in the glyphs' order, as drawing glyph by glyph does.
    int left = INT_MAX;
    int right = INT_MIN;
    for (const TPlacedGlyph& g : run) {
        const int x = g.X - x0;
        const int w = g.Glyph->Width;
        const bool apart = x >= right || x + w <= left;
        left = std::min(left, x);
        right = std::max(right, x + w);
        uint8_t* row = FCoverage.data() + size_t(g.Y - y0 - box.top) * size_t(FStride) + size_t(x - box.left);
        const uint8_t* from = g.Glyph->Coverage.data();
        for (int y = 0; y < g.Glyph->Height; ++y, row += FStride, from += w) {
            if (apart) {
                CopyRow(row, from, w);
                continue;
            }
            for (int i = 0; i < w; ++i) {
                if (from[i] == 0)
                    continue;
                if (row[i] == 0)
                    row[i] = from[i];
                else
                    FTwice.push_back(TTwice { x + i - box.left, g.Y - y0 - box.top + y, from[i] });
            }
            if (FTwice.size() > kMaxTwice) {
                FCoverage.clear();
                FTwice.clear();
                return false;
            }
        }
    }
    return true;
}

void TGlyphRun::Blend(TDrawTarget& target, const TRegion& clip, uint32_t color, POINT at) const
{
    const RECT box { FBox.left + at.x, FBox.top + at.y, FBox.right + at.x, FBox.bottom + at.y };
    TSurface& surface = *target.Surface;
    clip.ForEachRect([&](const RECT& c) {
        const RECT r = RectIntersection(box, c);
        if (r.left >= r.right || r.top >= r.bottom)
            return;
        const uint8_t* coverage
            = FCoverage.data() + size_t(r.top - box.top) * size_t(FStride) + size_t(r.left - box.left);
        for (int y = r.top; y < r.bottom; ++y, coverage += FStride)
            BlendCoverageRow(surface.Row32(y) + r.left, coverage, r.right - r.left, color);
        for (const TTwice& t : FTwice) {
            const int x = t.X + box.left;
            const int y = t.Y + box.top;
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                surface.Row32(y)[x] = BlendCoverage(surface.Row32(y)[x], color, t.Coverage);
        }
        target.AddDirty(r);
    });
}

namespace {

// Runs at most this long and this large are kept; a thread keeps this many.
constexpr size_t kKeptGlyphs = 64;
constexpr int64_t kKeptArea = 1 << 13;
constexpr size_t kKeptRuns = 128;

struct TKeptRun {
    uint64_t Face = 0;
    uint64_t Hash = 0;
    // Each glyph's place relative to the first glyph's.
    std::vector<TPlacedGlyph> Glyphs;
    TGlyphRun Run;
    bool Valid = false;
    // False when two of its glyphs cover one pixel: drawn glyph by glyph.
    bool Composed = false;

    bool Matches(uint64_t face, uint64_t hash, const std::vector<TPlacedGlyph>& run) const
    {
        if (!Valid || Face != face || Hash != hash || Glyphs.size() != run.size())
            return false;
        for (size_t i = 0; i < run.size(); ++i)
            if (Glyphs[i].Glyph != run[i].Glyph || Glyphs[i].X != run[i].X - run[0].X
                || Glyphs[i].Y != run[i].Y - run[0].Y)
                return false;
        return true;
    }
};

struct TRunCache {
    std::array<TKeptRun, kKeptRuns> Runs;
    std::unordered_map<uint64_t, size_t> ByHash;
    size_t Next = 0;
    TGlyphRun Scratch;
};

uint64_t Mix(uint64_t hash, uint64_t value)
{
    hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    return hash;
}

uint64_t HashRun(uint64_t face, const std::vector<TPlacedGlyph>& run)
{
    uint64_t hash = Mix(0, face);
    for (const TPlacedGlyph& g : run) {
        hash = Mix(hash, reinterpret_cast<uintptr_t>(g.Glyph));
        hash = Mix(hash, (uint64_t(uint32_t(g.X - run[0].X)) << 32) | uint32_t(g.Y - run[0].Y));
    }
    return hash;
}

} // namespace

const TGlyphRun* ComposedRun(uint64_t faceSerial, const std::vector<TPlacedGlyph>& run)
{
    thread_local TRunCache cache;
    if (run.empty())
        return nullptr;
    if (run.size() > kKeptGlyphs)
        return cache.Scratch.Compose(run) ? &cache.Scratch : nullptr;
    const uint64_t hash = HashRun(faceSerial, run);
    if (auto it = cache.ByHash.find(hash); it != cache.ByHash.end()) {
        const TKeptRun& kept = cache.Runs[it->second];
        if (kept.Matches(faceSerial, hash, run))
            return kept.Composed ? &kept.Run : nullptr;
    }
    const bool composed = cache.Scratch.Compose(run);
    // Runs too large to keep are drawn from the scratch run; the others take the oldest place, those whose glyphs
    // cover a pixel twice too, so the next drawing knows at once.
    if (cache.Scratch.Area() > kKeptArea)
        return composed ? &cache.Scratch : nullptr;
    TKeptRun& kept = cache.Runs[cache.Next];
    if (kept.Valid) {
        auto it = cache.ByHash.find(kept.Hash);
        if (it != cache.ByHash.end() && it->second == cache.Next)
            cache.ByHash.erase(it);
    }
    kept.Face = faceSerial;
    kept.Hash = hash;
    kept.Glyphs.clear();
    for (const TPlacedGlyph& g : run)
        kept.Glyphs.push_back(TPlacedGlyph { g.X - run[0].X, g.Y - run[0].Y, g.Glyph });
    std::swap(kept.Run, cache.Scratch);
    kept.Valid = true;
    kept.Composed = composed;
    cache.ByHash[hash] = cache.Next;
    cache.Next = (cache.Next + 1) % kKeptRuns;
    return composed ? &kept.Run : nullptr;
}
