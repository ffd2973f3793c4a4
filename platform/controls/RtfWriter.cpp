// The RTF writer: a font table and a colour table of what the runs use, then each paragraph with its alignment
// and each run with its whole format, so reading it back needs no defaults of ours. Everything past ASCII is
// written as \u with a '?' for readers that do not know it.
#include "platform/controls/RtfFormat.h"
#include "platform/controls/TextEngine.h"

#include <algorithm>

namespace {

void AppendEscaped(std::string& out, char32_t c)
{
    if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c == '\t') {
        out += "\\tab ";
    } else if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x10000) {
        out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
    } else {
        char32_t v = c - 0x10000;
        out += "\\u" + std::to_string(static_cast<int16_t>(0xD800 + (v >> 10))) + "?";
        out += "\\u" + std::to_string(static_cast<int16_t>(0xDC00 + (v & 0x3FF))) + "?";
    }
}

const char* AlignmentWord(RichAlignment alignment)
{
    switch (alignment) {
    case RichAlignment::Center: return "\\qc";
    case RichAlignment::Right: return "\\qr";
    default: return "\\ql";
    }
}

} // namespace

std::string WriteRtf(const RichDocument& document)
{
    // The tables: one font per face and one colour per colour, in the order the formats name them.
    std::vector<std::string> faces;
    std::vector<COLORREF> colours;
    for (const RichCharFormat& f : document.Formats) {
        if (std::find(faces.begin(), faces.end(), f.Face) == faces.end())
            faces.push_back(f.Face);
        if (!f.AutoColor && std::find(colours.begin(), colours.end(), f.Color) == colours.end())
            colours.push_back(f.Color);
    }
    if (faces.empty())
        faces.push_back("Arial");
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (size_t i = 0; i < faces.size(); ++i) {
        out += "{\\f" + std::to_string(i) + "\\fnil ";
        std::string_view face = faces[i];
        for (size_t at = 0; at < face.size();) {
            int n = 1;
            char32_t c = utf8::Decode(face, at, &n);
            if (c != ';')
                AppendEscaped(out, c);
            at += n;
        }
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (COLORREF c : colours)
        out += "\\red" + std::to_string(GetRValue(c)) + "\\green" + std::to_string(GetGValue(c)) + "\\blue" +
               std::to_string(GetBValue(c)) + ";";
    out += "}\r\n";

    auto formatWords = [&](const RichCharFormat& f) {
        size_t face = std::find(faces.begin(), faces.end(), f.Face) - faces.begin();
        size_t colour = f.AutoColor ? 0 : std::find(colours.begin(), colours.end(), f.Color) - colours.begin() + 1;
        std::string words = "\\plain\\f" + std::to_string(face) + "\\fs" + std::to_string((f.Twips + 5) / 10) +
                            "\\cf" + std::to_string(colour);
        if (f.Bold)
            words += "\\b";
        if (f.Italic)
            words += "\\i";
        if (f.Underline)
            words += "\\ul";
        if (f.StrikeOut)
            words += "\\strike";
        return words + " ";
    };

    size_t paragraph = 0;
    auto paragraphStart = [&] {
        RichAlignment a = paragraph < document.Alignments.size() ? document.Alignments[paragraph] : RichAlignment::Left;
        out += "\\pard";
        out += AlignmentWord(a);
        out += ' ';
    };
    paragraphStart();
    std::string_view text = document.Text;
    size_t at = 0;
    int current = -1;
    long long left = 0; // positions left in the current run
    size_t run = 0;
    while (at < text.size()) {
        if (left <= 0 && run < document.Runs.size()) {
            left = document.Runs[run].Length;
            int format = document.Runs[run++].Format;
            if (format != current && format >= 0 && format < static_cast<int>(document.Formats.size())) {
                out += formatWords(document.Formats[format]);
                current = format;
            }
        }
        if (text[at] == '\r' || text[at] == '\n') {
            at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
            left -= TextEngine::BreakLength;
            out += "\\par\r\n";
            ++paragraph;
            paragraphStart();
            continue;
        }
        int n = 1;
        char32_t c = utf8::Decode(text, at, &n);
        AppendEscaped(out, c);
        at += n;
        --left;
    }
    out += "}\r\n";
    return out;
}
