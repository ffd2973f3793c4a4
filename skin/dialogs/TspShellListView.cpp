#include "skin/dialogs/TspShellListView.h"

#include "framework/controls/TScreen.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TStrings.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/dialogs/TspShellChangeNotifier.h"
#include "skin/dialogs/TspShellComboBox.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellImageList.h"
#include "skin/dialogs/TspShellTreeView.h"


using namespace spShellCtrls;

namespace {

// Clears a flag however the scope ends.
struct TFlagGuard {
    explicit TFlagGuard(bool& flag)
        : Flag(flag)
    {
        Flag = true;
    }
    ~TFlagGuard() { Flag = false; }
    bool& Flag;
};


} // namespace

TspCustomShellListView::TspCustomShellListView(TComponent* owner)
    : inherited(owner)
{
    SetOwnerData(true);
    SetHideSelection(false);
    FSmallImages = new TspShellImageList(this, false);
    FLargeImages = new TspShellImageList(this, true);
    SetSmallImages(FSmallImages);
    SetLargeImages(FLargeImages);
    OnData = [this](TObject*, TListItem* item) { FetchItem(item); };
    OnDataFind = [this](TObject*, const std::string& text, int startIndex, bool wrap, int& index) {
        FindItem(text, startIndex, wrap, index);
    };
}

TspCustomShellListView::~TspCustomShellListView()
{
    // The notifier's event calls this list: it goes first.
    delete FNotifier;
    FNotifier = nullptr;
    FItems.Clear();
}

// ---- Root and path ------------------------------------------------------------------------------------------

void TspCustomShellListView::CreateRoot()
{
    CreateRootFolder(FRootFolder, FOldRoot, FRoot);
}

void TspCustomShellListView::SetRoot(const TRoot& value)
{
    // Paths differ by case here; only the same text is the same root.
    if (value == FRoot)
        return;
    FOldRoot = FRoot;
    FRoot = value;
    CreateRoot();
    FRootChanged = true;
    RootChanged();
}

void TspCustomShellListView::RootChanged()
{
    if (FUpdating)
        return;
    TFlagGuard updating(FUpdating);
    const bool autoRefresh = FAutoRefresh;
    SetAutoRefresh(false);
    SynchPaths();
    Populate();
    if (ViewStyle() == vsReport)
        EnumColumns();
    SetAutoRefresh(autoRefresh);
}

void TspCustomShellListView::SynchPaths()
{
    if (FRootChanged) {
        if (FTreeView)
            FTreeView->SetRoot(FRoot);
    } else if (FRootFolder) {
        if (FTreeView)
            FTreeView->SetPathFromID(FRootFolder->AbsoluteID());
        if (FComboBox)
            FComboBox->TreeUpdate(FRootFolder->AbsoluteID());
    }
    FRootChanged = false;
}

void TspCustomShellListView::SetTreeView(TspCustomShellTreeView* value)
{
    LinkShellControl(this, FTreeView, value, FRoot, &TspCustomShellTreeView::ShellListView,
        &TspCustomShellTreeView::SetListView);
}

void TspCustomShellListView::SetComboBox(TspCustomShellComboBox* value)
{
    LinkShellControl(this, FComboBox, value, FRoot, &TspCustomShellComboBox::ShellListView,
        &TspCustomShellComboBox::SetListView);
}

void TspCustomShellListView::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FTreeView)
        FTreeView = nullptr;
    if (component == FComboBox)
        FComboBox = nullptr;
}

void TspCustomShellListView::SetPathFromID(LPCITEMIDLIST id)
{
    if (FUpdating || !id)
        return;
    if (FRootFolder && SamePIDL(FRootFolder->AbsoluteID(), id))
        return;
    // The list may be the root's own; keep a copy before the root goes.
    TItemIdListPtr copy(CopyItemIdList(id));
    FRootFolder = CreateShellFolderFromPIDL(copy.get());
    FRootChanged = false;
    RootChanged();
    if (OnPathChange)
        OnPathChange(this);
}

void TspCustomShellListView::SetPath(const std::string& value)
{
    SetPathFromID(ParsePathOrRaise(value).get());
}

std::string TspCustomShellListView::GetPath() const
{
    return FRootFolder ? FRootFolder->PathName() : std::string();
}

void TspCustomShellListView::TreeUpdate(LPCITEMIDLIST id)
{
    if (FUpdating)
        return;
    if (!FRootFolder || !SamePIDL(FRootFolder->AbsoluteID(), id))
        SetPathFromID(id);
}

