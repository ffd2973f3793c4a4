// The menu model: TMenuItem, TMenu, TMainMenu, TPopupMenu, and the shortcut and accelerator routines.
#pragma once
#include "framework/controls/ActnList.h"
#include "framework/controls/ControlsEvents.h"
#include "framework/core/TComponent.h"
#include "framework/graphics/Forward.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TMenu;
class TMenuItem;
class TCustomImageList;

// A shortcut from a virtual key and the modifiers among `shift` (ssShift, ssCtrl, ssAlt).
TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Ctrl+S", "Shift+Del", "F2", "Ctrl+Alt+A"; "" for scNone.
std::string ShortCutToText(TShortCut shortCut);
// The reverse of ShortCutToText, case-insensitive; scNone for text it does not know.
TShortCut TextToShortCut(std::string_view text);
// The modifiers of a key message: Alt from bit 29 of its key data, Shift and Ctrl from the key state.
TShiftState KeyDataToShiftState(uint32_t keyData);
// The modifier and mouse-button keys that are down as of the last message.
TShiftState KeyboardStateToShiftState();
// The accelerator character of a caption (the letter after a single '&'), or 0.
char32_t GetHotkey(std::string_view text);
// The caption without its '&' marks ("&&" stays as one '&').
std::string StripHotkey(std::string_view text);
// True when `text` has the accelerator `vk` (a letter or digit key, compared without case).
bool IsAccel(uint32_t vk, std::string_view text);

// The caption that marks a separator line.
inline constexpr const char* cLineCaption = "-";

enum TMenuItemAutoFlag : uint8_t { maAutomatic, maManual, maParent };
enum TFindItemKind : uint8_t { fkCommand, fkHandle, fkShortCut };

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, const TRect& rect, bool selected)>;
// Source is the item that changed (null: the whole menu); rebuild says whether its structure changed.
using TMenuChangeEvent = std::function<void(TObject* sender, TMenuItem* source, bool rebuild)>;

// One item of a menu, and the list of its sub-items. A sub-item is deleted with its parent item; deleting
// a sub-item first takes it out of its parent.
class TMenuItem : public TComponent {
    using inherited = TComponent;

public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(std::string_view value);
    bool Checked() const { return FChecked; }
    // Checking a RadioItem unchecks the other radio items of its GroupIndex under the same parent.
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    uint8_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(uint8_t value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    const std::string& Hint() const { return FHint; }
    void SetHint(std::string_view value) { FHint = value; }
    // The item's own glyph, made on first use.
    TBitmap* Bitmap();
    bool HasBitmap() const { return FBitmap != nullptr; }
    TBasicAction* Action() const;
    // Links the item to an action, which then gives it its caption, checks, enabling, hint, image,
    // shortcut and visibility, and runs when the item is clicked.
    void SetAction(TBasicAction* value);
    TMenuItemAutoFlag AutoHotkeys() const { return FAutoHotkeys; }
    void SetAutoHotkeys(TMenuItemAutoFlag value) { FAutoHotkeys = value; }
    TMenuItemAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuItemAutoFlag value) { FAutoLineReduction = value; }

    // The sub-items.
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const;
    // Appends `item`, taking it from its previous parent. EMenuError when it would be its own ancestor.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the sub-item at `index` out without deleting it.
    void Delete(int index);
    void Remove(TMenuItem* item);
    // Deletes every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // The first sub-item whose caption without accelerator marks is `caption` (case-insensitive).
    TMenuItem* Find(std::string_view caption) const;
    int MenuIndex() const;
    void SetMenuIndex(int value);
    TMenuItem* Parent() const { return FParent; }
    // The menu at the root of the item's tree, or null.
    TMenu* GetParentMenu() const;
    // The number DispatchCommand finds the item by; unique among the live items.
    uint16_t Command() const { return FCommand; }
    bool IsLine() const { return FCaption == cLineCaption; }
    // Hides separators that lead, trail or double up (with AutoLineReduction in force); true when one changed.
    bool RethinkLines();
    // Lets the linked action update the item.
    void InitiateAction();

