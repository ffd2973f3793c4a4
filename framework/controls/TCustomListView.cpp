#include "framework/controls/TCustomListView.h"

#include "framework/controls/ImageListAdapter.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/core/TList.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/ListViewControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {
int FormatOf(TAlignment alignment)
{
    return alignment == taRightJustify ? LVCFMT_RIGHT : alignment == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
}
} // namespace

// --- TListColumn ------------------------------------------------------------------------------------------------

TListColumn::TListColumn(TCollection* collection)
    : TCollectionItem(collection)
{
}

TListColumn::~TListColumn() = default;

void TListColumn::SetCaption(std::string_view value)
{
    FCaption = value;
    Changed(false);
}

int TListColumn::Width() const
{
    // The user may have dragged the header's divider: the window knows the width then.
    auto* columns = static_cast<TListColumns*>(Collection());
    if (columns && columns->Owner() && columns->Owner()->HandleAllocated() && Index() >= 0)
        return static_cast<int>(columns->Owner()->SendToWindow(LVM_GETCOLUMNWIDTH, static_cast<uintptr_t>(Index()), 0));
    return FWidth;
}

void TListColumn::SetWidth(int value)
{
    FWidth = std::max(0, value);
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Changed(false);
}

void TListColumn::SetImageIndex(int value)
{
    FImageIndex = value;
    Changed(false);
}

void TListColumn::Assign(TPersistent* source)
{
    if (auto* column = dynamic_cast<TListColumn*>(source)) {
        FCaption = column->FCaption;
        FWidth = column->Width();
        FAlignment = column->FAlignment;
        FImageIndex = column->FImageIndex;
        Changed(false);
        return;
    }
    inherited::Assign(source);
}

std::string TListColumn::GetDisplayName() const
{
    return FCaption.empty() ? inherited::GetDisplayName() : FCaption;
}

TListColumns::TListColumns(TCustomListView* owner)
    : TOwnedCollection(owner, CollectionItemClass<TListColumn>())
    , FView(owner)
{
}

void TListColumns::Update(TCollectionItem* item)
{
    if (item)
        FView->SyncColumn(item->Index());
    else
        FView->SyncColumns();
}

// --- TListItem --------------------------------------------------------------------------------------------------

namespace {
// Sub-items that tell their item when they change.
class TSubItems : public TStringList {
public:
    explicit TSubItems(TListItem* item) { OnChange = [item](TObject*) { item->Update(); }; }
};
} // namespace

TListItem::TListItem(TListItems* owner)
    : FOwner(owner)
    , FSubItems(std::make_unique<TSubItems>(this))
{
}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return FOwner ? FOwner->Owner() : nullptr; }

void TListItem::SetCaption(std::string_view value)
{
    FCaption = value;
    Update();
}

void TListItem::SetImageIndex(int value)
{
    FImageIndex = value;
    Update();
}

bool TListItem::Selected() const { return ListView() && ListView()->IsSelected(FIndex); }

void TListItem::SetSelected(bool value)
{
    TCustomListView* view = ListView();
    if (!view || FIndex < 0)
        return;
    LVITEM state {};
    state.stateMask = LVIS_SELECTED;
    state.state = value ? LVIS_SELECTED : 0;
    view->SendToWindow(LVM_SETITEMSTATE, static_cast<uintptr_t>(FIndex), reinterpret_cast<intptr_t>(&state));
}

bool TListItem::Focused() const
{
    TCustomListView* view = ListView();
    return view && FIndex >= 0
        && (view->SendToWindow(LVM_GETITEMSTATE, static_cast<uintptr_t>(FIndex), LVIS_FOCUSED) & LVIS_FOCUSED);
}

void TListItem::SetFocused(bool value)
{
    TCustomListView* view = ListView();
    if (!view || FIndex < 0)
        return;
    LVITEM state {};
    state.stateMask = LVIS_FOCUSED;
    state.state = value ? LVIS_FOCUSED : 0;
    view->SendToWindow(LVM_SETITEMSTATE, static_cast<uintptr_t>(FIndex), reinterpret_cast<intptr_t>(&state));
}

