// Special folders: the XDG user directories, the home and temporary folders, by CSIDL number.
#pragma once
#include "platform/shell/ShellTypes.h"

#include <string>

// The special-folder numbers the shell callers pass. Only those with a place on Linux resolve (see
// SHGetSpecialFolderPath); the others fail.
constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_INTERNET = 0x0001;
constexpr int CSIDL_PROGRAMS = 0x0002;
constexpr int CSIDL_CONTROLS = 0x0003;
constexpr int CSIDL_PRINTERS = 0x0004;
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_FAVORITES = 0x0006;
constexpr int CSIDL_STARTUP = 0x0007;
constexpr int CSIDL_RECENT = 0x0008;
constexpr int CSIDL_SENDTO = 0x0009;
constexpr int CSIDL_BITBUCKET = 0x000A;
constexpr int CSIDL_STARTMENU = 0x000B;
constexpr int CSIDL_MYMUSIC = 0x000D;
constexpr int CSIDL_MYVIDEO = 0x000E;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_DRIVES = 0x0011;
constexpr int CSIDL_NETWORK = 0x0012;
constexpr int CSIDL_FONTS = 0x0014;
constexpr int CSIDL_TEMPLATES = 0x0015;
constexpr int CSIDL_COMMON_STARTMENU = 0x0016;
constexpr int CSIDL_COMMON_PROGRAMS = 0x0017;
constexpr int CSIDL_COMMON_STARTUP = 0x0018;
constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x0019;
constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_PRINTHOOD = 0x001B;
constexpr int CSIDL_MYPICTURES = 0x0027;
constexpr int CSIDL_PROFILE = 0x0028;
// Or-ed into a CSIDL: create the folder when it is missing.
constexpr int CSIDL_FLAG_CREATE = 0x8000;

// The XDG user directories, read from $XDG_CONFIG_HOME/user-dirs.dirs (by default ~/.config) each time they
// are asked for, so a test or a user who changes the file sees the change. `name` is the middle of the key:
// "DESKTOP", "DOCUMENTS", "DOWNLOAD", "MUSIC", "PICTURES", "PUBLICSHARE", "TEMPLATES", "VIDEOS".
// A value is "$HOME/..." or an absolute path; anything else is ignored. A directory the file does not name
// comes from the variable XDG_<name>_DIR when that holds an absolute path, else falls back as xdg-user-dirs
// does: the desktop to $HOME/Desktop, everything else to $HOME. The result has no trailing '/'.
std::string XdgUserDir(const std::string& name);

// $HOME (or the password database's home when HOME is unset or relative), without a trailing '/'.
std::string HomeFolder();
// $XDG_CONFIG_HOME, $XDG_DATA_HOME and $XDG_CACHE_HOME when absolute, else ~/.config, ~/.local/share, ~/.cache.
std::string XdgConfigHome();
std::string XdgDataHome();
std::string XdgCacheHome();
// $TMPDIR when it names an existing folder, else "/tmp"; with a trailing '/'.
std::string TempFolder();

// The file-system folder of a special folder, without a trailing '/' ("" when it has none here):
//   CSIDL_DESKTOPDIRECTORY   XDG desktop           CSIDL_PERSONAL     XDG documents
//   CSIDL_MYVIDEO            XDG videos            CSIDL_MYMUSIC      XDG music
//   CSIDL_MYPICTURES         XDG pictures          CSIDL_TEMPLATES    XDG templates
//   CSIDL_PROFILE            the home folder       CSIDL_APPDATA      $XDG_CONFIG_HOME
//   CSIDL_BITBUCKET          the trash's files     CSIDL_FONTS        $XDG_DATA_HOME/fonts
//   CSIDL_PROGRAMS, CSIDL_STARTMENU                $XDG_DATA_HOME/applications
//   CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTMENU  /usr/share/applications
//   CSIDL_STARTUP            $XDG_CONFIG_HOME/autostart
//   CSIDL_COMMON_STARTUP     /etc/xdg/autostart
// The desktop and the computer are virtual folders (SHGetSpecialFolderLocation gives them); internet, control
// panel, printers, network, favourites, recent, send-to, print-hood and the common desktop have no place.
std::string SpecialFolderPath(int csidl);

// The Win32 form: copies the folder (no trailing '/') into `path` (MAX_PATH bytes), creating it first when
// `create` is true or CSIDL_FLAG_CREATE is set. FALSE, with `path` emptied, when the folder has no place here,
// cannot be created, or does not fit.
BOOL SHGetSpecialFolderPath(HWND owner, char* path, int csidl, BOOL create);
// The same without a length limit: the folder in `path`, or false.
bool SHGetSpecialFolderPath(int csidl, std::string& path, bool create);

// The Win32 form of TempFolder: copies it with its trailing '/' into `buffer` when it fits, and returns its
// length (or, when it does not fit, the size needed including the terminator).
DWORD GetTempPath(DWORD bufferLength, char* buffer);
