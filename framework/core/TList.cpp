#include "framework/core/TList.h"

#include "framework/core/StableSort.h"

#include <algorithm>
#include <string>

namespace {

// The largest count and capacity a list accepts, as the framework fixes it.
constexpr int MaxListSize = 0x7FFFFFFF / 16;

} // namespace

TList::~TList()
{
    Clear();
}

void TList::Error(const char* format, int data)
{
    std::string message = format;
    if (auto at = message.find("%d"); at != std::string::npos)
        message.replace(at, 2, std::to_string(data));
    throw EListError(message);
}

void TList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
}

void TList::Grow()
{
    int delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
    SetCapacity(std::min(FCapacity + delta, std::max(MaxListSize, FCapacity + 1)));
}

int TList::Add(void* item)
{
    int index = Count();
    if (index == FCapacity)
        Grow();
    FList.push_back(item);
    if (item)
        Notify(item, lnAdded);
    return index;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        Error("List index out of bounds (%d)", index);
    if (Count() == FCapacity)
        Grow();
    FList.insert(FList.begin() + index, item);
    if (item)
        Notify(item, lnAdded);
}

void TList::Delete(int index)
{
    CheckIndex(index);
    void* item = FList[index];
    FList.erase(FList.begin() + index);
    if (item)
        Notify(item, lnDeleted);
}

int TList::Remove(void* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* item)
{
    int index = IndexOf(item);
    if (index < 0)
        return nullptr;
    void* result = FList[index];
    FList.erase(FList.begin() + index);
    Notify(result, lnExtracted);
    return result;
}

int TList::IndexOf(void* item) const
{
    auto found = std::find(FList.begin(), FList.end(), item);
    return found == FList.end() ? -1 : static_cast<int>(found - FList.begin());
}

void TList::Clear()
{
    SetCount(0);
    SetCapacity(0);
}

void TList::SetCount(int count)
{
    if (count < 0 || count > MaxListSize)
        Error("List count out of bounds (%d)", count);
    if (count > FCapacity)
        SetCapacity(count);
    if (count > Count()) {
        FList.resize(count, nullptr);
        return;
    }
    // Deleting one by one from the end tells Notify about every pointer that leaves.
    while (Count() > count)
        Delete(Count() - 1);
}

void TList::SetCapacity(int capacity)
{
    if (capacity < Count() || capacity > MaxListSize)
        Error("List capacity out of bounds (%d)", capacity);
    if (capacity == FCapacity)
        return;
    if (capacity > FCapacity)
        FList.reserve(capacity);
    else
        FList.shrink_to_fit();
    FCapacity = capacity;
}

void* TList::Items(int index) const
{
    CheckIndex(index);
    return FList[index];
}

void TList::SetItems(int index, void* item)
{
    CheckIndex(index);
    void* old = FList[index];
    if (old == item)
        return;
    FList[index] = item;
    if (old)
        Notify(old, lnDeleted);
    if (item)
        Notify(item, lnAdded);
}

void TList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(FList[index1], FList[index2]);
}

void TList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    auto begin = FList.begin();
    if (curIndex < newIndex)
        std::rotate(begin + curIndex, begin + curIndex + 1, begin + newIndex + 1);
    else
        std::rotate(begin + newIndex, begin + curIndex, begin + curIndex + 1);
}

void TList::Pack()
{
    FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Sort(TListSortCompare compare)
{
    if (Count() < 2 || !compare)
        return;
    auto order = StableSortOrder(Count(), [&](int a, int b) { return compare(FList[a], FList[b]) < 0; });
    std::vector<void*> sorted;
    sorted.reserve(FCapacity);
    for (int index : order)
        sorted.push_back(FList[index]);
    FList.swap(sorted);
}

void TList::Notify(void*, TListNotification)
{
}
