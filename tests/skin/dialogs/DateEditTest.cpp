// The date edit on the headless display: masks from the short date format, the keystroke check, complete
// dates (impossible ones refused without an error), month names and two-digit years, and the drop-down
// calendar opening, taking a day and cancelling.
#include "framework/core/DateUtils.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinDateEdit.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

TFormatSettings Settings(const char* format, char32_t separator)
{
    TFormatSettings settings;
    settings.ShortDateFormat = format;
    settings.DateSeparator = separator;
    return settings;
}

TEST(DateRules, MasksFromTheShortDateFormat)
{
    EXPECT_EQ(SkinDateRules::DateMask(Settings("dd.MM.yyyy", '.')), "!99/99/0000;1; ");
    EXPECT_EQ(SkinDateRules::DateMask(Settings("M/d/yyyy", '/')), "!99/99/0000;1; ");
    EXPECT_EQ(SkinDateRules::DateMask(Settings("dd-MMM-yy", '-')), "!99/LLL/00;1; ");
    EXPECT_EQ(SkinDateRules::DateMask(Settings("yyyy-MM-dd", '-')), "!0000/99/99;1; ");
}

TEST(DateRules, PartialAndCompleteTexts)
{
    const TFormatSettings german = Settings("dd.MM.yyyy", '.');
    const TFormatSettings english = Settings("M/d/yyyy", '/');
    const TFormatSettings named = Settings("dd-MMM-yy", '-');
    struct Case {
        const TFormatSettings* Format;
        const char* Text;
        bool Partial, Complete;
    } const cases[] = {
        { &german, "3 .  .    ", true, false },
        { &german, "32.  .    ", false, false },
        { &german, "4 .  .    ", false, false },
        { &german, "01.1 .    ", true, false },
        { &german, "01.13.    ", false, false },
        { &german, "31.12.2007", true, true },
        { &german, "01.01.0000", true, false }, // year 0
        { &german, "31.04.2007", true, false }, // April has 30 days
        { &german, "29.02.2008", true, true },
        { &german, "29.02.2007", true, false },
        { &english, "12/31/2007", true, true },
        { &english, "2 /  /    ", false, false }, // a month starts with 0 or 1
        { &english, "02/30/2008", true, false },
        { &named, "3 -   -  ", false, false }, // a digit before any letter of the month
        { &named, "3 -J  -  ", true, false },
        { &named, "05-Jan-07", true, true },
        { &named, "05-Jax-07", true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(SkinDateRules::IsValidPartialText(c.Text, *c.Format), c.Partial);
        EXPECT_EQ(SkinDateRules::IsValidText(c.Text, *c.Format), c.Complete);
    }
    // A two-digit year with a month name lands in the same century as a numeric one would.
    TDateTime date = 0;
    ASSERT_TRUE(SkinDateRules::TextToDate("05-Jan-07", named, date));
    EXPECT_EQ(date, EncodeDate(2007, 1, 5));
    EXPECT_EQ(SkinDateRules::DecodeMonth("dec", named), 12);
    EXPECT_EQ(SkinDateRules::DecodeMonth("xyz", named), 1);
    EXPECT_EQ(SkinDateRules::ExtactMonth(EncodeDate(2000, 3, 1), german), "");
}

class DateEditTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Saved = FormatSettings();
        FormatSettings().ShortDateFormat = "dd.MM.yyyy";
        FormatSettings().DateSeparator = '.';
        Form = NewForm(0, 0, 400, 760);
        Form->Show();
        Pump();
    }
    void TearDown() override
    {
        FormatSettings() = Saved;
        SkinInputTest::TearDown();
    }
    TspSkinDateEdit* Place(int x, int y)
    {
        auto* edit = new TspSkinDateEdit(Form);
        edit->SetParent(Form);
        edit->SetBounds(x, y, 120, 20);
        edit->Loaded();
        edit->OnDateChange = [this](TObject*) { ++DateChanges; };
        edit->SetFocus();
        Pump();
        return edit;
    }
    void Type(std::u32string_view text)
    {
        for (char32_t c : text)
            Backend.Char(c);
        Pump();
    }

    TFormatSettings Saved;
    int DateChanges = 0;
};

TEST_F(DateEditTest, TypingADate)
{
    auto* edit = Place(10, 10);
    EXPECT_EQ(edit->EditMask(), "!99/99/0000;1; ");
    // A day of 32 and a month of 13 cannot be typed; the rest goes in.
    Type(U"32");
    EXPECT_EQ(edit->EditText(), "3 .  .    ");
    Type(U"1");
    Type(U"13");
    EXPECT_EQ(edit->EditText(), "31.1 .    ");
    Type(U"2");
    EXPECT_EQ(DateChanges, 0);
    Type(U"2007");
    EXPECT_EQ(edit->EditText(), "31.12.2007");
    EXPECT_TRUE(edit->IsDateInput());
    EXPECT_EQ(edit->Date(), EncodeDate(2007, 12, 31));
    EXPECT_EQ(DateChanges, 1);
    // A complete but impossible date is no date: no error, the date stays, nothing is reported.
    edit->SetSelStart(3);
    Type(U"04");
    EXPECT_EQ(edit->EditText(), "31.04.2007");
    EXPECT_FALSE(edit->IsDateInput());
    EXPECT_EQ(edit->Date(), EncodeDate(2007, 12, 31));
    EXPECT_EQ(DateChanges, 1);
    EXPECT_TRUE(Boxes.empty());
    // Leaving with it is allowed.
    edit->ValidateEdit();
}

