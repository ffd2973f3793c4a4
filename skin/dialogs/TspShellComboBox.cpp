#include "skin/dialogs/TspShellComboBox.h"

#include "framework/core/SysUtils.h"
#include "framework/graphics/TCanvas.h"
#include "platform/shell/ShellDrives.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/ShellFolders.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellImageList.h"
#include "skin/dialogs/TspShellListView.h"
#include "skin/dialogs/TspShellTreeView.h"

using namespace spShellCtrls;

namespace {

struct TFlagGuard {
    explicit TFlagGuard(bool& flag)
        : Flag(flag)
        , Old(flag)
    {
        Flag = true;
    }
    ~TFlagGuard() { Flag = Old; }
    bool& Flag;
    bool Old;
};

} // namespace

TspCustomShellComboBox::TspCustomShellComboBox(TComponent* owner)
    : inherited(owner)
{
    FImages = new TspShellImageList(this, false);
    SetOnListBoxDrawItem([this](TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state) {
        DrawListItem(canvas, index, itemWidth, itemHeight, textRect, state);
    });
    OnComboBoxDrawItem = [this](TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state) {
        DrawFaceItem(canvas, index, itemWidth, itemHeight, textRect, state);
    };
}

TspCustomShellComboBox::~TspCustomShellComboBox() = default;

void TspCustomShellComboBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FTreeView)
        FTreeView = nullptr;
    if (component == FListView)
        FListView = nullptr;
}

void TspCustomShellComboBox::SetTreeView(TspCustomShellTreeView* value)
{
    LinkShellControl(this, FTreeView, value, FRoot, &TspCustomShellTreeView::ShellComboBox,
        &TspCustomShellTreeView::SetComboBox);
}

void TspCustomShellComboBox::SetListView(TspCustomShellListView* value)
{
    LinkShellControl(this, FListView, value, FRoot, &TspCustomShellListView::ShellComboBox,
        &TspCustomShellListView::SetComboBox);
}

// ---- Root and items -----------------------------------------------------------------------------------------

void TspCustomShellComboBox::SetRoot(const TRoot& value)
{
    if (value == FRoot)
        return;
    FOldRoot = FRoot;
    FRoot = value;
    RootChanged();
}

void TspCustomShellComboBox::SetObjectTypes(TShellObjectTypes value)
{
    FObjectTypes = value;
    RootChanged();
}

void TspCustomShellComboBox::RootChanged()
{
    TFlagGuard updating(FUpdating);
    ClearItemsEx();
    CreateRoot();
    if (FTreeView)
        FTreeView->SetRoot(FRoot);
    if (FListView)
        FListView->SetRoot(FRoot);
}

int TspCustomShellComboBox::ShellImageIndex(TspShellFolder* folder) const
{
    if (!FUseShellImages)
        return -1;
    const int index = GetShellImage(folder->AbsoluteID(), false, false);
    FImages->Sync();
    return index;
}

void TspCustomShellComboBox::ClearItemsEx()
{
    FItemsEx.clear();
    CheckItems();
}

void TspCustomShellComboBox::CheckItems()
{
    Items()->BeginUpdate();
    Items()->Clear();
    for (const TspItemEx& item : FItemsEx)
        Items()->Add(item.Caption);
    Items()->EndUpdate();
}

void TspCustomShellComboBox::InsertItem(int index, std::unique_ptr<TspShellFolder> folder)
{
    TspItemEx item;
    item.Caption = folder->DisplayName();
    item.Indent = folder->Level();
    item.ImageIndex = item.SelectedImageIndex = ShellImageIndex(folder.get());
    item.Data = std::move(folder);
    FItemsEx.insert(FItemsEx.begin() + std::clamp(index, 0, ItemsExCount()), std::move(item));
}

void TspCustomShellComboBox::CreateRoot()
{
    if (ComponentState().Contains(csLoading))
        return;
    FItemsEx.clear();
    CreateRootFolder(FRootFolder, FOldRoot, FRoot);
    auto first = std::make_unique<TspShellFolder>(nullptr, FRootFolder->AbsoluteID(), FRootFolder->ShellFolder());
    TspItemEx item;
    item.Caption = first->DisplayName();
    item.ImageIndex = item.SelectedImageIndex = ShellImageIndex(first.get());
    item.Data = std::move(first);
    FItemsEx.push_back(std::move(item));
    Init();
    CheckItems();
    SetItemIndex(0);
}

void TspCustomShellComboBox::Init()
{
    AddItemsEx(0, FItemsEx[0].Data.get());
    if (FRoot != "rfDesktop")
        return;
    LPITEMIDLIST computer = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)))
        return;
    TItemIdListPtr owned(computer);
    const int index = IndexFromID(computer);
    if (index >= 0)
        AddItemsEx(index, FItemsEx[static_cast<size_t>(index)].Data.get());
}

