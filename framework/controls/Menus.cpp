#include "framework/controls/Menus.h"

#include "framework/controls/ImgList.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/controls/TApplication.h"
#include "platform/win/Menus.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cctype>
#include <set>

// --- Shortcuts and accelerators -------------------------------------------------------------------------

namespace {

struct TKeyName {
    uint16_t Key;
    const char* Name;
};

const TKeyName kKeyNames[] = {
    { VK_BACK, "BkSp" },
    { VK_TAB, "Tab" },
    { VK_ESCAPE, "Esc" },
    { VK_RETURN, "Enter" },
    { VK_SPACE, "Space" },
    { VK_PRIOR, "PgUp" },
    { VK_NEXT, "PgDn" },
    { VK_END, "End" },
    { VK_HOME, "Home" },
    { VK_LEFT, "Left" },
    { VK_UP, "Up" },
    { VK_RIGHT, "Right" },
    { VK_DOWN, "Down" },
    { VK_INSERT, "Ins" },
    { VK_DELETE, "Del" },
    { VK_MULTIPLY, "Num *" },
    { VK_ADD, "Num +" },
    { VK_SUBTRACT, "Num -" },
    { VK_DECIMAL, "Num Del" },
    { VK_DIVIDE, "Num /" },
    { VK_OEM_1, ";" },
    { VK_OEM_PLUS, "=" },
    { VK_OEM_COMMA, "," },
    { VK_OEM_MINUS, "-" },
    { VK_OEM_PERIOD, "." },
    { VK_OEM_2, "/" },
    { VK_OEM_3, "`" },
    { VK_OEM_4, "[" },
    { VK_OEM_5, "\\" },
    { VK_OEM_6, "]" },
    { VK_OEM_7, "'" },
};

std::string KeyName(uint16_t key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F1 + 23)
        return "F" + IntToStr(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return "Num " + IntToStr(key - VK_NUMPAD0);
    for (const TKeyName& k : kKeyNames)
        if (k.Key == key)
            return k.Name;
    return "";
}

// The modifier prefixes in the order ShortCutToText writes them.
struct TModifierName {
    TShortCut Flag;
    const char* Name;
};
const TModifierName kModifiers[] = { { scShift, "Shift+" }, { scCtrl, "Ctrl+" }, { scAlt, "Alt+" } };

std::set<uint16_t>& UsedCommands()
{
    static std::set<uint16_t> used;
    return used;
}

// Commands run from 1 to 0xFFFF and are reused once their item is gone.
uint16_t UniqueCommand()
{
    static uint16_t next = 0;
    std::set<uint16_t>& used = UsedCommands();
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        next = next == 0xFFFF ? 1 : uint16_t(next + 1);
        if (used.insert(next).second)
            return next;
    }
    throw EMenuError("Too many menu items");
}

} // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift)
{
    if ((key & 0xFF00) != 0)
        return scNone;
    TShortCut result = key;
    if (shift.Contains(ssShift))
        result |= scShift;
    if (shift.Contains(ssCtrl))
        result |= scCtrl;
    if (shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift)
{
    key = shortCut & 0x00FF;
    shift = TShiftState {};
    if (shortCut & scShift)
        shift.Include(ssShift);
    if (shortCut & scCtrl)
        shift.Include(ssCtrl);
    if (shortCut & scAlt)
        shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut)
{
    const std::string name = KeyName(shortCut & 0x00FF);
    if (name.empty())
        return "";
    std::string result;
    for (const TModifierName& m : kModifiers)
        if (shortCut & m.Flag)
            result += m.Name;
    return result + name;
}

TShortCut TextToShortCut(std::string_view text)
{
    TShortCut modifiers = 0;
    std::string_view rest = text;
    for (bool found = true; found;) {
        found = false;
        for (const TModifierName& m : kModifiers) {
            const size_t n = std::char_traits<char>::length(m.Name);
            if (rest.size() > n && SameText(rest.substr(0, n), m.Name)) {
                modifiers |= m.Flag;
                rest.remove_prefix(n);
                found = true;
            }
        }
    }
    for (uint16_t key = 1; key < 0x100; ++key) {
        const std::string name = KeyName(key);
        if (!name.empty() && SameText(name, rest))
            return TShortCut(key | modifiers);
    }
    return scNone;
}

TShiftState KeyDataToShiftState(uint32_t keyData)
{
    TShiftState result;
    if (GetKeyState(VK_SHIFT) < 0)
        result.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        result.Include(ssCtrl);
    if (keyData & (uint32_t(1) << 29))
        result.Include(ssAlt);
    return result;
}

TShiftState KeyboardStateToShiftState()
{
    TShiftState result;
    const std::pair<int, TShiftStateItem> keys[] = { { VK_SHIFT, ssShift }, { VK_CONTROL, ssCtrl }, { VK_MENU, ssAlt },
        { VK_LBUTTON, ssLeft }, { VK_RBUTTON, ssRight }, { VK_MBUTTON, ssMiddle } };
    for (const auto& [key, item] : keys)
        if (GetKeyState(key) < 0)
            result.Include(item);
    return result;
}

char32_t GetHotkey(std::string_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text[i + 1]);
        return c < 0x80 ? char32_t(std::toupper(c)) : char32_t(c);
    }
    return 0;
}

