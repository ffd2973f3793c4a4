// The items of a list-holding control (list box, combo box) as a TStrings: the window's while it has one, a
// saved copy of strings, objects and selection marks while it has none (before the window is made, and across
// a re-creation). The control names the window messages that add, find and read items.
#pragma once
#include "framework/core/TStrings.h"
#include "platform/win/WinTypes.h"

#include <string>
#include <vector>

class TWinControl;

struct TListControlMessages {
    UINT AddString, InsertString, DeleteString, ResetContent, GetCount, GetText, GetTextLen, GetItemData,
        SetItemData, FindStringExact, InitStorage;
};
extern const TListControlMessages ListBoxMessages;
extern const TListControlMessages ComboBoxMessages;

struct TSavedItem {
    std::string Text;
    TObject* Object = nullptr;
    bool Selected = false;
};

class TListControlStrings : public TStrings {
public:
    TListControlStrings(TWinControl* control, const TListControlMessages& messages)
        : FControl(control)
        , FMessages(messages)
    {
    }
    int Add(std::string_view s) override;
    int AddObject(std::string_view s, TObject* object) override;
    void Insert(int index, std::string_view s) override;
    void InsertObject(int index, std::string_view s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(std::string_view s) const override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;

    // Set by the control: a sorted list puts every new item where it sorts.
    bool Sorted = false;
    // The items while there is no window.
    std::vector<TSavedItem> Saved;
    // Moves the window's items (with their objects) into Saved, and back into a new window.
    void SaveFrom(HWND window);
    void RestoreTo(HWND window);
    // Sorts Saved as the window would.
    void SortSaved();

protected:
    std::string Get(int index) const override;
    int GetCount() const override;
    TObject* GetObject(int index) const override;
    void Put(int index, std::string_view s) override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    // Called after the text at `index` was replaced by Put (which deletes and inserts); the list box keeps
    // the item's selection.
    virtual void Replaced(int oldIndex, int newIndex, bool wasSelected, bool wasCurrent);
    virtual bool IsSelected(int index) const;
    virtual int Current() const;

    HWND Window() const;
    void CheckIndex(int index, int count) const;
    std::string WindowText(HWND window, int index) const;

    TWinControl* FControl;
    const TListControlMessages& FMessages;
};
