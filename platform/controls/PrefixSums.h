// Running totals over a sequence of counts (characters per line, rows per line) that are edited near one place
// at a time. The counts sit in a gap buffer whose gap follows the edits: an item before the gap keeps the sum of
// the counts before it, an item after the gap the sum of the counts from it to the end. A change at the gap
// therefore leaves every kept sum right, so typing or breaking a line in a long text costs nothing for the
// other lines, and a start is one look-up (a search by offset is a binary search). Moving the gap elsewhere
// recomputes the sums of the items it passes.
#pragma once
#include "platform/controls/GapBuffer.h"

#include <algorithm>
#include <vector>

class PrefixSums {
public:
    int Size() const { return items_.Size(); }
    int Count(int i) const { return items_[i].count; }
    long long Total() const { return total_; }

    void Assign(const std::vector<int>& counts)
    {
        std::vector<Item> items(counts.size());
        total_ = 0;
        for (size_t i = 0; i < counts.size(); ++i) {
            items[i] = {counts[i], total_};
            total_ += counts[i];
        }
        items_.Assign(std::move(items));
    }
    void Set(int i, int count)
    {
        MoveGap(i + 1);
        total_ += count - items_[i].count;
        items_[i].count = count;
    }
    void Insert(int i, const std::vector<int>& counts) { Insert(i, counts.data(), static_cast<int>(counts.size())); }
    void Insert(int i, const int* counts, int n)
    {
        MoveGap(i);
        long long start = Start(i);
        items_.Insert(i, n);
        for (int k = 0; k < n; ++k) {
            items_[i + k] = {counts[k], start};
            start += counts[k];
            total_ += counts[k];
        }
    }
    // Items first..first+removed-1 become `counts`: the overlap is set in place and only the difference is
    // inserted or erased.
    void Replace(int first, int removed, const std::vector<int>& counts)
    {
        int inserted = static_cast<int>(counts.size());
        int common = std::min(removed, inserted);
        MoveGap(first + common);
        long long start = Start(first);
        for (int i = 0; i < common; ++i) {
            total_ += counts[i] - items_[first + i].count;
            items_[first + i] = {counts[i], start};
            start += counts[i];
        }
        if (removed > inserted)
            Erase(first + common, first + removed);
        else if (inserted > removed)
            Insert(first + common, counts.data() + common, inserted - common);
    }
    void Erase(int first, int last)
    {
        MoveGap(first);
        for (int i = first; i < last; ++i)
            total_ -= items_[i].count;
        items_.Erase(first, last);
    }

    // Sum of the counts before item i (i may equal Size()).
    long long Start(int i) const
    {
        if (i >= Size())
            return total_;
        return i < items_.GapStart() ? items_[i].sum : total_ - items_[i].sum;
    }
    // The item holding offset `at` (the last one whose start is <= at); Size()-1 past the end.
    int Find(long long at) const
    {
        if (Size() == 0)
            return 0;
        if (at >= total_)
            return Size() - 1;
        // Starts never decrease: the first item starting beyond `at`, less one.
        int low = 0, high = Size();
        while (low < high) {
            int middle = low + (high - low) / 2;
            if (Start(middle) <= at)
                low = middle + 1;
            else
                high = middle;
        }
        return std::max(low - 1, 0);
    }

private:
    struct Item {
        int count = 0;
        long long sum = 0; // before the gap: the counts before this item; after it: this and the counts after
    };

    // Moves the gap to before item `at` and gives the items that crossed it the sum their new side keeps.
    void MoveGap(int at)
    {
        int from = items_.GapStart();
        items_.MoveGap(at);
        for (int i = from - 1; i >= at; --i)
            items_[i].sum = items_[i].count + (i + 1 < Size() ? items_[i + 1].sum : 0);
        for (int i = from; i < at; ++i)
            items_[i].sum = i == 0 ? 0 : items_[i - 1].sum + items_[i - 1].count;
    }

    GapBuffer<Item> items_;
    long long total_ = 0;
};
