// The PNG image list: the placeholder count kept with the pictures, drawing with alpha and disabled at half
// opacity, a new size dropping the pictures, and the stored form read back.
#include "framework/core/Streams.h"
#include "framework/core/TFiler.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/TPNGObject.h"
#include "skin/dialogs/TspPNGImageList.h"
#include "tests/imaging/PngTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A w x h RGBA picture whose pixel (x, y) has colour `color` and alpha alphas[(x + y * w) % alphas.size()].
std::unique_ptr<TPNGObject> Rgba(int w, int h, TColor color, std::vector<uint8_t> alphas)
{
    auto png = std::make_unique<TPNGObject>(COLOR_RGBALPHA, 8, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            png->SetPixels(x, y, color);
            png->GetAlphaScanline(y)[x] = alphas[(x + y * w) % alphas.size()];
        }
    return png;
}

std::unique_ptr<TPNGObject> Load(const std::string& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    auto png = std::make_unique<TPNGObject>();
    png->LoadFromStream(stream);
    return png;
}

// A 2 x 1 palette picture of two colours whose tRNS gives both entries partial alpha.
std::unique_ptr<TPNGObject> PaletteWithAlpha()
{
    using namespace PngTest;
    const std::string raw("\0\x00\x01", 3);
    return Load(Signature + IHDR(2, 1, 8, 3) + Chunk("PLTE", std::string("\xFF\0\0\0\0\xFF", 6))
        + Chunk("tRNS", std::string("\x40\xC0", 2)) + Chunk("IDAT", Compress(raw)) + Chunk("IEND", ""));
}

std::vector<uint8_t> Alphas(TPNGObject& png)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < png.GetHeight(); ++y)
        for (int x = 0; x < png.GetWidth(); ++x)
            out.push_back(png.GetAlphaScanline(y)[x]);
    return out;
}

TEST(TspPNGImageList, DisabledOpacityHalvesAlphaToEven)
{
    auto rgba = Rgba(4, 1, 0x336699, { 255, 3, 1, 0 });
    ScalePngOpacity(*rgba, 127);
    EXPECT_EQ(Alphas(*rgba), (std::vector<uint8_t> { 128, 2, 0, 0 }));

    // RGB with a keyed colour: that colour fully transparent, the rest at 128.
    auto rgb = std::make_unique<TPNGObject>(COLOR_RGB, 8, 2, 1);
    rgb->SetPixels(0, 0, 0x00FF00);
    rgb->SetPixels(1, 0, 0x0000FF);
    rgb->SetTransparentColor(0x00FF00);
    ScalePngOpacity(*rgb, 127);
    EXPECT_EQ(Alphas(*rgb), (std::vector<uint8_t> { 0, 128 }));

    // A palette with partial alpha entries: 127 everywhere, its own alpha not kept; the colours stay.
    auto palette = PaletteWithAlpha();
    ScalePngOpacity(*palette, 127);
    EXPECT_EQ(palette->Header()->IHDRData.ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(Alphas(*palette), (std::vector<uint8_t> { 127, 127 }));
    EXPECT_EQ(palette->GetPixels(0, 0), static_cast<TColor>(0x0000FF));
    EXPECT_EQ(palette->GetPixels(1, 0), static_cast<TColor>(0xFF0000));
}

class PNGImageListTest : public testing::Test {
protected:
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto png = Rgba(16, 16, static_cast<TColor>(0x010101 * (i + 1)), { 255 });
            List.PngImages()->Add()->SetPngImage(png.get());
        }
    }

    TspPNGImageList List { nullptr };
};

TEST_F(PNGImageListTest, PlaceholdersFollowThePictures)
{
    Fill(8);
    EXPECT_EQ(List.Count(), 8);
    EXPECT_EQ(List.PngImages()->Items(7)->Name(), "PngImage7");
    List.PngImages()->Delete(3);
    EXPECT_EQ(List.PngImages()->Count(), 7);
    EXPECT_EQ(List.Count(), 7);
    EXPECT_EQ(List.PngImages()->Items(3)->PngImage()->GetPixels(0, 0), static_cast<TColor>(0x050505));

    // The same width keeps everything; another drops every picture and placeholder.
    List.SetPngWidth(16);
    EXPECT_EQ(List.PngImages()->Count(), 7);
    List.SetPngWidth(24);
    EXPECT_EQ(List.PngImages()->Count(), 0);
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.Width(), 24);
}

