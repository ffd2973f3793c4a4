// The links a skinned control keeps to components it does not own (its skin, its external scroll bars), each
// watched so that its freeing empties the link instead of leaving it dangling.
#pragma once
#include "framework/core/TComponent.h"
#include "framework/core/TObject.h"
#include "platform/win/WinTypes.h"

class TspSkinData;
class TspSkinScrollBar;

namespace SkinLinks {

// Points `slot` at `value` for `owner`: the component before no longer tells `owner` of its freeing, `value` does
// (through `owner`'s Notification, which then calls Forget).
template <class T> void Watch(TComponent* owner, T*& slot, T* value)
{
    if (slot)
        slot->RemoveFreeNotification(owner);
    slot = value;
    if (value)
        value->FreeNotification(owner);
}

// Watch for a control's skin. True when the control should take up the new skin at once: a loaded skin, outside
// design time.
bool WatchSkin(TComponent* owner, TspSkinData*& slot, TspSkinData* value);

// Watch for an external bar a view scrolls by and mirrors its state into: the bar is enabled and hidden until
// the view needs it, and `onChange` becomes its OnChange.
void LinkViewBar(TComponent* owner, TspSkinScrollBar*& slot, TspSkinScrollBar* value, TNotifyEvent onChange);

// Sends `window` WM_VSCROLL or WM_HSCROLL with SB_THUMBPOSITION for `position`, as an external bar's change does.
// The message's word holds only 16 bits, so the window's own bar is set to the position first: the window reads
// the whole value from it.
void SendThumbPosition(HWND window, bool vertical, int position);

// From a Notification: empties each of `slots` that points at `component` when it is being removed.
template <class... T> void Forget(TComponent* component, TOperation operation, T*&... slots)
{
    if (operation != opRemove)
        return;
    ((static_cast<TComponent*>(slots) == component ? void(slots = nullptr) : void()), ...);
}

} // namespace SkinLinks