TRect TListItem::DisplayRect(int code) const
{
    RECT r {code, 0, 0, 0};
    TCustomListView* view = ListView();
    if (!view || !view->SendToWindow(LVM_GETITEMRECT, static_cast<uintptr_t>(FIndex), reinterpret_cast<intptr_t>(&r)))
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

bool TListItem::EditCaption()
{
    TCustomListView* view = ListView();
    return view && view->SendToWindow(LVM_EDITLABEL, static_cast<uintptr_t>(FIndex), 0) != 0;
}

void TListItem::MakeVisible(bool partialOK)
{
    if (TCustomListView* view = ListView())
        view->SendToWindow(LVM_ENSUREVISIBLE, static_cast<uintptr_t>(FIndex), partialOK);
}

void TListItem::Update()
{
    TCustomListView* view = ListView();
    if (view && FIndex >= 0 && !view->OwnerData())
        view->SendToWindow(LVM_UPDATE, static_cast<uintptr_t>(FIndex), 0);
}

void TListItem::Delete()
{
    if (FOwner && FIndex >= 0)
        FOwner->Delete(FIndex); // deletes this item
}

void TListItem::Assign(TPersistent* source)
{
    if (auto* item = dynamic_cast<TListItem*>(source)) {
        FCaption = item->FCaption;
        FSubItems->Assign(item->FSubItems.get());
        FImageIndex = item->FImageIndex;
        FData = item->FData;
        Update();
        return;
    }
    inherited::Assign(source);
}

// --- TListItems -------------------------------------------------------------------------------------------------

TListItems::TListItems(TCustomListView* owner)
    : FOwner(owner)
{
}

TListItems::~TListItems() = default;

int TListItems::Count() const { return FOwner->OwnerData() ? FCount : static_cast<int>(FItems.size()); }

void TListItems::SetCount(int value)
{
    value = std::max(0, value);
    if (!FOwner->OwnerData()) {
        while (Count() < value)
            Add();
        while (Count() > value)
            Delete(Count() - 1);
        return;
    }
    FCount = value;
    FOwner->SendToWindow(LVM_SETITEMCOUNT, static_cast<uintptr_t>(value), 0);
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index)
{
    if (FOwner->OwnerData())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    FItems.insert(FItems.begin() + index, std::make_unique<TListItem>(this));
    Renumber(index);
    TListItem* item = FItems[index].get();
    FOwner->InsertWindowItem(index);
    if (FOwner->OnInsert)
        FOwner->OnInsert(FOwner, item);
    return item;
}

void TListItems::Delete(int index)
{
    if (FOwner->OwnerData()) {
        SetCount(FCount - 1);
        return;
    }
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (FOwner->OnDeletion)
        FOwner->OnDeletion(FOwner, FItems[index].get());
    FOwner->SendToWindow(LVM_DELETEITEM, static_cast<uintptr_t>(index), 0);
    FItems.erase(FItems.begin() + index);
    Renumber(index);
}

void TListItems::Clear()
{
    if (FOwner->OwnerData()) {
        SetCount(0);
        return;
    }
    if (FOwner->OnDeletion)
        for (auto& item : FItems)
            FOwner->OnDeletion(FOwner, item.get());
    FOwner->SendToWindow(LVM_DELETEALLITEMS, 0, 0);
    FItems.clear();
}

TListItem* TListItems::Item(int index)
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (!FOwner->OwnerData())
        return FItems[index].get();
    // One item, refilled by the owner for each index asked for.
    if (!FTemp)
        FTemp = std::make_unique<TListItem>(this);
    FTemp->FIndex = index;
    FTemp->FCaption.clear();
    FTemp->FSubItems->Clear();
    FTemp->FImageIndex = -1;
    FTemp->FData = nullptr;
    if (FOwner->OnData)
        FOwner->OnData(FOwner, FTemp.get());
    return FTemp.get();
}

