#include "framework/controls/TScrollingWinControl.h"

#include "framework/controls/Messages.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>

// --- TControlScrollBar ---------------------------------------------------------------------------------

TControlScrollBar::TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind)
    : FControl(control)
    , FKind(kind)
{
}

int TControlScrollBar::Bar() const
{
    return FKind == sbHorizontal ? SB_HORZ : SB_VERT;
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    DWORD bit = FKind == sbHorizontal ? WS_HSCROLL : WS_VSCROLL;
    return FVisible && FControl->HandleAllocated() && (GetWindowLongPtr(FControl->Handle(), GWL_STYLE) & bit) != 0;
}

int TControlScrollBar::ControlSize(bool controlSB, bool assumeSB) const
{
    // Along this bar, the crossing bar's thickness counts as it stands, or as assumed.
    const DWORD style
        = FControl->HandleAllocated() ? static_cast<DWORD>(GetWindowLongPtr(FControl->Handle(), GWL_STYLE)) : 0;
    const int border = (style & (WS_BORDER | WS_THICKFRAME)) ? 1 : 0;
    auto adjustment = [&](DWORD crossingBit, int metric) {
        if (controlSB)
            return 0;
        const bool shown = (style & crossingBit) != 0;
        if (assumeSB && !shown)
            return -(GetSystemMetrics(metric) - border);
        if (!assumeSB && shown)
            return GetSystemMetrics(metric) - border;
        return 0;
    };
    if (FKind == sbVertical)
        return FControl->ClientHeight() + adjustment(WS_HSCROLL, SM_CYHSCROLL);
    return FControl->ClientWidth() + adjustment(WS_VSCROLL, SM_CXVSCROLL);
}

void TControlScrollBar::CalcAutoRange()
{
    if (!FControl->FAutoScroll)
        return;
    int range = 0;
    int alignMargin = 0;
    for (int i = 0; i < FControl->ControlCount(); ++i) {
        TControl* control = FControl->Controls(i);
        if (!control->Visible())
            continue;
        // Children fixed to the start side reach as far as their far edge; those aligned to the end side
        // add their size.
        if (FKind == sbHorizontal) {
            TAnchors sides = control->Anchors() * TAnchors { akLeft, akRight };
            if (control->Align() == alLeft || (control->Align() == alNone && sides == TAnchors { akLeft }))
                range = std::max(range, FPosition + control->Left() + control->Width());
            else if (control->Align() == alRight)
                alignMargin += control->Width();
        } else {
            TAnchors sides = control->Anchors() * TAnchors { akTop, akBottom };
            if (control->Align() == alTop || (control->Align() == alNone && sides == TAnchors { akTop }))
                range = std::max(range, FPosition + control->Top() + control->Height());
            else if (control->Align() == alBottom)
                alignMargin += control->Height();
        }
    }
    DoSetRange(range + alignMargin + FMargin);
}

void TControlScrollBar::DoSetRange(int value)
{
    FRange = std::max(0, value);
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetRange(int value)
{
    FControl->FAutoScroll = false;
    DoSetRange(value);
}

void TControlScrollBar::SetMargin(int value)
{
    FMargin = value;
    FControl->CalcAutoRange();
}

void TControlScrollBar::SetVisible(bool value)
{
    FVisible = value;
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int value)
{
    value = std::clamp(value, 0, FCalcRange);
    if (value != FPosition) {
        const int old = FPosition;
        FPosition = value;
        // The content moves the other way.
        if (FKind == sbHorizontal)
            FControl->ScrollBy(old - value, 0);
        else
            FControl->ScrollBy(0, old - value);
    }
    if (FControl->HandleAllocated() && GetScrollPos(FControl->Handle(), Bar()) != FPosition)
        SetScrollPos(FControl->Handle(), Bar(), FPosition, TRUE);
}

void TControlScrollBar::ScrollMessage(uint16_t code)
{
    // The position a dragged thumb stands for, in full (the message carries only 16 bits of it).
    auto thumb = [this] {
        SCROLLINFO info { sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0 };
        GetScrollInfo(FControl->Handle(), Bar(), &info);
        return info.nTrackPos;
    };
    switch (code) {
    case SB_LINEUP:
        SetPosition(FPosition - FIncrement);
        break;
    case SB_LINEDOWN:
        SetPosition(FPosition + FIncrement);
        break;
    case SB_PAGEUP:
        SetPosition(FPosition - ControlSize(true, false));
        break;
    case SB_PAGEDOWN:
        SetPosition(FPosition + ControlSize(true, false));
        break;
    case SB_THUMBPOSITION:
        SetPosition(thumb());
        break;
    case SB_THUMBTRACK:
        if (FTracking)
            SetPosition(thumb());
        break;
    case SB_TOP:
        SetPosition(0);
        break;
    case SB_BOTTOM:
        SetPosition(FCalcRange);
        break;
    }
}

void TControlScrollBar::Update(bool controlSB, bool assumeSB)
{
    FCalcRange = 0;
    const int size = ControlSize(controlSB, assumeSB);
    if (FVisible)
        FCalcRange = std::max(0, FRange - size);
    // A page of the client's size over the content's range; nothing to scroll hides the bar.
    SCROLLINFO info { sizeof info, SIF_ALL, 0, FCalcRange > 0 ? FRange : 0, static_cast<UINT>(size + 1), FPosition, 0 };
    SetScrollInfo(FControl->Handle(), Bar(), &info, TRUE);
    SetPosition(FPosition);
}

// --- TScrollingWinControl ------------------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner)
    , FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal))
    , FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical))
{
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool value)
{
    if (value == FAutoScroll)
        return;
    FAutoScroll = value;
    if (value) {
        CalcAutoRange();
    } else {
        FHorzScrollBar->DoSetRange(0);
        FVertScrollBar->DoSetRange(0);
    }
}

