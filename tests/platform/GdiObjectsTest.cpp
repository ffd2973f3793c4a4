#include "GdiTestSupport.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace {

using GdiObjects = GdiTest;

} // namespace

TEST_F(GdiObjects, DeletedAndStaleHandlesAreRefusedEverywhere)
{
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(pen && brush && dc);
    ASSERT_TRUE(DeleteObject(pen));
    ASSERT_TRUE(DeleteObject(brush));
    // A new object may reuse the slot; the old handle still fails.
    HPEN reuse = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(SelectObject(dc, pen), nullptr);
    EXPECT_EQ(SelectObject(dc, brush), nullptr);
    EXPECT_FALSE(DeleteObject(pen));
    LOGPEN log;
    EXPECT_EQ(GetObject(pen, sizeof log, &log), 0);
    ASSERT_TRUE(DeleteDC(dc));
    const RECT r { 0, 0, 5, 5 };
    // Every call on the deleted DC fails cleanly.
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
    EXPECT_FALSE(FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_FALSE(BitBlt(dc, 0, 0, 5, 5, dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(TextOut(dc, 0, 0, "x", 1));
    EXPECT_EQ(DrawText(dc, "x", 1, const_cast<RECT*>(&r), 0), 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(SaveDC(dc), 0);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    // Null handles and null records.
    EXPECT_EQ(SelectObject(nullptr, reuse), nullptr);
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(reuse)), nullptr);
    EXPECT_EQ(CreatePenIndirect(nullptr), nullptr);
    EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
    EXPECT_EQ(CreateBrushIndirect(nullptr), nullptr);
    EXPECT_FALSE(DeleteObject(nullptr));
    DeleteObject(reuse);
}

TEST_F(GdiObjects, ASelectedObjectIsDeletedWhenDeselected)
{
    TTestCanvas canvas(4, 4);
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    HGDIOBJ old = SelectObject(canvas.Dc, brush);
    // The DC still draws with it; the handle lives until the DC lets go.
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH);
    SelectObject(canvas.Dc, GetStockObject(NULL_PEN));
    EXPECT_TRUE(Rectangle(canvas.Dc, 0, 0, 3, 3));
    EXPECT_TRUE(canvas.Is(1, 1, RGB(10, 20, 30)));
    SelectObject(canvas.Dc, old);
    SelectObject(canvas.Dc, GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST_F(GdiObjects, ABitmapBelongsToOneDCAtATimeAndOutlivesItsDeletionWhileSelected)
{
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HGDIOBJ defaultBitmap = SelectObject(a, bitmap);
    ASSERT_NE(defaultBitmap, nullptr);
    EXPECT_EQ(GetObjectType(defaultBitmap), OBJ_BITMAP);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr) << "already selected into another DC";
    // Saved states hold it too.
    const int level = SaveDC(a);
    SelectObject(a, defaultBitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(GetObjectType(bitmap), OBJ_BITMAP);
    EXPECT_TRUE(RestoreDC(a, level));
    EXPECT_EQ(GetCurrentObject(a, OBJ_BITMAP), bitmap);
    EXPECT_TRUE(SetPixelV(a, 7, 7, RGB(1, 2, 3)));
    // Deleting the DC releases the last reference.
    EXPECT_TRUE(DeleteDC(a));
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    DeleteDC(b);
}

TEST_F(GdiObjects, StockObjectsAreSharedAndCannotBeDestroyed)
{
    struct Case {
        int Index;
        DWORD Type;
    };
    const Case kCases[] = {
        { WHITE_BRUSH, OBJ_BRUSH },
        { NULL_BRUSH, OBJ_BRUSH },
        { BLACK_PEN, OBJ_PEN },
        { NULL_PEN, OBJ_PEN },
        { SYSTEM_FONT, OBJ_FONT },
        { DEFAULT_GUI_FONT, OBJ_FONT },
        { DEFAULT_PALETTE, OBJ_PAL },
        { DC_BRUSH, OBJ_BRUSH },
        { DC_PEN, OBJ_PEN },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Index);
        HGDIOBJ object = GetStockObject(c.Index);
        EXPECT_EQ(object, GetStockObject(c.Index));
        EXPECT_EQ(GetObjectType(object), c.Type);
        EXPECT_TRUE(DeleteObject(object));
        EXPECT_EQ(GetObjectType(object), c.Type) << "still alive";
    }
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(1000), nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), GetSysColorBrush(COLOR_BTNFACE));
    LOGBRUSH log;
    ASSERT_EQ(GetObject(GetSysColorBrush(COLOR_BTNFACE), sizeof log, &log), int(sizeof log));
    EXPECT_EQ(log.lbColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetSysColorBrush(-3), nullptr);
    EXPECT_EQ(GetSysColorBrush(5000), nullptr);
}

