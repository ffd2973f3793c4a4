// TControl, the root of the visual controls (bounds, alignment, visibility, colour, font, caption, mouse
// events and the message path), with its style and state sets and TSizeConstraints.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/DragDrop.h"
#include "framework/controls/Forward.h"
#include "framework/controls/Messages.h"
#include "framework/core/TComponent.h"
#include "framework/core/TSet.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class TActionLink;

enum TControlStyleItem : uint8_t {
    csAcceptsControls,
    csCaptureMouse, // a left press captures the mouse until the release
    csDesignInteractive,
    csClickEvents, // a press and release inside the control is a Click
    csFramed,
    csSetCaption, // the component's name becomes the caption while the caption is empty
    csOpaque, // the control paints its whole area: its parent does not erase under it
    csDoubleClicks, // without it a double click arrives as a second press
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents, // no OnMouse*/OnKey* events
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
};
using TControlStyle = TSet<TControlStyleItem, csMenuEvents>;

enum TControlStateItem : uint8_t {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
    csDesignerHide,
};
using TControlState = TSet<TControlStateItem, csDesignerHide>;

enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// The size limits of a control; 0 is no limit.
class TSizeConstraints : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TSizeConstraints(TControl* control);

    void Assign(TPersistent* source) override;

    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);

    TNotifyEvent OnChange;

private:
    void Change();

    TControl* FControl;
    int FMaxHeight = 0;
    int FMaxWidth = 0;
    int FMinHeight = 0;
    int FMinWidth = 0;
};

// A visual control. A windowless one (TGraphicControl) lives in its parent's window: the parent paints it
// and hands it the mouse messages over its area. The mouse path of a left press: CM_CANCELMODE to the
// focused control of the active form (another control takes the click), then the capture for controls with
// csCaptureMouse, which the release ends, then OnMouseDown; Click comes on the release inside the control.
//
// Messages reach a control through WindowProc, a replaceable callable preset to WndProc. WndProc switches
// on the message and calls the handler under its framework name (WMLButtonDown, CMEnabledChanged ...);
// what no handler takes goes to DefaultHandler.
class TControl : public TComponent {
    using inherited = TComponent;

public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // With csSetCaption, a control whose caption is its old name takes the new name as caption too.
    void SetName(std::string_view value) override;

    // --- Parent and geometry ---------------------------------------------------------------------------
    TWinControl* Parent() const { return FParent; }
    // True for a TWinControl: the paint paths ask it of every child on every repaint, without a cast.
    bool IsWindowed() const { return FWindowed; }
    // Moves the control (with its children) into `value`'s Controls; null takes it out.
    virtual void SetParent(TWinControl* value);
    int Left() const { return FLeft; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    int Top() const { return FTop; }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    int Width() const { return FWidth; }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    // Moves and sizes the control in its parent's client coordinates, within its constraints, then realigns
    // the parent and fires OnResize when the size changed.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }
    // The client area in client coordinates (0, 0, ...).
    virtual TRect ClientRect() const;
    int ClientWidth() const;
    void SetClientWidth(int value);
    int ClientHeight() const;
    void SetClientHeight(int value);
    // The screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& point) const;
    TPoint ScreenToClient(const TPoint& point) const;
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool value);

