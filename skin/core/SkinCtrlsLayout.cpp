#include "skin/core/SkinCtrlsLayout.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "skin/core/SPUtils.h"

#include <functional>
#include <string>

namespace SkinCtrls {

void CalcImageAndTextLayout(TspButtonLayout layout, const TRect& rect, int pw, int& pictureTop, int& pictureLeft,
    int& captionTop, int& captionLeft, int margin, int spacing, int th, int tw, int ph)
{
    const int x = rect.Left + (rect.Right - rect.Left) / 2;
    const int y = rect.Top + (rect.Bottom - rect.Top) / 2;
    const int o = (pw + tw + spacing) / 2;
    const int v = (th + ph + spacing) / 2;
    const bool centred = margin == -1;
    switch (layout) {
    case blGlyphLeft:
        pictureLeft = centred ? x - o : rect.Left + margin;
        pictureTop = y - ph / 2;
        captionLeft = centred ? x + o - tw : pictureLeft + pw + spacing;
        captionTop = y - th / 2;
        break;
    case blGlyphRight:
        pictureLeft = centred ? x + o - pw : rect.Right - pw - margin;
        pictureTop = y - ph / 2;
        captionLeft = centred ? x - o : pictureLeft - spacing - tw;
        captionTop = y - th / 2;
        break;
    case blGlyphTop:
        pictureLeft = x - pw / 2;
        pictureTop = centred ? y - v : rect.Top + margin;
        captionLeft = x - tw / 2;
        captionTop = centred ? y + v - th : pictureTop + ph + spacing;
        break;
    case blGlyphBottom:
        pictureLeft = x - pw / 2;
        pictureTop = centred ? y + v - ph : rect.Bottom - ph - margin;
        captionLeft = x - tw / 2;
        captionTop = centred ? y - v : pictureTop - spacing - th;
        break;
    }
}

namespace {

    // The common drawing of both variants. `drawPicture` draws the picture at a point; markerWidth and
    // markerHeight are the extent the marker underlines.
    void DrawLayout(TCanvas* canvas, TRect rect, int margin, int spacing, TspButtonLayout layout,
        std::string_view caption, int pw, int ph, int markerWidth, int markerHeight, bool down, bool colorMarker,
        TColor markerColor, const std::function<void(int, int)>& drawPicture)
    {
        int tw = 0;
        int th = 0;
        if (!caption.empty()) {
            TRect measure = Rect(0, 0, rect.Right - rect.Left, rect.Bottom - rect.Top);
            if (layout == blGlyphLeft || layout == blGlyphRight)
                measure.Right -= pw;
            else
                measure.Bottom -= ph;
            SPUtils::SPDrawSkinText(canvas, caption, measure, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
            tw = measure.Right - measure.Left;
            th = measure.Bottom - measure.Top;
        }
        canvas->Brush()->SetStyle(bsClear);
        int px = 0, py = 0, cx = 0, cy = 0;
        CalcImageAndTextLayout(layout, rect, pw, py, px, cy, cx, margin, spacing, th, tw, ph);
        if (down) {
            ++px;
            ++py;
            ++cx;
            ++cy;
        }
        const TRect captionRect = Rect(cx, cy, cx + tw + 2, cy + th);
        if (!caption.empty()) {
            TRect r = captionRect;
            SPUtils::SPDrawSkinText(canvas, caption, r, DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
        }
        const bool hasPicture = pw > 0 && ph > 0;
        if (hasPicture)
            drawPicture(px, py);
        if (!colorMarker)
            return;
        canvas->Pen()->SetColor(markerColor);
        const auto underline = [&](int left, int right, int firstRow) {
            for (int row = firstRow; row < firstRow + 3; ++row) {
                canvas->MoveTo(left, row);
                canvas->LineTo(right, row);
            }
        };
        if (hasPicture)
            underline(px, px + markerWidth, py + markerHeight - 2);
        else if (!caption.empty())
            underline(captionRect.Left, captionRect.Right, captionRect.Bottom - 1);
        else {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(markerColor);
            canvas->FillRect(Rect(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2));
        }
    }

} // namespace

void DrawImageAndText(TCanvas* canvas, TRect rect, int margin, int spacing, TspButtonLayout layout,
    std::string_view caption, int imageIndex, TCustomImageList* imageList, bool down, bool enabled, bool colorMarker,
    TColor markerColor)
{
    const bool hasPicture = imageList && imageIndex >= 0 && imageIndex < imageList->Count();
    const int pw = hasPicture ? imageList->Width() : 0;
    const int ph = hasPicture ? imageList->Height() : 0;
    DrawLayout(canvas, rect, margin, spacing, layout, caption, pw, ph, pw, ph, down, colorMarker, markerColor,
        [&](int x, int y) { imageList->Draw(canvas, x, y, imageIndex, enabled); });
}

void DrawGlyphAndText(TCanvas* canvas, TRect rect, int margin, int spacing, TspButtonLayout layout,
    std::string_view caption, TBitmap* glyph, int numGlyphs, int glyphNumber, bool down, bool colorMarker,
    TColor markerColor)
{
    const bool hasPicture = glyph && !glyph->Empty() && numGlyphs > 0;
    const int pw = hasPicture ? glyph->Width() / numGlyphs : 0;
    const int ph = hasPicture ? glyph->Height() : 0;
    // The marker spans the whole strip, all cells, as the glyph's own size.
    DrawLayout(canvas, rect, margin, spacing, layout, caption, pw, ph, hasPicture ? glyph->Width() : 0, ph, down,
        colorMarker, markerColor,
        [&](int x, int y) { SPUtils::DrawGlyph(canvas, x, y, glyph, numGlyphs, glyphNumber); });
}

void NotebookHandlesNeeded(TComponent* notebook)
{
    auto* pages = dynamic_cast<TspNotebookPages*>(notebook);
    if (!pages)
        return;
    for (int i = 0; i < pages->NotebookPageCount(); ++i) {
        TWinControl* page = pages->NotebookPage(i);
        if (!page)
            continue;
        page->DisableAlign();
        page->HandleNeeded();
        page->SetControlState(page->ControlState() - TControlState { csAlignmentNeeded });
        page->EnableAlign();
    }
}

} // namespace SkinCtrls
