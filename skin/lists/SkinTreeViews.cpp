#include "skin/lists/SkinTreeViews.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLinks.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinViewSupport.h"

using namespace SkinLinks;
using namespace SkinViewSupport;

TspSkinCustomTreeView::TspSkinCustomTreeView(TComponent* owner)
    : inherited(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(14);
}

TspSkinCustomTreeView::~TspSkinCustomTreeView() = default;

void TspSkinCustomTreeView::SetSkinData(TspSkinData* value)
{
    if (WatchSkin(this, FSkinData, value))
        ChangeSkinData();
}

void TspSkinCustomTreeView::SetDefaultFont(TFont* value)
{
    SetViewDefaultFont(this, FDefaultFont.get(), value, SkinIndex == -1);
}

void TspSkinCustomTreeView::SetDefaultColor(TColor value)
{
    SetViewDefaultColor(this, FDefaultColor, value, SkinIndex == -1);
}

void TspSkinCustomTreeView::SetVScrollBar(TspSkinScrollBar* value)
{
    LinkViewBar(this, FVScrollBar, value, [this](TObject* sender) { OnVScrollBarChange(sender); });
    UpDateScrollBars();
}

void TspSkinCustomTreeView::SetHScrollBar(TspSkinScrollBar* value)
{
    LinkViewBar(this, FHScrollBar, value, [this](TObject* sender) { OnHScrollBarChange(sender); });
    UpDateScrollBars();
}

void TspSkinCustomTreeView::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    Forget(component, operation, FSkinData, FVScrollBar, FHScrollBar);
}

void TspSkinCustomTreeView::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TspSkinCustomTreeView::Loaded()
{
    inherited::Loaded();
    ChangeSkinData();
}

void TspSkinCustomTreeView::ChangeSkinData()
{
    if (Loading())
        return;
    SkinIndex = FSkinData && !FSkinData->Empty ? FSkinData->GetControlIndex(FSkinDataName) : -1;
    ApplyViewRecord(this, FSkinData, SkinIndex, SkinRecordAt<TspDataSkinTreeView>(FSkinData, SkinIndex),
        FUseSkinFont, FDefaultFont.get(), FDefaultColor);
    for (TCustomImageList* images : { Images(), StateImages() })
        if (images)
            images->SetBkColor(Color());
    UpDateScrollBars();
    RealignBar(FVScrollBar);
    RealignBar(FHScrollBar);
}

void TspSkinCustomTreeView::UpDateScrollBars()
{
    if (Loading() || FInUpdate || !HandleAllocated())
        return;
    const TBarUpdate updates(FVScrollBar, FHScrollBar);
    bool changed = false;
    int min = 0, max = 0;
    if (FVScrollBar) {
        GetScrollRange(Handle(), SB_VERT, &min, &max);
        const int position = GetScrollPos(Handle(), SB_VERT);
        const int visibleCount = static_cast<int>(SendMessage(Handle(), TVM_GETVISIBLECOUNT, 0, 0));
        const int count = static_cast<int>(SendMessage(Handle(), TVM_GETCOUNT, 0, 0));
        changed |= SetBarVisible(
            FVScrollBar, max > 0 && visibleCount <= max && max < count && Visible(), FInUpdate);
        if (FVScrollBar->Visible())
            FVScrollBar->SetRange(
                TspScrollMin(min), TspScrollMax(max), TspScrollPage(visibleCount), TspScrollPosition(position));
    }
    if (FHScrollBar) {
        min = max = 0;
        GetScrollRange(Handle(), SB_HORZ, &min, &max);
        const int position = GetScrollPos(Handle(), SB_HORZ);
        changed |= SetBarVisible(FHScrollBar, max > Width() && Visible(), FInUpdate);
        if (FHScrollBar->Visible())
            FHScrollBar->SetRange(
                TspScrollMin(min), TspScrollMax(max), TspScrollPage(Width()), TspScrollPosition(position));
    }
    FinishBarUpdate(this, FVScrollBar, FHScrollBar, changed, FInUpdate);
}

void TspSkinCustomTreeView::OnVScrollBarChange(TObject*)
{
    if (FVScrollBar && HandleAllocated())
        SendThumbPosition(Handle(), true, FVScrollBar->Position());
}

void TspSkinCustomTreeView::OnHScrollBarChange(TObject*)
{
    if (FHScrollBar && HandleAllocated())
        SendThumbPosition(Handle(), false, FHScrollBar->Position());
}

void TspSkinCustomTreeView::Change(TTreeNode* node)
{
    inherited::Change(node);
    UpDateScrollBars();
}

void TspSkinCustomTreeView::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return;
    case CM_VISIBLECHANGED:
        inherited::WndProc(message);
        for (TspSkinScrollBar* bar : { FVScrollBar, FHScrollBar })
            if (bar)
                bar->SetVisible(Visible());
        return;
    default:
        break;
    }
    inherited::WndProc(message);
    switch (message.Msg) {
    case WM_SIZE:
    case WM_PAINT:
        if (!FInUpdate)
            UpDateScrollBars();
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
        UpDateScrollBars();
        break;
    default:
        break;
    }
}
