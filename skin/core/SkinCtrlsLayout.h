// The glyph and caption layout of skinned buttons and button labels: a picture and a caption placed together
// inside a rectangle and drawn.
#pragma once
#include "framework/graphics/Colors.h"
#include "framework/graphics/Types.h"

#include <cstdint>
#include <string_view>

class TBitmap;
class TCanvas;
class TComponent;
class TCustomImageList;
class TWinControl;

// What the page service below needs of a notebook: its pages, in the order of its page list. The skinned
// notebook implements it.
class TspNotebookPages {
public:
    virtual ~TspNotebookPages() = default;
    virtual int NotebookPageCount() const = 0;
    virtual TWinControl* NotebookPage(int index) const = 0;
};

// Where the picture stands relative to the caption.
enum TspButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

namespace SkinCtrls {

// Picture image `imageIndex` of `imageList` (none when the list is missing or the index is outside it) and the
// caption, `margin` pixels from the picture's side of `rect` (-1: both centred together) and `spacing` apart.
// `down` moves both one pixel right and down; `colorMarker` underlines the picture or caption in markerColor,
// or fills the rectangle inset by 2 when there is neither.
void DrawImageAndText(TCanvas* canvas, TRect rect, int margin, int spacing, TspButtonLayout layout,
    std::string_view caption, int imageIndex, TCustomImageList* imageList, bool down, bool enabled, bool colorMarker,
    TColor markerColor);
// The same with cell glyphNumber (from 1) of a glyph strip of numGlyphs equal cells, drawn transparently.
void DrawGlyphAndText(TCanvas* canvas, TRect rect, int margin, int spacing, TspButtonLayout layout,
    std::string_view caption, TBitmap* glyph, int numGlyphs, int glyphNumber, bool down, bool colorMarker,
    TColor markerColor);
// The top-left corners of the picture (pw by ph) and of the caption (tw by th).
void CalcImageAndTextLayout(TspButtonLayout layout, const TRect& rect, int pw, int& pictureTop, int& pictureLeft,
    int& captionTop, int& captionLeft, int margin, int spacing, int th, int tw, int ph);

// Gives every page of a notebook (a TspNotebookPages; anything else, or null: nothing) its window, with the
// page's alignment held meanwhile and its pending realignment dropped, so that making the windows does not
// realign the pages. A notebook calls it once it has finished loading.
void NotebookHandlesNeeded(TComponent* notebook);

} // namespace SkinCtrls
