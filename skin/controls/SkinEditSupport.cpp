#include "skin/controls/SkinEditSupport.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"

namespace SkinEditSupport {

void CopyPiece(TCanvas* canvas, const TRect& dest, TBitmap* picture, const TRect& source)
{
    if (!picture || SPUtils::IsNullRect(source))
        return;
    canvas->CopyRect(TRect(dest.Left, dest.Top, dest.Left + SPUtils::RectWidth(source),
                         dest.Top + SPUtils::RectHeight(source)),
        picture->Canvas(), source);
}

int CharHeight(TFont* font)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    TEXTMETRIC metrics {};
    GetTextMetrics(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

} // namespace SkinEditSupport
