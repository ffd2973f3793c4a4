// The resource holder: which library bindings it keeps, what LoadProfiles reads, and how the three name lists are
// filled, over the program's libraries, their incomplete variants and fake entry points.
#include "engine/TDecoderModeMap.h"
#include "engine/TProfileManager.h"
#include "engine/TVideoProfile.h"
#include "tests/engine/EncoderLibraryTestSupport.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace {

// The table of decoder modes for the scope's lifetime, as main keeps it.
class TDecoderModeMapScope {
public:
    TDecoderModeMapScope() { CreateGlobalDecoderModeMap(); }
    ~TDecoderModeMapScope() { DestroyGlobalDecoderModeMap(); }
};

std::vector<std::string> Items(const TResourceComboList& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Items.Count(); ++i)
        items.push_back(list.Items.Strings(i));
    return items;
}

std::vector<intptr_t> Objects(const TResourceComboList& list)
{
    std::vector<intptr_t> objects;
    for (int i = 0; i < list.Items.Count(); ++i)
        objects.push_back(reinterpret_cast<intptr_t>(list.Items.Objects(i)));
    return objects;
}

bool Contains(const std::vector<std::string>& items, const std::string& item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

TEST(TResourceForm, HoldsTheProgramsLibrariesAndFillsItsListsFromThem)
{
    TDecoderModeMapScope decoderModes;
    TLibraryFolder folder(kSorvane, kTiberl);
    std::filesystem::create_directory(folder.File("Profiles"));
    WriteText(folder.File("Profiles/clip.pf"), "[ProfileCommon]\nProfileName=Clip\nVideoFormat=WMV\n");
    WriteText(folder.File("DecoderMode.cfg"), "[Default]\nDefaultDecoderMode=2\n[Ext]\n.avi=\n[.avi]\nDecoderMode=3\n");
    {
        TResourceFormScope form;
        ASSERT_NE(form->WM9EncoderDll, nullptr);
        ASSERT_NE(form->RealEncoderDll, nullptr);
        EXPECT_NE(form->RealEncoderDll->EncoderHandle, 0u);
        ASSERT_NE(form->ProfileManager, nullptr);
        EXPECT_EQ(form->ProfileManager->Directory, folder.File("Profiles/"));
        EXPECT_EQ(form->ProfileManager->Count(), 0);
        EXPECT_EQ(form->cbSystemProfile.ItemIndex, -1);

        form->LoadMainSkin();
        form->LoadFormSkin();
        form->LoadProfiles();
        ASSERT_EQ(form->ProfileManager->Count(), 1);
        EXPECT_EQ(form->ProfileManager->Get(0)->ProfileName, "Clip");
        EXPECT_EQ(GlobalDecoderModeMap->GetDecoderMode(".avi"), dmDirectShowOnly);
        EXPECT_EQ(GlobalDecoderModeMap->GetDecoderMode(".mkv"), dmBuiltInOnly);

        const std::vector<std::string> profiles = Items(form->cbSystemProfile);
        EXPECT_EQ(profiles.size(), 4u);
        EXPECT_EQ(form->cbSystemProfile.ItemIndex, 0);
        const std::vector<std::string> formats = Items(form->cbWMVAudioFormat);
        EXPECT_EQ(formats.size(), 16u);
        EXPECT_TRUE(Contains(formats, "64 kbps, 44 kHz, stereo CBR"));
        EXPECT_EQ(form->cbWMVAudioFormat.ItemIndex, 0);
        // The voice and the multichannel codec (library indices 7 and 8) are not offered.
        const std::vector<std::string> codecs = Items(form->cbRealAudioFormat);
        ASSERT_EQ(codecs.size(), 7u);
        EXPECT_EQ(codecs[2], "44 Kbps Music - RealAudio");
        EXPECT_EQ(Objects(form->cbRealAudioFormat), (std::vector<intptr_t> { 0, 1, 2, 3, 4, 5, 6 }));
        EXPECT_EQ(form->cbRealAudioFormat.ItemIndex, 0);
        EXPECT_EQ(ResourceForm, form.Form.get());
    }
    EXPECT_EQ(ResourceForm, nullptr);
}

TEST(TResourceForm, DropsTheBindingOfALibraryItCannotUse)
{
    struct Case {
        const char* Name;
        const char* Sorvane;
        const char* Tiberl;
        bool KeepsWmv;
        bool KeepsReal;
    };
    const Case kCases[] = {
        { "no libraries", nullptr, nullptr, false, false },
        { "files that are no libraries", kNotALibrary, kNotALibrary, false, false },
        { "a Windows Media library without one name", kSorvaneWithoutSetVideoTag, kTiberl, false, true },
        { "a Windows Media library that does not start", kSorvaneInitFails, kTiberl, false, true },
        { "a RealMedia library without one name", kSorvane, kTiberlWithoutSetParamsMode, true, false },
        { "a RealMedia library without a name never called", kSorvane, kTiberlWithoutStartDo2Pass, true, false },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TLibraryFolder folder(c.Sorvane, c.Tiberl);
        TResourceFormScope form;
        EXPECT_EQ(form->WM9EncoderDll != nullptr, c.KeepsWmv);
        EXPECT_EQ(form->RealEncoderDll != nullptr, c.KeepsReal);
        // Without a Profiles folder or DecoderMode.cfg, and without the decoder-mode table, nothing is read.
        form->LoadProfiles();
        EXPECT_EQ(form->ProfileManager->Count(), 0);
        EXPECT_EQ(form->cbSystemProfile.Items.Count() > 0, c.KeepsWmv);
        EXPECT_EQ(form->cbWMVAudioFormat.Items.Count() > 0, c.KeepsWmv);
        EXPECT_EQ(form->cbWMVAudioFormat.ItemIndex, c.KeepsWmv ? 0 : -1);
        EXPECT_EQ(form->cbRealAudioFormat.Items.Count() > 0, c.KeepsReal);
        EXPECT_EQ(form->cbRealAudioFormat.ItemIndex, c.KeepsReal ? 0 : -1);
    }
}

TEST(TResourceForm, TheWindowsMediaFormatsAreThoseOfTheFirstCodecWithAnAcceptedName)
{
    struct Case {
        const char* Name;
        std::vector<std::string> Codecs;
        int Listed; // Whose formats are listed.
    };
    const Case kCases[] = {
        { "a longer name only begins like an accepted one",
            { "Windows Media Audio 9 Professional", "Windows Media Audio 9" }, 1 },
        { "a codec name is not trimmed", { "Windows Media Audio 9 ", "Windows Media Audio 10.5" }, 1 },
        { "case counts", { "windows media audio 9", "Windows Media Audio 8.0" }, 1 },
        { "no accepted name gives codec 0", { "Windows Media Audio 7", "Windows Media Audio 11" }, 0 },
        { "the first accepted one wins", { "Windows Media Audio 8", "Windows Media Audio 9.2" }, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TFakeResourceFormScope form;
        FakeLibraries().WmvAudioCodecs = c.Codecs;
        FakeLibraries().WmvAudioFormatsPerCodec = { { " \t0 first", "0 second \t" }, { "1 first\t", " 1 second " } };
        form->FillWmvAudioFormats();
        const std::string codec = std::to_string(c.Listed);
        EXPECT_EQ(Items(form->cbWMVAudioFormat), (std::vector<std::string> { codec + " first", codec + " second" }));
        EXPECT_EQ(form->cbWMVAudioFormat.ItemIndex, 0);
    }
}

TEST(TResourceForm, SystemProfilesAreListedAsNamedAndTheListsAreFilledOnce)
{
    TFakeResourceFormScope form;
    FakeLibraries().WmvSystemProfiles = { " Profile A ", "Profile B" };
    form->FillWmvSystemProfiles();
    form->FillWmvSystemProfiles();
    EXPECT_EQ(Items(form->cbSystemProfile), (std::vector<std::string> { " Profile A ", "Profile B" }));
    EXPECT_EQ(form->cbSystemProfile.ItemIndex, 0);

    FakeLibraries().WmvSystemProfiles.clear();
    form->FillWmvSystemProfiles();
    EXPECT_EQ(form->cbSystemProfile.Items.Count(), 0);
    EXPECT_EQ(form->cbSystemProfile.ItemIndex, -1);
}

TEST(TResourceForm, RealMediaCodecsForVoiceOrMultichannelAreLeftOutAndTheRestKeepTheirIndex)
{
    TFakeResourceFormScope form;
    FakeLibraries().RealAudioCodecs = {
        "8 Kbps Voice (voice)",
        "Stereo (music) Mix - RealAudio ",
        "  44 Kbps Music - RealAudio (music)",
        "5.1 Multichannel Surround",
        "(music) only (music)",
        "Talk (Voice) - RealAudio",
    };
    form->FillRealAudioCodecs();
    EXPECT_EQ(Items(form->cbRealAudioFormat),
        (std::vector<std::string> {
            "Stereo  Mix - RealAudio", "44 Kbps Music - RealAudio", "only (music)", "Talk (Voice) - RealAudio" }));
    EXPECT_EQ(Objects(form->cbRealAudioFormat), (std::vector<intptr_t> { 1, 2, 4, 5 }));
    EXPECT_EQ(form->cbRealAudioFormat.ItemIndex, 0);
}

TEST(TResourceForm, TheDestructorUninitialisesTheWindowsMediaLibraryAndFreesTheHandle)
{
    {
        TFakeResourceFormScope form;
    }
    EXPECT_EQ(FakeLibraries().Calls, (std::vector<std::string> { "WMV_Uninit()", "Real_FreeEncoderHandle(7)" }));
}

TEST(TResourceForm, ReplaceFirstReplacesTheFirstExactOccurrence)
{
    struct Case {
        const char* Text;
        const char* What;
        const char* With;
        const char* Result;
    };
    const Case kCases[] = {
        { "a (music) b (music)", "(music)", "", "a  b (music)" },
        { "(music)", "(music)", "", "" },
        { "a (Music) b", "(music)", "", "a (Music) b" },
        { "no marker", "(music)", "", "no marker" },
        { "a-b", "-", " to ", "a to b" },
        { "abc", "", "x", "abc" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(TResourceForm::ReplaceFirst(c.Text, c.What, c.With), c.Result);
    }
}

} // namespace
