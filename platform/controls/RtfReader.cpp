// The RTF reader: a loop over the bytes with a stack of group states. Text goes out only from the document's
// own text; the font and colour tables are read; every other destination, and every group marked \*, is
// skipped whole; control words it does not know are passed over.
#include "platform/controls/RtfFormat.h"
#include "platform/controls/TextEngine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <optional>

namespace {

constexpr int kMaxDepth = 1000;
constexpr size_t kMaxWord = 32;

// Windows-1252 for the bytes 0x80..0x9F (the rest of the code page is Latin-1).
constexpr std::array<char16_t, 32> kCp1252 = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
    0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

char32_t FromCp1252(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kCp1252[b - 0x80] : b; }

// Destinations whose content is never text of the document.
bool IsSkippedDestination(std::string_view word)
{
    static constexpr std::string_view kSkipped[] = {"stylesheet", "info", "pict", "object", "header", "headerl",
        "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "themedata",
        "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "listtable", "listoverridetable", "rsidtbl",
        "generator", "filetbl", "revtbl", "pgdsctbl", "annotation", "atnid", "atnauthor", "bkmkstart", "bkmkend",
        "nonshppict", "comment", "template", "xe", "tc", "txe", "falt", "panose", "fname", "objdata", "result"};
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

// Named characters.
std::optional<char32_t> SpecialCharacter(std::string_view word)
{
    static const std::map<std::string_view, char32_t> kNamed = {{"tab", '\t'}, {"cell", '\t'}, {"emdash", 0x2014},
        {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C},
        {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002}, {"qmspace", 0x2005}};
    auto it = kNamed.find(word);
    if (it == kNamed.end())
        return std::nullopt;
    return it->second;
}

enum class Destination : uint8_t { Text, Skip, FontTable, ColourTable };

struct GroupState {
    RichCharFormat Format;
    RichAlignment Alignment = RichAlignment::Left;
    Destination Where = Destination::Text;
    int SkipAfterUnicode = 1; // \uc
};

class RtfReader {
public:
    RtfReader(std::string_view bytes, const RichCharFormat& base) : in_(bytes), base_(base) {}
    bool Read(RichDocument* document, std::string* error);

private:
    bool Fail(const char* message)
    {
        error_ = message;
        return false;
    }
    bool OpenGroup();
    bool CloseGroup();
    bool ControlWord();
    void ControlSymbol(char symbol);
    void Word(std::string_view word, bool hasValue, long value);
    // A character of the document, of a font name, or nothing (skipped destinations, \u fallbacks).
    void Character(char32_t c);
    void Unicode(long value);
    void ParagraphBreak();
    int FormatIndex(const RichCharFormat& format);

    std::string_view in_;
    size_t at_ = 0;
    RichCharFormat base_;
    std::vector<GroupState> stack_;
    GroupState state_;
    bool groupStart_ = false; // the next control word is the first of its group
    bool ignorable_ = false;  // \* came before it
    int skipping_ = 0;        // fallback characters still to drop after \u
    char32_t highSurrogate_ = 0;
    // The tables.
    std::map<long, std::string> fonts_;
    long fontNumber_ = 0;
    std::string fontName_;
    long defaultFont_ = -1;
    std::vector<std::optional<COLORREF>> colours_;
    int red_ = -1, green_ = -1, blue_ = -1;
    // The result.
    RichDocument document_;
    int lastFormat_ = -1;
    RichAlignment finalAlignment_ = RichAlignment::Left; // of the last paragraph, as the document closes
    std::string error_;
};

bool RtfReader::Read(RichDocument* document, std::string* error)
{
    if (!LooksLikeRtf(in_)) {
        *error = "The text is not RTF: it does not start with {\\rtf.";
        *document = {};
        return false;
    }
    state_.Format = base_;
    bool ended = false;
    bool ok = true;
    while (ok && !ended && at_ < in_.size()) {
        char c = in_[at_++];
        switch (c) {
        case '{':
            ok = OpenGroup();
            break;
        case '}':
            ok = CloseGroup();
            ended = ok && stack_.empty();
            break;
        case '\\':
            ok = ControlWord();
            break;
        case '\r':
        case '\n':
            break;
        default:
            if (state_.Where == Destination::ColourTable && c == ';') {
                if (red_ < 0 && green_ < 0 && blue_ < 0)
                    colours_.push_back(std::nullopt);
                else
                    colours_.push_back(RGB(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
                red_ = green_ = blue_ = -1;
            } else if (c != '\0') {
                Character(FromCp1252(static_cast<unsigned char>(c)));
            }
            groupStart_ = false;
            break;
        }
    }
    if (ok && !ended)
        ok = Fail("The RTF ends before its groups are closed.");
    if (!ok) {
        *error = error_;
        *document = {};
        return false;
    }
    document_.Alignments.push_back(finalAlignment_);
    *document = std::move(document_);
    return true;
}

bool RtfReader::OpenGroup()
{
    if (static_cast<int>(stack_.size()) >= kMaxDepth)
        return Fail("The RTF nests its groups too deeply.");
    stack_.push_back(state_);
    groupStart_ = true;
    ignorable_ = false;
    skipping_ = 0;
    return true;
}

bool RtfReader::CloseGroup()
{
    if (stack_.empty())
        return Fail("The RTF closes a group it never opened.");
    if (state_.Where == Destination::FontTable && !fontName_.empty()) {
        fonts_[fontNumber_] = fontName_;
        fontName_.clear();
    }
    Destination closing = state_.Where;
    if (stack_.size() == 1)
        finalAlignment_ = state_.Alignment;
    state_ = stack_.back();
    stack_.pop_back();
    // The default font applies once the table that names it has been read.
    if (closing == Destination::FontTable && state_.Where != Destination::FontTable) {
        if (auto it = fonts_.find(defaultFont_); it != fonts_.end()) {
            base_.Face = it->second;
            state_.Format.Face = it->second;
        }
    }
    groupStart_ = false;
    ignorable_ = false;
    skipping_ = 0;
    return true;
}

bool RtfReader::ControlWord()
{
    if (at_ >= in_.size())
        return true; // a lone backslash at the very end: the missing brace is reported by the caller
    char c = in_[at_];
    auto isLetter = [](char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); };
    if (!isLetter(c)) {
        ++at_;
        ControlSymbol(c);
        return true;
    }
    size_t start = at_;
    while (at_ < in_.size() && isLetter(in_[at_]))
        ++at_;
    if (at_ - start > kMaxWord)
        return Fail("The RTF has a control word longer than 32 letters.");
    std::string_view word = in_.substr(start, at_ - start);
    bool negative = at_ < in_.size() && in_[at_] == '-';
    if (negative)
        ++at_;
    bool hasValue = false;
    long value = 0;
    while (at_ < in_.size() && in_[at_] >= '0' && in_[at_] <= '9') {
        hasValue = true;
        // Values past what RTF allows (16 or 32 bits) are held at the bound rather than overflowing.
        value = std::min(value * 10 + (in_[at_] - '0'), 2147483647L);
        ++at_;
    }
    if (negative)
        value = -value;
    if (at_ < in_.size() && in_[at_] == ' ')
        ++at_;
    if (word == "bin") {
        // Binary data: skipped as bytes, whatever they are.
        if (hasValue && (value < 0 || static_cast<size_t>(value) > in_.size() - at_))
            return Fail("A \\bin block in the RTF runs past its end.");
        at_ += static_cast<size_t>(value);
        groupStart_ = false;
        return true;
    }
    Word(word, hasValue, value);
    return true;
}

void RtfReader::ControlSymbol(char symbol)
{
    bool first = groupStart_;
    groupStart_ = false;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        Character(static_cast<unsigned char>(symbol));
        break;
    case '~':
        Character(0x00A0);
        break;
    case '_':
        Character(0x2011);
        break;
    case '*':
        ignorable_ = true;
        groupStart_ = first;
        break;
    case '\'': {
        auto hex = [](char h) {
            return h >= '0' && h <= '9' ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10 : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
        };
        if (at_ + 1 < in_.size() && hex(in_[at_]) >= 0 && hex(in_[at_ + 1]) >= 0) {
            Character(FromCp1252(static_cast<unsigned char>(hex(in_[at_]) * 16 + hex(in_[at_ + 1]))));
            at_ += 2;
        }
        break;
    }
    case '\r':
    case '\n':
        ParagraphBreak();
        break;
    default:
        // \- (optional hyphen), \| and \: (formula and index marks) and the unknown: nothing to show.
        if (skipping_ > 0)
            --skipping_;
        break;
    }
}

void RtfReader::Word(std::string_view word, bool hasValue, long value)
{
    bool first = groupStart_;
    bool ignorable = ignorable_;
    groupStart_ = false;
    ignorable_ = false;
    if (first && state_.Where != Destination::Skip) {
        if (word == "fonttbl") {
            state_.Where = Destination::FontTable;
            return;
        }
        if (word == "colortbl") {
            state_.Where = Destination::ColourTable;
            colours_.clear();
            return;
        }
        if (ignorable || IsSkippedDestination(word)) {
            state_.Where = Destination::Skip;
            return;
        }
    }
    if (state_.Where == Destination::Skip)
        return;
    RichCharFormat& f = state_.Format;
    bool on = !hasValue || value != 0;
    if (state_.Where == Destination::ColourTable) {
        int component = static_cast<int>(std::clamp(value, 0L, 255L));
        if (word == "red")
            red_ = component;
        else if (word == "green")
            green_ = component;
        else if (word == "blue")
            blue_ = component;
        return;
    }
    if (state_.Where == Destination::FontTable) {
        if (word == "f") {
            if (!fontName_.empty())
                fonts_[fontNumber_] = fontName_;
            fontName_.clear();
            fontNumber_ = value;
        }
        if (word == "u")
            Unicode(value);
        return;
    }
    if (word == "par" || word == "line" || word == "row" || word == "page" || word == "sect") {
        ParagraphBreak();
    } else if (auto special = SpecialCharacter(word)) {
        Character(*special);
    } else if (word == "u") {
        Unicode(value);
    } else if (word == "uc") {
        state_.SkipAfterUnicode = static_cast<int>(std::clamp(value, 0L, 16L));
    } else if (word == "deff") {
        defaultFont_ = value;
    } else if (word == "plain") {
        f = base_;
    } else if (word == "f") {
        if (auto it = fonts_.find(value); it != fonts_.end())
            f.Face = it->second;
    } else if (word == "fs") {
        // Half points; a size of nothing or less is RTF's default of 12 points.
        f.Twips = hasValue && value > 0 ? static_cast<int>(std::min(value, 3276L)) * 10 : 240;
    } else if (word == "cf") {
        bool known = value > 0 && value < static_cast<long>(colours_.size()) && colours_[value];
        f.AutoColor = !known;
        f.Color = known ? *colours_[value] : 0;
    } else if (word == "b") {
        f.Bold = on;
    } else if (word == "i") {
        f.Italic = on;
    } else if (word == "strike") {
        f.StrikeOut = on;
    } else if (word == "ulnone") {
        f.Underline = false;
    } else if (word.substr(0, 2) == "ul" && word != "ulc") {
        // \ul and its kinds (double, dotted, word ...) are all one underline here.
        f.Underline = on;
    } else if (word == "pard") {
        state_.Alignment = RichAlignment::Left;
    } else if (word == "ql" || word == "qj" || word == "qd") {
        state_.Alignment = RichAlignment::Left;
    } else if (word == "qc") {
        state_.Alignment = RichAlignment::Center;
    } else if (word == "qr") {
        state_.Alignment = RichAlignment::Right;
    } else if (skipping_ > 0) {
        --skipping_;
    }
}

void RtfReader::Unicode(long value)
{
    auto code = static_cast<char32_t>(value < 0 ? value + 65536 : value) & 0xFFFF;
    skipping_ = 0;
    if (code >= 0xD800 && code <= 0xDBFF) {
        highSurrogate_ = code;
    } else if (code >= 0xDC00 && code <= 0xDFFF) {
        char32_t whole = highSurrogate_ ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (code - 0xDC00) : 0xFFFD;
        highSurrogate_ = 0;
        Character(whole);
    } else {
        Character(code);
    }
    skipping_ = state_.SkipAfterUnicode;
}

int RtfReader::FormatIndex(const RichCharFormat& format)
{
    if (lastFormat_ >= 0 && document_.Formats[lastFormat_] == format)
        return lastFormat_;
    auto it = std::find(document_.Formats.begin(), document_.Formats.end(), format);
    if (it == document_.Formats.end()) {
        document_.Formats.push_back(format);
        it = document_.Formats.end() - 1;
    }
    lastFormat_ = static_cast<int>(it - document_.Formats.begin());
    return lastFormat_;
}

void RtfReader::Character(char32_t c)
{
    if (skipping_ > 0) {
        --skipping_;
        return;
    }
    if (highSurrogate_ && (c < 0xDC00 || c > 0xDFFF)) {
        highSurrogate_ = 0;
        Character(0xFFFD);
    }
    // Control characters would break the text's lines or end it; only the tab is text.
    if ((c < 0x20 && c != '\t') || c == 0x7F)
        return;
    if (state_.Where == Destination::FontTable) {
        if (c == ';') {
            fonts_[fontNumber_] = fontName_;
            fontName_.clear();
        } else if (fontName_.size() < 64) {
            utf8::Append(fontName_, c);
        }
        return;
    }
    if (state_.Where != Destination::Text)
        return;
    utf8::Append(document_.Text, c);
    int format = FormatIndex(state_.Format);
    if (!document_.Runs.empty() && document_.Runs.back().Format == format)
        ++document_.Runs.back().Length;
    else
        document_.Runs.push_back({1, format});
}

void RtfReader::ParagraphBreak()
{
    if (state_.Where != Destination::Text)
        return;
    skipping_ = 0;
    document_.Text += "\r\n";
    document_.Alignments.push_back(state_.Alignment);
    int format = FormatIndex(state_.Format);
    if (!document_.Runs.empty() && document_.Runs.back().Format == format)
        document_.Runs.back().Length += TextEngine::BreakLength;
    else
        document_.Runs.push_back({TextEngine::BreakLength, format});
}

} // namespace

bool LooksLikeRtf(std::string_view bytes) { return bytes.substr(0, 5) == "{\\rtf"; }

bool ReadRtf(std::string_view bytes, const RichCharFormat& base, RichDocument* document, std::string* error)
{
    RtfReader reader(bytes, base);
    return reader.Read(document, error);
}