    // --- Appearance ------------------------------------------------------------------------------------
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show();
    void Hide();
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    const std::string& Caption() const { return Text(); }
    void SetCaption(std::string_view value) { SetText(value); }
    virtual const std::string& Text() const { return FText; }
    // Sends WM_SETTEXT (so hooks see it), then CM_TEXTCHANGED.
    void SetText(std::string_view value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont* Font() const { return FFont.get(); }
    // Copies the attributes of `value`.
    void SetFont(TFont* value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(std::string_view value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value) { FBiDiMode = value; }
    // Left-to-right throughout: both are identities here.
    bool UseRightToLeftAlignment() const { return false; }
    bool UseRightToLeftReading() const { return false; }
    uint32_t DrawTextBiDiModeFlags(uint32_t flags) const { return flags; }
    uint32_t DrawTextBiDiModeFlagsReadingOnly() const { return 0; }

    // --- Actions -------------------------------------------------------------------------------------
    TBasicAction* Action() const;
    // The control follows the action's caption, enabling, hint and visibility, and Click executes it when
    // OnClick is unassigned.
    void SetAction(TBasicAction* value);
    TActionLink* ActionLink() const { return FActionLink.get(); }

    // --- Style and state -----------------------------------------------------------------------------
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }

    // --- Painting ------------------------------------------------------------------------------------
    // Marks the control's area for painting.
    virtual void Invalidate();
    // Paints the control now.
    virtual void Repaint();
    void Refresh() { Repaint(); }
    // Paints what is invalid now.
    virtual void Update();
    // Moves the control to the top (front) or bottom of its parent's order.
    void BringToFront();
    void SendToBack();

    // --- Messages and the mouse ----------------------------------------------------------------------
    // Sends a message straight to the control's WindowProc and returns its result.
    intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    // True while the control has the mouse captured (a windowless one through its parent).
    bool MouseCapture() const;
    void SetMouseCapture(bool value);
    // The window procedure. Replace it to hook the control; the hook calls the saved value for the
    // default behaviour.
    std::function<void(TMessage& message)> WindowProc;
    virtual void WndProc(TMessage& message);
    // What no handler took: the window's default procedure for windowed controls, the text messages for
    // windowless ones.
    virtual void DefaultHandler(TMessage& message);
    bool HasParent() const { return FParent != nullptr; }

    // --- Drag and drop -------------------------------------------------------------------------------
    // With dmAutomatic a left press starts a drag (immediately or past Mouse's threshold, as Mouse's
    // DragImmediate says) instead of reaching the control as a press.
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    // The cursor while the control is dragged over a target that accepts it.
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor value) { FDragCursor = value; }
    // Starts dragging the control (OnStartDrag fires now). Without `immediate` the drag waits until the
    // pointer has moved `threshold` pixels on either axis (-1: Mouse's DragThreshold). A form cannot be
    // dragged (EInvalidOperation); while another drag runs nothing happens.
    void BeginDrag(bool immediate, int threshold = -1);
    // Ends the control's drag: with `drop`, over an accepting target, as a drop; otherwise as a cancel.
    void EndDrag(bool drop);
    // The control is the source of the drag in progress (pending or under way).
    bool Dragging() const;
    // Fires OnDragDrop: `source` was dropped on the control at (x, y).
    virtual void DragDrop(TObject* source, int x, int y);
    // The image list whose drag image follows the pointer while the control is dragged (none by default).
    virtual TDragImageList* GetDragImages() { return nullptr; }

    // --- Events --------------------------------------------------------------------------------------
    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;
    TConstrainedResizeEvent OnConstrainedResize;
    TContextPopupEvent OnContextPopup;

    // Fires OnClick, or executes the action when OnClick is unassigned.
    virtual void Click();

protected:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TSizeConstraints;
    friend class TDragLoop;
    friend class TBaseDragControlObject;

