#include "framework/core/FileSystem.h"

#include "framework/core/Exception.h"

#include <cerrno>
#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Each test works in a fresh folder of its own under the system's temporary folder.
class FileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/tp_fs_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        FDir = pattern + "/";
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }

    std::string Path(const std::string& name) const { return FDir + name; }
    void Write(const std::string& name, const std::string& content) const
    {
        std::ofstream(Path(name), std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    std::vector<std::string> Find(const std::string& mask, int32_t attr) const
    {
        std::vector<std::string> names;
        TSearchRec rec;
        for (int result = FindFirst(Path(mask), attr, rec); result == 0; result = FindNext(rec))
            names.push_back(rec.Name);
        FindClose(rec);
        return names;
    }

    std::string FDir;
};

using TNames = std::vector<std::string>;

} // namespace

// ---- Paths ---------------------------------------------------------------------------------------------------

TEST(FileSystem, PathParts)
{
    struct Case {
        const char* path;
        const char* filePath;
        const char* fileDir;
        const char* fileName;
        const char* fileExt;
    };
    const Case kCases[] = {
        { "/a/b.txt", "/a/", "/a", "b.txt", ".txt" },
        { "/a.b/c", "/a.b/", "/a.b", "c", "" },
        { "dir.d/file.tar.gz", "dir.d/", "dir.d", "file.tar.gz", ".gz" },
        { "/home/u/.hidden", "/home/u/", "/home/u", ".hidden", ".hidden" },
        { "/a/b/", "/a/b/", "/a/b", "", "" },
        { "/x", "/", "/", "x", "" },
        { "name.", "", "", "name.", "." },
        { "noext", "", "", "noext", "" },
        { "", "", "", "", "" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
        EXPECT_EQ(ExtractFileDir(c.path), c.fileDir);
        EXPECT_EQ(ExtractFileName(c.path), c.fileName);
        EXPECT_EQ(ExtractFileExt(c.path), c.fileExt);
    }
}

TEST(FileSystem, ChangeFileExtAndTrailingDelimiters)
{
    struct Case {
        const char* path;
        const char* ext;
        const char* expected;
    };
    const Case kCases[] = {
        { "/a/b.txt", ".mp4", "/a/b.mp4" },
        { "/a.b/c", ".x", "/a.b/c.x" },
        { "f.tar.gz", "", "f.tar" },
        { "/a/b.txt", "", "/a/b" },
        { ".hidden", ".x", ".x" },
        { "/a/", ".x", "/a/.x" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ChangeFileExt(c.path, c.ext), c.expected);
    }

    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "") << "an empty folder must not turn into the root";
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a"), "a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/") << "the root must not turn into the current folder";
    EXPECT_EQ(ExcludeTrailingPathDelimiter(""), "");
}

TEST(FileSystem, ExpandFileName)
{
    const std::string cwd = GetCurrentDir();
    struct Case {
        std::string path;
        std::string expected;
    };
    const Case kCases[] = {
        { "/a/./b/../c", "/a/c" },
        { "/a//b/", "/a/b/" },
        { "/..", "/" },
        { "/a/b/..", "/a" },
        { "/", "/" },
        { "/a.b/../c.d/./e", "/c.d/e" },
        { "rel/x", cwd + "/rel/x" },
        { ".", cwd },
        { "", "" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExpandFileName(c.path), c.expected);
    }
}

TEST(FileSystem, CurrentDirAndExecutable)
{
    EXPECT_EQ(GetCurrentDir(), std::filesystem::current_path().string());
    const std::string exe = ExeFileName();
    EXPECT_TRUE(FileExists(exe));
    EXPECT_EQ(ExtractFileName(exe), "framework_FileSystemTest");
    EXPECT_EQ(ExeFolder(), ExtractFilePath(exe));
    EXPECT_EQ(ExeFolder().back(), '/');
}

// ---- Files and folders ---------------------------------------------------------------------------------------

