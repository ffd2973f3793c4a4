#include "platform/controls/EditControl.h"

#include "platform/controls/EditServices.h"
#include "platform/controls/EditWindow.h"
#include "platform/controls/TextEngine.h"
#include "platform/controls/TextLayout.h"
#include "platform/controls/ControlClass.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Caret.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace {

// Case conversion for ES_UPPERCASE/ES_LOWERCASE: ASCII and the Latin-1 letters.
char32_t ToUpper(char32_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 0x20;
    return c;
}
char32_t ToLower(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    return c;
}

std::string ConvertCase(std::string_view text, DWORD style)
{
    if (!(style & (ES_UPPERCASE | ES_LOWERCASE)))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        int n = 1;
        char32_t c = utf8::Decode(text, at, &n);
        utf8::Append(out, (style & ES_UPPERCASE) ? ToUpper(c) : ToLower(c));
        at += n;
    }
    return out;
}

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

} // namespace

EditWindow::EditWindow(HWND hwnd, const CREATESTRUCT& create)
    : hwnd_(hwnd)
    , style_(static_cast<DWORD>(create.style))
    , text_((create.style & ES_MULTILINE) != 0)
    , font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))
    , measure_(CreateCompatibleDC(nullptr))
{
    if (style_ & ES_PASSWORD)
        passwordChar_ = '*';
    text_.OnLinesChanged = [this](int first, int removed, int inserted) {
        layout_.LinesChanged(first, removed, inserted);
    };
    UpdateMetrics();
    ResetFormatRect();
    if (create.lpszName)
        text_.SetText(ConvertCase(create.lpszName, style_));
}

EditWindow::~EditWindow() { DeleteDC(measure_); }

bool EditWindow::MultiLine() const { return style_ & ES_MULTILINE; }
bool EditWindow::ReadOnly() const { return style_ & ES_READONLY; }
bool EditWindow::WordWrap() const { return MultiLine() && !(style_ & (ES_AUTOHSCROLL | WS_HSCROLL)); }
bool EditWindow::DigitsOnly() const { return style_ & ES_NUMBER; }
char32_t EditWindow::Mask() const { return MultiLine() ? 0 : passwordChar_; }
void EditWindow::Redraw() { InvalidateRect(hwnd_, nullptr, TRUE); }

void EditWindow::Notify(WORD code)
{
    HWND parent = GetParent(hwnd_);
    if (!parent)
        return;
    auto id = static_cast<WORD>(GetWindowLongPtr(hwnd_, GWLP_ID));
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd_));
}

std::string EditWindow::Shown(std::string_view text) const
{
    if (!Mask())
        return std::string(text);
    std::string out;
    for (int n = utf8::Count(text); n > 0; --n)
        utf8::Append(out, Mask());
    return out;
}

// --- layout ----------------------------------------------------------------------------------------------

void EditWindow::UpdateMetrics()
{
    SelectObject(measure_, font_);
    TEXTMETRIC tm {};
    GetTextMetrics(measure_, &tm);
    std::fill(std::begin(asciiAdvance_), std::end(asciiAdvance_), -1);
    advance_.clear();
    lineHeight_ = std::max<int>(1, tm.tmHeight);
    aveCharWidth_ = std::max<int>(1, tm.tmAveCharWidth);
    // A new font while focused: a caret of the new line's height.
    if (focused_)
        ShowNewCaret();
}

// The caret is a bar one pixel wide and a line high, in this window while it has the focus.
void EditWindow::ShowNewCaret()
{
    CreateCaret(hwnd_, nullptr, 1, lineHeight_);
    PlaceCaret();
    ShowCaret(hwnd_);
}

void EditWindow::ResetFormatRect()
{
    RECT client {};
    GetClientRect(hwnd_, &client);
    format_ = {client.left + leftMargin_, client.top, std::max(client.left + leftMargin_, client.right - rightMargin_),
        client.bottom};
    Relayout();
}

void EditWindow::Relayout()
{
    int width = WordWrap() ? std::max<int>(1, format_.right - format_.left) : 0;
    layoutWidth_ = width;
    if (width > 0)
        layout_.Reset([this](int line, std::vector<int>& breaks) { BreakLine(line, breaks); });
    else
        layout_.Reset(nullptr);
    top_ = std::clamp(top_, 0, std::max(0, layout_.RowCount() - 1));
    UpdateScrollInfo();
    PlaceCaret();
}

