// A small file system of the test's own (a tmpfs in a private mount namespace), to be filled up or made
// read-only, so that tests see real write failures even when they run as root.
#pragma once
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

// The mount lives in a private mount namespace of the calling thread, so nothing else on the machine sees it, and
// it is taken away again at the end.
class TPrivateDisk {
public:
    TPrivateDisk() = default;
    TPrivateDisk(const TPrivateDisk&) = delete;
    TPrivateDisk& operator=(const TPrivateDisk&) = delete;
    ~TPrivateDisk()
    {
        if (!FFolder.empty())
            umount2(FFolder.c_str(), MNT_DETACH);
    }

    // Mounts a 256 KiB tmpfs at `folder`. False, with the reason, when the system refuses a namespace or mount
    // (not root, or in a container).
    bool Mount(const std::string& folder, std::string& why)
    {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            why = std::string("no private mount namespace: ") + std::strerror(errno);
            return false;
        }
        std::filesystem::create_directories(folder);
        if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=256k") != 0) {
            why = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            return false;
        }
        FFolder = folder;
        return true;
    }

    // Fills the file system, then gives back `spare` bytes (by default two pages, too little for any real file).
    bool FillUp(std::string& why, off_t spare = 8192)
    {
        const std::string filler = FFolder + "/filler";
        const int file = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::vector<char> block(4096, 'x');
        off_t size = 0;
        for (ssize_t written; file >= 0 && (written = write(file, block.data(), block.size())) > 0;)
            size += written;
        const bool filled = file >= 0 && errno == ENOSPC && ftruncate(file, size - spare) == 0;
        if (file >= 0)
            close(file);
        if (!filled)
            why = "cannot fill the tmpfs";
        return filled;
    }

    // Makes the file system read-only as it stands.
    bool MakeReadOnly(std::string& why)
    {
        if (mount(nullptr, FFolder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            why = std::string("cannot make the tmpfs read-only: ") + std::strerror(errno);
            return false;
        }
        return true;
    }

private:
    std::string FFolder;
};
