#include "platform/controls/RichEditControl.h"

#include "platform/controls/ControlClass.h"
#include "platform/controls/EditWindow.h"
#include "platform/controls/RichText.h"
#include "platform/controls/RtfFormat.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Streaming in stops here: a callback that never ends its data must not take all the memory.
constexpr size_t kMaxStreamBytes = 64u << 20;

// a * b / c rounded to the nearest, for the positive sizes here.
int Scale(int a, int b, int c) { return static_cast<int>((static_cast<long long>(a) * b + c / 2) / c); }

int PixelsPerInch(HDC dc)
{
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

RichCharFormat FormatOfFont(HFONT font, int dpi)
{
    LOGFONT lf {};
    RichCharFormat format;
    if (!font || !GetObject(font, sizeof lf, &lf))
        return format;
    format.Face = std::string(lf.lfFaceName, strnlen(lf.lfFaceName, sizeof lf.lfFaceName));
    int pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    if (pixels > 0)
        format.Twips = Scale(pixels, 1440, dpi);
    format.Bold = lf.lfWeight >= FW_BOLD;
    format.Italic = lf.lfItalic != 0;
    format.Underline = lf.lfUnderline != 0;
    format.StrikeOut = lf.lfStrikeOut != 0;
    return format;
}

RichCharFormat FromCharFormat(const CHARFORMAT& cf)
{
    RichCharFormat format;
    format.Face = std::string(cf.szFaceName, strnlen(cf.szFaceName, sizeof cf.szFaceName));
    // From a twentieth of a point to about 1,600 points: beyond is no font anyone can show.
    format.Twips = std::clamp<LONG>(cf.yHeight, 20, 32760);
    format.Color = cf.crTextColor;
    format.AutoColor = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
    format.Bold = (cf.dwEffects & CFE_BOLD) != 0;
    format.Italic = (cf.dwEffects & CFE_ITALIC) != 0;
    format.Underline = (cf.dwEffects & CFE_UNDERLINE) != 0;
    format.StrikeOut = (cf.dwEffects & CFE_STRIKEOUT) != 0;
    return format;
}

void ToCharFormat(const RichCharFormat& format, DWORD mask, CHARFORMAT* cf)
{
    cf->dwMask = mask;
    cf->dwEffects = (format.Bold ? CFE_BOLD : 0) | (format.Italic ? CFE_ITALIC : 0) |
                    (format.Underline ? CFE_UNDERLINE : 0) | (format.StrikeOut ? CFE_STRIKEOUT : 0) |
                    (format.AutoColor ? CFE_AUTOCOLOR : 0);
    cf->yHeight = format.Twips;
    cf->yOffset = 0;
    cf->crTextColor = format.Color;
    cf->bCharSet = 0;
    cf->bPitchAndFamily = 0;
    std::memset(cf->szFaceName, 0, sizeof cf->szFaceName);
    std::memcpy(cf->szFaceName, format.Face.data(), std::min(format.Face.size(), sizeof cf->szFaceName - 1));
}

RichAlignment FromParaAlignment(WORD alignment)
{
    return alignment == PFA_CENTER ? RichAlignment::Center : alignment == PFA_RIGHT ? RichAlignment::Right
                                                                                     : RichAlignment::Left;
}

WORD ToParaAlignment(RichAlignment alignment)
{
    return alignment == RichAlignment::Center ? PFA_CENTER : alignment == RichAlignment::Right ? PFA_RIGHT : PFA_LEFT;
}

class RichEditWindow final : public EditWindow {
    using inherited = EditWindow;

public:
    RichEditWindow(HWND hwnd, const CREATESTRUCT& create);
    ~RichEditWindow() override;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    bool WordWrap() const override { return MultiLine() && !(style_ & ES_AUTOHSCROLL); }
    bool DigitsOnly() const override { return false; }
    bool KeepsIdleScrollBars() const override { return (style_ & ES_DISABLENOSCROLL) != 0; }
    void Notify(WORD code) override;
    void UpdateMetrics() override;
    // The row height and baseline from the formats in use; true when they changed.
    bool RowMetrics();
    void Advances(int line, int from, int to, std::vector<int>& ends) const override;
    int TextWidth(int line, int from, int to) const override;
    DWORD LineAlignment(int line) const override;
    HBRUSH ControlColour(HDC dc) override;
    int PaintPiece(HDC dc, int x, int y, int line, int from, int to, bool selected, bool transparent,
        COLORREF textColour, COLORREF backColour) override;

private:
    LRESULT HandleRich(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);
    HFONT FontOf(int format) const;
    int CharAdvance(int format, char32_t c) const;
    // Walks the characters of columns [from, to) of a line with their formats.
    template <class Visit> void ForEachCharacter(int line, int from, int to, Visit visit) const;
    // After formats changed: the row height, the rows and the picture.
    void FormatsChanged();
    LRESULT SetCharFormat(WPARAM scope, const CHARFORMAT* cf);
    LRESULT GetCharFormat(WPARAM scope, CHARFORMAT* cf) const;
    LRESULT SetParaFormat(const PARAFORMAT* pf);
    LRESULT GetParaFormat(PARAFORMAT* pf) const;
    LRESULT StreamIn(WPARAM format, EDITSTREAM* stream);
    LRESULT StreamOut(WPARAM format, EDITSTREAM* stream) const;
    void NotifySelectionChange();

    RichText rich_;
    HDC richMeasure_;
    mutable std::vector<HFONT> fonts_;                                 // per format, made when first needed
    mutable std::vector<std::unordered_map<char32_t, int>> advances_; // per format
    int rowAscent_ = 0;
    DWORD eventMask_ = ENM_NONE;
    bool systemBackground_ = true;
    COLORREF background_ = 0;
    HBRUSH backgroundBrush_ = nullptr;
};

RichEditWindow::RichEditWindow(HWND hwnd, const CREATESTRUCT& create)
    : EditWindow(hwnd, create)
    , rich_(FormatOfFont(font_, PixelsPerInch(measure_)))
    , richMeasure_(CreateCompatibleDC(nullptr))
{
    // The edit took the window's text before the formats existed: it is all in the default format.
    rich_.Reset(text_.Length(), text_.LineCount());
    text_.OnReplaced = [this](long long from, long long removed, long long inserted) {
        rich_.Replaced(from, removed, inserted);
    };
    text_.OnLinesChanged = [this](int first, int removed, int inserted) {
        rich_.LinesChanged(first, removed, inserted);
        layout_.LinesChanged(first, removed, inserted);
    };
    FormatsChanged();
}

RichEditWindow::~RichEditWindow()
{
    for (HFONT font : fonts_)
        if (font)
            DeleteObject(font);
    if (backgroundBrush_)
        DeleteObject(backgroundBrush_);
    DeleteDC(richMeasure_);
}

// Only what the event mask asks for goes to the parent; focus and the limit are always told.
void RichEditWindow::Notify(WORD code)
{
    if (code == EN_CHANGE && !(eventMask_ & ENM_CHANGE))
        return;
    if (code == EN_UPDATE && !(eventMask_ & ENM_UPDATE))
        return;
    if ((code == EN_VSCROLL || code == EN_HSCROLL) && !(eventMask_ & ENM_SCROLL))
        return;
    inherited::Notify(code);
}

void RichEditWindow::NotifySelectionChange()
{
    if (!(eventMask_ & ENM_SELCHANGE))
        return;
    SELCHANGE change {};
    change.chrg = {static_cast<LONG>(text_.SelStart()), static_cast<LONG>(text_.SelEnd())};
    long long length = text_.SelEnd() - text_.SelStart();
    change.seltyp = length == 0 ? SEL_EMPTY : length == 1 ? SEL_TEXT : SEL_TEXT | SEL_MULTICHAR;
    SendNotify(hwnd_, EN_SELCHANGE, &change.nmhdr);
}

// --- measuring ----------------------------------------------------------------------------------------------

HFONT RichEditWindow::FontOf(int format) const
{
    if (format >= static_cast<int>(fonts_.size()))
        fonts_.resize(format + 1, nullptr);
    if (!fonts_[format]) {
        const RichCharFormat& f = rich_.Format(format);
        int pixels = std::max(1, Scale(f.Twips, PixelsPerInch(richMeasure_), 1440));
        fonts_[format] = CreateFont(-pixels, 0, 0, 0, f.Bold ? FW_BOLD : FW_NORMAL, f.Italic, f.Underline, f.StrikeOut,
            0, 0, 0, 0, 0, f.Face.c_str());
    }
    return fonts_[format];
}

int RichEditWindow::CharAdvance(int format, char32_t c) const
{
    if (format >= static_cast<int>(advances_.size()))
        advances_.resize(format + 1);
    auto& known = advances_[format];
    if (auto it = known.find(c); it != known.end())
        return it->second;
    SelectObject(richMeasure_, FontOf(format));
    std::string s;
    utf8::Append(s, c);
    SIZE size {};
    GetTextExtentPoint32(richMeasure_, s.data(), static_cast<int>(s.size()), &size);
    known[c] = size.cx;
    return size.cx;
}

template <class Visit> void RichEditWindow::ForEachCharacter(int line, int from, int to, Visit visit) const
{
    std::string_view text = text_.LineText(line);
    long long position = text_.LineIndex(line) + from;
    long long runEnd = 0;
    int format = rich_.RunAt(position, &runEnd);
    size_t at = utf8::Offset(text, from);
    for (int column = from; column < to && at < text.size(); ++column, ++position) {
        if (position >= runEnd)
            format = rich_.RunAt(position, &runEnd);
        int n = 1;
        char32_t c = utf8::Decode(text, at, &n);
        visit(format, c, at, n);
        at += n;
    }
}

void RichEditWindow::Advances(int line, int from, int to, std::vector<int>& ends) const
{
    ends.clear();
    int x = 0;
    ForEachCharacter(line, from, to, [&](int format, char32_t c, size_t, int) {
        x += CharAdvance(format, c);
        ends.push_back(x);
    });
}

int RichEditWindow::TextWidth(int line, int from, int to) const
{
    int x = 0;
    ForEachCharacter(line, from, to, [&](int format, char32_t c, size_t, int) { x += CharAdvance(format, c); });
    return x;
}

DWORD RichEditWindow::LineAlignment(int line) const
{
    switch (rich_.Alignment(line)) {
    case RichAlignment::Center: return ES_CENTER;
    case RichAlignment::Right: return ES_RIGHT;
    default: return ES_LEFT;
    }
}

// Rows are as high as the tallest format in use, and every run sits on one baseline.
void RichEditWindow::UpdateMetrics()
{
    inherited::UpdateMetrics();
    RowMetrics();
    if (focused_)
        ShowNewCaret();
}

bool RichEditWindow::RowMetrics()
{
    int ascent = 0, descent = 0;
    for (int format : rich_.UsedFormats()) {
        SelectObject(richMeasure_, FontOf(format));
        TEXTMETRIC tm {};
        GetTextMetrics(richMeasure_, &tm);
        ascent = std::max<int>(ascent, tm.tmAscent);
        descent = std::max<int>(descent, tm.tmDescent);
    }
    bool changed = rowAscent_ != ascent || lineHeight_ != std::max(1, ascent + descent);
    rowAscent_ = ascent;
    lineHeight_ = std::max(1, ascent + descent);
    return changed;
}

void RichEditWindow::FormatsChanged()
{
    UpdateMetrics();
    Relayout();
    Redraw();
}

// --- painting -----------------------------------------------------------------------------------------------

// A rich edit keeps its own background colour (EM_SETBKGNDCOLOR) and does not ask its parent.
HBRUSH RichEditWindow::ControlColour(HDC dc)
{
    bool disabled = !IsWindowEnabled(hwnd_);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    COLORREF back = systemBackground_ ? GetSysColor(COLOR_WINDOW) : background_;
    SetBkColor(dc, back);
    if (systemBackground_)
        return GetSysColorBrush(COLOR_WINDOW);
    if (!backgroundBrush_)
        backgroundBrush_ = CreateSolidBrush(background_);
    return backgroundBrush_;
}

int RichEditWindow::PaintPiece(HDC dc, int x, int y, int line, int from, int to, bool selected, bool transparent,
    COLORREF textColour, COLORREF backColour)
{
    UINT oldAlign = SetTextAlign(dc, TA_BASELINE);
    SetBkMode(dc, selected || !transparent ? OPAQUE : TRANSPARENT);
    SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : backColour);
    // Pieces of one format are drawn together; the width follows the measured advances, as the caret does.
    int start = x;
    int pieceFormat = -1;
    int pieceX = x;
    std::string piece;
    auto flush = [&] {
        if (piece.empty())
            return;
        const RichCharFormat& f = rich_.Format(pieceFormat);
        SelectObject(dc, FontOf(pieceFormat));
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : f.AutoColor ? textColour : f.Color);
        // The background of the whole row height first, so a small run on a tall row leaves no gap.
        if (selected || !transparent) {
            RECT cell {pieceX, y, x, y + lineHeight_};
            HBRUSH brush = CreateSolidBrush(GetBkColor(dc));
            FillRect(dc, &cell, brush);
            DeleteObject(brush);
        }
        TextOut(dc, pieceX, y + rowAscent_, piece.data(), static_cast<int>(piece.size()));
        piece.clear();
    };
    std::string_view text = text_.LineText(line);
    ForEachCharacter(line, from, to, [&](int format, char32_t c, size_t at, int n) {
        if (format != pieceFormat) {
            flush();
            pieceFormat = format;
            pieceX = x;
        }
        piece.append(text.substr(at, n));
        x += CharAdvance(format, c);
    });
    flush();
    SetTextAlign(dc, oldAlign);
    return x - start;
}

