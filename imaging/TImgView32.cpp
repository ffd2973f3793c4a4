#include "imaging/TImgView32.h"

#include "framework/controls/Forms.h"
#include "framework/controls/TScreen.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/Img32_system.h"
#include "imaging/TBitmap32.h"
#include "imaging/TRangeBar.h"
#include "platform/gdi/Edges.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

using namespace Img32_system;

namespace {

// The size box of the scroll-bar theme, its grip on the right.
constexpr int SBP_SIZEBOX = 10;
constexpr int SZB_RIGHTALIGN = 1;

} // namespace

// --- TIVScrollProperties ----------------------------------------------------------------------------------------

int TIVScrollProperties::Increment() const
{
    return static_cast<TCustomRangeBar*>(Master)->Increment();
}

void TIVScrollProperties::SetIncrement(int value)
{
    static_cast<TCustomRangeBar*>(Master)->SetIncrement(TRBIncrement(value));
    static_cast<TCustomRangeBar*>(Slave)->SetIncrement(TRBIncrement(value));
}

int TIVScrollProperties::Size() const
{
    return ImgView->FScrollBarSize;
}

void TIVScrollProperties::SetSize(int value)
{
    ImgView->FScrollBarSize = value;
    ImgView->AlignAll();
}

// --- TCustomImgView32 -------------------------------------------------------------------------------------------

TCustomImgView32::TCustomImgView32(TComponent* owner)
    : inherited(owner)
{
    auto makeBar = [this](TScrollBarKind kind) {
        auto* bar = new TCustomRangeBar(this);
        bar->SetParent(this);
        bar->SetBorderStyle(bsNone);
        bar->SetCentered(true);
        bar->SetKind(kind);
        bar->OnUserChange = [this](TObject* sender) { ScrollHandler(sender); };
        return bar;
    };
    FHScroll = makeBar(sbHorizontal);
    FVScroll = makeBar(sbVertical);
    FCentered = true;
    SetScaleMode(smScale);
    SetBitmapAlign(baCustom);
    FScrollBars = std::make_unique<TIVScrollProperties>();
    FScrollBars->Master = FHScroll;
    FScrollBars->Slave = FVScroll;
    FScrollBars->ImgView = this;
    AlignAll();
}

TCustomImgView32::~TCustomImgView32()
{
    FScrollBars.reset();
    // The bars go with the owned components; none of their events may reach the view meanwhile.
    FHScroll->OnUserChange = nullptr;
    FVScroll->OnUserChange = nullptr;
}

int TCustomImgView32::GetScrollBarSize() const
{
    return FScrollBarSize != 0 ? FScrollBarSize : GetSystemMetrics(SM_CYHSCROLL);
}

TRect TCustomImgView32::GetViewportRect()
{
    const int s = GetScrollBarSize();
    return TRect { 0, 0, Width() - s, Height() - s };
}

TRect TCustomImgView32::GetSizeGripRect()
{
    const int s = GetScrollBarSize();
    const TRect client = ClientRect();
    return TRect { client.Right - s, client.Bottom - s, client.Right, client.Bottom };
}

bool TCustomImgView32::IsSizeGripVisible()
{
    switch (FSizeGrip) {
    case sgNone:
        return false;
    case sgAlways:
        return true;
    default:
        break;
    }
    if (Align() != alClient)
        return false;
    for (TWinControl* p = Parent(); p; p = p->Parent()) {
        if (dynamic_cast<TCustomForm*>(p))
            return true;
        if (p->Align() != alClient)
            return false;
    }
    return false;
}

void TCustomImgView32::AlignAll()
{
    if (!FHScroll || !FVScroll)
        return;
    const TRect v = GetViewportRect();
    FHScroll->SetBoundsRect(TRect { v.Left, v.Bottom, v.Right, Height() });
    FVScroll->SetBoundsRect(TRect { v.Right, v.Top, Width(), v.Bottom });
    FHScroll->Repaint();
    FVScroll->Repaint();
}

void TCustomImgView32::UpdateScrollBars()
{
    if (!FHScroll || !FVScroll)
        return;
    const TSize size = GetBitmapSize();
    FHScroll->SetRange(size.cx);
    FVScroll->SetRange(size.cy);
}

