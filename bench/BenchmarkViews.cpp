// The list view against DrawText: an owner-data report view of 100,000 rows and 8 columns painted a page at a
// time while it scrolls 1,000 pages down, against filling the same cells with the same texts by DrawText into
// the same kind of bitmap. Both sides make each cell's text with the same function.
#include "BenchTiming.h"

#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/ListViewControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 8;
constexpr int kColumnWidth = 90;
constexpr int kWidth = kColumns * kColumnWidth;
constexpr int kHeight = 400;
constexpr int kPages = 1000;
constexpr UINT kCellFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

int CellText(int row, int column, char* buffer, int size)
{
    return std::snprintf(buffer, static_cast<size_t>(size), "Row %d, field %d", row, column);
}

size_t cellsAsked = 0;

LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == LVN_GETDISPINFO) {
            auto* info = reinterpret_cast<NMLVDISPINFO*>(lParam);
            if (info->item.mask & LVIF_TEXT)
                CellText(info->item.iItem, info->item.iSubItem, info->item.pszText, info->item.cchTextMax);
            ++cellsAsked;
        }
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

struct Canvas {
    Canvas()
    {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        Dc = CreateCompatibleDC(nullptr);
        Old = SelectObject(Dc, Bitmap);
    }
    ~Canvas()
    {
        SelectObject(Dc, Old);
        DeleteObject(Bitmap);
        DeleteDC(Dc);
    }
    HBITMAP Bitmap;
    HDC Dc;
    HGDIOBJ Old;
};

// Paints the view's page, then pages down and paints again, kPages times.
size_t ListViewRun(HWND view, HDC dc)
{
    cellsAsked = 0;
    SendMessage(view, WM_VSCROLL, SB_TOP, 0);
    for (int page = 0; page <= kPages; ++page) {
        SendMessage(view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
        SendMessage(view, WM_VSCROLL, SB_PAGEDOWN, 0);
    }
    return cellsAsked;
}

// The same pages drawn cell by cell: the background, then each row's eight texts in their cells.
size_t DrawTextRun(HFONT font, int rowHeight, int top, int perPage, HDC dc)
{
    size_t cells = 0;
    char buffer[260];
    for (int page = 0; page <= kPages; ++page) {
        int first = page * perPage;
        RECT client {0, 0, kWidth, kHeight};
        HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        for (int row = first; row < first + perPage + 1 && row < kRows; ++row) {
            int y = top + (row - first) * rowHeight;
            if (y >= kHeight)
                break;
            for (int column = 0; column < kColumns; ++column) {
                RECT cell {column * kColumnWidth + 2, y, (column + 1) * kColumnWidth - 2, y + rowHeight};
                int n = CellText(row, column, buffer, sizeof buffer);
                DrawText(dc, buffer, n, &cell, kCellFormat);
                ++cells;
            }
        }
    }
    return cells;
}

} // namespace

int main()
{
    THeadlessBackend backend;
    if (!backend.Install())
        return 1;
    backend.Log().SetEnabled(false);
    RegisterListViewClass();
    WNDCLASS wc {};
    wc.lpfnWndProc = &ParentProc;
    wc.lpszClassName = "BenchViewsParent";
    RegisterClass(&wc);
    HWND parent = CreateWindowEx(0, "BenchViewsParent", "", WS_POPUP, 0, 0, kWidth + 40, kHeight + 40, nullptr,
        nullptr, nullptr, nullptr);
    HFONT font = CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    HWND view = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_NOSCROLL,
        0, 0, kWidth, kHeight, parent, nullptr, nullptr, nullptr);
    SendMessage(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    for (int c = 0; c < kColumns; ++c) {
        char caption[32];
        std::snprintf(caption, sizeof caption, "Field %d", c);
        LVCOLUMN column {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = kColumnWidth;
        column.pszText = caption;
        SendMessage(view, LVM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
    }
    SendMessage(view, LVM_SETITEMCOUNT, kRows, 0);

    // The peer draws the rows where the view does: below its header, at its row height, a page at a time.
    RECT first {LVIR_BOUNDS, 0, 0, 0};
    SendMessage(view, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    const int rowHeight = first.bottom - first.top;
    const int perPage = static_cast<int>(SendMessage(view, LVM_GETCOUNTPERPAGE, 0, 0));

    Canvas canvas;
    size_t oursCells = 0, peerCells = 0;
    double ours = BestOf([&] { oursCells = ListViewRun(view, canvas.Dc); }, 3);
    double peer = BestOf([&] { peerCells = DrawTextRun(font, rowHeight, first.top, perPage, canvas.Dc); }, 3);
    if (oursCells != peerCells)
        std::fprintf(stderr, "the list view asked for %zu cells, the peer drew %zu\n", oursCells, peerCells);
    Report("listview_ownerdata_paint_scroll", ours, peer);
    DestroyWindow(parent);
    DeleteObject(font);
    backend.Uninstall();
    return oursCells == peerCells ? 0 : 1;
}
