// The remembered settings file and the shared routines over real files: every key's default and exact name, how
// booleans read and write, unchanged settings left unwritten, and writes refused by a read-only or full disk
// leaving the previous file whole and never leaving a window's teardown.
#include "app/DravelVCCommon.h"
#include "app/LastSettings.h"
#include "app/Virivezave.h"

#include "framework/core/TIniFile.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/PrivateDiskSupport.h"
#include "tests/platform/ShellTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class LastSettingsTest : public testing::Test {
protected:
    std::string File() const { return Folder.File("LastSettings.ini"); }

    TShellTestHome Home;
    TTempFolder Folder;
    TProgramFolderScope Program { Folder.Path() };
};

TEST_F(LastSettingsTest, WithoutAFileEveryKeyGivesItsDefault)
{
    Home.Set("XDG_VIDEOS_DIR", Home.Home() + "/Films");
    const TLastSettings settings;
    EXPECT_EQ(TLastSettings::FileName(), File());
    EXPECT_EQ(settings.OutputFolder(), Home.Home() + "/Films/");
    EXPECT_TRUE(settings.PreviewMovie());
    EXPECT_FALSE(settings.IncludedSubdir());
    EXPECT_TRUE(settings.AutoCloseAnalysisForm());
    EXPECT_FALSE(settings.FixAspectRatio());
    EXPECT_FALSE(settings.DisableAudio());
    EXPECT_EQ(settings.LastVideoFormat(), 1);
    for (int format = -1; format <= LastSettingsFormatCount; ++format)
        EXPECT_EQ(settings.LastProfile(format), "") << format;
    EXPECT_EQ(settings.AdvanceSettingsFormWidth(), 705);
    EXPECT_EQ(settings.AdvanceSettingsFormHeight(), 740);
    EXPECT_EQ(settings.MultiStreamsMethod(), 1);
    EXPECT_FALSE(PathExists(File())) << "reading creates nothing";
}

TEST_F(LastSettingsTest, EveryKeyIsWrittenUnderItsOwnNameAndReadBack)
{
    {
        TLastSettings settings;
        settings.SetOutputFolder("/videos/out/");
        settings.SetPreviewMovie(false);
        settings.SetIncludedSubdir(true);
        settings.SetAutoCloseAnalysisForm(false);
        settings.SetFixAspectRatio(true);
        settings.SetDisableAudio(true);
        settings.SetLastVideoFormat(3);
        const char* names[] = { "3gp", "avi", "mpeg", "mp4", "wmv", "real", "mov", "flv" };
        for (int format = 0; format < LastSettingsFormatCount; ++format)
            settings.SetLastProfile(format, names[format]);
        // No key of its own: stores nothing.
        settings.SetLastProfile(8, "none");
        settings.SetLastProfile(-1, "none");
        settings.SetAdvanceSettingsFormWidth(800);
        settings.SetAdvanceSettingsFormHeight(600);
        settings.SetMultiStreamsMethod(0);
        settings.Save();
    }
    const std::vector<std::string> expected = {
        "[LastSettings]",
        "OutputFolder=/videos/out/",
        "PreviewMovie=0",
        "IncludedSubdir=1",
        "AutoCloseAnalysisForm=0",
        "FixAspectRatio=1",
        "DisableAudio=1",
        "LastVideoFormat=3",
        "Last3GPProfile=3gp",
        "LastAVIProfile=avi",
        "LastMPEGProfile=mpeg",
        "LastMP4Profile=mp4",
        "LastWMVProfile=wmv",
        "LastRealProfile=real",
        "LastMOVProfile=mov",
        "LastFLVProfile=flv",
        "AdvanceSettingsFormWidth=800",
        "AdvanceSettingsFormHeight=600",
        "MultiStreamsMethod=0",
    };
    EXPECT_EQ(NonBlankLines(ReadText(File())), expected);

    const TLastSettings settings;
    EXPECT_EQ(settings.OutputFolder(), "/videos/out/");
    EXPECT_FALSE(settings.PreviewMovie());
    EXPECT_TRUE(settings.IncludedSubdir());
    EXPECT_FALSE(settings.AutoCloseAnalysisForm());
    EXPECT_TRUE(settings.FixAspectRatio());
    EXPECT_TRUE(settings.DisableAudio());
    EXPECT_EQ(settings.LastVideoFormat(), 3);
    EXPECT_EQ(settings.LastProfile(5), "real");
    EXPECT_EQ(settings.AdvanceSettingsFormWidth(), 800);
    EXPECT_EQ(settings.AdvanceSettingsFormHeight(), 600);
    EXPECT_EQ(settings.MultiStreamsMethod(), 0);
}

