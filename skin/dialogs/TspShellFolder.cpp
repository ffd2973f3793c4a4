#include "skin/dialogs/TspShellFolder.h"

#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/win/WinStyles.h"

#include <cerrno>
#include <cstdio>
#include <ctime>

using namespace spShellCtrls;

namespace spShellCtrls {
// The desktop item once it is made (its own construction must not make it again).
TspShellFolder* DesktopFolderIfMade();
} // namespace spShellCtrls

namespace {

// The last write as the framework's date-time, through local time and the packed DOS form (two-second steps);
// -1.0 when the date cannot be packed.
TDateTime LastWriteDateTime(const TShellFindData& data)
{
    const time_t seconds = static_cast<time_t>(data.WriteTime);
    std::tm local {};
    if (!localtime_r(&seconds, &local))
        return -1.0;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107)
        return -1.0;
    return EncodeDate(year, local.tm_mon + 1, local.tm_mday) + EncodeTime(local.tm_hour, local.tm_min, local.tm_sec / 2 * 2, 0);
}

// The text of a date and time as the lists show it; "" for none (folders, dates that cannot be had).
std::string DateTimeText(TDateTime value)
{
    if (value < 0)
        return {};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, ms);
    char text[32];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

} // namespace

TspShellFolder::TspShellFolder(TspShellFolder* parent, LPCITEMIDLIST id, std::shared_ptr<IShellFolder> shellFolder)
    : FParent(parent ? parent : DesktopFolderIfMade())
    , FIShellFolder(std::move(shellFolder))
{
    FPIDL = CopyItemIdList(id);
    if (parent) {
        FFullPIDL = JoinItemIdLists(parent->AbsoluteID(), id);
    } else {
        TItemIdListPtr desktop(DesktopLocation());
        FFullPIDL = JoinItemIdLists(desktop.get(), id);
    }
    for (TspShellFolder* ancestor = parent ? parent->Parent() : nullptr; ancestor; ancestor = ancestor->Parent())
        ++FLevel;
}

TspShellFolder::~TspShellFolder()
{
    FreeItemIdList(FPIDL);
    FreeItemIdList(FFullPIDL);
}

std::shared_ptr<IShellFolder> TspShellFolder::ParentShellFolder() const
{
    if (FParent)
        return FParent->ShellFolder();
    return DesktopShellFolder();
}

std::string TspShellFolder::DisplayName() const
{
    return GetDisplayName(ParentShellFolder().get(), FPIDL, SHGDN_INFOLDER);
}

std::string TspShellFolder::PathName() const
{
    return GetDisplayName(DesktopShellFolder().get(), FFullPIDL, SHGDN_FORPARSING);
}

std::string TspShellFolder::FullObjectName() const
{
    std::string path;
    if (!SHGetPathFromIDList(FFullPIDL, path))
        return {};
    return path;
}

TspShellFolderCapabilities TspShellFolder::Capabilities() const
{
    TspShellFolderCapabilities result;
    std::shared_ptr<IShellFolder> parent = ParentShellFolder();
    ULONG flags = 0x177;
    LPCITEMIDLIST item = FPIDL;
    if (!parent || FAILED(parent->GetAttributesOf(1, &item, &flags)))
        return result;
    const std::pair<ULONG, TspShellFolderCapability> map[] = {
        { SFGAO_CANCOPY, fcCanCopy },
        { SFGAO_CANDELETE, fcCanDelete },
        { SFGAO_CANLINK, fcCanLink },
        { SFGAO_CANMOVE, fcCanMove },
        { SFGAO_CANRENAME, fcCanRename },
        { SFGAO_DROPTARGET, fcDropTarget },
        { SFGAO_HASPROPSHEET, fcHasPropSheet },
    };
    for (const auto& [bit, capability] : map)
        if (flags & bit)
            result.Include(capability);
    return result;
}

