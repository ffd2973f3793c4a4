#include "skin/dialogs/SkinFileCtrls.h"

#include "framework/controls/TCustomEdit.h"
#include "framework/controls/TScreen.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinLabels.h"
#include "skin/dialogs/SkinDialogGlyphs.h"
#include "skin/dialogs/spfilectrl.h"
#include "platform/shell/ShellDrives.h"

#include <algorithm>

using namespace spfilectrl;

namespace {

// Moves to `path` (after the folder a list showed, so that a relative path is taken from there) and answers
// where that is; the caller's guard brings the current folder back.
std::string EnterFolder(const std::string& shown, const std::string& path)
{
    if (!shown.empty() && spfilectrl::DirectoryExists(shown))
        ChDir(shown);
    ChDir(path);
    return GetCurrentDir();
}

std::string BracketedName(const std::string& name)
{
    return Format("[%s]", name);
}

} // namespace

// ---- Directory list ---------------------------------------------------------------------------------------------

TspSkinDirectoryListBox::TspSkinDirectoryListBox(TComponent* owner)
    : inherited(owner)
{
    SetWidth(145);
    FDirectory = GetCurrentDir();
    const char* names[] = { "SP_OPENFOLDER", "SP_CURRENTFOLDER", "SP_CLOSEDFOLDER" };
    for (int i = 0; i < 3; ++i) {
        FGlyphs[i] = std::make_unique<TBitmap>();
        LoadDialogGlyph(FGlyphs[i].get(), names[i]);
        // Drawn over the item with its bottom-left colour left out.
        FGlyphs[i]->SetTransparent(true);
    }
    OnDrawItem = [this](TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state) {
        DrawItem(canvas, index, itemWidth, itemHeight, textRect, state);
    };
}

TspSkinDirectoryListBox::~TspSkinDirectoryListBox()
{
    SetFileList(nullptr);
}

void TspSkinDirectoryListBox::SetFileList(TspSkinFileListBox* value)
{
    if (FFileList == value)
        return;
    if (FFileList)
        FFileList->FDirList = nullptr;
    FFileList = value;
    if (FFileList) {
        FFileList->FDirList = this;
        FFileList->FreeNotification(this);
    }
}

void TspSkinDirectoryListBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FFileList)
        FFileList = nullptr;
    if (operation == opRemove && component == FDirLabel)
        FDirLabel = nullptr;
}

void TspSkinDirectoryListBox::SetDirLabel(TspSkinStdLabel* value)
{
    FDirLabel = value;
    if (FDirLabel)
        FDirLabel->FreeNotification(this);
    SetDirLabelCaption();
}

void TspSkinDirectoryListBox::SetDirLabelCaption()
{
    if (!FDirLabel)
        return;
    const int width = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
    FDirLabel->SetCaption(MinimizeName(FDirectory, *FDirLabel->Canvas(), width));
}

void TspSkinDirectoryListBox::SetDirectory(const std::string& newDir)
{
    if (newDir.empty() || newDir == FDirectory)
        return;
    char drive = 0;
    std::string dirPart, filePart;
    TCurrentDirGuard guard;
    if (spfilectrl::DirectoryExists(FDirectory))
        ChDir(FDirectory);
    ProcessPath(newDir, drive, dirPart, filePart);
    SetDir(dirPart);
}

void TspSkinDirectoryListBox::SetDir(const std::string& path)
{
    TCurrentDirGuard guard;
    FDirectory = EnterFolder(FDirectory, path);
    BuildList();
    Change();
}

void TspSkinDirectoryListBox::UpdateDirectory()
{
    BuildList();
    Change();
}

void TspSkinDirectoryListBox::Change()
{
    if (FFileList)
        FFileList->SetDirectory(FDirectory);
    SetDirLabelCaption();
    if (OnChange)
        OnChange(this);
}

