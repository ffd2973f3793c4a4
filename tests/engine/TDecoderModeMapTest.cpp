#include "engine/TDecoderModeMap.h"

#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

TDecoderModeMapItem Item(std::string extension, std::string note, DecoderMode mode)
{
    return TDecoderModeMapItem { std::move(extension), std::move(note), mode };
}

std::vector<std::string> Keys(const TDecoderModeMap& map)
{
    std::vector<std::string> keys;
    TDecoderModeMapItem item;
    for (int32_t i = 0; map.GetItem(i, item); ++i)
        keys.push_back(item.Extension);
    return keys;
}

} // namespace

TEST(TDecoderModeMap, SaveLowerCasesTheListedKeysSoTheyLoadBackLowerCase)
{
    TTempFolder folder;
    const std::string path = folder.File("DecoderMode.cfg");
    WriteText(path,
        "[Default]\nDefaultDecoderMode=1\n[Ext]\n.AVI=\n.mkv=\n"
        "[.AVI]\nNote=Audio Video Interleave\nDecoderMode=3\n[.mkv]\nNote=Matroska\nDecoderMode=2\n");

    TDecoderModeMap map;
    ASSERT_TRUE(map.LoadFromFile(path));
    EXPECT_EQ(map.GetDefaultMode(), dmDirectShowThenBuiltIn);
    EXPECT_EQ(Keys(map), (std::vector<std::string> { ".AVI", ".mkv" }));
    // The key is kept as read, so the probe's lower-case look-up misses it.
    EXPECT_EQ(map.GetDecoderMode(".AVI"), dmDirectShowOnly);
    EXPECT_EQ(map.GetDecoderMode(".avi"), dmDirectShowThenBuiltIn);
    EXPECT_EQ(map.GetDecoderMode(".mkv"), dmBuiltInOnly);

    ASSERT_TRUE(map.SaveToFile(path));
    EXPECT_EQ(NonBlankLines(ReadText(path)),
        (std::vector<std::string> { "[Default]", "DefaultDecoderMode=1", "[Ext]", ".avi=", ".mkv=", "[.AVI]",
            "Note=Audio Video Interleave", "DecoderMode=3", "[.mkv]", "Note=Matroska", "DecoderMode=2" }));

    TDecoderModeMap reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(path));
    EXPECT_EQ(Keys(reloaded), (std::vector<std::string> { ".avi", ".mkv" }));
    TDecoderModeMapItem item;
    ASSERT_TRUE(reloaded.GetItem(0, item));
    EXPECT_EQ(item.Note, "Audio Video Interleave");
    EXPECT_EQ(item.DecoderMode, dmDirectShowOnly);
    EXPECT_EQ(reloaded.GetDecoderMode(".avi"), dmDirectShowOnly);
}

TEST(TDecoderModeMap, ModesOutsideTheFourReadAsTheFirst)
{
    struct Case {
        const char* Text;
        DecoderMode Expected;
    };
    const Case kCases[] = {
        { "0", dmBuiltInThenDirectShow },
        { "3", dmDirectShowOnly },
        { "0x2", dmBuiltInOnly },
        // Only the low byte counts, and what is then no mode reads as mode 0.
        { "4", dmBuiltInThenDirectShow },
        { "7", dmBuiltInThenDirectShow },
        { "255", dmBuiltInThenDirectShow },
        { "-1", dmBuiltInThenDirectShow },
        { "257", dmDirectShowThenBuiltIn },
        { "", dmBuiltInThenDirectShow },
        { "two", dmBuiltInThenDirectShow },
    };
    TTempFolder folder;
    const std::string path = folder.File("DecoderMode.cfg");
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.Text);
        WriteText(path,
            std::string("[Default]\nDefaultDecoderMode=") + test.Text
                + "\n[Ext]\n.flv=\n[.flv]\nDecoderMode=" + test.Text + "\n");
        TDecoderModeMap map;
        map.SetDefaultMode(dmDirectShowOnly);
        ASSERT_TRUE(map.LoadFromFile(path));
        EXPECT_EQ(map.GetDefaultMode(), test.Expected);
        EXPECT_EQ(map.GetDecoderMode(".flv"), test.Expected);
    }
}

