// The size panel: an aligned framed panel with its own splitter, a size bar along the edge that faces the rest of
// the parent. Dragging the bar resizes the panel within margins, live or by an inverted drag line; a hot spot in
// the middle of the bar collapses the panel to the bar with one click and restores it with the next.
#pragma once
#include "framed/FrPanel.h"
#include "framework/graphics/TBitmap.h"

#include <memory>
#include <vector>

enum TSplitterStyle : uint8_t { ssStandard, ssGroove, ssBump };

class TFrCustomSizePanel : public TFrCustomPanel {
    using inherited = TFrCustomPanel;

public:
    explicit TFrCustomSizePanel(TComponent* owner);
    ~TFrCustomSizePanel() override;

    // Setting the alignment also realigns.
    virtual TAlign GetAlign() const { return Align(); }
    virtual void SetAlign(TAlign value);
    int SizeBarWidth() const { return FSizeBarWidth; }
    virtual void SetSizeBarWidth(int value);
    TSplitterStyle SizeBarStyle() const { return FSizeBarStyle; }
    virtual void SetSizeBarStyle(TSplitterStyle value);
    int MarginMax() const { return FMarginMax; }
    virtual void SetMarginMax(int value);
    int MarginMin() const { return FMarginMin; }
    virtual void SetMarginMin(int value);
    bool LockBar() const { return FLockBar; }
    void SetLockBar(bool value) { FLockBar = value; }
    bool RealTimeDrag() const { return FRealTimeDrag; }
    void SetRealTimeDrag(bool value) { FRealTimeDrag = value; }
    bool HotSpotVisible() const { return FHotSpotVisible; }
    virtual void SetHotSpotVisible(bool value);
    TColor HotSpotHighlight() const { return FHotSpotHighlight; }
    virtual void SetHotSpotHighlight(TColor value);
    int HotSpotSizePercent() const { return FHotSpotSizePercent; }
    virtual void SetHotSpotSizePercent(int value);
    bool HotSpotIgnoreMargins() const { return FHotSpotIgnoreMargins; }
    void SetHotSpotIgnoreMargins(bool value) { FHotSpotIgnoreMargins = value; }
    // Collapsed by the hot spot, and the extent a second click restores.
    bool HotSpotClosed() const { return FHotSpotClosed; }
    int HotSpotPosition() const { return FHotSpotPosition; }
    // Forgets the collapsed state without resizing.
    virtual void ClearHotSpotClosed() { FHotSpotClosed = false; }

    virtual TRect SizeBarRect() const;
    TRect HotSpotRect() const { return CalcHotSpotRect(SizeBarRect()); }
    // The extent the panel may take at most: up to the far side of what its parent's other aligned controls leave.
    virtual int LargestExtent() const;

    // The client area leaves out the bar and one pixel beside it.
    TRect ClientRect() const override;
    void WndProc(TMessage& message) override;

    // What the form stores beyond the published properties: "HotSpotClosed" and "HotSpotPosition", only while
    // collapsed; and reading them back.
    std::vector<TFrStoredValue> StoredProperties() const;
    bool ReadStoredProperty(std::string_view name, std::string_view value);

    TNotifyEvent OnHotSpotClick;

protected:
    virtual void DrawDragLine(int position);
    virtual TRect CalcHotSpotRect(const TRect& bar) const;
    virtual void PaintHotSpot(bool highlighted);
    virtual void PaintSizeBar();
    // The parent's client area less what its aligned controls (this one included) take.
    virtual TRect ParentArea() const;
    virtual int ClampPosition(int position) const;
    TRect BorderRect() const override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
    bool PointerOnHotSpot(const TPoint& p) const;
    void SetExtent(int extent);
    bool SetCursorShape();

    int FSizeBarWidth = 4;
    TSplitterStyle FSizeBarStyle = ssStandard;
    int FMarginMin = 0;
    int FMarginMax = 0;
    bool FLockBar = false;
    bool FRealTimeDrag = false;
    bool FHotSpotVisible = false;
    TColor FHotSpotHighlight = clWindow;
    int FHotSpotSizePercent = 40;
    bool FHotSpotIgnoreMargins = false;
    bool FHotSpotClosed = false;
    int FHotSpotPosition = 100;
    HCURSOR FCursorHorz = nullptr;
    HCURSOR FCursorHorzHotSpot = nullptr;
    HCURSOR FCursorVert = nullptr;
    HCURSOR FCursorVertHotSpot = nullptr;
    std::unique_ptr<TBitmap> FPattern;
    bool FDragging = false;
    bool FHotSpotClickPending = false;
    bool FNotOverHotSpot = true;
    int FStart = 0;
    int FPressCoordinate = 0;
    int FPressWidth = 0;
    int FPressHeight = 0;
    int FLastPosition = 0;
    // The correction between the drag line and the extent.
    static constexpr int K = 1;
};

class TFrSizePanel : public TFrCustomSizePanel {
    using inherited = TFrCustomSizePanel;

public:
    using TFrCustomSizePanel::TFrCustomSizePanel;
};
