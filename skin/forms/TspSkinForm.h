// TspSkinForm, the component that skins the form owning it. It replaces the form's window procedure and works
// in frame mode (the skin draws frame, caption and caption buttons around the form's own client area) or in
// picture mode (the skin's picture is the whole window, cut to the skin's mask, with the skin's objects as its
// buttons and displays and the form's controls placed in the skin's named areas).
#pragma once
#include "framework/controls/Forms.h"
#include "framework/core/Exception.h"
#include "framework/core/TComponent.h"
#include "framework/core/TSet.h"
#include "framework/graphics/Graphics.h"
#include "skin/forms/SkinObjectHost.h"
#include "skin/menus/SkinMenuHost.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TIcon;
class TPopupMenu;
class TspSkinPopupMenu;
class TspSkinStatusBar;
class TspTrayIcon;
class TTimer;
class TspSkinMenu;

// Raised when an object is taken as a class it is not of ("Invalid class typecast"): a skinning component
// whose owner is not a form.
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};
class TspActiveSkinObject;
class TspSkinCaptionObject;
class TspSkinMDITabsBar;
class TspSkinMainMenuBar;
class TspSkinHint;
class TspSkinMainMenuItem;
class TMainMenu;
class TMenuItem;

// The caption buttons and system-menu commands a skinned form offers.
// Scoped, because the framework's own border icons have the first three names.
enum class TspBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TspBorderIcons = TSet<TspBorderIcon, 4>;

using TspMouseUpEvent
    = std::function<void(const std::string& idName, int x, int y, const TRect& objectRect, TMouseButton button)>;
using TMouseDownEvent = TspMouseUpEvent;
// Named apart from the framework's mouse-move event, which has another signature.
using TspMouseMoveEvent = std::function<void(const std::string& idName, int x, int y, const TRect& objectRect)>;
using TMouseEnterEvent = std::function<void(const std::string& idName)>;
using TMouseLeaveEvent = TMouseEnterEvent;
using TspActivateCustomObjectEvent = std::function<void(const std::string& idName, bool& objectVisible)>;
using TPaintEvent = std::function<void(const std::string& idName, TCanvas* canvas, const TRect& objectRect)>;
using TSwitchChangeStateEvent = std::function<void(const std::string& idName, TSwitchState state)>;
using TTrackBarChangeValueEvent = std::function<void(const std::string& idName, int value)>;
using TFrameRegulatorChangeValueEvent = TTrackBarChangeValueEvent;
using TChangeClientRectEvent = std::function<void(const TRect& newClientRect)>;
using TspCaptionPaintEvent = std::function<void(TCanvas* canvas, const TRect& rect, bool active)>;

// Where a form first shown in the normal state is placed: where it is, centred on its monitor, or centred in
// the monitor's work area.
enum TspPositionInMonitor : uint8_t { sppDefault, sppScreenCenter, sppDesktopCenter };

