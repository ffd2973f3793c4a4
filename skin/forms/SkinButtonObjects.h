// The skin objects that act: push buttons (plain, latching in groups, or opening a linked menu), caption
// buttons with their window commands and restore looks, frame animations that may serve as buttons, two-state
// switches and user objects the application paints.
#pragma once
#include "skin/forms/SkinObjects.h"

#include <functional>

class TspDataSkinButton;
class TspDataSkinStdButton;
class TspDataSkinAnimate;

// The look of a caption-style button without a skin picture, drawn into rect of canvas: a plain face, or the hot
// (and, while pressed, darker) fill framed in navy, with the glyph that drawGlyph paints at (x, y) in the given
// colour, one pixel down and right while pressed. Caption buttons and the main-menu bar's child buttons share it.
void DrawDefaultCaptionButton(TCanvas* canvas, const TRect& rect, bool hot, bool pressed, bool enabled,
    const std::function<void(TCanvas* canvas, int x, int y, TColor color)>& drawGlyph);

class TspSkinButtonObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinButtonObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseUp(int x, int y, TMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool CanMorphing() override;

    // Presses or releases the button; pressing a group button releases the other member that is down.
    void SetDown(bool value);
    // Opens the linked menu under the button (nothing without one or when it has no items).
    void TrackMenu();
    // The menu opened on a press; set by the form's LinkMenu. Not owned.
    void LinkMenu(TMenuItem* menu, bool upward)
    {
        MenuItem = menu;
        PopupUp = upward;
    }

    bool Down = false;
    TRect DownRect;
    // The disabled look; skins have always spelled its key "disableskinrsect".
    TRect DisableSkinRsect;
    int GroupIndex = -1;
    TMenuItem* MenuItem = nullptr;
    bool PopupUp = false;

protected:
    // The plain button's look (disabled, pressed, then the base looks).
    void DrawButton(TCanvas* canvas, bool standalone);

private:
    void ReleaseGroup();
};

// A caption button: closes, maximizes, minimizes, rolls up or sends the form to the tray, or opens the system
// menu. Built without a record it draws the library's default look.
class TspSkinStdButtonObject : public TspSkinButtonObject {
    using inherited = TspSkinButtonObject;

public:
    TspSkinStdButtonObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void DblClick() override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseUp(int x, int y, TMouseButton button) override;
    bool CanMorphing() override;

    void DefaultDraw(TCanvas* canvas);
    void DoMax();
    void DoMin();
    void DoClose();
    void DoRollUp();
    void DoMinimizeToTray();
    void DoCommand();
    // The form is in the state this button undoes (maximized, minimized, rolled up).
    bool RestoreState() const;

    TStdCommand Command = cmDefault;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
    bool SkinnedButton = false;

private:
    // The system-menu button shows the form icon in its place.
    bool ShowsFormIcon() const;
};

class TspSkinAnimateObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinAnimateObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void DblClick() override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseUp(int x, int y, TMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // Frame n of the strip (wrapping in the running direction), drawn at once.
    void SetFrame(int value);
    void Start();
    void Stop();
    // One tick of the form's animation timer: counts time, and steps a frame when the interval is reached.
    void ChangeFrame();
    // Whether the animation timer steps this object now: it runs and does not show its pressed look.
    bool WantsFrameStep() const;
    void TrackMenu();
    void DoCommand();
    void DoMax();
    void DoMin();
    void DoClose();
    void DoRollUp();
    void DoMinToTray();
    void LinkMenu(TMenuItem* menu, bool upward)
    {
        MenuItem = menu;
        PopupUp = upward;
    }
    // The end of a linked menu: the strip runs back to frame 1 from its last frame.
    void MenuClosed();
    bool RestoreState() const;

    int CountFrames = 1;
    bool Cycle = false;
    bool ButtonStyle = false;
    int TimerInterval = 50;
    TStdCommand Command = cmDefault;
    TRect DownSkinRect;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
    int FrameIndex = 1;
    int Elapsed = 25;
    bool Increment = true;
    bool Down = false;
    bool MenuTracking = false;
    TMenuItem* MenuItem = nullptr;
    bool PopupUp = false;

private:
    bool HasDownLook() const;
    TRect FrameRect(int n) const;
};

class TspSkinSwitchObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinSwitchObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // Stores, shows the state and raises OnSwitchChangeStateEvent.
    void SetState(TSwitchState value);
    // Stores only (used while the form lays itself out).
    void SimpleSetState(TSwitchState value);

    TSwitchState State = swsOff;
};

// A place the application paints through OnPaintEvent, in full repaints and single redraws alike.
class TspUserObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    using TspActiveSkinObject::TspActiveSkinObject;

    void Draw(TCanvas* canvas, bool standalone) override;
};