std::string StripHotkey(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                result += '&';
            ++i;
            if (i < text.size() && text[i] != '&')
                result += text[i];
            continue;
        }
        result += text[i];
    }
    return result;
}

bool IsAccel(uint32_t vk, std::string_view text)
{
    const char32_t hotkey = GetHotkey(text);
    if (hotkey == 0 || vk == 0)
        return false;
    const uint32_t upper = vk < 0x80 ? uint32_t(std::toupper(int(vk))) : vk;
    return hotkey == upper;
}

// --- TMenuActionLink -----------------------------------------------------------------------------------

// Makes a menu item follow its action.
class TMenuActionLink final : public TActionLink {
    using inherited = TActionLink;

public:
    explicit TMenuActionLink(TMenuItem* client)
        : TActionLink(client)
        , FItem(client)
    {
    }

    void SetCaption(const std::string& value) override { FItem->SetCaption(value); }
    void SetChecked(bool value) override { FItem->SetChecked(value); }
    void SetEnabled(bool value) override { FItem->SetEnabled(value); }
    void SetHint(const std::string& value) override { FItem->SetHint(value); }
    void SetImageIndex(int value) override { FItem->SetImageIndex(value); }
    void SetShortCut(TShortCut value) override { FItem->SetShortCut(value); }
    void SetVisible(bool value) override { FItem->SetVisible(value); }
    void SetAutoCheck(bool value) override { FItem->SetAutoCheck(value); }
    void SetGroupIndex(int value) override { FItem->SetGroupIndex(uint8_t(value)); }

private:
    TMenuItem* FItem;
};

// --- TMenuItem -----------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner)
    : TComponent(owner)
    , FCommand(UniqueCommand())
{
}

TMenuItem::~TMenuItem()
{
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty()) {
        TMenuItem* child = FItems.back();
        child->FParent = nullptr;
        FItems.pop_back();
        delete child;
    }
    FActionLink.reset();
    UsedCommands().erase(FCommand);
}

void TMenuItem::SetCaption(std::string_view value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    if (value && FRadioItem)
        UncheckRadioSiblings();
    MenuChanged(false);
}

void TMenuItem::UncheckRadioSiblings()
{
    if (!FParent)
        return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex && sibling->FChecked) {
            sibling->FChecked = false;
            sibling->MenuChanged(false);
        }
}

void TMenuItem::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    MenuChanged(true);
}

void TMenuItem::SetDefault(bool value)
{
    if (value == FDefault)
        return;
    // One default item per level.
    if (value && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this)
                sibling->FDefault = false;
    FDefault = value;
    MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool value)
{
    if (value == FRadioItem)
        return;
    FRadioItem = value;
    if (value && FChecked)
        UncheckRadioSiblings();
    MenuChanged(true);
}

void TMenuItem::SetGroupIndex(uint8_t value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    if (FRadioItem && FChecked)
        UncheckRadioSiblings();
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut value)
{
    if (value == FShortCut)
        return;
    FShortCut = value;
    MenuChanged(true);
}

void TMenuItem::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    MenuChanged(true);
}

