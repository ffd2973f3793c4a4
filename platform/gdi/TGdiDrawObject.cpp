#include "platform/gdi/TGdiDrawObject.h"

bool TGdiDrawObject::DeferDelete()
{
    if (FStock)
        return true;
    std::lock_guard lock(FLock);
    if (FSelections == 0)
        return false;
    FDeletePending = true;
    return true;
}

bool TGdiDrawObject::AddSelection(const void* dc)
{
    std::lock_guard lock(FLock);
    if (FExclusive && !FStock && FSelections > 0 && FOwner != dc)
        return false;
    FOwner = dc;
    ++FSelections;
    return true;
}

void TGdiDrawObject::ReleaseSelection()
{
    bool deleteNow = false;
    HGDIOBJ handle = FHandle;
    {
        std::lock_guard lock(FLock);
        if (--FSelections == 0) {
            FOwner = nullptr;
            deleteNow = FDeletePending;
        }
    }
    // Outside the lock: the table calls DeferDelete, which takes it again.
    if (deleteNow)
        DeleteObject(handle);
}

const void* TGdiDrawObject::SelectedBy() const
{
    std::lock_guard lock(FLock);
    return FSelections > 0 ? FOwner : nullptr;
}
