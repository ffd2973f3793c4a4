#include "platform/controls/TextEngine.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace utf8 {

static bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

char32_t Decode(std::string_view text, size_t at, int* length)
{
    auto c = static_cast<unsigned char>(text[at]);
    int need = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    *length = 1;
    if (need == 0)
        return c;
    if (need < 0 || at + need >= text.size())
        return 0xFFFD;
    char32_t code = c & (0x3F >> need);
    for (int k = 1; k <= need; ++k) {
        auto d = static_cast<unsigned char>(text[at + k]);
        if (!IsContinuation(d))
            return 0xFFFD;
        code = (code << 6) | (d & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    static const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[need] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0xFFFD;
    *length = need + 1;
    return code;
}

void Append(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The engine keeps its text valid, so counting and offsets only look at lead bytes.
int Count(std::string_view text)
{
    int n = 0;
    for (char c : text)
        n += !IsContinuation(static_cast<unsigned char>(c));
    return n;
}

size_t Offset(std::string_view text, int index)
{
    // No character is shorter than a byte, so an index at or past the byte count is the end.
    if (index >= 0 && static_cast<size_t>(index) >= text.size())
        return text.size();
    size_t at = 0;
    for (; at < text.size(); ++at) {
        if (!IsContinuation(static_cast<unsigned char>(text[at])) && index-- == 0)
            return at;
    }
    return text.size();
}

std::string_view Prefix(std::string_view text, int chars) { return text.substr(0, Offset(text, chars)); }

} // namespace utf8

TextEngine::TextEngine(bool multiLine) : multiLine_(multiLine) { SetText({}); }

int TextEngine::CountWithBreak(std::string_view text, bool last)
{
    return utf8::Count(text) + (last ? 0 : BreakLength);
}

// Valid UTF-8 with '\n' for every line break; a single-line engine stops at the first break. Text stops at a
// NUL, as a C string would.
std::string TextEngine::Normalise(std::string_view text) const
{
    std::string out;
    out.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        // Copy a run of plain characters at once; stop at a break, a NUL or a byte that needs checking.
        size_t run = at;
        while (run < text.size()) {
            auto b = static_cast<unsigned char>(text[run]);
            if (b == '\r' || b == '\n' || b == 0)
                break;
            if (b < 0x80) {
                ++run;
                continue;
            }
            int length = 0;
            if (utf8::Decode(text, run, &length) == 0xFFFD && length == 1)
                break;
            run += length;
        }
        out.append(text, at, run - at);
        at = run;
        if (at >= text.size())
            break;
        char c = text[at];
        if (c == '\0')
            break;
        if (c == '\r' || c == '\n') {
            if (!multiLine_)
                break;
            out += '\n';
            at += (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
            continue;
        }
        // A bad sequence: one replacement character for its first byte.
        int length = 0;
        utf8::Decode(text, at, &length);
        utf8::Append(out, 0xFFFD);
        at += length;
    }
    return out;
}

// Whether a line needs no cleaning: ASCII without NUL or CR, so one character a byte. Eight bytes are looked at
// at once (a word has a byte b when the word XOR b has a zero byte).
static bool PlainLine(std::string_view line)
{
    constexpr uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
    auto hasZero = [](uint64_t w) { return ((w - ones) & ~w & highs) != 0; };
    size_t at = 0;
    for (; at + 8 <= line.size(); at += 8) {
        uint64_t w;
        std::memcpy(&w, line.data() + at, 8);
        if ((w & highs) || hasZero(w) || hasZero(w ^ (ones * '\r')))
            return false;
    }
    for (; at < line.size(); ++at) {
        auto c = static_cast<unsigned char>(line[at]);
        if (c >= 0x80 || c == 0 || c == '\r')
            return false;
    }
    return true;
}

bool TextEngine::SplitPlain(std::string_view text, std::vector<std::string>& lines, std::vector<int>& counts) const
{
    if (!multiLine_)
        return false;
    // Room for every line and for a gap of an eighth more, which the line buffer keeps.
    size_t breaks = std::count(text.begin(), text.end(), '\n');
    lines.reserve(breaks + 1 + breaks / 8);
    counts.reserve(breaks + 1);
    for (size_t start = 0;;) {
        size_t end = text.find('\n', start);
        bool last = end == std::string_view::npos;
        size_t stop = last ? text.size() : end;
        if (!last && stop > start && text[stop - 1] == '\r')
            --stop;
        std::string_view line = text.substr(start, stop - start);
        if (!PlainLine(line))
            return false;
        lines.emplace_back(line);
        counts.push_back(static_cast<int>(line.size()) + (last ? 0 : BreakLength));
        if (last)
            return true;
        start = end + 1;
    }
}

void TextEngine::SetText(std::string_view text)
{
    std::vector<std::string> lines;
    std::vector<int> counts;
    // The usual text is split as it stands; any other is cleaned first.
    if (!SplitPlain(text, lines, counts)) {
        lines.clear();
        counts.clear();
        std::string clean = Normalise(text);
        size_t start = 0;
        for (;;) {
            size_t end = clean.find('\n', start);
            lines.emplace_back(clean.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        counts.resize(lines.size());
        for (size_t i = 0; i < lines.size(); ++i)
            counts[i] = CountWithBreak(lines[i], i + 1 == lines.size());
    }
    int removed = lines_.Size();
    long long removedChars = lines_.Total();
    text_.Assign(std::move(lines));
    lines_.Assign(counts);
    if (OnReplaced)
        OnReplaced(0, removedChars, Length());
    if (OnLinesChanged)
        OnLinesChanged(0, removed, LineCount());
    anchor_ = caret_ = 0;
    undo_ = {};
    modified_ = false;
}

std::string TextEngine::Text() const { return TextRange(0, Length()); }

std::string TextEngine::TextRange(long long from, long long to) const
{
    from = std::clamp(from, 0LL, Length());
    to = std::clamp(to, from, Length());
    int l1, c1, l2, c2;
    Locate(from, &l1, &c1);
    Locate(to, &l2, &c2);
    std::string_view first = text_[l1];
    if (l1 == l2) {
        size_t a = utf8::Offset(first, c1);
        return std::string(first.substr(a, utf8::Offset(first, c2) - a));
    }
    std::string out(first.substr(utf8::Offset(first, c1)));
    for (int l = l1 + 1; l < l2; ++l) {
        out += "\r\n";
        out += text_[l];
    }
    out += "\r\n";
    out += utf8::Prefix(text_[l2], c2);
    return out;
}

size_t TextEngine::ByteLength() const
{
    size_t bytes = 0;
    for (int i = 0; i < text_.Size(); ++i)
        bytes += text_[i].size();
    return bytes + BreakLength * (text_.Size() - 1);
}

size_t TextEngine::CopyText(char* buffer, size_t size) const
{
    size_t at = 0;
    for (int i = 0; i < text_.Size(); ++i) {
        if (i > 0) {
            if (at + 2 > size)
                return at;
            buffer[at++] = '\r';
            buffer[at++] = '\n';
        }
        const std::string& line = text_[i];
        size_t n = std::min(line.size(), size - at);
        while (n > 0 && n < line.size() && (static_cast<unsigned char>(line[n]) & 0xC0) == 0x80)
            --n;
        std::copy_n(line.data(), n, buffer + at);
        at += n;
        if (n < line.size())
            return at;
    }
    return at;
}

int TextEngine::LineLength(int line) const
{
    return lines_.Count(line) - (line + 1 < LineCount() ? BreakLength : 0);
}

int TextEngine::LineFromChar(long long position) const
{
    return lines_.Find(std::clamp(position, 0LL, Length()));
}

// A position inside a line break (between CR and LF) counts as the end of its line.
void TextEngine::Locate(long long position, int* line, int* column) const
{
    position = std::clamp(position, 0LL, Length());
    *line = lines_.Find(position);
    *column = static_cast<int>(std::min<long long>(position - lines_.Start(*line), LineLength(*line)));
}

void TextEngine::SetSel(long long anchor, long long caret)
{
    auto snap = [this](long long p) {
        int line, column;
        Locate(p, &line, &column);
        return LineIndex(line) + column;
    };
    caret_ = snap(caret);
    anchor_ = anchor < 0 ? caret_ : snap(anchor);
}

long long TextEngine::NextChar(long long position) const
{
    int line, column;
    Locate(position, &line, &column);
    if (column < LineLength(line))
        return LineIndex(line) + column + 1;
    return line + 1 < LineCount() ? LineIndex(line + 1) : Length();
}

long long TextEngine::PrevChar(long long position) const
{
    int line, column;
    Locate(position, &line, &column);
    if (column > 0)
        return LineIndex(line) + column - 1;
    return line > 0 ? LineIndex(line - 1) + LineLength(line - 1) : 0;
}

static bool IsWordChar(char32_t c) { return c != ' ' && c != '\t'; }

// The start of the next word: past the rest of this word and the blanks after it; a line end is a stop.
long long TextEngine::NextWord(long long position) const
{
    int line, column;
    Locate(position, &line, &column);
    std::string_view text = text_[line];
    int length = LineLength(line);
    if (column >= length)
        return NextChar(position);
    size_t at = utf8::Offset(text, column);
    auto charAt = [&](size_t& a) {
        int n = 0;
        char32_t c = utf8::Decode(text, a, &n);
        a += n;
        return c;
    };
    while (column < length) {
        size_t probe = at;
        if (!IsWordChar(charAt(probe)))
            break;
        at = probe;
        ++column;
    }
    while (column < length) {
        size_t probe = at;
        if (IsWordChar(charAt(probe)))
            break;
        at = probe;
        ++column;
    }
    return LineIndex(line) + column;
}

long long TextEngine::PrevWord(long long position) const
{
    int line, column;
    Locate(position, &line, &column);
    if (column == 0)
        return PrevChar(position);
    std::vector<char32_t> chars;
    std::string_view text = text_[line];
    for (size_t at = 0; at < text.size() && static_cast<int>(chars.size()) < column;) {
        int n = 0;
        chars.push_back(utf8::Decode(text, at, &n));
        at += n;
    }
    while (column > 0 && !IsWordChar(chars[column - 1]))
        --column;
    while (column > 0 && IsWordChar(chars[column - 1]))
        --column;
    return LineIndex(line) + column;
}

void TextEngine::SetLine(int line, std::string text)
{
    text_[line] = std::move(text);
    lines_.Set(line, CountWithBreak(text_[line], line + 1 == LineCount()));
}

void TextEngine::Replace(long long from, long long to, std::string_view text)
{
    long long before = Length();
    int l1, c1, l2, c2;
    Locate(from, &l1, &c1);
    Locate(to, &l2, &c2);
    size_t a = utf8::Offset(text_[l1], c1);
    size_t b = utf8::Offset(text_[l2], c2);
    if (l1 == l2 && text.find('\n') == std::string_view::npos) {
        // The common case of typing: one line changes in place.
        std::string line = std::move(text_[l1]);
        line.replace(a, b - a, text);
        SetLine(l1, std::move(line));
        if (OnReplaced)
            OnReplaced(from, to - from, Length() - before + (to - from));
        if (OnLinesChanged)
            OnLinesChanged(l1, 1, 1);
        return;
    }
    pieces_.clear();
    for (size_t start = 0;;) {
        size_t end = text.find('\n', start);
        pieces_.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    // Lines l1..l2 become one line per piece: the first keeps what came before the replaced text, the last
    // takes what came after it.
    int removed = l2 - l1 + 1;
    int inserted = static_cast<int>(pieces_.size());
    bool atEnd = l2 == LineCount() - 1;
    std::string lastLine;
    if (inserted > 1) {
        lastLine.reserve(pieces_.back().size() + text_[l2].size() - b);
        lastLine.append(pieces_.back());
        lastLine.append(text_[l2], b);
    }
    std::string& firstLine = text_[l1];
    firstLine.resize(a);
    firstLine.append(pieces_.front());
    if (inserted == 1)
        firstLine.append(text_[l2], b);
    // The lines after the first: overwrite the overlap, then insert or erase only the difference.
    int common = std::min(removed, inserted) - 1;
    auto newLine = [&](int k) { return k == inserted - 1 ? std::move(lastLine) : std::string(pieces_[k]); };
    for (int k = 1; k <= common; ++k)
        text_[l1 + k] = newLine(k);
    if (removed > inserted) {
        text_.Erase(l1 + inserted, l1 + removed);
    } else if (inserted > removed) {
        text_.Insert(l1 + removed, inserted - removed);
        for (int k = removed; k < inserted; ++k)
            text_[l1 + k] = newLine(k);
    }
    counts_.resize(inserted);
    for (int k = 0; k < inserted; ++k)
        counts_[k] = CountWithBreak(text_[l1 + k], atEnd && k == inserted - 1);
    lines_.Replace(l1, removed, counts_);
    if (OnReplaced)
        OnReplaced(from, to - from, Length() - before + (to - from));
    if (OnLinesChanged)
        OnLinesChanged(l1, removed, inserted);
}

bool TextEngine::ReplaceSel(std::string_view text, bool canUndo)
{
    std::string clean = Normalise(text);
    long long from = SelStart(), to = SelEnd();
    long long room = limit_ - (Length() - (to - from));
    // Cut what passes the limit at a character boundary; a line break is taken whole or not at all.
    bool whole = true;
    long long count = 0;
    size_t keep = 0;
    for (size_t at = 0; at < clean.size();) {
        int n = 1;
        int chars = 1;
        if (clean[at] == '\n')
            chars = BreakLength;
        else if (static_cast<unsigned char>(clean[at]) >= 0x80)
            utf8::Decode(clean, at, &n);
        if (count + chars > room) {
            whole = false;
            break;
        }
        count += chars;
        at += n;
        keep = at;
    }
    clean.resize(keep);
    if (clean.empty() && from == to)
        return whole;
    if (!canUndo) {
        // The step would no longer match the text.
        undo_ = {};
    } else {
        bool joins = undo_.valid && undo_.typing && typing_ && from == to &&
                     undo_.position + undo_.insertedLength == from;
        if (joins) {
            undo_.insertedLength += count;
        } else {
            undo_ = {true, from, TextRange(from, to), count, typing_};
        }
    }
    Replace(from, to, clean);
    anchor_ = caret_ = from + count;
    modified_ = true;
    return whole;
}

bool TextEngine::Type(std::string_view character)
{
    typing_ = true;
    bool whole = ReplaceSel(character);
    typing_ = false;
    return whole;
}

bool TextEngine::Undo()
{
    if (!undo_.valid)
        return false;
    UndoStep step = undo_;
    std::string restored = Normalise(step.removed);
    long long end = step.position + step.insertedLength;
    std::string undone = TextRange(step.position, end);
    Replace(step.position, end, restored);
    long long count = static_cast<long long>(utf8::Count(restored)) +
                      (BreakLength - 1) * static_cast<long long>(std::count(restored.begin(), restored.end(), '\n'));
    undo_ = {true, step.position, std::move(undone), count, false};
    anchor_ = step.position;
    caret_ = step.position + count;
    modified_ = true;
    return true;
}
