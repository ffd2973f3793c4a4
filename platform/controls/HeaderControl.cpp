#include "platform/controls/HeaderControl.h"

#include "platform/controls/ControlClass.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

LRESULT SendNotify(HWND hwnd, UINT code, NMHDR* header)
{
    header->hwndFrom = hwnd;
    header->idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(hwnd, GWLP_ID));
    header->code = code;
    HWND parent = GetParent(hwnd);
    return parent ? SendMessage(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header)) : 0;
}

namespace {

// How far either side of a section's right edge the pointer counts as on the divider.
constexpr int kDividerSlop = 4;
// How far the pointer moves with the button down before a section is being dragged to a new place.
constexpr int kDragStart = 5;

struct HeaderItem {
    int Width = 0;
    std::string Text;
    int Format = HDF_LEFT | HDF_STRING;
    LPARAM Param = 0;
    int Image = -1;
};

class Header {
public:
    Header(HWND hwnd, const CREATESTRUCT& create);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    RECT ItemRect(int index) const;
    int Height() const;
    HDHITTESTINFO HitTest(POINT point) const;

    LRESULT Notify(UINT code, int item, HDITEM* values = nullptr, int button = 0);
    LRESULT InsertItem(int index, const HDITEM* item);
    LRESULT DeleteItem(int index);
    LRESULT GetItem(int index, HDITEM* item) const;
    LRESULT SetItem(int index, const HDITEM* item);
    // Changes a width through HDN_ITEMCHANGING (which may refuse it) and HDN_ITEMCHANGED.
    bool ChangeWidth(int index, int width);
    void Layout(HDLAYOUT* layout) const;

    void ButtonDown(POINT point, bool doubleClick);
    void MouseMove(POINT point);
    void ButtonUp(POINT point);
    void EndTracking(bool cancelled);
    void Paint(HDC dc);
    void PaintItem(HDC dc, int index, const RECT& rect, bool pressed);

    HWND hwnd_;
    DWORD style_;
    HFONT font_;
    std::vector<HeaderItem> items_;
    std::vector<int> order_; // order_[position] = item index
    HIMAGELIST images_ = nullptr;

    enum class Mode { None, Pressing, Dragging, Tracking };
    Mode mode_ = Mode::None;
    int active_ = -1;     // the pressed, dragged or tracked item
    int startWidth_ = 0;  // the tracked item's width before the track
    POINT pressedAt_ {};
    int dropPosition_ = -1;
};

Header::Header(HWND hwnd, const CREATESTRUCT& create)
    : hwnd_(hwnd)
    , style_(static_cast<DWORD>(create.style))
    , font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))
{
}

RECT Header::ItemRect(int index) const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    int left = 0;
    for (int item : order_) {
        if (item == index)
            return {left, 0, left + items_[item].Width, client.bottom};
        left += items_[item].Width;
    }
    return {};
}

int Header::Height() const
{
    if (style_ & HDS_HIDDEN)
        return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font_);
    TEXTMETRIC tm {};
    GetTextMetrics(dc, &tm);
    DeleteDC(dc);
    return tm.tmHeight + 6;
}

HDHITTESTINFO Header::HitTest(POINT point) const
{
    HDHITTESTINFO info {point, 0, -1};
    RECT client;
    GetClientRect(hwnd_, &client);
    if (point.y < 0)
        info.flags |= HHT_ABOVE;
    if (point.y >= client.bottom)
        info.flags |= HHT_BELOW;
    if (point.x < 0)
        info.flags |= HHT_TOLEFT;
    if (point.x >= client.right)
        info.flags |= HHT_TORIGHT;
    if (info.flags)
        return info;
    // The divider wins over the section: it lies on the right edge of the section to its left, and a
    // zero-width section behind it can only be reached there.
    int left = 0;
    for (int item : order_) {
        int right = left + items_[item].Width;
        if (std::abs(point.x - right) <= kDividerSlop) {
            info.flags = HHT_ONDIVIDER;
            info.iItem = item;
        }
        left = right;
    }
    if (info.flags)
        return info;
    left = 0;
    for (int item : order_) {
        int right = left + items_[item].Width;
        if (point.x >= left && point.x < right) {
            info.flags = HHT_ONHEADER;
            info.iItem = item;
            return info;
        }
        left = right;
    }
    info.flags = HHT_NOWHERE;
    return info;
}