// --- formats ------------------------------------------------------------------------------------------------

LRESULT RichEditWindow::SetCharFormat(WPARAM scope, const CHARFORMAT* cf)
{
    if (!cf || cf->cbSize < sizeof(CHARFORMAT))
        return FALSE;
    DWORD mask = cf->dwMask & CFM_KEPT;
    RichCharFormat value = FromCharFormat(*cf);
    if (scope & SCF_ALL) {
        rich_.Apply(0, text_.Length(), mask, value);
        text_.SetModified(true);
    } else if (scope & (SCF_SELECTION | SCF_WORD)) {
        if (text_.SelStart() == text_.SelEnd()) {
            // Nothing selected: the format waits for what is typed here next.
            const RichCharFormat& typed = rich_.Format(rich_.InsertionFormat(text_.Caret()));
            rich_.SetPending(rich_.Intern(RichText::Merge(typed, mask, value)));
        } else {
            rich_.Apply(text_.SelStart(), text_.SelEnd(), mask, value);
            text_.SetModified(true);
        }
    } else {
        rich_.SetDefault(RichText::Merge(rich_.Default(), mask, value));
    }
    FormatsChanged();
    return TRUE;
}

LRESULT RichEditWindow::GetCharFormat(WPARAM scope, CHARFORMAT* cf) const
{
    if (!cf || cf->cbSize < sizeof(CHARFORMAT))
        return 0;
    RichCharFormat format;
    DWORD mask = CFM_KEPT;
    if (scope & SCF_SELECTION)
        mask = rich_.Common(text_.SelStart(), text_.SelEnd(), &format);
    else
        format = rich_.Default();
    ToCharFormat(format, mask, cf);
    return mask;
}