int TListItems::IndexOf(const TListItem* item) const
{
    if (!item)
        return -1;
    if (FOwner->OwnerData())
        return item == FTemp.get() ? item->FIndex : -1;
    for (int i = 0; i < static_cast<int>(FItems.size()); ++i)
        if (FItems[i].get() == item)
            return i;
    return -1;
}

void TListItems::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        FOwner->SendToWindow(WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        FOwner->SendToWindow(WM_SETREDRAW, TRUE, 0);
}

void TListItems::Renumber(int from)
{
    for (int i = std::max(0, from); i < static_cast<int>(FItems.size()); ++i)
        FItems[i]->FIndex = i;
}

// --- TCustomListView --------------------------------------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner)
    , FColumns(std::make_unique<TListColumns>(this))
    , FItems(std::make_unique<TListItems>(this))
    , FCanvas(std::make_unique<TControlCanvas>())
{
    FControlStyle = TControlStyle {csCaptureMouse, csClickEvents, csDoubleClicks};
    FWidth = 250;
    FHeight = 150;
    FCanvas->SetControl(this);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomListView::~TCustomListView()
{
    // The window goes first: its last notifications must still find the items.
    if (HandleAllocated())
        DestroyHandle();
}

TCanvas* TCustomListView::Canvas() const { return FCanvas.get(); }

intptr_t TCustomListView::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    auto* self = const_cast<TCustomListView*>(this);
    if (!self->HandleAllocated())
        return 0;
    return SendMessage(self->Handle(), message, wParam, lParam);
}

void TCustomListView::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // The window is a "SysListView32" under the control's own class name: its procedure is the list view's.
    RegisterListViewClass();
    WNDCLASS view {};
    GetClassInfo(nullptr, WC_LISTVIEW, &view);
    params.WindowClass.lpfnWndProc = view.lpfnWndProc;
    params.WindowClass.cbWndExtra = view.cbWndExtra;
    params.WindowClass.hCursor = view.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    static constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    params.Style |= kViewStyles[FViewStyle] | LVS_SHAREIMAGELISTS;
    if (!FMultiSelect)
        params.Style |= LVS_SINGLESEL;
    if (!FHideSelection)
        params.Style |= LVS_SHOWSELALWAYS;
    if (FOwnerData)
        params.Style |= LVS_OWNERDATA;
    if (FOwnerDraw)
        params.Style |= LVS_OWNERDRAWFIXED;
    if (!FReadOnly)
        params.Style |= LVS_EDITLABELS;
    if (!FShowColumnHeaders)
        params.Style |= LVS_NOCOLUMNHEADER;
    if (!FColumnClick)
        params.Style |= LVS_NOSORTHEADER;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd()
{
    inherited::CreateWnd();
    SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), 0);
    UpdateStyles();
    if (FLargeAdapter)
        SendToWindow(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<intptr_t>(FLargeAdapter.get()));
    if (FSmallAdapter)
        SendToWindow(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<intptr_t>(FSmallAdapter.get()));
    SyncColumns();
    SyncItems();
}

void TCustomListView::DestroyWnd()
{
    // What only the window knew goes back into the object, for the next window.
    FSavedSelection.clear();
    for (int i = 0; i < FItems->Count() && !FOwnerData; ++i)
        if (IsSelected(i))
            FSavedSelection.push_back(i);
    for (int i = 0; i < FColumns->Count(); ++i)
        FColumns->Items(i)->FWidth = FColumns->Items(i)->Width();
    inherited::DestroyWnd();
}

