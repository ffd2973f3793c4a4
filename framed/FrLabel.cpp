#include "framed/FrLabel.h"

#include "framed/FrCursors.h"
#include "framework/controls/TScreen.h"
#include "framework/controls/TTimer.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/shell/ShellExecute.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

TFrBlinkingControlsList* TheBlinkList = nullptr;

TOpenWithProc& OpenWithProc()
{
    static TOpenWithProc proc;
    return proc;
}

int Nearest(double value)
{
    return int(std::nearbyint(value));
}

constexpr uint32_t AlignmentFlags[] = { DT_LEFT, DT_RIGHT, DT_CENTER };

} // namespace

// --- The blink list ------------------------------------------------------------------------------------------------

TFrBlinkingControlsList::TFrBlinkingControlsList()
    : FTimer(std::make_unique<TTimer>(nullptr))
{
    FTimer->SetInterval(FIntervalOff);
    FTimer->SetEnabled(true);
    FTimer->SetOnTimer([this](TObject* sender) { Tick(sender); });
}

TFrBlinkingControlsList::~TFrBlinkingControlsList() = default;

void TFrBlinkingControlsList::Add(TControl* control)
{
    FControls.push_back(control);
}

void TFrBlinkingControlsList::Remove(TControl* control)
{
    std::erase(FControls, control);
}

void TFrBlinkingControlsList::Tick(TObject*)
{
    FState = !FState;
    FTimer->SetInterval(FState ? FIntervalOn : FIntervalOff);
    // A label may be destroyed by what a repaint runs: walk a copy and skip the ones that left.
    const std::vector<TControl*> controls = FControls;
    for (TControl* control : controls) {
        if (std::find(FControls.begin(), FControls.end(), control) == FControls.end())
            continue;
        if (control->Perform(CM_FRBLINKQUERY, 0, 0) == 1)
            control->Perform(CM_FRBLINKSTATE, FState ? 1 : 0, 0);
    }
}

TFrBlinkingControlsList* BlinkingControlsList()
{
    return TheBlinkList;
}

// --- TFrLabel ------------------------------------------------------------------------------------------------------

TFrLabel::TFrLabel(TComponent* owner)
    : TLabel(owner)
{
    FControlStyle.Include(csOpaque);
    if (!TheBlinkList)
        TheBlinkList = new TFrBlinkingControlsList;
    TheBlinkList->Add(this);
    FSavedColor = Font()->Color();
    FCurrentColor = FSavedColor;
}

TFrLabel::~TFrLabel()
{
    if (TheBlinkList) {
        TheBlinkList->Remove(this);
        if (TheBlinkList->Count() == 0) {
            delete TheBlinkList;
            TheBlinkList = nullptr;
        }
    }
}

