#include "framed/FrPanel.h"

#include "framework/controls/TCustomForm.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"

TFrCustomPanel::TFrCustomPanel(TComponent* owner)
    : TCustomPanel(owner)
    , FEnabledStates(std::make_unique<TStringList>())
{
    // A new panel starts without a caption, and the rings take the place of the framework's bevels.
    FControlStyle.Exclude(csSetCaption);
    SetBevelOuter(bvNone);
}

TFrCustomPanel::~TFrCustomPanel()
{
    if (FFrameController)
        FFrameController->RemoveControl(this);
}

#define FR_PANEL_SETTER(Name, Type, Then)                                                                           \
    void TFrCustomPanel::Set##Name(Type value)                                                                      \
    {                                                                                                                \
        if (value == F##Name)                                                                                        \
            return;                                                                                                  \
        F##Name = value;                                                                                             \
        Then;                                                                                                        \
    }

FR_PANEL_SETTER(AlignmentVertical, TAlignmentVertical, Invalidate())
FR_PANEL_SETTER(BorderColor, TColor, Invalidate())
FR_PANEL_SETTER(BorderInner, TFrameStyle, BordersChanged())
FR_PANEL_SETTER(BorderOuter, TFrameStyle, BordersChanged())
FR_PANEL_SETTER(BorderSides, TSides, BordersChanged())
FR_PANEL_SETTER(BorderHighlight, TColor, Invalidate())
FR_PANEL_SETTER(BorderShadow, TColor, Invalidate())
FR_PANEL_SETTER(FlatColor, TColor, Invalidate())
FR_PANEL_SETTER(FlatColorAdjustment, int, Invalidate())
FR_PANEL_SETTER(GridColor, TColor, Invalidate())
FR_PANEL_SETTER(GridStyle, TFrGridStyle, Invalidate())
FR_PANEL_SETTER(GridXSize, uint16_t, Invalidate())
FR_PANEL_SETTER(GridYSize, uint16_t, Invalidate())
FR_PANEL_SETTER(ShowGrid, bool, Invalidate())
FR_PANEL_SETTER(ShowDockClientCaptions, bool, Invalidate())
#undef FR_PANEL_SETTER

void TFrCustomPanel::BordersChanged()
{
    Realign();
    Invalidate();
}

void TFrCustomPanel::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TFrCustomPanel::SetFrameController(TFrFrameController* value)
{
    if (value == FFrameController)
        return;
    if (FFrameController) {
        FFrameController->RemoveControl(this);
        FFrameController->RemoveFreeNotification(this);
    }
    FFrameController = value;
    if (FFrameController) {
        FFrameController->AddControl(this);
        FFrameController->FreeNotification(this);
    }
}

void TFrCustomPanel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FFrameController)
        FFrameController = nullptr;
}

void TFrCustomPanel::ApplyFrameController()
{
    if (!FFrameController || !FFrameController->FrameVisible())
        return;
    FBorderOuter = FFrameController->FrameStyle();
    FBorderSides = FFrameController->FrameSides();
    FFlatColor = FFrameController->FrameColor();
    FFlatColorAdjustment = 0;
    SetColor(FFrameController->Color());
    SetParentColor(FFrameController->ParentColor());
    FBorderHighlight = LightenColor(Color(), 100);
    FBorderShadow = DarkenColor(Color(), 50);
    Realign();
    Invalidate();
}

bool TFrCustomPanel::ReadStoredProperty(std::string_view name, std::string_view)
{
    return name == "FrameSides";
}

TPoint TFrCustomPanel::CursorPosition()
{
    POINT p {};
    GetCursorPos(&p);
    return ScreenToClient(TPoint { p.x, p.y });
}

int TFrCustomPanel::RingThickness(TFrameStyle style) const
{
    switch (style) {
    case fsNone:
        return 0;
    case fsFlat:
        return 1;
    case fsStatus:
    case fsPopup:
        return BevelWidth();
    default:
        return 2;
    }
}

void TFrCustomPanel::ShrinkByBorders(TRect& rect, bool withBand) const
{
    if (withBand) {
        rect.Left += BorderWidth();
        rect.Top += BorderWidth();
        rect.Right -= BorderWidth();
        rect.Bottom -= BorderWidth();
    }
    const int rings = RingThickness(FBorderOuter) + RingThickness(FBorderInner);
    if (FBorderSides.Contains(sdLeft))
        rect.Left += rings;
    if (FBorderSides.Contains(sdTop))
        rect.Top += rings;
    if (FBorderSides.Contains(sdRight))
        rect.Right -= rings;
    if (FBorderSides.Contains(sdBottom))
        rect.Bottom -= rings;
}

TRect TFrCustomPanel::BorderRect() const
{
    return Rect(0, 0, Width(), Height());
}

void TFrCustomPanel::AlignControls(TControl* control, TRect& rect)
{
    // The rings here; the band through the framework's client adjustment.
    ShrinkByBorders(rect, false);
    inherited::AlignControls(control, rect);
}

void TFrCustomPanel::SetBounds(int left, int top, int width, int height)
{
    if (Align() == alBottom && height != Height())
        top = Top() + Height() - height;
    if (Align() == alRight && width != Width())
        left = Left() + Width() - width;
    inherited::SetBounds(left, top, width, height);
}

TRect TFrCustomPanel::PaintRing(TCanvas* canvas, TRect rect, TFrameStyle style)
{
    switch (style) {
    case fsFlat:
    case fsFlatBold: {
        const TColor flat = ShiftColorLightness(FFlatColor, FFlatColorAdjustment);
        return PaintBevelRings(canvas, rect, flat, flat, style == fsFlat ? 1 : 2, FBorderSides);
    }
    case fsStatus:
        return PaintBevelRings(canvas, rect, FBorderShadow, FBorderHighlight, BevelWidth(), FBorderSides);
    case fsPopup:
        return PaintBevelRings(canvas, rect, FBorderHighlight, FBorderShadow, BevelWidth(), FBorderSides);
    default:
        return PaintStyledBorderSides(canvas, rect, style, FBorderSides);
    }
}

