#include "skin/controls/SkinLinks.h"

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

} // namespace SkinLinks
