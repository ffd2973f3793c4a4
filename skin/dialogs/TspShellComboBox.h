// TspCustomShellComboBox and TspSkinShellComboBox: a path box over the shell. Its list shows the root, the
// root's children and, under the desktop, the mounts right after the computer, plus the chain of folders down
// to the current one, each indented by its depth and drawn with its shell icon. Choosing an item takes a linked
// shell tree and shell file list there (once the list has closed).
#pragma once
#include "skin/dialogs/spShellCtrls.h"
#include "skin/lists/TspSkinComboBox.h"

#include <memory>
#include <string>
#include <vector>

class TspCustomShellListView;
class TspCustomShellTreeView;
class TspShellImageList;

// One line of the path box.
struct TspItemEx {
    std::string Caption;
    std::unique_ptr<TspShellFolder> Data;
    int Indent = 0;
    int ImageIndex = -1;
    int SelectedImageIndex = -1;
};

class TspCustomShellComboBox : public TspSkinCustomComboBox {
    using inherited = TspSkinCustomComboBox;

public:
    explicit TspCustomShellComboBox(TComponent* owner);
    ~TspCustomShellComboBox() override;

    // "rfDesktop" at first; Exception "Error setting path: ..." for one that cannot be had (the root stays).
    const TRoot& Root() const { return FRoot; }
    void SetRoot(const TRoot& value);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes value);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool value) { FUseShellImages = value; }
    TspCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetTreeView(TspCustomShellTreeView* value);
    TspCustomShellListView* ShellListView() const { return FListView; }
    void SetListView(TspCustomShellListView* value);

    void RootChanged();
    void SetPathFromID(LPCITEMIDLIST id);
    // EInvalidPath "Error setting path: ..." for a path that does not parse.
    void SetPath(const std::string& value);
    std::string GetPath() const;
    // From a linked control: shows `id` unless it is already the current item.
    void TreeUpdate(LPCITEMIDLIST id);
    // The last item naming `id`; -1 when none does.
    int IndexFromID(LPCITEMIDLIST id) const;
    // The item's folder (an index past the end: the last item's).
    TspShellFolder* GetFolder(int index) const;
    int ItemsExCount() const { return static_cast<int>(FItemsEx.size()); }
    const TspItemEx& ItemEx(int index) const { return FItemsEx.at(static_cast<size_t>(index)); }

protected:
    virtual void Init();
    void Change() override;
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void CreateRoot();
    void ClearItemsEx();
    void CheckItems();
    // Inserts `parent`'s children (in the shell's order) after item `index`.
    void AddItemsEx(int index, TspShellFolder* parent);
    void InsertItem(int index, std::unique_ptr<TspShellFolder> folder);
    int ShellImageIndex(TspShellFolder* folder) const;
    void DrawListItem(TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state);
    void DrawFaceItem(TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state);
    void DrawLine(TCanvas* canvas, int index, int indent, const TRect& textRect);

    std::vector<TspItemEx> FItemsEx;
    TRoot FOldRoot;
    TRoot FRoot = "rfDesktop";
    std::unique_ptr<TspShellFolder> FRootFolder;
    TShellObjectTypes FObjectTypes { otFolders };
    bool FUseShellImages = true;
    bool FUpdating = false;
    TspCustomShellTreeView* FTreeView = nullptr;
    TspCustomShellListView* FListView = nullptr;
    TspShellImageList* FImages = nullptr;
};

class TspSkinShellComboBox : public TspCustomShellComboBox {
public:
    using TspCustomShellComboBox::TspCustomShellComboBox;
};