LRESULT RichEditWindow::SetParaFormat(const PARAFORMAT* pf)
{
    if (!pf || pf->cbSize < sizeof(PARAFORMAT))
        return FALSE;
    if (pf->dwMask & PFM_ALIGNMENT) {
        rich_.SetAlignment(text_.LineFromChar(text_.SelStart()), text_.LineFromChar(text_.SelEnd()),
            FromParaAlignment(pf->wAlignment));
        text_.SetModified(true);
        PlaceCaret();
        Redraw();
    }
    return TRUE;
}

LRESULT RichEditWindow::GetParaFormat(PARAFORMAT* pf) const
{
    if (!pf || pf->cbSize < sizeof(PARAFORMAT))
        return 0;
    int first = text_.LineFromChar(text_.SelStart()), last = text_.LineFromChar(text_.SelEnd());
    RichAlignment alignment = rich_.Alignment(first);
    DWORD mask = PFM_ALIGNMENT;
    for (int line = first + 1; line <= last; ++line)
        if (rich_.Alignment(line) != alignment)
            mask &= ~PFM_ALIGNMENT;
    std::memset(reinterpret_cast<char*>(pf) + sizeof pf->cbSize, 0, sizeof(PARAFORMAT) - sizeof pf->cbSize);
    pf->dwMask = mask;
    pf->wAlignment = ToParaAlignment(alignment);
    return mask;
}

