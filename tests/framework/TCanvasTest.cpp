#include "framework/graphics/TCanvas.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "tests/framework/GraphicsTestSupport.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

// A 10x10 white 32-bit bitmap to draw on.
std::unique_ptr<TBitmap> WhiteBitmap(int width = 10, int height = 10)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width, height);
    return bitmap;
}

uint32_t At(TBitmap& bitmap, int x, int y)
{
    return PixelOf(bitmap, x, y);
}

constexpr uint32_t kWhite = static_cast<uint32_t>(clWhite);

} // namespace

TEST(TCanvas, ShapesUseThePenAndTheBrush)
{
    struct Probe {
        int X;
        int Y;
        TColor Color;
    };
    struct Case {
        const char* Name;
        std::function<void(TCanvas&)> Draw;
        std::vector<Probe> Probes;
    };
    const Case kCases[] = {
        { "FillRect takes the brush and leaves right and bottom out",
            [](TCanvas& c) {
                c.Brush()->SetColor(clRed);
                c.FillRect(Rect(1, 1, 4, 4));
            },
            { { 1, 1, clRed }, { 3, 3, clRed }, { 4, 4, clWhite }, { 0, 0, clWhite } } },
        { "Rectangle: pen outline, brush inside",
            [](TCanvas& c) {
                c.Pen()->SetColor(clBlue);
                c.Brush()->SetColor(clLime);
                c.Rectangle(1, 1, 6, 6);
            },
            { { 1, 1, clBlue }, { 5, 3, clBlue }, { 3, 3, clLime }, { 6, 6, clWhite } } },
        { "Rectangle with a clear brush keeps the inside",
            [](TCanvas& c) {
                c.Brush()->SetStyle(bsClear);
                c.Rectangle(1, 1, 6, 6);
            },
            { { 1, 1, clBlack }, { 3, 3, clWhite } } },
        { "LineTo leaves its end point out",
            [](TCanvas& c) {
                c.Pen()->SetColor(clRed);
                c.MoveTo(0, 2);
                c.LineTo(5, 2);
            },
            { { 0, 2, clRed }, { 4, 2, clRed }, { 5, 2, clWhite } } },
        { "a clear pen draws nothing",
            [](TCanvas& c) {
                c.Pen()->SetStyle(psClear);
                c.MoveTo(0, 2);
                c.LineTo(5, 2);
            },
            { { 2, 2, clWhite } } },
        { "XOR pen on white gives the inverse colour",
            [](TCanvas& c) {
                c.Pen()->SetColor(clRed);
                c.Pen()->SetMode(pmXor);
                c.MoveTo(0, 0);
                c.LineTo(3, 0);
            },
            { { 1, 0, static_cast<TColor>(0xFFFF00) } } },
        { "NOT pen inverts whatever is there",
            [](TCanvas& c) {
                c.Pen()->SetMode(pmNot);
                c.MoveTo(0, 0);
                c.LineTo(3, 0);
            },
            { { 1, 0, clBlack } } },
        { "Ellipse fills its middle",
            [](TCanvas& c) {
                c.Brush()->SetColor(clYellow);
                c.Pen()->SetColor(clYellow);
                c.Ellipse(0, 0, 10, 10);
            },
            { { 5, 5, clYellow }, { 0, 0, clWhite }, { 9, 9, clWhite } } },
        { "RoundRect fills its middle and rounds its corners",
            [](TCanvas& c) {
                c.Brush()->SetColor(clNavy);
                c.RoundRect(0, 0, 10, 10, 6, 6);
            },
            { { 5, 5, clNavy }, { 0, 0, clWhite } } },
        { "Polygon fills, Polyline only outlines",
            [](TCanvas& c) {
                c.Brush()->SetColor(clRed);
                const TPoint triangle[] = { { 0, 0 }, { 8, 0 }, { 0, 8 } };
                c.Polygon(triangle);
                c.Pen()->SetColor(clBlue);
                const TPoint line[] = { { 0, 9 }, { 9, 9 } };
                c.Polyline(line);
            },
            { { 2, 2, clRed }, { 8, 8, clWhite }, { 5, 9, clBlue } } },
        { "FrameRect draws a one-pixel border with the brush",
            [](TCanvas& c) {
                c.Brush()->SetColor(clGreen);
                c.FrameRect(Rect(2, 2, 7, 7));
            },
            { { 2, 2, clGreen }, { 6, 6, clGreen }, { 4, 4, clWhite } } },
        { "Pixels take a system colour through the colour table", [](TCanvas& c) { c.SetPixels(3, 3, clBtnFace); },
            { { 3, 3, ColorToRGB(clBtnFace) } } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        auto bitmap = WhiteBitmap();
        c.Draw(*bitmap->Canvas());
        for (const Probe& p : c.Probes)
            EXPECT_EQ(At(*bitmap, p.X, p.Y), static_cast<uint32_t>(p.Color)) << p.X << "," << p.Y;
    }
}

TEST(TCanvas, CopyRectScalesAndMirrors)
{
    auto source = WhiteBitmap(2, 1);
    source->Canvas()->SetPixels(0, 0, clRed);
    source->Canvas()->SetPixels(1, 0, clBlue);
    auto dest = WhiteBitmap(4, 1);
    dest->Canvas()->CopyRect(Rect(0, 0, 4, 1), source->Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(At(*dest, 1, 0), static_cast<uint32_t>(clRed));
    EXPECT_EQ(At(*dest, 2, 0), static_cast<uint32_t>(clBlue));
    // A negative width mirrors.
    dest->Canvas()->CopyRect(Rect(4, 0, 0, 1), source->Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(At(*dest, 0, 0), static_cast<uint32_t>(clBlue));
    EXPECT_EQ(At(*dest, 3, 0), static_cast<uint32_t>(clRed));
    // CopyMode applies: SRCINVERT of red onto red gives black.
    dest->Canvas()->SetCopyMode(cmSrcInvert);
    dest->Canvas()->CopyRect(Rect(3, 0, 4, 1), source->Canvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(At(*dest, 3, 0), static_cast<uint32_t>(clBlack));
}

TEST(TCanvas, DrawAndStretchDrawPutAGraphic)
{
    auto picture = WhiteBitmap(2, 2);
    picture->Canvas()->SetPixels(0, 0, clRed);
    auto dest = WhiteBitmap(6, 6);
    dest->Canvas()->Draw(1, 1, picture.get());
    EXPECT_EQ(At(*dest, 1, 1), static_cast<uint32_t>(clRed));
    EXPECT_EQ(At(*dest, 2, 1), kWhite);
    dest->Canvas()->StretchDraw(Rect(2, 2, 6, 6), picture.get());
    EXPECT_EQ(At(*dest, 3, 3), static_cast<uint32_t>(clRed));
    EXPECT_EQ(At(*dest, 4, 4), kWhite);
    // Nothing to draw is no error.
    dest->Canvas()->Draw(0, 0, nullptr);
    TBitmap empty;
    dest->Canvas()->Draw(0, 0, &empty);
}

TEST(TCanvas, TextFollowsTheFontAndItsMetrics)
{
    auto bitmap = WhiteBitmap(200, 40);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-16);
    TSize extent = canvas->TextExtent("Hello");
    // The canvas measures with the GDI's own numbers for the font it selected.
    SIZE direct {};
    ASSERT_TRUE(GetTextExtentPoint32(canvas->Handle(), "Hello", 5, &direct));
    EXPECT_EQ(extent.cx, direct.cx);
    EXPECT_EQ(extent.cy, direct.cy);
    TEXTMETRIC metrics {};
    ASSERT_TRUE(GetTextMetrics(canvas->Handle(), &metrics));
    EXPECT_EQ(canvas->TextHeight("Hello"), metrics.tmHeight);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 16);
    EXPECT_GT(canvas->TextWidth("Hello Hello"), extent.cx);

    // A bigger font is measured anew once changed.
    canvas->Font()->SetHeight(-32);
    EXPECT_GT(canvas->TextHeight("Hello"), extent.cy);
    canvas->Font()->SetHeight(-16);

    // TextOut paints in the font's colour inside the text's box and moves the pen to its end.
    canvas->Font()->SetColor(clRed);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(10, 5, "Hello");
    EXPECT_EQ(canvas->PenPos().X, 10 + extent.cx);
    int red = 0;
    int outside = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            uint32_t p = At(*bitmap, x, y);
            bool inBox = x >= 10 && x < 10 + extent.cx && y >= 5 && y < 5 + extent.cy;
            if (p == static_cast<uint32_t>(clRed))
                ++red;
            if (p != kWhite && !inBox)
                ++outside;
        }
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(outside, 0);
}

TEST(TCanvas, TextRectClipsAndFillsWithTheBrush)
{
    auto bitmap = WhiteBitmap(100, 30);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-14);
    canvas->Font()->SetColor(clBlack);
    canvas->Brush()->SetColor(clYellow);
    const TRect clip = Rect(5, 5, 25, 20);
    canvas->TextRect(clip, 5, 5, "Clipped text that is far too long");
    int dark = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            uint32_t p = At(*bitmap, x, y);
            bool inside = x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom;
            if (!inside)
                EXPECT_EQ(p, kWhite) << x << "," << y;
            else if (p != static_cast<uint32_t>(clYellow))
                ++dark;
        }
    }
    EXPECT_GT(dark, 0);
    // The brush filled the rectangle behind the text.
    EXPECT_EQ(At(*bitmap, 24, 19), static_cast<uint32_t>(clYellow));
}

