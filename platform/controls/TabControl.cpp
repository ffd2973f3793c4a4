#include "platform/controls/TabControl.h"

#include "platform/controls/ControlClass.h"
#include "platform/controls/UpDownControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Rects.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kPadX = 6;
constexpr int kPadY = 3;
// The edge around the display area, and how far the selected tab stands out.
constexpr int kBorder = 2;

struct TabItem {
    std::string Text;
    int Image = -1;
    LPARAM Param = 0;
};

class Tabs {
public:
    Tabs(HWND hwnd, const CREATESTRUCT& create);
    ~Tabs() { DeleteDC(measure_); }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    bool Bottom() const { return style_ & TCS_BOTTOM; }
    bool Vertical() const { return style_ & TCS_VERTICAL; }
    // A column of tabs always wraps into more columns: it never scrolls.
    bool MultiLine() const { return (style_ & TCS_MULTILINE) || Vertical(); }
    // The client rectangle the layout works in: a column of tabs is laid out as a row in the transposed client.
    RECT LayoutClient() const;
    int TabHeight() const;
    int TabWidth(int index) const;
    // Lays the tabs out: their rectangles, rows and whether the scroll arrows show.
    void Layout();
    RECT ArrowRect(int which) const; // 0 left, 1 right
    // Makes, places or removes the up-down child that scrolls a single row.
    void UpdateArrows();
    void ScrollTo(int first);
    RECT DisplayRect() const;
    int HitTest(POINT point, UINT* flags) const;
    // Changes the selection as a user does: TCN_SELCHANGING may refuse it.
    bool SelectByUser(int index);
    void Paint(HDC dc);

    HWND hwnd_;
    DWORD style_;
    HFONT font_;
    HDC measure_;
    std::vector<TabItem> items_;
    std::vector<RECT> rects_;
    int rows_ = 1;
    int current_ = -1;
    int first_ = 0; // first tab shown on a single scrolled row
    bool arrows_ = false;
    HWND updown_ = nullptr;
    // The program destroyed the arrows while the row overflowed: they stay away until it fits again.
    bool arrowsTakenAway_ = false;
    SIZE fixed_ {0, 0};
    HIMAGELIST images_ = nullptr;
    bool focused_ = false;
};

Tabs::Tabs(HWND hwnd, const CREATESTRUCT& create)
    : hwnd_(hwnd)
    , style_(static_cast<DWORD>(create.style))
    , font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))
    , measure_(CreateCompatibleDC(nullptr))
{
    SelectObject(measure_, font_);
}

int Tabs::TabHeight() const
{
    if (fixed_.cy > 0)
        return fixed_.cy;
    TEXTMETRIC tm {};
    GetTextMetrics(measure_, &tm);
    int image = images_ ? static_cast<int>(images_->ImageSize().cy) : 0;
    return std::max<int>(tm.tmHeight, image) + 2 * kPadY + 1;
}

int Tabs::TabWidth(int index) const
{
    if ((style_ & TCS_FIXEDWIDTH) && fixed_.cx > 0)
        return fixed_.cx;
    SIZE size {};
    const std::string& text = items_[index].Text;
    GetTextExtentPoint32(measure_, text.data(), static_cast<int>(text.size()), &size);
    int image = images_ && items_[index].Image >= 0 ? static_cast<int>(images_->ImageSize().cx) + kPadX : 0;
    return size.cx + image + 2 * kPadX;
}

RECT Tabs::LayoutClient() const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (Vertical())
        return { client.top, client.left, client.bottom, client.right };
    return client;
}

