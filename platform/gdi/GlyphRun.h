// A run of level glyphs composed into one coverage buffer and blended a row of the run at a time, and the runs a
// thread composed lately, kept for the same text drawn again.
#pragma once
#include "platform/gdi/FontCache.h"
#include "platform/gdi/TDeviceContext.h"

#include <cstdint>
#include <vector>

// A glyph placed on the surface, its box's top-left at (X, Y).
struct TPlacedGlyph {
    int X = 0;
    int Y = 0;
    const TGlyph* Glyph = nullptr;
};

// The coverage of a whole run of level glyphs in one buffer, blended with one call per row of the run instead of
// one per glyph row, giving the same pixels as blending glyph by glyph. Its box is kept relative to the first
// glyph's.
class TGlyphRun {
public:
    // False (and nothing composed) when the run is too large to be worth a buffer.
    bool Compose(const std::vector<TPlacedGlyph>& run);
    // Blends the composed run, its first glyph's box at `at`, into a 32-bit surface within `clip`.
    void Blend(TDrawTarget& target, const TRegion& clip, uint32_t color, POINT at) const;
    // The pixels of the composed box.
    int64_t Area() const { return int64_t(FCoverage.size()); }

private:
    // A pixel a later glyph covers again, and that glyph's coverage there (buffer coordinates).
    struct TTwice {
        int X = 0;
        int Y = 0;
        uint8_t Coverage = 0;
    };

    RECT FBox {};
    int FStride = 0;
    std::vector<uint8_t> FCoverage;
    std::vector<TTwice> FTwice;
};

// The composed run of `run` in face `faceSerial` (glyphs blended one by one give the same pixels), or null when it
// cannot be composed. Labels and menu items draw the same texts again and again: the runs this thread composed
// lately are kept by their face, glyphs and relative places, which fix their coverage. The pointer holds until
// the next call on this thread.
const TGlyphRun* ComposedRun(uint64_t faceSerial, const std::vector<TPlacedGlyph>& run);
