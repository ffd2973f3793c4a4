// Hostile, truncated and binary skins: each fails with the framework's error or loads, and leaves the
// previous skin or an empty one, never a crash.
#include "SkinTestSupport.h"
#include "framework/core/Exception.h"
#include "skin/core/TspCompressedStoredSkin.h"
#include "skin/core/TspSkinData.h"
#include "skin/core/spzlibcompress.h"
#include "skin/testing/TFixtureSkin.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

enum class TOutcome { Loaded, Kept, Failed };

std::string Name(TOutcome outcome)
{
    return outcome == TOutcome::Loaded ? "loaded" : outcome == TOutcome::Kept ? "kept" : "failed";
}

// Loads over a good skin and tells what became of the container. An error must be the framework's, with a
// text; after it the container holds the previous skin or is empty.
class SkinBadInput : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Good = new TFixtureSkin;
        Good->AddEverything();
        Good->Write();
    }
    static void TearDownTestSuite()
    {
        delete Good;
        Good = nullptr;
    }

    static TOutcome LoadOverGoodSkin(const std::function<void(TspSkinData&)>& load)
    {
        TspSkinData skin(nullptr);
        skin.LoadFromFile(Good->Path("skin.ini"));
        try {
            load(skin);
        } catch (const Exception& e) {
            EXPECT_FALSE(e.Message().empty());
            if (!skin.Empty) {
                EXPECT_EQ(skin.SkinName, "Fixture");
                return TOutcome::Kept;
            }
            return TOutcome::Failed;
        }
        EXPECT_FALSE(skin.Empty);
        return skin.SkinName == "Fixture" ? TOutcome::Kept : TOutcome::Loaded;
    }

    static TFixtureSkin* Good;
};

TFixtureSkin* SkinBadInput::Good = nullptr;

std::string Packed(const std::string& unpacked)
{
    std::string data = Zlib(unpacked);
    return Int32(2) + Int32(static_cast<int32_t>(data.size())) + data;
}

const std::string kMinimalText
    = "[VERSION]\r\nver=2\r\nskinname=Other\r\n[PICTURES]\r\nactivepicturescount=0\r\n"
      "[FORMINFO]\r\nborderwidth=1\r\n[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n";

// The minimal description with one value replaced.
std::string MinimalWith(const std::string& line, const std::string& replacement)
{
    std::string text = kMinimalText;
    return text.replace(text.find(line), line.size(), replacement);
}

TEST_F(SkinBadInput, HostileDescriptions)
{
    struct Case {
        const char* Name;
        std::function<void(TFixtureSkin&)> Make;
        TOutcome Expected;
    };
    const Case kCases[] = {
        { "binary bytes",
            [](TFixtureSkin& f) {
                TFixtureSkin::WriteBytes(f.Path("skin.ini"), std::string("\0\xFF\x01[\x80]=\n\0", 10));
            },
            TOutcome::Kept },
        { "huge object count", [](TFixtureSkin& f) { f.Set("SKINOBJECTS", "count", "2147483647").Write(); },
            TOutcome::Failed },
        { "count at the limit", [](TFixtureSkin& f) { f.Set("SKINCONTROLS", "count", "65536").Write(); },
            TOutcome::Loaded },
        { "negative count", [](TFixtureSkin& f) { f.Set("SKINAREAS", "count", "-3").Write(); }, TOutcome::Loaded },
        { "huge picture list", [](TFixtureSkin& f) { f.Set("PICTURES", "activepicturescount", "99999999").Write(); },
            TOutcome::Failed },
        { "huge symbol list",
            [](TFixtureSkin& f) {
                f.AddControl("b", "bitlabel", { { "symbolslinecount", "1000000" } }).Write();
            },
            TOutcome::Failed },
        { "rectangle past 32 bits",
            [](TFixtureSkin& f) {
                f.AddControl("b", "button", { { "skinrect", "1,2,3,99999999999" } }).Write();
            },
            TOutcome::Failed },
        { "area without digits", [](TFixtureSkin& f) { f.AddArea("a", "x,y,z,w").Write(); }, TOutcome::Failed },
        { "picture outside the folder",
            [](TFixtureSkin& f) { f.Set("PICTURES", "picture", "../../../../../../etc/hostname").Write(); },
            TOutcome::Failed },
        { "a real picture outside the folder",
            [](TFixtureSkin& f) {
                TFixtureSkin::WriteBmp(f.Path("../outside.bmp"), 4, 4);
                f.Set("PICTURES", "picture", "../outside.bmp").Write();
            },
            TOutcome::Failed },
        { "an active picture by absolute path",
            [](TFixtureSkin& f) {
                TFixtureSkin::WriteBmp(f.Path("inside.bmp"), 4, 4);
                f.Set("PICTURES", { { "activepicturescount", "1" }, { "0", f.Path("inside.bmp") } }).Write();
            },
            TOutcome::Failed },
        { "picture that is a folder", [](TFixtureSkin& f) { f.Set("PICTURES", "picture", ".").Write(); },
            TOutcome::Failed },
        { "empty name in the list",
            [](TFixtureSkin& f) {
                f.Set("PICTURES", { { "activepicturescount", "1" }, { "0", "" } }).Write();
            },
            TOutcome::Failed },
        { "text under a BMP name",
            [](TFixtureSkin& f) {
                TFixtureSkin::WriteBytes(f.Path("text.bmp"), "not a picture");
                f.Set("PICTURES", "picture", "text.bmp").Write();
            },
            TOutcome::Failed },
        { "BMP under a JPEG name",
            [](TFixtureSkin& f) {
                TFixtureSkin::WriteBmp(f.Path("a.jpg"), 4, 4);
                f.Set("PICTURES", "mask", "a.jpg").Write();
            },
            TOutcome::Failed },
        { "truncated BMP",
            [](TFixtureSkin& f) {
                TFixtureSkin::WriteBmp(f.Path("t.bmp"), 40, 40);
                std::string bytes = TFixtureSkin::ReadBytes(f.Path("t.bmp"));
                TFixtureSkin::WriteBytes(f.Path("t.bmp"), bytes.substr(0, bytes.size() / 2));
                f.AddActivePicture("ok.bmp", 2, 2);
                f.Set("PICTURES", { { "activepicturescount", "2" }, { "1", "t.bmp" } }).Write();
            },
            TOutcome::Failed },
        { "huge start cursor",
            [](TFixtureSkin& f) {
                f.Set("CURSORS", { { "startcursorindex", "2147483647" }, { "cursorscount", "3" } }).Write();
            },
            TOutcome::Loaded },
        { "record named after a fixed section",
            [](TFixtureSkin& f) { f.AddListEntry("SKINOBJECTS", "VERSION:caption").Write(); }, TOutcome::Loaded },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TFixtureSkin bad;
        c.Make(bad);
        TOutcome outcome = LoadOverGoodSkin([&bad](TspSkinData& skin) { skin.LoadFromFile(bad.Path("skin.ini")); });
        EXPECT_EQ(Name(outcome), Name(c.Expected));
    }
}