void TspSkinDirectoryListBox::BuildList()
{
    Items()->BeginUpdate();
    Items()->Clear();
    FKinds.clear();
    auto add = [this](const std::string& text, TItemKind kind) {
        Items()->Add(text);
        FKinds.push_back(kind);
    };
    // The root, every folder on the way down as an open folder, the folder itself as the current one.
    std::vector<std::string> parts;
    size_t start = 1;
    while (start < FDirectory.size()) {
        const size_t slash = FDirectory.find('/', start);
        parts.push_back(FDirectory.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        start = slash == std::string::npos ? FDirectory.size() : slash + 1;
    }
    add("/", parts.empty() ? ikCurrentFolder : ikOpenFolder);
    for (size_t i = 0; i < parts.size(); ++i)
        add(parts[i], i + 1 == parts.size() ? ikCurrentFolder : ikOpenFolder);
    const int current = Items()->Count() - 1;
    // Its sub-folders, by name; a folder that cannot be read has none to show.
    std::vector<std::string> names;
    TSearchRec rec;
    for (int found = FindFirst(JoinPath(FDirectory, "*"), faDirectory | faHidden, rec); found == 0; found = FindNext(rec))
        if ((rec.Attr & faDirectory) && rec.Name != "." && rec.Name != "..")
            names.push_back(rec.Name);
    FindClose(rec);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    for (const std::string& name : names)
        add(name, ikClosedFolder);
    Items()->EndUpdate();
    if (HandleAllocated())
        SetItemIndex(current);
}

TspSkinDirectoryListBox::TItemKind TspSkinDirectoryListBox::ItemKind(int index) const
{
    return index >= 0 && index < static_cast<int>(FKinds.size()) ? FKinds[static_cast<size_t>(index)] : ikClosedFolder;
}

std::string TspSkinDirectoryListBox::GetItemPath(int index) const
{
    if (index < 0 || index >= Items()->Count())
        return {};
    if (index == 0)
        return "/";
    switch (ItemKind(index)) {
    case ikClosedFolder:
        return JoinPath(FDirectory, Items()->Strings(index));
    case ikCurrentFolder:
        return FDirectory;
    case ikOpenFolder: {
        // Up to the (index + 1)-th '/'.
        size_t at = 0;
        for (int n = 0; n <= index && at != std::string::npos; ++n)
            at = FDirectory.find('/', at + (n ? 1 : 0));
        return FDirectory.substr(0, at);
    }
    }
    return {};
}

void TspSkinDirectoryListBox::OpenCurrent()
{
    SetDirectory(GetItemPath(ItemIndex()));
}

void TspSkinDirectoryListBox::ListBoxDblClick()
{
    inherited::ListBoxDblClick();
    OpenCurrent();
}

void TspSkinDirectoryListBox::ListBoxKeyPress(char32_t& key)
{
    inherited::ListBoxKeyPress(key);
    if (key == '\r')
        OpenCurrent();
}

void TspSkinDirectoryListBox::CreateWnd()
{
    inherited::CreateWnd();
    BuildList();
    SetItemIndex(PathDepth(FDirectory == "/" ? "" : FDirectory));
}

int TspSkinDirectoryListBox::ItemIndent(int index) const
{
    // The chain steps in by 4 pixels a level; the sub-folders one step deeper than the folder.
    if (ItemKind(index) == ikClosedFolder)
        return PathDepth(FDirectory == "/" ? "" : FDirectory) * 4 + 6;
    return index * 4 + 2;
}

void TspSkinDirectoryListBox::DrawItem(TCanvas* canvas, int index, int, int itemHeight, TRect& textRect, TOwnerDrawState)
{
    TBitmap* glyph = FGlyphs[ItemKind(index)].get();
    const int offset = ListBox() ? ListBox()->HorizontalOffset : 0;
    const int x = textRect.Left + ItemIndent(index) - offset;
    canvas->Draw(x, textRect.Top + (itemHeight - glyph->Height()) / 2, glyph);
    canvas->Brush()->SetStyle(bsClear);
    const int textX = x + glyph->Width() + 4;
    canvas->TextOut(textX, textRect.Top + (itemHeight - canvas->TextHeight("Wg")) / 2, Items()->Strings(index));
}

int TspSkinDirectoryListBox::GetFullItemWidth(int index, TCanvas* canvas)
{
    return inherited::GetFullItemWidth(index, canvas) + 16 + ItemIndent(index) + 4;
}

// ---- Drive box --------------------------------------------------------------------------------------------------

TspSkinDriveComboBox::TspSkinDriveComboBox(TComponent* owner)
    : inherited(owner)
{
    const char* names[] = { "SP_FLOPPY", "SP_HARD", "SP_NETWORK", "SP_CDROM", "SP_RAM" };
    for (int i = 0; i < 5; ++i) {
        FGlyphs[i] = std::make_unique<TBitmap>();
        LoadDialogGlyph(FGlyphs[i].get(), names[i]);
        // Drawn over the item with its bottom-left colour left out.
        FGlyphs[i]->SetTransparent(true);
    }
    TShellDrive drive;
    if (ShellDriveOf(GetCurrentDir(), drive))
        FDrive = drive.Path;
    const auto draw = [this](TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state) {
        DrawItem(canvas, index, itemWidth, itemHeight, textRect, state);
    };
    SetOnListBoxDrawItem(draw);
    OnComboBoxDrawItem = draw;
}

TspSkinDriveComboBox::~TspSkinDriveComboBox() = default;

void TspSkinDriveComboBox::SetDirList(TspSkinDirectoryListBox* value)
{
    FDirList = value;
    if (FDirList)
        FDirList->FreeNotification(this);
}

void TspSkinDriveComboBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FDirList)
        FDirList = nullptr;
}

