#include "GdiTestSupport.h"
#include "platform/gdi/FontCache.h"
#include "platform/gdi/TextPaint.h"

#include <cstring>
#include <random>
#include <set>
#include <thread>

namespace {

using GdiText = GdiTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Creates a font, selects it, and cleans up.
class TFont {
public:
    TFont(HDC dc, const char* face, int height, int weight = FW_NORMAL, int escapement = 0, bool underline = false,
        bool strikeOut = false, BYTE quality = DEFAULT_QUALITY)
        : FDc(dc)
    {
        Handle = CreateFont(
            height, 0, escapement, escapement, weight, 0, underline, strikeOut, ANSI_CHARSET, 0, 0, quality, 0, face);
        FOld = SelectObject(dc, Handle);
    }
    ~TFont()
    {
        SelectObject(FDc, FOld);
        DeleteObject(Handle);
    }
    TEXTMETRIC Metrics() const
    {
        TEXTMETRIC tm {};
        GetTextMetrics(FDc, &tm);
        return tm;
    }
    SIZE Extent(const char* text) const
    {
        SIZE size {};
        GetTextExtentPoint32(FDc, text, -1, &size);
        return size;
    }

    HFONT Handle;

private:
    HDC FDc;
    HGDIOBJ FOld;
};

std::string FileOf(const char* face, int weight = FW_NORMAL, int escapement = 0, bool italic = false)
{
    HFONT font = CreateFont(-11, 0, escapement, 0, weight, italic, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
    const std::string file = FontFaceFile(font);
    DeleteObject(font);
    return file.substr(file.rfind('/') + 1);
}

} // namespace

TEST_F(GdiText, LogicalNamesMapToInstalledFaces)
{
    struct Case {
        const char* Face;
        int Weight;
        int Escapement;
        const char* File;
        bool Italic = false;
    };
    const Case kCases[] = {
        { "Arial", FW_NORMAL, 0, "LiberationSans-Regular.ttf" },
        { "arial", FW_BOLD, 0, "LiberationSans-Bold.ttf" },
        { "Times New Roman", FW_NORMAL, 0, "LiberationSerif-Regular.ttf" },
        { "Courier New", FW_NORMAL, 0, "LiberationMono-Regular.ttf" },
        { "Tahoma", FW_NORMAL, 0, "tahoma.ttf" },
        { "Tahoma", FW_BOLD, 0, "tahomabd.ttf" },
        { "MS Sans Serif", FW_NORMAL, 0, "ms_sans_serif.ttf" },
        { "MS Shell Dlg", FW_NORMAL, 0, "ms_sans_serif.ttf" },
        { "MS Shell Dlg 2", FW_NORMAL, 0, "tahoma.ttf" },
        { "Marlett", FW_NORMAL, 0, "marlett.ttf" },
        { "Verdana", FW_NORMAL, 0, "DejaVuSans.ttf" },
        // The bitmap face cannot turn: its outline stand-in draws rotated text.
        { "MS Sans Serif", FW_NORMAL, 900, "LiberationSans-Regular.ttf" },
        { "Arial", FW_NORMAL, 0, "LiberationSans-Italic.ttf", true },
        { "Arial", FW_BOLD, 0, "LiberationSans-BoldItalic.ttf", true },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.Face) + " " + std::to_string(c.Weight) + " " + std::to_string(c.Escapement));
        EXPECT_EQ(FileOf(c.Face, c.Weight, c.Escapement, c.Italic), c.File);
    }
    // Unknown names still draw, with some installed face.
    EXPECT_FALSE(FileOf("No Such Face 123").empty());
    EXPECT_FALSE(FileOf("").empty());
    EXPECT_EQ(FontFaceFile(nullptr), "");
}

