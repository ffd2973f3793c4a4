// TspSkinScrollPanel, a container whose children may reach past it along one direction: instead of a scroll
// bar it shows two 12-pixel arrow buttons in its non-client area while they do not fit, and clicking, holding or
// (with HotScroll) hovering over them moves the children a step at a time.
#pragma once
#include "skin/controls/SkinScrollArrows.h"
#include "skin/core/SkinCtrls.h"

enum TspScrollType : uint8_t { stHorizontal, stVertical };

class TspSkinScrollPanel : public TspSkinControl, private TspScrollArrows::THost {
    using inherited = TspSkinControl;

public:
    explicit TspSkinScrollPanel(TComponent* owner);
    ~TspSkinScrollPanel() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // The panel takes the focus on clicks and then scrolls with the arrow keys and the wheel.
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool value) { FCanFocused = value; }
    bool HotScroll() const { return FArrows.HotScroll; }
    void SetHotScroll(bool value) { FArrows.HotScroll = value; }
    // AutoSize (the framework's): the cross dimension follows the children.
    TspScrollType ScrollType() const { return FScrollType; }
    // Starts over from position 0 without buttons.
    void SetScrollType(TspScrollType value);
    // The step in pixels, 0 for the client width; negative values are ignored.
    int ScrollOffset() const { return FArrows.ScrollOffset; }
    void SetScrollOffset(int value) { FArrows.SetScrollOffset(value); }
    int ScrollTimerInterval() const { return FArrows.TimerInterval; }
    // Values below 1 are ignored.
    void SetScrollTimerInterval(int value) { FArrows.SetTimerInterval(value); }

    // ---- Scroll state ------------------------------------------------------------------------------------------
    int Position() const { return FArrows.Position; }
    // Stores the position and measures the children again; the children are not moved here.
    void SetPosition(int value);
    int Range() const { return FArrows.Range; }
    int Page() const { return FArrows.Page; }
    const TspScrollArrows& Arrows() const { return FArrows; }
    // One step back (0) or forward (1).
    void ButtonClick(int button) { FArrows.ButtonClick(button); }

    void GetSkinData() override;
    // The arrow buttons in the non-client area follow the skin as well.
    void ChangeSkinData() override;
    // Applies the bounds again when AutoSize is on.
    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

protected:
    void AdjustClientRect(TRect& rect) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;

private:
    void ScrollChildren(int delta) override;
    void UpdateRange();
    // The children's largest right (vertical: bottom) edge, for AutoSize.
    int ChildrenCrossExtent() const;

    TspScrollArrows FArrows;
    bool FCanFocused = false;
    TspScrollType FScrollType = stHorizontal;
    bool FInRange = false;
};
