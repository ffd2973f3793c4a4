#include "framework/graphics/Graphics.h"

#include "framework/core/Exception.h"
#include "framework/graphics/Colors.h"
#include "tests/framework/GraphicsTestSupport.h"

#include <gtest/gtest.h>

TEST(Colors, SystemColoursResolveThroughTheSystemTable)
{
    struct Case {
        TColor Color;
        int Index;
    };
    const Case kCases[] = {
        { clBtnFace, COLOR_BTNFACE },
        { clWindow, COLOR_WINDOW },
        { clHighlight, COLOR_HIGHLIGHT },
        { cl3DDkShadow, COLOR_3DDKSHADOW },
        { clInfoBk, COLOR_INFOBK },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Index);
        EXPECT_EQ(static_cast<uint32_t>(ColorToRGB(c.Color)), GetSysColor(c.Index));
    }
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
}

TEST(Colors, NamesAndNumbersConvertBothWays)
{
    struct Case {
        TColor Color;
        const char* Text;
    };
    const Case kCases[] = {
        { clRed, "clRed" },
        { clBtnFace, "clBtnFace" },
        { clNone, "clNone" },
        { clDefault, "clDefault" },
        { 0x00123456, "$00123456" },
        { static_cast<TColor>(0x8000001F), "$8000001F" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ColorToString(c.Color), c.Text);
        EXPECT_EQ(StringToColor(c.Text), c.Color);
    }
    EXPECT_EQ(StringToColor("CLWHITE"), clWhite);
    EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
    EXPECT_THROW(StringToColor("$1FFFFFFFF"), EConvertError);
}

TEST(Colors, IdentifiersComeInTheFrameworksOrder)
{
    std::vector<std::string> idents;
    GetColorValues([&](const std::string& ident) { idents.push_back(ident); });
    ASSERT_EQ(idents.size(), 52u);
    const std::vector<std::string> kFirst = { "clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple",
        "clTeal", "clGray", "clSilver", "clRed", "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua", "clWhite",
        "clMoneyGreen", "clSkyBlue", "clCream", "clMedGray", "clActiveBorder" };
    EXPECT_EQ(std::vector<std::string>(idents.begin(), idents.begin() + kFirst.size()), kFirst);
    for (const std::string& ident : idents) {
        TColor color = 0;
        EXPECT_TRUE(IdentToColor(ident, color)) << ident;
        EXPECT_EQ(ColorToString(color), ident);
    }
}

TEST(TFont, DefaultsAndPointPixelConversion)
{
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    EXPECT_TRUE(font.Style().Empty());
    ASSERT_EQ(font.PixelsPerInch(), 96);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11);

    struct Case {
        int Size;
        int Height;
    };
    // Height = -Size * 96 / 72, rounded half away from zero; back the other way.
    const Case kCases[] = { { 8, -11 }, { 9, -12 }, { 10, -13 }, { 12, -16 }, { 24, -32 }, { 0, 0 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Size);
        font.SetSize(c.Size);
        EXPECT_EQ(font.Height(), c.Height);
        font.SetHeight(c.Height);
        EXPECT_EQ(font.Size(), c.Size);
    }
    // A positive height is a cell height; its size reads negative, as the framework shows it.
    font.SetHeight(14);
    EXPECT_EQ(font.Size(), -11);
}

TEST(TFont, ChangesAreAnnouncedOnceAndRemakeTheHandle)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &font);
        ++changes;
    };
    HFONT first = font.Handle();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(font.Handle(), first);
    font.SetName("Arial");
    font.SetName("Arial");
    font.SetStyle(TFontStyles { fsBold, fsItalic });
    font.SetStyle(TFontStyles { fsBold, fsItalic });
    font.SetColor(clRed);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(GetObjectType(first), 0u) << "the old handle is freed";
    LOGFONT lf {};
    ASSERT_EQ(GetObject(font.Handle(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfHeight, -11);
}

TEST(TFont, TakesOverAHandleAndAssignsItsAttributes)
{
    LOGFONT lf {};
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = 1;
    lf.lfEscapement = 900;
    lf.lfCharSet = SYMBOL_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH;
    std::strcpy(lf.lfFaceName, "Marlett");
    HFONT handle = CreateFontIndirect(&lf);
    ASSERT_NE(handle, nullptr);

    TFont font;
    font.SetHandle(handle);
    EXPECT_EQ(font.Handle(), handle);
    EXPECT_EQ(font.Name(), "Marlett");
    EXPECT_EQ(font.Height(), -20);
    EXPECT_EQ(font.Style(), (TFontStyles { fsBold, fsUnderline }));
    EXPECT_EQ(font.Orientation(), 900);
    EXPECT_EQ(font.Charset(), SYMBOL_CHARSET);
    EXPECT_EQ(font.Pitch(), fpFixed);

    TFont copy;
    copy.Assign(&font);
    EXPECT_EQ(copy.Name(), "Marlett");
    EXPECT_EQ(copy.Orientation(), 900);
    LOGFONT back {};
    ASSERT_GT(GetObject(copy.Handle(), sizeof(back), &back), 0);
    EXPECT_EQ(back.lfEscapement, 900);
    EXPECT_NE(copy.Handle(), handle);
    EXPECT_THROW(font.SetHandle(reinterpret_cast<HFONT>(GetStockObject(BLACK_PEN))), EInvalidOperation);
}

TEST(TBrush, ColourAndStyleFollowTheFrameworksRules)
{
    TBrush brush;
    EXPECT_EQ(brush.Color(), clWhite);
    EXPECT_EQ(brush.Style(), bsSolid);
    brush.SetColor(clRed);
    brush.SetStyle(bsClear);
    // A clear brush forgets its colour, and a colour makes it solid again.
    EXPECT_EQ(brush.Color(), clWhite);
    brush.SetColor(clBlue);
    EXPECT_EQ(brush.Style(), bsSolid);
    LOGBRUSH lb {};
    ASSERT_GT(GetObject(brush.Handle(), sizeof(lb), &lb), 0);
    EXPECT_EQ(lb.lbStyle, BS_SOLID);
    EXPECT_EQ(lb.lbColor, static_cast<COLORREF>(clBlue));
    brush.SetStyle(bsDiagCross);
    ASSERT_GT(GetObject(brush.Handle(), sizeof(lb), &lb), 0);
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    EXPECT_EQ(lb.lbHatch, static_cast<uintptr_t>(HS_DIAGCROSS));
}

TEST(TPen, NegativeWidthsAreIgnored)
{
    TPen pen;
    pen.SetWidth(3);
    pen.SetWidth(-1);
    EXPECT_EQ(pen.Width(), 3);
    LOGPEN lp {};
    ASSERT_GT(GetObject(pen.Handle(), sizeof(lp), &lp), 0);
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, static_cast<COLORREF>(clBlack));
}
