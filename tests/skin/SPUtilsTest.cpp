#include "skin/core/SPUtils.h"

#include "SkinTestSupport.h"
#include "framework/core/Exception.h"
#include "framework/core/Streams.h"

#include <gtest/gtest.h>
#include <optional>

using namespace SPUtils;

namespace {

constexpr const char* kSection = "s";

// One value of a section: the key's line, or nothing for a missing key.
std::unique_ptr<TMemIniFile> IniWith(const std::optional<std::string>& value)
{
    return IniFromText(value ? std::string("[s]\nother=1\nkey=") + *value + "\n" : "[s]\nother=1\n");
}

TEST(SPUtils, ReadRectKeepsOnlyDigitsOfExactlyFourParts)
{
    struct Case {
        std::optional<std::string> Value;
        bool Valid;
        TRect Expected;
    };
    const Case kCases[] = {
        { std::nullopt, true, { 0, 0, 0, 0 } },
        { "-4,5,30,40", true, { 4, 5, 30, 40 } },
        { "1, 2 ,3,4 ", true, { 1, 2, 3, 4 } },
        { "a1b,2x,(3),4px", true, { 1, 2, 3, 4 } },
        { "0010,2,3,4", true, { 10, 2, 3, 4 } },
        { "1,2,3", false, {} },
        { "1,,3,4", false, {} },
        { "", false, {} },
        { "1,2,3,4,5", false, {} },
        { "1,2,3,4,", false, {} },
        { "99999999999,0,0,0", false, {} },
        { "x,y,z,w", false, {} },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Value.value_or("(missing)"));
        auto ini = IniWith(c.Value);
        if (c.Valid) {
            EXPECT_EQ(ReadRect(ini.get(), kSection, "key"), c.Expected);
        } else {
            EXPECT_THROW(ReadRect(ini.get(), kSection, "key"), EConvertError);
        }
    }
}

TEST(SPUtils, ReadPointNeedsTwoPartsWithDigits)
{
    struct Case {
        std::optional<std::string> Value;
        bool Valid;
        TPoint Expected;
    };
    const Case kCases[] = {
        { std::nullopt, true, { 0, 0 } },
        { "x7,y9", true, { 7, 9 } },
        { "-3,-4", true, { 3, 4 } },
        { "7", false, {} },
        { "", false, {} },
        { "1,2,3", false, {} },
        { ",5", false, {} },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Value.value_or("(missing)"));
        auto ini = IniWith(c.Value);
        if (c.Valid) {
            EXPECT_EQ(ReadPoint(ini.get(), kSection, "key"), c.Expected);
        } else {
            EXPECT_THROW(ReadPoint(ini.get(), kSection, "key"), EConvertError);
        }
    }
}

TEST(SPUtils, ConversionErrorNamesTheKeyAndSection)
{
    auto ini = IniFromText("[button]\nskinrect=1,2,3\n");
    try {
        ReadRect(ini.get(), "button", "skinrect");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_NE(e.Message().find("1,2,3"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("skinrect"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("[button]"), std::string::npos) << e.Message();
    }
}

TEST(SPUtils, NegativeCoordinatesAreWrittenWithTheirSignAndReadBackPositive)
{
    auto ini = IniFromText("");
    WriteRect(ini.get(), kSection, "r", TRect { -1, 2, -3, 4 });
    WritePoint(ini.get(), kSection, "p", TPoint { -5, 6 });
    EXPECT_EQ(ini->ReadString(kSection, "r", ""), "-1,2,-3,4");
    EXPECT_EQ(ini->ReadString(kSection, "p", ""), "-5,6");
    EXPECT_EQ(ReadRect(ini.get(), kSection, "r"), (TRect { 1, 2, 3, 4 }));
    EXPECT_EQ(ReadPoint(ini.get(), kSection, "p"), (TPoint { 5, 6 }));
    EXPECT_EQ(SPUtils::SetRect(TRect { 10, 20, 300, 42 }), "10,20,300,42");
}

TEST(SPUtils, BooleanIsTrueOnlyForTheIntegerOne)
{
    struct Case {
        std::optional<std::string> Value;
        bool Expected;
    };
    const Case kCases[] = {
        { "1", true },
        { "0x1", true },
        { "$1", true },
        { " 1 ", true },
        { "true", false },
        { "2", false },
        { "-1", false },
        { "0", false },
        { "", false },
        { std::nullopt, false },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Value.value_or("(missing)"));
        auto ini = IniWith(c.Value);
        EXPECT_EQ(ReadBoolean(ini.get(), kSection, "key"), c.Expected);
    }
    auto ini = IniFromText("");
    WriteBoolean(ini.get(), kSection, "t", true);
    WriteBoolean(ini.get(), kSection, "f", false);
    EXPECT_EQ(ini->ReadString(kSection, "t", ""), "1");
    EXPECT_EQ(ini->ReadString(kSection, "f", ""), "0");
}

TEST(SPUtils, AlignmentWordsCompareExactly)
{
    struct Case {
        std::optional<std::string> Value;
        TAlignment Expected;
    };
    const Case kCases[] = {
        { std::nullopt, taCenter },
        { "tacenter", taCenter },
        { "taleftjustify", taLeftJustify },
        { "tarightjustify", taRightJustify },
        { "TACENTER", taRightJustify },
        { "center", taRightJustify },
        { "", taRightJustify },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Value.value_or("(missing)"));
        auto ini = IniWith(c.Value);
        EXPECT_EQ(ReadAlignment(ini.get(), kSection, "key"), c.Expected);
    }
    auto ini = IniFromText("");
    for (TAlignment alignment : { taLeftJustify, taRightJustify, taCenter }) {
        WriteAlignment(ini.get(), kSection, "a", alignment);
        EXPECT_EQ(ReadAlignment(ini.get(), kSection, "a"), alignment);
    }
}

