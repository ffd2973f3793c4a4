#include "platform/controls/ControlClass.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListView.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Rects.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kHeaderId = 0;
// The gap around an icon view's image and label, and the width of its cells.
constexpr int kIconCellWidth = 76;
constexpr int kIconGap = 4;

void CopyText(std::string_view text, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return;
    size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}
} // namespace

ListView::ListView(HWND hwnd, const CREATESTRUCT& create)
    : hwnd_(hwnd)
    , style_(static_cast<DWORD>(create.style))
    , font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))
    , backColor_(GetSysColor(COLOR_WINDOW))
    , textColor_(GetSysColor(COLOR_WINDOWTEXT))
    , textBackColor_(GetSysColor(COLOR_WINDOW))
{
    view_.SetOutsideCount(0);
}

// --- Items ------------------------------------------------------------------------------------------------------

UINT ListView::StateOf(int index) const
{
    return OwnerData() ? ownerStates_[index] : items_[index].State;
}

void ListView::StoreState(int index, UINT state)
{
    if (OwnerData())
        ownerStates_[index] = static_cast<uint8_t>(state & 0xFF);
    else
        items_[index].State = state;
}

LRESULT ListView::InsertItem(const LVITEM* item)
{
    if (!item || OwnerData() || item->iItem < 0 || item->iSubItem != 0)
        return -1;
    ListViewItem added;
    if (item->mask & LVIF_TEXT) {
        if (item->pszText == LPSTR_TEXTCALLBACK)
            added.TextCallback = true;
        else if (item->pszText)
            added.Text = item->pszText;
    }
    if (item->mask & LVIF_IMAGE)
        added.Image = item->iImage;
    if (item->mask & LVIF_PARAM)
        added.Param = item->lParam;
    if (item->mask & LVIF_INDENT)
        added.Indent = item->iIndent;
    int at = std::min(item->iItem, Count());
    if ((style_ & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !added.TextCallback) {
        bool descending = style_ & LVS_SORTDESCENDING;
        auto pos = std::upper_bound(items_.begin(), items_.end(), added.Text,
            [descending](const std::string& text, const ListViewItem& other) {
                int c = CompareTextNoCase(text, other.Text);
                return descending ? c > 0 : c < 0;
            });
        at = static_cast<int>(pos - items_.begin());
    }
    UINT state = (item->mask & LVIF_STATE) ? (item->state & item->stateMask) : 0;
    items_.insert(items_.begin() + at, std::move(added));
    for (int* i : {&focus_, &mark_, &editItem_, &pressedItem_})
        if (*i >= at)
            ++*i;
    Changed();
    NotifyItem(LVN_INSERTITEM, at);
    if (state)
        ChangeState(at, state, item->stateMask);
    return at;
}

LRESULT ListView::DeleteItem(int index)
{
    if (!Valid(index))
        return FALSE;
    if (index == editItem_)
        EndEdit(false);
    if (!OwnerData())
        NotifyItem(LVN_DELETEITEM, index);
    if (!Valid(index))
        return FALSE; // the parent deleted it meanwhile
    if (OwnerData()) {
        ownerStates_.erase(ownerStates_.begin() + index);
        --ownerCount_;
    } else {
        items_.erase(items_.begin() + index);
    }
    for (int* i : {&focus_, &mark_, &editItem_, &pressedItem_}) {
        if (*i == index)
            *i = -1;
        else if (*i > index)
            --*i;
    }
    Changed();
    return TRUE;
}

LRESULT ListView::DeleteAllItems()
{
    EndEdit(false);
    // A parent answering TRUE to LVN_DELETEALLITEMS wants no LVN_DELETEITEM per item.
    bool each = !OwnerData() && !NotifyItem(LVN_DELETEALLITEMS, -1);
    if (each) {
        while (!items_.empty()) {
            int before = Count();
            NotifyItem(LVN_DELETEITEM, 0);
            if (Count() == before && !items_.empty())
                items_.erase(items_.begin());
        }
    }
    items_.clear();
    ownerCount_ = 0;
    ownerStates_.clear();
    focus_ = mark_ = pressedItem_ = -1;
    scrollY_ = 0;
    view_.SetTop(0);
    Changed();
    return TRUE;
}

LRESULT ListView::SetItemCount(int count)
{
    count = std::max(0, count);
    if (!OwnerData()) {
        items_.reserve(static_cast<size_t>(count));
        return TRUE;
    }
    if (editItem_ >= count)
        EndEdit(false);
    ownerCount_ = count;
    ownerStates_.resize(static_cast<size_t>(count), 0);
    for (int* i : {&focus_, &mark_, &pressedItem_})
        if (*i >= count)
            *i = -1;
    Changed();
    return TRUE;
}

LRESULT ListView::GetItem(LVITEM* item)
{
    if (!item || !Valid(item->iItem))
        return FALSE;
    int index = item->iItem;
    if (item->mask & LVIF_STATE)
        item->state = StateOf(index) & item->stateMask;
    if (OwnerData()) {
        // The parent keeps everything but the state.
        UINT asked = item->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT);
        if (asked) {
            NMLVDISPINFO info {};
            info.item = *item;
            info.item.mask = asked;
            Notify(LVN_GETDISPINFO, &info.hdr);
            if ((asked & LVIF_TEXT) && info.item.pszText != item->pszText && info.item.pszText)
                CopyText(info.item.pszText, item->pszText, item->cchTextMax);
            if (asked & LVIF_IMAGE)
                item->iImage = info.item.iImage;
            if (asked & LVIF_PARAM)
                item->lParam = info.item.lParam;
            if (asked & LVIF_INDENT)
                item->iIndent = info.item.iIndent;
        }
        return TRUE;
    }
    const ListViewItem& it = items_[index];
    if (item->mask & LVIF_TEXT) {
        char buffer[260];
        CopyText(CellText(index, item->iSubItem, buffer, sizeof buffer), item->pszText, item->cchTextMax);
    }
    if (item->mask & LVIF_IMAGE)
        item->iImage = it.Image;
    if (item->mask & LVIF_PARAM)
        item->lParam = it.Param;
    if (item->mask & LVIF_INDENT)
        item->iIndent = it.Indent;
    return TRUE;
}

