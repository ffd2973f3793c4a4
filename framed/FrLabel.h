// The framed labels: TFrLabel, a label with 3-D text styles, a caption turned by an angle or bent along an
// ellipse, a border of two frame rings with a band between them, a colour change under the pointer (fly-by)
// and blinking; TFrURLLabel, which opens its link when clicked. All blinking labels blink in step, driven by
// one shared list and its timer.
#pragma once
#include "framed/FrCommon.h"
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/StdCtrls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TTimer;

// The blink query (answer 1 while blinking) and the blink state (wParam 1 on, 0 off).
constexpr UINT CM_FRBLINKQUERY = 46056;
constexpr UINT CM_FRBLINKSTATE = 46057;

enum TRotation : uint8_t { roNone, roFlat, roCurve };
enum TCenterPoint : uint8_t {
    cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter, cpLowerLeft, cpLowerCenter,
    cpLowerRight
};

// The one list of labels that may blink, with the timer that flips the phase for all of them. It exists while
// a TFrLabel exists.
class TFrBlinkingControlsList : public TObject {
public:
    TFrBlinkingControlsList();
    ~TFrBlinkingControlsList() override;

    virtual int Count() const { return int(FControls.size()); }
    void Add(TControl* control);
    void Remove(TControl* control);
    bool State() const { return FState; }
    uint16_t IntervalOff() const { return FIntervalOff; }
    void SetIntervalOff(uint16_t value) { FIntervalOff = value; }
    uint16_t IntervalOn() const { return FIntervalOn; }
    void SetIntervalOn(uint16_t value) { FIntervalOn = value; }
    TTimer* Timer() const { return FTimer.get(); }

private:
    void Tick(TObject* sender);

    bool FState = true;
    uint16_t FIntervalOff = 500;
    uint16_t FIntervalOn = 500;
    std::unique_ptr<TTimer> FTimer;
    std::vector<TControl*> FControls;
};

// The program's list, or null while there is no label.
TFrBlinkingControlsList* BlinkingControlsList();

class TFrLabel : public TLabel {
    using inherited = TLabel;

public:
    explicit TFrLabel(TComponent* owner);
    ~TFrLabel() override;

    int Angle() const { return FAngle; }
    virtual void SetAngle(int value);
    bool Blinking() const { return FBlinking; }
    virtual void SetBlinking(bool value);
    TColor BlinkColor() const { return FBlinkColor; }
    virtual void SetBlinkColor(TColor value);
    // Shared by all labels: the last one set wins, from the next tick on.
    virtual uint16_t BlinkIntervalOff() const;
    virtual void SetBlinkIntervalOff(uint16_t value);
    virtual uint16_t BlinkIntervalOn() const;
    virtual void SetBlinkIntervalOn(uint16_t value);
    int BevelWidth() const { return FBevelWidth; }
    virtual void SetBevelWidth(int value);
    TColor BorderColor() const { return FBorderColor; }
    virtual void SetBorderColor(TColor value);
    TFrameStyle BorderInner() const { return FBorderInner; }
    virtual void SetBorderInner(TFrameStyle value);
    TFrameStyle BorderOuter() const { return FBorderOuter; }
    virtual void SetBorderOuter(TFrameStyle value);
    TSides BorderSides() const { return FBorderSides; }
    virtual void SetBorderSides(TSides value);
    TColor BorderHighlight() const { return FBorderHighlight; }
    virtual void SetBorderHighlight(TColor value);
    TColor BorderShadow() const { return FBorderShadow; }
    virtual void SetBorderShadow(TColor value);
    int BorderWidth() const { return FBorderWidth; }
    virtual void SetBorderWidth(int value);
    TColor FlatColor() const { return FFlatColor; }
    virtual void SetFlatColor(TColor value);
    TCenterPoint CenterPoint() const { return FCenterPoint; }
    virtual void SetCenterPoint(TCenterPoint value);
    TColor FlyByColor() const { return FFlyByColor; }
    virtual void SetFlyByColor(TColor value);
    bool FlyByEnabled() const { return FFlyByEnabled; }
    virtual void SetFlyByEnabled(bool value);
    bool LightTextStyle() const { return FLightTextStyle; }
    virtual void SetLightTextStyle(bool value);
    TRotation Rotation() const { return FRotation; }
    virtual void SetRotation(TRotation value);
    TTextStyle TextStyle() const { return FTextStyle; }
    virtual void SetTextStyle(TTextStyle value);
    TColor HighlightColor() const { return FHighlightColor; }
    virtual void SetHighlightColor(TColor value);
    TColor ShadowColor() const { return FShadowColor; }
    virtual void SetShadowColor(TColor value);
    int ShadowDepth() const { return FShadowDepth; }
    virtual void SetShadowDepth(int value);
    // The caption's colour now: the font's, or the blink colour in the "on" phase.
    TColor CurrentColor() const { return FCurrentColor; }

