// TspSkinMDITabsBar, the bar an MDI main form places to show one tab per child form: the active child's tab
// drawn active, the tab under the mouse hot, a left click activating (and if need be restoring) the child, a
// right click opening the child's system menu, and tabs dragged to a new place. The main form's TspSkinForm
// keeps it in step with the children.
#pragma once
#include "skin/core/SkinCtrls.h"

#include <functional>
#include <memory>
#include <vector>

class TCustomForm;
class TFont;
class TspSkinForm;
class TspSkinMDITabsBar;
class TspDataSkinTabControl;

enum TspSkinMDITabKind : uint8_t { sptkTab, sptkButton };

// One tab: the child form it stands for and where it lies on the bar.
class TspMDITab {
public:
    TspMDITab(TspSkinMDITabsBar* bar, TCustomForm* form)
        : TabBar(bar)
        , TabForm(form)
    {
    }

    // Paint the tab at TabRectangle on `canvas`; nothing for a tab without width.
    void Draw(TCanvas* canvas);
    // The face at the skin's tab height stretched to the bar's height (UseSkinSize off).
    void ResizeDraw(TCanvas* canvas);
    // The face from the skin's "resizebutton" record (TabKind sptkButton); nothing without that record.
    void ButtonDraw(TCanvas* canvas);

    TspSkinMDITabsBar* TabBar;
    TCustomForm* TabForm;
    bool TabActive = false;
    bool TabHot = false;
    TRect TabRectangle {};

private:
    // The tab's face of `width` x `height` from the tab record, with its text colour.
    void SkinFace(TBitmap* face, int width, bool stretch, TColor& textColor) const;
    // The caption shortened to `textRect` and centred in it.
    void DrawCaption(TCanvas* canvas, const TRect& textRect, bool skinFont, TColor color) const;
};

using TspMDITabMouseEnterEvent = std::function<void(TspMDITab* tab)>;
using TspMDITabMouseLeaveEvent = TspMDITabMouseEnterEvent;
using TspMDITabMouseDownEvent = std::function<void(TMouseButton button, TShiftState shift, TspMDITab* tab)>;
using TspMDITabMouseUpEvent = TspMDITabMouseDownEvent;

class TspSkinMDITabsBar : public TspSkinControl {
    using inherited = TspSkinControl;
    friend class TspMDITab;

public:
    explicit TspSkinMDITabsBar(TComponent* owner);
    ~TspSkinMDITabsBar() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TspSkinMDITabKind value);
    TspSkinForm* SkinForm() const { return FSkinForm; }
    void SetSkinForm(TspSkinForm* value);
    bool SupportChildMenus = true;
    bool UseSkinSize = true;
    bool UseSkinFont = true;
    bool MoveTabs = true;
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    int DefaultTabWidth = 100;
    TspMDITabMouseEnterEvent OnTabMouseEnter;
    TspMDITabMouseLeaveEvent OnTabMouseLeave;
    TspMDITabMouseDownEvent OnTabMouseDown;
    TspMDITabMouseUpEvent OnTabMouseUp;

    // ---- Tabs --------------------------------------------------------------------------------------------------
    void AddTab(TCustomForm* form);
    // Fires OnTabMouseLeave first when the form's tab is the hot one.
    void DeleteTab(TCustomForm* form);
    void ClearObjects();
    // Marks the tab of the main form's active MDI child; nothing without an active child.
    void CheckActive();
    // The first tab whose rectangle holds the point, its right and bottom edges included; -1 when none.
    int GetTabIndex(int x, int y) const;
    TspMDITab* GetTab(int x, int y) const;
    // Hot tracking: the tab under the point becomes hot; (-1, -1) clears it.
    void TestActive(int x, int y);
    // Lays the tabs out along the bar, the dragged one moved by the drag.
    void CalcObjectRects();
    // Where the dragged tab would land: -1 without a drag offset or a tab whose centre it passed.
    int GetMoveIndex() const;
    int TabCount() const { return static_cast<int>(Tabs.size()); }
    TspMDITab* TabAt(int index) const { return Tabs[size_t(index)].get(); }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;

    // ---- State -------------------------------------------------------------------------------------------------
    int HotTabIndex = -1;
    int PrevHotTabIndex = -1;
    int DragTabIndex = -1;
    bool TabDragging = false;
    bool TabPressed = false;
    int PressX = 0;
    int DragOffset = 0;

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    // The tabs on the image, the dragged one last with the insertion marker.
    void DrawTabs(TBitmap* bitmap);
    void DrawMoveMarker(TCanvas* canvas);
    void RedrawTab(TspMDITab* tab);
    // The tab record, or null when the bar uses its default look.
    const TspDataSkinTabControl* TabRecord() const;
    // The child's system menu through SkinForm, at the screen point of (x, y).
    void PopupChildMenu(TCustomForm* child, int x, int y);
    bool Transparent() const;

    std::vector<std::unique_ptr<TspMDITab>> Tabs;
    TspSkinMDITabKind FTabKind = sptkTab;
    TspSkinForm* FSkinForm = nullptr;
    int FDefaultHeight = 21;
    std::unique_ptr<TFont> FDefaultFont;
    // Copied from the tab record by GetSkinData; Picture is null without a usable one.
    TBitmap* Picture = nullptr;
};