TEST(TDecoderModeMap, MissingValuesAndRepeatedKeysReadAsTheirDefaults)
{
    TTempFolder folder;
    const std::string path = folder.File("DecoderMode.cfg");
    // No Default section, an extension without a section of its own, one listed twice.
    WriteText(path, "[ext]\n.ogm=ignored value\n.vob=\n.ogm=\n[.VOB]\nnote=DVD\n");
    TDecoderModeMap map;
    map.SetDefaultMode(dmBuiltInOnly);
    ASSERT_TRUE(map.LoadFromFile(path));
    EXPECT_EQ(map.GetDefaultMode(), dmBuiltInThenDirectShow);
    ASSERT_EQ(map.Count(), 2);
    TDecoderModeMapItem item;
    ASSERT_TRUE(map.GetItem(0, item));
    EXPECT_EQ(item.Extension, ".ogm");
    EXPECT_EQ(item.Note, "");
    EXPECT_EQ(item.DecoderMode, dmBuiltInThenDirectShow);
    ASSERT_TRUE(map.GetItem(1, item));
    EXPECT_EQ(item.Note, "DVD");
}

TEST(TDecoderModeMap, MissingFileEmptiesTheTableButKeepsTheDefault)
{
    TTempFolder folder;
    TDecoderModeMap map;
    map.SetItem(Item(".avi", "", dmBuiltInOnly));
    map.SetDefaultMode(dmDirectShowOnly);
    EXPECT_FALSE(map.LoadFromFile(folder.File("missing.cfg")));
    EXPECT_EQ(map.Count(), 0);
    EXPECT_EQ(map.GetDecoderMode(".avi"), dmDirectShowOnly);
    EXPECT_FALSE(map.LoadFromFile(folder.Path()));
}

TEST(TDecoderModeMap, ItemsAreKeptInByteOrderOfTheirKeys)
{
    TDecoderModeMap map;
    EXPECT_TRUE(map.SetItem(Item(".mkv", "one", dmBuiltInOnly)));
    EXPECT_TRUE(map.SetItem(Item(".avi", "", dmBuiltInThenDirectShow)));
    EXPECT_TRUE(map.SetItem(Item(".MKV", "", dmDirectShowOnly)));
    EXPECT_TRUE(map.SetItem(Item(".mkv", "two", dmDirectShowThenBuiltIn)));
    EXPECT_EQ(map.Count(), 3);
    EXPECT_EQ(Keys(map), (std::vector<std::string> { ".MKV", ".avi", ".mkv" }));
    EXPECT_EQ(map.GetDecoderMode(".mkv"), dmDirectShowThenBuiltIn);
    // Files without an extension are looked up with the empty key.
    EXPECT_EQ(map.GetDecoderMode(""), dmBuiltInThenDirectShow);

    TDecoderModeMapItem item = Item("untouched", "untouched", dmBuiltInOnly);
    EXPECT_FALSE(map.GetItem(-1, item));
    EXPECT_FALSE(map.GetItem(3, item));
    EXPECT_EQ(item.Extension, "untouched");
    EXPECT_EQ(item.Note, "untouched");

    EXPECT_FALSE(map.Remove(".flv"));
    EXPECT_FALSE(map.Remove(".Avi"));
    EXPECT_TRUE(map.Remove(".avi"));
    EXPECT_EQ(Keys(map), (std::vector<std::string> { ".MKV", ".mkv" }));
}

TEST(TDecoderModeMap, FailedSaveKeepsTheOldFile)
{
    TTempFolder folder;
    const std::string path = folder.File("DecoderMode.cfg");
    TDecoderModeMap map;
    map.SetItem(Item(".avi", "kept", dmBuiltInOnly));
    ASSERT_TRUE(map.SaveToFile(path));
    const std::string saved = ReadText(path);

    // A note the file could not give back as written stops the save before anything is replaced.
    map.SetItem(Item(".mov", "two\nlines", dmBuiltInOnly));
    EXPECT_FALSE(map.SaveToFile(path));
    EXPECT_EQ(ReadText(path), saved);

    // Nor can an item whose section would be the extension list itself.
    map.Remove(".mov");
    map.SetItem(Item("EXT", "", dmBuiltInOnly));
    EXPECT_FALSE(map.SaveToFile(path));
    EXPECT_EQ(ReadText(path), saved);

    TDecoderModeMap other;
    EXPECT_FALSE(other.SaveToFile(folder.File("missing/DecoderMode.cfg")));
    EXPECT_FALSE(other.SaveToFile(folder.Path()));
}

TEST(TDecoderModeMap, GlobalTableLivesBetweenCreateAndDestroy)
{
    ASSERT_EQ(GlobalDecoderModeMap, nullptr);
    CreateGlobalDecoderModeMap();
    ASSERT_NE(GlobalDecoderModeMap, nullptr);
    TDecoderModeMap* created = GlobalDecoderModeMap;
    EXPECT_EQ(created->Count(), 0);
    EXPECT_EQ(created->GetDefaultMode(), dmBuiltInThenDirectShow);
    CreateGlobalDecoderModeMap();
    EXPECT_EQ(GlobalDecoderModeMap, created);
    DestroyGlobalDecoderModeMap();
    EXPECT_EQ(GlobalDecoderModeMap, nullptr);
}