LRESULT ListView::SetItem(const LVITEM* item)
{
    if (!item || !Valid(item->iItem) || item->iSubItem < 0)
        return FALSE;
    int index = item->iItem;
    if (!OwnerData()) {
        ListViewItem& it = items_[index];
        if (item->mask & LVIF_TEXT) {
            if (item->iSubItem == 0) {
                it.TextCallback = item->pszText == LPSTR_TEXTCALLBACK;
                it.Text = it.TextCallback || !item->pszText ? std::string() : std::string(item->pszText);
            } else {
                if (static_cast<int>(it.SubItems.size()) < item->iSubItem) {
                    it.SubItems.resize(static_cast<size_t>(item->iSubItem));
                    it.SubCallback.resize(static_cast<size_t>(item->iSubItem), it.TextCallback);
                }
                bool callback = item->pszText == LPSTR_TEXTCALLBACK;
                it.SubCallback[item->iSubItem - 1] = callback;
                it.SubItems[item->iSubItem - 1] = item->pszText && !callback ? item->pszText : "";
            }
        }
        if (item->iSubItem == 0) {
            if (item->mask & LVIF_IMAGE)
                it.Image = item->iImage;
            if (item->mask & LVIF_PARAM)
                it.Param = item->lParam;
            if (item->mask & LVIF_INDENT)
                it.Indent = item->iIndent;
        }
    }
    if ((item->mask & LVIF_STATE) && item->iSubItem == 0)
        ChangeState(index, item->state, item->stateMask);
    InvalidateItem(index);
    return TRUE;
}

std::string_view ListView::CellText(int index, int subItem, char* buffer, int size)
{
    if (!OwnerData()) {
        const ListViewItem& it = items_[index];
        if (subItem == 0 && !it.TextCallback)
            return it.Text;
        if (subItem > 0) {
            auto k = static_cast<size_t>(subItem - 1);
            bool callback = k < it.SubCallback.size() ? it.SubCallback[k] != 0 : it.TextCallback;
            if (!callback)
                return k < it.SubItems.size() ? std::string_view(it.SubItems[k]) : std::string_view();
        }
    }
    NMLVDISPINFO info {};
    info.item.mask = LVIF_TEXT;
    info.item.iItem = index;
    info.item.iSubItem = subItem;
    info.item.pszText = buffer;
    info.item.cchTextMax = size;
    info.item.lParam = ParamOf(index);
    buffer[0] = '\0';
    Notify(LVN_GETDISPINFO, &info.hdr);
    // The parent may have written into the buffer or pointed at its own text.
    return info.item.pszText && info.item.pszText != LPSTR_TEXTCALLBACK ? std::string_view(info.item.pszText)
                                                                        : std::string_view();
}

int ListView::ImageOf(int index)
{
    if (!OwnerData() && items_[index].Image != I_IMAGECALLBACK)
        return items_[index].Image;
    NMLVDISPINFO info {};
    info.item.mask = LVIF_IMAGE;
    info.item.iItem = index;
    info.item.iImage = -1;
    info.item.lParam = ParamOf(index);
    Notify(LVN_GETDISPINFO, &info.hdr);
    return info.item.iImage;
}

LRESULT ListView::GetNextItem(int start, UINT flags) const
{
    UINT wanted = ((flags & LVNI_FOCUSED) ? LVIS_FOCUSED : 0) | ((flags & LVNI_SELECTED) ? LVIS_SELECTED : 0);
    if (wanted == LVIS_FOCUSED)
        return focus_ > start ? focus_ : -1;
    for (int i = std::max(0, start + 1); i < Count(); ++i)
        if ((StateOf(i) & wanted) == wanted)
            return i;
    return -1;
}

LRESULT ListView::FindItem(int start, const LVFINDINFO* info)
{
    if (!info || Count() == 0)
        return -1;
    if (OwnerData()) {
        NMLVFINDITEM find {};
        find.iStart = start + 1;
        find.lvfi = *info;
        return Notify(LVN_ODFINDITEM, &find.hdr);
    }
    int n = Count();
    int from = std::clamp(start + 1, 0, n);
    int steps = (info->flags & LVFI_WRAP) ? n : n - from;
    for (int k = 0; k < steps; ++k) {
        int i = (from + k) % n;
        if (info->flags & LVFI_PARAM) {
            if (items_[i].Param == info->lParam)
                return i;
            continue;
        }
        if (!(info->flags & (LVFI_STRING | LVFI_PARTIAL)) || !info->psz)
            continue;
        char buffer[260];
        std::string_view text = CellText(i, 0, buffer, sizeof buffer);
        if ((info->flags & LVFI_PARTIAL) ? StartsWithNoCase(text, info->psz) : CompareTextNoCase(text, info->psz) == 0)
            return i;
    }
    return -1;
}

