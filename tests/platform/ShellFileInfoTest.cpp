// File information on real temporary trees: display names, content types, icons from the installed theme and
// from fixture themes, the system image list, attributes and find data.
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/TIconTheme.h"
#include "platform/shell/TSystemImageList.h"
#include "platform/win/Windows.h"
#include "ShellTestSupport.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace {

// A private home and the installed themes only (never the user's own icons).
class ShellFileInfoTest : public testing::Test {
protected:
    void SetUp() override
    {
        Home.Set("XDG_DATA_DIRS", "/usr/share");
        // Type descriptions follow the user's language; these tests read the English ones.
        Home.Set("LANGUAGE", std::nullopt);
        Home.Set("LC_ALL", "C");
        Home.Set("LC_MESSAGES", std::nullopt);
        Home.Set("LANG", "C");
        TSystemImageList::Instance().SetTheme(std::make_unique<TIconTheme>());
    }

    void TearDown() override { TSystemImageList::Instance().SetTheme(std::make_unique<TIconTheme>()); }

    TShellTestHome Home;
};

TEST_F(ShellFileInfoTest, NamesTypesAndIconsOfVideosFoldersAndUnknownFiles)
{
    const std::string folder = Home.Root() + "/" + kAwkwardName;
    std::filesystem::create_directories(folder + "/sub dir");
    const std::string program = Home.Write(folder + "/run me", "#!/bin/sh\n");
    chmod(program.c_str(), 0755);
    const struct {
        std::string name;
        std::string type;
        std::string description;
        std::string icon;
    } cases[] = {
        { kAwkwardName + ".mp4", "video/mp4", "MPEG-4 video", "video-x-generic" },
        { "Clip.AVI", "video/x-msvideo", "AVI video", "video-x-generic" },
        { "sub dir", "inode/directory", "folder", "folder" },
        { "data.zzq", "application/octet-stream", "unknown", "application-x-generic" },
        { "run me", "application/octet-stream", "unknown", "application-x-executable" },
    };
    std::map<std::string, int> indexes;
    for (const auto& c : cases) {
        const std::string path = folder + "/" + c.name;
        if (!std::filesystem::exists(path))
            Home.Write(path, "not really a video");
        TShellFileInfo info;
        ASSERT_TRUE(GetShellFileInfo(path, 0, SHGFI_SMALLICON, info)) << c.name;
        EXPECT_EQ(info.ContentType, c.type) << c.name;
        EXPECT_EQ(info.TypeName, c.description) << c.name;
        EXPECT_EQ(TSystemImageList::Instance().IconName(info.IconIndex), c.icon) << c.name;
        for (int size : { 16, 32 }) {
            const std::string file = TSystemImageList::Instance().IconFile(info.IconIndex, size);
            EXPECT_NE(file.find("/" + std::to_string(size) + "x" + std::to_string(size) + "/"), std::string::npos) << file;
            EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        }
        indexes[c.icon] = info.IconIndex;
    }
    // One index per icon: the two videos share theirs.
    EXPECT_EQ(indexes.size(), 4u);
    TShellFileInfo again;
    ASSERT_TRUE(GetShellFileInfo(folder + "/" + kAwkwardName + ".mp4", 0, 0, again));
    EXPECT_EQ(again.IconIndex, indexes["video-x-generic"]);

    // The shown name is valid UTF-8 (the bad bytes become U+FFFD); the path keeps the real bytes.
    EXPECT_EQ(again.DisplayName, "it's a \"clip\" $(x) \xEF\xBF\xBD\xEF\xBF\xBD.mp4");
    EXPECT_EQ(ShellDisplayName("/"), "/");
    EXPECT_EQ(ShellDisplayName(folder + "/"), "it's a \"clip\" $(x) \xEF\xBF\xBD\xEF\xBF\xBD");

    TShellFileInfo missing;
    EXPECT_FALSE(GetShellFileInfo(folder + "/gone.mp4", 0, 0, missing));
    // Without reading the disk, the name and the given attributes decide.
    EXPECT_TRUE(GetShellFileInfo(folder + "/gone.mp4", 0, SHGFI_USEFILEATTRIBUTES, missing));
    EXPECT_EQ(missing.ContentType, "video/mp4");
    EXPECT_TRUE(GetShellFileInfo(folder + "/gone", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES, missing));
    EXPECT_EQ(missing.ContentType, "inode/directory");
}

