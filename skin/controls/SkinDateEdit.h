// TspSkinDateEdit: a skinned button edit for one date. Its mask follows the locale's short date format, each
// keystroke is checked so that only a plausible partial date can be typed, and a complete valid text sets the
// date. The button drops down a month calendar (TspPopupCalendar) under the edit; a click on a day takes it.
// The date rules are free functions over the locale settings so that they can be checked alone.
#pragma once
#include "framework/core/FileSystem.h"
#include "framework/core/FormatSettings.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinEdits.h"
#include "skin/dialogs/TspSkinMonthCalendar.h"

#include <string>
#include <vector>

// Which field of the short date shows the day, the month and the year, as the 31 December 9999 written in it
// tells.
struct TDateReference {
    std::vector<std::string> Fields;
    // 1-based field numbers; a field that cannot be told keeps 1.
    int DayPos = 1, MonthPos = 1, YearPos = 1;
    bool NamedMonth = false;
    int MonthNameLength = 0;
    int YearMax = 9999;
};

namespace SkinDateRules {

TDateReference Reference(const TFormatSettings& settings);
// "!99/99/0000;1; " for dd.MM.yyyy: 9 for day and numeric month places, L for a named month's, 0 for the year's.
std::string DateMask(const TFormatSettings& settings);
// Whether `text` (the edit text, blanks included) may still become a date: the keystroke check.
bool IsValidPartialText(const std::string& text, const TFormatSettings& settings);
// Whether `text` is a complete date that exists (the 31st of a 30-day month does not).
bool IsValidText(const std::string& text, const TFormatSettings& settings);
// Reads a complete text; false when it is no date.
bool TextToDate(const std::string& text, const TFormatSettings& settings, TDateTime& date);
// The month name field of `date` as the short date writes it, "" when the month is written as a number.
std::string ExtactMonth(TDateTime date, const TFormatSettings& settings);
// The month 1..12 whose name is `text` (letter case aside); 1 when none.
int DecodeMonth(const std::string& text, const TFormatSettings& settings);
bool IsMonth(const std::string& text, const TFormatSettings& settings);

} // namespace SkinDateRules

// The drop-down calendar: a popup that never takes the activation.
class TspPopupCalendar : public TspSkinMonthCalendar {
    using inherited = TspSkinMonthCalendar;

public:
    explicit TspPopupCalendar(TComponent* owner);

    // Rises from nothing to `target` on a timer.
    void StartFade(int target) { FFade.Start(Handle(), target); }
    void StopFade() { FFade.Stop(Handle()); }
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    SkinControlSupport::TPopupFade FFade { 3 };
};

class TspSkinDateEdit : public TspSkinCustomEdit {
    using inherited = TspSkinCustomEdit;

public:
    explicit TspSkinDateEdit(TComponent* owner);
    ~TspSkinDateEdit() override;

    TDateTime Date() const { return FCalendar->Date(); }
    // Sets the calendar's date and writes it; OnDateChange follows, also for the same date.
    void SetDate(TDateTime value);
    bool TodayDefault() const { return FTodayDefault; }
    void SetTodayDefault(bool value);
    bool CalendarAlphaBlend = false;
    uint8_t CalendarAlphaBlendValue = 0;
    bool CalendarAlphaBlendAnimation = false;
    int CalendarWidth() const { return FCalendar->Width(); }
    void SetCalendarWidth(int value) { FCalendar->SetWidth(value); }
    int CalendarHeight() const { return FCalendar->Height(); }
    void SetCalendarHeight(int value) { FCalendar->SetHeight(value); }
    TFont* CalendarFont() const { return FCalendar->DefaultFont(); }
    void SetCalendarFont(TFont* value) { FCalendar->SetDefaultFont(value); }
    bool CalendarBoldDays() const { return FCalendar->BoldDays(); }
    void SetCalendarBoldDays(bool value) { FCalendar->SetBoldDays(value); }
    bool CalendarUseSkinFont() const { return FCalendar->UseSkinFont(); }
    void SetCalendarUseSkinFont(bool value) { FCalendar->SetUseSkinFont(value); }
    const std::string& CalendarSkinDataName() const { return FCalendar->SkinDataName(); }
    void SetCalendarSkinDataName(std::string_view value) { FCalendar->SetSkinDataName(value); }
    TspDaysOfWeek FirstDayOfWeek() const { return FCalendar->FirstDayOfWeek(); }
    void SetFirstDayOfWeek(TspDaysOfWeek value) { FCalendar->SetFirstDayOfWeek(value); }
    TNotifyEvent OnDateChange;

    TspPopupCalendar* Calendar() const { return FCalendar; }
    bool IsDateInput() const;
    std::string GetDateMask() const { return SkinDateRules::DateMask(FormatSettings()); }
    // The keystroke check, installed as OnKeyPress (a handler assigned later replaces it).
    void HandleOnKeyPress(TObject* sender, char32_t& key);
    void CheckValidDate();
    void ButtonClick(TObject* sender);
    void CalendarClick(TObject* sender);
    void DropDown();
    void CloseUp(bool accept);
    // Leaving with an incomplete text is allowed: the date keeps its last valid value.
    void ValidateEdit() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void Change() override;

private:
    void WriteDate(TDateTime value);

    TspPopupCalendar* FCalendar;
    bool FTodayDefault = false;
    TDateTime FSavedDate = 0;
    bool FInUpdate = false;
};
