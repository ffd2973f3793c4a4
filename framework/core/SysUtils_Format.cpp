// Float to text (FloatToStr, FloatToStrF) and Format.
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// |value| = 0.d1 d2 d3 ... * 10^(Exponent + 1), that is d1 is the digit of weight 10^Exponent. Digits holds
// no leading zero; an empty Digits is zero.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// Splits printf/to_chars scientific output ("d.ddde+xx") into digits and exponent.
TDecimal ParseScientific(std::string_view text, bool negative)
{
    TDecimal result;
    result.Negative = negative;
    size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c >= '0' && c <= '9')
            result.Digits += c;
    }
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), result.Exponent);
    return result;
}

TDecimal Scientific(double magnitude, int decimals, bool negative)
{
    // The widest output is the exact expansion of a double: at most 767 significant digits.
    char buffer[800];
    int n = std::snprintf(buffer, sizeof buffer, "%.*e", decimals, magnitude);
    return ParseScientific(std::string_view(buffer, n), negative);
}

// Adds one unit in the last digit of `d`, carrying into a new leading digit when all are nines.
void RoundUp(TDecimal& d)
{
    int i = static_cast<int>(d.Digits.size()) - 1;
    while (i >= 0 && d.Digits[i] == '9')
        d.Digits[i--] = '0';
    if (i >= 0) {
        ++d.Digits[i];
    } else {
        d.Digits.insert(d.Digits.begin(), '1');
        ++d.Exponent;
    }
}

// Keeps `count` significant digits of `value`, rounding the exact binary value with halves away from zero.
// printf rounds halves to even, so it is asked for 41 digits and the rounding is done here; only when those
// digits sit right at a half (…5000… or …4999…) is the exact expansion needed to decide.
TDecimal RoundSignificant(double value, int count)
{
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude == 0)
        return TDecimal { false, {}, 0 };
    constexpr int kWide = 41;
    if (count < 0)
        return TDecimal {};
    TDecimal d = Scientific(magnitude, kWide - 1, negative);
    std::string_view tail = std::string_view(d.Digits).substr(std::min(count, kWide - 1));
    const bool nearHalf = (tail[0] == '5' && tail.find_first_not_of('0', 1) == std::string_view::npos)
        || (tail[0] == '4' && tail.find_first_not_of('9', 1) == std::string_view::npos);
    if (count >= kWide || nearHalf)
        d = Scientific(magnitude, 766, negative);
    if (count < static_cast<int>(d.Digits.size())) {
        const bool up = d.Digits[count] >= '5';
        d.Digits.resize(count);
        if (up)
            RoundUp(d);
    }
    // Trailing zeros carry no information; the writers pad as they need.
    size_t last = d.Digits.find_last_not_of('0');
    d.Digits.resize(last == std::string::npos ? 0 : last + 1);
    if (d.Digits.empty())
        d = TDecimal {};
    return d;
}

// Rounds `value` at `decimals` places after the point. The decimal exponent of the exact value is stable under
// printing 41 digits (no double lies that close below a power of ten), so it decides how many digits to keep.
TDecimal RoundDecimals(double value, int decimals)
{
    if (value == 0)
        return TDecimal {};
    TDecimal probe = Scientific(std::fabs(value), 40, false);
    int count = probe.Exponent + 1 + decimals;
    // A count of 0 keeps no digit: the value becomes one unit of the place above its first digit, or zero.
    return RoundSignificant(value, count);
}

std::string NonFinite(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string ExponentText(int exponent, int minDigits, bool plusSign)
{
    std::string digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, minDigits - digits.size(), '0');
    if (exponent < 0)
        return "E-" + digits;
    return (plusSign ? "E+" : "E") + digits;
}

// "-d.dddE+xxx" with exactly `significant` digits.
std::string WriteExponent(const TDecimal& d, int significant, int minExponentDigits, bool plusSign)
{
    std::string digits = d.Digits;
    digits.resize(significant, '0');
    std::string text = d.Negative && !d.Digits.empty() ? "-" : "";
    text += digits[0];
    if (significant > 1) {
        text += '.';
        text.append(digits, 1);
    }
    return text + ExponentText(d.Digits.empty() ? 0 : d.Exponent, minExponentDigits, plusSign);
}

// "-ddd,ddd.ddd" with exactly `decimals` places; `d` is already rounded to them.
std::string WriteFixed(const TDecimal& d, int decimals, bool thousands)
{
    std::string integerPart;
    std::string fraction;
    if (d.Digits.empty() || d.Exponent < 0) {
        integerPart = "0";
        if (!d.Digits.empty())
            fraction.assign(-d.Exponent - 1, '0');
        fraction += d.Digits;
    } else {
        const size_t integerDigits = static_cast<size_t>(d.Exponent) + 1;
        integerPart = d.Digits.substr(0, integerDigits);
        integerPart.resize(integerDigits, '0');
        if (d.Digits.size() > integerDigits)
            fraction = d.Digits.substr(integerDigits);
    }
    fraction.resize(decimals, '0');
    if (thousands) {
        for (int i = static_cast<int>(integerPart.size()) - 3; i > 0; i -= 3)
            integerPart.insert(i, 1, ',');
    }
    std::string text = d.Negative && !d.Digits.empty() ? "-" : "";
    text += integerPart;
    if (decimals > 0)
        text += '.' + fraction;
    return text;
}

