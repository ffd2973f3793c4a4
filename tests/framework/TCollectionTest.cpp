#include "framework/core/TCollection.h"

#include "framework/core/TComponent.h"
#include "framework/core/TList.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class TNamedItem : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit TNamedItem(TCollection* collection)
        : inherited(collection)
    {
        ++Alive;
    }
    ~TNamedItem() override { --Alive; }

    std::string Name;
    static inline int Alive = 0;

    void SetName(std::string value)
    {
        Name = std::move(value);
        Changed(false);
    }
    void Assign(TPersistent* source) override
    {
        if (auto* other = dynamic_cast<TNamedItem*>(source)) {
            SetName(other->Name);
            return;
        }
        inherited::Assign(source);
    }

protected:
    std::string GetDisplayName() const override { return Name.empty() ? inherited::GetDisplayName() : Name; }
};

// Writes down what the collection tells its observers, by item name ("*" for all items).
class TLogCollection : public TCollection {
    using inherited = TCollection;

public:
    TLogCollection()
        : inherited(CollectionItemClass<TNamedItem>())
    {
    }
    TNamedItem* Add() { return static_cast<TNamedItem*>(inherited::Add()); }
    TNamedItem* Items(int index) const { return static_cast<TNamedItem*>(inherited::Items(index)); }
    TNamedItem* AddNamed(const std::string& name)
    {
        TNamedItem* item = Add();
        item->Name = name;
        return item;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < Count(); ++i)
            names.push_back(Items(i)->Name);
        return names;
    }

    std::vector<std::string> Log;

protected:
    void Update(TCollectionItem* item) override
    {
        Log.push_back("update " + (item ? static_cast<TNamedItem*>(item)->Name : std::string("*")));
    }
    void Notify(TCollectionItem* item, TCollectionNotification action) override
    {
        static const char* const Actions[] = { "added", "extracting", "deleting" };
        // An item deleted directly is already down to its base when it leaves.
        auto* named = dynamic_cast<TNamedItem*>(item);
        Log.push_back(std::string(Actions[action]) + " " + (named ? named->Name : std::string("(base)")));
    }
};

using TLog = std::vector<std::string>;

TEST(TCollectionTest, ItemsKeepOrderAndIdsAcrossInsertDeleteAndMoves)
{
    TLogCollection collection;
    for (const char* name : { "a", "b", "c" })
        collection.AddNamed(name);
    TNamedItem* d = static_cast<TNamedItem*>(collection.Insert(1));
    d->Name = "d";
    EXPECT_EQ(collection.Names(), (TLog{ "a", "d", "b", "c" }));
    EXPECT_EQ(d->ID(), 3);
    EXPECT_EQ(d->Index(), 1);
    EXPECT_EQ(d->Collection(), &collection);

    collection.Delete(0);
    collection.Items(2)->SetIndex(0); // c to the front
    EXPECT_EQ(collection.Names(), (TLog{ "c", "d", "b" }));
    // IDs stay with their items and are never given again.
    EXPECT_EQ(collection.AddNamed("e")->ID(), 4);
    EXPECT_EQ(collection.FindItemID(3), d);
    EXPECT_EQ(collection.FindItemID(0), nullptr);
    EXPECT_EQ(collection.Items(0)->ID(), 2);

    // Deleting an item directly takes it out of the collection.
    collection.Log.clear();
    delete collection.Items(1);
    EXPECT_EQ(collection.Names(), (TLog{ "c", "b", "e" }));
    EXPECT_EQ(collection.Log, (TLog{ "extracting (base)", "update *" }));
}

TEST(TCollectionTest, BadIndexesRaiseListErrorsAndChangeNothing)
{
    TLogCollection collection;
    collection.AddNamed("a");
    collection.AddNamed("b");
    struct TCase {
        const char* What;
        std::function<void()> Call;
        const char* Message;
    };
    const TCase cases[] = {
        { "Items", [&] { collection.Items(2); }, "List index out of bounds (2)" },
        { "Delete", [&] { collection.Delete(-1); }, "List index out of bounds (-1)" },
        { "Insert", [&] { collection.Insert(3); }, "List index out of bounds (3)" },
        { "SetIndex", [&] { collection.Items(0)->SetIndex(2); }, "List index out of bounds (2)" },
        { "SetItems", [&] { collection.SetItems(5, collection.Items(0)); }, "List index out of bounds (5)" },
    };
    for (const TCase& c : cases) {
        try {
            c.Call();
            ADD_FAILURE() << c.What << " raised nothing";
        } catch (const EListError& error) {
            EXPECT_EQ(error.Message(), c.Message) << c.What;
        }
        EXPECT_EQ(collection.Names(), (TLog{ "a", "b" })) << c.What;
    }
    EXPECT_EQ(TNamedItem::Alive, 2);
}

