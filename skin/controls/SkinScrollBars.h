// TspSkinScrollBar, the skinned scroll bar: two arrow buttons and a thumb on a track, with arrow and page repeat,
// thumb dragging, keys and wheel. It stands alone or as the external bar of a scrolling skinned control, which
// mirrors its own scroll state into it with SetRange (never firing OnChange) and scrolls when OnChange fires.
#pragma once
#include <algorithm>
#include "framework/controls/TScrollBar.h"
#include "skin/core/SkinCustomCtrls.h"

#include <cstdint>

// The four values of TspSkinScrollBar::SetRange, each a type of its own, so that a call that swaps two of them
// does not compile:
//
//   bar->SetRange(TspScrollMin(0), TspScrollMax(count - 1), TspScrollPage(perPage), TspScrollPosition(top));
struct TspScrollMin {
    explicit TspScrollMin(int value)
        : Value(value)
    {
    }
    int Value;
};
struct TspScrollMax {
    explicit TspScrollMax(int value)
        : Value(value)
    {
    }
    int Value;
};
struct TspScrollPage {
    explicit TspScrollPage(int value)
        : Value(value)
    {
    }
    int Value;
};
struct TspScrollPosition {
    explicit TspScrollPosition(int value)
        : Value(value)
    {
    }
    int Value;
};

class TspSkinScrollBar : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinScrollBar(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    TScrollBarKind Kind() const { return FKind; }
    // Outside design time only the orientation and the default look's fixed thickness follow (DefaultHeight
    // becomes DefaultWidth for a vertical bar and back), so that a vertical bar made in code keeps its length
    // when its skin has no record; at design time the record name and the bounds follow too.
    void SetKind(TScrollBarKind value);
    int Min() const { return FMin; }
    // Raises Position to the new minimum; no OnChange.
    void SetMin(int value);
    int Max() const { return FMax; }
    // Clamps Position into the new range; no OnChange.
    void SetMax(int value);
    int Position() const { return FPosition; }
    // Clamped to Min..Max - PageSize + 1 (Min..Max without a page); a change repaints, then fires OnChange.
    void SetPosition(int value);
    int PageSize() const { return FPageSize; }
    // Kept only when the page fits beside the current position; always repaints.
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value);
    // A horizontal bar meeting a vertical one: takes BothSkinDataName, or leaves BothMarkerWidth free at its end.
    bool Both() const { return FBoth; }
    void SetBoth(bool value);
    int BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(int value);
    const std::string& BothSkinDataName() const { return FBothSkinDataName; }
    void SetBothSkinDataName(std::string_view value) { FBothSkinDataName = value; }
    bool CanFocused() const { return FCanFocused; }
    // Also sets TabStop.
    void SetCanFocused(bool value);

    TNotifyEvent OnChange;
    // The thumb was released (also without a change).
    TNotifyEvent OnLastChange;
    // Replace the arrow steps when assigned: the bar then leaves Position alone for its arrows.
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    // Follow each page step.
    TNotifyEvent OnPageUp;
    TNotifyEvent OnPageDown;

    // ---- The owner protocol ------------------------------------------------------------------------------------
    // Stores the range and page as given and the position clamped as SetPosition clamps it; repaints once and
    // never fires OnChange, so an owner mirroring its scroll state cannot loop.
    void SetRange(TspScrollMin min, TspScrollMax max, TspScrollPage pageSize, TspScrollPosition position);
    // SetPosition without OnChange.
    void SimplySetPosition(int value);
    // Between these an owner sets several values (visibility, steps, range) in one go: the bar is then only marked
    // for the window's next paint instead of being painted after each value. They nest.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() { FUpdateCount = std::max(0, FUpdateCount - 1); }
    // Paints at once, or, inside BeginUpdate/EndUpdate, with the next paint.
    void Repaint() override;

    // ---- Geometry (read by tests and owners) -------------------------------------------------------------------
    // The parts: 0 the thumb, 1 the increase button (right or bottom), 2 the decrease button (left or top).
    enum TPart : int { spThumb = 0, spIncrease = 1, spDecrease = 2 };
    // Recomputes the rectangles for the current size, record and values.
    void CalcRects();
    TRect PartRect(int part) const { return FParts[part].R; }
    TRect TrackRect() const { return FTrack; }
    // The value a thumb at `offset` from its first centre stands for.
    int CalcValue(int offset);
    bool Dragging() const { return FDragging; }
    // 0 none, 1 decrease button, 2 increase button, 3 page back, 4 page forward.
    int TimerMode() const { return FTimerMode; }

    void GetSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;

private:
    struct TPartState {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };

    bool Horizontal() const { return FKind == sbHorizontal; }
    bool IsFocused() { return FCanFocused && Focused(); }
    bool Skinned() const { return SkinIndex != -1; }
    int Clamped(int value) const;
    // The fraction of the range the thumb stands at, by the look's rules for an unusable divisor.
    double Fraction() const;
    void PressPart(int part);
    void ReleasePart(int part);
    void TestActive(int x, int y);
    void ArrowStep(int part);
    void StartTimer(uint32_t interval);
    void StopTimer();
    void WMTimer();
    void WMMouseWheel(TMessage& message);
    void CMMouseLeave();
    void DrawSkinButton(TCanvas* canvas, int part);
    void DrawSkinThumb(TBitmap* bitmap);
    // The thumb's picture from `source` with `glyph` centred on it, `width` by `height`, from the skin's image
    // cache (or made in `scratch`).
    TBitmap* ThumbImage(const TRect& source, const TRect& glyph, int width, int height, TBitmap& scratch);
    // Makes the record's thumb colour transparent in `image`, when the record asks for it.
    void SetThumbTransparency(TBitmap* image) const;
    void DrawDefaultPart(TCanvas* canvas, int part, bool pressedLook);

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    bool FBoth = false;
    int FBothMarkerWidth = 0;
    std::string FBothSkinDataName = "bothhscrollbar";
    std::string FOldSkinDataName;
    bool FCanFocused = false;
    int FUpdateCount = 0;

    // Copies of the record.
    TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect, GlyphRect, ActiveGlyphRect, DownGlyphRect;
    int ThumbOffset1 = 0;
    int ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = clBlack;

    TPartState FParts[3];
    TRect FTrack;
    int FThumbLength = 0;
    int FFirst = 0;
    int FLast = 0;
    int FOffset = 0;
    int FActivePart = -1;
    int FOldActivePart = -1;
    int FDownPart = -1;
    bool FDragging = false;
    int FDragStart = 0;
    int FDragOffset = 0;
    int FDragPosition = 0;
    int FTimerMode = 0;
    bool FFirstTick = false;
    bool FButtonHeld = false;
    TPoint FLastPoint;
    bool FocusingByClick = false;
};
