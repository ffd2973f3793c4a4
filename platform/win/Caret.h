// The caret: the one blinking text cursor of the UI thread, drawn by inverting the pixels under it in its
// window's client area.
#pragma once
#include "platform/win/WinTypes.h"

#include <cstdint>

// A bitmap argument of CreateCaret that asks for a grey caret instead of a solid one.
inline const HBITMAP CARET_GREY_BITMAP = reinterpret_cast<HBITMAP>(uintptr_t(1));

// Replaces any existing caret with a hidden one in `hwnd`'s client area at (0, 0): solid (null bitmap), grey, or
// the bitmap's pixels (then `width` and `height` are the bitmap's own). A zero width or height takes the
// system's border width or height. ShowCaret shows it.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
// Removes the caret, erasing it if it shows. FALSE when there is none.
BOOL DestroyCaret();
// HideCaret and ShowCaret count: the caret shows once every HideCaret has had its ShowCaret (and after the
// one ShowCaret a new caret needs). `hwnd` must be the caret's window, or null for whichever window has it.
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
// Client coordinates of the caret's window. A shown caret is drawn at once at the new place, and the blink
// starts over.
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* point);
// Milliseconds the caret stays on and off; INFINITE: it does not blink. Default 530.
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);