LRESULT ListView::SortItems(LPARAM sortParam, PFNLVCOMPARE compare)
{
    if (!compare || OwnerData())
        return FALSE;
    EndEdit(false);
    std::stable_sort(items_.begin(), items_.end(), [&](const ListViewItem& a, const ListViewItem& b) {
        return compare(a.Param, b.Param, sortParam) < 0;
    });
    // Focus and the selection travel with their items; the mark follows the focus.
    focus_ = -1;
    for (int i = 0; i < Count(); ++i)
        if (items_[i].State & LVIS_FOCUSED)
            focus_ = i;
    mark_ = focus_;
    Changed();
    return TRUE;
}

// --- Columns ----------------------------------------------------------------------------------------------------

LRESULT ListView::InsertColumn(int index, const LVCOLUMN* column)
{
    if (!column || index < 0)
        return -1;
    index = std::min(index, static_cast<int>(columns_.size()));
    ListViewColumn added;
    added.SubItem = index;
    if (column->mask & LVCF_FMT)
        added.Format = column->fmt;
    if (column->mask & LVCF_WIDTH)
        added.Width = std::max(0, column->cx);
    if ((column->mask & LVCF_TEXT) && column->pszText)
        added.Text = column->pszText;
    if (column->mask & LVCF_SUBITEM)
        added.SubItem = column->iSubItem;
    if (column->mask & LVCF_IMAGE)
        added.Image = column->iImage;
    columns_.insert(columns_.begin() + index, added);
    if (header_) {
        HDITEM h {};
        h.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        h.cxy = added.Width;
        h.pszText = added.Text.data();
        h.fmt = (added.Format & LVCFMT_JUSTIFYMASK) | HDF_STRING | ((added.Format & LVCFMT_IMAGE) ? HDF_IMAGE : 0);
        h.iImage = added.Image;
        if (column->mask & LVCF_ORDER) {
            h.mask |= HDI_ORDER;
            h.iOrder = column->iOrder;
        }
        syncing_ = true;
        SendMessage(header_, HDM_INSERTITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&h));
        syncing_ = false;
    }
    Changed();
    return index;
}

LRESULT ListView::DeleteColumn(int index)
{
    if (index < 0 || index >= static_cast<int>(columns_.size()))
        return FALSE;
    columns_.erase(columns_.begin() + index);
    if (header_) {
        syncing_ = true;
        SendMessage(header_, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
        syncing_ = false;
    }
    Changed();
    return TRUE;
}

LRESULT ListView::GetColumn(int index, LVCOLUMN* column) const
{
    if (!column || index < 0 || index >= static_cast<int>(columns_.size()))
        return FALSE;
    const ListViewColumn& c = columns_[index];
    if (column->mask & LVCF_FMT)
        column->fmt = c.Format;
    if (column->mask & LVCF_WIDTH)
        column->cx = c.Width;
    if (column->mask & LVCF_TEXT)
        CopyText(c.Text, column->pszText, column->cchTextMax);
    if (column->mask & LVCF_SUBITEM)
        column->iSubItem = c.SubItem;
    if (column->mask & LVCF_IMAGE)
        column->iImage = c.Image;
    if (column->mask & LVCF_ORDER) {
        std::vector<int> order = ColumnOrder();
        column->iOrder = static_cast<int>(std::find(order.begin(), order.end(), index) - order.begin());
    }
    return TRUE;
}

LRESULT ListView::SetColumn(int index, const LVCOLUMN* column)
{
    if (!column || index < 0 || index >= static_cast<int>(columns_.size()))
        return FALSE;
    ListViewColumn& c = columns_[index];
    HDITEM h {};
    if (column->mask & LVCF_FMT) {
        c.Format = column->fmt;
        h.mask |= HDI_FORMAT;
        h.fmt = (c.Format & LVCFMT_JUSTIFYMASK) | HDF_STRING | ((c.Format & LVCFMT_IMAGE) ? HDF_IMAGE : 0);
    }
    if (column->mask & LVCF_WIDTH) {
        c.Width = std::max(0, column->cx);
        h.mask |= HDI_WIDTH;
        h.cxy = c.Width;
    }
    if ((column->mask & LVCF_TEXT) && column->pszText) {
        c.Text = column->pszText;
        h.mask |= HDI_TEXT;
        h.pszText = c.Text.data();
    }
    if (column->mask & LVCF_SUBITEM)
        c.SubItem = column->iSubItem;
    if (column->mask & LVCF_IMAGE) {
        c.Image = column->iImage;
        h.mask |= HDI_IMAGE;
        h.iImage = c.Image;
    }
    if (column->mask & LVCF_ORDER) {
        h.mask |= HDI_ORDER;
        h.iOrder = column->iOrder;
    }
    if (header_ && h.mask) {
        syncing_ = true;
        SendMessage(header_, HDM_SETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&h));
        syncing_ = false;
    }
    Changed();
    return TRUE;
}

LRESULT ListView::SetColumnWidth(int index, int width)
{
    if (ViewType() == LVS_LIST) {
        if (index != 0 || width <= 0)
            return FALSE;
        listColumnWidth_ = width;
        Changed();
        return TRUE;
    }
    if (!Report() || index < 0 || index >= static_cast<int>(columns_.size()))
        return FALSE;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
        // The widest text of the column (and of its caption with USEHEADER), owner data measuring what it shows.
        HDC dc = GetDC(hwnd_);
        SelectObject(dc, font_);
        auto measure = [dc](std::string_view text) {
            SIZE size {};
            GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &size);
            return static_cast<int>(size.cx);
        };
        int widest = width == LVSCW_AUTOSIZE_USEHEADER ? measure(columns_[index].Text) + 12 : 0;
        int first = 0, last = Count() - 1;
        if (OwnerData())
            VisibleRange(&first, &last);
        char buffer[260];
        for (int i = first; i <= last; ++i)
            widest = std::max(widest, measure(CellText(i, columns_[index].SubItem, buffer, sizeof buffer)) + 12);
        ReleaseDC(hwnd_, dc);
        width = widest;
    }
    LVCOLUMN c {};
    c.mask = LVCF_WIDTH;
    c.cx = width;
    return SetColumn(index, &c);
}

