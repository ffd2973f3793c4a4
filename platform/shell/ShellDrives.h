// Drives: the mount points GIO lists that a user would browse, with their labels and kinds.
#pragma once
#include "platform/shell/ShellTypes.h"

#include <string>
#include <vector>

// GetDriveType kinds.
constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

// GetVolumeInformation file-system flags.
constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x01;
constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x02;

struct TShellDrive {
    // The mount point ("/", "/media/usb").
    std::string Path;
    // The volume's label (from /dev/disk/by-label), else GIO's name for the mount ("Filesystem root" for
    // "/"; the mount point's last part otherwise).
    std::string Label;
    // The mounted device or remote source ("/dev/sdb1", "server:/export").
    std::string Device;
    std::string FileSystem;
    UINT Kind = DRIVE_UNKNOWN;
};

// The kind of a mount, by its file system, place and eject flag:
//   iso9660, udf                                      DRIVE_CDROM
//   nfs, nfs4, cifs, smb3, sshfs, fuse.sshfs, 9p ...  DRIVE_REMOTE
//   tmpfs, ramfs                                      DRIVE_RAMDISK
//   ejectable, or vfat/exfat/ntfs under /media, /run/media or /mnt   DRIVE_REMOVABLE
//   anything else                                     DRIVE_FIXED
UINT ShellDriveKind(const std::string& fileSystem, const std::string& mountPath, bool canEject);

// The mounts to browse, "/" first, then in mount-table order: those GIO would show a user (under /media,
// /run/media and the home), /home and the mounts under /mnt. System and pseudo file systems are left out.
std::vector<TShellDrive> ShellDrives();

// The drive (mount) that holds `path`: the longest mount point of the whole mount table that prefixes it.
// False when the path is not absolute or does not exist.
bool ShellDriveOf(const std::string& path, TShellDrive& drive);

// The kind of the mount holding `rootPath`; DRIVE_NO_ROOT_DIR when the path does not exist.
UINT GetDriveType(const char* rootPath);

// The label and file system of the mount holding `rootPath`; the flags tell whether names are case-sensitive
// (ext4, xfs, btrfs, tmpfs ...) or only case-preserving (vfat, exfat, ntfs). The serial number is 0 and the
// longest name 255. Any output may be null. FALSE when the path does not exist or a text does not fit.
BOOL GetVolumeInformation(const char* rootPath, char* volumeName, DWORD volumeNameSize, DWORD* serialNumber,
    DWORD* maxComponentLength, DWORD* fileSystemFlags, char* fileSystemName, DWORD fileSystemNameSize);
