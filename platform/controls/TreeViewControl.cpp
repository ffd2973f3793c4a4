#include "platform/controls/TreeViewControl.h"

#include "platform/controls/ControlClass.h"
#include "platform/controls/InPlaceEditor.h"
#include "platform/controls/ItemView.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Rects.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Timers.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

struct TreeItem {
    TreeItem* Parent = nullptr;
    std::vector<std::unique_ptr<TreeItem>> Children;
    std::string Text;
    bool TextCallback = false;
    int Image = 0;
    int SelectedImage = 0;
    // What the item says of its children before it has any: 0 none, 1 some, I_CHILDRENCALLBACK ask.
    int ChildrenFlag = 0;
    LPARAM Param = 0;
    UINT State = 0;
    int Level = 0;
    int Index = 0; // among its siblings
};

namespace {

constexpr int kButtonSize = 9;
constexpr int kDragDistance = 4;
constexpr UINT_PTR kEditTimer = 1;

int IndexIn(const TreeItem* item) { return item->Index; }

void Renumber(TreeItem* parent, size_t from)
{
    for (size_t i = from; i < parent->Children.size(); ++i)
        parent->Children[i]->Index = static_cast<int>(i);
}

TreeItem* Sibling(const TreeItem* item, int step)
{
    if (!item || !item->Parent)
        return nullptr;
    int i = IndexIn(item) + step;
    const auto& siblings = item->Parent->Children;
    return i >= 0 && i < static_cast<int>(siblings.size()) ? siblings[i].get() : nullptr;
}

class Tree {
public:
    Tree(HWND hwnd, const CREATESTRUCT& create);
    ~Tree();
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool Alive(HTREEITEM item) const { return item && alive_.count(item); }
    LRESULT Notify(UINT code, NMHDR* header);
    LRESULT NotifyTree(UINT code, UINT action, TreeItem* oldItem, TreeItem* newItem, POINT at = {});
    static TVITEM Describe(const TreeItem* item);

    HTREEITEM Insert(const TVINSERTSTRUCT* insert);
    bool Delete(HTREEITEM item);
    void Forget(TreeItem* item);
    bool GetItem(TVITEM* item);
    bool SetItem(const TVITEM* item);
    std::string TextOf(TreeItem* item);
    bool HasChildren(TreeItem* item);
    bool Expand(TreeItem* item, UINT action, bool byMessage);
    bool Select(TreeItem* item, UINT cause);
    HTREEITEM NextItem(HTREEITEM item, UINT code);
    bool SortChildren(const TVSORTCB* sort);

    // Layout: the visible items in order, kept until the tree or an expansion changes.
    const std::vector<TreeItem*>& Visible();
    void Dirty();
    int RowOf(TreeItem* item);
    int Indent(const TreeItem* item) const;
    int TextWidth(TreeItem* item);
    RECT RowRect(int row) const;
    RECT LabelRect(TreeItem* item, int row);
    TVHITTESTINFO HitTest(POINT point);
    bool EnsureVisible(TreeItem* item);
    void Changed();
    void UpdateScrollInfo();
    void OnScroll(bool vertical, WORD request);

    void ButtonDown(POINT point, bool doubleClick);
    void KeyDown(UINT key);
    HWND EditLabel(TreeItem* item);
    void EndEdit(bool commit);
    void Paint(HDC dc, const RECT& area);
    void PaintRow(HDC dc, TreeItem* item, int row);

    HWND hwnd_;
    DWORD style_;
    HFONT font_;
    HDC measure_;
    TreeItem root_;
    std::unordered_set<const TreeItem*> alive_;
    std::vector<TreeItem*> visible_;
    bool dirty_ = true;
    ItemView view_;
    int indent_ = 19;
    int itemHeight_ = 16;
    bool fixedHeight_ = false;
    int scrollX_ = 0;
    int widest_ = 0;
    TreeItem* selected_ = nullptr;
    TreeItem* dropHilite_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HIMAGELIST stateImages_ = nullptr;
    bool focused_ = false;
    bool redraw_ = true;
    bool publishing_ = false;
    bool pressed_ = false;
    TreeItem* pressedItem_ = nullptr;
    POINT pressedAt_ {};
    bool editOnRelease_ = false;
    InPlaceEditor editor_;
    TreeItem* editItem_ = nullptr;
};

Tree::Tree(HWND hwnd, const CREATESTRUCT& create)
    : hwnd_(hwnd)
    , style_(static_cast<DWORD>(create.style))
    , font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))
    , measure_(CreateCompatibleDC(nullptr))
{
    root_.Level = -1;
    root_.State = TVIS_EXPANDED;
    SelectObject(measure_, font_);
    view_.SetOutsideCount(0);
}

Tree::~Tree() { DeleteDC(measure_); }

