// A sequence that keeps a run of free slots (the gap) where it was last changed, for per-line data of a text
// that is edited near one place at a time: inserting or removing an item next to the last change moves no other
// item, where a vector would shift every item after it. Moving the gap elsewhere moves the items between.
//
// Free slots hold default items, so T must be default-constructible and movable.
#pragma once
#include <algorithm>
#include <utility>
#include <vector>

template <class T> class GapBuffer {
public:
    int Size() const { return static_cast<int>(items_.size()) - GapLength(); }
    bool Empty() const { return Size() == 0; }
    T& operator[](int i) { return items_[Slot(i)]; }
    const T& operator[](int i) const { return items_[Slot(i)]; }

    // Items [0, GapStart()) lie before the gap, the rest after it.
    int GapStart() const { return gapStart_; }

    // Replaces all items; the gap is at the end, in the room the vector has beyond its items.
    void Assign(std::vector<T> items)
    {
        items_ = std::move(items);
        gapStart_ = static_cast<int>(items_.size());
        items_.resize(items_.capacity());
        gapEnd_ = static_cast<int>(items_.size());
    }

    // Moves the gap to before item `at`.
    void MoveGap(int at)
    {
        int length = GapLength();
        // Without a gap nothing moves (and an item must not be moved onto itself).
        if (length > 0 && at < gapStart_)
            std::move_backward(items_.begin() + at, items_.begin() + gapStart_, items_.begin() + gapEnd_);
        else if (length > 0 && at > gapStart_)
            std::move(items_.begin() + gapEnd_, items_.begin() + gapEnd_ + (at - gapStart_), items_.begin() + gapStart_);
        gapStart_ = at;
        gapEnd_ = at + length;
    }

    // Makes room for `count` default items before item `at` (the gap moves there first); the caller fills them.
    void Insert(int at, int count)
    {
        MoveGap(at);
        if (GapLength() < count)
            Grow(count);
        gapStart_ += count;
    }

    // Removes items [first, last): the gap moves to `first` and takes their slots.
    void Erase(int first, int last)
    {
        MoveGap(first);
        for (int i = gapEnd_; i < gapEnd_ + (last - first); ++i)
            items_[i] = T {};
        gapEnd_ += last - first;
    }

private:
    int GapLength() const { return gapEnd_ - gapStart_; }
    int Slot(int i) const { return i < gapStart_ ? i : i + GapLength(); }

    // A new gap with room for `count` items and an eighth of the size more, so that growing is rare.
    void Grow(int count)
    {
        int size = Size();
        int length = count + std::max(64, size / 8);
        std::vector<T> grown(size + length);
        std::move(items_.begin(), items_.begin() + gapStart_, grown.begin());
        std::move(items_.begin() + gapEnd_, items_.end(), grown.begin() + gapStart_ + length);
        items_ = std::move(grown);
        gapEnd_ = gapStart_ + length;
    }

    std::vector<T> items_;
    int gapStart_ = 0;
    int gapEnd_ = 0;
};
