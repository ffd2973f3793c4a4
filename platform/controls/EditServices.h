// What the edit needs of the window services beyond messages: the window's scroll bars and the clipboard's
// text, kept in one place.
#pragma once
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>

// Reports the edit's scroll state to the window's bars (those its style has): vertically rows 0..rows-1 with a
// page of the visible rows and the first visible row as position; horizontally pixels, with the widest row as
// range (measured only when the window has a horizontal bar). A bar with nothing to scroll stays, disabled,
// with `keepIdleBars`, and goes away without.
void PublishScrollInfo(HWND hwnd, DWORD style, int rows, int visibleRows, int top, const std::function<int()>& widest,
    int width, int x, bool keepIdleBars = true);
// The position of a dragged thumb: the bar's track position (the message carries only 16 bits of it).
int ThumbPosition(HWND hwnd, int bar, int fromMessage);
// The position of SB_THUMBPOSITION: the message's 16 bits, or the bar's whole position when its low 16 bits are
// the message's (a sender with a larger position sets the bar first, so the position arrives whole).
int WholeThumbPosition(HWND hwnd, int bar, int fromMessage);

// The clipboard's text (UTF-8, line breaks as CR LF).
bool PutClipboardText(HWND owner, const std::string& text);
bool GetClipboardText(HWND owner, std::string* text);
