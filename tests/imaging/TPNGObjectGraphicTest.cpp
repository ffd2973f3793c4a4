#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TPicture.h"
#include "imaging/TBitmap32.h"
#include "tests/imaging/PngTestSupport.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace PngTest;

namespace {

// A temp folder removed with everything in it.
struct TTempFolder {
    std::string Path;
    TTempFolder()
    {
        Path = (std::filesystem::temp_directory_path() / "TPNGObjectGraphicTest.XXXXXX").string();
        if (!mkdtemp(Path.data()))
            throw std::runtime_error("no temp folder");
    }
    ~TTempFolder() { std::filesystem::remove_all(Path); }
};

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// An RGB picture of the given colours (0x00BBGGRR), row by row from the top.
std::unique_ptr<TPNGObject> Rgb(int width, int height, const std::vector<TColor>& colors)
{
    auto png = std::make_unique<TPNGObject>(COLOR_RGB, 8, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            png->SetPixels(x, y, colors[size_t(y * width + x)]);
    return png;
}

// A bitmap of the given size filled with one colour.
std::unique_ptr<TBitmap> Filled(int width, int height, TColor color, TPixelFormat format = pf32bit)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(TRect { 0, 0, width, height });
    return bitmap;
}

// 0x00RRGGBB of a TBitmap32 pixel as the 0x00BBGGRR a canvas reports.
TColor AsColor(TColor32 pixel)
{
    return TColor(((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16));
}

const TImage kIndices { 3, 1, 8, 3, 0, { 0, 1, 2 } };

} // namespace

TEST(TPNGObjectGraphic, PictureLoadsPngFilesByExtension)
{
    RegisterPNGFormat();
    RegisterPNGFormat(); // a second registration replaces the first
    TGraphicClass found = TGraphicClass::Of<TBitmap>();
    ASSERT_TRUE(TPicture::FindExtension(".PNG", found));
    EXPECT_EQ(found.Type, std::type_index(typeid(TPNGObject)));
    int entries = 0;
    for (const TFileFormat& format : TPicture::FileFormats()) {
        if (format.Extension == "png") {
            ++entries;
            EXPECT_EQ(format.Description, "Portable Network Graphics");
        }
    }
    EXPECT_EQ(entries, 1);

    TTempFolder folder;
    auto source = Rgb(2, 1, { clRed, clLime });
    source->SaveToFile(folder.Path + "/x.png");
    source->SaveToFile(folder.Path + "/Upper.PNG");
    for (const char* name : { "/x.png", "/Upper.PNG" }) {
        SCOPED_TRACE(name);
        TPicture picture;
        picture.LoadFromFile(folder.Path + name);
        auto* png = dynamic_cast<TPNGObject*>(picture.Graphic());
        ASSERT_NE(png, nullptr);
        EXPECT_EQ(picture.Width(), 2);
        EXPECT_EQ(png->GetPixels(1, 0), clLime);
    }

    // A broken file raises and the picture keeps what it held.
    WriteFile(folder.Path + "/broken.png", Signature + "garbage");
    TPicture picture;
    picture.LoadFromFile(folder.Path + "/x.png");
    EXPECT_ANY_THROW(picture.LoadFromFile(folder.Path + "/broken.png"));
    ASSERT_NE(dynamic_cast<TPNGObject*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 2);
}

TEST(TPNGObjectGraphic, CanvasDrawingMatchesThePixelPathsForEveryMode)
{
    // Each picture is drawn on a TBitmap's canvas and, by the same paths without the GDI, into a TBitmap32 of the
    // same background; every pixel must agree, so the mask blit and the buffered blend do what the pixel code does.
    auto keyedRgb = [] {
        auto png = Rgb(2, 2, { clRed, clLime, 0x123456, clLime });
        png->SetTransparentColor(clLime);
        return png;
    };
    auto keyedPalette = [] {
        auto png = std::make_unique<TPNGObject>();
        Load(*png, MakePng(kIndices, Chunk("tRNS", std::string("\xFF\x00\xFF", 3))));
        return png;
    };
    auto blendedPalette = [] {
        auto png = std::make_unique<TPNGObject>();
        Load(*png, MakePng(kIndices, Chunk("tRNS", std::string("\x00\x80\xFF", 3))));
        return png;
    };
    auto rgba = [] {
        auto png = Rgb(2, 2, { clRed, clLime, 0x123456, clWhite });
        png->CreateAlpha();
        const uint8_t alpha[4] = { 0, 128, 255, 40 };
        for (int i = 0; i < 4; ++i)
            png->GetAlphaScanline(i / 2)[i % 2] = alpha[i];
        return png;
    };
    struct Case {
        const char* Name;
        std::function<std::unique_ptr<TPNGObject>()> Make;
        TPNGTransparencyMode Mode;
        TRect Rect;
    };
    const Case kCases[] = {
        { "opaque, stretched",
            [] {
                return Rgb(2, 2, { clRed, clLime, 0x123456, clWhite });
            },
            ptmNone, { 1, 1, 5, 5 } },
        { "opaque, reversed",
            [] {
                return Rgb(2, 2, { clRed, clLime, 0x123456, clWhite });
            },
            ptmNone, { 5, 5, 1, 1 } },
        { "rgb key, same size", keyedRgb, ptmBit, { 0, 0, 2, 2 } },
        // Whole factors only: for others the GDI's stretch picks its source pixels by their centres.
        { "rgb key, stretched and clipped", keyedRgb, ptmBit, { -2, 2, 4, 6 } },
        { "palette key", keyedPalette, ptmBit, { 1, 0, 7, 2 } },
        { "palette alpha", blendedPalette, ptmPartial, { 0, 0, 6, 1 } },
        { "rgba, stretched", rgba, ptmPartial, { 0, 0, 4, 4 } },
        { "rgba, reversed and clipped", rgba, ptmPartial, { 5, 4, -1, 0 } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        auto png = c.Make();
        ASSERT_EQ(png->GetTransparencyMode(), c.Mode);
        auto bitmap = Filled(6, 6, 0x2040C0);
        bitmap->Canvas()->StretchDraw(c.Rect, png.get());
        TBitmap32 pixels;
        pixels.SetSize(6, 6);
        pixels.Clear(0xFFC04020);
        png->Draw(pixels, c.Rect);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(bitmap->Canvas()->Pixels(x, y), AsColor(pixels.Pixel(x, y))) << x << "," << y;
    }
}

TEST(TPNGObjectGraphic, CanvasDrawingPixels)
{
    // Bit transparency: the key colour shows the red canvas, every other colour is copied.
    auto keyed = Rgb(2, 1, { clLime, 0x123456 });
    keyed->SetTransparentColor(clLime);
    auto red = Filled(2, 1, clRed);
    red->Canvas()->Draw(0, 0, keyed.get());
    EXPECT_EQ(red->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(red->Canvas()->Pixels(1, 0), 0x123456);

    // Partial transparency: alpha 128 red over white is (255, 127, 127); 0 keeps the canvas; 255 replaces it.
    auto rgba = Rgb(3, 1, { clRed, clRed, clRed });
    rgba->CreateAlpha();
    rgba->GetAlphaScanline(0)[0] = 128;
    rgba->GetAlphaScanline(0)[1] = 0;
    auto white = Filled(3, 1, clWhite);
    white->Canvas()->Draw(0, 0, rgba.get());
    EXPECT_EQ(white->Canvas()->Pixels(0, 0), TColor(0x7F7FFF));
    EXPECT_EQ(white->Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(white->Canvas()->Pixels(2, 0), clRed);

    // A 10 x 10 picture in 20 x 20 repeats each pixel over a 2 x 2 block, in the blend path too.
    auto big = std::make_unique<TPNGObject>(COLOR_RGBALPHA, 8, 10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            big->SetPixels(x, y, TColor(x * 20 + y));
            big->GetAlphaScanline(y)[x] = 255;
        }
    auto target = Filled(20, 20, clBlack);
    target->Canvas()->StretchDraw(TRect { 0, 0, 20, 20 }, big.get());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(target->Canvas()->Pixels(x, y), TColor((x / 2) * 20 + y / 2)) << x << "," << y;

    // The physical size from pHYs: 3780 pixels per metre on a 96 dpi screen draws 100 x 100 as 99 x 99.
    auto sized = std::make_unique<TPNGObject>(COLOR_RGB, 8, 100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            sized->SetPixels(x, y, clWhite);
    TChunkpHYs* phys = sized->GetPixelInformation();
    phys->PPUnitX = 3780;
    phys->PPUnitY = 3780;
    auto screen = Filled(101, 101, clBlack);
    sized->DrawUsingPixelInformation(screen->Canvas(), TPoint { 0, 0 });
    EXPECT_EQ(screen->Canvas()->Pixels(98, 98), clWhite);
    EXPECT_EQ(screen->Canvas()->Pixels(99, 0), clBlack);
    EXPECT_EQ(screen->Canvas()->Pixels(0, 99), clBlack);

    // An empty picture draws nothing and does not raise.
    TPNGObject empty;
    auto untouched = Filled(2, 2, clRed);
    untouched->Canvas()->StretchDraw(TRect { 0, 0, 2, 2 }, &empty);
    EXPECT_EQ(untouched->Canvas()->Pixels(1, 1), clRed);
}

TEST(TPNGObjectGraphic, AssignToBitmap)
{
    struct Case {
        const char* Name;
        uint8_t ColorType, Depth;
        std::string Between;
        TPixelFormat Format;
    };
    const Case kCases[] = {
        { "grey 1", 0, 1, "", pf1bit },
        { "palette 2", 3, 2, "", pf4bit },
        { "palette 4", 3, 4, "", pf4bit },
        { "palette 8", 3, 8, "", pf8bit },
        { "grey 16", 0, 16, "", pf24bit },
        { "rgb 8", 2, 8, "", pf24bit },
        { "palette 8 with alpha", 3, 8, Chunk("tRNS", std::string("\x00\x80", 2)), pf24bit },
        { "rgba 16", 6, 16, "", pf24bit },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TImage image = RandomImage(5, 3, c.ColorType, c.Depth, 0, 7, 4);
        TPNGObject png;
        Load(png, MakePng(image, c.Between));
        TBitmap bitmap;
        bitmap.Assign(&png);
        EXPECT_EQ(bitmap.PixelFormat(), c.Format);
        ASSERT_EQ(bitmap.Width(), 5);
        ASSERT_EQ(bitmap.Height(), 3);
        // The 4- and 8-bit bitmaps have colour tables of their own, which the drawn colours are matched to.
        if (png.GetTransparencyMode() == ptmNone && (c.Format == pf24bit || c.Format == pf1bit)) {
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x)
                    ASSERT_EQ(bitmap.Canvas()->Pixels(x, y), png.GetPixels(x, y)) << x << "," << y;
        }
    }

    // Bit transparency carries over as the bitmap's transparent colour.
    auto keyed = Rgb(2, 1, { clLime, clRed });
    keyed->SetTransparentColor(clLime);
    TBitmap bitmap;
    bitmap.Assign(keyed.get());
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_EQ(bitmap.TransparentMode(), tmFixed);
    EXPECT_EQ(bitmap.TransparentColor() & 0xFFFFFF, clLime); // the high byte marks a fixed colour

    // An empty picture cannot become a bitmap; the bitmap stays as it was.
    TPNGObject empty;
    EXPECT_THROW(bitmap.Assign(&empty), EConvertError);
    EXPECT_EQ(bitmap.Width(), 2);
}

TEST(TPNGObjectGraphic, AssignFromBitmap)
{
    // A deep bitmap becomes 8-bit RGB, a paletted one a palette picture of its depth with its colour table.
    struct Case {
        const char* Name;
        TPixelFormat Format;
        uint8_t ColorType, Depth;
        int PaletteCount;
    };
    const Case kCases[] = {
        { "32 bits", pf32bit, COLOR_RGB, 8, 0 },
        { "24 bits", pf24bit, COLOR_RGB, 8, 0 },
        { "device", pfDevice, COLOR_RGB, 8, 0 },
        { "8 bits", pf8bit, COLOR_PALETTE, 8, 256 },
        { "4 bits", pf4bit, COLOR_PALETTE, 4, 16 },
        { "1 bit", pf1bit, COLOR_PALETTE, 1, 2 },
    };
    TTempFolder folder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        auto bitmap = Filled(3, 2, clWhite, c.Format);
        bitmap->Canvas()->SetPixels(0, 0, clBlack);
        bitmap->Canvas()->SetPixels(2, 1, clBlack);
        if (c.Format != pf1bit)
            bitmap->Canvas()->SetPixels(1, 0, clRed);
        TPNGObject png;
        png.Assign(bitmap.get());
        ASSERT_EQ(png.GetWidth(), 3);
        ASSERT_EQ(png.GetHeight(), 2);
        EXPECT_EQ(png.Header()->IHDRData.ColorType, c.ColorType);
        EXPECT_EQ(png.Header()->IHDRData.BitDepth, c.Depth);
        auto* plte = png.Chunks().Find<TChunkPLTE>();
        EXPECT_EQ(plte ? plte->Count() : 0, c.PaletteCount);
        EXPECT_EQ(png.GetTransparencyMode(), ptmNone);
        // Saved and loaded again, the picture shows the bitmap's pixels.
        png.SaveToFile(folder.Path + "/copy.png");
        TPNGObject again;
        again.LoadFromFile(folder.Path + "/copy.png");
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                ASSERT_EQ(again.GetPixels(x, y), bitmap->Canvas()->Pixels(x, y)) << x << "," << y;
    }

    // A transparent bitmap gives a keyed picture; an empty one empties the picture.
    auto bitmap = Filled(2, 2, clLime, pf24bit);
    bitmap->Canvas()->SetPixels(0, 0, clRed);
    bitmap->SetTransparentColor(clLime);
    bitmap->SetTransparent(true);
    TPNGObject png;
    png.Assign(bitmap.get());
    EXPECT_EQ(png.GetTransparencyMode(), ptmBit);
    EXPECT_EQ(png.GetTransparentColor(), clLime);
    TBitmap none;
    png.Assign(&none);
    EXPECT_TRUE(png.Empty());
}