TBitmap* TMenuItem::Bitmap()
{
    if (!FBitmap)
        FBitmap = std::make_unique<TBitmap>();
    return FBitmap.get();
}

TBasicAction* TMenuItem::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* value)
{
    if (!value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = std::make_unique<TMenuActionLink>(this);
    FActionLink->SetAction(value);
    if (auto* action = dynamic_cast<TCustomAction*>(value)) {
        SetCaption(action->Caption());
        SetChecked(action->Checked());
        SetEnabled(action->Enabled());
        SetHint(action->Hint());
        SetImageIndex(action->ImageIndex());
        SetShortCut(action->ShortCut());
        SetVisible(action->Visible());
        SetAutoCheck(action->AutoCheck());
        SetGroupIndex(uint8_t(action->GroupIndex()));
    }
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EMenuError(Format("List index out of bounds (%d)", index));
    return FItems[size_t(index)];
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item)
        return;
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == item)
            throw EMenuError("Menu inserted twice");
    if (item->FParent)
        item->FParent->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    if (item->FRadioItem && item->FChecked)
        item->UncheckRadioSiblings();
    MenuChanged(true);
}

void TMenuItem::Delete(int index)
{
    TMenuItem* item = Items(index);
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item)
{
    const int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(std::string_view caption) const
{
    const std::string wanted = StripHotkey(caption);
    for (TMenuItem* item : FItems)
        if (SameText(StripHotkey(item->FCaption), wanted))
            return item;
    return nullptr;
}

int TMenuItem::MenuIndex() const
{
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int value)
{
    if (!FParent)
        return;
    TMenuItem* parent = FParent;
    const int count = parent->Count();
    value = std::clamp(value, 0, count - 1);
    if (value == MenuIndex())
        return;
    parent->Remove(this);
    parent->Insert(value, this);
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

bool TMenuItem::RethinkLines()
{
    const TMenu* menu = GetParentMenu();
    // maParent asks the parent item, and at the root the menu.
    TMenuItemAutoFlag flag = FAutoLineReduction;
    for (const TMenuItem* p = FParent; flag == maParent;) {
        if (p) {
            flag = p->FAutoLineReduction;
            p = p->FParent;
        } else {
            flag = menu && menu->GetAutoLineReduction() ? maAutomatic : maManual;
        }
    }
    if (flag != maAutomatic)
        return false;
    // A line is shown only between two visible items that are not lines.
    bool changed = false;
    bool seenItem = false;
    TMenuItem* pending = nullptr;
    auto apply = [&](TMenuItem* line, bool show) {
        if (line->FVisible != show) {
            line->FVisible = show;
            changed = true;
        }
    };
    for (TMenuItem* item : FItems) {
        if (item->IsLine()) {
            if (seenItem && !pending)
                pending = item;
            else
                apply(item, false);
        } else if (item->FVisible) {
            if (pending) {
                apply(pending, true);
                pending = nullptr;
            }
            seenItem = true;
        }
    }
    if (pending)
        apply(pending, false);
    if (changed)
        MenuChanged(true);
    return changed;
}

void TMenuItem::InitiateAction()
{
    if (FActionLink)
        FActionLink->Update();
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (FAutoCheck && !FActionLink)
        SetChecked(!FChecked);
    if (OnClick) {
        TNotifyEvent handler = OnClick;
        handler(this);
    } else if (FActionLink) {
        FActionLink->Execute(this);
    }
}

void TMenuItem::MenuChanged(bool rebuild)
{
    if (ComponentState().Contains(csDestroying))
        return;
    TMenuItem* root = this;
    while (root->FParent)
        root = root->FParent;
    if (root->FMenu)
        root->FMenu->MenuChanged(root->FMenu, this, rebuild);
}

// --- TMenu ---------------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner)
    : TComponent(owner)
    , FItems(new TMenuItem(this))
{
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    // The root item goes now, while this menu is still whole; its items stop reporting to it first.
    FItems->FMenu = nullptr;
    delete FItems;
}

void TMenu::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages)
        FImages->FreeNotification(this);
    MenuChanged(this, nullptr, false);
}

bool TMenu::DispatchCommand(uint16_t command)
{
    TMenuItem* item = FindItem(command, fkCommand);
    if (!item)
        return false;
    item->Click();
    return true;
}

