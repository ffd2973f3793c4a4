// Drag and drop between controls: the drag modes and states, the CM_DRAG record, the drag objects and the
// events of a drag (the drag loop itself lives in DragDrop.cpp).
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/Forward.h"
#include "framework/core/TObject.h"
#include "framework/graphics/Types.h"

#include <cstdint>
#include <functional>

// dmAutomatic: a left press on the control starts a drag; dmManual: the program calls BeginDrag.
enum TDragMode : uint8_t { dmManual, dmAutomatic };
// Where the pointer is relative to a target when OnDragOver is asked. (The name TDragState belongs to the
// rubber-band layer of the imaging library.)
enum TDragOverState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
// CM_DRAG's wParam: what the drag tells or asks the control.
enum TDragMessage : uint8_t { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

class TDragObject;
using TDragImageList = TCustomImageList;

// CM_DRAG's lParam. Pos is in screen coordinates. A control answers dmDragEnter, dmDragLeave and
// dmDragMove with non-zero when it accepts the drop there, and dmFindTarget with the control (itself or a
// windowless child) that is the target at Pos.
struct TDragRec {
    TPoint Pos;
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;
};

// The source handed to OnDragOver and OnDragDrop is the dragged control when the drag object is a control's
// (TBaseDragControlObject), else the drag object itself.
using TStartDragEvent = std::function<void(TObject* sender, TDragObject*& dragObject)>;
using TDragOverEvent
    = std::function<void(TObject* sender, TObject* source, int x, int y, TDragOverState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;
// Target is null (and x, y are 0) when the drag ended without an accepted drop.
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;

// What is being dragged. OnStartDrag may hand over an object of its own, which the program keeps owning and
// must keep alive until OnEndDrag; without one the framework makes a TDragControlObject for the control.
class TDragObject : public TObject {
    using inherited = TObject;

public:
    // The cursor over a target: crDrag where the drop is accepted, crNoDrop elsewhere.
    virtual TCursor GetDragCursor(bool accepted, int x, int y);
    // The image list whose drag image follows the pointer (none by default).
    virtual TDragImageList* GetDragImages();
    // Called once when the drag ends: `target` is the control that took the drop, or null.
    virtual void Finished(TObject* target, int x, int y, bool accepted);
    virtual void HideDragImage();
    virtual void ShowDragImage();

    // The pointer (screen coordinates), the control under it and the pointer in that control's client
    // coordinates, as of the last move.
    TPoint DragPos() const { return FDragPos; }
    TControl* DragTarget() const { return FDragTarget; }
    TPoint DragTargetPos() const { return FDragTargetPos; }
    // Set when the drag is ending without a drop (Escape, a lost capture).
    bool Cancelling() const { return FCancelling; }
    // Set when the drag ended with an accepted drop.
    bool Dropped() const { return FDropped; }
    // The drag image shows over every control; otherwise only over those with csDisplayDragImage.
    bool AlwaysShowDragImages() const { return FAlwaysShowDragImages; }
    void SetAlwaysShowDragImages(bool value) { FAlwaysShowDragImages = value; }

private:
    friend class TDragLoop;
    TPoint FDragPos;
    TControl* FDragTarget = nullptr;
    TPoint FDragTargetPos;
    bool FCancelling = false;
    bool FDropped = false;
    bool FAlwaysShowDragImages = false;
};

// A drag object that stands for a control: its end reaches the control's OnEndDrag.
class TBaseDragControlObject : public TDragObject {
    using inherited = TDragObject;

public:
    explicit TBaseDragControlObject(TControl* control)
        : FControl(control)
    {
    }
    TControl* Control() const { return FControl; }
    void Finished(TObject* target, int x, int y, bool accepted) override;

private:
    TControl* FControl;
};

// The drag object the framework makes: the control's DragCursor where accepted, the control's drag images.
class TDragControlObject : public TBaseDragControlObject {
    using inherited = TBaseDragControlObject;

public:
    using TBaseDragControlObject::TBaseDragControlObject;
    TCursor GetDragCursor(bool accepted, int x, int y) override;
    TDragImageList* GetDragImages() override;
};

// The drag in progress, if any: its source control and its object. A drag begun without Immediate is
// pending (no target, no cursor, no image) until the pointer has moved the threshold.
TControl* DragControl();
TDragObject* DragObject();
bool DragActive();
// Ends the drag in progress without a drop (as Escape does).
void CancelDrag();
// The drag forgets a control that is being destroyed (called by ~TControl).
void DragControlDestroyed(TControl* control);
