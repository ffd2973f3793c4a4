#include "framework/core/TList.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The items are pointers into this array; their values are sort keys with ties (i % 3).
int Values[16] = { 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0 };

void* P(int i)
{
    return &Values[i];
}

std::vector<int> Contents(const TList& list)
{
    std::vector<int> result;
    for (int i = 0; i < list.Count(); ++i)
        result.push_back(list.Items(i) ? static_cast<int>(static_cast<int*>(list.Items(i)) - Values) : -1);
    return result;
}

void Fill(TList& list, int count)
{
    for (int i = 0; i < count; ++i)
        list.Add(P(i));
}

// Records every notification, to check which pointers the list reports entering and leaving.
class TRecordingList : public TList {
public:
    ~TRecordingList() override { Clear(); }
    std::vector<std::string> Log;

protected:
    void Notify(void* ptr, TListNotification action) override
    {
        static const char* const names[] = { "added", "extracted", "deleted" };
        Log.push_back(std::string(names[action]) + " " + std::to_string(static_cast<int*>(ptr) - Values));
    }
};

} // namespace

TEST(TList, BadIndicesRaiseWithTheirValue)
{
    struct Case {
        const char* name;
        std::function<void(TList&)> action;
        const char* message;
    };
    const Case kCases[] = {
        { "Items(-1)", [](TList& l) { l.Items(-1); }, "List index out of bounds (-1)" },
        { "Items(Count)", [](TList& l) { l.Items(3); }, "List index out of bounds (3)" },
        { "SetItems(Count)", [](TList& l) { l.SetItems(3, nullptr); }, "List index out of bounds (3)" },
        { "Delete(Count)", [](TList& l) { l.Delete(3); }, "List index out of bounds (3)" },
        { "Insert(Count+1)", [](TList& l) { l.Insert(4, nullptr); }, "List index out of bounds (4)" },
        { "Insert(-1)", [](TList& l) { l.Insert(-1, nullptr); }, "List index out of bounds (-1)" },
        { "Exchange second", [](TList& l) { l.Exchange(0, 7); }, "List index out of bounds (7)" },
        { "Move to Count", [](TList& l) { l.Move(0, 3); }, "List index out of bounds (3)" },
        { "Move from -2", [](TList& l) { l.Move(-2, 0); }, "List index out of bounds (-2)" },
        { "SetCount(-1)", [](TList& l) { l.SetCount(-1); }, "List count out of bounds (-1)" },
        { "SetCapacity below Count", [](TList& l) { l.SetCapacity(2); }, "List capacity out of bounds (2)" },
        { "SetCapacity(-5)", [](TList& l) { l.SetCapacity(-5); }, "List capacity out of bounds (-5)" },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TList list;
        Fill(list, 3);
        try {
            c.action(list);
            ADD_FAILURE() << "no exception";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_EQ(Contents(list), (std::vector<int> { 0, 1, 2 })) << "a refused operation changes nothing";
    }

    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
}

TEST(TList, MoveAndExchange)
{
    struct Case {
        const char* name;
        std::function<void(TList&)> action;
        std::vector<int> expected;
    };
    const Case kCases[] = {
        { "move forward", [](TList& l) { l.Move(1, 3); }, { 0, 2, 3, 1, 4 } },
        { "move backward", [](TList& l) { l.Move(4, 0); }, { 4, 0, 1, 2, 3 } },
        { "move to itself", [](TList& l) { l.Move(2, 2); }, { 0, 1, 2, 3, 4 } },
        { "exchange ends", [](TList& l) { l.Exchange(0, 4); }, { 4, 1, 2, 3, 0 } },
        { "exchange itself", [](TList& l) { l.Exchange(2, 2); }, { 0, 1, 2, 3, 4 } },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        TList list;
        Fill(list, 5);
        c.action(list);
        EXPECT_EQ(Contents(list), c.expected);
    }
}

TEST(TList, SortIsStableAndSurvivesAnInconsistentCompare)
{
    // Many ties, so stability shows in the order of the pointers.
    TList list;
    for (int i = 15; i >= 0; --i)
        list.Add(P(i));
    list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
    EXPECT_EQ(Contents(list), (std::vector<int> { 15, 12, 9, 6, 3, 0, 13, 10, 7, 4, 1, 14, 11, 8, 5, 2 }));

    // A compare function that answers at random and contradicts itself must still leave every
    // pointer in the list exactly once (ASan watches the bounds).
    static unsigned seed;
    seed = 12345;
    TList big;
    for (int round = 0; round < 200; ++round)
        big.Add(P(round % 16));
    big.Sort([](void*, void*) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % 3) - 1;
    });
    std::vector<int> after = Contents(big);
    std::vector<int> expected;
    for (int round = 0; round < 200; ++round)
        expected.push_back(round % 16);
    std::sort(after.begin(), after.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(after, expected);
}

TEST(TList, CountNilsAndSearch)
{
    TList list;
    Fill(list, 3);
    list.SetCount(5);
    EXPECT_EQ(Contents(list), (std::vector<int> { 0, 1, 2, -1, -1 }));
    EXPECT_GE(list.Capacity(), 5);
    list.Insert(1, nullptr);
    list.Pack();
    EXPECT_EQ(Contents(list), (std::vector<int> { 0, 1, 2 }));

    list.Add(P(1));
    EXPECT_EQ(list.IndexOf(P(1)), 1);
    EXPECT_EQ(list.Remove(P(1)), 1) << "Remove drops the first occurrence";
    EXPECT_EQ(Contents(list), (std::vector<int> { 0, 2, 1 }));
    EXPECT_EQ(list.Remove(P(9)), -1);
    EXPECT_EQ(list.Extract(P(9)), nullptr);
    EXPECT_EQ(list.Extract(P(2)), P(2));
    EXPECT_EQ(list.First(), P(0));
    EXPECT_EQ(list.Last(), P(1));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(TList, NotifiesEveryPointerThatEntersOrLeaves)
{
    TRecordingList list;
    list.Add(P(0));
    list.Add(nullptr);
    list.Insert(0, P(1));
    list.SetItems(2, P(2));
    list.SetItems(2, P(3));
    list.Extract(P(0));
    list.Remove(P(1));
    list.Add(P(4));
    list.SetCount(1);
    list.Move(0, 0);
    list.Clear();
    EXPECT_EQ(list.Log,
        (std::vector<std::string> { "added 0", "added 1", "added 2", "deleted 2", "added 3", "extracted 0", "deleted 1",
            "added 4", "deleted 4", "deleted 3" }));
}
