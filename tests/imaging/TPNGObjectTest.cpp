#include "imaging/PngMessages.h"
#include "imaging/TBitmap32.h"
#include "tests/imaging/PngTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace PngTest;

namespace {

std::string Names(TPNGObject& png)
{
    std::string names;
    for (uint32_t i = 0; i < png.Chunks().Count(); ++i)
        names += (names.empty() ? "" : ",") + png.Chunks().Item(i)->GetChunkName();
    return names;
}

// An RGBA picture with the given pixels (0xAARRGGBB), row by row from the top.
std::unique_ptr<TPNGObject> Rgba(uint32_t width, uint32_t height, const std::vector<uint32_t>& pixels)
{
    auto png = std::make_unique<TPNGObject>(COLOR_RGBALPHA, 8, int32_t(width), int32_t(height));
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t p = pixels[y * width + x];
            png->SetPixels(int32_t(x), int32_t(y), TColor(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)));
            png->GetAlphaScanline(int32_t(y))[x] = uint8_t(p >> 24);
        }
    }
    return png;
}

void Fill(TBitmap32& canvas, int width, int height, TColor32 fill)
{
    canvas.SetSize(width, height);
    canvas.Clear(fill);
}

uint32_t Rgb(const TBitmap32& canvas, int x, int y)
{
    return canvas.Pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(TPNGObject, BlankImageConstructor)
{
    struct Case {
        uint32_t ColorType;
        uint32_t BitDepth;
        bool Valid;
        const char* Chunks;
        uint8_t StoredDepth;
    };
    const Case kCases[] = {
        { 3, 16, false, "", 0 },
        { 2, 4, false, "", 0 },
        { 4, 2, false, "", 0 },
        { 7, 8, false, "", 0 },
        { 0, 2, true, "IHDR,IDAT,IEND", 4 },
        { 0, 16, true, "IHDR,IDAT,IEND", 16 },
        { 3, 8, true, "IHDR,PLTE,IDAT,IEND", 8 },
        { 6, 8, true, "IHDR,IDAT,IEND", 8 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.ColorType << "/" << c.BitDepth);
        if (!c.Valid) {
            try {
                TPNGObject png(c.ColorType, c.BitDepth, 4, 4);
                ADD_FAILURE() << "created";
            } catch (const EPNGInvalidSpec& e) {
                EXPECT_EQ(e.Message(), EInvalidSpec);
            }
            continue;
        }
        TPNGObject png(c.ColorType, c.BitDepth, 5, 3);
        EXPECT_EQ(Names(png), c.Chunks);
        EXPECT_EQ(png.Header()->IHDRData.BitDepth, c.StoredDepth);
        EXPECT_EQ(png.GetWidth(), 5);
        EXPECT_EQ(png.GetHeight(), 3);
        EXPECT_FALSE(png.BeingCreated);
        if (c.ColorType == 6) {
            EXPECT_EQ(png.GetAlphaScanline(2)[4], 0);
        }
        // The blank picture is a valid file.
        TPNGObject again;
        Load(again, Save(png));
        EXPECT_EQ(again.GetWidth(), 5);
    }
    EXPECT_THROW(TPNGObject(2, 8, 0, 4), EPNGInvalidSpec);
    EXPECT_THROW(TPNGObject(2, 8, 4, 70000), EPNGInvalidSpec);
    // A palette picture's palette is the first 2^depth entries of the halftone palette.
    TPNGObject palette(3, 1, 2, 2);
    EXPECT_EQ(palette.Chunks().Find<TChunkPLTE>()->Count(), 2);
    EXPECT_EQ(palette.PngPalette().size(), 2u);
}

TEST(TPNGObject, EmptyPictureAndAssignment)
{
    TPNGObject empty;
    EXPECT_TRUE(empty.GetEmpty());
    EXPECT_EQ(empty.GetWidth(), 0);
    EXPECT_EQ(empty.GetPixels(0, 0), 0);
    empty.SetPixels(0, 0, 0xFF);
    EXPECT_THROW(empty.GetPalette(), EPNGHeaderNotPresent);
    EXPECT_THROW(empty.GetTransparencyMode(), EPNGHeaderNotPresent);
    EXPECT_THROW(empty.CreateAlpha(), EPNGHeaderNotPresent);
    EXPECT_THROW(empty.Resize(2, 2), EPNGHeaderNotPresent);
    EXPECT_EQ(empty.GetTransparentColor(), 0);
    empty.SetTransparentColor(0xFF);
    TBitmap32 canvas;
    Fill(canvas, 2, 2, 0xFF123456);
    empty.Draw(canvas, TRect { 0, 0, 2, 2 });
    EXPECT_EQ(canvas.Pixel(0, 0), 0xFF123456u);

    TPNGObject source;
    Load(source, MakePng(RandomImage(9, 5, 6, 8, 1, 3)));
    source.AddtEXt("Key", "Value");
    source.SetCompressionLevel(3);
    source.SetFilters({ pfUp, pfPaeth });
    source.SetMaxIdatSize(70000);
    TPNGObject copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.InterlaceMethod(), imAdam7);
    EXPECT_EQ(copy.CompressionLevel(), 3);
    EXPECT_EQ(copy.MaxIdatSize(), 70000);
    EXPECT_TRUE(copy.Filters() == TFilters({ pfUp, pfPaeth }));
    EXPECT_EQ(Names(copy), Names(source));
    EXPECT_EQ(Save(copy), Save(source));
    copy.Assign(&copy);
    EXPECT_EQ(Save(copy), Save(source));

    copy.Assign(nullptr);
    EXPECT_TRUE(copy.GetEmpty());
    EXPECT_EQ(copy.GetWidth(), 0);
    EXPECT_THROW(copy.GetPalette(), EPNGHeaderNotPresent);
}

