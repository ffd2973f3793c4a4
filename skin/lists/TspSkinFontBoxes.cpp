#include "skin/lists/TspSkinFontBoxes.h"

#include "framework/core/Numbers.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/TspSkinData.h"

#include <algorithm>

using namespace SPUtils;

namespace {

// Fonts were installed or removed: the desktop does not announce it here, but a program may send it.
constexpr UINT WM_FONTCHANGE = 0x001D;

struct TEnumeration {
    std::vector<TspFontFace> Faces;
};

int CALLBACK_AddFace(const LOGFONT* font, const TEXTMETRIC*, DWORD fontType, LPARAM param)
{
    auto* enumeration = reinterpret_cast<TEnumeration*>(param);
    enumeration->Faces.push_back({ font->lfFaceName, fontType, font->lfCharSet, font->lfPitchAndFamily });
    return 1;
}

struct TSizes {
    bool TrueType = false;
    std::vector<int> Heights; // logical height less the internal leading
};

int CALLBACK_AddSize(const LOGFONT* font, const TEXTMETRIC* metrics, DWORD fontType, LPARAM param)
{
    auto* sizes = reinterpret_cast<TSizes*>(param);
    if (fontType & TRUETYPE_FONTTYPE) {
        sizes->TrueType = true;
        return 0;
    }
    sizes->Heights.push_back(font->lfHeight - metrics->tmInternalLeading);
    return 1;
}

void DrawT(TCanvas* canvas, int x, int y)
{
    const int strokes[][4] = { { x, y, x + 7, y }, { x + 7, y, x + 7, y + 3 }, { x, y, x, y + 3 },
        { x + 1, y, x + 1, y + 1 }, { x + 6, y, x + 6, y + 1 }, { x + 3, y, x + 3, y + 8 },
        { x + 4, y, x + 4, y + 8 }, { x + 2, y + 8, x + 6, y + 8 } };
    for (const auto& s : strokes) {
        canvas->MoveTo(s[0], s[1]);
        canvas->LineTo(s[2], s[3]);
    }
}

// The options with foTrueTypeOnly switched.
TspFontListOptions WithTrueTypeOnly(TspFontListOptions options, bool value)
{
    if (value)
        options.Include(foTrueTypeOnly);
    else
        options.Exclude(foTrueTypeOnly);
    return options;
}

// Refills `items` with the families; the caller puts its current line back.
void FillFontLines(TStrings* items, TspFontDevice device, TspFontListOptions options)
{
    items->BeginUpdate();
    items->Clear();
    for (const auto& [name, object] : EnumerateFonts(device, options))
        items->AddObject(name, reinterpret_cast<TObject*>(object));
    items->EndUpdate();
}

// Refills a font box's lines, putting its current line number back (the combo box and the list box alike).
template <class Box> void RefillFontBox(Box* box, TspFontDevice device, TspFontListOptions options)
{
    if (!box->HandleAllocated())
        return;
    const int index = box->ItemIndex();
    FillFontLines(box->Items(), device, options);
    box->SetItemIndex(index);
}

using TDrawText = void (*)(TCanvas*, std::string_view, const TRect&);

// One family of a font list: the TrueType mark, then the name in its own typeface 15 pixels in.
void DrawFontLine(TCanvas* cnvs, TStrings* items, int index, int itemHeight, const TRect& txtRect, TDrawText draw)
{
    if (index < 0 || index >= items->Count())
        return;
    const auto type = reinterpret_cast<uintptr_t>(items->Objects(index));
    if (type & TRUETYPE_FONTTYPE)
        DrawTrueTypeMark(cnvs, txtRect.Left, txtRect.Top + itemHeight / 2);
    const std::string name = items->Strings(index);
    cnvs->Font()->SetName(name);
    cnvs->Font()->SetStyle({});
    draw(cnvs, name, { txtRect.Left + 15, txtRect.Top, txtRect.Right, txtRect.Bottom });
}

} // namespace

bool FontPassesFilter(const TspFontFace& face, TspFontListOptions options)
{
    bool accept = true;
    if (options.Contains(foTrueTypeOnly))
        accept = (face.FontType & TRUETYPE_FONTTYPE)
            && (!options.Contains(foAnsiOnly) || face.CharSet == ANSI_CHARSET);
    else if (options.Contains(foAnsiOnly))
        accept = face.CharSet == ANSI_CHARSET;
    if (options.Contains(foFixedPitchOnly))
        accept = accept && (face.PitchAndFamily & 0x3) == FIXED_PITCH;
    if (options.Contains(foOEMFontsOnly))
        accept = accept && face.CharSet == OEM_CHARSET;
    if (options.Contains(foNoOEMFonts))
        accept = accept && face.CharSet != OEM_CHARSET;
    if (options.Contains(foNoSymbolFonts))
        accept = accept && face.CharSet != SYMBOL_CHARSET;
    if (options.Contains(foScalableOnly))
        accept = accept && !(face.FontType & RASTER_FONTTYPE);
    return accept;
}