    // The caption's rectangle: the client area less the band and the rings.
    TRect TextArea() const;

    void Loaded() override;
    void WndProc(TMessage& message) override;
    // A stored "FrameSides" of older versions is read and dropped.
    bool ReadStoredProperty(std::string_view name, std::string_view value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual void ApplyBlinkState(bool on);
    virtual void GrowByBorders(TRect& rect) const;
    virtual void ShrinkByBorders(TRect& rect) const;
    // The thickness of a ring as the text area counts it.
    int RingThickness(TFrameStyle style) const;
    void Paint() override;
    void AdjustBounds() override;
    std::string GetLabelText() const override { return Caption(); }
    virtual void MouseEnter();
    virtual void MouseLeave();

private:
    TRect PaintRing(TCanvas* canvas, TRect rect, TFrameStyle style);
    void PaintStraightText(TCanvas* canvas, TRect rect);
    void PaintTurnedText(TCanvas* canvas, TRect rect);
    void PaintCurvedText(TCanvas* canvas);
    void DrawTextAt(TCanvas* canvas, const std::string& text, TRect rect, uint32_t flags, TColor color, int dx, int dy);
    uint32_t TextFlags() const;
    void UseVerdanaUnlessTrueType();
    void TakeFontColor();

    int FAngle = 0;
    TRotation FRotation = roNone;
    TCenterPoint FCenterPoint = cpCenter;
    TTextStyle FTextStyle = tsNormal;
    bool FLightTextStyle = false;
    TColor FHighlightColor = clBtnHighlight;
    TColor FShadowColor = clBtnShadow;
    int FShadowDepth = 2;
    bool FBlinking = false;
    TColor FBlinkColor = clHighlight;
    bool FFlyByEnabled = false;
    TColor FFlyByColor = clHighlight;
    TFrameStyle FBorderOuter = fsNone;
    TFrameStyle FBorderInner = fsNone;
    TSides FBorderSides = AllSides;
    int FBorderWidth = 0;
    TColor FBorderColor = clBtnFace;
    TColor FBorderHighlight = clBtnHighlight;
    TColor FBorderShadow = clBtnShadow;
    int FBevelWidth = 1;
    TColor FFlatColor = clBtnShadow;
    TColor FSavedColor = clWindowText;
    TColor FCurrentColor = clWindowText;
    TColor FFlyBySavedColor = clWindowText;
    bool FFlyByActive = false;
};

// What a failed open of an .htm link starts to let the user choose a program: the command line. This platform
// has no such dialog, so by default nothing runs; tests install a recorder.
using TOpenWithProc = std::function<void(const std::string& commandLine)>;
TOpenWithProc SetOpenWithProc(TOpenWithProc proc);

class TFrURLLabel : public TFrLabel {
    using inherited = TFrLabel;

public:
    explicit TFrURLLabel(TComponent* owner);

    const std::string& URL() const { return FURL; }
    void SetURL(std::string_view value) { FURL = value; }
    bool Visited() const { return FVisited; }
    virtual void SetVisited(bool value);
    TColor VisitedColor() const { return FVisitedColor; }
    virtual void SetVisitedColor(TColor value);
    TColor UnvisitedColor() const { return FUnvisitedColor; }
    virtual void SetUnvisitedColor(TColor value);

    // OnClick first, then the link opens: URL, or the caption when URL is blank.
    void Click() override;

protected:
    virtual void UpdateFontColor();

private:
    std::string FURL;
    bool FVisited = false;
    TColor FVisitedColor = clPurple;
    TColor FUnvisitedColor = clHighlight;
};
