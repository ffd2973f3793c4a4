#include "framework/core/TIniFile.h"

#include "framework/core/TStrings.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards (permissions restored first, so a read-only case cleans up too).
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "TIniFileTest.XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        EXPECT_NE(made, nullptr) << "mkdtemp failed: " << errno;
        FPath = pattern;
    }
    ~TempFolder()
    {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(FPath, error)) {
            if (entry.is_directory(error))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
        fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(FPath, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(const std::string& name) const { return (FPath / name).string(); }
    // Every name in the folder, to show that no temporary file was left behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(FPath))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path FPath;
};

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ToVector(const TStrings& list)
{
    std::vector<std::string> result;
    for (int i = 0; i < list.Count(); ++i)
        result.push_back(list.Strings(i));
    return result;
}

std::vector<std::string> Sections(const TCustomIniFile& ini)
{
    TStringList list;
    ini.ReadSections(list);
    return ToVector(list);
}

std::vector<std::string> Keys(const TCustomIniFile& ini, const std::string& section)
{
    TStringList list;
    ini.ReadSection(section, list);
    return ToVector(list);
}

std::vector<std::string> Values(const TCustomIniFile& ini, const std::string& section)
{
    TStringList list;
    ini.ReadSectionValues(section, list);
    return ToVector(list);
}

using Lines = std::vector<std::string>;

} // namespace

TEST(TIniFile, RoundTripKeepsOrderAndTheSpellingFirstWritten)
{
    TempFolder folder;
    std::string path = folder.Path("profile.ini");
    {
        TMemIniFile ini(path);
        ini.WriteString("Video", "Width", "640");
        ini.WriteString("Video", "Height", "480");
        ini.WriteString("Audio", "Rate", "44100");
        ini.WriteString("VIDEO", "WIDTH", "720"); // Replaces in place; "Video"/"Width" stay as first written.
        ini.WriteInteger("Audio", "Channels", 2);
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadBytes(path), "[Video]\nWidth=720\nHeight=480\n\n[Audio]\nRate=44100\nChannels=2\n");

    TIniFile ini(path);
    EXPECT_EQ(Sections(ini), (Lines { "Video", "Audio" }));
    EXPECT_EQ(Keys(ini, "video"), (Lines { "Width", "Height" }));
    EXPECT_EQ(Values(ini, "AUDIO"), (Lines { "Rate=44100", "Channels=2" }));
}

TEST(TIniFile, LookupsIgnoreAsciiCaseAndReturnValuesAsStored)
{
    TempFolder folder;
    std::string path = folder.Path("a.ini");
    WriteBytes(path,
        "[Main]\n"
        "  Title =  My  Movie  \n"
        "Path=/home/user/My Videos/a b.avi\n"
        "Empty=\n"
        "Expr=a=b\n"
        "[\xC3\x84rger]\n"
        "k=v\n");
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case kCases[] = {
        { "main", "TITLE", "My  Movie" }, { "MAIN", "path", "/home/user/My Videos/a b.avi" }, { "Main", "Empty", "" },
        { "Main", "expr", "a=b" }, { "Main", "Missing", "<def>" }, { "Other", "Title", "<def>" },
        { "\xC3\x84rger", "K", "v" }, { "\xC3\xA4rger", "k", "<def>" }, // Only ASCII letters fold.
    };
    TIniFile ini(path);
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), c.expected);
        EXPECT_EQ(ini.ValueExists(c.section, c.key), std::string(c.expected) != "<def>");
    }
}

