#include "skin/controls/SkinMemos.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TClipboard.h"
#include "platform/controls/EditControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Clipboard.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLinks.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/SkinMenuMessages.h"

using namespace SPUtils;

// ---- TspSkinCustomMemo -----------------------------------------------------------------------------------------

TspSkinCustomMemo::TspSkinCustomMemo(TComponent* owner)
    : TMemo(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    SetAutoSize(false);
    SetScrollBars(ssBoth);
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetColor(clBlack);
    FDefaultFont->OnChange = [this](TObject*) {
        if (FIndex == -1)
            Font()->Assign(FDefaultFont.get());
    };
}

TspSkinCustomMemo::~TspSkinCustomMemo()
{
    FDefaultFont->OnChange = nullptr;
    if (FVScrollBar)
        FVScrollBar->OnChange = nullptr;
    if (FHScrollBar)
        FHScrollBar->OnChange = nullptr;
}

void TspSkinCustomMemo::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~WS_BORDER;
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

TspDataSkinMemoControl* TspSkinCustomMemo::Record() const
{
    return SkinRecordAt<TspDataSkinMemoControl>(FSkinData, FIndex);
}

void TspSkinCustomMemo::GetSkinData()
{
    FIndex = FSkinData && !FSkinData->Empty ? FSkinData->GetControlIndex(FSkinDataName) : -1;
}

void TspSkinCustomMemo::SetSkinData(TspSkinData* value)
{
    if (SkinLinks::WatchSkin(this, FSkinData, value))
        ChangeSkinData();
}

void TspSkinCustomMemo::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
    if (FIndex == -1)
        Font()->Assign(value);
}

void TspSkinCustomMemo::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    SkinLinks::Forget(component, operation, FSkinData, FVScrollBar, FHScrollBar);
}

void TspSkinCustomMemo::ApplySkinFont()
{
    const TspDataSkinMemoControl* record = Record();
    if (!record) {
        Font()->Assign(FDefaultFont.get());
        return;
    }
    SkinControlSupport::ApplyCaptionFont(
        Font(), SkinControlSupport::RecordFont(record), FUseSkinFont, FDefaultFont.get(), FSkinData);
}

TColor TspSkinCustomMemo::StateFontColor() const
{
    const TspDataSkinMemoControl* record = Record();
    if (!Enabled())
        return clGrayText;
    if (!record || !FUseSkinFontColor)
        return FDefaultFont->Color();
    return MouseIn || const_cast<TspSkinCustomMemo*>(this)->Focused() ? record->ActiveFontColor : record->FontColor;
}

void TspSkinCustomMemo::AttachBar(TspSkinScrollBar*& slot, TspSkinScrollBar* value, bool vertical)
{
    SkinLinks::Watch<TspSkinScrollBar>(this, slot, value);
    if (!value)
        return;
    value->SetMin(0);
    value->SetMax(0);
    value->SetPosition(0);
    if (vertical)
        value->OnChange = [this](TObject* sender) { OnVScrollBarChange(sender); };
    else
        value->OnChange = [this](TObject* sender) { OnHScrollBarChange(sender); };
    UpDateScrollRange();
}

void TspSkinCustomMemo::SetVScrollBar(TspSkinScrollBar* value)
{
    AttachBar(FVScrollBar, value, true);
}

void TspSkinCustomMemo::SetHScrollBar(TspSkinScrollBar* value)
{
    AttachBar(FHScrollBar, value, false);
}

void TspSkinCustomMemo::OnVScrollBarChange(TObject*)
{
    SkinLinks::SendThumbPosition(Handle(), true, FVScrollBar->Position());
    Invalidate();
}

void TspSkinCustomMemo::OnHScrollBarChange(TObject*)
{
    SkinLinks::SendThumbPosition(Handle(), false, FHScrollBar->Position());
    Invalidate();
}

