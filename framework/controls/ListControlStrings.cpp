#include "framework/controls/ListControlStrings.h"

#include "framework/controls/TWinControl.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ItemView.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"

#include <algorithm>

const TListControlMessages ListBoxMessages {LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
    LB_GETTEXT, LB_GETTEXTLEN, LB_GETITEMDATA, LB_SETITEMDATA, LB_FINDSTRINGEXACT, LB_INITSTORAGE};
const TListControlMessages ComboBoxMessages {CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
    CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_GETITEMDATA, CB_SETITEMDATA, CB_FINDSTRINGEXACT, CB_INITSTORAGE};


HWND TListControlStrings::Window() const
{
    return FControl->HandleAllocated() ? FControl->Handle() : nullptr;
}

void TListControlStrings::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count)
        Error("List index out of bounds (%d)", index);
}

int TListControlStrings::GetCount() const
{
    if (HWND w = Window())
        return static_cast<int>(SendMessage(w, FMessages.GetCount, 0, 0));
    return static_cast<int>(Saved.size());
}

std::string TListControlStrings::Get(int index) const
{
    CheckIndex(index, GetCount());
    HWND w = Window();
    if (!w)
        return Saved[index].Text;
    return WindowText(w, index);
}

TObject* TListControlStrings::GetObject(int index) const
{
    CheckIndex(index, GetCount());
    if (HWND w = Window())
        return reinterpret_cast<TObject*>(SendMessage(w, FMessages.GetItemData, index, 0));
    return Saved[index].Object;
}

void TListControlStrings::PutObject(int index, TObject* object)
{
    CheckIndex(index, GetCount());
    if (HWND w = Window())
        SendMessage(w, FMessages.SetItemData, index, reinterpret_cast<LPARAM>(object));
    else
        Saved[index].Object = object;
}

void TListControlStrings::Put(int index, std::string_view s)
{
    // A new text may sort elsewhere: the item goes and comes back with its object (and its selection).
    CheckIndex(index, GetCount());
    TObject* object = GetObject(index);
    const bool selected = IsSelected(index);
    const bool current = Current() == index;
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
    Replaced(index, Sorted ? IndexOf(s) : index, selected, current);
}

void TListControlStrings::Replaced(int, int, bool, bool) {}
bool TListControlStrings::IsSelected(int) const { return false; }
int TListControlStrings::Current() const { return -1; }

int TListControlStrings::Add(std::string_view s) { return AddObject(s, nullptr); }

int TListControlStrings::AddObject(std::string_view s, TObject* object)
{
    const std::string text(s);
    if (HWND w = Window()) {
        auto at = static_cast<int>(SendMessage(w, FMessages.AddString, 0, reinterpret_cast<LPARAM>(text.c_str())));
        if (at < 0)
            throw EOutOfResources("Out of system resources");
        SendMessage(w, FMessages.SetItemData, at, reinterpret_cast<LPARAM>(object));
        return at;
    }
    auto& saved = Saved;
    auto at = saved.end();
    if (Sorted)
        at = std::upper_bound(saved.begin(), saved.end(), text, [](const std::string& t, const auto& item) {
            return CompareTextNoCase(t, item.Text) < 0;
        });
    at = saved.insert(at, {text, object, false});
    return static_cast<int>(at - saved.begin());
}

void TListControlStrings::Insert(int index, std::string_view s) { InsertObject(index, s, nullptr); }

void TListControlStrings::InsertObject(int index, std::string_view s, TObject* object)
{
    // A sorted list puts the item where it sorts, as the window does with an added string.
    if (Sorted) {
        AddObject(s, object);
        return;
    }
    const int count = GetCount();
    if (index < 0 || index > count)
        Error("List index out of bounds (%d)", index);
    const std::string text(s);
    if (HWND w = Window()) {
        if (SendMessage(w, FMessages.InsertString, index, reinterpret_cast<LPARAM>(text.c_str())) < 0)
            throw EOutOfResources("Out of system resources");
        SendMessage(w, FMessages.SetItemData, index, reinterpret_cast<LPARAM>(object));
        return;
    }
    Saved.insert(Saved.begin() + index, {text, object, false});
}

void TListControlStrings::Delete(int index)
{
    CheckIndex(index, GetCount());
    if (HWND w = Window())
        SendMessage(w, FMessages.DeleteString, index, 0);
    else
        Saved.erase(Saved.begin() + index);
}

void TListControlStrings::Clear()
{
    if (HWND w = Window())
        SendMessage(w, FMessages.ResetContent, 0, 0);
    Saved.clear();
}

int TListControlStrings::IndexOf(std::string_view s) const
{
    HWND w = Window();
    if (!w)
        return TStrings::IndexOf(s);
    // The window's exact search ignores case, as TStrings does; ask from before the first item.
    const std::string text(s);
    auto found = static_cast<int>(SendMessage(w, FMessages.FindStringExact, static_cast<WPARAM>(-1),
        reinterpret_cast<LPARAM>(text.c_str())));
    return found < 0 ? -1 : found;
}

void TListControlStrings::Exchange(int index1, int index2)
{
    const int count = GetCount();
    CheckIndex(index1, count);
    CheckIndex(index2, count);
    if (index1 == index2)
        return;
    BeginUpdate();
    const std::string s1 = Get(index1), s2 = Get(index2);
    TObject* o1 = GetObject(index1);
    TObject* o2 = GetObject(index2);
    // Sorted lists keep their order; only unsorted lists really swap.
    Delete(index1);
    InsertObject(index1, s2, o2);
    Delete(index2);
    InsertObject(index2, s1, o1);
    EndUpdate();
}

void TListControlStrings::Move(int curIndex, int newIndex)
{
    const int count = GetCount();
    CheckIndex(curIndex, count);
    CheckIndex(newIndex, count);
    if (curIndex == newIndex)
        return;
    BeginUpdate();
    const std::string s = Get(curIndex);
    TObject* o = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
    EndUpdate();
}

void TListControlStrings::SetUpdateState(bool updating)
{
    HWND w = Window();
    if (!w)
        return;
    SendMessage(w, WM_SETREDRAW, !updating, 0);
    if (!updating)
        FControl->Invalidate();
}

std::string TListControlStrings::WindowText(HWND window, int index) const
{
    const LRESULT length = SendMessage(window, FMessages.GetTextLen, index, 0);
    if (length < 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = SendMessage(window, FMessages.GetText, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, got)));
    return text;
}

void TListControlStrings::SaveFrom(HWND window)
{
    const int count = static_cast<int>(SendMessage(window, FMessages.GetCount, 0, 0));
    Saved.clear();
    Saved.reserve(static_cast<size_t>(std::max(0, count)));
    for (int i = 0; i < count; ++i)
        Saved.push_back({WindowText(window, i), reinterpret_cast<TObject*>(SendMessage(window, FMessages.GetItemData, i, 0)),
            IsSelected(i)});
}

void TListControlStrings::RestoreTo(HWND window)
{
    std::vector<TSavedItem> saved = std::move(Saved);
    Saved.clear();
    SendMessage(window, FMessages.InitStorage, saved.size(), 0);
    for (TSavedItem& item : saved) {
        auto at = SendMessage(window, FMessages.AddString, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
        if (at >= 0)
            SendMessage(window, FMessages.SetItemData, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(item.Object));
    }
    // The selection marks are the control's to put back, in the order it now has.
    Saved = std::move(saved);
}

void TListControlStrings::SortSaved()
{
    std::stable_sort(Saved.begin(), Saved.end(),
        [](const TSavedItem& a, const TSavedItem& b) { return CompareTextNoCase(a.Text, b.Text) < 0; });
}
