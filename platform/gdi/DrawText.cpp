// DrawText: line breaking, word wrapping, tabs, accelerator prefixes, ellipses, alignment and measuring.
#include "platform/gdi/Paint.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/TextPaint.h"
#include "platform/win/Rects.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kTab = '\t';
constexpr uint32_t kEllipsis[3] = { '.', '.', '.' };

// One line as drawn: its characters with their advances and the accelerator marks.
struct TLine {
    std::vector<uint32_t> Chars;
    std::vector<int> Advances;
    std::vector<size_t> Marked; // indexes of underlined characters
    int Width = 0;
};

struct TLayout {
    TFontFace* Face = nullptr;
    const TDeviceContext* DC = nullptr;
    int TabWidth = 0; // 0: tabs are plain characters

    int Advance(uint32_t c) const { return Face->Advance(c) + DC->State.CharExtra; }

    // The advance of `c` at `x` pixels from the line's start: tabs reach the next stop.
    int AdvanceAt(uint32_t c, int64_t x) const
    {
        if (c == kTab && TabWidth > 0)
            return int(TabWidth - ((x % TabWidth) + TabWidth) % TabWidth);
        return Advance(c);
    }

    // Advances for the line's characters and its width.
    void Measure(TLine& line) const
    {
        line.Advances.resize(line.Chars.size());
        int64_t x = 0;
        for (size_t i = 0; i < line.Chars.size(); ++i) {
            line.Advances[i] = AdvanceAt(line.Chars[i], x);
            x += line.Advances[i];
        }
        line.Width = int(std::clamp<int64_t>(x, -kCoordLimit, kCoordLimit));
    }
};

// Removes the prefix marks: "&x" marks x, "&&" is "&", a final "&" goes.
void StripPrefixes(std::vector<uint32_t>& chars, std::vector<size_t>& marked)
{
    // In place: the kept characters never run ahead of the read ones.
    size_t kept = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] != '&') {
            chars[kept++] = chars[i];
            continue;
        }
        if (i + 1 >= chars.size())
            break;
        ++i;
        if (chars[i] != '&')
            marked.push_back(kept);
        chars[kept++] = chars[i];
    }
    chars.resize(kept);
}

bool IsBreak(uint32_t c)
{
    return c == '\r' || c == '\n';
}

bool IsSpace(uint32_t c)
{
    return c == ' ' || c == kTab;
}

// A sub-range of a logical line as its own line, with the marks that fall in it.
TLine Slice(const TLine& source, size_t from, size_t to, const TLayout& layout)
{
    TLine line;
    line.Chars.assign(source.Chars.begin() + ptrdiff_t(from), source.Chars.begin() + ptrdiff_t(to));
    for (size_t m : source.Marked)
        if (m >= from && m < to)
            line.Marked.push_back(m - from);
    layout.Measure(line);
    return line;
}

// Greedy word wrap: breaks after the spaces that end the last word still fitting in `width`; the spaces at a break
// are dropped, and a word wider than the line keeps a line of its own. Each character is measured once per line
// it is tried on, so long texts wrap in linear time.
void Wrap(const TLine& logical, int width, const TLayout& layout, std::vector<TLine>& lines)
{
    const size_t n = logical.Chars.size();
    if (n == 0) {
        lines.push_back(TLine());
        return;
    }
    size_t start = 0;
    while (start < n) {
        int64_t used = 0;
        size_t lastBreak = start; // the end of the last word that fits
        bool overflow = false;
        for (size_t x = start; x < n; ++x) {
            const uint32_t c = logical.Chars[x];
            used += layout.AdvanceAt(c, used);
            if (used > width && !IsSpace(c)) {
                overflow = true;
                break;
            }
            if (!IsSpace(c) && (x + 1 == n || IsSpace(logical.Chars[x + 1])))
                lastBreak = x + 1;
        }
        if (!overflow) {
            lines.push_back(Slice(logical, start, n, layout));
            return;
        }
        size_t end = lastBreak;
        if (end <= start) {
            // The first word alone is too wide: it keeps its line.
            while (end < n && IsSpace(logical.Chars[end]))
                ++end;
            while (end < n && !IsSpace(logical.Chars[end]))
                ++end;
        }
        lines.push_back(Slice(logical, start, end, layout));
        start = end;
        while (start < n && IsSpace(logical.Chars[start]))
            ++start;
    }
}

// The number of leading characters whose advances (as measured) fit in `room`.
size_t Fitting(const TLine& line, int64_t room)
{
    int64_t used = 0;
    size_t k = 0;
    while (k < line.Chars.size() && used + line.Advances[k] <= room)
        used += line.Advances[k++];
    return k;
}