void TspSkinCustomMemo::UpdateBar(TspSkinScrollBar* bar, int which)
{
    if (!bar)
        return;
    if (!Enabled()) {
        bar->SetEnabled(false);
        return;
    }
    SCROLLINFO info {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Handle(), which, &info);
    // A vertical page that shows every line leaves nothing to scroll; a horizontal one counts pixels.
    const bool scrolls
        = which == SB_VERT ? static_cast<int>(info.nPage) < info.nMax + 1 : static_cast<int>(info.nPage) < info.nMax;
    if (scrolls) {
        bar->SetRange(TspScrollMin(0), TspScrollMax(info.nMax), TspScrollPage(static_cast<int>(info.nPage)),
            TspScrollPosition(info.nPos));
        bar->SetEnabled(true);
    } else {
        bar->SetRange(TspScrollMin(0), TspScrollMax(0), TspScrollPage(0), TspScrollPosition(0));
        bar->SetEnabled(false);
    }
}

void TspSkinCustomMemo::UpDateScrollRange()
{
    if (!HandleAllocated())
        return;
    UpdateBar(FVScrollBar, SB_VERT);
    UpdateBar(FHScrollBar, SB_HORZ);
}

void TspSkinCustomMemo::Change()
{
    inherited::Change();
    UpDateScrollRange();
}