void TspCustomShellListView::Back()
{
    if (!FRootFolder)
        return;
    TItemIdListPtr parent(CopyItemIdList(FRootFolder->AbsoluteID()));
    StripLastItemId(parent.get());
    SetPathFromID(parent.get());
}

void TspCustomShellListView::Refresh()
{
    if (!FRootFolder)
        return;
    const int selected = ItemIndex();
    ClearSelection();
    TItemIdListPtr copy(CopyItemIdList(FRootFolder->AbsoluteID()));
    FRootFolder.reset();
    SetPathFromID(copy.get());
    if (selected >= 0 && selected < FItems.Count())
        SetItemIndex(selected);
}

// ---- Items --------------------------------------------------------------------------------------------------

void TspCustomShellListView::ClearItems()
{
    if (!ComponentState().Contains(csDestroying))
        Items()->SetCount(0);
    FItems.Clear();
}

void TspCustomShellListView::Populate()
{
    if (!FRootFolder)
        return;
    Items()->BeginUpdate();
    struct TEndUpdate {
        TListItems* Items;
        ~TEndUpdate() { Items->EndUpdate(); }
    } endUpdate { Items() };
    ClearItems();
    THourglass cursor;
    FItems.Populate(FRootFolder.get(), FObjectTypes, FMask, OnAddFolder, this, FSorted);
    Items()->SetCount(FItems.Count());
}

void TspCustomShellListView::FetchItem(TListItem* item)
{
    TspShellFolder* folder = FItems.Folder(item->Index());
    if (!folder)
        return;
    item->SetCaption(folder->DisplayName());
    const bool large = ViewStyle() == vsIcon;
    item->SetImageIndex(folder->ImageIndex(large));
    // The system list may have gained the icon just now.
    (large ? FLargeImages : FSmallImages)->Sync();
    item->SubItems()->Clear();
    if (ViewStyle() != vsReport)
        return;
    try {
        folder->LoadColumnDetails(FRootFolder.get(), HandleAllocated() ? Handle() : nullptr, Columns()->Count());
    } catch (const EInvalidPath&) {
        // Gone since it was listed: no details to show.
        return;
    }
    for (int column = 1; column < Columns()->Count() && column <= folder->DetailCount(); ++column)
        item->SubItems()->Add(folder->GetDetails(column));
}

void TspCustomShellListView::FindItem(const std::string& text, int startIndex, bool wrap, int& index)
{
    index = FItems.Find(text, startIndex, wrap);
}

TspShellFolder* TspCustomShellListView::SelectedFolder() const
{
    return FItems.Folder(ItemIndex());
}

std::string TspCustomShellListView::GetSelectedFile() const
{
    const int index = ItemIndex();
    if (!FItems.Folder(index) || FItems.IsFolder(index))
        return {};
    return FItems.Folder(index)->FullObjectName();
}

void TspCustomShellListView::GetSelectedFiles(TStrings* strings) const
{
    strings->Clear();
    for (int index = 0; index < FItems.Count(); ++index)
        if (IsSelected(index) && !FItems.IsFolder(index))
            strings->Add(FItems.Folder(index)->FullObjectName());
}

// ---- Settings -----------------------------------------------------------------------------------------------

void TspCustomShellListView::SetMask(const std::string& value)
{
    if (value == FMask)
        return;
    FMask = value;
    RootChanged();
}

void TspCustomShellListView::SetObjectTypes(TShellObjectTypes value)
{
    FObjectTypes = value;
    if (!ComponentState().Contains(csLoading))
        RootChanged();
}

void TspCustomShellListView::SetSorted(bool value)
{
    if (value == FSorted)
        return;
    FSorted = value;
    Populate();
}

void TspCustomShellListView::SetViewStyle(TViewStyle value)
{
    inherited::SetViewStyle(value);
    if (value == vsReport)
        EnumColumns();
}

void TspCustomShellListView::SetAutoRefresh(bool value)
{
    FAutoRefresh = value;
    if (ComponentState().Contains(csLoading))
        return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!value || !FRootFolder)
        return;
    FNotifier = new TspShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    FNotifier->SetRoot(FRootFolder->PathName());
    FNotifier->SetOnChange([this] { Refresh(); });
}

std::string TspCustomShellListView::ColumnText(const char* key, const char* english) const
{
    if (SkinData() && SkinData()->ResourceStrData())
        return SkinData()->ResourceStrData()->GetResStr(key);
    return english;
}

