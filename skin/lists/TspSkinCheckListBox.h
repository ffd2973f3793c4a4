// TspSkinCheckListBox, the skinned check list box: the skinned list frame over TspCheckListBox, a list whose items
// carry a check state (unchecked, checked, grayed) and their own data, toggled by a click on the check mark or by
// Space, and drawn with the check mark in the default, skinned or stretched look.
#pragma once
#include "framework/controls/StdButtons.h"
#include "skin/lists/TspSkinListBox.h"

#include <cstdint>
#include <memory>
#include <unordered_map>

class TspSkinCheckListBox;

// An item's check state and the data its user keeps with it.
class TspCheckListBoxDataWrapper final : public TObject {
public:
    int32_t Data = 0;
    TCheckBoxState State = cbUnchecked;
};

class TspCheckListBox : public TspListBox {
    using inherited = TspListBox;

public:
    explicit TspCheckListBox(TComponent* owner);
    ~TspCheckListBox() override;

    // An index the list does not hold raises EListError.
    bool Checked(int index) const;
    // Nothing when unchanged; otherwise stores it and redraws the item at once.
    void SetChecked(int index, bool value);
    TCheckBoxState State(int index) const;
    void SetState(int index, TCheckBoxState value);
    int32_t ItemData(int index) const;
    void SetItemData(int index, int32_t value);
    // Unchecked and checked swap, grayed stays grayed; then OnClickCheck. Indexes out of range do nothing.
    void ToggleClickCheck(int index);
    void InvalidateCheck(int index);
    TNotifyEvent OnClickCheck;

    void WndProc(TMessage& message) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyPress(char32_t& key) override;
    void DrawDefaultItem(TCanvas* canvas, int index, const TRect& rect, TOwnerDrawState state) override;
    void DrawSkinItemCheck(TCanvas* cnvs, int index, int dw, int dh) override;

private:
    TspSkinCheckListBox* CheckFrame() const;
    void CheckIndex(int index) const;
    TspCheckListBoxDataWrapper* ExtractWrapper(int index) const;
    TspCheckListBoxDataWrapper* GetWrapper(int index);
    // The check rectangle of an item at the skin's look, relative to the item.
    TRect SkinCheckRect(int dw, int dh) const;

    // The wrappers live here; the items hold them as their objects, so they follow the items through sorting and
    // re-creation. A deleted item's wrapper waits one deletion in case the item comes back (a replaced text).
    std::unordered_map<const TObject*, std::unique_ptr<TspCheckListBoxDataWrapper>> FWrappers;
    const TObject* FPending = nullptr;
};

class TspSkinCheckListBox : public TspSkinCustomListBox {
    using inherited = TspSkinCustomListBox;

public:
    explicit TspSkinCheckListBox(TComponent* owner);

    TspCheckListBox* CheckListBox() const { return static_cast<TspCheckListBox*>(ListBox()); }
    bool Checked(int index) const { return CheckListBox()->Checked(index); }
    void SetChecked(int index, bool value) { CheckListBox()->SetChecked(index, value); }
    TCheckBoxState State(int index) const { return CheckListBox()->State(index); }
    void SetState(int index, TCheckBoxState value) { CheckListBox()->SetState(index, value); }

    // Raised after every toggle: by the mouse, Space or the caption's check button.
    TNotifyEvent OnClickCheck;
    void ListBoxOnClickCheck(TObject* sender);

    int CalcHeight(int rows) override;
    void GetSkinData() override;

    // Copies of the check parts of the record.
    TRect ItemCheckRect, CheckImageRect, UnCheckImageRect;

protected:
    void CheckButtonAction() override;
};
