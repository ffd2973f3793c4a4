// The locale settings read from real locales, and the date routines written and read with them.
#include "framework/core/DateUtils.h"
#include "framework/core/Exception.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// A locale compiled from source into a temporary folder, found through LOCPATH while the object lives: a
// comma decimal separator, day-month-year dates with dots, times with dots, and a non-ASCII month name.
class TCompiledLocale {
public:
    TCompiledLocale()
    {
        char pattern[] = "/tmp/tp_datelocale_XXXXXX";
        if (!mkdtemp(pattern))
            return;
        FFolder = pattern;
        std::ofstream(FFolder + "/dots.src")
            << "comment_char %\nescape_char /\n"
               "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3\nEND LC_NUMERIC\n"
               "LC_TIME\n"
               "abday \"So\";\"Mo\";\"Di\";\"Mi\";\"Do\";\"Fr\";\"Sa\"\n"
               "day \"Sonntag\";\"Montag\";\"Dienstag\";\"Mittwoch\";\"Donnerstag\";\"Freitag\";\"Samstag\"\n"
               "abmon \"Jan\";\"Feb\";\"M<U00E4>r\";\"Apr\";\"Mai\";\"Jun\";\"Jul\";\"Aug\";\"Sep\";\"Okt\";"
               "\"Nov\";\"Dez\"\n"
               "mon \"Januar\";\"Februar\";\"M<U00E4>rz\";\"April\";\"Mai\";\"Juni\";\"Juli\";\"August\";"
               "\"September\";\"Oktober\";\"November\";\"Dezember\"\n"
               "d_t_fmt \"%a %d %b %Y %T\"\nd_fmt \"%d.%m.%Y\"\nt_fmt \"%H.%M.%S\"\nam_pm \"\";\"\"\n"
               "t_fmt_ampm \"\"\nEND LC_TIME\n";
        const std::string command = "localedef -c -i " + FFolder + "/dots.src -f UTF-8 " + FFolder
            + "/tp_dots.UTF-8 >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1)
            return;
        setenv("LOCPATH", FFolder.c_str(), 1);
        FReady = std::filesystem::exists(FFolder + "/tp_dots.UTF-8");
    }
    ~TCompiledLocale()
    {
        if (!FFolder.empty()) {
            unsetenv("LOCPATH");
            std::filesystem::remove_all(FFolder);
        }
    }
    bool Ready() const { return FReady; }

private:
    std::string FFolder;
    bool FReady = false;
};

TFormatSettings Settings(char32_t dateSeparator, const char* shortDateFormat)
{
    TFormatSettings settings;
    settings.DateSeparator = dateSeparator;
    settings.ShortDateFormat = shortDateFormat;
    return settings;
}

} // namespace

TEST(FormatSettings, TheCLocaleGivesTheUsualSeparatorsFormatsAndNames)
{
    const TFormatSettings settings = LocaleFormatSettings("C");
    EXPECT_EQ(settings.DecimalSeparator, U'.');
    EXPECT_EQ(settings.DateSeparator, U'/');
    EXPECT_EQ(settings.TimeSeparator, U':');
    EXPECT_EQ(settings.ShortDateFormat, "MM/dd/yy");
    EXPECT_EQ(settings.LongTimeFormat, "hh:nn:ss");
    EXPECT_EQ(settings.LongMonthNames[0], "January");
    EXPECT_EQ(settings.ShortMonthNames[11], "Dec");
    EXPECT_EQ(settings.LongDayNames[0], "Sunday");
    EXPECT_EQ(settings.ShortDayNames[6], "Sat");
    // An unknown locale falls back to the C locale's settings rather than failing.
    EXPECT_EQ(LocaleFormatSettings("xx_NOWHERE.UTF-8").ShortDateFormat, "MM/dd/yy");
}

TEST(FormatSettings, ALocalesSeparatorsFormatsAndNamesAreReadFromIt)
{
    TCompiledLocale locale;
    if (!locale.Ready())
        GTEST_SKIP() << "localedef could not compile the test locale";
    const TFormatSettings settings = LocaleFormatSettings("tp_dots.UTF-8");
    EXPECT_EQ(settings.DecimalSeparator, U',');
    EXPECT_EQ(settings.DateSeparator, U'.');
    EXPECT_EQ(settings.TimeSeparator, U'.');
    EXPECT_EQ(settings.ShortDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(settings.LongTimeFormat, "hh.nn.ss");
    EXPECT_EQ(settings.LongMonthNames[2], "M\xC3\xA4rz");
    EXPECT_EQ(settings.ShortDayNames[1], "Mo");
    // What the settings say is what dates are written and read with.
    const TDateTime date = EncodeDate(2007, 3, 5) + EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(FormatDateTime("c", date, settings), "05.03.2007 14.07.09");
    EXPECT_EQ(FormatDateTime("d mmmm", date, settings), "5 M\xC3\xA4rz");
    TDateTime read = 0;
    ASSERT_TRUE(TryStrToDate("05.03.2007", read, settings));
    EXPECT_EQ(read, EncodeDate(2007, 3, 5));
}

TEST(FormatSettings, TheProgramsSettingsCanBeSetByCallers)
{
    TFormatSettings& settings = FormatSettings();
    const TFormatSettings saved = settings;
    settings = Settings(U'-', "yyyy-MM-dd");
    EXPECT_EQ(DateToStr(EncodeDate(2026, 12, 1)), "2026-12-01");
    EXPECT_EQ(StrToDate("2026-12-01"), EncodeDate(2026, 12, 1));
    settings = saved;
}

TEST(DateUtils, CalendarRoutines)
{
    EXPECT_EQ(DaysPerMonth(2000, 2), 29);
    EXPECT_EQ(DaysPerMonth(1900, 2), 28);
    EXPECT_EQ(DaysPerMonth(2024, 2), 29);
    EXPECT_EQ(DaysPerMonth(2023, 4), 30);
    EXPECT_EQ(DaysPerMonth(2023, 12), 31);
    EXPECT_EQ(DaysPerMonth(2023, 0), 0);
    EXPECT_EQ(DaysPerMonth(2023, 13), 0);
    // 1899-12-30 (day 0) was a Saturday, 2026-12-11 a Friday; days before day 0 keep counting backwards.
    EXPECT_EQ(DayOfWeek(0), 7);
    EXPECT_EQ(DayOfWeek(1.75), 1);
    EXPECT_EQ(DayOfWeek(-1), 6);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 11)), 6);
    const TDateTime today = Date();
    EXPECT_EQ(today, std::floor(today));
    const TDateTime now = Time();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, 1.0);
}