TEST_F(ShellFileInfoTest, SpecialAndOpenFolderIcons)
{
    Home.Write(Home.Home() + "/.config/user-dirs.dirs", "XDG_VIDEOS_DIR=\"$HOME/Films\"\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n");
    for (const char* sub : { "Films", "Desk", "Other" })
        std::filesystem::create_directories(Home.Home() + "/" + sub);
    const struct {
        std::string path;
        UINT flags;
        std::string icon;
    } cases[] = {
        { Home.Home(), 0, "user-home" },
        { Home.Home() + "/Films/", 0, "folder-videos" },
        { Home.Home() + "/Desk", SHGFI_OPENICON, "user-desktop" },
        { Home.Home() + "/Other", 0, "folder" },
        { Home.Home() + "/Other", SHGFI_OPENICON, "folder-open" },
    };
    for (const auto& c : cases) {
        SHFILEINFO info;
        const uintptr_t list = SHGetFileInfo(c.path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME | c.flags);
        EXPECT_EQ(list, reinterpret_cast<uintptr_t>(&TSystemImageList::Instance())) << c.path;
        EXPECT_EQ(TSystemImageList::Instance().IconName(info.iIcon), c.icon) << c.path;
        EXPECT_STREQ(info.szTypeName, "folder");
    }
    SHFILEINFO info;
    EXPECT_EQ(SHGetFileInfo((Home.Home() + "/nothing").c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME), 0u);
    EXPECT_EQ(SHGetFileInfo(Home.Home().c_str(), 0, &info, 8, SHGFI_DISPLAYNAME), 0u);
}

// Two fixture themes, "Fixture" inheriting "Parent", with a few placeholder icon files.
TEST_F(ShellFileInfoTest, ThemeLookupFollowsSizesInheritanceAndFallbacks)
{
    const std::string icons = Home.Root() + "/icons";
    Home.Write(icons + "/Fixture/index.theme",
        "[Icon Theme]\nName=Fixture\nInherits=Parent\nDirectories=16x16/a,24x24/a,48x48/a,16x16@2/a\n\n"
        "[16x16/a]\nSize=16\nType=Fixed\n\n[24x24/a]\nSize=24\nType=Threshold\n\n[48x48/a]\nSize=48\nType=Fixed\n\n"
        "[16x16@2/a]\nSize=16\nScale=2\nType=Fixed\n");
    Home.Write(icons + "/Parent/index.theme", "[Icon Theme]\nName=Parent\nDirectories=s\n\n[s]\nSize=32\nMinSize=8\nMaxSize=64\nType=Scalable\n");
    Home.Write(icons + "/hicolor/index.theme", "[Icon Theme]\nName=Hicolor\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n");
    for (const char* file : { "Fixture/16x16/a/exact.png", "Fixture/48x48/a/exact.png", "Fixture/24x24/a/near.png",
             "Fixture/16x16@2/a/doubled.png", "Fixture/16x16/a/mono-symbolic.png", "Fixture/16x16/a/vector.svg",
             "Parent/s/inherited.png", "hicolor/32x32/apps/last.png", "pixmaps/plain.png" })
        Home.Write(icons + "/" + file, "png");

    TIconTheme theme("Fixture", { icons, icons + "/pixmaps" });
    const struct {
        std::vector<std::string> names;
        int size;
        std::string expected;
    } cases[] = {
        { { "exact" }, 16, "Fixture/16x16/a/exact.png" },
        { { "exact" }, 48, "Fixture/48x48/a/exact.png" },
        { { "exact" }, 32, "Fixture/16x16/a/exact.png" },   // 16 and 48 are as near: the folder listed first
        { { "near" }, 16, "Fixture/24x24/a/near.png" },     // the nearest size when no folder matches
        { { "near" }, 32, "Fixture/24x24/a/near.png" },
        { { "missing", "inherited" }, 32, "Parent/s/inherited.png" },
        { { "last" }, 16, "hicolor/32x32/apps/last.png" },
        { { "plain" }, 16, "pixmaps/plain.png" },
        { { "doubled" }, 16, "" },
        { { "mono-symbolic" }, 16, "" },
        { { "vector" }, 16, "" },
        { { "nothing" }, 16, "" },
    };
    for (const auto& c : cases) {
        const std::string found = theme.Lookup(c.names, c.size);
        EXPECT_EQ(found, c.expected.empty() ? "" : icons + "/" + c.expected) << c.names.back() << " at " << c.size;
    }
}

