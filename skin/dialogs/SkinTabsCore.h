// TspSkinTabsCore: what the skinned page control and the skinned tab control share over the framework's tab
// controls: the copies of the skin's "tab" record, the rewritten display area and item rectangles, the tab strip
// drawn from the record's pictures (turned for tabs at the left and right, flipped for tabs at the bottom), hot
// tracking, and the tab scroller that stands in for the native arrows of a single row that overflows.
#pragma once
#include "framework/controls/TCustomTabControl.h"
#include "skin/controls/SkinDataLink.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinCtrls.h"

#include <functional>
#include <memory>
#include <string>

class TBitmap;
class TCanvas;
class TControlCanvas;
class TFont;
class TPageControl;
class TTabControl;
class TspDataSkinTabControl;

using TspDrawSkinTabEvent
    = std::function<void(int tabIndex, const TRect& rct, bool active, bool mouseIn, TCanvas* cnvs)>;

// The scroller of an overflowing row: a skinned up-down wearing the record named by the tab record's "updown".
using TspTabScroller = TspSkinUpDown;

// The values of a "tab" record that the controls keep between look-ups.
struct TspTabSkinValues {
    TRect SkinRect, ClientRect, TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, TabsBGRect;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    int TabLeftOffset = 0, TabRightOffset = 0;
    std::string FontName = "Arial";
    TFontStyles FontStyle;
    int FontHeight = 14;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    std::string UpDown;
    int BGPictureIndex = -1;
    bool TabStretchEffect = false, LeftStretch = false, TopStretch = false, RightStretch = false,
         BottomStretch = false, ShowFocus = false, StretchEffect = false;
    int FocusOffsetX = 0, FocusOffsetY = 0;
    TspStretchType StretchType = spstFull;
};

// Base is TPageControl or TTabControl.
template <class Base> class TspSkinTabsCore : public Base, public TspSkinDataClient {
    using inherited = Base;

public:
    explicit TspSkinTabsCore(TComponent* owner);
    ~TspSkinTabsCore() override;

    bool TabsBGTransparent() const { return FTabsBGTransparent; }
    void SetTabsBGTransparent(bool value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int value);
    TspSkinData* SkinData() const override { return FSkinLink.Skin(); }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinLink.Name(); }
    void SetSkinDataName(std::string_view value) { FSkinLink.SetName(value); }
    TspDrawSkinTabEvent OnDrawSkinTab;

    void GetSkinData();
    void ChangeSkinData() override;
    void Loaded() override;
    void UpDateTabs();
    // The native item rectangle of the index-th shown tab (the first one a pixel to the right on a single row).
    TRect GetItemRect(int index) const;
    void SetItemSize(int width, int height);
    // Tabs scrolled out on the left, and tabs not wholly shown.
    int GetPosition() const;
    int GetInVisibleItemCount() const;
    void CheckScroll();
    TspTabScroller* Scroller() const { return FScroller; }
    // The record index, -1 for the default look.
    int SkinIndex() const { return FIndex; }
    int HotTab() const { return FHotTab; }

    void WndProc(TMessage& message) override;

protected:
    // What differs between the page control and the tab control.
    virtual int TabCount() const = 0; // the tabs shown
    virtual int PageTotal() const = 0; // what a tab's index must stay below
    virtual int TabPage(int tab) const = 0;
    virtual std::string TabCaption(int page) const = 0;
    virtual bool TabImageOf(int page, int& imageIndex, bool& enabled) const = 0;
    // The frame margins that the display area keeps from the control's edges beyond the native answer.
    virtual TRect FrameMargins() const;
    virtual void PaintSkinWindow(TCanvas* canvas);
    virtual TSize ScrollerSize() const;
    virtual bool ScrollerFollowsMultiLine() const { return true; }

    void PaintWindow(HDC dc) override;
    void Change() override;
    void Change2();
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

    void TestActive(int x, int y);
    void DrawTabs(TCanvas* canvas);
    void DrawTab(int ti, const TRect& rct, bool active, bool mouseIn, TCanvas* cnvs);
    void PaintDefaultWindow(TCanvas* canvas);
    // The frame drawn around `frame` from the record's nine-part picture, its page area left alone.
    void DrawSkinFrame(TCanvas* canvas, const TRect& frame);
    // The piece by the stretch rule over (0, 0, w, h) of `canvas`, or tiled from (0, 0).
    void DrawStretched(TCanvas* canvas, TBitmap* picture, const TRect& piece, int w, int h, bool stretch);
    // The client piece of the record's picture by the stretch rule over (0, 0, w, h).
    void DrawClientPiece(TCanvas* canvas, int w, int h);
    void ShowSkinUpDown();
    void HideSkinUpDown();
    void OnUpDownChange();
    TRect FrameRect() const;
    TRect TabStripRect(const TRect& frame) const;
    bool Focused_() const;
    TCanvas* ControlCanvas();
    TBitmap* RecordPicture(int index) const;

    TspTabSkinValues Values;
    int FIndex = -1;
    TBitmap* FPicture = nullptr;
    // The tab under the mouse (page index and shown-tab index), and the pair before it; -1 when none.
    int FHotPage = -1, FHotTab = -1, FOldHotPage = -1, FOldHotTab = -1;

private:
    void RedrawTab(int visible, bool mouseIn);
    void DestroyNativeArrows();

    bool FTabsBGTransparent = false;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultItemHeight = 20;
    TspTabScroller* FScroller = nullptr;
    std::unique_ptr<TControlCanvas> FCanvas;
    TspSkinDataLink FSkinLink { this, "tab" };
};

// Tells every child of `parent` that the background under it changed (WM_CHECKPARENTBG): sent to windowed
// children, performed on windowless ones.
void CheckChildrenBackground(TWinControl* parent);

extern template class TspSkinTabsCore<TPageControl>;
extern template class TspSkinTabsCore<TTabControl>;
