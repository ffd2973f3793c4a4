#include "engine/TProfileManager.h"

#include "engine/FormatProfiles.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TList.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Saves a new profile of `word` named `name` as `file` in `folder`.
void SaveProfile(const TTempFolder& folder, const char* file, const char* word, const char* name, int width = 0)
{
    std::unique_ptr<TVideoProfile> profile = CreateVideoProfile(word, name, "");
    if (width)
        profile->Width = width;
    ASSERT_TRUE(profile->Save(folder.File(file)));
}

std::vector<std::string> Listing(const TProfileManager& manager)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < manager.Count(); ++i)
        names.push_back(std::to_string(manager.Get(i)->FormatType) + " " + manager.Get(i)->ProfileName);
    return names;
}

} // namespace

TEST(TProfileManager, LoadAllSortsByFormatThenByNameBytes)
{
    TTempFolder folder;
    TMessageBoxRecorder boxes;
    SaveProfile(folder, "1.pf", "MPEG", "b");
    SaveProfile(folder, "2.pf", "3GPP", "z");
    SaveProfile(folder, "3.pf", "AVI", "a");
    SaveProfile(folder, "4.pf", "AVI", "A");
    // Bytes compare unsigned: UTF-8 letters come after ASCII ones, a prefix before its extensions.
    SaveProfile(folder, "5.pf", "FLV", "é");
    SaveProfile(folder, "6.pf", "FLV", "z");
    SaveProfile(folder, "7.pf", "FLV", "ab");
    SaveProfile(folder, "8.pf", "FLV", "a");
    SaveProfile(folder, "9.pf", "REAL", "r");
    SaveProfile(folder, "10.pf", "WMV", "w");

    TProfileManager manager(folder.Path());
    manager.LoadAll();
    EXPECT_EQ(Listing(manager),
        (std::vector<std::string> { "0 z", "1 A", "1 a", "2 b", "4 w", "5 r", "7 a", "7 ab", "7 z", "7 é" }));
    EXPECT_TRUE(boxes.Texts.empty());
    // Each profile knows the file it came from.
    EXPECT_EQ(manager.Get(0)->FileName, folder.File("2.pf"));
}

TEST(TProfileManager, LoadAllSkipsWhatIsNoProfileWithoutAMessage)
{
    TTempFolder folder;
    TMessageBoxRecorder boxes;
    SaveProfile(folder, "good.pf", "MOV", "Good");
    WriteText(folder.File("mixed.pf"), "[ProfileCommon]\nProfileName=Mixed\nVideoFormat=Mpeg\n");
    WriteText(folder.File("mkv.pf"), "[ProfileCommon]\nProfileName=Matroska\nVideoFormat=MKV\n");
    WriteText(folder.File("empty-format.pf"), "[ProfileCommon]\nProfileName=Nothing\nVideoFormat=\n");
    WriteText(folder.File("no-format.pf"), "[ProfileCommon]\nProfileName=Nothing\n");
    WriteText(folder.File("empty.pf"), "");
    WriteText(folder.File("junk.pf"),
        std::string("\x7f"
                    "ELF\x02\x01\x00\x00[\xff\xfe]\r\r\n=\x00",
            17));
    WriteText(folder.File("other.txt"), "[ProfileCommon]\nProfileName=Text\nVideoFormat=AVI\n");
    ForceDirectories(folder.File("folder.pf"));

    TProfileManager manager(folder.Path());
    manager.LoadAll();
    EXPECT_EQ(Listing(manager), (std::vector<std::string> { "2 Mixed", "6 Good" }));
    EXPECT_TRUE(boxes.Texts.empty());
}

TEST(TProfileManager, MissingFolderLeavesTheManagerEmptyAndSilent)
{
    TTempFolder folder;
    TMessageBoxRecorder boxes;
    TProfileManager manager(folder.File("Profiles/"));
    manager.LoadAll();
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_TRUE(boxes.Texts.empty());
}

TEST(TProfileManager, ProfilesOfTheSameNameAndFormatAllLoad)
{
    TTempFolder folder;
    SaveProfile(folder, "one.pf", "AVI", "Twin", 100);
    SaveProfile(folder, "two.pf", "AVI", "Twin", 200);
    TProfileManager manager(folder.Path());
    manager.LoadAll();
    ASSERT_EQ(manager.Count(), 2);
    EXPECT_EQ(manager.Get(0)->ProfileName, "Twin");
    EXPECT_EQ(manager.Get(1)->ProfileName, "Twin");
    EXPECT_EQ(manager.Get(0)->Width + manager.Get(1)->Width, 300);
}

TEST(TProfileManager, AddPutsTheProfileInItsPlace)
{
    TProfileManager manager("");
    manager.Add(std::make_unique<TFLVProfile>("f", ""));
    manager.Add(std::make_unique<TAVIProfile>("b", ""));
    manager.Add(std::make_unique<T3GPProfile>("c", ""));
    manager.Add(std::make_unique<TAVIProfile>("a", ""));
    auto sameName = std::make_unique<TAVIProfile>("b", "second");
    TVideoProfile* second = sameName.get();
    manager.Add(std::move(sameName));
    EXPECT_EQ(Listing(manager), (std::vector<std::string> { "0 c", "1 a", "1 b", "1 b", "7 f" }));
    // A profile equal in format and name goes after the ones already there.
    EXPECT_EQ(manager.Get(3), second);
}

TEST(TProfileManager, BadIndexRaisesTheListError)
{
    TProfileManager manager("");
    manager.Add(std::make_unique<TMP4Profile>("only", ""));
    for (int32_t index : { -1, 1, 1000 }) {
        SCOPED_TRACE(index);
        EXPECT_THROW(manager.Get(index), EListError);
        EXPECT_THROW(manager.Delete(index), EListError);
    }
    try {
        manager.Get(1);
    } catch (const EListError& error) {
        EXPECT_EQ(error.Message(), "List index out of bounds (1)");
    }
    EXPECT_EQ(manager.Count(), 1);
}

TEST(TProfileManager, DeleteRemovesTheFileButKeepsTheProfileReadable)
{
    TTempFolder folder;
    SaveProfile(folder, "first.pf", "WMV", "First");
    SaveProfile(folder, "last.pf", "WMV", "Last", 720);
    TProfileManager manager(folder.Path());
    manager.LoadAll();
    ASSERT_EQ(manager.Count(), 2);

    // The editor's list still holds this pointer after the delete.
    auto* held = static_cast<TWMVProfile*>(manager.Get(1));
    manager.Delete(1);
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_FALSE(PathExists(folder.File("last.pf")));
    EXPECT_EQ(held->ProfileName, "Last");
    EXPECT_EQ(held->Width, 720);
    EXPECT_EQ(held->AudioFormatName, "64 kbps, 44 kHz, stereo CBR");

    // A file that is already gone does not keep the profile in the list.
    TVideoProfile* first = manager.Get(0);
    ASSERT_TRUE(first->DeleteFile());
    manager.Delete(0);
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_EQ(first->ProfileName, "First");

    // Clear destroys only what is still listed; the deleted profiles live until the manager goes.
    manager.Add(std::make_unique<TAVIProfile>("new", ""));
    manager.Clear();
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_EQ(held->ProfileName, "Last");
}
