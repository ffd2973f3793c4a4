#include "skin/core/TspCompressedStoredSkin.h"

#include "SkinTestSupport.h"
#include "framework/core/FileSystem.h"
#include "skin/core/TspSkinData.h"
#include "skin/core/spzlibcompress.h"
#include "skin/testing/TFixtureSkin.h"

#include <gtest/gtest.h>

namespace {

// A packed file: version, length and data as given.
std::string PackedFile(int32_t version, const std::string& data, int32_t length)
{
    return Int32(version) + Int32(length) + data;
}

std::string PackedFile(int32_t version, const std::string& data)
{
    return PackedFile(version, data, static_cast<int32_t>(data.size()));
}

std::string Unpacked(TspCompressedStoredSkin& packed)
{
    TMemoryStream out;
    packed.DeCompressToStream(out);
    return std::string(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
}

std::string BmpBytes(TBitmap& bitmap)
{
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::string Description(TspSkinData& skin)
{
    TMemIniFile ini("");
    skin.SaveToCustomIniFile(&ini);
    ini.EraseSection("CURSORS");
    return IniText(ini);
}

// The smallest description a container accepts, as the packed layout holds it.
const std::string kDescription
    = "[VERSION]\r\nver=2\r\nskinname=Packed\r\n[PICTURES]\r\npicture=p.bmp\r\n"
      "inactivepicture=i.bmp\r\nmask=m.bmp\r\nactivepicturescount=0\r\n"
      "[FORMINFO]\r\nborderwidth=2\r\n[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n";

TEST(TspCompressedStoredSkin, PackedSkinLoadsToTheSameSkinWithoutCursors)
{
    TFixtureSkin fixture;
    fixture.AddEverything();
    fixture.AddActivePicture("photo.jpg", 20, 12, 9);
    fixture.SetPicture("inactivepicture", "inactive.bmp", 60, 40, 8);
    fixture.Set("CURSORS", { { "startcursorindex", "3" }, { "cursorscount", "1" }, { "0", "hand.cur" } });
    TspSkinData original(nullptr);
    original.LoadFromFile(fixture.Write());
    ASSERT_EQ(original.CursorNames->Count(), 1);
    original.SaveToCompressedFile(fixture.Path("skin.packed"));

    TspSkinData unpacked(nullptr);
    unpacked.StartCursorIndex = 9;
    unpacked.LoadFromCompressedFile(fixture.Path("skin.packed"));
    ASSERT_FALSE(unpacked.Empty);
    EXPECT_FALSE(unpacked.SkinChanging);
    EXPECT_EQ(unpacked.StartCursorIndex, 9);
    EXPECT_EQ(unpacked.CursorNames->Count(), 0);
    EXPECT_EQ(unpacked.InActivePictureName, "inactive.bmp");
    EXPECT_EQ(Description(unpacked), Description(original));
    ASSERT_EQ(unpacked.ActivePictures.size(), original.ActivePictures.size());
    for (size_t i = 0; i < original.ActivePictures.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(BmpBytes(*unpacked.ActivePictures[i]), BmpBytes(*original.ActivePictures[i]));
    }
    EXPECT_EQ(BmpBytes(*unpacked.Picture), BmpBytes(*original.Picture));
    EXPECT_EQ(BmpBytes(*unpacked.InActivePicture), BmpBytes(*original.InActivePicture));
    EXPECT_EQ(BmpBytes(*unpacked.MaskPicture), BmpBytes(*original.MaskPicture));
    EXPECT_TRUE(unpacked.RollUpPicture->Empty());
}

TEST(TspCompressedStoredSkin, UnpackedDataFollowsThePackedLayout)
{
    TFixtureSkin fixture;
    fixture.SetPicture("picture", "p.bmp", 3, 2);
    fixture.AddActivePicture("a.bmp", 2, 2);
    TspSkinData skin(nullptr);
    skin.LoadFromFile(fixture.Write());
    TspCompressedStoredSkin packed(nullptr);
    packed.LoadFromSkinData(&skin);
    std::string data = Unpacked(packed);
    std::string picture = BmpBytes(*skin.Picture);
    std::string active = BmpBytes(*skin.ActivePictures[0]);
    std::string expectedHead = Int32(2) + '\0' + picture + "\1\1\1\1" + Int32(1) + active;
    ASSERT_GT(data.size(), expectedHead.size());
    EXPECT_EQ(data.substr(0, expectedHead.size()), expectedHead);
    std::string text = data.substr(expectedHead.size());
    EXPECT_EQ(text.substr(0, 16), "[VERSION]\r\nver=2");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(TspCompressedStoredSkin, FileVersionsUpToThreeAreRead)
{
    struct Case {
        int32_t Version;
        bool Read;
    };
    const Case kCases[] = { { 2, true }, { 3, true }, { -1, true }, { 4, false }, { 1000, false } };
    TFixtureSkin fixture;
    std::string data = Zlib(Int32(2) + "\1\1\1\1\1" + Int32(0) + kDescription);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Version);
        TFixtureSkin::WriteBytes(fixture.Path("v.packed"), PackedFile(c.Version, data));
        TspCompressedStoredSkin packed(nullptr);
        packed.LoadFromCompressFile(fixture.Path("v.packed"));
        EXPECT_EQ(packed.GetEmpty(), !c.Read);
        TspSkinData skin(nullptr);
        skin.LoadFromCompressedFile(fixture.Path("v.packed"));
        EXPECT_EQ(skin.Empty, !c.Read);
        if (c.Read) {
            EXPECT_EQ(skin.SkinName, "Packed");
        }
    }
}

TEST(TspCompressedStoredSkin, BadLengthsRaiseAndKeepThePreviousData)
{
    TFixtureSkin fixture;
    std::string data = Zlib(Int32(2) + "\1\1\1\1\1" + Int32(0) + kDescription);
    TFixtureSkin::WriteBytes(fixture.Path("good.packed"), PackedFile(2, data));
    struct Case {
        const char* Name;
        std::string Bytes;
    };
    const Case kCases[] = {
        { "length past the end", PackedFile(2, data, static_cast<int32_t>(data.size()) + 1) },
        { "negative length", PackedFile(2, data, -5) },
        { "huge length", PackedFile(2, data, 0x7FFFFFFF) },
        { "no length", Int32(2) },
        { "two bytes", "\2\0" },
        { "nothing", "" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TspCompressedStoredSkin packed(nullptr);
        packed.LoadFromCompressFile(fixture.Path("good.packed"));
        TFixtureSkin::WriteBytes(fixture.Path("bad.packed"), c.Bytes);
        EXPECT_THROW(packed.LoadFromCompressFile(fixture.Path("bad.packed")), EReadError);
        EXPECT_EQ(packed.CompressedData()->Size(), static_cast<int64_t>(data.size()));
    }
    TspCompressedStoredSkin packed(nullptr);
    EXPECT_THROW(packed.LoadFromCompressFile(fixture.Path("missing.packed")), EFOpenError);
}

TEST(TspCompressedStoredSkin, EmptyPackedSkinWritesNoFile)
{
    TFixtureSkin fixture;
    TspCompressedStoredSkin packed(nullptr);
    EXPECT_TRUE(packed.GetEmpty());
    packed.SaveToCompressFile(fixture.Path("none.packed"));
    EXPECT_FALSE(FileExists(fixture.Path("none.packed")));
    // A stream is read from its start like a file.
    TMemoryStream stream;
    std::string file = PackedFile(2, Zlib("x"));
    stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
    packed.LoadFromCompressStream(stream);
    EXPECT_EQ(Unpacked(packed), "x");
    packed.SaveToCompressFile(fixture.Path("x.packed"));
    EXPECT_EQ(TFixtureSkin::ReadBytes(fixture.Path("x.packed")), file);
}

TEST(TspCompressedStoredSkin, DescriptionFilesArePackedWithTheirPictures)
{
    TFixtureSkin fixture;
    fixture.AddEverything();
    fixture.AddActivePicture("photo.jpeg", 16, 16, 3);
    std::string path = fixture.Write();
    TspCompressedStoredSkin packed(nullptr);
    packed.LoadFromIniFile(path);
    ASSERT_FALSE(packed.GetEmpty());
    TspSkinData fromPacked(nullptr);
    fromPacked.LoadCompressedStoredSkin(&packed);
    TspSkinData fromFile(nullptr);
    fromFile.LoadFromFile(path);
    ASSERT_FALSE(fromPacked.Empty);
    EXPECT_EQ(Description(fromPacked), Description(fromFile));
    ASSERT_EQ(fromPacked.ActivePictures.size(), 3u);
    EXPECT_EQ(BmpBytes(*fromPacked.ActivePictures[2]), BmpBytes(*fromFile.ActivePictures[2]));

    // A description the loaders refuse, and one whose picture is missing, change nothing.
    int64_t size = packed.CompressedData()->Size();
    TFixtureSkin refused;
    refused.RemoveSection("FORMINFO");
    packed.LoadFromIniFile(refused.Write());
    EXPECT_EQ(packed.CompressedData()->Size(), size);
    DeleteFile(fixture.Path("controls.bmp"));
    EXPECT_THROW(packed.LoadFromIniFile(path), EFOpenError);
    EXPECT_EQ(packed.CompressedData()->Size(), size);
}

// Unpacked data of the other versions, made by hand.
TEST(TspCompressedStoredSkin, OlderLayoutsCarryTheirOwnMainPictures)
{
    TFixtureSkin fixture;
    TFixtureSkin::WriteBmp(fixture.Path("p.bmp"), 2, 3, 1);
    std::string bmp = TFixtureSkin::ReadBytes(fixture.Path("p.bmp"));
    struct Case {
        int32_t Version;
        std::string Pictures;
        const char* Filled; // which main pictures hold the BMP
    };
    const Case kCases[] = {
        { 1, '\1' + std::string("\0", 1) + bmp + "\1\1", "mask" },
        { 3, '\1' + std::string("\0", 1) + bmp + "\1", "inactivepicture" },
        { 0, std::string("\0", 1) + bmp + "\1", "picture" },
        { -3, "\1" + std::string("\0", 1) + bmp, "mask" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Version);
        std::string active = TFixtureSkin::ReadBytes(fixture.Path("p.bmp"));
        std::string description = kDescription;
        description.replace(description.find("activepicturescount=0"), 21, "activepicturescount=1\r\n0=a.bmp");
        std::string data = Int32(c.Version) + c.Pictures + Int32(1) + active + description;
        TMemoryStream stream;
        std::string file = PackedFile(2, Zlib(data));
        stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
        TspCompressedStoredSkin packed(nullptr);
        packed.LoadFromCompressStream(stream);
        TspSkinData skin(nullptr);
        skin.LoadCompressedStoredSkin(&packed);
        ASSERT_FALSE(skin.Empty);
        std::string filled = c.Filled;
        EXPECT_EQ(skin.Picture->Empty(), filled != "picture");
        EXPECT_EQ(skin.InActivePicture->Empty(), filled != "inactivepicture");
        EXPECT_EQ(skin.MaskPicture->Empty(), filled != "mask");
        EXPECT_TRUE(skin.RollUpPicture->Empty());
        EXPECT_EQ(skin.ActivePictures.size(), 1u);
    }
}

TEST(TspCompressedStoredSkin, UnknownInnerVersionIsRefusedBeforeTheSkinChanges)
{
    TFixtureSkin fixture;
    fixture.AddEverything();
    TspSkinData skin(nullptr);
    skin.LoadFromFile(fixture.Write());
    TMemoryStream stream;
    std::string file = PackedFile(2, Zlib(Int32(4) + "\1\1\1\1\1" + Int32(0) + kDescription));
    stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
    TspCompressedStoredSkin packed(nullptr);
    packed.LoadFromCompressStream(stream);
    EXPECT_THROW(skin.LoadCompressedStoredSkin(&packed), EReadError);
    EXPECT_FALSE(skin.Empty);
    EXPECT_FALSE(skin.SkinChanging);
    EXPECT_EQ(skin.SkinName, "Fixture");
}

} // namespace