TEST_F(GdiText, FontsPreparedOnAnotherThreadWhileThisOneChoosesFaces)
{
    // A program prepares its fonts on a thread of its own while its first window may already ask for faces.
    std::vector<std::string> chosen;
    std::thread preparing(PrepareFonts);
    for (const char* face : { "MS Sans Serif", "Tahoma", "Arial" })
        chosen.push_back(FileOf(face));
    preparing.join();
    EXPECT_EQ(chosen, (std::vector<std::string> { "ms_sans_serif.ttf", "tahoma.ttf", "LiberationSans-Regular.ttf" }));
    // Preparing again changes nothing.
    PrepareFonts();
    EXPECT_EQ(FileOf("MS Sans Serif"), "ms_sans_serif.ttf");
}

TEST_F(GdiText, MetricsFollowTheRequestedHeight)
{
    TTestCanvas canvas(4, 4);
    for (const char* face : { "Arial", "Tahoma", "Times New Roman", "Courier New" }) {
        SCOPED_TRACE(face);
        {
            // Negative: the em square, so height minus internal leading is the request.
            TFont font(canvas.Dc, face, -20);
            const TEXTMETRIC tm = font.Metrics();
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
            EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
            EXPECT_GT(tm.tmAveCharWidth, 0);
            EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
            EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_TRUETYPE);
            EXPECT_EQ(font.Extent("Hg").cy, tm.tmHeight);
        }
        {
            // Positive: the whole cell.
            TFont font(canvas.Dc, face, 20);
            EXPECT_EQ(font.Metrics().tmHeight, 20);
        }
    }
    TFont mono(canvas.Dc, "Courier New", -12);
    EXPECT_FALSE(mono.Metrics().tmPitchAndFamily & TMPF_FIXED_PITCH) << "the bit means a variable pitch";
    EXPECT_EQ(mono.Extent("iiii").cx, mono.Extent("WWWW").cx);
    TFont bold(canvas.Dc, "Tahoma", -11, FW_BOLD);
    EXPECT_EQ(bold.Metrics().tmWeight, FW_BOLD);
    // The bitmap face keeps its strike's metrics and is no TrueType face.
    TFont dialog(canvas.Dc, "MS Sans Serif", -11);
    EXPECT_EQ(dialog.Metrics().tmHeight, 13);
    EXPECT_FALSE(dialog.Metrics().tmPitchAndFamily & TMPF_TRUETYPE);
    char name[LF_FACESIZE];
    EXPECT_EQ(GetTextFace(canvas.Dc, sizeof name, name), int(std::strlen("MS Sans Serif")));
    EXPECT_STREQ(name, "MS Sans Serif");
}

TEST_F(GdiText, ExtentsAddUpAdvances)
{
    TTestCanvas canvas(4, 4);
    TFont font(canvas.Dc, "Arial", -16);
    const SIZE a = font.Extent("Wave");
    EXPECT_EQ(a.cx, font.Extent("Wa").cx + font.Extent("ve").cx) << "no kerning between calls and within";
    EXPECT_EQ(font.Extent("").cx, 0);
    SetTextCharacterExtra(canvas.Dc, 3);
    EXPECT_EQ(font.Extent("Wave").cx, a.cx + 4 * 3);
    SetTextCharacterExtra(canvas.Dc, 0);
    // UTF-8 counts characters, not bytes; the wide form agrees.
    SIZE utf8 {};
    GetTextExtentPoint32(canvas.Dc, "\xC3\xA9t\xC3\xA9", 5, &utf8);
    SIZE wide {};
    const WCHAR text[] = { 0xE9, 't', 0xE9, 0 };
    GetTextExtentPoint32W(canvas.Dc, text, -1, &wide);
    EXPECT_EQ(utf8.cx, wide.cx);
    EXPECT_EQ(utf8.cx, 2 * font.Extent("\xC3\xA9").cx + font.Extent("t").cx);
    // How much fits.
    int fit = 0;
    int ends[4] = {};
    SIZE size {};
    EXPECT_TRUE(GetTextExtentExPoint(canvas.Dc, "Wave", 4, font.Extent("Wa").cx, &fit, ends, &size));
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(ends[3], a.cx);
    // Broken input.
    EXPECT_FALSE(GetTextExtentPoint32(canvas.Dc, nullptr, 3, &size));
    EXPECT_FALSE(GetTextExtentPoint32(canvas.Dc, "abc", 3, nullptr));
    SIZE broken {};
    EXPECT_TRUE(GetTextExtentPoint32(canvas.Dc, "\xFF\xC3", 2, &broken)) << "invalid UTF-8 is drawn as replacements";
    EXPECT_GT(broken.cx, 0);
}