void TspCustomShellComboBox::AddItemsEx(int index, TspShellFolder* parent)
{
    if (!parent || !parent->ShellFolder())
        return;
    std::vector<TItemIdListPtr> children;
    if (!SortedChildren(*parent->ShellFolder(), ObjectFlags(FObjectTypes), children))
        throw EOleError(Format("The folder \"%s\" cannot be read", parent->DisplayName()));
    IShellFolder& shell = *parent->ShellFolder();
    int at = index + 1;
    for (const TItemIdListPtr& child : children) {
        std::shared_ptr<IShellFolder> inner;
        if (FAILED(shell.BindToObject(child.get(), &inner)))
            inner = nullptr;
        InsertItem(at++, std::make_unique<TspShellFolder>(parent, child.get(), std::move(inner)));
    }
}

int TspCustomShellComboBox::IndexFromID(LPCITEMIDLIST id) const
{
    for (int i = ItemsExCount() - 1; i >= 0; --i)
        if (SamePIDL(FItemsEx[static_cast<size_t>(i)].Data->AbsoluteID(), id))
            return i;
    return -1;
}

TspShellFolder* TspCustomShellComboBox::GetFolder(int index) const
{
    if (FItemsEx.empty())
        return nullptr;
    return FItemsEx[static_cast<size_t>(std::clamp(index, 0, ItemsExCount() - 1))].Data.get();
}

// ---- Paths --------------------------------------------------------------------------------------------------

void TspCustomShellComboBox::SetPathFromID(LPCITEMIDLIST id)
{
    TItemIdListPtr target(CopyItemIdList(id));
    CreateRoot();
    std::vector<LPITEMIDLIST> prefixes = ItemIdListPrefixes(target.get());
    int found = -1;
    size_t start = 0;
    for (size_t p = prefixes.size(); p-- > 0;) {
        found = IndexFromID(prefixes[p]);
        if (found >= 0) {
            start = p + 1;
            break;
        }
    }
    if (found < 0 && ItemIdCount(target.get()) == 0)
        found = 0;
    if (found >= 0) {
        // Every deeper step of the way, each under the one before it.
        for (size_t p = start; p < prefixes.size(); ++p) {
            TspShellFolder* parent = FItemsEx[static_cast<size_t>(found)].Data.get();
            TItemIdListPtr last(LastItemIdCopy(prefixes[p]));
            std::shared_ptr<IShellFolder> inner;
            if (!parent->ShellFolder() || FAILED(parent->ShellFolder()->BindToObject(last.get(), &inner)))
                inner = nullptr;
            InsertItem(found + 1, std::make_unique<TspShellFolder>(parent, last.get(), std::move(inner)));
            ++found;
        }
    }
    FreeItemIdListPrefixes(prefixes);
    CheckItems();
    TFlagGuard updating(FUpdating);
    SetItemIndex(IndexFromID(target.get()));
}

void TspCustomShellComboBox::SetPath(const std::string& value)
{
    SetPathFromID(ParsePathOrRaise(value).get());
}

std::string TspCustomShellComboBox::GetPath() const
{
    const int index = ItemIndex();
    return index >= 0 && index < ItemsExCount() ? FItemsEx[static_cast<size_t>(index)].Data->PathName() : std::string();
}

void TspCustomShellComboBox::TreeUpdate(LPCITEMIDLIST id)
{
    if (FUpdating)
        return;
    const int index = ItemIndex();
    if (index >= 0 && index < ItemsExCount() && SamePIDL(FItemsEx[static_cast<size_t>(index)].Data->AbsoluteID(), id))
        return;
    TFlagGuard updating(FUpdating);
    SetPathFromID(id);
}

void TspCustomShellComboBox::Change()
{
    inherited::Change();
    const int index = ItemIndex();
    // While the list is open the choice is not made yet: the linked controls follow when it closes.
    if (index < 0 || index >= ItemsExCount() || FUpdating || IsPopupVisible())
        return;
    TFlagGuard updating(FUpdating);
    TItemIdListPtr target(CopyItemIdList(FItemsEx[static_cast<size_t>(index)].Data->AbsoluteID()));
    if (FTreeView)
        FTreeView->SetPathFromID(target.get());
    if (FListView)
        FListView->TreeUpdate(target.get());
}

void TspCustomShellComboBox::CreateWnd()
{
    inherited::CreateWnd();
    if (FItemsEx.empty())
        CreateRoot();
    CheckItems();
}

// ---- Drive box ----------------------------------------------------------------------------------------------

TspSkinShellDriveComboBox::TspSkinShellDriveComboBox(TComponent* owner)
    : inherited(owner)
{
    SetStyle(spcbFixedStyle);
    FImages = new TspShellImageList(this, false);
    auto draw = [this](TCanvas* canvas, int index, int itemWidth, int itemHeight, TRect& textRect, TOwnerDrawState state) {
        DrawItem(canvas, index, itemWidth, itemHeight, textRect, state);
    };
    SetOnListBoxDrawItem(draw);
    OnComboBoxDrawItem = draw;
}

