#include "skin/dialogs/TspShellTreeView.h"

#include "framework/controls/TScreen.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "platform/shell/ShellExecute.h"
#include "skin/dialogs/TspShellChangeNotifier.h"
#include "skin/dialogs/TspShellComboBox.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellImageList.h"
#include "skin/dialogs/TspShellListView.h"

#include <sys/stat.h>

using namespace spShellCtrls;

namespace {


struct TNodesUpdate {
    explicit TNodesUpdate(TTreeNodes* nodes)
        : Nodes(nodes)
    {
        Nodes->BeginUpdate();
    }
    ~TNodesUpdate() { Nodes->EndUpdate(); }
    TTreeNodes* Nodes;
};

std::shared_ptr<IShellFolder> BindChild(TspShellFolder* parent, LPCITEMIDLIST id)
{
    std::shared_ptr<IShellFolder> folder;
    if (!parent || !parent->ShellFolder() || FAILED(parent->ShellFolder()->BindToObject(id, &folder)))
        return nullptr;
    return folder;
}

} // namespace

TspCustomShellTreeView::TspCustomShellTreeView(TComponent* owner)
    : inherited(owner)
{
    SetShowRoot(false);
    SetRightClickSelect(true);
    FShellImages = new TspShellImageList(this, false);
    SetUseShellImages(true);
}

TspCustomShellTreeView::~TspCustomShellTreeView()
{
    delete FNotifier;
    FNotifier = nullptr;
    ClearItems();
}

TspShellFolder* TspCustomShellTreeView::FolderOf(TTreeNode* node) const
{
    return node ? static_cast<TspShellFolder*>(node->Data()) : nullptr;
}

void TspCustomShellTreeView::Delete(TTreeNode* node)
{
    // The node owns its item: freed here, once, whichever way the node goes.
    delete FolderOf(node);
    node->SetData(nullptr);
    if (node == FNodeToMonitor)
        FNodeToMonitor = nullptr;
    inherited::Delete(node);
}

void TspCustomShellTreeView::ClearItems()
{
    Items()->Clear();
}

// ---- Root ---------------------------------------------------------------------------------------------------

void TspCustomShellTreeView::SetRoot(const TRoot& value)
{
    if (value == FRoot)
        return;
    FOldRoot = FRoot;
    FRoot = value;
    RootChanged();
}

void TspCustomShellTreeView::RootChanged()
{
    if (FUpdating)
        return;
    FUpdating = true;
    try {
        CreateRoot();
        if (FListView)
            FListView->SetRoot(FRoot);
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TspCustomShellTreeView::SetListView(TspCustomShellListView* value)
{
    LinkShellControl(this, FListView, value, FRoot, &TspCustomShellListView::ShellTreeView,
        &TspCustomShellListView::SetTreeView);
}

void TspCustomShellTreeView::SetComboBox(TspCustomShellComboBox* value)
{
    LinkShellControl(this, FComboBox, value, FRoot, &TspCustomShellComboBox::ShellTreeView,
        &TspCustomShellComboBox::SetTreeView);
}

void TspCustomShellTreeView::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FListView)
        FListView = nullptr;
    if (component == FComboBox)
        FComboBox = nullptr;
}

void TspCustomShellTreeView::TellLinked(TspShellFolder* folder)
{
    if (!folder || (!FListView && !FComboBox))
        return;
    TItemIdListPtr id(CopyItemIdList(folder->AbsoluteID()));
    const bool updating = FUpdating;
    FUpdating = true;
    try {
        if (FComboBox)
            FComboBox->TreeUpdate(id.get());
        if (FListView)
            FListView->TreeUpdate(id.get());
    } catch (...) {
        FUpdating = updating;
        throw;
    }
    FUpdating = updating;
}

