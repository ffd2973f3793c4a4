#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TPicture.h"
#include "imaging/TBitmap32.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<TColor32> Pixels(const TBitmap32& b)
{
    if (b.Empty())
        return {};
    return std::vector<TColor32>(b.Bits(), b.Bits() + size_t(b.Width()) * size_t(b.Height()));
}

// Pixels with every byte different, alpha included, so a lost or swapped byte shows.
void Pattern(TBitmap32& b)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, TColor32(((x * 37 + y * 11) & 0xFF) << 24 | (x * 5 + 1) << 16 | (y * 7 + 2) << 8 | 3));
}

// The bounding box of the pixels whose colour bytes differ from `background`; empty when none do.
TRect Ink(const TBitmap32& b, TColor32 background)
{
    TRect r { b.Width(), b.Height(), 0, 0 };
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if ((b.Pixel(x, y) ^ background) & 0xFFFFFF) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r;
}

bool IsEmpty(const TRect& r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

// A bitmap with a known scalable font, cleared to opaque black, text in white.
void PrepareForText(TBitmap32& b, int width, int height)
{
    b.SetSize(width, height);
    b.Clear(0xFF000000);
    b.Font()->SetName("DejaVu Sans");
    b.Font()->SetHeight(-16);
    b.Font()->SetColor(clWhite);
}

// A folder of its own under the system's temporary folder, removed at the end.
class TTempFolder {
public:
    TTempFolder()
    {
        Path = std::filesystem::temp_directory_path()
            / ("TBitmap32CanvasTest-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Path);
    }
    ~TTempFolder() { std::filesystem::remove_all(Path); }
    std::filesystem::path Path;
};

} // namespace

TEST(TBitmap32Canvas, PixelsAreTheDibSectionsMemory)
{
    TBitmap32 b;
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(b.DibSection(), nullptr);
    b.SetSize(7, 3);
    ASSERT_NE(b.Handle(), nullptr);
    ASSERT_NE(b.DibSection(), nullptr);
    BITMAP info {};
    ASSERT_NE(GetObject(b.DibSection(), sizeof(info), &info), 0);
    EXPECT_EQ(info.bmBits, b.Bits());
    EXPECT_EQ(info.bmWidth, 7);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_EQ(GetCurrentObject(b.Handle(), OBJ_BITMAP), b.DibSection());
    EXPECT_EQ(b.BitmapInfo().bmiHeader.biHeight, -3);

    b.SetSize(0, 3);
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(b.DibSection(), nullptr);
    EXPECT_EQ(b.Bits(), nullptr);
}

TEST(TBitmap32Canvas, FailedStorageLeavesEmptyBitmapWithoutHandles)
{
    TBitmap32 b;
    b.SetSize(4, 4);
    int handles = 0;
    b.OnHandleChanged = [&](TObject*) { ++handles; };
    try {
        b.SetSize(100000, 100000);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(b.DibSection(), nullptr);
    EXPECT_EQ(handles, 1);
}

TEST(TBitmap32Canvas, CanvasDrawsIntoPixelsAndFollowsSizeChanges)
{
    TBitmap32 b;
    b.SetSize(6, 5);
    b.Clear(0xFF000000);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    TCanvas* canvas = b.Canvas();
    EXPECT_EQ(canvas, b.Canvas());
    EXPECT_TRUE(b.CanvasAllocated());
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(TRect { 1, 2, 4, 4 });
    EXPECT_GE(changes, 1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(b.Pixel(x, y) & 0xFFFFFF, inside ? 0xFF0000u : 0u);
        }
    // Read through the canvas what was written directly.
    b.SetPixel(5, 4, 0xFF123456);
    EXPECT_EQ(canvas->Pixels(5, 4), TColor(0x563412));

    // The same canvas draws into the new pixels after a size change, and refuses to draw while there are none.
    b.SetSize(3, 3);
    b.Clear(0xFF000000);
    canvas->FillRect(TRect { 0, 0, 1, 1 });
    EXPECT_EQ(b.Pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    b.SetSize(0, 0);
    EXPECT_THROW(canvas->FillRect(TRect { 0, 0, 1, 1 }), EInvalidOperation);

    b.DeleteCanvas();
    EXPECT_FALSE(b.CanvasAllocated());
}

TEST(TBitmap32Canvas, TextExtentMatchesTheFontsMetrics)
{
    TBitmap32 b;
    PrepareForText(b, 50, 30);
    const TSize extent = b.TextExtent("Hello");
    TEXTMETRIC metrics {};
    ASSERT_TRUE(GetTextMetrics(b.Handle(), &metrics));
    EXPECT_EQ(extent.cy, metrics.tmHeight);
    EXPECT_EQ(b.TextHeight("Hello"), metrics.tmHeight);
    EXPECT_GT(extent.cx, b.TextWidth("Hell"));
    EXPECT_EQ(b.TextExtent("").cx, 0);

    // An empty bitmap measures with the same font elsewhere.
    TBitmap32 empty;
    empty.SetFont(b.Font());
    EXPECT_EQ(empty.TextExtent("Hello"), extent);

    // A font change reaches the next measurement (the old handle was let go of first).
    b.Font()->SetHeight(-32);
    EXPECT_GT(b.TextHeight("Hello"), extent.cy);
    EXPECT_GT(b.TextWidth("Hello"), extent.cx);
}

TEST(TBitmap32Canvas, TextoutDrawsInsideTheMeasuredBox)
{
    struct Case {
        const char* name;
        int form; // 0: at a point, 1: clipped, 2: DrawText
    };
    const Case kCases[] = { { "point", 0 }, { "clipped", 1 }, { "rect", 2 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TBitmap32 b;
        PrepareForText(b, 80, 40);
        int changes = 0;
        b.OnChange = [&](TObject*) { ++changes; };
        const TSize extent = b.TextExtent("Hg");
        TRect box { 10, 5, 10 + extent.cx, 5 + extent.cy };
        if (c.form == 0) {
            b.Textout(10, 5, "Hg");
        } else if (c.form == 1) {
            box.Right = 10 + extent.cx / 2;
            b.Textout(10, 5, box, "Hg");
        } else {
            // Centred in a larger rectangle: the text's box sits in the middle.
            const TRect rect { 0, 0, 80, 40 };
            b.Textout(rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE, "Hg");
            box = TRect { (80 - extent.cx) / 2, (40 - extent.cy) / 2, (80 - extent.cx) / 2 + extent.cx,
                (40 - extent.cy) / 2 + extent.cy };
        }
        EXPECT_EQ(changes, 1);
        const TRect ink = Ink(b, 0xFF000000);
        ASSERT_FALSE(IsEmpty(ink));
        // One pixel of slack for antialiasing at the edges of the advance box.
        EXPECT_GE(ink.Left, box.Left - 1);
        EXPECT_GE(ink.Top, box.Top);
        EXPECT_LE(ink.Right, box.Right + 1);
        EXPECT_LE(ink.Bottom, box.Bottom);
        // The background stays: the top left of the cell is above the capital's ink.
        EXPECT_EQ(b.Pixel(box.Left, box.Top), 0xFF000000u);
        if (c.form == 1) {
            EXPECT_LE(ink.Right, box.Right);
        }
    }
}

TEST(TBitmap32Canvas, TextoutAndCanvasShareTheDc)
{
    // Text of the bitmap's font and the canvas's own font in turn; each draws with its own colour.
    TBitmap32 b;
    PrepareForText(b, 60, 40);
    b.Font()->SetColor(clLime);
    b.Canvas()->Font()->SetColor(clRed);
    b.Canvas()->Brush()->SetStyle(bsClear);
    b.Canvas()->TextOut(0, 0, "W");
    b.Textout(0, 20, "W");
    b.Canvas()->TextOut(30, 0, "W");
    bool red = false, green = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const TColor32 p = b.Pixel(x, y) & 0xFFFFFF;
            if (p == 0)
                continue;
            if (y < 20) {
                EXPECT_EQ(p & 0x00FF00, 0u) << x << "," << y;
            } else {
                EXPECT_EQ(p & 0xFF0000, 0u) << x << "," << y;
            }
            red |= y < 20 && x >= 30;
            green |= y >= 20;
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(green);
}

TEST(TBitmap32Canvas, RenderTextBlendsAntialiasedText)
{
    struct Case {
        int level;
    };
    const Case kCases[] = { { 0 }, { 1 }, { 2 }, { 4 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.level);
        TBitmap32 b;
        PrepareForText(b, 90, 40);
        const TSize extent = b.TextExtent("Hg ");
        int changes = 0;
        b.OnChange = [&](TObject*) { ++changes; };
        b.RenderText(5, 3, "Hg", c.level, 0xFFFF0000);
        EXPECT_EQ(changes, 1);
        const TRect ink = Ink(b, 0xFF000000);
        ASSERT_FALSE(IsEmpty(ink));
        EXPECT_GE(ink.Left, 5);
        EXPECT_GE(ink.Top, 3);
        EXPECT_LE(ink.Right, 5 + extent.cx + 1);
        EXPECT_LE(ink.Bottom, 3 + extent.cy + 1);
        // Red text on black: only the red byte moves, and full coverage reaches full red somewhere.
        TColor32 brightest = 0;
        for (TColor32 p : Pixels(b)) {
            EXPECT_EQ(p & 0x00FFFF, 0u);
            brightest = std::max(brightest, p & 0xFF0000);
        }
        EXPECT_GE(brightest, 0xE00000u);
    }
}

TEST(TBitmap32Canvas, RenderTextLimitsLevelAndUsesAlpha)
{
    TBitmap32 a, b;
    PrepareForText(a, 90, 40);
    PrepareForText(b, 90, 40);
    a.RenderText(2, 2, "Ag", 4, 0xFFFFFFFF);
    b.RenderText(2, 2, "Ag", 7, 0xFFFFFFFF);
    EXPECT_EQ(Pixels(a), Pixels(b));

    // Alpha 0 draws nothing visible; an empty bitmap is left alone.
    TBitmap32 c;
    PrepareForText(c, 90, 40);
    const auto before = Pixels(c);
    c.RenderText(2, 2, "Ag", 2, 0x00FFFFFF);
    EXPECT_EQ(Pixels(c), before);
    TBitmap32 empty;
    empty.RenderText(0, 0, "Ag", 2, 0xFFFFFFFF);
    EXPECT_TRUE(empty.Empty());
}

TEST(TBitmap32Canvas, BmpRoundTripKeepsEveryByte)
{
    TBitmap32 b;
    b.SetSize(5, 3);
    Pattern(b);
    TMemoryStream stream;
    b.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap32 back;
    int changes = 0;
    back.OnChange = [&](TObject*) { ++changes; };
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Width(), 5);
    EXPECT_EQ(back.Height(), 3);
    EXPECT_EQ(Pixels(back), Pixels(b));
    // One from the assignment of the loaded picture, one from the load itself.
    EXPECT_EQ(changes, 2);

    TTempFolder folder;
    const std::string file = (folder.Path / "pattern.bmp").string();
    b.SaveToFile(file);
    TBitmap32 fromFile;
    fromFile.LoadFromFile(file);
    EXPECT_EQ(Pixels(fromFile), Pixels(b));
    EXPECT_TRUE(fromFile.Equal(&b));
}

TEST(TBitmap32Canvas, FailedLoadKeepsPixelsAndNotifies)
{
    TBitmap32 b;
    b.SetSize(2, 2);
    Pattern(b);
    const auto before = Pixels(b);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    TMemoryStream junk;
    junk.WriteBuffer("BMnot a bitmap at all", 21);
    junk.SetPosition(0);
    EXPECT_THROW(b.LoadFromStream(junk), EInvalidGraphic);
    EXPECT_EQ(Pixels(b), before);
    EXPECT_EQ(changes, 1);

    TTempFolder folder;
    EXPECT_THROW(b.LoadFromFile((folder.Path / "picture.xyz").string()), EInvalidGraphic);
    EXPECT_EQ(Pixels(b), before);
}

TEST(TBitmap32Canvas, AssignWithFrameworkBitmaps)
{
    TBitmap32 b;
    b.SetSize(4, 3);
    Pattern(b);

    // Out to a framework bitmap: 32 bits, alpha kept; and back.
    TBitmap bitmap;
    bitmap.Assign(&b);
    EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
    ASSERT_EQ(bitmap.Width(), 4);
    ASSERT_EQ(bitmap.Height(), 3);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(std::memcmp(bitmap.ScanLine(y), b.ScanLine(y), 4 * sizeof(TColor32)), 0) << y;
    TBitmap32 back;
    back.Assign(&bitmap);
    EXPECT_EQ(Pixels(back), Pixels(b));

    // A 24-bit bitmap has no alpha: every pixel comes out opaque, colours kept.
    TBitmap rgb;
    rgb.SetPixelFormat(pf24bit);
    rgb.SetSize(2, 2);
    rgb.Canvas()->Brush()->SetColor(TColor(0x336699));
    rgb.Canvas()->FillRect(TRect { 0, 0, 2, 2 });
    TBitmap32 opaque;
    opaque.Assign(&rgb);
    ASSERT_EQ(opaque.Width(), 2);
    for (TColor32 p : Pixels(opaque))
        EXPECT_EQ(p, 0xFF996633u);

    // SetSizeFrom takes a graphic's size.
    TBitmap32 sized;
    EXPECT_TRUE(sized.SetSizeFrom(&rgb));
    EXPECT_EQ(sized.Width(), 2);
    EXPECT_EQ(sized.Height(), 2);
}

TEST(TBitmap32Canvas, AssignWithPictures)
{
    TBitmap32 b;
    b.SetSize(3, 2);
    Pattern(b);
    TPicture picture;
    picture.Assign(&b);
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 3);
    TBitmap32 back;
    back.Assign(&picture);
    EXPECT_EQ(Pixels(back), Pixels(b));

    // A picture holding nothing empties the bitmap.
    TPicture nothing;
    back.Assign(&nothing);
    EXPECT_TRUE(back.Empty());
}

TEST(TBitmap32Canvas, DrawToDcCopiesWhateverTheDrawMode)
{
    TBitmap32 src;
    src.SetSize(2, 2);
    Pattern(src);
    src.SetDrawMode(dmBlend);
    src.SetMasterAlpha(10);
    TBitmap32 dst;
    dst.SetSize(6, 5);
    dst.Clear(0xFF000000);

    src.DrawTo(dst.Handle(), 3, 2);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const bool inside = x >= 3 && x < 5 && y >= 2 && y < 4;
            EXPECT_EQ(dst.Pixel(x, y), inside ? src.Pixel(x - 3, y - 2) : 0xFF000000u);
        }

    // Scaled: each source pixel becomes a 2 x 2 block.
    dst.Clear(0xFF000000);
    src.DrawTo(dst.Handle(), TRect { 1, 1, 5, 5 }, src.BoundsRect());
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x)
            EXPECT_EQ(dst.Pixel(x, y), src.Pixel((x - 1) / 2, (y - 1) / 2)) << x << "," << y;
    EXPECT_EQ(dst.Pixel(0, 0), 0xFF000000u);
}