void TCustomListView::UpdateStyles()
{
    if (!HandleAllocated())
        return;
    DWORD keep = static_cast<DWORD>(GetWindowLongPtr(Handle(), GWL_STYLE))
        & ~(LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | LVS_EDITLABELS | LVS_NOCOLUMNHEADER
            | LVS_NOSORTHEADER | LVS_OWNERDATA);
    TCreateParams params;
    CreateParams(params);
    DWORD wanted = keep | (params.Style & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED
                       | LVS_EDITLABELS | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER | LVS_OWNERDATA));
    if (wanted != static_cast<DWORD>(GetWindowLongPtr(Handle(), GWL_STYLE)))
        SetWindowLongPtr(Handle(), GWL_STYLE, static_cast<LONG_PTR>(wanted));
    DWORD ex = (FGridLines ? LVS_EX_GRIDLINES : 0) | (FRowSelect ? LVS_EX_FULLROWSELECT : 0)
        | (FFullDrag ? LVS_EX_HEADERDRAGDROP : 0);
    SendToWindow(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP,
        static_cast<intptr_t>(ex));
}

void TCustomListView::SetViewStyle(TViewStyle value)
{
    FViewStyle = value;
    UpdateStyles();
}

void TCustomListView::SetOwnerData(bool value)
{
    if (value == FOwnerData)
        return;
    FItems->Clear();
    FItems->FCount = 0;
    FOwnerData = value;
    UpdateStyles();
}

void TCustomListView::SetOwnerDraw(bool value)
{
    FOwnerDraw = value;
    UpdateStyles();
}

void TCustomListView::SetMultiSelect(bool value)
{
    FMultiSelect = value;
    UpdateStyles();
}

void TCustomListView::SetRowSelect(bool value)
{
    FRowSelect = value;
    UpdateStyles();
}

void TCustomListView::SetReadOnly(bool value)
{
    FReadOnly = value;
    UpdateStyles();
}

void TCustomListView::SetHideSelection(bool value)
{
    FHideSelection = value;
    UpdateStyles();
}

void TCustomListView::SetFullDrag(bool value)
{
    FFullDrag = value;
    UpdateStyles();
}

void TCustomListView::SetGridLines(bool value)
{
    FGridLines = value;
    UpdateStyles();
}

void TCustomListView::SetShowColumnHeaders(bool value)
{
    FShowColumnHeaders = value;
    UpdateStyles();
}

void TCustomListView::SetColumnClick(bool value)
{
    FColumnClick = value;
    UpdateStyles();
}

void TCustomListView::SetImageList(TCustomImageList* value, TCustomImageList** slot, int which)
{
    if (*slot)
        (*slot)->RemoveFreeNotification(this);
    *slot = value;
    auto& adapter = which == LVSIL_NORMAL ? FLargeAdapter : FSmallAdapter;
    adapter = value ? std::make_unique<TImageListAdapter>(value) : nullptr;
    if (value)
        value->FreeNotification(this);
    SendToWindow(LVM_SETIMAGELIST, static_cast<uintptr_t>(which), reinterpret_cast<intptr_t>(adapter.get()));
}

void TCustomListView::SetLargeImages(TCustomImageList* value) { SetImageList(value, &FLargeImages, LVSIL_NORMAL); }

void TCustomListView::SetSmallImages(TCustomImageList* value) { SetImageList(value, &FSmallImages, LVSIL_SMALL); }

void TCustomListView::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FLargeImages)
        SetLargeImages(nullptr);
    if (component == FSmallImages)
        SetSmallImages(nullptr);
}

void TCustomListView::SyncColumn(int index)
{
    if (!HandleAllocated() || index < 0 || index >= FColumns->Count())
        return;
    TListColumn* column = FColumns->Items(index);
    LVCOLUMN c {};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_IMAGE;
    c.pszText = column->FCaption.data();
    c.cx = column->FWidth;
    c.fmt = FormatOf(column->FAlignment) | (column->FImageIndex >= 0 ? LVCFMT_IMAGE : 0);
    c.iImage = column->FImageIndex;
    SendToWindow(LVM_SETCOLUMN, static_cast<uintptr_t>(index), reinterpret_cast<intptr_t>(&c));
}

