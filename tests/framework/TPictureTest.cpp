#include "framework/graphics/TPicture.h"

#include "framework/core/Streams.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"
#include "framework/graphics/TJPEGImage.h"
#include "tests/framework/GraphicsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A graphic of its own kind: the text of its file, one pixel wide per character.
class TTextGraphic : public TGraphic {
    using inherited = TGraphic;

public:
    std::string Text;

    std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TTextGraphic>(); }
    void Assign(TPersistent* source) override
    {
        if (auto* text = dynamic_cast<TTextGraphic*>(source)) {
            Text = text->Text;
            Changed(this);
            return;
        }
        inherited::Assign(source);
    }
    void SetWidth(int) override { }
    void SetHeight(int) override { }
    void LoadFromStream(TStream& stream) override
    {
        Text.assign(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
        if (!Text.empty())
            stream.ReadBuffer(Text.data(), static_cast<int32_t>(Text.size()));
        Changed(this);
    }
    void SaveToStream(TStream& stream) override { stream.WriteBuffer(Text.data(), static_cast<int32_t>(Text.size())); }

protected:
    void Draw(TCanvas*, const TRect&) override { }
    bool GetEmpty() const override { return Text.empty(); }
    int GetWidth() const override { return static_cast<int>(Text.size()); }
    int GetHeight() const override { return 1; }
};

uint32_t Flat(int, int)
{
    return 0x336699;
}

std::vector<uint8_t> SmallBmp()
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
    return std::vector<uint8_t>(bytes, bytes + stream.Size());
}

} // namespace

TEST(TPicture, LoadFromFileChoosesTheClassByExtension)
{
    TTempFolder folder;
    WriteFile(folder.Path("a.bmp"), SmallBmp());
    WriteFile(folder.Path("b.JPG"), MakeJpeg(5, 4, 3, false, 90, Flat));
    WriteFile(folder.Path("c.jpeg"), MakeJpeg(5, 4, 3, false, 90, Flat));
    struct Case {
        const char* File;
        bool (*IsClass)(TGraphic*);
        int Width;
    };
    const Case kCases[] = {
        { "a.bmp", [](TGraphic* g) { return dynamic_cast<TBitmap*>(g) != nullptr; }, 3 },
        { "b.JPG", [](TGraphic* g) { return dynamic_cast<TJPEGImage*>(g) != nullptr; }, 5 },
        { "c.jpeg", [](TGraphic* g) { return dynamic_cast<TJPEGImage*>(g) != nullptr; }, 5 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.File);
        TPicture picture;
        int changes = 0;
        picture.OnChange = [&](TObject*) { ++changes; };
        picture.LoadFromFile(folder.Path(c.File));
        EXPECT_TRUE(c.IsClass(picture.Graphic()));
        EXPECT_EQ(picture.Width(), c.Width);
        EXPECT_EQ(changes, 1);
    }
}

TEST(TPicture, FilesThatFailLeaveThePictureAsItWas)
{
    TTempFolder folder;
    WriteFile(folder.Path("good.bmp"), SmallBmp());
    WriteFile(folder.Path("bad.bmp"), { 'B', 'M', 1, 2, 3 });
    WriteFile(folder.Path("bad.jpg"), { 0xFF, 0xD8, 0xFF, 0xE0 });
    WriteFile(folder.Path("picture.xyz"), { 1, 2, 3 });
    WriteFile(folder.Path("noextension"), { 1, 2, 3 });
    struct Case {
        const char* File;
        std::string Message;
    };
    const Case kCases[] = {
        { "bad.bmp", "Bitmap image is not valid" },
        { "picture.xyz", "Unknown picture file extension (.xyz)" },
        { "noextension", "Unknown picture file extension (.)" },
    };
    TPicture picture;
    picture.LoadFromFile(folder.Path("good.bmp"));
    TGraphic* before = picture.Graphic();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.File);
        try {
            picture.LoadFromFile(folder.Path(c.File));
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
        EXPECT_EQ(picture.Graphic(), before);
    }
    EXPECT_THROW(picture.LoadFromFile(folder.Path("bad.jpg")), EJPEG);
    EXPECT_THROW(picture.LoadFromFile(folder.Path("missing.bmp")), EFOpenError);
    EXPECT_EQ(picture.Graphic(), before);
}

