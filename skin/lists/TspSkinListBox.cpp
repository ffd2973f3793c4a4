#include "skin/lists/TspSkinListBox.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/TspSkinData.h"

#include <algorithm>

using namespace SPUtils;

TspSkinCustomListBox::TspSkinCustomListBox(TComponent* owner)
    : TspSkinCustomListBox(owner, [](TComponent* frame) { return new TspListBox(frame); })
{
}

TspSkinCustomListBox::TspSkinCustomListBox(TComponent* owner, TspListBox* (*makeList)(TComponent* frame))
    : inherited(owner)
    , FTabWidths(std::make_unique<TStringList>())
    , FGlyph(std::make_unique<TBitmap>())
    , FDefaultCaptionFont(std::make_unique<TFont>())
{
    FControlStyle = TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
        csReplicatable };
    SetSkinDataName("listbox");
    FDefaultCaptionFont->SetName("Arial");
    FDefaultCaptionFont->SetHeight(14);
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    FListBox = makeList(this);
    FListBox->SkinListBox = this;
    FListBox->SetStyle(lbOwnerDrawFixed);
    FListBox->SetItemHeight(FDefaultItemHeight);
    FListBox->SetParent(this);
    FListBox->SetVisible(true);
    SetBounds(Left(), Top(), 120, 120);
}

TspSkinCustomListBox::~TspSkinCustomListBox()
{
    FTabWidths.reset();
    delete FVScrollBar;
    FVScrollBar = nullptr;
    delete FHScrollBar;
    FHScrollBar = nullptr;
    TspListBox* list = FListBox;
    FListBox = nullptr;
    delete list;
}

void TspSkinCustomListBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
}

void TspSkinCustomListBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FImages)
        FImages = nullptr;
    if (component == static_cast<TComponent*>(FVScrollBar))
        FVScrollBar = nullptr;
    if (component == static_cast<TComponent*>(FHScrollBar))
        FHScrollBar = nullptr;
    if (component == FListBox)
        FListBox = nullptr;
}

// ---- Forwarders to the inner list ----------------------------------------------------------------------------

TStrings* TspSkinCustomListBox::Items() const { return FListBox->Items(); }

void TspSkinCustomListBox::SetItems(TStrings* value)
{
    FListBox->Items()->Assign(value);
    UpDateScrollBar();
}

int TspSkinCustomListBox::ItemIndex() const { return FListBox->ItemIndex(); }
void TspSkinCustomListBox::SetItemIndex(int value) { FListBox->SetItemIndex(value); }
int TspSkinCustomListBox::TopIndex() const { return FListBox->TopIndex(); }
void TspSkinCustomListBox::SetTopIndex(int value) { FListBox->SetTopIndex(value); }
bool TspSkinCustomListBox::Selected(int index) const { return FListBox->Selected(index); }
void TspSkinCustomListBox::SetSelected(int index, bool value) { FListBox->SetSelected(index, value); }
int TspSkinCustomListBox::SelCount() const { return FListBox->SelCount(); }
bool TspSkinCustomListBox::Sorted() const { return FListBox->Sorted(); }
bool TspSkinCustomListBox::MultiSelect() const { return FListBox->MultiSelect(); }
void TspSkinCustomListBox::SetMultiSelect(bool value) { FListBox->SetMultiSelect(value); }
bool TspSkinCustomListBox::ExtandedSelect() const { return FListBox->ExtendedSelect(); }
void TspSkinCustomListBox::SetExtandedSelect(bool value) { FListBox->SetExtendedSelect(value); }
bool TspSkinCustomListBox::AutoComplete() const { return FListBox->AutoComplete(); }
void TspSkinCustomListBox::SetAutoComplete(bool value) { FListBox->SetAutoComplete(value); }
TFont* TspSkinCustomListBox::ListBoxFont() const { return FListBox->Font(); }
void TspSkinCustomListBox::SetListBoxFont(TFont* value) { FListBox->Font()->Assign(value); }
TCanvas* TspSkinCustomListBox::GetCanvas() const { return FListBox->Canvas(); }
int TspSkinCustomListBox::ItemAtPos(TPoint pos, bool existing) const { return FListBox->ItemAtPos(pos, existing); }
TRect TspSkinCustomListBox::ItemRect(int index) const { return FListBox->ItemRect(index); }
int TspSkinCustomListBox::Columns() const { return FListBox->Columns(); }