#define FR_LABEL_SETTER(Name, Type, Then)                                                                           \
    void TFrLabel::Set##Name(Type value)                                                                            \
    {                                                                                                                \
        if (value == F##Name)                                                                                        \
            return;                                                                                                  \
        F##Name = value;                                                                                             \
        Then;                                                                                                        \
    }

FR_LABEL_SETTER(BlinkColor, TColor, Invalidate())
FR_LABEL_SETTER(BevelWidth, int, AdjustBounds(); Invalidate())
FR_LABEL_SETTER(BorderColor, TColor, Invalidate())
FR_LABEL_SETTER(BorderInner, TFrameStyle, AdjustBounds(); Invalidate())
FR_LABEL_SETTER(BorderOuter, TFrameStyle, AdjustBounds(); Invalidate())
FR_LABEL_SETTER(BorderSides, TSides, AdjustBounds(); Invalidate())
FR_LABEL_SETTER(BorderHighlight, TColor, Invalidate())
FR_LABEL_SETTER(BorderShadow, TColor, Invalidate())
FR_LABEL_SETTER(BorderWidth, int, AdjustBounds(); Invalidate())
FR_LABEL_SETTER(FlatColor, TColor, Invalidate())
FR_LABEL_SETTER(CenterPoint, TCenterPoint, Invalidate())
FR_LABEL_SETTER(FlyByColor, TColor, Invalidate())
FR_LABEL_SETTER(LightTextStyle, bool, Invalidate())
FR_LABEL_SETTER(TextStyle, TTextStyle, AdjustBounds(); Invalidate())
FR_LABEL_SETTER(HighlightColor, TColor, Invalidate())
FR_LABEL_SETTER(ShadowColor, TColor, Invalidate())
FR_LABEL_SETTER(ShadowDepth, int, AdjustBounds(); Invalidate())
#undef FR_LABEL_SETTER

void TFrLabel::SetAngle(int value)
{
    // Any angle comes to 0..359: the painting tells 0, 90, 180 and 270 apart by value.
    value %= 360;
    if (value < 0)
        value += 360;
    if (value == FAngle)
        return;
    FAngle = value;
    if (!ComponentState().Contains(csLoading) && FAngle != 0)
        UseVerdanaUnlessTrueType();
    if (FAngle != 0 && FRotation == roNone)
        FRotation = roFlat;
    AdjustBounds();
    Invalidate();
}

void TFrLabel::SetRotation(TRotation value)
{
    if (value == FRotation)
        return;
    FRotation = value;
    if (!ComponentState().Contains(csLoading) && FRotation != roNone)
        UseVerdanaUnlessTrueType();
    if (FRotation == roNone || FRotation == roFlat)
        FAngle = 0;
    if (FRotation == roFlat)
        FCenterPoint = cpCenter;
    Invalidate();
}

void TFrLabel::UseVerdanaUnlessTrueType()
{
    if (!FontIsTrueType(Font()))
        Font()->SetName("Verdana");
}

void TFrLabel::SetBlinking(bool value)
{
    if (value == FBlinking)
        return;
    FBlinking = value;
    if (!value) {
        FCurrentColor = FSavedColor;
        Invalidate();
    }
}

uint16_t TFrLabel::BlinkIntervalOff() const
{
    return TheBlinkList ? TheBlinkList->IntervalOff() : 500;
}

void TFrLabel::SetBlinkIntervalOff(uint16_t value)
{
    if (TheBlinkList)
        TheBlinkList->SetIntervalOff(value);
}

uint16_t TFrLabel::BlinkIntervalOn() const
{
    return TheBlinkList ? TheBlinkList->IntervalOn() : 500;
}

void TFrLabel::SetBlinkIntervalOn(uint16_t value)
{
    if (TheBlinkList)
        TheBlinkList->SetIntervalOn(value);
}

void TFrLabel::SetFlyByEnabled(bool value)
{
    if (value == FFlyByEnabled)
        return;
    FFlyByEnabled = value;
    if (!value && FFlyByActive) {
        FFlyByActive = false;
        Font()->SetColor(FFlyBySavedColor);
    }
}

void TFrLabel::ApplyBlinkState(bool on)
{
    FCurrentColor = on ? FBlinkColor : FSavedColor;
    Refresh();
}

void TFrLabel::TakeFontColor()
{
    FSavedColor = Font()->Color();
    FCurrentColor = FSavedColor;
}

void TFrLabel::Loaded()
{
    inherited::Loaded();
    if (FAngle != 0 && FRotation == roNone)
        FRotation = roFlat;
    if (FRotation != roNone)
        UseVerdanaUnlessTrueType();
    TakeFontColor();
}

bool TFrLabel::ReadStoredProperty(std::string_view name, std::string_view)
{
    return name == "FrameSides";
}

void TFrLabel::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TFrLabel::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TFrLabel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_FRBLINKQUERY:
        inherited::WndProc(message);
        message.Result = FBlinking ? 1 : 0;
        return;
    case CM_FRBLINKSTATE:
        inherited::WndProc(message);
        if (FBlinking)
            ApplyBlinkState(message.WParam != 0);
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        if (FAngle != 0 && !FontIsTrueType(Font()))
            FAngle = 0;
        if (!ComponentState().Contains(csLoading) && !FBlinking && !FFlyByActive)
            TakeFontColor();
        return;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        if (FFlyByEnabled && !FFlyByActive) {
            FFlyBySavedColor = Font()->Color();
            FFlyByActive = true;
            Font()->SetColor(FFlyByColor);
            FCurrentColor = FBlinking ? FCurrentColor : FFlyByColor;
        }
        MouseEnter();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        if (FFlyByActive) {
            FFlyByActive = false;
            Font()->SetColor(FFlyBySavedColor);
            if (!FBlinking)
                FCurrentColor = FSavedColor;
        }
        MouseLeave();
        return;
    case CM_TEXTCHANGED:
        inherited::WndProc(message);
        Invalidate();
        return;
    }
    inherited::WndProc(message);
}