TEST(TPNGObject, SixteenBitCopiesSaveTheSameSamples)
{
    TPNGObject source;
    Load(source, MakePng(RandomImage(6, 4, 2, 16, 0, 8)));
    TPNGObject copy;
    copy.Assign(&source);
    EXPECT_EQ(Save(copy), Save(source));
}

TEST(TPNGObject, PixelAccess)
{
    // Grey 2-bit samples are read at the store's 4 bits: levels 0, 85, 170 and 255.
    TImage grey { 4, 1, 2, 0, 0, { 0, 1, 2, 3 } };
    TPNGObject png;
    Load(png, MakePng(grey));
    const TColor expectedGrey[] = { 0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF };
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(png.GetPixels(x, 0), expectedGrey[x]) << x;
    png.SetPixels(0, 0, 0xAAAAAA);
    EXPECT_EQ(png.GetPixels(0, 0), 0xAAAAAA);
    EXPECT_EQ(png.GetPixels(1, 0), 0x555555);

    TImage palette { 3, 1, 8, 3, 0, { 2, 0, 1 } };
    TPNGObject indexed;
    Load(indexed, MakePng(palette));
    // Entry i of the fixture palette is (7i, 255 - i, 13i + 5).
    EXPECT_EQ(indexed.GetPixels(0, 0), TColor(14 | (253 << 8) | (31 << 16)));
    indexed.SetPixels(1, 0, TColor(7 | (254 << 8) | (18 << 16)));
    EXPECT_EQ(indexed.GetScanline(0)[1], 1);

    TPNGObject rgb(2, 8, 3, 2);
    rgb.SetPixels(2, 1, 0x00332211);
    EXPECT_EQ(rgb.GetPixels(2, 1), 0x00332211);
    EXPECT_EQ(rgb.GetScanline(1)[6], 0x33);
    EXPECT_EQ(rgb.GetPixels(-1, 0), 0);
    rgb.SetPixels(3, 0, 0xFFFFFF);
    EXPECT_EQ(rgb.GetPixels(2, 0), 0);
    EXPECT_EQ(rgb.GetAlphaScanline(0), nullptr);
    rgb.CreateAlpha();
    EXPECT_EQ(rgb.GetAlphaScanline(0)[0], 255);
}

