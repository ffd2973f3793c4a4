#include "framework/core/DateUtils.h"

#include "framework/core/Exception.h"
#include "framework/core/SysUtils.h"

#include <cctype>
#include <cmath>

namespace {

char Upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Number of times `c` repeats from `at` on, case-insensitively.
size_t RunLength(std::string_view format, size_t at)
{
    size_t n = 1;
    while (at + n < format.size() && Upper(format[at + n]) == Upper(format[at]))
        ++n;
    return n;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != Upper(prefix[i]))
            return false;
    return true;
}

struct TDateParts {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0, WeekDay = 1;
    bool Midnight = true;
};

void AppendNumber(std::string& out, int value, int digits)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < digits)
        out.append(digits - text.size(), '0');
    out += text;
}

void FormatParts(std::string& out, std::string_view format, const TDateParts& parts, const TFormatSettings& settings,
    int depth)
{
    // A pattern that names itself (a short date format holding "c") must not recurse for ever.
    if (depth > 2)
        return;
    const bool twelveHours = [&] {
        for (size_t i = 0; i < format.size(); ++i)
            if (StartsWithNoCase(format.substr(i), "AM/PM") || StartsWithNoCase(format.substr(i), "A/P"))
                return true;
        return false;
    }();
    char lastLetter = 0;
    for (size_t at = 0; at < format.size();) {
        char token = Upper(format[at]);
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastLetter == 'H')
                token = 'N';
            lastLetter = token;
        }
        const size_t count = RunLength(format, at);
        switch (token) {
        case 'Y':
            if (count <= 2)
                AppendNumber(out, parts.Year % 100, 2);
            else
                AppendNumber(out, parts.Year, 4);
            at += count;
            break;
        case 'M':
            if (count <= 2)
                AppendNumber(out, parts.Month, static_cast<int>(count));
            else
                out += (count == 3 ? settings.ShortMonthNames : settings.LongMonthNames)[parts.Month - 1];
            at += count;
            break;
        case 'D':
            if (count <= 2)
                AppendNumber(out, parts.Day, static_cast<int>(count));
            else if (count <= 4)
                out += (count == 3 ? settings.ShortDayNames : settings.LongDayNames)[parts.WeekDay - 1];
            else
                FormatParts(out, count == 5 ? settings.ShortDateFormat : settings.LongDateFormat, parts, settings,
                    depth + 1);
            at += count;
            break;
        case 'H': {
            int hour = parts.Hour;
            if (twelveHours)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            AppendNumber(out, hour, count >= 2 ? 2 : 1);
            at += std::min<size_t>(count, 2);
            break;
        }
        case 'N':
            AppendNumber(out, parts.Minute, count >= 2 ? 2 : 1);
            at += std::min<size_t>(count, 2);
            break;
        case 'S':
            AppendNumber(out, parts.Second, count >= 2 ? 2 : 1);
            at += std::min<size_t>(count, 2);
            break;
        case 'Z':
            AppendNumber(out, parts.MSec, count >= 3 ? 3 : 1);
            at += std::min<size_t>(count, 3);
            break;
        case 'T':
            FormatParts(out, count >= 2 ? settings.LongTimeFormat : settings.ShortTimeFormat, parts, settings, depth + 1);
            at += std::min<size_t>(count, 2);
            break;
        case 'C':
            FormatParts(out, settings.ShortDateFormat, parts, settings, depth + 1);
            if (!parts.Midnight) {
                out += ' ';
                FormatParts(out, settings.LongTimeFormat, parts, settings, depth + 1);
            }
            at += 1;
            break;
        case 'A': {
            const std::string_view rest = format.substr(at);
            const bool pm = parts.Hour >= 12;
            if (StartsWithNoCase(rest, "AM/PM")) {
                // The letters keep the case the pattern wrote them in.
                out += std::string(rest.substr(pm ? 3 : 0, 2));
                at += 5;
            } else if (StartsWithNoCase(rest, "A/P")) {
                out += rest[pm ? 2 : 0];
                at += 3;
            } else {
                out += format[at++];
            }
            break;
        }
        case '/':
            out += SeparatorText(settings.DateSeparator);
            ++at;
            break;
        case ':':
            out += SeparatorText(settings.TimeSeparator);
            ++at;
            break;
        case '"':
        case '\'': {
            const size_t end = format.find(format[at], at + 1);
            const size_t stop = end == std::string_view::npos ? format.size() : end;
            out += format.substr(at + 1, stop - at - 1);
            at = end == std::string_view::npos ? format.size() : end + 1;
            break;
        }
        default:
            out += format[at++];
            break;
        }
    }
}

