// Text with tabs: TabbedTextOut and GetTabbedTextExtent.
#pragma once
#include "platform/gdi/GdiTypes.h"

// Draws `text` at (x, y) in the DC's font and colours, each tab moving on to the next tab stop: `tabStops` are
// `tabCount` increasing positions from `tabOrigin` (past the last one, or with no stops, a stop every eight average
// character widths; one stop means a stop every that many pixels). Negative stops are taken as their size. With
// an opaque background the gaps up to the stops are filled too. Returns MAKELONG(width, height), 0 on failure.
LONG TabbedTextOut(HDC dc, int x, int y, const char* text, int count, int tabCount, const int* tabStops, int tabOrigin);
// The size TabbedTextOut would take from a tab origin of 0, as MAKELONG(width, height).
DWORD GetTabbedTextExtent(HDC dc, const char* text, int count, int tabCount, const int* tabStops);
