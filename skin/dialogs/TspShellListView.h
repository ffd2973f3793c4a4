// TspCustomShellListView and TspSkinFileListView: the contents of one shell folder in the skinned list view,
// in owner-data mode over its own item list (folders first, files by mask, in the shell's order or sorted by a
// column), with four columns of file details, navigation by double click and keys, the shell context menu,
// renaming in place and refreshing through a change notifier.
#pragma once
#include "skin/dialogs/TspShellListItems.h"
#include "skin/dialogs/spShellCtrls.h"
#include "skin/lists/SkinListViews.h"

#include <memory>
#include <string>

class TspCustomShellComboBox;
class TspCustomShellTreeView;
class TspShellChangeNotifier;
class TspShellImageList;

class TspCustomShellListView : public TspSkinCustomListView, public IShellCommandVerb {
    using inherited = TspSkinCustomListView;

public:
    explicit TspCustomShellListView(TComponent* owner);
    ~TspCustomShellListView() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    bool AutoContextMenus() const { return FAutoContextMenus; }
    void SetAutoContextMenus(bool value) { FAutoContextMenus = value; }
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool value);
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool value) { FAutoNavigate = value; }
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(TShellObjectTypes value);
    // "rfDesktop" at first; Exception "Error setting path: ..." for one that cannot be had (the root stays).
    const TRoot& Root() const { return FRoot; }
    void SetRoot(const TRoot& value);
    // "*.*|*.*" at first: parts separated by ';' or '|'; folders always show.
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    void SetViewStyle(TViewStyle value);
    TAddFolderEvent OnAddFolder;
    // Called (with this list) whenever the list has moved to another folder.
    TNotifyEvent OnPathChange;
    // Linked controls, kept in step both ways (not owned): a new one takes this list's root and links back.
    TspCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetTreeView(TspCustomShellTreeView* value);
    TspCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetComboBox(TspCustomShellComboBox* value);

    // ---- Operations --------------------------------------------------------------------------------------------
    virtual void Populate();
    void RootChanged();
    void SetPathFromID(LPCITEMIDLIST id);
    // EInvalidPath "Error setting path: ..." for a path that does not parse.
    void SetPath(const std::string& value);
    std::string GetPath() const;
    // From a linked control: goes to `id` unless that is already shown.
    void TreeUpdate(LPCITEMIDLIST id);
    // One level up.
    void Back();
    // Reads the folder again, keeping the selected position.
    void Refresh();
    void EnumColumns();
    TspShellFolder* RootFolder() const { return FRootFolder.get(); }
    TspShellFolder* SelectedFolder() const;
    TspShellFolder* GetFolder(int index) const { return FItems.Folder(index); }
    int FolderCount() const { return FItems.Count(); }
    // The full path of the selected file ("" for a folder or no selection), and of every selected file.
    std::string GetSelectedFile() const;
    void GetSelectedFiles(TStrings* strings) const;
    // Starts editing the selected item's name.
    void EditText();

    void ExecuteCommand(const std::string& verb, bool& handled) override;
    void CommandCompleted(const std::string& verb, bool succeeded) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void ColClick(TListColumn* column) override;
    void Edit(TListItem* item, std::string& s) override;
    void DblClick() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void DoContextPopup(TPoint mousePos, bool& handled) override;

private:
    void CreateRoot();
    void ClearItems();
    // Takes the linked tree and path box to the folder shown (or the tree to a new root).
    void SynchPaths();
    void FetchItem(TListItem* item);
    void FindItem(const std::string& text, int startIndex, bool wrap, int& index);
    std::string ColumnText(const char* key, const char* english) const;

    int FOldSortColumn = -1;
    int FSortColumn = -1;
    bool FSortDescending = false;
    TRoot FOldRoot;
    TRoot FRoot = "rfDesktop";
    std::unique_ptr<TspShellFolder> FRootFolder;
    bool FAutoContextMenus = true;
    bool FAutoRefresh = false;
    bool FAutoNavigate = true;
    bool FSorted = true;
    bool FUpdating = false;
    TShellObjectTypes FObjectTypes { otFolders, otNonFolders };
    TspShellImageList* FSmallImages = nullptr;
    TspShellImageList* FLargeImages = nullptr;
    TspShellListItems FItems;
    TspShellChangeNotifier* FNotifier = nullptr;
    bool FRootChanged = false;
    spShellCtrls::TOpenVerbFolder FOpenFolder;
    std::string FMask = "*.*|*.*";
    TspCustomShellTreeView* FTreeView = nullptr;
    TspCustomShellComboBox* FComboBox = nullptr;
};

class TspSkinFileListView : public TspCustomShellListView {
public:
    using TspCustomShellListView::TspCustomShellListView;
};
