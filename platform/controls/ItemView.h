// The scrollable item view shared by the list box and, later, the list and tree views: a row of items with
// text, data and a selection mark, a first visible item, fixed or per-item heights and, for multi-column
// lists, columns of equal width. Everything a paint or a hit test needs is computed from the visible range
// only, so a million items cost no more per paint than ten.
#pragma once
#include "platform/win/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

struct ViewItem {
    std::string Text;
    LPARAM Data = 0;
    int Height = 0; // used when the heights vary
    bool Selected = false;
};

class ItemView {
public:
    int Count() const { return outsideCount_ >= 0 ? outsideCount_ : static_cast<int>(items_.size()); }
    // Makes the view lay out `count` items kept elsewhere (the list view keeps its own, or none at all for
    // owner data); -1 goes back to the stored items. With an outside count only the geometry is used: heights
    // are fixed, and the stored-item calls (At, Find, the selection) are not.
    void SetOutsideCount(int count);
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    ViewItem& At(int index) { return items_[index]; }
    const ViewItem& At(int index) const { return items_[index]; }

    // Inserts at index (-1 or Count(): at the end); returns where the item went.
    int Insert(int index, ViewItem item);
    // Where a sorted list puts text: after the items that compare equal or less (case-insensitive).
    int SortedPosition(std::string_view text) const;
    void Erase(int index);
    void Clear();
    void Reserve(int count) { items_.reserve(static_cast<size_t>(count)); }

    // Geometry. The client is the area items are shown in; columnWidth > 0 makes the view multi-column.
    void SetClient(int width, int height) { clientWidth_ = width; clientHeight_ = height; }
    void SetItemHeight(int height) { itemHeight_ = height > 0 ? height : 1; }
    int ItemHeight() const { return itemHeight_; }
    void SetVariableHeights(bool variable) { variable_ = variable; }
    bool VariableHeights() const { return variable_; }
    void SetColumnWidth(int width) { columnWidth_ = width; }
    bool MultiColumn() const { return columnWidth_ > 0; }
    int ColumnWidth() const { return columnWidth_; }
    int HeightOf(int index) const { return variable_ ? items_[index].Height : itemHeight_; }

    int Top() const { return top_; }
    // Sets the first visible item, kept so that the last page is full where it can be; returns whether it moved.
    bool SetTop(int top);
    int MaxTop() const;
    // Items per column in a multi-column view (at least one).
    int RowsPerColumn() const;
    // Items that fit wholly (at least one) from the top, and the last item at least partly visible.
    int FullyVisibleCount() const;
    int LastVisible() const;
    // Moves the top as little as needed for the item to be wholly visible.
    bool EnsureVisible(int index);

    // The item's rectangle in client coordinates (it may lie outside the client); false for a bad index.
    bool ItemRect(int index, RECT* rect) const;
    // The item under a client point, nearest when outside the items; outside reports that the point is past them.
    int ItemFromPoint(POINT point, bool* outside) const;

    // Case-insensitive prefix (or whole-text) search starting after `after` (-1: from the start), wrapping.
    int Find(std::string_view text, int after, bool exact) const;

    int SelectedCount() const;
    // Selects first..last inclusive (in either order), leaving others alone; returns whether anything changed.
    bool SelectRange(int first, int last, bool select);
    bool ClearSelection(int except = -1);

private:
    std::vector<ViewItem> items_;
    int top_ = 0;
    int itemHeight_ = 16;
    bool variable_ = false;
    int columnWidth_ = 0;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int outsideCount_ = -1;
};

// Case-insensitive comparison of UTF-8 texts (ASCII and Latin-1 letters fold; other characters compare by value).
int CompareTextNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
