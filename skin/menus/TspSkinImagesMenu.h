// TspSkinImagesMenu, a drop-down grid of pictures of which the user chooses one, with its items and its popup
// window.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "framework/core/TCollection.h"
#include "framework/core/TComponent.h"
#include "skin/controls/SkinButtonLinks.h"
#include "skin/core/Forward.h"

#include <functional>
#include <memory>
#include <string>

class TBitmap;
class TCustomImageList;
class TspSkinHint;
class TspSkinImagesMenu;

// One cell of the grid (an image of the menu's Images), or a full-width button row with a caption.
class TspImagesMenuItem : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit TspImagesMenuItem(TCollection* collection);

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int value) { FImageIndex = value; }
    const std::string& Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& value) { FCaption = value; }
    bool Button = false;
    std::string Hint;
    // Fired when the item is chosen; the sender is the menu.
    TNotifyEvent OnClick;
    // Copies the picture, caption, button flag and hint of another item (not OnClick).
    void Assign(TPersistent* source) override;

    // The cell in window coordinates, set by the layout.
    TRect ItemRect;

private:
    int FImageIndex = -1;
    std::string FCaption;
};

class TspImagesMenuItems : public TCollection {
    using inherited = TCollection;

public:
    explicit TspImagesMenuItems(TspSkinImagesMenu* menu);
    TspImagesMenuItem* Items(int index) const { return static_cast<TspImagesMenuItem*>(GetItem(index)); }
    TspImagesMenuItem* Add() { return static_cast<TspImagesMenuItem*>(TCollection::Add()); }
    TPersistent* GetOwner() const override;

private:
    TspSkinImagesMenu* FMenu;
};

class TspSkinImagesMenuPopupWindow;

// Opens one popup window beside a rectangle; the window captures the mouse and replaces the application's
// message handler while it is open, so that any click outside, any key and any focus or window change closes
// it without a choice.
class TspSkinImagesMenu : public TComponent, public TspImagesMenuLink {
    using inherited = TComponent;

public:
    explicit TspSkinImagesMenu(TComponent* owner);
    ~TspSkinImagesMenu() override;

    TCustomImageList* Images() const override { return FImages; }
    void SetImages(TCustomImageList* value);
    TspImagesMenuItems* ImagesItems() const { return FImagesItems.get(); }
    // Copies the given items.
    void SetImagesItems(TspImagesMenuItems* value);
    int ItemIndex = -1;
    int ColumnsCount() const { return FColumnsCount; }
    // Values outside 1..50 are ignored.
    void SetColumnsCount(int value);
    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    TspSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TspSkinHint* value);
    bool ShowHints = true;
    bool ShowSelectedItem = true;
    bool UseSkinFont = true;
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    uint8_t AlphaBlendValue = 200;
    TNotifyEvent OnItemClick;
    TNotifyEvent OnChange;
    TNotifyEvent OnMenuPopup;
    TNotifyEvent OnMenuClose;

    // Opens the grid below (or above) the screen rectangle; an open grid first closes without a choice. Opens
    // nothing without images.
    void PopupFromRect(const TRect& rect) override;
    void Popup(int x, int y);
    // Closes an open grid without a choice.
    void Hide();
    // Called by the window as it closes: the window goes, then the events fire.
    void ProcessEvents(bool chosen);
    TspImagesMenuItem* GetSelectedItem() const;
    TspSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow.get(); }

    // TspImagesMenuLink.
    bool GetSelectedItem(int& imageIndex, std::string& caption) const override;
    void SetChangeReceiver(std::function<void()> receiver) override { FChangeReceiver = std::move(receiver); }
    void SetCloseReceiver(std::function<void()> receiver) override { FCloseReceiver = std::move(receiver); }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TspImagesMenuItems> FImagesItems;
    int FColumnsCount = 1;
    TspSkinData* FSkinData = nullptr;
    TspSkinHint* FSkinHint = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TspSkinImagesMenuPopupWindow> FPopupWindow;
    // A window that closed from inside its own handlers; freed at the next opening or with the menu.
    std::unique_ptr<TspSkinImagesMenuPopupWindow> FClosedWindow;
    int FOpeningIndex = -1;
    std::function<void()> FChangeReceiver;
    std::function<void()> FCloseReceiver;
};

// The grid's window: never activated, drawn double-buffered from the skin's POPUPWINDOW picture and
// "menuitembutton" (else "resizebutton") record, or in a default look.
class TspSkinImagesMenuPopupWindow final : public TCustomControl {
    using inherited = TCustomControl;

public:
    TspSkinImagesMenuPopupWindow(TComponent* owner, TspSkinImagesMenu* menu);
    ~TspSkinImagesMenuPopupWindow() override;

    void Show(const TRect& rect);
    // Hides the window and hands over to the menu (which frees it): nothing may touch the window afterwards.
    void Hide(bool chosen);
    void CreateMenu();
    void AssignItemRects();
    TRect GetItemRect(int index) const;
    int GetItemFromPoint(TPoint p) const;
    void TestActive(int x, int y);
    void HookApp();
    void UnHookApp();
    void NewAppMessage(MSG& message, bool& handled);

    bool SkinLook = false;
    int HotIndex = -1;
    int OldHotIndex = -1;
    bool PressStarted = false;
    bool PressedOnItem = false;
    TRect NewItemsRect;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    void DrawActiveItem(TCanvas* canvas, const TRect& cell, bool down);
    void DrawItemCaption(TCanvas* canvas, const std::string& text, TRect r, bool down, bool active);
    void HideItemHint();

    TspSkinImagesMenu* FMenu;
    TspDataSkinPopupWindow* FRecord = nullptr;
    TBitmap* FWindowPicture = nullptr;
    TBitmap* FMaskPicture = nullptr;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    bool FHooked = false;
    std::function<void(MSG&, bool&)> FSavedAppMessage;
};