void TspSkinCustomListBox::SetSorted(bool value)
{
    // A stale range must not show while the items sort again.
    if (FVScrollBar)
        HideVScrollBar();
    FListBox->SetSorted(value);
}

void TspSkinCustomListBox::Clear()
{
    FListBox->Clear();
    UpDateScrollBar();
}

void TspSkinCustomListBox::SetColumns(int value)
{
    FListBox->SetColumns(value);
    UpDateScrollBar();
}

// ---- Properties ---------------------------------------------------------------------------------------------

void TspSkinCustomListBox::SetTabWidths(TStrings* value)
{
    FTabWidths->Assign(value);
    if (FTabWidths->Count() > 0)
        FListBox->Invalidate();
}

void TspSkinCustomListBox::SetUseSkinItemHeight(bool value)
{
    FUseSkinItemHeight = value;
    if (ComponentState().Contains(csLoading))
        return;
    if (ListSkinned())
        FListBox->SetItemHeight(value ? RectHeight(SItemRect) : FDefaultItemHeight);
    FListBox->Invalidate();
}

void TspSkinCustomListBox::SetHorizontalExtent(bool value)
{
    FHorizontalExtent = value;
    UpDateScrollBar();
}

void TspSkinCustomListBox::SetRowCount(int value)
{
    FRowCount = value;
    if (value != 0)
        SetHeight(CalcHeight(value));
    UpDateScrollBar();
}

void TspSkinCustomListBox::SetImages(TCustomImageList* value)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value)
        value->FreeNotification(this);
    FListBox->Invalidate();
}

void TspSkinCustomListBox::SetImageIndex(int value)
{
    FImageIndex = value;
    FListBox->Invalidate();
}

void TspSkinCustomListBox::SetGlyph(TBitmap* value)
{
    FGlyph->Assign(value);
    Repaint();
}

void TspSkinCustomListBox::SetNumGlyphs(TspSkinPanelNumGlyphs value)
{
    FNumGlyphs = value;
    Repaint();
}

void TspSkinCustomListBox::SetSpacing(int value)
{
    FSpacing = value;
    Repaint();
}

void TspSkinCustomListBox::SetCaptionMode(bool value)
{
    FCaptionMode = value;
    if (SkinIndex == -1) {
        CalcRects();
        Repaint();
    }
}

void TspSkinCustomListBox::SetDefaultCaptionHeight(int value)
{
    FDefaultCaptionHeight = value;
    if (SkinIndex == -1) {
        CalcRects();
        Repaint();
    }
}

void TspSkinCustomListBox::SetDefaultCaptionFont(TFont* value)
{
    FDefaultCaptionFont->Assign(value);
    if (SkinIndex == -1)
        Repaint();
}

void TspSkinCustomListBox::SetAlignment(TAlignment value)
{
    FAlignment = value;
    if (FCaptionMode)
        Repaint();
}

void TspSkinCustomListBox::SetDefaultItemHeight(int value)
{
    FDefaultItemHeight = value;
    if (SkinIndex == -1 || !FUseSkinItemHeight)
        FListBox->SetItemHeight(value);
}

// ---- Forwarding operations ------------------------------------------------------------------------------------

void TspSkinCustomListBox::ListBoxMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnListBoxMouseDown)
        OnListBoxMouseDown(this, button, shift, x, y);
}

void TspSkinCustomListBox::ListBoxMouseMove(TShiftState shift, int x, int y)
{
    if (OnListBoxMouseMove)
        OnListBoxMouseMove(this, shift, x, y);
}

void TspSkinCustomListBox::ListBoxMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnListBoxMouseUp)
        OnListBoxMouseUp(this, button, shift, x, y);
}

void TspSkinCustomListBox::ListBoxClick()
{
    if (OnListBoxClick)
        OnListBoxClick(this);
}