// Any stored number but 0 is true; text that is not a number gives the default; a boolean is written back as 1
// or 0 whatever it was stored as.
TEST_F(LastSettingsTest, BooleansReadAnyNumberButZeroAsTrueAndAreWrittenAsOneOrZero)
{
    struct Case {
        const char* Stored;
        bool Subdir; // Default false.
        bool Preview; // Default true.
    };
    const Case cases[] = {
        { "5", true, true },
        { "-1", true, true },
        { "0", false, false },
        { "yes", false, true },
        { "", false, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Stored);
        WriteText(File(), std::string("[LastSettings]\nIncludedSubdir=") + c.Stored + "\nPreviewMovie=" + c.Stored + "\n");
        TLastSettings settings;
        EXPECT_EQ(settings.IncludedSubdir(), c.Subdir);
        EXPECT_EQ(settings.PreviewMovie(), c.Preview);
        settings.SetIncludedSubdir(settings.IncludedSubdir());
        settings.SetPreviewMovie(settings.PreviewMovie());
        settings.Save();
        const TIniFile file(File());
        EXPECT_EQ(file.ReadString("LastSettings", "IncludedSubdir", "?"), c.Subdir ? "1" : "0");
        EXPECT_EQ(file.ReadString("LastSettings", "PreviewMovie", "?"), c.Preview ? "1" : "0");
    }
}