void ListView::SyncColumnsFromHeader()
{
    if (!header_ || syncing_)
        return;
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
        HDITEM h {};
        h.mask = HDI_WIDTH;
        if (SendMessage(header_, HDM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&h)))
            columns_[i].Width = h.cxy;
    }
    Changed();
}

std::vector<int> ListView::ColumnOrder() const
{
    std::vector<int> order(columns_.size());
    for (int i = 0; i < static_cast<int>(order.size()); ++i)
        order[i] = i;
    if (header_ && !order.empty())
        SendMessage(header_, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

// --- Geometry ---------------------------------------------------------------------------------------------------

int ListView::HeaderHeight() const
{
    if (!header_ || !Report() || (style_ & LVS_NOCOLUMNHEADER))
        return 0;
    RECT r;
    GetWindowRect(header_, &r);
    return r.bottom - r.top;
}

int ListView::TotalColumnWidth() const
{
    int total = 0;
    for (const ListViewColumn& c : columns_)
        total += c.Width;
    return total;
}

SIZE ListView::IconCell() const
{
    if (ViewType() == LVS_SMALLICON)
        return {listColumnWidth_, rowHeight_};
    SIZE image = normalImages_ ? normalImages_->ImageSize() : SIZE {32, 32};
    return {std::max<LONG>(kIconCellWidth, image.cx + 2 * kIconGap), image.cy + 2 * fontHeight_ + 3 * kIconGap};
}

int ListView::ItemsPerRow() const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    return std::max(1, static_cast<int>(client.right) / std::max<int>(1, IconCell().cx));
}

int ListView::CountPerPage() const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (Report())
        return std::max(0, static_cast<int>(client.bottom) - HeaderHeight()) / rowHeight_;
    if (ViewType() == LVS_LIST)
        return view_.FullyVisibleCount();
    return Count();
}

