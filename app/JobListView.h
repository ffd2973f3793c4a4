// The job list's window side: the columns of the main window's list view, the texts an owner-data row asks for,
// the painting of a row (the running job's status as a progress bar) and of the header captions.
#pragma once
#include "app/JobList.h"
#include "framework/controls/TCustomListView.h"

class TCanvas;

// The eight columns with their captions, widths and alignments. The last three are as wide as an empty list
// shows them (see SetJobListColumnWidths).
void AddJobListColumns(TCustomListView* view);

// Estimated size, output file and profile are hidden (width 0) while there is no job, and 140, 200 and 250
// wide otherwise.
void SetJobListColumnWidths(TCustomListView* view, bool empty);

// Fills the owner-data item of row item->Index() from job of that index; nothing for a row past the list.
void FillJobRow(const TJobList& jobs, TListItem* item);

// Paints one row of the view: the selection colour across the list for a selected or focused row, image 0 of the
// small images, the caption and sub-items in their columns' boxes with an end ellipsis, and a progress bar for
// the status of a job being converted.
void DrawJobRow(const TJobList& jobs, TCustomListView* view, TListItem* item, const TRect& rect,
    TListDrawState state);

// A header section's caption, black, in the section's box as the rows align it.
void DrawJobListHeaderSection(TCanvas* canvas, TListColumn* column, const TRect& rect);

// The colour of a selected or focused row.
constexpr TColor kJobRowSelectedColor = 14647357;