TEST(TIniFile, NumbersReadTheirTextOrTheDefault)
{
    TempFolder folder;
    std::string path = folder.Path("n.ini");
    WriteBytes(path,
        "[N]\n"
        "dec=42\nneg=-7\nhex=0x1F\ndollar=$ff\njunk=12abc\nempty=\nhuge=99999999999\n"
        "zero=0\ntwo=2\nyes=yes\n"
        "f=23.97\nexp=1e3\ncomma=23,97\n");
    struct Case {
        const char* key;
        int integer; // ReadInteger with default -1
        bool boolean; // ReadBool with default true
        double real; // ReadFloat with default -1.5
    };
    const Case kCases[] = {
        { "dec", 42, true, 42 },
        { "neg", -7, true, -7 },
        { "hex", 31, true, -1.5 },
        { "dollar", 255, true, -1.5 },
        { "junk", -1, true, -1.5 },
        { "empty", -1, true, -1.5 },
        { "huge", -1, true, 99999999999.0 },
        { "missing", -1, true, -1.5 },
        { "zero", 0, false, 0 },
        { "two", 2, true, 2 },
        { "yes", -1, true, -1.5 },
        { "f", -1, true, 23.97 },
        { "exp", -1, true, 1000 },
        { "comma", -1, true, -1.5 },
    };
    TMemIniFile ini(path);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.ReadInteger("n", c.key, -1), c.integer);
        EXPECT_EQ(ini.ReadBool("N", c.key, true), c.boolean);
        EXPECT_EQ(ini.ReadFloat("N", c.key, -1.5), c.real);
    }
    EXPECT_FALSE(ini.ReadBool("N", "missing", false));

    ini.WriteBool("N", "b", true);
    ini.WriteBool("N", "c", false);
    EXPECT_EQ(ini.ReadString("N", "b", ""), "1");
    EXPECT_EQ(ini.ReadString("N", "c", ""), "0");
}

// Floats are written as the shortest text that reads back exactly, and in the C locale even when the
// process runs under a locale with a decimal comma.
TEST(TIniFile, FloatsRoundTripExactlyInAnyLocale)
{
    const char* kCommaLocales[] = { "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8" };
    std::vector<const char*> locales = { "C" };
    for (const char* name : kCommaLocales) {
        if (std::setlocale(LC_ALL, name) && std::string(std::localeconv()->decimal_point) == ",") {
            locales.push_back(name);
            break;
        }
    }
    std::setlocale(LC_ALL, "C");
    if (locales.size() == 1)
        std::printf("No locale with a decimal comma is installed; the C locale alone is checked.\n");

    struct Case {
        double value;
        const char* text; // nullptr: the text is not checked, only the exact round trip.
    };
    const Case kCases[] = {
        { 15.0, "15" },
        { 23.97, "23.97" },
        { -0.5, "-0.5" },
        { 29.97002997002997, nullptr },
        { 1.0 / 3.0, nullptr },
        { 1e20, nullptr },
        { 5e-324, nullptr },
    };
    for (const char* locale : locales) {
        SCOPED_TRACE(locale);
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr);
        TempFolder folder;
        std::string path = folder.Path("f.ini");
        {
            TMemIniFile ini(path);
            for (size_t i = 0; i < std::size(kCases); ++i)
                ini.WriteFloat("F", "v" + std::to_string(i), kCases[i].value);
            ini.UpdateFile();
        }
        TIniFile ini(path);
        for (size_t i = 0; i < std::size(kCases); ++i) {
            SCOPED_TRACE(kCases[i].value);
            std::string key = "v" + std::to_string(i);
            if (kCases[i].text) {
                EXPECT_EQ(ini.ReadString("F", key, ""), kCases[i].text);
            }
            EXPECT_EQ(ini.ReadFloat("F", key, std::nan("")), kCases[i].value);
        }
        std::setlocale(LC_ALL, "C");
    }
}

// A repeated key: the first is read and written. A repeated section: reads look in the first, the name is
// listed once, and the repeat's lines are still written back.
TEST(TIniFile, RepeatedSectionsAndKeysReadTheFirstAndLoseNothing)
{
    TempFolder folder;
    std::string path = folder.Path("dup.ini");
    WriteBytes(path, "[B]\nk=1\nK=2\n[a]\nx=1\n[b]\nk=3\nz=9\n");
    TMemIniFile ini(path);
    EXPECT_EQ(Sections(ini), (Lines { "B", "a" }));
    EXPECT_EQ(Keys(ini, "b"), (Lines { "k" }));
    EXPECT_EQ(Values(ini, "b"), (Lines { "k=1" }));
    EXPECT_EQ(ini.ReadString("b", "z", "<def>"), "<def>");

    ini.WriteString("b", "K", "one");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(path), "[B]\nk=one\nK=2\n[a]\nx=1\n[b]\nk=3\nz=9\n");

    // Deleting a key removes its repeats too, so an older copy cannot surface in its place.
    ini.DeleteKey("B", "k");
    EXPECT_FALSE(ini.ValueExists("B", "k"));
    // Erasing a section removes its repeated headers as well.
    ini.EraseSection("b");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(path), "[a]\nx=1\n");
    EXPECT_EQ(Sections(ini), (Lines { "a" }));
}