// Text widths are sums of whole-pixel character advances, so each character is measured once per font and
// rows are measured by adding.
int EditWindow::Advance(char32_t c) const
{
    if (c < 128 && asciiAdvance_[c] >= 0)
        return asciiAdvance_[c];
    if (c >= 128)
        if (auto it = advance_.find(c); it != advance_.end())
            return it->second;
    std::string s;
    utf8::Append(s, c);
    SIZE size {};
    GetTextExtentPoint32(measure_, s.data(), static_cast<int>(s.size()), &size);
    if (c < 128)
        asciiAdvance_[c] = size.cx;
    else
        advance_[c] = size.cx;
    return size.cx;
}

void EditWindow::AdvancesOf(std::string_view text, std::vector<int>& ends) const
{
    ends.clear();
    int x = 0;
    for (size_t at = 0; at < text.size();) {
        int n = 1;
        char32_t c = Mask() ? Mask() : utf8::Decode(text, at, &n);
        if (Mask())
            utf8::Decode(text, at, &n);
        x += Advance(c);
        ends.push_back(x);
        at += n;
    }
}

int EditWindow::WidthOf(std::string_view text) const
{
    int x = 0;
    const char32_t mask = Mask();
    for (size_t at = 0; at < text.size();) {
        auto b = static_cast<unsigned char>(text[at]);
        if (b < 128 && !mask) {
            // Every line of a new text is measured for word wrap: known ASCII advances are added in line.
            int advance = asciiAdvance_[b];
            x += advance >= 0 ? advance : Advance(b);
            ++at;
            continue;
        }
        int n = 1;
        char32_t c = utf8::Decode(text, at, &n);
        x += Advance(mask ? mask : c);
        at += n;
    }
    return x;
}

static std::string_view Columns(std::string_view line, int from, int to)
{
    size_t a = utf8::Offset(line, from);
    return line.substr(a, utf8::Offset(line, to) - a);
}

void EditWindow::Advances(int line, int from, int to, std::vector<int>& ends) const
{
    AdvancesOf(Columns(text_.LineText(line), from, to), ends);
}

int EditWindow::TextWidth(int line, int from, int to) const { return WidthOf(Columns(text_.LineText(line), from, to)); }

DWORD EditWindow::LineAlignment(int) const { return style_ & (ES_CENTER | ES_RIGHT); }

// Breaks after the last blank that fits; a word longer than the width breaks where it reaches the edge. Blanks
// at the end of a row may pass the edge.
// The advances and blanks are kept between calls, so breaking the line being typed in allocates nothing.
void EditWindow::BreakLine(int index, std::vector<int>& breaks) const
{
    breaks.clear();
    std::string_view line = text_.LineText(index);
    int length = text_.LineLength(index);
    if (TextWidth(index, 0, length) <= layoutWidth_)
        return;
    std::vector<int>& ends = breakEnds_;
    Advances(index, 0, length, ends);
    std::vector<bool>& blank = breakBlanks_;
    blank.assign(ends.size(), false);
    for (size_t at = 0, i = 0; at < line.size() && i < blank.size(); ++i) {
        int n = 1;
        char32_t c = utf8::Decode(line, at, &n);
        blank[i] = c == ' ' || c == '\t';
        at += n;
    }
    int count = static_cast<int>(ends.size());
    int start = 0;
    while (start < count) {
        int origin = start == 0 ? 0 : ends[start - 1];
        int end = start;
        int lastBreak = -1;
        while (end < count && (blank[end] || ends[end] - origin <= layoutWidth_)) {
            if (blank[end])
                lastBreak = end + 1;
            ++end;
        }
        if (end >= count)
            break;
        int next = lastBreak > start ? lastBreak : std::max(end, start + 1);
        breaks.push_back(next);
        start = next;
    }
}

int EditWindow::VisibleRows() const { return std::max<int>(1, (format_.bottom - format_.top) / lineHeight_); }