void TCustomListView::SyncColumns()
{
    if (!HandleAllocated())
        return;
    while (SendToWindow(LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < FColumns->Count(); ++i) {
        TListColumn* column = FColumns->Items(i);
        LVCOLUMN c {};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_IMAGE;
        c.pszText = column->FCaption.data();
        c.cx = column->FWidth;
        c.fmt = FormatOf(column->FAlignment) | (column->FImageIndex >= 0 ? LVCFMT_IMAGE : 0);
        c.iImage = column->FImageIndex;
        SendToWindow(LVM_INSERTCOLUMN, static_cast<uintptr_t>(i), reinterpret_cast<intptr_t>(&c));
    }
}

void TCustomListView::SyncItems()
{
    if (FOwnerData) {
        SendToWindow(LVM_SETITEMCOUNT, static_cast<uintptr_t>(FItems->FCount), 0);
        return;
    }
    for (int i = 0; i < FItems->Count(); ++i)
        InsertWindowItem(i);
    for (int i : FSavedSelection)
        if (i < FItems->Count())
            FItems->Item(i)->SetSelected(true);
    FSavedSelection.clear();
}

void TCustomListView::InsertWindowItem(int index)
{
    if (!HandleAllocated())
        return;
    // The window asks the item for its texts and image when it shows them.
    LVITEM item {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACK;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = reinterpret_cast<LPARAM>(FItems->FItems[index].get());
    SendToWindow(LVM_INSERTITEM, 0, reinterpret_cast<intptr_t>(&item));
}

void TCustomListView::UpdateWindowItem(int index)
{
    SendToWindow(LVM_UPDATE, static_cast<uintptr_t>(index), 0);
}

TListItem* TCustomListView::Selected()
{
    int index = ItemIndex();
    return index >= 0 ? FItems->Item(index) : nullptr;
}

void TCustomListView::SetSelected(TListItem* value)
{
    // An owner-data view has one item, which clearing the selection may refill with another index: the item
    // to select is taken by its index afterwards.
    const int index = value ? value->Index() : -1;
    ClearSelection();
    if (value) {
        TListItem* item = FOwnerData && index >= 0 ? FItems->Item(index) : value;
        item->SetSelected(true);
        item->SetFocused(true);
    }
}

int TCustomListView::ItemIndex() const
{
    return static_cast<int>(SendToWindow(LVM_GETNEXTITEM, static_cast<uintptr_t>(-1), LVNI_SELECTED));
}

void TCustomListView::SetItemIndex(int value)
{
    SetSelected(value >= 0 && value < FItems->Count() ? FItems->Item(value) : nullptr);
}

TListItem* TCustomListView::ItemFocused()
{
    auto index = static_cast<int>(SendToWindow(LVM_GETNEXTITEM, static_cast<uintptr_t>(-1), LVNI_FOCUSED));
    return index >= 0 ? FItems->Item(index) : nullptr;
}

void TCustomListView::SetItemFocused(TListItem* value)
{
    if (value)
        value->SetFocused(true);
}

int TCustomListView::SelCount() const { return static_cast<int>(SendToWindow(LVM_GETSELECTEDCOUNT, 0, 0)); }

void TCustomListView::SelectAll()
{
    LVITEM state {};
    state.stateMask = state.state = LVIS_SELECTED;
    SendToWindow(LVM_SETITEMSTATE, static_cast<uintptr_t>(-1), reinterpret_cast<intptr_t>(&state));
}

void TCustomListView::ClearSelection()
{
    LVITEM state {};
    state.stateMask = LVIS_SELECTED;
    SendToWindow(LVM_SETITEMSTATE, static_cast<uintptr_t>(-1), reinterpret_cast<intptr_t>(&state));
}

bool TCustomListView::IsSelected(int index) const
{
    return index >= 0 && (SendToWindow(LVM_GETITEMSTATE, static_cast<uintptr_t>(index), LVIS_SELECTED) & LVIS_SELECTED);
}

TListItem* TCustomListView::TopItem()
{
    if (FItems->Count() == 0 || FViewStyle == vsIcon || FViewStyle == vsSmallIcon)
        return nullptr;
    return FItems->Item(static_cast<int>(SendToWindow(LVM_GETTOPINDEX, 0, 0)));
}

int TCustomListView::VisibleRowCount() const { return static_cast<int>(SendToWindow(LVM_GETCOUNTPERPAGE, 0, 0)); }

TListItem* TCustomListView::GetItemAt(int x, int y)
{
    LVHITTESTINFO hit {{x, y}, 0, -1, 0};
    auto index = static_cast<int>(SendToWindow(LVM_HITTEST, 0, reinterpret_cast<intptr_t>(&hit)));
    return index >= 0 && (hit.flags & LVHT_ONITEM) ? FItems->Item(index) : nullptr;
}

void TCustomListView::Scroll(int dx, int dy) { SendToWindow(LVM_SCROLL, static_cast<uintptr_t>(dx), dy); }

void TCustomListView::UpdateItems(int first, int last)
{
    SendToWindow(LVM_REDRAWITEMS, static_cast<uintptr_t>(first), last);
}

void TCustomListView::Refresh()
{
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, FALSE);
}

bool TCustomListView::IsEditing() const { return SendToWindow(LVM_GETEDITCONTROL, 0, 0) != 0; }

namespace {
struct TSortContext {
    TCustomListView* View;
    TCustomListView::TLVCompare Compare;
    intptr_t Data;
};

int SortThunk(LPARAM a, LPARAM b, LPARAM context)
{
    auto* c = reinterpret_cast<TSortContext*>(context);
    return c->Compare(reinterpret_cast<TListItem*>(a), reinterpret_cast<TListItem*>(b), c->Data);
}
} // namespace

bool TCustomListView::CustomSort(TLVCompare compare, intptr_t data)
{
    if (FOwnerData || !compare)
        return false;
    auto& items = FItems->FItems;
    if (HandleAllocated()) {
        TSortContext context {this, compare, data};
        SendToWindow(LVM_SORTITEMS, static_cast<uintptr_t>(reinterpret_cast<LPARAM>(&context)),
            reinterpret_cast<intptr_t>(&SortThunk));
        // The window's order is the new order of the items.
        std::vector<std::unique_ptr<TListItem>> sorted;
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            LVITEM item {};
            item.mask = LVIF_PARAM;
            item.iItem = i;
            SendToWindow(LVM_GETITEM, 0, reinterpret_cast<intptr_t>(&item));
            auto* wanted = reinterpret_cast<TListItem*>(item.lParam);
            auto at = std::find_if(items.begin(), items.end(), [wanted](const auto& p) { return p.get() == wanted; });
            sorted.push_back(std::move(*at));
        }
        items = std::move(sorted);
    } else {
        std::stable_sort(items.begin(), items.end(),
            [&](const auto& a, const auto& b) { return compare(a.get(), b.get(), data) < 0; });
    }
    FItems->Renumber(0);
    return true;
}

