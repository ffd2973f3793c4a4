// The framework's number semantics: rounding, truncation, MulDiv, truncating division and shifts.
#pragma once
#include "framework/core/Exception.h"

#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>

// Raised by Div for a zero divisor, which C++ would leave undefined.
class EDivByZero : public Exception {
public:
    using Exception::Exception;
};

// Raised by Div when the quotient does not fit its type (the lowest value divided by -1).
class EIntOverflow : public Exception {
public:
    using Exception::Exception;
};

// Conversions to int64_t below saturate: NaN gives 0, values beyond the range give INT64_MIN or INT64_MAX.

// Nearest integer, halves to the even neighbour (0.5 -> 0, 1.5 -> 2, -2.5 -> -2), whatever the FPU rounding mode.
int64_t Round(double value);
// Toward zero.
int64_t Trunc(double value);
// The fractional part, with the sign of `value` (Frac(-1.25) = -0.25).
double Frac(double value);
// Smallest integer >= value, and largest integer <= value.
int64_t Ceil(double value);
int64_t Floor(double value);

// a*b/c computed in 64 bits, rounded half away from zero. -1 when c is 0 or the result does not fit an int
// (the Windows routine's contract, so -1 is ambiguous by design).
int MulDiv(int a, int b, int c);

// Truncating division (-7 div 2 = -3). C++'s `/` already truncates; callers write Div to say the framework's
// `div` is meant. Raises EDivByZero for b == 0 and EIntOverflow for the lowest value divided by -1.
template <std::integral T> constexpr T Div(T a, std::type_identity_t<T> b)
{
    if (b == 0)
        throw EDivByZero("Division by zero");
    if constexpr (std::is_signed_v<T>) {
        if (a == std::numeric_limits<T>::min() && b == -1)
            throw EIntOverflow("Integer overflow");
    }
    return static_cast<T>(a / b);
}

// Arithmetic shift right (the sign bit is copied: Shr(-8, 1) = -4). Like the processor, only the low 5 (32-bit)
// or 6 (64-bit) bits of `n` count.
constexpr int32_t Shr(int32_t value, int n)
{
    return value >> (n & 31);
}
constexpr int64_t Shr(int64_t value, int n)
{
    return value >> (n & 63);
}

// Logical shift right of the value's bits, zeros shifted in (the framework's `shr` on unsigned values);
// the result has the argument's type. Only the low 5 or 6 bits of `n` count, as for Shr.
template <std::integral T> constexpr T ShrU(T value, int n)
{
    using U = std::make_unsigned_t<T>;
    constexpr int mask = sizeof(T) > 4 ? 63 : 31;
    return static_cast<T>(static_cast<U>(value) >> (n & mask));
}

// `value` limited to min..max (min wins should the bounds cross). The bounds take the value's type.
template <class T> constexpr T EnsureRange(T value, std::type_identity_t<T> min, std::type_identity_t<T> max)
{
    if (value > max)
        value = max;
    if (value < min)
        value = min;
    return value;
}