TEST_F(DateEditTest, SetDateAlwaysReportsAndWrites)
{
    auto* edit = Place(10, 10);
    edit->SetDate(EncodeDate(2008, 2, 29));
    EXPECT_EQ(edit->EditText(), "29.02.2008");
    EXPECT_EQ(DateChanges, 1);
    edit->SetDate(EncodeDate(2008, 2, 29));
    EXPECT_EQ(DateChanges, 2);
}

TEST_F(DateEditTest, CalendarDropsDownTakesADayAndCancels)
{
    auto* edit = Place(10, 10);
    TspPopupCalendar* calendar = edit->Calendar();
    // On an empty edit the calendar shows this month, under the edit.
    edit->ButtonClick(edit);
    Pump();
    ASSERT_TRUE(calendar->Visible());
    int y = 0, m = 0, d = 0, ty = 0, tm = 0, td = 0;
    DecodeDate(calendar->Date(), y, m, d);
    DecodeDate(Now(), ty, tm, td);
    EXPECT_EQ(y * 12 + m, ty * 12 + tm);
    RECT r {};
    GetWindowRect(calendar->Handle(), &r);
    const TPoint below = Form->ClientToScreen({ 10, 30 });
    EXPECT_EQ(r.left, below.X);
    EXPECT_EQ(r.top, below.Y);
    // Cancelled (the button again): the date goes back to none.
    edit->ButtonClick(edit);
    EXPECT_FALSE(calendar->Visible());
    EXPECT_EQ(edit->Date(), 0);
    EXPECT_EQ(edit->EditText(), "  .  .    ");
    // A day clicked is taken into the text and reported.
    edit->SetDate(EncodeDate(2009, 3, 1));
    DateChanges = 0;
    edit->ButtonClick(edit);
    Pump();
    const TRect cell = calendar->CellRect(3, 3); // a day in the middle of the month
    const TPoint at = calendar->ClientToScreen({ (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2 });
    const int day = calendar->DayNumFromPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    ASSERT_GT(day, 0);
    Click(at.X, at.Y);
    EXPECT_FALSE(calendar->Visible());
    EXPECT_EQ(edit->Date(), EncodeDate(2009, 3, day));
    EXPECT_EQ(edit->EditText(), FormatDateTime("dd.MM.yyyy", EncodeDate(2009, 3, day)));
    EXPECT_GE(DateChanges, 1);
    // A key in the edit closes it without taking anything.
    edit->ButtonClick(edit);
    Backend.Key(VK_LEFT);
    Pump();
    EXPECT_FALSE(calendar->Visible());
    EXPECT_EQ(edit->Date(), EncodeDate(2009, 3, day));
}

TEST_F(DateEditTest, NoRoomBelowOpensAbove)
{
    auto* edit = Place(10, 700);
    edit->ButtonClick(edit);
    Pump();
    RECT r {};
    GetWindowRect(edit->Calendar()->Handle(), &r);
    const TPoint top = Form->ClientToScreen({ 10, 700 });
    EXPECT_EQ(r.bottom, top.Y);
    EXPECT_EQ(r.left, top.X);
    edit->CloseUp(false);
}

TEST_F(DateEditTest, TheCalendarFadesInOnTheClockAndStopsWhenClosed)
{
    auto* edit = Place(10, 10);
    edit->CalendarAlphaBlend = true;
    edit->CalendarAlphaBlendAnimation = true;
    edit->CalendarAlphaBlendValue = 200;
    edit->ButtonClick(edit);
    const HWND window = edit->Calendar()->Handle();
    const auto opacity = [&] {
        BYTE alpha = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
        return int(alpha);
    };
    // Nothing waits: the calendar is up at once and clear, and the clock raises it to the value asked.
    EXPECT_TRUE(edit->Calendar()->Visible());
    EXPECT_EQ(opacity(), 0);
    Backend.AdvanceClock(50);
    Pump();
    const int rising = opacity();
    EXPECT_GT(rising, 0);
    EXPECT_LT(rising, 200);
    for (int i = 0; i < 30; ++i) {
        Backend.AdvanceClock(10);
        Pump();
    }
    EXPECT_EQ(opacity(), 200);
    // Closed halfway through a second fade, it is no longer layered and nothing runs on.
    edit->CloseUp(false);
    edit->ButtonClick(edit);
    Backend.AdvanceClock(30);
    Pump();
    edit->CloseUp(false);
    EXPECT_FALSE(GetWindowLong(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    Backend.AdvanceClock(1000);
    Pump();
    EXPECT_FALSE(edit->Calendar()->Visible());
}

TEST_F(DateEditTest, TodayDefaultRewritesTheTextOnLeaving)
{
    auto* edit = Place(10, 10);
    auto* other = Place(10, 50);
    edit->SetFocus();
    edit->SetTodayDefault(true);
    EXPECT_EQ(edit->EditText(), DateToStr(edit->Date()));
    // A cleared text is put back to the date when the focus goes.
    const TDateTime date = edit->Date();
    edit->SelectAll();
    Backend.Key(VK_DELETE);
    Pump();
    EXPECT_EQ(edit->EditText(), "  .  .    ");
    other->SetFocus();
    Pump();
    EXPECT_EQ(edit->Date(), date);
    EXPECT_EQ(edit->EditText(), DateToStr(date));
}

} // namespace