TEST_F(GdiObjects, GetObjectReportsTheRecords)
{
    HPEN pen = CreatePen(PS_DOT, 1, RGB(9, 8, 7));
    LOGPEN lp {};
    ASSERT_EQ(GetObject(pen, sizeof lp, &lp), int(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, PS_DOT);
    EXPECT_EQ(lp.lopnColor, RGB(9, 8, 7));
    EXPECT_EQ(GetObject(pen, 0, nullptr), int(sizeof(LOGPEN)));
    EXPECT_EQ(GetObject(pen, sizeof lp - 1, &lp), 0) << "a buffer too small";
    // Wide pens draw solid only.
    HPEN wide = CreatePen(PS_DASH, 4, 0);
    ASSERT_EQ(GetObject(wide, sizeof lp, &lp), int(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, PS_SOLID);
    EXPECT_EQ(lp.lopnWidth.x, 4);

    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(1, 1, 1));
    LOGBRUSH lb {};
    ASSERT_EQ(GetObject(hatch, sizeof lb, &lb), int(sizeof lb));
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    EXPECT_EQ(lb.lbHatch, uintptr_t(HS_CROSS));

    LOGFONT lf {};
    lf.lfHeight = -17;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfEscapement = 900;
    std::strcpy(lf.lfFaceName, "Tahoma");
    HFONT font = CreateFontIndirect(&lf);
    LOGFONT back {};
    ASSERT_EQ(GetObject(font, sizeof back, &back), int(sizeof back));
    EXPECT_EQ(std::memcmp(&lf, &back, sizeof lf), 0);

    HBITMAP mono = CreateBitmap(13, 5, 1, 1, nullptr);
    BITMAP bm {};
    ASSERT_EQ(GetObject(mono, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 13);
    EXPECT_EQ(bm.bmHeight, 5);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2) << "device bitmaps pad rows to 2 bytes";
    EXPECT_EQ(bm.bmBits, nullptr);

    WORD entries = 0;
    ASSERT_EQ(GetObject(GetStockObject(DEFAULT_PALETTE), sizeof entries, &entries), int(sizeof entries));
    EXPECT_EQ(entries, 20);
    for (HGDIOBJ o : { HGDIOBJ(pen), HGDIOBJ(wide), HGDIOBJ(hatch), HGDIOBJ(font), HGDIOBJ(mono) })
        DeleteObject(o);
}

TEST_F(GdiObjects, BadCreationArgumentsFail)
{
    EXPECT_EQ(CreatePen(99, 1, 0), nullptr);
    EXPECT_EQ(CreatePen(PS_SOLID, -1, 0), nullptr);
    EXPECT_EQ(CreateHatchBrush(17, 0), nullptr);
    EXPECT_EQ(CreateHatchBrush(-1, 0), nullptr);
    EXPECT_EQ(CreatePatternBrush(nullptr), nullptr);
    LOGBRUSH solid { BS_SOLID, 0, 0 };
    EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_SOLID, 3, &solid, 0, nullptr), nullptr) << "cosmetic pens are 1 wide";
    EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &solid, 0, nullptr), nullptr);
    EXPECT_EQ(CreatePalette(nullptr), nullptr);
    LOGPALETTE bad { 0x200, 1, { { 0, 0, 0, 0 } } };
    EXPECT_EQ(CreatePalette(&bad), nullptr);
    LOGPALETTE empty { 0x300, 0, { { 0, 0, 0, 0 } } };
    EXPECT_EQ(CreatePalette(&empty), nullptr);
}

TEST_F(GdiObjects, SaveAndRestoreBringBackTheState)
{
    TTestCanvas canvas(4, 4);
    HDC dc = canvas.Dc;
    SetTextColor(dc, RGB(1, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetROP2(dc, R2_XORPEN);
    SetViewportOrgEx(dc, 5, 6, nullptr);
    const int first = SaveDC(dc);
    EXPECT_EQ(first, 1);
    SetTextColor(dc, RGB(2, 0, 0));
    SetBkMode(dc, OPAQUE);
    SetROP2(dc, R2_COPYPEN);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    IntersectClipRect(dc, 0, 0, 1, 1);
    EXPECT_EQ(SaveDC(dc), 2);
    SetTextColor(dc, RGB(3, 0, 0));
    EXPECT_EQ(SaveDC(dc), 3);
    // -1 is the latest save; a positive level drops those above it.
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetTextColor(dc), RGB(3, 0, 0));
    EXPECT_TRUE(RestoreDC(dc, first));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 0, 0));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetROP2(dc), R2_XORPEN);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 5);
    EXPECT_EQ(origin.y, 6);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, clip), 0) << "the clip came back too";
    DeleteObject(clip);
    for (int level : { 0, 1, -1, 5, -7 }) {
        SCOPED_TRACE(level);
        EXPECT_FALSE(RestoreDC(dc, level)) << "nothing saved any more";
    }
}

