// Drives: the kinds of mounts, the browsable mounts of this machine, and the volume queries over them.
#include "platform/shell/ShellDrives.h"
#include "platform/win/Windows.h"
#include "ShellTestSupport.h"

namespace {

TEST(ShellDrives, KindsByFileSystemPlaceAndEjectFlag)
{
    const struct {
        const char* fileSystem;
        const char* path;
        bool canEject;
        UINT kind;
    } cases[] = {
        { "ext4", "/", false, DRIVE_FIXED },
        { "overlay", "/", false, DRIVE_FIXED },
        { "btrfs", "/home", false, DRIVE_FIXED },
        { "vfat", "/boot/efi", false, DRIVE_FIXED },
        { "vfat", "/media/anna/STICK", false, DRIVE_REMOVABLE },
        { "exfat", "/run/media/anna/CARD", false, DRIVE_REMOVABLE },
        { "ext4", "/media/anna/disk", true, DRIVE_REMOVABLE },
        { "iso9660", "/media/cdrom", true, DRIVE_CDROM },
        { "udf", "/mnt/dvd", false, DRIVE_CDROM },
        { "nfs4", "/mnt/share", false, DRIVE_REMOTE },
        { "fuse.sshfs", "/home/anna/remote", false, DRIVE_REMOTE },
        { "cifs", "/mnt/win", false, DRIVE_REMOTE },
        { "tmpfs", "/tmp", false, DRIVE_RAMDISK },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShellDriveKind(c.fileSystem, c.path, c.canEject), c.kind) << c.fileSystem << " at " << c.path;
}

TEST(ShellDrives, MountsOfThisMachineAndVolumeQueries)
{
    TShellTestHome home;
    const std::vector<TShellDrive> drives = ShellDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0].Path, "/");
    EXPECT_FALSE(drives[0].Label.empty());
    for (const TShellDrive& drive : drives) {
        EXPECT_NE(drive.FileSystem, "proc") << drive.Path;
        EXPECT_NE(drive.FileSystem, "sysfs") << drive.Path;
        EXPECT_NE(drive.Kind, DRIVE_UNKNOWN) << drive.Path;
    }

    // Any folder lies on some mount, a missing one on none.
    TShellDrive holder;
    const std::string folder = home.Root() + "/" + kAwkwardName;
    home.Write(folder + "/x", "");
    ASSERT_TRUE(ShellDriveOf(folder, holder));
    EXPECT_EQ(folder.compare(0, holder.Path.size(), holder.Path), 0) << holder.Path;
    EXPECT_EQ(GetDriveType(folder.c_str()), holder.Kind);
    EXPECT_EQ(GetDriveType((folder + "/missing").c_str()), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(GetDriveType("relative"), DRIVE_NO_ROOT_DIR);

    char label[MAX_PATH];
    char fileSystem[MAX_PATH];
    DWORD serial = 1;
    DWORD longest = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetVolumeInformation(folder.c_str(), label, sizeof label, &serial, &longest, &flags, fileSystem, sizeof fileSystem));
    EXPECT_EQ(std::string(label), holder.Label);
    EXPECT_EQ(std::string(fileSystem), holder.FileSystem);
    EXPECT_EQ(longest, 255u);
    EXPECT_TRUE(flags & FILE_CASE_PRESERVED_NAMES);
    char tiny[1];
    EXPECT_FALSE(GetVolumeInformation(folder.c_str(), nullptr, 0, nullptr, nullptr, nullptr, tiny, sizeof tiny));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_FALSE(GetVolumeInformation((folder + "/missing").c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
}

} // namespace
