// The text fitting and drawing routines of the rendering unit.
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "skin/core/SPUtils.h"

namespace SPUtils {

namespace {

    // Drops the last UTF-8 code point.
    void RemoveLastCharacter(std::string& text)
    {
        size_t size = text.size();
        while (size > 0) {
            --size;
            if ((static_cast<unsigned char>(text[size]) & 0xC0) != 0x80)
                break;
        }
        text.resize(size);
    }

    template <class Measure> void Shorten(std::string& text, int width, Measure measure)
    {
        if (measure(text) <= width)
            return;
        while (!text.empty() && measure(text + "...") > width)
            RemoveLastCharacter(text);
        text += "...";
    }

} // namespace

void CorrectTextbyWidth(TCanvas* canvas, std::string& text, int width)
{
    Shorten(text, width, [&](const std::string& t) { return canvas->TextWidth(t); });
}

void CorrectTextbyWidthW(TCanvas* canvas, std::string& text, int width)
{
    Shorten(text, width, [&](const std::string& t) { return CalcTextWidthW(canvas, t); });
}

int SPDrawSkinText(TCanvas* canvas, std::string_view text, TRect& rect, uint32_t flags)
{
    RECT r = ToRECT(rect);
    const int result = DrawText(canvas->Handle(), text.data(), static_cast<int>(text.size()), &r, flags);
    rect = TRect { r.left, r.top, r.right, r.bottom };
    return result;
}

int CalcTextWidthW(TCanvas* canvas, std::string_view text)
{
    TRect r = NullRect();
    SPDrawSkinText(canvas, text, r, DT_CALCRECT);
    return RectWidth(r);
}

int CalcTextHeightW(TCanvas* canvas, std::string_view text)
{
    TRect r = NullRect();
    SPDrawSkinText(canvas, text, r, DT_CALCRECT);
    return RectHeight(r);
}

void SPDrawText(TCanvas* canvas, std::string_view text, const TRect& rect)
{
    if (text.empty())
        return;
    TRect r = rect;
    SPDrawSkinText(canvas, text, r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void SPDrawText3(TCanvas* canvas, std::string_view text, const TRect& rect, int offset)
{
    if (text.empty())
        return;
    canvas->TextRect(
        rect, rect.Left + offset + 2, rect.Top + RectHeight(rect) / 2 - canvas->TextHeight(text) / 2, text);
}

void SPDrawText2(TCanvas* canvas, std::string_view text, const TRect& rect)
{
    SPDrawText3(canvas, text, rect, 0);
}

} // namespace SPUtils