// --- streaming ----------------------------------------------------------------------------------------------

LRESULT RichEditWindow::StreamIn(WPARAM format, EDITSTREAM* stream)
{
    if (!stream || !stream->pfnCallback)
        return 0;
    stream->dwError = 0;
    std::string bytes;
    BYTE buffer[4096];
    for (;;) {
        LONG got = 0;
        DWORD error = stream->pfnCallback(stream->dwCookie, buffer, sizeof buffer, &got);
        if (error) {
            stream->dwError = error;
            return 0;
        }
        if (got <= 0)
            break;
        bytes.append(reinterpret_cast<const char*>(buffer), std::min<size_t>(static_cast<size_t>(got), sizeof buffer));
        if (bytes.size() > kMaxStreamBytes) {
            stream->dwError = SE_TOOLONG;
            return 0;
        }
    }
    bool selection = (format & SFF_SELECTION) != 0;
    RichDocument document;
    bool rich = false;
    if ((format & SF_RTF) && LooksLikeRtf(bytes)) {
        std::string error;
        RichCharFormat base = rich_.Format(rich_.InsertionFormat(selection ? text_.SelStart() : 0));
        rich = ReadRtf(bytes, base, &document, &error);
        // RTF that cannot be read comes in as the text it is, and the caller hears of it.
        if (!rich)
            stream->dwError = SE_BADRTF;
    }
    const std::string& text = rich ? document.Text : bytes;
    long long from = selection ? text_.SelStart() : 0;
    int firstLine = selection ? text_.LineFromChar(from) : 0;
    if (selection) {
        text_.ReplaceSel(text, false);
    } else {
        text_.SetText(text);
        top_ = 0;
        xOffset_ = 0;
    }
    long long end = selection ? text_.Caret() : text_.Length();
    if (rich) {
        long long at = from;
        for (const RichRun& run : document.Runs) {
            if (at >= end)
                break;
            rich_.Apply(at, std::min(at + run.Length, end), CFM_KEPT, document.Formats[run.Format]);
            at += run.Length;
        }
        // Into a selection, the last paragraph has no end of its own: the paragraph it lands in keeps its
        // alignment.
        size_t paragraphs = document.Alignments.size() - (selection ? 1 : 0);
        for (size_t i = 0; i < paragraphs; ++i)
            rich_.SetAlignment(firstLine + static_cast<int>(i), firstLine + static_cast<int>(i), document.Alignments[i]);
    }
    FormatsChanged();
    AfterChange();
    return static_cast<LRESULT>(end - from);
}

