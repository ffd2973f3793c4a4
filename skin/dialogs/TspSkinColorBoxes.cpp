#include "skin/dialogs/TspSkinColorBoxes.h"

#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/SPUtils.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/dialogs/TspSkinColorDialog.h"

#include <cctype>

using namespace SPUtils;

namespace {

// Positions in the framework's colour table: 16 standard colours, 4 extended ones, then the system colours.
constexpr int kExtendedStart = 16;
constexpr int kSystemStart = 20;

TObject* ColorObject(TColor color) { return reinterpret_cast<TObject*>(static_cast<uintptr_t>(static_cast<uint32_t>(color))); }

// Accepted colours reach the custom line through the dialog; true when the user accepted one.
bool PickInto(TStrings* items, TspSkinData* skin)
{
    TspSkinColorDialog dialog(nullptr);
    dialog.SetSkinData(skin);
    dialog.SetCtrlSkinData(skin);
    dialog.Color = static_cast<TColor>(ColorToRGB(LineColor(items, 0)));
    if (!dialog.Execute())
        return false;
    items->SetObjects(0, ColorObject(dialog.Color));
    return true;
}

// The swatch (and, with names, the text) of one line in an item of `rect`, the swatch inset by `inset`.
void DrawColorItem(TCanvas* cnvs, TStrings* items, int index, const TRect& rect, int inset, bool showNames)
{
    if (index < 0 || index >= items->Count())
        return;
    TRect swatch { rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset };
    if (showNames)
        swatch.Right = rect.Left + (rect.Bottom - rect.Top) - inset;
    cnvs->Brush()->SetStyle(bsSolid);
    cnvs->Brush()->SetColor(LineColor(items, index));
    cnvs->FillRect(swatch);
    if (!showNames)
        return;
    cnvs->Brush()->SetStyle(bsClear);
    const TRect text { rect.Left + (swatch.Right - swatch.Left) + 5, rect.Top, rect.Right - 2, rect.Bottom };
    if (inset == 1)
        SPDrawText(cnvs, items->Strings(index), text);
    else
        SPDrawText2(cnvs, items->Strings(index), text);
}

bool AnyColours(TspColorBoxStyle style)
{
    return style.Contains(spcbStandardColors) || style.Contains(spcbExtendedColors)
        || style.Contains(spcbSystemColors) || style.Contains(spcbCustomColor);
}

// What the combo box and the list box do alike over their lines (both have Items, ItemIndex and SetItemIndex).
template <class Box> void SelectColor(Box* box, TspColorBoxStyle style, TColor value)
{
    if (!box->HandleAllocated())
        return;
    TStrings* items = box->Items();
    for (int i = 0; i < items->Count(); ++i)
        if (LineColor(items, i) == value) {
            box->SetItemIndex(i);
            return;
        }
    if (style.Contains(spcbCustomColor) && value != kNoColorSelected && items->Count() > 0) {
        items->SetObjects(0, ColorObject(value));
        box->SetItemIndex(0);
        return;
    }
    box->SetItemIndex(-1);
}

template <class Box> TColor SelectedColor(const Box* box, TColor remembered)
{
    if (!box->HandleAllocated())
        return remembered;
    return box->ItemIndex() < 0 ? kNoColorSelected : LineColor(box->Items(), box->ItemIndex());
}

template <class Box> void RefillColors(Box* box, TspColorBoxStyle style, TColor selected)
{
    if (!box->HandleAllocated())
        return;
    TStrings* items = box->Items();
    const TColor custom = style.Contains(spcbCustomColor) && items->Count() > 0 ? LineColor(items, 0) : clBlack;
    FillColorList(items, style, custom, CustomColorText(box->SkinData()));
    SelectColor(box, style, selected);
}

template <class Box> void ApplyColorStyle(Box* box, TspColorBoxStyle style)
{
    box->SetEnabled(AnyColours(style));
    box->PopulateList();
    if (box->Items()->Count() > 0 && box->ItemIndex() == -1)
        box->SetItemIndex(0);
}

} // namespace