int TFrLabel::RingThickness(TFrameStyle style) const
{
    switch (style) {
    case fsFlat:
        return 1;
    case fsStatus:
    case fsPopup:
        return FBevelWidth;
    case fsNone:
    case fsFlatBold:
        // A bold flat ring is painted two pixels wide, but the text keeps its room.
        return 0;
    default:
        return 2;
    }
}

void TFrLabel::ShrinkByBorders(TRect& rect) const
{
    rect.Left += FBorderWidth;
    rect.Top += FBorderWidth;
    rect.Right -= FBorderWidth;
    rect.Bottom -= FBorderWidth;
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

void TFrLabel::GrowByBorders(TRect& rect) const
{
    const int each = RingThickness(FBorderOuter) + RingThickness(FBorderInner) + FBorderWidth;
    for (TSide side : { sdLeft, sdRight })
        if (FBorderSides.Contains(side))
            rect.Right += each;
    for (TSide side : { sdTop, sdBottom })
        if (FBorderSides.Contains(side))
            rect.Bottom += each;
}

TRect TFrLabel::TextArea() const
{
    TRect rect = ClientRect();
    ShrinkByBorders(rect);
    return rect;
}

uint32_t TFrLabel::TextFlags() const
{
    return AlignmentFlags[Alignment()] | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0)
        | (ShowAccelChar() ? 0 : DT_NOPREFIX);
}

TRect TFrLabel::PaintRing(TCanvas* canvas, TRect rect, TFrameStyle style)
{
    switch (style) {
    case fsFlat:
        return PaintBevelRings(canvas, rect, FFlatColor, FFlatColor, 1, FBorderSides);
    case fsPopup:
        return PaintBevelRings(canvas, rect, FBorderHighlight, FBorderShadow, FBevelWidth, FBorderSides);
    case fsStatus:
        return PaintBevelRings(canvas, rect, FBorderShadow, FBorderHighlight, FBevelWidth, FBorderSides);
    default:
        return PaintStyledBorderSides(canvas, rect, style, FBorderSides);
    }
}

