// File information over stat and GIO's content types; icons through the system image list.
#include "platform/shell/ShellFileInfo.h"

#include "platform/shell/ShellNamespaceFolders.h"
#include "platform/shell/TSystemImageList.h"
#include "platform/win/Windows.h"

#include <cerrno>
#include <cstring>
#include <gio/gio.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string TakeString(char* text)
{
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// What one content type shows as, asked from GIO once per type.
struct TTypeFacts {
    std::string Description;
    std::vector<std::string> IconNames;
};

std::mutex TypeLock;
std::map<std::string, TTypeFacts> TypeCache;

const TTypeFacts& FactsOf(const std::string& contentType)
{
    std::lock_guard<std::mutex> lock(TypeLock);
    auto [it, inserted] = TypeCache.try_emplace(contentType);
    if (inserted) {
        it->second.Description = TakeString(g_content_type_get_description(contentType.c_str()));
        if (GIcon* icon = g_content_type_get_icon(contentType.c_str())) {
            if (G_IS_THEMED_ICON(icon)) {
                for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon)); name && *name; ++name)
                    it->second.IconNames.push_back(*name);
            }
            g_object_unref(icon);
        }
    }
    // Entries are never removed, so the reference stays valid after the lock is gone.
    return it->second;
}

void CopyText(const std::string& text, char* buffer, size_t size)
{
    // Cut at a character boundary: never leave half of a UTF-8 sequence at the end.
    size_t length = std::min(text.size(), size - 1);
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

bool IsFolderAttributes(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string BaseName(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    return slash == std::string::npos || trimmed == "/" ? trimmed : trimmed.substr(slash + 1);
}

} // namespace

bool GetShellFindData(const std::string& path, TShellFindData& data)
{
    struct stat link;
    if (lstat(path.c_str(), &link) != 0)
        return false;
    struct stat target = link;
    data.IsLink = S_ISLNK(link.st_mode);
    // A dangling link is shown as what it is: a file we can see but not open.
    if (data.IsLink && stat(path.c_str(), &target) != 0)
        target = link;
    data.Attributes = 0;
    if (S_ISDIR(target.st_mode))
        data.Attributes |= FILE_ATTRIBUTE_DIRECTORY;
    else if (S_ISREG(target.st_mode))
        data.Attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (access(path.c_str(), W_OK) != 0)
        data.Attributes |= FILE_ATTRIBUTE_READONLY;
    const std::string name = BaseName(path);
    if (name.size() > 1 && name[0] == '.' && name != "..")
        data.Attributes |= FILE_ATTRIBUTE_HIDDEN;
    data.Size = S_ISDIR(target.st_mode) ? 0 : static_cast<int64_t>(target.st_size);
    data.WriteTime = target.st_mtim.tv_sec;
    data.WriteTimeNs = static_cast<int32_t>(target.st_mtim.tv_nsec);
    data.IsExecutable = S_ISREG(target.st_mode) && (target.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH));
    return true;
}

