#include "platform/gdi/TGdiDrawObject.h"

bool TGdiDrawObject::DeferDelete()
{
    if (FStock)
        return true;
    uint32_t state = FState.load(std::memory_order_acquire);
    do {
        if ((state & ~kDeletePending) == 0)
            return false;
    } while (!FState.compare_exchange_weak(state, state | kDeletePending, std::memory_order_acq_rel));
    return true;
}

bool TGdiDrawObject::AddSelection(const void* dc)
{
    if (FStock)
        return true;
    if (!FExclusive) {
        FState.fetch_add(1, std::memory_order_relaxed);
        return true;
    }
    std::lock_guard lock(FLock);
    if ((FState.load(std::memory_order_relaxed) & ~kDeletePending) > 0 && FOwner != dc)
        return false;
    FOwner = dc;
    FState.fetch_add(1, std::memory_order_relaxed);
    return true;
}

void TGdiDrawObject::ReleaseSelection()
{
    if (FStock)
        return;
    const HGDIOBJ handle = FHandle;
    uint32_t before;
    if (!FExclusive) {
        before = FState.fetch_sub(1, std::memory_order_acq_rel);
    } else {
        std::lock_guard lock(FLock);
        before = FState.fetch_sub(1, std::memory_order_acq_rel);
        if ((before & ~kDeletePending) == 1)
            FOwner = nullptr;
    }
    // The last selection of an object whose deletion waited deletes it (outside the lock: the table calls
    // DeferDelete again).
    if (before == (kDeletePending | 1))
        DeleteObject(handle);
}
