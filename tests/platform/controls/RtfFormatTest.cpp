// The RTF reader and writer on their own: round trips of the kept subset, text out of RTF with what the reader
// does not know, and malformed RTF refused with a reason.
#include "platform/controls/RtfFormat.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The format of every position, so documents that split their runs differently still compare.
std::vector<RichCharFormat> FormatsByPosition(const RichDocument& d)
{
    std::vector<RichCharFormat> out;
    for (const RichRun& run : d.Runs)
        for (long long i = 0; i < run.Length; ++i)
            out.push_back(d.Formats[run.Format]);
    return out;
}

RichCharFormat Base()
{
    RichCharFormat base;
    base.Face = "DejaVu Sans";
    base.Twips = 200;
    return base;
}

RichDocument Read(std::string_view rtf)
{
    RichDocument d;
    std::string error;
    EXPECT_TRUE(ReadRtf(rtf, Base(), &d, &error)) << error;
    return d;
}

} // namespace

TEST(RtfFormat, WritingAndReadingBackKeepsTextRunsAndAlignments)
{
    RichCharFormat plain = Base();
    RichCharFormat red = plain;
    red.Face = "Liberation Mono";
    red.Twips = 280;
    red.AutoColor = false;
    red.Color = RGB(200, 10, 20);
    red.Bold = true;
    RichCharFormat slanted = plain;
    slanted.Italic = true;
    slanted.Underline = true;
    slanted.StrikeOut = true;
    slanted.AutoColor = false;
    slanted.Color = RGB(0, 0, 255);

    RichDocument d;
    // Escapes, a tab, Latin-1, the euro (outside Latin-1) and a character past U+FFFF in surrogates.
    d.Text = "Plain {a}\\b\tcaf\xC3\xA9 \xE2\x82\xAC\r\nRed bold\r\n\xF0\x9F\x98\x80 slanted\r\n";
    d.Formats = {plain, red, slanted};
    // "Plain {a}\b<tab>café €" is 18 positions, then a break (2); "Red bold" 8 + break; the emoji and " slanted"
    // 9 + break; the empty last paragraph.
    d.Runs = {{20, 0}, {5, 1}, {5, 0}, {9, 2}, {2, 0}};
    d.Alignments = {RichAlignment::Left, RichAlignment::Center, RichAlignment::Right, RichAlignment::Center};

    std::string rtf = WriteRtf(d);
    EXPECT_TRUE(LooksLikeRtf(rtf));
    for (char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "RTF is written in seven bits";
    RichDocument back = Read(rtf);
    EXPECT_EQ(back.Text, d.Text);
    EXPECT_EQ(back.Alignments, d.Alignments);
    EXPECT_TRUE(FormatsByPosition(back) == FormatsByPosition(d));

    // An empty document stays empty.
    RichDocument empty = Read(WriteRtf(RichDocument {}));
    EXPECT_EQ(empty.Text, "");
    EXPECT_TRUE(empty.Runs.empty());
    EXPECT_EQ(empty.Alignments.size(), 1u);
}

TEST(RtfFormat, ReadsTheTextOutOfRtfWithWhatItDoesNotKnow)
{
    struct Case {
        const char* Name;
        const char* Rtf;
        const char* Text;
    };
    const Case kCases[] = {
        {"tables and skipped destinations",
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times;}}{\\colortbl;\\red1\\green2\\blue3;}"
            "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}{\\*\\generator Gen 1.0;}Hello\\par World}",
            "Hello\r\nWorld"},
        {"unknown words and ignorable groups",
            "{\\rtf1 A\\madeupword42 B{\\*\\madeupdest hidden {nested} text}C\\zzz-7 D}", "ABCD"},
        {"unknown groups without a star keep their text", "{\\rtf1 a{\\unknowngroup b}c}", "abc"},
        {"code page and unicode escapes",
            "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80 \\u8364? \\uc2\\u8212\\'97\\'97!\\uc1\\u-10179?\\u-8704?}",
            "caf\xC3\xA9 \xE2\x82\xAC \xE2\x82\xAC \xE2\x80\x94!\xF0\x9F\x98\x80"},
        {"named characters and symbols",
            "{\\rtf1 a\\tab b\\~c\\emdash d\\{e\\}f\\\\g\\-h\\lquote i\\rquote}",
            "a\tb\xC2\xA0" "c\xE2\x80\x94" "d{e}f\\gh\xE2\x80\x98i\xE2\x80\x99"},
        {"fields keep their result", "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt here}} now}",
            "see here now"},
        {"pictures and binary data are skipped",
            "{\\rtf1 x{\\pict\\pngblip 89504e47}y{\\*\\blob\\bin4 }{}\\}z}", "xyz"},
        {"line breaks of the source are not text", "{\\rtf1 one\r\ntwo\\\r\nthree\\line four}",
            "onetwo\r\nthree\r\nfour"},
        {"control characters never reach the text", "{\\rtf1 a\\u0?b\\u13?c\\u10?d\x01" "e}", "abcde"},
        {"text after the document is ignored", "{\\rtf1 kept}not kept", "kept"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        RichDocument d = Read(c.Rtf);
        EXPECT_EQ(d.Text, c.Text);
        long long positions = 0;
        for (const RichRun& run : d.Runs)
            positions += run.Length;
        // Every character has a format; a line break counts two positions.
        long long breaks = 0;
        for (size_t at = d.Text.find("\r\n"); at != std::string::npos; at = d.Text.find("\r\n", at + 2))
            ++breaks;
        size_t characters = 0;
        for (char ch : d.Text)
            characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
        EXPECT_EQ(positions, static_cast<long long>(characters));
        EXPECT_EQ(d.Alignments.size(), static_cast<size_t>(breaks + 1));
    }
}