void TScrollingWinControl::DisableAutoRange()
{
    ++FAutoRangeCount;
}

void TScrollingWinControl::EnableAutoRange()
{
    if (FAutoRangeCount > 0 && --FAutoRangeCount == 0)
        CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange()
{
    if (FAutoRangeCount > 0)
        return;
    FHorzScrollBar->CalcAutoRange();
    FVertScrollBar->CalcAutoRange();
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (FUpdatingScrollBars || !HandleAllocated())
        return;
    FUpdatingScrollBars = true;
    // The bar that must show goes first, so that the other knows the room the first leaves it.
    if (FVertScrollBar->NeedsScrollBarVisible()) {
        FHorzScrollBar->Update(false, true);
        FVertScrollBar->Update(true, false);
    } else if (FHorzScrollBar->NeedsScrollBarVisible()) {
        FVertScrollBar->Update(false, true);
        FHorzScrollBar->Update(true, false);
    } else {
        FVertScrollBar->Update(false, false);
        FHorzScrollBar->Update(true, false);
    }
    FUpdatingScrollBars = false;
}

void TScrollingWinControl::AdjustClientRect(TRect& rect)
{
    // Aligned children are placed in the whole scrolled content, not just the part in view.
    rect = Bounds(-FHorzScrollBar->Position(), -FVertScrollBar->Position(),
        std::max(FHorzScrollBar->Range(), ClientWidth()), std::max(ClientHeight(), FVertScrollBar->Range()));
    inherited::AdjustClientRect(rect);
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect)
{
    CalcAutoRange();
    inherited::AlignControls(control, rect);
}

void TScrollingWinControl::CreateWnd()
{
    inherited::CreateWnd();
    UpdateScrollBars();
}

void TScrollingWinControl::ScrollInView(TControl* control)
{
    if (!control)
        return;
    // The whole control, its frame included, in this control's client coordinates.
    TWinControl* parent = control->Parent();
    if (!parent)
        return;
    const TPoint origin = ScreenToClient(parent->ClientToScreen(TPoint { control->Left(), control->Top() }));
    const int dx = FHorzScrollBar->Margin();
    const int dy = FVertScrollBar->Margin();
    TRect r = Rect(origin.X - dx, origin.Y - dy, origin.X + control->Width() + dx, origin.Y + control->Height() + dy);
    // Past an edge it scrolls just far enough; a control larger than the view shows its start.
    if (r.Left < 0) {
        FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.Left);
    } else if (r.Right > ClientWidth()) {
        if (r.Right - r.Left > ClientWidth())
            r.Right = r.Left + ClientWidth();
        FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.Right - ClientWidth());
    }
    if (r.Top < 0) {
        FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.Top);
    } else if (r.Bottom > ClientHeight()) {
        if (r.Bottom - r.Top > ClientHeight())
            r.Bottom = r.Top + ClientHeight();
        FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.Bottom - ClientHeight());
    }
}

void TScrollingWinControl::AutoScrollInView(TControl* control)
{
    if (control && !control->ComponentState().Contains(csLoading) && !ComponentState().Contains(csLoading))
        ScrollInView(control);
}

void TScrollingWinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL: {
        // The window's own bars; a scroll bar control's requests go to that control.
        TControlScrollBar* bar = message.Msg == WM_HSCROLL ? FHorzScrollBar.get() : FVertScrollBar.get();
        if (message.LParam == 0 && bar->Visible()) {
            bar->ScrollMessage(LOWORD(message.WParam));
            message.Result = 0;
            return;
        }
        break;
    }
    case WM_SIZE:
        inherited::WndProc(message);
        UpdateScrollBars();
        return;
    case CM_FOCUSCHANGED:
        // A control that takes the focus inside is brought into view.
        if (TControl* focused = MessageSender(message);
            focused && focused != this && FAutoScroll && ContainsControl(focused))
            AutoScrollInView(focused);
        break;
    }
    inherited::WndProc(message);
}

// --- TScrollBox ----------------------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner)
    : TScrollingWinControl(owner)
{
    FControlStyle = TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks };
    FWidth = 185;
    FHeight = 41;
}

void TScrollBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

void TScrollBox::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    if (HandleAllocated())
        RecreateWnd();
}