TEST(TIniFile, EraseSectionAndDeleteKeyKeepTheRest)
{
    TempFolder folder;
    std::string path = folder.Path("e.ini");
    WriteBytes(path, "; settings\n[One]\n; about a\na=1\nb=2\n\n[Two]\nc=3\n\n[Three]\nd=4\n");
    TIniFile ini(path);
    ini.DeleteKey("one", "A");
    ini.EraseSection("TWO");
    ini.DeleteKey("One", "missing");
    ini.EraseSection("Missing");
    EXPECT_EQ(ReadBytes(path), "; settings\n[One]\n; about a\nb=2\n\n[Three]\nd=4\n");
    EXPECT_EQ(Sections(ini), (Lines { "One", "Three" }));
    EXPECT_EQ(ini.ReadString("One", "a", "<def>"), "<def>");
    EXPECT_EQ(ini.ReadString("Two", "c", "<def>"), "<def>");
}

TEST(TIniFile, SectionExistsOnlyWithAKey)
{
    TempFolder folder;
    std::string path = folder.Path("s.ini");
    WriteBytes(path, "[Empty]\n; only a comment\nnot a key\n=no key\n[Full]\nk=v\n[Blank]\n\n");
    struct Case {
        const char* section;
        bool exists;
    };
    const Case kCases[] = { { "Empty", false }, { "full", true }, { "Blank", false }, { "Missing", false } };
    TMemIniFile ini(path);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.section);
        EXPECT_EQ(ini.SectionExists(c.section), c.exists);
    }
    ini.DeleteKey("Full", "k");
    EXPECT_FALSE(ini.SectionExists("Full"));
    EXPECT_EQ(Sections(ini), (Lines { "Empty", "Full", "Blank" }));
}

// A rewrite keeps every line the user wrote as written (comments, odd lines, spacing); new keys go after the
// last key of their section and new sections at the end, set off by a blank line.
TEST(TIniFile, RewriteKeepsWhatTheUserWrote)
{
    TempFolder folder;
    std::string path = folder.Path("c.ini");
    WriteBytes(path,
        "\xEF\xBB\xBF; profile\r\n"
        "[A] ; first\r\n"
        "  x = 1  \r\n"
        "  y = 2\r\n"
        "; note\r\n"
        "\r\n"
        "[B]\r\n"
        "garbage line\r\n"
        "\r\n");
    TIniFile ini(path);
    ini.WriteString("A", "y", "two");
    ini.WriteString("A", "z", "3");
    ini.WriteString("B", "w", "4");
    ini.WriteString("C", "v", "5");
    EXPECT_EQ(ReadBytes(path),
        "; profile\n"
        "[A] ; first\n"
        "  x = 1  \n"
        "y=two\n"
        "z=3\n"
        "; note\n"
        "\n"
        "[B]\n"
        "garbage line\n"
        "w=4\n"
        "\n"
        "[C]\n"
        "v=5\n");
    EXPECT_EQ(Keys(ini, "A"), (Lines { "x", "y", "z" }));
}