TEST(RtfFormat, ReadsCharacterAndParagraphProperties)
{
    RichDocument d = Read("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fswiss Liberation Sans;}{\\f1 DejaVu Serif;}}"
                          "{\\colortbl;\\red255\\green0\\blue0;}"
                          "\\pard\\qc a\\b b\\b0\\i\\fs32\\cf1 c\\plain d\\par\\pard e\\qr\\par\\f0\\ul f\\ulnone g}");
    ASSERT_EQ(d.Text, "abcd\r\ne\r\nfg");
    std::vector<RichCharFormat> f = FormatsByPosition(d);
    ASSERT_EQ(f.size(), 11u);
    EXPECT_EQ(f[0].Face, "DejaVu Serif") << "\\deff names the font of unformatted text";
    EXPECT_FALSE(f[0].Bold);
    EXPECT_TRUE(f[1].Bold);
    EXPECT_FALSE(f[2].Bold);
    EXPECT_TRUE(f[2].Italic);
    EXPECT_EQ(f[2].Twips, 320);
    EXPECT_FALSE(f[2].AutoColor);
    EXPECT_EQ(f[2].Color, RGB(255, 0, 0));
    EXPECT_EQ(f[3].Twips, 200) << "\\plain goes back to the base format";
    EXPECT_TRUE(f[3].AutoColor);
    EXPECT_EQ(f[3].Face, "DejaVu Serif");
    EXPECT_EQ(f[9].Face, "Liberation Sans");
    EXPECT_TRUE(f[9].Underline);
    EXPECT_FALSE(f[10].Underline);
    // A paragraph takes the alignment in force at its end.
    EXPECT_EQ(d.Alignments,
        (std::vector<RichAlignment> {RichAlignment::Center, RichAlignment::Right, RichAlignment::Right}));
}

TEST(RtfFormat, MalformedRtfIsRefusedWithAReasonAndNoDocument)
{
    std::string deep = "{\\rtf1 ";
    for (int i = 0; i < 5000; ++i)
        deep += "{";
    const std::pair<const char*, std::string> kCases[] = {
        {"not RTF", "Hello {\\b world}"},
        {"empty", ""},
        {"unclosed group", "{\\rtf1 text {\\b bold}"},
        {"truncated in a control word", "{\\rtf1 text\\par"},
        {"a lone backslash at the end", "{\\rtf1 text\\"},
        {"nested too deeply", deep},
        {"binary data past the end", "{\\rtf1 a\\bin999 xyz}"},
        {"negative binary length", "{\\rtf1 a\\bin-5 xyz}"},
        {"a control word too long", "{\\rtf1 \\" + std::string(40, 'a') + " x}"},
    };
    for (const auto& [name, rtf] : kCases) {
        SCOPED_TRACE(name);
        RichDocument d;
        d.Text = "stale";
        std::string error;
        EXPECT_FALSE(ReadRtf(rtf, Base(), &d, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(d.Text.empty());
        EXPECT_TRUE(d.Runs.empty());
    }
}
