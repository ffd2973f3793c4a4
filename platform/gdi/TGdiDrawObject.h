// TGdiDrawObject, the base of the objects a DC selects (pens, brushes, fonts, bitmaps, palettes): its handle,
// selection references, deferred deletion and stock status; and TSelected, the reference a DC state holds.
#pragma once
#include "platform/win/GdiObjects.h"

#include <atomic>
#include <memory>
#include <mutex>

class TGdiDrawObject : public TGdiObject {
    using inherited = TGdiObject;

public:
    explicit TGdiDrawObject(DWORD objectType)
        : TGdiObject(objectType)
    {
    }

    HGDIOBJ Handle() const { return FHandle; }
    bool Stock() const { return FStock; }
    // Stock objects live for the whole process; DeleteObject on them succeeds and does nothing, and their selections
    // are not counted. Made so before the object is shared.
    void MakeStock() { FStock = true; }

    // A selected object is deleted when its last selection goes; DeleteObject reports success at once.
    bool DeferDelete() override;

    // Takes a selection reference for `dc`. An exclusive object (a bitmap) refuses a second DC.
    bool AddSelection(const void* dc);
    // Takes one more reference for a DC state copied from one that holds the object.
    void AddReference()
    {
        if (!FStock)
            FState.fetch_add(1, std::memory_order_relaxed);
    }
    // Drops one; deletes the object when a deletion was deferred and this was the last reference.
    void ReleaseSelection();

protected:
    void SetExclusive() { FExclusive = true; }

private:
    template <class T> friend HGDIOBJ GdiAddDrawObject(std::unique_ptr<T> object);

    HGDIOBJ FHandle = nullptr;
    bool FStock = false;
    bool FExclusive = false;
    // The number of selections, with kDeletePending once a deletion waits for the last of them. Objects that any
    // number of DCs may hold count without a lock: DCs select and copy states all the time.
    static constexpr uint32_t kDeletePending = 1u << 31;
    std::atomic<uint32_t> FState { 0 };
    // An exclusive object's owner changes with its count under this lock.
    std::mutex FLock;
    const void* FOwner = nullptr;
};

// Adds the object to the GDI table and tells it its handle.
template <class T> HGDIOBJ GdiAddDrawObject(std::unique_ptr<T> object)
{
    T* raw = object.get();
    HGDIOBJ handle = GdiAddObject(std::move(object));
    raw->FHandle = handle;
    return handle;
}

// A counted reference from a DC state to a selected object, so the object outlives every state that names it.
template <class T> class TSelected final {
public:
    TSelected() = default;
    TSelected(T* object, const void* dc)
    {
        if (object && object->AddSelection(dc))
            FObject = object;
    }
    TSelected(const TSelected& other)
        : FObject(other.FObject)
    {
        if (FObject)
            FObject->AddReference();
    }
    TSelected& operator=(const TSelected& other)
    {
        if (this != &other) {
            TSelected copy(other);
            std::swap(FObject, copy.FObject);
        }
        return *this;
    }
    TSelected(TSelected&& other) noexcept
        : FObject(other.FObject)
    {
        other.FObject = nullptr;
    }
    TSelected& operator=(TSelected&& other) noexcept
    {
        std::swap(FObject, other.FObject);
        return *this;
    }
    ~TSelected()
    {
        if (FObject)
            FObject->ReleaseSelection();
    }

    T* Get() const { return FObject; }
    T* operator->() const { return FObject; }
    explicit operator bool() const { return FObject != nullptr; }
    HGDIOBJ Handle() const { return FObject ? FObject->Handle() : nullptr; }

private:
    T* FObject = nullptr;
};