    // Runs the item: toggles an AutoCheck item, then fires OnClick, or executes the action when OnClick
    // is unassigned. Nothing happens for a disabled item.
    virtual void Click();

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;

    // What a class that shows menus keeps about the item from one showing to the next (a skinned menu keeps
    // the item's text width and look there, so an opening finds them without a look-up). The item only owns it.
    // `Owner` is the maker's tag, so a class finds only memos of its own.
    struct TShowMemo {
        explicit TShowMemo(const void* owner)
            : Owner(owner)
        {
        }
        virtual ~TShowMemo() = default;
        const void* const Owner;
    };
    TShowMemo* ShowMemo() const { return FShowMemo.get(); }
    void SetShowMemo(std::unique_ptr<TShowMemo> value) { FShowMemo = std::move(value); }

protected:
    // Tells the parent menu that the item (rebuild: the structure) changed.
    void MenuChanged(bool rebuild);

private:
    friend class TMenu;
    friend class TMenuActionLink;
    void UncheckRadioSiblings();

    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    uint8_t FGroupIndex = 0;
    TShortCut FShortCut = scNone;
    int FImageIndex = -1;
    std::string FHint;
    std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TActionLink> FActionLink;
    TMenuItemAutoFlag FAutoHotkeys = maParent;
    TMenuItemAutoFlag FAutoLineReduction = maParent;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on the root item of a menu
    uint16_t FCommand = 0;
    std::unique_ptr<TShowMemo> FShowMemo;
};

// Raised for a menu item inserted into its own sub-tree or twice.
class EMenuError : public Exception {
public:
    using Exception::Exception;
};

// A tree of menu items with its images. Painting and popping up are the business of the classes that
// show menus; this is the model they share.
class TMenu : public TComponent {
    using inherited = TComponent;

public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its sub-items are the menu.
    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value) { FOwnerDraw = value; }
    TMenuItemAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuItemAutoFlag value) { FAutoLineReduction = value; }
    // Whether separators of the items are reduced automatically (the menu's flag decides for maParent).
    bool GetAutoLineReduction() const { return FAutoLineReduction == maAutomatic; }
    // The window that shows the menu (a form's), null while none does.
    HWND WindowHandle() const { return FWindowHandle; }
    void SetWindowHandle(HWND value) { FWindowHandle = value; }

    // Clicks the item with that Command; false when there is none.
    bool DispatchCommand(uint16_t command);
    // The first item, depth first, whose command or shortcut is `value`.
    TMenuItem* FindItem(int value, TFindItemKind kind) const;
    // Clicks the enabled item whose ShortCut is the key of `message` (its parents enabled too); true when
    // one ran.
    virtual bool IsShortCut(TWMKey& message);

    TMenuChangeEvent OnChange;

protected:
    friend class TMenuItem;
    virtual void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    TMenuItemAutoFlag FAutoLineReduction = maAutomatic;
    HWND FWindowHandle = nullptr;
};

// The menu bar of a form.
class TMainMenu : public TMenu {
    using inherited = TMenu;

public:
    using TMenu::TMenu;

    bool AutoMerge() const { return FAutoMerge; }
    void SetAutoMerge(bool value) { FAutoMerge = value; }

private:
    bool FAutoMerge = false;
};

enum TPopupAlignment : uint8_t { paLeft, paRight, paCenter };

// A context menu. Popup records where and for whom it opens, fires OnPopup and shows the visible items in the
// window layer's menu loop; skinned menus override it to draw the items themselves.
class TPopupMenu : public TMenu {
    using inherited = TMenu;

public:
    explicit TPopupMenu(TComponent* owner);

    // Screen coordinates.
    virtual void Popup(int x, int y);
    TPoint PopupPoint() const { return FPopupPoint; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment value) { FAlignment = value; }

    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup(TObject* sender);
    void Notification(TComponent* component, TOperation operation) override;
    // For menus that show themselves another way (an override of Popup).
    void SetPopupPoint(TPoint value) { FPopupPoint = value; }

private:
    TPoint FPopupPoint { -1, -1 };
    TComponent* FPopupComponent = nullptr;
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
};
