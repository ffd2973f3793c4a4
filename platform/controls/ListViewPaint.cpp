#include "platform/controls/ListView.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Rects.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {
constexpr UINT kCellFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

UINT AlignOf(int format)
{
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
    }
}
} // namespace

void ListView::Paint(HDC dc, const RECT& area)
{
    SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    COLORREF back = backColor_ == CLR_NONE ? GetSysColor(COLOR_WINDOW) : backColor_;
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    int first, last;
    VisibleRange(&first, &last);
    if (last < first)
        return;
    if (OwnerData()) {
        // The parent may fetch the rows about to be shown in one go.
        NMLVCACHEHINT hint {};
        hint.iFrom = first;
        hint.iTo = last;
        Notify(LVN_ODCACHEHINT, &hint.hdr);
    }
    std::vector<int> order = Report() ? ColumnOrder() : std::vector<int>();
    int saved = SaveDC(dc);
    RECT client;
    GetClientRect(hwnd_, &client);
    IntersectClipRect(dc, 0, HeaderHeight(), client.right, client.bottom);
    for (int i = first; i <= last && i < Count(); ++i) {
        RECT bounds = ItemBounds(i), hit;
        if (!IntersectRect(&hit, &bounds, &area))
            continue;
        if (IconView()) {
            PaintIconItem(dc, i);
            continue;
        }
        bool selected = (StateOf(i) & LVIS_SELECTED) && (focused_ || (style_ & LVS_SHOWSELALWAYS));
        if (Report() && (style_ & LVS_OWNERDRAWFIXED)) {
            UINT state = ((StateOf(i) & LVIS_SELECTED) ? ODS_SELECTED : 0U) | (focused_ && i == focus_ ? ODS_FOCUS : 0U);
            DRAWITEMSTRUCT draw {ODT_LISTVIEW, static_cast<UINT>(GetWindowLongPtr(hwnd_, GWLP_ID)), static_cast<UINT>(i),
                ODA_DRAWENTIRE, state, hwnd_, dc, bounds, static_cast<UINT_PTR>(ParamOf(i))};
            SendMessage(GetParent(hwnd_), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
            continue;
        }
        if (Report()) {
            LONG left = bounds.left;
            for (int column : order) {
                RECT cell {left, bounds.top, left + columns_[column].Width, bounds.bottom};
                left = cell.right;
                if (cell.right > area.left && cell.left < area.right)
                    PaintCell(dc, i, column, cell, selected && (column == 0 || (exStyle_ & LVS_EX_FULLROWSELECT)));
            }
        } else {
            PaintCell(dc, i, 0, bounds, selected);
        }
        if (focused_ && i == focus_) {
            RECT focus = ItemPart(i, LVIR_SELECTBOUNDS);
            DrawFocusRect(dc, &focus);
        }
    }
    if (Report() && (exStyle_ & LVS_EX_GRIDLINES)) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
        HGDIOBJ old = SelectObject(dc, pen);
        LONG x = -scrollX_;
        for (int column : order) {
            x += columns_[column].Width;
            MoveToEx(dc, x - 1, HeaderHeight(), nullptr);
            LineTo(dc, x - 1, client.bottom);
        }
        for (int i = first; i <= last; ++i) {
            RECT r = ItemBounds(i);
            MoveToEx(dc, r.left, r.bottom - 1, nullptr);
            LineTo(dc, r.right, r.bottom - 1);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    RestoreDC(dc, saved);
}

void ListView::PaintCell(HDC dc, int index, int column, const RECT& cell, bool selected)
{
    RECT text = cell;
    int subItem = Report() && column < static_cast<int>(columns_.size()) ? columns_[column].SubItem : 0;
    if (column == 0) {
        RECT icon = ItemPart(index, LVIR_ICON);
        RECT label = ItemPart(index, LVIR_LABEL);
        if (!Report()) {
            icon.left = cell.left + 2;
            icon.right = icon.left + (smallImages_ ? smallImages_->ImageSize().cx : 0);
            label = {icon.right, cell.top, cell.right, cell.bottom};
        }
        if (smallImages_) {
            int image = ImageOf(index);
            if (image >= 0 && image < smallImages_->ImageCount()) {
                SIZE size = smallImages_->ImageSize();
                smallImages_->DrawImage(dc, icon.left, icon.top + (icon.bottom - icon.top - size.cy) / 2, image, selected);
            }
        }
        text = label;
        if (selected && !(Report() && (exStyle_ & LVS_EX_FULLROWSELECT)))
            FillRect(dc, &label, GetSysColorBrush(focused_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    }
    if (selected && Report() && (exStyle_ & LVS_EX_FULLROWSELECT))
        FillRect(dc, &cell, GetSysColorBrush(focused_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    SetTextColor(dc, selected ? GetSysColor(focused_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT) : textColor_);
    text.left += 2;
    text.right -= 2;
    if (text.right <= text.left)
        return;
    char buffer[260];
    std::string_view shown = CellText(index, subItem, buffer, sizeof buffer);
    UINT align = Report() && column < static_cast<int>(columns_.size()) ? AlignOf(columns_[column].Format) : DT_LEFT;
    DrawText(dc, shown.data(), static_cast<int>(shown.size()), &text, align | kCellFormat);
}

void ListView::PaintIconItem(HDC dc, int index)
{
    bool selected = (StateOf(index) & LVIS_SELECTED) && (focused_ || (style_ & LVS_SHOWSELALWAYS));
    HIMAGELIST images = ViewType() == LVS_ICON ? normalImages_ : smallImages_;
    RECT icon = ItemPart(index, LVIR_ICON), label = ItemPart(index, LVIR_LABEL);
    if (ViewType() == LVS_SMALLICON) {
        RECT bounds = ItemBounds(index);
        icon = {bounds.left + 2, bounds.top, bounds.left + 2 + (images ? images->ImageSize().cx : 0), bounds.bottom};
        label = {icon.right, bounds.top, bounds.right, bounds.bottom};
    }
    if (images) {
        int image = ImageOf(index);
        if (image >= 0 && image < images->ImageCount()) {
            SIZE size = images->ImageSize();
            images->DrawImage(dc, icon.left, icon.top + (icon.bottom - icon.top - size.cy) / 2, image, selected);
        }
    }
    if (selected)
        FillRect(dc, &label, GetSysColorBrush(focused_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    SetTextColor(dc, selected ? GetSysColor(focused_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT) : textColor_);
    char buffer[260];
    std::string_view shown = CellText(index, 0, buffer, sizeof buffer);
    RECT text = label;
    InflateRect(&text, -2, 0);
    UINT format = ViewType() == LVS_ICON ? DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS : DT_LEFT | kCellFormat;
    DrawText(dc, shown.data(), static_cast<int>(shown.size()), &text, format);
    if (focused_ && index == focus_)
        DrawFocusRect(dc, &label);
}
