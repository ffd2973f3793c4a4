// Drag and drop: the drag objects, the drag loop (a hidden window holds the capture, follows the pointer,
// asks the targets by CM_DRAG and shows the cursor and the drag image) and TControl's drag operations.
#include "framework/controls/DragDrop.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TScreen.h"
#include "framework/controls/TWinControl.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "platform/win/Windows.h"

#include <cstdlib>
#include <memory>

namespace {

TPoint MessagePoint(const TMessage& message)
{
    return TPoint { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) };
}

} // namespace

// The drag in progress. Only one drag runs at a time.
class TDragLoop {
public:
    static TDragLoop& Current()
    {
        static TDragLoop loop;
        return loop;
    }

    TControl* Control = nullptr;
    TDragObject* Object = nullptr;

    bool Active() const { return FActive; }
    void Begin(TControl* control, bool immediate, int threshold);
    // The pointer moved to `pos` (screen coordinates).
    void MoveTo(const TPoint& pos);
    // Ends the drag: with `drop` as a drop on an accepting target, otherwise as a cancel.
    void Done(bool drop);
    // A control is going away: the drag forgets it (a dying source ends the drag without its events).
    void Forget(TControl* control);
    bool Ending() const { return FEnding; }

private:
    // The hidden window that holds the capture during the drag: the mouse and, through the capture, the
    // keys come to it.
    class TCaptureWindow : public TWinControl {
        using inherited = TWinControl;

    public:
        using TWinControl::TWinControl;
        void WndProc(TMessage& message) override;

    protected:
        void CreateParams(TCreateParams& params) override
        {
            inherited::CreateParams(params);
            params.Style = WS_POPUP;
            params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
            params.WndParent = nullptr;
        }
    };

    // Sends CM_DRAG `message` to `target` and returns its answer.
    bool Tell(TControl* target, TDragMessage message);
    TControl* FindTarget(const TPoint& pos);
    void StartImage(const TPoint& pos);
    void UpdateImage(TControl* target, const TPoint& pos);
    void TakeCapture();
    void ReleaseTheCapture();

    std::unique_ptr<TDragObject> FOwnedObject;
    // Owned by the application (so it goes before the window layer does); forgotten when it is destroyed.
    TCaptureWindow* FCapture = nullptr;
    TDragImageList* FImages = nullptr;
    TPoint FStartPos;
    int FThreshold = 0;
    bool FActive = false;
    bool FAccepted = false;
    bool FEnding = false;
    bool FSourceGone = false;
};

// --- The drag objects ----------------------------------------------------------------------------------

TCursor TDragObject::GetDragCursor(bool accepted, int, int)
{
    return accepted ? crDrag : crNoDrop;
}

TDragImageList* TDragObject::GetDragImages()
{
    return nullptr;
}

void TDragObject::Finished(TObject*, int, int, bool) { }

void TDragObject::HideDragImage()
{
    if (TDragImageList* images = GetDragImages())
        images->HideDragImage();
}

void TDragObject::ShowDragImage()
{
    if (TDragImageList* images = GetDragImages())
        images->ShowDragImage();
}

void TBaseDragControlObject::Finished(TObject* target, int x, int y, bool accepted)
{
    if (!accepted) {
        target = nullptr;
        x = 0;
        y = 0;
    }
    FControl->DoEndDrag(target, x, y);
}

TCursor TDragControlObject::GetDragCursor(bool accepted, int x, int y)
{
    return accepted ? Control()->DragCursor() : inherited::GetDragCursor(accepted, x, y);
}

TDragImageList* TDragControlObject::GetDragImages()
{
    return Control()->GetDragImages();
}

TControl* DragControl()
{
    return TDragLoop::Current().Control;
}

TDragObject* DragObject()
{
    return TDragLoop::Current().Object;
}

bool DragActive()
{
    return TDragLoop::Current().Object && TDragLoop::Current().Active();
}

void CancelDrag()
{
    TDragLoop::Current().Done(false);
}

// Called by ~TControl.
void DragControlDestroyed(TControl* control)
{
    TDragLoop::Current().Forget(control);
}

// --- The drag loop -------------------------------------------------------------------------------------

