// TspSkinCustomRadioGroup and TspSkinCustomCheckGroup, skinned group boxes that show a list of strings as columns
// of skinned radio buttons or check boxes; the item buttons are made and freed by their group only.
#pragma once
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinPanels.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TStringList;
class TStrings;

// What the radio and check groups share: the items, their buttons and the column layout.
class TspSkinButtonGroup : public TspSkinGroupBox {
    using inherited = TspSkinGroupBox;

public:
    ~TspSkinButtonGroup() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // Assigning copies the strings; every change of the list rebuilds the buttons.
    TStrings* Items() const;
    void SetItems(TStrings* value);
    int ItemIndex() const { return FItemIndex; }
    int Columns() const { return FColumns; }
    // Clamped to 1 .. 16.
    void SetColumns(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    const std::string& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(std::string_view value);
    TFont* ButtonDefaultFont() const { return FButtonDefaultFont.get(); }
    void SetButtonDefaultFont(TFont* value);

    // Whether the buttons take a click or a space or backspace key.
    virtual bool CanModify() { return true; }
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TspSkinCheckRadioBox* Buttons(int index) const { return FButtons[size_t(index)]; }
    // Places the buttons in columns (top to bottom, then left to right) inside the group's client area.
    void ArrangeButtons();
    // Every button gets ButtonDefaultFont and the group's UseSkinFont.
    void UpdateButtonsFont();
    // While set (the group's own values arrive one by one) nothing is arranged or rebuilt.
    void SetReading(bool value);
    // The group hears the keys of its buttons.
    void GroupKeyPress(char32_t& key);
    void GroupKeyDown(uint16_t& key, TShiftState shift);

    void SetSkinData(TspSkinData* value) override;
    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    TspSkinButtonGroup(TComponent* owner, std::string_view buttonSkinDataName);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual TspSkinCheckRadioBox* NewButton() = 0;
    virtual void ItemsChange();
    // The buttons for the items, with their captions, the selection checked, arranged.
    void UpdateButtons();
    // The radio group checks its selected button without a click.
    virtual void CheckSelected() { }
    // A button was clicked (or checked in code).
    virtual void ButtonClick(TObject* sender);
    void SetButtonCount(int count);

    int FItemIndex = -1;
    bool FReading = false;

private:
    friend class TspGroupButton;
    friend class TspCheckGroupButton;
    void AddButton(TspSkinCheckRadioBox* button);
    void RemoveButton(TspSkinCheckRadioBox* button);

    std::unique_ptr<TStringList> FItems;
    std::vector<TspSkinCheckRadioBox*> FButtons;
    int FColumns = 1;
    TCustomImageList* FImages = nullptr;
    std::string FButtonSkinDataName;
    std::unique_ptr<TFont> FButtonDefaultFont;
};

class TspSkinCustomRadioGroup : public TspSkinButtonGroup {
    using inherited = TspSkinButtonGroup;

public:
    explicit TspSkinCustomRadioGroup(TComponent* owner);
    // Clamped to -1 .. button count - 1; checking the new button raises the group's OnClick.
    void SetItemIndex(int value);

protected:
    TspSkinCheckRadioBox* NewButton() override;
    void ItemsChange() override;
    void CheckSelected() override;
    void ButtonClick(TObject* sender) override;

private:
    // Set while the group checks its selected button itself.
    bool FUpdating = false;
};

class TspSkinCustomCheckGroup : public TspSkinButtonGroup {
    using inherited = TspSkinButtonGroup;

public:
    explicit TspSkinCustomCheckGroup(TComponent* owner);
    // False outside 0 .. count - 1.
    bool GetCheckedStatus(int index) const;
    // Ignored outside the range; a change raises the group's OnClick.
    void SetCheckedStatus(int index, bool value);

protected:
    TspSkinCheckRadioBox* NewButton() override;
};

class TspSkinRadioGroup : public TspSkinCustomRadioGroup {
public:
    using TspSkinCustomRadioGroup::TspSkinCustomRadioGroup;
};

class TspSkinCheckGroup : public TspSkinCustomCheckGroup {
public:
    using TspSkinCustomCheckGroup::TspSkinCustomCheckGroup;
};

// The item buttons: owned and placed by their group, which hears their clicks.
class TspGroupButton : public TspSkinCheckRadioBox {
    using inherited = TspSkinCheckRadioBox;

public:
    explicit TspGroupButton(TspSkinButtonGroup* group);
    ~TspGroupButton() override;
    void WndProc(TMessage& message) override;

protected:
    void KeyPress(char32_t& key) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TspSkinButtonGroup* FGroup;
    bool FInClick = false;
};

class TspCheckGroupButton : public TspGroupButton {
public:
    explicit TspCheckGroupButton(TspSkinButtonGroup* group);
};