TEST_F(FileSystemTest, ExistenceChecks)
{
    Write("file.txt", "x");
    std::filesystem::create_directory(Path("folder.d"));
    std::filesystem::create_symlink(Path("file.txt"), Path("link"));
    std::filesystem::create_symlink(Path("missing"), Path("dangling"));

    EXPECT_TRUE(FileExists(Path("file.txt")));
    EXPECT_TRUE(FileExists(Path("link")));
    EXPECT_FALSE(FileExists(Path("folder.d")));
    EXPECT_FALSE(FileExists(Path("dangling")));
    EXPECT_FALSE(FileExists(Path("missing")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(Path("folder.d")));
    EXPECT_TRUE(DirectoryExists(FDir));
    EXPECT_FALSE(DirectoryExists(Path("file.txt")));
    EXPECT_FALSE(DirectoryExists(""));
}

TEST_F(FileSystemTest, ForceDirectoriesCreatesEveryLevel)
{
    EXPECT_TRUE(ForceDirectories(Path("a/b/c")));
    EXPECT_TRUE(DirectoryExists(Path("a/b/c")));
    EXPECT_TRUE(ForceDirectories(Path("a/b/c"))) << "an existing folder is success";
    EXPECT_TRUE(ForceDirectories(Path("x//y/")));
    EXPECT_TRUE(DirectoryExists(Path("x/y")));
    EXPECT_FALSE(ForceDirectories(""));
    Write("plain", "x");
    EXPECT_FALSE(ForceDirectories(Path("plain/sub")));
    EXPECT_EQ(Read("plain"), "x");
}

TEST_F(FileSystemTest, CreateRemoveAndDelete)
{
    EXPECT_TRUE(CreateDir(Path("d")));
    EXPECT_FALSE(CreateDir(Path("d")));
    EXPECT_FALSE(CreateDir(Path("no/such/parent")));
    Write("d/inside", "x");
    EXPECT_FALSE(RemoveDir(Path("d"))) << "not empty";

    EXPECT_FALSE(DeleteFile(Path("d"))) << "a folder is no file";
    EXPECT_TRUE(DirectoryExists(Path("d")));
    EXPECT_TRUE(DeleteFile(Path("d/inside")));
    EXPECT_FALSE(FileExists(Path("d/inside")));
    EXPECT_FALSE(DeleteFile(Path("d/inside")));
    EXPECT_TRUE(RemoveDir(Path("d")));
    EXPECT_FALSE(DirectoryExists(Path("d")));
}

TEST_F(FileSystemTest, RenameFileNeverOverwrites)
{
    Write("old.txt", "old");
    Write("taken.txt", "taken");
    EXPECT_FALSE(RenameFile(Path("old.txt"), Path("taken.txt")));
    EXPECT_EQ(Read("old.txt"), "old");
    EXPECT_EQ(Read("taken.txt"), "taken");

    EXPECT_TRUE(RenameFile(Path("old.txt"), Path("new.txt")));
    EXPECT_FALSE(FileExists(Path("old.txt")));
    EXPECT_EQ(Read("new.txt"), "old");

    EXPECT_FALSE(RenameFile(Path("missing"), Path("other")));
    EXPECT_FALSE(RenameFile(Path("new.txt"), Path("new.txt")));
    EXPECT_EQ(Read("new.txt"), "old");

    ASSERT_TRUE(CreateDir(Path("dir")));
    ASSERT_TRUE(CreateDir(Path("busy")));
    EXPECT_FALSE(RenameFile(Path("dir"), Path("busy"))) << "not even onto an empty folder";
    EXPECT_TRUE(RenameFile(Path("dir"), Path("moved")));
    EXPECT_TRUE(DirectoryExists(Path("moved")));
}

// ---- Dates ---------------------------------------------------------------------------------------------------

TEST(FileSystem, EncodeAndDecodeDates)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    for (auto [y, m, d] :
        { std::tuple { 2023, 2, 29 }, { 1900, 2, 29 }, { 2024, 13, 1 }, { 2024, 4, 31 }, { 0, 1, 1 } }) {
        SCOPED_TRACE(testing::Message() << y << "-" << m << "-" << d);
        EXPECT_THROW(EncodeDate(y, m, d), EConvertError);
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);

    struct Case {
        int year, month, day, hour, minute, second, ms;
    };
    const Case kCases[] = {
        { 2024, 2, 29, 23, 59, 59, 999 },
        { 1980, 1, 1, 0, 0, 0, 0 },
        { 1600, 3, 1, 6, 30, 0, 500 },
        { 9999, 12, 31, 12, 0, 0, 1 },
        { 1899, 12, 29, 6, 0, 0, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
        double date = EncodeDate(c.year, c.month, c.day);
        // Before the epoch, the time of day counts forward from midnight even though the value is negative.
        TDateTime value = date < 0 ? date - EncodeTime(c.hour, c.minute, c.second, c.ms)
                                   : date + EncodeTime(c.hour, c.minute, c.second, c.ms);
        int y, m, d, h, n, s, ms;
        DecodeDate(value, y, m, d);
        DecodeTime(value, h, n, s, ms);
        EXPECT_EQ(
            std::tuple(y, m, d, h, n, s, ms), std::tuple(c.year, c.month, c.day, c.hour, c.minute, c.second, c.ms));
    }
}

TEST(FileSystem, PackedFileDates)
{
    const int32_t packed = 44 << 25 | 5 << 21 | 17 << 16 | 13 << 11 | 45 << 5 | 15; // 2024-05-17 13:45:30
    const TDateTime value = EncodeDate(2024, 5, 17) + EncodeTime(13, 45, 30, 0);
    EXPECT_EQ(FileDateToDateTime(packed), value);
    EXPECT_EQ(DateTimeToFileDate(value), packed);
    EXPECT_EQ(DateTimeToFileDate(EncodeDate(2024, 5, 17) + EncodeTime(13, 45, 31, 900)), packed)
        << "the packed form keeps even seconds";
    // Years past 2043 set the sign bit; they still travel both ways.
    const TDateTime late = EncodeDate(2100, 1, 2) + EncodeTime(3, 4, 6, 0);
    EXPECT_LT(DateTimeToFileDate(late), 0);
    EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(late)), late);
    // What the packed form cannot hold is clamped to its first and last moments.
    EXPECT_EQ(DateTimeToFileDate(EncodeDate(1970, 6, 1)), 1 << 21 | 1 << 16);
    EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(EncodeDate(2200, 1, 1))),
        EncodeDate(2107, 12, 31) + EncodeTime(23, 59, 58, 0));
    EXPECT_THROW(FileDateToDateTime(0), EConvertError) << "month 0 is no date";
    EXPECT_THROW(FileDateToDateTime(1 << 21 | 1 << 16 | 24 << 11), EConvertError);
}

