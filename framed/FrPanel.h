// The framed panel: the framework's panel with its bevels replaced by two frame rings and a plain band between
// them, a caption with vertical alignment, an optional grid, a transparent mode, the disabling of all children
// with the panel (and their restoring afterwards), and a repaint of only the border strips on resizing.
#pragma once
#include "framed/FrCommon.h"
#include "framed/FrFrameController.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/core/TStrings.h"

#include <memory>

enum TFrGridStyle : uint8_t { gsDots, gsDottedLines, gsSolidLines };

class TFrCustomPanel : public TCustomPanel, public IFrControllerNotify {
    using inherited = TCustomPanel;

public:
    explicit TFrCustomPanel(TComponent* owner);
    ~TFrCustomPanel() override;

    TAlignmentVertical AlignmentVertical() const { return FAlignmentVertical; }
    virtual void SetAlignmentVertical(TAlignmentVertical value);
    TColor BorderColor() const { return FBorderColor; }
    virtual void SetBorderColor(TColor value);
    TFrameStyle BorderInner() const { return FBorderInner; }
    virtual void SetBorderInner(TFrameStyle value);
    TFrameStyle BorderOuter() const { return FBorderOuter; }
    virtual void SetBorderOuter(TFrameStyle value);
    TSides BorderSides() const { return FBorderSides; }
    virtual void SetBorderSides(TSides value);
    TColor BorderHighlight() const { return FBorderHighlight; }
    virtual void SetBorderHighlight(TColor value);
    TColor BorderShadow() const { return FBorderShadow; }
    virtual void SetBorderShadow(TColor value);
    TColor FlatColor() const { return FFlatColor; }
    virtual void SetFlatColor(TColor value);
    int FlatColorAdjustment() const { return FFlatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int value);
    TFrFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFrFrameController* value);
    TColor GridColor() const { return FGridColor; }
    virtual void SetGridColor(TColor value);
    TFrGridStyle GridStyle() const { return FGridStyle; }
    virtual void SetGridStyle(TFrGridStyle value);
    uint16_t GridXSize() const { return FGridXSize; }
    virtual void SetGridXSize(uint16_t value);
    uint16_t GridYSize() const { return FGridYSize; }
    virtual void SetGridYSize(uint16_t value);
    bool ShowGrid() const { return FShowGrid; }
    virtual void SetShowGrid(bool value);
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    bool ShowDockClientCaptions() const { return FShowDockClientCaptions; }
    virtual void SetShowDockClientCaptions(bool value);

    // A bottom-aligned panel keeps its bottom edge when its height changes, a right-aligned one its right edge.
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;
    // The frame controller's settings changed: take them (only while its frame is visible).
    void ControllerNotify() override { ApplyFrameController(); }
    // A stored "FrameSides" of older versions is read and dropped.
    bool ReadStoredProperty(std::string_view name, std::string_view value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnPaint;

protected:
    virtual TPoint CursorPosition();
    // The rectangle less the rings on BorderSides, and less the band all round when `withBand`.
    virtual void ShrinkByBorders(TRect& rect, bool withBand) const;
    // Where the rings are painted: the whole panel here.
    virtual TRect BorderRect() const;
    virtual void PaintCaption(TRect rect);
    virtual void PaintGrid(TRect rect);
    virtual void ApplyFrameController();
    int RingThickness(TFrameStyle style) const;
    void AlignControls(TControl* control, TRect& rect) override;
    void Paint() override;
    // Rings on some sides only, a smaller border rectangle and a transparent panel leave pixels to the erase.
    bool PaintCoversClient() const override { return false; }
    void Notification(TComponent* component, TOperation operation) override;
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Invalidates what a resize to `width` x `height` leaves wrong.
    virtual void InvalidateForResize(int width, int height);

private:
    TRect PaintRing(TCanvas* canvas, TRect rect, TFrameStyle style);
    void BordersChanged();
    void EnabledChanged();

    TFrameStyle FBorderOuter = fsRaised;
    TFrameStyle FBorderInner = fsNone;
    TSides FBorderSides = AllSides;
    TColor FBorderColor = clBtnFace;
    TColor FBorderHighlight = clBtnHighlight;
    TColor FBorderShadow = clBtnShadow;
    TColor FFlatColor = clBtnShadow;
    int FFlatColorAdjustment = 30;
    TAlignmentVertical FAlignmentVertical = avCenter;
    bool FShowGrid = false;
    TFrGridStyle FGridStyle = gsDots;
    TColor FGridColor = clBtnShadow;
    uint16_t FGridXSize = 8;
    uint16_t FGridYSize = 8;
    bool FTransparent = false;
    bool FShowDockClientCaptions = true;
    TFrFrameController* FFrameController = nullptr;
    // The children's enabled states while the panel is disabled: "1" or "0" with the child as the object.
    std::unique_ptr<TStringList> FEnabledStates;
};

class TFrPanel : public TFrCustomPanel {
    using inherited = TFrCustomPanel;

public:
    using TFrCustomPanel::TFrCustomPanel;
};