void TspCustomShellListView::EnumColumns()
{
    if (!FRootFolder || !FRootFolder->ShellFolder())
        return;
    Columns()->BeginUpdate();
    Columns()->Clear();
    // Our shell has no detail interfaces: four file-system columns, or the name alone.
    struct TColumnSpec {
        const char* Key;
        const char* English;
        TAlignment Alignment;
        int Xs;
    };
    const TColumnSpec specs[] = { { "FLV_NAME", "Name", taLeftJustify, 25 }, { "FLV_SIZE", "Size", taRightJustify, 10 },
        { "FLV_TYPE", "Type", taLeftJustify, 10 }, { "FLV_MODIFIED", "Modified", taLeftJustify, 14 } };
    const int count = FRootFolder->Properties().Contains(fpFileSystem) ? 4 : 1;
    const int x = HandleAllocated() ? Canvas()->TextWidth("X") : 8;
    for (int i = 0; i < count; ++i) {
        TListColumn* column = Columns()->Add();
        column->SetCaption(ColumnText(specs[i].Key, specs[i].English));
        column->SetAlignment(specs[i].Alignment);
        column->SetWidth(specs[i].Xs * x);
    }
    Columns()->EndUpdate();
}

void TspCustomShellListView::ColClick(TListColumn* column)
{
    inherited::ColClick(column);
    if (!column || !FRootFolder)
        return;
    const int index = column->Index();
    if (Columns()->Count() < 4 && index != 0)
        return;
    FOldSortColumn = FSortColumn;
    FSortDescending = index == FSortColumn && index != -1 ? !FSortDescending : false;
    FSortColumn = index;
    Items()->BeginUpdate();
    FItems.SortByColumn(FRootFolder.get(), HandleAllocated() ? Handle() : nullptr, index, FSortDescending);
    Items()->EndUpdate();
    if (FItems.Count() > 0)
        UpdateItems(0, FItems.Count() - 1);
}

// ---- Verbs, editing, navigation -----------------------------------------------------------------------------

void TspCustomShellListView::EditText()
{
    if (TListItem* item = Selected())
        item->EditCaption();
}

void TspCustomShellListView::ExecuteCommand(const std::string& verb, bool& handled)
{
    if (SameText(verb, "rename")) {
        EditText();
        handled = true;
    } else if (SameText(verb, "open")) {
        FOpenFolder.Enter(SelectedFolder());
    }
}

void TspCustomShellListView::CommandCompleted(const std::string& verb, bool succeeded)
{
    // The folder the "open" verb started in is left whatever became of it.
    if (SameText(verb, "open"))
        FOpenFolder.Leave();
    if (succeeded && (SameText(verb, "delete") || SameText(verb, "paste")))
        Refresh();
}

void TspCustomShellListView::Edit(TListItem* item, std::string& s)
{
    inherited::Edit(item, s);
    if (!item || item->Index() < 0 || item->Index() >= FItems.Count() || s.empty())
        return;
    FItems.Folder(item->Index())->Rename(s);
    UpdateItems(item->Index(), item->Index());
}

void TspCustomShellListView::DblClick()
{
    const int index = ItemIndex();
    if (FAutoNavigate && FItems.IsFolder(index)) {
        TItemIdListPtr target(CopyItemIdList(FItems.Folder(index)->AbsoluteID()));
        SetPathFromID(target.get());
    }
    inherited::DblClick();
}

void TspCustomShellListView::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    if (!FAutoNavigate)
        return;
    const int index = ItemIndex();
    if (key == VK_BACK && !IsEditing()) {
        Back();
    } else if (key == VK_RETURN && shift.Contains(ssAlt)) {
        DoContextMenuVerb(SelectedFolder(), "properties");
        key = 0;
    } else if (key == VK_RETURN && FItems.IsFolder(index)) {
        TItemIdListPtr target(CopyItemIdList(FItems.Folder(index)->AbsoluteID()));
        SetPathFromID(target.get());
    } else if (key == VK_F5) {
        Refresh();
    }
}

void TspCustomShellListView::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (FAutoContextMenus && SelectedFolder()) {
        InvokeContextMenu(this, SelectedFolder(), mousePos.X, mousePos.Y);
        handled = true;
        Refresh();
        return;
    }
    inherited::DoContextPopup(mousePos, handled);
}

// ---- Window -------------------------------------------------------------------------------------------------

void TspCustomShellListView::CreateWnd()
{
    inherited::CreateWnd();
    CreateRoot();
    RootChanged();
}

void TspCustomShellListView::DestroyWnd()
{
    ClearItems();
    inherited::DestroyWnd();
}
