// Special folders from the XDG base and user directories.
#include "platform/shell/ShellFolders.h"

#include "framework/core/FileSystem.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string EnvAbsolute(const char* name)
{
    const char* value = std::getenv(name);
    if (value && value[0] == '/')
        return ExcludeTrailingPathDelimiter(value);
    return {};
}

// One value of user-dirs.dirs: the text between the quotes with the shell's backslash escapes undone, and a
// leading "$HOME" replaced. Empty when the value is neither "$HOME..." nor absolute.
std::string UserDirsValue(const std::string& quoted)
{
    std::string value;
    for (size_t i = 0; i < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 1 < quoted.size())
            ++i;
        value += quoted[i];
    }
    if (value == "$HOME")
        return HomeFolder();
    if (value.rfind("$HOME/", 0) == 0)
        return ExcludeTrailingPathDelimiter(HomeFolder() + value.substr(5));
    if (!value.empty() && value[0] == '/')
        return ExcludeTrailingPathDelimiter(value);
    return {};
}

// The value of XDG_<name>_DIR in user-dirs.dirs, or "" when the file or the key is missing or invalid.
std::string UserDirsEntry(const std::string& name)
{
    std::ifstream file(XdgConfigHome() + "/user-dirs.dirs", std::ios::binary);
    const std::string key = "XDG_" + name + "_DIR=\"";
    std::string line;
    std::string found;
    while (std::getline(file, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        start += key.size();
        // The closing quote is the last unescaped one.
        size_t end = std::string::npos;
        for (size_t i = start; i < line.size(); ++i) {
            if (line[i] == '\\')
                ++i;
            else if (line[i] == '"')
                end = i;
        }
        if (end == std::string::npos)
            continue;
        // As when the shell sources the file, a later line wins.
        found = UserDirsValue(line.substr(start, end - start));
    }
    return found;
}

bool CopyOut(const std::string& text, char* buffer, size_t size)
{
    if (!buffer || text.size() + 1 > size)
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

} // namespace

std::string HomeFolder()
{
    if (std::string home = EnvAbsolute("HOME"); !home.empty())
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/')
        return ExcludeTrailingPathDelimiter(entry->pw_dir);
    return "/";
}

std::string XdgConfigHome()
{
    std::string path = EnvAbsolute("XDG_CONFIG_HOME");
    return path.empty() ? HomeFolder() + "/.config" : path;
}

std::string XdgDataHome()
{
    std::string path = EnvAbsolute("XDG_DATA_HOME");
    return path.empty() ? HomeFolder() + "/.local/share" : path;
}

std::string XdgCacheHome()
{
    std::string path = EnvAbsolute("XDG_CACHE_HOME");
    return path.empty() ? HomeFolder() + "/.cache" : path;
}

std::string XdgUserDir(const std::string& name)
{
    if (std::string path = UserDirsEntry(name); !path.empty())
        return path;
    if (std::string path = EnvAbsolute(("XDG_" + name + "_DIR").c_str()); !path.empty())
        return path;
    return name == "DESKTOP" ? HomeFolder() + "/Desktop" : HomeFolder();
}

std::string TempFolder()
{
    const char* dir = std::getenv("TMPDIR");
    if (dir && dir[0] == '/' && DirectoryExists(dir))
        return IncludeTrailingPathDelimiter(dir);
    return "/tmp/";
}

std::string SpecialFolderPath(int csidl)
{
    switch (csidl & ~CSIDL_FLAG_CREATE) {
    case CSIDL_DESKTOPDIRECTORY:
        return XdgUserDir("DESKTOP");
    case CSIDL_PERSONAL:
        return XdgUserDir("DOCUMENTS");
    case CSIDL_MYVIDEO:
        return XdgUserDir("VIDEOS");
    case CSIDL_MYMUSIC:
        return XdgUserDir("MUSIC");
    case CSIDL_MYPICTURES:
        return XdgUserDir("PICTURES");
    case CSIDL_TEMPLATES:
        return XdgUserDir("TEMPLATES");
    case CSIDL_PROFILE:
        return HomeFolder();
    case CSIDL_APPDATA:
        return XdgConfigHome();
    case CSIDL_BITBUCKET:
        return XdgDataHome() + "/Trash/files";
    case CSIDL_FONTS:
        return XdgDataHome() + "/fonts";
    case CSIDL_PROGRAMS:
    case CSIDL_STARTMENU:
        return XdgDataHome() + "/applications";
    case CSIDL_COMMON_PROGRAMS:
    case CSIDL_COMMON_STARTMENU:
        return "/usr/share/applications";
    case CSIDL_STARTUP:
        return XdgConfigHome() + "/autostart";
    case CSIDL_COMMON_STARTUP:
        return "/etc/xdg/autostart";
    default:
        return {};
    }
}

bool SHGetSpecialFolderPath(int csidl, std::string& path, bool create)
{
    path = SpecialFolderPath(csidl);
    if (path.empty())
        return false;
    if ((create || (csidl & CSIDL_FLAG_CREATE)) && !ForceDirectories(path)) {
        path.clear();
        return false;
    }
    return true;
}

BOOL SHGetSpecialFolderPath(HWND, char* path, int csidl, BOOL create)
{
    std::string folder;
    if (SHGetSpecialFolderPath(csidl, folder, create != 0) && CopyOut(folder, path, MAX_PATH))
        return 1;
    if (path)
        path[0] = '\0';
    return 0;
}

DWORD GetTempPath(DWORD bufferLength, char* buffer)
{
    const std::string folder = TempFolder();
    if (!CopyOut(folder, buffer, bufferLength))
        return static_cast<DWORD>(folder.size() + 1);
    return static_cast<DWORD>(folder.size());
}