TspSkinShellDriveComboBox::~TspSkinShellDriveComboBox() = default;

void TspSkinShellDriveComboBox::CreateWnd()
{
    inherited::CreateWnd();
    BuildList();
}

void TspSkinShellDriveComboBox::SetDriveTypes(TDriveTypes value)
{
    if (value == FDriveTypes)
        return;
    FDriveTypes = value;
    BuildList();
}

void TspSkinShellDriveComboBox::BuildList()
{
    std::string remembered;
    if (ItemIndex() >= 0 && ItemIndex() < static_cast<int>(FDrives.size()))
        remembered = FDrives[static_cast<size_t>(ItemIndex())];
    Items()->BeginUpdate();
    Items()->Clear();
    FDrives.clear();
    FIcons.clear();
    FCurrentIndex = 0;
    int current = -1;
    for (const TShellDrive& drive : ShellDrives()) {
        if (drive.Kind > 7 || !FDriveTypes.Contains(static_cast<TspDriveType>(drive.Kind)))
            continue;
        TShellFileInfo info;
        if (!GetShellFileInfo(drive.Path, 0, SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info))
            info.DisplayName = drive.Label.empty() ? drive.Path : drive.Label;
        Items()->Add(info.DisplayName);
        FDrives.push_back(drive.Path);
        FIcons.push_back(info.IconIndex);
        if (drive.Path == remembered)
            current = static_cast<int>(FDrives.size()) - 1;
    }
    Items()->EndUpdate();
    FImages->Sync();
    // The drive shown stays when it is still listed; otherwise the first is shown (none when nothing is).
    FDrive.clear();
    if (current >= 0)
        FCurrentIndex = current;
    if (!FDrives.empty()) {
        SetItemIndex(FCurrentIndex);
        FDrive = FDrives[static_cast<size_t>(FCurrentIndex)];
    }
    Invalidate();
}

void TspSkinShellDriveComboBox::SetDrive(const std::string& mountPath)
{
    if (mountPath != FDrive) {
        for (size_t i = 0; i < FDrives.size(); ++i) {
            if (FDrives[i] == mountPath) {
                FDrive = mountPath;
                FCurrentIndex = static_cast<int>(i);
                SetItemIndex(FCurrentIndex);
                return;
            }
        }
        return;
    }
    if (ItemIndex() != FCurrentIndex)
        SetItemIndex(FCurrentIndex);
}

void TspSkinShellDriveComboBox::Change()
{
    inherited::Change();
    if (ItemIndex() >= 0 && ItemIndex() < static_cast<int>(FDrives.size())) {
        FCurrentIndex = ItemIndex();
        SetDrive(FDrives[static_cast<size_t>(FCurrentIndex)]);
    }
    if (OnChange)
        OnChange(this);
}

void TspSkinShellDriveComboBox::DrawItem(TCanvas* canvas, int index, int, int, TRect& textRect, TOwnerDrawState)
{
    if (index < 0 || index >= static_cast<int>(FDrives.size()))
        return;
    int x = textRect.Left;
    const int icon = FIcons[static_cast<size_t>(index)];
    if (icon >= 0) {
        FImages->Draw(canvas, x, textRect.Top + ((textRect.Bottom - textRect.Top) - FImages->Height()) / 2, icon);
        x += FImages->Width() + 4;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(x, textRect.Top + (textRect.Bottom - textRect.Top) / 2 - canvas->TextHeight("Wg") / 2,
        Items()->Strings(index));
}

// ---- Drawing ------------------------------------------------------------------------------------------------

void TspCustomShellComboBox::DrawLine(TCanvas* canvas, int index, int indent, const TRect& textRect)
{
    if (index < 0 || index >= ItemsExCount())
        return;
    const TspItemEx& item = FItemsEx[static_cast<size_t>(index)];
    int x = textRect.Left;
    if (FUseShellImages && item.ImageIndex >= 0) {
        x += indent;
        FImages->Draw(canvas, x, textRect.Top + ((textRect.Bottom - textRect.Top) - FImages->Height()) / 2, item.ImageIndex);
        x += FImages->Width() + 4;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(x, textRect.Top + (textRect.Bottom - textRect.Top) / 2 - canvas->TextHeight("Wg") / 2, item.Caption);
}

void TspCustomShellComboBox::DrawListItem(TCanvas* canvas, int index, int, int, TRect& textRect, TOwnerDrawState)
{
    const int indent = index >= 0 && index < ItemsExCount() ? FItemsEx[static_cast<size_t>(index)].Indent * FImages->Width() / 2 : 0;
    DrawLine(canvas, index, indent, textRect);
}

void TspCustomShellComboBox::DrawFaceItem(TCanvas* canvas, int index, int, int, TRect& textRect, TOwnerDrawState)
{
    DrawLine(canvas, index, 0, textRect);
}