TEST_F(SkinBadInput, TruncatedDescriptionsNeverCrash)
{
    TFixtureSkin fixture;
    fixture.AddEverything();
    std::string text = fixture.Text();
    for (size_t cut = 0; cut < text.size(); cut += 97) {
        SCOPED_TRACE(cut);
        TFixtureSkin::WriteBytes(fixture.Path("cut.ini"), text.substr(0, cut));
        LoadOverGoodSkin([&fixture](TspSkinData& skin) { skin.LoadFromFile(fixture.Path("cut.ini")); });
    }
}

TEST_F(SkinBadInput, HostilePackedSkins)
{
    TFixtureSkin fixture;
    TFixtureSkin::WriteBmp(fixture.Path("p.bmp"), 3, 3);
    std::string bmp = TFixtureSkin::ReadBytes(fixture.Path("p.bmp"));
    std::string good = Int32(2) + "\1\1\1\1\1" + Int32(0) + kMinimalText;
    std::string goodFile = Packed(good);
    struct Case {
        const char* Name;
        std::string File;
        TOutcome Expected;
    };
    const Case kCases[] = {
        { "good", goodFile, TOutcome::Loaded },
        { "file version 4", Int32(4) + goodFile.substr(4), TOutcome::Kept },
        { "length past the end", Int32(2) + Int32(1 << 30) + goodFile.substr(8), TOutcome::Kept },
        { "short header", goodFile.substr(0, 6), TOutcome::Kept },
        { "not zlib", Int32(2) + Int32(8) + "zlib? no", TOutcome::Kept },
        { "zlib cut short", Int32(2) + Int32(20) + goodFile.substr(8, 20), TOutcome::Kept },
        { "inner version 7", Packed(Int32(7) + good.substr(4)), TOutcome::Kept },
        { "nothing inside", Packed(""), TOutcome::Kept },
        { "negative picture count", Packed(Int32(2) + "\1\1\1\1\1" + Int32(-1) + kMinimalText), TOutcome::Failed },
        { "pictures past the end", Packed(Int32(2) + "\1\1\1\1\1" + Int32(2000000000)), TOutcome::Failed },
        { "announced picture missing", Packed(Int32(2) + std::string("\0", 1)), TOutcome::Failed },
        { "text as a picture", Packed(Int32(2) + std::string("\0", 1) + "not a bitmap at all" + kMinimalText),
            TOutcome::Failed },
        { "names without pictures",
            Packed(Int32(2) + "\1\1\1\1\1" + Int32(0)
                + MinimalWith("activepicturescount=0", "activepicturescount=1\r\n0=x")),
            TOutcome::Failed },
        { "pictures without names", Packed(Int32(2) + "\1\1\1\1\1" + Int32(1) + bmp + kMinimalText), TOutcome::Failed },
        { "hostile description inside",
            Packed(Int32(2) + "\1\1\1\1\1" + Int32(0)
                + MinimalWith("[SKINCONTROLS]\r\ncount=0", "[SKINCONTROLS]\r\ncount=999999999")),
            TOutcome::Failed },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TFixtureSkin::WriteBytes(fixture.Path("skin.packed"), c.File);
        TOutcome outcome = LoadOverGoodSkin(
            [&fixture](TspSkinData& skin) { skin.LoadFromCompressedFile(fixture.Path("skin.packed")); });
        EXPECT_EQ(Name(outcome), Name(c.Expected));
    }
}

} // namespace