TEST(SPUtils, FontStylesAreFoundAnywhereInTheValue)
{
    struct Case {
        std::optional<std::string> Value;
        TFontStyles Expected;
    };
    const Case kCases[] = {
        { std::nullopt, {} },
        { "fsbold,fsunderline", { fsBold, fsUnderline } },
        { "FSBOLD", {} },
        { "fsitalicfsbold", { fsBold, fsItalic } },
        { "[fsstrikeout]", { fsStrikeOut } },
        { "", {} },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Value.value_or("(missing)"));
        auto ini = IniWith(c.Value);
        EXPECT_TRUE(ReadFontStyles(ini.get(), kSection, "key") == c.Expected);
    }
    auto ini = IniFromText("");
    WriteFontStyles(ini.get(), kSection, "all", TFontStyles { fsStrikeOut, fsBold, fsUnderline, fsItalic });
    WriteFontStyles(ini.get(), kSection, "none", TFontStyles {});
    EXPECT_EQ(ini->ReadString(kSection, "all", "?"), "fsbold,fsitalic,fsunderline,fsstrikeout");
    EXPECT_EQ(ini->ReadString(kSection, "none", "?"), "");
}

TEST(SPUtils, ListsAppendTheirItemsAndMissingItemsReadEmpty)
{
    auto ini = IniFromText("[s]\nsymbolslinecount=3\nsymbolsline0=A\nsymbolsline2=C\n"
                           "activepicturescount=2\n0=a.bmp\n1=b.bmp\n");
    TStringList lines;
    lines.Add("kept");
    ReadStrings(ini.get(), kSection, "symbols", &lines);
    EXPECT_EQ(lines.Text(), "kept\nA\n\nC\n");

    TStringList numbered;
    ReadStrings1(ini.get(), kSection, "activepictures", &numbered);
    EXPECT_EQ(numbered.Text(), "a.bmp\nb.bmp\n");

    TStringList none;
    ReadStrings(ini.get(), kSection, "missing", &none);
    EXPECT_EQ(none.Count(), 0);

    auto written = IniFromText("");
    WriteStrings(written.get(), kSection, "symbols", &lines);
    WriteStrings1(written.get(), kSection, "cursors", &numbered);
    EXPECT_EQ(SectionLines(*written, kSection),
        (std::vector<std::string> { "symbolslinecount=4", "symbolsline0=kept", "symbolsline1=A",
            "symbolsline2=", "symbolsline3=C", "cursorscount=2", "0=a.bmp", "1=b.bmp" }));
}

TEST(SPUtils, HugeListCountsAreRefused)
{
    auto ini = IniFromText("[s]\nsymbolslinecount=2000000000\ncursorscount=-7\n");
    TStringList lines;
    EXPECT_THROW(ReadStrings(ini.get(), kSection, "symbols", &lines), EConvertError);
    EXPECT_EQ(lines.Count(), 0);
    ReadStrings1(ini.get(), kSection, "cursors", &lines);
    EXPECT_EQ(lines.Count(), 0);
}

