#include "skin/lists/SkinListViews.h"

#include "framework/controls/Messages.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLinks.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinViewSupport.h"

#include <cstdlib>
#include <cstring>

using namespace SPUtils;
using namespace SkinLinks;
using namespace SkinViewSupport;

TspSkinCustomListView::TspSkinCustomListView(TComponent* owner)
    : inherited(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(14);
    Font()->Assign(FDefaultFont.get());
}

TspSkinCustomListView::~TspSkinCustomListView()
{
    ReleaseHeader();
}

// ---- Properties ------------------------------------------------------------------------------------------------

void TspSkinCustomListView::SetSkinData(TspSkinData* value)
{
    if (WatchSkin(this, FSkinData, value))
        ChangeSkinData();
}

void TspSkinCustomListView::SetDefaultFont(TFont* value)
{
    SetViewDefaultFont(this, FDefaultFont.get(), value, SkinIndex == -1);
}

void TspSkinCustomListView::SetDefaultColor(TColor value)
{
    SetViewDefaultColor(this, FDefaultColor, value, SkinIndex == -1);
}

void TspSkinCustomListView::SetVScrollBar(TspSkinScrollBar* value)
{
    LinkViewBar(this, FVScrollBar, value, [this](TObject* sender) { OnVScrollBarChange(sender); });
    UpDateScrollBars();
}

void TspSkinCustomListView::SetHScrollBar(TspSkinScrollBar* value)
{
    LinkViewBar(this, FHScrollBar, value, [this](TObject* sender) { OnHScrollBarChange(sender); });
    UpDateScrollBars();
}

void TspSkinCustomListView::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    Forget(component, operation, FSkinData, FVScrollBar, FHScrollBar);
}

void TspSkinCustomListView::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TspSkinCustomListView::Loaded()
{
    inherited::Loaded();
    ChangeSkinData();
}

// ---- The skin ---------------------------------------------------------------------------------------------------

void TspSkinCustomListView::ChangeSkinData()
{
    SkinIndex = FSkinData && !FSkinData->Empty ? FSkinData->GetControlIndex(FSkinDataName) : -1;
    ApplyViewRecord(this, FSkinData, SkinIndex, SkinRecordAt<TspDataSkinListView>(FSkinData, SkinIndex),
        FUseSkinFont, FDefaultFont.get(), FDefaultColor);
    UpDateScrollBars();
    RealignBar(FVScrollBar);
    RealignBar(FHScrollBar);
    if (ViewStyle() == vsReport && FHeader)
        InvalidateRect(FHeader, nullptr, TRUE);
}

// ---- Mirroring ---------------------------------------------------------------------------------------------------

bool TspSkinCustomListView::ItemZeroBounds(TRect& bounds) const
{
    if (SendToWindow(LVM_GETITEMCOUNT, 0, 0) <= 0)
        return false;
    RECT r {};
    r.left = LVIR_BOUNDS;
    SendToWindow(LVM_GETITEMRECT, 0, reinterpret_cast<intptr_t>(&r));
    bounds = Rect(r.left, r.top, r.right, r.bottom);
    return true;
}

void TspSkinCustomListView::ReadNativeBar(int bar, int& min, int& max, int& position)
{
    min = max = 0;
    GetScrollRange(Handle(), bar, &min, &max);
    position = GetScrollPos(Handle(), bar);
}

void TspSkinCustomListView::UpDateScrollBars()
{
    if (!HandleAllocated() || FFromBar || Width() <= 5 || Height() <= 5)
        return;
    switch (ViewStyle()) {
    case vsIcon:
    case vsSmallIcon:
        UpDateScrollBars1();
        break;
    case vsList:
        UpDateScrollBars3();
        break;
    case vsReport:
        UpDateScrollBars2();
        break;
    }
}

void TspSkinCustomListView::UpDateScrollBars1()
{
    if (FInUpdate)
        return;
    const TBarUpdate updates(FVScrollBar, FHScrollBar);
    bool changed = false;
    // NOTE: both steps are half an item's height, the horizontal one too, as the view has always stepped.
    TRect item;
    const int half = ItemZeroBounds(item) ? RectHeight(item) / 2 : 0;
    const int step = half == 0 ? 1 : half;
    int min, max, position;
    if (FVScrollBar) {
        ReadNativeBar(SB_VERT, min, max, position);
        changed |= SetBarVisible(FVScrollBar, max > Height() && Visible(), FInUpdate);
        if (FVScrollBar->Visible()) {
            FVScrollBar->SetSmallChange(step);
            FVScrollBar->SetLargeChange(step);
            FVScrollBar->SetRange(
                TspScrollMin(min), TspScrollMax(max), TspScrollPage(Height()), TspScrollPosition(position));
            FLastVPos = position;
        }
    }
    if (FHScrollBar) {
        ReadNativeBar(SB_HORZ, min, max, position);
        changed |= SetBarVisible(FHScrollBar, max > Width() && Visible(), FInUpdate);
        if (FHScrollBar->Visible()) {
            FHScrollBar->SetSmallChange(step);
            FHScrollBar->SetLargeChange(step);
            FHScrollBar->SetRange(
                TspScrollMin(min), TspScrollMax(max), TspScrollPage(Width()), TspScrollPosition(position));
            FLastHPos = position;
        }
    }
    FinishBarUpdate(this, FVScrollBar, FHScrollBar, changed, FInUpdate);
}