// Bad bytes load what they can; every case also survives a rewrite and reload unchanged.
TEST(TIniFile, MalformedFilesLoadWhatTheyCan)
{
    const std::string tenMegabytes(10 * 1024 * 1024, 'x');
    static const char kBinary[] = "[S]\nk=\x01\0v\xff\0\nnul\0key=1\n\xfe\xff=2\n";
    struct Case {
        const char* name;
        std::string bytes;
        Lines sections;
        const char* section;
        Lines values;
    };
    const Case kCases[] = {
        { "no section", "a=1\nb=2\n", {}, "", {} },
        { "keys before the first section", "a=1\n[S]\nb=2\n", { "S" }, "S", { "b=2" } },
        { "binary bytes", std::string(kBinary, sizeof kBinary - 1), { "S" }, "S",
            { "k=v\xff", std::string("nul\0key=1", 9), "\xfe\xff=2" } },
        { "10 MB value", "[S]\nk=" + tenMegabytes + "\nafter=1\n", { "S" }, "S", { "k=" + tenMegabytes, "after=1" } },
        { "10 MB '[' line", "[S]\n[" + tenMegabytes + "=1\nk=1\n", { "S" }, "S", { "k=1" } },
        { "10 MB blank line", "[S]\n" + std::string(10 * 1024 * 1024, ' ') + "\nk=1\n", { "S" }, "S", { "k=1" } },
        { "'[' without ']'", "[S]\n[broken=5\n[\nk=1\n", { "S" }, "S", { "k=1" } },
        { "'=value' lines", "[S]\n=value\n  = x\nk=1\n", { "S" }, "S", { "k=1" } },
        { "no '='", "[S]\njunk\nk=1", { "S" }, "S", { "k=1" } },
        { "CR-only endings", "[S]\rk=1\rj=2\r", { "S" }, "S", { "k=1", "j=2" } },
        { "mixed endings", "[S]\r\n\r\nk=1\n\rj=2", { "S" }, "S", { "k=1", "j=2" } },
        { "text after ']'", "[ S ] trailing ] text\nk=1\n", { "S" }, "S", { "k=1" } },
        { "empty section name", "[]\nk=1\n", { "" }, "", { "k=1" } },
        { "comments", "[S]\n;k=1\n#j=2\n  ; x=3\n", { "S" }, "S", {} },
        { "a BOM only at the start", "\xEF\xBB\xBF[S]\n\xEF\xBB\xBF[T]\nk=1\n", { "S" }, "S", { "k=1" } },
        { "empty file", "", {}, "", {} },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        std::string path = folder.Path("m.ini");
        WriteBytes(path, c.bytes);
        TMemIniFile ini(path);
        EXPECT_EQ(Sections(ini), c.sections);
        EXPECT_EQ(Values(ini, c.section), c.values);

        ini.UpdateFile();
        TMemIniFile again(path);
        EXPECT_EQ(Sections(again), c.sections);
        EXPECT_EQ(Values(again, c.section), c.values);
    }
}

TEST(TIniFile, ALeadingByteOrderMarkIsSkippedOnce)
{
    TempFolder folder;
    std::string path = folder.Path("bom.ini");
    // The second mark is part of the first line, so that line is not a section header.
    WriteBytes(path, "\xEF\xBB\xBF\xEF\xBB\xBF[S]\nk=1\n");
    TMemIniFile ini(path);
    EXPECT_EQ(Sections(ini), Lines {});
    ini.UpdateFile();
    TMemIniFile again(path);
    EXPECT_EQ(Sections(again), Lines {});
}

