// TScrollBar, the framework's scroll bar control over the platform's "SCROLLBAR" window class: a position
// within Min..Max that the bar's arrows, page areas, thumb and keys move by SmallChange and LargeChange.
#pragma once
#include "framework/controls/TWinControl.h"

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
enum TScrollCode : uint8_t {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
using TScrollEvent = std::function<void(TObject* sender, TScrollCode scrollCode, int& scrollPos)>;

class TScrollBar : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Min() const { return FMin; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int Position() const { return FPosition; }
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    // The size of the thumb in positions (0: the bar's default thumb). Ignored when larger than Max.
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }
    // Sets the three at once; EInvalidOperation "Scrollbar property out of range" when Max is below Min or
    // below PageSize. The position is kept within the range; OnChange fires when it moves.
    void SetParams(int position, int min, int max);

    TNotifyEvent OnChange;
    // Before every move by the bar, with the position it is going to; the handler may change it.
    TScrollEvent OnScroll;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual void Change();
    virtual void Scroll(TScrollCode scrollCode, int& scrollPos);
    // The highest position the thumb can show: the page's last line may reach Max but not pass it.
    int HighestPosition() const { return FMax - std::max(FPageSize - 1, 0); }
    void DoScroll(TMessage& message);

private:
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};
