// The framework's always-visible string routines: conversions, case, search, compare, replace and Format.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TSet.h"

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

// Strings are UTF-8; positions and counts are 1-based byte indices, as the framework's are.

// ---- Integers ----------------------------------------------------------------------------------------------

std::string IntToStr(int64_t value);
// Upper-case hex with at least `digits` digits. A negative value that fits 32 bits prints as its 32-bit two's
// complement ("FFFFFFFF" for -1), any other negative value as its 64-bit one.
std::string IntToHex(int64_t value, int digits);

// Accepted text: optional blanks (space, tab) at both ends, an optional sign, then decimal digits or hex digits
// after "$", "0x" or "0X". A value outside the type's range is invalid, as is anything else.
// StrToInt raises EConvertError "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int def);
bool TryStrToInt(std::string_view text, int& value);
int64_t StrToInt64(std::string_view text);
int64_t StrToInt64Def(std::string_view text, int64_t def);
bool TryStrToInt64(std::string_view text, int64_t& value);

// ---- Floating point (always the C locale: '.' decimal separator, whatever the process locale) ----------------

// The shortest text that reads back to the same double: "15", "23.97", "-0.5", "1E20", "1.5E-10".
// The exponent form is used when the decimal exponent is >= 15 or < -5. NaN gives "NAN", infinities "INF" and
// "-INF"; negative zero prints as "0".
std::string FloatToStr(double value);

// Accepts optional blanks at both ends, an optional sign, digits with an optional '.', an optional exponent,
// and "INF"/"INFINITY"/"NAN" in any case. A value too large for a double is invalid; one too small reads as 0.
// StrToFloat raises EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view text);
double StrToFloatDef(std::string_view text, double def);
bool TryStrToFloat(std::string_view text, double& value);

enum TFloatFormat : uint8_t { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Formats `value` the framework's way. Decimal rounding is on the exact binary value, halves away from zero.
// `precision` (significant digits) is clamped to 1..18 and `digits` to 0..18.
//   ffGeneral:  like FloatToStr but rounded to `precision` significant digits; `digits` = minimum exponent digits.
//   ffExponent: "-d.dddE+ddd" with `precision` significant digits and at least `digits` (0..4) exponent digits.
//   ffFixed:    "-ddd.ddd" with `digits` decimals (falls back to ffExponent when the integer part has more than
//               `precision` digits); ffNumber adds "," thousands separators; ffCurrency is ffNumber
//               without a currency sign.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);

// ---- Case, trimming, searching ---------------------------------------------------------------------------

// Drop every byte <= ' ' (blanks and control characters) at the ends.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// ASCII letters only; bytes >= 0x80 are left untouched.
std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
// Also the Latin-1, Latin Extended-A, Greek and Cyrillic letters of UTF-8 text. The byte length never changes;
// invalid UTF-8 bytes pass through.
std::string AnsiLowerCase(std::string_view s);
std::string AnsiUpperCase(std::string_view s);

// 1-based index of the first occurrence of `sub` in `s`; 0 when absent or when `sub` is empty.
int Pos(std::string_view sub, std::string_view s);
// Like Pos, starting at 1-based `offset`; 0 when offset is outside 1..length of s.
int PosEx(std::string_view sub, std::string_view s, int offset = 1);
// `count` bytes from 1-based `index`. index < 1 counts as 1; clamps at the end; count <= 0 or an index past the
// end gives "".
std::string Copy(std::string_view s, int index, int count);

// ---- Comparing ---------------------------------------------------------------------------------------------

// ASCII case-insensitive (letters fold to upper case); <0, 0, >0; a shorter prefix sorts first.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Byte-wise.
int CompareStr(std::string_view a, std::string_view b);
bool SameStr(std::string_view a, std::string_view b);
// NOTE: the same as CompareText and CompareStr: no locale collation.
int AnsiCompareText(std::string_view a, std::string_view b);
int AnsiCompareStr(std::string_view a, std::string_view b);

// ---- Replacing, quoting ------------------------------------------------------------------------------------

enum TReplaceFlag : uint8_t { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag, rfIgnoreCase>;

// Replaces the first occurrence of `oldPattern` (all of them with rfReplaceAll); rfIgnoreCase matches the way
// AnsiUpperCase folds. An empty pattern changes nothing.
std::string StringReplace(
    std::string_view s, std::string_view oldPattern, std::string_view newPattern, TReplaceFlags flags);

// 'text' with every inner quote doubled.
std::string QuotedStr(std::string_view s);
// "-1"/"0", or "True"/"False" with useBoolStrs.
std::string BoolToStr(bool value, bool useBoolStrs = false);

// ---- Format ------------------------------------------------------------------------------------------------

// One argument of Format. Strings are views: the text must outlive the FormatV call, which Format guarantees.
struct TVarRec {
    enum class TKind : uint8_t { Integer, Unsigned, Floating, String, Pointer };

    // A single char is a one-character string; it is taken by reference so the view stays valid.
    TVarRec(const char& c)
        : Kind(TKind::String)
        , String(&c, 1)
    {
    }
    template <std::signed_integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, wchar_t>) TVarRec(T value)
        : Kind(TKind::Integer)
        , Integer(value)
    {
    }
    template <std::unsigned_integral T>
    requires(
        !std::same_as<T,
            bool> && !std::same_as<T, char> && !std::same_as<T, char8_t> && !std::same_as<T, char16_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>)
        TVarRec(T value)
        : Kind(TKind::Unsigned)
        , Unsigned(value)
    {
    }
    template <std::floating_point T>
    TVarRec(T value)
        : Kind(TKind::Floating)
        , Floating(static_cast<double>(value))
    {
    }
    TVarRec(const std::string& s)
        : Kind(TKind::String)
        , String(s)
    {
    }
    TVarRec(std::string_view s)
        : Kind(TKind::String)
        , String(s)
    {
    }
    TVarRec(const char* s)
        : Kind(TKind::String)
        , String(s ? std::string_view(s) : std::string_view())
    {
    }
    TVarRec(const void* p)
        : Kind(TKind::Pointer)
        , Pointer(p)
    {
    }
    TVarRec(std::nullptr_t)
        : Kind(TKind::Pointer)
    {
    }
    // A bool has no format type; convert it explicitly (BoolToStr, or an int for %d).
    TVarRec(bool) = delete;
    // Nor has an enum: pass static_cast<int>(value), the framework's Ord(value).
    template <class T>
    requires std::is_enum_v<T> TVarRec(T)
    = delete;

    TKind Kind;
    int64_t Integer = 0;
    uint64_t Unsigned = 0;
    double Floating = 0;
    std::string_view String;
    const void* Pointer = nullptr;
};

// The framework's Format: "%" [index ":"] ["-"] [width] ["." precision] type, width and precision may be "*"
// (taken from the next argument). Types, case-insensitive: d u x e f g n m p s; "%%" prints "%", and a lone "%"
// at the very end prints nothing. Float rounding follows FloatToStrF, and e/g precision is clamped to 1..18,
// f/n/m precision to 0..18. Width and the precision of s count characters (UTF-8 code points).
// Raises EConvertError "Format '<format>' invalid or incompatible with argument" for a bad specifier or an
// argument of the wrong kind, and "No argument for format '<specifier>'" when arguments run out.
std::string FormatV(std::string_view format, std::span<const TVarRec> args);

template <class... Args> std::string Format(std::string_view format, const Args&... args)
{
    const std::array<TVarRec, sizeof...(Args)> recs { TVarRec(args)... };
    return FormatV(format, std::span<const TVarRec>(recs.data(), recs.size()));
}
