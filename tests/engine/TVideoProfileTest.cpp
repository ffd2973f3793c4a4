#include "engine/FormatProfiles.h"
#include "engine/TProfileManager.h"
#include "framework/core/FileSystem.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A program folder with its Profiles folder, for the tests of default file names.
class ProfileFolder {
public:
    ProfileFolder()
        : FScope(FFolder.Path())
    {
        ForceDirectories(Profiles());
    }

    std::string Profiles() const { return FFolder.Path() + "Profiles/"; }
    std::string File(std::string_view name) const { return Profiles() + std::string(name); }
    const TTempFolder& Folder() const { return FFolder; }

private:
    TTempFolder FFolder;
    TProgramFolderScope FScope;
};

} // namespace

TEST(TVideoProfile, DefaultFileNameCleansTheName)
{
    struct Case {
        std::string Name;
        std::string File;
    };
    const Case kCases[] = {
        { "AVI - DivX (640x480)", "AVI - DivX (640x480).pf" },
        { "a/b:c?", "a_b_c_.pf" },
        { "\\*\"<>|", "______.pf" },
        { "Café 720p", "Café 720p.pf" },
        // Control characters, NUL included, could break the path or the listing.
        { "tab\there\nnew", "tab_here_new.pf" },
        { std::string("nul\0end", 7), "nul_end.pf" },
        { "\x1f\x7f", "_\x7f.pf" },
        // No name may climb out of the folder or hide its file.
        { "../../etc/passwd", "_.._.._etc_passwd.pf" },
        { "..", "_...pf" },
        { ".", "_..pf" },
        { ".hidden", "_.hidden.pf" },
        { "", "_.pf" },
        { "a..b.", "a..b..pf" },
    };
    TTempFolder folder;
    TProgramFolderScope scope(folder.Path());
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.Name);
        TFLVProfile profile(test.Name, "");
        EXPECT_EQ(profile.GetDefaultFileName(), folder.Path() + "Profiles/" + test.File);
    }
}

TEST(TVideoProfile, SaveWithoutPathWritesTheDefaultFileAndTakesItsName)
{
    ProfileFolder folder;
    TAVIProfile profile("a/b", "");
    ASSERT_TRUE(profile.Save(""));
    EXPECT_EQ(profile.FileName, folder.File("a_b.pf"));
    EXPECT_TRUE(FileExists(folder.File("a_b.pf")));

    // Saving again with no path rewrites the profile's own file.
    profile.Width = 640;
    ASSERT_TRUE(profile.Save(""));
    EXPECT_EQ(profile.FileName, folder.File("a_b.pf"));
    TAVIProfile loaded("", profile.FileName);
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.Width, 640);
}

TEST(TVideoProfile, SaveUnderANewNameMovesTheFile)
{
    ProfileFolder folder;
    TMP4Profile profile("Old name", "");
    ASSERT_TRUE(profile.Save(""));
    const std::string oldFile = profile.FileName;

    profile.ProfileName = "New name";
    ASSERT_TRUE(profile.Save(""));
    EXPECT_EQ(profile.FileName, folder.File("New name.pf"));
    EXPECT_FALSE(PathExists(oldFile));

    // The same file under another spelling is not "another file": it is rewritten, never deleted.
    const std::string sameFile = folder.Profiles() + "./New name.pf";
    ASSERT_TRUE(profile.Save(sameFile));
    EXPECT_EQ(profile.FileName, sameFile);
    EXPECT_TRUE(FileExists(folder.File("New name.pf")));
}