void Tabs::Layout()
{
    RECT client = LayoutClient();
    int height = TabHeight();
    int right = client.right - kBorder;
    rects_.assign(items_.size(), RECT {});
    arrows_ = false;
    if (!MultiLine()) {
        rows_ = 1;
        int total = 0;
        for (int i = 0; i < Count(); ++i)
            total += TabWidth(i);
        arrows_ = total > right - kBorder;
        if (!arrows_)
            first_ = 0;
        first_ = std::clamp(first_, 0, std::max(0, Count() - 1));
        int x = kBorder;
        for (int i = 0; i < Count(); ++i) {
            int w = TabWidth(i);
            int left = i < first_ ? -10000 : x;
            rects_[i] = {left, kBorder, left + w, kBorder + height};
            if (i >= first_)
                x += w;
        }
    } else {
        // Rows from the top; the row with the selected tab then moves next to the display area.
        std::vector<std::vector<int>> rows(1);
        int x = kBorder;
        for (int i = 0; i < Count(); ++i) {
            int w = TabWidth(i);
            if (x + w > right && !rows.back().empty()) {
                rows.emplace_back();
                x = kBorder;
            }
            rows.back().push_back(i);
            x += w;
        }
        rows_ = static_cast<int>(rows.size());
        int selectedRow = 0;
        for (int r = 0; r < rows_; ++r)
            if (std::find(rows[r].begin(), rows[r].end(), current_) != rows[r].end())
                selectedRow = r;
        std::rotate(rows.begin(), rows.begin() + (selectedRow + 1) % rows_, rows.end());
        for (int r = 0; r < rows_; ++r) {
            int left = kBorder;
            for (int i : rows[r]) {
                int w = TabWidth(i);
                rects_[i] = {left, kBorder + r * height, left + w, kBorder + (r + 1) * height};
                left += w;
            }
            // Full rows are stretched to the width, unless ragged right is asked for.
            if (rows_ > 1 && !(style_ & TCS_RAGGEDRIGHT) && !rows[r].empty()) {
                int spare = right - static_cast<int>(rects_[rows[r].back()].right);
                int n = static_cast<int>(rows[r].size()), shift = 0;
                for (int k = 0; k < n; ++k) {
                    int extra = spare / n + (k < spare % n ? 1 : 0);
                    rects_[rows[r][k]].left += shift;
                    shift += extra;
                    rects_[rows[r][k]].right += shift;
                }
            }
        }
    }
    if (Bottom()) {
        // Mirrored: the rows grow upwards from the bottom edge (a column at the right grows leftwards).
        for (RECT& r : rects_) {
            int top = client.bottom - r.bottom, bottom = client.bottom - r.top;
            r.top = top;
            r.bottom = bottom;
        }
    }
    if (Vertical())
        for (RECT& r : rects_)
            r = { r.top, r.left, r.bottom, r.right };
    UpdateArrows();
}

void Tabs::UpdateArrows()
{
    if (updown_ && !IsWindow(updown_)) {
        updown_ = nullptr;
        arrowsTakenAway_ = arrows_;
    }
    if (!arrows_) {
        arrowsTakenAway_ = false;
        if (updown_)
            DestroyWindow(updown_);
        updown_ = nullptr;
        return;
    }
    if (arrowsTakenAway_)
        return;
    RECT r = ArrowRect(0);
    if (!updown_) {
        RegisterUpDownClass();
        updown_ = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | UDS_HORZ, r.left, r.top,
            2 * (r.right - r.left), r.bottom - r.top, hwnd_, nullptr, nullptr, nullptr);
    } else {
        MoveWindow(updown_, r.left, r.top, 2 * (r.right - r.left), r.bottom - r.top, TRUE);
    }
    if (updown_) {
        SendMessage(updown_, UDM_SETRANGE32, 0, std::max(0, Count() - 1));
        SendMessage(updown_, UDM_SETPOS32, 0, first_);
    }
}

void Tabs::ScrollTo(int first)
{
    if (MultiLine() || !arrows_)
        return;
    first_ = std::clamp(first, 0, std::max(0, Count() - 1));
    Layout();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

RECT Tabs::ArrowRect(int which) const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    int size = TabHeight() - 2;
    int top = Bottom() ? client.bottom - kBorder - size - 1 : kBorder;
    int left = client.right - 2 * size + which * size;
    return {left, top, left + size, top + size};
}

RECT Tabs::DisplayRect() const
{
    RECT client = LayoutClient();
    int tabs = rows_ * TabHeight() + kBorder;
    RECT r = client;
    if (Bottom())
        r.bottom -= tabs;
    else
        r.top += tabs;
    InflateRect(&r, -kBorder, -kBorder);
    if (Vertical())
        r = { r.top, r.left, r.bottom, r.right };
    return r;
}

