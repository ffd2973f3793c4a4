#include "platform/win/GdiObjects.h"

#include <mutex>
#include <vector>

TGdiObject::~TGdiObject() = default;

bool TGdiObject::SolidColor(COLORREF&) const
{
    return false;
}

namespace {

// Handle value: generation in the high 32 bits, slot index above two tag bits (tag 1 marks GDI handles, so
// a window handle never passes for one). Slots are reused with a new generation.
struct TGdiSlot {
    uint32_t Generation = 1;
    std::unique_ptr<TGdiObject> Object;
};

struct TGdiTable {
    std::mutex Lock;
    std::vector<TGdiSlot> Slots;
    std::vector<uint32_t> Free;
    size_t Live = 0;

    ~TGdiTable()
    {
        // Objects that refer to others (DCs) go before everything else, whatever their order in the table.
        for (TGdiSlot& slot : Slots)
            if (slot.Object && slot.Object->HoldsReferences())
                slot.Object.reset();
    }
};

TGdiTable& Table()
{
    static TGdiTable table;
    return table;
}

constexpr uintptr_t kTag = 1;

HGDIOBJ Encode(uint32_t index, uint32_t generation)
{
    return reinterpret_cast<HGDIOBJ>((uintptr_t(generation) << 32) | (uintptr_t(index) << 2) | kTag);
}

// The slot of a handle with a matching generation; the table lock must be held.
TGdiSlot* Decode(TGdiTable& table, HGDIOBJ handle)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 3) != kTag)
        return nullptr;
    const uintptr_t index = (value & 0xFFFFFFFFu) >> 2;
    const uint32_t generation = static_cast<uint32_t>(value >> 32);
    if (index >= table.Slots.size())
        return nullptr;
    TGdiSlot& slot = table.Slots[index];
    if (slot.Generation != generation || !slot.Object)
        return nullptr;
    return &slot;
}

} // namespace

HGDIOBJ GdiAddObject(std::unique_ptr<TGdiObject> object)
{
    TGdiTable& table = Table();
    std::lock_guard lock(table.Lock);
    uint32_t index;
    if (!table.Free.empty()) {
        index = table.Free.back();
        table.Free.pop_back();
    } else {
        index = static_cast<uint32_t>(table.Slots.size());
        table.Slots.emplace_back();
    }
    TGdiSlot& slot = table.Slots[index];
    slot.Object = std::move(object);
    ++table.Live;
    return Encode(index, slot.Generation);
}

TGdiObject* GdiLookupObject(HGDIOBJ handle, DWORD objectType)
{
    TGdiTable& table = Table();
    std::lock_guard lock(table.Lock);
    TGdiSlot* slot = Decode(table, handle);
    if (!slot || (objectType != 0 && slot->Object->ObjectType() != objectType))
        return nullptr;
    return slot->Object.get();
}

size_t GdiObjectCount()
{
    TGdiTable& table = Table();
    std::lock_guard lock(table.Lock);
    return table.Live;
}

BOOL DeleteObject(HGDIOBJ handle)
{
    TGdiTable& table = Table();
    std::unique_ptr<TGdiObject> doomed;
    {
        std::lock_guard lock(table.Lock);
        TGdiSlot* slot = Decode(table, handle);
        if (!slot || !slot->Object->CanDelete())
            return FALSE;
        if (slot->Object->DeferDelete())
            return TRUE;
        doomed = std::move(slot->Object);
        ++slot->Generation;
        table.Free.push_back(static_cast<uint32_t>(slot - table.Slots.data()));
        --table.Live;
    }
    // Destroyed outside the lock: a kind's destructor may release other objects.
    doomed.reset();
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle)
{
    TGdiObject* object = GdiLookupObject(handle);
    return object ? object->ObjectType() : 0;
}