void TspSkinCustomListView::UpDateScrollBars2()
{
    if (FInUpdate)
        return;
    const TBarUpdate updates(FVScrollBar, FHScrollBar);
    bool changed = false;
    int min, max, position;
    if (FVScrollBar) {
        ReadNativeBar(SB_VERT, min, max, position);
        const int perPage = static_cast<int>(SendToWindow(LVM_GETCOUNTPERPAGE, 0, 0));
        changed |= SetBarVisible(FVScrollBar, perPage < max + 1 && Visible(), FInUpdate);
        if (FVScrollBar->Visible()) {
            FVScrollBar->SetRange(
                TspScrollMin(min), TspScrollMax(max), TspScrollPage(perPage), TspScrollPosition(position));
            FLastVPos = position;
            FVScrollBar->SetSmallChange(1);
            FVScrollBar->SetLargeChange(std::max(1, perPage));
        }
    }
    if (FHScrollBar) {
        ReadNativeBar(SB_HORZ, min, max, position);
        changed |= SetBarVisible(FHScrollBar, max > Width() && Visible(), FInUpdate);
        if (FHScrollBar->Visible()) {
            FHScrollBar->SetRange(
                TspScrollMin(min), TspScrollMax(max), TspScrollPage(Width()), TspScrollPosition(position));
            FLastHPos = position;
        }
    }
    FinishBarUpdate(this, FVScrollBar, FHScrollBar, changed, FInUpdate);
}

void TspSkinCustomListView::UpDateScrollBars3()
{
    if (FInUpdate)
        return;
    const TBarUpdate updates(FVScrollBar, FHScrollBar);
    bool changed = false;
    // A list runs in columns: it never scrolls vertically.
    if (FVScrollBar)
        changed |= SetBarVisible(FVScrollBar, false, FInUpdate);
    if (FHScrollBar) {
        TRect item;
        const int itemWidth = ItemZeroBounds(item) ? std::max(1, int(RectWidth(item))) : 1;
        int min, max, position;
        ReadNativeBar(SB_HORZ, min, max, position);
        const int perPage = static_cast<int>(SendToWindow(LVM_GETCOUNTPERPAGE, 0, 0));
        const int count = static_cast<int>(SendToWindow(LVM_GETITEMCOUNT, 0, 0));
        changed |= SetBarVisible(FHScrollBar, perPage < count && Visible(), FInUpdate);
        if (FHScrollBar->Visible()) {
            FHScrollBar->SetRange(TspScrollMin(min), TspScrollMax(max), TspScrollPage(Width() / itemWidth),
                TspScrollPosition(position));
            FHScrollBar->SetSmallChange(1);
            FHScrollBar->SetLargeChange(1);
            FLastHPos = position;
        }
    }
    FinishBarUpdate(this, FVScrollBar, FHScrollBar, changed, FInUpdate);
}

// ---- Following the bars ----------------------------------------------------------------------------------------

void TspSkinCustomListView::OnVScrollBarChange(TObject*)
{
    if (!FVScrollBar)
        return;
    FFromBar = true;
    const int delta = FVScrollBar->Position() - FLastVPos;
    if (ViewStyle() == vsIcon || ViewStyle() == vsSmallIcon) {
        Scroll(0, delta);
    } else {
        // A view without items has no row to measure; there is nothing to scroll then.
        TRect item;
        if (ItemZeroBounds(item))
            Scroll(0, delta * RectHeight(item));
    }
    FLastVPos = FVScrollBar->Position();
    FFromBar = false;
}

void TspSkinCustomListView::OnHScrollBarChange(TObject*)
{
    if (!FHScrollBar)
        return;
    FFromBar = true;
    const int delta = FHScrollBar->Position() - FLastHPos;
    if (ViewStyle() == vsList) {
        const WPARAM request = delta < 0 ? SB_LINELEFT : SB_LINERIGHT;
        for (int i = std::abs(delta); i > 0; --i)
            SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(request, 0), 0);
    } else {
        Scroll(delta, 0);
    }
    FLastHPos = FHScrollBar->Position();
    FFromBar = false;
}

// ---- Window procedure ------------------------------------------------------------------------------------------

void TspSkinCustomListView::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        // No border and no native bars: the whole window is client.
        return;
    case WM_PARENTNOTIFY:
        if (LOWORD(message.WParam) == WM_CREATE) {
            char name[80] = {};
            const HWND child = reinterpret_cast<HWND>(message.LParam);
            GetClassName(child, name, sizeof name);
            if (std::strcmp(name, WC_HEADER) == 0 && ShowColumnHeaders())
                SubclassHeader(child);
        }
        break;
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
    case LVM_SETITEMCOUNT:
        // A new count can show or hide a bar and so resize the view: done now, the view paints once, at its new
        // size, rather than first at the size it is about to lose.
        if (!FInUpdate)
            UpDateScrollBars();
        break;
    default:
        break;
    }
}
