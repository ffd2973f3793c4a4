// The main-menu bar: a control on a skinned form that shows the top-level items of a main menu (merged with the
// menu of the active MDI child by group index), drawn from the skin's "mainmenubar" record or in a plain look,
// with an overflow marker for items that do not fit and, while an MDI child is maximized, that child's system,
// close, restore and minimize buttons. TspSkinMainMenu is a main menu carrying its own skin for the menus it
// opens.
#pragma once
#include "framework/controls/Menus.h"
#include "platform/win/WinTypes.h"
#include "skin/core/SkinCtrls.h"
#include "skin/core/SkinData.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TFont;
class TTimer;
class TspSkinForm;
class TspSkinMainMenuBar;
class TspDataSkinObject;
class TspDataSkinMainMenuBar;
class TspDataSkinMainMenuBarItem;
class TspDataSkinStdButton;

class TspSkinMainMenu : public TMainMenu {
    using inherited = TMainMenu;

public:
    using TMainMenu::TMainMenu;
    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TspSkinData* FSkinData = nullptr;
};

// What the bar holds: items and buttons, each at ObjectRect in bar coordinates.
class TspMenuBarObject {
public:
    TspMenuBarObject(TspSkinMainMenuBar* bar, const TspDataSkinObject* record);
    virtual ~TspMenuBarObject() = default;

    // Draws the object again on the bar (or the whole bar where items show the bar through).
    virtual void Redraw();
    virtual void Draw(TCanvas* canvas) { (void)canvas; }
    virtual void DblClick() { }
    virtual void MouseDown(int x, int y, TMouseButton button);
    virtual void MouseUp(int x, int y, TMouseButton button);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // A hover transition still has steps to go toward the look the object's state asks for.
    virtual bool CanMorphing() const { return (Active && MorphKf < 1) || (!Active && MorphKf > 0); }
    // Hover transitions are on: the record asks for them and the skin's effects are enabled.
    bool EnableMorphing() const;
    bool MorphRunning() const { return EnableMorphing() && CanMorphing(); }
    // One step of the transition, drawn.
    void DoMorphing();
    // `source` (the normal look) blended toward `target` by the transition's factor.
    void Blend(TBitmap* source, TBitmap* target) const;

    TspSkinMainMenuBar* Bar;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    double MorphKf = 0;
    std::string IDName;
    TRect SkinRect {};
    TRect ActiveSkinRect {};
    TRect DownSkinRect {};
    TRect ObjectRect {};
    // The skin's picture holding the looks; null without one.
    TBitmap* Picture = nullptr;
    bool Down = false;
    bool Active = false;
    bool MouseOver = false;
    bool Enabled = true;
    bool Visible = true;
};

// One of the four buttons of a maximized MDI child.
class TspSkinMainMenuBarButton : public TspMenuBarObject {
    using inherited = TspMenuBarObject;

public:
    TspSkinMainMenuBarButton(TspSkinMainMenuBar* bar, const TspDataSkinStdButton* record, TStdCommand command);

    void Draw(TCanvas* canvas) override;
    void DblClick() override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseUp(int x, int y, TMouseButton button) override;
    void DefaultDraw(TCanvas* canvas);
    // Closes, restores or minimizes the maximized child.
    void DoCommand();

    TStdCommand Command;
    bool Skinned;
};

// One top-level menu item.
class TspSkinMainMenuBarItem : public TspMenuBarObject {
    using inherited = TspMenuBarObject;

public:
    TspSkinMainMenuBarItem(TspSkinMainMenuBar* bar, const TspDataSkinMainMenuBarItem* record, TMenuItem* item);

    // With a frame animation the bar's animation timer steps the frames; otherwise as any object.
    void Redraw() override;
    void Draw(TCanvas* canvas) override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void DefaultDraw(TCanvas* canvas);
    // The record has an animation strip and the skin's effects are on.
    bool EnableAnimation() const;
    // The current frame is one of the strip's (1 to the frame count), shown in place of the active look.
    bool AnimationFrameShown() const;
    // Frame `CurrentFrame` of the strip: stacked downward when the strip is taller than the item, else side by
    // side.
    TRect AnimationFrameRect() const;
    // One frame toward the look the item's state asks for (up while active, down while not); false when the
    // animation has arrived.
    bool StepAnimation();
    // The item's width for its caption in the item font.
    int ItemWidth(TCanvas* canvas) const;
    void SetDown(bool value);
    // The first other item that is active loses the mouse.
    void SearchActive();
    // The first other item that is down is released; true when there was one.
    bool SearchDown();
    // Opens the item's submenu under it.
    void TrackMenu();
    // The item left out while it does not fit, its Enabled kept for when it fits again.
    void SetShown(bool value);

    const TspDataSkinMainMenuBarItem* Record;
    TMenuItem* MenuItem;
    bool Shown = true;
    bool SavedEnabled = true;
    // 0: no frame; 1 to the frame count: that frame of the strip; one past: the animation ended on the active look.
    int CurrentFrame = 0;

private:
    void SetItemFont(TCanvas* canvas) const;
};

using TMainMenuItemClick = std::function<void(const std::string& idName)>;
using TspItemEnterEvent = std::function<void(TMenuItem* item)>;
using TspItemLeaveEvent = TspItemEnterEvent;