// Left edge of a row's text by the alignment, in client coordinates.
int EditWindow::RowX(const TextLayout::Row& row, int* width) const
{
    int w = TextWidth(row.Line, row.Start, row.End);
    if (width)
        *width = w;
    int room = format_.right - format_.left;
    int shift = 0;
    DWORD alignment = LineAlignment(row.Line);
    if ((alignment & ES_RIGHT) && w < room)
        shift = room - w;
    else if ((alignment & ES_CENTER) && w < room)
        shift = (room - w) / 2;
    return format_.left - xOffset_ + shift;
}

POINT EditWindow::PosFromChar(long long position) const
{
    int row = layout_.RowFromChar(position);
    TextLayout::Row r = layout_.RowAt(row);
    int line, column;
    text_.Locate(position, &line, &column);
    int x = RowX(r) + TextWidth(r.Line, r.Start, std::max(column, r.Start));
    return {x, format_.top + (row - top_) * lineHeight_};
}

long long EditWindow::CharFromPoint(POINT p) const
{
    int row = top_ + (p.y - format_.top) / lineHeight_ - (p.y < format_.top ? 1 : 0);
    row = std::clamp(row, 0, layout_.RowCount() - 1);
    TextLayout::Row r = layout_.RowAt(row);
    std::vector<int> ends;
    Advances(r.Line, r.Start, r.End, ends);
    int x = p.x - RowX(r);
    int column = 0;
    // The nearer edge of the character under the point.
    while (column < static_cast<int>(ends.size())) {
        int left = column == 0 ? 0 : ends[column - 1];
        if (x < (left + ends[column]) / 2 + ((left + ends[column]) % 2))
            break;
        ++column;
    }
    // A wrapped row's last position belongs to the next row; stay before it.
    if (r.End < text_.LineLength(r.Line) && r.Start + column >= r.End && column > 0)
        --column;
    return text_.LineIndex(r.Line) + r.Start + column;
}

int EditWindow::WidestRow() const
{
    int widest = 0;
    for (int row = 0; row < layout_.RowCount(); ++row) {
        int width = 0;
        RowX(layout_.RowAt(row), &width);
        widest = std::max(widest, width);
    }
    return widest;
}

// --- scrolling and the caret -----------------------------------------------------------------------------

void EditWindow::ScrollTo(int top, int x, bool notify, WORD code)
{
    top = std::clamp(top, 0, std::max(0, layout_.RowCount() - (MultiLine() ? VisibleRows() : 1)));
    x = std::max(0, x);
    if (top == top_ && x == xOffset_)
        return;
    if (notify)
        Notify(code);
    top_ = top;
    xOffset_ = x;
    UpdateScrollInfo();
    PlaceCaret();
    Redraw();
}

void EditWindow::ScrollCaretIntoView()
{
    int row = layout_.RowFromChar(text_.Caret());
    int top = top_;
    if (row < top)
        top = row;
    else if (row >= top + VisibleRows())
        top = row - VisibleRows() + 1;
    int x = xOffset_;
    if (!WordWrap()) {
        POINT p = PosFromChar(text_.Caret());
        int caretX = p.x + xOffset_ - format_.left; // in text coordinates
        int room = format_.right - format_.left;
        // Jump by a third of the width, so typing at the edge does not scroll at every character.
        if (caretX < xOffset_)
            x = std::max(0, caretX - room / 3);
        else if (caretX >= xOffset_ + room)
            x = caretX - room + room / 3;
    }
    ScrollTo(top, x);
}

// Showing or enabling a bar can change the client area and with it the rows (WM_SIZE comes back here while
// the bars are being set): the state is published again until it holds still.
void EditWindow::UpdateScrollInfo()
{
    if (publishing_)
        return;
    publishing_ = true;
    for (int pass = 0; pass < 3; ++pass) {
        int rows = layout_.RowCount(), visible = VisibleRows(), top = top_, x = xOffset_;
        PublishScrollInfo(hwnd_, style_, rows, visible, top, [this] { return WidestRow(); }, format_.right - format_.left,
            x, KeepsIdleScrollBars());
        if (rows == layout_.RowCount() && visible == VisibleRows() && top == top_ && x == xOffset_)
            break;
    }
    publishing_ = false;
}

void EditWindow::PlaceCaret()
{
    if (!focused_)
        return;
    POINT p = PosFromChar(text_.Caret());
    SetCaretPos(p.x, p.y);
}

// --- input -----------------------------------------------------------------------------------------------