class TspSkinForm : public TComponent, public TspSkinObjectHost, public TspSkinMenuHost {
    using inherited = TComponent;

public:
    // The owner must be a form (EInvalidCast otherwise). Installs the window procedure and recreates the
    // form's window so that the procedure sees its creation.
    explicit TspSkinForm(TComponent* owner);
    // Gives the form its own window procedure back first.
    ~TspSkinForm() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    bool SupportNCArea() const override { return FSupportNCArea; }
    void SetSupportNCArea(bool value) { FSupportNCArea = value; }
    TspBorderIcons BorderIcons() const { return FBorderIcons; }
    // Stores the set; the caption buttons follow it and the frame repaints.
    void SetBorderIcons(TspBorderIcons value);
    bool Sizeable = true;
    bool DraggAble = false;
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
    int ClientWidth = 0;
    int ClientHeight = 0;
    bool HideCaptionButtons = false;
    bool UseDefaultObjectHint = true;
    // Hints of the skin objects are shown through SkinHint while the mouse is over them.
    bool ShowObjectHint = false;
    TspSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TspSkinHint* value);
    bool UseSkinCursors = false;
    bool UseFormCursorInNCArea = false;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    // Translucency applied at once to a shown form (WS_EX_LAYERED with the opacity, or opaque again).
    void SetAlphaBlend(bool value);
    void SetAlphaBlendValue(uint8_t value);
    bool FShowIcon = false;
    void SetShowIcon(bool value);
    TFont* DefCaptionFont() const override { return FDefCaptionFont.get(); }
    // The form's menus: their own skin (else SkinData), the default look's item height and font, whether the
    // skin's item font is used, the most items a level shows at once (0: no limit) and translucency. The
    // values live in SkinMenu.
    TspSkinData* MenusSkinData() const override { return FMenusSkinData; }
    void SetMenusSkinData(TspSkinData* value);
    int DefMenuItemHeight() const;
    // Only heights above 0 are taken.
    void SetDefMenuItemHeight(int value);
    TFont* DefMenuItemFont() const;
    void SetDefMenuItemFont(TFont* value);
    bool UseSkinFontInMenu() const;
    void SetUseSkinFontInMenu(bool value);
    int MaxMenuItemsInWindow() const { return FMaxMenuItemsInWindow; }
    // Negative values are ignored.
    void SetMaxMenuItemsInWindow(int value);
    bool MenusAlphaBlend() const { return FMenusAlphaBlend; }
    void SetMenusAlphaBlend(bool value);
    uint8_t MenusAlphaBlendValue() const { return FMenusAlphaBlendValue; }
    void SetMenusAlphaBlendValue(uint8_t value);
    bool MenusAlphaBlendAnimation() const { return FMenusAlphaBlendAnimation; }
    void SetMenusAlphaBlendAnimation(bool value);
    void SetDefCaptionFont(const TFont* value);
    TFont* DefInActiveCaptionFont() const { return FDefInActiveCaptionFont.get(); }
    void SetDefInActiveCaptionFont(const TFont* value);
    // Drawn centred on the default client background.
    TBitmap* LogoBitMap() const { return FLogoBitMap.get(); }
    void SetLogoBitMap(const TBitmap* value);
    bool LogoBitMapTransparent = false;
    bool MaximizeOnFullScreen = false;
    TspPositionInMonitor PositionInMonitor = sppDefault;
    bool Magnetic = false;
    uint8_t MagneticSize = 10;
    // Its size grip is hidden while the form is maximized.
    TspSkinStatusBar* StatusBar() const { return FStatusBar; }
    void SetStatusBar(TspSkinStatusBar* value);
    // The notification-area icon the form minimizes into; a new icon without a popup menu gets the form's
    // tray menu, and one without a double-click handler restores the form on a double click.
    TspTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TspTrayIcon* value);
    // Keep the tray icon shown while the form is.
    bool AlwaysShowInTray = false;

    // ---- Events ------------------------------------------------------------------------------------------------
    TNotifyEvent OnChangeSkinData;
    TChangeClientRectEvent OnChangeClientRect;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeActivate;
    TspMouseUpEvent OnMouseUpEvent;
    TMouseDownEvent OnMouseDownEvent;
    TspMouseMoveEvent OnMouseMoveEvent;
    TMouseEnterEvent OnMouseEnterEvent;
    TMouseLeaveEvent OnMouseLeaveEvent;
    TspActivateCustomObjectEvent OnActivateCustomObject;
    TPaintEvent OnPaintEvent;
    TSwitchChangeStateEvent OnSwitchChangeStateEvent;
    TTrackBarChangeValueEvent OnTrackBarChangeValueEvent;
    TFrameRegulatorChangeValueEvent OnFrameRegulatorChangeValueEvent;
    TspCaptionPaintEvent OnCaptionPaint;
    TNotifyEvent OnSkinMenuOpen;
    TNotifyEvent OnSkinMenuClose;
    TNotifyEvent OnMainMenuEnter;
    TNotifyEvent OnMainMenuExit;

    // ---- Menus and the menu mode -------------------------------------------------------------------------------
    // The form's menu chain: every skinned menu of the form opens through it.
    TspSkinMenu* SkinMenu() const override { return FSkinMenu; }
    // Enters the menu mode: the application's messages pass the form first, so that keys reach the open menu.
    void SkinMenuOpen() override;
    // Leaves the menu mode: releases the object that opened a menu and gives the application its handler back.
    void SkinMenuClose() override;
    // The object whose press opened the menu (a main-menu item, a button, an animation) comes up again.
    void ReleaseMenuObject();
    // Escape in the main menu's keyboard mode after the last popup closed: the menu mode ends, the keyboard
    // mode stays, and the item whose submenu was open is highlighted again.
    void SkinMenuClose2();
    // Ends the main menu's keyboard mode, with whatever menu is open.
    void SkinMainMenuClose();
    // Shows a menu's items through the chain at a screen point or beside a screen rectangle.
    void PopupSkinMenu(TMenuItem* items, TPoint p);
    void PopupSkinMenu1(TMenuItem* items, const TRect& r, bool popupUp);
    // Fires the menu's OnPopup and shows it at a screen point in the form's skin, over any menu the form has open.
    void DoPopupMenu(TPopupMenu* menu, int x, int y);
    // Installs the application hook once; a second call while it is installed changes nothing.
    void HookApp();
    // Puts the saved handler back, only while the hook installed is this form's own.
    void UnHookApp();
    void NewAppMessage(MSG& message, bool& handled);
    // A message that closes menus closes the open menu (or ends the menu mode) before the form handles it.
    void CheckMenuVisible(const TMessage& message);
    // A key of the form while a menu is open.
    void FormKeyDown(WPARAM key);
    bool SkinMenuOpened = false;
    bool MainMenuActive = false;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnMaximize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnChangeRollUpState;
    TNotifyEvent OnMinimizeToTray;
    TNotifyEvent OnRestoreFromTray;

    // ---- The skin ----------------------------------------------------------------------------------------------
    // Lays the form out for the current skin (frame or picture mode).
    void ChangeSkinData();
    // Frame mode with a loaded skin whose client rectangle is not null.
    bool CanNCSupport() const;
    // The skin's picture can be stretched: its left-top and right-bottom frame points differ in both coordinates.
    bool CanScale() const override;
    // Picture mode: fits the form's client size to the skin picture.
    void CheckSize();
    // Changes the form's width by one pixel and back, so the frame is calculated anew.
    void UpDateForm();
    bool GetSkinnableForm() const { return FSkinnableForm; }
    // Switches the skinning of the form itself: a maximized form is restored first and maximized again in its
    // new state; every skinned control re-reads its skin. Nothing on an MDI parent that has children.
    void SetSkinnableForm(bool value);
    bool FormSkinned() const { return FFormSkinned; }

    // ---- The window procedure and geometry ---------------------------------------------------------------------
    void NewWndProc(TMessage& message);
    void CalcRects();
    void CreateNewForm(bool rescale);
    void CreateNewRegion(bool rescale);
    LRESULT NewNCHitTest(TPoint p);
    LRESULT NewDefNCHitTest(TPoint p);
    LRESULT NewHitTest(TPoint p);
    void PointToNCPoint(TPoint& p) const;
    bool GetFormActive() override;
    void FormChangeActive(bool active);
    // Minimum and maximum sizes of the form for the current skin.
    int GetMinWidth() const;
    int GetMinHeight() const;
    int GetMaxWidth() const;
    int GetMaxHeight() const;
    // The height of the default caption without a skin.
    int GetDefCaptionHeight() const;
    TRect GetDefCaptionRect() const;

    // ---- Re-skinning the form's controls ------------------------------------------------------------------------
    // The skinned controls under `control` (itself first, windowed children recursively) that use `skin`, or all
    // of them for a null skin, let go of their skin records, or look them up again.
    void BeforeUpDateSkinControls(TspSkinData* skin, TControl* control);
    void UpDateSkinControls(TspSkinData* skin, TControl* control);
    // Every skinned component owned by the form.
    void BeforeUpDateSkinComponents();
    void UpDateSkinComponents();
    // WM_CHECKPARENTBG to the form's windowed children, so those that show the form's background repaint.
    void CheckControlsBackground();
    // CM_CANCELMODE to the skinned edits and combo boxes of a visible MDI parent form (a menu closes).
    void CancelMessageToControls();

    // ---- The frame --------------------------------------------------------------------------------------------
    // The skinned frame from the skin's picture, or the default frame without a skin, into `dc` or (useDC
    // false) into the form's window DC.
    void PaintNCSkin(HDC dc, bool useDC);
    void PaintNCDefault(HDC dc, bool useDC);
    // The default client background: the face colour and the logo.
    void PaintBGDefault(HDC dc);
    void DrawLogoBitMap(TCanvas* canvas);
    // DrawLogoBitMap on a DC, when there is a logo.
    void DrawLogoOn(HDC dc);
    // The default caption rectangle and caption buttons for the current size.
    void CalcDefRects();
    int GetDefButtonSize() const;
    void GetIcon();
    void CorrectCaptionText(TCanvas* canvas, std::string& text, int width);
    // Hands the form's caption to the caption objects that show it.
    void SetDefaultCaptionText(const std::string& text);
    // The form's own border icons for the current skinning.
    void LoadBorderIcons();
    static std::string GetProductVersion() { return "8.60"; }
    TRect DefCaptionRect;

    // ---- Window states, roll-up, snapping ------------------------------------------------------------------------
    void DoMinimize();
    void DoMaximize();
    void DoNormalize();
    // The slot a minimized form takes: along the bottom of the work area, from its left edge upwards.
    void GetMinimizeCoord(TPoint& p);
    TPoint GetPositionInMonitor(int x, int y, int width, int height) const;
    void ApplyPositionInMonitor();
    void CreateRollUpForm();
    // A loaded skin with a picture for the rolled-up form.
    bool HasRollUpPicture() const;
    void CreateRollUpForm2();
    void SetRollUpFormRegion();
    void RestoreRollUpForm();
    void RestoreRollUpForm2();
    int GetRealHeight() const { return FRolledUp ? RollUpRestoreHeight : LayoutHeight; }
    // Snaps a proposed top-left corner to the work area's edges while the form moves.
    void DoMagnetic(int& left, int& top, int width, int height);
    void EnableShadow(bool value, bool rehide);
    void RestoreFromTray();
    void TrayIconDBLCLK(TObject* sender);
    // "Restore", a line and "Close", with the built-in captions; made once, with the first tray icon.
    TspSkinPopupMenu* TrayMenu();
    // The bounds before the form was minimized or maximized; empty when there are none.
    const TRect& RestoreBounds() const { return FRestoreBounds; }
    bool RolledUpWhileMaximized = false;
    bool RolledUpAtMaximize = false;
    int RollUpRestoreHeight = 0;
    std::vector<TControl*> HiddenControls;
    bool SnappedLeft = false;
    bool SnappedTop = false;
    bool SnappedRight = false;
    bool SnappedBottom = false;
    TPoint SnapCursor { -1, -1 };

    // ---- The system menu (TspSkinForm_SystemMenu.cpp) ----------------------------------------------------------
    // The application's own system menu, extended with the standard commands when UseDefaultSysMenu is on.
    TPopupMenu* SystemMenu() const { return FSystemMenu; }
    void SetSystemMenu(TPopupMenu* value);
    bool UseDefaultSysMenu = true;
    // The component's own system menu, made on first use.
    TPopupMenu* DefaultSystemMenu();
    void CreateSysMenu();
    void CreateUserSysMenu();
    void SM_Min(TObject* sender);
    void SM_Max(TObject* sender);
    void SM_Restore(TObject* sender);
    void SM_RollUp(TObject* sender);
    void SM_MinToTray(TObject* sender);
    void SM_Close(TObject* sender);
    // Shows the system menu at a screen point, against a screen rectangle, or under the system-menu button.
    void TrackSystemMenu(int x, int y);
    void TrackSystemMenu2(const TRect& r);
    void PopupSystemMenu();

    // ---- The main menu as skin objects, and the menu keyboard (TspSkinForm_MainMenu.cpp) -----------------------
    // The main menu drawn in the frame from the skin's "MAINMENUITEM" object, one item object per visible
    // top-level item; with a MainMenuBar the bar shows the menu instead and takes its keyboard work.
    TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(TMainMenu* value);
    // Appends the item objects for the menu's visible top-level items (nothing without a menu or the skin's
    // "MAINMENUITEM" object).
    void CreateMainMenu();
    // Makes the item objects again from the menu, for items added, hidden, enabled or renamed since.
    void UpdateMainMenu(bool redraw);
    // Gives the button or button-style animation named idName a menu to open when it is pressed; others and
    // unknown names are left alone. A null menu takes the menu away.
    void LinkMenu(std::string_view idName, TPopupMenu* menu, bool popupUp);
    // The form's OnShortCut: the component's own OnShortCut first, then Alt+Space opens the system menu, then the
    // main menu's accelerators and shortcuts.
    void FormShortCut(TWMKey& message, bool& handled);
    TShortCutEvent OnShortCut;
    // The last key was taken by a menu's shortcut test.
    bool MenuShortCutHandled = false;
    // The first enabled, visible item whose caption has `key` as accelerator is highlighted and, unless it would
    // only reopen a submenu over an open menu, pressed; false when there is none.
    bool FindHotKeyItem(WORD key);
    // F10 or a lone Alt: the keyboard mode starts on the highlighted item, else on the first.
    void ActivateMenu();
    // Left and Right in the keyboard mode: the highlight (and an open submenu) moves to the neighbouring enabled
    // item, wrapping at the ends.
    void NextMainMenuItem();
    void PriorMainMenuItem();
    // Right moves along the main menu while no popup is open or the popup's highlighted item has no submenu;
    // Left while at most one popup level is open.
    bool CanNextMainMenuItem() const;
    bool CanPriorMainMenuItem() const;
    // Return or Down on the main menu: presses the highlighted item (or the pressed leaf); false when the key is
    // for the open popup instead.
    bool CheckReturnKey();

    // ---- Objects on the form -----------------------------------------------------------------------------------
    void LoadObjects();
    void LoadDefObjects();
    void ClearObjects();
    void CheckObjects();
    void CheckObjectsHint();
    void CalcAllRealObjectRect();
    bool CanObjectTest(bool rollUp) const;
    void TestActive(int x, int y, bool active);
    void TestMouse();
    void TestMorph();
    void TestAnimate();
    void TestCursors();
    void MouseDown(TMouseButton button, int x, int y);
    void MouseUp(TMouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseDBlClick();
    void StartDragg(int x, int y) override;
    void EndDragg() override;
    void CheckWindowState();
    void DrawSkinObject(TspActiveSkinObject* object) override;
    void UpDateActiveObjects();
    int ObjectCount() const override { return static_cast<int>(SkinObjects.size()); }
    TspActiveSkinObject* ObjectAt(int index) const override { return SkinObjects[size_t(index)].get(); }

    // ---- Picture mode: areas, scaling, painting, the object interface by IDName --------------------------------
    TRect GetAreaRect(std::string_view areaName) const;
    void LinkControlToArea(std::string_view areaName, TControl* control);
    void UnLinkControlFromArea(TControl* control);
    void LinkControlsToAreas();
    void ControlsToAreas();
    TRect CalcRealObjectRect(const TRect& r) const;
    void CreateRealBitMap(TBitmap* dest, TBitmap* src) const;
    void Paint(HDC dc);
    void PaintBG(HDC dc);
    void PaintBG2(HDC dc);
    bool InForm(TPoint p) const;
    bool PtInMask(TPoint p) const;
    int GetIndex(std::string_view idName) const;
    void SetEnabled(std::string_view idName, bool value);
    void ButtonSetDown(std::string_view idName, bool value);
    bool ButtonGetDown(std::string_view idName) const;
    void SwitchSetState(std::string_view idName, TSwitchState state);
    TSwitchState SwitchGetState(std::string_view idName) const;
    void TrackBarSetValue(std::string_view idName, int value);
    int TrackBarGetValue(std::string_view idName) const;
    void GaugeSetValue(std::string_view idName, int value);
    void FrameGaugeSetValue(std::string_view idName, int value);
    void FrameRegulatorSetValue(std::string_view idName, int value);
    int FrameRegulatorGetValue(std::string_view idName) const;
    void LabelSetText(std::string_view idName, std::string_view value);
    void BitLabelSetText(std::string_view idName, std::string_view value);
    void CaptionSetText(std::string_view idName, std::string_view value);
    void AnimateStart(std::string_view idName);
    void AnimateStop(std::string_view idName);
    void UserObjectDraw(std::string_view idName);

    // ---- What the objects ask of the form (the host interface) ------------------------------------------------
    bool FormActive() const override { return FFormActive; }
    TWindowState WindowState() const override { return FWindowState; }
    bool RolledUp() const override { return FRolledUp; }
    bool ShowIcon() const override { return FShowIcon; }
    bool AlwaysMinimizeToTray() const override { return FAlwaysMinimizeToTray; }
    void SetAlwaysMinimizeToTray(bool value) { FAlwaysMinimizeToTray = value; }
    std::string CaptionText() const override;
    void StartMorphTimer() override;
    void StartAnimationTimer() override;
    // The component's own window state: the form's window is minimized, maximized (to the monitor's work area)
    // or restored.
    void SetWindowState(TWindowState value) override;
    void SetRollUpState(bool value) override;
    void MinimizeToTray() override;
    void CloseForm() override;
    void DrawFormIcon(TCanvas* canvas, int x, int y) override;
    TSize GetIconSize() const override;
    // The items of the system menu, built afresh for the current states and border icons.
    TMenuItem* GetSystemMenu() override;
    void PopupObjectMenu(
        TspActiveSkinObject* object, TMenuItem* menu, bool upward, TspSkinData* skin = nullptr) override;
    TRect MainMenuRect() const override;
    TRect SkinClientRect() const override { return CurClientRect; }
    void MainMenuEntered() override;
    void MainMenuItemClicked() override;
    bool CaptionPaint(TCanvas* canvas, const TRect& rect, bool active) override;
    void MouseDownEvent(const std::string& idName, int x, int y, const TRect& objectRect, TMouseButton button) override;
    void MouseUpEvent(const std::string& idName, int x, int y, const TRect& objectRect, TMouseButton button) override;
    void MouseMoveEvent(const std::string& idName, int x, int y, const TRect& objectRect) override;
    void MouseEnterEvent(const std::string& idName) override;
    void MouseLeaveEvent(const std::string& idName) override;
    void PaintEvent(const std::string& idName, TCanvas* canvas, const TRect& objectRect) override;
    void SwitchChangeStateEvent(const std::string& idName, TSwitchState state) override;
    void TrackBarChangeValueEvent(const std::string& idName, int value) override;
    void FrameRegulatorChangeValueEvent(const std::string& idName, int value) override;

    // ---- MDI: a main form's children, its window menu and tab bar, arranging (TspSkinForm_MDI.cpp) ---------------
    // Whichever component they are called on, the menu and bar operations act on the application main form's
    // component and do nothing without it, its WindowMenu or its MDITabsBar.
    TspSkinMDITabsBar* MDITabsBar() const { return FMDITabsBar; }
    void SetMDITabsBar(TspSkinMDITabsBar* value);
    // The bar that shows the form's main menu; on an MDI main form it also shows a maximized child's buttons.
    TspSkinMainMenuBar* MainMenuBar() const { return FMainMenuBar; }
    void SetMainMenuBar(TspSkinMainMenuBar* value);
    void AddChildToMenu(TCustomForm* child);
    void DeleteChildFromMenu(TCustomForm* child);
    void UpDateChildCaptionInMenu(TCustomForm* child);
    void UpDateChildActiveInMenu();
    void MDIItemClick(TObject* sender);
    void AddChildToBar(TCustomForm* child);
    void DeleteChildFromBar(TCustomForm* child);
    void RefreshMDIBarTab(TCustomForm* child);
    void CheckMDIBar();
    void CheckMDIMainMenu();
    // Arranging the children of this component's MDI main form; each restores every child first.
    void Tile();
    void Cascade();
    void MinimizeAll();
    void MaximizeAll();
    void RestoreAll();
    void CloseAll();
    // A maximized child fits the work area again and the minimized ones line up along its bottom.
    void ResizeMDIChilds();
    void ArangeMinimizedChilds();
    // The part of the main form's client area that its aligned controls leave free, in its client coordinates.
    void GetMDIWorkArea(TRect& r) const;
    TCustomForm* GetMaximizeMDIChild() const;
    bool IsMDIChildMaximized() const { return FMDIChildMaximized; }
    // The window procedure of the main form's hooked MDI client window.
    void FormClientWindowProcHook(TMessage& message);
    // Only fsNormal and fsStayOnTop are taken.
    void SetFormStyle(TFormStyle value);
    // The MDI client's background: the skin's MDI picture, or the plain application-workspace colour.
    void PaintBG3(HDC dc);
    void PaintMDIBGDefault(HDC dc);

    // ---- State (read by tests and the frame painter) -----------------------------------------------------------
    TCustomForm* Form() const { return FForm; }
    std::vector<std::unique_ptr<TspActiveSkinObject>> SkinObjects;
    struct TAreaLink {
        TControl* Control;
        TRect AreaRect;
    };
    std::vector<TAreaLink> AreaLinks;
    int ActiveObjectIndex = -1;
    int OldActiveObjectIndex = -1;
    int PressedObjectIndex = -1;
    int LayoutWidth = 0;
    int LayoutHeight = 0;
    bool InSizeMove = false;
    bool FullDrag = false;
    bool MouseInForm = false;
    bool Dragging = false;
    TPoint DragPoint;
    bool SkinChanging = false;
    bool SkinDataChanging = false;
    TPoint CurFramePoints[4];
    TRect CurClientRect;
    TRect CurCaptionRect;
    TRect CurButtonsRect;
    TPoint CurHitTestPoints[4];
    TRect CurMaskRect;
    TRect CurSizeGripRect;
    bool ButtonsInLeftHalf = false;
    // Top, bottom, left and right strips cut from the skin's mask for the current size.
    std::unique_ptr<TBitmap> MaskStrips[4];
    HRGN FormRegion = nullptr;
    TTimer* MorphTimer() const { return FMorphTimer; }
    TTimer* MouseTimer() const { return FMouseTimer; }
    TTimer* AnimateTimer() const { return FAnimateTimer; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The skinned form procedure; an MDI form's messages pass through MDIWndProc first.
    void FormWndProc(TMessage& message);
    void MDIWndProc(TMessage& message);
    // An MDI child's own minimize, maximize and restore inside the main form's work area.
    void SetMDIChildWindowState(TWindowState value);
    // The first free slot of the minimized children along the bottom of the work area.
    TPoint MDIMinimizeCoord() const;
    void HookMDIClient();
    void UnhookMDIClient();
    bool IsMDIMaxChild() const { return FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized; }
    void FramePaint();
    // Hands a key to the deepest open popup level, when a menu is shown.
    void ToDeepestLevel(WPARAM key);
    // WM_SYSCOMMAND: the window manager's (or the layer's) maximize and restore become the form's own; true when
    // the command is handled.
    bool OnSysCommand(TMessage& message);
    // The area minimized forms line up in and the slots already taken there.
    void MinimizeArea(TRect& area, std::vector<TPoint>& taken) const;
    // The rectangle a maximized form takes on its monitor.
    TRect MaximizedBounds() const;
    // The work area snapping and minimizing use, in screen coordinates.
    TRect WorkArea() const;
    void SnapEdge(int& coordinate, int areaEdge, int cursor, int cursorMark, bool& snapped, bool near);
    void ChangeSkinDataFrame();
    void ChangeSkinDataPicture();
    void OnSkinMessage(TMessage& message);
    void RouteMouse(TMessage& message);
    bool IsMaximized() const { return FWindowState == wsMaximized; }
    int BorderStyleNone() const;
    TspSkinCaptionObject* FirstCaption() const;
    // A point whose neighbours at the skin's border width leave the window (or its mask): a sizing border.
    bool NearEdge(TPoint p) const;
    bool OnCaptionObject(TPoint p) const;
    void LayoutCaptionButtons();
    void SetRegion(HRGN region);
    // The composed frame and client background are made again at the next paint.
    void InvalidateImages()
    {
        FFrameImageValid = false;
        FBGImageValid = false;
    }
    // Copies the client background, composed into FBGImage when it is out of date.
    void PaintCachedBG(HDC dc, TBitmap* picture, const TRect& tile);
    void FadeIn();

    TCustomForm* FForm = nullptr;
    std::function<void(TMessage&)> OldWindowProc;
    TspSkinData* FSkinData = nullptr;
    bool FSupportNCArea = true;
    TspBorderIcons FBorderIcons { TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMaximize,
        TspBorderIcon::biRollUp };
    bool FSkinnableForm = true;
    bool FFormSkinned = false;
    bool FFormActive = false;
    TWindowState FWindowState = wsNormal;
    bool FRolledUp = false;
    TRect FRestoreBounds;
    bool PositionPending = true;
    std::unique_ptr<TFont> FDefCaptionFont;
    std::unique_ptr<TFont> FDefInActiveCaptionFont;
    TspSkinData* FMenusSkinData = nullptr;
    TspSkinMenu* FSkinMenu = nullptr;
    int FMaxMenuItemsInWindow = 0;
    bool FMenusAlphaBlend = false;
    uint8_t FMenusAlphaBlendValue = 200;
    bool FMenusAlphaBlendAnimation = false;
    bool FAppHooked = false;
    std::function<void(MSG&, bool&)> SavedAppMessageHandler;
    TTimer* FMorphTimer = nullptr;
    TTimer* FMouseTimer = nullptr;
    TTimer* FAnimateTimer = nullptr;
    // The frame's top, left, right and bottom pictures for the current size, skin and activation.
    std::unique_ptr<TBitmap> FBorderCache[4];
    bool FFrameImageValid = false;
    bool FFrameActive = false;
    std::unique_ptr<TBitmap> FBGImage;
    bool FBGImageValid = false;
    TspSkinMDITabsBar* FMDITabsBar = nullptr;
    TspSkinMainMenuBar* FMainMenuBar = nullptr;
    TspSkinHint* FSkinHint = nullptr;
    bool FMDIChildMaximized = false;
    // The MDI client window hooked by FormClientWindowProcHook and the procedure it had before.
    HWND FHookedClient = nullptr;
    WNDPROC OldClientWindowProc = nullptr;
    // The form's window has been destroyed (and not made again).
    bool FFormWindowGone = false;
    // Where an MDI child returns from its own minimized or maximized state.
    TRect FMDIRestoreBounds {};
    TMenuItem* NewSystemMenuItem(
        const char* name, const char* captionKey, const char* caption, void (TspSkinForm::*handler)(TObject*));
    bool SysMenuHasMin() const;
    bool SysMenuHasMax() const;
    bool SysMenuHasRestore() const;
    bool SysMenuHasRollUp() const;
    TspSkinStatusBar* FStatusBar = nullptr;
    TspTrayIcon* FTrayIcon = nullptr;
    TspSkinPopupMenu* FTrayMenu = nullptr;
    bool FAlwaysMinimizeToTray = false;
    bool FTrayDblClickOurs = false;
    TPopupMenu* FSystemMenu = nullptr;
    TMainMenu* FMainMenu = nullptr;
    // The main-menu item objects, in list order.
    std::vector<TspSkinMainMenuItem*> MainMenuItems() const;
    // The first enabled, visible main-menu item that is highlighted or pressed; null when none is.
    TspSkinMainMenuItem* SelectedMainMenuItem() const;
    // Moves the keyboard selection one enabled, visible item on (step 1) or back (step -1), wrapping.
    void StepMainMenuItem(int step);
    // Frees the objects for which `drop` holds, keeping the active and pressed objects' indexes on the objects
    // that stay.
    void RemoveObjects(const std::function<bool(TspActiveSkinObject*)>& drop);
    // A menu, or a menu item, that is being deleted: no object may keep it.
    void ForgetMenu(TComponent* component);
    TPopupMenu* FDefaultSystemMenu = nullptr;
    std::unique_ptr<TBitmap> FLogoBitMap;
    std::unique_ptr<TIcon> FFormIcon;
    bool FShadow = false;
};

// The first component owned by `form`, in component order, that is a TspSkinForm; null for a null form.
TspSkinForm* GetSkinFormComponent(TCustomForm* form);
// The component of the first MDI child of the application's main form that is maximized by its component.
TspSkinForm* GetMDIChildSkinFormComponent();
// The component of the main form's active MDI child.
TspSkinForm* GetMDIChildSkinFormComponent2();