LRESULT RichEditWindow::StreamOut(WPARAM format, EDITSTREAM* stream) const
{
    if (!stream || !stream->pfnCallback)
        return 0;
    stream->dwError = 0;
    bool selection = (format & SFF_SELECTION) != 0;
    long long from = selection ? text_.SelStart() : 0;
    long long to = selection ? text_.SelEnd() : text_.Length();
    std::string bytes;
    if (format & SF_RTF) {
        RichDocument document = rich_.Extract(from, to, text_.LineFromChar(from), text_.LineFromChar(to));
        document.Text = text_.TextRange(from, to);
        bytes = WriteRtf(document);
    } else {
        bytes = text_.TextRange(from, to);
    }
    size_t sent = 0;
    while (sent < bytes.size()) {
        LONG chunk = static_cast<LONG>(std::min<size_t>(bytes.size() - sent, 4096));
        LONG done = 0;
        DWORD error = stream->pfnCallback(stream->dwCookie, reinterpret_cast<BYTE*>(bytes.data() + sent), chunk, &done);
        if (error) {
            stream->dwError = error;
            break;
        }
        if (done <= 0)
            break;
        sent += static_cast<size_t>(std::min(done, chunk));
    }
    return static_cast<LRESULT>(sent);
}

// --- the messages -------------------------------------------------------------------------------------------