void TspSkinDriveComboBox::BuildList()
{
    Items()->BeginUpdate();
    Items()->Clear();
    FPaths.clear();
    FKinds.clear();
    for (const TShellDrive& drive : ShellDrives()) {
        std::string text;
        int kind = -1;
        switch (drive.Kind) {
        case DRIVE_REMOVABLE: kind = 0; text = drive.Path; break;
        case DRIVE_FIXED: kind = 1; text = drive.Path + " " + DriveVolumeLabel(drive.Path); break;
        case DRIVE_REMOTE: kind = 2; text = drive.Path + " " + DriveRemoteName(drive.Path); break;
        case DRIVE_CDROM: kind = 3; text = drive.Path + " " + DriveVolumeLabel(drive.Path); break;
        case DRIVE_RAMDISK: kind = 4; text = drive.Path + " " + DriveVolumeLabel(drive.Path); break;
        default: continue;
        }
        Items()->Add(FTextCase == tcUpperCase ? AnsiUpperCase(text) : text);
        FPaths.push_back(drive.Path);
        FKinds.push_back(kind);
    }
    Items()->EndUpdate();
}

void TspSkinDriveComboBox::SetDrive(const std::string& drive)
{
    if (FSettingDrive)
        return;
    FSettingDrive = true;
    FDrive.clear();
    int found = -1;
    TShellDrive mount;
    if (!drive.empty() && ShellDriveOf(drive, mount)) {
        FDrive = mount.Path;
        for (size_t i = 0; i < FPaths.size() && found < 0; ++i)
            if (FPaths[i] == FDrive)
                found = static_cast<int>(i);
    }
    if (ItemIndex() != found)
        SetItemIndex(found);
    FSettingDrive = false;
    // A list on another mount goes to this one's top.
    TShellDrive listMount;
    if (FDirList && !FDrive.empty() && (!ShellDriveOf(FDirList->Directory(), listMount) || listMount.Path != FDrive))
        FDirList->SetDirectory(FDrive);
}

void TspSkinDriveComboBox::Change()
{
    inherited::Change();
    const int index = ItemIndex();
    if (!FSettingDrive && index >= 0 && index < static_cast<int>(FPaths.size()))
        SetDrive(FPaths[static_cast<size_t>(index)]);
}

void TspSkinDriveComboBox::SetTextCase(TTextCase value)
{
    FTextCase = value;
    BuildList();
    const std::string drive = FDrive;
    FDrive.clear();
    SetDrive(drive);
}

void TspSkinDriveComboBox::CreateWnd()
{
    inherited::CreateWnd();
    BuildList();
    const std::string drive = FDrive;
    SetDrive(drive);
}