TEST_F(GdiText, TextOutPlacesTheCellByTheAlignment)
{
    struct Case {
        const char* Name;
        UINT Align;
        // The expected cell from the reference point (40, 40), the extent and the metrics.
        RECT (*Cell)(SIZE extent, const TEXTMETRIC& tm);
    };
    const Case kCases[] = {
        { "top left", TA_TOP | TA_LEFT,
            [](SIZE e, const TEXTMETRIC& tm) {
                return RECT { 40, 40, 40 + e.cx, 40 + tm.tmHeight };
            } },
        { "baseline", TA_BASELINE | TA_LEFT,
            [](SIZE e, const TEXTMETRIC& tm) {
                return RECT { 40, 40 - tm.tmAscent, 40 + e.cx, 40 + tm.tmDescent };
            } },
        { "bottom right", TA_BOTTOM | TA_RIGHT,
            [](SIZE e, const TEXTMETRIC& tm) {
                return RECT { 40 - e.cx, 40 - tm.tmHeight, 40, 40 };
            } },
        { "centre", TA_TOP | TA_CENTER,
            [](SIZE e, const TEXTMETRIC& tm) {
                return RECT { 40 - e.cx / 2, 40, 40 - e.cx / 2 + e.cx, 40 + tm.tmHeight };
            } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas canvas(100, 80);
        TFont font(canvas.Dc, "Tahoma", -13);
        SetBkColor(canvas.Dc, kBlue);
        SetTextAlign(canvas.Dc, c.Align);
        EXPECT_TRUE(TextOut(canvas.Dc, 40, 40, "Fig", 3));
        EXPECT_EQ(canvas.Ink(kWhite), c.Cell(font.Extent("Fig"), font.Metrics()));
    }
}

TEST_F(GdiText, BackgroundModeDecidesWhetherTheCellIsFilled)
{
    TTestCanvas canvas(80, 30);
    TFont font(canvas.Dc, "Arial", -14);
    SetBkColor(canvas.Dc, kBlue);
    SetTextColor(canvas.Dc, kBlack);
    TextOut(canvas.Dc, 2, 2, "Hello", 5);
    const SIZE e = font.Extent("Hello");
    // Every cell pixel is text or background.
    int blue = 0;
    for (int y = 2; y < 2 + e.cy; ++y)
        for (int x = 2; x < 2 + e.cx; ++x) {
            ASSERT_FALSE(canvas.Is(x, y, kWhite)) << x << "," << y;
            blue += canvas.Is(x, y, kBlue) ? 1 : 0;
        }
    EXPECT_GT(blue, e.cx * e.cy / 2);
    canvas.Fill(kWhite);
    SetBkMode(canvas.Dc, TRANSPARENT);
    TextOut(canvas.Dc, 2, 2, "Hello", 5);
    EXPECT_EQ(canvas.Count(kBlue), 0);
    const RECT ink = canvas.Ink(kWhite);
    EXPECT_GE(ink.left, 2);
    EXPECT_LE(ink.right, 2 + e.cx + 1);
    EXPECT_GE(ink.top, 2);
    EXPECT_LE(ink.bottom, 2 + e.cy);
}

TEST_F(GdiText, AntialiasingOnlyOnThirtyTwoBitSurfaces)
{
    struct Case {
        const char* Name;
        int BitCount;
        BYTE Quality;
        bool Intermediate;
    };
    const Case kCases[] = {
        { "32-bit", 32, DEFAULT_QUALITY, true },
        { "32-bit, no antialiasing asked", 32, NONANTIALIASED_QUALITY, false },
        { "24-bit", 24, DEFAULT_QUALITY, false },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas canvas(120, 30, kWhite, c.BitCount);
        TFont font(canvas.Dc, "Arial", -18, FW_NORMAL, 0, false, false, c.Quality);
        SetBkMode(canvas.Dc, TRANSPARENT);
        TextOut(canvas.Dc, 2, 2, "Smooth curves", -1);
        std::set<uint32_t> colours;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x)
                colours.insert(canvas.At(x, y));
        EXPECT_EQ(colours.size() > 2, c.Intermediate) << colours.size();
        EXPECT_TRUE(colours.count(0)) << "fully covered pixels take the text colour";
    }
}

