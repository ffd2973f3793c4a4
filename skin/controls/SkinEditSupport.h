// Small drawing and measuring helpers the skinned edits, spin edit and up-down share.
#pragma once
#include "framework/graphics/Types.h"

class TBitmap;
class TCanvas;
class TFont;

namespace SkinEditSupport {

// Copies `source` of `picture` to `dest`'s top-left corner of `canvas`, at the source's size; nothing without a
// picture or for an empty source.
void CopyPiece(TCanvas* canvas, const TRect& dest, TBitmap* picture, const TRect& source);
// The character height (tmHeight) of `font` on the screen.
int CharHeight(TFont* font);

} // namespace SkinEditSupport
