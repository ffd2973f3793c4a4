// TArrowBar, the scroll-bar-like control that draws itself (two arrow buttons, a track and a handle, split into
// zones, with hot and drag tracking on one repeat timer and a one-pixel non-client border), and TArrowBarAccess,
// which reads the look of one bar and writes it to one or two.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "framework/core/TSet.h"

#include <functional>

class TTimer;

enum TRBDirection : uint8_t { drLeft, drUp, drRight, drDown };
// Also names the four edges of a rectangle (left, top, right, bottom).
using TRBDirections = TSet<TRBDirection, drDown>;
enum TRBZone : uint8_t { zNone, zBtnPrev, zTrackPrev, zHandle, zTrackNext, zBtnNext };
enum TRBStyle : uint8_t { rbsDefault, rbsMac };
enum TRBBackgnd : uint8_t { bgPattern, bgSolid };
enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
// 1 .. 32768.
using TRBIncrement = uint16_t;
using TRBGetSizeEvent = std::function<void(TObject* sender, int& size)>;

// The drawing helpers of the bars' looks, on framework colours (system colours resolved first).
namespace Img32_RangeBars {
// Each channel plus delta, clamped to 0 .. 255.
TColor Lighten(TColor c, int delta);
// Per channel (a x w + b x (255 - w)) div 256; EAssertionFailed "Assertion failure" for a weight of 256 or more.
TColor Blend(TColor a, TColor b, int w);
} // namespace Img32_RangeBars

class TArrowBar : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit TArrowBar(TComponent* owner);
    ~TArrowBar() override;

    TRBBackgnd Backgnd() const { return FBackgnd; }
    void SetBackgnd(TRBBackgnd value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    // The border lives in the non-client area: a change recreates the window.
    void SetBorderStyle(TBorderStyle value);
    // 0: automatic.
    int ButtonSize() const { return FButtonSize; }
    void SetButtonSize(int value);
    TColor HandleColor() const { return FHandleColor; }
    void SetHandleColor(TColor value);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    bool ShowArrows() const { return FShowArrows; }
    void SetShowArrows(bool value);
    bool ShowHandleGrip() const { return FShowHandleGrip; }
    void SetShowHandleGrip(bool value);
    TRBStyle Style() const { return FStyle; }
    // Recreates the window, also with the same value.
    void SetStyle(TRBStyle value);

    // Geometry, in client coordinates.
    int GetBorderSize() const;
    int GetButtonSize();
    TRect GetTrackBoundary();
    TRBZone GetZone(int x, int y);
    TRect GetZoneRect(TRBZone zone);
    // Whether the bar is drawn and hit-tested as enabled.
    virtual bool DrawEnabled();
    // The handle's rectangle; the arrow bar has none.
    virtual TRect GetHandleRect();
    // The window less the border on every side.
    TRect ClientRect() const override;

    // What the tracking state is, for those who watch the bar.
    TRBZone DragZone() const { return FDragZone; }
    TRBZone HotZone() const { return FHotZone; }
    int TimerMode() const { return FTimerMode; }
    TTimer* Timer() const { return FTimer; }

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnUserChange;

protected:
    // OnChange, then OnUserChange while the change is the user's (the repeat timer or a handle drag).
    virtual void DoChange();
    virtual void DoDrawButton(TRect r, TRBDirection direction, bool pushed, bool enabled, bool hot);
    virtual void DoDrawHandle(TRect r, bool horz, bool pushed, bool hot);
    virtual void DoDrawTrack(TRect r, TRBDirection direction, bool pushed, bool enabled, bool hot);
    // The mouse left the control: hot tracking ends.
    virtual void MouseLeft();
    virtual void TimerHandler(TObject* sender);
    // The sunken one-pixel border on `dc`, or on the window's own DC when it is null.
    virtual void DrawNCArea(HDC dc, HRGN region);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void StartDragTracking();
    void StopDragTracking();
    void StartHotTracking();
    void StopHotTracking();

    bool Horz() const { return FKind == sbHorizontal; }
    // The client position of the mouse, limited to the client area.
    TPoint ClampedCursor();

    bool FGenChange = false;
    TRBZone FDragZone = zNone;
    TRBZone FHotZone = zNone;
    TTimer* FTimer = nullptr;
    int FTimerMode = 0;
    TPoint FStackedAt;
    float FPosBeforeDrag = 0;

private:
    TRBBackgnd FBackgnd = bgPattern;
    TBorderStyle FBorderStyle = bsSingle;
    int FButtonSize = 0;
    TColor FHandleColor = clBtnShadow;
    TScrollBarKind FKind = sbHorizontal;
    bool FShowArrows = true;
    bool FShowHandleGrip = true;
    TRBStyle FStyle = rbsDefault;
};

// Reads the look of the master bar and writes it to the master and, when there is one, the slave.
class TArrowBarAccess : public TPersistent {
public:
    TArrowBar* Master = nullptr;
    TArrowBar* Slave = nullptr;

    TColor Color() const;
    void SetColor(TColor value);
    TRBBackgnd Backgnd() const;
    void SetBackgnd(TRBBackgnd value);
    int ButtonSize() const;
    void SetButtonSize(int value);
    TColor HandleColor() const;
    void SetHandleColor(TColor value);
    bool ShowArrows() const;
    void SetShowArrows(bool value);
    bool ShowHandleGrip() const;
    void SetShowHandleGrip(bool value);
    TRBStyle Style() const;
    void SetStyle(TRBStyle value);

private:
    template <class F> void Both(F&& f)
    {
        if (Master)
            f(Master);
        if (Slave)
            f(Slave);
    }
};
