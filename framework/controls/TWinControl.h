// TWinControl, the control with a window of its own: handle life, window procedure, children, alignment,
// focus and tab order, keys, and the painting of its windowless children.
#pragma once
#include "framework/controls/TControl.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <vector>

// What CreateWnd asks the window layer for. CreateParams fills it; descendants change styles and the
// class style before the window is made.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    // lpfnWndProc is the default procedure the control's DefaultHandler calls (DefWindowProc unless the
    // control stands on another window class); style is the class style (CS_DBLCLKS, CS_DROPSHADOW ...).
    WNDCLASS WindowClass {};
    std::string WinClassName;
};

// The window is made on demand (HandleNeeded): when Handle is read, or when the control is showing. Every
// message, from WM_NCCREATE on, goes through the control's WindowProc. RecreateWnd destroys the window and
// makes it anew, with the children's windows, from the control's state (bounds, caption, visibility,
// enabling), which the object keeps throughout.
class TWinControl : public TControl {
    using inherited = TControl;

public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // --- The window ----------------------------------------------------------------------------------
    // The window, made now if there is none. Raises EInvalidOperation "Control '%s' has no parent window"
    // for a child control whose parent chain has no window to hold it.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // A window of another toolkit (or a form's) to hold this parentless control.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND value);
    // Destroys and re-creates the window (and its children's) keeping the control's state.
    void RecreateWnd();
    bool Showing() const { return FShowing; }
    // The control whose window this is, or null.
    static TWinControl* FindControl(HWND hwnd);

    // --- Children ------------------------------------------------------------------------------------
    // Windowless and windowed children, bottom first (the last is on top).
    TControl* Controls(int index) const;
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    bool ContainsControl(const TControl* control) const;
    // The top-most visible child at `pos` (client coordinates); windowed children only with
    // `allowWinControls`, disabled ones only with `allowDisabled`.
    TControl* ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls = false) const;
    TControl* FindChildControl(std::string_view name) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Sends `message` to every child.
    void Broadcast(TMessage& message);
    // Sends message number `msg` (wParam 0, lParam this control) to every child.
    void NotifyControls(uint32_t msg);
    // Moves every child by (dx, dy) and scrolls the window's contents.
    void ScrollBy(int deltaX, int deltaY);

    // --- Alignment -----------------------------------------------------------------------------------
    void DisableAlign();
    // Realigns when the last DisableAlign is undone and alignment was asked for meanwhile.
    void EnableAlign();
    bool AlignDisabled() const { return FAlignLevel != 0; }
    void Realign();

    // --- Focus and tab order -------------------------------------------------------------------------
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    // Visible and enabled, and so are all parents.
    virtual bool CanFocus();
    // The control has the keyboard focus.
    virtual bool Focused() const;
    // Gives the control the focus through its form (which makes it the form's ActiveControl).
    virtual void SetFocus();
    // The focusable descendants in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& list);
    // The next control after `current` in tab order (forward or backward, wrapping), with TabStop when
    // `checkTabStop`, among children only when `checkParent`; null when there is none.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();

    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool value);
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    // The background brush (the control's colour).
    TBrush* Brush();

    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* value) override;
    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    friend class TControl;
    friend class TCustomForm;
    friend class TApplication;

    // --- The window ----------------------------------------------------------------------------------
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    // Makes the window, then realigns and shows the children that are showing.
    virtual void CreateHandle();
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    // Destroys the children's windows and then this one.
    void DestroyHandle();
    // Makes or hides the window as Visible and the parents' showing say, children included.
    void UpdateShowing();
    void UpdateControlState();
    // The procedure DefaultHandler calls.
    WNDPROC DefWndProc() const { return FDefWndProc; }

    // --- Alignment -----------------------------------------------------------------------------------
    // Places the aligned and anchored children within `rect` (the client area less AdjustClientRect's
    // margins): alTop, alBottom, alLeft, alRight, then alClient, each in the order of their positions,
    // with `control` (the one that moved) first among equals.
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect);
    void AlignControl(TControl* control);

    // --- Keys and focus ------------------------------------------------------------------------------
    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    // The form's preview first, then KeyDown; true when the key was used up (set to 0).
    bool DoKeyDown(TMessage& message);
    bool DoKeyUp(TMessage& message);
    bool DoKeyPress(TMessage& message);
    virtual void DoEnter();
    virtual void DoExit();
    // The shortcut stage of a key: the popup menus of the control and its parents, the form's shortcuts
    // (OnShortCut, main menu, action lists), then the application's; true when one used the key.
    bool IsMenuKey(TMessage& message);

    // --- Painting ------------------------------------------------------------------------------------
    // WM_PAINT: BeginPaint, PaintWindow, the windowless children, EndPaint.
    void PaintHandler(TMessage& message);
    virtual void PaintWindow(HDC dc);
    // Paints the visible windowless children that overlap the DC's clip, from `first` on (all when null).
    void PaintControls(HDC dc, TControl* first);

    // --- Message handlers ----------------------------------------------------------------------------
    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMSysKeyDown(TMessage& message);
    void WMKeyUp(TMessage& message);
    void WMSysKeyUp(TMessage& message);
    void WMChar(TMessage& message);
    void WMSize(TMessage& message);
    void WMMove(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMSetCursor(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMSetText(TMessage& message);
    void CNKeyDown(TMessage& message);
    void CNChar(TMessage& message);
    void CNSysKeyDown(TMessage& message);
    void CNSysChar(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMChildKey(TMessage& message);
    void CMFocusChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMShowingChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMColorChanged(TMessage& message);
    void CMShowHintChanged(TMessage& message);
    void CMCtl3DChanged(TMessage& message);
    void CMParentCtl3DChanged(TMessage& message);
    void CMEnter(TMessage& message);
    void CMExit(TMessage& message);
    void CMRecreateWnd(TMessage& message);
    void CMCursorChanged(TMessage& message);

    HWND FHandle = nullptr;
    std::vector<TControl*> FControls;

private:
    friend LRESULT ControlWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Routes a mouse message over a windowless child (or to the one holding the capture) to that child.
    bool IsControlMouseMsg(TMessage& message);
    // Hands a notification a child control sent about itself (WM_COMMAND, scroll, owner-draw and colour
    // messages) back to that control as CN_BASE + the message; false when the message names no other
    // control of the framework.
    bool ReflectToControl(TMessage& message);
    // The default colours of a control asked for by CN_CTLCOLOR*: the font's colour on the control's colour.
    void DefaultControlColor(TMessage& message);
    void UpdateBounds();
    // The frame (AdjustWindowRectEx) that the styles of CreateParams put around the client area.
    RECT FrameForStyles() const;
    void DoAlign(TAlign align, TControl* control, TRect& rect);

    HWND FParentWindow = nullptr;
    WNDPROC FDefWndProc = nullptr;
    bool FShowing = false;
    bool FQueryingParams = false;
    bool FReparenting = false;
    int FAlignLevel = 0;
    bool FTabStop = false;
    std::vector<TWinControl*> FTabList;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FDoubleBuffered = false;
    std::unique_ptr<TBrush> FBrush;
};