void ListView::Layout()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    // Row height: the font's, or the small images' when taller.
    int imageHeight = smallImages_ ? static_cast<int>(smallImages_->ImageSize().cy) : 0;
    rowHeight_ = std::max(fontHeight_ + 2, imageHeight + 1);
    if (listColumnWidth_ <= 0)
        listColumnWidth_ = std::max(64, fontHeight_ * 9);
    if (header_) {
        bool show = Report() && !(style_ & LVS_NOCOLUMNHEADER);
        if (show) {
            RECT area {-scrollX_, 0, std::max<LONG>(client.right, TotalColumnWidth()), client.bottom};
            WINDOWPOS pos {};
            HDLAYOUT layout {&area, &pos};
            SendMessage(header_, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
            SetWindowPos(header_, nullptr, pos.x, pos.y, pos.cx + scrollX_, pos.cy,
                SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        } else {
            ShowWindow(header_, SW_HIDE);
        }
    }
    view_.SetOutsideCount(Report() || ViewType() == LVS_LIST ? Count() : 0);
    view_.SetItemHeight(rowHeight_);
    view_.SetColumnWidth(ViewType() == LVS_LIST ? listColumnWidth_ : 0);
    view_.SetClient(client.right, std::max(0, static_cast<int>(client.bottom) - HeaderHeight()));
    view_.SetTop(view_.Top());
    if (Report())
        scrollX_ = std::clamp(scrollX_, 0, std::max(0, TotalColumnWidth() - static_cast<int>(client.right)));
    else if (IconView()) {
        int rows = (Count() + ItemsPerRow() - 1) / ItemsPerRow();
        scrollY_ = std::clamp(scrollY_, 0, std::max(0, rows * static_cast<int>(IconCell().cy) - static_cast<int>(client.bottom)));
        scrollX_ = 0;
    } else {
        scrollX_ = 0;
    }
}

void ListView::UpdateScrollInfo()
{
    // Showing or hiding a bar resizes the client, which comes back here through WM_SIZE.
    if (publishing_ || (style_ & LVS_NOSCROLL))
        return;
    publishing_ = true;
    RECT client;
    GetClientRect(hwnd_, &client);
    SCROLLINFO v {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    SCROLLINFO h = v;
    if (Report()) {
        // Rows are the vertical steps, pixels the horizontal ones.
        v.nMax = std::max(0, Count() - 1);
        v.nPage = static_cast<UINT>(CountPerPage());
        v.nPos = view_.Top();
        h.nMax = std::max(0, TotalColumnWidth() - 1);
        h.nPage = static_cast<UINT>(client.right);
        h.nPos = scrollX_;
    } else if (ViewType() == LVS_LIST) {
        int rows = view_.RowsPerColumn();
        h.nMax = std::max(0, (Count() + rows - 1) / rows - 1);
        h.nPage = static_cast<UINT>(std::max(1, static_cast<int>(client.right) / std::max(1, listColumnWidth_)));
        h.nPos = view_.Top() / rows;
    } else {
        int rows = (Count() + ItemsPerRow() - 1) / ItemsPerRow();
        v.nMax = std::max(0, rows * static_cast<int>(IconCell().cy) - 1);
        v.nPage = static_cast<UINT>(client.bottom);
        v.nPos = scrollY_;
    }
    SetScrollInfo(hwnd_, SB_VERT, &v, TRUE);
    SetScrollInfo(hwnd_, SB_HORZ, &h, TRUE);
    publishing_ = false;
}

RECT ListView::ItemBounds(int index) const
{
    if (IconView()) {
        SIZE cell = IconCell();
        int perRow = ItemsPerRow();
        LONG x = (index % perRow) * cell.cx - scrollX_, y = (index / perRow) * cell.cy - scrollY_;
        return {x, y, x + cell.cx, y + cell.cy};
    }
    RECT r {};
    view_.ItemRect(index, &r);
    if (Report()) {
        OffsetRect(&r, 0, HeaderHeight());
        r.left = -scrollX_;
        r.right = r.left + TotalColumnWidth();
    }
    return r;
}

RECT ListView::ItemPart(int index, int code) const
{
    RECT bounds = ItemBounds(index);
    if (ViewType() == LVS_ICON) {
        SIZE image = normalImages_ ? normalImages_->ImageSize() : SIZE {32, 32};
        LONG cx = (bounds.left + bounds.right) / 2;
        RECT icon {cx - image.cx / 2, bounds.top + kIconGap, cx + image.cx / 2 + image.cx % 2, bounds.top + kIconGap + image.cy};
        RECT label {bounds.left + 1, icon.bottom + kIconGap, bounds.right - 1, bounds.bottom - kIconGap};
        if (code == LVIR_ICON)
            return icon;
        if (code == LVIR_LABEL)
            return label;
        return bounds;
    }
    // Small icons, list and report: the image (when there are small images) then the label, in the first column.
    RECT first = bounds;
    if (Report()) {
        first.left = bounds.left;
        std::vector<int> order = ColumnOrder();
        for (int col : order) {
            if (col == 0)
                break;
            first.left += columns_[col].Width;
        }
        first.right = first.left + (columns_.empty() ? 0 : columns_[0].Width);
    }
    int indent = (!OwnerData() && Report()) ? items_[index].Indent * 16 : 0;
    int imageWidth = smallImages_ ? static_cast<int>(smallImages_->ImageSize().cx) : 0;
    RECT icon {first.left + 2 + indent, bounds.top, first.left + 2 + indent + imageWidth, bounds.bottom};
    RECT label {icon.right, bounds.top, std::max(icon.right, first.right), bounds.bottom};
    switch (code) {
    case LVIR_ICON:
        return icon;
    case LVIR_LABEL:
        return label;
    case LVIR_SELECTBOUNDS:
        if (Report() && (exStyle_ & LVS_EX_FULLROWSELECT))
            return bounds;
        return {icon.left, bounds.top, label.right, bounds.bottom};
    default:
        return bounds;
    }
}

RECT ListView::SubItemRect(int index, int column, int code) const
{
    RECT bounds = ItemBounds(index);
    if (!Report() || column < 0 || column >= static_cast<int>(columns_.size()))
        return bounds;
    if (column == 0 && code == LVIR_BOUNDS)
        return bounds; // the whole row stands for sub-item 0
    LONG left = bounds.left;
    for (int col : ColumnOrder()) {
        if (col == column)
            break;
        left += columns_[col].Width;
    }
    RECT cell {left, bounds.top, left + columns_[column].Width, bounds.bottom};
    if (column == 0 && code != LVIR_BOUNDS)
        return ItemPart(index, code);
    return cell;
}

void ListView::VisibleRange(int* first, int* last) const
{
    *first = 0;
    *last = -1;
    if (Count() == 0)
        return;
    if (IconView()) {
        RECT client;
        GetClientRect(hwnd_, &client);
        SIZE cell = IconCell();
        int perRow = ItemsPerRow();
        *first = std::min(Count() - 1, scrollY_ / std::max<int>(1, cell.cy) * perRow);
        *last = std::min(Count() - 1, (scrollY_ + static_cast<int>(client.bottom) - 1) / std::max<int>(1, cell.cy) * perRow + perRow - 1);
        return;
    }
    *first = view_.Top();
    *last = view_.LastVisible();
}

LVHITTESTINFO ListView::HitTest(POINT point) const
{
    LVHITTESTINFO info {point, 0, -1, 0};
    RECT client;
    GetClientRect(hwnd_, &client);
    if (point.y < HeaderHeight())
        info.flags |= LVHT_ABOVE;
    if (point.y >= client.bottom)
        info.flags |= LVHT_BELOW;
    if (point.x < 0)
        info.flags |= LVHT_TOLEFT;
    if (point.x >= client.right)
        info.flags |= LVHT_TORIGHT;
    if (info.flags)
        return info;
    int first, last;
    VisibleRange(&first, &last);
    for (int i = first; i <= last; ++i) {
        RECT bounds = ItemBounds(i);
        if (!PtInRect(&bounds, point))
            continue;
        RECT icon = ItemPart(i, LVIR_ICON), label = ItemPart(i, LVIR_LABEL);
        if (PtInRect(&icon, point))
            info.flags = LVHT_ONITEMICON;
        else if (PtInRect(&label, point) || (Report() && (exStyle_ & LVS_EX_FULLROWSELECT)))
            info.flags = LVHT_ONITEMLABEL;
        if (!info.flags)
            break;
        info.iItem = i;
        if (Report()) {
            LONG left = bounds.left;
            for (int col : ColumnOrder()) {
                if (point.x >= left && point.x < left + columns_[col].Width)
                    info.iSubItem = col;
                left += columns_[col].Width;
            }
        }
        return info;
    }
    info.flags = LVHT_NOWHERE;
    return info;
}

void ListView::SetTopRow(int top)
{
    if (view_.SetTop(top))
        Changed();
}

void ListView::ScrollBy(int dx, int dy)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (Report()) {
        // Whole rows: the pixels are rounded to the nearest row.
        if (dy)
            SetTopRow(view_.Top() + (dy + (dy > 0 ? rowHeight_ / 2 : -rowHeight_ / 2)) / rowHeight_);
        int x = std::clamp(scrollX_ + dx, 0, std::max(0, TotalColumnWidth() - static_cast<int>(client.right)));
        if (x != scrollX_) {
            scrollX_ = x;
            Layout();
            Changed();
        }
    } else if (ViewType() == LVS_LIST) {
        int columns = (dx + (dx > 0 ? listColumnWidth_ / 2 : -listColumnWidth_ / 2)) / std::max(1, listColumnWidth_);
        SetTopRow(view_.Top() + columns * view_.RowsPerColumn());
    } else {
        int before = scrollY_;
        scrollY_ += dy;
        Layout();
        if (scrollY_ != before)
            Changed();
    }
}

bool ListView::EnsureVisible(int index)
{
    if (!Valid(index))
        return false;
    if (!IconView()) {
        if (view_.EnsureVisible(index)) {
            Changed();
            return true;
        }
        return false;
    }
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT r = ItemBounds(index);
    int dy = r.top < 0 ? r.top : (r.bottom > client.bottom ? std::min(r.top, r.bottom - client.bottom) : 0);
    if (dy)
        ScrollBy(0, dy);
    return dy != 0;
}

void ListView::OnScroll(bool vertical, WORD request)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    SCROLLINFO info {sizeof(SCROLLINFO), SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd_, vertical ? SB_VERT : SB_HORZ, &info);
    if (vertical && Report()) {
        int page = std::max(1, CountPerPage());
        int top = view_.Top();
        switch (request) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= page; break;
        case SB_PAGEDOWN: top += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = info.nTrackPos; break; // the bar's whole position, not the message's 16 bits
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = Count(); break;
        default: return;
        }
        SetTopRow(top);
        return;
    }
    if (!vertical && ViewType() == LVS_LIST) {
        int rows = view_.RowsPerColumn();
        int page = std::max(1, static_cast<int>(client.right) / std::max(1, listColumnWidth_));
        int column = view_.Top() / rows;
        switch (request) {
        case SB_LINELEFT: --column; break;
        case SB_LINERIGHT: ++column; break;
        case SB_PAGELEFT: column -= page; break;
        case SB_PAGERIGHT: column += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: column = info.nTrackPos; break;
        case SB_LEFT: column = 0; break;
        case SB_RIGHT: column = Count(); break;
        default: return;
        }
        SetTopRow(std::max(0, column) * rows);
        return;
    }
    // Pixels: the report view sideways, icon views up and down.
    int pos = vertical ? scrollY_ : scrollX_;
    int line = vertical ? static_cast<int>(IconCell().cy) / 2 : 16;
    int page = vertical ? static_cast<int>(client.bottom) : static_cast<int>(client.right);
    int target = pos;
    switch (request) {
    case SB_LINEUP: target -= line; break;
    case SB_LINEDOWN: target += line; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = info.nTrackPos; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = 0x3FFFFFFF; break;
    default: return;
    }
    if (vertical && IconView())
        ScrollBy(0, target - pos);
    else if (!vertical && Report())
        ScrollBy(target - pos, 0);
}