void TFrLabel::Paint()
{
    TCanvas* canvas = Canvas();
    TRect rect = Rect(0, 0, Width(), Height());
    rect = PaintRing(canvas, rect, FBorderOuter);
    if (FBorderWidth > 0)
        rect = PaintBevelRings(canvas, rect, FBorderColor, FBorderColor, FBorderWidth, FBorderSides);
    rect = PaintRing(canvas, rect, FBorderInner);
    if (!Transparent()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(rect);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    if (FRotation == roCurve)
        PaintCurvedText(canvas);
    else if (FRotation == roFlat)
        PaintTurnedText(canvas, TextArea());
    else
        PaintStraightText(canvas, TextArea());
}

void TFrLabel::DrawTextAt(
    TCanvas* canvas, const std::string& text, TRect rect, uint32_t flags, TColor color, int dx, int dy)
{
    canvas->Font()->SetColor(color);
    RECT r = ToRECT(rect);
    OffsetRect(&r, dx, dy);
    DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
}

void TFrLabel::PaintStraightText(TCanvas* canvas, TRect rect)
{
    const std::string text = GetLabelText();
    const uint32_t flags = TextFlags();
    if (Layout() != tlTop) {
        RECT measured = ToRECT(rect);
        DrawText(canvas->Handle(), text.c_str(), int(text.size()), &measured, flags | DT_CALCRECT);
        int dy = Height() - FBorderWidth - measured.bottom;
        if (Layout() == tlCenter)
            dy /= 2;
        rect.Top += dy;
        rect.Bottom += dy;
    }
    if (FTextStyle == tsShadow) {
        if (Alignment() == taRightJustify) {
            rect.Left -= FShadowDepth;
            rect.Right -= FShadowDepth;
        }
        if (Layout() == tlBottom) {
            rect.Top -= FShadowDepth;
            rect.Bottom -= FShadowDepth;
        }
    }
    if (!Enabled()) {
        DrawTextAt(canvas, text, rect, flags, clBtnHighlight, 1, 1);
        DrawTextAt(canvas, text, rect, flags, clBtnShadow, 0, 0);
        return;
    }
    switch (FTextStyle) {
    case tsRaised:
        if (!FLightTextStyle)
            DrawTextAt(canvas, text, rect, flags, FShadowColor, 1, 1);
        DrawTextAt(canvas, text, rect, flags, FHighlightColor, -1, -1);
        break;
    case tsRecessed:
        DrawTextAt(canvas, text, rect, flags, FHighlightColor, 1, 1);
        if (!FLightTextStyle)
            DrawTextAt(canvas, text, rect, flags, FShadowColor, -1, -1);
        break;
    case tsShadow:
        DrawTextAt(canvas, text, rect, flags, FShadowColor, FShadowDepth, FShadowDepth);
        break;
    case tsNormal:
        break;
    }
    DrawTextAt(canvas, text, rect, flags, FCurrentColor, 0, 0);
}

void TFrLabel::PaintTurnedText(TCanvas* canvas, TRect area)
{
    const std::string text = GetLabelText();
    const double a = FAngle * std::numbers::pi / 180 + std::numbers::pi / 2;
    const int pp = canvas->TextHeight("Pp");
    const double q = pp / 4.0;
    const int f = FTextStyle == tsShadow ? FShadowDepth / 2 : 0;
    canvas->Font()->SetHandle(CreateAngledFont(Font(), FAngle));
    const int w = canvas->TextWidth(text);
    const int g = w + f;
    int x = Width() / 2;
    int y = Height() / 2;
    UINT align = TA_BASELINE;
    const bool centred = Alignment() == taCenter;
    const bool right = Alignment() == taRightJustify;
    const int xShift = Nearest(std::cos(a) * q);
    switch (FAngle) {
    case 0:
        align = TA_TOP | (centred ? TA_CENTER : TA_LEFT);
        if (right)
            x = area.Right - w - 2 * f;
        else if (!centred)
            x = area.Left + f;
        y -= (pp + f) / 2;
        break;
    case 90:
        x -= xShift;
        y = centred ? area.Bottom - (area.Bottom - g) / 2 : right ? area.Top + f + g : area.Bottom - f;
        break;
    case 180:
        x = centred ? area.Right - (area.Right - g) / 2 : right ? area.Left + g : area.Right - f;
        y -= (pp + f) / 4;
        break;
    case 270:
        x -= xShift;
        y = centred ? (area.Bottom - g) / 2 : right ? area.Bottom - g - f : area.Top + f;
        break;
    default:
        x -= xShift;
        y += Nearest(std::sin(a) * q);
        align = TA_BASELINE | TA_CENTER;
        break;
    }
    const UINT previous = SetTextAlign(canvas->Handle(), align);
    const TRect clip = ClientRect();
    auto pass = [&](TColor color, int px, int py) {
        canvas->Font()->SetColor(color);
        canvas->TextRect(clip, px, py, text);
    };
    if (!Enabled()) {
        pass(clBtnHighlight, x + 1, y + 1);
        pass(clBtnShadow, x, y);
    } else {
        switch (FTextStyle) {
        case tsRaised:
            if (!FLightTextStyle)
                pass(FShadowColor, x + 1, y + 1);
            pass(FHighlightColor, x - 1, y - 1);
            break;
        case tsRecessed:
            pass(FHighlightColor, x + 1, y + 1);
            if (!FLightTextStyle)
                pass(FShadowColor, x - 1, y - 1);
            break;
        case tsShadow:
            pass(FShadowColor, x + f, y + f);
            break;
        case tsNormal:
            break;
        }
        if (FTextStyle == tsShadow)
            pass(FCurrentColor, x - f, y - f);
        else
            pass(FCurrentColor, x, y);
    }
    SetTextAlign(canvas->Handle(), previous);
    canvas->SetFont(Font());
}

void TFrLabel::PaintCurvedText(TCanvas* canvas)
{
    const std::string text = GetLabelText();
    const int b = FBorderWidth;
    const int w = Width();
    const int h = Height();
    int cx = w / 2, cy = h / 2;
    int rx = w / 2 - 2 * b, ry = h / 2 - 2 * b;
    switch (FCenterPoint) {
    case cpUpperLeft:
        cx = b, cy = b, rx = w - 2 * b, ry = h - 2 * b;
        break;
    case cpUpperCenter:
        cx = w / 2, cy = b, rx = w / 2 - 2 * b, ry = h - 2 * b;
        break;
    case cpUpperRight:
        cx = w, cy = b, rx = w - 2 * b, ry = h - 2 * b;
        break;
    case cpLeftCenter:
        cx = b, cy = h / 2, rx = w - 2 * b, ry = h / 2 - 2 * b;
        break;
    case cpCenter:
        break;
    case cpRightCenter:
        cx = w - b, cy = h / 2, rx = w - 2 * b, ry = h / 2 - 2 * b;
        break;
    case cpLowerLeft:
        cx = b, cy = h - b, rx = w - 2 * b, ry = h - 2 * b;
        break;
    case cpLowerCenter:
        cx = w / 2, cy = h - b, rx = w / 2 - 2 * b, ry = h - 2 * b;
        break;
    case cpLowerRight:
        cx = w - b, cy = h - b, rx = w - 2 * b, ry = h - 2 * b;
        break;
    }
    if (rx == 0)
        return;
    const UINT previous = SetTextAlign(canvas->Handle(), TA_BASELINE | TA_CENTER);
    LOGFONT log {};
    GetObject(canvas->Font()->Handle(), sizeof log, &log);
    double t = FAngle * std::numbers::pi / 180;
    // Characters one by one, each turned to follow the ellipse (UTF-8 sequences stay whole).
    for (size_t i = 0; i < text.size();) {
        size_t n = 1;
        while (i + n < text.size() && (uint8_t(text[i + n]) & 0xC0) == 0x80)
            ++n;
        const std::string ch = text.substr(i, n);
        i += n;
        const int th = canvas->TextHeight("Yy");
        const int x = cx - Nearest(std::sin(t) * (rx - th));
        const int y = cy - Nearest(std::cos(t) * (ry - th));
        log.lfEscapement = Nearest(t * 1800 / std::numbers::pi);
        canvas->Font()->SetHandle(CreateFontIndirect(&log));
        auto pass = [&](TColor color, int px, int py) {
            canvas->Font()->SetColor(color);
            canvas->TextOut(px, py, ch);
        };
        switch (FTextStyle) {
        case tsRaised:
            if (!FLightTextStyle)
                pass(FShadowColor, x + 1, y + 1);
            pass(FHighlightColor, x - 1, y - 1);
            break;
        case tsRecessed:
            pass(FHighlightColor, x + 1, y + 1);
            if (!FLightTextStyle)
                pass(FShadowColor, x - 1, y - 1);
            break;
        case tsShadow:
            pass(FShadowColor, x + FShadowDepth, y + FShadowDepth);
            break;
        case tsNormal:
            break;
        }
        if (Enabled()) {
            pass(FCurrentColor, x, y);
        } else {
            pass(clBtnHighlight, x + 1, y + 1);
            pass(clBtnShadow, x, y);
        }
        t -= (canvas->TextWidth("w") + 2) / double(rx);
    }
    SetTextAlign(canvas->Handle(), previous);
    canvas->SetFont(Font());
}

void TFrLabel::AdjustBounds()
{
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !AutoSize())
        return;
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    Canvas()->SetHandle(dc);
    Canvas()->SetFont(Font());
    // An empty caption still measures one line high.
    const std::string caption = GetLabelText();
    const std::string text = caption.empty() ? std::string(1, ' ') : caption;
    RECT r = ToRECT(ClientRect());
    DrawText(Canvas()->Handle(), text.c_str(), int(text.size()), &r,
        DT_EXPANDTABS | DT_CALCRECT | (WordWrap() ? DT_WORDBREAK : 0) | (ShowAccelChar() ? 0 : DT_NOPREFIX));
    Canvas()->SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    TRect rect = FromRECT(r);
    GrowByBorders(rect);
    int width = rect.Right - rect.Left;
    int height = rect.Bottom - rect.Top;
    if (FTextStyle == tsShadow && FRotation == roNone) {
        width += FShadowDepth;
        height += FShadowDepth;
    }
    if (FRotation == roFlat && FAngle != 0 && FAngle != 180) {
        if (FTextStyle == tsShadow) {
            width += FShadowDepth / 2;
            height += FShadowDepth / 2;
        }
        double theta = (FAngle % 90) * std::numbers::pi / 180;
        if (FAngle == 90 || FAngle == 270)
            theta += std::numbers::pi / 2;
        const double w = width;
        const double h = height;
        width = Nearest(w * std::cos(theta) + h * std::sin(theta));
        height = Nearest(w * std::sin(theta) + h * std::cos(theta));
    }
    const int x = Alignment() == taRightJustify ? FLeft + FWidth - width : FLeft;
    SetBounds(x, FTop, width, height);
}