TEST_F(GdiObjects, ModesRejectUnknownValues)
{
    TTestCanvas canvas(2, 2);
    EXPECT_EQ(SetBkMode(canvas.Dc, 3), 0);
    EXPECT_EQ(SetROP2(canvas.Dc, 0), 0);
    EXPECT_EQ(SetROP2(canvas.Dc, 17), 0);
    EXPECT_EQ(SetPolyFillMode(canvas.Dc, 9), 0);
    EXPECT_EQ(SetStretchBltMode(canvas.Dc, 0), 0);
    EXPECT_EQ(SetMapMode(canvas.Dc, 2), 0);
    EXPECT_EQ(GetBkMode(canvas.Dc), OPAQUE);
    EXPECT_EQ(GetROP2(canvas.Dc), R2_COPYPEN);
    EXPECT_EQ(GetStretchBltMode(canvas.Dc), BLACKONWHITE);
}

TEST_F(GdiObjects, IndependentDCsDrawOnSeveralThreadsAtOnce)
{
    // Decoder threads fill preview bitmaps while the UI thread draws: each thread has its own DC and bitmap.
    std::vector<std::thread> threads;
    std::vector<int> ok(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &ok] {
            TTestCanvas canvas(64, 32);
            const COLORREF color = RGB(t * 40, 100, 200);
            HBRUSH brush = CreateSolidBrush(color);
            int good = 0;
            for (int i = 0; i < 50; ++i) {
                const RECT r { i % 10, 0, 64, 32 };
                FillRect(canvas.Dc, &r, brush);
                SIZE size {};
                GetTextExtentPoint32(canvas.Dc, "Preview", 7, &size);
                TextOut(canvas.Dc, 0, 0, "Preview", 7);
                good += size.cx > 0 ? 1 : 0;
            }
            DeleteObject(brush);
            ok[size_t(t)] = good == 50 && canvas.Is(63, 31, color);
        });
    for (std::thread& t : threads)
        t.join();
    for (int t = 0; t < 4; ++t)
        EXPECT_TRUE(ok[size_t(t)]) << t;
}

// A brush that several threads' DCs select, save and restore at once while it is deleted stays usable until the
// last of them lets it go, and is then gone (the sanitizer build checks it is freed once and not used after).
TEST_F(GdiObjects, ABrushSharedByThreadsGoesWithItsLastSelection)
{
    const COLORREF color = RGB(12, 34, 56);
    HBRUSH brush = CreateSolidBrush(color);
    std::atomic<int> started { 0 };
    std::vector<std::thread> threads;
    std::vector<int> ok(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            TTestCanvas canvas(8, 8);
            HGDIOBJ old = SelectObject(canvas.Dc, brush);
            ++started;
            int good = 0;
            for (int i = 0; i < 2000; ++i) {
                const int level = SaveDC(canvas.Dc);
                SelectObject(canvas.Dc, GetStockObject(WHITE_BRUSH));
                RestoreDC(canvas.Dc, level);
                good += PatBlt(canvas.Dc, 0, 0, 8, 8, PATCOPY) && canvas.Is(7, 7, color) ? 1 : 0;
            }
            SelectObject(canvas.Dc, old);
            ok[size_t(t)] = good == 2000;
        });
    while (started < 4)
        std::this_thread::yield();
    EXPECT_TRUE(DeleteObject(brush));
    for (std::thread& t : threads)
        t.join();
    for (int t = 0; t < 4; ++t)
        EXPECT_TRUE(ok[size_t(t)]) << t;
    EXPECT_EQ(GetObjectType(brush), 0u);
}

// A DC still alive when the process ends holds a stock palette among its selections; the object table must free
// the DC before what it selects, whatever their order in the table (the sanitizer build checks the exit).
TEST(GdiShutdown, ADCLeftAtExitGoesBeforeWhatItSelects)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HPALETTE palette = CreateHalftonePalette(dc);
    ASSERT_NE(palette, nullptr);
    SelectPalette(dc, palette, FALSE);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    // Neither is released: the exit that follows the test does it.
}
