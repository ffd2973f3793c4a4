#include "GdiTestSupport.h"

#include <algorithm>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A canvas with a font selected; the background mode is opaque in blue so each line's cell shows exactly.
class GdiDrawText : public GdiTest {
protected:
    void SetUp() override
    {
        GdiTest::SetUp();
        Canvas = std::make_unique<TTestCanvas>(200, 120);
        Font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        Old = SelectObject(Canvas->Dc, Font);
        SetBkColor(Canvas->Dc, kBlue);
        SetTextColor(Canvas->Dc, kBlack);
        GetTextMetrics(Canvas->Dc, &Tm);
    }
    void TearDown() override
    {
        SelectObject(Canvas->Dc, Old);
        DeleteObject(Font);
        Canvas.reset();
        GdiTest::TearDown();
    }
    int Width(const char* text) const
    {
        SIZE size {};
        GetTextExtentPoint32(Canvas->Dc, text, -1, &size);
        return size.cx;
    }
    HDC Dc() const { return Canvas->Dc; }

    std::unique_ptr<TTestCanvas> Canvas;
    HFONT Font = nullptr;
    HGDIOBJ Old = nullptr;
    TEXTMETRIC Tm {};
};

} // namespace

TEST_F(GdiDrawText, CalcRectMeasuresLinesWithTheFontsOwnMetrics)
{
    struct Case {
        const char* Name;
        const char* Text;
        UINT Format;
        int Lines;
        const char* Widest; // the line that sets the width, as measured alone
    };
    const Case kCases[] = {
        { "one line", "Hello", 0, 1, "Hello" },
        { "line breaks of every kind", "a\nbbbb\r\ncc\rd", 0, 4, "bbbb" },
        { "single line ignores breaks", "ab\ncd", DT_SINGLELINE, 1, "abcd" },
        { "prefix removed", "&File", 0, 1, "File" },
        { "double ampersand", "A&&B", 0, 1, "A&B" },
        { "no prefix", "&File", DT_NOPREFIX, 1, "&File" },
        { "trailing line break adds no line", "abc\n", 0, 1, "abc" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        RECT r { 10, 20, 10, 20 };
        const int height = DrawText(Dc(), c.Text, -1, &r, c.Format | DT_CALCRECT);
        EXPECT_EQ(height, c.Lines * Tm.tmHeight);
        EXPECT_EQ(r, (RECT { 10, 20, 10 + Width(c.Widest), 20 + c.Lines * Tm.tmHeight }));
        EXPECT_EQ(Canvas->Count(kWhite), 200 * 120) << "measuring draws nothing";
    }
    // An empty text measures nothing.
    RECT r { 10, 20, 50, 60 };
    EXPECT_EQ(DrawText(Dc(), "", -1, &r, DT_CALCRECT), 0);
    EXPECT_EQ(r, (RECT { 10, 20, 10, 20 }));
    // External leading is added per line when asked for.
    RECT lead { 0, 0, 0, 0 };
    EXPECT_EQ(
        DrawText(Dc(), "a\nb", -1, &lead, DT_CALCRECT | DT_EXTERNALLEADING), 2 * (Tm.tmHeight + Tm.tmExternalLeading));
}

TEST_F(GdiDrawText, WordBreakWrapsBetweenWordsAndKeepsLongWordsWhole)
{
    const int space = Width(" ");
    // Room for "alpha beta" but not for "alpha beta gamma".
    const int room = Width("alpha beta") + space;
    RECT r { 0, 0, room, 0 };
    EXPECT_EQ(DrawText(Dc(), "alpha beta gamma", -1, &r, DT_WORDBREAK | DT_CALCRECT), 2 * Tm.tmHeight);
    EXPECT_EQ(r.right, Width("alpha beta"));
    // Drawn: two cells, the second starting at the left edge.
    RECT draw { 0, 0, room, 100 };
    DrawText(Dc(), "alpha beta gamma", -1, &draw, DT_WORDBREAK);
    EXPECT_EQ(Canvas->BoxOf(kBlue).bottom, 2 * Tm.tmHeight);
    EXPECT_TRUE(Canvas->Is(1, Tm.tmHeight + 1, kBlue) || Canvas->Is(1, Tm.tmHeight + 1, kBlack));
    EXPECT_TRUE(Canvas->Is(Width("gamma") + 1, Tm.tmHeight + 1, kWhite)) << "the second line holds only gamma";
    // A word wider than the rectangle keeps its line whole.
    RECT narrow { 0, 0, 10, 0 };
    EXPECT_EQ(DrawText(Dc(), "unbreakable word", -1, &narrow, DT_WORDBREAK | DT_CALCRECT), 2 * Tm.tmHeight);
    EXPECT_EQ(narrow.right, Width("unbreakable"));
    // Explicit breaks still break, wrapped or not.
    RECT both { 0, 0, 1000, 0 };
    EXPECT_EQ(DrawText(Dc(), "one\ntwo", -1, &both, DT_WORDBREAK | DT_CALCRECT), 2 * Tm.tmHeight);
}

TEST_F(GdiDrawText, VerticalCentringNeedsSingleLine)
{
    enum TPlace { Top, Centre, Bottom };
    struct Case {
        const char* Name;
        UINT Format;
        TPlace Place;
        bool ReturnsOffset; // the offset to the text's bottom rather than its height
    };
    const Case kCases[] = {
        { "top", DT_SINGLELINE, Top, false },
        { "centred", DT_SINGLELINE | DT_VCENTER, Centre, true },
        { "bottom", DT_SINGLELINE | DT_BOTTOM, Bottom, true },
        // Without DT_SINGLELINE the flag does nothing: the text stays at the top.
        { "centre flag without single line", DT_VCENTER, Top, false },
        { "end ellipsis and centre, as the file list draws", DT_END_ELLIPSIS | DT_VCENTER, Top, false },
    };
    const int h = 100;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Canvas->Fill(kWhite);
        const int top = c.Place == Centre ? (h - Tm.tmHeight) / 2 : c.Place == Bottom ? h - Tm.tmHeight : 0;
        RECT r { 10, 10, 190, 10 + h };
        const int returned = DrawText(Dc(), "Centre me", -1, &r, c.Format);
        EXPECT_EQ(Canvas->BoxOf(kBlue).top, 10 + top);
        EXPECT_EQ(returned, c.ReturnsOffset ? top + Tm.tmHeight : Tm.tmHeight);
    }
}