std::vector<std::pair<std::string, uintptr_t>> EnumerateFonts(TspFontDevice device, TspFontListOptions options)
{
    TEnumeration enumeration;
    // There is no printer here: the printer's fonts are none, as when a printer cannot be reached.
    if (device == fdScreen || device == fdBoth) {
        HDC dc = GetDC(nullptr);
        EnumFontFamilies(dc, nullptr, &CALLBACK_AddFace, reinterpret_cast<LPARAM>(&enumeration));
        ReleaseDC(nullptr, dc);
    }
    std::vector<std::pair<std::string, uintptr_t>> result;
    for (const TspFontFace& face : enumeration.Faces) {
        const bool known = std::any_of(
            result.begin(), result.end(), [&](const auto& line) { return SameText(line.first, face.Name); });
        if (known || !FontPassesFilter(face, options))
            continue;
        result.push_back({ face.Name, face.FontType | (face.CharSet != SYMBOL_CHARSET ? 256u : 0u) });
    }
    return result;
}

std::vector<int> RasterFontSizes(const std::vector<int>& heights, int pixelsPerInch)
{
    std::vector<int> sizes;
    for (int height : heights) {
        const int size = static_cast<int>(Round(height * 72.0 / pixelsPerInch));
        const auto at = std::lower_bound(sizes.begin(), sizes.end(), size);
        if (at == sizes.end() || *at != size)
            sizes.insert(at, size);
    }
    return sizes;
}

void DrawTrueTypeMark(TCanvas* canvas, int left, int centre)
{
    canvas->Pen()->SetColor(clGray);
    DrawT(canvas, left, centre - 7);
    canvas->Pen()->SetColor(clBlack);
    DrawT(canvas, left + 4, centre - 3);
}

// --- TspSkinFontComboBox ------------------------------------------------------------------------------------------

TspSkinFontComboBox::TspSkinFontComboBox(TComponent* owner)
    : TspSkinCustomComboBox(owner)
{
    SetOnListBoxDrawItem([this](TCanvas* cnvs, int index, int itemWidth, int itemHeight, TRect& txtRect,
                             TOwnerDrawState) { DrawListItem(cnvs, index, itemWidth, itemHeight, txtRect); });
    OnComboBoxDrawItem = [this](TCanvas* cnvs, int index, int, int, TRect& txtRect, TOwnerDrawState) {
        if (index < 0 || index >= Items()->Count())
            return;
        std::string name = Items()->Strings(index).substr(0, 255);
        SPDrawText(cnvs, name, { txtRect.Left + 2, txtRect.Top, txtRect.Right, txtRect.Bottom });
    };
    SetSorted(true);
}

bool TspSkinFontComboBox::Reading() const { return ComponentState().Contains(csReading); }

void TspSkinFontComboBox::SetDevice(TspFontDevice value)
{
    if (value == FDevice)
        return;
    FDevice = value;
    Reset();
}

void TspSkinFontComboBox::SetOptions(TspFontListOptions value)
{
    if (value == FOptions)
        return;
    FOptions = value;
    Reset();
}

void TspSkinFontComboBox::SetTrueTypeOnly(bool value) { SetOptions(WithTrueTypeOnly(FOptions, value)); }

void TspSkinFontComboBox::SetUseFonts(bool value)
{
    if (value == FUseFonts)
        return;
    FUseFonts = value;
    Invalidate();
}

void TspSkinFontComboBox::PopulateList() { RefillFontBox(this, FDevice, FOptions); }

void TspSkinFontComboBox::Reset()
{
    if (!HandleAllocated())
        return;
    FResetting = true;
    const std::string name = FontName();
    PopulateList();
    SetFontName(name);
    FResetting = false;
    if (FontName() != name && !Reading() && OnChange)
        OnChange(this);
}

void TspSkinFontComboBox::CreateWnd()
{
    const std::string name = FontName();
    inherited::CreateWnd();
    FResetting = true;
    PopulateList();
    SetText("");
    SetFontName(name);
    FResetting = false;
}

void TspSkinFontComboBox::SetFontName(const std::string& value)
{
    if (value == FontName())
        return;
    if (ComponentState().Contains(csLoading)) {
        SetText(value);
        return;
    }
    HandleNeeded();
    for (int i = 0; i < Items()->Count(); ++i)
        if (SameText(Items()->Strings(i), value)) {
            SetItemIndex(i);
            if (!Reading() && !FResetting && OnChange)
                OnChange(this);
            return;
        }
    if (Style() == spcbFixedStyle)
        SetItemIndex(-1);
    else
        SetText(value);
    if (!Reading() && !FResetting && OnChange)
        OnChange(this);
}

void TspSkinFontComboBox::DrawListItem(TCanvas* cnvs, int index, int, int itemHeight, TRect& txtRect)
{
    DrawFontLine(cnvs, Items(), index, itemHeight, txtRect, &SPDrawText);
}

