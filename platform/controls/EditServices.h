// What the edit needs of the window services beyond messages: the caret, the window's scroll bars and the
// clipboard's text. Kept in one place so the edit reads the same whichever way each is provided.
#pragma once
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>

// Which bar a WM_HSCROLL/WM_VSCROLL request is for, and the request codes (low word of wParam).
constexpr int SB_HORZ_BAR = 0;
constexpr int SB_VERT_BAR = 1;
constexpr WORD SB_LINE_UP = 0;
constexpr WORD SB_LINE_DOWN = 1;
constexpr WORD SB_PAGE_UP = 2;
constexpr WORD SB_PAGE_DOWN = 3;
constexpr WORD SB_THUMB_POSITION = 4;
constexpr WORD SB_THUMB_TRACK = 5;
constexpr WORD SB_TO_TOP = 6;
constexpr WORD SB_TO_BOTTOM = 7;

// The edit's caret: a line-high bar at the insertion point while the edit has the focus.
class EditCaret {
public:
    void Create(HWND hwnd, int height);
    void Move(HWND hwnd, int x, int y);
    void Show(HWND hwnd);
    void Destroy();
    bool Visible() const { return visible_; }
    POINT Position() const { return position_; }

private:
    bool created_ = false;
    bool visible_ = false;
    POINT position_ {};
};

// Reports the edit's scroll state to the window's bars: vertically rows 0..rows-1 with a page of the visible
// rows and the first visible row as position; horizontally pixels, with the widest row as range (asked only
// when the window has a horizontal bar).
void PublishScrollInfo(HWND hwnd, DWORD style, int rows, int visibleRows, int top, const std::function<int()>& widest,
    int width, int x);

// The clipboard's text (UTF-8, line breaks as CR LF).
bool PutClipboardText(HWND owner, const std::string& text);
bool GetClipboardText(HWND owner, std::string* text);
