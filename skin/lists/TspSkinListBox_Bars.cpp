// The skinned bars of the list frames: made when the list needs them, kept in step with the list's own scroll
// state, and scrolling the list back when the user moves them.
#include "framework/controls/ImgList.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/TspSkinListBox.h"

#include <algorithm>

using namespace SPUtils;

namespace {

// Only mirrored state: no OnChange comes back.
void MirrorRange(TspSkinScrollBar* bar, int min, int max, int pageSize, int position)
{
    bar->SetRange(TspScrollMin(min), TspScrollMax(max), TspScrollPage(pageSize), TspScrollPosition(position));
}

} // namespace

void TspSkinCustomListBox::ShowVScrollBar()
{
    const bool columns = Columns() > 0;
    FVScrollBar = new TspSkinScrollBar(this);
    FVScrollBar->SetKind(columns ? sbHorizontal : sbVertical);
    FVScrollBar->SetBounds(0, 0, 20, 100);
    MirrorRange(FVScrollBar, 0, FVScrollBar->Max(), 0, 0);
    FVScrollBar->OnChange = [this](TObject* sender) { SBChange(sender); };
    if (SkinIndex == -1)
        FVScrollBar->SetSkinDataName("");
    else
        FVScrollBar->SetSkinDataName(columns ? HScrollBarName : VScrollBarName);
    FVScrollBar->SetSkinData(SkinData());
    FVScrollBar->SetParent(this);
    if (FHScrollBar) {
        if (SkinIndex == -1) {
            FHScrollBar->SetBoth(true);
            FHScrollBar->SetBothMarkerWidth(19);
        } else {
            FHScrollBar->SetBothSkinDataName(BothHScrollBarName);
            FHScrollBar->SetSkinDataName(BothHScrollBarName);
            FHScrollBar->SetBoth(true);
        }
    }
    CalcRects();
    FVScrollBar->SetVisible(true);
    Repaint();
}

void TspSkinCustomListBox::HideVScrollBar()
{
    if (!FVScrollBar)
        return;
    TspSkinScrollBar* bar = FVScrollBar;
    FVScrollBar = nullptr;
    bar->SetVisible(false);
    delete bar;
    CalcRects();
}

void TspSkinCustomListBox::ShowHScrollBar()
{
    FHScrollBar = new TspSkinScrollBar(this);
    FHScrollBar->SetKind(sbHorizontal);
    FHScrollBar->SetBounds(0, 0, 100, 20);
    MirrorRange(FHScrollBar, 0, FHScrollBar->Max(), 0, 0);
    FHScrollBar->OnChange = [this](TObject* sender) { HSBChange(sender); };
    if (SkinIndex == -1) {
        FHScrollBar->SetSkinDataName("");
        if (FVScrollBar) {
            FHScrollBar->SetBoth(true);
            FHScrollBar->SetBothMarkerWidth(19);
        }
    } else if (FVScrollBar) {
        FHScrollBar->SetBothSkinDataName(BothHScrollBarName);
        FHScrollBar->SetSkinDataName(BothHScrollBarName);
        FHScrollBar->SetBoth(true);
    } else {
        FHScrollBar->SetSkinDataName(HScrollBarName);
        FHScrollBar->SetBoth(false);
    }
    FHScrollBar->SetSkinData(SkinData());
    FHScrollBar->SetParent(this);
    CalcRects();
    FHScrollBar->SetVisible(true);
    Repaint();
}

void TspSkinCustomListBox::HideHScrollBar()
{
    if (!FHScrollBar)
        return;
    TspSkinScrollBar* bar = FHScrollBar;
    FHScrollBar = nullptr;
    bar->SetVisible(false);
    delete bar;
    CalcRects();
    FListBox->HorizontalOffset = 0;
    FListBox->Invalidate();
}