TEST(DateUtils, FormatDateTimePatterns)
{
    TFormatSettings dots = Settings(U'.', "dd.MM.yyyy");
    dots.TimeSeparator = U'.';
    const TFormatSettings slashes = Settings(U'/', "M/d/yyyy");
    const TDateTime morning = EncodeDate(2007, 1, 5) + EncodeTime(9, 3, 7, 45);
    const TDateTime evening = EncodeDate(2007, 11, 25) + EncodeTime(21, 30, 0, 0);
    struct Case {
        const char* format;
        const TFormatSettings* settings;
        TDateTime value;
        const char* expected;
    };
    const Case kCases[] = {
        { "dd/mm/yyyy", &dots, morning, "05.01.2007" },
        { "ddddd", &dots, morning, "05.01.2007" },
        { "ddddd", &slashes, evening, "11/25/2007" },
        { "dd-MMM-yy", &slashes, morning, "05-Jan-07" },
        { "d mmmm yyyy, dddd (ddd)", &slashes, morning, "5 January 2007, Friday (Fri)" },
        { "hh:nn:ss.zzz", &slashes, morning, "09:03:07.045" },
        { "hh:nn:ss", &dots, morning, "09.03.07" },
        { "h:mm", &slashes, morning, "9:03" }, // m after h is the minute
        { "h:mm am/pm", &slashes, evening, "9:30 pm" },
        { "h:mm AM/PM", &slashes, morning, "9:03 AM" },
        { "hh a/p", &slashes, EncodeDate(2007, 1, 5), "12 a" },
        { "c", &slashes, evening, "11/25/2007 21:30:00" },
        { "c", &slashes, EncodeDate(2007, 11, 25), "11/25/2007" },
        { "'day' d \"of\" m", &slashes, morning, "day 5 of 1" },
        { "yy-'unterminated", &slashes, morning, "07-unterminated" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(FormatDateTime(c.format, c.value, *c.settings), c.expected);
    }
    // A short date format that names itself ends instead of recursing.
    EXPECT_LT(FormatDateTime("ddddd", morning, Settings(U'/', "ddddd c")).size(), 100u);
}

TEST(DateUtils, StrToDateReadsTheShortDateOrderAndRefusesAnythingElse)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(Date(), year, month, day);
    const TFormatSettings dmy = Settings(U'.', "dd.MM.yyyy");
    const TFormatSettings mdy = Settings(U'/', "M/d/yyyy");
    const TFormatSettings ymd = Settings(U'-', "yyyy-MM-dd");
    struct Case {
        const char* text;
        const TFormatSettings* settings;
        bool valid;
        TDateTime expected;
    };
    const Case kCases[] = {
        { "31.12.2007", &dmy, true, EncodeDate(2007, 12, 31) },
        { " 5 . 1 . 2007 ", &dmy, true, EncodeDate(2007, 1, 5) },
        { "5.1.07", &dmy, true, EncodeDate(2007, 1, 5) }, // two-digit years fall in the century window
        { "5.1.99", &dmy, true, EncodeDate(1999, 1, 5) },
        { "29.2.2024", &dmy, true, EncodeDate(2024, 2, 29) },
        { "12.5", &dmy, true, EncodeDate(year, 5, 12) }, // no year: this year
        { "12/31/2007", &mdy, true, EncodeDate(2007, 12, 31) },
        { "2007-12-31", &ymd, true, EncodeDate(2007, 12, 31) },
        { "31.04.2007", &dmy, false, 0 }, // a day the month does not have
        { "29.2.2023", &dmy, false, 0 },
        { "1.13.2007", &dmy, false, 0 },
        { "0.1.2007", &dmy, false, 0 },
        { "1.1.0", &dmy, true, EncodeDate(2000, 1, 1) },
        { "1.1.0000", &dmy, false, 0 },
        { "1/2/2007", &dmy, false, 0 }, // another separator
        { "1.2.2007x", &dmy, false, 0 },
        { "1.2.20071", &dmy, false, 0 },
        { "1.2.", &dmy, false, 0 },
        { "", &dmy, false, 0 },
        { "-1.2.2007", &dmy, false, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        TDateTime value = -12345;
        EXPECT_EQ(TryStrToDate(c.text, value, *c.settings), c.valid);
        if (c.valid)
            EXPECT_EQ(value, c.expected);
        else
            EXPECT_EQ(value, -12345) << "a refused text leaves the value alone";
    }
    TFormatSettings& settings = FormatSettings();
    const TFormatSettings saved = settings;
    settings = dmy;
    EXPECT_THROW(StrToDate("31.04.2007"), EConvertError);
    settings = saved;
}