void TspSkinDriveComboBox::DrawItem(TCanvas* canvas, int index, int, int itemHeight, TRect& textRect, TOwnerDrawState)
{
    int x = textRect.Left;
    if (index >= 0 && index < static_cast<int>(FKinds.size())) {
        TBitmap* glyph = FGlyphs[FKinds[static_cast<size_t>(index)]].get();
        canvas->Draw(x, textRect.Top + (itemHeight - glyph->Height()) / 2, glyph);
        x += glyph->Width();
    }
    canvas->Brush()->SetStyle(bsClear);
    if (index >= 0 && index < Items()->Count())
        canvas->TextOut(x + 6, textRect.Top + (itemHeight - canvas->TextHeight("Wg")) / 2, Items()->Strings(index));
}

// ---- File list --------------------------------------------------------------------------------------------------

TspSkinFileListBox::TspSkinFileListBox(TComponent* owner)
    : inherited(owner)
{
    SetWidth(145);
    SetSorted(true);
    FDirectory = GetCurrentDir();
}

TspSkinFileListBox::~TspSkinFileListBox()
{
    if (FDirList)
        FDirList->SetFileList(nullptr);
    if (FFilterCombo)
        FFilterCombo->SetFileList(nullptr);
}

void TspSkinFileListBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FFileEdit)
        FFileEdit = nullptr;
    if (component == FDirList)
        FDirList = nullptr;
    if (component == FFilterCombo)
        FFilterCombo = nullptr;
}

void TspSkinFileListBox::SetDirectory(const std::string& path)
{
    if (path == FDirectory)
        return;
    TCurrentDirGuard guard;
    FDirectory = EnterFolder(FDirectory, path);
    ReadFileNames();
}

void TspSkinFileListBox::SetMask(const std::string& value)
{
    if (value == FMask)
        return;
    FMask = value;
    ReadFileNames();
}

void TspSkinFileListBox::SetFileType(TspFileType value)
{
    if (value == FFileType)
        return;
    FFileType = value;
    ReadFileNames();
}

void TspSkinFileListBox::UpdateFiles()
{
    ReadFileNames();
}

void TspSkinFileListBox::SetFileEdit(TEdit* value)
{
    FFileEdit = value;
    if (!FFileEdit)
        return;
    FFileEdit->FreeNotification(this);
    const std::string name = GetFileName();
    FFileEdit->SetText(name.empty() ? FMask : name);
}

void TspSkinFileListBox::ReadFileNames()
{
    if (!HandleAllocated())
        return;
    int32_t attributes = 0;
    const std::pair<TspFileAttr, int32_t> bits[] = { { spftReadOnly, faReadOnly }, { spftHidden, faHidden }, { spftSystem, faSysFile },
        { spftVolumeID, faVolumeID }, { spftDirectory, faDirectory }, { spftArchive, faArchive } };
    for (const auto& [attr, bit] : bits)
        if (FFileType.Contains(attr))
            attributes |= bit;
    {
        TCurrentDirGuard guard;
        ChDir(FDirectory);
    }
    Items()->BeginUpdate();
    Items()->Clear();
    const TCursor saved = Screen->Cursor();
    try {
        size_t start = 0;
        while (start <= FMask.size()) {
            size_t end = FMask.find(';', start);
            if (end == std::string::npos)
                end = FMask.size();
            const std::string part = Trim(FMask.substr(start, end - start));
            TSearchRec rec;
            for (int found = part.empty() ? 1 : FindFirst(JoinPath(FDirectory, part), attributes, rec); found == 0; found = FindNext(rec)) {
                if (!FFileType.Contains(spftNormal) && !(rec.Attr & attributes))
                    continue;
                Items()->Add((rec.Attr & faDirectory) ? BracketedName(rec.Name) : rec.Name);
                if (Items()->Count() == 100)
                    Screen->SetCursor(crHourGlass);
            }
            FindClose(rec);
            start = end + 1;
        }
    } catch (...) {
        Screen->SetCursor(saved);
        Items()->EndUpdate();
        throw;
    }
    Screen->SetCursor(saved);
    Items()->EndUpdate();
    Change();
}