TEST(TPicture, RegistryTakesNewFormatsAndDropsThem)
{
    TTempFolder folder;
    WriteFile(folder.Path("note.txg"), { 'h', 'i' });
    TPicture::RegisterFileFormat(".TXG", "Text graphics", TGraphicClass::Of<TTextGraphic>());
    TGraphicClass found = TGraphicClass::Of<TBitmap>();
    ASSERT_TRUE(TPicture::FindExtension("txg", found));
    EXPECT_EQ(found.Type, typeid(TTextGraphic));
    TPicture picture;
    picture.LoadFromFile(folder.Path("note.txg"));
    auto* text = dynamic_cast<TTextGraphic*>(picture.Graphic());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text, "hi");

    TPicture::UnregisterGraphicClass(TGraphicClass::Of<TTextGraphic>());
    EXPECT_FALSE(TPicture::FindExtension("txg", found));
    EXPECT_THROW(picture.LoadFromFile(folder.Path("note.txg")), EInvalidGraphic);
    // The built-in formats are still there.
    std::vector<std::string> extensions;
    for (const TFileFormat& format : TPicture::FileFormats())
        extensions.push_back(format.Extension);
    EXPECT_EQ(extensions, (std::vector<std::string> { "bmp", "ico", "jpg", "jpeg" }));
}

TEST(TPicture, GraphicAndBitmapHoldCopies)
{
    TBitmap source;
    source.SetSize(2, 2);
    TPicture picture;
    picture.SetGraphic(&source);
    ASSERT_NE(picture.Graphic(), &source);
    source.SetSize(5, 5);
    EXPECT_EQ(picture.Width(), 2);

    // Drawing on the held bitmap is a change of the picture.
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.Bitmap()->Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 1);

    // Asking for a bitmap when the picture holds something else replaces it with an empty one.
    TJPEGImage jpeg;
    picture.SetGraphic(&jpeg);
    EXPECT_TRUE(picture.Bitmap()->Empty());
    picture.Assign(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 0);
}

TEST(TPicture, DataFormRoundTrips)
{
    TJPEGImage jpeg;
    {
        TMemoryStream stream;
        std::vector<uint8_t> bytes = MakeJpeg(6, 3, 3, false, 90, Flat);
        stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
        stream.SetPosition(0);
        jpeg.LoadFromStream(stream);
    }
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(4, 2);
    struct Case {
        const char* Name;
        TGraphic* Graphic;
    };
    const Case kCases[] = { { "bitmap", &bitmap }, { "jpeg", &jpeg }, { "nothing", nullptr } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TPicture picture;
        picture.SetGraphic(c.Graphic);
        TMemoryStream data;
        picture.WriteData(data);
        data.WriteBuffer("tail", 4);
        data.SetPosition(0);
        TPicture read;
        read.ReadData(data);
        // Each graphic reads exactly its own part of the stream.
        EXPECT_EQ(data.Position(), data.Size() - 4);
        if (!c.Graphic) {
            EXPECT_EQ(read.Graphic(), nullptr);
            continue;
        }
        ASSERT_NE(read.Graphic(), nullptr);
        EXPECT_EQ(read.Graphic()->ClassName(), c.Graphic->ClassName());
        EXPECT_TRUE(read.Graphic()->Equals(c.Graphic));
    }
    TMemoryStream unknown;
    unknown.WriteBuffer("\x07TNoSuch", 8);
    unknown.SetPosition(0);
    TPicture picture;
    EXPECT_THROW(picture.ReadData(unknown), EInvalidGraphic);
}