void EditWindow::SetSelection(long long anchor, long long caret, bool scroll)
{
    text_.SetSel(anchor, caret);
    if (scroll)
        ScrollCaretIntoView();
    PlaceCaret();
    Redraw();
}

void EditWindow::MoveCaret(long long position, bool extend)
{
    SetSelection(extend ? text_.Anchor() : position, position);
}

void EditWindow::OnKeyDown(UINT key)
{
    bool shift = KeyHeld(VK_SHIFT);
    bool control = KeyHeld(VK_CONTROL);
    long long caret = text_.Caret();
    bool keepGoal = false;
    switch (key) {
    case VK_LEFT:
        if (!shift && text_.SelStart() != text_.SelEnd() && !control)
            MoveCaret(text_.SelStart(), false);
        else
            MoveCaret(control ? text_.PrevWord(caret) : text_.PrevChar(caret), shift);
        break;
    case VK_RIGHT:
        if (!shift && text_.SelStart() != text_.SelEnd() && !control)
            MoveCaret(text_.SelEnd(), false);
        else
            MoveCaret(control ? text_.NextWord(caret) : text_.NextChar(caret), shift);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!MultiLine()) {
            if (key == VK_UP || key == VK_PRIOR)
                MoveCaret(text_.PrevChar(caret), shift);
            else
                MoveCaret(text_.NextChar(caret), shift);
            break;
        }
        POINT p = PosFromChar(caret);
        if (goalX_ < 0)
            goalX_ = p.x + xOffset_;
        int step = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -VisibleRows() : VisibleRows();
        int row = std::clamp(layout_.RowFromChar(caret) + step, 0, layout_.RowCount() - 1);
        if (key == VK_PRIOR || key == VK_NEXT)
            ScrollTo(top_ + step, xOffset_);
        int y = format_.top + (row - top_) * lineHeight_;
        MoveCaret(CharFromPoint({goalX_ - xOffset_, y}), shift);
        keepGoal = true;
        break;
    }
    case VK_HOME:
        MoveCaret(control ? 0 : layout_.RowIndex(layout_.RowFromChar(caret)), shift);
        break;
    case VK_END: {
        if (control) {
            MoveCaret(text_.Length(), shift);
            break;
        }
        TextLayout::Row r = layout_.RowAt(layout_.RowFromChar(caret));
        MoveCaret(text_.LineIndex(r.Line) + r.End, shift);
        break;
    }
    case VK_DELETE:
        if (shift)
            SendMessage(hwnd_, WM_CUT, 0, 0);
        else if (!ReadOnly()) {
            if (text_.SelStart() == text_.SelEnd())
                text_.SetSel(caret, text_.NextChar(caret));
            Insert("", false);
        }
        break;
    case VK_INSERT:
        if (shift)
            SendMessage(hwnd_, WM_PASTE, 0, 0);
        else if (control)
            SendMessage(hwnd_, WM_COPY, 0, 0);
        break;
    default:
        return;
    }
    if (!keepGoal)
        goalX_ = -1;
}

void EditWindow::OnChar(char32_t c)
{
    goalX_ = -1;
    switch (c) {
    case 1: // Ctrl+A
        SetSelection(0, text_.Length());
        return;
    // The clipboard keys and undo go through the window's own messages, so that a control over the edit (a
    // mask, a read-only filter) handles them as it handles the messages themselves.
    case 3: // Ctrl+C: also in a read-only edit
        SendMessage(hwnd_, WM_COPY, 0, 0);
        return;
    case 22: // Ctrl+V
        SendMessage(hwnd_, WM_PASTE, 0, 0);
        return;
    case 24: // Ctrl+X
        SendMessage(hwnd_, WM_CUT, 0, 0);
        return;
    case 26: // Ctrl+Z
        SendMessage(hwnd_, WM_UNDO, 0, 0);
        return;
    default:
        break;
    }
    if (ReadOnly())
        return;
    if (c == 8) { // Backspace
        long long caret = text_.Caret();
        if (text_.SelStart() == text_.SelEnd())
            text_.SetSel(text_.PrevChar(caret), caret);
        Insert("", false);
        return;
    }
    if (c == '\r' || c == '\n') {
        if (MultiLine())
            Insert("\r\n", true);
        return;
    }
    if (c == '\t') {
        if (MultiLine())
            Insert("\t", true);
        return;
    }
    if (c < 32 || c == 127)
        return;
    if (DigitsOnly() && (c < '0' || c > '9'))
        return;
    std::string s;
    utf8::Append(s, c);
    Insert(s, true);
}