// Every failure to save raises "Unable to write to <path>", leaves the old file byte-for-byte as it was, no
// temporary file behind, and a TIniFile's contents as they were before the write.
TEST(TIniFile, FailedWritesRaiseAndChangeNothing)
{
    struct Case {
        const char* name;
        std::function<std::string(const TempFolder&)> prepare; // Returns the INI path.
        bool needsNonRoot; // Permission bits do not stop root.
    };
    const Case kCases[] = {
        { "missing folder", [](const TempFolder& f) { return f.Path("missing/x.ini"); }, false },
        { "a file where the folder should be",
            [](const TempFolder& f) {
                WriteBytes(f.Path("blocker"), "not a folder");
                return f.Path("blocker/x.ini");
            },
            false },
        { "a folder at the path (rename refused)",
            [](const TempFolder& f) {
                fs::create_directory(f.Path("dir.ini"));
                return f.Path("dir.ini");
            },
            false },
        { "a FIFO at the path (exists, cannot be read)",
            [](const TempFolder& f) {
                EXPECT_EQ(mkfifo(f.Path("fifo.ini").c_str(), 0600), 0);
                return f.Path("fifo.ini");
            },
            false },
        { "no room for the temporary name",
            [](const TempFolder& f) {
                std::string path = f.Path(std::string(250, 'n') + ".ini");
                WriteBytes(path, "[S]\nk=old\n");
                return path;
            },
            false },
        { "read-only folder",
            [](const TempFolder& f) {
                fs::create_directory(f.Path("ro"));
                WriteBytes(f.Path("ro/x.ini"), "[S]\nk=old\n");
                fs::permissions(f.Path("ro"), fs::perms(0555));
                return f.Path("ro/x.ini");
            },
            true },
    };
    const std::function<void(TCustomIniFile&)> kWrites[] = {
        [](TCustomIniFile& ini) { ini.WriteString("S", "k", "new"); },
        [](TCustomIniFile& ini) { ini.WriteString("S", "added", "1"); },
        [](TCustomIniFile& ini) { ini.WriteString("T", "k", "1"); },
        [](TCustomIniFile& ini) { ini.DeleteKey("S", "k"); },
        [](TCustomIniFile& ini) { ini.EraseSection("S"); },
        [](TCustomIniFile& ini) { ini.UpdateFile(); },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        if (c.needsNonRoot && geteuid() == 0)
            continue;
        TempFolder folder;
        std::string path = c.prepare(folder);
        std::string before = fs::is_regular_file(path) ? ReadBytes(path) : "";
        std::vector<std::string> namesBefore = folder.Names();
        TIniFile ini(path);
        std::string valueBefore = ini.ReadString("S", "k", "<def>");
        for (size_t i = 0; i < std::size(kWrites); ++i) {
            SCOPED_TRACE("write " + std::to_string(i));
            try {
                kWrites[i](ini);
                // Deleting what is not there changes nothing and has nothing to save.
                EXPECT_EQ(valueBefore, "<def>");
                EXPECT_TRUE(i == 3 || i == 4) << "no exception";
            } catch (const EIniFileException& e) {
                EXPECT_EQ(e.Message(), "Unable to write to " + path);
            }
            EXPECT_EQ(ini.ReadString("S", "k", "<def>"), valueBefore);
            EXPECT_EQ(ini.ReadString("S", "added", "<def>"), "<def>");
            EXPECT_EQ(Sections(ini), valueBefore == "<def>" ? Lines {} : Lines { "S" });
            if (fs::is_regular_file(path)) {
                EXPECT_EQ(ReadBytes(path), before);
            }
            EXPECT_EQ(folder.Names(), namesBefore);
        }
        // A TMemIniFile fails the same way at UpdateFile.
        TMemIniFile mem(path);
        mem.WriteString("S", "k", "new");
        try {
            mem.UpdateFile();
            ADD_FAILURE() << "no exception";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + path);
        }
        EXPECT_EQ(folder.Names(), namesBefore);
    }

    // Contents meant for the path (Rename without reload) get as far as the rename, which a folder refuses;
    // the temporary file written by then is removed.
    TempFolder folder;
    std::string dir = folder.Path("dir.ini");
    fs::create_directory(dir);
    TMemIniFile mem(folder.Path("other.ini"));
    mem.WriteString("S", "k", "v");
    mem.Rename(dir, false);
    try {
        mem.UpdateFile();
        ADD_FAILURE() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + dir);
    }
    EXPECT_EQ(folder.Names(), Lines { "dir.ini" });
    EXPECT_TRUE(fs::is_directory(dir));
}

TEST(TIniFile, WritesSaveAtOnceButAnUnchangedValueDoesNotRewrite)
{
    TempFolder folder;
    std::string path = folder.Path("w.ini");
    TIniFile ini(path);
    EXPECT_FALSE(fs::exists(path));
    ini.WriteString("S", "k", "v");
    EXPECT_EQ(ReadBytes(path), "[S]\nk=v\n");

    struct stat before { };
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    ini.WriteString("s", "K", "v");
    struct stat after { };
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // Every save renames a new file into place.

    ini.WriteString("S", "k", "w");
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(TIniFile(path).ReadString("S", "k", ""), "w");
}

TEST(TIniFile, SavesKeepPermissionsAndSymbolicLinks)
{
    TempFolder folder;
    std::string real = folder.Path("real.ini");
    WriteBytes(real, "[S]\nk=1\n");
    fs::permissions(real, fs::perms(0640));
    fs::create_directory(folder.Path("links"));
    std::string link = folder.Path("links/link.ini");
    fs::create_symlink("../real.ini", link);

    TIniFile ini(link);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
    ini.WriteString("S", "k", "2");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms(0640));
    EXPECT_EQ(folder.Names(), (Lines { "links", "real.ini" }));

    // A new file gets the permissions any new file would get.
    mode_t mask = umask(027);
    TIniFile fresh(folder.Path("fresh.ini"));
    fresh.WriteString("S", "k", "1");
    umask(mask);
    EXPECT_EQ(fs::status(folder.Path("fresh.ini")).permissions() & fs::perms::all, fs::perms(0640));
}

