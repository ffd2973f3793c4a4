// Drives from GIO's view of the mount table.
#include "platform/shell/ShellDrives.h"

#include "platform/win/Windows.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <gio/gio.h>
#include <gio/gunixmounts.h>
#include <sys/stat.h>

namespace {

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool Inside(const std::string& path, const std::string& folder)
{
    return folder == "/" || path == folder || (StartsWith(path, folder.c_str()) && path[folder.size()] == '/');
}

// The label of a block device from the udev links in /dev/disk/by-label ("\x20" escapes a space there).
std::string DeviceLabel(const std::string& device)
{
    std::string label;
    char resolvedDevice[PATH_MAX];
    if (device.empty() || device[0] != '/' || !realpath(device.c_str(), resolvedDevice))
        return label;
    DIR* dir = opendir("/dev/disk/by-label");
    if (!dir)
        return label;
    while (const dirent* entry = readdir(dir)) {
        char resolved[PATH_MAX];
        const std::string link = std::string("/dev/disk/by-label/") + entry->d_name;
        if (entry->d_name[0] == '.' || !realpath(link.c_str(), resolved) || std::strcmp(resolved, resolvedDevice) != 0)
            continue;
        for (const char* c = entry->d_name; *c; ++c) {
            unsigned value = 0;
            if (c[0] == '\\' && c[1] == 'x' && std::sscanf(c + 2, "%2x", &value) == 1) {
                label += static_cast<char>(value);
                c += 3;
            } else {
                label += *c;
            }
        }
        break;
    }
    closedir(dir);
    return label;
}

// A drive without its label, which costs a look through /dev/disk/by-label: only the drives handed out get one.
TShellDrive DriveOf(GUnixMountEntry* mount)
{
    TShellDrive drive;
    drive.Path = g_unix_mount_get_mount_path(mount);
    drive.Device = g_unix_mount_get_device_path(mount);
    drive.FileSystem = g_unix_mount_get_fs_type(mount);
    drive.Kind = ShellDriveKind(drive.FileSystem, drive.Path, g_unix_mount_guess_can_eject(mount));
    char* name = g_unix_mount_guess_name(mount);
    drive.Label = name ? name : "";
    g_free(name);
    return drive;
}

void AddLabel(TShellDrive& drive)
{
    if (std::string label = DeviceLabel(drive.Device); !label.empty())
        drive.Label = label;
}

// Every mount of the table, in its order, or only those a user browses (those with their labels).
std::vector<TShellDrive> ReadMounts(bool browsableOnly)
{
    std::vector<TShellDrive> drives;
    GList* mounts = g_unix_mounts_get(nullptr);
    for (GList* item = mounts; item; item = item->next) {
        auto* mount = static_cast<GUnixMountEntry*>(item->data);
        const std::string path = g_unix_mount_get_mount_path(mount);
        const bool browsable = path == "/" || path == "/home" || StartsWith(path, "/mnt/")
            || (!g_unix_mount_is_system_internal(mount) && g_unix_mount_guess_should_display(mount));
        if (!browsableOnly || browsable) {
            drives.push_back(DriveOf(mount));
            if (browsableOnly)
                AddLabel(drives.back());
        }
    }
    g_list_free_full(mounts, reinterpret_cast<GDestroyNotify>(g_unix_mount_free));
    return drives;
}

void CopyOut(const std::string& text, char* buffer, DWORD size, bool& fits)
{
    if (!buffer)
        return;
    if (text.size() + 1 > size) {
        fits = false;
        if (size)
            buffer[0] = '\0';
        return;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

} // namespace

UINT ShellDriveKind(const std::string& fileSystem, const std::string& mountPath, bool canEject)
{
    static const char* const remote[] = { "nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p", "afs",
        "ncpfs", "davfs", "fuse.rclone", "glusterfs", "ceph" };
    if (fileSystem == "iso9660" || fileSystem == "udf")
        return DRIVE_CDROM;
    for (const char* kind : remote) {
        if (fileSystem == kind)
            return DRIVE_REMOTE;
    }
    if (fileSystem == "tmpfs" || fileSystem == "ramfs")
        return DRIVE_RAMDISK;
    const bool portableFs = fileSystem == "vfat" || fileSystem == "exfat" || fileSystem == "ntfs" || fileSystem == "ntfs3"
        || fileSystem == "fuseblk" || fileSystem == "msdos";
    const bool mediaPlace = StartsWith(mountPath, "/media/") || StartsWith(mountPath, "/run/media/") || StartsWith(mountPath, "/mnt/");
    if (canEject || (portableFs && mediaPlace))
        return DRIVE_REMOVABLE;
    return DRIVE_FIXED;
}

std::vector<TShellDrive> ShellDrives()
{
    std::vector<TShellDrive> drives = ReadMounts(true);
    std::vector<TShellDrive> ordered;
    // "/" first, once, even in a mount table that lists it twice (a container's overlay over the host's).
    for (auto it = drives.rbegin(); it != drives.rend(); ++it) {
        if (it->Path == "/") {
            ordered.push_back(*it);
            break;
        }
    }
    if (ordered.empty())
        ordered.push_back(TShellDrive { "/", "Filesystem root", "", "", DRIVE_FIXED });
    for (const TShellDrive& drive : drives) {
        bool seen = false;
        for (const TShellDrive& taken : ordered)
            seen = seen || taken.Path == drive.Path;
        if (!seen)
            ordered.push_back(drive);
    }
    return ordered;
}

bool ShellDriveOf(const std::string& path, TShellDrive& drive)
{
    struct stat info;
    if (path.empty() || path[0] != '/' || stat(path.c_str(), &info) != 0)
        return false;
    bool found = false;
    // The last of the longest matches: a later mount over the same point hides the earlier one.
    for (const TShellDrive& mount : ReadMounts(false)) {
        if (Inside(path, mount.Path) && (!found || mount.Path.size() >= drive.Path.size())) {
            drive = mount;
            found = true;
        }
    }
    if (!found)
        drive = TShellDrive { "/", "Filesystem root", "", "", DRIVE_FIXED };
    AddLabel(drive);
    return true;
}

UINT GetDriveType(const char* rootPath)
{
    TShellDrive drive;
    if (!rootPath || !ShellDriveOf(rootPath, drive))
        return DRIVE_NO_ROOT_DIR;
    return drive.Kind;
}

BOOL GetVolumeInformation(const char* rootPath, char* volumeName, DWORD volumeNameSize, DWORD* serialNumber,
    DWORD* maxComponentLength, DWORD* fileSystemFlags, char* fileSystemName, DWORD fileSystemNameSize)
{
    TShellDrive drive;
    if (!rootPath || !ShellDriveOf(rootPath, drive)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    bool fits = true;
    CopyOut(drive.Label, volumeName, volumeNameSize, fits);
    CopyOut(drive.FileSystem, fileSystemName, fileSystemNameSize, fits);
    if (serialNumber)
        *serialNumber = 0;
    if (maxComponentLength)
        *maxComponentLength = 255;
    if (fileSystemFlags) {
        static const char* const caseInsensitive[] = { "vfat", "exfat", "ntfs", "ntfs3", "fuseblk", "msdos", "iso9660", "udf", "cifs", "smb3" };
        bool insensitive = false;
        for (const char* kind : caseInsensitive)
            insensitive = insensitive || drive.FileSystem == kind;
        *fileSystemFlags = FILE_CASE_PRESERVED_NAMES | (insensitive ? 0 : FILE_CASE_SENSITIVE_SEARCH);
    }
    if (!fits) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    return 1;
}