LRESULT Header::Notify(UINT code, int item, HDITEM* values, int button)
{
    NMHEADER header {};
    header.iItem = item;
    header.iButton = button;
    header.pitem = values;
    return SendNotify(hwnd_, code, &header.hdr);
}

LRESULT Header::InsertItem(int index, const HDITEM* item)
{
    if (!item || index < 0)
        return -1;
    index = std::min(index, Count());
    HeaderItem added;
    if (item->mask & HDI_WIDTH)
        added.Width = std::max(0, item->cxy);
    if ((item->mask & HDI_TEXT) && item->pszText)
        added.Text = item->pszText;
    if (item->mask & HDI_FORMAT)
        added.Format = item->fmt;
    if (item->mask & HDI_LPARAM)
        added.Param = item->lParam;
    if (item->mask & HDI_IMAGE)
        added.Image = item->iImage;
    items_.insert(items_.begin() + index, std::move(added));
    for (int& i : order_)
        if (i >= index)
            ++i;
    // Without an order the new section stands at the position of its index.
    int position = std::clamp((item->mask & HDI_ORDER) ? item->iOrder : index, 0, static_cast<int>(order_.size()));
    order_.insert(order_.begin() + position, index);
    InvalidateRect(hwnd_, nullptr, TRUE);
    return index;
}

LRESULT Header::DeleteItem(int index)
{
    if (!Valid(index))
        return FALSE;
    items_.erase(items_.begin() + index);
    order_.erase(std::find(order_.begin(), order_.end(), index));
    for (int& i : order_)
        if (i > index)
            --i;
    InvalidateRect(hwnd_, nullptr, TRUE);
    return TRUE;
}

LRESULT Header::GetItem(int index, HDITEM* item) const
{
    if (!Valid(index) || !item)
        return FALSE;
    const HeaderItem& h = items_[index];
    if (item->mask & HDI_WIDTH)
        item->cxy = h.Width;
    if ((item->mask & HDI_TEXT) && item->pszText && item->cchTextMax > 0) {
        size_t n = std::min(h.Text.size(), static_cast<size_t>(item->cchTextMax - 1));
        std::memcpy(item->pszText, h.Text.data(), n);
        item->pszText[n] = '\0';
    }
    if (item->mask & HDI_FORMAT)
        item->fmt = h.Format;
    if (item->mask & HDI_LPARAM)
        item->lParam = h.Param;
    if (item->mask & HDI_IMAGE)
        item->iImage = h.Image;
    if (item->mask & HDI_ORDER)
        item->iOrder = static_cast<int>(std::find(order_.begin(), order_.end(), index) - order_.begin());
    return TRUE;
}

LRESULT Header::SetItem(int index, const HDITEM* item)
{
    if (!Valid(index) || !item)
        return FALSE;
    HDITEM proposed = *item;
    if (Notify(HDN_ITEMCHANGING, index, &proposed))
        return FALSE;
    HeaderItem& h = items_[index];
    if (item->mask & HDI_WIDTH)
        h.Width = std::max(0, item->cxy);
    if ((item->mask & HDI_TEXT) && item->pszText)
        h.Text = item->pszText;
    if (item->mask & HDI_FORMAT)
        h.Format = item->fmt;
    if (item->mask & HDI_LPARAM)
        h.Param = item->lParam;
    if (item->mask & HDI_IMAGE)
        h.Image = item->iImage;
    if (item->mask & HDI_ORDER) {
        order_.erase(std::find(order_.begin(), order_.end(), index));
        order_.insert(order_.begin() + std::clamp(item->iOrder, 0, static_cast<int>(order_.size())), index);
    }
    Notify(HDN_ITEMCHANGED, index, &proposed);
    InvalidateRect(hwnd_, nullptr, TRUE);
    return TRUE;
}

bool Header::ChangeWidth(int index, int width)
{
    HDITEM item {};
    item.mask = HDI_WIDTH;
    item.cxy = std::max(0, width);
    return SetItem(index, &item) != FALSE;
}

