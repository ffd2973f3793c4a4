// The month calendar on the headless display: month and year steps across month ends, leap years and the
// calendar's first and last years, the grid's first column by the first day of the week, and day clicks.
#include "framework/core/DateUtils.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/dialogs/TspSkinMonthCalendar.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

class MonthCalendarTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Calendar = new TspSkinMonthCalendar(Form);
        Calendar->SetBounds(10, 10, 200, 150);
        Calendar->SetParent(Form);
        Pump();
    }

    static std::string Text(TDateTime date) { return FormatDateTime("yyyy-mm-dd hh:nn", date); }

    TspSkinMonthCalendar* Calendar = nullptr;
};

TEST_F(MonthCalendarTest, StepsKeepTheDayInsideTheMonth)
{
    struct Case {
        TDateTime Start;
        char Step; // m/M: month back/forward, y/Y: year back/forward
        const char* Expected;
    } const cases[] = {
        { EncodeDate(2007, 3, 31) + 0.5, 'M', "2007-04-30 00:00" },
        { EncodeDate(2008, 2, 29), 'Y', "2009-02-28 00:00" },
        { EncodeDate(2008, 12, 15), 'M', "2009-01-15 00:00" },
        { EncodeDate(2009, 1, 31), 'm', "2008-12-31 00:00" },
        { EncodeDate(2009, 3, 31), 'm', "2009-02-28 00:00" },
        // At the calendar's last and first years the whole step is refused, not wrapped within the year.
        { EncodeDate(9999, 12, 5), 'M', "9999-12-05 00:00" },
        { EncodeDate(1761, 1, 5), 'm', "1761-01-05 00:00" },
        { EncodeDate(1761, 6, 5), 'y', "1761-06-05 00:00" },
        { EncodeDate(9999, 6, 5), 'Y', "9999-06-05 00:00" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Expected);
        Calendar->SetDate(c.Start);
        switch (c.Step) {
        case 'm': Calendar->PriorMButtonClick(Calendar); break;
        case 'M': Calendar->NextMButtonClick(Calendar); break;
        case 'y': Calendar->PriorYButtonClick(Calendar); break;
        default: Calendar->NextYButtonClick(Calendar); break;
        }
        EXPECT_EQ(Text(Calendar->Date()), c.Expected);
    }
}

TEST_F(MonthCalendarTest, FirstDayOfWeekPlacesTheFirst)
{
    // March 2008 begins on a Saturday, as December 1899 (Date 0) begins on a Friday.
    struct Case {
        TDateTime Date;
        TspDaysOfWeek First;
        int Column;
    } const cases[] = {
        { EncodeDate(2008, 3, 10), Sun, 6 },
        { EncodeDate(2008, 3, 10), Mon, 5 },
        { 0, Sun, 5 },
        { EncodeDate(2009, 2, 10), Sun, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Column);
        Calendar->SetDate(c.Date);
        Calendar->SetFirstDayOfWeek(c.First);
        const TRect cell = Calendar->CellRect(1, c.Column);
        EXPECT_EQ(Calendar->DayNumFromPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2), 1);
    }
    Calendar->SetDate(0);
    EXPECT_EQ(FormatDateTime("mmmm yyyy", Calendar->Date()), "December 1899");
}

TEST_F(MonthCalendarTest, LeftClickSelectsTheDay)
{
    Calendar->SetDate(EncodeDate(2010, 5, 20) + 0.75);
    int clicks = 0;
    Calendar->OnNumberClick = [&](TObject*) { ++clicks; };
    Pump();
    // The 12th of May 2010 (a Wednesday; the 1st is a Saturday) stands in row 3, column 3.
    const TRect cell = Calendar->CellRect(3, 3);
    const int x = 10 + (cell.Left + cell.Right) / 2, y = 10 + (cell.Top + cell.Bottom) / 2;
    Backend.Click(x, y, TRawButton::Right);
    Pump();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Text(Calendar->Date()), "2010-05-20 18:00");
    Backend.AdvanceClock(1000);
    Backend.Click(x, y);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Text(Calendar->Date()), "2010-05-12 00:00");
    // Empty cells and the title select nothing.
    const TRect empty = Calendar->CellRect(6, 6);
    EXPECT_EQ(Calendar->DayNumFromPoint((empty.Left + empty.Right) / 2, (empty.Top + empty.Bottom) / 2), 0);
    EXPECT_EQ(Calendar->DayNumFromPoint(100, 5), 0);
}

TEST_F(MonthCalendarTest, ButtonsRepeatAndSitInTheCorners)
{
    const int intervals[] = { 100, 250, 250, 100 };
    for (int i = 0; i < 4; ++i) {
        TspSkinSpeedButton* button = Calendar->Button(i);
        EXPECT_TRUE(button->RepeatMode());
        EXPECT_EQ(button->RepeatInterval(), intervals[i]);
        EXPECT_EQ(button->Width(), 23);
    }
    EXPECT_EQ(Calendar->Button(1)->Left() - Calendar->Button(0)->Left(), 24);
    EXPECT_EQ(Calendar->Button(3)->Left() - Calendar->Button(2)->Left(), 24);
    EXPECT_GT(Calendar->Button(3)->Left(), 150);
    // A click on the next-year button steps.
    Calendar->SetDate(EncodeDate(2010, 5, 20));
    Backend.Click(10 + Calendar->Button(3)->Left() + 10, 10 + Calendar->Button(3)->Top() + 10);
    Backend.AdvanceClock(1000);
    Pump();
    EXPECT_EQ(Text(Calendar->Date()), "2011-05-20 00:00");
}

} // namespace