TEST(TCollectionTest, ObserversHearAdditionsRemovalsAndChanges)
{
    TLogCollection collection;
    TNamedItem* a = collection.AddNamed("a");
    collection.AddNamed("b");
    collection.Log.clear();

    a->SetName("x");
    EXPECT_EQ(collection.Log, (TLog{ "update x" }));
    collection.Log.clear();

    a->SetIndex(1);
    EXPECT_EQ(collection.Log, (TLog{ "update *" }));
    collection.Log.clear();

    collection.Delete(0);
    EXPECT_EQ(collection.Log, (TLog{ "deleting b", "extracting b", "update *" }));
    collection.Log.clear();

    // An item moved to another collection leaves one and is announced in the other.
    TLogCollection other;
    a->SetCollection(&other);
    EXPECT_EQ(collection.Log, (TLog{ "extracting x", "update *" }));
    EXPECT_EQ(other.Log, (TLog{ "added x", "update *" }));
    EXPECT_EQ(collection.Count(), 0);
    EXPECT_EQ(a->Index(), 0);
    a->SetCollection(nullptr);
    EXPECT_EQ(a->Index(), -1);
    delete a;
}

TEST(TCollectionTest, UpdatesInsideBeginEndUpdateBecomeOne)
{
    TLogCollection collection;
    collection.BeginUpdate();
    collection.BeginUpdate();
    EXPECT_EQ(collection.UpdateCount(), 2);
    collection.AddNamed("a");
    collection.AddNamed("b")->SetName("c");
    collection.Insert(0);
    collection.EndUpdate();
    EXPECT_EQ(collection.UpdateCount(), 1);
    collection.Delete(0);
    // Items still come and go one by one; only Update waits.
    EXPECT_EQ(collection.Log, (TLog{ "added ", "added ", "added ", "deleting ", "extracting " }));
    collection.Log.clear();
    collection.EndUpdate();
    EXPECT_EQ(collection.Log, (TLog{ "update *" }));

    // Clear deletes newest first and updates once.
    collection.Log.clear();
    collection.Clear();
    EXPECT_EQ(collection.Log, (TLog{ "deleting c", "extracting c", "deleting a", "extracting a", "update *" }));

    // An unmatched EndUpdate does not hold back later updates.
    collection.EndUpdate();
    collection.Log.clear();
    collection.AddNamed("z");
    EXPECT_EQ(collection.UpdateCount(), 0);
    EXPECT_EQ(collection.Log, (TLog{ "added ", "update *" }));
}

TEST(TCollectionTest, AssignCopiesItemsAndRefusesOtherClasses)
{
    TLogCollection source;
    source.AddNamed("a");
    source.AddNamed("b");
    TLogCollection copy;
    copy.AddNamed("old");
    copy.Log.clear();
    copy.Assign(&source);
    EXPECT_EQ(copy.Names(), (TLog{ "a", "b" }));
    EXPECT_NE(copy.Items(0), source.Items(0));
    EXPECT_EQ(copy.Log.back(), "update *");
    EXPECT_EQ(std::count(copy.Log.begin(), copy.Log.end(), "update *"), 1);

    // A collection assigned to itself keeps its items.
    copy.Assign(&copy);
    EXPECT_EQ(copy.Names(), (TLog{ "a", "b" }));

    // Writing an item copies into the collection's own item.
    copy.SetItems(0, source.Items(1));
    EXPECT_EQ(copy.Names(), (TLog{ "b", "b" }));

    TComponent component(nullptr);
    EXPECT_THROW(copy.Assign(&component), EConvertError);
    EXPECT_THROW(copy.Items(0)->Assign(&component), EConvertError);
    EXPECT_THROW(TCollectionItem(nullptr).Assign(copy.Items(0)), EConvertError);
}

TEST(TCollectionTest, OwnersAndDisplayNames)
{
    TComponent owner(nullptr);
    TComponent child(&owner);
    TOwnedCollection owned(&child, CollectionItemClass<TNamedItem>());
    TLogCollection plain;
    auto* item = static_cast<TNamedItem*>(owned.Add());
    EXPECT_EQ(item->GetOwner(), &owned);
    EXPECT_EQ(owned.Owner(), &child);
    EXPECT_EQ(child.GetOwner(), &owner);
    EXPECT_EQ(plain.Owner(), nullptr);

    EXPECT_EQ(item->DisplayName(), "TNamedItem");
    item->Name = "Width";
    EXPECT_EQ(item->DisplayName(), "Width");
    EXPECT_EQ(TCollectionItem(nullptr).DisplayName(), "TCollectionItem");
}

TEST(TCollectionTest, TheCollectionDeletesItsItems)
{
    int before = TNamedItem::Alive;
    {
        TLogCollection collection;
        for (int i = 0; i < 5; ++i)
            collection.Add();
        EXPECT_EQ(TNamedItem::Alive, before + 5);
    }
    EXPECT_EQ(TNamedItem::Alive, before);
}

} // namespace
