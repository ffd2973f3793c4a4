// TList, the framework's list of untyped pointers, and the EListError it raises.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TObject.h"

#include <cstdint>
#include <vector>

// Raised for a bad index ("List index out of bounds (%d)"), capacity or count.
class EListError : public Exception {
public:
    using Exception::Exception;
};

enum TListNotification : uint8_t { lnAdded, lnExtracted, lnDeleted };

// <0 when item1 sorts before item2, 0 when equal, >0 after.
using TListSortCompare = int (*)(void* item1, void* item2);

// A list of pointers it does not own. Subclasses learn of every non-null pointer that enters or
// leaves through Notify.
class TList : public TObject {
    using inherited = TObject;

public:
    TList() = default;
    // NOTE: a subclass that needs lnDeleted for the remaining items must call Clear in its own
    // destructor; by the time this one runs, its Notify is no longer reachable.
    ~TList() override;

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    // Deletes the first occurrence of `item`; returns its old index, or -1 when absent.
    int Remove(void* item);
    // Takes the first occurrence of `item` out with lnExtracted; returns it, or nullptr when absent.
    void* Extract(void* item);
    int IndexOf(void* item) const;
    void Clear();

    int Count() const { return static_cast<int>(FList.size()); }
    // Grows with nullptr, or deletes items from the end.
    void SetCount(int count);
    int Capacity() const { return FCapacity; }
    void SetCapacity(int capacity);
    void* Items(int index) const;
    void SetItems(int index, void* item);
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    // Drops every nullptr.
    void Pack();
    // Stable: equal items keep their order. Safe with an inconsistent compare function.
    void Sort(TListSortCompare compare);

protected:
    virtual void Notify(void* ptr, TListNotification action);

    [[noreturn]] static void Error(const char* format, int data);

private:
    void CheckIndex(int index) const;
    void Grow();

    std::vector<void*> FList;
    int FCapacity = 0;
};
