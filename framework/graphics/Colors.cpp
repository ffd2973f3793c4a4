#include "framework/graphics/Colors.h"

#include "framework/core/SysUtils.h"
#include "platform/win/Windows.h"

#include <array>

namespace {

struct TColorIdent {
    TColor Value;
    const char* Name;
};

// The framework's identifier table, in its order: the standard colours, the extended ones, then the
// system colours. Colour pickers list the colours in exactly this order.
constexpr std::array<TColorIdent, 52> kColorIdents { {
    { clBlack, "clBlack" },
    { clMaroon, "clMaroon" },
    { clGreen, "clGreen" },
    { clOlive, "clOlive" },
    { clNavy, "clNavy" },
    { clPurple, "clPurple" },
    { clTeal, "clTeal" },
    { clGray, "clGray" },
    { clSilver, "clSilver" },
    { clRed, "clRed" },
    { clLime, "clLime" },
    { clYellow, "clYellow" },
    { clBlue, "clBlue" },
    { clFuchsia, "clFuchsia" },
    { clAqua, "clAqua" },
    { clWhite, "clWhite" },
    { clMoneyGreen, "clMoneyGreen" },
    { clSkyBlue, "clSkyBlue" },
    { clCream, "clCream" },
    { clMedGray, "clMedGray" },
    { clActiveBorder, "clActiveBorder" },
    { clActiveCaption, "clActiveCaption" },
    { clAppWorkSpace, "clAppWorkSpace" },
    { clBackground, "clBackground" },
    { clBtnFace, "clBtnFace" },
    { clBtnHighlight, "clBtnHighlight" },
    { clBtnShadow, "clBtnShadow" },
    { clBtnText, "clBtnText" },
    { clCaptionText, "clCaptionText" },
    { clDefault, "clDefault" },
    { clGradientActiveCaption, "clGradientActiveCaption" },
    { clGradientInactiveCaption, "clGradientInactiveCaption" },
    { clGrayText, "clGrayText" },
    { clHighlight, "clHighlight" },
    { clHighlightText, "clHighlightText" },
    { clHotLight, "clHotLight" },
    { clInactiveBorder, "clInactiveBorder" },
    { clInactiveCaption, "clInactiveCaption" },
    { clInactiveCaptionText, "clInactiveCaptionText" },
    { clInfoBk, "clInfoBk" },
    { clInfoText, "clInfoText" },
    { clMenu, "clMenu" },
    { clMenuBar, "clMenuBar" },
    { clMenuHighlight, "clMenuHighlight" },
    { clMenuText, "clMenuText" },
    { clNone, "clNone" },
    { clScrollBar, "clScrollBar" },
    { cl3DDkShadow, "cl3DDkShadow" },
    { cl3DLight, "cl3DLight" },
    { clWindow, "clWindow" },
    { clWindowFrame, "clWindowFrame" },
    { clWindowText, "clWindowText" },
} };

} // namespace

int32_t ColorToRGB(TColor color)
{
    if (color < 0)
        return static_cast<int32_t>(GetSysColor(color & 0xFF));
    return color;
}

bool ColorToIdent(TColor color, std::string& ident)
{
    for (const TColorIdent& entry : kColorIdents) {
        if (entry.Value == color) {
            ident = entry.Name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(std::string_view ident, TColor& color)
{
    for (const TColorIdent& entry : kColorIdents) {
        if (SameText(ident, entry.Name)) {
            color = entry.Value;
            return true;
        }
    }
    return false;
}

std::string ColorToString(TColor color)
{
    std::string ident;
    if (ColorToIdent(color, ident))
        return ident;
    return "$" + IntToHex(static_cast<uint32_t>(color), 8);
}

TColor StringToColor(std::string_view text)
{
    TColor color = 0;
    if (IdentToColor(text, color))
        return color;
    // Hex spellings may name system colours ("$8000000F"), which do not fit a signed 32-bit number.
    int64_t value = StrToInt64(text);
    if (value < INT32_MIN || value > UINT32_MAX)
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return static_cast<TColor>(static_cast<uint32_t>(value));
}

void GetColorValues(const std::function<void(const std::string& ident)>& proc)
{
    for (const TColorIdent& entry : kColorIdents)
        proc(entry.Name);
}
