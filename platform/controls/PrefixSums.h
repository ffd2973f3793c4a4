// Running totals over a sequence of counts (characters per line, rows per line) that are edited near one place
// at a time. Totals are kept valid up to a mark and extended on demand, so typing in line n of a long text
// costs nothing for the lines above it and only a walk from n when a position below is asked for.
#pragma once
#include <algorithm>
#include <vector>

class PrefixSums {
public:
    // The counts; callers change them through the methods below so the totals stay right.
    int Size() const { return static_cast<int>(counts_.size()); }
    int Count(int i) const { return counts_[i]; }
    long long Total() const { return total_; }

    void Assign(std::vector<int> counts)
    {
        counts_ = std::move(counts);
        total_ = 0;
        for (int c : counts_)
            total_ += c;
        starts_.assign(counts_.size(), 0);
        valid_ = 0;
    }
    void Set(int i, int count)
    {
        total_ += count - counts_[i];
        counts_[i] = count;
        Invalidate(i + 1);
    }
    void Insert(int i, const std::vector<int>& counts)
    {
        counts_.insert(counts_.begin() + i, counts.begin(), counts.end());
        // Starts from i on are invalid after this, so they only need room, not shifting.
        starts_.resize(counts_.size());
        for (int c : counts)
            total_ += c;
        Invalidate(i);
    }
    // Items first..first+removed-1 become `counts`: the overlap is set in place and only the difference
    // shifts the items after it.
    void Replace(int first, int removed, const std::vector<int>& counts)
    {
        int inserted = static_cast<int>(counts.size());
        int common = std::min(removed, inserted);
        for (int i = 0; i < common; ++i) {
            total_ += counts[i] - counts_[first + i];
            counts_[first + i] = counts[i];
        }
        Invalidate(first + 1);
        if (removed > inserted)
            Erase(first + common, first + removed);
        else if (inserted > removed)
            Insert(first + common, std::vector<int>(counts.begin() + common, counts.end()));
    }
    void Erase(int first, int last)
    {
        for (int i = first; i < last; ++i)
            total_ -= counts_[i];
        counts_.erase(counts_.begin() + first, counts_.begin() + last);
        starts_.resize(counts_.size());
        Invalidate(first);
    }

    // Sum of the counts before item i (i may equal Size()).
    long long Start(int i) const
    {
        if (i >= Size())
            return total_;
        Extend(i);
        return starts_[i];
    }
    // The item holding offset `at` (the last one whose start is <= at); Size()-1 past the end.
    int Find(long long at) const
    {
        if (counts_.empty())
            return 0;
        if (at >= total_)
            return Size() - 1;
        // Extend in growing steps until an item is known to start beyond `at`, then search what is known.
        for (int step = 64; valid_ < Size() && (valid_ == 0 || starts_[valid_ - 1] <= at); step *= 2)
            Extend(std::min(Size() - 1, valid_ + step));
        auto it = std::upper_bound(starts_.begin(), starts_.begin() + valid_, at);
        int i = static_cast<int>(it - starts_.begin()) - 1;
        return std::max(i, 0);
    }

private:
    void Invalidate(int from) { valid_ = std::min(valid_, std::max(from, 0)); }
    // Makes starts_[0..i] valid.
    void Extend(int i) const
    {
        if (i < valid_)
            return;
        long long s = valid_ == 0 ? 0 : starts_[valid_ - 1] + counts_[valid_ - 1];
        for (int k = valid_; k <= i; ++k) {
            starts_[k] = s;
            s += counts_[k];
        }
        valid_ = i + 1;
    }

    std::vector<int> counts_;
    mutable std::vector<long long> starts_;
    mutable int valid_ = 0; // starts_[0..valid_) are right
    long long total_ = 0;
};
