#include "framework/core/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view StripBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Parses the integer forms StrToInt accepts into [min, max]. The magnitude is gathered unsigned so that the
// lowest value, whose magnitude has no positive counterpart, still parses.
bool ParseInteger(std::string_view text, int64_t min, int64_t max, int64_t& result)
{
    std::string_view s = StripBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty())
        return false;
    const uint64_t limit = negative ? uint64_t(0) - static_cast<uint64_t>(min) : static_cast<uint64_t>(max);
    uint64_t magnitude = 0;
    for (char c : s) {
        int digit = HexDigitValue(c);
        if (digit < 0 || digit >= base)
            return false;
        if (magnitude > (limit - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    result = negative ? static_cast<int64_t>(uint64_t(0) - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Simple case pairs outside ASCII whose two forms have the same UTF-8 length, so folding never moves text.
char32_t UnicodeUpper(char32_t c)
{
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return (c & 1) ? c - 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c : c - 1;
    if (c >= 0x3B1 && c <= 0x3C9)
        return c == 0x3C2 ? 0x3A3 : c - 0x20;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

char32_t UnicodeLower(char32_t c)
{
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c == 0x178)
        return 0xFF;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return (c & 1) ? c : c + 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c + 1 : c;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

// Every mapped code point is below U+0800, so only two-byte sequences need decoding.
std::string AnsiCase(std::string_view s, bool upper)
{
    std::string result(s);
    for (size_t i = 0; i < result.size(); ++i) {
        unsigned char c = result[i];
        if (c < 0x80) {
            result[i] = upper ? AsciiUpper(char(c)) : AsciiLower(char(c));
            continue;
        }
        if ((c & 0xE0) != 0xC0 || i + 1 >= result.size())
            continue;
        unsigned char c2 = result[i + 1];
        if ((c2 & 0xC0) != 0x80)
            continue;
        char32_t cp = (char32_t(c & 0x1F) << 6) | (c2 & 0x3F);
        if (cp < 0x80)
            continue; // An overlong form is invalid UTF-8 and passes through.
        char32_t mapped = upper ? UnicodeUpper(cp) : UnicodeLower(cp);
        result[i] = char(0xC0 | (mapped >> 6));
        result[i + 1] = char(0x80 | (mapped & 0x3F));
        ++i;
    }
    return result;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

// ---- Integers ----------------------------------------------------------------------------------------------

std::string IntToStr(int64_t value)
{
    return std::to_string(value);
}

std::string IntToHex(int64_t value, int digits)
{
    uint64_t bits = (value < 0 && value >= std::numeric_limits<int32_t>::min()) ? static_cast<uint32_t>(value)
                                                                                : static_cast<uint64_t>(value);
    char buffer[20];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, bits, 16).ptr;
    std::string text(buffer, end);
    for (char& c : text)
        c = AsciiUpper(c);
    if (digits > static_cast<int>(text.size()))
        text.insert(0, digits - text.size(), '0');
    return text;
}

bool TryStrToInt64(std::string_view text, int64_t& value)
{
    return ParseInteger(text, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), value);
}

bool TryStrToInt(std::string_view text, int& value)
{
    int64_t wide = 0;
    if (!ParseInteger(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), wide))
        return false;
    value = static_cast<int>(wide);
    return true;
}

int64_t StrToInt64(std::string_view text)
{
    int64_t value = 0;
    if (!TryStrToInt64(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

int StrToInt(std::string_view text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

int64_t StrToInt64Def(std::string_view text, int64_t def)
{
    int64_t value = 0;
    return TryStrToInt64(text, value) ? value : def;
}

int StrToIntDef(std::string_view text, int def)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : def;
}

// ---- Floating point text -------------------------------------------------------------------------------------

bool TryStrToFloat(std::string_view text, double& value)
{
    std::string_view s = StripBlanks(text);
    std::string_view body = s;
    // from_chars takes a '-' but no '+', so the '+' is ours to strip; "+-1" must stay invalid.
    if (!body.empty() && body.front() == '+') {
        body.remove_prefix(1);
        if (!body.empty() && body.front() == '-')
            return false;
    }
    if (body.empty())
        return false;
    double parsed = 0;
    auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), parsed, std::chars_format::general);
    if (end != body.data() + body.size())
        return false;
    if (ec == std::errc::result_out_of_range) {
        // Too large is an error; too small to represent reads as zero. The decimal exponent of the leading
        // digit tells which one happened.
        std::string_view digits = body;
        bool negative = false;
        if (digits.front() == '-') {
            negative = true;
            digits.remove_prefix(1);
        }
        size_t e = digits.find_first_of("eE");
        std::string_view mantissa = digits.substr(0, e);
        int64_t exponent = 0;
        if (e != std::string_view::npos) {
            std::string_view exponentText = digits.substr(e + 1);
            bool exponentNegative = !exponentText.empty() && exponentText.front() == '-';
            if (!exponentText.empty() && (exponentText.front() == '-' || exponentText.front() == '+'))
                exponentText.remove_prefix(1);
            for (char c : exponentText)
                exponent = std::min<int64_t>(exponent * 10 + (c - '0'), 1'000'000'000);
            if (exponentNegative)
                exponent = -exponent;
        }
        size_t point = mantissa.find('.');
        std::string_view integerPart = mantissa.substr(0, point);
        size_t firstNonZero = integerPart.find_first_not_of('0');
        int64_t leading = 0;
        if (firstNonZero != std::string_view::npos) {
            leading = static_cast<int64_t>(integerPart.size() - firstNonZero) - 1;
        } else {
            std::string_view fraction
                = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
            leading = -static_cast<int64_t>(fraction.find_first_not_of('0')) - 1;
        }
        if (leading + exponent >= 0)
            return false;
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (ec != std::errc())
        return false;
    value = parsed;
    return true;
}

double StrToFloat(std::string_view text)
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

double StrToFloatDef(std::string_view text, double def)
{
    double value = 0;
    return TryStrToFloat(text, value) ? value : def;
}

// ---- Case, trimming, searching ---------------------------------------------------------------------------

std::string Trim(std::string_view s)
{
    return TrimRight(TrimLeft(s));
}

std::string TrimLeft(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ')
        ++i;
    return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ')
        --n;
    return std::string(s.substr(0, n));
}

std::string LowerCase(std::string_view s)
{
    std::string result(s);
    std::transform(result.begin(), result.end(), result.begin(), AsciiLower);
    return result;
}

std::string UpperCase(std::string_view s)
{
    std::string result(s);
    std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
    return result;
}

std::string AnsiLowerCase(std::string_view s)
{
    return AnsiCase(s, false);
}
std::string AnsiUpperCase(std::string_view s)
{
    return AnsiCase(s, true);
}

int Pos(std::string_view sub, std::string_view s)
{
    return PosEx(sub, s, 1);
}

int PosEx(std::string_view sub, std::string_view s, int offset)
{
    if (sub.empty() || offset < 1 || static_cast<size_t>(offset) > s.size())
        return 0;
    size_t found = s.find(sub, offset - 1);
    return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

std::string Copy(std::string_view s, int index, int count)
{
    if (index < 1)
        index = 1;
    if (count <= 0 || static_cast<size_t>(index) > s.size())
        return {};
    return std::string(s.substr(index - 1, count));
}

// ---- Comparing ---------------------------------------------------------------------------------------------

int CompareText(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = AsciiUpper(a[i]);
        unsigned char cb = AsciiUpper(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareStr(std::string_view a, std::string_view b)
{
    return Sign(a.compare(b));
}

bool SameStr(std::string_view a, std::string_view b)
{
    return a == b;
}

int AnsiCompareText(std::string_view a, std::string_view b)
{
    return CompareText(a, b);
}

int AnsiCompareStr(std::string_view a, std::string_view b)
{
    return CompareStr(a, b);
}

// ---- Replacing, quoting ------------------------------------------------------------------------------------

std::string StringReplace(
    std::string_view s, std::string_view oldPattern, std::string_view newPattern, TReplaceFlags flags)
{
    if (oldPattern.empty())
        return std::string(s);
    // Folding keeps byte lengths, so positions found in the folded text are positions in `s`.
    const bool ignoreCase = flags.Contains(rfIgnoreCase);
    const std::string foldedText = ignoreCase ? AnsiUpperCase(s) : std::string();
    const std::string foldedPattern = ignoreCase ? AnsiUpperCase(oldPattern) : std::string();
    const std::string_view haystack = ignoreCase ? std::string_view(foldedText) : s;
    const std::string_view needle = ignoreCase ? std::string_view(foldedPattern) : oldPattern;

    std::string result;
    size_t start = 0;
    while (start <= s.size()) {
        size_t found = haystack.find(needle, start);
        if (found == std::string_view::npos)
            break;
        result.append(s.substr(start, found - start));
        result.append(newPattern);
        start = found + needle.size();
        if (!flags.Contains(rfReplaceAll))
            break;
    }
    result.append(s.substr(std::min(start, s.size())));
    return result;
}

std::string QuotedStr(std::string_view s)
{
    std::string result = "'";
    for (char c : s) {
        result += c;
        if (c == '\'')
            result += '\'';
    }
    result += '\'';
    return result;
}

std::string BoolToStr(bool value, bool useBoolStrs)
{
    if (useBoolStrs)
        return value ? "True" : "False";
    return value ? "-1" : "0";
}