void TDragLoop::TCaptureWindow::WndProc(TMessage& message)
{
    TDragLoop& loop = Current();
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        POINT p = ToPOINT(MessagePoint(message));
        ::ClientToScreen(FHandle, &p);
        loop.MoveTo(TPoint { p.x, p.y });
        return;
    }
    case WM_LBUTTONUP:
        loop.Done(true);
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the drag cannot go on.
        if (reinterpret_cast<HWND>(message.LParam) != FHandle && !loop.Ending())
            loop.Done(false);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        // Every key is the drag's while it runs; Escape cancels it.
        if (message.WParam == VK_ESCAPE)
            loop.Done(false);
        message.Result = 1;
        return;
    case CN_KEYUP:
    case CN_CHAR:
    case CN_SYSCHAR:
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TDragLoop::Begin(TControl* control, bool immediate, int threshold)
{
    Control = control;
    TDragObject* object = nullptr;
    control->DoStartDrag(object);
    // OnStartDrag may have ended the drag, or the control may be gone.
    if (Control != control)
        return;
    if (!object) {
        FOwnedObject = std::make_unique<TDragControlObject>(control);
        object = FOwnedObject.get();
    }
    Object = object;
    FActive = false;
    FAccepted = false;
    FSourceGone = false;
    FImages = nullptr;
    FThreshold = threshold;
    // Where the press was (the pointer may have moved on since).
    const DWORD pos = GetMessagePos();
    FStartPos = TPoint { GET_X_LPARAM(pos), GET_Y_LPARAM(pos) };
    object->FDragPos = FStartPos;
    object->FDragTarget = nullptr;
    object->FCancelling = false;
    object->FDropped = false;
    // A press the drag took is no click, and the control no longer holds the mouse.
    control->FControlState.Exclude(csClicked);
    TakeCapture();
    if (immediate) {
        FActive = true;
        StartImage(FStartPos);
        MoveTo(FStartPos);
    }
}

void TDragLoop::TakeCapture()
{
    if (GetCaptureControl())
        SetCaptureControl(nullptr);
    if (!FCapture)
        FCapture = new TCaptureWindow(Application);
    SetCapture(FCapture->Handle());
}

void TDragLoop::ReleaseTheCapture()
{
    if (FCapture && FCapture->HandleAllocated() && GetCapture() == FCapture->Handle())
        ReleaseCapture();
}

TControl* TDragLoop::FindTarget(const TPoint& pos)
{
    TWinControl* window = FindVCLWindow(pos);
    if (!window)
        return nullptr;
    TDragRec rec { pos, Object, nullptr };
    auto* target = reinterpret_cast<TControl*>(window->Perform(CM_DRAG, dmFindTarget, reinterpret_cast<intptr_t>(&rec)));
    // A disabled control (or one in a disabled parent) takes no drop.
    for (TControl* c = target; c; c = c->Parent())
        if (!c->Enabled())
            return nullptr;
    return target;
}

bool TDragLoop::Tell(TControl* target, TDragMessage message)
{
    // A source that is being destroyed is not handed to the target.
    TDragRec rec { Object->FDragPos, FSourceGone ? nullptr : Object, target };
    return target->Perform(CM_DRAG, message, reinterpret_cast<intptr_t>(&rec)) != 0;
}

void TDragLoop::StartImage(const TPoint& pos)
{
    FImages = Object->GetDragImages();
    if (FImages && !FImages->BeginDrag(nullptr, pos.X, pos.Y))
        FImages = nullptr;
    if (FImages)
        FImages->HideDragImage();
}

void TDragLoop::UpdateImage(TControl* target, const TPoint& pos)
{
    if (!FImages)
        return;
    FImages->DragMove(pos.X, pos.Y);
    if (Object->AlwaysShowDragImages() || (target && target->ControlStyle().Contains(csDisplayDragImage)))
        Object->ShowDragImage();
    else
        Object->HideDragImage();
}

void TDragLoop::MoveTo(const TPoint& pos)
{
    TDragObject* object = Object;
    if (!object || FEnding)
        return;
    if (!FActive) {
        if (std::abs(pos.X - FStartPos.X) < FThreshold && std::abs(pos.Y - FStartPos.Y) < FThreshold)
            return;
        FActive = true;
        StartImage(pos);
    }
    TControl* target = FindTarget(pos);
    if (target != object->FDragTarget) {
        if (TControl* old = object->FDragTarget) {
            Tell(old, dmDragLeave);
            if (Object != object)
                return;
        }
        object->FDragTarget = target;
        object->FDragPos = pos;
        if (target) {
            object->FDragTargetPos = target->ScreenToClient(pos);
            Tell(target, dmDragEnter);
            if (Object != object)
                return;
        }
    }
    object->FDragPos = pos;
    // The handlers may have ended the drag or destroyed the target (which then is forgotten).
    target = object->FDragTarget;
    bool accepted = false;
    if (target) {
        object->FDragTargetPos = target->ScreenToClient(pos);
        accepted = Tell(target, dmDragMove);
        if (Object != object)
            return;
    }
    FAccepted = accepted && object->FDragTarget;
    if (Screen)
        SetCursor(Screen->Cursors(object->GetDragCursor(FAccepted, pos.X, pos.Y)));
    UpdateImage(object->FDragTarget, pos);
}