TEST(TCanvas, CanvasWithoutDCRefusesToDraw)
{
    TCanvas canvas;
    EXPECT_FALSE(canvas.HandleAllocated());
    try {
        canvas.FillRect(Rect(0, 0, 1, 1));
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
    }
}

TEST(TCanvas, ForeignDCGetsItsStockObjectsBack)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.MoveTo(3, 4);
        canvas.TextExtent("x");
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.Font()->Handle());
        canvas.SetHandle(nullptr);
        EXPECT_NE(GetCurrentObject(dc, OBJ_FONT), canvas.Font()->Handle());
        // The pen position outlives the DC change.
        HDC other = CreateCompatibleDC(nullptr);
        canvas.SetHandle(other);
        EXPECT_EQ(canvas.PenPos(), (TPoint { 3, 4 }));
        canvas.SetHandle(nullptr);
        DeleteDC(other);
    }
    // The canvas and its font are gone; the DC holds only stock objects and frees cleanly.
    EXPECT_NE(GetCurrentObject(dc, OBJ_FONT), nullptr);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(TCanvas, ChangingToolsNeverLeaksHandles)
{
    auto bitmap = WhiteBitmap(20, 20);
    TCanvas* canvas = bitmap->Canvas();
    canvas->TextOut(0, 0, "warm");
    canvas->Rectangle(0, 0, 5, 5);
    const size_t objects = GdiObjectCount();
    for (int i = 0; i < 50; ++i) {
        canvas->Font()->SetHeight(-10 - i % 5);
        canvas->Pen()->SetColor(static_cast<TColor>(i));
        canvas->Brush()->SetColor(static_cast<TColor>(i * 3));
        canvas->TextOut(0, 0, "x");
        canvas->Rectangle(0, 0, 5, 5);
    }
    EXPECT_EQ(GdiObjectCount(), objects);
}