TEST(FileSystem, NowIsTheLocalTime)
{
    const time_t before = time(nullptr);
    const TDateTime now = Now();
    tm local {};
    localtime_r(&before, &local);
    const TDateTime expected = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)
        + EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), 0);
    EXPECT_NEAR(now, expected, 2.0 / 86400);
}

// ---- Folder search -------------------------------------------------------------------------------------------

TEST_F(FileSystemTest, FindFirstMasks)
{
    for (const char* name : { "b.mp4", "A.MP4", "ä.mp4", "c.txt", "noext", ".hidden.mp4", "ab.mp4.bak" })
        Write(name, "12345");
    std::filesystem::create_directory(Path("sub.dir"));
    std::filesystem::create_directory(Path(".git"));

    struct Case {
        const char* mask;
        int32_t attr;
        TNames expected;
    };
    const Case kCases[] = {
        { "*.mp4", 0, { "A.MP4", "b.mp4", "ä.mp4" } },
        { "*.MP4", faArchive, { "A.MP4", "b.mp4", "ä.mp4" } },
        { "Ä.Mp4", 0, { "ä.mp4" } },
        { "?.mp4", 0, { "A.MP4", "b.mp4", "ä.mp4" } },
        { "??.mp4", 0, {} },
        { "*.*", 0, { "A.MP4", "ab.mp4.bak", "b.mp4", "c.txt", "noext", "ä.mp4" } },
        { "noext.*", 0, { "noext" } },
        { "*b*", 0, { "ab.mp4.bak", "b.mp4" } },
        { "*", faDirectory, { ".", "..", "A.MP4", "ab.mp4.bak", "b.mp4", "c.txt", "noext", "sub.dir", "ä.mp4" } },
        { "*", faDirectory | faHidden,
            { ".", "..", ".git", ".hidden.mp4", "A.MP4", "ab.mp4.bak", "b.mp4", "c.txt", "noext", "sub.dir",
                "ä.mp4" } },
        { "*.mp4", faHidden, { ".hidden.mp4", "A.MP4", "b.mp4", "ä.mp4" } },
        { "*.dir", faAnyFile, { "sub.dir" } },
        { "*.dir", faAnyFile & ~faDirectory, {} },
        { "nothing*", faAnyFile, {} },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(Find(c.mask, c.attr), c.expected);
    }
}

TEST_F(FileSystemTest, FindFirstReportsAttributesSizeAndTime)
{
    Write("plain.mp4", "12345");
    Write(".dot.mp4", "");
    Write("locked.mp4", "x");
    chmod(Path("locked.mp4").c_str(), 0444);
    std::filesystem::create_symlink(Path("plain.mp4"), Path("link.mp4"));
    std::filesystem::create_directory(Path("folder.mp4"));
    // 2021-03-04 05:06:08 local time.
    tm local {};
    local.tm_year = 121, local.tm_mon = 2, local.tm_mday = 4, local.tm_hour = 5, local.tm_min = 6, local.tm_sec = 8;
    local.tm_isdst = -1;
    const timespec times[2] = { { mktime(&local), 0 }, { mktime(&local), 0 } };
    ASSERT_EQ(utimensat(AT_FDCWD, Path("plain.mp4").c_str(), times, 0), 0);

    struct Expected {
        int32_t attr;
        int64_t size;
    };
    const bool root = geteuid() == 0; // Root may write anything, so nothing is read-only for it.
    const std::pair<std::string, Expected> kExpected[] = {
        { ".dot.mp4", { faArchive | faHidden, 0 } },
        { "folder.mp4", { faDirectory, 0 } },
        { "link.mp4", { faArchive | faSymLink, 5 } },
        { "locked.mp4", { faArchive | (root ? 0 : faReadOnly), 1 } },
        { "plain.mp4", { faArchive, 5 } },
    };
    TSearchRec rec;
    int result = FindFirst(Path("*.mp4"), faAnyFile, rec);
    for (const auto& [name, expected] : kExpected) {
        SCOPED_TRACE(name);
        ASSERT_EQ(result, 0);
        EXPECT_EQ(rec.Name, name);
        EXPECT_EQ(rec.Attr, expected.attr);
        EXPECT_EQ(rec.Size, expected.size);
        if (name == "plain.mp4" || name == "link.mp4") {
            EXPECT_EQ(rec.Time, 41 << 25 | 3 << 21 | 4 << 16 | 5 << 11 | 6 << 5 | 4);
        }
        result = FindNext(rec);
    }
    EXPECT_NE(result, 0);
    EXPECT_NE(FindNext(rec), 0) << "an exhausted search stays exhausted";
    FindClose(rec);
    FindClose(rec);
    EXPECT_NE(FindNext(rec), 0) << "a closed search finds nothing";
}

