#include "imaging/TBitmap32List.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"
#include "imaging/TBitmap32.h"

TBitmap32Item::TBitmap32Item(TBitmap32Collection* collection)
    : FCollection(collection)
    , FBitmap(std::make_unique<TBitmap32>())
{
}

TBitmap32Item::~TBitmap32Item() = default;

void TBitmap32Item::SetBitmap(TBitmap32* value)
{
    FBitmap->Assign(value);
}

int TBitmap32Item::Index() const
{
    if (!FCollection)
        return -1;
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->Items(i) == this)
            return i;
    return -1;
}

TBitmap32Collection::TBitmap32Collection(TPersistent* owner)
    : FOwner(owner)
{
}

TBitmap32Collection::~TBitmap32Collection() = default;

TBitmap32Item* TBitmap32Collection::Add()
{
    FItems.push_back(std::make_unique<TBitmap32Item>(this));
    return FItems.back().get();
}

TBitmap32Item* TBitmap32Collection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FItems[size_t(index)].get();
}

void TBitmap32Collection::SetItems(int index, TBitmap32Item* value)
{
    Items(index)->Assign(value);
}

void TBitmap32Collection::Delete(int index)
{
    Items(index);
    FItems.erase(FItems.begin() + index);
}

void TBitmap32Collection::Clear()
{
    FItems.clear();
}

void TBitmap32Collection::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TBitmap32Collection*>(source);
    if (!other) {
        inherited::Assign(source);
        return;
    }
    if (other == this)
        return;
    // Copies are made first, so a failed copy leaves this collection as it was.
    std::vector<std::unique_ptr<TBitmap32Item>> items;
    for (int i = 0; i < other->Count(); ++i) {
        items.push_back(std::make_unique<TBitmap32Item>(this));
        items.back()->SetBitmap(other->Items(i)->Bitmap());
    }
    FItems = std::move(items);
}

TBitmap32List::TBitmap32List(TComponent* owner)
    : inherited(owner)
    , FBitmaps(std::make_unique<TBitmap32Collection>(this))
{
}

TBitmap32List::~TBitmap32List() = default;

// Adopting the caller's collection would leave two owners of one object (a double free once the caller frees
// it), so the items are copied instead.
void TBitmap32List::SetBitmaps(TBitmap32Collection* value)
{
    if (!value) {
        FBitmaps->Clear();
        return;
    }
    FBitmaps->Assign(value);
}

TBitmap32* TBitmap32List::Bitmap(int index) const
{
    return FBitmaps->Items(index)->Bitmap();
}

void TBitmap32List::SetBitmap(int index, TBitmap32* value)
{
    FBitmaps->Items(index)->SetBitmap(value);
}
