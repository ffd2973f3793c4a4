#include "framed/FrButton.h"

#include "framed/ThemeServices.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdButtons.h"
#include "framework/controls/TCustomForm.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"

namespace {

constexpr uint32_t AlignmentFlags[] = { DT_LEFT, DT_RIGHT, DT_CENTER };

void Line(TCanvas* canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

// A rectangle's four sides without its corner pixels.
void CutCornerRect(TCanvas* canvas, TColor color, const TRect& r)
{
    Line(canvas, color, r.Left, r.Top + 1, r.Left, r.Bottom - 1);
    Line(canvas, color, r.Left + 1, r.Top, r.Right - 1, r.Top);
    Line(canvas, color, r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    Line(canvas, color, r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
}

TRect Shrunk(TRect r, int by)
{
    return Rect(r.Left + by, r.Top + by, r.Right - by, r.Bottom - by);
}

} // namespace

// --- TFrCustomButton -----------------------------------------------------------------------------------------------

TFrCustomButton::TFrCustomButton(TComponent* owner)
    : TCustomControl(owner)
{
    FControlStyle = TControlStyle { csCaptureMouse, csSetCaption, csDoubleClicks, csReplicatable, csReflector };
    SetBounds(Left(), Top(), 115, 17);
    SetTabStop(true);
}

#define FR_BUTTON_SETTER(Class, Name, Type)                                                                          \
    void Class::Set##Name(Type value)                                                                                \
    {                                                                                                                \
        if (value == F##Name)                                                                                        \
            return;                                                                                                  \
        F##Name = value;                                                                                             \
        Invalidate();                                                                                                \
    }

FR_BUTTON_SETTER(TFrCustomButton, AlignmentVertical, TAlignmentVertical)
FR_BUTTON_SETTER(TFrCustomButton, HotTrack, bool)
FR_BUTTON_SETTER(TFrCustomButton, HotTrackColor, TColor)
FR_BUTTON_SETTER(TFrCustomButton, HotTrackColorType, TFrHotTrackColorType)
FR_BUTTON_SETTER(TFrCustomButton, HighlightColor, TColor)
FR_BUTTON_SETTER(TFrCustomButton, LightTextStyle, bool)
FR_BUTTON_SETTER(TFrCustomButton, TextStyle, TTextStyle)
FR_BUTTON_SETTER(TFrCustomButton, TextHighlightColor, TColor)
FR_BUTTON_SETTER(TFrCustomButton, TextShadowColor, TColor)
FR_BUTTON_SETTER(TFrCustomButton, TextShadowDepth, int)
FR_BUTTON_SETTER(TFrCustomButton, Transparent, bool)
FR_BUTTON_SETTER(TFrButton, Alignment, TAlignment)
FR_BUTTON_SETTER(TFrButton, ShowDownPattern, bool)
FR_BUTTON_SETTER(TFrButton, ShowFocusRect, bool)
#undef FR_BUTTON_SETTER

bool TFrCustomButton::StylesOn() const
{
    return ThemeServices()->StylesEnabled();
}

void TFrCustomButton::DrawCaption(TCanvas* canvas, TRect rect, uint32_t flags)
{
    const std::string& text = Caption();
    canvas->Brush()->SetStyle(bsClear);
    RECT measured = ToRECT(rect);
    DrawText(canvas->Handle(), text.c_str(), int(text.size()), &measured,
        DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    const int h = measured.bottom - measured.top;
    if (FAlignmentVertical == avCenter) {
        rect.Top = (rect.Top + rect.Bottom - h) / 2;
        rect.Bottom = rect.Top + h;
    } else if (FAlignmentVertical == avBottom) {
        rect.Top = rect.Bottom - h - 1;
    }
    flags = DrawTextBiDiModeFlags(flags);
    auto pass = [&](TColor color, int dx, int dy) {
        canvas->Font()->SetColor(color);
        RECT r = ToRECT(rect);
        OffsetRect(&r, dx, dy);
        DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
    };
    if (!Enabled()) {
        pass(clBtnHighlight, 1, 1);
        pass(clBtnShadow, 0, 0);
        return;
    }
    const TColor fontColor = Font()->Color();
    const bool right = (flags & DT_RIGHT) != 0;
    switch (FTextStyle) {
    case tsRaised:
        if (!FLightTextStyle)
            pass(FTextShadowColor, 1, 1);
        pass(FTextHighlightColor, -1, -1);
        break;
    case tsRecessed:
        pass(FTextHighlightColor, 1, 1);
        if (!FLightTextStyle)
            pass(FTextShadowColor, -1, -1);
        break;
    case tsShadow:
        pass(FTextShadowColor, right ? 0 : FTextShadowDepth, FTextShadowDepth);
        break;
    case tsNormal:
        break;
    }
    // A right-aligned caption keeps room for a shadow on its right, whatever its style.
    pass(fontColor, right ? -FTextShadowDepth : 0, 0);
}

void TFrCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    SetFocus();
    if (!Focused())
        return;
    FPressedLook = true;
    RefreshFace();
    FPressing = true;
}

void TFrCustomButton::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (!FPressing)
        return;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
    if (inside != FPressedLook) {
        FPressedLook = inside;
        RefreshFace();
    }
}

void TFrCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (!FPressing)
        return;
    FPressing = false;
    FPressedLook = false;
    if (x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight())
        Press();
    RefreshFace();
}

void TFrCustomButton::KeyDown(uint16_t& key, TShiftState shift)
{
    if (key == VK_SPACE && !shift.Contains(ssAlt)) {
        FSpaceHeld = true;
        FPressedLook = true;
        RefreshFace();
    }
    inherited::KeyDown(key, shift);
}

void TFrCustomButton::KeyUp(uint16_t& key, TShiftState shift)
{
    if (key == VK_SPACE) {
        FPressedLook = false;
        // Only a Space that went down on this button clicks it: a key-up alone does nothing.
        if (FSpaceHeld) {
            FSpaceHeld = false;
            Press();
        }
        RefreshFace();
    }
    inherited::KeyUp(key, shift);
}

void TFrCustomButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (message.Msg == WM_KILLFOCUS)
            FSpaceHeld = false;
        RepaintAfterFocusChange();
        return;
    case WM_ERASEBKGND:
        if (FTransparent) {
            PaintParentBackground(this, reinterpret_cast<HDC>(message.WParam), true);
            message.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        if (HandleAllocated() && !ComponentState().Contains(csDesigning))
            EnableWindow(Handle(), Enabled());
        inherited::WndProc(message);
        Invalidate();
        return;
    case CM_TEXTCHANGED:
        inherited::WndProc(message);
        Repaint();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        inherited::WndProc(message);
        FPointerOver = message.Msg == CM_MOUSEENTER;
        const TNotifyEvent& event = FPointerOver ? OnMouseEnter : OnMouseLeave;
        if (event)
            event(this);
        if ((FHotTrack || StylesOn()) && HandleAllocated()) {
            const RECT r = ToRECT(HotTrackRect());
            InvalidateRect(Handle(), &r, FALSE);
        }
        return;
    }
    }
    inherited::WndProc(message);
}

