// TspSkinShellDriveComboBox: the mounts of the chosen kinds (the drives of this system) with their shell icons
// and names.
// TspCustomShellComboBox and TspSkinShellComboBox: a path box over the shell. Its list shows the root, the
// root's children and, under the desktop, the mounts right after the computer, plus the chain of folders down
// to the current one, each indented by its depth and drawn with its shell icon. Choosing an item takes a linked
// shell tree and shell file list there (once the list has closed).
#pragma once
#include "framework/core/TSet.h"
#include "skin/dialogs/spShellCtrls.h"
#include "skin/lists/TspSkinComboBox.h"

#include <memory>
#include <string>
#include <vector>

class TspCustomShellListView;
class TspCustomShellTreeView;
class TspShellImageList;

// The kinds of drive, in the order of GetDriveType's answers.
enum TspDriveType : uint8_t { vdtUnknown, spdtNoDrive, spdtFloppy, spdtFixed, spdtNetwork, spdtCDROM, spdtRAM };
using TDriveTypes = TSet<TspDriveType, spdtRAM>;

class TspSkinShellDriveComboBox : public TspSkinCustomComboBox {
    using inherited = TspSkinCustomComboBox;

public:
    explicit TspSkinShellDriveComboBox(TComponent* owner);
    ~TspSkinShellDriveComboBox() override;

    TDriveTypes DriveTypes() const { return FDriveTypes; }
    void SetDriveTypes(TDriveTypes value);
    // The mount point shown ("" while none is listed); setting one not listed changes nothing.
    const std::string& Drive() const { return FDrive; }
    void SetDrive(const std::string& mountPath);
    // The mount point of each item.
    const std::vector<std::string>& Drives() const { return FDrives; }
    // Lists the mounts of the chosen kinds again, keeping the one shown when it is still there.
    virtual void BuildList();
    void UpdateDrives() { BuildList(); }
    // This box's own event, after a choice has become the drive shown.
    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void Change() override;

private:
    void DrawItem(TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state);

    std::vector<std::string> FDrives;
    std::vector<int> FIcons;
    TDriveTypes FDriveTypes { spdtFloppy, spdtFixed, spdtNetwork, spdtCDROM, spdtRAM };
    int FCurrentIndex = 0;
    std::string FDrive;
    TspShellImageList* FImages = nullptr;
};

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
