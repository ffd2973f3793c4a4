// TSet, the small bit set over enum or integer values that stands in for the framework's `set of`.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace TSetDetail {
// Not constexpr on purpose: reaching it during constant evaluation makes the build fail, and at run
// time it stops the program, because a value outside the set's range is a programmer error.
[[noreturn]] inline void RangeFailed(int value, int maxValue)
{
    std::fprintf(stderr, "TSet: value %d outside 0..%d\n", value, maxValue);
    std::abort();
}
} // namespace TSetDetail

// A set of values 0..MaxValue of E (`TSet<TFontStyle>{fsBold, fsItalic}`). Value semantics, no allocation.
// A default-constructed set is empty.
template <class E, int MaxValue = 255> class TSet {
    static_assert(MaxValue >= 0, "TSet needs at least one possible value");
    static constexpr int WordCount = MaxValue / 64 + 1;

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values)
    {
        for (E value : values)
            Include(value);
    }

    constexpr bool Contains(E value) const
    {
        int index = static_cast<int>(value);
        if (index < 0 || index > MaxValue)
            return false;
        return (FWords[index / 64] >> (index % 64)) & 1u;
    }
    constexpr TSet& Include(E value)
    {
        int index = Checked(value);
        FWords[index / 64] |= uint64_t(1) << (index % 64);
        return *this;
    }
    constexpr TSet& Exclude(E value)
    {
        int index = Checked(value);
        FWords[index / 64] &= ~(uint64_t(1) << (index % 64));
        return *this;
    }
    // True when the set holds no value (the framework's `s = []`).
    constexpr bool Empty() const
    {
        for (uint64_t word : FWords) {
            if (word)
                return false;
        }
        return true;
    }

    constexpr TSet operator+(const TSet& other) const
    {
        TSet result;
        for (int i = 0; i < WordCount; ++i)
            result.FWords[i] = FWords[i] | other.FWords[i];
        return result;
    }
    constexpr TSet operator-(const TSet& other) const
    {
        TSet result;
        for (int i = 0; i < WordCount; ++i)
            result.FWords[i] = FWords[i] & ~other.FWords[i];
        return result;
    }
    constexpr TSet operator*(const TSet& other) const
    {
        TSet result;
        for (int i = 0; i < WordCount; ++i)
            result.FWords[i] = FWords[i] & other.FWords[i];
        return result;
    }
    constexpr TSet& operator+=(const TSet& other) { return *this = *this + other; }
    constexpr TSet& operator-=(const TSet& other) { return *this = *this - other; }
    constexpr bool operator==(const TSet& other) const = default;
    // Subset: every value of this set is also in `other`.
    constexpr bool operator<=(const TSet& other) const { return (*this - other).Empty(); }

private:
    static constexpr int Checked(E value)
    {
        int index = static_cast<int>(value);
        if (index < 0 || index > MaxValue)
            TSetDetail::RangeFailed(index, MaxValue);
        return index;
    }

    std::array<uint64_t, WordCount> FWords {};
};