TEST(TBitmap32Canvas, DrawFromDcCopiesAndNotifies)
{
    TBitmap32 src;
    src.SetSize(4, 4);
    Pattern(src);
    TBitmap32 dst;
    dst.SetSize(4, 4);
    dst.Clear(0);
    int changes = 0;
    dst.OnChange = [&](TObject*) { ++changes; };
    dst.Draw(TRect { 0, 0, 2, 2 }, TRect { 2, 2, 4, 4 }, src.Handle());
    EXPECT_EQ(changes, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(dst.Pixel(x, y), src.Pixel(x + 2, y + 2));
    EXPECT_EQ(dst.Pixel(3, 3), 0u);

    // An empty bitmap has nothing to draw into: no call, no notification.
    TBitmap32 empty;
    int emptyChanges = 0;
    empty.OnChange = [&](TObject*) { ++emptyChanges; };
    empty.Draw(TRect { 0, 0, 2, 2 }, TRect { 0, 0, 2, 2 }, src.Handle());
    EXPECT_EQ(emptyChanges, 0);
}

TEST(TBitmap32Canvas, TileToMatchesOneStretchAcrossTiles)
{
    // 2500 pixels wide: three tiles (1024, 1024, 452) that must join without a seam.
    TBitmap32 src;
    src.SetSize(7, 2);
    Pattern(src);
    const TRect dstRect { 3, 1, 2503, 11 };

    TBitmap32 tiled;
    tiled.SetSize(2510, 12);
    tiled.Clear(0xFF000000);
    src.TileTo(tiled.Handle(), dstRect, src.BoundsRect());

    TBitmap32 whole;
    whole.SetSize(2510, 12);
    whole.Clear(0xFF000000);
    src.DrawTo(&whole, dstRect, src.BoundsRect());
    EXPECT_EQ(Pixels(tiled), Pixels(whole));

    // An empty or inverted destination rectangle draws nothing.
    const auto before = Pixels(tiled);
    src.TileTo(tiled.Handle(), TRect { 5, 5, 5, 9 }, src.BoundsRect());
    src.TileTo(tiled.Handle(), TRect { 9, 5, 5, 9 }, src.BoundsRect());
    EXPECT_EQ(Pixels(tiled), before);
}