// --- TFrURLLabel ---------------------------------------------------------------------------------------------------

TOpenWithProc SetOpenWithProc(TOpenWithProc proc)
{
    TOpenWithProc previous = std::move(OpenWithProc());
    OpenWithProc() = std::move(proc);
    return previous;
}

TFrURLLabel::TFrURLLabel(TComponent* owner)
    : TFrLabel(owner)
{
    if (Screen)
        Screen->SetCursors(crFrHandCursor, LoadFrCursor("RZCOMMON_HANDCURSOR"));
    SetCursor(crFrHandCursor);
    SetTextStyle(tsNormal);
    Font()->SetColor(clHighlight);
    Font()->SetStyle(Font()->Style() + TFontStyles { fsUnderline });
}

void TFrURLLabel::UpdateFontColor()
{
    Font()->SetColor(FVisited ? FVisitedColor : FUnvisitedColor);
}

void TFrURLLabel::SetVisited(bool value)
{
    if (value == FVisited)
        return;
    FVisited = value;
    UpdateFontColor();
    Invalidate();
}

void TFrURLLabel::SetVisitedColor(TColor value)
{
    if (value == FVisitedColor)
        return;
    FVisitedColor = value;
    UpdateFontColor();
    Invalidate();
}

void TFrURLLabel::SetUnvisitedColor(TColor value)
{
    if (value == FUnvisitedColor)
        return;
    FUnvisitedColor = value;
    UpdateFontColor();
    Invalidate();
}

void TFrURLLabel::Click()
{
    inherited::Click();
    std::string target = Trim(FURL).empty() ? Caption() : FURL;
    target = Trim(target);
    if (target.empty())
        return;
    SHELLEXECUTEINFO info {};
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT;
    info.lpVerb = "Open";
    info.lpFile = target.c_str();
    info.nShow = 1;
    if (ShellExecuteEx(&info)) {
        SetVisited(true);
        return;
    }
    if (UpperCase(ExtractFileExt(target)) == ".HTM" && OpenWithProc())
        OpenWithProc()("RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm");
}
