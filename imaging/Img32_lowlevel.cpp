#include "imaging/Img32_lowlevel.h"

#include <cstring>

namespace Img32_lowlevel {

void FillLongword(TColor32* dest, int count, TColor32 value)
{
    for (int i = 0; i < count; ++i)
        dest[i] = value;
}

void MoveLongword(const TColor32* source, TColor32* dest, int count)
{
    if (source == dest || count <= 0)
        return;
    // memmove gives the same words as a forward copy wherever a forward copy is defined, and never smears.
    std::memmove(dest, source, size_t(count) * sizeof(TColor32));
}

void Swap(int& a, int& b)
{
    int t = a;
    a = b;
    b = t;
}

void TestSwap(int& a, int& b)
{
    if (a > b)
        Swap(a, b);
}

bool TestClip(int& a, int& b, int size)
{
    TestSwap(a, b);
    if (a < 0)
        a = 0;
    if (b >= size)
        b = size - 1;
    return b >= a;
}

TColor32 ColorSwap(TColor winColor)
{
    uint32_t c = uint32_t(winColor);
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    const bool negative = ((a ^ b ^ c) < 0);
    const uint64_t p = uint64_t(a < 0 ? -int64_t(a) : a) * uint64_t(b < 0 ? -int64_t(b) : b);
    const uint64_t d = uint64_t(c < 0 ? -int64_t(c) : c);
    if (2 * (p >> 32) >= d)
        return -1;
    uint64_t q = p / d;
    const uint64_t r = p % d;
    if (d - r <= r)
        ++q;
    // The high-word test above lets quotients up to 2^32 through for small divisors; those do not fit either.
    if (q > (negative ? 0x80000000u : 0x7FFFFFFFu))
        return -1;
    return negative ? int32_t(-int64_t(q)) : int32_t(q);
}

} // namespace Img32_lowlevel
