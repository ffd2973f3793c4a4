#include "skin/dialogs/TspSkinMonthCalendar.h"

#include "framework/core/DateUtils.h"
#include "framework/core/Numbers.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/WinMessages.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/dialogs/SkinDialogGlyphs.h"

#include <cmath>

using namespace SPUtils;

namespace {

struct TDay {
    int Year, Month, Day;
};

TDay Split(TDateTime date)
{
    TDay d {};
    DecodeDate(date, d.Year, d.Month, d.Day);
    return d;
}

} // namespace

TspSkinMonthCalendar::TspSkinMonthCalendar(TComponent* owner)
    : TspSkinPanel(owner)
{
    PaintBorderStrips = false;
    SetBorderStyle(TspSkinBorderStyle::bvFrame);
    struct TButtonSpec {
        const char* Glyph;
        int Interval;
        void (TspSkinMonthCalendar::*Click)(TObject*);
    } const specs[4] = {
        { "SP_PRIORYEAR", 100, &TspSkinMonthCalendar::PriorYButtonClick },
        { "SP_PRIORMONTH", 250, &TspSkinMonthCalendar::PriorMButtonClick },
        { "SP_NEXTMONTH", 250, &TspSkinMonthCalendar::NextMButtonClick },
        { "SP_NEXTYEAR", 100, &TspSkinMonthCalendar::NextYButtonClick },
    };
    for (int i = 0; i < 4; ++i) {
        auto* button = new TspSkinSpeedButton(this);
        button->SetBounds(0, 0, 23, 23);
        button->SetSkinDataName("resizebutton");
        TBitmap glyph;
        LoadDialogGlyph(&glyph, specs[i].Glyph);
        button->SetGlyph(&glyph);
        button->SetNumGlyphs(1);
        button->SetRepeatMode(true);
        button->SetRepeatInterval(specs[i].Interval);
        const auto click = specs[i].Click;
        button->OnClick = [this, click](TObject* sender) { (this->*click)(sender); };
        button->SetParent(this);
        FButtons[i] = button;
    }
    SetBounds(Left(), Top(), 200, 150);
    FDate = Now();
    ArangeControls();
}

void TspSkinMonthCalendar::SetDate(TDateTime value)
{
    FDate = value;
    Invalidate();
}

void TspSkinMonthCalendar::SetTodayDefault(bool value)
{
    FTodayDefault = value;
    if (value)
        SetDate(Now());
}

void TspSkinMonthCalendar::SetFirstDayOfWeek(TspDaysOfWeek value)
{
    FFirstDayOfWeek = value;
    Invalidate();
}

void TspSkinMonthCalendar::SetBoldDays(bool value)
{
    FBoldDays = value;
    Invalidate();
}

void TspSkinMonthCalendar::Loaded()
{
    inherited::Loaded();
    if (FTodayDefault)
        SetDate(Now());
}

int TspSkinMonthCalendar::DaysThisMonth() const
{
    const TDay d = Split(FDate);
    return ::DaysPerMonth(d.Year, d.Month);
}

void TspSkinMonthCalendar::OffsetMonth(int delta)
{
    TDay d = Split(FDate);
    d.Month += delta;
    if (d.Month == 13)
        d.Month = 1;
    else if (d.Month == 0)
        d.Month = 12;
    d.Day = std::min(d.Day, ::DaysPerMonth(d.Year, d.Month));
    SetDate(EncodeDate(d.Year, d.Month, d.Day));
}

void TspSkinMonthCalendar::OffsetYear(int delta)
{
    TDay d = Split(FDate);
    d.Year += delta;
    if (d.Year <= 1760 || d.Year > 9999)
        return;
    d.Day = std::min(d.Day, ::DaysPerMonth(d.Year, d.Month));
    SetDate(EncodeDate(d.Year, d.Month, d.Day));
}

// A month step across the year's end needs the year step: when that is refused (at the calendar's first or last
// year) the whole step is, instead of wrapping the month inside the same year.
void TspSkinMonthCalendar::PriorMButtonClick(TObject*)
{
    const TDay d = Split(FDate);
    if (d.Month == 1) {
        if (d.Year - 1 <= 1760)
            return;
        OffsetYear(-1);
    }
    OffsetMonth(-1);
    Click();
}

void TspSkinMonthCalendar::NextMButtonClick(TObject*)
{
    const TDay d = Split(FDate);
    if (d.Month == 12) {
        if (d.Year + 1 > 9999)
            return;
        OffsetYear(1);
    }
    OffsetMonth(1);
    Click();
}

