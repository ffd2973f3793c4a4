// Reads arbitrary bytes as a user's user-dirs.dirs and as an icon theme's index.theme, and asks for every
// special folder and for icons at both sizes: no crash, and every folder found is absolute.
#include "platform/shell/ShellFolders.h"
#include "platform/shell/TIconTheme.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void Write(const std::string& path, const uint8_t* data, size_t size)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string root = (std::filesystem::temp_directory_path() / "ShellConfigFuzz.XXXXXX").string();
    if (!mkdtemp(root.data()))
        std::abort();
    setenv("HOME", root.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    Write(root + "/config/user-dirs.dirs", data, size);
    for (const char* name : { "DESKTOP", "DOCUMENTS", "DOWNLOAD", "MUSIC", "PICTURES", "PUBLICSHARE", "TEMPLATES", "VIDEOS" }) {
        const std::string folder = XdgUserDir(name);
        if (folder.empty() || folder[0] != '/')
            std::abort();
    }

    Write(root + "/icons/Fuzz/index.theme", data, size);
    Write(root + "/icons/Fuzz/16x16/a/folder.png", data, 0);
    TIconTheme theme("Fuzz", { root + "/icons" });
    for (int iconSize : { 16, 32 })
        (void)theme.Lookup({ "folder", "missing" }, iconSize);

    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return 0;
}