// --- TFrButton -----------------------------------------------------------------------------------------------------

TFrButton::TFrButton(TComponent* owner)
    : TFrCustomButton(owner)
{
    SetColor(clBtnFace);
    SetParentColor(false);
    SetBounds(Left(), Top(), 75, 25);
}

void TFrButton::SetHotTrack(bool value)
{
    inherited::SetHotTrack(value);
    SetTransparent(value);
    Invalidate();
}

void TFrButton::SetDefault(bool value)
{
    if (value == FDefault)
        return;
    FDefault = value;
    // Every button of the form works out again which one Enter clicks.
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(form->ActiveControl()));
    else
        FActiveDefault = value;
}

void TFrButton::CreateWnd()
{
    inherited::CreateWnd();
    FActiveDefault = FDefault;
}

void TFrButton::BroadcastGroup()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage message { CM_FRBUTTONGROUP, uintptr_t(FGroupIndex), reinterpret_cast<intptr_t>(this), 0 };
    Parent()->Broadcast(message);
}

void TFrButton::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    BroadcastGroup();
}

void TFrButton::SetAllowAllUp(bool value)
{
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    BroadcastGroup();
}

void TFrButton::SetDown(bool value)
{
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown)
        return;
    // The down button of a group without AllowAllUp cannot release itself.
    if (FDown && FGroupState == gsExclusiveDown && !FAllowAllUp)
        return;
    FDown = value;
    FGroupState = value ? gsExclusiveDown : gsUp;
    Invalidate();
    if (value)
        BroadcastGroup();
}

void TFrButton::ClickAsPressed()
{
    FClicking = true;
    try {
        Click();
    } catch (...) {
        FClicking = false;
        throw;
    }
    FClicking = false;
}

void TFrButton::Press()
{
    if (FGroupIndex != 0)
        SetDown(!FDown);
    else
        RefreshFace();
    ClickAsPressed();
}

