// The calendar and date-text routines: leap years, month lengths, weekdays, today, and dates written and read
// with the locale settings (FormatSettings).
#pragma once
#include "framework/core/FileSystem.h" // TDateTime, EncodeDate, DecodeDate, Now.
#include "framework/core/FormatSettings.h"

#include <string>
#include <string_view>

bool IsLeapYear(int year);
// Days of `month` (1..12) in `year`; 0 for a month outside 1..12.
int DaysPerMonth(int year, int month);
// 1 for Sunday up to 7 for Saturday.
int DayOfWeek(TDateTime value);

// Today at midnight, and the time of day (fraction of a day) now, in local time.
TDateTime Date();
TDateTime Time();

// Writes `value` with the pattern letters, case-insensitive:
//   d dd ddd dddd   day, day with two digits, short and long day name; ddddd the short date format
//   m mm mmm mmmm   month, month with two digits, short and long month name (after h or hh: minutes)
//   yy yyyy         year with two or four digits
//   h hh n nn s ss z zzz   hour, minute, second, millisecond; am/pm or a/p switches to a 12-hour clock
//   c               short date, then the long time unless it is midnight; t tt the short and long time
//   /  :            the date and time separators
// Text in '...' or "..." is copied as it is, and so is any other character.
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings);
// FormatDateTime of the short date format.
std::string DateToStr(TDateTime value);

// Reads a date written in the order of the short date format (day-month-year, month-day-year or
// year-month-day) with numbers between date separators; a missing year is the current one and a year of one
// or two digits falls in the settings' century window. Blanks around the numbers are skipped.
// StrToDate raises EConvertError "'<text>' is not a valid date" for anything else, an impossible date included.
TDateTime StrToDate(std::string_view text);
bool TryStrToDate(std::string_view text, TDateTime& value);
bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings);