TEST(TVideoProfile, SaveRewritesTheFileFromScratch)
{
    ProfileFolder folder;
    const std::string path = folder.File("target.pf");
    // Whatever the target held (another profile, stray keys) must not merge into the new file.
    WriteText(path,
        "; a comment\n[ProfileCommon]\nProfileName=Someone else\nVideoFormat=WMV\nStray=1\n"
        "[WMVProfile]\nWidth=1\n[AVIProfile]\nJunk=2\nWidth=9\n[AdditionalParam]\nold=1\n");
    TAVIProfile profile("Mine", "");
    ASSERT_TRUE(profile.Save(path));
    const std::string text = ReadText(path);
    for (const char* gone : { "comment", "Someone", "WMV", "Stray", "Junk", "Width=9", "old=1" })
        EXPECT_EQ(text.find(gone), std::string::npos) << gone;
    TAVIProfile loaded("", path);
    ASSERT_TRUE(loaded.Load());
    EXPECT_TRUE(loaded.Equals(profile));
    EXPECT_EQ(loaded.ParamKeys.Count(), 0);
}

TEST(TVideoProfile, FailedSaveKeepsTheOldFileAndName)
{
    // Each folder setup makes the write fail even for root: no Profiles folder, a file where the folder
    // should be, a folder where the file should be, a name the file cannot hold.
    struct Case {
        const char* Label;
        const char* ProfilesEntry; // what sits at "<program>/Profiles": "", "file" or "folder"
        std::string Path; // Save's argument, relative to the program folder ("" = default)
        std::string Name;
    };
    const Case kCases[] = {
        { "missing Profiles folder", "", "", "Mine" },
        { "Profiles is a file", "file", "", "Mine" },
        { "explicit path in a missing folder", "folder", "nowhere/Mine.pf", "Mine" },
        { "target is a folder", "folder", "Profiles/Mine.pf", "Mine" },
        { "name with a line break", "folder", "", "Mine\n[AVIProfile]" },
    };
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.Label);
        TTempFolder program;
        TProgramFolderScope scope(program.Path());
        if (test.ProfilesEntry == std::string_view("file"))
            WriteText(program.File("Profiles"), "not a folder");
        else if (test.ProfilesEntry == std::string_view("folder"))
            ForceDirectories(program.File("Profiles"));
        if (test.Label == std::string_view("target is a folder"))
            ForceDirectories(program.File("Profiles/Mine.pf"));

        // The profile's current file lives elsewhere; it must survive the failed save untouched.
        const std::string oldFile = program.File("kept.pf");
        TAVIProfile profile("Before", "");
        ASSERT_TRUE(profile.Save(oldFile));
        const std::string oldText = ReadText(oldFile);

        profile.ProfileName = test.Name;
        EXPECT_FALSE(profile.Save(test.Path.empty() ? "" : program.File(test.Path)));
        EXPECT_EQ(profile.FileName, oldFile);
        EXPECT_EQ(ReadText(oldFile), oldText);
        EXPECT_FALSE(FileExists(program.File("Profiles/Mine.pf")));
        // Nothing half-written is left behind next to the target either.
        if (test.ProfilesEntry == std::string_view("folder")) {
            for (const auto& entry : std::filesystem::directory_iterator(program.File("Profiles")))
                EXPECT_TRUE(entry.is_directory()) << entry.path();
        }
    }
}

TEST(TVideoProfile, NamesThatCleanAlikeGetFilesOfTheirOwn)
{
    ProfileFolder folder;
    TAVIProfile first("a/b", "");
    TAVIProfile second("a:b", "");
    TAVIProfile third("a*b", "");
    ASSERT_TRUE(first.Save(""));
    ASSERT_TRUE(second.Save(""));
    ASSERT_TRUE(third.Save(""));
    EXPECT_EQ(first.FileName, folder.File("a_b.pf"));
    EXPECT_EQ(second.FileName, folder.File("a_b_1.pf"));
    EXPECT_EQ(third.FileName, folder.File("a_b_2.pf"));

    // Saving again keeps each profile in its own file, even the one whose default file is taken.
    second.Width = 800;
    ASSERT_TRUE(second.Save(""));
    EXPECT_EQ(second.FileName, folder.File("a_b_1.pf"));
    ASSERT_TRUE(first.Save(""));
    EXPECT_EQ(first.FileName, folder.File("a_b.pf"));

    TProfileManager manager(folder.Profiles());
    manager.LoadAll();
    ASSERT_EQ(manager.Count(), 3);
    EXPECT_EQ(manager.Get(0)->ProfileName, "a*b");
    EXPECT_EQ(manager.Get(1)->ProfileName, "a/b");
    EXPECT_EQ(manager.Get(2)->ProfileName, "a:b");
    EXPECT_EQ(manager.Get(2)->Width, 800);

    // Anything at all under the default name counts as taken, a folder too.
    ForceDirectories(folder.File("c_d.pf"));
    TAVIProfile fourth("c?d", "");
    ASSERT_TRUE(fourth.Save(""));
    EXPECT_EQ(fourth.FileName, folder.File("c_d_1.pf"));
}