namespace {

TMenuItem* FindIn(TMenuItem* item, int value, TFindItemKind kind)
{
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        const bool match = (kind == fkCommand && child->Command() == value)
            || (kind == fkShortCut && child->ShortCut() != scNone && child->ShortCut() == value);
        if (match)
            return child;
        if (TMenuItem* found = FindIn(child, value, kind))
            return found;
    }
    return nullptr;
}

} // namespace

TMenuItem* TMenu::FindItem(int value, TFindItemKind kind) const
{
    if (kind == fkHandle)
        return nullptr; // items have no system menu handles here
    return FindIn(FItems, value, kind);
}

bool TMenu::IsShortCut(TWMKey& message)
{
    const TShortCut shortCut = ::ShortCut(message.CharCode, KeyDataToShiftState(message.KeyData));
    if (shortCut == scNone)
        return false;
    TMenuItem* item = FindItem(shortCut, fkShortCut);
    if (!item)
        return false;
    // The chain from the top down gets to update itself from its actions first, as when opening it.
    std::vector<TMenuItem*> chain;
    for (TMenuItem* p = item; p && p != FItems; p = p->Parent())
        chain.insert(chain.begin(), p);
    for (TMenuItem* p : chain) {
        p->InitiateAction();
        if (!p->Enabled())
            return false;
    }
    item->Click();
    return true;
}

void TMenu::MenuChanged(TObject* sender, TMenuItem* source, bool rebuild)
{
    if (ComponentState().Contains(csDestroying))
        return;
    if (OnChange)
        OnChange(sender, source, rebuild);
}

void TMenu::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FImages)
        FImages = nullptr;
}

// --- TPopupMenu ----------------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner)
    : TMenu(owner)
{
}

namespace {

// The visible sub-items of `item` as a new popup menu (the caller destroys it); items carry their Command.
HMENU BuildPopupHandle(const TMenuItem* item, int depth = 0)
{
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < item->Count() && depth < 32; ++i) {
        const TMenuItem* sub = item->Items(i);
        if (!sub->Visible())
            continue;
        if (sub->IsLine()) {
            AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::string text = sub->Caption();
        if (sub->ShortCut() != scNone)
            text += "\t" + ShortCutToText(sub->ShortCut());
        UINT flags = MF_STRING | (sub->Enabled() ? MF_ENABLED : MF_GRAYED) | (sub->Checked() ? MF_CHECKED : 0)
            | (sub->Default() ? MF_DEFAULT : 0);
        uintptr_t id = sub->Command();
        if (sub->Count() > 0) {
            flags |= MF_POPUP;
            id = reinterpret_cast<uintptr_t>(BuildPopupHandle(sub, depth + 1));
        }
        AppendMenu(menu, flags, id, text.c_str());
        if (sub->RadioItem()) {
            MENUITEMINFO info {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_RADIOCHECK;
            SetMenuItemInfo(menu, UINT(GetMenuItemCount(menu) - 1), TRUE, &info);
        }
    }
    return menu;
}

} // namespace

void TPopupMenu::Popup(int x, int y)
{
    FPopupPoint = TPoint { x, y };
    DoPopup(this);
    for (int i = 0; i < Items()->Count(); ++i)
        Items()->Items(i)->InitiateAction();
    // The menu's notifications go to the application's window, or to the active window without one.
    HWND owner = Application && Application->Handle() ? Application->Handle() : GetActiveWindow();
    if (!owner)
        return;
    static constexpr UINT kAlign[] = { TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN };
    HMENU menu = BuildPopupHandle(Items());
    const UINT command
        = UINT(TrackPopupMenu(menu, kAlign[FAlignment] | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    // The choice runs after the menu has gone, as a command would.
    if (command)
        DispatchCommand(uint16_t(command));
}

void TPopupMenu::DoPopup(TObject* sender)
{
    if (OnPopup)
        OnPopup(sender);
}

void TPopupMenu::SetPopupComponent(TComponent* value)
{
    if (value == FPopupComponent)
        return;
    if (FPopupComponent)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = value;
    if (FPopupComponent)
        FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FPopupComponent)
        FPopupComponent = nullptr;
}
