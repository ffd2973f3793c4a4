// TspSkinCheckComboBox, the skinned check combo box: its drop-down is a skinned check list shown as a popup that
// never takes the activation; a click in the open list or Space toggles the current item, and the face shows the
// checked items' strings joined by commas.
#pragma once
#include "skin/lists/TspComboSkinParts.h"
#include "skin/lists/TspSkinCheckListBox.h"

#include <memory>

// The drop-down check list: always opaque, never faded.
class TspPopupCheckListBox : public TspSkinCheckListBox {
    using inherited = TspSkinCheckListBox;

public:
    explicit TspPopupCheckListBox(TComponent* owner);
    void Show(TPoint origin);
    void Hide();
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
};

class TspSkinCustomCheckComboBox : public TspSkinCustomControl, protected TspComboSkinParts {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinCustomCheckComboBox(TComponent* owner);
    ~TspSkinCustomCheckComboBox() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TStrings* Items() const { return FListBox->Items(); }
    void SetItems(TStrings* value) { FListBox->SetItems(value); }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value);
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int value) { FListBoxWidth = value; }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor value);
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool value) { FListBox->SetSorted(value); }
    TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(TCustomImageList* value) { FListBox->SetImages(value); }
    bool ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
    void SetListBoxCaptionMode(bool value) { FListBox->SetCaptionMode(value); }
    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;

    bool Checked(int index) const { return FListBox->Checked(index); }
    // Sets the mark, the text and repaints; fires nothing.
    void SetChecked(int index, bool value);
    bool IsPopupVisible() const;
    bool CanCancelDropDown();
    TspPopupCheckListBox* ListBox() const { return FListBox; }

    // ---- Virtual operations ----------------------------------------------------------------------------------
    virtual void Change();
    virtual void DropDown();
    void CloseUp(bool accept);
    // Text := the checked items' strings joined by ",".
    void CheckText();

    bool CancelsModeWithMenus() const override { return true; }
    void GetSkinData() override;
    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void DefaultFontChange() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;

private:
    void CalcRects();
    void ToggleCurrent();
    void MoveCurrent(int index);
    void ListHook(TMessage& message);
    void DrawText(TBitmap* face);

    TspPopupCheckListBox* FListBox = nullptr;
    std::function<void(TMessage&)> FOldListProc;
    int FDropDownCount = 8;
    int FListBoxWidth = 0;
    TColor FDefaultColor = clWindow;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TspSkinCheckComboBox : public TspSkinCustomCheckComboBox {
    using inherited = TspSkinCustomCheckComboBox;

public:
    using TspSkinCustomCheckComboBox::TspSkinCustomCheckComboBox;
};