std::string PrettyColorName(const std::string& ident)
{
    std::string name = ident.rfind("cl", 0) == 0 ? ident.substr(2) : ident;
    std::string pretty;
    for (size_t i = 0; i < name.size(); ++i) {
        if (i > 0 && std::isupper(static_cast<unsigned char>(name[i])))
            pretty += ' ';
        pretty += name[i];
    }
    return pretty;
}

TColor LineColor(TStrings* items, int index)
{
    if (index < 0 || index >= items->Count())
        return kNoColorSelected;
    return static_cast<TColor>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(items->Objects(index))));
}

std::string CustomColorText(TspSkinData* skin)
{
    if (skin && skin->ResourceStrData()) {
        std::string text = skin->ResourceStrData()->GetResStr("CUSTOMCOLOR");
        if (!text.empty())
            return text;
    }
    return "Custom...";
}

void FillColorList(TStrings* items, TspColorBoxStyle style, TColor custom, const std::string& customText)
{
    items->BeginUpdate();
    items->Clear();
    GetColorValues([&](const std::string& ident) {
        TColor color = 0;
        IdentToColor(ident, color);
        items->AddObject(style.Contains(spcbPrettyNames) ? PrettyColorName(ident) : ident, ColorObject(color));
    });
    const auto removeColor = [&](TColor color) {
        for (int i = 0; i < items->Count(); ++i)
            if (LineColor(items, i) == color) {
                items->Delete(i);
                return;
            }
    };
    const auto removeRange = [&](int from, int to) {
        for (int i = std::min(to, items->Count()) - 1; i >= from; --i)
            items->Delete(i);
    };
    if (!style.Contains(spcbIncludeNone))
        removeColor(clNone);
    if (!style.Contains(spcbIncludeDefault))
        removeColor(clDefault);
    if (!style.Contains(spcbSystemColors))
        removeRange(kSystemStart, items->Count());
    if (!style.Contains(spcbExtendedColors))
        removeRange(kExtendedStart, kSystemStart);
    if (!style.Contains(spcbStandardColors))
        removeRange(0, kExtendedStart);
    if (style.Contains(spcbCustomColor))
        items->InsertObject(0, customText, ColorObject(custom));
    items->EndUpdate();
}

// --- TspSkinColorComboBox -----------------------------------------------------------------------------------------

TspSkinColorComboBox::TspSkinColorComboBox(TComponent* owner)
    : TspSkinCustomComboBox(owner)
{
    SetStyle(spcbFixedStyle);
    const auto draw = [this](TCanvas* cnvs, int index, int w, int h, TRect&, TOwnerDrawState) {
        DrawItem(cnvs, index, h, { 0, 0, w, h });
    };
    SetOnListBoxDrawItem(draw);
    OnComboBoxDrawItem = draw;
    OnCloseUp = [this](TObject*) {
        if (FExStyle.Contains(spcbCustomColor) && ItemIndex() == 0)
            PickCustomColor();
    };
}

void TspSkinColorComboBox::DrawItem(TCanvas* cnvs, int index, int, const TRect& rect)
{
    DrawColorItem(cnvs, Items(), index, rect, 1, FShowNames);
}

std::string TspSkinColorComboBox::GetColorName(int index) const
{
    return index >= 0 && index < Items()->Count() ? Items()->Strings(index) : std::string();
}

void TspSkinColorComboBox::SetShowNames(bool value)
{
    if (value == FShowNames)
        return;
    FShowNames = value;
    Invalidate();
}

void TspSkinColorComboBox::SetDefaultColorColor(TColor value)
{
    if (value == FDefaultColorColor)
        return;
    FDefaultColorColor = value;
    Invalidate();
}

void TspSkinColorComboBox::SetNoneColorColor(TColor value)
{
    if (value == FNoneColorColor)
        return;
    FNoneColorColor = value;
    Invalidate();
}

void TspSkinColorComboBox::PopulateList()
{
    RefillColors(this, FExStyle, FSelected);
}

void TspSkinColorComboBox::SetExStyle(TspColorBoxStyle value)
{
    FExStyle = value;
    ApplyColorStyle(this, value);
}