TEST_F(FileSystemTest, FindFirstSkipsWhatIsNoFileOrFolder)
{
    Write("real.mp4", "x");
    ASSERT_EQ(mkfifo(Path("pipe.mp4").c_str(), 0644), 0);
    std::filesystem::create_symlink(Path("gone"), Path("dangling.mp4"));
    EXPECT_EQ(Find("*", faAnyFile), (TNames { ".", "..", "real.mp4" }));
}

// A folder read once must give, mask by mask, exactly what a search of its own gives: names, order, attributes,
// sizes and times, over every kind of entry.
TEST_F(FileSystemTest, FolderEntriesGiveWhatFindFirstGives)
{
    for (const char* name : { "b.mp4", "A.MP4", "ä.mp4", "c.txt", "noext", ".hidden.mp4", "ab.mp4.bak" })
        Write(name, "12345");
    Write("locked.mp4", "x");
    chmod(Path("locked.mp4").c_str(), 0444);
    std::filesystem::create_directory(Path("sub.dir"));
    std::filesystem::create_directory(Path(".git"));
    std::filesystem::create_symlink(Path("b.mp4"), Path("link.mp4"));
    std::filesystem::create_symlink(Path("sub.dir"), Path("dirlink"));
    std::filesystem::create_symlink(Path("gone"), Path("dangling.mp4"));
    ASSERT_EQ(mkfifo(Path("pipe.mp4").c_str(), 0644), 0);

    const TFolderEntries entries(FDir);
    auto describe = [](const TSearchRec& rec) {
        return rec.Name + " " + std::to_string(rec.Attr) + " " + std::to_string(rec.Size) + " "
            + std::to_string(rec.Time);
    };
    for (const char* mask : { "*.mp4", "*.MP4", "?.mp4", "*.*", "noext.*", "*b*", "*", "*.dir", "nothing*", "" }) {
        for (int32_t attr : { 0, faDirectory, faHidden, faDirectory | faHidden, faAnyFile }) {
            SCOPED_TRACE(std::string(mask) + " " + std::to_string(attr));
            TNames bySearch;
            TSearchRec rec;
            for (int result = FindFirst(Path(mask), attr, rec); result == 0; result = FindNext(rec))
                bySearch.push_back(describe(rec));
            TNames byEntries;
            entries.Find(mask, attr, [&](const TSearchRec& found) { byEntries.push_back(describe(found)); });
            EXPECT_EQ(byEntries, bySearch);
        }
    }
    EXPECT_EQ(entries.SubFolders(), (TNames { ".git", "dirlink", "sub.dir" }));

    const TFolderEntries missing(Path("missing/"));
    int found = 0;
    missing.Find("*", faAnyFile, [&](const TSearchRec&) { ++found; });
    EXPECT_EQ(found, 0);
    EXPECT_TRUE(missing.SubFolders().empty());
}

TEST_F(FileSystemTest, FindFirstOnMissingOrUnreadableFolders)
{
    TSearchRec rec;
    EXPECT_EQ(FindFirst(Path("missing/*"), faAnyFile, rec), ENOENT);
    EXPECT_NE(FindFirst(Path("*.none"), faAnyFile, rec), 0);
    EXPECT_NE(FindFirst(FDir, faAnyFile, rec), 0) << "a path without a mask matches nothing";
    Write("file", "x");
    EXPECT_NE(FindFirst(Path("file/*"), faAnyFile, rec), 0);
    // A record reused after a failed search starts clean.
    EXPECT_EQ(FindFirst(Path("file"), 0, rec), 0);
    EXPECT_EQ(rec.Name, "file");
    EXPECT_NE(FindNext(rec), 0);
}