void TFrCustomPanel::Paint()
{
    TCanvas* canvas = Canvas();
    TRect rect = BorderRect();
    rect = PaintRing(canvas, rect, FBorderOuter);
    if (BorderWidth() != 0)
        rect = PaintBevelRings(canvas, rect, FBorderColor, FBorderColor, BorderWidth(), FBorderSides);
    rect = PaintRing(canvas, rect, FBorderInner);
    if (!FTransparent) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(rect);
    }
    if (FShowGrid)
        PaintGrid(rect);
    PaintCaption(rect);
    if (OnPaint)
        OnPaint(this);
}

void TFrCustomPanel::PaintCaption(TRect rect)
{
    const std::string& text = Caption();
    if (text.empty())
        return;
    static const UINT alignments[] = { DT_LEFT, DT_RIGHT, DT_CENTER };
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    const UINT flags = alignments[Alignment()] | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER;
    RECT r = ToRECT(rect);
    OffsetRect(&r, 1, 0);
    RECT measured = r;
    const int h = DrawText(canvas->Handle(), text.c_str(), int(text.size()), &measured, flags | DT_CALCRECT) > 0
        ? measured.bottom - measured.top
        : 0;
    if (FAlignmentVertical == avCenter) {
        r.top = (r.top + r.bottom - h) / 2;
        r.bottom = r.top + h;
    } else if (FAlignmentVertical == avBottom) {
        r.top = r.bottom - h - 1;
    }
    if (Enabled()) {
        DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
    } else {
        OffsetRect(&r, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
        OffsetRect(&r, -1, -1);
        canvas->Font()->SetColor(clBtnShadow);
        DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
    }
    canvas->Brush()->SetStyle(bsSolid);
}

void TFrCustomPanel::PaintGrid(TRect r)
{
    TCanvas* canvas = Canvas();
    const int columns = FGridXSize ? (r.Right - r.Left) / FGridXSize : 0;
    const int rows = FGridYSize ? (r.Bottom - r.Top) / FGridYSize : 0;
    if (FGridStyle == gsDots) {
        for (int i = 1; i <= columns; ++i)
            for (int j = 1; j <= rows; ++j)
                canvas->SetPixels(r.Left + i * FGridXSize - 1, r.Top + j * FGridYSize - 1, FGridColor);
        return;
    }
    if (FGridStyle == gsSolidLines) {
        canvas->Pen()->SetColor(FGridColor);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetWidth(1);
        for (int i = 1; i <= columns; ++i) {
            canvas->MoveTo(r.Left + i * FGridXSize - 1, r.Top);
            canvas->LineTo(r.Left + i * FGridXSize - 1, r.Bottom);
        }
        for (int j = 1; j <= rows; ++j) {
            canvas->MoveTo(r.Left, r.Top + j * FGridYSize - 1);
            canvas->LineTo(r.Right, r.Top + j * FGridYSize - 1);
        }
        return;
    }
    // Dotted: every second pixel, starting one after the line's start.
    for (int i = 1; i <= columns; ++i)
        for (int y = r.Top + 1; y < r.Bottom; y += 2)
            canvas->SetPixels(r.Left + i * FGridXSize - 1, y, FGridColor);
    for (int j = 1; j <= rows; ++j)
        for (int x = r.Left + 1; x < r.Right; x += 2)
            canvas->SetPixels(x, r.Top + j * FGridYSize - 1, FGridColor);
}

void TFrCustomPanel::InvalidateForResize(int width, int height)
{
    if (!HandleAllocated())
        return;
    if (FullRepaint() || !Caption().empty()) {
        Invalidate();
        return;
    }
    // Only the strips the right and bottom rings move over.
    TRect inner = Rect(0, 0, Width(), Height());
    ShrinkByBorders(inner, true);
    if (width != Width()) {
        const RECT strip { inner.Right - 1, 0, Width(), Height() };
        InvalidateRect(Handle(), &strip, TRUE);
    }
    if (height != Height()) {
        const RECT strip { 0, inner.Bottom - 1, Width(), Height() };
        InvalidateRect(Handle(), &strip, TRUE);
    }
}

void TFrCustomPanel::EnabledChanged()
{
    if (!Enabled()) {
        FEnabledStates->Clear();
        for (int i = 0; i < ControlCount(); ++i)
            FEnabledStates->AddObject(Controls(i)->Enabled() ? "1" : "0", Controls(i));
        for (int i = 0; i < ControlCount(); ++i)
            Controls(i)->SetEnabled(false);
        return;
    }
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        bool wasDisabled = false;
        for (int k = 0; k < FEnabledStates->Count(); ++k)
            if (FEnabledStates->Objects(k) == child)
                wasDisabled = FEnabledStates->Strings(k) == "0";
        if (!wasDisabled)
            child->SetEnabled(true);
    }
}

void TFrCustomPanel::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TFrCustomPanel::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TFrCustomPanel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
        if (pos && !(pos->flags & SWP_NOSIZE))
            InvalidateForResize(pos->cx, pos->cy);
        inherited::WndProc(message);
        return;
    }
    case WM_ERASEBKGND:
        if (FTransparent) {
            PaintParentBackground(this, reinterpret_cast<HDC>(message.WParam), true);
            message.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        Repaint();
        EnabledChanged();
        return;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        MouseEnter();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        MouseLeave();
        return;
    }
    inherited::WndProc(message);
}