// A line of antialiased text is blended row by row across the line: on a patterned background every pixel must be
// what drawing its characters one at a time at the same pen positions gives, clipped or not, and when squeezed
// glyphs overlap (blended one over the other).
TEST_F(GdiText, LinesBlendAsTheirCharactersOneByOne)
{
    struct Case {
        const char* Name;
        int Extra;
        RECT Clip;
    };
    const Case kCases[] = {
        { "plain", 0, RECT {} },
        { "clipped through glyphs", 0, RECT { 23, 9, 131, 19 } },
        { "overlapping glyphs", -4, RECT {} },
        { "overlapping and clipped", -4, RECT { 17, 0, 90, 40 } },
    };
    const char* const kText = "Skinned label 12: jfff Wq_";
    auto draw = [&](TTestCanvas& canvas, const Case& c, bool oneByOne) {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 220; ++x)
                SetPixel(canvas.Dc, x, y, RGB(x * 5, y * 11, x ^ (y * 3)));
        TFont font(canvas.Dc, "Arial", -15);
        SetBkMode(canvas.Dc, TRANSPARENT);
        SetTextColor(canvas.Dc, RGB(20, 200, 90));
        SetTextCharacterExtra(canvas.Dc, c.Extra);
        const UINT options = IsRectEmpty(&c.Clip) ? 0 : ETO_CLIPPED;
        const int length = int(std::strlen(kText));
        if (!oneByOne) {
            ExtTextOut(canvas.Dc, 3, 8, options, &c.Clip, kText, UINT(length), nullptr);
            return;
        }
        for (int i = 0; i < length; ++i) {
            SIZE before {};
            GetTextExtentPoint32(canvas.Dc, kText, i, &before);
            ExtTextOut(canvas.Dc, 3 + before.cx, 8, options, &c.Clip, kText + i, 1, nullptr);
        }
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas line(220, 40), single(220, 40);
        draw(line, c, false);
        draw(single, c, true);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 220; ++x)
                ASSERT_EQ(line.At(x, y), single.At(x, y)) << x << "," << y;
    }
}

