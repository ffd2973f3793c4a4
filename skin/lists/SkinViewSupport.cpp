#include "skin/lists/SkinViewSupport.h"

#include "framework/controls/TWinControl.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinScrollBars.h"

namespace SkinViewSupport {

void ApplyViewDefaults(TControl* view, TFont* defaultFont, TColor defaultColor)
{
    view->SetColor(defaultColor);
    view->Font()->Assign(defaultFont);
}

void ApplyViewFont(TControl* view, bool useSkinFont, TFont* defaultFont, const std::string& fontName, int fontHeight,
    TFontStyles fontStyle, TColor fontColor, TColor bgColor)
{
    TFont* font = view->Font();
    if (useSkinFont) {
        font->SetName(fontName);
        font->SetStyle(fontStyle);
        font->SetHeight(fontHeight);
    } else {
        font->Assign(defaultFont);
    }
    font->SetColor(fontColor);
    view->SetColor(bgColor);
}

void ApplyViewCharset(TControl* view, const TspSkinData* skin, TFont* defaultFont)
{
    SkinLabels::ApplyCharset(view->Font(), skin, defaultFont);
}

void SetViewDefaultFont(TControl* view, TFont* defaultFont, TFont* value, bool shown)
{
    defaultFont->Assign(value);
    if (shown)
        view->Font()->Assign(value);
}

void SetViewDefaultColor(TControl* view, TColor& defaultColor, TColor value, bool shown)
{
    defaultColor = value;
    if (shown)
        view->SetColor(value);
}

TBarUpdate::TBarUpdate(TspSkinScrollBar* vertical, TspSkinScrollBar* horizontal)
    : FVertical(vertical)
    , FHorizontal(horizontal)
{
    for (TspSkinScrollBar* bar : { FVertical, FHorizontal })
        if (bar)
            bar->BeginUpdate();
}

TBarUpdate::~TBarUpdate()
{
    for (TspSkinScrollBar* bar : { FVertical, FHorizontal })
        if (bar)
            bar->EndUpdate();
}

bool SetBarVisible(TspSkinScrollBar* bar, bool visible, bool& inUpdate)
{
    if (bar->Visible() == visible)
        return false;
    inUpdate = true;
    bar->SetVisible(visible);
    inUpdate = false;
    return true;
}

void FinishBarUpdate(TControl* view, TspSkinScrollBar* vertical, TspSkinScrollBar* horizontal, bool changed,
    bool& inUpdate)
{
    if (vertical && horizontal) {
        if (!vertical->Visible() && horizontal->Both())
            horizontal->SetBoth(false);
        if (vertical->Visible() && !horizontal->Both())
            horizontal->SetBoth(true);
    }
    if (view->Align() == alNone || !changed || !view->Parent())
        return;
    inUpdate = true;
    view->Parent()->Realign();
    inUpdate = false;
}

void RealignBar(TspSkinScrollBar* bar)
{
    if (bar && bar->Parent())
        bar->Parent()->Realign();
}

} // namespace SkinViewSupport