TEST(TCanvas, EveryDrawingCallIsAnnounced)
{
    auto bitmap = WhiteBitmap();
    TCanvas* canvas = bitmap->Canvas();
    std::vector<std::string> events;
    canvas->OnChanging = [&](TObject*) { events.push_back("changing"); };
    canvas->OnChange = [&](TObject*) { events.push_back("change"); };
    canvas->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(events, (std::vector<std::string> { "changing", "change" }));
    EXPECT_EQ(canvas->ClipRect(), Rect(0, 0, 10, 10));
}

TEST(TCanvas, LockKeepsOtherThreadsOut)
{
    TCanvas canvas;
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    bool triedWhileLocked = true;
    std::thread([&] { triedWhileLocked = canvas.TryLock(); }).join();
    EXPECT_FALSE(triedWhileLocked);

    std::mutex mutex;
    std::condition_variable waiting;
    bool started = false;
    bool acquired = false;
    std::thread other([&] {
        {
            std::lock_guard lock(mutex);
            started = true;
        }
        waiting.notify_one();
        canvas.Lock();
        acquired = true;
        canvas.Unlock();
    });
    {
        std::unique_lock lock(mutex);
        waiting.wait(lock, [&] { return started; });
    }
    canvas.Unlock();
    canvas.Unlock();
    other.join();
    EXPECT_TRUE(acquired);
    EXPECT_EQ(canvas.LockCount(), 0);
}