DWORD GetFileAttributes(const char* path)
{
    TShellFindData data;
    if (!path || !GetShellFindData(path, data)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    return data.Attributes;
}

DWORD GetShortPathName(const char* longPath, char* shortPath, DWORD bufferLength)
{
    struct stat info;
    if (!longPath || lstat(longPath, &info) != 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    const size_t length = std::strlen(longPath);
    if (!shortPath || length + 1 > bufferLength)
        return static_cast<DWORD>(length + 1);
    std::memmove(shortPath, longPath, length + 1);
    return static_cast<DWORD>(length);
}

std::string ShellDisplayName(const std::string& path)
{
    if (path == "/")
        return path;
    return TakeString(g_filename_display_name(BaseName(path).c_str()));
}

std::string ShellContentType(const std::string& name, bool isDirectory)
{
    if (isDirectory)
        return "inode/directory";
    return TakeString(g_content_type_guess(BaseName(name).c_str(), nullptr, 0, nullptr));
}

std::string ShellTypeDescription(const std::string& contentType)
{
    return FactsOf(contentType).Description;
}

std::vector<std::string> ShellTypeIconNames(const std::string& contentType)
{
    return FactsOf(contentType).IconNames;
}

std::vector<std::string> ShellFolderIconNames(const std::string& path, bool open)
{
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    static const struct {
        int Csidl;
        const char* Icon;
    } special[] = {
        { CSIDL_DESKTOPDIRECTORY, "user-desktop" },
        { CSIDL_PERSONAL, "folder-documents" },
        { CSIDL_MYVIDEO, "folder-videos" },
        { CSIDL_MYMUSIC, "folder-music" },
        { CSIDL_MYPICTURES, "folder-pictures" },
        { CSIDL_TEMPLATES, "folder-templates" },
        { CSIDL_BITBUCKET, "user-trash" },
    };
    // The home comes first: an XDG folder that falls back to the home is still the home.
    if (folder == HomeFolder())
        return { "user-home", "folder" };
    for (const auto& entry : special) {
        if (folder == SpecialFolderPath(entry.Csidl))
            return { entry.Icon, "folder" };
    }
    if (XdgUserDir("DOWNLOAD") == folder)
        return { "folder-download", "folder" };
    if (open)
        return { "folder-open", "folder" };
    return { "folder" };
}

bool GetShellFileInfo(const std::string& path, DWORD fileAttributes, UINT flags, TShellFileInfo& info)
{
    TShellFindData data;
    if (flags & SHGFI_USEFILEATTRIBUTES) {
        data.Attributes = fileAttributes == INVALID_FILE_ATTRIBUTES ? 0 : fileAttributes;
    } else if (!GetShellFindData(path, data)) {
        return false;
    }
    const bool folder = IsFolderAttributes(data.Attributes);
    info.Attributes = data.Attributes;
    info.DisplayName = ShellDisplayName(path);
    info.ContentType = ShellContentType(path, folder);
    const TTypeFacts& facts = FactsOf(info.ContentType);
    info.TypeName = facts.Description;
    if (folder) {
        info.IconIndex = TSystemImageList::Instance().IndexOf(ShellFolderIconNames(path, flags & SHGFI_OPENICON), { "folder" });
    } else if (data.IsExecutable && info.ContentType == "application/octet-stream") {
        info.IconIndex = TSystemImageList::Instance().IndexOf({ "application-x-executable" }, { "application-x-generic" });
    } else {
        info.IconIndex = TSystemImageList::Instance().IndexOf(facts.IconNames, { "application-x-generic", "text-x-generic" });
    }
    return true;
}

uintptr_t SHGetFileInfo(const char* path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags)
{
    if (!path || (info && infoSize < sizeof(SHFILEINFO)) || (flags & SHGFI_ICON)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    TShellLocation at;
    at.Kind = 'F';
    at.Path = path;
    if ((flags & SHGFI_PIDL) && !ResolveShellList(reinterpret_cast<LPCITEMIDLIST>(path), at)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    TShellFileInfo found;
    const bool fileItem = at.Kind == 'F' || at.Kind == 'D' || (at.Kind == 'V' && at.Id == "home");
    if (fileItem) {
        if (!GetShellFileInfo(at.Path, fileAttributes, flags, found)) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return 0;
        }
        if (at.Kind == 'V')
            found.DisplayName = LocationDisplayName(at);
    } else {
        // The desktop, the computer, the trash and the mounts: folders with names and icons of their own.
        found.DisplayName = LocationDisplayName(at);
        found.TypeName = ShellTypeDescription("inode/directory");
        found.IconIndex = TSystemImageList::Instance().IndexOf(LocationIconNames(at, flags & SHGFI_OPENICON), { "folder" });
    }
    if (info) {
        info->hIcon = nullptr;
        if (flags & SHGFI_SYSICONINDEX)
            info->iIcon = found.IconIndex;
        if (flags & SHGFI_DISPLAYNAME)
            CopyText(found.DisplayName, info->szDisplayName, sizeof info->szDisplayName);
        if (flags & SHGFI_TYPENAME)
            CopyText(found.TypeName, info->szTypeName, sizeof info->szTypeName);
        if (flags & SHGFI_ATTRIBUTES)
            info->dwAttributes = (flags & SHGFI_USEFILEATTRIBUTES) && !(flags & SHGFI_PIDL) ? 0 : LocationAttributes(at);
    }
    if (flags & SHGFI_SYSICONINDEX)
        return reinterpret_cast<uintptr_t>(&TSystemImageList::Instance());
    return 1;
}
