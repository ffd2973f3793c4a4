// What the common controls (list view, header, and the views after them) share: the WM_NOTIFY record and
// the generic notification codes, and the image lists they draw from.
#pragma once
#include "platform/win/WinTypes.h"

// WM_NOTIFY's lParam starts with this record; wParam is the sender's ID.
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

// Generic notification codes (NMHDR.code).
constexpr UINT NM_FIRST = 0U;
constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT NM_DBLCLK = NM_FIRST - 3;
constexpr UINT NM_RETURN = NM_FIRST - 4;
constexpr UINT NM_RCLICK = NM_FIRST - 5;
constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;

// An image list as the views draw it. The framework's image lists provide one; a view only borrows it.
class ViewImageList {
public:
    virtual ~ViewImageList() = default;
    virtual int ImageCount() const = 0;
    virtual SIZE ImageSize() const = 0;
    // Draws image `index` at (x, y); `selected` blends it with the highlight as a selected item shows it.
    virtual void DrawImage(HDC dc, int x, int y, int index, bool selected) = 0;
};
using HIMAGELIST = ViewImageList*;

// Sends WM_NOTIFY with `header` (whose hwndFrom, idFrom and code are filled in here) to the window's parent.
LRESULT SendNotify(HWND hwnd, UINT code, NMHDR* header);
