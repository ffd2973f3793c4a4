// The job list's window side: columns, owner-data rows and their painting.
#include "app/JobListView.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"

#include <algorithm>

namespace {

struct TColumnSpec {
    const char* Caption;
    int Width;
    TAlignment Alignment;
};

constexpr TColumnSpec kColumns[] = {
    { "Source File", 90, taLeftJustify },
    { "Frame Size", 80, taCenter },
    { "Duration", 80, taCenter },
    { "Target Format", 100, taCenter },
    { "Status", 80, taCenter },
    { "Estimate Output File Size", 140, taLeftJustify },
    { "Output File", 0, taLeftJustify },
    { "Profile", 0, taLeftJustify },
};

// The widths of the last three columns while the list holds jobs.
constexpr int kShownWidths[] = { 140, 200, 250 };

// Draws `text` in `box` of the canvas with an end ellipsis, centred across the box for a centred column.
void DrawCellText(TCanvas* canvas, const std::string& text, TRect box, TAlignment alignment)
{
    UINT format = DT_END_ELLIPSIS | DT_VCENTER;
    if (alignment == taCenter)
        format |= DT_CENTER;
    RECT r { box.Left, box.Top, box.Right, box.Bottom };
    DrawText(canvas->Handle(), text.data(), static_cast<int>(text.size()), &r, format);
}

} // namespace

void AddJobListColumns(TCustomListView* view)
{
    for (const TColumnSpec& spec : kColumns) {
        TListColumn* column = view->Columns()->Add();
        column->SetCaption(spec.Caption);
        column->SetWidth(spec.Width);
        column->SetAlignment(spec.Alignment);
    }
    SetJobListColumnWidths(view, true);
}

void SetJobListColumnWidths(TCustomListView* view, bool empty)
{
    TListColumns* columns = view->Columns();
    for (int i = 0; i < 3; ++i)
        columns->Items(5 + i)->SetWidth(empty ? 0 : kShownWidths[i]);
}

void FillJobRow(const TJobList& jobs, TListItem* item)
{
    const int index = item->Index();
    if (index < 0 || index >= static_cast<int>(jobs.size()) || index >= item->Owner()->Count())
        return;
    TJobRowTexts texts = JobRowTexts(*jobs[index]);
    item->SetCaption(texts.Caption);
    item->SetImageIndex(0);
    TStrings* subItems = item->SubItems();
    subItems->Clear();
    for (const std::string& text : texts.SubItems)
        subItems->Add(text);
}

void DrawJobRow(const TJobList& jobs, TCustomListView* view, TListItem* item, const TRect& rect,
    TListDrawState state)
{
    TCanvas* canvas = view->Canvas();
    const bool marked = state.Contains(ldsSelected) || state.Contains(ldsFocused);
    const int listWidth = view->Width();
    if (marked) {
        canvas->Brush()->SetColor(kJobRowSelectedColor);
        canvas->FillRect(TRect { rect.Left + 1, rect.Top, listWidth - 1, rect.Bottom });
    } else {
        canvas->Brush()->SetColor(view->Color());
        canvas->FillRect(rect);
    }
    const int rowHeight = rect.Bottom - rect.Top;
    int imageWidth = 0;
    if (TCustomImageList* images = view->SmallImages()) {
        imageWidth = images->Width();
        images->Draw(canvas, rect.Left + 2, rect.Top + (rowHeight - images->Height()) / 2 + 1, 0);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(marked ? clWhite : clBlack);

    // Each column's width is asked of the window, which knows it after a divider drag: once per column and row.
    TListColumns* columns = view->Columns();
    const int columnCount = columns->Count();
    const int top = rect.Top + (rowHeight - canvas->TextHeight("A")) / 2;
    // The caption's box ends with the first column also when the view is scrolled sideways.
    int width = columns->Items(0)->Width();
    DrawCellText(canvas, item->Caption(), TRect { rect.Left + imageWidth + 4, top, rect.Left + width, rect.Bottom },
        columns->Items(0)->Alignment());

    const int index = item->Index();
    TConvertJob* job = index >= 0 && index < static_cast<int>(jobs.size()) ? jobs[index].get() : nullptr;
    const int right = listWidth - 2;
    int left = rect.Left + 4;
    const int count = std::min(item->SubItems()->Count(), columnCount - 1);
    for (int i = 0; i < count; ++i) {
        left += width;
        // The cells past the list's right edge show nothing.
        if (left >= right)
            break;
        TListColumn* column = columns->Items(i + 1);
        width = column->Width();
        const TRect box { left, top, std::min(left + width, right), rect.Bottom };
        if (i == kStatusSubItem && job && job->Status == jsProcessing) {
            DrawProgressCell(canvas, box, job->GetProgress(), view->Font());
            // The cell drew with its own tools; the rest of the row goes on as before.
            canvas->Brush()->SetStyle(bsClear);
            canvas->Font()->SetColor(marked ? clWhite : clBlack);
            continue;
        }
        DrawCellText(canvas, item->SubItems()->Strings(i), box, column->Alignment());
    }
}

void DrawJobListHeaderSection(TCanvas* canvas, TListColumn* column, const TRect& rect)
{
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(clBlack);
    const int top = rect.Top + (rect.Bottom - rect.Top - canvas->TextHeight("A")) / 2;
    DrawCellText(canvas, column->Caption(), TRect { rect.Left + 4, top, rect.Right, rect.Bottom }, column->Alignment());
}