void TFrButton::Click()
{
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    inherited::Click();
}

void TFrButton::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
}

void TFrButton::KeyUp(uint16_t& key, TShiftState shift)
{
    inherited::KeyUp(key, shift);
}

bool TFrButton::ReadStoredProperty(std::string_view name, std::string_view value)
{
    if (name != "FrameFlat")
        return false;
    SetHotTrack(value == "True");
    return true;
}

void TFrButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_DIALOGKEY: {
        const auto key = uint16_t(message.WParam);
        const bool shiftHeld = GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
        if (((key == VK_RETURN && FActiveDefault) || (key == VK_ESCAPE && FCancel)) && !shiftHeld && CanFocus()) {
            ClickAsPressed();
            message.Result = 1;
            return;
        }
        break;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(uint32_t(message.WParam), Caption()) && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        TControl* focused = MessageSender(message);
        // Another push button that takes the focus takes Enter along with it, whether ours or the framework's.
        const bool button = dynamic_cast<TFrButton*>(focused) || dynamic_cast<TButton*>(focused);
        const bool active = button ? focused == this : FDefault;
        if (active != FActiveDefault) {
            FActiveDefault = active;
            Invalidate();
        }
        break;
    }
    case CM_FRBUTTONGROUP: {
        auto* sender = reinterpret_cast<TFrButton*>(message.LParam);
        if (sender != this && int(message.WParam) == FGroupIndex && FGroupIndex != 0) {
            if (sender->Down() && FDown) {
                FDown = false;
                FGroupState = gsUp;
                Invalidate();
            }
            FAllowAllUp = sender->AllowAllUp();
        }
        return;
    }
    }
    inherited::WndProc(message);
}

TRect TFrButton::CaptionRect()
{
    TRect r = Shrunk(ClientRect(), 5);
    if (ShowsPressed() && !HotTrack() && !StylesOn()) {
        ++r.Left, ++r.Top, ++r.Right, ++r.Bottom;
    }
    return r;
}

void TFrButton::DrawCaption(TCanvas* canvas, TRect rect, uint32_t flags)
{
    inherited::DrawCaption(canvas, rect, flags | AlignmentFlags[FAlignment]);
}

void TFrButton::FillDownPattern(TBitmap* bitmap)
{
    bitmap->SetWidth(8);
    bitmap->SetHeight(8);
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, 8, 8));
    const TColor dots = ColorToRGB(Color()) == clSilver ? clGray : clSilver;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (x % 2 == y % 2)
                c->SetPixels(x, y, dots);
}

void TFrButton::PaintStyled(TCanvas* canvas, const TRect& client)
{
    int detail = tbPushButtonDefaulted;
    if (!Enabled())
        detail = tbPushButtonDisabled;
    else if (ShowsPressed())
        detail = tbPushButtonPressed;
    else if (FPointerOver)
        detail = tbPushButtonHot;
    else if (FGroupIndex != 0 || !(FActiveDefault || Focused()))
        detail = tbPushButtonNormal;
    const TStyleElementRef ref = TThemeServices::ButtonPartState(detail);
    const RECT r = ToRECT(client);
    ThemeServices()->PaintElementParent(Handle(), canvas->Handle(), &ref, true, r);
    ThemeServices()->PaintElement(canvas->Handle(), ref, r);
}