TEST_F(PNGImageListTest, CopiedCollectionIsIndependent)
{
    Fill(2);
    TspPNGImageList other(nullptr);
    other.SetPngImages(List.PngImages());
    EXPECT_EQ(other.Count(), 2);
    EXPECT_EQ(other.PngImages()->Items(1)->Name(), "PngImage1");
    List.PngImages()->Items(0)->PngImage()->SetPixels(0, 0, clWhite);
    EXPECT_EQ(other.PngImages()->Items(0)->PngImage()->GetPixels(0, 0), static_cast<TColor>(0x010101));
}

TEST_F(PNGImageListTest, DrawsScaledWithAlphaAndDisabledAtHalf)
{
    // An 8 x 8 red picture, its left half opaque and its right half clear, drawn scaled into the 16 x 16 list.
    auto png = std::make_unique<TPNGObject>(COLOR_RGBALPHA, 8, 8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            png->SetPixels(x, y, clRed);
            png->GetAlphaScanline(y)[x] = x < 4 ? 255 : 0;
        }
    List.PngImages()->Add()->SetPngImage(png.get());

    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(40, 20);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(TRect { 0, 0, 40, 20 });
    List.Draw(target.Canvas(), 2, 2, 0, true);
    List.Draw(target.Canvas(), 22, 2, 0, false);
    EXPECT_EQ(target.Canvas()->Pixels(4, 10), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(16, 10), clWhite);
    // Half of the red over white: the blue and green channels come down about half way.
    const TColor faded = target.Canvas()->Pixels(24, 10);
    EXPECT_EQ(faded & 0xFF, 0xFFu);
    EXPECT_NEAR((faded >> 8) & 0xFF, 127, 2);
    EXPECT_EQ(target.Canvas()->Pixels(36, 10), clWhite);

    // No picture at the index, or an empty picture drawn disabled: nothing, and no exception out of a paint.
    List.PngImages()->Add();
    EXPECT_NO_THROW(List.Draw(target.Canvas(), 0, 0, 1, false));
    EXPECT_NO_THROW(List.Draw(target.Canvas(), 0, 0, 1, true));
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clWhite);
}

TEST_F(PNGImageListTest, StoredFormRoundTrip)
{
    Fill(3);
    List.PngImages()->Items(1)->SetName("Movie");
    List.PngImages()->Add(); // an empty picture is stored without data
    TMemoryStream stream;
    TWriter(stream).WriteProperties(List);

    // The reader's list has another size: loading keeps the pictures and makes their placeholders anew.
    TspPNGImageList read(nullptr);
    read.SetPngWidth(32);
    read.SetComponentStateItem(csLoading, true);
    stream.SetPosition(0);
    TReader(stream).ReadProperties(read);
    read.Loaded();
    ASSERT_EQ(read.PngImages()->Count(), 4);
    EXPECT_EQ(read.Count(), 4);
    EXPECT_EQ(read.Width(), 16);
    EXPECT_EQ(read.PngImages()->Items(1)->Name(), "Movie");
    EXPECT_EQ(read.PngImages()->Items(2)->PngImage()->GetPixels(5, 5), static_cast<TColor>(0x030303));
    EXPECT_TRUE(read.PngImages()->Items(3)->PngImage()->GetEmpty());

    // Damaged stored pictures raise and leave the list as it was.
    const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
    for (size_t cut : { size_t(30), size_t(60), bytes.size() / 2 }) {
        SCOPED_TRACE(cut);
        TMemoryStream damaged;
        damaged.WriteBuffer(bytes.data(), static_cast<int32_t>(cut));
        damaged.SetPosition(0);
        EXPECT_ANY_THROW(TReader(damaged).ReadProperties(read));
        EXPECT_EQ(read.PngImages()->Count(), 4);
    }
}

} // namespace
