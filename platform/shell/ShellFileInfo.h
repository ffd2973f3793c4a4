// File information: display names, content types and their descriptions (GIO over shared-mime-info), icon
// indexes in the system image list, file attributes and find data; and SHGetFileInfo over them.
#pragma once
#include "platform/shell/ShellFolders.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// What a folder entry is, from stat (links followed; a dangling link is a file):
//   FILE_ATTRIBUTE_DIRECTORY  a folder
//   FILE_ATTRIBUTE_READONLY   we may not write it
//   FILE_ATTRIBUTE_HIDDEN     its name starts with '.'
//   FILE_ATTRIBUTE_ARCHIVE    a regular file
// INVALID_FILE_ATTRIBUTES when it does not exist; GetLastError is then ERROR_FILE_NOT_FOUND.
DWORD GetFileAttributes(const char* path);

// Linux paths have no short form: copies `longPath` into `shortPath` when the path exists and fits. Returns
// its length, the size needed (terminator included) when the buffer is too small, or 0 with
// ERROR_FILE_NOT_FOUND when nothing is there.
DWORD GetShortPathName(const char* longPath, char* shortPath, DWORD bufferLength);

// The find data of one entry.
struct TShellFindData {
    DWORD Attributes = 0;
    // Bytes, 64 bits wide; 0 for folders.
    int64_t Size = 0;
    // Last write, seconds and nanoseconds since 1970 (UTC).
    int64_t WriteTime = 0;
    int32_t WriteTimeNs = 0;
    bool IsLink = false;
    bool IsExecutable = false;
};
// False, with errno left as stat set it, when the entry cannot be read.
bool GetShellFindData(const std::string& path, TShellFindData& data);

// The name to show for the last part of `path`: the file name as UTF-8, with bytes that are not UTF-8 shown
// as replacement characters (the path itself keeps its bytes; use it, never this, to reach the file).
// "/" is "/".
std::string ShellDisplayName(const std::string& path);

// The content type from the name alone (no file is read): "inode/directory" for folders, else what
// shared-mime-info's globs say, "application/octet-stream" when nothing matches.
std::string ShellContentType(const std::string& name, bool isDirectory);
// The content type's description ("MPEG-4 video", "folder", "unknown").
std::string ShellTypeDescription(const std::string& contentType);
// The icon names GIO gives for the content type, most specific first ("video-mp4", "video-x-generic").
std::vector<std::string> ShellTypeIconNames(const std::string& contentType);

// Icon names for a folder: the XDG special folders have their own ("user-home", "user-desktop",
// "folder-videos" ...), every other folder "folder" (or "folder-open" first when `open`).
std::vector<std::string> ShellFolderIconNames(const std::string& path, bool open);

// Everything at once, for one path.
struct TShellFileInfo {
    std::string DisplayName;
    std::string ContentType;
    std::string TypeName;
    // Index in TSystemImageList::Instance().
    int IconIndex = -1;
    DWORD Attributes = 0;
};

// SHGetFileInfo flags.
constexpr UINT SHGFI_LARGEICON = 0x0000;
constexpr UINT SHGFI_SMALLICON = 0x0001;
constexpr UINT SHGFI_OPENICON = 0x0002;
constexpr UINT SHGFI_PIDL = 0x0008;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x0010;
constexpr UINT SHGFI_ICON = 0x0100;
constexpr UINT SHGFI_DISPLAYNAME = 0x0200;
constexpr UINT SHGFI_TYPENAME = 0x0400;
constexpr UINT SHGFI_ATTRIBUTES = 0x0800;
constexpr UINT SHGFI_SYSICONINDEX = 0x4000;

// Fills `info` for the file or folder at `path`. With SHGFI_USEFILEATTRIBUTES the disk is not read: the
// entry is a folder when `fileAttributes` has FILE_ATTRIBUTE_DIRECTORY and the name alone decides the rest.
// SHGFI_OPENICON asks for a folder's open icon. Otherwise false (errno set) when the entry cannot be read.
bool GetShellFileInfo(const std::string& path, DWORD fileAttributes, UINT flags, TShellFileInfo& info);

struct SHFILEINFO {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    char szDisplayName[MAX_PATH] = {};
    char szTypeName[80] = {};
};

// The Win32 form over a path (SHGFI_PIDL: an absolute item-ID list). SHGFI_DISPLAYNAME, SHGFI_TYPENAME and
// SHGFI_SYSICONINDEX fill the fields (texts cut to their buffers at a character boundary); SHGFI_ATTRIBUTES
// fills dwAttributes with the item's SFGAO bits; SHGFI_ICON is not offered (hIcon stays null: draw from the
// system image list). Returns, with SHGFI_SYSICONINDEX, the system image list as a non-zero handle, else
// non-zero on success; 0 on failure.
uintptr_t SHGetFileInfo(const char* path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags);
