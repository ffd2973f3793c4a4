#include "skin/controls/SkinDateEdit.h"

#include "framework/controls/Messages.h"
#include "framework/controls/TScreen.h"
#include "framework/core/DateUtils.h"
#include "framework/core/SysUtils.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/lists/SkinListSupport.h"

#include <algorithm>
#include <cctype>

using namespace SPUtils;

namespace {

bool IsDigits(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string WithoutBlanks(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ')
            out += c;
    return out;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

// Digits and date separators only (the empty text too); `blank` also lets blanks through.
bool OnlyNumbers(const std::string& text, const std::string& separator, bool blank)
{
    const std::string rest = [&] {
        std::string r;
        for (const std::string& part : Split(text, separator))
            r += part;
        return r;
    }();
    return std::all_of(rest.begin(), rest.end(), [&](char c) { return (c >= '0' && c <= '9') || (blank && c == ' '); });
}

int Number(const std::string& digits)
{
    // Fields are a few digits long; a longer one is out of every range anyway.
    return digits.size() > 6 ? 1000000 : std::atoi(digits.c_str());
}

// A two-digit year in the hundred years the settings' window starts.
int FullYear(int year, const TFormatSettings& settings)
{
    int current = 0, month = 0, day = 0;
    DecodeDate(Now(), current, month, day);
    const int start = current - settings.TwoDigitYearCenturyWindow;
    int full = start - start % 100 + year;
    if (full < start)
        full += 100;
    return full;
}

std::string DateText(TDateTime date, const TFormatSettings& settings)
{
    return FormatDateTime(settings.ShortDateFormat, date, settings);
}

} // namespace

// ---- Date rules ------------------------------------------------------------------------------------------------

TDateReference SkinDateRules::Reference(const TFormatSettings& settings)
{
    TDateReference ref;
    ref.Fields = Split(DateText(EncodeDate(9999, 12, 31), settings), SeparatorText(settings.DateSeparator));
    for (size_t i = 0; i < ref.Fields.size() && i < 3; ++i) {
        const std::string& field = ref.Fields[i];
        const int pos = static_cast<int>(i) + 1;
        if (!IsDigits(field)) {
            ref.MonthPos = pos;
            ref.NamedMonth = true;
            ref.MonthNameLength = static_cast<int>(field.size());
        } else if (field == "12")
            ref.MonthPos = pos;
        else if (field == "31")
            ref.DayPos = pos;
        else if (field == "99" || field == "9999") {
            ref.YearPos = pos;
            ref.YearMax = field == "99" ? 99 : 9999;
        }
    }
    return ref;
}

std::string SkinDateRules::DateMask(const TFormatSettings& settings)
{
    const TDateReference ref = Reference(settings);
    std::string mask = "!";
    for (size_t i = 0; i < ref.Fields.size(); ++i) {
        const int pos = static_cast<int>(i) + 1;
        char c = '9';
        if (pos == ref.YearPos && ref.Fields[i] != "12" && ref.Fields[i] != "31")
            c = '0';
        if (pos == ref.MonthPos && ref.NamedMonth)
            c = 'L';
        if (i > 0)
            mask += '/';
        mask += std::string(ref.Fields[i].size(), c);
    }
    return mask + ";1; ";
}

bool SkinDateRules::IsValidPartialText(const std::string& text, const TFormatSettings& settings)
{
    const TDateReference ref = Reference(settings);
    const std::string separator = SeparatorText(settings.DateSeparator);
    const std::string compact = WithoutBlanks(text);
    if (OnlyNumbers(compact, separator, false) == ref.NamedMonth)
        return false;
    const std::vector<std::string> fields = Split(text, separator);
    if (fields.size() != 3)
        return false;
    const bool blankLeft = text.find(' ') != std::string::npos;
    for (int pos = 1; pos <= 3; ++pos) {
        const std::string field = WithoutBlanks(fields[static_cast<size_t>(pos - 1)]);
        if (field.empty()) {
            if (!blankLeft)
                return false;
            continue;
        }
        if (pos == ref.MonthPos && ref.NamedMonth)
            continue;
        if (!IsDigits(field))
            return false;
        const int value = Number(field);
        if (pos == ref.YearPos) {
            if (value > ref.YearMax)
                return false;
        } else if (pos == ref.MonthPos) {
            if (field.size() == 1 ? value > 1 : (value < 1 || value > 12))
                return false;
        } else if (pos == ref.DayPos) {
            if (field.size() == 1 ? value > 3 : (value < 1 || value > 31))
                return false;
        }
    }
    return true;
}

bool SkinDateRules::TextToDate(const std::string& text, const TFormatSettings& settings, TDateTime& date)
{
    const TDateReference ref = Reference(settings);
    const std::string separator = SeparatorText(settings.DateSeparator);
    if (text.find(' ') != std::string::npos || OnlyNumbers(text, separator, false) == ref.NamedMonth)
        return false;
    const std::vector<std::string> fields = Split(text, separator);
    if (fields.size() != 3 || std::any_of(fields.begin(), fields.end(), [](const auto& f) { return f.empty(); }))
        return false;
    const std::string& dayField = fields[static_cast<size_t>(ref.DayPos - 1)];
    const std::string& monthField = fields[static_cast<size_t>(ref.MonthPos - 1)];
    const std::string& yearField = fields[static_cast<size_t>(ref.YearPos - 1)];
    if (!IsDigits(dayField) || !IsDigits(yearField))
        return false;
    const int day = Number(dayField);
    int year = Number(yearField);
    if (year > ref.YearMax || (year == 0 && ref.YearMax != 99))
        return false;
    int month = 0;
    if (ref.NamedMonth) {
        if (static_cast<int>(monthField.size()) != ref.MonthNameLength || !IsMonth(monthField, settings))
            return false;
        month = DecodeMonth(monthField, settings);
    } else {
        if (!IsDigits(monthField))
            return false;
        month = Number(monthField);
    }
    // A two-digit year means the same with a named month as with a numeric one.
    if (ref.YearMax == 99)
        year = FullYear(year, settings);
    // Days are checked against the month itself: an impossible date is simply not a date.
    if (month < 1 || month > 12 || day < 1 || day > ::DaysPerMonth(year, month))
        return false;
    date = EncodeDate(year, month, day);
    return true;
}

bool SkinDateRules::IsValidText(const std::string& text, const TFormatSettings& settings)
{
    TDateTime date = 0;
    return TextToDate(text, settings, date);
}

std::string SkinDateRules::ExtactMonth(TDateTime date, const TFormatSettings& settings)
{
    for (const std::string& part : Split(DateText(date, settings), SeparatorText(settings.DateSeparator)))
        if (!IsDigits(part))
            return part;
    return {};
}

int SkinDateRules::DecodeMonth(const std::string& text, const TFormatSettings& settings)
{
    for (int month = 1; month <= 12; ++month)
        if (SameText(ExtactMonth(EncodeDate(9999, month, 1), settings), text))
            return month;
    return 1;
}

bool SkinDateRules::IsMonth(const std::string& text, const TFormatSettings& settings)
{
    for (int month = 1; month <= 12; ++month)
        if (SameText(ExtactMonth(EncodeDate(9999, month, 1), settings), text))
            return true;
    return false;
}

// ---- TspPopupCalendar ------------------------------------------------------------------------------------------

TspPopupCalendar::TspPopupCalendar(TComponent* owner)
    : inherited(owner)
{
    FControlStyle.Include(csNoDesignVisible);
    FControlStyle.Include(csReplicatable);
}

void TspPopupCalendar::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.WindowClass.style = CS_SAVEBITS;
    if (CheckWXP())
        params.WindowClass.style |= CS_DROPSHADOW;
}

void TspPopupCalendar::WndProc(TMessage& message)
{
    if (message.Msg == WM_MOUSEACTIVATE) {
        message.Result = MA_NOACTIVATE;
        return;
    }
    if (message.Msg == WM_TIMER && FFade.Step(Handle(), message.WParam))
        return;
    inherited::WndProc(message);
}

// ---- TspSkinDateEdit -------------------------------------------------------------------------------------------

TspSkinDateEdit::TspSkinDateEdit(TComponent* owner)
    : inherited(owner)
    , FCalendar(new TspPopupCalendar(this))
{
    SetEditMask(GetDateMask());
    SetButtonMode(true);
    SetSkinDataName("buttonedit");
    FCalendar->SetVisible(false);
    FCalendar->SetDate(0);
    FCalendar->OnNumberClick = [this](TObject* sender) { CalendarClick(sender); };
    OnButtonClick = [this](TObject* sender) { ButtonClick(sender); };
    OnKeyPress = [this](TObject* sender, char32_t& key) { HandleOnKeyPress(sender, key); };
}

TspSkinDateEdit::~TspSkinDateEdit() = default;

void TspSkinDateEdit::WriteDate(TDateTime value)
{
    FInUpdate = true;
    SetText(DateText(value, FormatSettings()));
    FInUpdate = false;
}

void TspSkinDateEdit::SetDate(TDateTime value)
{
    FCalendar->SetDate(value);
    if (!(ComponentState().Contains(csLoading) && !FTodayDefault))
        WriteDate(value);
    if (OnDateChange)
        OnDateChange(this);
}

void TspSkinDateEdit::SetTodayDefault(bool value)
{
    FTodayDefault = value;
    if (value)
        SetDate(Now());
}

bool TspSkinDateEdit::IsDateInput() const { return SkinDateRules::IsValidText(EditText(), FormatSettings()); }

void TspSkinDateEdit::HandleOnKeyPress(TObject*, char32_t& key)
{
    if (key == 13 || key == 8 || key < 32 || key > 126)
        return;
    std::string text = EditText();
    int pos = SelStart();
    // The mask puts a typed character past a separator it stands on.
    const std::string separator = SeparatorText(FormatSettings().DateSeparator);
    while (pos < static_cast<int>(text.size()) && text.compare(static_cast<size_t>(pos), separator.size(), separator) == 0)
        pos += static_cast<int>(separator.size());
    if (pos >= static_cast<int>(text.size())) {
        key = 0;
        return;
    }
    text[static_cast<size_t>(pos)] = static_cast<char>(key);
    if (!SkinDateRules::IsValidPartialText(text, FormatSettings()))
        key = 0;
}

void TspSkinDateEdit::Change()
{
    inherited::Change();
    if (!FInUpdate && IsDateInput())
        CheckValidDate();
}

void TspSkinDateEdit::CheckValidDate()
{
    const TDateTime before = FCalendar->Date();
    TDateTime date = 0;
    const std::string text = EditText();
    // A numeric date is read as the framework reads dates; one with a month name by the month names.
    const bool read = OnlyNumbers(text, SeparatorText(FormatSettings().DateSeparator), false)
        ? TryStrToDate(text, date, FormatSettings())
        : SkinDateRules::TextToDate(text, FormatSettings(), date);
    if (read)
        FCalendar->SetDate(date);
    if (FCalendar->Date() != before && OnDateChange)
        OnDateChange(this);
}

void TspSkinDateEdit::ValidateEdit() { }

void TspSkinDateEdit::Loaded()
{
    inherited::Loaded();
    // The locale's format at run time wins over the one the control was made with.
    SetEditMask(GetDateMask());
    if (FTodayDefault)
        SetDate(Now());
}

void TspSkinDateEdit::ButtonClick(TObject*)
{
    if (FCalendar->Visible())
        CloseUp(false);
    else
        DropDown();
}

void TspSkinDateEdit::CalendarClick(TObject*) { CloseUp(true); }

void TspSkinDateEdit::DropDown()
{
    if (!FTodayDefault) {
        FSavedDate = FCalendar->Date();
        if (FCalendar->Date() == 0 && EditText().find(' ') != std::string::npos)
            FCalendar->SetDate(Now());
    }
    const TPoint origin = Parent() ? Parent()->ClientToScreen({ Left(), Top() }) : TPoint { Left(), Top() };
    int y = origin.Y + Height();
    if (Screen->Height() < y + FCalendar->Height())
        y = origin.Y - FCalendar->Height();
    const bool blend = CalendarAlphaBlend && CheckW2KWXP();
    const HWND window = FCalendar->Handle();
    if (blend) {
        SetWindowLong(window, GWL_EXSTYLE, GetWindowLong(window, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetAlphaBlendTransparent(window, 0);
    }
    FCalendar->SetSkinData(SkinData());
    SkinListSupport::ShowPopupWindow(window, { origin.X, y });
    FCalendar->SetVisible(true);
    if (blend) {
        if (CalendarAlphaBlendAnimation)
            FCalendar->StartFade(CalendarAlphaBlendValue);
        else
            SetAlphaBlendTransparent(window, CalendarAlphaBlendValue);
    }
}

void TspSkinDateEdit::CloseUp(bool accept)
{
    if (!FCalendar->Visible())
        return;
    FCalendar->StopFade();
    SkinListSupport::HidePopupWindow(FCalendar->Handle());
    FCalendar->SetVisible(false);
    if (CalendarAlphaBlend && CheckW2KWXP()) {
        const HWND window = FCalendar->Handle();
        SetWindowLong(window, GWL_EXSTYLE, GetWindowLong(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    }
    if (accept) {
        WriteDate(FCalendar->Date());
        if (OnDateChange)
            OnDateChange(this);
    } else if (!FTodayDefault)
        FCalendar->SetDate(FSavedDate);
    if (CanFocus())
        SetFocus();
}

void TspSkinDateEdit::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    switch (message.Msg) {
    case WM_KILLFOCUS: {
        const HWND to = reinterpret_cast<HWND>(message.WParam);
        const bool toCalendar = FCalendar->HandleAllocated() && to == FCalendar->Handle();
        if ((FCalendar->Visible() || !FTodayDefault) && !toCalendar)
            CloseUp(false);
        if (!FCalendar->Visible() && FTodayDefault)
            WriteDate(FCalendar->Date());
        break;
    }
    case WM_KEYDOWN:
        CloseUp(false);
        break;
    case CM_CANCELMODE: {
        TControl* sender = MessageSender(message);
        bool inside = false;
        for (TControl* c = sender; c && !inside; c = c->Parent())
            inside = c == FCalendar;
        if (!inside)
            CloseUp(false);
        break;
    }
    default:
        break;
    }
}
