// One list view window's state and behaviour, shared by the list view's sources: ListViewControl.cpp (items,
// columns, geometry and the messages), ListViewInput.cpp (selection, mouse, keys and label editing) and
// ListViewPaint.cpp. Rows and list columns are laid out by the item-view engine over the view's own items.
#pragma once
#include "platform/controls/InPlaceEditor.h"
#include "platform/controls/ItemView.h"
#include "platform/controls/ListViewControl.h"

#include <string>
#include <vector>

struct ListViewItem {
    std::string Text;
    bool TextCallback = false;
    std::vector<std::string> SubItems; // SubItems[k] is sub-item k + 1
    // Sub-items the parent keeps; sub-items never set follow the item's own text.
    std::vector<char> SubCallback;
    int Image = 0;
    LPARAM Param = 0;
    UINT State = 0;
    int Indent = 0;
};

struct ListViewColumn {
    int Format = LVCFMT_LEFT;
    int Width = 0;
    std::string Text;
    int SubItem = 0;
    int Image = -1;
};

class ListView {
public:
    ListView(HWND hwnd, const CREATESTRUCT& create);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // --- Items (ListViewControl.cpp) ---
    DWORD ViewType() const { return style_ & LVS_TYPEMASK; }
    bool OwnerData() const { return style_ & LVS_OWNERDATA; }
    bool Report() const { return ViewType() == LVS_REPORT; }
    bool IconView() const { return ViewType() == LVS_ICON || ViewType() == LVS_SMALLICON; }
    int Count() const { return OwnerData() ? ownerCount_ : static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    UINT StateOf(int index) const;
    void StoreState(int index, UINT state);
    LPARAM ParamOf(int index) const { return OwnerData() ? 0 : items_[index].Param; }

    LRESULT InsertItem(const LVITEM* item);
    LRESULT DeleteItem(int index);
    LRESULT DeleteAllItems();
    LRESULT SetItemCount(int count);
    LRESULT GetItem(LVITEM* item);
    LRESULT SetItem(const LVITEM* item);
    // The text shown for a cell, asked of the parent when the item keeps none.
    std::string_view CellText(int index, int subItem, char* buffer, int size);
    int ImageOf(int index);
    LRESULT GetNextItem(int start, UINT flags) const;
    LRESULT FindItem(int start, const LVFINDINFO* info);
    LRESULT SortItems(LPARAM sortParam, PFNLVCOMPARE compare);

    LRESULT InsertColumn(int index, const LVCOLUMN* column);
    LRESULT DeleteColumn(int index);
    LRESULT GetColumn(int index, LVCOLUMN* column) const;
    LRESULT SetColumn(int index, const LVCOLUMN* column);
    LRESULT SetColumnWidth(int index, int width);
    void SyncColumnsFromHeader();
    std::vector<int> ColumnOrder() const;

    // --- Geometry (ListViewControl.cpp) ---
    void Layout();
    void UpdateScrollInfo();
    int HeaderHeight() const;
    int TotalColumnWidth() const;
    int CountPerPage() const;
    int ItemsPerRow() const; // icon views
    SIZE IconCell() const;
    // The item's whole rectangle (every column in report view), in client coordinates.
    RECT ItemBounds(int index) const;
    RECT ItemPart(int index, int code) const;
    RECT SubItemRect(int index, int column, int code) const;
    // The first and last items at least partly in view (last < first when none).
    void VisibleRange(int* first, int* last) const;
    LVHITTESTINFO HitTest(POINT point) const;
    void ScrollBy(int dx, int dy);
    void SetTopRow(int top);
    bool EnsureVisible(int index);
    void OnScroll(bool vertical, WORD request);
    void InvalidateItem(int index);
    void Changed();

    // --- Selection, mouse, keys, editing (ListViewInput.cpp) ---
    LRESULT Notify(UINT code, NMHDR* header);
    LRESULT NotifyItem(UINT code, int index, int subItem = 0, POINT at = {});
    // Changes the item's state through LVN_ITEMCHANGING (which may refuse) and LVN_ITEMCHANGED.
    bool ChangeState(int index, UINT state, UINT mask);
    void SetFocusItem(int index);
    // Deselects everything but `except`; owner-data views report it as one change of every item.
    void ClearSelection(int except);
    void SelectRange(int first, int last);
    void SelectFromGesture(int index, bool shift, bool control, bool fromMouse);
    void ButtonDown(POINT point, WPARAM keys, bool doubleClick);
    void RightButtonDown(POINT point);
    void MouseMove(POINT point);
    void ButtonUp(POINT point);
    void KeyDown(UINT key);
    void TypeAhead(char32_t c);
    HWND EditLabel(int index);
    void EndEdit(bool commit);

    // --- Painting (ListViewPaint.cpp) ---
    void Paint(HDC dc, const RECT& area);
    void PaintItem(HDC dc, int index);
    void PaintCell(HDC dc, int index, int column, const RECT& cell, bool selected);
    void PaintIconItem(HDC dc, int index);

    HWND hwnd_;
    HWND header_ = nullptr;
    DWORD style_;
    DWORD exStyle_ = 0;
    HFONT font_;
    int fontHeight_ = 16;
    std::vector<ListViewItem> items_;
    int ownerCount_ = 0;
    std::vector<uint8_t> ownerStates_;
    std::vector<ListViewColumn> columns_;
    ItemView view_; // report rows, or list columns
    int rowHeight_ = 18;
    int listColumnWidth_ = 0;
    int scrollX_ = 0; // report and icon views, pixels
    int scrollY_ = 0; // icon views, pixels
    int focus_ = -1;
    int mark_ = -1;
    bool focused_ = false;
    bool redraw_ = true;
    bool publishing_ = false;
    bool syncing_ = false;
    HIMAGELIST normalImages_ = nullptr;
    HIMAGELIST smallImages_ = nullptr;
    HIMAGELIST stateImages_ = nullptr;
    COLORREF backColor_;
    COLORREF textColor_;
    COLORREF textBackColor_;

    // A press on an item waits for a drag, a release (a click) or, on the focused item, the edit delay.
    bool pressed_ = false;
    bool dragged_ = false;
    int pressedItem_ = -1;
    POINT pressedAt_ {};
    bool editOnRelease_ = false;

    InPlaceEditor editor_;
    int editItem_ = -1;

    std::string typed_;
    uint32_t typedAt_ = 0;
};