TspShellFolderProperties TspShellFolder::Properties() const
{
    TspShellFolderProperties result;
    std::shared_ptr<IShellFolder> parent = ParentShellFolder();
    if (!parent)
        return result;
    LPCITEMIDLIST item = FPIDL;
    ULONG flags = 0xF0000;
    if (SUCCEEDED(parent->GetAttributesOf(1, &item, &flags))) {
        const std::pair<ULONG, TspShellFolderProperty> map[] = {
            { SFGAO_GHOSTED, fpCut }, { SFGAO_LINK, fpIsLink }, { SFGAO_READONLY, fpReadOnly }, { SFGAO_SHARE, fpShared }
        };
        for (const auto& [bit, property] : map)
            if (flags & bit)
                result.Include(property);
    }
    // Asking with no bits set answers every bit the folder knows.
    flags = 0;
    if (SUCCEEDED(parent->GetAttributesOf(1, &item, &flags))) {
        const std::pair<ULONG, TspShellFolderProperty> map[] = { { SFGAO_FILESYSTEM, fpFileSystem },
            { SFGAO_FILESYSANCESTOR, fpFileSystemAncestor }, { SFGAO_REMOVABLE, fpRemovable }, { SFGAO_VALIDATE, fpValidate } };
        for (const auto& [bit, property] : map)
            if (flags & bit)
                result.Include(property);
    }
    return result;
}

namespace {

bool HasAttribute(IShellFolder* parent, LPCITEMIDLIST item, ULONG bit)
{
    ULONG flags = bit;
    return parent && SUCCEEDED(parent->GetAttributesOf(1, &item, &flags)) && (flags & bit);
}

} // namespace

bool TspShellFolder::SubFolders() const
{
    return HasAttribute(ParentShellFolder().get(), FPIDL, SFGAO_HASSUBFOLDER);
}

bool TspShellFolder::IsFolder() const
{
    return HasAttribute(ParentShellFolder().get(), FPIDL, SFGAO_FOLDER) && UpperCase(ExtractFileExt(FullObjectName())) != ".ZIP";
}

int TspShellFolder::ImageIndex(bool largeIcon) const
{
    return GetShellImage(FFullPIDL, largeIcon, false);
}

bool TspShellFolder::ExecuteDefault() const
{
    SHELLEXECUTEINFO info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.lpIDList = FFullPIDL;
    info.nShow = SW_SHOW;
    return ShellExecuteEx(&info);
}

bool TspShellFolder::Rename(const std::string& newName)
{
    if (!Capabilities().Contains(fcCanRename))
        return false;
    std::shared_ptr<IShellFolder> parent = ParentShellFolder();
    LPITEMIDLIST newItem = nullptr;
    if (!parent || FAILED(parent->SetNameOf(nullptr, FPIDL, newName.c_str(), SHGDN_NORMAL, &newItem)) || !newItem) {
        FreeItemIdList(newItem);
        throw Exception(Format("Rename to %s failed", newName));
    }
    FreeItemIdList(FPIDL);
    FreeItemIdList(FFullPIDL);
    FPIDL = newItem;
    FFullPIDL = FParent ? JoinItemIdLists(FParent->AbsoluteID(), newItem) : CopyItemIdList(newItem);
    return true;
}

std::vector<std::string> TspShellFolder::FileSystemDetails(int columnCount) const
{
    TShellFindData data;
    if (!GetShellFindData(PathName(), data)) {
        const int error = errno;
        throw EInvalidPath(Format("Unable to retrieve folder details for \"%s\". Error code $%x", DisplayName(), error));
    }
    const bool folder = (data.Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string texts[] = {
        folder ? std::string("-1") : IntToStr(data.Size),
        ExtractFileExt(ExtractFileName(PathName())),
        DateTimeText(folder ? -1.0 : LastWriteDateTime(data)),
        IntToStr(data.Attributes),
    };
    std::vector<std::string> details;
    for (int column = 0; column < columnCount && column < 4; ++column)
        details.push_back(texts[column]);
    return details;
}

void TspShellFolder::LoadColumnDetails(TspShellFolder* rootFolder, HWND handle, int columnCount)
{
    if (DetailCount() >= columnCount)
        return;
    FDetails.clear();
    FViewHandle = handle;
    // Our shell offers no detail interfaces: details come from the file system, for file-system folders.
    if (rootFolder && rootFolder->Properties().Contains(fpFileSystem))
        FDetails = FileSystemDetails(columnCount);
}

std::string TspShellFolder::GetDetails(int index) const
{
    if (FDetails.empty())
        throw Exception(Format("%s: Missing call to LoadColumnDetails", DisplayName()));
    if (index < 1 || index > DetailCount())
        return {};
    return FDetails[static_cast<size_t>(index - 1)];
}

void TspShellFolder::SetDetails(int index, const std::string& value)
{
    if (index >= 1 && index <= DetailCount())
        FDetails[static_cast<size_t>(index - 1)] = value;
    else if (index == DetailCount() + 1)
        FDetails.push_back(value);
}
