#include "framework/core/FormatSettings.h"

#include <cctype>
#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace {

// The first code point of a UTF-8 text (0 for an empty or broken one).
char32_t FirstCodePoint(std::string_view text)
{
    if (text.empty())
        return 0;
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || text.size() < static_cast<size_t>(length))
        return 0;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    return code;
}

// Length of the UTF-8 sequence that starts with `lead` (a stray byte counts as one).
size_t SequenceLength(unsigned char lead)
{
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Text that FormatDateTime must not read as pattern letters is put in double quotes.
void AppendLiteral(std::string& out, std::string_view text)
{
    bool letters = false;
    for (char c : text)
        letters = letters || std::isalpha(static_cast<unsigned char>(c)) || c == '"' || c == '\'';
    if (!letters) {
        out += text;
        return;
    }
    for (char c : text) {
        if (c == '"')
            out += "'\"'";
        else if (std::isalpha(static_cast<unsigned char>(c)) || c == '\'')
            out += std::string("\"") + c + '"';
        else
            out += c;
    }
}

// Turns a strftime pattern ("%d.%m.%Y", "%m/%d/%y", "%H:%M:%S") into FormatDateTime's letters ("dd.MM.yyyy").
// Conversions without a counterpart (week numbers, time zones) are left out.
std::string FromStrftime(std::string_view pattern)
{
    std::string out;
    for (size_t at = 0; at < pattern.size();) {
        if (pattern[at] != '%') {
            const size_t length = SequenceLength(static_cast<unsigned char>(pattern[at]));
            AppendLiteral(out, pattern.substr(at, length));
            at += length;
            continue;
        }
        ++at;
        bool unpadded = false;
        while (at < pattern.size() && std::string_view("-_0^#EO").find(pattern[at]) != std::string_view::npos) {
            unpadded = unpadded || pattern[at] == '-';
            ++at;
        }
        if (at >= pattern.size())
            break;
        switch (pattern[at++]) {
        case 'd': out += unpadded ? "d" : "dd"; break;
        case 'e': out += "d"; break;
        case 'm': out += unpadded ? "M" : "MM"; break;
        case 'y': out += "yy"; break;
        case 'Y': out += "yyyy"; break;
        case 'b':
        case 'h': out += "MMM"; break;
        case 'B': out += "MMMM"; break;
        case 'a': out += "ddd"; break;
        case 'A': out += "dddd"; break;
        case 'H':
        case 'I': out += unpadded ? "h" : "hh"; break;
        case 'k':
        case 'l': out += "h"; break;
        case 'M': out += "nn"; break;
        case 'S': out += "ss"; break;
        case 'p':
        case 'P': out += "AM/PM"; break;
        case 'T': out += "hh:nn:ss"; break;
        case 'R': out += "hh:nn"; break;
        case 'D': out += "MM/dd/yy"; break;
        case 'F': out += "yyyy-MM-dd"; break;
        case 'n':
        case 't': out += ' '; break;
        case '%': out += '%'; break;
        default: break;
        }
    }
    // A pattern that ends in a dropped conversion would leave a dangling blank or separator.
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The character after the first conversion of a strftime pattern ("%d.%m.%Y" gives "."), as a separator.
char32_t SeparatorAfterFirstField(std::string_view pattern, char32_t fallback)
{
    const size_t percent = pattern.find('%');
    if (percent == std::string_view::npos)
        return fallback;
    size_t at = percent + 1;
    while (at < pattern.size() && std::string_view("-_0^#EO").find(pattern[at]) != std::string_view::npos)
        ++at;
    if (at + 1 >= pattern.size())
        return fallback;
    const std::string_view rest = pattern.substr(at + 1);
    if (rest[0] == '%' || std::isalnum(static_cast<unsigned char>(rest[0])))
        return fallback;
    const char32_t code = FirstCodePoint(rest);
    return code ? code : fallback;
}

// Reads the settings through a locale object of its own, so the process's locale (printf, streams) stays C.
TFormatSettings ReadLocale(locale_t locale)
{
    TFormatSettings settings;
    if (locale == static_cast<locale_t>(0))
        locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0))
        return settings;
    auto text = [&](nl_item item) -> std::string_view {
        const char* value = nl_langinfo_l(item, locale);
        return value ? value : "";
    };
    if (char32_t radix = FirstCodePoint(text(RADIXCHAR)))
        settings.DecimalSeparator = radix;
    const std::string_view dateFormat = text(D_FMT);
    const std::string_view timeFormat = text(T_FMT);
    settings.DateSeparator = SeparatorAfterFirstField(dateFormat, '/');
    settings.TimeSeparator = SeparatorAfterFirstField(timeFormat, ':');
    if (!dateFormat.empty())
        settings.ShortDateFormat = FromStrftime(dateFormat);
    if (!timeFormat.empty())
        settings.LongTimeFormat = FromStrftime(timeFormat);
    settings.ShortTimeFormat = std::string("hh") + SeparatorText(settings.TimeSeparator) + "nn";
    static constexpr nl_item kMonths[12] = { MON_1, MON_2, MON_3, MON_4, MON_5, MON_6, MON_7, MON_8, MON_9, MON_10,
        MON_11, MON_12 };
    static constexpr nl_item kShortMonths[12] = { ABMON_1, ABMON_2, ABMON_3, ABMON_4, ABMON_5, ABMON_6, ABMON_7,
        ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12 };
    static constexpr nl_item kDays[7] = { DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7 };
    static constexpr nl_item kShortDays[7] = { ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7 };
    for (int i = 0; i < 12; ++i) {
        if (!text(kMonths[i]).empty())
            settings.LongMonthNames[i] = text(kMonths[i]);
        if (!text(kShortMonths[i]).empty())
            settings.ShortMonthNames[i] = text(kShortMonths[i]);
    }
    for (int i = 0; i < 7; ++i) {
        if (!text(kDays[i]).empty())
            settings.LongDayNames[i] = text(kDays[i]);
        if (!text(kShortDays[i]).empty())
            settings.ShortDayNames[i] = text(kShortDays[i]);
    }
    return settings;
}

} // namespace

TFormatSettings LocaleFormatSettings(const char* name)
{
    // Only the number and time categories are read, so a locale that defines just those serves as well; a
    // category the locale lacks keeps the C locale's values.
    locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    for (int mask : { LC_NUMERIC_MASK, LC_TIME_MASK }) {
        if (locale == static_cast<locale_t>(0))
            break;
        if (locale_t merged = newlocale(mask, name ? name : "", locale))
            locale = merged;
    }
    TFormatSettings settings = ReadLocale(locale);
    if (locale != static_cast<locale_t>(0))
        freelocale(locale);
    return settings;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = LocaleFormatSettings("");
    return settings;
}

std::string SeparatorText(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}