// A thread keeps the lines of glyphs it drew lately for the same text drawn again. Whatever it kept, each drawing
// must give what a thread that kept nothing draws: other texts, sizes, weights, faces, spacing, quality, places and
// clips, the same text again, more texts than are kept, and faces dropped and realized anew in between.
TEST_F(GdiText, KeptLinesDrawLikeNewOnes)
{
    struct Case {
        const char* Text;
        const char* Face;
        int Height;
        int Weight;
        int Extra;
        BYTE Quality;
        POINT At;
        RECT Clip;
    };
    const Case kCases[] = {
        { "Skinned label 7", "Arial", -13, FW_NORMAL, 0, DEFAULT_QUALITY, { 2, 2 }, {} },
        { "Skinned label 7", "Arial", -13, FW_NORMAL, 0, DEFAULT_QUALITY, { 31, 9 }, {} },
        { "Skinned label 7", "Arial", -13, FW_NORMAL, 0, DEFAULT_QUALITY, { 2, 2 }, { 10, 0, 40, 12 } },
        { "Skinned label 1", "Arial", -13, FW_NORMAL, 0, DEFAULT_QUALITY, { 2, 2 }, {} },
        { "Skinned label 7", "Arial", -14, FW_NORMAL, 0, DEFAULT_QUALITY, { 2, 2 }, {} },
        { "Skinned label 7", "Arial", -13, FW_BOLD, 0, DEFAULT_QUALITY, { 2, 2 }, {} },
        { "Skinned label 7", "Tahoma", -13, FW_NORMAL, 0, DEFAULT_QUALITY, { 2, 2 }, {} },
        { "Skinned label 7", "Arial", -13, FW_NORMAL, 2, DEFAULT_QUALITY, { 2, 2 }, {} },
        { "Skinned label 7", "Arial", -13, FW_NORMAL, 0, NONANTIALIASED_QUALITY, { 2, 2 }, {} },
        { "Skinned label 7", "Arial", -13, FW_NORMAL, 0, DEFAULT_QUALITY, { 2, 2 }, {} },
    };
    auto draw = [](const Case& c) {
        auto canvas = std::make_unique<TTestCanvas>(160, 30);
        TFont font(canvas->Dc, c.Face, c.Height, c.Weight, 0, false, false, c.Quality);
        SetBkMode(canvas->Dc, TRANSPARENT);
        SetTextCharacterExtra(canvas->Dc, c.Extra);
        const UINT options = IsRectEmpty(&c.Clip) ? 0 : ETO_CLIPPED;
        ExtTextOut(canvas->Dc, c.At.x, c.At.y, options, &c.Clip, c.Text, UINT(std::strlen(c.Text)), nullptr);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 160; ++x)
                pixels.push_back(canvas->At(x, y));
        return pixels;
    };
    auto drawnByNewThread = [&](const Case& c) {
        std::vector<uint32_t> pixels;
        std::thread([&] { pixels = draw(c); }).join();
        return pixels;
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(draw(kCases[i]), drawnByNewThread(kCases[i]));
    }
    // More texts than a thread keeps, then the first again.
    for (int i = 0; i < 300; ++i) {
        const std::string text = "Label " + std::to_string(i);
        Case c = kCases[0];
        c.Text = text.c_str();
        draw(c);
    }
    EXPECT_EQ(draw(kCases[0]), drawnByNewThread(kCases[0]));
    // Many sizes push the first case's face out of the face cache; it comes back as a new face.
    for (int height = 8; height < 80; ++height) {
        Case c = kCases[0];
        c.Height = -height;
        draw(c);
    }
    EXPECT_EQ(draw(kCases[0]), drawnByNewThread(kCases[0]));
}

TEST_F(GdiText, ExtTextOutOpaquesClipsAndSpaces)
{
    TTestCanvas canvas(100, 40);
    TFont font(canvas.Dc, "Tahoma", -13);
    SetBkMode(canvas.Dc, TRANSPARENT);
    SetBkColor(canvas.Dc, kBlue);
    // ETO_OPAQUE fills the rectangle whatever the background mode.
    const RECT opaque { 5, 5, 25, 15 };
    EXPECT_TRUE(ExtTextOut(canvas.Dc, 0, 0, ETO_OPAQUE, &opaque, "", 0, nullptr));
    EXPECT_EQ(canvas.Ink(kWhite), opaque);
    canvas.Fill(kWhite);
    // ETO_CLIPPED keeps the ink inside the rectangle.
    const RECT clip { 10, 0, 18, 40 };
    ExtTextOut(canvas.Dc, 2, 5, ETO_CLIPPED, &clip, "WWWWWW", 6, nullptr);
    const RECT ink = canvas.Ink(kWhite);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 18);
    canvas.Fill(kWhite);
    // Given advances space the characters.
    const INT dx[2] = { 40, 40 };
    ExtTextOut(canvas.Dc, 2, 5, 0, nullptr, "II", 2, dx);
    int columns = 0;
    for (int x = 0; x < 100; ++x) {
        bool any = false;
        for (int y = 0; y < 40; ++y)
            any = any || !canvas.Is(x, y, kWhite);
        columns += any && x >= 20 && x < 42 ? 1 : 0;
    }
    EXPECT_EQ(columns, 0) << "nothing between the two characters";
    EXPECT_FALSE(canvas.Ink(kWhite).right <= 42) << "the second character is 40 pixels on";
    EXPECT_FALSE(ExtTextOut(canvas.Dc, 0, 0, 0, nullptr, nullptr, 3, nullptr));
    EXPECT_FALSE(ExtTextOut(canvas.Dc, 0, 0, ETO_GLYPH_INDEX, nullptr, "a", 1, nullptr));
}