bool TCustomListView::AlphaSort()
{
    return CustomSort(
        [](TListItem* a, TListItem* b, intptr_t) {
            TCustomListView* view = a->ListView();
            int result = 0;
            if (view->OnCompare)
                view->OnCompare(view, a, b, 0, result);
            else
                result = a->Caption().compare(b->Caption());
            return result;
        },
        0);
}

void TCustomListView::ColClick(TListColumn* column)
{
    if (OnColumnClick)
        OnColumnClick(this, column);
}

void TCustomListView::DoSelectItem(TListItem* item, bool selected)
{
    if (OnSelectItem)
        OnSelectItem(this, item, selected);
}

bool TCustomListView::CanEdit(TListItem* item)
{
    bool allow = !FReadOnly;
    if (OnEditing)
        OnEditing(this, item, allow);
    return allow;
}

void TCustomListView::Edit(TListItem* item, std::string& s)
{
    if (OnEdited)
        OnEdited(this, item, s);
}

void TCustomListView::DrawItem(TListItem* item, TRect rect, TListDrawState state)
{
    if (OnDrawItem)
        OnDrawItem(this, item, rect, state);
}

void TCustomListView::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CN_DRAWITEM:
        CNDrawItem(message);
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), TRUE);
        return;
    default:
        inherited::WndProc(message);
    }
}

