#include "platform/controls/ItemView.h"

#include "platform/controls/TextEngine.h"

#include <algorithm>

namespace {
char32_t Fold(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    return c;
}
} // namespace

int CompareTextNoCase(std::string_view a, std::string_view b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        int n = 1, m = 1;
        char32_t x = Fold(utf8::Decode(a, i, &n));
        char32_t y = Fold(utf8::Decode(b, j, &m));
        if (x != y)
            return x < y ? -1 : 1;
        i += n;
        j += m;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    size_t i = 0, j = 0;
    while (j < prefix.size()) {
        if (i >= text.size())
            return false;
        int n = 1, m = 1;
        if (Fold(utf8::Decode(text, i, &n)) != Fold(utf8::Decode(prefix, j, &m)))
            return false;
        i += n;
        j += m;
    }
    return true;
}

int ItemView::Insert(int index, ViewItem item)
{
    if (index < 0 || index > Count())
        index = Count();
    items_.insert(items_.begin() + index, std::move(item));
    return index;
}

int ItemView::SortedPosition(std::string_view text) const
{
    auto at = std::upper_bound(items_.begin(), items_.end(), text,
        [](std::string_view t, const ViewItem& item) { return CompareTextNoCase(t, item.Text) < 0; });
    return static_cast<int>(at - items_.begin());
}

void ItemView::Erase(int index)
{
    items_.erase(items_.begin() + index);
    top_ = std::clamp(top_, 0, MaxTop());
}

void ItemView::SetOutsideCount(int count)
{
    outsideCount_ = count < 0 ? -1 : count;
    if (outsideCount_ >= 0)
        variable_ = false;
    top_ = std::clamp(top_, 0, MaxTop());
}

void ItemView::Clear()
{
    items_.clear();
    top_ = 0;
}

int ItemView::RowsPerColumn() const { return std::max(1, clientHeight_ / itemHeight_); }

int ItemView::MaxTop() const
{
    if (Count() == 0)
        return 0;
    if (MultiColumn()) {
        int rows = RowsPerColumn();
        int columns = std::max(1, clientWidth_ / std::max(1, columnWidth_));
        int lastColumn = (Count() - 1) / rows;
        return std::max(0, lastColumn - columns + 1) * rows;
    }
    if (!variable_)
        return std::max(0, Count() - std::max(1, clientHeight_ / itemHeight_));
    // Walk back from the end while the items still fit: only as far as one page reaches.
    int used = 0, top = Count();
    while (top > 0 && used + items_[top - 1].Height <= clientHeight_)
        used += items_[--top].Height;
    return std::min(top, Count() - 1);
}

bool ItemView::SetTop(int top)
{
    top = std::clamp(top, 0, MaxTop());
    if (MultiColumn())
        top -= top % RowsPerColumn();
    if (top == top_)
        return false;
    top_ = top;
    return true;
}

int ItemView::FullyVisibleCount() const
{
    if (MultiColumn())
        return RowsPerColumn() * std::max(1, clientWidth_ / std::max(1, columnWidth_));
    if (!variable_)
        return std::max(1, clientHeight_ / itemHeight_);
    int used = 0, n = 0;
    for (int i = top_; i < Count() && used + items_[i].Height <= clientHeight_; ++i, ++n)
        used += items_[i].Height;
    return std::max(1, n);
}

int ItemView::LastVisible() const
{
    if (Count() == 0)
        return -1;
    if (MultiColumn()) {
        int columns = (clientWidth_ + columnWidth_ - 1) / std::max(1, columnWidth_);
        return std::min(Count() - 1, top_ + RowsPerColumn() * std::max(1, columns) - 1);
    }
    int y = 0, i = top_;
    while (i < Count() - 1 && y + HeightOf(i) < clientHeight_)
        y += HeightOf(i++);
    return i;
}

bool ItemView::EnsureVisible(int index)
{
    if (!Valid(index))
        return false;
    if (index < top_)
        return SetTop(index);
    if (MultiColumn()) {
        int rows = RowsPerColumn();
        int columns = std::max(1, clientWidth_ / std::max(1, columnWidth_));
        int column = index / rows, topColumn = top_ / rows;
        if (column >= topColumn + columns)
            return SetTop((column - columns + 1) * rows);
        return false;
    }
    if (!variable_) {
        int page = FullyVisibleCount();
        return index >= top_ + page ? SetTop(index - page + 1) : false;
    }
    // Variable heights: the top that shows index as the last wholly visible item.
    int used = 0, top = index + 1;
    while (top > 0 && used + items_[top - 1].Height <= clientHeight_)
        used += items_[--top].Height;
    top = std::min(top, index);
    return top > top_ ? SetTop(top) : false;
}

bool ItemView::ItemRect(int index, RECT* rect) const
{
    if (!Valid(index))
        return false;
    if (MultiColumn()) {
        int rows = RowsPerColumn();
        int column = index / rows - top_ / rows, row = index % rows;
        *rect = {column * columnWidth_, row * itemHeight_, (column + 1) * columnWidth_, (row + 1) * itemHeight_};
        return true;
    }
    long long y = 0;
    if (!variable_) {
        y = static_cast<long long>(index - top_) * itemHeight_;
    } else if (index >= top_) {
        for (int i = top_; i < index && y <= clientHeight_; ++i)
            y += items_[i].Height;
    } else {
        for (int i = index; i < top_ && y >= -clientHeight_; ++i)
            y -= items_[i].Height;
    }
    y = std::clamp<long long>(y, -0x3FFFFFFF, 0x3FFFFFFF);
    *rect = {0, static_cast<LONG>(y), clientWidth_, static_cast<LONG>(y + HeightOf(index))};
    return true;
}

int ItemView::ItemFromPoint(POINT point, bool* outside) const
{
    *outside = true;
    if (Count() == 0)
        return 0;
    int index;
    if (MultiColumn()) {
        int rows = RowsPerColumn();
        int column = std::max(0, point.x) / std::max(1, columnWidth_);
        int row = std::clamp(static_cast<int>(point.y) / itemHeight_, 0, rows - 1);
        index = top_ + column * rows + row;
        *outside = point.x < 0 || point.y < 0 || point.y >= rows * itemHeight_ || index >= Count();
    } else {
        index = top_;
        int y = 0;
        while (index < Count() - 1 && y + HeightOf(index) <= point.y)
            y += HeightOf(index++);
        *outside = point.y < 0 || point.y >= y + HeightOf(index) || point.x < 0 || point.x >= clientWidth_;
    }
    return std::clamp(index, 0, Count() - 1);
}

int ItemView::Find(std::string_view text, int after, bool exact) const
{
    int n = Count();
    if (n == 0)
        return -1;
    int start = (after < -1 || after >= n) ? 0 : after + 1;
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        if (exact ? CompareTextNoCase(items_[i].Text, text) == 0 : StartsWithNoCase(items_[i].Text, text))
            return i;
    }
    return -1;
}

int ItemView::SelectedCount() const
{
    return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const ViewItem& i) { return i.Selected; }));
}

bool ItemView::SelectRange(int first, int last, bool select)
{
    if (first > last)
        std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    bool changed = false;
    for (int i = first; i <= last; ++i) {
        changed |= items_[i].Selected != select;
        items_[i].Selected = select;
    }
    return changed;
}

bool ItemView::ClearSelection(int except)
{
    bool changed = false;
    for (int i = 0; i < Count(); ++i) {
        if (i != except && items_[i].Selected) {
            items_[i].Selected = false;
            changed = true;
        }
    }
    return changed;
}
