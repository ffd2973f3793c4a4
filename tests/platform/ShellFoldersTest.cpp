// Special folders: the XDG user directories from user-dirs.dirs and the environment, their fallbacks, and
// the Win32 calls over them.
#include "platform/shell/ShellFolders.h"
#include "ShellTestSupport.h"

#include <filesystem>

namespace {

TEST(ShellFolders, UserDirsFileEnvironmentAndFallbacks)
{
    TShellTestHome home;
    const std::string awkward = home.Root() + "/" + kAwkwardName;
    // In the file a quote inside the value is escaped, as xdg-user-dirs-update writes it.
    std::string escaped;
    for (char c : awkward)
        escaped += c == '"' ? std::string("\\\"") : std::string(1, c);
    home.Write(home.Home() + "/.config/user-dirs.dirs",
        "# written by hand\n"
        "XDG_DESKTOP_DIR=\"$HOME/My Desk\"\n"
        "XDG_VIDEOS_DIR=\"" + escaped + "\"\n"
        "XDG_MUSIC_DIR=\"relative/music\"\n"
        "XDG_PICTURES_DIR=\"$HOME\"\n"
        "XDG_DOCUMENTS_DIR=\"$HOME/Old\"\n"
        "  XDG_DOCUMENTS_DIR=\"$HOME/Docs/\"\n");
    home.Set("XDG_TEMPLATES_DIR", "/srv/templates");
    home.Set("XDG_VIDEOS_DIR", "/not/this/one");

    const struct {
        int csidl;
        std::string expected;
    } cases[] = {
        { CSIDL_DESKTOPDIRECTORY, home.Home() + "/My Desk" },
        { CSIDL_MYVIDEO, awkward },                 // the file wins over the environment
        { CSIDL_MYMUSIC, home.Home() },             // a relative value is ignored
        { CSIDL_MYPICTURES, home.Home() },
        { CSIDL_PERSONAL, home.Home() + "/Docs" },  // the later line wins, without its trailing '/'
        { CSIDL_TEMPLATES, "/srv/templates" },      // not in the file: the variable
        { CSIDL_PROFILE, home.Home() },
        { CSIDL_APPDATA, home.Home() + "/.config" },
        { CSIDL_BITBUCKET, home.Home() + "/.local/share/Trash/files" },
        { CSIDL_PROGRAMS, home.Home() + "/.local/share/applications" },
        { CSIDL_COMMON_PROGRAMS, "/usr/share/applications" },
        { CSIDL_STARTUP, home.Home() + "/.config/autostart" },
        { CSIDL_FONTS, home.Home() + "/.local/share/fonts" },
        { CSIDL_INTERNET, "" },
        { CSIDL_PRINTERS, "" },
        { CSIDL_RECENT, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpecialFolderPath(c.csidl), c.expected) << "CSIDL " << c.csidl;
}

TEST(ShellFolders, MissingFileFallsBackAndConfigHomeIsHonoured)
{
    TShellTestHome home;
    EXPECT_EQ(SpecialFolderPath(CSIDL_DESKTOPDIRECTORY), home.Home() + "/Desktop");
    EXPECT_EQ(SpecialFolderPath(CSIDL_PERSONAL), home.Home());
    EXPECT_EQ(SpecialFolderPath(CSIDL_MYVIDEO), home.Home());

    // The file is read from $XDG_CONFIG_HOME, not from ~/.config.
    home.Write(home.Home() + "/.config/user-dirs.dirs", "XDG_VIDEOS_DIR=\"$HOME/Wrong\"\n");
    home.Set("XDG_CONFIG_HOME", home.Root() + "/elsewhere");
    home.Write(home.Root() + "/elsewhere/user-dirs.dirs", "XDG_VIDEOS_DIR=\"$HOME/Films\"\n");
    EXPECT_EQ(SpecialFolderPath(CSIDL_MYVIDEO), home.Home() + "/Films");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    home.Set("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(SpecialFolderPath(CSIDL_MYVIDEO), home.Home() + "/Wrong");
}

TEST(ShellFolders, Win32CallsCreateOnRequestAndFailCleanly)
{
    TShellTestHome home;
    home.Write(home.Home() + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/" + kAwkwardName + "\"\n");
    const std::string documents = home.Home() + "/" + kAwkwardName;

    char path[MAX_PATH] = "junk";
    EXPECT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PERSONAL, 0));
    EXPECT_EQ(path, documents);
    EXPECT_FALSE(std::filesystem::exists(documents));
    EXPECT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PERSONAL, 1));
    EXPECT_TRUE(std::filesystem::is_directory(documents));

    std::string videos;
    EXPECT_TRUE(SHGetSpecialFolderPath(CSIDL_MYVIDEO | CSIDL_FLAG_CREATE, videos, false));
    EXPECT_EQ(videos, home.Home());

    // No place here, a path longer than the buffer, a folder that cannot be made under a file.
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, CSIDL_NETWORK, 1));
    EXPECT_STREQ(path, "");
    home.Set("HOME", home.Root() + "/" + std::string(300, 'h'));
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROFILE, 0));
    EXPECT_STREQ(path, "");
    home.Set("HOME", home.Write("plain-file", "x"));
    EXPECT_FALSE(SHGetSpecialFolderPath(CSIDL_MYMUSIC, videos, true));
    EXPECT_EQ(videos, "");
}

TEST(ShellFolders, TempFolder)
{
    TShellTestHome home;
    home.Set("TMPDIR", home.Root());
    char buffer[MAX_PATH];
    const DWORD length = GetTempPath(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer), home.Root() + "/");
    EXPECT_EQ(length, home.Root().size() + 1);
    char tiny[4];
    EXPECT_EQ(GetTempPath(sizeof tiny, tiny), home.Root().size() + 2);
    home.Set("TMPDIR", home.Root() + "/missing");
    EXPECT_EQ(TempFolder(), "/tmp/");
}

} // namespace