TEST_F(GdiText, UnderlineAndStrikeOutSpanTheText)
{
    TTestCanvas canvas(100, 40);
    TFont font(canvas.Dc, "Arial", -20, FW_NORMAL, 0, true, true);
    SetBkMode(canvas.Dc, TRANSPARENT);
    TextOut(canvas.Dc, 10, 5, "a  a", 4);
    const SIZE e = font.Extent("a  a");
    // Somewhere below the baseline and above it a row runs unbroken under the gap between the a's.
    const TEXTMETRIC tm = font.Metrics();
    int fullRowsBelow = 0;
    int fullRowsAbove = 0;
    for (int y = 5; y < 5 + tm.tmHeight; ++y) {
        bool full = true;
        for (int x = 10; x < 10 + e.cx; ++x)
            full = full && canvas.Is(x, y, kBlack);
        if (full)
            (y >= 5 + tm.tmAscent ? fullRowsBelow : fullRowsAbove) += 1;
    }
    EXPECT_GE(fullRowsBelow, 1);
    EXPECT_GE(fullRowsAbove, 1);
}

TEST_F(GdiText, EscapementTurnsTheBaseline)
{
    TTestCanvas canvas(60, 200);
    TFont font(canvas.Dc, "Arial", -16, FW_NORMAL, 900);
    SetBkMode(canvas.Dc, TRANSPARENT);
    SIZE e {};
    GetTextExtentPoint32(canvas.Dc, "Vertical text", -1, &e);
    const TEXTMETRIC tm = font.Metrics();
    // Turned a quarter counter-clockwise: the text runs upwards from the reference point, its top to the left.
    TextOut(canvas.Dc, 20, 180, "Vertical text", -1);
    const RECT ink = canvas.Ink(kWhite);
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 20 + tm.tmHeight + 1);
    EXPECT_LE(ink.bottom, 181);
    EXPECT_NEAR(double(ink.bottom - ink.top), double(e.cx), 3.0);
    // Opaque mode fills the turned cell (glyphs may reach a pixel past their advance).
    canvas.Fill(kWhite);
    SetBkMode(canvas.Dc, OPAQUE);
    SetBkColor(canvas.Dc, kBlue);
    TextOut(canvas.Dc, 20, 180, "Vertical text", -1);
    EXPECT_EQ(canvas.BoxOf(kBlue), (RECT { 20, 180 - e.cx, 20 + tm.tmHeight, 180 }));
}

