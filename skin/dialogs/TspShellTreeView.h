// TspCustomShellTreeView and TspSkinDirTreeView: the shell namespace (desktop, computer, mounts, folders and
// optionally files) as a skinned tree. Every node owns the shell item it shows; nodes are filled when first
// expanded; the tree follows a path, offers the shell's context menu, renames in place and refreshes itself
// through a change notifier.
#pragma once
#include "skin/dialogs/spShellCtrls.h"
#include "skin/lists/SkinTreeViews.h"

#include <memory>
#include <string>

class TspCustomShellComboBox;
class TspCustomShellListView;
class TspShellChangeNotifier;
class TspShellFolder;
class TspShellImageList;

class TspCustomShellTreeView : public TspSkinCustomTreeView, public IShellCommandVerb {
    using inherited = TspSkinCustomTreeView;

public:
    explicit TspCustomShellTreeView(TComponent* owner);
    ~TspCustomShellTreeView() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    bool AutoContextMenus() const { return FAutoContextMenus; }
    void SetAutoContextMenus(bool value) { FAutoContextMenus = value; }
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes value);
    // "rfDesktop" at first; Exception "Error setting path: ..." for one that cannot be had (the root stays).
    const TRoot& Root() const { return FRoot; }
    void SetRoot(const TRoot& value);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool value);
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool value);
    TAddFolderEvent OnAddFolder;
    // Linked controls, kept in step both ways (not owned): a new one takes this tree's root and links back.
    TspCustomShellListView* ShellListView() const { return FListView; }
    void SetListView(TspCustomShellListView* value);
    TspCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetComboBox(TspCustomShellComboBox* value);

    // ---- Operations --------------------------------------------------------------------------------------------
    void RootChanged();
    // Expands the way down to a folder and selects it; EInvalidPath "Error setting path: ..." when the path
    // does not parse.
    void SetPath(const std::string& value);
    std::string GetPath() const;
    void SetPathFromID(LPCITEMIDLIST id);
    TspShellFolder* SelectedFolder() const;
    TspShellFolder* FolderOf(TTreeNode* node) const;
    // Fills the node anew from the shell, keeping the sub-folders that were expanded and the selection.
    void Refresh(TTreeNode* node);
    // The node of `id` among `start` and the nodes below it; none when there is none.
    TTreeNode* FolderExists(LPCITEMIDLIST id, TTreeNode* start) const;

    void ExecuteCommand(const std::string& verb, bool& handled) override;
    void CommandCompleted(const std::string& verb, bool succeeded) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateWnd() override;
    bool CanExpand(TTreeNode* node) override;
    bool CanChange(TTreeNode* node) override;
    void Edit(TTreeNode* node, std::string& s) override;
    void Delete(TTreeNode* node) override;
    void DoContextPopup(TPoint mousePos, bool& handled) override;

private:
    void CreateRoot();
    void ClearItems();
    void PopulateNode(TTreeNode* node);
    // Fills a new child of `parentNode` for `id`; false (and the node gone) when OnAddFolder refused it.
    bool InitNode(TTreeNode* node, LPCITEMIDLIST id, TTreeNode* parentNode);
    void SetShellImages(TTreeNode* node, TspShellFolder* folder);
    // Tells the linked list and path box that `folder` is now shown.
    void TellLinked(TspShellFolder* folder);

    std::string FPath;
    TRoot FOldRoot;
    TRoot FRoot = "rfDesktop";
    std::unique_ptr<TspShellFolder> FRootFolder;
    TShellObjectTypes FObjectTypes { otFolders };
    bool FAutoContextMenus = true;
    bool FUpdating = false;
    bool FAutoRefresh = false;
    bool FUseShellImages = true;
    TspShellChangeNotifier* FNotifier = nullptr;
    TspShellImageList* FShellImages = nullptr;
    TTreeNode* FNodeToMonitor = nullptr;
    TspCustomShellListView* FListView = nullptr;
    TspCustomShellComboBox* FComboBox = nullptr;
    spShellCtrls::TOpenVerbFolder FOpenFolder;
};

class TspSkinDirTreeView : public TspCustomShellTreeView {
public:
    using TspCustomShellTreeView::TspCustomShellTreeView;
};
