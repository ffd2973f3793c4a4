#include "skin/controls/SkinScrollArrows.h"

#include "framework/controls/Messages.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/win/Timers.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"

#include <algorithm>

using namespace SPUtils;

TspScrollArrows::TspScrollArrows(TWinControl* control, THost* host)
    : FControl(control)
    , FHost(host)
{
}

void TspScrollArrows::SetShown(bool value)
{
    if (FShown == value)
        return;
    FShown = value;
    if (FControl->HandleAllocated())
        SetWindowPos(FControl->Handle(), nullptr, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TspScrollArrows::Reset()
{
    Position = Range = Page = OldPosition = Growth = 0;
    SetShown(false);
}

int TspScrollArrows::ClientExtent() const
{
    return Vertical ? FControl->ClientHeight() : FControl->ClientWidth();
}

int TspScrollArrows::ChildrenExtent() const
{
    int extent = 0;
    for (int i = 0; i < FControl->ControlCount(); ++i) {
        const TControl* child = FControl->Controls(i);
        if (child->Visible())
            extent = std::max(extent, Vertical ? child->Top() + child->Height() : child->Left() + child->Width());
    }
    return extent;
}

void TspScrollArrows::UpdateRange()
{
    const int e = ChildrenExtent();
    if (e == 0) {
        SetShown(false);
        return;
    }
    const int c = ClientExtent();
    int p = Position;
    if (c < e + p) {
        SetShown(true);
        const int r = p + e - 1;
        // Measured again: showing the buttons narrowed the client area.
        const int client = ClientExtent();
        if (p > 0 && e < client && Growth > 0) {
            // A larger container pulls the children back by what it grew, never past the start.
            const int g = std::min(Growth, p);
            Range = r;
            p -= g;
            Page = client;
            FHost->ScrollChildren(g);
        } else if (Growth == 0 && r < Range && p > 0 && e < client) {
            // The children shrank and now end inside the client area: their end goes to its edge.
            Range = r;
            p = p + e - client;
            Page = client;
            FHost->ScrollChildren(client - e);
        } else {
            Range = r;
            Page = client;
        }
        Position = p;
        Growth = 0;
        OldPosition = p;
        return;
    }
    // Everything fits: scrolled children come back.
    if (p > 0)
        FHost->ScrollChildren(p);
    Reset();
}

void TspScrollArrows::RecordGrowth(int oldWidth, int oldHeight)
{
    const int oldSize = Vertical ? oldHeight : oldWidth;
    const int newSize = Vertical ? FControl->Height() : FControl->Width();
    Growth = oldSize > 0 && newSize > oldSize ? newSize - oldSize : 0;
}

void TspScrollArrows::ButtonClick(int button)
{
    // NOTE: a vertical container steps by its client width as well, as it always has.
    const int step = ScrollOffset != 0 ? ScrollOffset : FControl->ClientWidth();
    if (button == 0)
        Position = std::max(Position - step, 0);
    else
        Position = std::min(Position + step, Range - Page + 1);
    if (Position != OldPosition) {
        const int delta = OldPosition - Position;
        OldPosition = Position;
        FHost->ScrollChildren(delta);
    } else {
        StopTimer();
    }
}

void TspScrollArrows::StartTimer(int mode)
{
    FTimerMode = mode;
    if (!FControl->HandleAllocated())
        return;
    KillTimer(FControl->Handle(), TimerId);
    SetTimer(FControl->Handle(), TimerId, UINT(TimerInterval), nullptr);
}

void TspScrollArrows::StopTimer()
{
    if (FControl->HandleAllocated())
        KillTimer(FControl->Handle(), TimerId);
    FTimerMode = 0;
}

// ---- Messages ----------------------------------------------------------------------------------------------------

bool TspScrollArrows::FrameMessage(TMessage& message, bool designing)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        CalcSize(message);
        return true;
    case WM_NCHITTEST:
        if (designing)
            return false;
        message.Result = HitTest(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        return message.Result != 0;
    case WM_SETCURSOR:
        if (LOWORD(message.LParam) == HitBack || LOWORD(message.LParam) == HitForward)
            message.LParam = MAKELPARAM(HTCLIENT, HIWORD(message.LParam));
        return false;
    default:
        return false;
    }
}

void TspScrollArrows::CalcSize(TMessage& message)
{
    if (!FShown || !message.LParam)
        return;
    RECT* r = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                             : reinterpret_cast<RECT*>(message.LParam);
    if (Vertical) {
        r->top += ButtonSize;
        r->bottom = std::max(r->top, LONG(r->bottom - ButtonSize));
    } else {
        r->left += ButtonSize;
        r->right = std::max(r->left, LONG(r->right - ButtonSize));
    }
}

void TspScrollArrows::UpdateButtonRects()
{
    const int w = FControl->Width();
    const int h = FControl->Height();
    if (Vertical) {
        FButtons[0].Rect = Rect(0, 0, w, ButtonSize);
        FButtons[1].Rect = Rect(0, h - ButtonSize, w, h);
    } else {
        FButtons[0].Rect = Rect(0, 0, ButtonSize, h);
        FButtons[1].Rect = Rect(w - ButtonSize, 0, w, h);
    }
}

LRESULT TspScrollArrows::HitTest(int screenX, int screenY) const
{
    if (!FShown || !FControl->HandleAllocated())
        return 0;
    const TPoint p = FControl->ScreenToClient(TPoint { screenX, screenY });
    const int along = Vertical ? p.Y : p.X;
    if (along < 0)
        return HitBack;
    if (along >= ClientExtent())
        return HitForward;
    return 0;
}

bool TspScrollArrows::MouseMessage(TMessage& message)
{
    const int hit = message.WParam == WPARAM(HitBack) ? 0 : message.WParam == WPARAM(HitForward) ? 1 : -1;
    switch (message.Msg) {
    case WM_NCMOUSEMOVE:
        if (hit < 0 || FButtons[hit].MouseIn)
            return hit >= 0;
        FButtons[hit].MouseIn = true;
        FButtons[1 - hit].MouseIn = false;
        RepaintButtons();
        if (HotScroll)
            StartTimer(hit + 1);
        return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (hit < 0)
            return false;
        FButtons[hit].Down = true;
        RepaintButtons();
        StartTimer(hit + 1);
        return true;
    case WM_NCLBUTTONUP:
        if (hit < 0)
            return false;
        FButtons[hit].Down = false;
        RepaintButtons();
        StopTimer();
        ButtonClick(hit);
        return true;
    case WM_MOUSEMOVE:
    case CM_MOUSELEAVE: {
        if (message.Msg == CM_MOUSELEAVE && FControl->HandleAllocated()) {
            POINT cursor {};
            GetCursorPos(&cursor);
            if (WindowFromPoint(cursor) == FControl->Handle())
                return false;
        }
        bool changed = false;
        for (TButton& button : FButtons) {
            changed = changed || (button.MouseIn && FShown);
            button.MouseIn = false;
        }
        if (changed) {
            StopTimer();
            RepaintButtons();
        }
        return false;
    }
    case WM_TIMER:
        if (message.WParam != TimerId)
            return false;
        if (FTimerMode != 0)
            ButtonClick(FTimerMode - 1);
        return true;
    default:
        return false;
    }
}

// ---- Painting ----------------------------------------------------------------------------------------------------

void TspScrollArrows::RepaintButtons()
{
    if (!FShown || !FControl->HandleAllocated())
        return;
    const HDC dc = GetWindowDC(FControl->Handle());
    PaintButtons(dc);
    ReleaseDC(FControl->Handle(), dc);
}

void TspScrollArrows::PaintButtons(HDC dc)
{
    if (!FShown || !dc)
        return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    DrawButton(&canvas, 0);
    DrawButton(&canvas, 1);
    canvas.SetHandle(nullptr);
}

void TspScrollArrows::DrawButton(TCanvas* canvas, int button)
{
    const TButton& b = FButtons[button];
    const TRect& r = b.Rect;
    const int w = r.Right - r.Left;
    const int h = r.Bottom - r.Top;
    if (w <= 0 || h <= 0)
        return;
    const bool pressedLook = b.MouseIn && (b.Down || HotScroll);
    TColor arrowColor = clBtnText;
    auto* record = Skin && !Skin->Empty ? SkinRecordAt<TspDataSkinButtonControl>(Skin, ButtonSkinIndex) : nullptr;
    TBitmap* picture = record ? LoadedSkinPictureAt(Skin, record->PictureIndex) : nullptr;
    // A record that names no picture paints the default look.
    if (record && picture) {
        TRect source = record->SkinRect;
        arrowColor = record->FontColor;
        if (pressedLook && !IsNullRect(record->DownSkinRect)) {
            source = record->DownSkinRect;
            arrowColor = record->DownFontColor;
        } else if (b.MouseIn && !IsNullRect(record->ActiveSkinRect)) {
            source = record->ActiveSkinRect;
            arrowColor = record->ActiveFontColor;
        }
        const int dw = w - RectWidth(record->SkinRect);
        const int dh = h - RectHeight(record->SkinRect);
        TRect client = record->ClientRect;
        client.Right += dw;
        client.Bottom += dh;
        TBitmap image;
        CreateSkinImage(record->LeftTopPoint, record->RightTopPoint, record->LeftBottomPoint, record->RightBottomPoint,
            record->ClientRect, record->LeftTopPoint, TPoint { record->RightTopPoint.X + dw, record->RightTopPoint.Y },
            TPoint { record->LeftBottomPoint.X, record->LeftBottomPoint.Y + dh },
            TPoint { record->RightBottomPoint.X + dw, record->RightBottomPoint.Y + dh }, client, &image, picture,
            source, w, h, true, record->LeftStretch, record->TopStretch, record->RightStretch, record->BottomStretch,
            record->StretchEffect, record->StretchType);
        canvas->Draw(r.Left, r.Top, &image);
    } else {
        const TColor frame = b.MouseIn ? clNavy : clBtnShadow;
        const TColor fill = pressedLook ? static_cast<TColor>(RGB(133, 147, 181))
            : b.MouseIn              ? static_cast<TColor>(RGB(182, 189, 210))
                                     : clBtnFace;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(fill);
        canvas->FillRect(r);
        canvas->Brush()->SetColor(frame);
        canvas->FrameRect(r);
    }
    const int kind = Vertical ? (button == 0 ? 3 : 4) : (button == 0 ? 1 : 2);
    DrawArrowImage(canvas, r, arrowColor, kind);
}
