#include "framework/core/Numbers.h"

#include <cmath>
#include <cstdlib>

namespace {

// double -> int64_t without undefined behaviour: NaN is 0 and the range ends saturate. 2^63 is exact as a
// double, and every double below it converts exactly once it is whole.
int64_t Saturate(double whole)
{
    constexpr double kLimit = 9223372036854775808.0;
    if (std::isnan(whole))
        return 0;
    if (whole >= kLimit)
        return std::numeric_limits<int64_t>::max();
    if (whole < -kLimit)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(whole);
}

} // namespace

int64_t Round(double value)
{
    // Done by hand rather than with nearbyint so that a changed FPU rounding mode cannot alter it.
    // Every step is exact: t is whole and value - t is representable.
    double t = std::trunc(value);
    double rest = value - t;
    double step = value < 0 ? -1.0 : 1.0;
    if (std::fabs(rest) > 0.5 || (std::fabs(rest) == 0.5 && std::fmod(t, 2.0) != 0))
        t += step;
    return Saturate(t);
}

int64_t Trunc(double value)
{
    return Saturate(std::trunc(value));
}

double Frac(double value)
{
    return value - std::trunc(value);
}

int64_t Ceil(double value)
{
    return Saturate(std::ceil(value));
}

int64_t Floor(double value)
{
    return Saturate(std::floor(value));
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    // |a*b| < 2^62 and |remainder| < 2^31, so nothing below overflows 64 bits.
    int64_t product = int64_t(a) * b;
    int64_t quotient = product / c;
    int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(int64_t(c)))
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(quotient);
}