// The general form: fixed while the exponent is in -5 ..< exponentFrom, scientific otherwise; no trailing
// zeros, and a point only when needed.
std::string WriteGeneral(const TDecimal& d, int exponentFrom, int minExponentDigits)
{
    if (d.Digits.empty())
        return "0";
    const int significant = static_cast<int>(d.Digits.size());
    if (d.Exponent >= exponentFrom || d.Exponent < -5)
        return WriteExponent(d, significant, minExponentDigits, false);
    return WriteFixed(d, std::max(0, significant - d.Exponent - 1), false);
}

int ClampPrecision(int precision)
{
    return std::clamp(precision, 1, 18);
}
int ClampDecimals(int digits)
{
    return std::clamp(digits, 0, 18);
}

} // namespace

std::string FloatToStr(double value)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    if (value == 0)
        return "0";
    char buffer[64];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific).ptr;
    TDecimal d = ParseScientific(std::string_view(buffer, end - buffer), value < 0);
    return WriteGeneral(d, 15, 0);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    precision = ClampPrecision(precision);
    switch (format) {
    case ffGeneral:
        return WriteGeneral(RoundSignificant(value, precision), precision, std::clamp(digits, 0, 4));
    case ffExponent:
        return WriteExponent(RoundSignificant(value, precision), precision, std::clamp(digits, 0, 4), true);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        digits = ClampDecimals(digits);
        TDecimal probe = RoundSignificant(value, precision);
        if (!probe.Digits.empty() && probe.Exponent >= precision)
            return WriteExponent(probe, precision, 0, true);
        // One rounding only, at whichever of the two limits comes first.
        TDecimal byDecimals = RoundDecimals(value, digits);
        TDecimal d = (!byDecimals.Digits.empty() && static_cast<int>(byDecimals.Digits.size()) > precision)
            ? probe
            : byDecimals;
        return WriteFixed(d, digits, format != ffFixed);
    }
    }
    return FloatToStr(value);
}

// ---- Format ------------------------------------------------------------------------------------------------

namespace {

class TFormatter {
public:
    TFormatter(std::string_view format, std::span<const TVarRec> args)
        : FFormat(format)
        , FArgs(args)
    {
    }