// A window writes only its own keys: the others, other sections and comments stay; settings set to what is
// stored leave the file untouched (a read-only program folder then never complains).
TEST_F(LastSettingsTest, WritingKeepsTheRestAndAnUnchangedSettingWritesNothing)
{
    const std::string original = "; chosen by hand\n[LastSettings]\nLastVideoFormat=9\nDisableAudio=1\n\n[Other]\nx=1\n";
    WriteText(File(), original);
    struct stat before;
    ASSERT_EQ(stat(File().c_str(), &before), 0);
    {
        TLastSettings settings;
        EXPECT_EQ(settings.LastVideoFormat(), 9) << "the reader checks the range";
        settings.SetDisableAudio(true);
        settings.SetLastVideoFormat(9);
        settings.Save();
    }
    struct stat after;
    ASSERT_EQ(stat(File().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(ReadText(File()), original);

    {
        TLastSettings settings;
        settings.SetFixAspectRatio(true);
        settings.Save();
    }
    EXPECT_EQ(ReadText(File()),
        "; chosen by hand\n[LastSettings]\nLastVideoFormat=9\nDisableAudio=1\nFixAspectRatio=1\n\n[Other]\nx=1\n");
}

// The settings file cannot be written: on a read-only file system, on a full one, when its name is taken by a
// folder, and for a value no INI line can hold. Save raises with the file's path and leaves what was there; the
// teardown writer reports the refusal instead and carries on.
TEST_F(LastSettingsTest, RefusedWritesKeepThePreviousFileAndNeverLeaveATeardown)
{
    enum class TTrouble { ReadOnly, Full, NameIsAFolder, LineBreak };
    struct Case {
        const char* Name;
        TTrouble Trouble;
        const char* Error;
    };
    const Case cases[] = {
        { "read-only disk", TTrouble::ReadOnly, "Unable to write to " },
        { "full disk", TTrouble::Full, "Unable to write to " },
        { "a folder of that name", TTrouble::NameIsAFolder, "Unable to write to " },
        { "a line break", TTrouble::LineBreak, "holds a line break" },
    };
    const std::string previous = "[LastSettings]\nOutputFolder=/old/\nPreviewMovie=1\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPrivateDisk disk;
        std::string why;
        const std::string folder = Folder.File(std::string("disk-") + std::to_string(int(c.Trouble)) + "/");
        std::filesystem::create_directories(folder);
        if (c.Trouble == TTrouble::ReadOnly || c.Trouble == TTrouble::Full) {
            if (!disk.Mount(folder, why)) {
                std::cout << "[ SKIPPED  ] " << c.Name << " needs a tmpfs of its own (" << why << ")\n";
                continue;
            }
        }
        TProgramFolderScope program(folder);
        const std::string file = folder + "LastSettings.ini";
        if (c.Trouble == TTrouble::NameIsAFolder)
            std::filesystem::create_directory(file);
        else
            WriteText(file, previous);
        if (c.Trouble == TTrouble::ReadOnly) {
            ASSERT_TRUE(disk.MakeReadOnly(why)) << why;
        } else if (c.Trouble == TTrouble::Full) {
            ASSERT_TRUE(disk.FillUp(why, 0)) << why;
        }
        const std::string value = c.Trouble == TTrouble::LineBreak ? "/new/\n[Forged]" : "/a/much/longer/new/folder/";

        try {
            TLastSettings settings;
            settings.SetOutputFolder(value);
            settings.SetPreviewMovie(false);
            settings.Save();
            ADD_FAILURE() << "the write was not refused";
        } catch (const EIniFileException& e) {
            EXPECT_NE(e.Message().find(c.Error), std::string::npos) << e.Message();
            if (c.Trouble != TTrouble::LineBreak) {
                EXPECT_EQ(e.Message(), "Unable to write to " + file);
            }
        }

        testing::internal::CaptureStderr();
        bool saved = true;
        EXPECT_NO_THROW(saved = WriteLastSettingsInTeardown([&](TLastSettings& settings) {
            settings.SetOutputFolder(value);
            settings.SetPreviewMovie(false);
        }));
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(saved);
        EXPECT_NE(report.find("settings were not saved"), std::string::npos) << report;
        EXPECT_NE(report.find(c.Error), std::string::npos) << report;

        if (c.Trouble == TTrouble::NameIsAFolder) {
            EXPECT_TRUE(std::filesystem::is_directory(file));
        } else {
            EXPECT_EQ(ReadText(file), previous);
        }
        // Nothing half-written is left beside it.
        size_t entries = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            entries += entry.path().filename() != "filler";
        EXPECT_EQ(entries, 1u);
    }
}

TEST_F(LastSettingsTest, TheTeardownWriterSavesWhatItIsGiven)
{
    EXPECT_TRUE(WriteLastSettingsInTeardown([](TLastSettings& settings) { settings.SetIncludedSubdir(true); }));
    EXPECT_TRUE(TLastSettings().IncludedSubdir());
}

// The documents folder of the desktop, made when missing; the home folder when it cannot be made, so no default
// built on it ends up at the root.
TEST(SharedRoutines, PersonalFolderAndHelpFile)
{
    TShellTestHome home;
    home.Set("XDG_DOCUMENTS_DIR", home.Home() + "/Papers");
    EXPECT_EQ(GetPersonalFolder(), home.Home() + "/Papers");
    EXPECT_TRUE(std::filesystem::is_directory(home.Home() + "/Papers"));

    home.Write(home.Home() + "/blocked", "a file, not a folder");
    home.Set("XDG_DOCUMENTS_DIR", home.Home() + "/blocked/Papers");
    EXPECT_EQ(GetPersonalFolder(), home.Home());

    TTempFolder folder;
    TProgramFolderScope program(folder.Path());
    EXPECT_EQ(GetHelpFilePath(), folder.Path() + "tarnwickpro.chm");
}

} // namespace