void TspSkinMonthCalendar::PriorYButtonClick(TObject*)
{
    OffsetYear(-1);
    Click();
}

void TspSkinMonthCalendar::NextYButtonClick(TObject*)
{
    OffsetYear(1);
    Click();
}

int TspSkinMonthCalendar::GetMonthOffset() const
{
    const TDay d = Split(FDate);
    const int w = (DayOfWeek(EncodeDate(d.Year, d.Month, 1)) - static_cast<int>(FFirstDayOfWeek) + 7) % 7;
    return w == 0 ? -5 : 2 - w;
}

void TspSkinMonthCalendar::ArangeControls()
{
    if (!FButtons[0])
        return;
    const TRect r = GetSkinClientRect();
    FButtons[0]->SetBounds(r.Left + 1, r.Top + 1, 23, 23);
    FButtons[1]->SetBounds(r.Left + 25, r.Top + 1, 23, 23);
    FButtons[3]->SetBounds(r.Right - 24, r.Top + 1, 23, 23);
    FButtons[2]->SetBounds(r.Right - 48, r.Top + 1, 23, 23);
}

void TspSkinMonthCalendar::SetSkinData(TspSkinData* value)
{
    inherited::SetSkinData(value);
    for (TspSkinSpeedButton* button : FButtons)
        if (button)
            button->SetSkinData(value);
}

void TspSkinMonthCalendar::ChangeSkinData()
{
    TspSkinData* skin = SkinData();
    if (skin && !skin->Empty) {
        const int index = skin->GetControlIndex("stdlabel");
        if (index != -1) {
            if (auto* record = dynamic_cast<TspDataSkinStdLabelControl*>(
                    skin->ControlRecords[static_cast<size_t>(index)].get())) {
                FDayColor = record->FontColor;
                FTitleColor = record->ActiveFontColor;
            } else {
                FDayColor = FTitleColor = Font()->Color();
            }
        }
    }
    inherited::ChangeSkinData();
    ArangeControls();
}

void TspSkinMonthCalendar::SetDefaultCaptionHeight(int value)
{
    inherited::SetDefaultCaptionHeight(value);
    ArangeControls();
    Invalidate();
}

void TspSkinMonthCalendar::SetCaptionMode(bool value)
{
    inherited::SetCaptionMode(value);
    ArangeControls();
    Invalidate();
}

void TspSkinMonthCalendar::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    if (message.Msg == WM_SIZE)
        ArangeControls();
}

void TspSkinMonthCalendar::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    DrawCalendar(bitmap->Canvas());
}

void TspSkinMonthCalendar::CreateControlSkinImage(TBitmap* bitmap)
{
    inherited::CreateControlSkinImage(bitmap);
    DrawCalendar(bitmap->Canvas());
}

TRect TspSkinMonthCalendar::DayClientRect() { return GetSkinClientRect(); }

void TspSkinMonthCalendar::Measure()
{
    const TRect r = DayClientRect();
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(DefaultFont());
    measure.Canvas()->Font()->SetStyle({ fsBold });
    FColWidth = (RectWidth(r) - 2) / 7;
    FLineY = r.Top + 33 + measure.Canvas()->TextHeight("Wq") + 1;
    FRowHeight = (r.Bottom - FLineY - 4) / 6;
}

TRect TspSkinMonthCalendar::CellRect(int row, int column)
{
    Measure();
    const TRect r = DayClientRect();
    const int left = r.Left + 1 + column * FColWidth;
    const int bottom = FLineY + 3 + row * FRowHeight;
    return { left, bottom - FRowHeight, left + FColWidth, bottom };
}

int TspSkinMonthCalendar::DayNumFromPoint(int x, int y)
{
    const TRect r = DayClientRect();
    if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom)
        return 0;
    const int offset = GetMonthOffset();
    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column) {
            const TRect cell = CellRect(row, column);
            if (x >= cell.Left && x < cell.Right && y >= cell.Top && y < cell.Bottom) {
                const int n = offset + column + (row - 1) * 7;
                return n >= 1 && n <= DaysThisMonth() ? n : 0;
            }
        }
    return 0;
}

void TspSkinMonthCalendar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (button != mbLeft)
        return;
    const int day = DayNumFromPoint(x, y);
    if (day == 0)
        return;
    const TDay d = Split(FDate);
    SetDate(EncodeDate(d.Year, d.Month, day));
    if (OnNumberClick)
        OnNumberClick(this);
}