TEST(SPUtils, RectangleAndPointTests)
{
    EXPECT_TRUE(IsNullRect(TRect { 5, 5, 5, 10 }));
    EXPECT_TRUE(IsNullRect(TRect { 5, 5, 10, 4 }));
    EXPECT_FALSE(IsNullRect(TRect { 5, 5, 6, 6 }));
    EXPECT_TRUE(IsNullPoint(TPoint { 0, 7 }));
    EXPECT_FALSE(IsNullPoint(TPoint { 1, 7 }));
    EXPECT_TRUE(PointInRect(TRect { 10, 10, 20, 20 }, TPoint { 20, 20 }));
    EXPECT_TRUE(PointInRect(TRect { 10, 10, 20, 20 }, TPoint { 10, 10 }));
    EXPECT_FALSE(PointInRect(TRect { 10, 10, 20, 20 }, TPoint { 21, 15 }));
    EXPECT_FALSE(RectInRect(TRect { 10, 10, 20, 20 }, TRect { 0, 0, 20, 20 }));
    EXPECT_TRUE(RectInRect(TRect { 10, 10, 20, 20 }, TRect { 0, 0, 21, 21 }));
    EXPECT_EQ(RectWidth(TRect { 3, 4, 10, 20 }), 7);
    EXPECT_EQ(RectHeight(TRect { 3, 4, 10, 20 }), 16);
    TRect rect { 0, 0, 10, 10 };
    EXPECT_EQ(RectToCenter(rect, TRect { 100, 100, 121, 121 }), (TRect { 105, 105, 115, 115 }));
    EXPECT_EQ(rect, (TRect { 105, 105, 115, 115 }));
    EXPECT_EQ(Max(-2, 3), 3);
    EXPECT_EQ(Min(-2, 3), -2);
}

TEST(SPUtils, DaysPerMonthFollowsTheLeapYearRule)
{
    struct Case {
        int Year;
        int Month;
        int Days;
    };
    const Case kCases[] = {
        { 2000, 2, 29 },
        { 1900, 2, 28 },
        { 2024, 2, 29 },
        { 2023, 2, 28 },
        { 2023, 1, 31 },
        { 2023, 4, 30 },
        { 2023, 12, 31 },
        { 2023, 0, 0 },
        { 2023, 13, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.Year << "-" << c.Month);
        EXPECT_EQ(DaysPerMonth(c.Year, c.Month), c.Days);
    }
    TDateTime date = EncodeDate(2021, 7, 14);
    EXPECT_EQ(ExtractYear(date), 2021);
    EXPECT_EQ(ExtractMonth(date), 7);
    EXPECT_EQ(ExtractDay(date), 14);
}

TEST(SPUtils, StringsInStreamsCarryTheirLength)
{
    TMemoryStream stream;
    WriteStringToStream("skin", stream);
    WriteStringToStream("", stream);
    EXPECT_EQ(stream.Size(), 4 + 4 + 4);
    stream.SetPosition(0);
    std::string first = "x", second = "y";
    ReadStringFromStream(first, stream);
    ReadStringFromStream(second, stream);
    EXPECT_EQ(first, "skin");
    EXPECT_EQ(second, "");
}

TEST(SPUtils, StringLengthsAreCheckedAgainstTheStream)
{
    for (int32_t length : { -1, 5, 0x7FFFFFFF }) {
        SCOPED_TRACE(length);
        TMemoryStream stream;
        stream.WriteBuffer(&length, sizeof(length));
        stream.WriteBuffer("abcd", 4);
        stream.SetPosition(0);
        std::string text = "unchanged";
        EXPECT_THROW(ReadStringFromStream(text, stream), EReadError);
        EXPECT_EQ(text, "unchanged");
    }
}

TEST(SPUtils, JpegNamesAreRecognisedWithTheirLetterCase)
{
    struct Case {
        const char* Name;
        bool Jpeg;
    };
    const Case kCases[] = {
        { "back.jpg", true },
        { "back.jpeg", true },
        { "back.jpg.bmp", true },
        { "back.JPG", false },
        { "back.bmp", false },
        { "jpg", false },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(IsJpegFile(c.Name), c.Jpeg);
    }
}

} // namespace