LRESULT RichEditWindow::HandleRich(UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    *handled = true;
    switch (message) {
    case WM_SETFONT: {
        LRESULT result = inherited::Handle(message, wParam, lParam);
        rich_.SetDefault(FormatOfFont(font_, PixelsPerInch(measure_)));
        FormatsChanged();
        return result;
    }
    case EM_EXGETSEL:
        if (auto* range = reinterpret_cast<CHARRANGE*>(lParam))
            *range = {static_cast<LONG>(text_.SelStart()), static_cast<LONG>(text_.SelEnd())};
        return 0;
    case EM_EXSETSEL: {
        const auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
        if (!range)
            return static_cast<LRESULT>(text_.SelEnd());
        inherited::Handle(EM_SETSEL, static_cast<WPARAM>(static_cast<LONG_PTR>(range->cpMin)),
            static_cast<LPARAM>(range->cpMax));
        return static_cast<LRESULT>(text_.SelEnd());
    }
    case EM_EXLIMITTEXT:
        return inherited::Handle(EM_LIMITTEXT, static_cast<WPARAM>(lParam), 0);
    case EM_EXLINEFROMCHAR:
        return inherited::Handle(EM_LINEFROMCHAR, static_cast<WPARAM>(lParam), 0);
    case EM_GETCHARFORMAT:
        return GetCharFormat(wParam, reinterpret_cast<CHARFORMAT*>(lParam));
    case EM_SETCHARFORMAT:
        return SetCharFormat(wParam, reinterpret_cast<const CHARFORMAT*>(lParam));
    case EM_GETPARAFORMAT:
        return GetParaFormat(reinterpret_cast<PARAFORMAT*>(lParam));
    case EM_SETPARAFORMAT:
        return SetParaFormat(reinterpret_cast<const PARAFORMAT*>(lParam));
    case EM_STREAMIN:
        return StreamIn(wParam, reinterpret_cast<EDITSTREAM*>(lParam));
    case EM_STREAMOUT:
        return StreamOut(wParam, reinterpret_cast<EDITSTREAM*>(lParam));
    case EM_GETTEXTRANGE: {
        auto* range = reinterpret_cast<TEXTRANGE*>(lParam);
        if (!range || !range->lpstrText)
            return 0;
        long long to = range->chrg.cpMax < 0 ? text_.Length() : range->chrg.cpMax;
        std::string text = text_.TextRange(range->chrg.cpMin, to);
        std::memcpy(range->lpstrText, text.c_str(), text.size() + 1);
        return static_cast<LRESULT>(text.size());
    }
    case EM_GETSELTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer)
            return 0;
        std::string text = text_.SelText();
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<LRESULT>(text.size());
    }
    case EM_GETEVENTMASK:
        return static_cast<LRESULT>(eventMask_);
    case EM_SETEVENTMASK: {
        DWORD old = eventMask_;
        eventMask_ = static_cast<DWORD>(lParam);
        return static_cast<LRESULT>(old);
    }
    case EM_SETBKGNDCOLOR: {
        COLORREF old = systemBackground_ ? GetSysColor(COLOR_WINDOW) : background_;
        systemBackground_ = wParam != 0;
        background_ = static_cast<COLORREF>(lParam);
        if (backgroundBrush_)
            DeleteObject(backgroundBrush_);
        backgroundBrush_ = nullptr;
        Redraw();
        return static_cast<LRESULT>(old);
    }
    default:
        *handled = false;
        return 0;
    }
}

// Every message may move the selection; the parent hears of it once the message is done, and a format waiting
// for typing is dropped when the caret leaves.
LRESULT RichEditWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    long long anchor = text_.Anchor(), caret = text_.Caret(), length = text_.Length();
    bool handled = false;
    const HWND self = hwnd_;
    LRESULT result = HandleRich(message, wParam, lParam, &handled);
    if (!handled)
        result = inherited::Handle(message, wParam, lParam);
    // A parent that destroyed the edit while hearing of the message has taken the object with it.
    if (!IsWindow(self))
        return result;
    if (text_.Length() != length && RowMetrics()) {
        // The tallest format came or went with the text.
        if (focused_)
            ShowNewCaret();
        UpdateScrollInfo();
        Redraw();
    }
    if (text_.Anchor() != anchor || text_.Caret() != caret || text_.Length() != length) {
        if (text_.Length() == length && rich_.Pending())
            rich_.SetPending(std::nullopt);
        NotifySelectionChange();
    }
    return result;
}

} // namespace

ATOM RegisterRichEditClass()
{
    return RegisterControlClass<RichEditWindow>(WC_RICHEDIT, IDC_IBEAM);
}