LRESULT Tree::Notify(UINT code, NMHDR* header) { return SendNotify(hwnd_, code, header); }

TVITEM Tree::Describe(const TreeItem* item)
{
    TVITEM out {};
    if (!item)
        return out;
    out.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    out.hItem = const_cast<TreeItem*>(item);
    out.state = item->State;
    out.stateMask = 0xFFFF;
    out.lParam = item->Param;
    return out;
}

LRESULT Tree::NotifyTree(UINT code, UINT action, TreeItem* oldItem, TreeItem* newItem, POINT at)
{
    NMTREEVIEW nm {};
    nm.action = action;
    nm.itemOld = Describe(oldItem);
    nm.itemNew = Describe(newItem);
    nm.ptDrag = at;
    return Notify(code, &nm.hdr);
}

// --- Items ------------------------------------------------------------------------------------------------------

HTREEITEM Tree::Insert(const TVINSERTSTRUCT* insert)
{
    if (!insert)
        return nullptr;
    TreeItem* parent = (!insert->hParent || insert->hParent == TVI_ROOT) ? &root_ : insert->hParent;
    if (parent != &root_ && !Alive(parent))
        return nullptr;
    auto item = std::make_unique<TreeItem>();
    const TVITEM& v = insert->item;
    if (v.mask & TVIF_TEXT) {
        item->TextCallback = v.pszText == reinterpret_cast<char*>(-1);
        if (!item->TextCallback && v.pszText)
            item->Text = v.pszText;
    }
    if (v.mask & TVIF_IMAGE)
        item->Image = v.iImage;
    if (v.mask & TVIF_SELECTEDIMAGE)
        item->SelectedImage = v.iSelectedImage;
    if (v.mask & TVIF_CHILDREN)
        item->ChildrenFlag = v.cChildren;
    if (v.mask & TVIF_PARAM)
        item->Param = v.lParam;
    if (v.mask & TVIF_STATE)
        item->State = v.state & v.stateMask & ~(TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    item->Parent = parent;
    item->Level = parent->Level + 1;
    auto& siblings = parent->Children;
    size_t at = siblings.size();
    if (insert->hInsertAfter == TVI_FIRST) {
        at = 0;
    } else if (insert->hInsertAfter == TVI_SORT) {
        at = 0;
        while (at < siblings.size() && CompareTextNoCase(siblings[at]->Text, item->Text) <= 0)
            ++at;
    } else if (insert->hInsertAfter && insert->hInsertAfter != TVI_LAST && Alive(insert->hInsertAfter)
        && insert->hInsertAfter->Parent == parent) {
        at = static_cast<size_t>(insert->hInsertAfter->Index) + 1;
    }
    TreeItem* added = item.get();
    siblings.insert(siblings.begin() + static_cast<long>(at), std::move(item));
    Renumber(parent, at);
    alive_.insert(added);
    Dirty();
    return added;
}

void Tree::Forget(TreeItem* item)
{
    for (auto& child : item->Children)
        Forget(child.get());
    NotifyTree(TVN_DELETEITEM, 0, item, nullptr);
    alive_.erase(item);
    if (selected_ == item)
        selected_ = nullptr;
    if (dropHilite_ == item)
        dropHilite_ = nullptr;
    if (pressedItem_ == item)
        pressedItem_ = nullptr;
    if (editItem_ == item) {
        editItem_ = nullptr;
        editor_.Close();
    }
}

bool Tree::Delete(HTREEITEM item)
{
    if (!item || item == TVI_ROOT) {
        for (auto& child : root_.Children)
            Forget(child.get());
        root_.Children.clear();
        scrollX_ = 0;
        view_.SetTop(0);
        Dirty();
        return true;
    }
    if (!Alive(item))
        return false;
    Forget(item);
    TreeItem* parent = item->Parent;
    size_t at = static_cast<size_t>(IndexIn(item));
    parent->Children.erase(parent->Children.begin() + static_cast<long>(at));
    Renumber(parent, at);
    Dirty();
    return true;
}

std::string Tree::TextOf(TreeItem* item)
{
    if (!item->TextCallback)
        return item->Text;
    char buffer[260] = {};
    NMTVDISPINFO info {};
    info.item = Describe(item);
    info.item.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_PARAM;
    info.item.pszText = buffer;
    info.item.cchTextMax = sizeof buffer;
    Notify(TVN_GETDISPINFO, &info.hdr);
    return info.item.pszText ? std::string(info.item.pszText) : std::string();
}

bool Tree::HasChildren(TreeItem* item)
{
    if (!item->Children.empty())
        return true;
    if (item->ChildrenFlag != I_CHILDRENCALLBACK)
        return item->ChildrenFlag > 0;
    NMTVDISPINFO info {};
    info.item = Describe(item);
    info.item.mask = TVIF_CHILDREN | TVIF_HANDLE | TVIF_PARAM;
    Notify(TVN_GETDISPINFO, &info.hdr);
    return info.item.cChildren > 0;
}

bool Tree::GetItem(TVITEM* item)
{
    if (!item || !Alive(item->hItem))
        return false;
    TreeItem* it = item->hItem;
    if ((item->mask & TVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        std::string text = TextOf(it);
        size_t n = std::min(text.size(), static_cast<size_t>(item->cchTextMax - 1));
        std::memcpy(item->pszText, text.data(), n);
        item->pszText[n] = '\0';
    }
    if (item->mask & TVIF_IMAGE)
        item->iImage = it->Image;
    if (item->mask & TVIF_SELECTEDIMAGE)
        item->iSelectedImage = it->SelectedImage;
    if (item->mask & TVIF_CHILDREN)
        item->cChildren = it->Children.empty() ? it->ChildrenFlag : 1;
    if (item->mask & TVIF_PARAM)
        item->lParam = it->Param;
    if (item->mask & TVIF_STATE)
        item->state = it->State & item->stateMask;
    return true;
}

bool Tree::SetItem(const TVITEM* item)
{
    if (!item || !Alive(item->hItem))
        return false;
    TreeItem* it = item->hItem;
    if (item->mask & TVIF_TEXT) {
        it->TextCallback = item->pszText == reinterpret_cast<char*>(-1);
        it->Text = !it->TextCallback && item->pszText ? item->pszText : "";
    }
    if (item->mask & TVIF_IMAGE)
        it->Image = item->iImage;
    if (item->mask & TVIF_SELECTEDIMAGE)
        it->SelectedImage = item->iSelectedImage;
    if (item->mask & TVIF_CHILDREN)
        it->ChildrenFlag = item->cChildren;
    if (item->mask & TVIF_PARAM)
        it->Param = item->lParam;
    if (item->mask & TVIF_STATE) {
        // Expansion and selection go through their own paths; other states are kept as given.
        UINT mask = item->stateMask & ~(TVIS_SELECTED | TVIS_EXPANDED);
        it->State = (it->State & ~mask) | (item->state & mask);
        if ((item->stateMask & TVIS_EXPANDED) && ((item->state & TVIS_EXPANDED) != 0) != ((it->State & TVIS_EXPANDED) != 0)) {
            it->State ^= TVIS_EXPANDED;
            Dirty();
        }
        if ((item->stateMask & TVIS_SELECTED) && (item->state & TVIS_SELECTED))
            Select(it, TVC_UNKNOWN);
    }
    Dirty();
    return true;
}

bool Tree::Expand(TreeItem* item, UINT action, bool byMessage)
{
    if (!Alive(item))
        return false;
    bool expanded = item->State & TVIS_EXPANDED;
    UINT what = action & 3;
    if (what == TVE_TOGGLE)
        what = expanded ? TVE_COLLAPSE : TVE_EXPAND;
    if (what == TVE_EXPAND) {
        if (expanded)
            return true;
        // Asked once by message: an item expanded before already has its children.
        bool ask = !byMessage || !(item->State & TVIS_EXPANDEDONCE);
        if (ask && NotifyTree(TVN_ITEMEXPANDING, TVE_EXPAND, nullptr, item))
            return false;
        if (!Alive(item))
            return false;
        if (item->Children.empty()) {
            // Nothing came: the item has no children after all, and loses its button.
            item->ChildrenFlag = 0;
            Changed();
            return false;
        }
        item->State |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
        Dirty();
        if (ask)
            NotifyTree(TVN_ITEMEXPANDED, TVE_EXPAND, nullptr, item);
        return true;
    }
    if (what != TVE_COLLAPSE || !expanded)
        return false;
    if (NotifyTree(TVN_ITEMEXPANDING, action, nullptr, item))
        return false;
    if (!Alive(item))
        return false;
    item->State &= ~TVIS_EXPANDED;
    // The selection inside a collapsed branch moves up to the branch.
    for (TreeItem* p = selected_ ? selected_->Parent : nullptr; p; p = p->Parent)
        if (p == item) {
            Select(item, TVC_UNKNOWN);
            break;
        }
    if (action & TVE_COLLAPSERESET) {
        for (auto& child : item->Children)
            Forget(child.get());
        item->Children.clear();
        item->State &= ~TVIS_EXPANDEDONCE;
    }
    Dirty();
    NotifyTree(TVN_ITEMEXPANDED, action, nullptr, item);
    return true;
}

bool Tree::Select(TreeItem* item, UINT cause)
{
    if (item && !Alive(item))
        return false;
    if (item == selected_) {
        if (item)
            EnsureVisible(item);
        return true;
    }
    if (NotifyTree(TVN_SELCHANGING, cause, selected_, item))
        return false;
    TreeItem* old = selected_;
    if (old && Alive(old))
        old->State &= ~TVIS_SELECTED;
    selected_ = item;
    if (item) {
        item->State |= TVIS_SELECTED;
        EnsureVisible(item);
    }
    Changed();
    NotifyTree(TVN_SELCHANGED, cause, old && Alive(old) ? old : nullptr, item);
    return true;
}

HTREEITEM Tree::NextItem(HTREEITEM item, UINT code)
{
    if (code != TVGN_ROOT && code != TVGN_CARET && code != TVGN_FIRSTVISIBLE && code != TVGN_DROPHILITE
        && code != TVGN_LASTVISIBLE && !Alive(item))
        return nullptr;
    const std::vector<TreeItem*>& rows = Visible();
    switch (code) {
    case TVGN_ROOT: return root_.Children.empty() ? nullptr : root_.Children.front().get();
    case TVGN_NEXT: return Sibling(item, 1);
    case TVGN_PREVIOUS: return Sibling(item, -1);
    case TVGN_PARENT: return item->Parent == &root_ ? nullptr : item->Parent;
    case TVGN_CHILD: return item->Children.empty() ? nullptr : item->Children.front().get();
    case TVGN_CARET: return selected_;
    case TVGN_DROPHILITE: return dropHilite_;
    case TVGN_FIRSTVISIBLE: return view_.Top() < static_cast<int>(rows.size()) ? rows[view_.Top()] : nullptr;
    case TVGN_LASTVISIBLE: return rows.empty() ? nullptr : rows.back();
    case TVGN_NEXTVISIBLE: {
        int row = RowOf(item);
        return row >= 0 && row + 1 < static_cast<int>(rows.size()) ? rows[row + 1] : nullptr;
    }
    case TVGN_PREVIOUSVISIBLE: {
        int row = RowOf(item);
        return row > 0 ? rows[row - 1] : nullptr;
    }
    default: return nullptr;
    }
}

bool Tree::SortChildren(const TVSORTCB* sort)
{
    if (!sort || !sort->lpfnCompare)
        return false;
    TreeItem* parent = (!sort->hParent || sort->hParent == TVI_ROOT) ? &root_ : sort->hParent;
    if (parent != &root_ && !Alive(parent))
        return false;
    std::stable_sort(parent->Children.begin(), parent->Children.end(), [sort](const auto& a, const auto& b) {
        return sort->lpfnCompare(a->Param, b->Param, sort->lParam) < 0;
    });
    Renumber(parent, 0);
    Dirty();
    return true;
}

// --- Layout -----------------------------------------------------------------------------------------------------

void Tree::Dirty()
{
    dirty_ = true;
    Changed();
}

const std::vector<TreeItem*>& Tree::Visible()
{
    if (!dirty_)
        return visible_;
    dirty_ = false;
    visible_.clear();
    widest_ = 0;
    // Depth first through the expanded branches.
    std::vector<TreeItem*> stack;
    for (auto it = root_.Children.rbegin(); it != root_.Children.rend(); ++it)
        stack.push_back(it->get());
    while (!stack.empty()) {
        TreeItem* item = stack.back();
        stack.pop_back();
        visible_.push_back(item);
        if (item->State & TVIS_EXPANDED)
            for (auto it = item->Children.rbegin(); it != item->Children.rend(); ++it)
                stack.push_back(it->get());
    }
    // The widest row decides how far the tree scrolls sideways; measured once per layout.
    int image = images_ ? static_cast<int>(images_->ImageSize().cx) + 3 : 0;
    for (TreeItem* item : visible_)
        widest_ = std::max(widest_, Indent(item) + scrollX_ + image + TextWidth(item) + 4);
    view_.SetOutsideCount(static_cast<int>(visible_.size()));
    view_.SetTop(view_.Top());
    return visible_;
}

int Tree::RowOf(TreeItem* item)
{
    const std::vector<TreeItem*>& rows = Visible();
    auto at = std::find(rows.begin(), rows.end(), item);
    return at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
}

int Tree::Indent(const TreeItem* item) const
{
    bool rootColumn = (style_ & TVS_LINESATROOT) && (style_ & (TVS_HASLINES | TVS_HASBUTTONS));
    return (item->Level + (rootColumn ? 1 : 0)) * indent_ - scrollX_;
}

int Tree::TextWidth(TreeItem* item)
{
    std::string text = TextOf(item);
    SIZE size {};
    GetTextExtentPoint32(measure_, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

RECT Tree::RowRect(int row) const
{
    RECT r {};
    view_.ItemRect(row, &r);
    return r;
}

RECT Tree::LabelRect(TreeItem* item, int row)
{
    RECT r = RowRect(row);
    int left = Indent(item) + (images_ ? static_cast<int>(images_->ImageSize().cx) + 3 : 0);
    return {left, r.top, left + TextWidth(item) + 4, r.bottom};
}

TVHITTESTINFO Tree::HitTest(POINT point)
{
    TVHITTESTINFO info {point, 0, nullptr};
    RECT client;
    GetClientRect(hwnd_, &client);
    if (point.y < 0)
        info.flags |= TVHT_ABOVE;
    if (point.y >= client.bottom)
        info.flags |= TVHT_BELOW;
    if (point.x < 0)
        info.flags |= TVHT_TOLEFT;
    if (point.x >= client.right)
        info.flags |= TVHT_TORIGHT;
    if (info.flags)
        return info;
    const std::vector<TreeItem*>& rows = Visible();
    bool outside = true;
    int row = view_.ItemFromPoint(point, &outside);
    if (outside || row < 0 || row >= static_cast<int>(rows.size())) {
        info.flags = TVHT_NOWHERE;
        return info;
    }
    TreeItem* item = rows[row];
    info.hItem = item;
    int indent = Indent(item);
    RECT label = LabelRect(item, row);
    if (point.x < indent) {
        // The button sits in the middle of the column left of the item.
        int cx = indent - indent_ / 2;
        bool button = (style_ & TVS_HASBUTTONS) && std::abs(point.x - cx) <= kButtonSize / 2 + 1 && HasChildren(item)
            && (item->Level > 0 || (style_ & TVS_LINESATROOT));
        info.flags = button ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    } else if (point.x < label.left) {
        info.flags = TVHT_ONITEMICON;
    } else if (point.x < label.right) {
        info.flags = TVHT_ONITEMLABEL;
    } else {
        info.flags = TVHT_ONITEMRIGHT;
    }
    return info;
}

bool Tree::EnsureVisible(TreeItem* item)
{
    if (!Alive(item))
        return false;
    for (TreeItem* p = item->Parent; p && p != &root_; p = p->Parent)
        if (!(p->State & TVIS_EXPANDED))
            Expand(p, TVE_EXPAND, true);
    int row = RowOf(item);
    if (row >= 0 && view_.EnsureVisible(row))
        Changed();
    return row >= 0;
}

void Tree::Changed()
{
    if (!redraw_)
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    view_.SetItemHeight(itemHeight_);
    view_.SetClient(client.right, client.bottom);
    Visible();
    UpdateScrollInfo();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Tree::UpdateScrollInfo()
{
    if (publishing_ || (style_ & TVS_NOSCROLL))
        return;
    publishing_ = true;
    RECT client;
    GetClientRect(hwnd_, &client);
    const std::vector<TreeItem*>& rows = Visible();
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, widest_ - static_cast<int>(client.right)));
    SCROLLINFO v {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, static_cast<int>(rows.size()) - 1),
        static_cast<UINT>(std::max(0, static_cast<int>(client.bottom) / itemHeight_)), view_.Top(), 0};
    SCROLLINFO h {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, widest_ - 1),
        static_cast<UINT>(client.right), scrollX_, 0};
    SetScrollInfo(hwnd_, SB_VERT, &v, TRUE);
    SetScrollInfo(hwnd_, SB_HORZ, &h, TRUE);
    publishing_ = false;
}

void Tree::OnScroll(bool vertical, WORD request)
{
    SCROLLINFO info {sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd_, vertical ? SB_VERT : SB_HORZ, &info);
    RECT client;
    GetClientRect(hwnd_, &client);
    int pos = vertical ? view_.Top() : scrollX_;
    int line = vertical ? 1 : indent_;
    int page = vertical ? std::max(1, view_.FullyVisibleCount() - 1) : static_cast<int>(client.right);
    switch (request) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break; // the bar's whole position, not the message's 16 bits
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = 0x3FFFFFFF; break;
    default: return;
    }
    if (editor_.Window())
        EndEdit(true);
    if (vertical) {
        if (view_.SetTop(pos))
            Changed();
    } else {
        int x = std::clamp(pos, 0, std::max(0, widest_ - static_cast<int>(client.right)));
        if (x != scrollX_) {
            scrollX_ = x;
            Changed();
        }
    }
}

