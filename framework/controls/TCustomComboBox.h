// The combo box of the framework: TCustomComboBox over the platform's "COMBOBOX" window class, and TComboBox.
// The items, the current item and the text live in the window while there is one; the object keeps them
// while there is none.
#pragma once
#include "framework/controls/TCustomEdit.h"
#include "framework/controls/TCustomListBox.h"

#include <memory>

enum TComboBoxStyle : uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox;

class TComboBoxStrings : public TListControlStrings {
public:
    explicit TComboBoxStrings(TCustomComboBox* comboBox);
    void Clear() override;

protected:
    int Current() const override;
    void Replaced(int oldIndex, int newIndex, bool wasSelected, bool wasCurrent) override;

private:
    TCustomComboBox* FComboBox;
};

class TCustomComboBox : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    TCanvas* Canvas() const;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    int ItemIndex() const;
    void SetItemIndex(int value);
    // The edit's text, or a drop-down list's current item.
    const std::string& Text() const override;
    // Rows the open list shows at most.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value);
    // The open list's width (0: the combo box's).
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    int ItemHeight() const;
    void SetItemHeight(int value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    // Typing completes the text from the first item it starts.
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool value) { FAutoComplete = value; }
    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    void SelectAll();
    void Clear();
    bool Focused() const override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);

    void CNCommand(TMessage& message);
    void CNDrawItem(TMessage& message);
    void CNMeasureItem(TMessage& message);
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const;
    HWND EditHandle() const;
    void RecreateIfAllocated();

private:
    friend class TComboBoxStrings;
    friend LRESULT ComboBoxEditHook(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    std::vector<TSavedItem>& Saved() const { return FItems->Saved; }
    // Completes the edit's text from the items after a typed character.
    void Complete();
    void HookEdit();

    std::unique_ptr<TComboBoxStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    mutable std::string FWindowText;
    TComboBoxStyle FStyle = csDropDown;
    int FSavedItemIndex = -1;
    int FDropDownCount = 8;
    int FDropDownWidth = 0;
    bool FSorted = false;
    bool FAutoComplete = true;
    bool FCompleting = false;
    int FItemHeight = 16;
    int FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    WNDPROC FEditProc = nullptr;
    HWND FEditHandle = nullptr;
    bool FTyped = false;
};

class TComboBox : public TCustomComboBox {
    using inherited = TCustomComboBox;

public:
    using TCustomComboBox::TCustomComboBox;
};