void ListView::InvalidateItem(int index)
{
    if (!redraw_ || !Valid(index))
        return;
    RECT r = ItemBounds(index);
    RECT client;
    GetClientRect(hwnd_, &client);
    r.left = 0;
    r.right = std::max(r.right, client.right);
    InvalidateRect(hwnd_, &r, FALSE);
}

void ListView::Changed()
{
    if (!redraw_)
        return;
    Layout();
    UpdateScrollInfo();
    // The rows below the column header. The header is a window of its own that repaints itself when its
    // sections, font or place change; painting the view under it would only make it paint again on every scroll.
    RECT rows;
    GetClientRect(hwnd_, &rows);
    rows.top = std::min(rows.bottom, static_cast<LONG>(HeaderHeight()));
    InvalidateRect(hwnd_, &rows, FALSE);
}

// --- Messages ---------------------------------------------------------------------------------------------------

LRESULT ListView::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<int32_t>(wParam));
    switch (message) {
    case WM_CREATE:
        RegisterHeaderClass();
        header_ = CreateWindowEx(0, WC_HEADER, "", WS_CHILD | HDS_HORZ | HDS_BUTTONS | HDS_FULLDRAG, 0, 0, 0, 0,
            hwnd_, reinterpret_cast<HMENU>(static_cast<uintptr_t>(kHeaderId)), nullptr, nullptr);
        SendMessage(header_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), 0);
        Changed();
        return 0;
    case WM_SIZE:
        Changed();
        return 0;
    case WM_SETFONT: {
        font_ = wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, font_);
        TEXTMETRIC tm {};
        GetTextMetrics(dc, &tm);
        DeleteDC(dc);
        fontHeight_ = std::max<int>(1, tm.tmHeight);
        if (header_)
            SendMessage(header_, WM_SETFONT, wParam, 0);
        Changed();
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETREDRAW:
        redraw_ = wParam != 0;
        Changed();
        return 0;
    case WM_STYLECHANGED: {
        DWORD old = style_;
        style_ = static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE));
        if ((old & LVS_TYPEMASK) != (style_ & LVS_TYPEMASK)) {
            scrollX_ = scrollY_ = 0;
            view_.SetTop(0);
        }
        if ((old & LVS_OWNERDATA) != (style_ & LVS_OWNERDATA))
            DeleteAllItems();
        Changed();
        return 0;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (wParam) {
            RECT client;
            GetClientRect(hwnd_, &client);
            Paint(reinterpret_cast<HDC>(wParam), client);
        } else {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            Paint(dc, paint.rcPaint);
            EndPaint(hwnd_, &paint);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS: {
        focused_ = true;
        Changed();
        NMHDR header {};
        Notify(NM_SETFOCUS, &header);
        return 0;
    }
    case WM_KILLFOCUS: {
        focused_ = false;
        Changed();
        NMHDR header {};
        Notify(NM_KILLFOCUS, &header);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(MAKEPOINT(lParam), wParam, message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_RBUTTONDOWN:
        RightButtonDown(MAKEPOINT(lParam));
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(MAKEPOINT(lParam));
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(MAKEPOINT(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_)
            pressed_ = false;
        return 0;
    case WM_TIMER:
        if (wParam == 1) {
            KillTimer(hwnd_, 1);
            if (Valid(focus_))
                EditLabel(focus_);
            return 0;
        }
        return DefWindowProc(hwnd_, message, wParam, lParam);
    case WM_MOUSEWHEEL: {
        int notches = GET_WHEEL_DELTA_WPARAM(wParam) / 120;
        if (Report())
            SetTopRow(view_.Top() - notches * 3);
        else if (ViewType() == LVS_LIST)
            SetTopRow(view_.Top() - notches * view_.RowsPerColumn());
        else
            ScrollBy(0, -notches * static_cast<int>(IconCell().cy));
        return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (editor_.Window())
            EndEdit(true);
        OnScroll(message == WM_VSCROLL, LOWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        KeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        if (wParam > ' ' && wParam != 0x7F)
            TypeAhead(static_cast<char32_t>(wParam));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || header->hwndFrom != header_)
            return 0;
        const auto* nm = reinterpret_cast<const NMHEADER*>(lParam);
        if (header->code == HDN_ITEMCHANGED) {
            SyncColumnsFromHeader();
        } else if (header->code == HDN_ITEMCLICK) {
            if (!(style_ & LVS_NOSORTHEADER))
                NotifyItem(LVN_COLUMNCLICK, -1, nm->iItem);
        } else if (header->code == HDN_BEGINDRAG) {
            return (exStyle_ & LVS_EX_HEADERDRAGDROP) ? 0 : 1;
        } else if (header->code == HDN_BEGINTRACK) {
            if (editor_.Window())
                EndEdit(true);
        }
        return 0;
    }

    case LVM_GETBKCOLOR:
        return backColor_;
    case LVM_SETBKCOLOR:
        backColor_ = static_cast<COLORREF>(lParam);
        Changed();
        return TRUE;
    case LVM_GETTEXTCOLOR:
        return textColor_;
    case LVM_SETTEXTCOLOR:
        textColor_ = static_cast<COLORREF>(lParam);
        Changed();
        return TRUE;
    case LVM_GETTEXTBKCOLOR:
        return textBackColor_;
    case LVM_SETTEXTBKCOLOR:
        textBackColor_ = static_cast<COLORREF>(lParam);
        Changed();
        return TRUE;
    case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(index == LVSIL_NORMAL ? normalImages_
                : index == LVSIL_SMALL                         ? smallImages_
                                                               : stateImages_);
    case LVM_SETIMAGELIST: {
        HIMAGELIST* slot = index == LVSIL_NORMAL ? &normalImages_ : index == LVSIL_SMALL ? &smallImages_ : &stateImages_;
        HIMAGELIST old = *slot;
        *slot = reinterpret_cast<HIMAGELIST>(lParam);
        if (index == LVSIL_SMALL && header_)
            SendMessage(header_, HDM_SETIMAGELIST, 0, lParam);
        Changed();
        return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETITEMCOUNT:
        return Count();
    case LVM_GETITEM:
        return GetItem(reinterpret_cast<LVITEM*>(lParam));
    case LVM_SETITEM:
        return SetItem(reinterpret_cast<const LVITEM*>(lParam));
    case LVM_INSERTITEM:
        return InsertItem(reinterpret_cast<const LVITEM*>(lParam));
    case LVM_DELETEITEM:
        return DeleteItem(index);
    case LVM_DELETEALLITEMS:
        return DeleteAllItems();
    case LVM_SETITEMCOUNT:
        return SetItemCount(index);
    case LVM_GETNEXTITEM:
        return GetNextItem(index, static_cast<UINT>(lParam));
    case LVM_FINDITEM:
        return FindItem(index, reinterpret_cast<const LVFINDINFO*>(lParam));
    case LVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || !Valid(index))
            return FALSE;
        *r = ItemPart(index, r->left);
        return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || !Valid(index) || (Report() && (r->top < 0 || r->top >= static_cast<LONG>(columns_.size()))))
            return FALSE;
        *r = SubItemRect(index, r->top, r->left);
        return TRUE;
    }
    case LVM_GETSTRINGWIDTH: {
        const char* text = reinterpret_cast<const char*>(lParam);
        if (!text)
            return 0;
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, font_);
        SIZE size {};
        GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &size);
        DeleteDC(dc);
        return size.cx;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        LVHITTESTINFO hit = HitTest(info->pt);
        info->flags = hit.flags;
        info->iItem = hit.iItem;
        if (message == LVM_SUBITEMHITTEST)
            info->iSubItem = hit.iSubItem;
        return hit.iItem;
    }
    case LVM_ENSUREVISIBLE:
        if (!Valid(index))
            return FALSE;
        EnsureVisible(index);
        return TRUE;
    case LVM_SCROLL:
        if (editor_.Window())
            EndEdit(true);
        ScrollBy(index, static_cast<int>(lParam));
        return TRUE;
    case LVM_REDRAWITEMS:
        for (int i = std::max(0, index); i <= std::min(static_cast<int>(lParam), Count() - 1); ++i)
            InvalidateItem(i);
        return TRUE;
    case LVM_UPDATE:
        InvalidateItem(index);
        return TRUE;
    case LVM_EDITLABEL:
        if (!(style_ & LVS_EDITLABELS))
            return 0; // read-only labels
        if (index < 0) {
            EndEdit(false);
            return 0;
        }
        return reinterpret_cast<LRESULT>(EditLabel(index));
    case LVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(editor_.Window());
    case LVM_GETCOLUMN:
        return GetColumn(index, reinterpret_cast<LVCOLUMN*>(lParam));
    case LVM_SETCOLUMN:
        return SetColumn(index, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_INSERTCOLUMN:
        return InsertColumn(index, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_DELETECOLUMN:
        return DeleteColumn(index);
    case LVM_GETCOLUMNWIDTH:
        if (ViewType() == LVS_LIST)
            return listColumnWidth_;
        return index >= 0 && index < static_cast<int>(columns_.size()) ? columns_[index].Width : 0;
    case LVM_SETCOLUMNWIDTH:
        return SetColumnWidth(index, static_cast<int16_t>(LOWORD(lParam)));
    case LVM_GETHEADER:
        return reinterpret_cast<LRESULT>(header_);
    case LVM_GETCOLUMNORDERARRAY: {
        if (!lParam || index != static_cast<int>(columns_.size()))
            return FALSE;
        std::vector<int> order = ColumnOrder();
        std::copy(order.begin(), order.end(), reinterpret_cast<int*>(lParam));
        return TRUE;
    }
    case LVM_SETCOLUMNORDERARRAY: {
        LRESULT done = header_ ? SendMessage(header_, HDM_SETORDERARRAY, wParam, lParam) : FALSE;
        Changed();
        return done;
    }
    case LVM_GETVIEWRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r)
            return FALSE;
        *r = {};
        if (Count() > 0) {
            RECT first = ItemBounds(0), last = ItemBounds(Count() - 1);
            UnionRect(r, &first, &last);
        }
        return TRUE;
    }
    case LVM_GETTOPINDEX:
        return IconView() ? 0 : view_.Top();
    case LVM_GETCOUNTPERPAGE:
        return CountPerPage();
    case LVM_GETORIGIN: {
        auto* p = reinterpret_cast<POINT*>(lParam);
        if (!p || !IconView())
            return FALSE;
        *p = {scrollX_, scrollY_};
        return TRUE;
    }
    case LVM_SETITEMSTATE: {
        const auto* item = reinterpret_cast<const LVITEM*>(lParam);
        if (!item)
            return FALSE;
        if (index == -1) {
            // Every item: owner-data selections change as one range.
            if (OwnerData() && (item->stateMask & LVIS_SELECTED) && !(item->state & LVIS_SELECTED))
                ClearSelection(-1);
            else if (OwnerData() && (item->stateMask & LVIS_SELECTED))
                SelectRange(0, Count() - 1);
            else
                for (int i = 0; i < Count(); ++i)
                    ChangeState(i, item->state, item->stateMask & ~LVIS_FOCUSED);
            return TRUE;
        }
        if (!Valid(index))
            return FALSE;
        return ChangeState(index, item->state, item->stateMask) ? TRUE : FALSE;
    }
    case LVM_GETITEMSTATE:
        return Valid(index) ? StateOf(index) & static_cast<UINT>(lParam) : 0;
    case LVM_GETITEMTEXT: {
        auto* item = reinterpret_cast<LVITEM*>(lParam);
        if (!item || !Valid(index) || !item->pszText || item->cchTextMax <= 0)
            return 0;
        char buffer[260];
        std::string_view text = CellText(index, item->iSubItem, buffer, sizeof buffer);
        CopyText(text, item->pszText, item->cchTextMax);
        return static_cast<LRESULT>(std::strlen(item->pszText));
    }
    case LVM_SETITEMTEXT: {
        const auto* item = reinterpret_cast<const LVITEM*>(lParam);
        if (!item || OwnerData())
            return FALSE;
        LVITEM text = *item;
        text.mask = LVIF_TEXT;
        text.iItem = index;
        return SetItem(&text);
    }
    case LVM_SORTITEMS:
        return SortItems(static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_GETSELECTEDCOUNT: {
        int n = 0;
        for (int i = 0; i < Count(); ++i)
            n += (StateOf(i) & LVIS_SELECTED) ? 1 : 0;
        return n;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return exStyle_;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD old = exStyle_;
        DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFF;
        exStyle_ = (exStyle_ & ~mask) | (static_cast<DWORD>(lParam) & mask);
        Changed();
        return old;
    }
    case LVM_GETSELECTIONMARK:
        return mark_;
    case LVM_SETSELECTIONMARK: {
        int old = mark_;
        mark_ = Valid(static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
        return old;
    }
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

ATOM RegisterListViewClass()
{
    RegisterHeaderClass();
    return RegisterControlClass<ListView>(WC_LISTVIEW, IDC_ARROW);
}