TEST(TPNGObject, Resize)
{
    std::vector<uint32_t> pixels(100);
    for (uint32_t i = 0; i < 100; ++i)
        pixels[i] = (i << 24) | (i * 2);
    auto png = Rgba(10, 10, pixels);
    png->Resize(20, 5);
    EXPECT_EQ(png->GetWidth(), 20);
    EXPECT_EQ(png->GetHeight(), 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 20; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            uint8_t alpha = png->GetAlphaScanline(y)[x];
            if (x < 10) {
                EXPECT_EQ(alpha, y * 10 + x);
                EXPECT_EQ(png->GetPixels(x, y), TColor(((y * 10 + x) * 2) << 16));
            } else {
                EXPECT_EQ(alpha, 255);
            }
        }
    }
    for (auto [cx, cy] : { std::pair { 0, 5 }, { 5, -1 }, { 65536, 1 } }) {
        try {
            png->Resize(cx, cy);
            ADD_FAILURE() << cx << "x" << cy;
        } catch (const EPNGInvalidNewSize& e) {
            EXPECT_EQ(e.Message(), EInvalidNewSize);
        }
    }
    // The resized picture saves and loads like any other.
    TPNGObject again;
    Load(again, Save(*png));
    EXPECT_EQ(again.GetAlphaScanline(4)[9], 49);
}

TEST(TPNGObject, TransparencyChanges)
{
    TPNGObject rgba(6, 8, 2, 2);
    EXPECT_EQ(rgba.GetTransparencyMode(), ptmPartial);
    try {
        rgba.SetTransparentColor(0xFF);
        ADD_FAILURE() << "set";
    } catch (const EPNGCannotChangeTransparent& e) {
        EXPECT_EQ(e.Message(), EPNGCannotChangeTransparentText);
    }
    rgba.RemoveTransparency();
    EXPECT_EQ(rgba.GetTransparencyMode(), ptmNone);
    EXPECT_EQ(ParseChunks(Save(rgba))[0].second[9], 2);

    TPNGObject rgb(2, 8, 2, 2);
    rgb.SetTransparentColor(0x00FF8000);
    EXPECT_EQ(Names(rgb), "IHDR,tRNS,IDAT,IEND");
    EXPECT_EQ(rgb.GetTransparencyMode(), ptmBit);
    EXPECT_EQ(rgb.GetTransparentColor(), 0x00FF8000);

    TPNGObject rgb16(2, 16, 2, 2);
    rgb16.SetTransparentColor(0x00FF8001);
    EXPECT_EQ(rgb16.GetTransparentColor(), 0x00FF8001);
    TPNGObject grey4(0, 4, 2, 2);
    grey4.SetTransparentColor(0x00888888);
    EXPECT_EQ(grey4.GetTransparentColor(), 0x00888888);

    TPNGObject palette(3, 8, 2, 2);
    uint32_t entry5 = 0;
    {
        const TPngPaletteEntry& e = palette.PngPalette()[5];
        entry5 = uint32_t(e.peRed) | (uint32_t(e.peGreen) << 8) | (uint32_t(e.peBlue) << 16);
    }
    palette.SetTransparentColor(TColor(entry5));
    EXPECT_EQ(palette.GetTransparencyMode(), ptmBit);
    EXPECT_EQ(palette.Chunks().Find<TChunktRNS>()->DataSize(), 6u);
    EXPECT_EQ(palette.GetTransparentColor(), TColor(entry5));
    // A colour the palette lacks leaves the transparency as it was.
    palette.SetTransparentColor(0x00010203);
    EXPECT_EQ(palette.GetTransparentColor(), TColor(entry5));
    palette.CreateAlpha();
    EXPECT_EQ(palette.GetTransparencyMode(), ptmPartial);
    EXPECT_EQ(palette.Chunks().Find<TChunktRNS>()->DataSize(), 256u);
    palette.RemoveTransparency();
    EXPECT_EQ(palette.GetTransparencyMode(), ptmNone);

    // Grey below 8 bits gains alpha as 8-bit grey with alpha, keeping its levels.
    TPNGObject grey1(0, 1, 3, 1);
    grey1.SetPixels(1, 0, 0xFFFFFF);
    grey1.CreateAlpha();
    EXPECT_EQ(grey1.Header()->IHDRData.ColorType, COLOR_GRAYSCALEALPHA);
    EXPECT_EQ(grey1.Header()->IHDRData.BitDepth, 8);
    EXPECT_EQ(grey1.GetPixels(1, 0), 0xFFFFFF);
    EXPECT_EQ(grey1.GetPixels(0, 0), 0);
    EXPECT_EQ(grey1.GetAlphaScanline(0)[2], 255);
    TPNGObject again;
    EXPECT_NO_THROW(Load(again, Save(grey1)));
}

