// TCustomListView and TListView over the platform's "SysListView32" window: columns (TListColumns), items
// (TListItems) kept by the object and handed to the window, or, with OwnerData, only a count whose items the
// OnData event fills when the window shows them. The window's notifications become the events.
#pragma once
#include "framework/controls/TWinControl.h"
#include "framework/core/TCollection.h"
#include "framework/core/TStrings.h"

#include <memory>
#include <string>
#include <vector>

class TCanvas;
class TControlCanvas;
class TCustomImageList;
class TCustomListView;
class TListItems;
class TImageListAdapter;

enum TViewStyle : uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange : uint8_t { ctText, ctImage, ctState };
// The state an owner-drawn row is drawn in (the drawing request's bits: selected 0, focused 4).
enum TListDrawStateItem : uint8_t { ldsSelected = 0, ldsFocused = 4 };
using TListDrawState = TSet<TListDrawStateItem, ldsFocused>;

class TListColumn : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit TListColumn(TCollection* collection);
    ~TListColumn() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(std::string_view value);
    int Width() const;
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    void Assign(TPersistent* source) override;

protected:
    std::string GetDisplayName() const override;

private:
    friend class TCustomListView;
    std::string FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
};

class TListColumns : public TOwnedCollection {
    using inherited = TOwnedCollection;

public:
    explicit TListColumns(TCustomListView* owner);
    TListColumn* Add() { return static_cast<TListColumn*>(inherited::Add()); }
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(GetItem(index)); }
    TCustomListView* Owner() const { return FView; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomListView* FView;
};

// One item. Stored items live in TListItems; an owner-data view hands out one temporary item, refilled
// by OnData for each index asked for.
class TListItem : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TListItem(TListItems* owner);
    ~TListItem() override;

    TListItems* Owner() const { return FOwner; }
    TCustomListView* ListView() const;
    int Index() const { return FIndex; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(std::string_view value);
    TStrings* SubItems() const { return FSubItems.get(); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);
    // The item's rectangle of that part (drBounds, drIcon, drLabel, drSelectBounds), in client coordinates.
    TRect DisplayRect(int code) const;
    // Starts editing the label in place; false when the view refused.
    bool EditCaption();
    void MakeVisible(bool partialOK);
    void Update();
    void Delete();
    void Assign(TPersistent* source) override;

private:
    friend class TListItems;
    friend class TCustomListView;
    void SubItemsChanged();

    TListItems* FOwner;
    int FIndex = -1;
    std::string FCaption;
    std::unique_ptr<TStrings> FSubItems;
    int FImageIndex = -1;
    void* FData = nullptr;
};

constexpr int drBounds = 0;
constexpr int drIcon = 1;
constexpr int drLabel = 2;
constexpr int drSelectBounds = 3;

class TListItems : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TListItems(TCustomListView* owner);
    ~TListItems() override;

    TCustomListView* Owner() const { return FOwner; }
    int Count() const;
    // With OwnerData the count is the window's only knowledge of the items.
    void SetCount(int value);
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    // An owner-data view fills its one temporary item through OnData.
    TListItem* Item(int index);
    TListItem* operator[](int index) { return Item(index); }
    int IndexOf(const TListItem* item) const;
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TCustomListView;
    friend class TListItem;
    void Renumber(int from);

    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FCount = 0; // owner data
    std::unique_ptr<TListItem> FTemp;
    int FUpdateCount = 0;
};

using TLVNotifyEvent = std::function<void(TObject* sender, TListItem* item)>;
using TLVOwnerDataEvent = std::function<void(TObject* sender, TListItem* item)>;
using TLVDrawItemEvent
    = std::function<void(TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state)>;