void TDragLoop::Done(bool drop)
{
    TDragObject* object = Object;
    TControl* source = Control;
    if (!source || FEnding)
        return;
    FEnding = true;
    TControl* target = FActive ? (object ? object->FDragTarget : nullptr) : nullptr;
    const bool accepted = drop && target && FAccepted;
    if (FImages)
        FImages->EndDrag();
    FImages = nullptr;
    ReleaseTheCapture();
    if (Screen)
        SetCursor(Screen->Cursors(Screen->Cursor() == crDefault ? crArrow : Screen->Cursor()));
    // From here on the control is no longer dragging; the object lives until its Finished has run.
    std::unique_ptr<TDragObject> owned = std::move(FOwnedObject);
    if (object) {
        object->FCancelling = !drop;
        object->FDropped = accepted;
        if (target) {
            // The target hears of the drop, or that the drag left it.
            Tell(target, accepted ? dmDragDrop : dmDragLeave);
            target = object->FDragTarget;
        }
    }
    Control = nullptr;
    Object = nullptr;
    FActive = false;
    if (!FSourceGone) {
        if (!drop) {
            TDragRec rec { object ? object->FDragPos : TPoint {}, object, nullptr };
            source->Perform(CM_DRAG, dmDragCancel, reinterpret_cast<intptr_t>(&rec));
        }
        if (object) {
            const TPoint targetPos = target ? target->ScreenToClient(object->FDragPos) : TPoint {};
            object->Finished(target, targetPos.X, targetPos.Y, accepted && target);
        }
    }
    FEnding = false;
}

void TDragLoop::Forget(TControl* control)
{
    if (Object && Object->FDragTarget == control)
        Object->FDragTarget = nullptr;
    if (control == FCapture) {
        FCapture = nullptr;
        if (Control)
            Done(false);
        return;
    }
    if (control != Control)
        return;
    FSourceGone = true;
    if (!FEnding)
        Done(false);
}

// --- TControl's drag operations ------------------------------------------------------------------------

void TControl::BeginDrag(bool immediate, int threshold)
{
    if (dynamic_cast<TCustomForm*>(this))
        throw EInvalidOperation("Cannot drag a form");
    TDragLoop& loop = TDragLoop::Current();
    if (loop.Control)
        return;
    if (threshold < 0)
        threshold = Mouse ? Mouse->DragThreshold() : 5;
    loop.Begin(this, immediate, threshold);
}

void TControl::BeginAutoDrag()
{
    BeginDrag(Mouse ? Mouse->DragImmediate() : true, Mouse ? Mouse->DragThreshold() : 5);
}

void TControl::EndDrag(bool drop)
{
    if (Dragging())
        TDragLoop::Current().Done(drop);
}

bool TControl::Dragging() const
{
    return TDragLoop::Current().Control == this;
}

void TControl::DoStartDrag(TDragObject*& dragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, dragObject);
}

void TControl::DragOver(TObject* source, int x, int y, TDragOverState state, bool& accept)
{
    accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, source, x, y, state, accept);
    }
}

void TControl::DragDrop(TObject* source, int x, int y)
{
    if (OnDragDrop)
        OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TObject* target, int x, int y)
{
    if (OnEndDrag)
        OnEndDrag(this, target, x, y);
}

void TControl::CMDrag(TMessage& message)
{
    auto* rec = reinterpret_cast<TDragRec*>(message.LParam);
    if (!rec)
        return;
    TObject* source = rec->Source;
    if (auto* controlObject = dynamic_cast<TBaseDragControlObject*>(rec->Source))
        source = controlObject->Control();
    const TPoint p = ScreenToClient(rec->Pos);
    switch (message.WParam) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
        bool accept = false;
        DragOver(source, p.X, p.Y, static_cast<TDragOverState>(message.WParam), accept);
        message.Result = accept ? 1 : 0;
        break;
    }
    case dmDragDrop:
        DragDrop(source, p.X, p.Y);
        break;
    case dmDragCancel:
        DragCanceled();
        break;
    case dmFindTarget: {
        TControl* target = this;
        if (auto* window = dynamic_cast<TWinControl*>(this))
            if (TControl* child = window->ControlAtPos(p, false))
                target = child;
        message.Result = reinterpret_cast<intptr_t>(target);
        break;
    }
    }
}