TEST_F(ShellFileInfoTest, GenericIconWhenTheThemeHasNothing)
{
    auto& list = TSystemImageList::Instance();
    list.SetTheme(std::make_unique<TIconTheme>("None", std::vector<std::string> { Home.Root() + "/no-icons" }));
    const std::string file = Home.Write("a.mp4", "");
    TShellFileInfo info;
    ASSERT_TRUE(GetShellFileInfo(file, 0, 0, info));
    EXPECT_EQ(list.IconName(info.IconIndex), "");
    EXPECT_EQ(list.IconFile(info.IconIndex, 16), "");
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(list.IconPixels(info.IconIndex, 32, pixels));
    EXPECT_EQ(pixels, TSystemImageList::GenericIconPixels(32));
    // The sheet: see-through at the corners and on the fold, white inside, grey on the edge.
    EXPECT_EQ(pixels[0], 0u);
    EXPECT_EQ(pixels[31], 0u);
    EXPECT_EQ(pixels[16 * 32 + 16], 0xFFFFFFFFu);
    EXPECT_EQ(pixels[31 * 32 + 4], 0xFF808080u);
    EXPECT_FALSE(list.IconPixels(list.Count(), 16, pixels));

    // With a theme icon the decoder draws it; a decoder that fails leaves the generic icon.
    list.SetTheme(std::make_unique<TIconTheme>());
    ASSERT_TRUE(GetShellFileInfo(file, 0, 0, info));
    std::string decoded;
    list.SetDecoder([&](const std::string& path, int size, std::vector<uint32_t>& out) {
        decoded = path;
        out.assign(size_t(size) * size, 0xFF0000FFu);
        return true;
    });
    ASSERT_TRUE(list.IconPixels(info.IconIndex, 16, pixels));
    EXPECT_EQ(decoded, list.IconFile(info.IconIndex, 16));
    EXPECT_EQ(pixels[0], 0xFF0000FFu);
    list.SetDecoder([](const std::string&, int, std::vector<uint32_t>&) { return false; });
    ASSERT_TRUE(list.IconPixels(info.IconIndex, 16, pixels));
    EXPECT_EQ(pixels, TSystemImageList::GenericIconPixels(16));
    list.SetDecoder(nullptr);
}

TEST_F(ShellFileInfoTest, AttributesAndFindData)
{
    const std::string big = Home.Root() + "/" + kAwkwardName + ".avi";
    const int fd = open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, (int64_t(5) << 30) + 7), 0);
    close(fd);
    TShellFindData data;
    ASSERT_TRUE(GetShellFindData(big, data));
    EXPECT_EQ(data.Size, (int64_t(5) << 30) + 7);
    EXPECT_EQ(data.Attributes, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_GT(data.WriteTime, 0);

    std::filesystem::create_directories(Home.Root() + "/.hidden dir");
    std::filesystem::create_symlink(Home.Root() + "/.hidden dir", Home.Root() + "/link");
    std::filesystem::create_symlink(Home.Root() + "/gone", Home.Root() + "/dangling");
    const struct {
        std::string name;
        DWORD attributes;
    } cases[] = {
        { "/.hidden dir", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN },
        { "/link", FILE_ATTRIBUTE_DIRECTORY },
        { "/dangling", FILE_ATTRIBUTE_READONLY }, // nothing behind it to write
        { "/" + kAwkwardName + ".avi", FILE_ATTRIBUTE_ARCHIVE },
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetFileAttributes((Home.Root() + c.name).c_str()), c.attributes) << c.name;
    ASSERT_TRUE(GetShellFindData(Home.Root() + "/link", data));
    EXPECT_TRUE(data.IsLink);
    EXPECT_EQ(data.Size, 0);
    SetLastError(0);
    EXPECT_EQ(GetFileAttributes((Home.Root() + "/gone").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    // Paths are their own short form; the buffer rules are Windows'.
    char shortPath[MAX_PATH];
    EXPECT_EQ(GetShortPathName(big.c_str(), shortPath, sizeof shortPath), big.size());
    EXPECT_EQ(std::string(shortPath), big);
    EXPECT_EQ(GetShortPathName(big.c_str(), shortPath, 4), big.size() + 1);
    EXPECT_EQ(GetShortPathName((Home.Root() + "/gone").c_str(), shortPath, sizeof shortPath), 0u);
    // Read-only means "we may not write it", which root always may.
    if (geteuid() != 0) {
        chmod(big.c_str(), 0444);
        EXPECT_EQ(GetFileAttributes(big.c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    }
}

} // namespace
