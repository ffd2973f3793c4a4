#include "skin/controls/SkinStatusBar.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

// ---- TspSkinPaintPanel -------------------------------------------------------------------------------------------

TspSkinPaintPanel::TspSkinPaintPanel(TComponent* owner)
    : inherited(owner)
{
    PaintBorderStrips = false;
}

void TspSkinPaintPanel::PanelPaint(TCanvas* canvas)
{
    if (OnPanelPaint)
        OnPanelPaint(canvas, GetSkinClientRect());
}

void TspSkinPaintPanel::PaintTransparent(TCanvas* canvas)
{
    inherited::PaintTransparent(canvas);
    PanelPaint(canvas);
}

void TspSkinPaintPanel::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    PanelPaint(bitmap->Canvas());
}

void TspSkinPaintPanel::CreateControlSkinImage(TBitmap* bitmap)
{
    inherited::CreateControlSkinImage(bitmap);
    PanelPaint(bitmap->Canvas());
}

void TspSkinPaintPanel::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        PaintOnErase(message);
        return;
    }
    inherited::WndProc(message);
}

// ---- TspSkinStatusBar --------------------------------------------------------------------------------------------

TspSkinStatusBar::TspSkinStatusBar(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("statusbar");
    SetAlign(alBottom);
    SetHeight(21);
    SetBorderStyle(TspSkinBorderStyle::bvNone);
    PaintBorderStrips = false;
}

void TspSkinStatusBar::SetSizeGrip(bool value)
{
    FSizeGrip = value;
    Repaint();
    Realign();
}

void TspSkinStatusBar::SetShowGrip(bool value)
{
    FShowGrip = value;
    Repaint();
    Realign();
}

void TspSkinStatusBar::SetSkinData(TspSkinData* value)
{
    inherited::SetSkinData(value);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* child = dynamic_cast<TspSkinControl*>(Controls(i)))
            child->SetSkinData(value);
}

void TspSkinStatusBar::AdjustClientRect(TRect& rect)
{
    inherited::AdjustClientRect(rect);
    if (!GripActive())
        return;
    rect.Right -= SkinGripper() ? RectWidth(GripperRect) : RectHeight(rect);
}

TRect TspSkinStatusBar::GetGripRect()
{
    const TRect c = GetSkinClientRect();
    if (SkinGripper())
        return Rect(c.Right, c.Bottom - RectHeight(GripperRect), c.Right + RectWidth(GripperRect), c.Bottom);
    return Rect(c.Right + 2, c.Top, c.Right + RectHeight(c), c.Bottom - 2);
}

void TspSkinStatusBar::DrawDefaultGripper(TCanvas* canvas, const TRect& rect, TColor highlight, TColor shadow)
{
    int a = 3;
    const int passes = RectWidth(rect) / 3 + 1;
    for (int i = 0; i < passes && rect.Left + a + 2 <= rect.Right; ++i) {
        canvas->Pen()->SetColor(shadow);
        canvas->MoveTo(rect.Left + a, rect.Bottom);
        canvas->LineTo(rect.Right, rect.Top + a);
        canvas->Pen()->SetColor(highlight);
        canvas->MoveTo(rect.Left + a + 1, rect.Bottom);
        canvas->LineTo(rect.Right, rect.Top + a + 1);
        a += 3;
    }
}

void TspSkinStatusBar::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    if (GripActive())
        DrawDefaultGripper(bitmap->Canvas(), GetGripRect(), clBtnHighlight, clBtnShadow);
}

void TspSkinStatusBar::CreateControlSkinImage(TBitmap* bitmap)
{
    inherited::CreateControlSkinImage(bitmap);
    if (!GripActive())
        return;
    const TRect grip = GetGripRect();
    if (!SkinGripper()) {
        const TspSkinColors* colors = SkinData()->Colors.get();
        DrawDefaultGripper(bitmap->Canvas(), grip, colors->cBtnHighLight, colors->cBtnShadow);
        return;
    }
    SkinControlSupport::DrawPiece(
        bitmap->Canvas(), grip.Left, grip.Top, SkinPicture, GripperRect, GripperTransparent, GripperTransparentColor);
}

void TspSkinStatusBar::WndProc(TMessage& message)
{
    if (message.Msg != WM_NCHITTEST || Designing() || !GripActive()) {
        inherited::WndProc(message);
        return;
    }
    const TPoint p = ScreenToClient(TPoint { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) });
    message.Result = PointInRect(GetGripRect(), p) ? HTBOTTOMRIGHT : HTCLIENT;
}