// --- Mouse, keys, editing ---------------------------------------------------------------------------------------

void Tree::ButtonDown(POINT point, bool doubleClick)
{
    if (editor_.Window())
        EndEdit(true);
    bool wasFocused = GetFocus() == hwnd_;
    if (!wasFocused)
        SetFocus(hwnd_);
    KillTimer(hwnd_, kEditTimer);
    TVHITTESTINFO hit = HitTest(point);
    NMHDR header {};
    if (doubleClick) {
        if (!Notify(NM_DBLCLK, &header) && hit.hItem && (hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)))
            Expand(hit.hItem, TVE_TOGGLE, false);
        return;
    }
    if (hit.flags & TVHT_ONITEMBUTTON) {
        Expand(hit.hItem, TVE_TOGGLE, false);
        return;
    }
    bool onItem = hit.hItem && ((hit.flags & TVHT_ONITEM) || (style_ & TVS_FULLROWSELECT));
    if (!onItem) {
        Notify(NM_CLICK, &header);
        return;
    }
    editOnRelease_ = (style_ & TVS_EDITLABELS) && wasFocused && hit.hItem == selected_ && (hit.flags & TVHT_ONITEMLABEL);
    Select(hit.hItem, TVC_BYMOUSE);
    pressed_ = true;
    pressedItem_ = hit.hItem;
    pressedAt_ = point;
    SetCapture(hwnd_);
}