// Item nullptr with selected false: the owner-data view deselected many items at once.
using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;
using TLVColumnClickEvent = std::function<void(TObject* sender, TListColumn* column)>;
using TLVEditingEvent = std::function<void(TObject* sender, TListItem* item, bool& allowEdit)>;
using TLVEditedEvent = std::function<void(TObject* sender, TListItem* item, std::string& s)>;
using TLVCompareEvent = std::function<void(TObject* sender, TListItem* item1, TListItem* item2, int data, int& compare)>;
using TLVChangeEvent = std::function<void(TObject* sender, TListItem* item, TItemChange change)>;
using TLVOwnerDataFindEvent = std::function<void(TObject* sender, const std::string& findString, int startIndex,
    bool wrap, int& index)>;

class TCustomListView : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    TListItems* Items() const { return FItems.get(); }
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle value);
    bool OwnerData() const { return FOwnerData; }
    void SetOwnerData(bool value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool value);
    // Whether the user may drag the column headers into another order.
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool value);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* value);
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* value);
    TCanvas* Canvas() const;

    // The first selected item (nullptr for none); setting it selects that item alone.
    TListItem* Selected();
    void SetSelected(TListItem* value);
    int ItemIndex() const;
    void SetItemIndex(int value);
    TListItem* ItemFocused();
    void SetItemFocused(TListItem* value);
    int SelCount() const;
    void SelectAll();
    void ClearSelection();
    // Whether item `index` is selected, without asking an owner-data parent for the item.
    bool IsSelected(int index) const;
    TListItem* TopItem();
    int VisibleRowCount() const;
    TListItem* GetItemAt(int x, int y);
    void Scroll(int dx, int dy);
    // Repaints items first..last (an owner-data view asks for them again).
    void UpdateItems(int first, int last);
    void Refresh();
    bool IsEditing() const;
    // Sorts stored items by OnCompare (or by caption without it).
    bool AlphaSort();
    using TLVCompare = int (*)(TListItem* item1, TListItem* item2, intptr_t data);
    bool CustomSort(TLVCompare compare, intptr_t data);

    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVDrawItemEvent OnDrawItem;
    TLVSelectItemEvent OnSelectItem;
    TLVChangeEvent OnChange;
    TLVColumnClickEvent OnColumnClick;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVCompareEvent OnCompare;
    TLVNotifyEvent OnDeletion;
    TLVNotifyEvent OnInsert;

    void WndProc(TMessage& message) override;
    // A message to the window; 0 while there is none.
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void ColClick(TListColumn* column);
    virtual void DoSelectItem(TListItem* item, bool selected);
    virtual bool CanEdit(TListItem* item);
    virtual void Edit(TListItem* item, std::string& s);
    virtual void DrawItem(TListItem* item, TRect rect, TListDrawState state);
    // The style bits of the properties, applied to a live window.
    void UpdateStyles();
    // The view selects on the press and reports a drag once the pointer moves away with the button down.
    bool StartsDragItself() const override { return true; }
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListColumns;
    friend class TListItems;
    friend class TListItem;
    void CNNotify(TMessage& message);
    void CNDrawItem(TMessage& message);
    void SyncColumn(int index);
    void SyncColumns();
    void SyncItems();
    void InsertWindowItem(int index);
    void UpdateWindowItem(int index);
    void SetImageList(TCustomImageList* value, TCustomImageList** slot, int which);

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TViewStyle FViewStyle = vsIcon;
    bool FOwnerData = false;
    bool FOwnerDraw = false;
    bool FMultiSelect = false;
    bool FRowSelect = false;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FGridLines = false;
    bool FFullDrag = false;
    bool FShowColumnHeaders = true;
    bool FColumnClick = true;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FSmallImages = nullptr;
    std::unique_ptr<TImageListAdapter> FLargeAdapter;
    std::unique_ptr<TImageListAdapter> FSmallAdapter;
    std::unique_ptr<TControlCanvas> FCanvas;
    // Stored items' states while there is no window.
    std::vector<int> FSavedSelection;
    std::string FEditText;
};

class TListView : public TCustomListView {
    using inherited = TCustomListView;

public:
    using TCustomListView::TCustomListView;
};