void TspSkinCustomListBox::ListBoxDblClick()
{
    if (OnListBoxDblClick)
        OnListBoxDblClick(this);
}

void TspSkinCustomListBox::ListBoxKeyDown(uint16_t& key, TShiftState shift)
{
    if (OnListBoxKeyDown)
        OnListBoxKeyDown(this, key, shift);
}

void TspSkinCustomListBox::ListBoxKeyUp(uint16_t& key, TShiftState shift)
{
    if (OnListBoxKeyUp)
        OnListBoxKeyUp(this, key, shift);
}

void TspSkinCustomListBox::ListBoxKeyPress(char32_t& key)
{
    if (OnListBoxKeyPress)
        OnListBoxKeyPress(this, key);
}

void TspSkinCustomListBox::ListBoxWProc(TMessage&, bool& continueHandling) { continueHandling = true; }

int TspSkinCustomListBox::GetFullItemWidth(int index, TCanvas* canvas)
{
    return canvas->TextWidth(Items()->Strings(index));
}

// ---- Skin -----------------------------------------------------------------------------------------------------

bool TspSkinCustomListBox::ListSkinned() const { return SkinIndex != -1 && SkinPicture; }

void TspSkinCustomListBox::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinListBox>(SkinData(), SkinIndex);
    if (!record) {
        // A record of another kind gives the default look.
        SkinIndex = -1;
        return;
    }
    SItemRect = record->ItemRect;
    ActiveItemRect = IsNullRect(record->ActiveItemRect) ? record->ItemRect : record->ActiveItemRect;
    FocusItemRect = IsNullRect(record->FocusItemRect) ? record->ItemRect : record->FocusItemRect;
    ItemLeftOffset = record->ItemLeftOffset;
    ItemRightOffset = record->ItemRightOffset;
    ItemTextRect = record->ItemTextRect;
    FontName = record->FontName;
    FontStyle = record->FontStyle;
    FontHeight = record->FontHeight;
    FontColor = record->FontColor;
    ActiveFontColor = record->ActiveFontColor;
    FocusFontColor = record->FocusFontColor;
    CaptionRect = record->CaptionRect;
    CaptionFontName = record->CaptionFontName;
    CaptionFontStyle = record->CaptionFontStyle;
    CaptionFontHeight = record->CaptionFontHeight;
    CaptionFontColor = record->CaptionFontColor;
    ButtonRects = { record->UpButtonRect, record->DownButtonRect, record->CheckButtonRect };
    ActiveButtonRects = { record->ActiveUpButtonRect, record->ActiveDownButtonRect, record->ActiveCheckButtonRect };
    DownButtonRects = { record->DownUpButtonRect, record->DownDownButtonRect, record->DownCheckButtonRect };
    for (size_t i = 0; i < 3; ++i)
        if (IsNullRect(DownButtonRects[i]))
            DownButtonRects[i] = ActiveButtonRects[i];
    VScrollBarName = record->VScrollBarName;
    HScrollBarName = record->HScrollBarName;
    BothHScrollBarName = record->BothHScrollBarName;
    ShowFocus = record->ShowFocus;
}

void TspSkinCustomListBox::ApplyItemFont(TFont* font)
{
    SkinControlSupport::ApplyCaptionFont(
        font, { FontName, FontHeight, FontStyle, FontColor }, UseSkinFont(), DefaultFont(), SkinData());
}

void TspSkinCustomListBox::ChangeSkinData()
{
    ChangingSkinData = true;
    FListBox->ClearItemBackgrounds();
    inherited::ChangeSkinData();
    if (SkinIndex == -1) {
        FListBox->SetItemHeight(FDefaultItemHeight);
        Font()->Assign(DefaultFont());
    } else if (FUseSkinItemHeight && RectHeight(SItemRect) > 0) {
        FListBox->SetItemHeight(RectHeight(SItemRect));
    }
    UpdateBarSkins();
    if (FRowCount != 0)
        SetHeight(CalcHeight(FRowCount));
    CalcRects();
    UpDateScrollBar();
    ChangingSkinData = false;
    FListBox->Repaint();
}