void Header::Layout(HDLAYOUT* layout) const
{
    if (!layout || !layout->prc || !layout->pwpos)
        return;
    RECT& r = *layout->prc;
    int height = Height();
    *layout->pwpos = {hwnd_, nullptr, static_cast<int>(r.left), static_cast<int>(r.top),
        static_cast<int>(r.right - r.left), height, SWP_NOZORDER | SWP_NOACTIVATE};
    r.top += height;
}

void Header::ButtonDown(POINT point, bool doubleClick)
{
    HDHITTESTINFO hit = HitTest(point);
    if (hit.flags == HHT_ONDIVIDER) {
        if (doubleClick) {
            Notify(HDN_DIVIDERDBLCLICK, hit.iItem);
            return;
        }
        HDITEM values {};
        values.mask = HDI_WIDTH;
        values.cxy = items_[hit.iItem].Width;
        if (Notify(HDN_BEGINTRACK, hit.iItem, &values))
            return; // the parent keeps this column's width
        mode_ = Mode::Tracking;
    } else if (hit.flags == HHT_ONHEADER) {
        if (doubleClick) {
            Notify(HDN_ITEMDBLCLICK, hit.iItem);
            return;
        }
        if (!(style_ & (HDS_BUTTONS | HDS_DRAGDROP)))
            return;
        mode_ = Mode::Pressing;
    } else {
        return;
    }
    active_ = hit.iItem;
    startWidth_ = items_[active_].Width;
    pressedAt_ = point;
    SetCapture(hwnd_);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Header::MouseMove(POINT point)
{
    if (mode_ == Mode::Tracking) {
        RECT r = ItemRect(active_);
        HDITEM values {};
        values.mask = HDI_WIDTH;
        values.cxy = std::max(0, static_cast<int>(point.x - r.left));
        if (Notify(HDN_TRACK, active_, &values))
            return;
        ChangeWidth(active_, values.cxy);
        UpdateWindow(hwnd_);
        return;
    }
    if (mode_ == Mode::Pressing && (style_ & HDS_DRAGDROP)
        && std::abs(point.x - pressedAt_.x) + std::abs(point.y - pressedAt_.y) >= kDragStart) {
        if (Notify(HDN_BEGINDRAG, active_))
            return;
        mode_ = Mode::Dragging;
    }
    if (mode_ == Mode::Dragging) {
        // The drop place is the position of the section under the pointer (the ends beyond the sections).
        HDHITTESTINFO hit = HitTest({point.x, 1});
        int position = hit.iItem >= 0
            ? static_cast<int>(std::find(order_.begin(), order_.end(), hit.iItem) - order_.begin())
            : (point.x < 0 ? 0 : Count() - 1);
        dropPosition_ = position;
    }
}

void Header::ButtonUp(POINT point)
{
    Mode mode = mode_;
    int item = active_;
    if (mode == Mode::None)
        return;
    mode_ = Mode::None;
    active_ = -1;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    InvalidateRect(hwnd_, nullptr, TRUE);
    if (mode == Mode::Tracking) {
        HDITEM values {};
        values.mask = HDI_WIDTH;
        values.cxy = items_[item].Width;
        Notify(HDN_ENDTRACK, item, &values);
    } else if (mode == Mode::Pressing) {
        HDHITTESTINFO hit = HitTest(point);
        if (hit.flags == HHT_ONHEADER && hit.iItem == item)
            Notify(HDN_ITEMCLICK, item);
    } else if (mode == Mode::Dragging && dropPosition_ >= 0) {
        HDITEM values {};
        values.mask = HDI_ORDER;
        values.iOrder = dropPosition_;
        // The parent may refuse the new place by answering non-zero.
        if (!Notify(HDN_ENDDRAG, item, &values)) {
            order_.erase(std::find(order_.begin(), order_.end(), item));
            order_.insert(order_.begin() + std::clamp(dropPosition_, 0, static_cast<int>(order_.size())), item);
            Notify(HDN_ITEMCHANGED, item, &values);
        }
    }
    dropPosition_ = -1;
}

void Header::EndTracking(bool cancelled)
{
    if (mode_ == Mode::Tracking && cancelled)
        ChangeWidth(active_, startWidth_);
    if (mode_ != Mode::None) {
        mode_ = Mode::None;
        active_ = -1;
        dropPosition_ = -1;
        if (GetCapture() == hwnd_)
            ReleaseCapture();
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void Header::PaintItem(HDC dc, int index, const RECT& rect, bool pressed)
{
    const HeaderItem& h = items_[index];
    if (h.Format & HDF_OWNERDRAW) {
        DRAWITEMSTRUCT draw {ODT_HEADER, static_cast<UINT>(GetWindowLongPtr(hwnd_, GWLP_ID)),
            static_cast<UINT>(index), ODA_DRAWENTIRE, pressed ? ODS_SELECTED : 0U, hwnd_, dc, rect,
            static_cast<UINT_PTR>(h.Param)};
        SendMessage(GetParent(hwnd_), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
        return;
    }
    RECT r = rect;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (pressed)
        OffsetRect(&r, 1, 1);
    InflateRect(&r, -4, 0);
    if (images_ && (h.Format & HDF_IMAGE) && h.Image >= 0 && h.Image < images_->ImageCount()) {
        SIZE size = images_->ImageSize();
        images_->DrawImage(dc, r.left, r.top + (r.bottom - r.top - size.cy) / 2, h.Image, false);
        r.left += size.cx + 4;
    }
    UINT align = (h.Format & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT
        : (h.Format & HDF_JUSTIFYMASK) == HDF_CENTER       ? DT_CENTER
                                                           : DT_LEFT;
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawText(dc, h.Text.data(), static_cast<int>(h.Text.size()), &r,
        align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void Header::Paint(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    int right = 0;
    for (int item : order_) {
        RECT r = ItemRect(item);
        right = std::max(right, static_cast<int>(r.right));
        if (r.right > r.left && r.left < client.right)
            PaintItem(dc, item, r, item == active_ && mode_ == Mode::Pressing);
    }
    RECT rest {right, 0, client.right, client.bottom};
    if (rest.right > rest.left) {
        FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT);
    }
}

LRESULT Header::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<int32_t>(wParam));
    switch (message) {
    case WM_SETFONT:
        font_ = wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        if (LOWORD(lParam))
            InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_STYLECHANGED:
        style_ = static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE));
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
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
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(MAKEPOINT(lParam), message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(MAKEPOINT(lParam));
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(MAKEPOINT(lParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            EndTracking(true);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_ && mode_ != Mode::None) {
            mode_ = Mode::None;
            active_ = -1;
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(hwnd_, &p);
            if (mode_ == Mode::Tracking || HitTest(p).flags == HHT_ONDIVIDER) {
                SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
                return TRUE;
            }
        }
        return DefWindowProc(hwnd_, message, wParam, lParam);

    case HDM_GETITEMCOUNT:
        return Count();
    case HDM_INSERTITEM:
        return InsertItem(index, reinterpret_cast<const HDITEM*>(lParam));
    case HDM_DELETEITEM:
        return DeleteItem(index);
    case HDM_GETITEM:
        return GetItem(index, reinterpret_cast<HDITEM*>(lParam));
    case HDM_SETITEM:
        return SetItem(index, reinterpret_cast<const HDITEM*>(lParam));
    case HDM_LAYOUT:
        Layout(reinterpret_cast<HDLAYOUT*>(lParam));
        return TRUE;
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        *info = HitTest(info->pt);
        return info->iItem;
    }
    case HDM_GETITEMRECT:
        if (!Valid(index) || !lParam)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(index);
        return TRUE;
    case HDM_SETIMAGELIST: {
        HIMAGELIST old = images_;
        images_ = reinterpret_cast<HIMAGELIST>(lParam);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(images_);
    case HDM_ORDERTOINDEX:
        return index >= 0 && index < static_cast<int>(order_.size()) ? order_[index] : index;
    case HDM_GETORDERARRAY: {
        if (index != Count() || !lParam)
            return FALSE;
        std::copy(order_.begin(), order_.end(), reinterpret_cast<int*>(lParam));
        return TRUE;
    }
    case HDM_SETORDERARRAY: {
        if (index != Count() || !lParam)
            return FALSE;
        const int* order = reinterpret_cast<const int*>(lParam);
        std::vector<int> next(order, order + index);
        std::vector<int> sorted = next;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < index; ++i)
            if (sorted[i] != i)
                return FALSE; // not a permutation of the items
        order_ = std::move(next);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return TRUE;
    }
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

} // namespace

ATOM RegisterHeaderClass()
{
    return RegisterControlClass<Header>(WC_HEADER, IDC_ARROW);
}