TEST_F(GdiText, FacesWithoutABoldOrItalicShapeAreSlantedAndEmboldened)
{
    // Tahoma has no italic: the upright face is slanted, so the top of an "l" moves right of its foot.
    TTestCanvas canvas(40, 40);
    auto inkColumns = [&](bool italic, int weight, int& top, int& bottom) {
        canvas.Fill(kWhite);
        HFONT font = CreateFont(-30, 0, 0, 0, weight, italic, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
        HGDIOBJ old = SelectObject(canvas.Dc, font);
        SetBkMode(canvas.Dc, TRANSPARENT);
        TextOut(canvas.Dc, 10, 2, "l", 1);
        const RECT ink = canvas.Ink(kWhite);
        top = bottom = -1;
        for (int x = 0; x < 40; ++x) {
            if (canvas.Is(x, ink.top, kBlack) && top < 0)
                top = x;
            if (canvas.Is(x, ink.bottom - 1, kBlack) && bottom < 0)
                bottom = x;
        }
        SelectObject(canvas.Dc, old);
        DeleteObject(font);
        return ink.right - ink.left;
    };
    int top = 0;
    int bottom = 0;
    const int upright = inkColumns(false, FW_NORMAL, top, bottom);
    EXPECT_EQ(top, bottom);
    inkColumns(true, FW_NORMAL, top, bottom);
    EXPECT_GT(top, bottom + 2);
    // MS Sans Serif has no bold strike of its own: the strike is emboldened.
    TFont regular(canvas.Dc, "MS Sans Serif", -11);
    const int plain = regular.Extent("Bold text").cx;
    TFont bold(canvas.Dc, "MS Sans Serif", -11, FW_BOLD);
    EXPECT_GT(bold.Extent("Bold text").cx, plain);
    EXPECT_GT(upright, 0);
}

TEST_F(GdiText, SymbolFacesDrawTheirShapes)
{
    // Marlett keeps its glyphs in the symbol area; "r" is the close cross of caption buttons.
    TTestCanvas canvas(30, 30);
    TFont font(canvas.Dc, "Marlett", -16);
    SetBkMode(canvas.Dc, TRANSPARENT);
    TextOut(canvas.Dc, 4, 4, "r", 1);
    EXPECT_GT(canvas.Count(kBlack) + 0, 10);
    EXPECT_EQ(font.Metrics().tmCharSet, SYMBOL_CHARSET);
}

TEST_F(GdiText, UpdateCPMovesTheCurrentPosition)
{
    TTestCanvas canvas(100, 30);
    TFont font(canvas.Dc, "Tahoma", -11);
    SetTextAlign(canvas.Dc, TA_UPDATECP);
    MoveToEx(canvas.Dc, 5, 3, nullptr);
    TextOut(canvas.Dc, 50, 50, "ab", 2);
    TextOut(canvas.Dc, 50, 50, "cd", 2);
    POINT p;
    GetCurrentPositionEx(canvas.Dc, &p);
    EXPECT_EQ(p.x, 5 + font.Extent("abcd").cx);
    EXPECT_EQ(p.y, 3);
    EXPECT_EQ(GetTextAlign(canvas.Dc), TA_UPDATECP);
}

TEST_F(GdiText, ManySizesCycleThroughTheFaceCache)
{
    // More sizes than the caches keep: faces are dropped and made again without disturbing the text.
    TTestCanvas canvas(60, 20);
    SIZE first {};
    for (int round = 0; round < 2; ++round) {
        for (int height = 4; height < 140; ++height) {
            TFont font(canvas.Dc, height % 2 ? "Arial" : "Tahoma", -height);
            SIZE size {};
            ASSERT_TRUE(GetTextExtentPoint32(canvas.Dc, "x", 1, &size));
            ASSERT_TRUE(TextOut(canvas.Dc, 0, 0, "x", 1));
            if (height == 20 && round == 0)
                first = size;
            if (height == 20 && round == 1) {
                EXPECT_EQ(size.cx, first.cx);
            }
        }
    }
}

TEST_F(GdiText, ExtremeHeightsAreHandled)
{
    TTestCanvas canvas(40, 40);
    for (int height : { INT32_MIN, -100000, 0, 1, 100000, INT32_MAX }) {
        SCOPED_TRACE(height);
        TFont font(canvas.Dc, "Arial", height);
        const TEXTMETRIC tm = font.Metrics();
        EXPECT_GT(tm.tmHeight, 0);
        EXPECT_TRUE(TextOut(canvas.Dc, 0, 0, "Ag", 2));
        RECT r { 0, 0, 40, 40 };
        EXPECT_GT(DrawText(canvas.Dc, "Ag\nAg", -1, &r, DT_WORDBREAK | DT_CENTER), 0);
    }
}

// Antialiased text blends whole glyph rows at once; every coverage on every kind of pixel (alpha included) and every
// row length with its leftover pixels must give what the per-channel rounding rule gives for one pixel.
TEST(CoverageBlend, RowsMatchTheRoundingRuleAtEveryCoverage)
{
    auto rule = [](uint32_t pixel, uint32_t color, uint32_t coverage) {
        if (coverage == 0)
            return pixel;
        if (coverage == 255)
            return color;
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int dc = int((pixel >> shift) & 0xFF);
            if (shift == 24) {
                out |= uint32_t((dc * int(255 - coverage) + 127) / 255) << 24;
                break;
            }
            const int sc = int((color >> shift) & 0xFF);
            const int share = (std::abs(sc - dc) * int(coverage) + 127) / 255;
            out |= uint32_t(sc >= dc ? dc + share : dc - share) << shift;
        }
        return out;
    };
    // Both ways of blending rows: this processor's widest and the one of processors without it.
    for (auto blendRow : { &BlendCoverageRow, &BlendCoverageRowPortable }) {
        // Every channel value against every target at every coverage, in long rows so the widest steps run too.
        std::vector<uint32_t> row(256);
        std::vector<uint8_t> same(256);
        for (uint32_t target = 0; target < 256; ++target)
            for (uint32_t c = 0; c < 256; ++c) {
                const uint32_t color = target | (target << 8) | (255 - target) << 16;
                for (uint32_t d = 0; d < 256; ++d)
                    row[d] = d | (d << 8) | ((255 - d) << 16) | (d << 24);
                std::fill(same.begin(), same.end(), uint8_t(c));
                blendRow(row.data(), same.data(), 256, color);
                for (uint32_t d = 0; d < 256; ++d) {
                    const uint32_t pixel = d | (d << 8) | ((255 - d) << 16) | (d << 24);
                    if (row[d] != rule(pixel, color, c))
                        FAIL() << std::hex << "pixel " << pixel << " colour " << color << std::dec << " coverage " << c;
                }
            }
        std::mt19937 random(5);
        const uint32_t kColors[] = { 0x000000, 0xFFFFFF, 0x0000FF, 0x7F8081, 0xFF00FF, 0x80FF8001 };
        for (uint32_t color : kColors)
            for (int round = 0; round < 40; ++round) {
                // 256 coverages in rows of every length from 1 to 19, over pixels of any channel values.
                std::vector<uint8_t> coverage(256);
                for (int c = 0; c < 256; ++c)
                    coverage[size_t(c)] = uint8_t(c);
                std::shuffle(coverage.begin(), coverage.end(), random);
                std::vector<uint32_t> pixels(256);
                for (uint32_t& p : pixels)
                    p = uint32_t(random());
                if (round == 0)
                    std::fill(pixels.begin(), pixels.end(), 0xFF00FF00u);
                std::vector<uint32_t> blended = pixels;
                for (size_t at = 0, length = 1; at < blended.size(); at += length, length = length % 19 + 1) {
                    const size_t n = std::min(length, blended.size() - at);
                    blendRow(blended.data() + at, coverage.data() + at, int(n), color);
                }
                for (size_t i = 0; i < pixels.size(); ++i) {
                    ASSERT_EQ(blended[i], rule(pixels[i], color, coverage[i]))
                        << std::hex << "pixel " << pixels[i] << " colour " << color << std::dec << " coverage "
                        << int(coverage[i]);
                    ASSERT_EQ(BlendCoverage(pixels[i], color, coverage[i]), blended[i]);
                }
            }
    }
}