TEST(TPNGObject, DrawingWithEachTransparencyMode)
{
    // Opaque: a plain copy, stretched by repeating pixels.
    TPNGObject rgb(2, 8, 2, 2);
    rgb.SetPixels(0, 0, 0x0000FF);
    rgb.SetPixels(1, 0, 0x00FF00);
    rgb.SetPixels(0, 1, 0xFF0000);
    rgb.SetPixels(1, 1, 0xFFFFFF);
    TBitmap32 canvas;
    Fill(canvas, 6, 6, 0xFF000000);
    rgb.Draw(canvas, TRect { 1, 1, 5, 5 });
    EXPECT_EQ(Rgb(canvas, 0, 0), 0u);
    EXPECT_EQ(Rgb(canvas, 1, 1), 0xFF0000u);
    EXPECT_EQ(Rgb(canvas, 2, 2), 0xFF0000u);
    EXPECT_EQ(Rgb(canvas, 3, 1), 0x00FF00u);
    EXPECT_EQ(Rgb(canvas, 4, 4), 0xFFFFFFu);
    EXPECT_EQ(Rgb(canvas, 5, 5), 0u);

    // Bit transparency: pixels of exactly the key colour show the canvas.
    rgb.SetTransparentColor(0x00FF00);
    TBitmap32 red;
    Fill(red, 2, 2, 0xFFFF0000);
    rgb.Draw(red, TRect { 0, 0, 2, 2 });
    EXPECT_EQ(Rgb(red, 0, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(red, 1, 0), 0xFF0000u);
    EXPECT_EQ(Rgb(red, 0, 1), 0x0000FFu);

    // A palette picture with one transparent entry is colour-keyed by it; with 0 and 128 it blends.
    TImage indices { 2, 1, 8, 3, 0, { 0, 1 } };
    TPNGObject keyed;
    Load(keyed, MakePng(indices, Chunk("tRNS", std::string("\x00\xFF", 2))));
    EXPECT_EQ(keyed.GetTransparencyMode(), ptmBit);
    TBitmap32 white;
    Fill(white, 2, 1, 0xFFFFFFFF);
    keyed.Draw(white, TRect { 0, 0, 2, 1 });
    EXPECT_EQ(Rgb(white, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(white, 1, 0), uint32_t((7 << 16) | (254 << 8) | 18));
    TPNGObject blended;
    Load(blended, MakePng(indices, Chunk("tRNS", std::string("\x00\x80", 2))));
    EXPECT_EQ(blended.GetTransparencyMode(), ptmPartial);
    Fill(white, 2, 1, 0xFFFFFFFF);
    blended.Draw(white, TRect { 0, 0, 2, 1 });
    EXPECT_EQ(Rgb(white, 0, 0), 0xFFFFFFu);
    auto blend = [](uint32_t c, uint32_t a, uint32_t d) { return (c * a + 255 + d * (255 - a)) >> 8; };
    EXPECT_EQ(Rgb(white, 1, 0), (blend(7, 128, 255) << 16) | (blend(254, 128, 255) << 8) | blend(18, 128, 255));

    // After CreateAlpha a palette picture draws like a plain copy.
    TPNGObject plain;
    Load(plain, MakePng(indices));
    TBitmap32 first, second;
    Fill(first, 2, 1, 0xFF000000);
    Fill(second, 2, 1, 0xFF000000);
    plain.Draw(first, TRect { 0, 0, 2, 1 });
    plain.CreateAlpha();
    EXPECT_EQ(plain.GetTransparencyMode(), ptmPartial);
    plain.Draw(second, TRect { 0, 0, 2, 1 });
    EXPECT_EQ(Rgb(first, 0, 0), Rgb(second, 0, 0));
    EXPECT_EQ(Rgb(first, 1, 0), Rgb(second, 1, 0));
}

TEST(TPNGObject, PartialTransparencyBlend)
{
    // Alpha 128 red over white: red (255 x 128 + 255 + 255 x 127) shr 8 = 255, green and blue 127.
    auto png = Rgba(1, 1, { 0x80FF0000 });
    TBitmap32 white;
    Fill(white, 1, 1, 0xFFFFFFFF);
    png->Draw(white, TRect { 0, 0, 1, 1 });
    EXPECT_EQ(Rgb(white, 0, 0), 0xFF7F7Fu);

    // 10 x 10 into 20 x 20 repeats each pixel over a 2 x 2 block, also when the rectangle is given reversed.
    std::vector<uint32_t> pixels(100);
    for (uint32_t i = 0; i < 100; ++i)
        pixels[i] = 0xFF000000 | (i * 2);
    auto big = Rgba(10, 10, pixels);
    for (TRect rect : { TRect { 0, 0, 20, 20 }, TRect { 20, 20, 0, 0 } }) {
        TBitmap32 canvas;
        Fill(canvas, 20, 20, 0xFF000000);
        big->Draw(canvas, rect);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(Rgb(canvas, x, y), uint32_t(((y / 2) * 10 + x / 2) * 2)) << x << "," << y;
        }
    }

    // Fully transparent pixels leave the canvas, and a rectangle partly outside it is clipped.
    auto clear = Rgba(2, 2, { 0, 0xFF0000FF, 0, 0 });
    TBitmap32 canvas;
    Fill(canvas, 2, 2, 0xFF00FF00);
    clear->Draw(canvas, TRect { -1, 0, 1, 2 });
    EXPECT_EQ(Rgb(canvas, 0, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(canvas, 1, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(canvas, 0, 1), 0x00FF00u);
}

TEST(TPNGObject, DrawUsingPixelInformation)
{
    struct Case {
        uint32_t PerMetre;
        int Expected;
    };
    const Case kCases[] = { { 3780, 99 }, { 0, 100 }, { 1890, 199 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.PerMetre);
        TPNGObject png(2, 8, 100, 100);
        EXPECT_FALSE(png.HasPixelInformation());
        TChunkpHYs* phys = png.GetPixelInformation();
        EXPECT_EQ(phys->UnitType, utMeter);
        EXPECT_EQ(Names(png), "IHDR,pHYs,IDAT,IEND");
        phys->PPUnitX = phys->PPUnitY = c.PerMetre;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x)
                png.SetPixels(x, y, 0xFFFFFF);
        }
        TBitmap32 canvas;
        Fill(canvas, 250, 250, 0xFF000000);
        png.DrawUsingPixelInformation(canvas, TPoint { 0, 0 });
        EXPECT_EQ(Rgb(canvas, c.Expected - 1, c.Expected - 1), 0xFFFFFFu);
        EXPECT_EQ(Rgb(canvas, c.Expected, 0), 0u);
        EXPECT_EQ(Rgb(canvas, 0, c.Expected), 0u);
    }
}

TEST(TPNGObject, FilesOnDisk)
{
    std::string folder = (std::filesystem::temp_directory_path() / "TPNGObjectTest.XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    std::string path = folder + "/picture.png";
    TPNGObject png(6, 8, 3, 3);
    png.SetPixels(1, 1, 0x00123456);
    png.SaveToFile(path);
    TPNGObject again;
    again.LoadFromFile(path);
    EXPECT_EQ(again.GetPixels(1, 1), 0x00123456);
    EXPECT_EQ(TPNGObject::GetLibraryVersion(), "1.564");
    std::filesystem::remove_all(folder);
}