void AppendEllipsis(TLine& line, const TLayout& layout)
{
    line.Chars.insert(line.Chars.end(), std::begin(kEllipsis), std::end(kEllipsis));
    layout.Measure(line);
}

// Keeps the longest start of the line that fits with "..." after it.
void EndEllipsis(TLine& line, int width, const TLayout& layout)
{
    if (line.Width <= width)
        return;
    const int64_t dots = 3 * int64_t(layout.Advance('.'));
    line.Chars.resize(Fitting(line, int64_t(width) - dots));
    std::erase_if(line.Marked, [&](size_t m) { return m >= line.Chars.size(); });
    AppendEllipsis(line, layout);
}

// Keeps the last path component and as much of the start as fits, with "..." between them.
void PathEllipsis(TLine& line, int width, const TLayout& layout)
{
    if (line.Width <= width)
        return;
    size_t separator = line.Chars.size();
    for (size_t i = line.Chars.size(); i-- > 0;)
        if (line.Chars[i] == '\\' || line.Chars[i] == '/') {
            separator = i;
            break;
        }
    if (separator == line.Chars.size()) {
        EndEllipsis(line, width, layout);
        return;
    }
    const std::vector<uint32_t> whole = line.Chars;
    const std::vector<uint32_t> tail(whole.begin() + ptrdiff_t(separator), whole.end());
    line.Marked.clear();
    auto build = [&](size_t headLength) {
        line.Chars.assign(whole.begin(), whole.begin() + ptrdiff_t(headLength));
        line.Chars.insert(line.Chars.end(), std::begin(kEllipsis), std::end(kEllipsis));
        line.Chars.insert(line.Chars.end(), tail.begin(), tail.end());
        layout.Measure(line);
        return line.Width <= width;
    };
    // The width grows with the head, so the longest head that fits is found by halving.
    size_t lo = 0;
    size_t hi = separator;
    if (!build(0)) {
        line.Chars = tail;
        layout.Measure(line);
        EndEllipsis(line, width, layout);
        return;
    }
    while (lo < hi) {
        const size_t mid = lo + (hi - lo + 1) / 2;
        if (build(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    build(lo);
}

int DrawTextChars(HDC handle, const std::vector<uint32_t>& text, RECT* rect, UINT format, DRAWTEXTPARAMS* params)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc || !rect)
        return 0;
    if (params && params->cbSize != sizeof(DRAWTEXTPARAMS))
        return 0;
    const size_t length = text.size();
    int tabChars = 8;
    if (format & DT_TABSTOP) {
        // The tab size borrows the second byte of the format, so its flags do not apply.
        tabChars = int((format >> 8) & 0xFF);
        format &= ~UINT(0xFF00);
    }
    if (params && params->iTabLength > 0)
        tabChars = params->iTabLength;

    auto lock = LockFonts();
    std::shared_ptr<TFontFace> face = SelectedFace(*dc);
    if (!face)
        return 0;
    const TFontMetrics& m = face->Metrics();
    TLayout layout;
    layout.Face = face.get();
    layout.DC = dc;
    layout.TabWidth = (format & DT_EXPANDTABS) ? std::max(1, tabChars) * m.AveCharWidth : 0;

    // Pinned to the drawing range, so the layout arithmetic below cannot overflow.
    RECT area { ClampCoord(rect->left), ClampCoord(rect->top), ClampCoord(rect->right), ClampCoord(rect->bottom) };
    if (params) {
        area.left = ClampCoord(int64_t(area.left) + params->iLeftMargin);
        area.right = ClampCoord(int64_t(area.right) - params->iRightMargin);
    }
    const int width = std::max(0, area.right - area.left);
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const bool prefixes = !(format & DT_NOPREFIX);

    // Most texts are one line that is not wrapped: it is laid out in a line this thread keeps, whose storage
    // stays, instead of in lists made for the call.
    thread_local std::vector<TLine> kept(1);
    std::vector<TLine> made;
    const bool oneLine = !text.empty() && !((format & DT_WORDBREAK) && !singleLine)
        && (singleLine || std::none_of(text.begin(), text.end(), IsBreak));
    if (oneLine) {
        TLine& line = kept.front();
        line.Chars.clear();
        line.Marked.clear();
        for (uint32_t c : text)
            if (!IsBreak(c))
                line.Chars.push_back(c);
        if (prefixes)
            StripPrefixes(line.Chars, line.Marked);
        layout.Measure(line);
    }
    std::vector<TLine>& lines = oneLine ? kept : made;
    // Logical lines.
    std::vector<TLine> logical;
    if (!oneLine) {
        TLine current;
        current.Chars.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            const uint32_t c = text[i];
            if (IsBreak(c)) {
                if (singleLine)
                    continue;
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
                logical.push_back(std::move(current));
                current = TLine();
                continue;
            }
            current.Chars.push_back(c);
        }
        if (!text.empty() && (!current.Chars.empty() || !IsBreak(text.back()) || singleLine))
            logical.push_back(std::move(current));
    }
    for (TLine& line : logical) {
        if (prefixes)
            StripPrefixes(line.Chars, line.Marked);
        layout.Measure(line);
        if ((format & DT_WORDBREAK) && !singleLine)
            Wrap(line, width, layout, lines);
        else
            lines.push_back(std::move(line));
    }
    for (TLine& line : lines) {
        if (format & DT_PATH_ELLIPSIS)
            PathEllipsis(line, width, layout);
        else if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS))
            EndEllipsis(line, width, layout);
    }
    if (params)
        params->uiLengthDrawn = UINT(length);
    if (lines.empty()) {
        if (format & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return 0;
    }

    const int lineHeight = m.Height + ((format & DT_EXTERNALLEADING) ? m.ExternalLeading : 0);
    const int64_t textHeight64 = int64_t(lineHeight) * int64_t(lines.size());
    const int textHeight = int(std::min<int64_t>(textHeight64, kCoordLimit));
    int widest = 0;
    for (const TLine& line : lines)
        widest = std::max(widest, line.Width);

    int top = area.top;
    if (singleLine && (format & DT_VCENTER))
        top = area.top + (area.bottom - area.top - textHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        top = area.bottom - textHeight;
    const int result = (singleLine && (format & (DT_VCENTER | DT_BOTTOM))) ? top - area.top + textHeight : textHeight;

    if (format & DT_CALCRECT) {
        rect->right = ClampCoord(
            int64_t(rect->left) + widest + (params ? int64_t(params->iLeftMargin) + params->iRightMargin : 0));
        rect->bottom = ClampCoord(int64_t(rect->top) + textHeight);
        return result;
    }

    const RECT clip = area;
    const UINT options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
    const bool hideMarks = (format & DT_HIDEPREFIX) != 0;
    const bool marksOnly = (format & DT_PREFIXONLY) != 0;
    int y = top;
    for (const TLine& line : lines) {
        int x = area.left;
        if (format & DT_CENTER)
            x = area.left + (width - line.Width) / 2;
        else if (format & DT_RIGHT)
            x = area.right - line.Width;
        std::vector<std::pair<int, int>> marks;
        if (!hideMarks) {
            for (size_t index : line.Marked) {
                int64_t from = 0;
                for (size_t k = 0; k < index; ++k)
                    from += line.Advances[k];
                const int start = ClampCoord(from);
                marks.emplace_back(start, ClampCoord(int64_t(start) + line.Advances[index] - dc->State.CharExtra));
            }
        }
        if (marksOnly) {
            // Only the accelerator underlines: draw nothing else of the line.
            const int saved = dc->State.BkMode;
            dc->State.BkMode = TRANSPARENT;
            std::vector<uint32_t> blanks(line.Chars.size(), ' ');
            PaintText(*dc, *face, x, y, TA_LEFT | TA_TOP, options, &clip, blanks, line.Advances.data(), &marks);
            dc->State.BkMode = saved;
        } else {
            // Tabs are drawn as blanks.
            const bool tabs = layout.TabWidth > 0 && std::find(line.Chars.begin(), line.Chars.end(), kTab) != line.Chars.end();
            std::vector<uint32_t> blanked;
            if (tabs) {
                blanked = line.Chars;
                std::replace(blanked.begin(), blanked.end(), kTab, uint32_t(' '));
            }
            PaintText(*dc, *face, x, y, TA_LEFT | TA_TOP, options, &clip, tabs ? blanked : line.Chars,
                line.Advances.data(), &marks);
        }
        y += lineHeight;
        if (!(format & DT_NOCLIP) && y >= clip.bottom && y - lineHeight >= clip.bottom)
            break;
    }
    return result;
}

} // namespace

int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format)
{
    return DrawTextEx(dc, text, count, rect, format, nullptr);
}

int DrawTextW(HDC dc, const WCHAR* text, int count, RECT* rect, UINT format)
{
    return DrawTextExW(dc, text, count, rect, format, nullptr);
}

int DrawTextEx(HDC dc, const char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params)
{
    if (!text)
        return 0;
    thread_local std::vector<uint32_t> chars;
    DecodeUtf8(text, Utf8Length(text, count), chars);
    return DrawTextChars(dc, chars, rect, format, params);
}

int DrawTextExW(HDC dc, const WCHAR* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params)
{
    if (!text)
        return 0;
    return DrawTextChars(dc, DecodeUtf16(text, Utf16Length(text, count)), rect, format, params);
}