    std::string Run()
    {
        std::string out;
        size_t i = 0;
        while (i < FFormat.size()) {
            size_t percent = FFormat.find('%', i);
            if (percent == std::string_view::npos) {
                out.append(FFormat.substr(i));
                break;
            }
            out.append(FFormat.substr(i, percent - i));
            i = percent + 1;
            if (i >= FFormat.size())
                break; // A lone '%' at the very end prints nothing.
            if (FFormat[i] == '%') {
                out += '%';
                ++i;
                continue;
            }
            i = Specifier(percent, out);
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const
    {
        throw EConvertError("Format '" + std::string(FFormat) + "' invalid or incompatible with argument");
    }

    // Reads digits at `i` into `value`, or "*" from the next argument. False when there are neither.
    bool Number(size_t& i, size_t start, int& value)
    {
        if (i < FFormat.size() && FFormat[i] == '*') {
            ++i;
            const TVarRec& arg = Next(start, i);
            if (arg.Kind == TVarRec::TKind::Integer && arg.Integer >= std::numeric_limits<int>::min()
                && arg.Integer <= std::numeric_limits<int>::max())
                value = static_cast<int>(arg.Integer);
            else if (arg.Kind == TVarRec::TKind::Unsigned && arg.Unsigned <= std::numeric_limits<int>::max())
                value = static_cast<int>(arg.Unsigned);
            else
                Invalid();
            return true;
        }
        if (i >= FFormat.size() || FFormat[i] < '0' || FFormat[i] > '9')
            return false;
        int64_t n = 0;
        while (i < FFormat.size() && FFormat[i] >= '0' && FFormat[i] <= '9') {
            n = n * 10 + (FFormat[i++] - '0');
            if (n > std::numeric_limits<int>::max())
                Invalid();
        }
        value = static_cast<int>(n);
        return true;
    }

    // The argument for the specifier starting at `start`; `end` is where its text has got to, for the message.
    const TVarRec& Next(size_t start, size_t end)
    {
        if (FNext >= FArgs.size()) {
            // The message names the whole specifier, so read on to its type letter.
            while (end < FFormat.size() && !std::isalpha(static_cast<unsigned char>(FFormat[end])))
                ++end;
            std::string_view specifier = FFormat.substr(start, std::min(end + 1, FFormat.size()) - start);
            throw EConvertError("No argument for format '" + std::string(specifier) + "'");
        }
        return FArgs[FNext++];
    }

    size_t Specifier(size_t start, std::string& out)
    {
        size_t i = start + 1;
        // An index "n:" is digits followed by a colon; without the colon the digits are the width.
        size_t scan = i;
        while (scan < FFormat.size() && FFormat[scan] >= '0' && FFormat[scan] <= '9')
            ++scan;
        if (scan > i && scan < FFormat.size() && FFormat[scan] == ':') {
            int index = 0;
            Number(i, start, index);
            ++i;
            FNext = static_cast<size_t>(index);
        }
        bool left = false;
        if (i < FFormat.size() && FFormat[i] == '-') {
            left = true;
            ++i;
        }
        int width = 0;
        Number(i, start, width);
        if (width < 0) {
            left = true;
            width = width == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -width;
        }
        int precision = -1;
        if (i < FFormat.size() && FFormat[i] == '.') {
            ++i;
            if (!Number(i, start, precision))
                Invalid();
        }
        if (i >= FFormat.size())
            Invalid();
        const char type = static_cast<char>(std::tolower(static_cast<unsigned char>(FFormat[i])));
        const TVarRec& arg = Next(start, i);
        std::string text = Convert(type, arg, precision);
        Pad(out, text, width, left);
        return i + 1;
    }

    std::string Convert(char type, const TVarRec& arg, int precision)
    {
        using TKind = TVarRec::TKind;
        const bool isInteger = arg.Kind == TKind::Integer || arg.Kind == TKind::Unsigned;
        switch (type) {
        case 'd': {
            if (!isInteger)
                Invalid();
            bool negative = arg.Kind == TKind::Integer && arg.Integer < 0;
            uint64_t magnitude = arg.Kind == TKind::Unsigned ? arg.Unsigned
                : negative                                   ? uint64_t(0) - static_cast<uint64_t>(arg.Integer)
                                                             : static_cast<uint64_t>(arg.Integer);
            std::string digits = Digits(magnitude, 10, precision);
            return negative ? "-" + digits : digits;
        }
        case 'u':
        case 'x': {
            if (!isInteger)
                Invalid();
            // Negative values show their two's complement: 32 bits when they fit, as an Integer would.
            uint64_t bits = arg.Kind == TKind::Unsigned ? arg.Unsigned
                : (arg.Integer < 0 && arg.Integer >= std::numeric_limits<int32_t>::min())
                ? static_cast<uint32_t>(arg.Integer)
                : static_cast<uint64_t>(arg.Integer);
            return Digits(bits, type == 'u' ? 10 : 16, precision);
        }
        case 'p':
            if (arg.Kind != TKind::Pointer)
                Invalid();
            return Digits(reinterpret_cast<uintptr_t>(arg.Pointer), 16, 16);
        case 's': {
            if (arg.Kind != TKind::String)
                Invalid();
            std::string_view s = arg.String;
            if (precision >= 0)
                s = s.substr(0, ByteLengthOfChars(s, precision));
            return std::string(s);
        }
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm': {
            if (arg.Kind != TKind::Floating)
                Invalid();
            const double v = arg.Floating;
            if (!std::isfinite(v))
                return NonFinite(v);
            switch (type) {
            case 'e': {
                int significant = ClampPrecision(precision < 0 ? 15 : precision);
                return WriteExponent(RoundSignificant(v, significant), significant, 3, true);
            }
            case 'g': {
                int significant = ClampPrecision(precision < 0 ? 15 : precision);
                return WriteGeneral(RoundSignificant(v, significant), significant, 0);
            }
            default: {
                int decimals = ClampDecimals(precision < 0 ? 2 : precision);
                return WriteFixed(RoundDecimals(v, decimals), decimals, type != 'f');
            }
            }
        }
        default:
            Invalid();
        }
    }

    static std::string Digits(uint64_t value, int base, int minDigits)
    {
        char buffer[24];
        auto end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
        std::string text(buffer, end);
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (minDigits > static_cast<int>(text.size()))
            text.insert(0, minDigits - text.size(), '0');
        return text;
    }

    // Bytes taken by the first `count` UTF-8 characters of `s` (continuation bytes belong to their character).
    static size_t ByteLengthOfChars(std::string_view s, int64_t count)
    {
        size_t i = 0;
        while (i < s.size() && count > 0) {
            ++i;
            while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
                ++i;
            --count;
        }
        return i;
    }

    static int64_t CharCount(std::string_view s)
    {
        int64_t count = 0;
        for (char c : s) {
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                ++count;
        }
        return count;
    }

    static void Pad(std::string& out, const std::string& text, int width, bool left)
    {
        int64_t padding = width - CharCount(text);
        if (padding > 0 && !left)
            out.append(padding, ' ');
        out += text;
        if (padding > 0 && left)
            out.append(padding, ' ');
    }

    std::string_view FFormat;
    std::span<const TVarRec> FArgs;
    size_t FNext = 0;
};

} // namespace

std::string FormatV(std::string_view format, std::span<const TVarRec> args)
{
    return TFormatter(format, args).Run();
}
