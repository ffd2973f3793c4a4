// The window object behind the "EDIT" class, and the base of the rich edit's: a TextEngine on screen with its
// rows, scrolling, caret, mouse, keys and painting. Measuring, painting a piece of a row, a line's alignment
// and the notifications are virtual, so the rich edit adds its formatting without a second editing engine.
#pragma once
#include "platform/controls/TextEngine.h"
#include "platform/controls/TextLayout.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One edit window's state. It is kept in the window's extra bytes from WM_NCCREATE to WM_NCDESTROY.
class EditWindow {
public:
    EditWindow(HWND hwnd, const CREATESTRUCT& create);
    virtual ~EditWindow();
    virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    bool MultiLine() const;
    bool ReadOnly() const;
    // Multi-line edits without horizontal scrolling break their lines at the format rectangle's width.
    virtual bool WordWrap() const;
    // ES_NUMBER: only digits may be typed.
    virtual bool DigitsOnly() const;
    // Whether a bar with nothing to scroll stays on screen (disabled) rather than going away.
    virtual bool KeepsIdleScrollBars() const { return true; }
    char32_t Mask() const;

    // --- text and notifications ---
    virtual void Notify(WORD code);
    void SetText(const char* text);
    // Replaces the selection as typing or pasting does: case, limit, EN_MAXTEXT, EN_UPDATE and EN_CHANGE.
    bool Insert(std::string_view text, bool typed, bool canUndo = true);
    void AfterChange();
    std::string Shown(std::string_view text) const;

    // --- layout ---
    virtual void UpdateMetrics();
    void ResetFormatRect();
    void Relayout();
    void BreakLine(int line, std::vector<int>& breaks) const;
    // End offsets (pixels) of each character of columns [from, to) of a line as shown, from the first one's
    // left edge, into `ends` (replacing what it held); and the width of those columns.
    virtual void Advances(int line, int from, int to, std::vector<int>& ends) const;
    virtual int TextWidth(int line, int from, int to) const;
    // ES_LEFT, ES_CENTER or ES_RIGHT for a line.
    virtual DWORD LineAlignment(int line) const;
    void AdvancesOf(std::string_view text, std::vector<int>& ends) const;
    int WidthOf(std::string_view text) const;
    int Advance(char32_t c) const;
    int VisibleRows() const;
    int RowX(const TextLayout::Row& row, int* width = nullptr) const;
    POINT PosFromChar(long long position) const;
    long long CharFromPoint(POINT p) const;
    int WidestRow() const;

    // --- scrolling and caret ---
    void ScrollTo(int top, int x, bool notify = false, WORD code = 0);
    void ScrollCaretIntoView();
    void UpdateScrollInfo();
    void PlaceCaret();
    void ShowNewCaret();
    void Redraw();
    LRESULT OnScroll(int bar, WORD request, int thumb);

    // --- input ---
    void SetSelection(long long anchor, long long caret, bool scroll = true);
    void MoveCaret(long long position, bool extend);
    void OnKeyDown(UINT key);
    void OnChar(char32_t c);
    void OnMouseDown(POINT p, bool extend);
    void SelectWordAt(POINT p);

    // --- clipboard and undo ---
    void Copy();
    void Cut();
    void Paste();
    void Clear();
    void Undo();

    // --- painting ---
    void Paint(HDC dc);
    // Sets the DC's text and background colours and returns the background brush (NULL_BRUSH: transparent).
    virtual HBRUSH ControlColour(HDC dc);
    // Draws columns [from, to) of a line with its left edge at x on the row at y and returns their width.
    // `textColour` and `backColour` are the colours of unselected text.
    virtual int PaintPiece(HDC dc, int x, int y, int line, int from, int to, bool selected, bool transparent,
        COLORREF textColour, COLORREF backColour);

    HWND hwnd_;
    DWORD style_;
    TextEngine text_;
    TextLayout layout_ {text_};
    HFONT font_;
    HDC measure_; // a memory DC with the font selected, for measuring without a window DC
    mutable int asciiAdvance_[128];
    mutable std::vector<int> breakEnds_;     // BreakLine's advances and blanks, kept for their room
    mutable std::vector<bool> breakBlanks_;
    mutable std::unordered_map<char32_t, int> advance_;
    int lineHeight_ = 16;
    int aveCharWidth_ = 8;
    int leftMargin_ = 0;
    int rightMargin_ = 0;
    RECT format_ {};
    int layoutWidth_ = -1; // the width the rows were broken at
    char32_t passwordChar_ = 0;
    int top_ = 0;     // first visible row
    int xOffset_ = 0; // pixels scrolled to the left
    int goalX_ = -1;  // x the caret keeps while moving up and down
    bool focused_ = false;
    bool selecting_ = false;
    bool publishing_ = false; // inside UpdateScrollInfo
};