class TspSkinMainMenuBar : public TspSkinControl {
    using inherited = TspSkinControl;

public:
    explicit TspSkinMainMenuBar(TComponent* owner);
    ~TspSkinMainMenuBar() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TMainMenu* MainMenu() const { return FMainMenu; }
    // Builds the items anew.
    void SetMainMenu(TMainMenu* value);
    TspSkinForm* SkinForm() const { return FSkinForm; }
    void SetSkinForm(TspSkinForm* value);
    bool UseSkinFont = true;
    TFont* DefItemFont() const { return FDefItemFont.get(); }
    void SetDefItemFont(TFont* value);
    bool ScrollMenu = true;
    bool PopupToUp = false;
    int DefaultWidth = 0;
    int DefaultHeight = 22;
    TMainMenuItemClick OnMainMenuItemClick;
    TspItemEnterEvent OnItemMouseEnter;
    TspItemLeaveEvent OnItemMouseLeave;

    // ---- Building the objects ------------------------------------------------------------------------------------
    void CreateMenu();
    void Merge(TMainMenu* menu);
    void UnMerge();
    void UpDateItems();
    void UpDateEnabledItems();
    // The merge menu, or else the first main menu owned by the active MDI child of the application's main form
    // when the bar's form is an MDI main form.
    TMainMenu* GetChildMainMenu() const;
    void MDIChildMaximize();
    void MDIChildRestore();
    bool Merged() const { return FMerged; }

    // ---- The keyboard (called by the form's menu keys) ------------------------------------------------------------
    // Enters the keyboard mode: the active item, or else the first one that can be reached, is highlighted, and
    // the form takes the application's keys.
    void MenuEnter();
    // A submenu closed by key while the keyboard mode goes on: its item comes up highlighted.
    void MenuClose();
    // Leaves the menu mode: the pressed or highlighted item comes up plain.
    void MenuExit();
    // The highlight (and an open submenu with it) moves to the next or previous item that is shown and enabled,
    // wrapping around.
    void NextMainMenuItem();
    void PriorMainMenuItem();
    // Return (or Down): the highlighted item, or a pressed leaf, is clicked; true when there was one.
    bool CheckReturnKey();
    // The first shown, enabled item whose caption has `key` as its accelerator is highlighted and, unless it
    // would only move an open submenu, pressed; true when there was one. Nothing while the form is hidden.
    bool FindHotKeyItem(WORD key);

    // ---- Layout, painting and the mouse ----------------------------------------------------------------------------
    void CalcRects();
    void DrawSkinObject(TspMenuBarObject* object);
    void TestActive(int x, int y);
    void StartMorphTimer();
    // Steps every object whose hover transition runs; stops when none does.
    void TestMorph();
    TTimer* MorphTimer() const { return FMorphTimer; }
    // Starts the frame animations of the items at `interval` ms.
    void StartAnimateTimer(int interval);
    // Steps every animated item one frame; stops when none moved.
    void TestAnimate();
    TTimer* AnimateTimer() const { return FAnimateTimer; }
    // Lists the items left out for want of room beside the overflow marker.
    void TrackScrollMenu();
    int ObjectCount() const { return static_cast<int>(Objects.size()); }
    TspMenuBarObject* ObjectAt(int index) const { return Objects[size_t(index)].get(); }
    int ButtonCount = 0;
    int ActiveObjectIndex = -1;
    int OldActiveObjectIndex = -1;
    int PressedObjectIndex = -1;
    bool MenuMode = false;
    TRect ItemsArea {};
    bool Overflow = false;
    bool MarkerActive = false;
    TRect MarkerRect() const;

    // ---- The skin ------------------------------------------------------------------------------------------------
    bool Skinned() const { return FRecord != nullptr; }
    const TspDataSkinMainMenuBar* Record() const { return FRecord; }
    TBitmap* Picture() const { return FPicture; }
    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class TspSkinMainMenuBarItem;
    void PaintMenuBar(TBitmap* image);
    void ClearObjects();
    void AddButtons();
    void DeleteButtons();
    void CheckButtons(const TspSkinForm* child);
    void ResetIndexes();
    void TestMouse();
    // The items the keyboard can reach: shown and enabled, in bar order.
    std::vector<TspSkinMainMenuBarItem*> ReachableItems() const;
    // Moves the highlight one reachable item forward (+1) or back (-1), wrapping around.
    void StepMainMenuItem(int direction);
    // Objects taken off the bar while one of them may still be running a handler; freed at the next input.
    void Retire(std::vector<std::unique_ptr<TspMenuBarObject>>::iterator first,
        std::vector<std::unique_ptr<TspMenuBarObject>>::iterator last);

    std::vector<std::unique_ptr<TspMenuBarObject>> Objects;
    std::vector<std::unique_ptr<TspMenuBarObject>> Retired;
    TMainMenu* FMainMenu = nullptr;
    TMainMenu* FMergeMenu = nullptr;
    TspSkinForm* FSkinForm = nullptr;
    std::unique_ptr<TFont> FDefItemFont;
    bool FMDIChildMaximized = false;
    bool FMerged = false;
    TTimer* FMouseTimer = nullptr;
    TTimer* FMorphTimer = nullptr;
    TTimer* FAnimateTimer = nullptr;
    const TspDataSkinMainMenuBar* FRecord = nullptr;
    TBitmap* FPicture = nullptr;
};