void TCustomListView::CNNotify(TMessage& message)
{
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    message.Result = 0;
    auto itemAt = [this](int index, LPARAM param) -> TListItem* {
        if (index < 0 || index >= FItems->Count())
            return nullptr;
        return FOwnerData ? FItems->Item(index) : reinterpret_cast<TListItem*>(param);
    };
    switch (header->code) {
    case LVN_GETDISPINFO: {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
        TListItem* item = itemAt(info->item.iItem, info->item.lParam);
        if (!item)
            return;
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
            int sub = info->item.iSubItem;
            std::string text;
            if (sub == 0)
                text = item->Caption();
            else if (sub - 1 < item->SubItems()->Count())
                text = item->SubItems()->Strings(sub - 1);
            size_t n = std::min(text.size(), static_cast<size_t>(info->item.cchTextMax - 1));
            std::copy_n(text.data(), n, info->item.pszText);
            info->item.pszText[n] = '\0';
        }
        if (info->item.mask & LVIF_IMAGE)
            info->item.iImage = item->ImageIndex();
        return;
    }
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        if (!(nm->uChanged & LVIF_STATE))
            return;
        bool was = nm->uOldState & LVIS_SELECTED, is = nm->uNewState & LVIS_SELECTED;
        TListItem* item = nm->iItem >= 0 ? itemAt(nm->iItem, nm->lParam) : nullptr;
        if (OnChange && item)
            OnChange(this, item, ctState);
        if (was != is)
            DoSelectItem(item, is);
        return;
    }
    case LVN_ODSTATECHANGED: {
        auto* nm = reinterpret_cast<NMLVODSTATECHANGE*>(header);
        if ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED)
            DoSelectItem(nullptr, (nm->uNewState & LVIS_SELECTED) != 0);
        return;
    }
    case LVN_BEGINDRAG:
        // The view has already seen the pointer move away from the press.
        if (DragMode() == dmAutomatic)
            BeginDrag(true);
        return;
    case LVN_COLUMNCLICK: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        if (nm->iSubItem >= 0 && nm->iSubItem < FColumns->Count())
            ColClick(FColumns->Items(nm->iSubItem));
        return;
    }
    case LVN_BEGINLABELEDIT: {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
        TListItem* item = itemAt(info->item.iItem, info->item.lParam);
        message.Result = item && CanEdit(item) ? FALSE : TRUE;
        return;
    }
    case LVN_ENDLABELEDIT: {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
        TListItem* item = itemAt(info->item.iItem, info->item.lParam);
        if (!item || !info->item.pszText)
            return; // cancelled
        std::string s = info->item.pszText;
        Edit(item, s);
        if (!FOwnerData)
            item->SetCaption(s);
        return;
    }
    case LVN_ODFINDITEM: {
        auto* find = reinterpret_cast<NMLVFINDITEM*>(header);
        int index = -1;
        if (OnDataFind && (find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz)
            OnDataFind(this, find->lvfi.psz, find->iStart, (find->lvfi.flags & LVFI_WRAP) != 0, index);
        message.Result = index;
        return;
    }
    default:
        return;
    }
}

void TCustomListView::CNDrawItem(TMessage& message)
{
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    if (draw->CtlType != ODT_LISTVIEW || static_cast<int>(draw->itemID) >= FItems->Count()) {
        message.Result = FALSE;
        return;
    }
    TListDrawState state;
    if (draw->itemState & ODS_SELECTED)
        state.Include(ldsSelected);
    if (draw->itemState & ODS_FOCUS)
        state.Include(ldsFocused);
    TListItem* item = FOwnerData ? FItems->Item(static_cast<int>(draw->itemID))
                                 : reinterpret_cast<TListItem*>(draw->itemData);
    FCanvas->SetHandle(draw->hDC);
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetColor(Color());
    DrawItem(item, {draw->rcItem.left, draw->rcItem.top, draw->rcItem.right, draw->rcItem.bottom}, state);
    FCanvas->SetHandle(nullptr);
    message.Result = TRUE;
}
