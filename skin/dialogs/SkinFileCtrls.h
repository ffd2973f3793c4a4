// The skinned file-system controls: a directory list showing the chain of folders down to its folder and that
// folder's sub-folders, a file list filtered by masks and attributes, and a filter box turning a filter text
// into descriptions and masks. They link to each other: the directory list drives the file list, the filter
// box sets the file list's mask, the file list fills an edit. Every routine that moves the process's current
// folder to read a folder puts it back afterwards.
#pragma once
#include "framework/core/TSet.h"
#include "skin/lists/TspSkinComboBox.h"
#include "skin/lists/TspSkinListBox.h"

#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TEdit;
class TspSkinFileListBox;
class TspSkinFilterComboBox;
class TspSkinStdLabel;

enum TspFileAttr : uint8_t { spftReadOnly, spftHidden, spftSystem, spftVolumeID, spftDirectory, spftArchive, spftNormal };
using TspFileType = TSet<TspFileAttr, spftNormal>;

class TspSkinDirectoryListBox : public TspSkinListBox {
    using inherited = TspSkinListBox;

public:
    // What an item stands for: the root or an ancestor of the folder, the folder itself, or a sub-folder.
    enum TItemKind : uint8_t { ikOpenFolder, ikCurrentFolder, ikClosedFolder };

    explicit TspSkinDirectoryListBox(TComponent* owner);
    ~TspSkinDirectoryListBox() override;

    // The folder shown (absolute, without a trailing '/' except for "/").
    const std::string& Directory() const { return FDirectory; }
    // Goes to a typed or listed path (relative to the folder shown is allowed); EInOutError when it does not
    // exist, and the list keeps what it showed.
    virtual void SetDirectory(const std::string& newDir);
    TspSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TspSkinFileListBox* value);
    // A label showing the folder, shortened from the front to fit (the list's width for an autosized label).
    TspSkinStdLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TspSkinStdLabel* value);

    // The full path item `index` stands for ("" past the list).
    std::string GetItemPath(int index) const;
    TItemKind ItemKind(int index) const;
    // Goes into the selected item's folder (a double click, or Enter).
    void OpenCurrent();
    // Reads the folder again (the controls' Update repaints; this is the list's own).
    void UpdateDirectory();

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    virtual void BuildList();
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(char32_t& key) override;
    int GetFullItemWidth(int index, TCanvas* canvas) override;

private:
    void SetDir(const std::string& path);
    void DrawItem(TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state);
    int ItemIndent(int index) const;

    void SetDirLabelCaption();

    std::string FDirectory;
    TspSkinFileListBox* FFileList = nullptr;
    TspSkinStdLabel* FDirLabel = nullptr;
    std::vector<TItemKind> FKinds;
    std::unique_ptr<TBitmap> FGlyphs[3];
};

enum TTextCase : uint8_t { tcLowerCase, tcUpperCase };

// Lists the mounts a user browses (the drives of this system): each as its mount point with the volume label
// in brackets (a network mount with its remote source, a removable one bare), with a picture of its kind.
// Choosing one takes a linked directory list to it.
class TspSkinDriveComboBox : public TspSkinComboBox {
    using inherited = TspSkinComboBox;

public:
    explicit TspSkinDriveComboBox(TComponent* owner);
    ~TspSkinDriveComboBox() override;

    // The mount point chosen ("" for none).
    const std::string& Drive() const { return FDrive; }
    // Selects the item of the mount holding `drive` (none for "") and takes the linked list there.
    void SetDrive(const std::string& drive);
    TspSkinDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TspSkinDirectoryListBox* value);
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase value);
    // The mount point of each item, in order.
    const std::vector<std::string>& DrivePaths() const { return FPaths; }

    virtual void BuildList();

protected:
    void Change() override;
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void DrawItem(TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state);

    TspSkinDirectoryListBox* FDirList = nullptr;
    std::string FDrive;
    TTextCase FTextCase = tcLowerCase;
    std::vector<std::string> FPaths;
    std::vector<int> FKinds;
    std::unique_ptr<TBitmap> FGlyphs[5];
    bool FSettingDrive = false;
};

class TspSkinFileListBox : public TspSkinListBox {
    using inherited = TspSkinListBox;

public:
    explicit TspSkinFileListBox(TComponent* owner);
    ~TspSkinFileListBox() override;

    const std::string& Directory() const { return FDirectory; }
    // Lists another folder; EInOutError when it does not exist, and the list keeps what it showed.
    void SetDirectory(const std::string& path);
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& value);
    TspFileType FileType() const { return FFileType; }
    void SetFileType(TspFileType value);
    TEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TEdit* value);

    // The selected entry's text ("" without one), and its full path.
    std::string GetFileName() const;
    void SetFileName(const std::string& name);
    virtual std::string GetFilePath() const;
    // Takes a typed path: goes to its folder (through a linked directory list), a mask becomes the mask, and a
    // file is selected (the mask changing to its name when it hides the file).
    virtual void ApplyFilePath(const std::string& editText);
    // Reads the folder again (the controls' Update repaints; this is the list's own).
    void UpdateFiles();

    TNotifyEvent OnChange;

protected:
    friend class TspSkinDirectoryListBox;
    friend class TspSkinFilterComboBox;

    virtual void Change();
    virtual void ReadFileNames();
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    void ListBoxClick() override;

    TspSkinDirectoryListBox* FDirList = nullptr;
    TspSkinFilterComboBox* FFilterCombo = nullptr;

private:
    std::string FDirectory;
    std::string FMask = "*.*";
    TspFileType FFileType { spftNormal };
    TEdit* FFileEdit = nullptr;
    int FLastSel = -1;
};

class TspSkinFilterComboBox : public TspSkinComboBox {
    using inherited = TspSkinComboBox;

public:
    explicit TspSkinFilterComboBox(TComponent* owner);
    ~TspSkinFilterComboBox() override;

    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& value);
    TspSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TspSkinFileListBox* value);
    // The selected entry's mask (the last entry is selected first when none is); "*.*" for an empty box.
    std::string GetMask();
    const std::vector<std::string>& Masks() const { return FMasks; }

protected:
    void Change() override;
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void BuildList();

    std::string FFilter = "All files (*.*)|*.*";
    TspSkinFileListBox* FFileList = nullptr;
    std::vector<std::string> FMasks;
};
