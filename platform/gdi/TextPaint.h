// What text output and DrawText share: the DC's realized font, advances, and painting one run of characters.
#pragma once
#include "platform/gdi/FontCache.h"
#include "platform/gdi/TDeviceContext.h"

#include <utility>
#include <vector>

// The length of a text argument: `count` units, or up to the terminating zero when `count` is negative.
size_t Utf8Length(const char* text, int count);
size_t Utf16Length(const WCHAR* text, int count);

// The realized font selected into the DC (the font lock must be held); null when no face loads.
std::shared_ptr<TFontFace> SelectedFace(const TDeviceContext& dc);
// Whole-pixel advances of `chars` with the DC's character extra; returns their sum.
int Advances(TFontFace& face, const TDeviceContext& dc, const std::vector<uint32_t>& chars, std::vector<int>& out);

// A pixel blended towards the text colour by a glyph's coverage: none leaves it, full coverage sets `color`, and
// between each channel moves the rounded share coverage / 255 of the way (away from the pixel's own value at
// halves) while alpha keeps the uncovered share, so covered text leaves alpha 0 as the solid drawing calls do.
uint32_t BlendCoverage(uint32_t pixel, uint32_t color, uint32_t coverage);
// The same for `count` pixels of a 32-bit row, several at a time.
void BlendCoverageRow(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t color);
// BlendCoverageRow as processors without the widest vector instructions run it.
void BlendCoverageRowPortable(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t color);

// Draws one run with the DC's colours and background mode at the reference point (x, y) by `align` (TA_ flags).
// `advances` (optional) overrides the glyph advances; `rect` is used by ETO_OPAQUE and ETO_CLIPPED; `marks` are
// [from, to) offsets along the baseline to underline (accelerator prefixes). The font lock must be held.
BOOL PaintText(TDeviceContext& dc, TFontFace& face, int x, int y, UINT align, UINT options, const RECT* rect,
    const std::vector<uint32_t>& chars, const int* advances, const std::vector<std::pair<int, int>>* marks);