void EditWindow::OnMouseDown(POINT p, bool extend)
{
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    SetCapture(hwnd_);
    selecting_ = true;
    long long at = CharFromPoint(p);
    SetSelection(extend ? text_.Anchor() : at, at);
}

void EditWindow::SelectWordAt(POINT p)
{
    long long at = CharFromPoint(p);
    long long end = text_.NextWord(at);
    long long start = text_.PrevWord(text_.NextChar(at));
    SetSelection(std::min(start, at), std::max(end, at));
}

// --- text ------------------------------------------------------------------------------------------------

void EditWindow::AfterChange()
{
    ScrollCaretIntoView();
    UpdateScrollInfo();
    PlaceCaret();
    Notify(EN_UPDATE);
    Redraw();
    Notify(EN_CHANGE);
}

bool EditWindow::Insert(std::string_view text, bool typed, bool canUndo)
{
    std::string converted = ConvertCase(text, style_);
    bool had = text_.SelStart() != text_.SelEnd();
    long long before = text_.Length();
    bool whole = typed ? text_.Type(converted) : text_.ReplaceSel(converted, canUndo);
    if (had || text_.Length() != before)
        AfterChange();
    if (!whole)
        Notify(EN_MAXTEXT);
    return whole;
}

void EditWindow::SetText(const char* text)
{
    std::string_view given = text ? text : "";
    // Without a case to convert to, the engine reads the caller's text directly instead of a copy of it.
    if (style_ & (ES_UPPERCASE | ES_LOWERCASE))
        text_.SetText(ConvertCase(given, style_));
    else
        text_.SetText(given);
    top_ = 0;
    xOffset_ = 0;
    AfterChange();
}

// --- clipboard and undo ----------------------------------------------------------------------------------

void EditWindow::Copy()
{
    // A password stays in the edit.
    if (Mask() || text_.SelStart() == text_.SelEnd())
        return;
    PutClipboardText(hwnd_, text_.SelText());
}

void EditWindow::Cut()
{
    if (ReadOnly() || Mask())
        return;
    Copy();
    Clear();
}

void EditWindow::Clear()
{
    if (ReadOnly() || text_.SelStart() == text_.SelEnd())
        return;
    Insert("", false);
}

void EditWindow::Paste()
{
    if (ReadOnly())
        return;
    std::string text;
    if (GetClipboardText(hwnd_, &text))
        Insert(text, false);
}

void EditWindow::Undo()
{
    if (ReadOnly() || !text_.Undo())
        return;
    AfterChange();
}

// --- painting --------------------------------------------------------------------------------------------

// The parent chooses the colours and the background brush; a read-only or disabled edit asks as a static
// does. A null brush leaves the background as it is (a transparent edit).
HBRUSH EditWindow::ControlColour(HDC dc)
{
    bool disabled = !IsWindowEnabled(hwnd_);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(ReadOnly() || disabled ? COLOR_BTNFACE : COLOR_WINDOW));
    HBRUSH brush = nullptr;
    if (HWND parent = GetParent(hwnd_))
        brush = reinterpret_cast<HBRUSH>(SendMessage(parent, ReadOnly() || disabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
            reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)));
    if (!brush)
        brush = GetSysColorBrush(ReadOnly() || disabled ? COLOR_BTNFACE : COLOR_WINDOW);
    return brush;
}

