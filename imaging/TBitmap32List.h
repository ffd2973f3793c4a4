// TBitmap32List, a component that keeps an indexed list of bitmaps, with its collection and items.
#pragma once
#include "framework/core/TComponent.h"
#include "framework/core/TPersistent.h"

#include <memory>
#include <vector>

class TBitmap32;
class TBitmap32Collection;

// One entry: owns its bitmap for its whole life.
class TBitmap32Item : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TBitmap32Item(TBitmap32Collection* collection);
    ~TBitmap32Item() override;

    TBitmap32* Bitmap() const { return FBitmap.get(); }
    // Copies value into the owned bitmap.
    void SetBitmap(TBitmap32* value);
    TBitmap32Collection* Collection() const { return FCollection; }
    int Index() const;

private:
    TBitmap32Collection* FCollection;
    std::unique_ptr<TBitmap32> FBitmap;
};

// The items of a bitmap list.
// NOTE: stands in for a collection of the framework's TCollection until framework core has one; it offers the
// part of it that the list uses.
class TBitmap32Collection : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TBitmap32Collection(TPersistent* owner);
    ~TBitmap32Collection() override;

    TBitmap32Item* Add();
    int Count() const { return static_cast<int>(FItems.size()); }
    // A bad index raises EListError "List index out of bounds (%d)".
    TBitmap32Item* Items(int index) const;
    // Assigns value to the stored item, which raises EConvertError: an item defines no copy.
    void SetItems(int index, TBitmap32Item* value);
    void Delete(int index);
    void Clear();
    // The owner given to the constructor, for the streaming system's naming.
    TPersistent* Owner() const { return FOwner; }
    // Copies another bitmap collection: as many items, each with a copy of the other's bitmap.
    void Assign(TPersistent* source) override;

private:
    TPersistent* FOwner;
    std::vector<std::unique_ptr<TBitmap32Item>> FItems;
};

class TBitmap32List : public TComponent {
    using inherited = TComponent;

public:
    explicit TBitmap32List(TComponent* owner);
    ~TBitmap32List() override;

    TBitmap32Collection* Bitmaps() const { return FBitmaps.get(); }
    // Copies the items of value into the list's own collection; the caller keeps value.
    void SetBitmaps(TBitmap32Collection* value);
    // The bitmap of item index (EListError for a bad index).
    TBitmap32* Bitmap(int index) const;
    // Copies value into the bitmap of item index.
    void SetBitmap(int index, TBitmap32* value);

private:
    std::unique_ptr<TBitmap32Collection> FBitmaps;
};