void Tree::KeyDown(UINT key)
{
    NMTVKEYDOWN nm {};
    nm.wVKey = static_cast<WORD>(key);
    Notify(TVN_KEYDOWN, &nm.hdr);
    const std::vector<TreeItem*>& rows = Visible();
    if (rows.empty())
        return;
    TreeItem* item = selected_;
    int row = item ? RowOf(item) : -1;
    int page = std::max(1, view_.FullyVisibleCount() - 1);
    TreeItem* to = nullptr;
    switch (key) {
    case VK_UP: to = row > 0 ? rows[row - 1] : rows.front(); break;
    case VK_DOWN: to = row + 1 < static_cast<int>(rows.size()) ? rows[row + 1] : rows.back(); break;
    case VK_HOME: to = rows.front(); break;
    case VK_END: to = rows.back(); break;
    case VK_PRIOR: to = rows[std::max(0, row - page)]; break;
    case VK_NEXT: to = rows[std::min(static_cast<int>(rows.size()) - 1, std::max(0, row) + page)]; break;
    case VK_LEFT:
        if (!item)
            return;
        if (item->State & TVIS_EXPANDED)
            Expand(item, TVE_COLLAPSE, false);
        else if (item->Parent != &root_)
            to = item->Parent;
        break;
    case VK_RIGHT:
        if (!item || !HasChildren(item))
            return;
        if (!(item->State & TVIS_EXPANDED))
            Expand(item, TVE_EXPAND, false);
        else if (!item->Children.empty())
            to = item->Children.front().get();
        break;
    case VK_ADD:
        if (item)
            Expand(item, TVE_EXPAND, false);
        break;
    case VK_SUBTRACT:
        if (item)
            Expand(item, TVE_COLLAPSE, false);
        break;
    case VK_F2:
        if ((style_ & TVS_EDITLABELS) && item)
            EditLabel(item);
        return;
    case VK_RETURN: {
        NMHDR header {};
        Notify(NM_RETURN, &header);
        return;
    }
    default:
        return;
    }
    if (to)
        Select(to, TVC_BYKEYBOARD);
}

