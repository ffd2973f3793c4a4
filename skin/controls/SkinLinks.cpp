#include "skin/controls/SkinLinks.h"

#include "platform/win/ScrollBars.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/TspSkinData.h"

namespace SkinLinks {

bool WatchSkin(TComponent* owner, TspSkinData*& slot, TspSkinData* value)
{
    Watch(owner, slot, value);
    return value && !value->Empty && !owner->ComponentState().Contains(csDesigning);
}

void LinkViewBar(TComponent* owner, TspSkinScrollBar*& slot, TspSkinScrollBar* value, TNotifyEvent onChange)
{
    Watch(owner, slot, value);
    if (!value)
        return;
    value->SetEnabled(true);
    value->SetVisible(false);
    value->OnChange = std::move(onChange);
}

void SendThumbPosition(HWND window, bool vertical, int position)
{
    if (!window)
        return;
    SetScrollPos(window, vertical ? SB_VERT : SB_HORZ, position, FALSE);
    SendMessage(window, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, WORD(position)), 0);
}

} // namespace SkinLinks