TEST(TMemIniFile, SavesOnlyOnUpdateFile)
{
    TempFolder folder;
    std::string path = folder.Path("m.ini");
    WriteBytes(path, "[S]\nk=1\n");
    {
        TMemIniFile ini(path);
        ini.WriteString("S", "k", "2");
        ini.WriteString("T", "j", "3");
        ini.EraseSection("S");
        EXPECT_EQ(ReadBytes(path), "[S]\nk=1\n");
    } // The destructor does not save.
    EXPECT_EQ(ReadBytes(path), "[S]\nk=1\n");

    TMemIniFile ini(path);
    ini.WriteString("S", "k", "2");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(path), "[S]\nk=2\n");
    EXPECT_EQ(folder.Names(), (Lines { "m.ini" }));
}

TEST(TMemIniFile, StringsClearAndRename)
{
    TempFolder folder;
    std::string first = folder.Path("first.ini");
    std::string second = folder.Path("second.ini");
    WriteBytes(first, "; c\n[S]\nk=1\n");
    WriteBytes(second, "[Other]\nx=9\n");

    TMemIniFile ini(first);
    TStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(ToVector(lines), (Lines { "; c", "[S]", "k=1" }));

    TStringList text;
    text.SetText("[New]\r\na = 1\nb=2\n");
    ini.SetStrings(text);
    EXPECT_EQ(Sections(ini), (Lines { "New" }));
    EXPECT_EQ(ini.ReadString("new", "A", ""), "1");
    ini.GetStrings(lines);
    EXPECT_EQ(ToVector(lines), (Lines { "[New]", "a = 1", "b=2" }));

    // Rename without reload keeps the contents for the new file; with reload takes that file's.
    ini.Rename(second, false);
    EXPECT_EQ(ini.FileName(), second);
    EXPECT_EQ(Sections(ini), (Lines { "New" }));
    ini.Rename(second, true);
    EXPECT_EQ(Sections(ini), (Lines { "Other" }));
    ini.Rename(folder.Path("missing.ini"), true);
    EXPECT_EQ(Sections(ini), Lines {});

    ini.Rename(first, true);
    ini.Clear();
    EXPECT_EQ(Sections(ini), Lines {});
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(first), "");
}

// A name or value the file cannot give back as written (a line break would even forge a section) raises and
// changes nothing.
TEST(TIniFile, WritesThatAFileCannotHoldRaiseAndChangeNothing)
{
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case kCases[] = {
        { "S", "k", "a\n[Evil]\nx=1" },
        { "S", "k", "a\rb" },
        { "S", "", "v" },
        { "S", "k=v", "v" },
        { "S", ";k", "v" },
        { "S", "#k", "v" },
        { "S", "[k", "v" },
        { "S", " k", "v" },
        { "S", "k\t", "v" },
        { "S", "k\nj", "v" },
        { "a]b", "k", "v" },
        { "a\nb", "k", "v" },
        { " S", "k", "v" },
        { "S ", "k", "v" },
    };
    TempFolder folder;
    std::string path = folder.Path("v.ini");
    WriteBytes(path, "[S]\nk=1\n");
    TIniFile ini(path);
    TMemIniFile mem(path);
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + "/" + c.value);
        EXPECT_THROW(ini.WriteString(c.section, c.key, c.value), EIniFileException);
        EXPECT_THROW(mem.WriteString(c.section, c.key, c.value), EIniFileException);
        EXPECT_EQ(ReadBytes(path), "[S]\nk=1\n");
        TStringList lines;
        mem.GetStrings(lines);
        EXPECT_EQ(ToVector(lines), (Lines { "[S]", "k=1" }));
        EXPECT_EQ(Values(ini, "S"), (Lines { "k=1" }));
    }
    // Blanks inside names and values are fine.
    ini.WriteString("My Section", "My Key", "a  b");
    EXPECT_EQ(TIniFile(path).ReadString("my section", "my key", ""), "a  b");
}
