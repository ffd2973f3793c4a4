#include "platform/win/GdiObjects.h"

#include <atomic>
#include <mutex>
#include <new>
#include <vector>

TGdiObject::~TGdiObject() = default;

bool TGdiObject::SolidColor(COLORREF&) const
{
    return false;
}

namespace {

// Handle value: generation in the high 32 bits, slot index above two tag bits (tag 1 marks GDI handles, so
// a window handle never passes for one). Slots are reused with a new generation.
//
// Every drawing call looks handles up. The table is safe for any thread (a conversion job calls its preview
// hook on its worker thread), yet a lookup takes no lock: slots live in blocks that never move once made, and
// a slot's object and generation are atomics. Adding and deleting still take the lock, which orders them.
struct TGdiSlot {
    std::atomic<uint32_t> Generation { 1 };
    std::atomic<TGdiObject*> Object { nullptr };
};

constexpr size_t kBlockSlots = 4096;
// 2^28 slots: far beyond any live count, with the block pointers in 512 KB of zeroed memory.
constexpr size_t kMaxBlocks = 65536;

// The block pointers live in static zeroed memory (untouched pages cost nothing), so a lookup reaches its block
// without first making or finding the table.
constinit std::atomic<TGdiSlot*> GBlocks[kMaxBlocks] {};

TGdiSlot* SlotAt(size_t index)
{
    TGdiSlot* block = GBlocks[index / kBlockSlots].load(std::memory_order_acquire);
    return block ? &block[index % kBlockSlots] : nullptr;
}

struct TGdiTable {
    std::mutex Lock;
    uint32_t Used = 0; // slots ever handed out, under the lock
    std::vector<uint32_t> Free;
    size_t Live = 0;

    ~TGdiTable()
    {
        // Objects that refer to others (DCs) go before everything else, whatever their order in the table.
        for (bool referring : { true, false })
            for (uint32_t i = 0; i < Used; ++i) {
                TGdiObject* object = SlotAt(i)->Object.load(std::memory_order_relaxed);
                if (object && object->HoldsReferences() == referring) {
                    SlotAt(i)->Object.store(nullptr, std::memory_order_relaxed);
                    delete object;
                }
            }
        for (size_t b = 0; b < kMaxBlocks; ++b)
            delete[] GBlocks[b].exchange(nullptr, std::memory_order_relaxed);
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

// The slot of a handle and its object when the generation matches. The object is read before the generation:
// a slot deleted and filled again shows either the old pair or a newer generation, never a new object under
// the old generation.
TGdiSlot* Decode(HGDIOBJ handle, TGdiObject*& object)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 3) != kTag)
        return nullptr;
    const uintptr_t index = (value & 0xFFFFFFFFu) >> 2;
    const uint32_t generation = static_cast<uint32_t>(value >> 32);
    if (index >= kBlockSlots * kMaxBlocks)
        return nullptr;
    TGdiSlot* slot = SlotAt(index);
    if (!slot)
        return nullptr;
    object = slot->Object.load(std::memory_order_acquire);
    if (!object || slot->Generation.load(std::memory_order_acquire) != generation)
        return nullptr;
    return slot;
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
        if (table.Used == kBlockSlots * kMaxBlocks)
            throw std::bad_alloc();
        index = table.Used++;
        std::atomic<TGdiSlot*>& block = GBlocks[index / kBlockSlots];
        if (!block.load(std::memory_order_relaxed))
            block.store(new TGdiSlot[kBlockSlots], std::memory_order_release);
    }
    TGdiSlot* slot = SlotAt(index);
    slot->Object.store(object.release(), std::memory_order_release);
    ++table.Live;
    return Encode(index, slot->Generation.load(std::memory_order_relaxed));
}

TGdiObject* GdiLookupObject(HGDIOBJ handle, DWORD objectType)
{
    TGdiObject* object = nullptr;
    if (!Decode(handle, object) || (objectType != 0 && object->ObjectType() != objectType))
        return nullptr;
    return object;
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
        TGdiObject* object = nullptr;
        TGdiSlot* slot = Decode(handle, object);
        if (!slot || !object->CanDelete())
            return FALSE;
        if (object->DeferDelete())
            return TRUE;
        doomed.reset(object);
        slot->Object.store(nullptr, std::memory_order_release);
        slot->Generation.fetch_add(1, std::memory_order_release);
        table.Free.push_back(static_cast<uint32_t>((reinterpret_cast<uintptr_t>(handle) & 0xFFFFFFFFu) >> 2));
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
