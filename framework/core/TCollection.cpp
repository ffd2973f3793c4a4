#include "framework/core/TCollection.h"

#include "framework/core/TList.h"

#include <algorithm>

namespace {

[[noreturn]] void IndexError(int index)
{
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

// Ends an update however the work inside it leaves.
class TUpdateScope {
public:
    explicit TUpdateScope(TCollection& collection)
        : FCollection(collection)
    {
        FCollection.BeginUpdate();
    }
    ~TUpdateScope() { FCollection.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TCollection& FCollection;
};

} // namespace

// --- TCollectionItem ---

TCollectionItem::TCollectionItem(TCollection* collection)
{
    if (collection)
        collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem()
{
    // NOTE: the derived item's destructors have run, so the collection's Notify(cnExtracting) sees only
    // this base. Delete and Clear take an item out before deleting it, so their observers see it whole.
    if (FCollection)
        FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* value)
{
    if (value == FCollection)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (value) {
        value->InsertItem(this);
        value->AnnounceItem(this);
    }
}

int TCollectionItem::Index() const
{
    if (!FCollection)
        return -1;
    const auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int value)
{
    int current = Index();
    if (current < 0 || current == value)
        return;
    auto& items = FCollection->FItems;
    if (value < 0 || value >= static_cast<int>(items.size()))
        IndexError(value);
    items.erase(items.begin() + current);
    items.insert(items.begin() + value, this);
    Changed(true);
}

void TCollectionItem::SetDisplayName(std::string_view)
{
    Changed(false);
}

TPersistent* TCollectionItem::GetOwner() const
{
    return FCollection;
}

std::string TCollectionItem::GetDisplayName() const
{
    return ClassName();
}

void TCollectionItem::Changed(bool allItems)
{
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(allItems ? nullptr : this);
}

// --- TCollection ---

TCollection::TCollection(TCollectionItemClass itemClass)
    : FItemClass(itemClass)
{
}

TCollection::~TCollection()
{
    // No Update while the collection goes: its observers are already gone.
    FUpdateCount = 1;
    Clear();
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = FItemClass(this);
    // An item class whose constructor does not pass the collection on still joins it.
    if (!item->FCollection)
        InsertItem(item);
    AnnounceItem(item);
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        IndexError(index);
    TUpdateScope scope(*this);
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = GetItem(index);
    Notify(item, cnDeleting);
    // The handler may have deleted it already.
    if (std::find(FItems.begin(), FItems.end(), item) == FItems.end())
        return;
    RemoveItem(item);
    delete item;
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    TUpdateScope scope(*this);
    while (!FItems.empty())
        Delete(Count() - 1);
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    auto it = std::find_if(FItems.begin(), FItems.end(), [id](const TCollectionItem* item) { return item->FID == id; });
    return it == FItems.end() ? nullptr : *it;
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    // An EndUpdate without its BeginUpdate must not hold back every later Update.
    if (FUpdateCount > 0)
        --FUpdateCount;
    Changed();
}

void TCollection::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        inherited::Assign(source);
        return;
    }
    // Clearing first would delete the very items to copy.
    if (other == this)
        return;
    TUpdateScope scope(*this);
    Clear();
    for (int i = 0; i < other->Count(); ++i)
        Add()->Assign(other->Items(i));
}

TCollectionItem* TCollection::GetItem(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return FItems[index];
}

void TCollection::SetItem(int index, TCollectionItem* value)
{
    GetItem(index)->Assign(value);
}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::Update(TCollectionItem*) { }

void TCollection::Notify(TCollectionItem*, TCollectionNotification) { }

void TCollection::InsertItem(TCollectionItem* item)
{
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
}

void TCollection::AnnounceItem(TCollectionItem* item)
{
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    Notify(item, cnExtracting);
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it != FItems.end())
        FItems.erase(it);
    item->FCollection = nullptr;
    Changed();
}

// --- TOwnedCollection ---

TOwnedCollection::TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass)
    : inherited(itemClass)
    , FOwner(owner)
{
}