void TspSkinMonthCalendar::DrawFrame(const TRect& rect, TCanvas* canvas)
{
    TspSkinData* skin = SkinData();
    const bool skinned = SkinIndex != -1;
    const int index = skinned ? skin->GetControlIndex("resizebutton") : -1;
    auto* record = index != -1
        ? dynamic_cast<TspDataSkinButtonControl*>(skin->ControlRecords[static_cast<size_t>(index)].get())
        : nullptr;
    TBitmap* picture = record && record->PictureIndex >= 0
            && record->PictureIndex < static_cast<int>(skin->ActivePictures.size())
        ? skin->ActivePictures[static_cast<size_t>(record->PictureIndex)].get()
        : nullptr;
    if (!record || !picture) {
        canvas->Pen()->SetColor(skinned ? FTitleColor : Font()->Color());
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(rect);
        return;
    }
    const TRect source = IsNullRect(record->DownSkinRect) ? record->SkinRect : record->DownSkinRect;
    const int w = RectWidth(rect), h = RectHeight(rect);
    const int dw = w - RectWidth(source), dh = h - RectHeight(source);
    const TPoint nRT { record->RightTopPoint.X + dw, record->RightTopPoint.Y };
    const TPoint nLB { record->LeftBottomPoint.X, record->LeftBottomPoint.Y + dh };
    const TPoint nRB { record->RightBottomPoint.X + dw, record->RightBottomPoint.Y + dh };
    const TRect c = record->ClientRect;
    TBitmap image;
    CreateSkinImage(record->LeftTopPoint, record->RightTopPoint, record->LeftBottomPoint, record->RightBottomPoint, c,
        record->LeftTopPoint, nRT, nLB, nRB, { c.Left, c.Top, c.Right + dw, c.Bottom + dh }, &image, picture, source,
        w, h, true, record->LeftStretch, record->TopStretch, record->RightStretch, record->BottomStretch,
        record->StretchEffect, record->StretchType);
    canvas->Draw(rect.Left, rect.Top, &image);
    canvas->Font()->SetColor(record->DownFontColor);
}

void TspSkinMonthCalendar::DrawCalendar(TCanvas* canvas)
{
    const bool skinned = SkinIndex != -1;
    const TRect r = DayClientRect();
    TspSkinData* skin = SkinData();
    canvas->Font()->Assign(DefaultFont());
    if (skin && skin->ResourceStrData())
        canvas->Font()->SetCharset(skin->ResourceStrData()->CharSet());
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetStyle({ fsBold });
    if (skinned)
        canvas->Font()->SetColor(FTitleColor);
    const std::string title = FormatDateTime("MMMM, YYYY", FDate);
    canvas->TextOut(Width() / 2 - canvas->TextWidth(title) / 2 - 2, r.Top + 3, title);

    Measure();
    const TFormatSettings& settings = FormatSettings();
    for (int i = 0; i < 7; ++i) {
        const std::string name = settings.ShortDayNames[(static_cast<int>(FFirstDayOfWeek) + i) % 7].substr(0, 4);
        const int left = r.Left + 1 + i * FColWidth;
        canvas->TextOut(left + FColWidth / 2 - canvas->TextWidth(name) / 2, r.Top + 33, name);
    }
    canvas->Pen()->SetColor(canvas->Font()->Color());
    canvas->MoveTo(r.Left + 1, FLineY);
    canvas->LineTo(r.Right - 1, FLineY);

    canvas->Font()->SetStyle(FBoldDays ? TFontStyles { fsBold } : TFontStyles {});
    if (skinned)
        canvas->Font()->SetColor(FDayColor);
    const int offset = GetMonthOffset();
    const int days = DaysThisMonth();
    const int selected = Split(FDate).Day;
    const TColor dayColor = canvas->Font()->Color();
    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column) {
            const int n = offset + column + (row - 1) * 7;
            if (n < 1 || n > days)
                continue;
            const TRect cell = CellRect(row, column);
            if (n == selected)
                DrawFrame(cell, canvas);
            const std::string text = std::to_string(n);
            RECT box { cell.Left, cell.Top, cell.Right, cell.Bottom };
            canvas->Brush()->SetStyle(bsClear);
            DrawText(canvas->Handle(), text.data(), static_cast<int>(text.size()), &box,
                DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            canvas->Font()->SetColor(dayColor);
        }
}
