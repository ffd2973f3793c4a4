// The stable merge sort behind TList::Sort and TStringList::CustomSort, safe with any compare function.
#pragma once
#include <vector>

// Returns the order of `count` items (a permutation of 0..count-1) sorted by `less(i, j)`, which
// compares the items at original positions i and j. Equal items keep their order. Every loop is
// bounded by positions alone, so a compare function that contradicts itself yields some
// permutation instead of running out of bounds or forever, as std::sort and std::stable_sort may.
// The items are not touched, so a compare function may read them by index, and one that throws
// leaves them as they were.
template <class Less> std::vector<int> StableSortOrder(int count, const Less& less)
{
    std::vector<int> order(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i)
        order[i] = i;
    std::vector<int> merged(order.size());
    for (int width = 1; width < count; width *= 2) {
        for (int left = 0; left < count; left += 2 * width) {
            int middle = left + width < count ? left + width : count;
            int right = middle + width < count ? middle + width : count;
            int i = left;
            int j = middle;
            int out = left;
            while (i < middle && j < right)
                merged[out++] = less(order[j], order[i]) ? order[j++] : order[i++];
            while (i < middle)
                merged[out++] = order[i++];
            while (j < right)
                merged[out++] = order[j++];
        }
        order.swap(merged);
    }
    return order;
}