TColor TspSkinColorComboBox::Selected() const { return SelectedColor(this, FSelected); }

void TspSkinColorComboBox::SetSelected(TColor value)
{
    FSelected = value;
    SelectColor(this, FExStyle, value);
}

void TspSkinColorComboBox::PickCustomColor()
{
    if (!PickInto(Items(), SkinData()))
        return;
    Invalidate();
    if (OnClick)
        OnClick(this);
    if (OnChange)
        OnChange(this);
}

void TspSkinColorComboBox::Loaded()
{
    inherited::Loaded();
    if (FExStyle.Contains(spcbCustomColor) && SkinData() && SkinData()->ResourceStrData() && Items()->Count() > 0)
        Items()->SetStrings(0, CustomColorText(SkinData()));
}

void TspSkinColorComboBox::CreateWnd()
{
    inherited::CreateWnd();
    PopulateList();
}

void TspSkinColorComboBox::KeyDown(uint16_t& key, TShiftState shift)
{
    if (key == VK_RETURN && FExStyle.Contains(spcbCustomColor) && ItemIndex() == 0) {
        key = 0;
        PickCustomColor();
        return;
    }
    inherited::KeyDown(key, shift);
}

// --- TspSkinColorListBox ------------------------------------------------------------------------------------------

TspSkinColorListBox::TspSkinColorListBox(TComponent* owner)
    : TspSkinListBox(owner)
{
    OnDrawItem = [this](TCanvas* cnvs, int index, int w, int h, TRect&, TOwnerDrawState) {
        DrawItem(cnvs, index, h, { 0, 0, w, h });
    };
}

void TspSkinColorListBox::DrawItem(TCanvas* cnvs, int index, int, const TRect& rect)
{
    DrawColorItem(cnvs, Items(), index, rect, 2, FShowNames);
}

std::string TspSkinColorListBox::GetColorName(int index) const
{
    return index >= 0 && index < Items()->Count() ? Items()->Strings(index) : std::string();
}

void TspSkinColorListBox::SetShowNames(bool value)
{
    if (value == FShowNames)
        return;
    FShowNames = value;
    ListBox()->Invalidate();
}

void TspSkinColorListBox::SetDefaultColorColor(TColor value)
{
    if (value == FDefaultColorColor)
        return;
    FDefaultColorColor = value;
    ListBox()->Invalidate();
}

void TspSkinColorListBox::SetNoneColorColor(TColor value)
{
    if (value == FNoneColorColor)
        return;
    FNoneColorColor = value;
    ListBox()->Invalidate();
}

void TspSkinColorListBox::PopulateList()
{
    RefillColors(this, FExStyle, FSelected);
}

void TspSkinColorListBox::SetExStyle(TspColorBoxStyle value)
{
    FExStyle = value;
    ApplyColorStyle(this, value);
}

TColor TspSkinColorListBox::Selected() const { return SelectedColor(this, FSelected); }

void TspSkinColorListBox::SetSelected(TColor value)
{
    FSelected = value;
    SelectColor(this, FExStyle, value);
}

void TspSkinColorListBox::PickCustomColor()
{
    if (!PickInto(Items(), SkinData()))
        return;
    ListBox()->Invalidate();
    if (OnListBoxClick)
        OnListBoxClick(this);
}

void TspSkinColorListBox::Loaded()
{
    inherited::Loaded();
    PopulateList();
}

void TspSkinColorListBox::CreateWnd()
{
    inherited::CreateWnd();
    PopulateList();
}

void TspSkinColorListBox::ListBoxDblClick()
{
    inherited::ListBoxDblClick();
    if (FExStyle.Contains(spcbCustomColor) && ItemIndex() == 0)
        PickCustomColor();
}

void TspSkinColorListBox::ListBoxKeyDown(uint16_t& key, TShiftState shift)
{
    if (key == VK_RETURN && FExStyle.Contains(spcbCustomColor) && ItemIndex() == 0) {
        key = 0;
        PickCustomColor();
        return;
    }
    inherited::ListBoxKeyDown(key, shift);
}
