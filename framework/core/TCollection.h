// TCollection and TCollectionItem, the framework's owned, ordered and numbered lists of persistent items.
#pragma once
#include "framework/core/TPersistent.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TCollection;
class TCollectionItem;

// Makes a new item of the collection's item class inside `collection`. A collection is made with the
// maker of its item class, usually CollectionItemClass<TMyItem>.
using TCollectionItemClass = TCollectionItem* (*)(TCollection* collection);

template <class TItem> TCollectionItem* CreateCollectionItem(TCollection* collection)
{
    return new TItem(collection);
}
template <class TItem> constexpr TCollectionItemClass CollectionItemClass()
{
    return &CreateCollectionItem<TItem>;
}

enum TCollectionNotification : uint8_t { cnAdded, cnExtracting, cnDeleting };

// One item of a collection. The collection owns its items; deleting an item takes it out first.
class TCollectionItem : public TPersistent {
    using inherited = TPersistent;

public:
    // Joins `collection` (when given) at its end with the collection's next ID, so the item's Index
    // and Collection are valid in derived constructors. The collection's Add tells the collection's
    // observers (Notify, Update) once the item is fully made; an item built directly, outside Add,
    // joins without that notice.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item into another collection (or out of any with nullptr), telling both.
    virtual void SetCollection(TCollection* value);
    // Unique within the collection over its whole life: IDs of deleted items are not given again.
    int ID() const { return FID; }
    // The position in the collection, -1 outside one.
    int Index() const;
    // Moves the item to `value` (EListError "List index out of bounds (%d)" for a bad one) and tells
    // the collection that all items changed.
    virtual void SetIndex(int value);
    std::string DisplayName() const { return GetDisplayName(); }
    virtual void SetDisplayName(std::string_view value);

    // The collection.
    TPersistent* GetOwner() const override;

protected:
    // The name shown for the item in lists of items; the class name unless a derived item knows better.
    virtual std::string GetDisplayName() const;
    // Tells the collection that this item (allItems false) or every item changed, unless it is
    // inside BeginUpdate/EndUpdate.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// An ordered list of items of one class that it owns. Observers in derived collections override Update
// (something changed: one item, or all when the item is nullptr) and Notify (an item came or is leaving).
class TCollection : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TCollection(TCollectionItemClass itemClass);
    ~TCollection() override;

    // A new item of the item class at the end.
    TCollectionItem* Add();
    // A new item at `index` (0..Count, else EListError and nothing is added).
    TCollectionItem* Insert(int index);
    // Deletes the item at `index` (EListError for a bad one).
    void Delete(int index);
    // Deletes every item with one Update at the end.
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError "List index out of bounds (%d)" for a bad index.
    TCollectionItem* Items(int index) const { return GetItem(index); }
    // Copies `value` into the item at `index`; the collection keeps its own item.
    void SetItems(int index, TCollectionItem* value) { SetItem(index, value); }
    // The item with that ID, or nullptr.
    TCollectionItem* FindItemID(int id) const;
    TCollectionItemClass ItemClass() const { return FItemClass; }

    // Holds back Update until the matching EndUpdate, which sends one Update(nullptr). Nests.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    TPersistent* Owner() const { return GetOwner(); }
    // From another collection: as many new items, each assigned from the source's item in turn, with
    // a single Update at the end. Anything else goes to TPersistent (EConvertError).
    void Assign(TPersistent* source) override;

protected:
    TCollectionItem* GetItem(int index) const;
    void SetItem(int index, TCollectionItem* value);
    // Tells Update that everything changed, unless inside BeginUpdate/EndUpdate.
    void Changed();
    virtual void Update(TCollectionItem* item);
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void AnnounceItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TCollectionItemClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
};

// A collection that reports the object it belongs to (a control's sections, columns or panels) as its
// owner. The owner is not owned.
class TOwnedCollection : public TCollection {
    using inherited = TCollection;

public:
    TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass);
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};
