#include "engine/FormatProfiles.h"
#include "engine/TDecoderModeMap.h"
#include "engine/TProfileManager.h"
#include "framework/core/FileSystem.h"
#include "tests/engine/EngineTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

const std::string kAssets = TP_ASSETS_DIR;

} // namespace

TEST(Assets, EveryShippedProfileLoadsAndIsWhatSaveWrites)
{
    // The checks run on a copy of the shipped folder, so nothing they do can touch the checked-in files.
    TTempFolder program;
    std::filesystem::copy(kAssets + "/Profiles", program.File("Profiles"));
    TProgramFolderScope scope(program.Path());
    TMessageBoxRecorder boxes;
    TProfileManager manager(program.File("Profiles/"));
    manager.LoadAll();
    EXPECT_TRUE(boxes.Texts.empty());

    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kAssets + "/Profiles"))
        files += entry.path().extension() == ".pf" ? 1 : 0;
    ASSERT_EQ(static_cast<size_t>(manager.Count()), files);

    TTempFolder folder;
    std::map<VideoFormatType, int> perFormat;
    std::set<std::string> names;
    for (int32_t i = 0; i < manager.Count(); ++i) {
        TVideoProfile* profile = manager.Get(i);
        SCOPED_TRACE(profile->FileName);
        ++perFormat[profile->FormatType];
        EXPECT_TRUE(names.insert(profile->ProfileName).second);
        // Each profile's default file is the one it ships in: editing a shipped profile and saving it keeps
        // its file.
        EXPECT_EQ(profile->GetDefaultFileName(), profile->FileName);

        // Saving elsewhere moves a profile's file, so the copy must not know where it came from.
        std::unique_ptr<TVideoProfile> copy = profile->Clone();
        copy->FileName.clear();
        const std::string path = folder.File("copy.pf");
        ASSERT_TRUE(copy->Save(path));
        EXPECT_EQ(ReadText(path), ReadText(kAssets + "/Profiles/" + ExtractFileName(profile->FileName)));
        EXPECT_EQ(copy->ParamKeys.Count(), 0);

        if (auto* wmv = dynamic_cast<TWMVProfile*>(profile)) {
            EXPECT_EQ(wmv->AudioFormatName, "64 kbps, 44 kHz, stereo CBR");
        }
        if (auto* real = dynamic_cast<TRealProfile*>(profile)) {
            EXPECT_EQ(real->AudioFormatName, "44 Kbps Music - RealAudio");
            // RealMedia frames are cut to multiples of 4, so the shipped sizes already are.
            EXPECT_EQ(real->Width % 4, 0);
            EXPECT_EQ(real->Height % 4, 0);
        }
        // Every other format keeps an even frame size (0 = the source's).
        EXPECT_EQ(profile->Width % 2, 0);
        EXPECT_EQ(profile->Height % 2, 0);
    }
    for (VideoFormatType code : { vf3GP, vfAVI, vfMPEG, vfMP4, vfWMV, vfReal, vfMOV, vfFLV })
        EXPECT_GE(perFormat[code], 2) << "format " << int(code);
}

TEST(Assets, DecoderModeTableListsEveryOfferedExtension)
{
    const std::string path = kAssets + "/DecoderMode.cfg";
    TDecoderModeMap map;
    ASSERT_TRUE(map.LoadFromFile(path));
    EXPECT_EQ(map.GetDefaultMode(), dmBuiltInThenDirectShow);

    // What the open dialog offers, and what the folder search adds.
    const std::set<std::string> offered = { ".avi", ".wmv", ".asf", ".mpg", ".mpeg", ".mov", ".qt", ".vob", ".dat",
        ".rmvb", ".rm", ".mp4", ".mkv", ".ogm", ".flv", ".3gp", ".3g2" };
    std::set<std::string> listed;
    TDecoderModeMapItem item;
    for (int32_t i = 0; map.GetItem(i, item); ++i) {
        SCOPED_TRACE(item.Extension);
        listed.insert(item.Extension);
        EXPECT_FALSE(item.Note.empty());
        EXPECT_EQ(item.DecoderMode, dmBuiltInThenDirectShow);
    }
    EXPECT_EQ(listed, offered);

    // The shipped file is exactly what SaveToFile writes.
    TTempFolder folder;
    ASSERT_TRUE(map.SaveToFile(folder.File("DecoderMode.cfg")));
    EXPECT_EQ(ReadText(folder.File("DecoderMode.cfg")), ReadText(path));
}