TEST(TVideoProfile, SavedCloneReplacesTheFileItWasClonedFrom)
{
    ProfileFolder folder;
    TRealProfile original("Clip", "");
    ASSERT_TRUE(original.Save(""));
    std::unique_ptr<TVideoProfile> clone = original.Clone();
    EXPECT_EQ(clone->FileName, original.FileName);
    clone->Width = 352;
    ASSERT_TRUE(clone->Save(""));
    EXPECT_EQ(clone->FileName, folder.File("Clip.pf"));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Profiles()))
        ++files;
    EXPECT_EQ(files, 1);
    TRealProfile loaded("", clone->FileName);
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.Width, 352);
}

TEST(TVideoProfile, SetOptionReplacesTheFirstExactMatchOrAppends)
{
    TMOVProfile profile("Options", "");
    profile.SetOption("frame_aspect_ratio", "4:3");
    profile.SetOption("bitexact", "1");
    profile.SetOption("frame_aspect_ratio", "16:9");
    // Keys compare exactly: another case is another key.
    profile.SetOption("BitExact", "0");
    ASSERT_EQ(profile.ParamKeys.Count(), 3);
    ASSERT_EQ(profile.ParamValues.Count(), 3);
    EXPECT_EQ(profile.ParamKeys.Strings(0), "frame_aspect_ratio");
    EXPECT_EQ(profile.ParamValues.Strings(0), "16:9");
    EXPECT_EQ(profile.ParamValues.Strings(1), "1");
    EXPECT_EQ(profile.ParamKeys.Strings(2), "BitExact");
    EXPECT_EQ(profile.ParamValues.Strings(2), "0");
}

TEST(TVideoProfile, OptionsAreWrittenAfterTheFormatSectionInListOrder)
{
    TTempFolder folder;
    const std::string path = folder.File("options.pf");
    TFLVProfile profile("Options", "");
    profile.SetOption("z_last", "1");
    profile.SetOption("a_first", "value with blanks");
    ASSERT_TRUE(profile.Save(path));
    const std::vector<std::string> lines = NonBlankLines(ReadText(path));
    const std::vector<std::string> tail(lines.end() - 3, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string> { "[AdditionalParam]", "z_last=1", "a_first=value with blanks" }));

    TFLVProfile loaded("", path);
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.ParamKeys.Strings(0), "z_last");
    EXPECT_EQ(loaded.ParamValues.Strings(1), "value with blanks");
}

TEST(TVideoProfile, DeleteFileRemovesOnlyTheProfilesFile)
{
    TTempFolder folder;
    TMPEGProfile profile("Gone", "");
    EXPECT_FALSE(profile.DeleteFile());
    ASSERT_TRUE(profile.Save(folder.File("gone.pf")));
    EXPECT_TRUE(profile.DeleteFile());
    EXPECT_FALSE(PathExists(folder.File("gone.pf")));
    EXPECT_EQ(profile.FileName, folder.File("gone.pf"));
    EXPECT_FALSE(profile.DeleteFile());
}
