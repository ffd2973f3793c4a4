// TspSkinPopupWindow, one open level of a skinned menu: its items, size, place, painting, mouse polling,
// scrolling and keys.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "skin/core/Forward.h"
#include "skin/menus/TspMenuLookCache.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TCustomImageList;
class TMenuItem;
class TTimer;
class TspDataSkinMenuItem;
class TspEffectBmp;
class TspSkinMenu;
class TspSkinMenuItem;

// A borderless top-most window that never takes the activation; it tracks the mouse by polling the cursor and
// takes its keys from the form (PopupKeyDown). Without a POPUPWINDOW record that names a window picture, or
// without the skin's "menuitem" object, it has the default look.
class TspSkinPopupWindow final : public TCustomControl {
    using inherited = TCustomControl;

public:
    TspSkinPopupWindow(TComponent* owner, TspSkinMenu* menu, TspDataSkinPopupWindow* record);
    ~TspSkinPopupWindow() override;

    // Builds, places and shows the level (the children of `root`, or of `root` then `root2`).
    void Show(const TRect& rect, TMenuItem* root, int startIndex, bool asSubMenu, bool popupUp);
    void Show2(const TRect& rect, TMenuItem* root, TMenuItem* root2, int startIndex, bool asSubMenu, bool popupUp);
    void CreateMenu(TMenuItem* root, int startIndex);
    void CreateMenu2(TMenuItem* root, TMenuItem* root2, int startIndex);
    void CalcItemRects();
    int GetEndStartVisibleIndex() const;
    // The window background at the window's size.
    void CreateRealImage(TBitmap* target);
    void PaintMenu(HDC dc);
    void SetMenuWindowRegion();
    void DrawUpMarker(TCanvas* canvas);
    void DrawDownMarker(TCanvas* canvas);
    // Direction 1 up, 2 down.
    bool CanScroll(int direction) const;
    void StartScroll();
    void StopScroll();
    void ScrollUp(bool wrap);
    void ScrollDown(bool wrap);
    void TestMouse(TObject* sender);
    void TestActive(int x, int y);
    bool GetActive(int x, int y) const;
    bool InWindow(TPoint screenPoint) const;
    void PopupKeyDown(int key);
    // Closes the levels below this one and lifts its items' down state.
    void UpDatePW();
    void WTProc(TObject* sender);
    void TestMorph(TObject* sender);
    // Hides the window without activating anything.
    void Hide();
    // Shown on the screen.
    bool Showing() const;

    // ---- Level state (read by the items and tests) --------------------------------------------------------
    TspSkinMenu* SkinMenu() const { return FSkinMenu; }
    // The skin look: the record and the skin, kept only when the record names a window picture and the skin has a
    // "menuitem" object.
    TspDataSkinPopupWindow* SkinRecord = nullptr;
    TspSkinData* Skin = nullptr;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    TspDataSkinMenuItem* ItemData = nullptr;
    // The item rectangles of the level's record; both empty when the record's active picture is missing, which
    // gives its items no height.
    TRect ItemSkinRect;
    TRect ItemActiveSkinRect;
    TCustomImageList* ImgL = nullptr;
    int GlyphWidth = 16;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    std::vector<std::unique_ptr<TspSkinMenuItem>> ItemList;
    int ActiveItem = -1;
    int OldActiveItem = -1;
    int FirstVisibleIndex = 0;
    int VisibleCount = 0;
    bool Scroll = false;
    bool Limited = false;
    int ScrollCode = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    TPoint ShowPoint;
    TPoint OldPoint { -1, -1 };
    // The screen under the window, for translucency without layered windows.
    std::unique_ptr<TBitmap> Snapshot;
    std::unique_ptr<TspEffectBmp> SnapshotEffect;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TTimer* WaitTimer = nullptr;
    // The font the level measures with and the default look draws with.
    TFont* LevelFont() const { return FLevelFont.get(); }
    // The height of an item of this level (a separator's is the divider's).
    int ItemHeight(const TMenuItem* item) const;
    // The screen rectangle of an item.
    TRect ItemScreenRect(const TspSkinMenuItem* item) const;
    // Draws one item at once on the window.
    void DrawItemNow(TspSkinMenuItem* item);
    // The number of what every item of this level shares in its look (fonts, colours, skin values and pictures),
    // in the chain's kept looks; set when the level is built.
    uint64_t LevelLook = 0;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void WMEraseBkGrnd(TMessage& message);
    void WMMouseActivate(TMessage& message);
    void WMTimer(TMessage& message);
    // Items from a root's children from `startIndex` on.
    void AddItems(TMenuItem* root, int startIndex);
    void PrepareLevel(TMenuItem* root);
    // Finds the level's look among the chain's kept looks.
    void IdentifyLook();
    void SizeLevel();
    void Place(const TRect& rect, bool asSubMenu, bool popupUp, int& x, int& y) const;
    void ShowAt(int x, int y);
    void FinishShow();
    void ActivateFirstItem();
    void SetActive(int index);
    void NextItem();
    void PriorItem();
    bool Selectable(int index) const;
    bool EmulatedAlpha() const;
    TRect UpMarkerRect() const;
    TRect DownMarkerRect() const;
    void RepaintNow();
    // The key of the background when a level of the same key may keep it from a closed level, else empty.
    std::string BackgroundKey() const;
    void DrawComposedItem(TspSkinMenuItem* item);
    // Brings the composed window image up to date.
    void ComposeMenu();
    // Has the window layer copy the composed image to the window behind `dc`; false when `dc` is not one the
    // copy can stand for (another window's, a memory DC, a moved origin).
    bool CopyComposedToWindow(HDC dc);

    TspSkinMenu* FSkinMenu;
    std::unique_ptr<TFont> FLevelFont;
    std::unique_ptr<TBitmap> FBackground;
    std::unique_ptr<TBitmap> FComposed;
    bool FComposedValid = false;
    // What FComposed shows, handed with it to the next level: its background key and each item's kept look.
    std::string FComposedBackground;
    std::vector<TspKeptLevelImage::TItem> FComposedItems;
    bool FErased = false;
    // Handling WM_PAINT, whose BeginPaint may send the erase.
    bool FInPaint = false;
};