    // --- Virtual operations --------------------------------------------------------------------------
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
    virtual void DoContextPopup(TPoint mousePos, bool& handled);
    // Fires OnResize.
    virtual void Resize();
    virtual bool CanResize(int& newWidth, int& newHeight);
    virtual bool CanAutoSize(int& newWidth, int& newHeight);
    virtual void ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight);
    virtual bool DoCanResize(int& newWidth, int& newHeight);
    // CanResize, the constraints and AutoSize together; false leaves the size as it is.
    bool CheckNewSize(int& newWidth, int& newHeight);
    virtual bool DoCanAutoSize(int& newWidth, int& newHeight);
    virtual void DoConstrainedResize(int& newWidth, int& newHeight);
    // Asks the parent to realign its controls.
    virtual void RequestAlign();
    // Fits the control to its contents (AutoSize).
    virtual void AdjustSize();
    // Takes the new bounds after the window moved (or a windowless control was moved by SetBounds).
    void UpdateBoundsRect(const TRect& r);
    // Records where an anchored control sits relative to its parent's size, for realignment.
    void UpdateAnchorRules();
    // Marks the control's area of its parent for painting; `transparent` erases under it too.
    void InvalidateControl(bool isVisible, bool isOpaque);
    // The popup menu to show for a right click (the control's own by default).
    virtual TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    void Notification(TComponent* component, TOperation operation) override;
    virtual void VisibleChanging() { }
    // Drag and drop: OnStartDrag; OnDragOver (accept starts false, true once a handler is assigned);
    // OnEndDrag; a drag that ended without a drop.
    virtual void DoStartDrag(TDragObject*& dragObject);
    virtual void DragOver(TObject* source, int x, int y, TDragOverState state, bool& accept);
    virtual void DoEndDrag(TObject* target, int x, int y);
    virtual void DragCanceled() { }
    // The press of a dmAutomatic control.
    void BeginAutoDrag();
    // A control that tells by itself when a press turns into a drag (the list and tree views) takes a
    // dmAutomatic press as any other and starts the drag on its own notice.
    virtual bool StartsDragItself() const { return false; }

    // --- Message handlers ----------------------------------------------------------------------------
    void WMLButtonDown(TMessage& message);
    void WMLButtonDblClk(TMessage& message);
    void WMLButtonUp(TMessage& message);
    void WMRButtonDown(TMessage& message);
    void WMRButtonDblClk(TMessage& message);
    void WMRButtonUp(TMessage& message);
    void WMMButtonDown(TMessage& message);
    void WMMButtonDblClk(TMessage& message);
    void WMMButtonUp(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMMouseWheel(TMessage& message);
    void WMCancelMode(TMessage& message);
    void WMContextMenu(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMColorChanged(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);
    void CMParentShowHintChanged(TMessage& message);
    void CMHitTest(TMessage& message);
    void CMMouseWheel(TMessage& message);
    void CMDrag(TMessage& message);

    // Sends CM_CANCELMODE to the focused control of the active form around this control.
    void SendCancelMode(TControl* sender);
    void DoMouseDown(TMessage& message, TMouseButton button, TShiftState shift);
    void DoMouseUp(TMessage& message, TMouseButton button);

    TControlStyle FControlStyle { csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks };
    TControlState FControlState;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    std::string FText;
    bool FVisible = true;
    bool FEnabled = true;
    bool FWindowed = false; // set by TWinControl

private:
    void FontChanged(TObject* sender);
    void ConstraintsChanged(TObject* sender);
    void DoActionChange(TObject* sender);
    // The control's part of SetBounds for a control without a window of its own.
    void DoSetBounds(int left, int top, int width, int height);

    TWinControl* FParent = nullptr;
    TAlign FAlign = alNone;
    TAnchors FAnchors { akLeft, akTop };
    TPoint FAnchorRules;
    bool FAnchorMove = false; // the parent is moving the control by its anchors: the rules stay
    TPoint FOriginalParentSize;
    std::unique_ptr<TSizeConstraints> FConstraints;
    bool FAutoSize = false;
    TColor FColor = clWindow;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FUpdatingFont = false;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
    TPopupMenu* FPopupMenu = nullptr;
    TBiDiMode FBiDiMode = bdLeftToRight;
    std::unique_ptr<TActionLink> FActionLink;
};

// The form that holds the control (its top-most parent when that is a form), or null.
TCustomForm* GetParentForm(const TControl* control);
// GetParentForm, raising EInvalidOperation "Control '%s' has no parent window" when there is none.
TCustomForm* ValidParentForm(const TControl* control);
// The control that has the mouse captured (a windowless one when its parent holds the capture for it).
TControl* GetCaptureControl();
// Captures the mouse for `control` (a windowless control through its parent's window); null releases.
void SetCaptureControl(TControl* control);
// The control under `pos` (screen coordinates): the window's control or its windowless child there.
TControl* FindDragTarget(const TPoint& pos, bool allowDisabled);
// The windowed control under `pos` (screen coordinates).
TWinControl* FindVCLWindow(const TPoint& pos);
// The shift state of the keys flags of a mouse message.
TShiftState KeysToShiftState(uintptr_t keys);