void EditWindow::Paint(HDC dc)
{
    int saved = SaveDC(dc);
    SelectObject(dc, font_);
    HBRUSH brush = ControlColour(dc);
    bool transparent = brush == GetStockObject(NULL_BRUSH);
    RECT client {};
    GetClientRect(hwnd_, &client);
    if (!transparent)
        FillRect(dc, &client, brush);
    SetBkMode(dc, transparent ? TRANSPARENT : OPAQUE);
    IntersectClipRect(dc, format_.left, format_.top, format_.right, format_.bottom);
    COLORREF textColour = GetTextColor(dc);
    COLORREF backColour = GetBkColor(dc);
    bool showSelection = focused_ || (style_ & ES_NOHIDESEL);
    long long selStart = text_.SelStart(), selEnd = text_.SelEnd();
    int rows = MultiLine() ? VisibleRows() + 1 : 1;
    for (int i = 0; i < rows && top_ + i < layout_.RowCount(); ++i) {
        TextLayout::Row r = layout_.RowAt(top_ + i);
        int y = format_.top + i * lineHeight_;
        long long base = text_.LineIndex(r.Line);
        int x = RowX(r);
        // Three runs: before, inside and after the selection; without one, the row is all "before".
        int cuts[4] = {r.Start, r.End, r.End, r.End};
        if (showSelection && selStart < selEnd) {
            cuts[1] = static_cast<int>(std::clamp<long long>(selStart - base, r.Start, r.End));
            cuts[2] = static_cast<int>(std::clamp<long long>(selEnd - base, r.Start, r.End));
        }
        for (int k = 0; k < 3; ++k) {
            if (cuts[k] != cuts[k + 1])
                x += PaintPiece(dc, x, y, r.Line, cuts[k], cuts[k + 1], k == 1, transparent, textColour, backColour);
        }
    }
    RestoreDC(dc, saved);
}

int EditWindow::PaintPiece(HDC dc, int x, int y, int line, int from, int to, bool selected, bool transparent,
    COLORREF textColour, COLORREF backColour)
{
    std::string run = Shown(Columns(text_.LineText(line), from, to));
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour);
    SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : backColour);
    SetBkMode(dc, selected || !transparent ? OPAQUE : TRANSPARENT);
    TextOut(dc, x, y, run.data(), static_cast<int>(run.size()));
    SIZE size {};
    GetTextExtentPoint32(dc, run.data(), static_cast<int>(run.size()), &size);
    return size.cx;
}

LRESULT EditWindow::OnScroll(int bar, WORD request, int thumb)
{
    if (bar == SB_VERT) {
        int top = top_;
        int page = VisibleRows();
        switch (request) {
        case SB_LINEUP: top -= 1; break;
        case SB_LINEDOWN: top += 1; break;
        case SB_PAGEUP: top -= page; break;
        case SB_PAGEDOWN: top += page; break;
        case SB_THUMBPOSITION: top = WholeThumbPosition(hwnd_, SB_VERT, thumb); break;
        case SB_THUMBTRACK: top = ThumbPosition(hwnd_, SB_VERT, thumb); break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = layout_.RowCount(); break;
        default: return 0;
        }
        ScrollTo(top, xOffset_, true, EN_VSCROLL);
        return 0;
    }
    int x = xOffset_;
    int room = format_.right - format_.left;
    switch (request) {
    case SB_LINEUP: x -= aveCharWidth_; break;
    case SB_LINEDOWN: x += aveCharWidth_; break;
    case SB_PAGEUP: x -= room; break;
    case SB_PAGEDOWN: x += room; break;
    case SB_THUMBPOSITION: x = WholeThumbPosition(hwnd_, SB_HORZ, thumb); break;
    case SB_THUMBTRACK: x = ThumbPosition(hwnd_, SB_HORZ, thumb); break;
    case SB_TOP: x = 0; break;
    case SB_BOTTOM: x = std::max(0, WidestRow() - room); break;
    default: return 0;
    }
    x = std::min(x, std::max(0, WidestRow() - room + aveCharWidth_));
    ScrollTo(top_, x, true, EN_HSCROLL);
    return 0;
}

// --- the messages ----------------------------------------------------------------------------------------