int Tabs::HitTest(POINT point, UINT* flags) const
{
    *flags = TCHT_NOWHERE;
    if (arrows_ && updown_) {
        RECT left = ArrowRect(0);
        if (point.x >= left.left)
            return -1;
    }
    for (int i = 0; i < Count(); ++i) {
        RECT r = rects_[i];
        if (i == current_)
            InflateRect(&r, kBorder, kBorder); // the selected tab stands out
        if (PtInRect(&r, point)) {
            *flags = TCHT_ONITEMLABEL;
            return i;
        }
    }
    return -1;
}

bool Tabs::SelectByUser(int index)
{
    if (!Valid(index) || index == current_)
        return false;
    NMHDR header {};
    if (SendNotify(hwnd_, TCN_SELCHANGING, &header))
        return false; // the parent keeps the current tab
    current_ = index;
    Layout();
    InvalidateRect(hwnd_, nullptr, TRUE);
    SendNotify(hwnd_, TCN_SELCHANGE, &header);
    return true;
}

void Tabs::Paint(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT display = DisplayRect();
    InflateRect(&display, kBorder, kBorder);
    DrawEdge(dc, &display, EDGE_RAISED, BF_RECT);
    int limit = arrows_ && updown_ ? static_cast<int>(ArrowRect(0).left) : static_cast<int>(client.right);
    for (int pass = 0; pass < 2; ++pass) {
        // The selected tab last, over its neighbours and the display area's edge.
        for (int i = 0; i < Count(); ++i) {
            if ((i == current_) != (pass == 1) || rects_[i].left < 0 || rects_[i].left >= limit)
                continue;
            RECT r = rects_[i];
            if (i == current_)
                InflateRect(&r, kBorder, kBorder);
            r.right = std::min<LONG>(r.right, limit);
            FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
            UINT edges = Vertical() ? (Bottom() ? BF_RIGHT : BF_LEFT) | BF_TOP | BF_BOTTOM
                                    : (Bottom() ? BF_BOTTOM : BF_TOP) | BF_LEFT | BF_RIGHT;
            DrawEdge(dc, &r, EDGE_RAISED, edges);
            if (style_ & TCS_OWNERDRAWFIXED) {
                DRAWITEMSTRUCT draw {ODT_TAB, static_cast<UINT>(GetWindowLongPtr(hwnd_, GWLP_ID)), static_cast<UINT>(i),
                    ODA_DRAWENTIRE, i == current_ ? ODS_SELECTED : 0U, hwnd_, dc, r,
                    static_cast<UINT_PTR>(items_[i].Param)};
                SendMessage(GetParent(hwnd_), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
                continue;
            }
            RECT text = r;
            InflateRect(&text, -kPadX, 0);
            if (images_ && items_[i].Image >= 0 && items_[i].Image < images_->ImageCount()) {
                SIZE size = images_->ImageSize();
                images_->DrawImage(dc, text.left, (r.top + r.bottom - size.cy) / 2, items_[i].Image, false);
                text.left += size.cx + kPadX;
            }
            const std::string& caption = items_[i].Text;
            DrawText(dc, caption.data(), static_cast<int>(caption.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
            if (focused_ && i == current_) {
                RECT focus = r;
                InflateRect(&focus, -3, -3);
                DrawFocusRect(dc, &focus);
            }
        }
    }
}

LRESULT Tabs::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<int32_t>(wParam));
    switch (message) {
    case WM_CREATE:
    case WM_SIZE:
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        font_ = wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        SelectObject(measure_, font_);
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_STYLECHANGED:
        style_ = static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE));
        Layout();
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
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        focused_ = message == WM_SETFOCUS;
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT p = MAKEPOINT(lParam);
        UINT flags;
        int hit = HitTest(p, &flags);
        if (hit >= 0 && !(style_ & TCS_FOCUSNEVER) && GetFocus() != hwnd_)
            SetFocus(hwnd_);
        SelectByUser(hit);
        NMHDR header {};
        SendNotify(hwnd_, NM_CLICK, &header);
        return 0;
    }
    case WM_HSCROLL:
        if (LOWORD(wParam) == SB_THUMBPOSITION)
            ScrollTo(static_cast<int16_t>(HIWORD(wParam)));
        return 0;
    case WM_RBUTTONDOWN: {
        NMHDR header {};
        SendNotify(hwnd_, NM_RCLICK, &header);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_RIGHT) {
            int to = current_ + (wParam == VK_LEFT ? -1 : 1);
            if (SelectByUser(to) && !MultiLine() && arrows_) {
                first_ = std::min(first_, current_);
                Layout();
                while (first_ < current_ && rects_[current_].right > ArrowRect(0).left) {
                    ++first_;
                    Layout();
                }
                InvalidateRect(hwnd_, nullptr, TRUE);
            }
        }
        return 0;

    case TCM_GETITEMCOUNT:
        return Count();
    case TCM_INSERTITEM: {
        const auto* item = reinterpret_cast<const TCITEM*>(lParam);
        if (!item || index < 0)
            return -1;
        int at = std::min(index, Count());
        TabItem added;
        if ((item->mask & TCIF_TEXT) && item->pszText)
            added.Text = item->pszText;
        if (item->mask & TCIF_IMAGE)
            added.Image = item->iImage;
        if (item->mask & TCIF_PARAM)
            added.Param = item->lParam;
        items_.insert(items_.begin() + at, std::move(added));
        if (current_ >= at)
            ++current_;
        if (current_ < 0)
            current_ = 0;
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return at;
    }
    case TCM_DELETEITEM:
        if (!Valid(index))
            return FALSE;
        items_.erase(items_.begin() + index);
        // The selection stays on its tab; deleting the selected tab leaves none selected.
        if (current_ == index)
            current_ = -1;
        else if (current_ > index)
            --current_;
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return TRUE;
    case TCM_DELETEALLITEMS:
        items_.clear();
        current_ = -1;
        first_ = 0;
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return TRUE;
    case TCM_GETITEM: {
        auto* item = reinterpret_cast<TCITEM*>(lParam);
        if (!item || !Valid(index))
            return FALSE;
        if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
            size_t n = std::min(items_[index].Text.size(), static_cast<size_t>(item->cchTextMax - 1));
            std::memcpy(item->pszText, items_[index].Text.data(), n);
            item->pszText[n] = '\0';
        }
        if (item->mask & TCIF_IMAGE)
            item->iImage = items_[index].Image;
        if (item->mask & TCIF_PARAM)
            item->lParam = items_[index].Param;
        return TRUE;
    }
    case TCM_SETITEM: {
        const auto* item = reinterpret_cast<const TCITEM*>(lParam);
        if (!item || !Valid(index))
            return FALSE;
        if ((item->mask & TCIF_TEXT) && item->pszText)
            items_[index].Text = item->pszText;
        if (item->mask & TCIF_IMAGE)
            items_[index].Image = item->iImage;
        if (item->mask & TCIF_PARAM)
            items_[index].Param = item->lParam;
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return TRUE;
    }
    case TCM_GETITEMRECT:
        if (!Valid(index) || !lParam)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = rects_[index];
        return TRUE;
    case TCM_GETCURSEL:
        return current_;
    case TCM_SETCURSEL: {
        // By the program: no notifications.
        int old = current_;
        if (!Valid(index))
            return -1;
        current_ = index;
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return old;
    }
    case TCM_GETCURFOCUS:
        return current_;
    case TCM_SETCURFOCUS:
        SelectByUser(index);
        return 0;
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (!info)
            return -1;
        return HitTest(info->pt, &info->flags);
    }
    case TCM_ADJUSTRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r)
            return 0;
        // From the window's rectangle to the display area's, or back with wParam TRUE.
        RECT client;
        GetClientRect(hwnd_, &client);
        RECT display = DisplayRect();
        int left = display.left, top = display.top;
        int right = client.right - display.right, bottom = client.bottom - display.bottom;
        int sign = wParam ? -1 : 1;
        r->left += sign * left;
        r->top += sign * top;
        r->right -= sign * right;
        r->bottom -= sign * bottom;
        return 0;
    }
    case TCM_SETITEMSIZE: {
        LRESULT old = MAKELRESULT(static_cast<WORD>(fixed_.cx), static_cast<WORD>(fixed_.cy));
        fixed_ = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return old;
    }
    case TCM_GETROWCOUNT:
        return rows_;
    case TCM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(images_);
    case TCM_SETIMAGELIST: {
        HIMAGELIST old = images_;
        images_ = reinterpret_cast<HIMAGELIST>(lParam);
        Layout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

} // namespace

ATOM RegisterTabControlClass()
{
    return RegisterControlClass<Tabs>(WC_TABCONTROL, IDC_ARROW);
}