TDateParts Split(TDateTime value)
{
    TDateParts parts;
    DecodeDate(value, parts.Year, parts.Month, parts.Day);
    DecodeTime(value, parts.Hour, parts.Minute, parts.Second, parts.MSec);
    parts.WeekDay = DayOfWeek(value);
    parts.Midnight = parts.Hour == 0 && parts.Minute == 0 && parts.Second == 0 && parts.MSec == 0;
    return parts;
}

// Reads what the date reader accepts between separators: blanks, then one to four digits.
bool ScanNumber(std::string_view text, size_t& at, int& value, int& digits)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    value = 0;
    digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
        value = value * 10 + (text[at] - '0');
        ++digits;
        ++at;
    }
    return digits > 0;
}

bool ScanSeparator(std::string_view text, size_t& at, std::string_view separator)
{
    size_t next = at;
    while (next < text.size() && (text[next] == ' ' || text[next] == '\t'))
        ++next;
    if (text.substr(next, separator.size()) != separator)
        return false;
    at = next + separator.size();
    return true;
}

enum class TDateOrder { DMY, MDY, YMD };

TDateOrder OrderOf(std::string_view format)
{
    for (char c : format) {
        switch (Upper(c)) {
        case 'D': return TDateOrder::DMY;
        case 'M': return TDateOrder::MDY;
        case 'Y': return TDateOrder::YMD;
        default: break;
        }
    }
    return TDateOrder::MDY;
}

} // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysPerMonth(int year, int month)
{
    static constexpr int kDays[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int DayOfWeek(TDateTime value)
{
    // Day 0, 1899-12-30, was a Saturday.
    const int64_t days = static_cast<int64_t>(std::floor(value));
    return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

TDateTime Date()
{
    return std::floor(Now());
}

TDateTime Time()
{
    const TDateTime now = Now();
    return now - std::floor(now);
}

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings)
{
    std::string out;
    FormatParts(out, format.empty() ? std::string_view("c") : format, Split(value), settings, 0);
    return out;
}

std::string FormatDateTime(std::string_view format, TDateTime value)
{
    return FormatDateTime(format, value, FormatSettings());
}

std::string DateToStr(TDateTime value)
{
    return FormatDateTime(FormatSettings().ShortDateFormat, value);
}

bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings)
{
    const std::string separator = SeparatorText(settings.DateSeparator);
    size_t at = 0;
    int n[3] = {};
    int digits[3] = {};
    int count = 0;
    if (!ScanNumber(text, at, n[0], digits[0]) || !ScanSeparator(text, at, separator)
        || !ScanNumber(text, at, n[1], digits[1]))
        return false;
    count = 2;
    if (ScanSeparator(text, at, separator)) {
        if (!ScanNumber(text, at, n[2], digits[2]))
            return false;
        count = 3;
    }
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    if (at != text.size())
        return false;

    int year = 0, month = 0, day = 0, yearDigits = 4;
    int currentYear = 0, currentMonth = 0, currentDay = 0;
    DecodeDate(Date(), currentYear, currentMonth, currentDay);
    const TDateOrder order = OrderOf(settings.ShortDateFormat);
    if (count == 2) {
        year = currentYear;
        if (order == TDateOrder::DMY) {
            day = n[0];
            month = n[1];
        } else {
            month = n[0];
            day = n[1];
        }
    } else {
        switch (order) {
        case TDateOrder::DMY: day = n[0]; month = n[1]; year = n[2]; yearDigits = digits[2]; break;
        case TDateOrder::MDY: month = n[0]; day = n[1]; year = n[2]; yearDigits = digits[2]; break;
        case TDateOrder::YMD: year = n[0]; month = n[1]; day = n[2]; yearDigits = digits[0]; break;
        }
        if (yearDigits <= 2) {
            const int centuryBase = currentYear - settings.TwoDigitYearCenturyWindow;
            year += centuryBase / 100 * 100;
            if (settings.TwoDigitYearCenturyWindow > 0 && year < centuryBase)
                year += 100;
        }
    }
    if (year < 1 || year > 9999 || day < 1 || day > DaysPerMonth(year, month))
        return false;
    value = EncodeDate(year, month, day);
    return true;
}

bool TryStrToDate(std::string_view text, TDateTime& value)
{
    return TryStrToDate(text, value, FormatSettings());
}

TDateTime StrToDate(std::string_view text)
{
    TDateTime value = 0;
    if (!TryStrToDate(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid date");
    return value;
}