void TspSkinCustomListBox::DefaultFontChange()
{
    if (SkinIndex == -1)
        Font()->Assign(DefaultFont());
}

void TspSkinCustomListBox::SetBounds(int left, int top, int width, int height)
{
    inherited::SetBounds(left, top, width, height);
    if (SkinIndex == -1)
        Repaint();
}

int TspSkinCustomListBox::CalcHeight(int rows)
{
    const int itemHeight = FListBox->ItemHeight();
    int height;
    if (SkinIndex == -1) {
        height = rows * itemHeight + 4;
        if (FCaptionMode)
            height += FDefaultCaptionHeight;
    } else {
        height = RectHeight(SkinRectangle) + rows * itemHeight - RectHeight(SkinClientRect);
    }
    if (FHScrollBar)
        height += FHScrollBar->Height();
    return height;
}

void TspSkinCustomListBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SIZE:
        inherited::WndProc(message);
        CalcRects();
        UpDateScrollBar();
        return;
    case WM_TIMER:
        inherited::WndProc(message);
        WMTimer();
        return;
    case CM_TEXTCHANGED:
        inherited::WndProc(message);
        if (FCaptionMode)
            Repaint();
        return;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        if (ButtonsActive())
            TestActive(-1, -1);
        return;
    case CM_MOUSELEAVE: {
        inherited::WndProc(message);
        bool changed = false;
        for (TCaptionButton& button : Buttons)
            if (button.MouseIn) {
                button.MouseIn = false;
                changed = true;
            }
        if (changed)
            Repaint();
        return;
    }
    default:
        inherited::WndProc(message);
    }
}

// ---- Layout ---------------------------------------------------------------------------------------------------

int TspSkinCustomListBox::LayoutBottomPart() const
{
    if (!FHScrollBar || !FHScrollBar->Visible() || Columns() > 0)
        return 0;
    return SkinIndex == -1 ? FHScrollBar->Height() - 1 : FHScrollBar->Height();
}

void TspSkinCustomListBox::CalcRects()
{
    if (!FListBox)
        return;
    const int width = Width();
    const int height = Height();
    const bool columns = Columns() > 0;
    const bool vbar = FVScrollBar && FVScrollBar->Visible();
    const int bottomPart = LayoutBottomPart();
    TRect list;
    if (SkinIndex == -1) {
        const int top = DefaultTopInset();
        if (bottomPart > 0)
            FHScrollBar->SetBounds(1, height - 20, width - 2, 19);
        if (vbar && !columns) {
            FVScrollBar->SetBounds(width - 20, top, 19, height - top - bottomPart - 1);
            list = Rect(2, top + 1, width - 20, height - bottomPart - 2);
        } else if (vbar) {
            FVScrollBar->SetBounds(1, height - 20, width - 2, 19);
            list = Rect(2, top + 1, width - 2, height - 20);
        } else {
            list = Rect(2, top + 1, width - 2, height - 2 - bottomPart);
        }
    } else {
        TRect avail = SkinClientRect;
        avail.Right += width - RectWidth(SkinRectangle);
        avail.Bottom += height - RectHeight(SkinRectangle);
        if (bottomPart > 0) {
            FHScrollBar->SetBounds(avail.Left, avail.Bottom - bottomPart, RectWidth(avail), bottomPart);
            avail.Bottom -= bottomPart;
        }
        if (vbar && !columns) {
            const int barWidth = FVScrollBar->Width();
            FVScrollBar->SetBounds(avail.Right - barWidth, avail.Top, barWidth, RectHeight(avail));
            avail.Right -= barWidth;
        } else if (vbar) {
            const int barHeight = FVScrollBar->Height();
            FVScrollBar->SetBounds(avail.Left, avail.Bottom - barHeight, RectWidth(avail), barHeight);
            avail.Bottom -= barHeight;
        }
        list = avail;
    }
    FListBox->SetBounds(list.Left, list.Top, std::max(0, RectWidth(list)), std::max(0, RectHeight(list)));
}