void TspSkinFontComboBox::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    if (message.Msg == WM_FONTCHANGE)
        Reset();
}

// --- TspSkinFontListBox -------------------------------------------------------------------------------------------

TspSkinFontListBox::TspSkinFontListBox(TComponent* owner)
    : TspSkinListBox(owner)
{
    OnDrawItem = [this](TCanvas* cnvs, int index, int, int itemHeight, TRect& txtRect, TOwnerDrawState) {
        DrawListItem(cnvs, index, itemHeight, txtRect);
    };
    SetSorted(true);
}

bool TspSkinFontListBox::Reading() const { return ComponentState().Contains(csReading); }

void TspSkinFontListBox::ListClick()
{
    if (!Reading() && !FResetting && OnListBoxClick)
        OnListBoxClick(this);
}

void TspSkinFontListBox::SetDevice(TspFontDevice value)
{
    if (value == FDevice)
        return;
    FDevice = value;
    Reset();
}

void TspSkinFontListBox::SetOptions(TspFontListOptions value)
{
    if (value == FOptions)
        return;
    FOptions = value;
    Reset();
}

void TspSkinFontListBox::SetTrueTypeOnly(bool value) { SetOptions(WithTrueTypeOnly(FOptions, value)); }

void TspSkinFontListBox::SetUseFonts(bool value)
{
    if (value == FUseFonts)
        return;
    FUseFonts = value;
    ListBox()->Invalidate();
}

std::string TspSkinFontListBox::FontName() const
{
    const int index = ItemIndex();
    return index >= 0 && index < Items()->Count() ? Items()->Strings(index) : std::string();
}

void TspSkinFontListBox::SetFontName(const std::string& value)
{
    if (value == FontName())
        return;
    if (!ComponentState().Contains(csLoading)) {
        ListBox()->HandleNeeded();
        for (int i = 0; i < Items()->Count(); ++i)
            if (SameText(Items()->Strings(i), value)) {
                SetItemIndex(i);
                ListClick();
                return;
            }
    }
    // Not listed: the current line stays, and the caller still hears of the attempt.
    ListClick();
}

void TspSkinFontListBox::PopulateList() { RefillFontBox(this, FDevice, FOptions); }

void TspSkinFontListBox::Reset()
{
    if (!HandleAllocated())
        return;
    FResetting = true;
    const std::string name = FontName();
    PopulateList();
    SetFontName(name);
    FResetting = false;
    if (FontName() != name && !Reading() && OnListBoxClick)
        OnListBoxClick(this);
}

void TspSkinFontListBox::Loaded()
{
    inherited::Loaded();
    FResetting = true;
    PopulateList();
    FResetting = false;
}

void TspSkinFontListBox::ListBoxCreateWnd()
{
    // With a loaded skin the list is filled once loading ends, not again for every new window of the list.
    TspSkinData* skin = SkinData();
    if (!ComponentState().Contains(csDesigning) && skin && !skin->Empty)
        return;
    FResetting = true;
    PopulateList();
    FResetting = false;
}

void TspSkinFontListBox::DrawListItem(TCanvas* cnvs, int index, int itemHeight, TRect& txtRect)
{
    DrawFontLine(cnvs, Items(), index, itemHeight, txtRect, &SPDrawText2);
}

// --- TspSkinFontSizeComboBox --------------------------------------------------------------------------------------

void TspSkinFontSizeComboBox::SetFontName(const std::string& value)
{
    FFontName = value;
    Build();
}

void TspSkinFontSizeComboBox::Build()
{
    Items()->BeginUpdate();
    Items()->Clear();
    if (!FFontName.empty()) {
        HDC dc = GetDC(nullptr);
        FPixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
        TSizes sizes;
        EnumFontFamilies(dc, FFontName.c_str(), &CALLBACK_AddSize, reinterpret_cast<LPARAM>(&sizes));
        ReleaseDC(nullptr, dc);
        if (sizes.TrueType) {
            for (const char* size :
                { "8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72" })
                Items()->Add(size);
        } else {
            for (int size : RasterFontSizes(sizes.Heights, FPixelsPerInch))
                Items()->Add(std::to_string(size));
        }
    }
    Items()->EndUpdate();
    TNotifyEvent click = std::move(OnClick);
    OnClick = nullptr;
    SetItemIndex(Items()->IndexOf(Text()));
    OnClick = std::move(click);
    if (OnClick)
        OnClick(this);
}

int TspSkinFontSizeComboBox::GetSizeValue() const
{
    if (Style() == spcbFixedStyle) {
        if (ItemIndex() < 0 || Items()->Strings(ItemIndex()).empty())
            return 0;
        return std::atoi(Items()->Strings(ItemIndex()).c_str());
    }
    const std::string& text = Text();
    if (text.empty() || text == "-")
        return 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(std::isdigit(static_cast<unsigned char>(text[i])) || (text[i] == '-' && i == 0)))
            return 0;
    return std::atoi(text.c_str());
}