void TCustomImgView32::UpdateImage()
{
    const TSize size = GetBitmapSize();
    const TRect v = GetViewportRect();
    const int w = v.Right - v.Left;
    const int h = v.Bottom - v.Top;
    BeginUpdate();
    try {
        if (FCentered && w > size.cx)
            SetOffsetHorz(float((w - size.cx) / 2.0));
        else
            SetOffsetHorz(-FHScroll->Position());
        if (FCentered && h > size.cy)
            SetOffsetVert(float((h - size.cy) / 2.0));
        else
            SetOffsetVert(-FVScroll->Position());
        InvalidateCache();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    Changed();
}

void TCustomImgView32::Scroll(int dx, int dy)
{
    FScrollLock = true;
    FHScroll->SetPosition(FHScroll->Position() + dx);
    FVScroll->SetPosition(FVScroll->Position() + dy);
    FScrollLock = false;
    UpdateImage();
}

void TCustomImgView32::ScrollToCenter(int x, int y)
{
    FScrollLock = true;
    AlignAll();
    const TRect v = GetViewportRect();
    FHScroll->SetPosition(float(x * double(Scale()) - (v.Right - v.Left) / 2.0));
    FVScroll->SetPosition(float(y * double(Scale()) - (v.Bottom - v.Top) / 2.0));
    FScrollLock = false;
    UpdateImage();
}

void TCustomImgView32::SetCentered(bool value)
{
    InvalidateCache();
    FCentered = value;
    FHScroll->SetCentered(value);
    FVScroll->SetCentered(value);
    UpdateScrollBars();
    UpdateImage();
    if (value)
        ScrollToCenter(Bitmap()->Width() / 2, Bitmap()->Height() / 2);
    else
        ScrollToCenter(0, 0);
}

void TCustomImgView32::SetScrollBars(TIVScrollProperties* value)
{
    FScrollBars->Assign(value);
}

void TCustomImgView32::SetSizeGrip(TSizeGripStyle value)
{
    if (value == FSizeGrip)
        return;
    FSizeGrip = value;
    Invalidate();
}

void TCustomImgView32::DoScroll()
{
    if (OnScroll)
        OnScroll(this);
}

void TCustomImgView32::ScrollHandler(TObject* sender)
{
    if (FScrollLock)
        return;
    if (auto* bar = dynamic_cast<TControl*>(sender))
        bar->Repaint();
    UpdateImage();
    DoScroll();
    Repaint();
}

void TCustomImgView32::DoDrawSizeGrip(TRect r)
{
    TCanvas* canvas = Canvas();
    RECT rect { r.Left, r.Top, r.Right, r.Bottom };
    if (USE_THEMES) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(r);
        if (DrawThemeBackground)
            DrawThemeBackground(SCROLLBAR_THEME, canvas->Handle(), SBP_SIZEBOX, SZB_RIGHTALIGN, &rect, nullptr);
    } else {
        DrawFrameControl(canvas->Handle(), &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}

void TCustomImgView32::PaintSizeGrip()
{
    const TRect r = GetSizeGripRect();
    if (IsSizeGripVisible()) {
        DoDrawSizeGrip(r);
    } else {
        Canvas()->Brush()->SetColor(clBtnFace);
        Canvas()->FillRect(r);
    }
}

void TCustomImgView32::BitmapResized()
{
    inherited::BitmapResized();
    UpdateScrollBars();
    if (FCentered) {
        ScrollToCenter(Bitmap()->Width() / 2, Bitmap()->Height() / 2);
    } else {
        FHScroll->SetPosition(0);
        FVScroll->SetPosition(0);
        UpdateImage();
    }
}

void TCustomImgView32::DoScaleChange()
{
    inherited::DoScaleChange();
    InvalidateCache();
    UpdateScrollBars();
    UpdateImage();
    Invalidate();
}

void TCustomImgView32::Resize()
{
    AlignAll();
    if (HandleAllocated())
        PaintSizeGrip();
    InvalidateCache();
    UpdateScrollBars();
    UpdateImage();
    Invalidate();
    inherited::Resize();
}

void TCustomImgView32::Loaded()
{
    AlignAll();
    Invalidate();
    UpdateScrollBars();
    if (FCentered)
        ScrollToCenter(Bitmap()->Width() / 2, Bitmap()->Height() / 2);
    inherited::Loaded();
}

void TCustomImgView32::Paint()
{
    PaintSizeGrip();
    inherited::Paint();
}

void TCustomImgView32::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    const TRect grip = GetSizeGripRect();
    if (IsSizeGripVisible() && form && x >= grip.Left && x < grip.Right && y >= grip.Top && y < grip.Bottom) {
        // The system sizes the form from its bottom-right corner, as if the press were on the form's own grip.
        Application->ProcessMessages();
        ReleaseCapture();
        POINT p {};
        GetCursorPos(&p);
        SendMessage(form->Handle(), WM_NCLBUTTONDOWN, WPARAM(HTBOTTOMRIGHT),
            LPARAM((p.x & 0xFFFF) | ((p.y & 0xFFFF) << 16)));
        return;
    }
    inherited::MouseDown(button, shift, x, y);
}

void TCustomImgView32::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (!IsSizeGripVisible())
        return;
    const TRect grip = GetSizeGripRect();
    if (x >= grip.Left && x < grip.Right && y >= grip.Top && y < grip.Bottom)
        Screen->SetCursor(crSizeNWSE);
}