HWND Tree::EditLabel(TreeItem* item)
{
    if (!Alive(item) || !(style_ & TVS_EDITLABELS))
        return nullptr;
    if (editor_.Window())
        EndEdit(true);
    EnsureVisible(item);
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    std::string text = TextOf(item);
    NMTVDISPINFO info {};
    info.item = Describe(item);
    info.item.mask |= TVIF_TEXT;
    info.item.pszText = text.data();
    info.item.cchTextMax = static_cast<int>(text.size() + 1);
    if (Notify(TVN_BEGINLABELEDIT, &info.hdr) || !Alive(item))
        return nullptr;
    int row = RowOf(item);
    RECT label = LabelRect(item, row);
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT area {label.left, label.top, std::max(label.right + 20, std::min<LONG>(client.right, label.left + 80)),
        label.top + itemHeight_ + 2};
    editItem_ = item;
    HWND edit = editor_.Open(hwnd_, area, text, font_, [this](bool commit) { EndEdit(commit); });
    if (!edit)
        editItem_ = nullptr;
    return edit;
}

void Tree::EndEdit(bool commit)
{
    if (!editor_.Window())
        return;
    TreeItem* item = editItem_;
    std::string text = editor_.Text();
    editItem_ = nullptr;
    editor_.Close();
    if (!Alive(item))
        return;
    NMTVDISPINFO info {};
    info.item = Describe(item);
    info.item.mask |= TVIF_TEXT;
    info.item.pszText = commit ? text.data() : nullptr;
    info.item.cchTextMax = static_cast<int>(text.size() + 1);
    LRESULT keep = Notify(TVN_ENDLABELEDIT, &info.hdr);
    if (commit && keep && Alive(item) && !item->TextCallback)
        item->Text = text;
    Dirty();
}