LRESULT EditWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (MultiLine())
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETTEXT:
        // The window's own copy of its text is seen only in a caption and by FindWindow, which looks at top-level
        // windows; a child edit's text is the engine's alone, which WM_GETTEXT reads.
        if (!(style_ & WS_CHILD) || (style_ & WS_CAPTION) == WS_CAPTION)
            DefWindowProc(hwnd_, message, wParam, lParam);
        SetText(reinterpret_cast<const char*>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0)
            return 0;
        size_t n = text_.CopyText(buffer, wParam - 1);
        buffer[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text_.ByteLength());
    case WM_SETFONT:
        font_ = wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        UpdateMetrics();
        ResetFormatRect();
        if (LOWORD(lParam))
            Redraw();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE:
        ResetFormatRect();
        Redraw();
        return 0;
    case WM_STYLECHANGED:
        if (wParam == static_cast<WPARAM>(GWL_STYLE)) {
            style_ = static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE));
            Relayout();
            Redraw();
        }
        return 0;
    case WM_ENABLE:
        Redraw();
        return 0;
    case WM_ERASEBKGND:
        // The background is painted with the text, in the parent's colour.
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (wParam) {
            Paint(reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            Paint(dc);
            EndPaint(hwnd_, &paint);
        }
        return 0;
    case WM_SETFOCUS:
        focused_ = true;
        ShowNewCaret();
        Redraw();
        Notify(EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        DestroyCaret();
        Redraw();
        Notify(EN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
        OnMouseDown(MAKEPOINT(lParam), (wParam & MK_SHIFT) != 0);
        return 0;
    case WM_LBUTTONDBLCLK:
        SelectWordAt(MAKEPOINT(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (selecting_ && GetCapture() == hwnd_) {
            POINT p = MAKEPOINT(lParam);
            SetSelection(text_.Anchor(), CharFromPoint(p));
        }
        return 0;
    case WM_LBUTTONUP:
        if (selecting_) {
            selecting_ = false;
            if (GetCapture() == hwnd_)
                ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        selecting_ = false;
        return 0;
    case WM_MOUSEWHEEL: {
        if (!MultiLine())
            return 0;
        // A turn away from the user scrolls up.
        int lines = -GET_WHEEL_DELTA_WPARAM(wParam) * 3 / WHEEL_DELTA;
        ScrollTo(top_ + lines, xOffset_, true, EN_VSCROLL);
        return 0;
    }
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<char32_t>(wParam));
        return 0;
    case WM_VSCROLL:
        return OnScroll(SB_VERT, LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
    case WM_HSCROLL:
        return OnScroll(SB_HORZ, LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
    case WM_CUT:
        Cut();
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CLEAR:
        Clear();
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        if (ReadOnly() || !text_.CanUndo())
            return FALSE;
        Undo();
        return TRUE;

    case EM_GETSEL: {
        auto start = static_cast<DWORD>(text_.SelStart()), end = static_cast<DWORD>(text_.SelEnd());
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL: {
        // A start of -1 removes the selection; an end of -1 selects to the end of the text.
        auto start = static_cast<long long>(static_cast<int>(wParam));
        auto end = static_cast<long long>(static_cast<int>(lParam));
        if (start < 0) {
            SetSelection(-1, text_.Caret());
            return 0;
        }
        if (end < 0)
            end = text_.Length();
        SetSelection(start, end);
        return 0;
    }
    case EM_REPLACESEL:
        Insert(lParam ? reinterpret_cast<const char*>(lParam) : "", false, wParam != 0);
        return 0;
    case EM_GETRECT:
        if (lParam)
            *reinterpret_cast<RECT*>(lParam) = format_;
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (lParam) {
            format_ = *reinterpret_cast<const RECT*>(lParam);
            format_.right = std::max(format_.right, format_.left);
            format_.bottom = std::max(format_.bottom, format_.top);
        } else {
            ResetFormatRect();
        }
        Relayout();
        if (message == EM_SETRECT)
            Redraw();
        return 0;
    case EM_SETMARGINS: {
        auto value = [this](WORD w) { return w == EC_USEFONTINFO ? aveCharWidth_ / 2 : static_cast<int>(w); };
        if (wParam & EC_LEFTMARGIN)
            leftMargin_ = value(LOWORD(lParam));
        if (wParam & EC_RIGHTMARGIN)
            rightMargin_ = value(HIWORD(lParam));
        ResetFormatRect();
        Redraw();
        return 0;
    }
    case EM_GETMARGINS:
        return MAKELRESULT(leftMargin_, rightMargin_);
    case EM_GETFIRSTVISIBLELINE:
        // A single-line edit answers with its first visible character.
        return MultiLine() ? top_ : CharFromPoint({format_.left, format_.top});
    case EM_GETLINECOUNT:
        return layout_.RowCount();
    case EM_LINEINDEX: {
        int row = static_cast<int>(wParam) < 0 ? layout_.RowFromChar(text_.Caret()) : static_cast<int>(wParam);
        if (row >= layout_.RowCount())
            return -1;
        return static_cast<LRESULT>(layout_.RowIndex(row));
    }
    case EM_LINEFROMCHAR: {
        long long at = static_cast<int>(wParam) < 0 ? text_.SelStart() : static_cast<long long>(wParam);
        return layout_.RowFromChar(at);
    }
    case EM_LINELENGTH: {
        // By a character position; -1: the unselected characters of the lines the selection touches.
        if (static_cast<int>(wParam) < 0) {
            if (text_.SelStart() == text_.SelEnd())
                return 0;
            TextLayout::Row a = layout_.RowAt(layout_.RowFromChar(text_.SelStart()));
            TextLayout::Row b = layout_.RowAt(layout_.RowFromChar(text_.SelEnd()));
            long long before = text_.SelStart() - (text_.LineIndex(a.Line) + a.Start);
            long long after = text_.LineIndex(b.Line) + b.End - text_.SelEnd();
            return static_cast<LRESULT>(std::max(0LL, before) + std::max(0LL, after));
        }
        TextLayout::Row r = layout_.RowAt(layout_.RowFromChar(static_cast<long long>(wParam)));
        return r.End - r.Start;
    }
    case EM_GETLINE: {
        // The first WORD of the buffer holds its size in bytes; the line is copied without a terminating NUL.
        auto* buffer = reinterpret_cast<char*>(lParam);
        int row = static_cast<int>(wParam);
        if (!buffer || row < 0 || row >= layout_.RowCount())
            return 0;
        WORD size = 0;
        std::memcpy(&size, buffer, sizeof size);
        TextLayout::Row r = layout_.RowAt(row);
        std::string_view line = text_.LineText(r.Line);
        size_t a = utf8::Offset(line, r.Start);
        std::string_view piece = line.substr(a, utf8::Offset(line, r.End) - a);
        size_t n = std::min<size_t>(size, piece.size());
        while (n > 0 && n < piece.size() && (static_cast<unsigned char>(piece[n]) & 0xC0) == 0x80)
            --n;
        std::memcpy(buffer, piece.data(), n);
        return static_cast<LRESULT>(n);
    }
    case EM_LIMITTEXT:
        text_.SetLimit(static_cast<long long>(wParam));
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(text_.Limit());
    case EM_CANUNDO:
        return text_.CanUndo();
    case EM_EMPTYUNDOBUFFER:
        text_.EmptyUndoBuffer();
        return 0;
    case EM_GETMODIFY:
        return text_.Modified();
    case EM_SETMODIFY:
        text_.SetModified(wParam != 0);
        return 0;
    case EM_SETREADONLY: {
        DWORD style = static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE));
        style = wParam ? (style | ES_READONLY) : (style & ~ES_READONLY);
        SetWindowLongPtr(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
        style_ = style;
        Redraw();
        return TRUE;
    }
    case EM_SETPASSWORDCHAR:
        passwordChar_ = static_cast<char32_t>(wParam);
        Relayout();
        Redraw();
        return 0;
    case EM_GETPASSWORDCHAR:
        return static_cast<LRESULT>(passwordChar_);
    case EM_SCROLL: {
        int before = top_;
        OnScroll(SB_VERT, static_cast<WORD>(wParam), 0);
        return MAKELRESULT(static_cast<WORD>(top_ - before), TRUE);
    }
    case EM_LINESCROLL:
        if (!MultiLine())
            return FALSE;
        ScrollTo(top_ + static_cast<int>(lParam), WordWrap() ? 0 : xOffset_ + static_cast<int>(wParam) * aveCharWidth_);
        return TRUE;
    case EM_SCROLLCARET:
        ScrollCaretIntoView();
        return TRUE;
    case EM_GETTHUMB:
        return top_;
    case EM_POSFROMCHAR: {
        if (static_cast<long long>(wParam) > text_.Length())
            return -1;
        POINT p = PosFromChar(static_cast<long long>(wParam));
        return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
        POINT p {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        long long at = CharFromPoint(p);
        return MAKELRESULT(static_cast<WORD>(std::min<long long>(at, 0xFFFF)),
            static_cast<WORD>(layout_.RowFromChar(at)));
    }
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

ATOM RegisterEditClass()
{
    return RegisterControlClass<EditWindow>(WC_EDIT, IDC_IBEAM);
}
