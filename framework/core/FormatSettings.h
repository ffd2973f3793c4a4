// The locale settings that number, date and time fields read: separators, date and time formats, month and
// day names. Taken from the user's locale on first use; tests and callers may overwrite any field.
#pragma once
#include <array>
#include <string>

struct TFormatSettings {
    // One character each (a code point, so a locale's non-ASCII separator stays whole).
    char32_t DecimalSeparator = '.';
    char32_t DateSeparator = '/';
    char32_t TimeSeparator = ':';
    // Date and time patterns in FormatDateTime's letters ("dd.MM.yyyy", "M/d/yyyy", "hh:nn:ss"). The date
    // separator stands in ShortDateFormat as itself.
    std::string ShortDateFormat = "MM/dd/yy";
    std::string LongDateFormat = "dddd, MMMM d, yyyy";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    // Index 0 is January, and for the day names Sunday.
    std::array<std::string, 12> ShortMonthNames { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep",
        "Oct", "Nov", "Dec" };
    std::array<std::string, 12> LongMonthNames { "January", "February", "March", "April", "May", "June", "July",
        "August", "September", "October", "November", "December" };
    std::array<std::string, 7> ShortDayNames { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    std::array<std::string, 7> LongDayNames { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
        "Saturday" };
    // A two-digit year is put in the hundred years that start this many years before the current year.
    int TwoDigitYearCenturyWindow = 50;
};

// The program's settings: those of the user's locale (the LC_* and LANG variables), read on the first call.
// UI thread only, as the controls that read them.
TFormatSettings& FormatSettings();

// The settings of the named locale ("" means the user's, from the environment); the C locale's for a name the
// system does not know. Does not touch the process's own locale.
TFormatSettings LocaleFormatSettings(const char* name);

// A separator as UTF-8 text.
std::string SeparatorText(char32_t separator);