std::string TspSkinFileListBox::GetFileName() const
{
    const int index = ItemIndex();
    if (index < 0 || Items()->Count() == 0 || !Selected(index))
        return {};
    return Items()->Strings(index);
}

void TspSkinFileListBox::SetFileName(const std::string& name)
{
    if (name == GetFileName())
        return;
    int found = -1;
    for (int i = 0; i < Items()->Count() && found < 0; ++i)
        if (SameText(Items()->Strings(i), name))
            found = i;
    SetItemIndex(found);
    Change();
}

std::string TspSkinFileListBox::GetFilePath() const
{
    const std::string name = GetFileName();
    return name.empty() ? std::string() : JoinPath(FDirectory, name);
}

void TspSkinFileListBox::ApplyFilePath(const std::string& editText)
{
    if (editText.empty() || editText == GetFilePath())
        return;
    char drive = 0;
    std::string dirPart, filePart;
    {
        TCurrentDirGuard guard;
        ChDir(FDirectory);
        ProcessPath(editText, drive, dirPart, filePart);
    }
    if (FDirList)
        FDirList->SetDirectory(dirPart);
    else
        SetDirectory(dirPart);
    if (filePart.find_first_of("*?") != std::string::npos) {
        SetMask(filePart);
    } else if (!filePart.empty()) {
        SetFileName(filePart);
        if (GetFileName().empty() && FileExists(JoinPath(FDirectory, filePart))) {
            SetMask(filePart);
            SetFileName(filePart);
        }
    }
}

void TspSkinFileListBox::ListBoxClick()
{
    inherited::ListBoxClick();
    if (ItemIndex() != FLastSel)
        Change();
}

void TspSkinFileListBox::Change()
{
    FLastSel = ItemIndex();
    if (FFileEdit) {
        const std::string name = GetFileName();
        FFileEdit->SetText(name.empty() ? FMask : name);
        FFileEdit->SelectAll();
    }
    if (OnChange)
        OnChange(this);
}

void TspSkinFileListBox::CreateWnd()
{
    inherited::CreateWnd();
    ReadFileNames();
}

// ---- Filter box -------------------------------------------------------------------------------------------------

TspSkinFilterComboBox::TspSkinFilterComboBox(TComponent* owner)
    : inherited(owner)
{
}

TspSkinFilterComboBox::~TspSkinFilterComboBox()
{
    SetFileList(nullptr);
}

void TspSkinFilterComboBox::SetFileList(TspSkinFileListBox* value)
{
    if (FFileList == value)
        return;
    if (FFileList)
        FFileList->FFilterCombo = nullptr;
    FFileList = value;
    if (FFileList) {
        FFileList->FFilterCombo = this;
        FFileList->FreeNotification(this);
    }
}

void TspSkinFilterComboBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FFileList)
        FFileList = nullptr;
}

void TspSkinFilterComboBox::SetFilter(const std::string& value)
{
    if (SameText(value, FFilter))
        return;
    FFilter = value;
    if (HandleAllocated())
        BuildList();
    Change();
}

void TspSkinFilterComboBox::BuildList()
{
    std::vector<std::string> descriptions;
    ParseFilter(FFilter, descriptions, FMasks);
    Items()->BeginUpdate();
    Items()->Clear();
    for (const std::string& description : descriptions)
        Items()->Add(description);
    Items()->EndUpdate();
    SetItemIndex(0);
}

std::string TspSkinFilterComboBox::GetMask()
{
    if (ItemIndex() < 0 && Items()->Count() > 0)
        SetItemIndex(Items()->Count() - 1);
    const int index = ItemIndex();
    if (index < 0 || index >= static_cast<int>(FMasks.size()))
        return "*.*";
    return FMasks[static_cast<size_t>(index)];
}

void TspSkinFilterComboBox::Change()
{
    if (FFileList)
        FFileList->SetMask(GetMask());
    inherited::Change();
}

void TspSkinFilterComboBox::CreateWnd()
{
    inherited::CreateWnd();
    BuildList();
}