TEST_F(GdiDrawText, HorizontalAlignmentPlacesEachLine)
{
    struct Case {
        const char* Name;
        UINT Format;
    };
    const Case kCases[] = { { "left", DT_LEFT }, { "centre", DT_CENTER }, { "right", DT_RIGHT } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Canvas->Fill(kWhite);
        RECT r { 20, 0, 180, 60 };
        DrawText(Dc(), "wide line\nab", -1, &r, c.Format);
        const int wide = Width("wide line");
        const int narrow = Width("ab");
        auto left = [&](int w) {
            return c.Format == DT_CENTER ? 20 + (160 - w) / 2 : c.Format == DT_RIGHT ? 180 - w : 20;
        };
        // The cell of each line: scan its middle row for blue or black.
        for (int line = 0; line < 2; ++line) {
            const int y = line * Tm.tmHeight + 1;
            int first = -1;
            int last = -1;
            for (int x = 0; x < 200; ++x)
                if (!Canvas->Is(x, y, kWhite)) {
                    first = first < 0 ? x : first;
                    last = x;
                }
            const int w = line == 0 ? wide : narrow;
            EXPECT_EQ(first, left(w)) << line;
            EXPECT_EQ(last + 1, left(w) + w) << line;
        }
    }
}

TEST_F(GdiDrawText, EllipsesShortenLinesThatDoNotFit)
{
    const char* text = "A rather long caption for a small button";
    const int room = Width("A rather long");
    RECT r { 0, 0, room, 0 };
    DrawText(Dc(), text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(r.right, room);
    EXPECT_GT(r.right, room - Width("long..."));
    // Drawn, the line ends in dots inside the rectangle.
    RECT draw { 0, 0, room, 20 };
    DrawText(Dc(), text, -1, &draw, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(Canvas->BoxOf(kBlue).right, room);
    // A path keeps its file name.
    Canvas->Fill(kWhite);
    const char* path = "/home/user/videos/holiday/2024/clip.mp4";
    RECT p { 0, 0, Width("/home/.../clip.mp4") + 2, 0 };
    DrawText(Dc(), path, -1, &p, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_CALCRECT);
    EXPECT_GE(p.right, Width(".../clip.mp4"));
    EXPECT_LE(p.right, Width("/home/.../clip.mp4") + 2);
    // Text that fits is left alone.
    RECT fits { 0, 0, 1000, 0 };
    DrawText(Dc(), text, -1, &fits, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_EQ(fits.right, Width(text));
}

TEST_F(GdiDrawText, PrefixesUnderlineTheirCharacter)
{
    SetBkMode(Dc(), TRANSPARENT);
    RECT r { 10, 10, 190, 40 };
    DrawText(Dc(), "&File", -1, &r, 0);
    // A black row under "F" only, below the baseline.
    const int f = Width("F");
    int row = -1;
    for (int y = 10 + Tm.tmAscent; y < 10 + Tm.tmHeight && row < 0; ++y) {
        bool full = true;
        for (int x = 10; x < 10 + f; ++x)
            full = full && Canvas->Is(x, y, kBlack);
        if (full)
            row = y;
    }
    ASSERT_GE(row, 0) << Canvas->Picture(RECT { 10, 10, 40, 10 + Tm.tmHeight }, kBlack);
    EXPECT_FALSE(Canvas->Is(10 + f + 2, row, kBlack) && Canvas->Is(10 + f + 3, row, kBlack)
        && Canvas->Is(10 + f + 4, row, kBlack))
        << "the underline stops after the marked character";
    // Hidden prefixes are removed without underline; the prefix-only form draws just the underline.
    Canvas->Fill(kWhite);
    DrawText(Dc(), "&File", -1, &r, DT_HIDEPREFIX);
    EXPECT_FALSE(Canvas->Is(10, row, kBlack) && Canvas->Is(11, row, kBlack) && Canvas->Is(12, row, kBlack));
    Canvas->Fill(kWhite);
    DrawText(Dc(), "&File", -1, &r, DT_PREFIXONLY);
    EXPECT_EQ(Canvas->BoxOf(kBlack), (RECT { 10, row, 10 + f, row + 1 }));
}

TEST_F(GdiDrawText, TabsExpandToStopsAndTextIsClippedUnlessNoClip)
{
    const int stop = 8 * Tm.tmAveCharWidth;
    RECT r { 0, 0, 0, 0 };
    DrawText(Dc(), "a\tb", -1, &r, DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(r.right, stop + Width("b"));
    // DT_TABSTOP takes the stop (in characters) from the second byte, so it cannot measure: draw and look.
    RECT four { 0, 0, 200, 20 };
    DrawText(Dc(), "a\tb", -1, &four, DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
    EXPECT_EQ(Canvas->BoxOf(kBlue).right, 4 * Tm.tmAveCharWidth + Width("b"));
    Canvas->Fill(kWhite);
    // Clipped to the rectangle by default.
    RECT small { 10, 10, 30, 20 };
    DrawText(Dc(), "Much too long for this", -1, &small, 0);
    EXPECT_EQ(Canvas->Ink(kWhite), small);
    Canvas->Fill(kWhite);
    DrawText(Dc(), "Much too long for this", -1, &small, DT_NOCLIP);
    EXPECT_EQ(Canvas->BoxOf(kBlue), (RECT { 10, 10, 10 + Width("Much too long for this"), 10 + Tm.tmHeight }));
}

TEST_F(GdiDrawText, WideTextMarginsAndBadInput)
{
    RECT a { 0, 0, 0, 0 };
    RECT w { 0, 0, 0, 0 };
    const WCHAR wide[] = { 'S', 'k', 'i', 'n', 0 };
    DrawText(Dc(), "Skin", -1, &a, DT_CALCRECT);
    DrawTextW(Dc(), wide, -1, &w, DT_CALCRECT);
    EXPECT_EQ(a, w);
    DRAWTEXTPARAMS params { sizeof(DRAWTEXTPARAMS), 0, 7, 3, 0 };
    RECT margins { 0, 0, 100, 20 };
    DrawTextEx(Dc(), "Skin", -1, &margins, DT_CALCRECT, &params);
    EXPECT_EQ(margins.right, 7 + Width("Skin") + 3);
    EXPECT_EQ(params.uiLengthDrawn, 4u);
    RECT drawn { 0, 0, 100, 20 };
    DrawTextEx(Dc(), "Skin", -1, &drawn, 0, &params);
    EXPECT_EQ(Canvas->BoxOf(kBlue).left, 7);
    DRAWTEXTPARAMS bad { 3, 0, 0, 0, 0 };
    EXPECT_EQ(DrawTextEx(Dc(), "Skin", -1, &drawn, 0, &bad), 0);
    EXPECT_EQ(DrawText(Dc(), nullptr, 3, &drawn, 0), 0);
    EXPECT_EQ(DrawText(Dc(), "x", 1, nullptr, 0), 0);
    EXPECT_EQ(DrawText(nullptr, "x", 1, &drawn, 0), 0);
    // Rectangles at the ends of the coordinate range lay out without overflowing.
    RECT huge { INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX };
    EXPECT_GT(DrawText(Dc(), "Far", -1, &huge, DT_SINGLELINE | DT_CENTER | DT_VCENTER), 0);
    RECT hugeWrap { INT32_MIN, 0, INT32_MAX, 10 };
    DRAWTEXTPARAMS hugeMargins { sizeof(DRAWTEXTPARAMS), 0, INT32_MAX, INT32_MAX, 0 };
    DrawTextEx(Dc(), "a b c", -1, &hugeWrap, DT_WORDBREAK | DT_RIGHT | DT_CALCRECT, &hugeMargins);
    // Counts stop at the given number of bytes.
    RECT part { 0, 0, 0, 0 };
    DrawText(Dc(), "Skinned", 4, &part, DT_CALCRECT);
    EXPECT_EQ(part.right, Width("Skin"));
}

TEST_F(GdiDrawText, LongTextsLayOutInLinearTime)
{
    // 20,000 words in a narrow box, and one very long line shortened both ways: each must stay quick.
    std::string words;
    for (int i = 0; i < 20000; ++i)
        words += "word ";
    RECT box { 0, 0, 60, 0 };
    EXPECT_GT(DrawText(Dc(), words.c_str(), -1, &box, DT_WORDBREAK | DT_CALCRECT), 5000 * Tm.tmHeight);
    const std::string line(100000, 'x');
    RECT end { 0, 0, 100, 20 };
    DrawText(Dc(), line.c_str(), -1, &end, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(end.right, 100);
    const std::string path = "/" + line + "/" + line + "/name.txt";
    RECT middle { 0, 0, 200, 20 };
    DrawText(Dc(), path.c_str(), -1, &middle, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(middle.right, 200);
    RECT drawn { 0, 0, 200, 20 };
    EXPECT_GT(DrawText(Dc(), path.c_str(), -1, &drawn, DT_SINGLELINE | DT_PATH_ELLIPSIS), 0);
}
