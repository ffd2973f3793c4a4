// The list box of the framework: TCustomListBox over the platform's "LISTBOX" window class, and TListBox. The
// items, their objects and the selection live in the window while there is one; the object keeps them while
// there is none (before the window is made, and across a re-creation).
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/ListControlStrings.h"
#include "framework/controls/TWinControl.h"
#include "framework/core/TSet.h"
#include "framework/core/TStrings.h"

#include <memory>
#include <vector>

enum TListBoxStyle : uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

// An owner-drawn item's state, as the window reports it (the bits of ODS_*, in order).
enum TOwnerDrawStateItem : uint8_t {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem, odComboBoxEdit>;
TOwnerDrawState OwnerDrawStateFromBits(UINT itemState);

class TCanvas;
class TControlCanvas;

using TDrawItemEvent = std::function<void(TWinControl* control, int index, TRect rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;

class TCustomListBox;

// The items of a list box; a replaced item keeps its selection.
class TListBoxStrings : public TListControlStrings {
public:
    explicit TListBoxStrings(TCustomListBox* listBox);
    void Clear() override;

protected:
    void Replaced(int oldIndex, int newIndex, bool wasSelected, bool wasCurrent) override;
    bool IsSelected(int index) const override;
    int Current() const override;

private:
    TCustomListBox* FListBox;
};

class TCustomListBox : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    TCanvas* Canvas() const;
    int Count() const { return FItems->Count(); }

    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    // The current item (-1: none): the selected item, or in a multiple-selection list the focused one.
    int ItemIndex() const;
    void SetItemIndex(int value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    int TopIndex() const;
    void SetTopIndex(int value);
    // 0: one column scrolled up and down; more: that many columns side by side, scrolled sideways.
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    // A list whose height is a whole number of items.
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value);
    int ItemHeight() const;
    void SetItemHeight(int value);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool value) { FAutoComplete = value; }
    // Width in pixels the horizontal bar scrolls over (0: none).
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // The item at a client point; with `existing`, -1 when the point is past the items, else the nearest.
    int ItemAtPos(TPoint pos, bool existing) const;
    TRect ItemRect(int index) const;
    void Clear();
    void ClearSelection();
    void SelectAll();
    void DeleteSelected();

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    void KeyPress(char32_t& key) override;

    void CNCommand(TMessage& message);
    void CNDrawItem(TMessage& message);
    void CNMeasureItem(TMessage& message);
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const;
    void RecreateIfAllocated();

private:
    friend class TListBoxStrings;
    std::vector<TSavedItem>& Saved() const { return FItems->Saved; }

    std::unique_ptr<TListBoxStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    int FSavedItemIndex = -1;
    int FSavedTopIndex = 0;
    TListBoxStyle FStyle = lbStandard;
    TBorderStyle FBorderStyle = bsSingle;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    bool FIntegralHeight = false;
    bool FAutoComplete = true;
    int FColumns = 0;
    int FItemHeight = 16;
    int FScrollWidth = 0;
};

class TListBox : public TCustomListBox {
    using inherited = TCustomListBox;

public:
    using TCustomListBox::TCustomListBox;
};
