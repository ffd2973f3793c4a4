// TspSkinMonthCalendar: a skinned panel showing one month as a grid of days under its title and the weekday
// names, with four repeating step buttons (month and year back and forward); a left click on a day selects it.
#pragma once
#include "framework/core/FileSystem.h"
#include "skin/controls/SkinPanels.h"

class TspSkinSpeedButton;

enum TspDaysOfWeek : uint8_t { Sun, Mon, Tue, Wed, Thu, Fri, Sat };

class TspSkinMonthCalendar : public TspSkinPanel {
    using inherited = TspSkinPanel;

public:
    explicit TspSkinMonthCalendar(TComponent* owner);

    // Days since 30 December 1899; the month shown and the selected day are those of the date.
    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime value);
    bool TodayDefault() const { return FTodayDefault; }
    void SetTodayDefault(bool value);
    TspDaysOfWeek FirstDayOfWeek() const { return FFirstDayOfWeek; }
    void SetFirstDayOfWeek(TspDaysOfWeek value);
    bool BoldDays() const { return FBoldDays; }
    void SetBoldDays(bool value);
    TNotifyEvent OnNumberClick;

    void OffsetMonth(int delta);
    void OffsetYear(int delta);
    int DaysThisMonth() const;
    int GetMonthOffset() const;
    // The day shown at (x, y), 0 outside the days of the month.
    int DayNumFromPoint(int x, int y);
    // The rectangle of the cell of row j (1..6) and column i (0..6).
    TRect CellRect(int row, int column);

    void PriorMButtonClick(TObject* sender);
    void NextMButtonClick(TObject* sender);
    void PriorYButtonClick(TObject* sender);
    void NextYButtonClick(TObject* sender);
    TspSkinSpeedButton* Button(int index) const { return FButtons[index]; } // prior year, prior month, next month, next year

    void SetSkinData(TspSkinData* value) override;
    void ChangeSkinData() override;
    void Loaded() override;
    void SetDefaultCaptionHeight(int value) override;
    void SetCaptionMode(bool value) override;
    void WndProc(TMessage& message) override;

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void ArangeControls();
    void DrawCalendar(TCanvas* canvas);
    void DrawFrame(const TRect& rect, TCanvas* canvas);
    // The grid's column width, row height and the y of the line under the weekday names.
    void Measure();
    TRect DayClientRect();

    TDateTime FDate = 0;
    bool FTodayDefault = false;
    TspDaysOfWeek FFirstDayOfWeek = Sun;
    bool FBoldDays = false;
    TspSkinSpeedButton* FButtons[4] {};
    TColor FDayColor = clBlack;
    TColor FTitleColor = clBlack;
    int FColWidth = 0, FRowHeight = 0, FLineY = 0;
};
