// Drawing on the screen DC over the windows, text with tab stops, the installed font families and the device
// capabilities of the display.
#include "GdiTestSupport.h"
#include "PlatformTestSupport.h"

#include <map>
#include <set>
#include <string>

namespace {

class GdiScreen : public PlatformTest {
protected:
    void SetUp() override
    {
        InstallGdiDCProvider();
        PlatformTest::SetUp();
    }
};

uint32_t Inverted(uint32_t rgb)
{
    return ~rgb & 0xFFFFFF;
}

} // namespace

// A splitter's drag line: an inverted band drawn on the screen DC shows over every top-level window (and the
// desktop), follows nothing the windows do, and drawing it again takes it away exactly.
TEST_F(GdiScreen, InvertedDragLineShowsOverAllWindowsAndErasesItself)
{
    HWND back = CreateTop(RECT { 100, 100, 300, 300 });
    HWND front = CreateTop(RECT { 200, 150, 400, 350 });
    Pump();
    const uint32_t desktop = Backend.ScreenPixel(50, 200);
    const uint32_t backColor = Backend.ScreenPixel(150, 200);
    const uint32_t frontColor = Backend.ScreenPixel(250, 200);

    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(PatBlt(screen, 0, 198, 1024, 4, DSTINVERT));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(Backend.ScreenPixel(50, 200), Inverted(desktop));
    EXPECT_EQ(Backend.ScreenPixel(150, 200), Inverted(backColor));
    EXPECT_EQ(Backend.ScreenPixel(250, 200), Inverted(frontColor));
    EXPECT_EQ(Backend.ScreenPixel(250, 197), frontColor) << "only the band";
    // The windows' own pictures are untouched.
    EXPECT_EQ(Backend.WindowPixel(front, 50, 50), frontColor);

    // The second line, through an R2_NOT pen on the desktop window's DC, erases the first.
    screen = GetDCEx(GetDesktopWindow(), nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    ASSERT_NE(screen, nullptr);
    SetROP2(screen, R2_NOT);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(screen, pen);
    for (int y = 198; y < 202; ++y) {
        MoveToEx(screen, 0, y, nullptr);
        LineTo(screen, 1024, y);
    }
    SelectObject(screen, old);
    DeleteObject(pen);
    ReleaseDC(GetDesktopWindow(), screen);
    EXPECT_EQ(Backend.ScreenPixel(50, 200), desktop);
    EXPECT_EQ(Backend.ScreenPixel(150, 200), backColor);
    EXPECT_EQ(Backend.ScreenPixel(250, 200), frontColor);
    DestroyWindow(front);
    DestroyWindow(back);
}

// GetDCEx clips to a region or outside it, in the DC's coordinates.
TEST_F(GdiScreen, GetDCExClipsToOrOutsideARegion)
{
    HWND top = CreateTop(RECT { 100, 100, 200, 200 });
    Pump();
    const uint32_t background = Backend.WindowPixel(top, 50, 50);
    HRGN region = CreateRectRgn(10, 10, 20, 20);
    for (DWORD mode : { DCX_INTERSECTRGN, DCX_EXCLUDERGN }) {
        SCOPED_TRACE(mode);
        HDC dc = GetDCEx(top, region, mode);
        ASSERT_NE(dc, nullptr);
        const RECT all { 0, 0, 100, 100 };
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(top, dc);
        EXPECT_EQ(Backend.WindowPixel(top, 15, 15), mode == DCX_INTERSECTRGN ? 0u : background);
        EXPECT_EQ(Backend.WindowPixel(top, 50, 50), mode == DCX_INTERSECTRGN ? background : 0u);
        InvalidateRect(top, nullptr, TRUE);
        Pump();
    }
    EXPECT_EQ(GetDCEx(top, nullptr, DCX_INTERSECTRGN), nullptr);
    DeleteObject(region);
    DestroyWindow(top);
}

// Tabs jump to the stops from the tab origin, every given width with one stop, or every eight average widths
// with none; the extent is what drawing covers.
TEST_F(GdiScreen, TabbedTextJumpsToTheStops)
{
    TTestCanvas canvas(400, 40);
    HFONT font = CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
    HGDIOBJ old = SelectObject(canvas.Dc, font);
    SIZE b {};
    GetTextExtentPoint32(canvas.Dc, "b", 1, &b);
    TEXTMETRIC tm {};
    GetTextMetrics(canvas.Dc, &tm);
    struct Case {
        const char* Name;
        std::vector<int> Stops;
        int Origin;
        int Expected; // where "b" starts
    };
    const Case cases[] = {
        { "given stops", { 50, 120 }, 0, 50 },
        { "stops from the origin", { 50, 120 }, 30, 80 },
        { "one stop repeats", { 40 }, 0, 40 },
        { "default every eight average widths", {}, 0, 8 * tm.tmAveCharWidth },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const DWORD extent = GetTabbedTextExtent(
            canvas.Dc, "a\tb", 3, int(c.Stops.size()), c.Stops.empty() ? nullptr : c.Stops.data());
        if (c.Origin == 0) {
            EXPECT_EQ(int(LOWORD(extent)), c.Expected + b.cx);
        }
        EXPECT_EQ(int(HIWORD(extent)), tm.tmHeight);
        canvas.Fill(RGB(255, 255, 255));
        const LONG drawn = TabbedTextOut(canvas.Dc, 0, 0, "a\tb", 3, int(c.Stops.size()),
            c.Stops.empty() ? nullptr : c.Stops.data(), c.Origin);
        EXPECT_EQ(int(LOWORD(drawn)), c.Expected + b.cx);
        // Nothing is drawn between the "a" and the stop.
        RECT gap = canvas.Ink(RGB(255, 255, 255));
        EXPECT_LT(gap.left, 10);
        EXPECT_GE(gap.right, c.Expected);
        EXPECT_LE(gap.right, c.Expected + b.cx + 1);
    }
    // Past the last stop, the regular stops take over.
    const int stops[] = { 20 };
    const int twoStops[] = { 20, 30 };
    EXPECT_EQ(int(LOWORD(GetTabbedTextExtent(canvas.Dc, "\t\t", 2, 2, twoStops))), 30);
    EXPECT_EQ(int(LOWORD(GetTabbedTextExtent(canvas.Dc, "\t\t", 2, 1, stops))), 40);
    EXPECT_EQ(GetTabbedTextExtent(canvas.Dc, "a\tb", 3, 2, nullptr), 0u);
    SelectObject(canvas.Dc, old);
    DeleteObject(font);
}

// The installed families: the fonts the program names are there with the right pitch, types and character set;
// one family lists its styles; a zero result stops; the screen's font list is filled from it.
TEST_F(GdiScreen, FontFamiliesComeFromFontconfig)
{
    struct TSeen {
        std::set<std::string> Families;
        std::map<std::string, LOGFONT> Fonts;
        std::map<std::string, DWORD> Types;
        std::map<std::string, TEXTMETRIC> Metrics;
        int Calls = 0;
    } seen;
    auto collect = [](const LOGFONT* font, const TEXTMETRIC* metrics, DWORD type, LPARAM param) {
        auto* s = reinterpret_cast<TSeen*>(param);
        ++s->Calls;
        s->Families.insert(font->lfFaceName);
        s->Fonts[font->lfFaceName] = *font;
        s->Types[font->lfFaceName] = type;
        s->Metrics[font->lfFaceName] = *metrics;
        return 1;
    };
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(EnumFontFamilies(screen, nullptr, collect, reinterpret_cast<LPARAM>(&seen)), 1);
    EXPECT_EQ(size_t(seen.Calls), seen.Families.size()) << "one entry per family";
    for (const char* name : { "DejaVu Sans", "DejaVu Sans Mono", "Liberation Sans", "Tahoma", "Marlett" }) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(seen.Families.count(name));
        EXPECT_EQ(seen.Types[name], TRUETYPE_FONTTYPE);
        EXPECT_TRUE(seen.Metrics[name].tmPitchAndFamily & TMPF_TRUETYPE);
    }
    EXPECT_EQ(seen.Fonts["DejaVu Sans Mono"].lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_FALSE(seen.Metrics["DejaVu Sans Mono"].tmPitchAndFamily & TMPF_FIXED_PITCH);
    EXPECT_EQ(seen.Fonts["DejaVu Sans"].lfPitchAndFamily & 3, VARIABLE_PITCH);
    EXPECT_EQ(seen.Fonts["Marlett"].lfCharSet, SYMBOL_CHARSET);
    EXPECT_EQ(seen.Fonts["DejaVu Sans"].lfCharSet, ANSI_CHARSET);

    // One family: its styles (DejaVu Sans has a bold and an oblique face at least).
    TSeen styles;
    EnumFontFamilies(screen, "dejavu sans", collect, reinterpret_cast<LPARAM>(&styles));
    EXPECT_GE(styles.Calls, 2);
    EXPECT_EQ(styles.Families, std::set<std::string> { "DejaVu Sans" });
    // By character set: the symbol faces only.
    TSeen symbols;
    LOGFONT wanted {};
    wanted.lfCharSet = SYMBOL_CHARSET;
    EnumFontFamiliesEx(screen, &wanted, collect, reinterpret_cast<LPARAM>(&symbols), 0);
    EXPECT_TRUE(symbols.Families.count("Marlett"));
    EXPECT_FALSE(symbols.Families.count("DejaVu Sans"));
    // A zero result stops at once.
    int calls = 0;
    EXPECT_EQ(EnumFontFamilies(screen, nullptr,
                  [](const LOGFONT*, const TEXTMETRIC*, DWORD, LPARAM param) {
                      ++*reinterpret_cast<int*>(param);
                      return 0;
                  },
                  reinterpret_cast<LPARAM>(&calls)),
        0);
    EXPECT_EQ(calls, 1);
    // The display's resolution.
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    ReleaseDC(nullptr, screen);
}