void TFrButton::PaintFlat(TCanvas* canvas, const TRect& c)
{
    const TColor color = Color();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    if (!Enabled()) {
        CutCornerRect(canvas, color == clBtnFace ? LightenColor(clBtnShadow, 30) : DarkenColor(color, 80), Shrunk(c, 1));
        canvas->Brush()->SetColor(color);
        canvas->FillRect(Shrunk(c, 2));
        return;
    }
    const TColor dark = DarkenColor(clBtnFace, 20);
    const TColor light = LightenColor(clBtnFace, 20);
    Line(canvas, dark, c.Left, c.Top + 2, c.Left, c.Bottom - 2);
    Line(canvas, dark, c.Left + 2, c.Top, c.Right - 2, c.Top);
    Line(canvas, light, c.Right - 1, c.Top + 2, c.Right - 1, c.Bottom - 2);
    Line(canvas, light, c.Left + 2, c.Bottom - 1, c.Right - 2, c.Bottom - 1);
    canvas->SetPixels(c.Left + 1, c.Top + 1, dark);
    canvas->SetPixels(c.Right - 2, c.Top + 1, dark);
    canvas->SetPixels(c.Left + 1, c.Bottom - 2, dark);
    canvas->SetPixels(c.Right - 2, c.Bottom - 2, light);
    CutCornerRect(canvas, color == clBtnFace ? cl3DDkShadow : DarkenColor(color, 150), Shrunk(c, 1));
    TRect r = Shrunk(c, 2);
    canvas->Brush()->SetStyle(bsSolid);
    auto rings = [&](TColor h, TColor u) {
        const TColor darkH = DarkenColor(h, 30);
        TRect inner = PaintFrameSides(canvas, r, u, darkH, AllSides);
        inner = PaintFrameSides(canvas, inner, DarkenColor(u, 10), LightenColor(darkH, 10), AllSides);
        canvas->Brush()->SetColor(color);
        canvas->FillRect(inner);
    };
    if (ShowsPressed()) {
        canvas->Brush()->SetColor(DarkenColor(color, 10));
        canvas->FillRect(r);
    } else if (FPointerOver) {
        if (HotTrackColorType() == htctActual) {
            rings(HotTrackColor(), LightenColor(HotTrackColor(), 30));
        } else {
            const int hue = HueOfColor(HotTrackColor());
            const TColor h = JoinColorHsl(uint8_t(hue < 120 ? hue + 120 : hue - 120), 220, 180);
            rings(h, h);
        }
    } else if (FGroupIndex != 0 || !(FActiveDefault || Focused())) {
        Line(canvas, LightenColor(color, 20), r.Left, r.Top, r.Right, r.Top);
        Line(canvas, LightenColor(color, 15), r.Left, r.Top + 1, r.Right, r.Top + 1);
        Line(canvas, LightenColor(color, 10), r.Left, r.Top + 2, r.Right, r.Top + 2);
        const TColor d10 = DarkenColor(color, 10);
        Line(canvas, d10, r.Left, r.Bottom - 3, r.Right - 2, r.Bottom - 3);
        Line(canvas, d10, r.Right - 2, r.Bottom - 3, r.Right - 2, r.Top + 2);
        const TColor d20 = DarkenColor(color, 20);
        Line(canvas, d20, r.Left, r.Bottom - 2, r.Right - 1, r.Bottom - 2);
        Line(canvas, d20, r.Right - 1, r.Bottom - 2, r.Right - 1, r.Top + 1);
        Line(canvas, DarkenColor(color, 30), r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
        canvas->Brush()->SetColor(color);
        canvas->FillRect(Rect(r.Left, r.Top + 3, r.Right - 2, r.Bottom - 3));
    } else {
        const TColor h = JoinColorHsl(HueOfColor(HighlightColor()), 220, 220);
        rings(h, h);
    }
}

void TFrButton::PaintClassic(TCanvas* canvas, TRect c)
{
    if ((FGroupIndex == 0 && (FActiveDefault || Focused()) && !FPressing) || FClicking)
        c = PaintFrameSides(canvas, c, clWindowFrame, clWindowFrame, AllSides);
    const bool pressed = ShowsPressed();
    if (Color() == clBtnFace) {
        if (FGroupIndex != 0)
            c = PaintStyledBorder(canvas, c, pressed ? fsLowered : fsButtonUp);
        else
            c = PaintButtonEdge(canvas, c, pressed);
    } else if (FGroupIndex != 0) {
        c = pressed ? PaintTintedBorder(canvas, c, Color(), fsLowered) : PaintTintedButtonEdge(canvas, c, Color(), false);
    } else {
        c = PaintTintedButtonEdge(canvas, c, Color(), pressed);
    }
    if (FGroupState == gsExclusiveDown && FShowDownPattern) {
        TBitmap pattern;
        FillDownPattern(&pattern);
        canvas->Brush()->SetBitmap(&pattern);
        canvas->FillRect(c);
        canvas->Brush()->SetBitmap(nullptr);
    }
}

void TFrButton::Paint()
{
    inherited::Paint();
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    TRect focus = Shrunk(client, HotTrack() || StylesOn() ? 3 : 4);
    if (FGroupIndex != 0 && ShowsPressed())
        ++focus.Left, ++focus.Top, ++focus.Right, ++focus.Bottom;
    if (StylesOn())
        PaintStyled(canvas, client);
    else if (HotTrack())
        PaintFlat(canvas, client);
    else
        PaintClassic(canvas, client);
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    DrawCaption(canvas, CaptionRect(), DT_WORDBREAK | DT_EXPANDTABS);
    if (Focused() && FShowFocusRect)
        PaintDottedFocus(canvas, focus);
}