// --- Painting ---------------------------------------------------------------------------------------------------

void Tree::PaintRow(HDC dc, TreeItem* item, int row)
{
    RECT r = RowRect(row);
    int indent = Indent(item);
    int cy = (r.top + r.bottom) / 2;
    bool rootColumn = (style_ & TVS_LINESATROOT) && (style_ & (TVS_HASLINES | TVS_HASBUTTONS));
    if (style_ & TVS_HASLINES) {
        // This item's connector, then the lines of the ancestors that have siblings below.
        if (item->Level > 0 || rootColumn) {
            int cx = indent - indent_ / 2;
            MoveToEx(dc, cx, Sibling(item, -1) || item->Parent != &root_ ? r.top : cy, nullptr);
            LineTo(dc, cx, Sibling(item, 1) ? r.bottom : cy + 1);
            MoveToEx(dc, cx, cy, nullptr);
            LineTo(dc, indent, cy);
        }
        int x = indent - indent_ / 2;
        for (TreeItem* p = item->Parent; p && p != &root_; p = p->Parent) {
            x -= indent_;
            if ((p->Level > 0 || rootColumn) && Sibling(p, 1)) {
                MoveToEx(dc, x, r.top, nullptr);
                LineTo(dc, x, r.bottom);
            }
        }
    }
    if ((style_ & TVS_HASBUTTONS) && (item->Level > 0 || rootColumn) && HasChildren(item)) {
        int cx = indent - indent_ / 2;
        RECT box {cx - kButtonSize / 2, cy - kButtonSize / 2, cx + kButtonSize / 2 + 1, cy + kButtonSize / 2 + 1};
        FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &box, GetSysColorBrush(COLOR_GRAYTEXT));
        MoveToEx(dc, box.left + 2, cy, nullptr);
        LineTo(dc, box.right - 2, cy);
        if (!(item->State & TVIS_EXPANDED)) {
            MoveToEx(dc, cx, box.top + 2, nullptr);
            LineTo(dc, cx, box.bottom - 2);
        }
    }
    bool selected = item == selected_ || item == dropHilite_;
    if (images_) {
        int image = selected && item == selected_ ? item->SelectedImage : item->Image;
        if (image >= 0 && image < images_->ImageCount()) {
            SIZE size = images_->ImageSize();
            images_->DrawImage(dc, indent, cy - size.cy / 2, image, false);
        }
    }
    RECT label = LabelRect(item, row);
    bool shown = selected && (focused_ || (style_ & TVS_SHOWSELALWAYS) || item == dropHilite_);
    if (shown)
        FillRect(dc, &label, GetSysColorBrush(focused_ || item == dropHilite_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(shown && (focused_ || item == dropHilite_) ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::string text = TextOf(item);
    RECT textRect = label;
    InflateRect(&textRect, -2, 0);
    DrawText(dc, text.data(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (focused_ && item == selected_)
        DrawFocusRect(dc, &label);
}

void Tree::Paint(HDC dc, const RECT& area)
{
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ old = SelectObject(dc, pen);
    const std::vector<TreeItem*>& rows = Visible();
    for (int row = view_.Top(), last = view_.LastVisible(); row >= 0 && row <= last && row < static_cast<int>(rows.size()); ++row)
        PaintRow(dc, rows[row], row);
    SelectObject(dc, old);
    DeleteObject(pen);
}

LRESULT Tree::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto item = reinterpret_cast<HTREEITEM>(lParam);
    switch (message) {
    case WM_CREATE:
    case WM_SIZE:
        Changed();
        return 0;
    case WM_SETFONT: {
        font_ = wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        SelectObject(measure_, font_);
        TEXTMETRIC tm {};
        GetTextMetrics(measure_, &tm);
        if (!fixedHeight_)
            itemHeight_ = std::max<int>(tm.tmHeight + 3, images_ ? images_->ImageSize().cy + 1 : 0);
        Dirty();
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETREDRAW:
        redraw_ = wParam != 0;
        Changed();
        return 0;
    case WM_STYLECHANGED:
        style_ = static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE));
        Dirty();
        return 0;
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
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        focused_ = message == WM_SETFOCUS;
        Changed();
        NMHDR header {};
        Notify(focused_ ? NM_SETFOCUS : NM_KILLFOCUS, &header);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(MAKEPOINT(lParam), message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE: {
        POINT p = MAKEPOINT(lParam);
        if (pressed_ && std::abs(p.x - pressedAt_.x) + std::abs(p.y - pressedAt_.y) >= kDragDistance) {
            pressed_ = false;
            editOnRelease_ = false;
            if (GetCapture() == hwnd_)
                ReleaseCapture();
            if (!(style_ & TVS_DISABLEDRAGDROP) && Alive(pressedItem_))
                NotifyTree(TVN_BEGINDRAG, 0, nullptr, pressedItem_, pressedAt_);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            if (GetCapture() == hwnd_)
                ReleaseCapture();
            NMHDR header {};
            Notify(NM_CLICK, &header);
            if (editOnRelease_)
                SetTimer(hwnd_, kEditTimer, GetDoubleClickTime(), nullptr);
            editOnRelease_ = false;
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_)
            pressed_ = false;
        return 0;
    case WM_RBUTTONDOWN: {
        if (editor_.Window())
            EndEdit(true);
        if (GetFocus() != hwnd_)
            SetFocus(hwnd_);
        NMHDR header {};
        Notify(NM_RCLICK, &header);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kEditTimer) {
            KillTimer(hwnd_, kEditTimer);
            if (selected_)
                EditLabel(selected_);
            return 0;
        }
        return DefWindowProc(hwnd_, message, wParam, lParam);
    case WM_MOUSEWHEEL:
        if (view_.SetTop(view_.Top() - GET_WHEEL_DELTA_WPARAM(wParam) / 120 * 3))
            Changed();
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(message == WM_VSCROLL, LOWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        KeyDown(static_cast<UINT>(wParam));
        return 0;

    case TVM_INSERTITEM:
        return reinterpret_cast<LRESULT>(Insert(reinterpret_cast<const TVINSERTSTRUCT*>(lParam)));
    case TVM_DELETEITEM:
        return Delete(item) ? TRUE : FALSE;
    case TVM_EXPAND:
        return Expand(item, static_cast<UINT>(wParam), true) ? TRUE : FALSE;
    case TVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r)
            return FALSE;
        HTREEITEM which = *reinterpret_cast<HTREEITEM*>(r);
        int row = Alive(which) ? RowOf(which) : -1;
        if (row < 0)
            return FALSE;
        *r = wParam ? LabelRect(which, row) : RowRect(row);
        return TRUE;
    }
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(alive_.size());
    case TVM_GETINDENT:
        return indent_;
    case TVM_SETINDENT:
        indent_ = std::max(static_cast<int>(wParam), kButtonSize + 4);
        Dirty();
        return 0;
    case TVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE ? stateImages_ : images_);
    case TVM_SETIMAGELIST: {
        HIMAGELIST* slot = wParam == TVSIL_STATE ? &stateImages_ : &images_;
        HIMAGELIST old = *slot;
        *slot = reinterpret_cast<HIMAGELIST>(lParam);
        if (images_ && !fixedHeight_)
            itemHeight_ = std::max(itemHeight_, static_cast<int>(images_->ImageSize().cy) + 1);
        Dirty();
        return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(NextItem(item, static_cast<UINT>(wParam)));
    case TVM_SELECTITEM:
        if (wParam == TVGN_CARET)
            return Select(item, TVC_UNKNOWN) ? TRUE : FALSE;
        if (wParam == TVGN_DROPHILITE) {
            dropHilite_ = Alive(item) ? item : nullptr;
            Changed();
            return TRUE;
        }
        if (wParam == TVGN_FIRSTVISIBLE && Alive(item)) {
            EnsureVisible(item);
            view_.SetTop(RowOf(item));
            Changed();
            return TRUE;
        }
        return FALSE;
    case TVM_GETITEM:
        return GetItem(reinterpret_cast<TVITEM*>(lParam)) ? TRUE : FALSE;
    case TVM_SETITEM:
        return SetItem(reinterpret_cast<const TVITEM*>(lParam)) ? TRUE : FALSE;
    case TVM_EDITLABEL:
        return reinterpret_cast<LRESULT>(EditLabel(item));
    case TVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(editor_.Window());
    case TVM_ENDEDITLABELNOW:
        EndEdit(wParam == 0);
        return TRUE;
    case TVM_GETVISIBLECOUNT: {
        RECT client;
        GetClientRect(hwnd_, &client);
        return client.bottom / itemHeight_;
    }
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
        if (!info)
            return 0;
        *info = HitTest(info->pt);
        return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_ENSUREVISIBLE:
        return EnsureVisible(item) ? TRUE : FALSE;
    case TVM_SORTCHILDRENCB:
        return SortChildren(reinterpret_cast<const TVSORTCB*>(lParam)) ? TRUE : FALSE;
    case TVM_SETITEMHEIGHT: {
        int old = itemHeight_;
        int height = static_cast<int>(static_cast<int16_t>(LOWORD(wParam)));
        fixedHeight_ = height > 0;
        if (height > 0)
            itemHeight_ = height;
        Changed();
        return old;
    }
    case TVM_GETITEMHEIGHT:
        return itemHeight_;
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

} // namespace

ATOM RegisterTreeViewClass()
{
    return RegisterControlClass<Tree>(WC_TREEVIEW, IDC_ARROW);
}