void TspCustomShellTreeView::CreateRoot()
{
    if (ComponentState().Contains(csLoading))
        return;
    CreateRootFolder(FRootFolder, FOldRoot, FRoot);
    TNodesUpdate update(Items());
    ClearItems();
    auto* folder = new TspShellFolder(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
    TTreeNode* node = Items()->AddObject(nullptr, GetDisplayName(DesktopShellFolder().get(), FRootFolder->AbsoluteID(), SHGDN_NORMAL), folder);
    SetShellImages(node, folder);
    node->SetHasChildren(folder->SubFolders() || FRootFolder->ShellFolder() != nullptr);
    // Expanded, so that a path under the root finds its first step among the children.
    node->Expand(false);
    SetSelected(node);
}

void TspCustomShellTreeView::SetShellImages(TTreeNode* node, TspShellFolder* folder)
{
    if (!FUseShellImages)
        return;
    node->SetImageIndex(GetShellImage(folder->AbsoluteID(), false, false));
    const int open = GetShellImage(folder->AbsoluteID(), false, true);
    node->SetSelectedIndex(open == 0 ? node->ImageIndex() : open);
    FShellImages->Sync();
}

void TspCustomShellTreeView::SetUseShellImages(bool value)
{
    FUseShellImages = value;
    SetImages(value ? FShellImages : nullptr);
}

void TspCustomShellTreeView::SetObjectTypes(TShellObjectTypes value)
{
    FObjectTypes = value;
    RootChanged();
}

// ---- Nodes --------------------------------------------------------------------------------------------------

bool TspCustomShellTreeView::InitNode(TTreeNode* node, LPCITEMIDLIST id, TTreeNode* parentNode)
{
    TspShellFolder* parent = FolderOf(parentNode);
    auto* folder = new TspShellFolder(parent, id, BindChild(parent, id));
    node->SetData(folder);
    node->SetText(folder->DisplayName());
    SetShellImages(node, folder);
    bool hasChildren = folder->SubFolders();
    if (FObjectTypes.Contains(otNonFolders) && folder->ShellFolder())
        hasChildren = ObjectHasChildren(folder->ShellFolder().get(), ObjectFlags(FObjectTypes));
    node->SetHasChildren(hasChildren);
    bool canAdd = true;
    if (OnAddFolder)
        OnAddFolder(this, folder, canAdd);
    if (!canAdd)
        node->Delete();
    return canAdd;
}

void TspCustomShellTreeView::PopulateNode(TTreeNode* node)
{
    TspShellFolder* folder = FolderOf(node);
    if (!folder || !folder->ShellFolder())
        return;
    THourglass cursor;
    TNodesUpdate update(Items());
    std::vector<TItemIdListPtr> children;
    SortedChildren(*folder->ShellFolder(), ObjectFlags(FObjectTypes), children);
    for (const TItemIdListPtr& child : children)
        InitNode(Items()->AddChild(node, ""), child.get(), node);
}

bool TspCustomShellTreeView::CanExpand(TTreeNode* node)
{
    bool allow = inherited::CanExpand(node);
    TspShellFolder* folder = FolderOf(node);
    if (allow && folder) {
        if (!folder->IsFolder() && node->Parent()) {
            // A file in the tree opens with the desktop's program.
            ShellOpen(folder->PathName(), ExtractFileDir(folder->PathName()));
        } else if (node->HasChildren() && node->Count() == 0) {
            PopulateNode(node);
        }
        node->SetHasChildren(node->Count() > 0);
    }
    return allow;
}

bool TspCustomShellTreeView::CanChange(TTreeNode* node)
{
    const bool allow = inherited::CanChange(node);
    if (allow && !FUpdating && node) {
        const bool autoRefresh = FAutoRefresh;
        SetAutoRefresh(false);
        // The linked controls show the node's folder (the folder holding it, for a file).
        TspShellFolder* folder = FolderOf(node);
        if (folder && !folder->IsFolder() && node->Parent())
            folder = FolderOf(node->Parent());
        TellLinked(folder);
        // A running notifier moves to the folder now shown.
        FNodeToMonitor = node;
        SetAutoRefresh(autoRefresh);
        FNodeToMonitor = nullptr;
    }
    return allow;
}

// ---- Paths --------------------------------------------------------------------------------------------------

TTreeNode* TspCustomShellTreeView::FolderExists(LPCITEMIDLIST id, TTreeNode* start) const
{
    if (!start)
        return nullptr;
    const int level = start->Level();
    for (TTreeNode* node = start; node; node = node->GetNext()) {
        if (node != start && node->Level() <= level)
            break;
        if (TspShellFolder* folder = FolderOf(node); folder && SamePIDL(folder->AbsoluteID(), id))
            return node;
    }
    return nullptr;
}

void TspCustomShellTreeView::SetPathFromID(LPCITEMIDLIST id)
{
    if (ComponentState().Contains(csLoading) || !id)
        return;
    if (SelectedFolder() && SamePIDL(SelectedFolder()->AbsoluteID(), id))
        return;
    TItemIdListPtr target(CopyItemIdList(id));
    FUpdating = true;
    {
        TNodesUpdate update(Items());
        TTreeNode* current = Items()->GetFirstNode();
        std::vector<LPITEMIDLIST> prefixes = ItemIdListPrefixes(target.get());
        for (LPITEMIDLIST prefix : prefixes) {
            if (TTreeNode* found = FolderExists(prefix, current)) {
                found->Expand(false);
                current = found;
            }
        }
        FreeItemIdListPrefixes(prefixes);
        TTreeNode* node = FolderExists(target.get(), current);
        SetSelected(node);
        if (node)
            TellLinked(FolderOf(node));
    }
    FUpdating = false;
}

void TspCustomShellTreeView::SetPath(const std::string& value)
{
    SetPathFromID(ParsePathOrRaise(value).get());
    if (TTreeNode* node = Selected()) {
        node->Expand(false);
        CanChange(node);
    }
    FPath = value;
}

std::string TspCustomShellTreeView::GetPath() const
{
    TspShellFolder* folder = SelectedFolder();
    return folder ? folder->PathName() : std::string();
}

TspShellFolder* TspCustomShellTreeView::SelectedFolder() const
{
    return FolderOf(Selected());
}

void TspCustomShellTreeView::Refresh(TTreeNode* node)
{
    TspShellFolder* folder = FolderOf(node);
    if (!folder || !folder->ShellFolder())
        return;
    TItemIdListPtr selected(SelectedFolder() ? CopyItemIdList(SelectedFolder()->AbsoluteID()) : nullptr);
    std::vector<TItemIdListPtr> expanded;
    const int level = node->Level();
    for (TTreeNode* n = node->GetNext(); n && n->Level() > level; n = n->GetNext())
        if (n->Expanded() && FolderOf(n))
            expanded.emplace_back(CopyItemIdList(FolderOf(n)->AbsoluteID()));
    THourglass cursor;
    TNodesUpdate update(Items());
    // The children go with their items; the node keeps its own.
    node->DeleteChildren();
    node->SetHasChildren(true);
    PopulateNode(node);
    node->SetHasChildren(node->Count() > 0);
    for (const TItemIdListPtr& id : expanded)
        if (TTreeNode* again = FolderExists(id.get(), node))
            again->Expand(false);
    if (selected)
        if (TTreeNode* again = FolderExists(selected.get(), Items()->GetFirstNode()))
            SetSelected(again);
}

// ---- Verbs, editing -----------------------------------------------------------------------------------------

void TspCustomShellTreeView::Edit(TTreeNode* node, std::string& s)
{
    inherited::Edit(node, s);
    TspShellFolder* folder = FolderOf(node);
    if (!folder || s.empty() || s == node->Text())
        return;
    if (!folder->Rename(s))
        s = node->Text();
}

void TspCustomShellTreeView::ExecuteCommand(const std::string& verb, bool& handled)
{
    if (SameText(verb, "rename") && Selected()) {
        Selected()->EditText();
        handled = true;
    } else if (SameText(verb, "open")) {
        FOpenFolder.Enter(SelectedFolder());
    }
}

void TspCustomShellTreeView::CommandCompleted(const std::string& verb, bool succeeded)
{
    // The folder the "open" verb started in is left whatever became of it.
    if (SameText(verb, "open"))
        FOpenFolder.Leave();
    TTreeNode* node = Selected();
    if (!succeeded || !node || !FolderOf(node))
        return;
    if (SameText(verb, "delete")) {
        // Gone only when nothing (file or folder) is there any more.
        struct stat info;
        if (lstat(FolderOf(node)->PathName().c_str(), &info) != 0)
            node->Delete();
    } else if (SameText(verb, "paste")) {
        Refresh(node);
    }
}

void TspCustomShellTreeView::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (FAutoContextMenus && SelectedFolder()) {
        InvokeContextMenu(this, SelectedFolder(), mousePos.X, mousePos.Y);
        handled = true;
        return;
    }
    inherited::DoContextPopup(mousePos, handled);
}

void TspCustomShellTreeView::SetAutoRefresh(bool value)
{
    FAutoRefresh = value;
    if (ComponentState().Contains(csLoading))
        return;
    delete FNotifier;
    FNotifier = nullptr;
    if (!value)
        return;
    TspShellFolder* watched = FNodeToMonitor ? FolderOf(FNodeToMonitor) : FRootFolder.get();
    if (!watched)
        return;
    FNotifier = new TspShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    FNotifier->SetRoot(watched->PathName());
    FNotifier->SetOnChange([this] { Refresh(Selected()); });
}

void TspCustomShellTreeView::CreateWnd()
{
    inherited::CreateWnd();
    ClearItems();
    SetUseShellImages(FUseShellImages);
    CreateRoot();
    if (!FPath.empty())
        SetPath(FPath);
}