void TspSkinCustomListBox::SBChange(TObject*)
{
    const int position = FVScrollBar->Position();
    const bool columns = Columns() > 0;
    const HWND list = FListBox->Handle();
    // The message holds 16 bits of the position; the list reads the whole of it from its own scroll state.
    SetScrollPos(list, columns ? SB_HORZ : SB_VERT, position, FALSE);
    SendMessage(list, columns ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(position)), 0);
}

void TspSkinCustomListBox::HSBChange(TObject*)
{
    FListBox->HorizontalOffset = FHScrollBar->Position();
    FListBox->Invalidate();
}

void TspSkinCustomListBox::StepHScrollBar(int direction)
{
    if (FHScrollBar)
        FHScrollBar->SetPosition(FHScrollBar->Position() + direction * FHScrollBar->SmallChange());
}

void TspSkinCustomListBox::UpdateBarSkins()
{
    const bool columns = Columns() > 0;
    if (FVScrollBar) {
        FVScrollBar->SetSkinDataName(SkinIndex == -1 ? std::string() : columns ? HScrollBarName : VScrollBarName);
        FVScrollBar->SetSkinData(SkinData());
    }
    if (FHScrollBar) {
        if (SkinIndex == -1) {
            FHScrollBar->SetSkinDataName("");
            if (FVScrollBar)
                FHScrollBar->SetBothMarkerWidth(19);
        } else {
            FHScrollBar->SetSkinDataName(FVScrollBar ? BothHScrollBarName : HScrollBarName);
        }
        FHScrollBar->SetSkinData(SkinData());
    }
}

void TspSkinCustomListBox::UpdateHScrollBar()
{
    if (!FHorizontalExtent || ChangingSkinData) {
        HideHScrollBar();
        return;
    }
    TCanvas* canvas = FListBox->Canvas();
    if (ListSkinned() && UseSkinFont())
        ApplyItemFont(canvas->Font());
    else
        canvas->Font()->Assign(FListBox->Font());
    int widest = 0;
    for (int i = 0; i < Items()->Count(); ++i)
        widest = std::max(widest, GetFullItemWidth(i, canvas));
    int room = ListSkinned() ? FListBox->Width() + RectWidth(ItemTextRect) - RectWidth(SItemRect)
                             : FListBox->Width() - 4;
    if (FImages)
        room -= FImages->Width() + 4;
    if (room >= widest) {
        HideHScrollBar();
        return;
    }
    if (!FHScrollBar)
        ShowHScrollBar();
    MirrorRange(FHScrollBar, 0, widest, room, FHScrollBar->Position());
    const int step = canvas->TextWidth("0");
    FHScrollBar->SetSmallChange(step);
    FHScrollBar->SetLargeChange(step);
}

// The vertical slot holds a vertical bar for a one-column list and a horizontal one for columns.
void TspSkinCustomListBox::UpDateScrollBar()
{
    if (!FListBox || !FListBox->HandleAllocated())
        return;
    const HWND list = FListBox->Handle();
    const int count = Items()->Count();
    const int rows = FListBox->Height() / std::max(1, FListBox->ItemHeight());
    int min = 0, max = 0;
    if (Columns() == 0) {
        UpdateHScrollBar();
        if (!(FRowCount >= 1 && FRowCount == count)) {
            GetScrollRange(list, SB_VERT, &min, &max);
            const int position = GetScrollPos(list, SB_VERT);
            if (min < max && max >= position && rows < count) {
                if (!FVScrollBar)
                    ShowVScrollBar();
                MirrorRange(FVScrollBar, min, max, rows, position);
                FVScrollBar->SetLargeChange(rows);
                return;
            }
        }
    } else {
        GetScrollRange(list, SB_HORZ, &min, &max);
        const int position = GetScrollPos(list, SB_HORZ);
        if (min < max && max >= position && max >= Columns() && rows * Columns() < count) {
            if (!FVScrollBar)
                ShowVScrollBar();
            MirrorRange(FVScrollBar, min, max, Columns(), position);
            return;
        }
    }
    if (FVScrollBar && FVScrollBar->Visible())
        HideVScrollBar();
}