TRect TspSkinCustomMemo::TextRect()
{
    RECT r {};
    SendMessage(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return FromRECT(r);
}

void TspSkinCustomMemo::PaintDisabledText(HDC dc)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetStyle(bsClear);
    // The disabled colour is the edits' ("disabledfontcolor" of the record "edit").
    TColor disabled = clGrayText;
    if (FSkinData && !FSkinData->Empty)
        if (const auto* edit = SkinRecordAt<TspDataSkinEditControl>(FSkinData, FSkinData->GetControlIndex("edit")))
            disabled = edit->DisabledFontColor;
    const TspDataSkinMemoControl* record = Record();
    if (record && FUseSkinFont) {
        canvas.Font()->SetName(record->FontName);
        canvas.Font()->SetHeight(record->FontHeight);
        canvas.Font()->SetStyle(record->FontStyle);
    } else {
        canvas.Font()->Assign(FDefaultFont.get());
    }
    canvas.Font()->SetColor(disabled);
    canvas.Font()->SetCharset(FSkinData && FSkinData->ResourceStrData() ? FSkinData->ResourceStrData()->CharSet()
                                                                        : FDefaultFont->Charset());
    const int lineHeight = canvas.TextHeight("Wq");
    const TRect client = ClientRect();
    const int linesPerPage = lineHeight > 0 ? RectHeight(client) / lineHeight : 1;
    const int first = static_cast<int>(SendMessage(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    const TRect area = TextRect();
    const UINT alignment = Alignment() == taRightJustify ? DT_RIGHT : Alignment() == taCenter ? DT_CENTER : DT_LEFT;
    int y = area.Top;
    for (int i = 0; i < linesPerPage - 1 && first + i < Lines()->Count(); ++i) {
        RECT row { area.Left, y, area.Right, y + lineHeight };
        const std::string line = Lines()->Strings(first + i);
        DrawText(dc, line.data(), static_cast<int>(line.size()), &row, alignment | DT_NOPREFIX | DT_SINGLELINE);
        y += lineHeight;
    }
    canvas.SetHandle(nullptr);
}

void TspSkinCustomMemo::PointerOrFocusChanged()
{
    if (FIndex == -1)
        return;
    Font()->SetColor(StateFontColor());
    StateChanged();
}

TspEditMenuState TspSkinCustomMemo::EditMenuState()
{
    TspEditMenuState state;
    state.CanUndo = CanUndo();
    state.HasSelection = SelLength() > 0;
    state.ReadOnly = MemoReadOnly();
    state.ClipboardHasText = Clipboard()->HasFormat(CF_TEXT) && !Clipboard()->AsText().empty();
    state.AllSelected = SelText() == Text();
    return state;
}

std::string TspSkinCustomMemo::EditMenuCaption(std::string_view key, std::string_view fallback)
{
    return EditMenuCaptionFrom(FSkinData, key, fallback);
}

void TspSkinCustomMemo::DoUndo(TObject*) { Undo(); }
void TspSkinCustomMemo::DoCut(TObject*) { CutToClipboard(); }
void TspSkinCustomMemo::DoCopy(TObject*) { CopyToClipboard(); }
void TspSkinCustomMemo::DoPaste(TObject*) { PasteFromClipboard(); }
void TspSkinCustomMemo::DoDelete(TObject*) { ClearSelection(); }
void TspSkinCustomMemo::DoSelectAll(TObject*) { SelectAll(); }

void TspSkinCustomMemo::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        // No non-client area: neither the system's bars nor a border ever show.
        message.Result = 0;
        return;
    case WM_MOUSEWHEEL:
        // One line a message: up for a turn away from the user.
        SendMessage(Handle(), WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(message.WParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        message.Result = 1;
        return;
    case CM_ENABLEDCHANGED:
        SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
        inherited::WndProc(message);
        UpDateScrollRange();
        if (FIndex != -1)
            Font()->SetColor(StateFontColor());
        return;
    case WM_SIZE:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_SETTEXT:
        inherited::WndProc(message);
        UpDateScrollRange();
        return;
    case WM_LBUTTONDOWN:
        LeftButtonDown = true;
        inherited::WndProc(message);
        return;
    case WM_LBUTTONUP:
        inherited::WndProc(message);
        if (LeftButtonDown)
            UpDateScrollRange();
        LeftButtonDown = false;
        return;
    case WM_MOUSEMOVE:
        inherited::WndProc(message);
        if (LeftButtonDown)
            UpDateScrollRange();
        return;
    case WM_PAINT:
        if (Enabled()) {
            inherited::WndProc(message);
            return;
        } else {
            PAINTSTRUCT paint {};
            HDC dc = BeginPaint(Handle(), &paint);
            PaintDisabledText(dc);
            EndPaint(Handle(), &paint);
            message.Result = 0;
        }
        return;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        MouseIn = true;
        if (!Focused())
            PointerOrFocusChanged();
        if (OnMouseEnter)
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        MouseIn = false;
        if (!Focused())
            PointerOrFocusChanged();
        if (OnMouseLeave)
            OnMouseLeave(this);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (!MouseIn)
            PointerOrFocusChanged();
        return;
    default:
        if (!FMenu.HandleMessage(this, this, message))
            inherited::WndProc(message);
    }
}

// ---- TspSkinMemo -----------------------------------------------------------------------------------------------

TspSkinMemo::TspSkinMemo(TComponent* owner)
    : TspSkinCustomMemo(owner)
{
}

void TspSkinMemo::SetBitMapBG(bool value)
{
    FBitMapBG = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TspSkinMemo::SetAlphaBlend(bool value)
{
    if (FTransparent == value)
        return;
    FTransparent = value;
    Invalidate();
}

void TspSkinMemo::SetAlphaBlendValue(uint8_t value)
{
    if (FAlphaBlendValue == value)
        return;
    FAlphaBlendValue = value;
    if (FTransparent)
        Invalidate();
}

void TspSkinMemo::ChangeSkinData()
{
    GetSkinData();
    ApplySkinFont();
    if (const TspDataSkinMemoControl* record = Record())
        SetColor(record->BGColor);
    UpDateScrollRange();
    Font()->SetColor(StateFontColor());
    AdjustTextBorders();
    Invalidate();
}

void TspSkinMemo::StateChanged()
{
    const TspDataSkinMemoControl* record = Record();
    if (record && !FBitMapBG)
        SetColor(MouseIn || Focused() ? record->ActiveBGColor : record->BGColor);
    Invalidate();
}

void TspSkinMemo::AdjustTextBorders()
{
    if (!HandleAllocated() || BorderStyle() == ebsNone)
        return;
    GetSkinData();
    TRect r = ClientRect();
    const TspDataSkinMemoControl* record = Record();
    if (!record) {
        r = TRect(r.Left + (FBitMapBG ? 3 : 6), r.Top + 2, r.Right - 4, r.Bottom - 2);
    } else {
        const TRect& c = record->ClientRect;
        r = TRect(r.Left + c.Left + (FBitMapBG ? 1 : 3), r.Top + c.Top + (FBitMapBG ? 1 : 2),
            r.Right + c.Right - RectWidth(record->SkinRect) - 3, r.Bottom + c.Bottom - RectHeight(record->SkinRect) - 2);
    }
    r.Right = Max(r.Right, r.Left);
    r.Bottom = Max(r.Bottom, r.Top);
    // The window repaints for a new rectangle, and the background paint asks again: only a change is sent.
    RECT current {};
    SendMessage(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&current));
    FTextArea = r;
    if (FromRECT(current) == r)
        return;
    const RECT rect = ToRECT(r);
    SendMessage(Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rect));
}

void TspSkinMemo::SkinFramePaint(TCanvas* canvas)
{
    const TspDataSkinMemoControl* record = Record();
    if (!record) {
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(TRect(0, 0, Width(), Height()));
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FrameRect(TRect(1, 1, Width() - 1, Height() - 1));
        return;
    }
    TBitmap* picture = SkinPictureAt(SkinData(), record->PictureIndex);
    const TRect& source = (MouseIn || Focused()) && !IsNullRect(record->ActiveSkinRect) ? record->ActiveSkinRect
                                                                                        : record->SkinRect;
    const int dw = Width() - RectWidth(record->SkinRect);
    const int dh = Height() - RectHeight(record->SkinRect);
    const TPoint rt { record->RightTopPoint.X + dw, record->RightTopPoint.Y };
    const TPoint lb { record->LeftBottomPoint.X, record->LeftBottomPoint.Y + dh };
    const TPoint rb { record->RightBottomPoint.X + dw, record->RightBottomPoint.Y + dh };
    const TRect client { record->ClientRect.Left, record->ClientRect.Top, record->ClientRect.Right + dw,
        record->ClientRect.Bottom + dh };
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(record->LeftTopPoint, record->RightTopPoint, record->LeftBottomPoint,
        record->RightBottomPoint, record->ClientRect, record->LeftTopPoint, rt, lb, rb, client, &left, &top, &right,
        &bottom, picture, source, Width(), Height(), record->LeftStretch, record->TopStretch, record->RightStretch,
        record->BottomStretch);
    canvas->Draw(0, 0, &top);
    canvas->Draw(0, top.Height(), &left);
    canvas->Draw(Width() - right.Width(), top.Height(), &right);
    canvas->Draw(0, Height() - bottom.Height(), &bottom);
}

void TspSkinMemo::DrawMemoBackGround(HDC dc)
{
    const int width = ClientWidth();
    const int height = ClientHeight();
    if (width < 1 || height < 1)
        return;
    GetSkinData();
    const TspDataSkinMemoControl* record = Record();
    TBitmap image;
    image.SetSize(width, height);
    TCanvas* canvas = image.Canvas();
    std::unique_ptr<TBitmap> under;
    if (FTransparent && FBitMapBG) {
        under = std::make_unique<TBitmap>();
        under->SetSize(width, height);
        GetParentImage(this, under->Canvas());
    }
    if (!FBitMapBG) {
        TRect fill(2, 2, width - 2, height - 2);
        if (record) {
            const TRect& c = record->ClientRect;
            fill = TRect(c.Left, c.Top, width + c.Right - RectWidth(record->SkinRect),
                height + c.Bottom - RectHeight(record->SkinRect));
        }
        canvas->Brush()->SetColor(record ? Color() : clWindow);
        canvas->FillRect(TRect(0, 0, width, height));
        canvas->FillRect(fill);
        if (BorderStyle() != ebsNone)
            SkinFramePaint(canvas);
    } else if (under && FAlphaBlendValue == 255) {
        // Fully see-through: only what lies under the memo, and its frame.
        canvas->Draw(0, 0, under.get());
        SkinFramePaint(canvas);
    } else {
        if (!record) {
            canvas->Brush()->SetColor(clWindow);
            canvas->FillRect(TRect(0, 0, width, height));
        } else {
            const TRect& source = (MouseIn || Focused()) && !IsNullRect(record->ActiveSkinRect)
                ? record->ActiveSkinRect
                : record->SkinRect;
            const TRect client { record->ClientRect.Left, record->ClientRect.Top,
                record->ClientRect.Right + width - RectWidth(record->SkinRect),
                record->ClientRect.Bottom + height - RectHeight(record->SkinRect) };
            CreateSkinBG(record->ClientRect, client, &image, SkinPictureAt(SkinData(), record->PictureIndex), source,
                width, height, record->StretchEffect, record->StretchType);
            image.SetSize(width, height);
            canvas = image.Canvas();
        }
        SkinFramePaint(canvas);
        if (under) {
            TspEffectBmp effect(image.Handle());
            const TspEffectBmp below(under->Handle());
            effect.Morph(&below, 1.0 - FAlphaBlendValue / 255.0);
            effect.Draw(dc, 0, 0);
            AdjustTextBorders();
            return;
        }
    }
    BitBlt(dc, 0, 0, width, height, canvas->Handle(), 0, 0, SRCCOPY);
    AdjustTextBorders();
}

void TspSkinMemo::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CHAR:
        // Ctrl+C copies from a read-only memo; every other key changes nothing.
        if (FMemoReadOnly && message.WParam != 3) {
            DoKeyPress(message);
            return;
        }
        inherited::WndProc(message);
        Invalidate();
        return;
    case WM_KEYDOWN:
        if (FMemoReadOnly && message.WParam == VK_DELETE)
            return;
        inherited::WndProc(message);
        return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (FMemoReadOnly)
            return;
        inherited::WndProc(message);
        Invalidate();
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
        // The text is always drawn over the background the memo painted.
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
        message.Result = reinterpret_cast<intptr_t>(GetStockObject(NULL_BRUSH));
        return;
    }
    case WM_ERASEBKGND:
        message.Result = 1;
        if (FInPaint)
            return;
        DrawMemoBackGround(reinterpret_cast<HDC>(message.WParam));
        if (Enabled()) {
            TMessage text { WM_PAINT, message.WParam, 0, 0 };
            DefaultHandler(text);
        }
        return;
    case WM_PAINT: {
        PAINTSTRUCT paint {};
        FInPaint = true;
        HDC dc = BeginPaint(Handle(), &paint);
        DrawMemoBackGround(dc);
        if (Enabled()) {
            TMessage text { WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0, 0 };
            DefaultHandler(text);
        } else {
            PaintDisabledText(dc);
        }
        EndPaint(Handle(), &paint);
        FInPaint = false;
        message.Result = 0;
        return;
    }
    case WM_MOVE:
        inherited::WndProc(message);
        if (FTransparent && FIndex != -1)
            Invalidate();
        return;
    default:
        inherited::WndProc(message);
    }
}

// ---- TspSkinMemo2 ----------------------------------------------------------------------------------------------

void TspSkinMemo2::ChangeSkinData()
{
    GetSkinData();
    ApplySkinFont();
    if (const TspDataSkinMemoControl* record = Record())
        SetColor(record->BGColor);
    Font()->SetColor(StateFontColor());
    if (VScrollBar())
        VScrollBar()->SetAlign(VScrollBar()->Align());
    if (HScrollBar())
        HScrollBar()->SetAlign(HScrollBar()->Align());
    UpDateScrollRange();
    Invalidate();
}

void TspSkinMemo2::WndProc(TMessage& message)
{
    if (message.Msg == WM_SETFOCUS || message.Msg == WM_KILLFOCUS || message.Msg == CM_MOUSEENTER
        || message.Msg == CM_MOUSELEAVE) {
        inherited::WndProc(message);
        // The window colour follows the pointer and the focus, as the font colour does.
        if (const TspDataSkinMemoControl* record = Record())
            SetColor(MouseIn || Focused() ? record->ActiveBGColor : record->BGColor);
        return;
    }
    inherited::WndProc(message);
}
