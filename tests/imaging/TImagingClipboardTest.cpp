// Pictures through the clipboard: a PNG picture comes back unchanged, a TBitmap32 comes back with its colours
// (alpha 255, as a drawn picture), and the PNG picture's bitmap form.
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TClipboard.h"
#include "imaging/TBitmap32.h"
#include "imaging/TPNGObject.h"
#include "platform/win/Clipboard.h"
#include "tests/imaging/ImagingControlsTestSupport.h"

#include <vector>

namespace {

std::vector<uint8_t> Saved(TPNGObject& png)
{
    TMemoryStream stream;
    png.SaveToStream(stream);
    const auto* p = static_cast<const uint8_t*>(stream.Memory());
    return std::vector<uint8_t>(p, p + stream.Size());
}

} // namespace

TEST_F(ImagingControlsTest, APngCopiedToTheClipboardComesBackIdentical)
{
    RegisterPNGFormat();
    TPNGObject png(6, 8, 5, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            png.SetPixels(x, y, TColor(0x00102030 + x * 0x10 + y * 0x1000));
            png.GetAlphaScanline(y)[x] = uint8_t(x * 60);
        }
    png.AddtEXt("Title", "clipboard");
    Clipboard()->Assign(&png);
    EXPECT_TRUE(Clipboard()->HasFormat(TClipboard::PictureFormatOf(png)));

    TPNGObject pasted;
    pasted.Assign(Clipboard());
    EXPECT_EQ(Saved(pasted), Saved(png));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(pasted.GetPixels(x, y), png.GetPixels(x, y));
            EXPECT_EQ(pasted.GetAlphaScanline(y)[x], png.GetAlphaScanline(y)[x]);
        }
}

TEST_F(ImagingControlsTest, ABitmap32GoesThroughTheClipboardAsABitmap)
{
    TBitmap32 source;
    source.SetSize(3, 2);
    source.Clear(0x80123456);
    source.SetPixel(2, 1, 0xFF00FF00);
    Clipboard()->Assign(&source);
    TBitmap32 pasted;
    pasted.Assign(Clipboard());
    ASSERT_EQ(pasted.Width(), 3);
    ASSERT_EQ(pasted.Height(), 2);
    EXPECT_EQ(pasted.Pixel(0, 0), 0xFF123456u) << "colours kept, alpha reset";
    EXPECT_EQ(pasted.Pixel(2, 1), 0xFF00FF00u);

    Clipboard()->Clear();
    EXPECT_THROW(pasted.Assign(Clipboard()), EClipboardException);
}

TEST_F(ImagingControlsTest, ThePngPicturesBitmapFormRoundTripsItsColours)
{
    TPNGObject png(2, 8, 3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            png.SetPixels(x, y, TColor(0x00400000 + x * 0x40 + y * 0x4000));
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    png.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, TClipboard::PictureFormatOf(TBitmap()));
    EXPECT_EQ(palette, nullptr);
    TPNGObject back;
    back.LoadFromClipboardFormat(format, data, palette);
    GlobalFree(data);
    ASSERT_EQ(back.Width(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(back.GetPixels(x, y), png.GetPixels(x, y)) << x << "," << y;
}

TEST_F(ImagingControlsTest, ThePngPicturesCanvasPaintsIntoItsPixels)
{
    struct Case {
        uint32_t colorType, bitDepth;
    };
    for (const Case c : { Case { 2, 8 }, Case { 6, 8 }, Case { 3, 8 }, Case { 0, 8 } }) {
        TPNGObject png(c.colorType, c.bitDepth, 6, 4);
        TCanvas* canvas = png.Canvas();
        ASSERT_NE(canvas->Handle(), nullptr);
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(TRect { 1, 1, 3, 3 });
        EXPECT_EQ(png.GetPixels(1, 1), TColor(0x00FFFFFF)) << c.colorType;
        EXPECT_EQ(png.GetPixels(2, 2), TColor(0x00FFFFFF)) << c.colorType;
        EXPECT_EQ(png.GetPixels(3, 3), TColor(0)) << c.colorType;
        // What the store holds, the canvas reads.
        png.SetPixels(5, 0, clWhite);
        EXPECT_EQ(canvas->Pixels(5, 0), TColor(0x00FFFFFF)) << c.colorType;
    }
    // A resize gives the canvas the new rows; an empty picture has no handle to draw on.
    TPNGObject png(2, 8, 4, 4);
    png.Resize(8, 2);
    TCanvas* canvas = png.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect { 7, 1, 8, 2 });
    EXPECT_EQ(png.GetPixels(7, 1), TColor(0x00FFFFFF));
    png.Assign(nullptr);
    EXPECT_THROW(png.Canvas()->FillRect(TRect { 0, 0, 1, 1 }), Exception);
}
